#include "BaseDados.h"
#include "ConjuntoRegistos.h"
#include "Dados.h"
#include "PastaTeste.h"
#include "ProcessoFilho.h"
#include "Reserva.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Reads the catalogue of a file through a connection of its own, as the sqlite3 tool would.
struct Catálogo {
  explicit Catálogo(const QString &ficheiro) : nome(u"catalogo-"_s + QString::number(++n)) {
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, nome);
    db.setDatabaseName(ficheiro);
    db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
    db.open();
  }
  ~Catálogo() {
    QSqlDatabase::database(nome, false).close();
    QSqlDatabase::removeDatabase(nome);
  }
  QStringList Lista(const QString &sql, int coluna = 0) const {
    QSqlQuery q(QSqlDatabase::database(nome));
    QStringList r;
    if (!q.exec(sql))
      return {u"erro: "_s + q.lastError().text()};
    while (q.next())
      r << q.value(coluna).toString();
    return r;
  }
  QString nome;
  static inline int n = 0;
};

} // namespace

class TestBaseDados : public QObject {
  Q_OBJECT

private slots:
  void criaAsTresTabelasComOsNomesExactos() {
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    QVERIFY(QFile::exists(pasta.Caminho(u"Quotas.Dad"_s)));
    // Nothing of the passing name used while building stays behind.
    QCOMPARE(QDir(pasta.Raiz()).entryList(QDir::Files), QStringList{u"Quotas.Dad"_s});

    Catálogo c(u"Quotas.Dad"_s);
    QCOMPARE(
        c.Lista(
            u"SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite%' ORDER BY rowid"_s),
        (QStringList{u"Tabelas"_s, u"Sócios"_s, u"Quotizações"_s}));
    QCOMPARE(c.Lista(u"SELECT name FROM pragma_table_info('Tabelas')"_s),
             (QStringList{u"Código"_s, u"Tipo"_s, u"Designação"_s}));
    QCOMPARE(c.Lista(u"SELECT name FROM pragma_table_info('Sócios')"_s),
             (QStringList{u"Número"_s, u"Nome"_s, u"CPostal"_s, u"Situação"_s, u"TipoQuota"_s,
                          u"Inscrição"_s, u"ValQuotaEuro"_s, u"Rua"_s, u"Localidade"_s,
                          u"Observações"_s, u"NIF"_s}));
    QCOMPARE(c.Lista(u"SELECT type FROM pragma_table_info('Sócios')"_s),
             (QStringList{u"INTEGER"_s, u"TEXT"_s, u"INTEGER"_s, u"INTEGER"_s, u"INTEGER"_s,
                          u"TEXT"_s, u"INTEGER"_s, u"TEXT"_s, u"TEXT"_s, u"TEXT"_s, u"TEXT"_s}));
    QCOMPARE(c.Lista(u"SELECT name FROM pragma_table_info('Quotizações')"_s),
             (QStringList{u"SócMês"_s, u"QuotaEuro"_s, u"Recibo"_s}));

    // Index names with their uniqueness, in creation order.
    const auto índices = [&](const QString &t) {
      QStringList r;
      const QString sql = u"SELECT name, \"unique\" FROM pragma_index_list('"_s + t +
                          u"') WHERE origin = 'c' ORDER BY name"_s;
      const auto nomes = c.Lista(sql, 0), únicos = c.Lista(sql, 1);
      for (int i = 0; i < nomes.size(); ++i)
        r << nomes[i] + (únicos.value(i) == u"1"_s ? u" único"_s : QString());
      return r;
    };
    QCOMPARE(índices(u"Tabelas"_s), (QStringList{u"Códigos único"_s, u"Tipos"_s}));
    QCOMPARE(índices(u"Sócios"_s), (QStringList{u"CPostais"_s, u"Nomes"_s, u"Números único"_s,
                                                u"Situações"_s, u"TiposQuota"_s}));
    QCOMPARE(índices(u"Quotizações"_s), (QStringList{u"Quotas único"_s}));
    QCOMPARE(c.Lista(u"SELECT count(*) FROM \"Sócios\""_s), QStringList{u"0"_s});
  }

