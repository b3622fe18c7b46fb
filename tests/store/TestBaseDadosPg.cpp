#include "BaseDados.h"
#include "CopiaDados.h"
#include "ConjuntoRegistos.h"
#include "Criterio.h"
#include "Dados.h"
#include "Esquema.h"
#include "PastaTeste.h"
#include "Referencias.h"
#include "ServidorPg.h"

#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

template <class F> std::optional<ErroBaseDados> Erro(F &&f) {
  try {
    f();
  } catch (const ErroBaseDados &e) {
    return e;
  }
  return std::nullopt;
}

// Runs `sql` on a connection of its own and returns its rows, each as one text of its columns
// joined by "|": the catalogues of both engines read the same way.
QStringList Linhas(const QString &driver, const QString &onde, const QString &sql,
                   const QVariantList &valores = {}) {
  QStringList r;
  const QString nome = u"catálogo"_s;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, nome);
    if (driver == u"QPSQL"_s)
      db.setConnectOptions(onde);
    else
      db.setDatabaseName(onde);
    if (!db.open()) {
      qWarning("%s", qPrintable(db.lastError().text()));
    } else {
      QSqlQuery q(db);
      q.prepare(sql);
      for (const QVariant &v : valores)
        q.addBindValue(v);
      if (!q.exec())
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
      while (q.next()) {
        QStringList colunas;
        for (int i = 0; i < q.record().count(); ++i)
          colunas << q.value(i).toString();
        r << colunas.join(u'|');
      }
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  return r;
}

// The tables of the database on the server, in every schema.
QStringList TabelasServidor(const BaseServidorTeste &servidor) {
  return Linhas(u"QPSQL"_s, servidor.Ligação(),
                u"SELECT schemaname || '.' || tablename FROM pg_tables "
                u"WHERE schemaname NOT IN ('pg_catalog', 'information_schema') ORDER BY 1"_s);
}

// Every row of the three tables, each value with its kind: NULL, a number or a text. Rows in
// key order, so that a file and a server database holding the same data read the same.
QStringList Conteúdo(const QString &driver, const QString &onde) {
  QStringList r;
  const QString nome = u"conteúdo"_s;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, nome);
    if (driver == u"QPSQL"_s)
      db.setConnectOptions(onde);
    else
      db.setDatabaseName(onde);
    if (!db.open())
      qWarning("%s", qPrintable(db.lastError().text()));
    QSqlQuery q(db);
    for (const DefTabela &t : TabelasDoFicheiro()) {
      r << t.nome;
      if (!q.exec(u"SELECT * FROM "_s + Identificador(t.nome) + u" ORDER BY 1"_s))
        qWarning("%s", qPrintable(q.lastError().text()));
      while (q.next()) {
        QStringList valores;
        for (int i = 0; i < q.record().count(); ++i) {
          const QVariant v = q.value(i);
          const int tipo = v.metaType().id();
          valores << (v.isNull() ? u"NULL"_s
                      : tipo == QMetaType::Int || tipo == QMetaType::LongLong ||
                              tipo == QMetaType::ULongLong
                          ? v.toString()
                      : tipo == QMetaType::QString
                          ? u'\'' + v.toString() + u'\''
                          : u"?"_s + QString::fromLatin1(v.typeName()) + v.toString());
        }
        r << valores.join(u'|');
      }
    }
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  return r;
}

// Fills a new Quotas.Dad through the store; `ajustar` may add rows of its own.
void EncherFicheiro(const QString &ficheiro, int sócios, int quotasPorSócio,
                    const std::function<void(BaseDados &)> &ajustar = {}) {
  BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  const QString sócio = u"INSERT INTO \"Sócios\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s;
  const QString quota = u"INSERT INTO \"Quotizações\" VALUES (?, ?, ?)"_s;
  for (int n = 1; n <= sócios; ++n) {
    if (n % 7 == 0) { // only the number
      bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (?)"_s, {n}, u"Encher"_s);
    } else {
      const QString nome =
          (u"Conceição Araújo Gonçalves nº "_s + QString::number(n)).leftJustified(45, u'ç', true);
      bd.Correr(sócio,
                {n, nome, 4700 + n, n % 3, n % 4 == 0 ? QVariant() : QVariant(n % 5),
                 QString::number(n % 28 + 1).rightJustified(2, u'0') + u"/03/01"_s,
                 qint64(n) * 50000000LL, u"Rua do Sol, "_s + QString::number(n),
                 n % 2 ? QVariant(u"Braga"_s) : QVariant(), u""_s, u"123456789"_s},
                u"Encher"_s);
    }
    for (int m = 0; m < (n == 1 ? 200 : quotasPorSócio); ++m)
      bd.Correr(quota,
                {QString::number(n).rightJustified(6, u'0') + QString::number(190001 + m),
                 qint64(12500 + m), m % 3 == 0 ? QVariant() : QVariant(m)},
                u"Encher"_s);
  }
  // Reference rows with gaps in their codes, the counter past the highest one left.
  for (int código : {1, 2, 5, 9, 12})
    bd.Correr(u"INSERT INTO \"Tabelas\" VALUES (?, ?, ?)"_s,
              {código, código % 2 ? u"S"_s : u"Q"_s,
               código == 5 ? QVariant() : QVariant(u"Designação "_s + QString::number(código))},
              u"Encher"_s);
  bd.Correr(u"DELETE FROM \"Tabelas\" WHERE \"Código\" = 12"_s, {}, u"Encher"_s);
  if (ajustar)
    ajustar(bd);
  t.Confirmar();
}

