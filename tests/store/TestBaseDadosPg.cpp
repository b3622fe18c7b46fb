#include "ArmazemLigacao.h"
#include "BaseDados.h"
#include "ConjuntoRegistos.h"
#include "CopiaDados.h"
#include "Dados.h"
#include "ErroEsperado.h"
#include "Esquema.h"
#include "PastaTeste.h"
#include "Referencias.h"
#include "ServidorPg.h"

#include <QScopeGuard>
#include <QSqlRecord>
#include <QSysInfo>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// The rows of `sql` on its own connection, columns joined by "|"; `tipos` marks NULLs, texts.
QStringList Linhas(const QString &driver, const QString &onde, const QString &sql,
                   const QVariantList &valores = {}, bool tipos = false) {
  QStringList r;
  NoutraLigação(driver, onde, [&](QSqlQuery &q) {
    q.prepare(sql);
    for (const QVariant &v : valores)
      q.addBindValue(v);
    if (!q.exec())
      qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    while (q.next()) {
      QStringList colunas;
      for (int i = 0; i < q.record().count(); ++i) {
        const QVariant v = q.value(i);
        colunas << (tipos && v.isNull()                         ? u"NULL"_s
                    : tipos && v.typeId() == QMetaType::QString ? u'\'' + v.toString() + u'\''
                                                                : v.toString());
      }
      r << colunas.join(u'|');
    }
  });
  return r;
}

QStringList TabelasServidor(const BaseServidorTeste &servidor) {
  return Linhas(u"QPSQL"_s, servidor.Ligação(),
                u"SELECT schemaname || '.' || tablename FROM pg_tables "
                u"WHERE schemaname NOT IN ('pg_catalog', 'information_schema') ORDER BY 1"_s);
}

// Every row of the three tables in key order, kinds marked.
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

// Members (every 7th only its number) with their dues; reference codes 1, 2, 5, 9 (12 gone).
void EncherFicheiro(const QString &ficheiro, int sócios, int quotas) {
  BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  const auto n = [](int k) {
    return u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "_s.arg(
        k);
  };
  for (
      const QString &sql :
      {n(sócios) +
           u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"ValQuotaEuro\", \"Localidade\", "
           u"\"Observações\") SELECT i, substr('Conceição Araújo Gonçalves nº ' || i || ' ' || "
           u"replace(printf('%20s', ''), ' ', 'ç'), 1, 45), i * 50000000, iif(i % 2, 'Braga', NULL), '' FROM n"_s,
       u"UPDATE \"Sócios\" SET \"Nome\" = NULL, \"Observações\" = NULL, \"ValQuotaEuro\" = NULL "
       u"WHERE \"Número\" % 7 = 0"_s,
       n(quotas) +
           u"INSERT INTO \"Quotizações\" SELECT printf('%06d%04d%02d', s.\"Número\", 1900 + "
           u"m.i / 12, m.i % 12 + 1), 12500 + m.i, iif(m.i % 3, m.i, NULL) FROM \"Sócios\" s, n m"_s,
       u"INSERT INTO \"Tabelas\" VALUES (1, 'S', 'Um'), (2, 'S', 'Dois'), (5, 'S', NULL), "
       u"(9, 'S', 'Nove'), (12, 'S', 'Doze')"_s,
       u"DELETE FROM \"Tabelas\" WHERE \"Código\" = 12"_s})
    bd.Correr(sql, {}, u"Encher"_s);
  t.Confirmar();
}

void Gravar(BaseDados &bd, const QString &sql) {
  BaseDados::Transacção t(bd);
  bd.Correr(sql, {}, u"Gravar"_s);
  t.Confirmar();
}

// The code the engine gives to a new reference row.
qint64 NovoCódigo(BaseDados &bd) {
  BaseDados::Transacção t(bd);
  const qint64 c =
      bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\") VALUES ('S')"_s, {}, u"Gravar"_s).ÚltimoId();
  t.Confirmar();
  return c;
}

