#include "Arranque.h"
#include "Base.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Janela.h"
#include "JanelaBaseDados.h"
#include "Modal.h"
#include "OrigemDados.h"
#include "PastaTeste.h"
#include "Respostas.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// No server listens on a socket in a folder that does not exist: libpq fails at once.
const QString ServidorAusente = u"host=/nao/existe/agremia dbname=agremia"_s;

QRadioButton *Opção(QWidget *janela, bool servidor) {
  return Controlo<QRadioButton>(janela, servidor ? u"OpcaoServidor"_s : u"OpcaoFicheiro"_s);
}

} // namespace

// Where the data is: the arguments, the remembered choice, the "Base de Dados" window, and the
// start-up that does not find its server. Without a server: what needs one is in the "pg" suite.
class TestEscolhaDados : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QCoreApplication::setOrganizationName(u"Agremia"_s); }

  void argumentos_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("ligação");  // the server chosen
    QTest::addColumn<QString>("ficheiro"); // or the file, relative to the test's folder
    QTest::addColumn<bool>("erro");
    const QString l = u"host=servidor dbname=agremia user=ana sslmode=require"_s;
    QTest::newRow("nenhum") << QStringList() << QString() << QString() << false;
    QTest::newRow("ligação") << QStringList{u"--base-dados"_s, l} << l << QString() << false;
    QTest::newRow("com =") << QStringList{u"--base-dados=service=agremia"_s} << u"service=agremia"_s
                           << QString() << false;
    // Qt's driver reads only the key=value form: an address is refused, not taken for a file.
    QTest::newRow("endereço") << QStringList{u"--base-dados"_s, u"postgresql://s/agremia"_s}
                              << QString() << QString() << true;
    QTest::newRow("ficheiro") << QStringList{u"--base-dados"_s, u"outra/Quotas.Dad"_s} << QString()
                              << u"outra/Quotas.Dad"_s << false;
    QTest::newRow("pasta") << QStringList{u"--base-dados"_s, u"outra"_s} << QString()
                           << u"outra/Quotas.Dad"_s << false;
    QTest::newRow("outro nome") << QStringList{u"--base-dados"_s, u"outra/dados.db"_s} << QString()
                                << QString() << true;
    QTest::newRow("sem valor") << QStringList{u"--base-dados"_s} << QString() << QString() << true;
    QTest::newRow("em branco") << QStringList{u"--base-dados="_s} << QString() << QString() << true;
    QTest::newRow("desconhecida") << QStringList{u"--base-dado"_s, u"x"_s} << QString() << QString()
                                  << true;
  }
  // "--base-dados" takes a server or a Quotas.Dad (or its folder); anything else is refused
  // with a message rather than ignored.
  void argumentos() {
    QFETCH(QStringList, argumentos);
    QFETCH(QString, ligação);
    QFETCH(QString, ficheiro);
    QFETCH(bool, erro);
    PastaTeste pasta;
    QVERIFY(QDir().mkdir(u"outra"_s));
    const ArgumentosPrograma a = LerArgumentos(argumentos);
    QCOMPARE(!a.erro.isEmpty(), erro);
    QCOMPARE(a.origem.has_value(), !ligação.isEmpty() || !ficheiro.isEmpty());
    if (a.origem) {
      QCOMPARE(a.origem->ligação, ligação);
      if (!ficheiro.isEmpty())
        QCOMPARE(QFileInfo(a.origem->ficheiro).absoluteFilePath(),
                 QFileInfo(ficheiro).absoluteFilePath());
    }
  }

  // A password added for the run is read by libpq (the "pg" suite connects with it) and never
  // shown, whatever follows it.
  void senhaNuncaMostrada() {
    const QString senha = u"se gr'e\\do;x"_s;
    for (const QString &l : {u"host=s dbname=agremia user=ana"_s, u"service=agremia"_s}) {
      const QString com = LigaçãoComSenha(l, senha);
      QVERIFY(com.contains(u"password="_s));
      QCOMPARE(BaseDados::LigaçãoParaMostrar(com), BaseDados::LigaçãoParaMostrar(l));
      QVERIFY(OrigemDados({}, com) == OrigemDados({}, l));
    }
  }

  // The choice is kept in the user's settings without its password and read back; the file
  // chosen again leaves no server behind.
  void escolhaLembrada() {
    DefiniçõesDeTeste definições;
    PastaTeste pasta;
    QVERIFY(!OrigemLembrada().NoServidor());
    const QString l = u"host=s dbname=agremia user=ana"_s;
    QVERIFY(LembrarOrigem(OrigemDados{{}, LigaçãoComSenha(l, u"segredo"_s)}));
    QCOMPARE(OrigemLembrada().ligação, l);
    QVERIFY(definições.Conteúdo().contains("dbname=agremia"));
    QVERIFY(!definições.Conteúdo().contains("segredo"));
    QVERIFY(LembrarOrigem(OrigemDados::FicheiroPorOmissão()));
    QVERIFY(OrigemLembrada() == OrigemDados::FicheiroPorOmissão());
  }

  // The window: the data in use shown, Escape and "&Cancelar" change nothing, a blank
  // connection string is refused, "&Usar estes dados" hands the choice over and remembers it
  // only when the switch worked; the data in use is not opened again.
  void janelaEscolheELembra() {
    DefiniçõesDeTeste definições;
    FicheiroTeste ficheiro;
    Respostas respostas;
    QList<OrigemDados> pedidas;
    bool aceitar = false;
    const auto abrir = [&] {
      return std::make_unique<JanelaBaseDados>(nullptr, [&](const OrigemDados &o) {
        pedidas << o;
        return aceitar;
      });
    };
    {
      auto janela = abrir();
      Mostrar(janela.get());
      QCOMPARE(Controlo<QLabel>(janela.get(), u"Actual"_s)->text(),
               QDir::toNativeSeparators(QFileInfo(NomeFicheiroDados).absoluteFilePath()));
      QVERIFY(Opção(janela.get(), false)->isChecked());
      QVERIFY(!Controlo(janela.get(), u"Ligacao"_s)->isEnabled());
      // The access key of the server option, then its field.
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
      QTRY_VERIFY(Opção(janela.get(), true)->isChecked()); // pressed visibly first
      Escrever(Controlo(janela.get(), u"Ligacao"_s), ServidorAusente);
      QTest::keyClick(janela.get(), Qt::Key_Escape);
      QCOMPARE(janela->result(), int(QDialog::Rejected));
      QVERIFY(pedidas.isEmpty());
    }
    {
      auto janela = abrir();
      Mostrar(janela.get());
      Opção(janela.get(), true)->click();
      Clicar(Comando(janela.get(), 1));
      QCOMPARE(respostas.caixas.size(), 1); // a blank connection string
      QVERIFY(pedidas.isEmpty() && janela->isVisible());
      Escrever(Controlo(janela.get(), u"Ligacao"_s), ServidorAusente);
      // Enter confirms; the switch refused keeps the window open and remembers nothing.
      QTest::keyClick(Controlo(janela.get(), u"Ligacao"_s), Qt::Key_Return);
      QCOMPARE(pedidas.size(), 1);
      QCOMPARE(pedidas[0].ligação, ServidorAusente);
      QVERIFY(janela->isVisible());
      QVERIFY(!OrigemLembrada().NoServidor());
      aceitar = true;
      QTest::keyClick(Controlo(janela.get(), u"Ligacao"_s), Qt::Key_Return);
      QCOMPARE(pedidas.size(), 2);
      QVERIFY(!janela->isVisible());
      QCOMPARE(OrigemLembrada().ligação, ServidorAusente);
    }
    {
      // The file in use chosen again: remembered, not opened again.
      auto janela = abrir();
      Mostrar(janela.get());
      QVERIFY(Opção(janela.get(), false)->isChecked());
      // The remembered server is offered in its field.
      QCOMPARE(Controlo(janela.get(), u"Ligacao"_s)->text(), ServidorAusente);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
      QTRY_VERIFY(!janela->isVisible());
      QCOMPARE(pedidas.size(), 2);
      QVERIFY(!OrigemLembrada().NoServidor());
    }
  }

  // "Testar ligação" on a server that does not answer: the store's message, libpq's words in
  // the details; the data in use is left alone.
  void testarSemServidor() {
    FicheiroTeste ficheiro;
    Respostas respostas;
    JanelaBaseDados janela(nullptr, [](const OrigemDados &) { return false; });
    Mostrar(&janela);
    Opção(&janela, true)->click();
    Escrever(Controlo(&janela, u"Ligacao"_s), ServidorAusente);
    Clicar(Comando(&janela, 2));
    QCOMPARE(respostas.caixas.size(), 1);
    const PedidoMensagem &caixa = respostas.caixas[0];
    QCOMPARE(caixa.ícone, Ícone::Crítico);
    QVERIFY2(
        caixa.texto.startsWith(u"Não foi possível chegar à base de dados «"_s + ServidorAusente),
        qPrintable(caixa.texto));
    QVERIFY2(caixa.detalhes.contains(u"/nao/existe/agremia"_s), qPrintable(caixa.detalhes));
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite);
    QVERIFY(Dados().sócios);
  }

  // From the main window: with unsaved changes the question comes first ("Cancelar" stays);
  // a server that fails leaves the program on its file, the member still shown.
  void mudarFalhadoVoltaAoFicheiro() {
    DefiniçõesDeTeste definições;
    FicheiroTeste ficheiro;
    Dados().bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Ana Lopes')"_s, {},
                        u"teste"_s);
    FicheiroTeste::Reabrir();
    Respostas respostas;
    Base base;
    LigarJanelas(base);
    Mostrar(&base);
    Controlo(&base, u"Nome"_s)->setText(u"Ana Lopes Mudada"_s);
    for (const Resposta r : {Resposta::Cancelar, Resposta::Não}) {
      respostas.caixas.clear();
      respostas.Responder({r});
      bool vista = false;
      const auto vigia = QuandoModal<JanelaBaseDados>([&](JanelaBaseDados &j) {
        vista = true;
        Opção(&j, true)->click();
        Controlo(&j, u"Ligacao"_s)->setText(ServidorAusente);
        Clicar(Comando(&j, 1));
        QVERIFY(j.isVisible());
        j.reject();
      });
      Controlo<QAction>(&base, u"Menu_Arquivo_BaseDados"_s)->trigger();
      QVERIFY(vista);
      QVERIFY(respostas.caixas.value(0).texto.contains(u"alterações que não foram gravadas"_s));
      // Cancelled: nothing more; dropped: the server's failure told.
      QCOMPARE(respostas.caixas.size(), r == Resposta::Cancelar ? 1 : 2);
      QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite);
      QCOMPARE(Controlo(&base, u"Número"_s)->text().toInt(), 1);
      QCOMPARE(Controlo(&base, u"Nome"_s)->text(),
               r == Resposta::Cancelar ? u"Ana Lopes Mudada"_s : u"Ana Lopes"_s);
    }
    QVERIFY(!OrigemLembrada().NoServidor());
    base.FecharSemPerguntar();
  }

  // At start-up a remembered server that does not answer is told and never replaced by the
  // file unasked: "Não" ends the program without a Quotas.Dad made; "Sim" opens the window,
  // where the file can be chosen, and then remembered. "--base-dados" serves one run and the
  // remembered choice stays as it was.
  void arranqueSemServidor() {
    DefiniçõesDeTeste definições;
    PastaTeste pasta;
    QVERIFY(LembrarOrigem(OrigemDados{{}, ServidorAusente}));
    OpçõesArranque opções;
    opções.esperaApresentação = 0;
    QString aberta;
    opções.aoMostrarBase = [&aberta](Base &b) {
      aberta = Dados().bd.Caminho();
      b.close();
    };
    {
      Respostas respostas;
      respostas.Responder({Resposta::Não});
      QCOMPARE(ExecutarPrograma(opções), FimPrograma::ErroFicheiro);
      QCOMPARE(respostas.caixas.size(), 1);
      QVERIFY(respostas.caixas[0].texto.startsWith(u"Não foi possível chegar"_s));
      QVERIFY(!respostas.caixas[0].detalhes.isEmpty());
      QVERIFY(aberta.isEmpty() && !QFile::exists(NomeFicheiroDados));
    }
    {
      // For one run: another folder's file, while the server stays remembered.
      QVERIFY(QDir().mkdir(u"outra"_s));
      BaseDados::Criar(u"outra/Quotas.Dad"_s);
      Respostas respostas;
      opções.origem = OrigemDados{u"outra/Quotas.Dad"_s, {}};
      QCOMPARE(ExecutarPrograma(opções), FimPrograma::Normal);
      QCOMPARE(aberta, QFileInfo(u"outra/Quotas.Dad"_s).absoluteFilePath());
      QVERIFY(respostas.caixas.isEmpty() && !QFile::exists(NomeFicheiroDados));
      QCOMPARE(OrigemLembrada().ligação, ServidorAusente);
      opções.origem.reset();
    }
    {
      Respostas respostas;
      bool vista = false;
      const auto vigia = QuandoModal<JanelaBaseDados>([&](JanelaBaseDados &j) {
        vista = true;
        QVERIFY(QTest::qWaitForWindowActive(&j));
        QVERIFY(Opção(&j, true)->isChecked());
        QCOMPARE(Controlo(&j, u"Ligacao"_s)->text(), ServidorAusente);
        Opção(&j, false)->click();
        Clicar(Comando(&j, 1));
      });
      QCOMPARE(ExecutarPrograma(opções), FimPrograma::Normal);
      QVERIFY(vista);
      QCOMPARE(aberta, QFileInfo(NomeFicheiroDados).absoluteFilePath());
      QVERIFY(!OrigemLembrada().NoServidor());
    }
  }
};

QTEST_MAIN(TestEscolhaDados)
#include "TestEscolhaDados.moc"
