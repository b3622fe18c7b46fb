#include "Arranque.h"
#include "Base.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Janela.h"
#include "JanelaBaseDados.h"
#include "JanelaSenha.h"
#include "LerFicheiro.h"
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

// Where the data is: arguments, remembered choice, the "Base de Dados" window, start-up.
// Built again as test_escolhadados_pg for what needs a PostgreSQL server.
class TestEscolhaDados : public QObject {
  Q_OBJECT

  // No server listens on a socket in a folder that does not exist: libpq fails at once.
  static inline const QString ServidorAusente = u"host=/nao/existe/agremia dbname=agremia"_s;

  static QRadioButton *Opção(QWidget *janela, bool servidor) {
    return Controlo<QRadioButton>(janela, servidor ? u"OpcaoServidor"_s : u"OpcaoFicheiro"_s);
  }
  // The window on the data in use, the server `ligação` typed and button `botão` clicked;
  // `mudar` answers a switch.
  static void NaJanela(const QString &ligação, int botão,
                       std::function<bool(const OrigemDados &)> mudar = {}) {
    JanelaBaseDados j(nullptr, mudar ? mudar : [](const OrigemDados &) { return false; });
    Mostrar(&j);
    Opção(&j, true)->click();
    Escrever(Controlo(&j, u"Ligacao"_s), ligação);
    Clicar(Comando(&j, botão));
  }
  // From the main window's menu, the window that `escolher` drives.
  static void PeloMenu(Base &base, const std::function<void(JanelaBaseDados &)> &escolher) {
    bool vista = false;
    const auto vigia = QuandoModal<JanelaBaseDados>([&](JanelaBaseDados &j) {
      vista = true;
      escolher(j);
    });
    Controlo<QAction>(&base, u"Menu_Arquivo_BaseDados"_s)->trigger();
    QVERIFY(vista);
  }
  static void AbrirFicheiro() {
    BaseDados::Criar(NomeFicheiroDados);
    AbrirOrigem(OrigemDados::FicheiroPorOmissão(), nullptr);
  }
  static bool NoFicheiro() { return Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite; }

private slots:
  void initTestCase() {
#ifdef AGREMIA_TESTE_SERVIDOR
    EXIGIR_SERVIDOR_PG();
#endif
    QCoreApplication::setOrganizationName(u"Agremia"_s);
  }

#ifndef AGREMIA_TESTE_SERVIDOR
  // "--base-dados" takes a server or a Quotas.Dad (or its folder); anything else is refused.
  void argumentos() {
    PastaTeste pasta;
    QVERIFY(QDir().mkdir(u"outra"_s));
    const QString d = u"--base-dados"_s, l = u"host=servidor dbname=agremia user=ana"_s;
    const QString f = QFileInfo(u"outra/Quotas.Dad"_s).absoluteFilePath();
    // The server chosen, or the file; both empty: no choice (refused when `erro`).
    const std::tuple<QStringList, QString, QString, bool> casos[] = {
        {{}, {}, {}, false},
        {{d, l}, l, {}, false},
        {{d, u"postgresql://s/agremia"_s}, {}, {}, true}, // Qt's driver reads only key=value
        {{d, u"outra/Quotas.Dad"_s}, {}, f, false},
        {{d, u"outra"_s}, {}, f, false},
        {{d, u"outra/dados.db"_s}, {}, {}, true},
        {{d}, {}, {}, true},
        {{u"--base-dado"_s, u"x"_s}, {}, {}, true}};
    for (const auto &[argumentos, ligação, ficheiro, erro] : casos) {
      const ArgumentosPrograma a = LerArgumentos(argumentos);
      QVERIFY2(a.erro.isEmpty() != erro, qPrintable(argumentos.join(u' ')));
      QCOMPARE(a.origem.has_value(), !ligação.isEmpty() || !ficheiro.isEmpty());
      if (a.origem)
        QCOMPARE(a.origem->ligação, ligação);
      if (!ficheiro.isEmpty())
        QCOMPARE(QFileInfo(a.origem->ficheiro).absoluteFilePath(), ficheiro);
    }
  }

