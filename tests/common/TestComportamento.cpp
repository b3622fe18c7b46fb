#include "Campos.h"
#include "Mensagens.h"
#include "Respostas.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QColor Amarelo(255, 255, 0);
// Types the way a keyboard delivers it: the key and the text it produces.
void Escrever(QWidget *w, const QString &texto) {
  for (QChar c : texto)
    QTest::sendKeyEvent(QTest::Click, w,
                        c.isLetterOrNumber() ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown,
                        QString(c), Qt::NoModifier);
}
} // namespace

// Drives real fields of a shown, active window, the focus moved by Tab and by the mouse.
class TestComportamento : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> janela;
  QLineEdit *primeiro = nullptr;
  QLineEdit *segundo = nullptr;
  Respostas respostas; // no message box is expected; the beeps are counted
  int &bips = respostas.bips;

  void Focar(QWidget *w) {
    w->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), w);
  }
  void Mostrar() {
    janela->show();
    janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(janela.get()));
    Focar(primeiro);
  }

private slots:
  void init() {
    bips = 0;
    janela = std::make_unique<QWidget>();
    auto *l = new QVBoxLayout(janela.get());
    l->addWidget(primeiro = new QLineEdit);
    l->addWidget(segundo = new QLineEdit);
  }
  void cleanup() {
    janela.reset();
    QVERIFY2(respostas.caixas.isEmpty(), qPrintable(respostas.caixas.value(0).texto));
  }

  // The click that brings the focus selects everything; a further one only places the cursor.
  void cliqueSeleccionaTudoSoAoEntrar() {
    AplicarComportamento(segundo, {});
    segundo->setText(u"Rua do Sol"_s);
    Mostrar();
    const int y = segundo->height() / 2;
    QTest::mouseClick(segundo, Qt::LeftButton, {}, QPoint(10, y));
    QCOMPARE(segundo->selectedText(), u"Rua do Sol"_s);
    QTest::mouseClick(segundo, Qt::LeftButton, {}, QPoint(10, y));
    QVERIFY(!segundo->hasSelectedText());
  }

  // Refused keys beep; re-applying replaces the behaviour; text set by the program passes.
  void filtros() {
    const std::tuple<FiltroTeclas, QString, QString, QString, int> casos[] = {
        {FiltroTeclas::Numérica, QString(), u"-12 3,5e+"_s, u"-12 3,5"_s, 2},
        {FiltroTeclas::Data, QString(), u"5/9-1996 x."_s, u"5/9-1996"_s, 3},
        {FiltroTeclas::Letras, QString(), u"Jo5ão-Sá Ü. B'ª"_s, u"JoãoSá Ü B"_s, 5},
        {FiltroTeclas::DígitosEspaço, u"+351"_s, u" 21x"_s, u"+351 21"_s, 1}}; // a phone's "+"
    for (const auto &[filtro, inicial, escrito, fica, recusadas] : casos) {
      bips = 0;
      AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
      AplicarComportamento(primeiro, {.realçar = false, .seleccionarTudo = false, .teclas = filtro});
      primeiro->setText(inicial);
      Mostrar();
      primeiro->end(false);
      Escrever(primeiro, escrito);
      QTest::keyClick(primeiro, Qt::Key_A, Qt::AltModifier);
      QCOMPARE(primeiro->text(), fica);
      QCOMPARE(bips, recusadas + 1);
    }
  }

  // Editing keys pass; a paste holding a refused character is refused whole ("12.5" must not
  // become 125), and a second one puts back what was there; an amount never keeps a point.
  void teclasDeControloEColar() {
    AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
    QSignalSpy enter(primeiro, &QLineEdit::returnPressed);
    Mostrar();
    Escrever(primeiro, u"12345"_s);
    for (const auto tecla : {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete, Qt::Key_Return})
      QTest::keyClick(primeiro, tecla);
    QCOMPARE(enter.count(), 1);
    QTest::keyClick(primeiro, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(primeiro->selectedText(), u"234"_s);
    QTest::keyClick(primeiro, Qt::Key_End);
    QApplication::clipboard()->setText(u"9x6"_s);
    QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
    QApplication::clipboard()->setText(u"-1"_s);
    primeiro->selectAll();
    primeiro->paste();
    QApplication::clipboard()->setText(u"96"_s);
    QTest::keyClick(primeiro, Qt::Key_End);
    QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(primeiro->text(), u"23496"_s);
    QCOMPARE(bips, 2);
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

  // Another window in front is no exit from the field; Tab is, once; a field destroyed with
  // the focus runs no exit, and the focus goes on.
  void outraJanelaNaoEPerdaDeFoco() {
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
    outra.hide();
    janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(janela.get()));
    QVERIFY(!primeiro->hasSelectedText() && saídas == 0);
    QTest::keyClick(primeiro, Qt::Key_Tab);
    QCOMPARE(primeiro->text(), u"a b"_s);
    QCOMPARE(saídas, 1);
    Focar(primeiro);
    delete primeiro;
    segundo->setFocus(Qt::TabFocusReason);
    QCOMPARE(CorDoCampo(segundo), Amarelo);
    QCOMPARE(saídas, 1);
  }
};

QTEST_MAIN(TestComportamento)
#include "TestComportamento.moc"
