#pragma once

#include "Dados.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// A server's statements that cannot be prepared (definitions), run by a connection of their
// own as an administrator would.
inline void DefinirNoServidor(const QStringList &sqls) {
  const QString nome = QStringLiteral("avaria");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nome);
    db.setConnectOptions(Dados().bd.Caminho());
    if (!db.open())
      QFAIL(qPrintable(db.lastError().text()));
    QSqlQuery q(db);
    for (const QString &sql : sqls)
      if (!q.exec(sql))
        QFAIL(qPrintable(sql + QStringLiteral(": ") + q.lastError().text()));
  }
  QSqlDatabase::removeDatabase(nome);
}

// A fault planted in the engine for a test: every insert or update (`momento`) of `tabela`
// that meets `condição` (on NEW) fails as a failing disk would, until RetirarAvaria. The same
// on a file and on a server, each in its own trigger language.
inline void PlantarAvaria(const QString &tabela, const QString &momento, const QString &condição) {
  BaseDados &bd = Dados().bd;
  const QString t = QStringLiteral("\"") + tabela + QStringLiteral("\"");
  if (bd.MotorAberto() == Motor::SQLite) {
    bd.Executar(QStringLiteral("CREATE TRIGGER avaria BEFORE ") + momento + QStringLiteral(" ON ") +
                    t + QStringLiteral(" WHEN ") + condição +
                    QStringLiteral(" BEGIN SELECT RAISE(ABORT, 'disco avariado'); END"),
                {}, QStringLiteral("teste"));
    return;
  }
  DefinirNoServidor({QStringLiteral("CREATE FUNCTION avaria() RETURNS trigger LANGUAGE plpgsql AS "
                                     "$$BEGIN RAISE EXCEPTION 'disco avariado'; END$$"),
                     QStringLiteral("CREATE TRIGGER avaria BEFORE ") + momento +
                         QStringLiteral(" ON ") + t + QStringLiteral(" FOR EACH ROW WHEN (") +
                         condição + QStringLiteral(") EXECUTE FUNCTION avaria()")});
}

inline void RetirarAvaria() {
  BaseDados &bd = Dados().bd;
  if (bd.MotorAberto() == Motor::SQLite) {
    bd.Executar(QStringLiteral("DROP TRIGGER avaria"), {}, QStringLiteral("teste"));
    return;
  }
  DefinirNoServidor({QStringLiteral("DROP FUNCTION avaria() CASCADE")});
}

// What the messages name the data by: the file, or the server database.
inline QString NomeDosDados() {
  return Dados().bd.MotorAberto() == Motor::SQLite ? QStringLiteral("Quotas.Dad")
                                                   : Dados().bd.Caminho();
}
