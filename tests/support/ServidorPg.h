#pragma once

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <atomic>

// Suites labelled "pg" need a PostgreSQL server, reached through libpq's own environment
// (PGHOST, PGPORT, PGUSER, PGDATABASE, PGPASSWORD, as pg_virtualenv sets them). Without a
// reachable server a suite reports itself skipped with the words below, which CTest counts as
// "Not Run", never as passed. Where AGREMIA_PG_EXIGIDO is set (the run under pg_virtualenv)
// an unreachable server is a failure instead: a broken cluster must not pass as a skip.
inline constexpr char SemServidorPg[] = "Sem servidor PostgreSQL";

// Whether the server of the environment answers; `erro` gets libpq's words when not.
inline bool ServidorPgAlcançável(QString &erro) {
  const QString nome = QStringLiteral("sondagem-pg");
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nome);
    if (!db.isValid()) {
      erro = QStringLiteral("o controlador QPSQL do Qt não está instalado");
    } else {
      ok = db.open();
      if (!ok)
        erro = db.lastError().text();
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(nome);
  return ok;
}

// For initTestCase: skips the whole suite, or fails it, when no server answers.
#define EXIGIR_SERVIDOR_PG()                                                                       \
  do {                                                                                             \
    QString erro_;                                                                                 \
    if (!ServidorPgAlcançável(erro_)) {                                                            \
      const QByteArray texto_ = QByteArray(SemServidorPg) + ": " + erro_.toUtf8();                 \
      if (qEnvironmentVariableIsSet("AGREMIA_PG_EXIGIDO"))                                         \
        QFAIL(texto_.constData());                                                                 \
      QSKIP(texto_.constData());                                                                   \
    }                                                                                              \
  } while (0)

// Runs `sqls` in order through a connection of its own with libpq options `opções` (empty:
// the environment's database); false, with the error shown, when one fails.
inline bool ExecutarPg(const QString &opções, const QStringList &sqls) {
  static std::atomic<int> n = 0;
  const QString ligação = QStringLiteral("executar-pg-") + QString::number(++n);
  bool ok = true;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), ligação);
    db.setConnectOptions(opções);
    ok = db.open();
    if (!ok)
      qWarning("%s", qPrintable(db.lastError().text()));
    QSqlQuery q(db);
    for (const QString &sql : sqls)
      if (ok && !q.exec(sql)) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        ok = false;
      }
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(ligação);
  return ok;
}

// Runs `sqls` on the cluster's own database, as an administrator does to a test's database
// (ending its sessions, refusing connections to it, changing the server's settings).
inline bool AdministrarPg(const QStringList &sqls) {
  return ExecutarPg(QStringLiteral("dbname=postgres"), sqls);
}

// A database of its own on the server for one test, dropped when the object goes. It has the
// C locale whatever the cluster's: the program must not lean on the database's character
// classes (letter case beyond ASCII) or collation. Its libpq
// connection string names it alone: everything else comes from the environment.
class BaseServidorTeste {
public:
  BaseServidorTeste()
      : nome(QStringLiteral("agremia_teste_%1")
                 .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'))) {
    ExecutarPg({},
               {QStringLiteral("CREATE DATABASE ") + nome +
                QStringLiteral(" TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'")});
  }
  ~BaseServidorTeste() {
    ExecutarPg(
        {}, {QStringLiteral("DROP DATABASE IF EXISTS ") + nome + QStringLiteral(" WITH (FORCE)")});
  }
  BaseServidorTeste(const BaseServidorTeste &) = delete;
  BaseServidorTeste &operator=(const BaseServidorTeste &) = delete;

  const QString &Nome() const { return nome; }
  QString Ligação() const { return QStringLiteral("dbname=") + nome; }

  // Runs `sqls` in order on this database through a connection of its own, as another desk
  // or an administrator would; false, with the error shown, when one fails.
  bool Executar(const QStringList &sqls) const { return ExecutarPg(Ligação(), sqls); }

private:
  QString nome;
};
