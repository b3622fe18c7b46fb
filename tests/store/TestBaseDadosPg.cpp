#include "BaseDados.h"
#include "ConjuntoRegistos.h"
#include "CopiaDados.h"
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

// Runs `sql` on a connection of its own to a file (QSQLITE) or a server database (QPSQL) and
// returns its rows, each as one text of its columns joined by "|". With `tipos`, each value
// shows its kind (NULL, a number, a quoted text), so that both engines' rows compare.
QStringList Linhas(const QString &driver, const QString &onde, const QString &sql,
                   const QVariantList &valores = {}, bool tipos = false) {
  static std::atomic<int> ligações = 0;
  QStringList r;
  const QString nome = u"catálogo-"_s + QString::number(++ligações);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, nome);
    if (driver == u"QPSQL"_s)
      db.setConnectOptions(onde);
    else
      db.setDatabaseName(onde);
    if (!db.open())
      qWarning("%s", qPrintable(db.lastError().text()));
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &v : valores)
      q.addBindValue(v);
    if (!q.exec())
      qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    while (q.next()) {
      QStringList colunas;
      for (int i = 0; i < q.record().count(); ++i) {
        const QVariant v = q.value(i);
        const int t = v.metaType().id();
        colunas << (!tipos       ? v.toString()
                    : v.isNull() ? u"NULL"_s
                    : t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::ULongLong
                        ? v.toString()
                    : t == QMetaType::QString
                        ? u'\'' + v.toString() + u'\''
                        : u"?"_s + QString::fromLatin1(v.typeName()) + v.toString());
      }
      r << colunas.join(u'|');
    }
    q.finish();
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

// Every row of the three tables, with its kinds, in key order: a file and a server database
// holding the same data read the same.
QStringList Conteúdo(const QString &driver, const QString &onde) {
  QStringList r;
  for (const DefTabela &t : TabelasDoFicheiro())
    r << t.nome
      << Linhas(driver, onde, u"SELECT * FROM "_s + Identificador(t.nome) + u" ORDER BY 1"_s, {},
                true);
  return r;
}

qint64 Contar(const BaseServidorTeste &servidor, const QString &tabela) {
  const QStringList r =
      Linhas(u"QPSQL"_s, servidor.Ligação(), u"SELECT count(*) FROM \""_s + tabela + u'"');
  return r.size() == 1 ? r[0].toLongLong() : -1;
}

// Fills a new Quotas.Dad through the store; `ajustar` may add rows of its own.
void EncherFicheiro(const QString &ficheiro, int sócios, int quotasPorSócio,
                    const std::function<void(BaseDados &)> &ajustar = {}) {
  BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  const auto correr = [&](const QString &sql, const QVariantList &v) {
    bd.Correr(sql, v, u"Encher"_s);
  };
  for (int n = 1; n <= sócios; ++n) {
    if (n % 7 == 0) // only the number
      correr(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (?)"_s, {n});
    else
      correr(
          u"INSERT INTO \"Sócios\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
          {n,
           (u"Conceição Araújo Gonçalves nº "_s + QString::number(n)).leftJustified(45, u'ç', true),
           4700 + n, n % 3, n % 4 == 0 ? QVariant() : QVariant(n % 5),
           QString::number(n % 28 + 1).rightJustified(2, u'0') + u"/03/01"_s,
           qint64(n) * 50000000LL, u"Rua do Sol, "_s + QString::number(n),
           n % 2 ? QVariant(u"Braga"_s) : QVariant(), u""_s, u"123456789"_s});
    for (int m = 0; m < (n == 1 ? 200 : quotasPorSócio); ++m)
      correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, ?)"_s,
             {QString::number(n).rightJustified(6, u'0') + QString::number(190001 + m),
              qint64(12500 + m), m % 3 == 0 ? QVariant() : QVariant(m)});
  }
  // Reference rows with gaps in their codes, the counter past the highest one left.
  for (int código : {1, 2, 5, 9, 12})
    correr(u"INSERT INTO \"Tabelas\" VALUES (?, ?, ?)"_s,
           {código, código % 2 ? u"S"_s : u"Q"_s,
            código == 5 ? QVariant() : QVariant(u"Designação "_s + QString::number(código))});
  correr(u"DELETE FROM \"Tabelas\" WHERE \"Código\" = 12"_s, {});
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

qint64 Processo(BaseDados &bd) {
  Instrução i = bd.Correr(u"SELECT pg_backend_pid()"_s, {}, u"Ler"_s);
  return i.Seguinte() ? i.Inteiro(0) : -1;
}

