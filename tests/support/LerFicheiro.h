#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariantList>
#include <QtTest>

#ifdef AGREMIA_TESTE_SERVIDOR
#include "Dados.h"
#endif

// Reads Quotas.Dad through a connection of its own, as another program would see the file.
// A file that cannot be opened or a query that fails fails the test, and the answer is one
// row with the engine's words, so that a "nothing was written" check cannot pass on it.
// In a suite run on a server, the default is the server database open in the program, read
// by a connection of its own as another desk would.
inline QList<QVariantList> Consultar(const QString &sql,
                                     const QString &ficheiro = QStringLiteral("Quotas.Dad")) {
  static int n = 0;
  const QString nome = QStringLiteral("leitura-") + QString::number(++n);
  QList<QVariantList> linhas;
  {
#ifdef AGREMIA_TESTE_SERVIDOR
    const bool servidor = ficheiro == QStringLiteral("Quotas.Dad");
#else
    const bool servidor = false;
#endif
    auto db = QSqlDatabase::addDatabase(servidor ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
                                        nome);
#ifdef AGREMIA_TESTE_SERVIDOR
    if (servidor)
      db.setConnectOptions(Dados().bd.Caminho());
#endif
    if (!servidor) {
      db.setDatabaseName(ficheiro);
      db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    }
    QSqlQuery q(db);
    const bool aberta = db.open();
    if (aberta && q.exec(sql)) {
      while (q.next()) {
        QVariantList l;
        for (int i = 0; i < q.record().count(); ++i)
          l << q.value(i);
        linhas << l;
      }
    } else {
      const QString erro = (aberta ? q.lastError() : db.lastError()).text();
      linhas = {QVariantList{QStringLiteral("erro: ") + erro}};
      QTest::qFail(
          qPrintable(QStringLiteral("leitura de ") + ficheiro + QStringLiteral(": ") + erro),
          __FILE__, __LINE__);
    }
    q.finish();
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