  // A password added for the run is never shown nor remembered; the choice is read back, and
  // the file chosen again leaves no server behind.
  void escolhaLembradaSemSenha() {
    DefiniçõesDeTeste definições;
    PastaTeste pasta;
    QVERIFY(!OrigemLembrada().NoServidor());
    for (const QString &l : {u"host=s dbname=agremia user=ana"_s, u"service=agremia"_s}) {
      const QString com = LigaçãoComSenha(l, u"se gr'e\\do;x"_s);
      QVERIFY(com.contains(u"password="_s));
      QCOMPARE(BaseDados::LigaçãoParaMostrar(com), BaseDados::LigaçãoParaMostrar(l));
      QVERIFY(OrigemDados({}, com) == OrigemDados({}, l));
      QVERIFY(LembrarOrigem(OrigemDados{{}, com}));
      QCOMPARE(OrigemLembrada().ligação, l);
      QVERIFY(!definições.Conteúdo().contains("do;x"));
    }
    QVERIFY(LembrarOrigem(OrigemDados::FicheiroPorOmissão()));
    QVERIFY(OrigemLembrada() == OrigemDados::FicheiroPorOmissão());
  }

  // The window: every button has an access key; a server that does not answer told with
  // libpq's words; Escape changes nothing; a blank string refused; Enter confirms; the choice
  // remembered only when the switch worked.
  void janelaEscolheELembra() {
    DefiniçõesDeTeste definições;
    FicheiroTeste ficheiro;
    Respostas respostas;
    QList<OrigemDados> pedidas;
    bool aceitar = false;
    const auto abrir = [&] {
      auto j = std::make_unique<JanelaBaseDados>(nullptr, [&](const OrigemDados &o) {
        pedidas << o;
        return aceitar;
      });
      Mostrar(j.get());
      return j;
    };
    auto janela = abrir();
    QCOMPARE(Controlo<QLabel>(janela.get(), u"Actual"_s)->text(),
             QDir::toNativeSeparators(QFileInfo(NomeFicheiroDados).absoluteFilePath()));
    QVERIFY(Opção(janela.get(), false)->isChecked());
    QVERIFY(!Controlo(janela.get(), u"Ligacao"_s)->isEnabled());
    QCOMPARE(FaltasDeTeclasDeAcesso(janela.get()), QStringList());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(Opção(janela.get(), true)->isChecked()); // pressed visibly first
    Clicar(Comando(janela.get(), 1));
    QCOMPARE(respostas.caixas.size(), 1); // a blank connection string
    Escrever(Controlo(janela.get(), u"Ligacao"_s), ServidorAusente);
    Clicar(Comando(janela.get(), 2));
    QCOMPARE(respostas.caixas.size(), 2);
    const PedidoMensagem caixa = respostas.caixas[1];
    QCOMPARE(caixa.ícone, Ícone::Crítico);
    QVERIFY2(caixa.texto.startsWith(u"Não foi possível chegar à base de dados «"_s + ServidorAusente),
             qPrintable(caixa.texto));
    QVERIFY2(caixa.detalhes.contains(u"/nao/existe/agremia"_s), qPrintable(caixa.detalhes));
    QVERIFY(NoFicheiro() && Dados().sócios); // nothing asked: the switches counted below
    QTest::keyClick(janela.get(), Qt::Key_Escape);
    QCOMPARE(janela->result(), int(QDialog::Rejected));

    janela = abrir();
    Opção(janela.get(), true)->click();
    Escrever(Controlo(janela.get(), u"Ligacao"_s), ServidorAusente);
    for (const bool aceite : {false, true}) {
      aceitar = aceite;
      QTest::keyClick(Controlo(janela.get(), u"Ligacao"_s), Qt::Key_Return);
      QCOMPARE(pedidas.size(), aceite ? 2 : 1);
      QCOMPARE(pedidas.last().ligação, ServidorAusente);
      QCOMPARE(janela->isVisible(), !aceite);
      QCOMPARE(OrigemLembrada().NoServidor(), aceite);
    }
    // The file in use chosen again by its access key: remembered, not opened again.
    janela = abrir();
    QVERIFY(Opção(janela.get(), false)->isChecked());
    QCOMPARE(Controlo(janela.get(), u"Ligacao"_s)->text(), ServidorAusente);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
    QTRY_VERIFY(!janela->isVisible());
    QCOMPARE(pedidas.size(), 2);
    QVERIFY(!OrigemLembrada().NoServidor());
  }