  void naoRecriaNemAlteraUmFicheiroQueExiste() {
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    const QByteArray antes = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    try {
      BaseDados::Criar(u"Quotas.Dad"_s);
      QFAIL("um ficheiro existente foi aceite");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(e.Causa(), CausaErro::JáExiste);
    }
    // Opening and closing, as a second start does, writes nothing either.
    AbrirDados(u"Quotas.Dad"_s);
    QVERIFY(Dados().sócios->FimFicheiro() && Dados().sócios->InícioFicheiro());
    FecharDados();
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), antes);
  }

  void recusaFicheirosQueNaoSaoDestePrograma_data() {
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<int>("causa");
    QTest::newRow("texto") << QByteArray("Lista de sócios\nnão é uma base de dados\n")
                           << int(CausaErro::NãoÉBaseDados);
    QTest::newRow("vazio") << QByteArray() << int(CausaErro::FicheiroEstranho);
    QByteArray lixo(4096, '\0');
    lixo.replace(0, 16, "SQLite format 3");
    QTest::newRow("cabeçalho sem páginas") << lixo << int(CausaErro::NãoÉBaseDados);
  }
  void recusaFicheirosQueNaoSaoDestePrograma() {
    QFETCH(QByteArray, conteudo);
    QFETCH(int, causa);
    PastaTeste pasta;
    {
      QFile f(u"Quotas.Dad"_s);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(conteudo);
    }
    try {
      AbrirDados(u"Quotas.Dad"_s);
      QFAIL("o ficheiro estranho foi aceite");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(int(e.Causa()), causa);
      QVERIFY2(e.Mensagem().contains(u"Quotas.Dad"_s), qPrintable(e.Mensagem()));
    }
    QVERIFY(!Dados().bd.Aberta());
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), conteudo);
    QCOMPARE(QDir(pasta.Raiz()).entryList(QDir::Files), QStringList{u"Quotas.Dad"_s});
  }

  void recusaOutraBaseDeDadosSQLite() {
    PastaTeste pasta;
    {
      auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outra"_s);
      db.setDatabaseName(u"Quotas.Dad"_s);
      QVERIFY(db.open());
      QSqlQuery q(db);
      QVERIFY(q.exec(u"CREATE TABLE Clientes (Nome TEXT)"_s));
      QVERIFY(q.exec(u"CREATE TABLE \"Sócios\" (Nome TEXT)"_s));
      db.close();
    }
    QSqlDatabase::removeDatabase(u"outra"_s);
    const QByteArray antes = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    try {
      AbrirDados(u"Quotas.Dad"_s);
      QFAIL("uma base de dados alheia foi aceite");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(e.Causa(), CausaErro::FicheiroEstranho);
      QVERIFY(e.Mensagem().contains(u"não tem as tabelas"_s));
    }
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), antes);
  }

  void abrirUmFicheiroQueFaltaNaoOCria() {
    PastaTeste pasta;
    BaseDados bd;
    try {
      bd.Abrir(u"Quotas.Dad"_s);
      QFAIL("abriu um ficheiro inexistente");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(e.Causa(), CausaErro::FicheiroInexistente);
    }
    QVERIFY(!QFile::exists(u"Quotas.Dad"_s));
  }

  void criarNumaPastaInexistenteDizPorque() {
    PastaTeste pasta;
    try {
      BaseDados::Criar(pasta.Caminho(u"nao/existe/Quotas.Dad"_s));
      QFAIL("criou numa pasta que não existe");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(e.Causa(), CausaErro::SemAcesso);
      QVERIFY(e.Mensagem().contains(u"Quotas.Dad"_s));
    }
  }

  // Another program holding a write lock: the write waits, then fails with a clear cause,
  // and nothing is left half done.
  void ficheiroBloqueadoPorOutroPrograma() {
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    BaseDados bd;
    bd.DefinirEspera(50);
    bd.Abrir(u"Quotas.Dad"_s);
    ConjuntoRegistos sócios(bd, Consulta{u"Sócios"_s, {}, {Ordem{u"Número"_s}}});
    {
      auto outro = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outro"_s);
      outro.setDatabaseName(u"Quotas.Dad"_s);
      QVERIFY(outro.open());
      QSqlQuery q(outro);
      QVERIFY(q.exec(u"BEGIN EXCLUSIVE"_s));
      try {
        sócios.AdicionarNovo();
        sócios.DefinirCampo(u"Número", 1);
        sócios.Actualizar();
        QFAIL("gravou num ficheiro bloqueado");
      } catch (const ErroBaseDados &e) {
        QCOMPARE(e.Causa(), CausaErro::EmUso);
        QVERIFY(e.Mensagem().contains(u"outro programa"_s));
      }
      QVERIFY(q.exec(u"ROLLBACK"_s));
      outro.close();
    }
    QSqlDatabase::removeDatabase(u"outro"_s);
    // The edit is still there, so that the user's work can be saved once the file is free.
    QVERIFY(sócios.EmEdição());
    sócios.Actualizar();
    QCOMPARE(sócios.NúmeroRegistos(), qint64(1));
  }

  // The engine's English stays out of what the user reads: the message says the cause, the
  // engine's words go to the box's details.
  void mensagensDoMotorDizemACausaEmPortugues_data() {
    QTest::addColumn<QString>("falha");
    QTest::addColumn<int>("causa");
    QTest::addColumn<QString>("motivo");
    QTest::addColumn<QString>("motor");
    QTest::newRow("não é base de dados") << u"texto"_s << int(CausaErro::NãoÉBaseDados)
                                         << u"não é uma base de dados"_s << u"not a database"_s;
    QTest::newRow("só leitura") << u"leitura"_s << int(CausaErro::SóLeitura)
                                << u"só permite leitura"_s << u"readonly database"_s;
    QTest::newRow("duplicado") << u"duplicado"_s << int(CausaErro::Duplicado) << u"mesma chave"_s
                               << u"UNIQUE constraint failed"_s;
  }
  void mensagensDoMotorDizemACausaEmPortugues() {
    QFETCH(QString, falha);
    QFETCH(int, causa);
    QFETCH(QString, motivo);
    QFETCH(QString, motor);
    PastaTeste pasta;
    BaseDados bd;
    try {
      if (falha == u"texto"_s) {
        QFile f(u"Quotas.Dad"_s);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'x'));
        f.close();
        bd.Abrir(u"Quotas.Dad"_s);
      } else {
        BaseDados::Criar(u"Quotas.Dad"_s);
        bd.Abrir(u"Quotas.Dad"_s);
        const QString inserir = u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Silva')"_s;
        if (falha == u"leitura"_s)
          bd.Executar(u"PRAGMA query_only=1"_s, {}, u"teste"_s);
        else
          bd.Executar(inserir, {}, u"teste"_s);
        bd.Executar(inserir, {}, u"Gravar"_s);
      }
      QFAIL("o motor aceitou");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(int(e.Causa()), causa);
      QVERIFY2(e.Mensagem().contains(motivo) && e.Mensagem().contains(u"Quotas.Dad"_s) &&
                   !e.Mensagem().contains(motor, Qt::CaseInsensitive),
               qPrintable(e.Mensagem()));
      QVERIFY2(e.Detalhes().contains(motor, Qt::CaseInsensitive), qPrintable(e.Detalhes()));
    }
  }

  // A save reported done stays done through a power cut: the rollback journal, whose
  // deletion is synced to the folder too (EXTRA), also for a file another tool had switched
  // to write-ahead logging.
  void abreComDiarioClassicoESincronizacaoCompleta_data() {
    QTest::addColumn<QString>("modoAnterior");
    QTest::newRow("diário") << u"DELETE"_s;
    QTest::newRow("wal") << u"WAL"_s;
  }
  void abreComDiarioClassicoESincronizacaoCompleta() {
    QFETCH(QString, modoAnterior);
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    {
      auto outra = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"ferramenta"_s);
      outra.setDatabaseName(u"Quotas.Dad"_s);
      QVERIFY(outra.open());
      QSqlQuery q(outra);
      QVERIFY(q.exec(u"PRAGMA journal_mode="_s + modoAnterior));
      QVERIFY(q.exec(u"INSERT INTO Sócios (Número, Nome) VALUES (7, 'Silva')"_s));
      q.finish();
      outra.close();
    }
    QSqlDatabase::removeDatabase(u"ferramenta"_s);
    // The file's header says which journal it uses: 1 for the rollback journal, 2 for WAL.
    const auto versões = [] { return PastaTeste::Conteúdo(u"Quotas.Dad"_s).mid(18, 2); };
    QCOMPARE(versões(), modoAnterior == u"WAL"_s ? QByteArray("\2\2") : QByteArray("\1\1"));

    BaseDados bd;
    bd.Abrir(u"Quotas.Dad"_s);
    QSqlQuery q = bd.Executar(u"PRAGMA synchronous"_s, {}, u"teste"_s);
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 3); // EXTRA
    q.finish();
    bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (8, 'Sousa')"_s, {}, u"teste"_s);
    bd.Fechar();
    QCOMPARE(versões(), QByteArray("\1\1"));
    QVERIFY(!QFile::exists(u"Quotas.Dad-wal"_s));
    Catálogo c(u"Quotas.Dad"_s);
    QCOMPARE(c.Lista(u"SELECT Número FROM \"Sócios\" ORDER BY 1"_s), (QStringList{u"7"_s, u"8"_s}));
  }

  // While the file is open, a lock file beside it says so: the program's own connections share
  // it, another program is refused by name, and the mark of a program that crashed is taken
  // over.
  void ficheiroAbertoFicaMarcado() {
#ifndef AGREMIA_PROCESSO_FILHO
    QSKIP("precisa de fork()");
#else
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    const QString marca = ReservaFicheiro::NomeMarca(u"Quotas.Dad"_s);
    {
      BaseDados bd, outra;
      bd.Abrir(u"Quotas.Dad"_s);
      outra.Abrir(u"Quotas.Dad"_s);
      bd.Fechar();
      QVERIFY(QFile::exists(marca));
    }
    QVERIFY(!QFile::exists(marca));

    // The child's own copy of this object, once forked.
    auto doFilho = std::make_shared<BaseDados>();
    const auto abrir = [doFilho] { doFilho->Abrir(u"Quotas.Dad"_s); };
    {
      ProcessoFilho outroPrograma(abrir, [doFilho] { doFilho->Fechar(); });
      QVERIFY(outroPrograma.Correu());
      const QByteArray antes = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
      BaseDados bd;
      try {
        bd.Abrir(u"Quotas.Dad"_s);
        QFAIL("abriu um ficheiro aberto noutro programa");
      } catch (const ErroBaseDados &e) {
        QCOMPARE(e.Causa(), CausaErro::AbertoNoutroPrograma);
        const QString m = e.Mensagem();
        QVERIFY2(m.contains(u"aberto noutro programa"_s) &&
                     m.contains(QCoreApplication::applicationName()) &&
                     m.contains(QString::number(outroPrograma.Pid())),
                 qPrintable(m));
      }
      QVERIFY(!bd.Aberta());
      QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), antes);
    }

    // A program that ends without closing leaves its mark, which is no obstacle.
    QVERIFY(!QFile::exists(marca));
    ProcessoFilho falhou(abrir, {}, false);
    QVERIFY(falhou.Correu());
    QVERIFY(QFile::exists(marca));
    BaseDados bd;
    bd.Abrir(u"Quotas.Dad"_s);
    QVERIFY(bd.Aberta());
