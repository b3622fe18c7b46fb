#include "Arranque.h"
#include "Base.h"
#include "Dados.h"
#include "FicheiroTeste.h"
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

// Where the data is: arguments, remembered choice, the "Base de Dados" window, start-up.
// Built again as test_escolhadados_pg for what needs a PostgreSQL server.
class TestEscolhaDados : public QObject {
  Q_OBJECT

  // No server listens on a socket in a folder that does not exist: libpq fails at once.
  static inline const QString ServidorAusente = u"host=/nao/existe/agremia dbname=agremia"_s;

  static QRadioButton *Opção(QWidget *janela, bool servidor) {
    return Controlo<QRadioButton>(janela, servidor ? u"OpcaoServidor"_s : u"OpcaoFicheiro"_s);
  }
  // The server option chosen with `ligação` typed.
  static void EscreverLigação(JanelaBaseDados &j, const QString &ligação) {
    Opção(&j, true)->click();
    Escrever(Controlo(&j, u"Ligacao"_s), ligação);
  }
  // The window on the data in use; `agir` drives it and `mudar` answers a switch.
  static void ComJanela(const std::function<void(JanelaBaseDados &)> &agir,
                        std::function<bool(const OrigemDados &)> mudar = {}) {
    JanelaBaseDados janela(nullptr, mudar ? mudar : [](const OrigemDados &) { return false; });
    Mostrar(&janela);
    agir(janela);
  }
  // From the main window's menu, the window that `escolher` drives, which must close.
  static void PeloMenu(Base &base, const std::function<void(JanelaBaseDados &)> &escolher) {
    bool vista = false;
    const auto vigia = QuandoModal<JanelaBaseDados>([&](JanelaBaseDados &j) {
      vista = true;
      escolher(j);
    });
    Controlo<QAction>(&base, u"Menu_Arquivo_BaseDados"_s)->trigger();
    QVERIFY(vista);
  }
  // The run on a new Quotas.Dad in the test's folder.
  static void AbrirFicheiro() {
    BaseDados::Criar(NomeFicheiroDados);
    AbrirOrigem(OrigemDados::FicheiroPorOmissão(), nullptr);
  }

private slots:
  void initTestCase() {
#ifdef AGREMIA_TESTE_SERVIDOR
    EXIGIR_SERVIDOR_PG();
#endif
    QCoreApplication::setOrganizationName(u"Agremia"_s);
  }

#ifndef AGREMIA_TESTE_SERVIDOR
  void argumentos_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("ligação");  // the server chosen
    QTest::addColumn<QString>("ficheiro"); // or the file, relative to the test's folder
    QTest::addColumn<bool>("erro");
    const auto caso = [](const char *nome, const QStringList &argumentos, const QString &ligação,
                         const QString &ficheiro, bool erro = false) {
      QTest::newRow(nome) << argumentos << ligação << ficheiro << erro;
    };
    const QString d = u"--base-dados"_s, l = u"host=servidor dbname=agremia user=ana sslmode=require"_s;
    caso("nenhum", {}, {}, {});
    caso("ligação", {d, l}, l, {});
    caso("com =", {u"--base-dados=service=agremia"_s}, u"service=agremia"_s, {});
    // Qt's driver reads only the key=value form: an address is refused, not taken for a file.
    caso("endereço", {d, u"postgresql://s/agremia"_s}, {}, {}, true);
    caso("ficheiro", {d, u"outra/Quotas.Dad"_s}, {}, u"outra/Quotas.Dad"_s);
    caso("pasta", {d, u"outra"_s}, {}, u"outra/Quotas.Dad"_s);
    caso("outro nome", {d, u"outra/dados.db"_s}, {}, {}, true);
    caso("sem valor", {d}, {}, {}, true);
    caso("em branco", {u"--base-dados="_s}, {}, {}, true);
    caso("desconhecida", {u"--base-dado"_s, u"x"_s}, {}, {}, true);
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
      QVERIFY(definições.Conteúdo().contains(l.toUtf8()));
      QVERIFY(!definições.Conteúdo().contains("do;x"));
    }
    QVERIFY(LembrarOrigem(OrigemDados::FicheiroPorOmissão()));
    QVERIFY(OrigemLembrada() == OrigemDados::FicheiroPorOmissão());
  }

  // The window: a server that does not answer told with libpq's words; Escape changes nothing;
  // a blank string refused; the choice remembered only when the switch worked.
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
    {
      auto janela = abrir();
      QCOMPARE(Controlo<QLabel>(janela.get(), u"Actual"_s)->text(),
               QDir::toNativeSeparators(QFileInfo(NomeFicheiroDados).absoluteFilePath()));
      QVERIFY(Opção(janela.get(), false)->isChecked());
      QVERIFY(!Controlo(janela.get(), u"Ligacao"_s)->isEnabled());
      QCOMPARE(FaltasDeTeclasDeAcesso(janela.get()), QStringList());
      // The access key of the server option, then its field.
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
      QTRY_VERIFY(Opção(janela.get(), true)->isChecked()); // pressed visibly first
      Escrever(Controlo(janela.get(), u"Ligacao"_s), ServidorAusente);
      Clicar(Comando(janela.get(), 2));
      QCOMPARE(respostas.caixas.size(), 1);
      const PedidoMensagem caixa = respostas.caixas.takeFirst();
      QCOMPARE(caixa.ícone, Ícone::Crítico);
      QVERIFY2(caixa.texto.startsWith(u"Não foi possível chegar à base de dados «"_s +
                                      ServidorAusente),
               qPrintable(caixa.texto));
      QVERIFY2(caixa.detalhes.contains(u"/nao/existe/agremia"_s), qPrintable(caixa.detalhes));
      QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite && Dados().sócios);
      QTest::keyClick(janela.get(), Qt::Key_Escape);
      QCOMPARE(janela->result(), int(QDialog::Rejected));
      QVERIFY(pedidas.isEmpty());
    }
    {
      auto janela = abrir();
      Opção(janela.get(), true)->click();
      Clicar(Comando(janela.get(), 1));
      QCOMPARE(respostas.caixas.size(), 1); // a blank connection string
      QVERIFY(pedidas.isEmpty() && janela->isVisible());
      Escrever(Controlo(janela.get(), u"Ligacao"_s), ServidorAusente);
      // Enter confirms; the switch refused keeps the window open and remembers nothing.
      QTest::keyClick(Controlo(janela.get(), u"Ligacao"_s), Qt::Key_Return);
      QCOMPARE(pedidas.size(), 1);
      QCOMPARE(pedidas[0].ligação, ServidorAusente);
      QVERIFY(janela->isVisible() && !OrigemLembrada().NoServidor());
      aceitar = true;
      QTest::keyClick(Controlo(janela.get(), u"Ligacao"_s), Qt::Key_Return);
      QCOMPARE(pedidas.size(), 2);
      QVERIFY(!janela->isVisible());
      QCOMPARE(OrigemLembrada().ligação, ServidorAusente);
    }
    // The file in use chosen again, the remembered server offered in its field: remembered, not
    // opened again.
    auto janela = abrir();
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
      PeloMenu(base, [&](JanelaBaseDados &j) {
        Opção(&j, true)->click();
        Controlo(&j, u"Ligacao"_s)->setText(ServidorAusente);
        Clicar(Comando(&j, 1));
        QVERIFY(j.isVisible());
        j.reject();
      });
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
#else
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
    QVERIFY2(caixa.texto.startsWith(começo) && caixa.texto.contains(ligação),
             qPrintable(caixa.texto));
    QVERIFY2(caixa.detalhes.contains(detalhes), qPrintable(caixa.detalhes));
    QCOMPARE(caixa.ícone, base == 0 ? Ícone::Informação : Ícone::Crítico);
    if (base == 0)
      QVERIFY2(caixa.texto.contains(u"com 1 sócio e 0 quotizações"_s), qPrintable(caixa.texto));
    if (base == 1)
      QVERIFY(caixa.texto.contains(u"«Criar as tabelas»"_s));
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite);
    FecharDados();
  }

  // "Criar as tabelas" works on an empty database; one holding tables (its own or anybody's)
  // is refused with the store's message.
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
    const QString senha = u"a b'c\\d=ç;e"_s;
    const QString ligação = servidor.Ligação() + u" user="_s + papel;
    // Neither PGPASSWORD nor a password file while the test runs.
    const QByteArray senhaAntes = qgetenv("PGPASSWORD"), ficheiroAntes = qgetenv("PGPASSFILE");
    qunsetenv("PGPASSWORD");
    qputenv("PGPASSFILE", pasta.Caminho(u"nenhum.pgpass"_s).toLocal8Bit());
    const auto ambiente = qScopeGuard([&] {
      qputenv("PGPASSWORD", senhaAntes);
      ficheiroAntes.isEmpty() ? qunsetenv("PGPASSFILE") : qputenv("PGPASSFILE", ficheiroAntes);
    });
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
    // Answers every password window with the next of `dar` (none: cancels it), keeping the
    // window's word on why it asks again (empty the first time) and all it shows.
    QList<std::optional<QString>> dar;
    QStringList avisos, textos;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, &vigia, [&] {
      auto *j = dynamic_cast<JanelaSenha *>(QApplication::activeModalWidget());
      if (!j || !j->isVisible() || j->property("respondida").toBool())
        return;
      j->setProperty("respondida", true);
      const auto *aviso = Controlo<QLabel>(j, u"Aviso"_s);
      avisos << (aviso->isVisibleTo(j) ? aviso->text() : QString());
      for (const QLabel *l : j->findChildren<QLabel *>())
        textos << l->text();
      const std::optional<QString> s = dar.isEmpty() ? std::nullopt : dar.takeFirst();
      if (!s)
        return j->reject();
      Controlo(j, u"Senha"_s)->setText(*s);
      QTest::keyClick(Controlo(j, u"Senha"_s), Qt::Key_Return);
    });
    vigia.start(5);
    ComJanela(
        [&](JanelaBaseDados &j) {
          EscreverLigação(j, ligação);
          dar = {std::nullopt};
          Clicar(Comando(&j, 2));
          QCOMPARE(respostas.caixas.size(), 1);
          QVERIFY2(respostas.caixas[0].texto.startsWith(
                       u"O servidor PostgreSQL recusou o utilizador ou a palavra-passe"_s),
                   qPrintable(respostas.caixas[0].texto));
          dar = {u"errada"_s, senha};
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
    QCOMPARE(avisos.size(), 3);
    QVERIFY(avisos[0].isEmpty() && avisos[1].isEmpty());
    QVERIFY(avisos[2].contains(u"não aceitou a palavra-passe"_s));
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::PostgreSQL);
    QCOMPARE(OrigemLembrada().ligação, ligação);
    QVERIFY(definições.Conteúdo().contains(papel.toUtf8()));
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
    const auto &caixas = respostas.caixas;
    const auto diz = [&](int i, const QString &parte) {
      QVERIFY2(caixas.value(i).texto.contains(parte), qPrintable(caixas.value(i).texto));
    };
    for (const int botão : {4, 4, 5})
      copiar(botão);
    QCOMPARE(caixas.size(), 3);
    diz(0, u"2 sócios, 1 quotização e 0 linhas das tabelas"_s);
    diz(1, u"já tem dados"_s);
    diz(2, u"já existe"_s);
    diz(2, u"da pasta de trabalho"_s);
    QVERIFY(Dados().bd.Aberta() && Dados().bd.MotorAberto() == Motor::SQLite);
    // From the server, the program on it meanwhile, into a Quotas.Dad made by the copy.
    AbrirOrigem(OrigemDados{{}, servidor.Ligação()}, nullptr);
    QVERIFY(QFile::remove(NomeFicheiroDados));
    copiar(5);
    QCOMPARE(caixas.size(), 4);
    diz(3, u"2 sócios, 1 quotização e 0 linhas das tabelas"_s);
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
    for (const bool noServidor : {true, false}) {
      PeloMenu(base, [&](JanelaBaseDados &j) {
        QVERIFY(QTest::qWaitForWindowActive(&j));
        // Set rather than typed: a window reached from the main window's menu may not have the
        // keyboard yet on a loaded machine.
        Opção(&j, noServidor)->click();
        if (noServidor)
          Controlo(&j, u"Ligacao"_s)->setText(servidor.Ligação());
        Clicar(Comando(&j, 1));
        QVERIFY(!j.isVisible());
      });
      QVERIFY(respostas.caixas.isEmpty());
      QCOMPARE(Dados().bd.MotorAberto(), noServidor ? Motor::PostgreSQL : Motor::SQLite);
      QCOMPARE(Controlo(&base, u"Nome"_s)->text(), noServidor ? u"Rui Servidor"_s : QString());
      QCOMPARE(OrigemLembrada().NoServidor(), noServidor);
      if (noServidor)
        QCOMPARE(OrigemLembrada().ligação, servidor.Ligação());
    }
    base.FecharSemPerguntar();
    FecharDados();
  }
#endif
};

QTEST_MAIN(TestEscolhaDados)
#include "TestEscolhaDados.moc"
