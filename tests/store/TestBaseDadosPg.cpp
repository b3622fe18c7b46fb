#include "BaseDados.h"
#include "Criterio.h"
#include "Esquema.h"
#include "PastaTeste.h"
#include "ServidorPg.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>
#include <optional>

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
        << u"host=127.0.0.1 port=1 connect_timeout=5"_s << int(CausaErro::SemAcesso);
  }
  void abrirRecusado() {
    QFETCH(QString, ligação);
    QFETCH(int, causa);
    BaseServidorTeste servidor;
    if (ligação.isEmpty())
      ligação = servidor.Ligação();
    BaseDados bd;
    const auto e = Erro([&] { bd.AbrirServidor(ligação); });
    QVERIFY(e);
    QCOMPARE(int(e->Causa()), causa);
    QVERIFY(e->DoServidor());
    QVERIFY2(e->Mensagem().contains(u"«"_s + ligação + u"» no servidor PostgreSQL"_s),
             qPrintable(e->Mensagem()));
    QVERIFY(!e->Pormenor().isEmpty());
    QVERIFY(!bd.Aberta());
    QCOMPARE(TabelasServidor(servidor), QStringList());
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
};

QTEST_GUILESS_MAIN(TestBaseDadosPg)
#include "TestBaseDadosPg.moc"