  // From the main window: with unsaved changes the question comes first ("Cancelar" stays);
  // a server that fails leaves the program on its file, the member still shown.
  void mudarFalhadoVoltaAoFicheiro() {
    DefiniçõesDeTeste definições;
    FicheiroTeste ficheiro;
    Dados().bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Ana Lopes')"_s, {}, u"t"_s);
    FicheiroTeste::Reabrir();
    Respostas respostas;
    Base base;
    LigarJanelas(base);
    Mostrar(&base);
    Controlo(&base, u"Nome"_s)->setText(u"Ana Lopes Mudada"_s);
    for (const Resposta r : {Resposta::Cancelar, Resposta::Não}) {
      respostas.caixas.clear();
      respostas.Responder({r});
      PeloMenu(base, [&](JanelaBaseDados &j) {
        Opção(&j, true)->click();
        Controlo(&j, u"Ligacao"_s)->setText(ServidorAusente);
        Clicar(Comando(&j, 1));
        QVERIFY(j.isVisible());
        j.reject();
      });
      QVERIFY(respostas.caixas.value(0).texto.contains(u"não foram gravadas"_s));
      QCOMPARE(respostas.caixas.size(), r == Resposta::Cancelar ? 1 : 2); // then the failure
      QVERIFY(NoFicheiro());
      QCOMPARE(Controlo(&base, u"Número"_s)->text().toInt(), 1);
      QCOMPARE(Controlo(&base, u"Nome"_s)->text(),
               r == Resposta::Cancelar ? u"Ana Lopes Mudada"_s : u"Ana Lopes"_s);
    }
    QVERIFY(!OrigemLembrada().NoServidor());
    base.FecharSemPerguntar();
  }

  // A remembered server that does not answer is told, never silently replaced by the file;
  // "--base-dados" serves one run and leaves the remembered choice as it was.
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
      QVERIFY(aberta.isEmpty() && !QFile::exists(NomeFicheiroDados));
    }
    QVERIFY(QDir().mkdir(u"outra"_s));
    BaseDados::Criar(u"outra/Quotas.Dad"_s);
    Respostas respostas;
    opções.origem = OrigemDados{u"outra/Quotas.Dad"_s, {}};
    QCOMPARE(ExecutarPrograma(opções), FimPrograma::Normal);
    QCOMPARE(aberta, QFileInfo(u"outra/Quotas.Dad"_s).absoluteFilePath());
    QVERIFY(respostas.caixas.isEmpty() && !QFile::exists(NomeFicheiroDados));
    QCOMPARE(OrigemLembrada().ligação, ServidorAusente);
    // "Sim": the window to choose, on the server remembered; the file chosen there.
    opções.origem.reset();
    bool vista = false;
    const auto vigia = QuandoModal<JanelaBaseDados>([&](JanelaBaseDados &j) {
      vista = true;
      QVERIFY(QTest::qWaitForWindowActive(&j) && Opção(&j, true)->isChecked());
      QCOMPARE(Controlo(&j, u"Ligacao"_s)->text(), ServidorAusente);
      Opção(&j, false)->click();
      Clicar(Comando(&j, 1));
    });
    QCOMPARE(ExecutarPrograma(opções), FimPrograma::Normal);
    QVERIFY(vista && !OrigemLembrada().NoServidor());
    QCOMPARE(aberta, QFileInfo(NomeFicheiroDados).absoluteFilePath());
  }