void Gravar(BaseDados &bd, const QString &sql) {
  BaseDados::Transacção t(bd);
  bd.Correr(sql, {}, u"Gravar"_s);
  t.Confirmar();
}

// Runs `gravar` while, from a thread of its own as the server's administrator would, the
// session on `base` that waits on `espera` (pg_stat_activity's wait_event) is ended as soon as
// one does; `terminada` says whether one was.
std::optional<ErroBaseDados> GravarAtéAoFimDaSessão(const QString &base, const QString &espera,
                                                    const std::function<void()> &gravar,
                                                    bool &terminada) {
  std::atomic<bool> fim = false, acabou = false;
  std::thread fio([&] {
    const QString sql = u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                        u"WHERE datname = ? AND wait_event = ?"_s;
    for (int volta = 0; volta < 1500 && !fim && !acabou; ++volta)
      if (!(fim = Linhas(u"QPSQL"_s, u"dbname=postgres"_s, sql, {base, espera}) ==
                  QStringList{u"true"_s}))
        QThread::msleep(20);
  });
  const auto e = Erro(gravar);
  acabou = true;
  fio.join();
  terminada = fim;
  return e;
}

// Saves member 1 with 240 months of dues, 2001 to 2020, in one transaction.
void GravarSócioComQuotas(BaseDados &bd) {
  const QString guardar =
      InstruçãoGuardar(u"Quotizações", u"SócMês", {u"QuotaEuro"_s, u"Recibo"_s}, Motor::PostgreSQL);
  BaseDados::Transacção t(bd);
  bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (1, 'Inês')"_s, {},
            u"Gravar o sócio"_s);
  for (int mês = 0; mês < 240; ++mês)
    bd.Correr(guardar, {ChaveSócMês(1, 2001 + mês / 12, mês % 12 + 1), qint64(25000), mês + 1},
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
    QVERIFY(VersãoServidorRecusada(119999) && !VersãoServidorRecusada(120000));
    const QString m = ErroBaseDados::NoServidor(CausaErro::VersãoServidor, u"Abrir"_s,
                                                u"host=velho"_s, u"11.22"_s)
                          .Mensagem();
    QVERIFY2(m.contains(u"«host=velho»"_s) && m.contains(u"11.22"_s) &&
                 m.contains(u"versão 12 ou mais recente"_s),
             qPrintable(m));
  }

  // A session that the server ended while the program waited: the next action makes the
  // connection again and works, whether the program heard of the loss while waiting for
  // events or only when its next statement fails. What another desk changed meanwhile, which
  // no notification could bring, shows in the recordset. While the server is away (the
  // database taking no connections) each action fails, naming the database and its server.
  void sessaoTerminada_data() {
    QTest::addColumn<bool>("eventos");
    QTest::addColumn<bool>("escrita");
    QTest::addColumn<bool>("ausente");
    QTest::newRow("leitura, com eventos") << true << false << false;
    QTest::newRow("leitura, sem eventos") << false << false << false;
    QTest::newRow("gravação, sem eventos") << false << true << false;
    QTest::newRow("servidor ausente, depois gravação") << false << true << true;
  }
  void sessaoTerminada() {
    QFETCH(bool, eventos);
    QFETCH(bool, escrita);
    QFETCH(bool, ausente);
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    QVERIFY(servidor.Executar({u"INSERT INTO \"Sócios\" (\"Número\") VALUES (1), (5)"_s}));
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    ConjuntoRegistos sócios(bd, TodosOsSócios());
    QCOMPARE(Números(sócios), QList<qint64>({1, 5}));
    const qint64 antes = Processo(bd);
    const auto permitir = [&](bool sim) {
      return AdministrarPg({u"ALTER DATABASE "_s + servidor.Nome() + u" ALLOW_CONNECTIONS "_s +
                            (sim ? u"true"_s : u"false"_s)});
    };
    auto repor = qScopeGuard([&] { permitir(true); });
    QVERIFY(!ausente || permitir(false));
    QVERIFY(AdministrarPg({u"SELECT pg_terminate_backend(%1)"_s.arg(antes)}));
    for (int vez = 0; ausente && vez < 2; ++vez) {
      const auto e = Erro([&] { BaseDados::Leitura l(bd); });
      QVERIFY(e);
      QCOMPARE(e->Causa(), CausaErro::ServidorIndisponível);
      QVERIFY2(e->Mensagem().contains(u"«"_s + servidor.Ligação() + u"» no servidor PostgreSQL"_s),
               qPrintable(e->Mensagem()));
      QVERIFY(!e->Detalhes().isEmpty());
    }
    QVERIFY(permitir(true));
    QVERIFY(servidor.Executar({u"INSERT INTO \"Sócios\" (\"Número\") VALUES (3)"_s}));
    // The notifications' socket reads the end of the session while events are processed.
    if (eventos)
      QTest::qWait(200);
    if (escrita)
      Gravar(bd, u"INSERT INTO \"Sócios\" (\"Número\") VALUES (7)"_s);
    {
      BaseDados::Leitura l(bd);
      QCOMPARE(Números(sócios), escrita ? QList<qint64>({1, 3, 5, 7}) : QList<qint64>({1, 3, 5}));
    }
    QCOMPARE(bd.Religações(), quint64(1));
    QVERIFY(Processo(bd) != antes);
    QCOMPARE(Contar(servidor, u"Sócios"_s), escrita ? 4 : 3);
  }

  // The session ended while a save of a member with 240 dues rows waited: in its middle, or
  // with the COMMIT sent and its answer lost, when the program reconnects and asks the server
  // what became of the transaction. Committed (ended while the commit waited for a standby),
  // the save returns as saved. Otherwise nothing of it is on the server and the message says
  // so; the next save makes the connection again and writes everything.
  void sessaoTerminadaAoGravar_data() {
    QTest::addColumn<QString>("gatilho"); // what makes the save wait; none: the standby
    QTest::addColumn<QString>("condição");
    QTest::newRow("a meio da gravação") // at the 120th row
        << u"TRIGGER esperar AFTER INSERT ON \"Quotizações\""_s
        << u"NEW.\"SócMês\" = '000001201012'"_s;
    QTest::newRow("commit sem resposta, não gravado")
        << u"CONSTRAINT TRIGGER esperar AFTER INSERT ON \"Sócios\" DEFERRABLE INITIALLY DEFERRED"_s
        << u"true"_s;
    QTest::newRow("commit sem resposta, gravado") << QString() << QString();
  }
  void sessaoTerminadaAoGravar() {
    QFETCH(QString, gatilho);
    QFETCH(QString, condição);
    const bool gravado = gatilho.isEmpty();
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    const auto reporConfiguração = [] {
      return AdministrarPg({u"ALTER SYSTEM RESET synchronous_standby_names"_s,
                            u"ALTER SYSTEM RESET synchronous_commit"_s,
                            u"SELECT pg_reload_conf()"_s});
    };
    auto repor = qScopeGuard([&] {
      if (gravado)
        reporConfiguração();
    });
    if (gravado) {
      // Only this database's sessions wait for the standby that never comes.
      if (!AdministrarPg({u"ALTER SYSTEM SET synchronous_commit = 'local'"_s,
                          u"ALTER SYSTEM SET synchronous_standby_names = 'agremia_nenhum'"_s,
                          u"SELECT pg_reload_conf()"_s}))
        QSKIP("o utilizador do servidor não pode alterar a sua configuração");
      QVERIFY(servidor.Executar(
          {u"ALTER DATABASE "_s + servidor.Nome() + u" SET synchronous_commit = 'on'"_s}));
      QTRY_COMPARE(Linhas(u"QPSQL"_s, servidor.Ligação(),
                          u"SELECT current_setting('synchronous_standby_names')"_s),
                   QStringList{u"agremia_nenhum"_s});
    } else {
      QVERIFY(servidor.Executar(
          {u"CREATE FUNCTION esperar() RETURNS trigger LANGUAGE plpgsql "
           u"AS $$ BEGIN IF "_s +
               condição + u" THEN PERFORM pg_sleep(60); END IF; RETURN NEW; END $$"_s,
           u"CREATE "_s + gatilho + u" FOR EACH ROW EXECUTE FUNCTION esperar()"_s}));
    }
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    bool terminada = false;
    const auto e = GravarAtéAoFimDaSessão(
        servidor.Nome(), gravado ? u"SyncRep"_s : u"PgSleep"_s, [&] { GravarSócioComQuotas(bd); },
        terminada);
    QVERIFY(terminada);
    if (gravado) {
      repor.dismiss();
      QVERIFY(reporConfiguração());
      QVERIFY2(!e, e ? qPrintable(e->Mensagem()) : "");
    } else {
      QVERIFY(e);
      QCOMPARE(e->Causa(), CausaErro::LigaçãoPerdida);
      QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s) &&
                   e->Mensagem().contains(u"«"_s + servidor.Ligação() + u"» no servidor"_s),
               qPrintable(e->Mensagem()));
      QVERIFY(!e->Detalhes().isEmpty());
      QCOMPARE(Contar(servidor, u"Quotizações"_s), 0);
      QCOMPARE(Contar(servidor, u"Sócios"_s), 0);
      QVERIFY(servidor.Executar({u"DROP FUNCTION esperar() CASCADE"_s}));
      GravarSócioComQuotas(bd);
    }
    QCOMPARE(bd.Religações(), quint64(1));
    QCOMPARE(Contar(servidor, u"Quotizações"_s), 240);
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
    Gravar(a, u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES ('S', 'Honorário')"_s);
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
      const auto comparar = [&](const QString &noFicheiro, const QString &noServidor, int n) {
        const QStringList servidorLido =
            Linhas(u"QPSQL"_s, servidor.Ligação(), noServidor, {t.nome});
        QCOMPARE(servidorLido, Linhas(u"QSQLITE"_s, u"Quotas.Dad"_s, noFicheiro, {t.nome}));
        QCOMPARE(servidorLido.size(), n);
      };
      comparar(u"SELECT name FROM pragma_table_info(?)"_s,
               u"SELECT column_name FROM information_schema.columns WHERE table_name = ? "
               u"ORDER BY ordinal_position"_s,
               int(t.campos.size()));
      // name|field|unique, ordered by name
      comparar(u"SELECT l.name, i.name, l.\"unique\" FROM pragma_index_list(?) l, "
               u"pragma_index_info(l.name) i WHERE l.origin = 'c' ORDER BY l.name"_s,
               u"SELECT ic.relname, a.attname, CASE WHEN x.indisunique THEN 1 ELSE 0 END "
               u"FROM pg_index x JOIN pg_class ic ON ic.oid = x.indexrelid "
               u"JOIN pg_class tc ON tc.oid = x.indrelid "
               u"JOIN pg_attribute a ON a.attrelid = tc.oid AND a.attnum = x.indkey[0] "
               u"WHERE tc.relname = ? ORDER BY ic.relname COLLATE \"C\""_s,
               int(t.índices.size()));
    }
  }

  // The stored forms: texts within their lengths, money in ten-thousandths beyond 32 bits, a
  // save that updates its row, a transaction not confirmed, and the engine's refusals as the
  // store's typed errors, after which the connection goes on.
  void gravarNoServidor() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
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
    QStringList lidas;
    bd.Percorrer(u"SELECT \"SócMês\", \"QuotaEuro\", \"Recibo\" FROM \"Quotizações\" UNION ALL "
                 u"SELECT \"Nome\", \"ValQuotaEuro\", \"Número\" FROM \"Sócios\" ORDER BY 1"_s,
                 {}, u"Ler"_s, [&](const Instrução &i) {
                   lidas << i.Texto(0) + u'|' + QString::number(i.Inteiro(1)) + u'|' +
                                QString::number(i.Inteiro(2));
                 });
    QCOMPARE(lidas, QStringList({u"000007202501|130000|5"_s, u"000007202502|125000|4"_s,
                                 u"Conceição Araújo|50000000000|7"_s}));
    struct Recusa {
      QVariant número;
      QString campo;
      QVariant valor;
      CausaErro causa;
    };
    const Recusa recusas[] = {{7, u"Nome"_s, u"Outro"_s, CausaErro::Duplicado},
                              {8, u"Nome"_s, QString(46, u'x'), CausaErro::ValorInválido},
                              {9, u"NIF"_s, u"1234567890123"_s, CausaErro::ValorInválido},
                              {qint64(2147483648), u"Nome"_s, u"x"_s, CausaErro::ValorInválido}};
    for (const Recusa &r : recusas) {
      const auto e = Erro([&] {
        BaseDados::Transacção t(bd);
        bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"%1\") VALUES (?, ?)"_s.arg(r.campo),
                  {r.número, r.valor}, u"Gravar o sócio"_s);
        t.Confirmar();
      });
      QVERIFY2(e, qPrintable(r.número.toString()));
      QCOMPARE(e->Causa(), r.causa);
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
    auto sócios = [&] {
      Instrução i = bd.Correr(u"SELECT count(*) FROM \"Sócios\""_s, {}, u"Ler"_s);
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
        bd.Correr(inserir.arg(3), {}, u"Gravar"_s);
        QCOMPARE(sócios(), 3);
        t.Confirmar();
      }
      QCOMPARE(sócios(), 3);
    }
  }

  // A creation or a copy whose destination holds anything is refused and left exactly as it
  // was: our tables (with rows, for a copy), another program's table in any schema, a file.
  void destinoRecusado_data() {
    QTest::addColumn<int>("acção");         // create; copy the file to the server; copy it back
    QTest::addColumn<QStringList>("antes"); // on the server; an empty first: our tables
    QTest::addColumn<int>("causa");
    QTest::addColumn<QString>("mensagem"); // after the database's name
    const QString tabelas = u"» no servidor PostgreSQL já tem tabelas: as tabelas deste programa "_s
                            u"só são criadas numa base de dados vazia.\nNada foi alterado."_s;
    const QStringList nossas{QString()}, alheia{u"CREATE TABLE contas (id integer)"_s};
    const int existe = int(CausaErro::JáExiste);
    QTest::newRow("segunda criação") << 0 << nossas << existe << tabelas;
    QTest::newRow("criar, tabela de outro programa") << 0 << alheia << existe << tabelas;
    QTest::newRow("criar, tabela noutro esquema")
        << 0
        << QStringList{u"CREATE SCHEMA arquivo"_s, u"CREATE TABLE arquivo.velha (id integer)"_s}
        << existe << tabelas;
    QTest::newRow("copiar, base com dados")
        << 1 << QStringList{QString(), u"INSERT INTO \"Tabelas\" (\"Tipo\") VALUES ('S')"_s}
        << int(CausaErro::ComDados)
        << u"» no servidor PostgreSQL já tem dados: os dados só são copiados para tabelas "_s
           u"vazias.\nNada foi alterado."_s;
    QTest::newRow("copiar, tabela de outro programa") << 1 << alheia << existe << QString();
    QTest::newRow("copiar, ficheiro que existe") << 2 << nossas << existe << QString();
  }
  void destinoRecusado() {
    QFETCH(int, acção);
    QFETCH(QStringList, antes);
    QFETCH(int, causa);
    QFETCH(QString, mensagem);
    PastaTeste pasta;
    EncherFicheiro(u"Quotas.Dad"_s, 3, 1);
    BaseServidorTeste servidor;
    const bool nossas = antes.value(0).isEmpty();
    if (nossas) {
      BaseDados::CriarNoServidor(servidor.Ligação());
      antes.removeFirst();
    }
    QVERIFY(servidor.Executar(antes));
    const QStringList tabelas = TabelasServidor(servidor);
    const QStringList dados = nossas ? Conteúdo(u"QPSQL"_s, servidor.Ligação()) : QStringList();
    const QByteArray ficheiro = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    const auto e = Erro([&] {
      if (acção == 0)
        BaseDados::CriarNoServidor(servidor.Ligação());
      else if (acção == 1)
        CopiarFicheiroParaServidor(u"Quotas.Dad"_s, servidor.Ligação());
      else
        CopiarServidorParaFicheiro(servidor.Ligação(), u"Quotas.Dad"_s);
    });
    QVERIFY(e);
    QCOMPARE(int(e->Causa()), causa);
    if (!mensagem.isEmpty())
      QCOMPARE(e->Mensagem(), u"A base de dados «"_s + servidor.Ligação() + mensagem);
    QCOMPARE(TabelasServidor(servidor), tabelas);
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), ficheiro);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{u"Quotas.Dad"_s});
    if (nossas) {
      QCOMPARE(Conteúdo(u"QPSQL"_s, servidor.Ligação()), dados);
      const qint64 próximo = Contar(servidor, u"Tabelas"_s) + 1; // the counter did not move
      BaseDados bd;
      bd.AbrirServidor(servidor.Ligação());
      QCOMPARE(NovoCódigo(bd), próximo);
    }
  }

  // Filters pick the same rows on the server as in the file: name patterns with the
  // expression's own characters taken literally, prefixes, and comparisons with a missing
  // value (the patterns' letter case and "?" as test_conjuntoregistos_pg finds them).
  void filtrosComoNoFicheiro_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<int>("comparação");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<int>("linhas"); // as the file gives them
    const int padrão = int(Comparação::Padrão);
    QTest::newRow("prefixo") << u"Nome"_s << padrão << QVariant(u"silva*"_s) << 1;
    QTest::newRow("ponto literal") << u"Nome"_s << padrão << QVariant(u"A.B*"_s) << 1;
    QTest::newRow("parêntesis e mais") << u"Nome"_s << padrão << QVariant(u"*(c+)*"_s) << 1;
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
      const CondiçãoSql c =
          TraduzirFiltro(*ProcurarTabela(u"Sócios"), Critério{campo, Comparação(comparação), valor},
                         bd.MotorAberto());
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
