#include "Arranque.h"
#include "Base.h"
#include "Dados.h"
#include "Guardas.h"
#include "Janela.h"
#include "JanelaBaseDados.h"
#include "JanelaSenha.h"
#include "Modal.h"
#include "OrigemDados.h"
#include "PastaTeste.h"
#include "Respostas.h"
#include "ServidorPg.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QRadioButton *Opção(QWidget *janela, bool servidor) {
  return Controlo<QRadioButton>(janela, servidor ? u"OpcaoServidor"_s : u"OpcaoFicheiro"_s);
}

// The window on the working folder's file, the server option chosen with `ligação` typed.
void EscreverLigação(JanelaBaseDados &j, const QString &ligação) {
  Opção(&j, true)->click();
  Escrever(Controlo(&j, u"Ligacao"_s), ligação);
}

// While it lives, libpq finds no password of the environment's: neither PGPASSWORD nor a
// password file.
class SemSenhaDoAmbiente {
public:
  explicit SemSenhaDoAmbiente(const QString &ficheiroSenhas)
      : senha(qgetenv("PGPASSWORD")), ficheiro(qgetenv("PGPASSFILE")) {
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", ficheiroSenhas.toLocal8Bit());
  }
  ~SemSenhaDoAmbiente() {
    qputenv("PGPASSWORD", senha);
    if (ficheiro.isEmpty())
      qunsetenv("PGPASSFILE");
    else
      qputenv("PGPASSFILE", ficheiro);
  }
  Q_DISABLE_COPY(SemSenhaDoAmbiente)

private:
  QByteArray senha, ficheiro;
};

} // namespace

// "Base de Dados" on a PostgreSQL server: the test of a connection, the creation of the
// tables, the password asked for the run, and the program switched to the server and back.
class TestEscolhaDadosPg : public QObject {
  Q_OBJECT

  // The run on a new Quotas.Dad in the test's folder.
  static void AbrirFicheiro() {
    BaseDados::Criar(NomeFicheiroDados);
    AbrirOrigem(OrigemDados::FicheiroPorOmissão(), nullptr);
  }

  // Answers every password window with the next of `dar` (none: cancels it), and keeps what
  // each one said.
  struct Senhas {
    QList<std::optional<QString>> dar;
    QStringList avisos; // the window's word on why it asks again, empty the first time
    QStringList textos; // all the window shows
    QTimer vigia;
    Senhas() {
      vigia.setInterval(5);
      QObject::connect(&vigia, &QTimer::timeout, &vigia, [this] {
        auto *j = dynamic_cast<JanelaSenha *>(QApplication::activeModalWidget());
        if (!j || !j->isVisible() || j->property("respondida").toBool())
          return;
        j->setProperty("respondida", true);
        const auto *aviso = Controlo<QLabel>(j, u"Aviso"_s);
        avisos << (aviso->isVisibleTo(j) ? aviso->text() : QString());
        for (const QLabel *l : j->findChildren<QLabel *>())
          textos << l->text();
        if (dar.isEmpty() || !dar.front()) {
          if (!dar.isEmpty())
            dar.removeFirst();
          j->reject();
          return;
        }
        Controlo(j, u"Senha"_s)->setText(*dar.takeFirst());
        QTest::keyClick(Controlo(j, u"Senha"_s), Qt::Key_Return);
      });
      vigia.start();
    }
  };

  // The window on the file of the test's folder; `agir` drives it and `mudar` answers a switch.
  static void ComJanela(const std::function<void(JanelaBaseDados &)> &agir,
                        std::function<bool(const OrigemDados &)> mudar = {}) {
    JanelaBaseDados janela(
        nullptr, mudar ? mudar : [](const OrigemDados &) { return false; });
    Mostrar(&janela);
    agir(janela);
  }

private slots:
  void initTestCase() {
    EXIGIR_SERVIDOR_PG();
    QCoreApplication::setOrganizationName(u"Agremia"_s);
  }

