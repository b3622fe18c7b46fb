#include "BaseDados.h"
#include "ConjuntoRegistos.h"
#include "Dados.h"
#include "LerFicheiro.h"
#include "Mascara.h"
#include "PastaTeste.h"
#include "Permissoes.h"
#include "ProcessoFilho.h"
#include "Reserva.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Runs `sqls` in order on Quotas.Dad through a connection of its own, as another program would,
// then `durante` while that connection is still open.
void Executar(const QStringList &sqls, const std::function<void()> &durante = {}) {
  {
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outro programa"_s);
    db.setDatabaseName(u"Quotas.Dad"_s);
    QVERIFY(db.open());
    QSqlQuery q(db);
    for (const QString &sql : sqls)
      QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    if (durante)
      durante();
  }
  QSqlDatabase::removeDatabase(u"outro programa"_s);
}

template <class F> std::optional<ErroBaseDados> Erro(F &&f) {
  try {
    f();
  } catch (const ErroBaseDados &e) {
    return e;
  }
  return std::nullopt;
}

} // namespace

class TestBaseDados : public QObject {
  Q_OBJECT

  std::optional<PastaTeste> pasta; // holding a new Quotas.Dad

private slots:
  void init() {
    pasta.emplace();
    BaseDados::Criar(u"Quotas.Dad"_s);
  }
  void cleanup() { pasta.reset(); }

  // Names, addresses and tax numbers are for the owner's eyes: the data file, its lock and its
  // journal, and the folders made for them, are created unreadable to other accounts under the
  // usual mask 022. A folder that was there keeps the rights it had.
  void ficheirosNovosSaoSoDoDono() {
#ifndef AGREMIA_PERMISSOES_POSIX
    QSKIP("este sistema não tem permissões POSIX");
#else
    MáscaraComum máscara;
    QVERIFY(QDir().mkdir(u"partilhada"_s) && MudarPermissões(u"partilhada"_s, 0755));
    QVERIFY(CriarPastaDoDono(u"partilhada/dados/Impressões"_s));
    QVERIFY(CriarPastaDoDono(u"partilhada/dados"_s)); // there already: nothing to do
    BaseDados::Criar(u"partilhada/dados/Quotas.Dad"_s);
    BaseDados bd;
    bd.Abrir(u"partilhada/dados/Quotas.Dad"_s);
    BaseDados::Transacção t(bd);
    bd.Executar(u"INSERT INTO Tabelas (Tipo, Designação) VALUES ('C', 'x')"_s, {}, u"teste"_s);
    const std::pair<QString, QString> esperadas[] = {
        {u"partilhada"_s, u"755"_s},
        {u"partilhada/dados"_s, u"700"_s},
        {u"partilhada/dados/Impressões"_s, u"700"_s},
        {u"partilhada/dados/Quotas.Dad"_s, u"600"_s},
        {u"partilhada/dados/Quotas.Dad-journal"_s, u"600"_s},
        {ReservaFicheiro::NomeMarca(u"partilhada/dados/Quotas.Dad"_s), u"600"_s}};
    for (const auto &[f, permissões] : esperadas)
      QVERIFY2(Permissões(f) == permissões, qPrintable(f + u": "_s + Permissões(f)));
    t.Confirmar();
#endif
  }

  // The process's mask, the second line behind each creation, leaves other accounts nothing.
  void mascaraDoProcessoSoDoDono() {
#ifndef AGREMIA_PERMISSOES_POSIX
    QSKIP("este sistema não tem permissões POSIX");
#else
    MáscaraComum máscara; // and put back as it was when the test ends
    ReservarFicheirosAoDono();
    QFile f(u"qualquer"_s);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(QDir().mkdir(u"pasta"_s));
    QCOMPARE(Permissões(u"qualquer"_s), u"600"_s);
    QCOMPARE(Permissões(u"pasta"_s), u"700"_s);
#endif
  }