#else
  // What "Testar ligação" found, with the server's or libpq's words in the details; the data
  // in use left alone. 0: with the tables and one member, 1: empty, 2: no such database.
  void testarLigacao() {
    const std::tuple<QString, QString> casos[] = {
        {u"A ligação funciona: a base de dados «"_s, u"PostgreSQL"_s},
        {u"A base de dados «"_s, u": não existe"_s},
        {u"Não foi possível ligar à base de dados «"_s, u"does not exist"_s}};
    for (int base = 0; base < 3; ++base) {
      const auto &[começo, detalhes] = casos[base];
      PastaTeste pasta;
      AbrirFicheiro();
      BaseServidorTeste servidor;
      if (base == 0) {
        BaseDados::CriarNoServidor(servidor.Ligação());
        QVERIFY(servidor.Executar({u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (7, 'Rui')"_s}));
      }
      const QString ligação = servidor.Ligação() + (base == 2 ? u"_nada"_s : QString());
      Respostas respostas;
      NaJanela(ligação, 2);
      QCOMPARE(respostas.caixas.size(), 1);
      const PedidoMensagem &caixa = respostas.caixas[0];
      QVERIFY2(caixa.texto.startsWith(começo) && caixa.texto.contains(ligação), qPrintable(caixa.texto));
      QVERIFY2(caixa.detalhes.contains(detalhes), qPrintable(caixa.detalhes));
      QCOMPARE(caixa.ícone, base == 0 ? Ícone::Informação : Ícone::Crítico);
      QVERIFY(base != 0 || caixa.texto.contains(u"com 1 sócio e 0 quotizações"_s));
      QVERIFY(base != 1 || caixa.texto.contains(u"«Criar as tabelas»"_s));
      QVERIFY(NoFicheiro());
      FecharDados();
    }
  }

  // "Criar as tabelas" works on an empty database; one holding tables (its own or anybody's)
  // is refused with the store's message.
  void criarTabelas() {
    PastaTeste pasta;
    BaseServidorTeste vazia, alheia;
    QVERIFY(alheia.Executar({u"CREATE TABLE contas (n integer)"_s}));
    Respostas respostas;
    for (const BaseServidorTeste *b : {&vazia, &vazia, &alheia})
      NaJanela(b->Ligação(), 3);
    QCOMPARE(respostas.caixas.size(), 3);
    QVERIFY2(respostas.caixas[0].texto.startsWith(u"As tabelas deste programa foram criadas"_s),
             qPrintable(respostas.caixas[0].texto));
    for (int i : {1, 2})
      QVERIFY(respostas.caixas[i].texto.contains(u"já tem tabelas"_s) &&
              respostas.caixas[i].ícone == Ícone::Crítico);
    QVERIFY(respostas.caixas[2].detalhes.contains(u"public.contas"_s));
    BaseDados().AbrirServidor(vazia.Ligação()); // throws without the tables
    QVERIFY(!alheia.Executar({u"SELECT 1 FROM \"Sócios\""_s}));
  }

  // A password asked, asked again when wrong, then serving the test and the switch; full of
  // characters libpq reads quoted, it reaches no setting and no text shown.
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
    const QString ligação = servidor.Ligação() + u" user="_s + papel;
    // Neither PGPASSWORD nor a password file while the test runs.
    const QByteArray senhaAntes = qgetenv("PGPASSWORD"), ficheiroAntes = qgetenv("PGPASSFILE");
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", pasta.Caminho(u"nenhum.pgpass"_s).toLocal8Bit());
    const auto ambiente = qScopeGuard([&] {
      qputenv("PGPASSWORD", senhaAntes);
      ficheiroAntes.isEmpty() ? qunsetenv("PGPASSFILE") : qputenv("PGPASSFILE", ficheiroAntes);
    });
    try { // with "trust" in pg_hba.conf this test would prove nothing
      BaseDados bd;
      bd.AbrirServidor(ligação);
      QFAIL("o servidor não pediu palavra-passe (pg_hba.conf com trust)");
    } catch (const ErroBaseDados &e) {
      QVERIFY2(FaltaSenha(e), qPrintable(e.Pormenor()));
    }
    AbrirFicheiro();
    Respostas respostas;
    // Each password window answered with the next of `dar` (none: cancelled), its warning kept.
    QList<std::optional<QString>> dar{std::nullopt, u"errada"_s, u"a b'c\\d=ç;e"_s};
    QStringList avisos, textos;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, &vigia, [&] {
      auto *j = dynamic_cast<JanelaSenha *>(QApplication::activeModalWidget());
      if (!j || !j->isVisible() || j->property("respondida").toBool())
        return;
      j->setProperty("respondida", true);
      const auto *aviso = Controlo<QLabel>(j, u"Aviso"_s);
      avisos << (aviso->isVisibleTo(j) ? aviso->text() : QString());
      const std::optional<QString> s = dar.isEmpty() ? std::nullopt : dar.takeFirst();
      if (!s)
        return j->reject();
      Controlo(j, u"Senha"_s)->setText(*s);
      QTest::keyClick(Controlo(j, u"Senha"_s), Qt::Key_Return);
    });
    vigia.start(5);
    JanelaBaseDados j(nullptr, [](const OrigemDados &o) {
      AbrirOrigem(o, nullptr); // no password window now: none would be answered
      return true;
    });
    Mostrar(&j);
    Opção(&j, true)->click();
    Escrever(Controlo(&j, u"Ligacao"_s), ligação);
    Clicar(Comando(&j, 2));
    QCOMPARE(respostas.caixas.size(), 1);
    QVERIFY(respostas.caixas[0].texto.contains(u"recusou o utilizador ou a palavra-passe"_s));
    Clicar(Comando(&j, 2));
    QCOMPARE(respostas.caixas.size(), 2);
    QVERIFY(respostas.caixas[1].texto.startsWith(u"A ligação funciona"_s));
    Clicar(Comando(&j, 1));
    QVERIFY(!j.isVisible());
    QCOMPARE(avisos.size(), 3);
    QVERIFY(avisos[0].isEmpty() && avisos[1].isEmpty() && avisos[2].contains(u"não aceitou"_s));
    QCOMPARE(Dados().bd.MotorAberto(), Motor::PostgreSQL);
    QCOMPARE(OrigemLembrada().ligação, ligação);
    for (const PedidoMensagem &p : respostas.caixas)
      textos << p.texto + p.detalhes;
    for (const QString &visto : textos + QStringList{Dados().bd.Caminho()})
      QVERIFY2(!visto.contains(u"b'c"_s) && !visto.contains(u"b\\'c"_s), qPrintable(visto));
    QVERIFY(!definições.Conteúdo().contains("b'c") && !definições.Conteúdo().contains("b\\'c"));
  }

  // The file into an empty server database and back into a new Quotas.Dad, rows counted; a
  // database holding data and a Quotas.Dad already there are refused.
  void copiarNosDoisSentidos() {
    PastaTeste pasta;
    AbrirFicheiro();
    Dados().bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Ana'), (2, 'Rui')"_s, {}, u"t"_s);
    Dados().bd.Executar(u"INSERT INTO Quotizações (SócMês, QuotaEuro) VALUES ('000001202501', 10000)"_s,
                        {}, u"t"_s);
    BaseServidorTeste servidor;
    Respostas respostas;
    for (const int botão : {4, 4, 5})
      NaJanela(servidor.Ligação(), botão);
    AbrirOrigem(OrigemDados{{}, servidor.Ligação()}, nullptr); // back from the server
    QVERIFY(QFile::remove(NomeFicheiroDados));
    NaJanela(servidor.Ligação(), 5);
    const QStringList partes{u"2 sócios, 1 quotização e 0 linhas"_s, u"já tem dados"_s,
                             u"já existe"_s, u"2 sócios, 1 quotização e 0 linhas"_s};
    QCOMPARE(respostas.caixas.size(), 4);
    for (int i = 0; i < 4; ++i)
      QVERIFY2(respostas.caixas[i].texto.contains(partes[i]), qPrintable(respostas.caixas[i].texto));
    QCOMPARE(Dados().bd.MotorAberto(), Motor::PostgreSQL);
    FecharDados();
    QCOMPARE(Consultar(u"SELECT Nome FROM Sócios ORDER BY Número"_s, u"./"_s + NomeFicheiroDados),
             (QList<QVariantList>{{u"Ana"_s}, {u"Rui"_s}}));
  }

#endif
};

QTEST_MAIN(TestEscolhaDados)
#include "TestEscolhaDados.moc"
