#include "Campos.h"
#include "Guardas.h"
#include "Mensagens.h"
#include "Respostas.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QColor Amarelo(255, 255, 0);
const QColor Branco(255, 255, 255);

// Types one character the way a keyboard delivers it: the key and the text it produces.
void Escrever(QWidget *w, const QString &texto) {
  for (QChar c : texto) {
    const auto tecla = c.isLetterOrNumber() ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, w, tecla, QString(c), Qt::NoModifier);
  }
}

} // namespace

Q_DECLARE_METATYPE(FiltroTeclas)

// Drives real fields of a shown, active window: the focus moves by Tab and by the mouse as a
// user would move it.
class TestComportamento : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> janela;
  QLineEdit *primeiro = nullptr;
  QLineEdit *segundo = nullptr;
  QPushButton *botão = nullptr;
  // For the whole suite: no message box is expected, and the beeps are counted.
  Respostas respostas;
  int &bips = respostas.bips;
  RelógioFixo relógio{QDateTime(QDate(2026, 3, 10), QTime(10, 0))};

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
  static void Tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

private slots:
  void init() {
    bips = 0;
    respostas.caixas.clear();
    janela = std::make_unique<QWidget>();
    auto *l = new QVBoxLayout(janela.get());
    l->addWidget(primeiro = new QLineEdit);
    l->addWidget(segundo = new QLineEdit);
    auto *linhaBotões = new QHBoxLayout; // the button keeps its own width
    linhaBotões->addWidget(botão = new QPushButton(u"G&ravar Dados"_s));
    linhaBotões->addStretch();
    l->addLayout(linhaBotões);
  }
  void cleanup() {
    janela.reset();
    QVERIFY2(respostas.caixas.isEmpty(), qPrintable(respostas.caixas.value(0).texto));
  }

  void tabPintaESeleccionaTudo();
  void cliqueSeleccionaTudoSoAoEntrar();
  void ordemDasAccoes();
  void filtros_data();
  void filtros();
  void pontoViraVirgula();
  void teclasDeControloEColar();
  void limiteNaoParteCaracteres_data();
  void limiteNaoParteCaracteres();
  void ano_data();
  void ano();
  void outraJanelaNaoEPerdaDeFoco();
  void campoDestruidoComFoco();
  void enfaseDoBotao();
};

void TestComportamento::tabPintaESeleccionaTudo() {
  AplicarComportamento(primeiro, {});
  AplicarComportamento(segundo, {});
  QCOMPARE(CorDoCampo(segundo), Branco); // before it ever had the focus
  primeiro->setText(u"Maria"_s);
  segundo->setText(u"Rua do Sol"_s);
  Mostrar();
  Tab();
  QCOMPARE(CorDoCampo(primeiro), Branco);
  QCOMPARE(CorDoCampo(segundo), Amarelo);
  QCOMPARE(segundo->selectedText(), u"Rua do Sol"_s);
  Escrever(segundo, u"Av"_s); // typing replaces the whole content
  QCOMPARE(segundo->text(), u"Av"_s);
  QTest::keyClick(segundo, Qt::Key_Backtab);
  QCOMPARE(CorDoCampo(segundo), Branco);
  QCOMPARE(primeiro->selectedText(), u"Maria"_s);
}

void TestComportamento::cliqueSeleccionaTudoSoAoEntrar() {
  // A multi-line field receives its clicks on its viewport.
  auto *memo = new QPlainTextEdit(u"Sócio fundador"_s);
  janela->layout()->addWidget(memo);
  AplicarComportamento(memo, {});
  AplicarComportamento(primeiro, {});
  AplicarComportamento(segundo, {});
  segundo->setText(u"Rua do Sol"_s);
  Mostrar();
  QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(CorDoCampo(memo), Amarelo);
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
  QVERIFY(segundo->hasSelectedText());
  QVERIFY(segundo->selectedText() != segundo->text());
}

void TestComportamento::ordemDasAccoes() {
  // The window's own steps run inside the shared ones: the colour is on before them,
  // select-all covers the text they wrote, and the colour goes after them.
  QStringList registo;
  const auto Cor = [&] { registo << (CorDoCampo(segundo) == Amarelo ? u"a"_s : u"b"_s); };
  AplicarComportamento(segundo, {.teclas = FiltroTeclas::Dígitos,
                                 .aoGanharFoco =
                                     [&] {
                                       Cor();
                                       segundo->setText(QString::number(segundo->text().toInt()));
                                     },
                                 .aoPerderFoco =
                                     [&] {
                                       Cor();
                                       segundo->setText(u"%1"_s.arg(segundo->text(), 6, u'0'));
                                     }});
  segundo->setText(u"000012"_s);
  Mostrar();
  Tab();
  QCOMPARE(segundo->selectedText(), u"12"_s);
  Escrever(segundo, u"7"_s);
  Tab();
  QCOMPARE(segundo->text(), u"000007"_s);
  QCOMPARE(registo, (QStringList{u"a"_s, u"a"_s}));
}