qint64 Processo(BaseDados &bd) {
  Instrução i = bd.Correr(u"SELECT pg_backend_pid()"_s, {}, u"Ler"_s);
  return i.Seguinte() ? i.Inteiro(0) : -1;
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

  // A database unreachable or without our tables: refused, named, the password never shown.
  void abrirRecusado_data() {
    QTest::addColumn<QString>("ligação"); // empty: the test's own database; %1: it
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
    ligação = ligação.isEmpty() ? servidor.Ligação() : ligação.replace(u"%1"_s, servidor.Ligação());
    BaseDados bd;
    const auto e = Erro([&] { bd.AbrirServidor(ligação); });
    QVERIFY(e && e->DoServidor());
    QCOMPARE(int(e->Causa()), causa);
    QVERIFY2(e->Mensagem().contains(u"«"_s + BaseDados::LigaçãoParaMostrar(ligação) +
                                    u"» no servidor PostgreSQL"_s),
             qPrintable(e->Mensagem()));
    QVERIFY(!e->Mensagem().contains(u"errada123"_s) && !e->Detalhes().contains(u"errada123"_s));
    QVERIFY(!bd.Aberta());
    QCOMPARE(TabelasServidor(servidor), QStringList());
  }

  // The oldest server taken is 12.
  void versaoDoServidor() {
    QVERIFY(VersãoServidorRecusada(119999) && !VersãoServidorRecusada(120000));
    QVERIFY(ErroBaseDados::NoServidor(CausaErro::VersãoServidor, u"Abrir"_s, u"host=velho"_s,
                                      u"11.22"_s)
                .Mensagem()
                .contains(u"versão 12 ou mais recente"_s));
  }

  // A session ended by the server: the next action reconnects; while none is taken, it fails.
  void sessaoTerminada_data() {
    QTest::addColumn<bool>("eventos");
    QTest::addColumn<bool>("escrita");
    QTest::addColumn<bool>("ausente");
    QTest::newRow("leitura, com eventos") << true << false << false;
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
    for (int vez = 0; ausente && vez < 2; ++vez)
      EsperarErro([&] { BaseDados::Leitura l(bd); }, CausaErro::ServidorIndisponível,
                  {u"«"_s + servidor.Ligação() + u"» no servidor"_s});
    QVERIFY(permitir(true));
    QVERIFY(servidor.Executar({u"INSERT INTO \"Sócios\" (\"Número\") VALUES (3)"_s}));
    if (eventos)
      QTest::qWait(200); // the notifications' socket reads the end of the session
    if (escrita)
      Gravar(bd, u"INSERT INTO \"Sócios\" (\"Número\") VALUES (7)"_s);
    {
      BaseDados::Leitura l(bd);
      QCOMPARE(Números(sócios), escrita ? QList<qint64>({1, 3, 5, 7}) : QList<qint64>({1, 3, 5}));
    }
    QCOMPARE(bd.Religações(), quint64(1)); // the rows above were read on the new session
    QCOMPARE(Contar(servidor, u"Sócios"_s), escrita ? 4 : 3);
  }

  // Session ended mid-save or with the COMMIT's answer lost: the save is whole or not there.
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
    if (gravado) { // only this database's sessions wait for a standby that never comes
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
          {u"CREATE FUNCTION esperar() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF "_s +
               condição + u" THEN PERFORM pg_sleep(60); END IF; RETURN NEW; END $$"_s,
           u"CREATE "_s + gatilho + u" FOR EACH ROW EXECUTE FUNCTION esperar()"_s}));
    }
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    std::atomic<bool> terminada = false, acabou = false;
    std::thread fio([&] { // ends the session as soon as it waits
      for (int volta = 0; volta < 1500 && !terminada && !acabou; ++volta)
        if (!(terminada = Linhas(u"QPSQL"_s, u"dbname=postgres"_s,
                                 u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                 u"WHERE datname = ? AND wait_event = ?"_s,
                                 {servidor.Nome(), gravado ? u"SyncRep"_s : u"PgSleep"_s}) ==
                          QStringList{u"true"_s}))
          QThread::msleep(20);
    });
    const auto e = Erro([&] { GravarSócioComQuotas(bd); });
    acabou = true;
    fio.join();
    QVERIFY(terminada);
    if (gravado) {
      repor.dismiss();
      QVERIFY(reporConfiguração());
      QVERIFY2(!e, e ? qPrintable(e->Mensagem()) : "");
    } else {
      QVERIFY(e);
      QCOMPARE(e->Causa(), CausaErro::LigaçãoPerdida);
      QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s), qPrintable(e->Mensagem()));
      QCOMPARE(Contar(servidor, u"Quotizações"_s), 0);
      QCOMPARE(Contar(servidor, u"Sócios"_s), 0);
      QVERIFY(servidor.Executar({u"DROP FUNCTION esperar() CASCADE"_s}));
      GravarSócioComQuotas(bd);
    }
    QCOMPARE(bd.Religações(), quint64(1));
    QCOMPARE(Contar(servidor, u"Quotizações"_s), 240);
    QCOMPARE(Contar(servidor, u"Sócios"_s), 1);
  }

  // Desk A's commits reach desk B waiting for events: B reads again, keeping its place.
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
    sócios.MoverSeguinte();
    QVERIFY(!sócios.FimFicheiro());
    QCOMPARE(sócios.Inteiro(u"Número"), 4); // added there just after it
    QCOMPARE(Números(sócios), QList<qint64>({1, 2, 4, 5, 6}));
    QCOMPARE(listasMudadas, 1);
  }

  // One action reads one state; a write inside a read ends the read first. Upsert, money
  // beyond 32 bits, and the engine's refusals as typed errors; the link goes on.
  void leituraEGravacaoNoServidor() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    BaseDados bd;
    bd.AbrirServidor(servidor.Ligação());
    QCOMPARE(bd.MotorAberto(), Motor::PostgreSQL);
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

    const QString guardar = InstruçãoGuardar(u"Quotizações", u"SócMês",
                                             {u"QuotaEuro"_s, u"Recibo"_s}, Motor::PostgreSQL);
    {
      BaseDados::Transacção t(bd);
      bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"ValQuotaEuro\") VALUES (?, ?)"_s,
                {7, qint64(50000000000)}, u"Gravar"_s);
      bd.Correr(guardar, {u"000007202501"_s, qint64(125000), 3}, u"Gravar"_s);
      bd.Correr(guardar, {u"000007202502"_s, qint64(125000), 4}, u"Gravar"_s);
      bd.Correr(guardar, {u"000007202501"_s, qint64(130000), 5}, u"Gravar"_s); // an update
      t.Confirmar();
    }
    QCOMPARE(Linhas(u"QPSQL"_s, servidor.Ligação(),
                    u"SELECT * FROM \"Quotizações\" UNION ALL SELECT \"Número\"::text, "
                    u"\"ValQuotaEuro\", 0 FROM \"Sócios\" WHERE \"Número\" = 7 ORDER BY 1"_s),
             QStringList(
                 {u"000007202501|130000|5"_s, u"000007202502|125000|4"_s, u"7|50000000000|0"_s}));
    const std::tuple<qint64, QString, QString, CausaErro> recusas[] = {
        {7, u"Nome"_s, u"Outro"_s, CausaErro::Duplicado},
        {9, u"NIF"_s, u"1234567890123"_s, CausaErro::ValorInválido},
        {2147483648, u"Nome"_s, u"x"_s, CausaErro::ValorInválido}};
    for (const auto &[número, campo, valor, causa] : recusas) {
      const auto e = Erro([&] {
        Gravar(bd, u"INSERT INTO \"Sócios\" (\"Número\", \"%1\") VALUES (%2, '%3')"_s.arg(
                       campo, QString::number(número), valor));
      });
      QVERIFY2(e && e->Causa() == causa && e->DoServidor(), qPrintable(QString::number(número)));
      QVERIFY2(e->Mensagem().contains(u"nada foi gravado"_s), qPrintable(e->Mensagem()));
    }
    QCOMPARE(Contar(servidor, u"Sócios"_s), 4);
    Gravar(bd, u"UPDATE \"Sócios\" SET \"Nome\" = 'Inês'"_s);
  }

  // A creation or copy onto a database holding anything is refused and leaves it as it was;
  // onto an empty one, file to server and back, value for value; counters stay above.
  void copiasEDestinoRecusado() {
    PastaTeste pasta;
    EncherFicheiro(u"Quotas.Dad"_s, 120, 9);
    const QByteArray ficheiro = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    BaseServidorTeste alheia, comDados, servidor;
    QVERIFY(alheia.Executar(
        {u"CREATE SCHEMA arquivo"_s, u"CREATE TABLE arquivo.velha (id integer)"_s}));
    const auto e = Erro([&] { BaseDados::CriarNoServidor(alheia.Ligação()); });
    QVERIFY(e && e->Causa() == CausaErro::JáExiste);
    QCOMPARE(e->Mensagem(), u"A base de dados «"_s + alheia.Ligação() +
                                u"» no servidor PostgreSQL já tem tabelas: as tabelas deste "_s
                                u"programa só são criadas numa base de dados vazia.\n"_s
                                u"Nada foi alterado."_s);
    QCOMPARE(TabelasServidor(alheia), QStringList{u"arquivo.velha"_s});
    BaseDados::CriarNoServidor(comDados.Ligação());
    QVERIFY(comDados.Executar({u"INSERT INTO \"Tabelas\" (\"Tipo\") VALUES ('S')"_s}));
    const QStringList dados = Conteúdo(u"QPSQL"_s, comDados.Ligação());
    EsperarErro([&] { CopiarFicheiroParaServidor(u"Quotas.Dad"_s, comDados.Ligação()); },
                CausaErro::ComDados);
    QCOMPARE(Conteúdo(u"QPSQL"_s, comDados.Ligação()), dados);
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), ficheiro);
    BaseDados recusada;
    recusada.AbrirServidor(comDados.Ligação());
    QCOMPARE(NovoCódigo(recusada), 2); // the counter did not move

    const QStringList original = Conteúdo(u"QSQLITE"_s, u"Quotas.Dad"_s);
    const ContagemDados ida = CopiarFicheiroParaServidor(u"Quotas.Dad"_s, servidor.Ligação());
    QCOMPARE((QList<qint64>{ida.tabelas, ida.sócios, ida.quotizações}),
             (QList<qint64>{4, 120, 120 * 9}));
    QCOMPARE(Conteúdo(u"QPSQL"_s, servidor.Ligação()), original);
    const ContagemDados volta = CopiarServidorParaFicheiro(servidor.Ligação(), u"Volta.Dad"_s);
    QCOMPARE(volta.quotizações, ida.quotizações);
    QCOMPARE(Conteúdo(u"QSQLITE"_s, u"Volta.Dad"_s), original);
    BaseDados noServidor, noFicheiro;
    noServidor.AbrirServidor(servidor.Ligação());
    noFicheiro.Abrir(u"Volta.Dad"_s);
    QCOMPARE(NovoCódigo(noServidor), 13);
    QCOMPARE(NovoCódigo(noFicheiro), 13);
  }

  // Each connection names itself to the server (program, computer); a user's name is kept.
  void nomeNaLigacao() {
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    for (const auto &[ligação, programa, nome] :
         {std::tuple{servidor.Ligação(), u"O'Neill \\ Caixa"_s,
                     u"O'Neill \\ Caixa ("_s + QSysInfo::machineHostName() + u')'},
          {servidor.Ligação() + u" application_name=Tesouraria"_s, u"Agremia"_s,
           u"Tesouraria"_s}}) {
      BaseDados::DefinirNomePrograma(programa);
      BaseDados bd;
      bd.AbrirServidor(ligação);
      BaseDados::DefinirNomePrograma(u"Agremia"_s);
      Instrução i =
          bd.Correr(u"SELECT application_name FROM pg_stat_activity WHERE pid = pg_backend_pid()"_s,
                    {}, u"Ler"_s);
      QVERIFY(i.Seguinte());
      QCOMPARE(i.Texto(0), nome);
    }
  }
};

QTEST_GUILESS_MAIN(TestBaseDadosPg)
#include "TestBaseDadosPg.moc"
