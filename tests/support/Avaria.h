#pragma once

#include "Dados.h"
#include "ServidorPg.h"

#include <QtTest>

// A fault planted in the engine for a test: every insert or update (`momento`) of `tabela`
// that meets `condição` (on NEW) fails as a failing disk would, until RetirarAvaria. The same
// on a file and on a server, each in its own trigger language; a server's definitions are run
// by a connection of their own, as an administrator would.
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
  QVERIFY(ExecutarPg(
      bd.Caminho(),
      {QStringLiteral("CREATE FUNCTION avaria() RETURNS trigger LANGUAGE plpgsql AS "
                      "$$BEGIN RAISE EXCEPTION 'disco avariado'; END$$"),
       QStringLiteral("CREATE TRIGGER avaria BEFORE ") + momento + QStringLiteral(" ON ") + t +
           QStringLiteral(" FOR EACH ROW WHEN (") + condição +
           QStringLiteral(") EXECUTE FUNCTION avaria()")}));
}

inline void RetirarAvaria() {
  BaseDados &bd = Dados().bd;
  if (bd.MotorAberto() == Motor::SQLite) {
    bd.Executar(QStringLiteral("DROP TRIGGER avaria"), {}, QStringLiteral("teste"));
    return;
  }
  QVERIFY(ExecutarPg(bd.Caminho(), {QStringLiteral("DROP FUNCTION avaria() CASCADE")}));
}

// What the messages name the data by: the file, or the server database.
inline QString NomeDosDados() {
  return Dados().bd.MotorAberto() == Motor::SQLite ? QStringLiteral("Quotas.Dad")
                                                   : Dados().bd.Caminho();
}
