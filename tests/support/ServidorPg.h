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

// Runs `sqls` in order through a connection of its own with libpq options `opções` (empty:
// the environment's database); false when one fails, its error put in `erro` or else shown.
inline bool ExecutarPg(const QString &opções, const QStringList &sqls, QString *erro = nullptr) {
  static std::atomic<int> n = 0;
  const QString ligação = QStringLiteral("executar-pg-") + QString::number(++n);
  QString falha;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), ligação);
    db.setConnectOptions(opções);
    if (!db.open())
      falha = db.lastError().text();
    QSqlQuery q(db);
    for (const QString &sql : sqls)
      if (falha.isEmpty() && !q.exec(sql))
        falha = sql + QStringLiteral(": ") + q.lastError().text();
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(ligação);
  if (erro)
    *erro = falha;
  else if (!falha.isEmpty())
    qWarning("%s", qPrintable(falha));
  return falha.isEmpty();
}

// Whether the server of the environment answers; `erro` gets libpq's words when not.
inline bool ServidorPgAlcançável(QString &erro) { return ExecutarPg({}, {}, &erro); }

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
  Q_DISABLE_COPY(BaseServidorTeste)

  const QString &Nome() const { return nome; }
  QString Ligação() const { return QStringLiteral("dbname=") + nome; }

  // Runs `sqls` in order on this database through a connection of its own, as another desk
  // or an administrator would; false, with the error shown, when one fails.
  bool Executar(const QStringList &sqls) const { return ExecutarPg(Ligação(), sqls); }

private:
  QString nome;
};