  void testarLigacao_data() {
    QTest::addColumn<int>("base"); // 0 with the tables and one member, 1 empty, 2 none such
    QTest::addColumn<QString>("começo");
    QTest::addColumn<QString>("detalhes");
    QTest::newRow("com tabelas") << 0 << u"A ligação funciona: a base de dados «"_s
                                 << u"PostgreSQL"_s;
    QTest::newRow("vazia") << 1 << u"A base de dados «"_s << u": não existe"_s;
    QTest::newRow("inexistente") << 2 << u"Não foi possível ligar à base de dados «"_s
                                 << u"does not exist"_s;
  }
  // What "Testar ligação" found, in Portuguese, with the server's or libpq's words in the
  // details; the data in use is left alone.
  void testarLigacao() {
    QFETCH(int, base);
    QFETCH(QString, começo);
    QFETCH(QString, detalhes);
    PastaTeste pasta;
    AbrirFicheiro();
    BaseServidorTeste servidor;
    if (base == 0) {
      BaseDados::CriarNoServidor(servidor.Ligação());
      QVERIFY(servidor.Executar(
          {u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (7, 'Rui')"_s}));
    }
    const QString ligação = base == 2 ? servidor.Ligação() + u"_nada"_s : servidor.Ligação();
    Respostas respostas;
    ComJanela([&](JanelaBaseDados &j) {
      EscreverLigação(j, ligação);
      Clicar(Comando(&j, 2));
    });
    QCOMPARE(respostas.caixas.size(), 1);
    const PedidoMensagem &caixa = respostas.caixas[0];
    QVERIFY2(caixa.texto.startsWith(começo), qPrintable(caixa.texto));
    QVERIFY2(caixa.texto.contains(ligação), qPrintable(caixa.texto));
    QVERIFY2(caixa.detalhes.contains(detalhes), qPrintable(caixa.detalhes));
    QCOMPARE(caixa.ícone, base == 0 ? Ícone::Informação : Ícone::Crítico);
    if (base == 0)
      QVERIFY2(caixa.texto.contains(u"com 1 sócio e 0 quotizações"_s), qPrintable(caixa.texto));
    if (base == 1)
      QVERIFY(caixa.texto.contains(u"«Criar as tabelas»"_s));
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite);
    FecharDados();
  }

  // "Criar as tabelas" on an empty database makes a database the program opens; on one that
  // holds tables (its own, or anybody's) it is refused with the store's message and nothing
  // changes.
  void criarTabelas() {
    PastaTeste pasta;
    BaseServidorTeste vazia, alheia;
    QVERIFY(alheia.Executar({u"CREATE TABLE contas (n integer)"_s}));
    Respostas respostas;
    for (const BaseServidorTeste *b : {&vazia, &vazia, &alheia})
      ComJanela([&](JanelaBaseDados &j) {
        EscreverLigação(j, b->Ligação());
        Clicar(Comando(&j, 3));
      });
    QCOMPARE(respostas.caixas.size(), 3);
    QVERIFY2(respostas.caixas[0].texto.startsWith(u"As tabelas deste programa foram criadas"_s),
             qPrintable(respostas.caixas[0].texto));
    for (int i : {1, 2}) {
      QVERIFY2(respostas.caixas[i].texto.contains(u"já tem tabelas"_s),
               qPrintable(respostas.caixas[i].texto));
      QCOMPARE(respostas.caixas[i].ícone, Ícone::Crítico);
    }
    QVERIFY(respostas.caixas[2].detalhes.contains(u"public.contas"_s));
    BaseDados bd;
    bd.AbrirServidor(vazia.Ligação());
    QVERIFY(!alheia.Executar({u"SELECT 1 FROM \"Sócios\""_s}));
  }

  // A role with a password and no password of the environment's: the password is asked, a
  // wrong one asked again with a word on why, and the right one, full of characters that
  // libpq reads quoted (and a ';', which Qt's driver alters among the options), serves the test and
  // then the switch without being asked again; it reaches no setting and no text shown. Cancelled,
  // the server's refusal is told.
  void senhaPedida() {
    DefiniçõesDeTeste definições;
    PastaTeste pasta;
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    const QString papel = u"papel_"_s + servidor.Nome().right(8);
    QVERIFY(servidor.Executar({u"CREATE ROLE "_s + papel + u" LOGIN PASSWORD 'a b''c\\d=ç;e'"_s,
                               u"GRANT ALL ON ALL TABLES IN SCHEMA public TO "_s + papel,
                               u"GRANT ALL ON ALL SEQUENCES IN SCHEMA public TO "_s + papel}));
    const auto semPapel = qScopeGuard([&] {
      FecharDados();
      servidor.Executar({u"DROP OWNED BY "_s + papel, u"DROP ROLE "_s + papel});
    });
    // The driver would make a blank of the ';' if the password went with the other options.
    const QString senha = u"a b'c\\d=ç;e"_s;
    const QString ligação = servidor.Ligação() + u" user="_s + papel;
    SemSenhaDoAmbiente semSenha(pasta.Caminho(u"nenhum.pgpass"_s));
    try {
      // The cluster must ask a password over TCP; with "trust" this test would prove nothing.
      BaseDados bd;
      bd.AbrirServidor(ligação);
      QFAIL("o servidor não pediu palavra-passe (pg_hba.conf com trust)");
    } catch (const ErroBaseDados &e) {
      QVERIFY2(FaltaSenha(e), qPrintable(e.Pormenor()));
    }
    AbrirFicheiro();
    Respostas respostas;
    Senhas senhas;
    ComJanela(
        [&](JanelaBaseDados &j) {
          EscreverLigação(j, ligação);
          senhas.dar = {std::nullopt};
          Clicar(Comando(&j, 2));
          QCOMPARE(respostas.caixas.size(), 1);
          QVERIFY2(respostas.caixas[0].texto.startsWith(u"O servidor PostgreSQL recusou o utilizador ou a palavra-passe"_s),
                   qPrintable(respostas.caixas[0].texto));
          senhas.dar = {u"errada"_s, senha};
          Clicar(Comando(&j, 2));
          QCOMPARE(respostas.caixas.size(), 2);
          QVERIFY2(respostas.caixas[1].texto.startsWith(u"A ligação funciona"_s),
                   qPrintable(respostas.caixas[1].texto));
          Clicar(Comando(&j, 1));
          QVERIFY(!j.isVisible());
        },
        [&](const OrigemDados &o) {
          AbrirOrigem(o, nullptr); // no password window now: none would be answered
          return true;
        });
    QCOMPARE(senhas.avisos.size(), 3);
    QVERIFY(senhas.avisos[0].isEmpty() && senhas.avisos[1].isEmpty());
    QVERIFY(senhas.avisos[2].contains(u"não aceitou a palavra-passe"_s));
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::PostgreSQL);
    QCOMPARE(OrigemLembrada().ligação, ligação);
    QVERIFY(definições.Conteúdo().contains(papel.toUtf8()));
    for (const QString &visto : senhas.textos + QStringList{Dados().bd.Caminho()})
      QVERIFY2(!visto.contains(u"b'c"_s) && !visto.contains(u"b\\'c"_s), qPrintable(visto));
    for (const PedidoMensagem &p : respostas.caixas)
      QVERIFY(!(p.texto + p.detalhes).contains(u"b\\'c"_s));
    QVERIFY(!definições.Conteúdo().contains("b'c") && !definições.Conteúdo().contains("b\\'c"));
  }

  // The working folder's file into an empty server database and back into a new Quotas.Dad,
  // the rows counted; a database holding data and a Quotas.Dad already there are refused, and
  // the data in use stays open throughout.
  void copiarNosDoisSentidos() {
    PastaTeste pasta;
    AbrirFicheiro();
    Dados().bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Ana'), (2, 'Rui')"_s, {},
                        u"teste"_s);
    Dados().bd.Executar(
        u"INSERT INTO Quotizações (SócMês, QuotaEuro) VALUES ('000001202501', 10000)"_s, {},
        u"teste"_s);
    BaseServidorTeste servidor;
    Respostas respostas;
    const auto copiar = [&](int botão) {
      ComJanela([&](JanelaBaseDados &j) {
        EscreverLigação(j, servidor.Ligação());
        Clicar(Comando(&j, botão));
      });
    };
    copiar(4);
    copiar(4);
    copiar(5);
    QCOMPARE(respostas.caixas.size(), 3);
    const auto &caixas = respostas.caixas;
    QVERIFY2(caixas[0].texto.contains(u"2 sócios, 1 quotização e 0 linhas das tabelas"_s),
             qPrintable(caixas[0].texto));
    QVERIFY2(caixas[1].texto.contains(u"já tem dados"_s), qPrintable(caixas[1].texto));
    QVERIFY2(caixas[2].texto.contains(u"já existe"_s) &&
                 caixas[2].texto.contains(u"da pasta de trabalho"_s),
             qPrintable(caixas[2].texto));
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite);
    // From the server, the program on it meanwhile, into a Quotas.Dad made by the copy.
    AbrirOrigem(OrigemDados{{}, servidor.Ligação()}, nullptr);
    QVERIFY(QFile::remove(NomeFicheiroDados));
    copiar(5);
    QCOMPARE(respostas.caixas.size(), 4);
    QVERIFY2(caixas[3].texto.contains(u"2 sócios, 1 quotização e 0 linhas das tabelas"_s),
             qPrintable(caixas[3].texto));
    QCOMPARE(Dados().bd.MotorAberto(), Motor::PostgreSQL);
    FecharDados();
    BaseDados cópia;
    cópia.Abrir(NomeFicheiroDados);
    QStringList nomes;
    cópia.Percorrer(u"SELECT Nome FROM Sócios ORDER BY Número"_s, {}, u"teste"_s,
                    [&nomes](const Instrução &i) { nomes << i.Texto(0); });
    QCOMPARE(nomes, (QStringList{u"Ana"_s, u"Rui"_s}));
  }

  // From the main window to the server and back: the screen shows the first member of the
  // data chosen, and the choice is remembered.
  void mudarParaOServidorEVoltar() {
    DefiniçõesDeTeste definições;
    PastaTeste pasta;
    BaseServidorTeste servidor;
    BaseDados::CriarNoServidor(servidor.Ligação());
    QVERIFY(servidor.Executar(
        {u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (7, 'Rui Servidor')"_s}));
    AbrirFicheiro();
    Respostas respostas;
    Base base;
    LigarJanelas(base);
    Mostrar(&base);
    const auto escolher = [&](bool noServidor) {
      bool vista = false;
      const auto vigia = QuandoModal<JanelaBaseDados>([&](JanelaBaseDados &j) {
        vista = true;
        QVERIFY(QTest::qWaitForWindowActive(&j));
        // Set rather than typed: a window reached from the main window's menu may not have the
        // keyboard yet on a loaded machine.
        if (noServidor) {
          Opção(&j, true)->click();
          Controlo(&j, u"Ligacao"_s)->setText(servidor.Ligação());
        } else
          Opção(&j, false)->click();
        Clicar(Comando(&j, 1));
        QVERIFY(!j.isVisible());
      });
      Controlo<QAction>(&base, u"Menu_Arquivo_BaseDados"_s)->trigger();
      QVERIFY(vista);
    };
    escolher(true);
    QVERIFY(respostas.caixas.isEmpty());
    QCOMPARE(Dados().bd.MotorAberto(), Motor::PostgreSQL);
    QCOMPARE(Controlo(&base, u"Nome"_s)->text(), u"Rui Servidor"_s);
    QCOMPARE(OrigemLembrada().ligação, servidor.Ligação());
    escolher(false);
    QVERIFY(respostas.caixas.isEmpty());
    QCOMPARE(Dados().bd.MotorAberto(), Motor::SQLite);
    QVERIFY(Controlo(&base, u"Nome"_s)->text().isEmpty());
    QVERIFY(!OrigemLembrada().NoServidor());
    base.FecharSemPerguntar();
    FecharDados();
  }
};

QTEST_MAIN(TestEscolhaDadosPg)
#include "TestEscolhaDadosPg.moc"