// The code the engine gives to a new reference row.
qint64 NovoCódigo(BaseDados &bd) {
  BaseDados::Transacção t(bd);
  const qint64 c = bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES (?, ?)"_s,
                             {u"S"_s, u"Nova"_s}, u"Gravar"_s)
                       .ÚltimoId();
  t.Confirmar();
  return c;
}

// Runs `sqls` on the cluster's own database, outside the test's: what an administrator does to
// a database nobody may connect to.
bool Administrar(const QStringList &sqls) {
  bool ok = false;
  const QString nome = u"administrador"_s;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, nome);
    db.setConnectOptions(u"dbname=postgres"_s);
    ok = db.open();
    QSqlQuery q(db);
    for (const QString &sql : sqls)
      if (ok && !q.exec(sql)) {
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        ok = false;
      }
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  return ok;
}

qint64 Contar(const BaseServidorTeste &servidor, const QString &tabela) {
  const QStringList r =
      Linhas(u"QPSQL"_s, servidor.Ligação(), u"SELECT count(*) FROM \""_s + tabela + u'"');
  return r.size() == 1 ? r[0].toLongLong() : -1;
}

qint64 Processo(BaseDados &bd) {
  Instrução i = bd.Correr(u"SELECT pg_backend_pid()"_s, {}, u"Ler"_s);
  return i.Seguinte() ? i.Inteiro(0) : -1;
}

// From a thread of its own, as the server's administrator would, ends the session on `base`
// that waits on `espera` (pg_stat_activity's wait_event) as soon as one does.
class FimDeSessão {
public:
  FimDeSessão(const QString &base, const QString &espera)
      : fio([this, base, espera] {
          const QString nome = u"fim-de-sessão"_s;
          {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, nome);
            db.setConnectOptions(u"dbname=postgres"_s);
            if (db.open()) {
              QSqlQuery q(db);
              for (int volta = 0; volta < 1500 && !terminada && !desistir; ++volta) {
                q.prepare(u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                          u"WHERE datname = ? AND wait_event = ?"_s);
                q.addBindValue(base);
                q.addBindValue(espera);
                if (q.exec() && q.next())
                  terminada = q.value(0).toBool();
                else
                  QThread::msleep(20);
              }
              q.finish();
            }
            db.close();
          }
          QSqlDatabase::removeDatabase(nome);
        }) {}
  ~FimDeSessão() {
    desistir = true;
    if (fio.joinable())
      fio.join();
  }
  bool Terminada() {
    desistir = true;
    if (fio.joinable())
      fio.join();
    return terminada;
  }

private:
  std::atomic<bool> terminada = false;
  std::atomic<bool> desistir = false;
  std::thread fio;
};

// Saves member 1 with 240 months of dues, 2001 to 2020, in one transaction.
void GravarSócioComQuotas(BaseDados &bd) {
  const QString guardar = InstruçãoGuardar(u"Quotizações", u"SócMês",
                                           {u"QuotaEuro"_s, u"Recibo"_s}, Motor::PostgreSQL);
  BaseDados::Transacção t(bd);
  bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (1, 'Inês')"_s, {},
            u"Gravar o sócio"_s);
  for (int mês = 0; mês < 240; ++mês)
    bd.Correr(guardar,
              {ChaveSócMês(1, 2001 + mês / 12, mês % 12 + 1), qint64(25000), mês + 1},
              u"Gravar as quotas do sócio"_s);
  t.Confirmar();
}

QList<qint64> Números(ConjuntoRegistos &sócios) {
  QList<qint64> r;
  for (sócios.MoverPrimeiro(); !sócios.FimFicheiro(); sócios.MoverSeguinte())
    r << sócios.Inteiro(u"Número");
  return r;
}

} // namespace