  void naoRecriaNemAlteraUmFicheiroQueExiste() {
    const QByteArray antes = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    const auto e = Erro([] { BaseDados::Criar(u"Quotas.Dad"_s); });
    QVERIFY(e && e->Causa() == CausaErro::JáExiste);
    // Opening and closing, as a second start does, writes nothing either.
    AbrirDados(u"Quotas.Dad"_s);
    FecharDados();
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), antes);
    // Nor is one made where the folder is missing, and the message says which file.
    const auto semPasta =
        Erro([&] { BaseDados::Criar(pasta->Caminho(u"nao/existe/Quotas.Dad"_s)); });
    QVERIFY(semPasta && semPasta->Causa() == CausaErro::SemAcesso);
    QVERIFY(semPasta->Mensagem().contains(u"Quotas.Dad"_s));
  }

  // Foreign files are refused and left exactly as they were; a missing file is not created.
  // The engine's English goes to the box's details; the message says the cause in Portuguese.
  void recusasDizemACausaEmPortugues() {
    const std::tuple<QByteArray, CausaErro, QString, QString> casos[] = {
        {QByteArray(2048, 'x'), CausaErro::NãoÉBaseDados, u"não é uma base de dados"_s,
         u"not a database"_s},
        {QByteArray(), CausaErro::NãoÉBaseDados, u"está vazio"_s, u"0 bytes"_s},
        {"sqlite", CausaErro::FicheiroEstranho, {}, {}}, // another program's database
        {"-", CausaErro::FicheiroInexistente, {}, {}},
        {"leitura", CausaErro::SóLeitura, u"só permite leitura"_s, u"readonly database"_s},
        {"duplicado", CausaErro::Duplicado, u"mesma chave"_s, u"UNIQUE constraint failed"_s}};
    for (const auto &[conteudo, causa, motivo, motor] : casos) {
      PastaTeste caso; // a folder of its own
      const bool nosso = conteudo == "leitura" || conteudo == "duplicado";
      if (nosso) {
        BaseDados::Criar(u"Quotas.Dad"_s);
      } else if (conteudo == "sqlite") {
        Executar(
            {u"CREATE TABLE Clientes (Nome TEXT)"_s, u"CREATE TABLE \"Sócios\" (Nome TEXT)"_s});
      } else if (conteudo != "-") {
        QFile f(u"Quotas.Dad"_s);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
      }
      const QByteArray antes = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
      BaseDados bd;
      const auto e = Erro([&] {
        if (!nosso)
          AbrirDados(u"Quotas.Dad"_s);
        bd.Abrir(u"Quotas.Dad"_s);
        const QString inserir = u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Silva')"_s;
        bd.Executar(conteudo == "leitura" ? u"PRAGMA query_only=1"_s : inserir, {}, u"teste"_s);
        bd.Executar(inserir, {}, u"Gravar"_s);
      });
      QVERIFY(e && e->Causa() == causa);
      const QString m = e->Mensagem();
      QVERIFY2(m.contains(motivo) && m.contains(u"Quotas.Dad"_s) &&
                   (motor.isEmpty() || !m.contains(motor, Qt::CaseInsensitive)),
               qPrintable(m));
      QVERIFY2(e->Detalhes().contains(motor, Qt::CaseInsensitive), qPrintable(e->Detalhes()));
      if (conteudo == "-")
        QVERIFY(!QFile::exists(u"Quotas.Dad"_s));
      else if (!nosso)
        QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), antes);
    }
  }

  // A write lock held elsewhere fails with a clear cause and keeps the edit; saves are atomic.
  void bloqueioETransaccoes() {
    BaseDados bd;
    bd.DefinirEspera(50);
    bd.Abrir(u"Quotas.Dad"_s);
    ConjuntoRegistos sócios(bd, Consulta{u"Sócios"_s, {}, {Ordem{u"Número"_s}}});
    const auto acrescentar = [&](int número) {
      sócios.AdicionarNovo();
      sócios.DefinirCampo(u"Número", número);
      sócios.Actualizar();
    };
    Executar({u"BEGIN EXCLUSIVE"_s}, [&] {
      const auto e = Erro([&] { acrescentar(1); });
      QVERIFY(e && e->Causa() == CausaErro::EmUso);
      QVERIFY(e->Mensagem().contains(u"outro programa"_s));
    });
    sócios.Actualizar();

    // A save that fails halfway leaves nothing, and the recordsets forget the rows it added.
    const auto e = Erro([&] {
      BaseDados::Transacção t(bd);
      acrescentar(2);
      acrescentar(1); // duplicate number: refused by the unique index
      t.Confirmar();
    });
    QVERIFY(e && e->Causa() == CausaErro::Duplicado);
    QCOMPARE(sócios.NúmeroRegistos(), qint64(1));

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
    QCOMPARE(Coluna(u"SELECT Número FROM Sócios ORDER BY 1"_s), (QStringList{u"1"_s, u"3"_s}));
  }

  // Rollback journal and synchronous=EXTRA, even for a file another tool had switched to WAL.
  void abreComDiarioClassicoESincronizacaoCompleta() {
    Executar(
        {u"PRAGMA journal_mode=WAL"_s, u"INSERT INTO Sócios (Número, Nome) VALUES (7, 'Silva')"_s});
    BaseDados bd;
    bd.Abrir(u"Quotas.Dad"_s);
    QSqlQuery q = bd.Executar(u"PRAGMA synchronous"_s, {}, u"teste"_s);
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 3); // EXTRA
    q.finish();
    bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (8, 'Sousa')"_s, {}, u"teste"_s);
    bd.Fechar();
    // The header says which journal the file uses: 1 for the rollback journal, 2 for WAL.
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s).mid(18, 2), QByteArray("\1\1"));
    QCOMPARE(Coluna(u"SELECT Número FROM Sócios ORDER BY 1"_s), (QStringList{u"7"_s, u"8"_s}));
  }

  // A lock file marks the open file: shared in-process, taken over if stale.
  void ficheiroAbertoFicaMarcado() {
#ifndef AGREMIA_PROCESSO_FILHO
    QSKIP("precisa de fork()");
#else
    const QString marca = ReservaFicheiro::NomeMarca(u"Quotas.Dad"_s);
    {
      BaseDados bd, outra;
      bd.Abrir(u"Quotas.Dad"_s);
      outra.Abrir(u"Quotas.Dad"_s);
      bd.Fechar();
      QVERIFY(QFile::exists(marca));
    }
    QVERIFY(!QFile::exists(marca));

    // A program that ends without closing leaves its mark, which is no obstacle.
    auto doFilho = std::make_shared<BaseDados>(); // the child's own copy, once forked
    ProcessoFilho falhou([doFilho] { doFilho->Abrir(u"Quotas.Dad"_s); }, {}, false);
    QVERIFY(falhou.Correu());
    BaseDados bd;
    bd.Abrir(u"Quotas.Dad"_s);
    QVERIFY(bd.Aberta());
#endif
  }
};

QTEST_GUILESS_MAIN(TestBaseDados)
#include "TestBaseDados.moc"
