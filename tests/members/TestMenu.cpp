#include "Base.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "LerPdf.h"
#include "MembrosFicha.h"
#include "Modal.h"
#include "Programas.h"
#include "Respostas.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The menu bar of the main window: its items, their enabling and their actions.
class TestMenu : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<Base> base;
  IniciadorFalso iniciador; // for the whole suite: nothing is really started
  QList<IniciadorFalso::Início> &inícios = iniciador.iniciados;

  QAction *Acção(const QString &nome) { return Controlo<QAction>(base.get(), nome); }
  void Abrir() { Mostrar((base = std::make_unique<Base>()).get()); }
  static void Sócio(int n, int quotas = 0) {
    const QString número = QString::number(n);
    QCOMPARE(GravarDeTeste(FichaDeTeste(número, u"Sócio "_s + número), 0,
                           MesesSeguidos(2000, quotas, 1250, 1))
                 .erro,
             ErroFicha::Nenhum);
  }
  QString Nome() { return Controlo(base.get(), u"Nome"_s)->text(); }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    inícios.clear();
    iniciador.resultado = true;
    iniciador.aoIniciar = {};
  }
  void cleanup() {
    base.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // On an empty file F1 has nothing to show; after an import the first member is shown.
  // Saved from the menu, the name being typed is squeezed first, as the button does.
  void ficheiroVazioImportacaoEGravarPeloMenu() {
    Abrir();
    QTest::keyClick(base.get(), Qt::Key_F1);
    QCOMPARE(respostas->bips, 1);
    base->LigarJanela(JanelaMenu::ImportarSócios, [] {
      Sócio(2);
      Sócio(1);
    });
    Acção(u"Menu_Arquivo_Importar"_s)->trigger();
    QCOMPARE(Nome(), u"Sócio 1"_s);
    QTest::keyClick(base.get(), Qt::Key_F3);
    Escrever(Controlo(base.get(), u"Nome"_s), u"Maria   da  Silva"_s);
    Acção(u"Menu_Dados_3"_s)->trigger();
    QCOMPARE(Coluna(u"SELECT trim(Nome) FROM Sócios WHERE Número = 2"_s),
             QStringList{u"Maria da Silva"_s});
  }

  // Não leaves everything as it was; a backup goes on at Enter, a restore stops. A tool that
  // cannot start leaves the member on screen; Sim to the restore closes the file, starts the
  // tool in the data folder and ends the program, unsaved changes lost after saying so.
  void segurancaEReposicao() {
    Sócio(5);
    Abrir();
    respostas->Responder({Resposta::Não, Resposta::Não});
    Acção(u"Menu_Arquivo_1"_s)->trigger();
    Acção(u"Menu_Arquivo_2"_s)->trigger();
    QVERIFY(!respostas->caixas[0].nãoPorOmissão && respostas->caixas[1].nãoPorOmissão);
    QVERIFY(inícios.isEmpty());

    iniciador.resultado = false;
    Acção(u"Menu_Arquivo_1"_s)->trigger();
    QCOMPARE(inícios.size(), 1);
    QVERIFY(inícios[0].argumentos.isEmpty());
    QCOMPARE(respostas->caixas.last().ícone, Ícone::Crítico);
    QCOMPARE(Nome(), u"Sócio 5"_s);

    iniciador.resultado = true;
    bool fechou = false;
    base->AoFechar = [&] { fechou = true; };
    Controlo(base.get(), u"Nome"_s)->setText(u"por gravar"_s);
    const qsizetype caixas = respostas->caixas.size();
    respostas->Responder({Resposta::Sim});
    Acção(u"Menu_Arquivo_2"_s)->trigger();
    QCOMPARE(respostas->caixas.size(), caixas + 1);
    QVERIFY(respostas->caixas.last().texto.contains(u"sócio nº 5 - Sócio 5 que não foram gravadas"_s));
    QCOMPARE(Coluna(u"SELECT Nome FROM Sócios"_s), QStringList{u"Sócio 5"_s});
    QCOMPARE(inícios[1].argumentos, QStringList{u"-r"_s});
    QCOMPARE(QDir(inícios[1].pasta), QDir(ficheiro->Raiz()));
    QVERIFY(!Dados().bd.Aberta());
    QVERIFY(fechou && !base->isVisible());
  }

  // The tool fails to start and the file it was closed for cannot be opened again (it became
  // a text file meanwhile): the user is told and the program ends, never left without data.
  void ficheiroQueNaoReabreTerminaOPrograma() {
    Sócio(5);
    Abrir();
    bool fechou = false;
    base->AoFechar = [&] { fechou = true; };
    iniciador.resultado = false;
    iniciador.aoIniciar = [this] {
      QFile f(ficheiro->Caminho(NomeFicheiroDados));
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write("texto\n") < 0)
        qFatal("não foi possível estragar o ficheiro");
    };
    Acção(u"Menu_Arquivo_1"_s)->trigger();
    QCOMPARE(respostas->caixas.last().ícone, Ícone::Crítico);
    QVERIFY(respostas->caixas.last().texto.endsWith(u"O programa vai terminar."_s));
    QVERIFY(fechou && !base->isVisible());
    QVERIFY(!Dados().bd.Aberta() && !Dados().sócios);
  }

  // "Print to file" chosen in the print set-up: each document gets a PDF of its own in
  // "Impressões", never the one file name. With the preview on, the card waits over the
  // window in pages of that paper; closed, nothing is printed; printed, the whole document.
  void imprimirParaFicheiroEPreVisualizacao() {
    Sócio(9, 160);
    Abrir();
    const QString fixo = ficheiro->Caminho(u"print.pdf"_s);
    EscolhaImpressoraReposta reposta;
    ImpressoraEscolhida().setOutputFileName(fixo); // what "Configurar Impressora" offers
    {
      auto vigia = QuandoModal<QPrintDialog>([&](QPrintDialog &d) { d.accept(); });
      Acção(u"Menu_Arquivo_7"_s)->trigger();
    }
    const auto desligar = qScopeGuard([] { DefinirPréVisualizarImpressões(false); });
    Acção(u"Menu_Arquivo_PreVisualizar"_s)->trigger();
    for (const bool imprimir : {false, true}) {
      int páginas = 0;
      QWidget *sobre = nullptr;
      auto vigia = QuandoModal<QPrintPreviewDialog>([&](QPrintPreviewDialog &d) {
        páginas = d.findChild<QPrintPreviewWidget *>()->pageCount();
        sobre = d.parentWidget();
        if (!imprimir)
          return d.close(), void();
        auto confirmar = QuandoModal<QPrintDialog>([](QPrintDialog &p) { p.accept(); });
        for (QAction *a : d.findChildren<QAction *>())
          if (a->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
            a->trigger();
      });
      Acção(u"Menu_Dados_Imprimir_1"_s)->trigger();
      QCOMPARE(páginas, 2);
      QCOMPARE(sobre, base.get());
      QCOMPARE(respostas->caixas.size(), int(imprimir));
    }
    Acção(u"Menu_Arquivo_PreVisualizar"_s)->trigger(); // off: straight to its file
    Acção(u"Menu_Dados_Imprimir_1"_s)->trigger();
    QVERIFY(!QFile::exists(fixo));
    QCOMPARE(QDir(ficheiro->Caminho(u"Impressões"_s)).entryList(QDir::Files).size(), 2);
    for (const PedidoMensagem &m : respostas->caixas) {
      const QString caminho = m.texto.section(u'\n', -1);
      QCOMPARE(QFileInfo(caminho).dir().dirName(), u"Impressões"_s);
      QCOMPARE(LerPdf(caminho).páginas, 2);
    }
  }

  // A listing opens from its item; afterwards the screen shows the current member as stored,
  // though the listing moved the shared recordset. No two items of a menu share an access
  // key. The card prints what the screen shows, saved or not.
  void janelasLigadasPeloPrograma() {
    Sócio(3);
    Abrir();
    Sócio(4);
    int aberta = 0;
    base->LigarJanela(JanelaMenu::QuotasAtraso, [&] {
      ++aberta;
      Dados().sócios->MoverÚltimo();
      Controlo(base.get(), u"Nome"_s)->setText(u"por gravar"_s);
    });
    Acção(u"Menu_Listagens_2"_s)->trigger();
    QCOMPARE(aberta, 1);
    QCOMPARE(Nome(), u"Sócio 3"_s);
    for (QMenu *menu : base->findChildren<QMenu *>()) {
      QStringList teclas;
      for (QAction *a : menu->actions())
        if (const qsizetype e = a->text().indexOf(u'&'); e >= 0 && e + 1 < a->text().size()) {
          const QString tecla = a->text().sliced(e + 1, 1).toLower();
          QVERIFY2(!teclas.contains(tecla), qPrintable(menu->title() + u": "_s + a->text()));
          teclas << tecla;
        }
    }
    FábricaImpressãoFalsa impressões;
    Controlo(base.get(), u"Nome"_s)->setText(u"Nome ainda por gravar"_s);
    Acção(u"Menu_Dados_Imprimir_1"_s)->trigger();
    QCOMPARE(impressões.documento, u"Ficha de Sócio 3"_s); // the print job's name
    QVERIFY(impressões.textos.contains(u"Sócio nº 3  -  Nome ainda por gravar"_s));
  }
};

QTEST_MAIN(TestMenu)
#include "TestMenu.moc"
