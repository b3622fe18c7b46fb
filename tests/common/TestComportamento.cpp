#include "Campos.h"
#include "Mensagens.h"
#include "Respostas.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QColor Amarelo(255, 255, 0);

// Types one character the way a keyboard delivers it: the key and the text it produces.
void Escrever(QWidget *w, const QString &texto) {
  for (QChar c : texto) {
    const auto tecla = c.isLetterOrNumber() ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, w, tecla, QString(c), Qt::NoModifier);
  }
}

} // namespace

// Drives real fields of a shown, active window, the focus moved by Tab and by the mouse.
class TestComportamento : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> janela;
  QLineEdit *primeiro = nullptr;
  QLineEdit *segundo = nullptr;
  // For the whole suite: no message box is expected, and the beeps are counted.
  Respostas respostas;
  int &bips = respostas.bips;

  void Focar(QWidget *w) {
    w->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), w);
  }
  // Shows the window, active, with the focus in the first field.
  void Mostrar() {
    janela->show();
    janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(janela.get()));
    Focar(primeiro);
  }

private slots:
  void init() {
    bips = 0;
    respostas.caixas.clear();
    janela = std::make_unique<QWidget>();
    auto *l = new QVBoxLayout(janela.get());
    l->addWidget(primeiro = new QLineEdit);
    l->addWidget(segundo = new QLineEdit);
  }
  void cleanup() {
    janela.reset();
    QVERIFY2(respostas.caixas.isEmpty(), qPrintable(respostas.caixas.value(0).texto));
  }

  void cliqueSeleccionaTudoSoAoEntrar() {
    // A multi-line field receives its clicks on its viewport.
    auto *memo = new QPlainTextEdit(u"Sócio fundador"_s);
    janela->layout()->addWidget(memo);
    AplicarComportamento(memo, {});
    AplicarComportamento(segundo, {});
    segundo->setText(u"Rua do Sol"_s);
    Mostrar();
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(memo->textCursor().selectedText(), u"Sócio fundador"_s);

    // The click that brings the focus selects everything; a further one only places the cursor.
    const int y = segundo->height() / 2;
    QTest::mouseClick(segundo, Qt::LeftButton, {}, QPoint(10, y));
    QCOMPARE(segundo->selectedText(), u"Rua do Sol"_s);
    QTest::mouseClick(segundo, Qt::LeftButton, {}, QPoint(10, y));
    QVERIFY(!segundo->hasSelectedText());

    // A selection dragged by the user on entering is theirs to keep.
    Focar(primeiro);
    QTest::mousePress(segundo, Qt::LeftButton, {}, QPoint(2, y));
    QTest::mouseMove(segundo, QPoint(25, y));
    QTest::mouseRelease(segundo, Qt::LeftButton, {}, QPoint(25, y));
    QVERIFY(segundo->hasSelectedText() && segundo->selectedText() != segundo->text());
  }

  // Refused keys beep; re-applying replaces the behaviour; text set by the program passes.
  void filtros() {
    const std::tuple<FiltroTeclas, QString, QString, QString, int> casos[] = {
        {FiltroTeclas::Numérica, QString(), u"-12 3,5e+"_s, u"-12 3,5"_s, 2},
        {FiltroTeclas::Data, QString(), u"5/9-1996 x."_s, u"5/9-1996"_s, 3},
        {FiltroTeclas::Letras, QString(), u"Jo5ão-Sá Ü. B'ª"_s, u"JoãoSá Ü B"_s, 5},
        // A phone number stored with its "+".
        {FiltroTeclas::DígitosEspaço, u"+351"_s, u" 21x"_s, u"+351 21"_s, 1}};
    for (const auto &[filtro, inicial, escrito, fica, recusadas] : casos) {
      bips = 0;
      AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
      AplicarComportamento(primeiro,
                           {.realçar = false, .seleccionarTudo = false, .teclas = filtro});
      primeiro->setText(inicial);
      Mostrar();
      primeiro->end(false);
      Escrever(primeiro, escrito);
      QTest::keyClick(primeiro, Qt::Key_A, Qt::AltModifier);
      QCOMPARE(primeiro->text(), fica);
      QCOMPARE(bips, recusadas + 1);
    }
  }

  // A paste holding a refused character is refused whole: "12.5" must not become 125.
  void teclasDeControloEColar() {
    AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
    QSignalSpy enter(primeiro, &QLineEdit::returnPressed);
    Mostrar();
    Escrever(primeiro, u"12345"_s);
    QTest::keyClick(primeiro, Qt::Key_Backspace);
    QTest::keyClick(primeiro, Qt::Key_Home);
    QTest::keyClick(primeiro, Qt::Key_Delete);
    QTest::keyClick(primeiro, Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QTest::keyClick(primeiro, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(primeiro->selectedText(), u"234"_s);
    QTest::keyClick(primeiro, Qt::Key_End);
    // Two refused pastes in a row: the second puts back what was there, not the first one.
    QApplication::clipboard()->setText(u"9x6"_s);
    QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
    QApplication::clipboard()->setText(u"-1"_s);
    primeiro->selectAll();
    primeiro->paste();
    QApplication::clipboard()->setText(u"96"_s);
    QTest::keyClick(primeiro, Qt::Key_End);
    QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(primeiro->text(), u"23496"_s); // both refused pastes put back "234"
    QCOMPARE(bips, 2);

    // An amount field never keeps a point: typed on either keyboard, or pasted, it is the comma.
    AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Numérica});
    primeiro->setMaxLength(8);
    primeiro->clear();
    Escrever(primeiro, u"1.234,5"_s);
    QTest::keyClick(primeiro, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(primeiro, Qt::Key_Comma, Qt::KeypadModifier); // past the limit: dropped
    QCOMPARE(primeiro->text(), u"1,234,5,"_s);
    QApplication::clipboard()->setText(u"12.345"_s);
    primeiro->selectAll();
    primeiro->paste();
    QCOMPARE(primeiro->text(), u"12,345"_s);
  }

  void outraJanelaNaoEPerdaDeFoco() {
    // Another window in front is no exit from the field; coming back keeps the selection.
    int saídas = 0;
    AplicarComportamento(primeiro, {.compactar = true, .aoPerderFoco = [&] { ++saídas; }});
    AplicarComportamento(segundo, {});
    Mostrar();
    Escrever(primeiro, u"  a  b "_s);
    primeiro->setCursorPosition(1);

    QWidget outra;
    outra.show();
    outra.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&outra));
    QCOMPARE(CorDoCampo(primeiro), Amarelo);
    QCOMPARE(saídas, 0);

    outra.hide();
    janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(janela.get()));
    QVERIFY(!primeiro->hasSelectedText());

    QTest::keyClick(primeiro, Qt::Key_Tab);
    QCOMPARE(primeiro->text(), u"a b"_s);
    QCOMPARE(saídas, 1);

    // A field destroyed while it has the focus does not run its exit, and the focus goes on.
    Focar(primeiro);
    delete primeiro;
    primeiro = nullptr;
    segundo->setFocus(Qt::TabFocusReason);
    QCOMPARE(CorDoCampo(segundo), Amarelo);
    QCOMPARE(saídas, 1);
  }
};

QTEST_MAIN(TestComportamento)
#include "TestComportamento.moc"
