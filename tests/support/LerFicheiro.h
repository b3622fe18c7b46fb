#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>
#include <QtTest>

// Reads Quotas.Dad through a connection of its own, as another program would see the file.
// A file that cannot be opened or a query that fails fails the test, and the answer is one
// row with the engine's words, so that a "nothing was written" check cannot pass on it.
inline QList<QVariantList> Consultar(const QString &sql,
                                     const QString &ficheiro = QStringLiteral("Quotas.Dad")) {
  static int n = 0;
  const QString nome = QStringLiteral("leitura-") + QString::number(++n);
  QList<QVariantList> linhas;
  {
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
    db.setDatabaseName(ficheiro);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    bool falhou = true;
    QString erro;
    if (!db.open()) {
      erro = db.lastError().text();
    } else {
      QSqlQuery q(db);
      if (q.exec(sql)) {
        falhou = false;
        while (q.next()) {
          QVariantList l;
          for (int i = 0; i < q.record().count(); ++i)
            l << q.value(i);
          linhas << l;
        }
      } else {
        erro = q.lastError().text();
      }
    }
    if (falhou) {
      linhas = {QVariantList{QStringLiteral("erro: ") + erro}};
      QTest::qFail(
          qPrintable(QStringLiteral("leitura de ") + ficheiro + QStringLiteral(": ") + erro),
          __FILE__, __LINE__);
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  return linhas;
}

// The first column of every row, as texts.
inline QStringList Coluna(const QString &sql) {
  QStringList r;
  for (const auto &l : Consultar(sql))
    r << l.value(0).toString();
  return r;
}
