#include "Campos.h"
#include "Mensagens.h"
#include "Respostas.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

class TestCampos : public QObject {
  Q_OBJECT

  // For the whole suite: the beeps are counted.
  Respostas respostas;
  int &bips = respostas.bips;

private slots:
  void init() { bips = 0; }

  void compactar_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("brancos à volta e dentro") << u"  José   da  Silva  "_s << u"José da Silva"_s;
    // Only code 32 is a blank: a tab or a no-break space is text and stays where it is.
    QTest::newRow("tabulação fica") << u"a\t\tb"_s << u"a\t\tb"_s;
    QTest::newRow("espaço inseparável fica") << u"a\u00a0\u00a0b"_s << u"a\u00a0\u00a0b"_s;
  }

  void compactar() {
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(CompactarEspaços(texto), esperado);
  }

  // The amount fields' key filter: what passes, and one beep for each key refused.
  void teclaNumerica() {
    for (QChar c : u"\b ,-9"_s)
      QVERIFY2(TeclaNumérica(c), qPrintable(QString(c)));
    QCOMPARE(bips, 0);
    for (QChar c : u".E+\u0661"_s)
      QVERIFY2(!TeclaNumérica(c), qPrintable(QString(c)));
    QCOMPARE(bips, 4);
  }

  void cortar_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("mais curto que n")
        << u"Rua Almirante Gago Coutinho 1"_s << 30 << u"Rua Almirante Gago Coutinho 1"_s;
    const QString semBranco = u"x"_s.repeated(40);
    QTest::newRow("sem brancos fica inteiro") << semBranco << 30 << semBranco;

    // Blanks at or beyond position n do not count; the last one below n does.
    QTest::newRow("branco na posição n não conta")
        << u"aaaa bbbbbbbbbbbbbbbbbbbbbbbb cccccccccc"_s << 30 << u"aaaa"_s;
    QTest::newRow("branco na posição n - 1")
        << u"aaaaaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbbbbbb"_s << 30 << u"a"_s.repeated(28);
    QTest::newRow("exactamente n caracteres") << u"aaaa bbbbb"_s << 10 << u"aaaa"_s;
    QTest::newRow("só o primeiro é branco") << u" "_s + u"b"_s.repeated(39) << 30 << QString();
    QTest::newRow("vazio, n=0") << QString() << 0 << QString();
  }

  void cortar() {
    QFETCH(QString, texto);
    QFETCH(int, n);
    QFETCH(QString, esperado);
    CortarTexto(texto, n);
    QCOMPARE(texto, esperado);
  }

  void posicaoCentrada_data() {
    QTest::addColumn<QRect>("janela");
    QTest::addColumn<QRect>("principal");
    QTest::addColumn<QRect>("ecrã");
    QTest::addColumn<QPoint>("esperado");
    const QRect ecrã(0, 0, 1024, 768);
    QTest::newRow("centrada sobre a principal")
        << QRect(0, 0, 400, 200) << QRect(100, 50, 800, 600) << ecrã << QPoint(300, 250);
    // Centred it would end at 50 + 300 + 650 = 1000 > 768: its bottom meets the screen's bottom.
    QTest::newRow("mais alta que o espaço abaixo")
        << QRect(0, 0, 300, 650) << QRect(100, 300, 500, 400) << ecrã << QPoint(200, 768 - 650);
    // A second monitor, or a task bar on top: the available area does not start at 0,0.
    QTest::newRow("ecrã deslocado, maior que ele")
        << QRect(0, 0, 2000, 1000) << QRect(1300, 40, 600, 400) << QRect(1280, 30, 1920, 1050)
        << QPoint(1280, 30);
    QTest::newRow("ecrã deslocado, abaixo do fundo")
        << QRect(0, 0, 400, 600) << QRect(1400, 700, 600, 300) << QRect(1280, 30, 1920, 1050)
        << QPoint(1500, 30 + 1050 - 600);
  }

  void posicaoCentrada() {
    QFETCH(QRect, janela);
    QFETCH(QRect, principal);
    QFETCH(QRect, ecrã);
    QFETCH(QPoint, esperado);
    const QRect r = PosiçãoCentrada(janela, principal, ecrã);
    QCOMPARE(r.topLeft(), esperado);
    QCOMPARE(r.size(), janela.size());
  }

  void centrarJanela() {
    const QRect área = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget principal;
    principal.setWindowFlag(Qt::FramelessWindowHint);
    principal.setGeometry(área.left() + 40, área.top() + 30, 600, 400);
    principal.show();
    QVERIFY(QTest::qWaitForWindowExposed(&principal));

    // A window built with a layout and never resized takes its layout's size first.
    QWidget janela(nullptr, Qt::Window | Qt::FramelessWindowHint);
    auto *l = new QVBoxLayout(&janela);
    auto *lista = new QListWidget;
    lista->setFixedSize(200, 100);
    l->addWidget(lista);
    CentrarJanela(&janela, &principal);
    QVERIFY(janela.width() >= 200 && janela.width() < 600);
    const auto Centro = [&] { return janela.geometry().center(); };
    QVERIFY((Centro() - principal.frameGeometry().center()).manhattanLength() <= 2);
    // Without a main window on view it is centred on the screen.
    principal.hide();
    CentrarJanela(&janela, &principal);
    QVERIFY((Centro() - área.center()).manhattanLength() <= 2);
  }
};

QTEST_MAIN(TestCampos)
#include "TestCampos.moc"