// The store on a PostgreSQL server: a database of its own for each test.
class TestBaseDadosPg : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { EXIGIR_SERVIDOR_PG(); }

  // Each test gets an empty database of its own, in UTF-8, which accented quoted names need.
  void baseDeTesteVaziaEmUtf8() {
    BaseServidorTeste servidor;
    QVERIFY(servidor.Executar({u"CREATE TABLE \"Sócios\" (\"Número\" integer)"_s}));
    bool lido = false;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, u"ler"_s);
      db.setConnectOptions(servidor.Ligação());
      QVERIFY2(db.open(), qPrintable(db.lastError().text()));
      QSqlQuery q(db);
      QVERIFY(q.exec(u"SELECT current_database(), pg_encoding_to_char(encoding), "
                     u"(SELECT string_agg(table_name, ',') FROM information_schema.tables "
                     u"WHERE table_schema = current_schema()) "
                     u"FROM pg_database WHERE datname = current_database()"_s));
      QVERIFY(q.next());
      QCOMPARE(q.value(0).toString(), servidor.Nome());
      QCOMPARE(q.value(1).toString(), u"UTF8"_s);
      QCOMPARE(q.value(2).toString(), u"Sócios"_s);
      lido = true;
    }
    QSqlDatabase::removeDatabase(u"ler"_s);
    QVERIFY(lido);
  }

  // A database that cannot be reached, or that lacks our tables, is refused with the same
  // typed exception as a file, its message in Portuguese naming the database on the server.
  void abrirRecusado_data() {
    QTest::addColumn<QString>("ligação");
    QTest::addColumn<int>("causa");
    QTest::newRow("sem as tabelas") << QString() << int(CausaErro::FicheiroEstranho);
    QTest::newRow("base inexistente")
        << u"dbname=agremia_base_que_nao_existe"_s << int(CausaErro::SemAcesso);
    QTest::newRow("servidor que não responde")
        << u"host=127.0.0.1 port=1 connect_timeout=5"_s << int(CausaErro::ServidorIndisponível);
    QTest::newRow("palavra-passe errada")
        << u"password=errada123 %1"_s << int(CausaErro::Autenticação);
  }
  void abrirRecusado() {
    QFETCH(QString, ligação);
    QFETCH(int, causa);
    BaseServidorTeste servidor;
    if (ligação.isEmpty())
      ligação = servidor.Ligação();
    else if (ligação.contains(u"%1"_s))
      ligação = ligação.arg(servidor.Ligação());
    BaseDados bd;
    const auto e = Erro([&] { bd.AbrirServidor(ligação); });
    QVERIFY(e);
    QCOMPARE(int(e->Causa()), causa);
    QVERIFY(e->DoServidor());
    const QString mostrada = BaseDados::LigaçãoParaMostrar(ligação);
    QVERIFY2(e->Mensagem().contains(u"«"_s + mostrada + u"» no servidor PostgreSQL"_s),
             qPrintable(e->Mensagem()));
    QVERIFY(!e->Mensagem().contains(u"errada123"_s) && !e->Detalhes().contains(u"errada123"_s));
    QVERIFY(!e->Pormenor().isEmpty());
    QVERIFY(!bd.Aberta());
    QCOMPARE(TabelasServidor(servidor), QStringList());
  }

  // The oldest server taken is 12: older ones are refused at opening, by name.
  void versaoDoServidor() {
    QVERIFY(VersãoServidorRecusada(110022));
    QVERIFY(!VersãoServidorRecusada(120000));
    const ErroBaseDados e =
        ErroBaseDados::NoServidor(CausaErro::VersãoServidor, u"Abrir"_s, u"host=velho"_s, u"11.22"_s);
    QVERIFY2(e.Mensagem().contains(u"«host=velho»"_s) && e.Mensagem().contains(u"11.22"_s) &&
                 e.Mensagem().contains(u"versão 12 ou mais recente"_s),
             qPrintable(e.Mensagem()));
  }

  // A session that the server ended while the program waited: the next action makes the
  // connection again and works, whether the program heard of the loss while waiting for
  // events or only when its next statement fails. What another desk changed meanwhile, which
  // no notification could bring, shows in the recordset.
  void sessaoTerminadaEmEspera_data() {
    QTest::addColumn<bool>("eventos");
    QTest::addColumn<bool>("escrita");
    QTest::newRow("leitura, com eventos") << true << false;
    QTest::newRow("leitura, sem eventos") << false << false;
    QTest::newRow("gravação, sem eventos") << false << true;
  }
  void sessaoTerminadaEmEspera() {
    QFETCH(bool, eventos);
    QFETCH(bool, escrita);
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    QVERIFY(servidor.Executar({u"INSERT INTO \"Sócios\" (\"Número\") VALUES (1), (5)"_s}));
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    ConjuntoRegistos sócios(bd, TodosOsSócios());
    QCOMPARE(Números(sócios), QList<qint64>({1, 5}));
    const qint64 antes = Processo(bd);
    QVERIFY(Administrar({u"SELECT pg_terminate_backend(%1)"_s.arg(antes)}));
    QVERIFY(servidor.Executar({u"INSERT INTO \"Sócios\" (\"Número\") VALUES (3)"_s}));
    // The notifications' socket reads the end of the session while events are processed.
    if (eventos)
      QTest::qWait(200);
    if (escrita) {
      BaseDados::Transacção t(bd);
      bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (7)"_s, {}, u"Gravar"_s);
      t.Confirmar();
    }
    {
      BaseDados::Leitura l(bd);
      QCOMPARE(Números(sócios), escrita ? QList<qint64>({1, 3, 5, 7}) : QList<qint64>({1, 3, 5}));
    }
    QCOMPARE(bd.Religações(), quint64(1));
    QVERIFY(Processo(bd) != antes);
    QCOMPARE(Contar(servidor, u"Sócios"_s), escrita ? 4 : 3);
  }

  // The session ended in the middle of a save of a member with 240 dues rows: nothing of it
  // is on the server and the message says so; the next save makes the connection again and
  // writes everything.
  void sessaoTerminadaAMeioDaGravacao() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    // The 120th row waits, so that the session is ended right there.
    QVERIFY(servidor.Executar(
        {u"CREATE FUNCTION esperar() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
         u"IF NEW.\"SócMês\" = '000001201012' THEN PERFORM pg_sleep(60); END IF; "
         u"RETURN NEW; END $$"_s,
         u"CREATE TRIGGER esperar AFTER INSERT ON \"Quotizações\" FOR EACH ROW "
         u"EXECUTE FUNCTION esperar()"_s}));
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    std::optional<ErroBaseDados> e;
    {
      FimDeSessão fim(servidor.Nome(), u"PgSleep"_s);
      e = Erro([&] { GravarSócioComQuotas(bd); });
      QVERIFY(fim.Terminada());
    }
    QVERIFY(e);
    QCOMPARE(e->Causa(), CausaErro::LigaçãoPerdida);
    QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s) &&
                 e->Mensagem().contains(u"«"_s + servidor.Ligação() + u"» no servidor"_s),
             qPrintable(e->Mensagem()));
    QVERIFY(!e->Detalhes().isEmpty());
    QCOMPARE(Contar(servidor, u"Quotizações"_s), 0);
    QCOMPARE(Contar(servidor, u"Sócios"_s), 0);

    QVERIFY(servidor.Executar({u"DROP TRIGGER esperar ON \"Quotizações\""_s}));
    GravarSócioComQuotas(bd);
    QCOMPARE(bd.Religações(), quint64(1));
    QCOMPARE(Contar(servidor, u"Quotizações"_s), 240);
    QCOMPARE(Contar(servidor, u"Sócios"_s), 1);
  }

  // The COMMIT sent and its answer lost with the session: after reconnecting the program asks
  // the server what became of the transaction. Committed (the session ended while the commit
  // waited for a standby, after the commit itself), the save returns as saved; undone (ended
  // while a check deferred to the commit ran), the message says nothing was saved.
  void commitSemResposta_data() {
    QTest::addColumn<bool>("gravado");
    QTest::newRow("gravado") << true;
    QTest::newRow("não gravado") << false;
  }
  void commitSemResposta() {
    QFETCH(bool, gravado);
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    auto repor = qScopeGuard([] {
      Administrar({u"ALTER SYSTEM RESET synchronous_standby_names"_s,
                   u"ALTER SYSTEM RESET synchronous_commit"_s, u"SELECT pg_reload_conf()"_s});
    });
    if (gravado) {
      // Only this database's sessions wait for the standby that never comes.
      if (!Administrar({u"ALTER SYSTEM SET synchronous_commit = 'local'"_s,
                        u"ALTER SYSTEM SET synchronous_standby_names = 'agremia_nenhum'"_s,
                        u"SELECT pg_reload_conf()"_s}))
        QSKIP("o utilizador do servidor não pode alterar a sua configuração");
      QVERIFY(servidor.Executar(
          {u"ALTER DATABASE "_s + servidor.Nome() + u" SET synchronous_commit = 'on'"_s}));
      QTRY_COMPARE(Linhas(u"QPSQL"_s, servidor.Ligação(), u"SELECT current_setting('synchronous_standby_names')"_s),
                   QStringList{u"agremia_nenhum"_s});
    } else {
      QVERIFY(servidor.Executar(
          {u"CREATE FUNCTION esperar() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
           u"PERFORM pg_sleep(60); RETURN NEW; END $$"_s,
           u"CREATE CONSTRAINT TRIGGER esperar AFTER INSERT ON \"Sócios\" "
           u"DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION esperar()"_s}));
    }
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    std::optional<ErroBaseDados> e;
    {
      FimDeSessão fim(servidor.Nome(), gravado ? u"SyncRep"_s : u"PgSleep"_s);
      e = Erro([&] { GravarSócioComQuotas(bd); });
      QVERIFY(fim.Terminada());
    }
    repor.dismiss();
    QVERIFY(Administrar({u"ALTER SYSTEM RESET synchronous_standby_names"_s,
                         u"ALTER SYSTEM RESET synchronous_commit"_s,
                         u"SELECT pg_reload_conf()"_s}));
    QCOMPARE(bd.Religações(), quint64(1));
    if (gravado) {
      QVERIFY2(!e, e ? qPrintable(e->Mensagem()) : "");
      QCOMPARE(Contar(servidor, u"Quotizações"_s), 240);
    } else {
      QVERIFY(e);
      QCOMPARE(e->Causa(), CausaErro::LigaçãoPerdida);
      QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s), qPrintable(e->Mensagem()));
      QCOMPARE(Contar(servidor, u"Quotizações"_s), 0);
      QCOMPARE(Contar(servidor, u"Sócios"_s), 0);
    }
  }

  // The server away (the database taking no connections, every session ended): the action
  // fails with a message naming the database and its server, the driver's words in the
  // details; once the server is back, the next action makes the connection again.
  void servidorAusente() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    const QString base = servidor.Nome();
    auto repor = qScopeGuard(
        [&] { Administrar({u"ALTER DATABASE "_s + base + u" ALLOW_CONNECTIONS true"_s}); });
    QVERIFY(Administrar({u"ALTER DATABASE "_s + base + u" ALLOW_CONNECTIONS false"_s,
                         u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                         u"WHERE datname = '"_s + base + u"'"_s}));
    for (int vez = 0; vez < 2; ++vez) {
      const auto e = Erro([&] { BaseDados::Leitura l(bd); });
      QVERIFY(e);
      QCOMPARE(e->Causa(), CausaErro::ServidorIndisponível);
      QVERIFY2(e->Mensagem().contains(u"«"_s + servidor.Ligação() + u"» no servidor PostgreSQL"_s),
               qPrintable(e->Mensagem()));
      QVERIFY(!e->Detalhes().isEmpty());
    }
    QVERIFY(Administrar({u"ALTER DATABASE "_s + base + u" ALLOW_CONNECTIONS true"_s}));
    {
      BaseDados::Transacção t(bd);
      bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (2)"_s, {}, u"Gravar"_s);
      t.Confirmar();
    }
    QCOMPARE(bd.Religações(), quint64(1));
    QCOMPARE(Contar(servidor, u"Sócios"_s), 1);
  }

  // Two desks on one database. What desk A commits reaches desk B while B waits for events:
  // B's member recordset reads its keys again, staying on its member or, when A deleted it,
  // standing where it was; B's reference lists are read again. B's own commits bring it no
  // reading: a member it added stays last until it asks for the order again.
  void outroPosto() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    QVERIFY(servidor.Executar(
        {u"INSERT INTO \"Sócios\" (\"Número\") VALUES (1), (3), (5)"_s,
         u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES ('S', 'Efectivo')"_s}));
    AbrirDadosServidor(servidor.Ligação());
    auto fechar = qScopeGuard([] { FecharDados(); });
    int listasMudadas = 0;
    DefinirAoMudaremListas([&] { ++listasMudadas; });
    auto esquecer = qScopeGuard([] { DefinirAoMudaremListas({}); });
    BaseDados a;
    a.AbrirServidor(servidor.Ligação());
    ConjuntoRegistos &sócios = *Dados().sócios;
    QCOMPARE(Números(sócios), QList<qint64>({1, 3, 5}));
    {
      BaseDados::Transacção t(Dados().bd);
      sócios.AdicionarNovo();
      sócios.DefinirCampo(u"Número", 2);
      sócios.Actualizar();
      t.Confirmar();
    }
    QVERIFY(sócios.IrParaId(3));

    {
      BaseDados::Transacção t(a);
      a.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES ('S', 'Honorário')"_s,
               {}, u"Gravar"_s);
      t.Confirmar();
    }
    QTRY_COMPARE(Listas().situações.size(), size_t(2));
    QCOMPARE(listasMudadas, 1);
    // B's own notification came before A's: it changed nothing.
    QCOMPARE(sócios.IdActual(), 3);
    QCOMPARE(Números(sócios), QList<qint64>({1, 3, 5, 2}));
    QVERIFY(sócios.IrParaId(3));

    {
      BaseDados::Transacção t(a);
      a.Correr(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (4), (6)"_s, {}, u"Gravar"_s);
      a.Correr(u"DELETE FROM \"Sócios\" WHERE \"Número\" = 3"_s, {}, u"Eliminar"_s);
      t.Confirmar();
    }
    QTRY_COMPARE(sócios.NúmeroRegistos(), 5);
    QCOMPARE(sócios.IdActual(), -1); // deleted on the other desk
    QVERIFY_THROWS_EXCEPTION(ErroBaseDados, sócios.Texto(u"Nome"));
    sócios.MoverSeguinte();
    QVERIFY(!sócios.FimFicheiro());
    QVERIFY(sócios.Inteiro(u"Número") > 3);
    QCOMPARE(Números(sócios), QList<qint64>({1, 2, 4, 5, 6}));
    QCOMPARE(listasMudadas, 1);
  }

  // The tables, their fields in order and their indexes, by name, field and kind, as in a
  // Quotas.Dad that the program creates: both catalogues read and compared.
  void criarAsTabelasComoNoFicheiro() {
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    QCOMPARE(TabelasServidor(servidor),
             QStringList({u"public.Quotizações"_s, u"public.Sócios"_s, u"public.Tabelas"_s}));
    for (const DefTabela &t : TabelasDoFicheiro()) {
      const QStringList camposFicheiro = Linhas(
          u"QSQLITE"_s, u"Quotas.Dad"_s, u"SELECT name FROM pragma_table_info(?)"_s, {t.nome});
      const QStringList camposServidor =
          Linhas(u"QPSQL"_s, servidor.Ligação(),
                 u"SELECT column_name FROM information_schema.columns WHERE table_name = ? "
                 u"ORDER BY ordinal_position"_s,
                 {t.nome});
      QCOMPARE(camposServidor, camposFicheiro);
      QCOMPARE(camposServidor.size(), t.campos.size());
      // name|field|unique, ordered by name
      const QStringList índicesFicheiro =
          Linhas(u"QSQLITE"_s, u"Quotas.Dad"_s,
                 u"SELECT l.name, i.name, l.\"unique\" FROM pragma_index_list(?) l, "
                 u"pragma_index_info(l.name) i WHERE l.origin = 'c' ORDER BY l.name"_s,
                 {t.nome});
      const QStringList índicesServidor =
          Linhas(u"QPSQL"_s, servidor.Ligação(),
                 u"SELECT ic.relname, a.attname, CASE WHEN x.indisunique THEN 1 ELSE 0 END "
                 u"FROM pg_index x JOIN pg_class ic ON ic.oid = x.indexrelid "
                 u"JOIN pg_class tc ON tc.oid = x.indrelid "
                 u"JOIN pg_attribute a ON a.attrelid = tc.oid AND a.attnum = x.indkey[0] "
                 u"WHERE tc.relname = ? ORDER BY ic.relname COLLATE \"C\""_s,
                 {t.nome});
      QCOMPARE(índicesServidor, índicesFicheiro);
      QCOMPARE(índicesServidor.size(), t.índices.size());
    }
  }

  // The stored forms: texts within their lengths, money in ten-thousandths beyond 32 bits,
  // counters drawn by the engine, and the engine's refusals as the store's typed errors.
  void gravarNoServidor() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    QVERIFY(bd.Aberta());
    QCOMPARE(bd.MotorAberto(), Motor::PostgreSQL);
    const QString guardar = InstruçãoGuardar(u"Quotizações", u"SócMês",
                                             {u"QuotaEuro"_s, u"Recibo"_s}, Motor::PostgreSQL);
    {
      BaseDados::Transacção t(bd);
      bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"ValQuotaEuro\") "
                u"VALUES (?, ?, ?)"_s,
                {7, u"Conceição Araújo"_s, qint64(50000000000)}, u"Gravar"_s);
      bd.Correr(guardar, {u"000007202501"_s, qint64(125000), 3}, u"Gravar"_s);
      bd.Correr(guardar, {u"000007202502"_s, qint64(125000), 4}, u"Gravar"_s);
      bd.Correr(guardar, {u"000007202501"_s, qint64(130000), 5}, u"Gravar"_s); // an update
      t.Confirmar();
    }
    {
      BaseDados::Transacção t(bd);
      bd.Correr(guardar, {u"000007202503"_s, qint64(1), 9}, u"Gravar"_s);
    } // not confirmed: nothing of it stays
    QStringList quotas;
    bd.Percorrer(u"SELECT \"SócMês\", \"QuotaEuro\", \"Recibo\" FROM \"Quotizações\" "
                 u"ORDER BY 1"_s,
                 {}, u"Ler"_s, [&](const Instrução &i) {
                   quotas << i.Texto(0) + u'|' + QString::number(i.Inteiro(1)) + u'|' +
                                 QString::number(i.Inteiro(2));
                 });
    QCOMPARE(quotas, QStringList({u"000007202501|130000|5"_s, u"000007202502|125000|4"_s}));
    {
      Instrução i = bd.Correr(u"SELECT \"Nome\", \"ValQuotaEuro\" FROM \"Sócios\""_s, {}, u"Ler"_s);
      QVERIFY(i.Seguinte());
      QCOMPARE(i.Texto(0), u"Conceição Araújo"_s);
      QCOMPARE(i.Inteiro(1), qint64(50000000000));
    }

    // The counter of the reference table: the value the engine gave, read back.
    qint64 primeiro = 0, segundo = 0;
    {
      BaseDados::Transacção t(bd);
      const QString inserir = u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES (?, ?)"_s;
      primeiro = bd.Correr(inserir, {u"S"_s, u"Efectivo"_s}, u"Gravar"_s).ÚltimoId();
      segundo = bd.Correr(inserir, {u"S"_s, u"Honorário"_s}, u"Gravar"_s).ÚltimoId();
      t.Confirmar();
    }
    QVERIFY(primeiro > 0);
    QCOMPARE(segundo, primeiro + 1);
    {
      Instrução i = bd.Correr(u"SELECT \"Código\" FROM \"Tabelas\" WHERE \"Designação\" = ?"_s,
                              {u"Honorário"_s}, u"Ler"_s);
      QVERIFY(i.Seguinte());
      QCOMPARE(i.Inteiro(0), segundo);
    }

    struct Recusa {
      QString sql;
      QVariantList valores;
      CausaErro causa;
    };
    const QList<Recusa> recusas = {
        {u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s,
         {7, u"Outro"_s},
         CausaErro::Duplicado},
        {u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s,
         {8, QString(46, u'x')},
         CausaErro::ValorInválido},
        {u"INSERT INTO \"Sócios\" (\"Número\", \"NIF\") VALUES (?, ?)"_s,
         {9, u"1234567890123"_s},
         CausaErro::ValorInválido},
        {u"INSERT INTO \"Sócios\" (\"Número\") VALUES (?)"_s,
         {qint64(2147483648)},
         CausaErro::ValorInválido},
    };
    for (const Recusa &r : recusas) {
      const auto e = Erro([&] {
        BaseDados::Transacção t(bd);
        bd.Correr(r.sql, r.valores, u"Gravar o sócio"_s);
        t.Confirmar();
      });
      QVERIFY2(e, qPrintable(r.sql));
      QCOMPARE(int(e->Causa()), int(r.causa));
      QVERIFY(e->DoServidor());
      QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s), qPrintable(e->Mensagem()));
      QCOMPARE(e->Operação(), u"Gravar o sócio"_s);
    }
    // A refusal leaves the connection usable and the rows as they were.
    Instrução i = bd.Correr(u"SELECT count(*) FROM \"Sócios\""_s, {}, u"Ler"_s);
    QVERIFY(i.Seguinte());
    QCOMPARE(i.Inteiro(0), 1);
  }

  // What one action reads is one state of the data: another desk's commit in the middle of
  // it shows only to the next action.
  void leituraVeUmSoEstado() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    const QString contar = u"SELECT count(*) FROM \"Sócios\""_s;
    auto sócios = [&] {
      Instrução i = bd.Correr(contar, {}, u"Ler"_s);
      return i.Seguinte() ? i.Inteiro(0) : -1;
    };
    const QString inserir = u"INSERT INTO \"Sócios\" (\"Número\") VALUES (%1)"_s;
    {
      BaseDados::Leitura l(bd);
      QCOMPARE(sócios(), 0);
      QVERIFY(servidor.Executar({inserir.arg(1)}));
      QCOMPARE(sócios(), 0);
    }
    QCOMPARE(sócios(), 1);
    // A write inside a read ends the read first: it sees, and keeps, the other desk's row.
    {
      BaseDados::Leitura l(bd);
      QVERIFY(servidor.Executar({inserir.arg(2)}));
      {
        BaseDados::Transacção t(bd);
        bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (3)"_s, {}, u"Gravar"_s);
        QCOMPARE(sócios(), 3);
        t.Confirmar();
      }
      QCOMPARE(sócios(), 3);
    }
  }

  // A second creation, or a database holding another program's table in any schema, is
  // refused and left exactly as it was.
  void criarRecusado_data() {
    QTest::addColumn<QStringList>("antes");
    QTest::addColumn<bool>("criadaAntes");
    QTest::newRow("segunda criação") << QStringList() << true;
    QTest::newRow("tabela de outro programa")
        << QStringList{u"CREATE TABLE contas (id integer)"_s} << false;
    QTest::newRow("tabela noutro esquema")
        << QStringList{u"CREATE SCHEMA arquivo"_s, u"CREATE TABLE arquivo.velha (id integer)"_s}
        << false;
  }
  void criarRecusado() {
    QFETCH(QStringList, antes);
    QFETCH(bool, criadaAntes);
    BaseServidorTeste servidor;
    QVERIFY(servidor.Executar(antes));
    if (criadaAntes)
      BaseDados::CriarNoServidor(servidor.Ligação());
    const QStringList tabelas = TabelasServidor(servidor);
    QVERIFY(!tabelas.isEmpty());
    const auto e = Erro([&] { BaseDados::CriarNoServidor(servidor.Ligação()); });
    QVERIFY(e);
    QCOMPARE(e->Causa(), CausaErro::JáExiste);
    QVERIFY(e->DoServidor());
    QCOMPARE(e->Mensagem(), u"A base de dados «"_s + servidor.Ligação() +
                                u"» no servidor PostgreSQL já tem tabelas: as tabelas deste "_s
                                u"programa só são criadas numa base de dados vazia.\n"_s
                                u"Nada foi alterado."_s);
    QCOMPARE(TabelasServidor(servidor), tabelas);
  }

  // Filters pick the same rows on the server as in the file: name patterns with letter case
  // ignored beyond ASCII and the expression's own characters taken literally, prefixes, and
  // comparisons with a missing value.
  void filtrosComoNoFicheiro_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("comparação");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<int>("linhas"); // as the file gives them
    const int padrão = int(Comparação::Padrão);
    QTest::newRow("prefixo") << u"Nome"_s << padrão << QVariant(u"silva*"_s) << 1;
    QTest::newRow("acentos noutra caixa") << u"Nome"_s << padrão << QVariant(u"*CONCEIÇÃO*"_s) << 1;
    QTest::newRow("um carácter") << u"Nome"_s << padrão << QVariant(u"?aria*"_s) << 2;
    QTest::newRow("ponto literal") << u"Nome"_s << padrão << QVariant(u"A.B*"_s) << 1;
    QTest::newRow("parêntesis e mais") << u"Nome"_s << padrão << QVariant(u"*(c+)*"_s) << 1;
    QTest::newRow("nome inteiro") << u"Nome"_s << padrão << QVariant(u"Maria Silva"_s) << 1;
    QTest::newRow("começa") << u"Nome"_s << int(Comparação::Começa) << QVariant(u"Maria"_s) << 2;
    QTest::newRow("igual a nada") << u"CPostal"_s << int(Comparação::Igual) << QVariant() << 0;
    QTest::newRow("diferente de nada")
        << u"CPostal"_s << int(Comparação::Diferente) << QVariant() << 5;
    QTest::newRow("menor") << u"CPostal"_s << int(Comparação::Menor) << QVariant(4000) << 2;
  }
  void filtrosComoNoFicheiro() {
    QFETCH(QString, campo);
    QFETCH(int, comparação);
    QFETCH(QVariant, valor);
    QFETCH(int, linhas);
    const QStringList nomes = {u"Silva Santos"_s,       u"Maria Silva"_s,       u"Maria Silvana"_s,
                               u"Ana da Conceição"_s,   u"AxB Lda"_s,           u"A.B Lda"_s,
                               u"Sociedade (c+) Lda"_s, u"Sociedade (cc) Lda"_s};
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    const DefTabela &sócios = *ProcurarTabela(u"Sócios");
    QStringList achados[2];
    for (int n = 0; n < 2; ++n) {
      BaseDados bd;
      if (n == 0)
        bd.Abrir(u"Quotas.Dad"_s);
      else
        bd.AbrirServidor(servidor.Ligação());
      {
        BaseDados::Transacção t(bd);
        for (int k = 0; k < nomes.size(); ++k)
          bd.Correr(
              u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"CPostal\") VALUES (?, ?, ?)"_s,
              {k + 1, nomes[k], k % 3 == 0 ? QVariant() : QVariant(1000 * k)}, u"Gravar"_s);
        t.Confirmar();
      }
      const Filtro f = Critério{campo, Comparação(comparação), valor};
      const CondiçãoSql c = TraduzirFiltro(sócios, f, bd.MotorAberto());
      bd.Percorrer(u"SELECT \"Nome\" FROM \"Sócios\" WHERE "_s + c.texto +
                       u" ORDER BY \"Número\""_s,
                   c.valores, u"Procurar"_s, [&](const Instrução &i) { achados[n] << i.Texto(0); });
    }
    QCOMPARE(achados[0].size(), linhas);
    QCOMPARE(achados[1], achados[0]);
  }

  // A file copied to a server and back: the same rows, value for value (NULLs, accents,
  // 45-character names, money beyond 32 bits), over several statements of each table, and new
  // reference rows coded above every code the file ever gave.
  void copiarIdaEVolta() {
    PastaTeste pasta;
    EncherFicheiro(u"Quotas.Dad"_s, 120, 9);
    const QStringList original = Conteúdo(u"QSQLITE"_s, u"Quotas.Dad"_s);
    BaseServidorTeste servidor;
    const ContagemDados ida = CopiarFicheiroParaServidor(u"Quotas.Dad"_s, servidor.Ligação());
    QCOMPARE(ida.tabelas, 4);
    QCOMPARE(ida.sócios, 120);
    QCOMPARE(ida.quotizações, 200 + 119 * 9);
    QCOMPARE(Conteúdo(u"QPSQL"_s, servidor.Ligação()), original);

    const ContagemDados volta = CopiarServidorParaFicheiro(servidor.Ligação(), u"Volta.Dad"_s);
    QCOMPARE(volta.quotizações, ida.quotizações);
    QCOMPARE(Conteúdo(u"QSQLITE"_s, u"Volta.Dad"_s), original);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList({u"Quotas.Dad"_s, u"Volta.Dad"_s}));

    BaseDados noServidor, noFicheiro;
    noServidor.AbrirServidor(servidor.Ligação());
    noFicheiro.Abrir(u"Volta.Dad"_s);
    QCOMPARE(NovoCódigo(noServidor), 13);
    QCOMPARE(NovoCódigo(noFicheiro), 13);
  }

  // A destination that holds anything is refused and left exactly as it was: a server database
  // with our rows, one with another program's table, a file that exists.
  void copiarRecusado() {
    PastaTeste pasta;
    EncherFicheiro(u"Quotas.Dad"_s, 3, 1);
    BaseServidorTeste comDados, alheia;
    BaseDados::CriarNoServidor(comDados.Ligação());
    QVERIFY(comDados.Executar({u"INSERT INTO \"Tabelas\" (\"Tipo\") VALUES ('S')"_s}));
    QVERIFY(alheia.Executar({u"CREATE TABLE contas (id integer)"_s}));
    const QStringList antes = Conteúdo(u"QPSQL"_s, comDados.Ligação());

    auto e = Erro([&] { CopiarFicheiroParaServidor(u"Quotas.Dad"_s, comDados.Ligação()); });
    QVERIFY(e);
    QCOMPARE(e->Causa(), CausaErro::ComDados);
    QCOMPARE(e->Mensagem(), u"A base de dados «"_s + comDados.Ligação() +
                                u"» no servidor PostgreSQL já tem dados: os dados só são "_s
                                u"copiados para tabelas vazias.\nNada foi alterado."_s);
    QCOMPARE(Conteúdo(u"QPSQL"_s, comDados.Ligação()), antes);
    BaseDados bd;
    bd.AbrirServidor(comDados.Ligação());
    QCOMPARE(NovoCódigo(bd), 2); // the counter did not move

    e = Erro([&] { CopiarFicheiroParaServidor(u"Quotas.Dad"_s, alheia.Ligação()); });
    QVERIFY(e);
    QCOMPARE(e->Causa(), CausaErro::JáExiste);
    QCOMPARE(TabelasServidor(alheia), QStringList{u"public.contas"_s});

    const QByteArray ficheiro = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    e = Erro([&] { CopiarServidorParaFicheiro(comDados.Ligação(), u"Quotas.Dad"_s); });
    QVERIFY(e);
    QCOMPARE(e->Causa(), CausaErro::JáExiste);
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), ficheiro);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{u"Quotas.Dad"_s});
  }

  // A copy stopped by a value of its last table, after the other tables are written, leaves
  // the server as it found it: empty tables stay empty, a database without tables gets none.
  void copiaFalhadaNadaMuda_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<bool>("tabelasAntes");
    QTest::newRow("recusado pelo servidor") << u"Recibo"_s << QVariant(777) << true;
    QTest::newRow("fracção em euros") << u"QuotaEuro"_s << QVariant(1.5) << false;
    QTest::newRow("texto no lugar de um número") << u"QuotaEuro"_s << QVariant(u"x"_s) << false;
    QTest::newRow("carácter nulo") << u"SócMês"_s << QVariant(u"9999\0009"_s) << false;
  }
  void copiaFalhadaNadaMuda() {
    QFETCH(QString, campo);
    QFETCH(QVariant, valor);
    QFETCH(bool, tabelasAntes);
    PastaTeste pasta;
    EncherFicheiro(u"Quotas.Dad"_s, 30, 2, [&](BaseDados &bd) {
      bd.Correr(u"INSERT INTO \"Quotizações\" (\"SócMês\") VALUES ('999999999999')"_s, {},
                u"Encher"_s);
      bd.Correr(u"UPDATE \"Quotizações\" SET "_s + Identificador(campo) +
                    u" = ? WHERE \"SócMês\" = '999999999999'"_s,
                {valor}, u"Encher"_s);
    });
    BaseServidorTeste servidor;
    if (tabelasAntes) {
      BaseDados::CriarNoServidor(servidor.Ligação());
      QVERIFY(servidor.Executar({u"ALTER TABLE \"Quotizações\" ADD CHECK (\"Recibo\" <> 777)"_s}));
    }
    const QStringList antes =
        tabelasAntes ? Conteúdo(u"QPSQL"_s, servidor.Ligação()) : QStringList();
    const auto e = Erro([&] { CopiarFicheiroParaServidor(u"Quotas.Dad"_s, servidor.Ligação()); });
    QVERIFY(e);
    QCOMPARE(e->Causa(), CausaErro::ValorInválido);
    QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s), qPrintable(e->Mensagem()));
    if (!tabelasAntes)
      QVERIFY2(e->Pormenor().contains(campo), qPrintable(e->Pormenor()));
    QCOMPARE(TabelasServidor(servidor).size(), tabelasAntes ? 3 : 0);
    if (tabelasAntes) {
      QCOMPARE(Conteúdo(u"QPSQL"_s, servidor.Ligação()), antes);
      BaseDados bd;
      bd.AbrirServidor(servidor.Ligação());
      QCOMPARE(NovoCódigo(bd), 1);
    }
  }

  // Every connection names itself to the server, so that a desk can see the others: the
  // program's name and the computer's, quoted as libpq wants; a name that the user gives is
  // kept.
  void nomeNaLigacao_data() {
    QTest::addColumn<QString>("ligação"); // %1: the database
    QTest::addColumn<QString>("programa");
    QTest::addColumn<QString>("nome"); // %1: the computer
    QTest::newRow("o do programa") << u"dbname=%1"_s << u"Agremia"_s << u"Agremia (%1)"_s;
    QTest::newRow("com aspas e barra")
        << u"dbname=%1"_s << u"O'Neill \\ Caixa"_s << u"O'Neill \\ Caixa (%1)"_s;
    QTest::newRow("dado pelo utilizador")
        << u"dbname=%1 application_name=Tesouraria"_s << u"Agremia"_s << u"Tesouraria"_s;
  }
  void nomeNaLigacao() {
    QFETCH(QString, ligação);
    QFETCH(QString, programa);
    QFETCH(QString, nome);
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    BaseDados::DefinirNomePrograma(programa);
    BaseDados bd;
    bd.AbrirServidor(ligação.arg(servidor.Nome()));
    BaseDados::DefinirNomePrograma(u"Agremia"_s);
    QString visto;
    bd.Percorrer(u"SELECT application_name FROM pg_stat_activity WHERE pid = pg_backend_pid()"_s,
                 {}, u"Ler"_s, [&](const Instrução &i) { visto = i.Texto(0); });
    QCOMPARE(visto, nome.replace(u"%1"_s, QSysInfo::machineHostName()));
  }
};

QTEST_GUILESS_MAIN(TestBaseDadosPg)
#include "TestBaseDadosPg.moc"
