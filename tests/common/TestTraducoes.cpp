#include "Impressao.h"
#include "Modal.h"
#include "PastaTeste.h"
#include "TextosVisiveis.h"
#include "Traducoes.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBrowser>
#include <QtTest>

using namespace Qt::StringLiterals;

// Qt's own dialogs and menus, opened as the program opens them, speak European Portuguese.
class TestTraducoes : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { InstalarTraduçõesQt(); }

  void configurarImpressoraEPropriedades() {
    QStringList textos, propriedades;
    QString confirmar;
    auto vigia = QuandoModal<QPrintDialog>([&](QPrintDialog &d) {
      textos = TextosVisíveis(&d);
      confirmar = d.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->text();
      // "Propriedades" opens a window of its own over the set-up.
      QTimer outra;
      outra.setInterval(5);
      connect(&outra, &QTimer::timeout, &outra, [&] {
        auto *janela = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (janela && janela != &d && janela->isVisible()) {
          outra.stop();
          propriedades = TextosVisíveis(janela);
          janela->reject();
        }
      });
      outra.start();
      d.findChild<QPushButton *>(u"properties"_s)->click();
      d.reject();
    });
    QVERIFY(!ConfigurarImpressora(nullptr));
    QVERIFY(textos.size() > 20);
    QVERIFY2(propriedades.size() > 10, "a janela das propriedades não abriu");
    QCOMPARE(TextosNãoTraduzidos(textos), QStringList());
    QCOMPARE(TextosNãoTraduzidos(propriedades), QStringList());
    // The set-up only chooses the printer: its button must not promise to print.
    QVERIFY2(!confirmar.remove(u'&').contains(u"Imprimir"_s), qPrintable(confirmar));
  }

  void preVisualizacao() {
    PastaTeste pasta; // where a PDF would go
    DefinirPréVisualizarImpressões(true);
    QStringList textos;
    auto vigia = QuandoModal<QPrintPreviewDialog>([&](QPrintPreviewDialog &d) {
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
    const QList<QWidget *> campos{new QLineEdit(u"texto"_s, &janela), ajuda->viewport(),
                                  new QSpinBox(&janela), new QScrollBar(Qt::Vertical, &janela)};
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
