#include "Impressao.h"
#include "Modal.h"
#include "PastaTeste.h"
#include "TextosVisiveis.h"
#include "Traducoes.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QSpinBox>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::StringLiterals;

// Qt's own dialogs and menus, opened as the program opens them, speak European Portuguese.
class TestTraducoes : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { InstalarTraduçõesQt(); }

  // The printer dialog, and the preview of a document (PDF to the test folder were it printed).
  void dialogosDeImpressao() {
    PastaTeste pasta;
    QStringList textos;
    auto vigia = QuandoModal<QPrintDialog>([&](QPrintDialog &d) {
      textos = TextosVisíveis(&d);
      d.reject();
    });
    QVERIFY(!ConfigurarImpressora(nullptr));
    QVERIFY(textos.size() > 20);
    QCOMPARE(TextosNãoTraduzidos(textos), QStringList());

    DefinirPréVisualizarImpressões(true);
    auto prévia = QuandoModal<QPrintPreviewDialog>([&](QPrintPreviewDialog &d) {
      textos = TextosVisíveis(&d);
      d.reject();
    });
    auto documento = AbrirImpressão(u"Ficha de Sócio 1"_s);
    QVERIFY(documento);
    documento->Imprimir(u"olá"_s);
    documento->TerminarDocumento();
    DefinirPréVisualizarImpressões(false);
    QVERIFY(textos.size() > 15);
    QCOMPARE(TextosNãoTraduzidos(textos), QStringList());
  }

  void menusDeContexto() {
    QWidget janela;
    janela.resize(160, 160);
    auto *ajuda = new QTextBrowser(&janela);
    ajuda->setHtml(u"<p>texto da <a href='#x'>ajuda</a></p>"_s);
    // The scroll area hands its viewport's events to the browser.
    const QList<QWidget *> campos{ajuda->viewport(), new QSpinBox(&janela)};
    janela.show();
    QVERIFY(QTest::qWaitForWindowExposed(&janela));
    for (QWidget *campo : campos) {
      const QStringList textos = TextosMenuDeContexto(campo);
      QVERIFY2(textos.size() >= 2, "o menu não abriu");
      QCOMPARE(TextosNãoTraduzidos(textos), QStringList());
    }
  }
};

QTEST_MAIN(TestTraducoes)
#include "TestTraducoes.moc"
