#pragma once

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>
#include <functional>

// Runs `f` on a connection of its own, as another program would: for QPSQL `onde` is a libpq
// connection string, else the file. The connection is gone when `f` returns.
inline void NoutraLigação(const QString &driver, const QString &onde,
                          const std::function<void(QSqlQuery &)> &f) {
  static std::atomic<int> n = 0;
  const QString nome = QStringLiteral("outra-ligacao-") + QString::number(++n);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, nome);
    driver == QStringLiteral("QPSQL") ? db.setConnectOptions(onde) : db.setDatabaseName(onde);
    if (!db.open())
      qWarning("%s", qPrintable(db.lastError().text()));
    QSqlQuery q(db);
    f(q);
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
}

// Writes `conteúdo` over `ficheiro`, as another program or a failing disk would.
inline void EscreverBytes(const QString &ficheiro, const QByteArray &conteúdo) {
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(conteúdo), conteúdo.size());
}