// Typed keys the field refuses beep; re-applying a behaviour replaces the earlier one; text the
// program set is not filtered; an access key no button answers types nothing.
void TestComportamento::filtros_data() {
  QTest::addColumn<FiltroTeclas>("filtro");
  QTest::addColumn<QString>("inicial");
  QTest::addColumn<QString>("escrito");
  QTest::addColumn<QString>("fica");
  QTest::addColumn<int>("bipsEsperados");
  QTest::newRow("dígitos") << FiltroTeclas::Dígitos << QString() << u"1a2 -3.,"_s << u"123"_s << 5;
  QTest::newRow("numérica") << FiltroTeclas::Numérica << QString() << u"-12 3,5e+"_s << u"-12 3,5"_s
                            << 2;
  QTest::newRow("data") << FiltroTeclas::Data << QString() << u"5/9-1996 x."_s << u"5/9-1996"_s
                        << 3;
  QTest::newRow("letras") << FiltroTeclas::Letras << QString() << u"Jo5ão-Sá Ü. B'ª"_s
                          << u"JoãoSá Ü B"_s << 5;
  QTest::newRow("telefone guardado com +")
      << FiltroTeclas::DígitosEspaço << u"+351"_s << u" 21x"_s << u"+351 21"_s << 1;
  QTest::newRow("sem filtro") << FiltroTeclas::Nenhum << QString() << u"a1-.ç"_s << u"a1-.ç"_s << 0;
}

void TestComportamento::filtros() {
  QFETCH(FiltroTeclas, filtro);
  QFETCH(QString, inicial);
  QFETCH(QString, escrito);
  QFETCH(QString, fica);
  QFETCH(int, bipsEsperados);
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
  AplicarComportamento(primeiro, {.realçar = false, .seleccionarTudo = false, .teclas = filtro});
  primeiro->setText(inicial);
  Mostrar();
  primeiro->end(false);
  Escrever(primeiro, escrito);
  QTest::keyClick(primeiro, Qt::Key_A, Qt::AltModifier);
  QCOMPARE(primeiro->text(), fica);
  QCOMPARE(bips, bipsEsperados + 1);
  QCOMPARE(CorDoCampo(primeiro), Branco);
}

void TestComportamento::pontoViraVirgula() {
  // An amount field never keeps a point: typed on either keyboard, or pasted, it is the comma.
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Numérica});
  primeiro->setMaxLength(8);
  Mostrar();
  Escrever(primeiro, u"1.234,5"_s);
  QTest::keyClick(primeiro, Qt::Key_Period, Qt::KeypadModifier);
  QTest::keyClick(primeiro, Qt::Key_Comma, Qt::KeypadModifier); // past the limit: dropped
  QCOMPARE(primeiro->text(), u"1,234,5,"_s);
  primeiro->selectAll(); // the comma replaces a selection as any typed key does
  QTest::keyClick(primeiro, Qt::Key_Period, Qt::KeypadModifier);
  QCOMPARE(primeiro->text(), u","_s);
  QApplication::clipboard()->setText(u"12.345"_s);
  primeiro->selectAll();
  primeiro->paste();
  QCOMPARE(primeiro->text(), u"12,345"_s);
  QCOMPARE(primeiro->cursorPosition(), 6);
  QCOMPARE(bips, 0);
}

// Editing keys pass the filter. A paste holding a character the field refuses is refused whole:
// keeping only its digits could turn "12.5" into 125. By the key and the context menu alike.
void TestComportamento::teclasDeControloEColar() {
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
  QCOMPARE(bips, 0);

  QTest::keyClick(primeiro, Qt::Key_End);
  QApplication::clipboard()->setText(u"9x6"_s);
  QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(primeiro->text(), u"234"_s);
  QCOMPARE(bips, 1);
  QApplication::clipboard()->setText(u"96"_s);
  QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(primeiro->text(), u"23496"_s);
  QApplication::clipboard()->setText(u"-1"_s);
  primeiro->selectAll();
  primeiro->paste();
  QCOMPARE(primeiro->text(), u"23496"_s);
  QCOMPARE(bips, 2);
  Tab();
  QCOMPARE(QApplication::focusWidget(), segundo);
}