#endif
  }

  void transaccoesTudoOuNada() {
    PastaTeste pasta;
    BaseDados::Criar(u"Quotas.Dad"_s);
    BaseDados bd;
    bd.Abrir(u"Quotas.Dad"_s);
    ConjuntoRegistos sócios(bd, Consulta{u"Sócios"_s, {}, {Ordem{u"Número"_s}}});
    ConjuntoRegistos quotas(bd, Consulta{u"Quotizações"_s});
    const auto acrescentar = [&](int número) {
      sócios.AdicionarNovo();
      sócios.DefinirCampo(u"Número", número);
      sócios.Actualizar();
    };
    acrescentar(1);

    // A save that fails halfway leaves nothing, and the recordsets forget the rows it added.
    try {
      BaseDados::Transacção t(bd);
      acrescentar(2);
      quotas.AdicionarNovo();
      quotas.DefinirCampo(u"SócMês", ChaveSócMês(2, 2003, 3));
      quotas.Actualizar();
      acrescentar(1); // duplicate number: refused by the unique index
      t.Confirmar();
      QFAIL("o número repetido foi aceite");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(e.Causa(), CausaErro::Duplicado);
    }
    QCOMPARE(sócios.NúmeroRegistos(), qint64(1));
    QCOMPARE(quotas.NúmeroRegistos(), qint64(0));
    QCOMPARE(sócios.Inteiro(u"Número"), qint64(1));

    // An inner transaction rolled back leaves the outer one's work, which then commits.
    {
      BaseDados::Transacção exterior(bd);
      acrescentar(3);
      {
        BaseDados::Transacção interior(bd);
        acrescentar(4);
      }
      exterior.Confirmar();
    }
    sócios.Reexecutar();
    QStringList números;
    for (sócios.MoverPrimeiro(); !sócios.FimFicheiro(); sócios.MoverSeguinte())
      números << sócios.Texto(u"Número");
    QCOMPARE(números, (QStringList{u"1"_s, u"3"_s}));
  }
};

QTEST_GUILESS_MAIN(TestBaseDados)
#include "TestBaseDados.moc"