void TestComportamento::limiteNaoParteCaracteres_data() {
  QTest::addColumn<int>("como"); // 0 typed, 1 pasted, 2 set by the program
  QTest::addColumn<QString>("antes");
  QTest::addColumn<QString>("junta");
  QTest::addColumn<QString>("fica");
  const QString cara = u"\U0001F600"_s;
  for (int como : {0, 1, 2}) {
    const QByteArray n = QByteArray::number(como);
    QTest::newRow("cabe um de dois, " + n) << como << u"AAA"_s << cara + cara << u"AAA"_s + cara;
    QTest::newRow("não cabe nenhum, " + n) << como << u"AAAAA"_s << cara << u"AAAAA"_s;
  }
  // Inserted in the middle, the half that fitted would sit inside the text.
  QTest::newRow("no meio") << 0 << u"AA|AAA"_s << cara << u"AAAAA"_s;
}

void TestComportamento::limiteNaoParteCaracteres() {
  QFETCH(int, como);
  QFETCH(QString, antes);
  QFETCH(QString, junta);
  QFETCH(QString, fica);
  AplicarComportamento(primeiro, {.seleccionarTudo = false});
  primeiro->setMaxLength(6);
  Mostrar();
  const qsizetype cursor = antes.indexOf(u'|');
  antes.remove(u'|');
  primeiro->setText(antes);
  primeiro->setCursorPosition(int(cursor < 0 ? antes.size() : cursor));
  if (como == 0) {
    // One key event for each character, as a keyboard or an input method delivers it.
    for (qsizetype i = 0; i < junta.size(); i += 2)
      QTest::sendKeyEvent(QTest::Click, primeiro, Qt::Key_unknown, junta.mid(i, 2), Qt::NoModifier);
  } else if (como == 1) {
    QApplication::clipboard()->setText(junta);
    primeiro->paste();
  } else {
    primeiro->setText(antes + junta);
  }
  QCOMPARE(primeiro->text(), fica);
  QVERIFY(primeiro->text().isValidUtf16());
  QCOMPARE(bips, 0);
}

void TestComportamento::ano_data() {
  QTest::addColumn<QString>("escrito");
  QTest::addColumn<QString>("fica");
  QTest::newRow("1990 fica") << u"1990"_s << u"1990"_s;
  QTest::newRow("2999 fica") << u"2999"_s << u"2999"_s;
  QTest::newRow("1989 muda") << u"1989"_s << u"2026"_s;
  QTest::newRow("3000 muda") << u"3000"_s << u"2026"_s;
  QTest::newRow("vazio muda") << QString() << u"2026"_s;
  QTest::newRow("absurdo muda") << u"9"_s.repeated(30) << u"2026"_s;
}

void TestComportamento::ano() {
  QFETCH(QString, escrito);
  QFETCH(QString, fica);
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos, .ano = true});
  primeiro->setText(u"2003"_s);
  Mostrar();
  QTest::keyClick(primeiro, Qt::Key_Backspace); // the whole text is selected: clears it
  Escrever(primeiro, escrito);
  Tab();
  QCOMPARE(primeiro->text(), fica);
  QCOMPARE(bips, fica == escrito ? 0 : 1);
}

void TestComportamento::outraJanelaNaoEPerdaDeFoco() {
  // Another window in front is not the user leaving the field: nothing of the exit runs, and
  // on coming back the user's selection is not replaced.
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
  QCOMPARE(QApplication::focusWidget(), primeiro);
  QVERIFY(!primeiro->hasSelectedText());
  QCOMPARE(primeiro->cursorPosition(), 1);

  Tab();
  QCOMPARE(primeiro->text(), u"a b"_s);
  QCOMPARE(saídas, 1);
  // A field without squeezing keeps what was typed.
  Escrever(segundo, u" a  b "_s);
  Tab();
  QCOMPARE(segundo->text(), u" a  b "_s);
}

void TestComportamento::campoDestruidoComFoco() {
  // Closing a window while a field has the focus must not run that field's exit.
  int saídas = 0;
  AplicarComportamento(primeiro, {.aoPerderFoco = [&] { ++saídas; }});
  AplicarComportamento(segundo, {});
  Mostrar();
  delete primeiro;
  primeiro = nullptr;
  segundo->setFocus(Qt::TabFocusReason);
  QCOMPARE(CorDoCampo(segundo), Amarelo);
  janela.reset();
  QCOMPARE(saídas, 0);
}

void TestComportamento::enfaseDoBotao() {
  AplicarComportamento(primeiro, {});
  ÊnfaseBotão(botão);
  Mostrar();
  const QRect antes = botão->geometry();
  Tab(); // to segundo
  Tab(); // to the button
  QVERIFY(botão->font().bold());
  // The bold caption must not make the button, or its neighbours, jump.
  QApplication::processEvents();
  QCOMPARE(botão->geometry(), antes);
  Tab();
  QVERIFY(!botão->font().bold());
  QTest::mouseClick(botão, Qt::LeftButton); // a click gives the focus, and so the emphasis
  QVERIFY(botão->font().bold());
}

QTEST_MAIN(TestComportamento)
#include "TestComportamento.moc"
