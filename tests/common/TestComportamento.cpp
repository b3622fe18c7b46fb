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

  void Mostrar() {
    janela->show();
    janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(janela.get()));
  }
  void Focar(QWidget *w) {
    w->setFocus(Qt::OtherFocusReason);
    QCOMPARE(QApplication::focusWidget(), w);
  }
  static void Tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

private slots:
  void init();
  void cleanup();

  void tabPintaESeleccionaTudo();
  void cliqueSeleccionaTudoSoAoEntrar();
  void cliqueEmMemo();
  void ordemDasAccoes();

  void filtros_data();
  void filtros();
  void teclasDeControloPassam();
  void pontoViraVirgula();
  void teclaAltNaoEscreve();
  void colarRespeitaOFiltro();
  void limiteNaoParteCaracteres_data();
  void limiteNaoParteCaracteres();
  void textoDoProgramaNaoEFiltrado();

  void ano_data();
  void ano();
  void compactarAoSair();

  void outraJanelaNaoEPerdaDeFoco();
  void reaplicarSubstitui();
  void campoDestruidoComFoco();

  void enfaseDoBotao();
};

void TestComportamento::init() {
  bips = 0;
  respostas.caixas.clear();

  janela = std::make_unique<QWidget>();
  auto *l = new QVBoxLayout(janela.get());
  primeiro = new QLineEdit;
  segundo = new QLineEdit;
  auto *linhaBotões = new QHBoxLayout;
  botão = new QPushButton(u"G&ravar Dados"_s);
  linhaBotões->addWidget(botão);
  linhaBotões->addStretch();
  l->addWidget(primeiro);
  l->addWidget(segundo);
  l->addLayout(linhaBotões);
}

void TestComportamento::cleanup() {
  janela.reset();
  QVERIFY2(respostas.caixas.isEmpty(), qPrintable(respostas.caixas.value(0).texto));
}

void TestComportamento::tabPintaESeleccionaTudo() {
  AplicarComportamento(primeiro, {});
  AplicarComportamento(segundo, {});
  // Both start with the normal colour, before they ever had the focus.
  QCOMPARE(CorDoCampo(primeiro), Branco);
  QCOMPARE(CorDoCampo(segundo), Branco);
  primeiro->setText(u"Maria"_s);
  segundo->setText(u"Rua do Sol"_s);
  Mostrar();
  Focar(primeiro);
  QCOMPARE(CorDoCampo(primeiro), Amarelo);

  Tab();
  QCOMPARE(QApplication::focusWidget(), segundo);
  QCOMPARE(CorDoCampo(primeiro), Branco);
  QCOMPARE(CorDoCampo(segundo), Amarelo);
  QCOMPARE(segundo->selectedText(), u"Rua do Sol"_s);

  // Typing replaces the whole content.
  Escrever(segundo, u"Av"_s);
  QCOMPARE(segundo->text(), u"Av"_s);

  QTest::keyClick(segundo, Qt::Key_Backtab);
  QCOMPARE(CorDoCampo(segundo), Branco);
  QCOMPARE(CorDoCampo(primeiro), Amarelo);
  QCOMPARE(primeiro->selectedText(), u"Maria"_s);
}

void TestComportamento::cliqueSeleccionaTudoSoAoEntrar() {
  AplicarComportamento(primeiro, {});
  AplicarComportamento(segundo, {});
  segundo->setText(u"Rua do Sol"_s);
  Mostrar();
  Focar(primeiro);

  // The click that brings the focus selects everything, though the line edit itself places
  // the cursor where the click fell.
  QTest::mouseClick(segundo, Qt::LeftButton, {}, QPoint(10, segundo->height() / 2));
  QCOMPARE(QApplication::focusWidget(), segundo);
  QCOMPARE(CorDoCampo(segundo), Amarelo);
  QCOMPARE(segundo->selectedText(), u"Rua do Sol"_s);

  // A further click in the field the user is in only places the cursor, so that one can edit
  // in the middle of the text.
  QTest::mouseClick(segundo, Qt::LeftButton, {}, QPoint(10, segundo->height() / 2));
  QVERIFY(!segundo->hasSelectedText());

  // A selection dragged by the user on entering is theirs to keep.
  Focar(primeiro);
  const int y = segundo->height() / 2;
  QTest::mousePress(segundo, Qt::LeftButton, {}, QPoint(2, y));
  QTest::mouseMove(segundo, QPoint(25, y));
  QTest::mouseRelease(segundo, Qt::LeftButton, {}, QPoint(25, y));
  QVERIFY(segundo->hasSelectedText());
  QVERIFY(segundo->selectedText() != segundo->text());
}

void TestComportamento::cliqueEmMemo() {
  // A multi-line field receives its clicks on its viewport.
  auto *memo = new QPlainTextEdit(u"Sócio fundador"_s);
  janela->layout()->addWidget(memo);
  AplicarComportamento(memo, {});
  Mostrar();
  Focar(primeiro);
  QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(QApplication::focusWidget(), memo);
  QCOMPARE(CorDoCampo(memo), Amarelo);
  QCOMPARE(memo->textCursor().selectedText(), u"Sócio fundador"_s);
}

void TestComportamento::ordemDasAccoes() {
  // The member number: shown "000012", edited as "12", written back as "000012". The window's
  // own steps run inside the shared ones: the colour is on before it, select-all covers the
  // text it wrote, and the colour goes after it.
  QStringList registo;
  ComportamentoCampo número;
  número.teclas = FiltroTeclas::Dígitos;
  número.aoGanharFoco = [&] {
    registo << (CorDoCampo(segundo) == Amarelo ? u"amarelo"_s : u"branco"_s);
    segundo->setText(QString::number(segundo->text().toLongLong()));
  };
  número.aoPerderFoco = [&] {
    registo << (CorDoCampo(segundo) == Amarelo ? u"amarelo"_s : u"branco"_s);
    segundo->setText(u"%1"_s.arg(segundo->text().toLongLong(), 6, 10, QChar(u'0')));
  };
  AplicarComportamento(segundo, número);
  segundo->setText(u"000012"_s);
  Mostrar();
  Focar(primeiro);

  Tab();
  QCOMPARE(segundo->text(), u"12"_s);
  QCOMPARE(segundo->selectedText(), u"12"_s);
  Escrever(segundo, u"7"_s);
  Tab();
  QCOMPARE(segundo->text(), u"000007"_s);
  QCOMPARE(CorDoCampo(segundo), Branco);
  QCOMPARE(registo, (QStringList{u"amarelo"_s, u"amarelo"_s}));
  QCOMPARE(bips, 0);
}

void TestComportamento::filtros_data() {
  QTest::addColumn<FiltroTeclas>("filtro");
  QTest::addColumn<QString>("escrito");
  QTest::addColumn<QString>("fica");
  QTest::addColumn<int>("bipsEsperados");
  QTest::newRow("dígitos") << FiltroTeclas::Dígitos << u"1a2 -3.,"_s << u"123"_s << 5;
  QTest::newRow("numérica") << FiltroTeclas::Numérica << u"-12 3,5e+"_s << u"-12 3,5"_s << 2;
  QTest::newRow("data") << FiltroTeclas::Data << u"5/9-1996 x."_s << u"5/9-1996"_s << 3;
  QTest::newRow("letras: dígito e hífen recusados")
      << FiltroTeclas::Letras << u"Jo5ão-Sá"_s << u"JoãoSá"_s << 2;
  QTest::newRow("letras: acentos e brancos passam")
      << FiltroTeclas::Letras << u"Conceição Ângela Ü"_s << u"Conceição Ângela Ü"_s << 0;
  QTest::newRow("letras: pontuação recusada")
      << FiltroTeclas::Letras << u"A. B'ª"_s << u"A B"_s << 3;
  QTest::newRow("telefone") << FiltroTeclas::DígitosEspaço << u"+351 21 x"_s << u"351 21 "_s << 2;
  QTest::newRow("sem filtro") << FiltroTeclas::Nenhum << u"a1-.ç"_s << u"a1-.ç"_s << 0;
}

void TestComportamento::filtros() {
  QFETCH(FiltroTeclas, filtro);
  QFETCH(QString, escrito);
  QFETCH(QString, fica);
  QFETCH(int, bipsEsperados);
  AplicarComportamento(primeiro, {.teclas = filtro});
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, escrito);
  QCOMPARE(primeiro->text(), fica);
  QCOMPARE(bips, bipsEsperados);
}

void TestComportamento::teclasDeControloPassam() {
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
  QSignalSpy enter(primeiro, &QLineEdit::returnPressed);
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"12345"_s);

  QTest::keyClick(primeiro, Qt::Key_Backspace);
  QCOMPARE(primeiro->text(), u"1234"_s);
  QTest::keyClick(primeiro, Qt::Key_Home);
  QTest::keyClick(primeiro, Qt::Key_Delete);
  QCOMPARE(primeiro->text(), u"234"_s);
  QTest::keyClick(primeiro, Qt::Key_Right);
  Escrever(primeiro, u"9"_s);
  QCOMPARE(primeiro->text(), u"2934"_s);
  QTest::keyClick(primeiro, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(primeiro->selectedText(), u"2934"_s);
  QTest::keyClick(primeiro, Qt::Key_Return);
  QCOMPARE(enter.count(), 1);
  QCOMPARE(bips, 0);

  // Tab still leaves the field.
  Tab();
  QCOMPARE(QApplication::focusWidget(), segundo);
  QCOMPARE(bips, 0);
}

void TestComportamento::pontoViraVirgula() {
  // An amount field never keeps a point for the reader to guess at: typed on either keyboard,
  // or pasted, it is the decimal comma.
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Numérica});
  primeiro->setMaxLength(8);
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"1.234,5"_s);
  QCOMPARE(primeiro->text(), u"1,234,5"_s);
  QTest::keyClick(primeiro, Qt::Key_Period, Qt::KeypadModifier);
  QTest::keyClick(primeiro, Qt::Key_Comma, Qt::KeypadModifier); // past the limit: dropped
  QCOMPARE(primeiro->text(), u"1,234,5,"_s);
  QCOMPARE(bips, 0);
  // The comma replaces a selection as any typed key does.
  primeiro->selectAll();
  QTest::keyClick(primeiro, Qt::Key_Period, Qt::KeypadModifier);
  QCOMPARE(primeiro->text(), u","_s);
  QApplication::clipboard()->setText(u"12.345"_s);
  primeiro->selectAll();
  primeiro->paste();
  QCOMPARE(primeiro->text(), u"12,345"_s);
  QCOMPARE(primeiro->cursorPosition(), 6);
  Escrever(primeiro, u"x"_s);
  QCOMPARE(bips, 1);
}

void TestComportamento::teclaAltNaoEscreve() {
  // An access key that no button answers (a disabled one) must not type its letter.
  AplicarComportamento(primeiro, {});
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"Porto"_s);
  QTest::keyClick(primeiro, Qt::Key_A, Qt::AltModifier);
  QCOMPARE(primeiro->text(), u"Porto"_s);
  QCOMPARE(bips, 1);
}

void TestComportamento::colarRespeitaOFiltro() {
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
  AplicarComportamento(segundo, {.teclas = FiltroTeclas::Numérica});
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"19"_s);

  // A paste holding a character the field refuses is refused whole: keeping only its digits
  // could turn "12.5" into 125.
  QApplication::clipboard()->setText(u"9x6"_s);
  QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(primeiro->text(), u"19"_s);
  QCOMPARE(bips, 1);

  QApplication::clipboard()->setText(u"96"_s);
  QTest::keyClick(primeiro, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(primeiro->text(), u"1996"_s);
  QCOMPARE(bips, 1);

  // The same through the context menu's command, which no key filter sees.
  QApplication::clipboard()->setText(u"-1"_s);
  primeiro->selectAll();
  primeiro->paste();
  QCOMPARE(primeiro->text(), u"1996"_s);
  QCOMPARE(bips, 2);

  // An amount pasted with a letter is refused whole too.
  Tab();
  QApplication::clipboard()->setText(u"1234,50"_s);
  QTest::keyClick(segundo, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(segundo->text(), u"1234,50"_s);
  QCOMPARE(bips, 2);
  QApplication::clipboard()->setText(u"3.5 EUR"_s);
  segundo->selectAll();
  QTest::keyClick(segundo, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(segundo->text(), u"1234,50"_s);
  QCOMPARE(bips, 3);
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
  Focar(primeiro);
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

void TestComportamento::textoDoProgramaNaoEFiltrado() {
  // A telephone stored before the filter existed keeps its "+" while the user edits elsewhere.
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::DígitosEspaço});
  primeiro->setText(u"+351 21"_s);
  Mostrar();
  Focar(primeiro);
  primeiro->end(false);
  Escrever(primeiro, u"4"_s);
  QCOMPARE(primeiro->text(), u"+351 214"_s);
  QApplication::clipboard()->setText(u" 55"_s);
  primeiro->paste();
  QCOMPARE(primeiro->text(), u"+351 214 55"_s);
  QCOMPARE(bips, 0);
}

void TestComportamento::ano_data() {
  QTest::addColumn<QString>("escrito");
  QTest::addColumn<QString>("fica");
  QTest::addColumn<int>("bipsEsperados");
  QTest::newRow("1990 fica") << u"1990"_s << u"1990"_s << 0;
  QTest::newRow("2999 fica") << u"2999"_s << u"2999"_s << 0;
  QTest::newRow("1989 muda") << u"1989"_s << u"2026"_s << 1;
  QTest::newRow("3000 muda") << u"3000"_s << u"2026"_s << 1;
  QTest::newRow("vazio muda") << QString() << u"2026"_s << 1;
  QTest::newRow("dois dígitos mudam") << u"03"_s << u"2026"_s << 1;
  QTest::newRow("absurdo muda") << u"9"_s.repeated(30) << u"2026"_s << 1;
}

void TestComportamento::ano() {
  QFETCH(QString, escrito);
  QFETCH(QString, fica);
  QFETCH(int, bipsEsperados);
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos, .ano = true});
  primeiro->setText(u"2003"_s);
  Mostrar();
  Focar(primeiro);
  QTest::keyClick(primeiro, Qt::Key_Backspace); // the whole text is selected: clears it
  Escrever(primeiro, escrito);
  Tab();
  QCOMPARE(primeiro->text(), fica);
  QCOMPARE(bips, bipsEsperados);
  QCOMPARE(CorDoCampo(primeiro), Branco);
}

void TestComportamento::compactarAoSair() {
  AplicarComportamento(primeiro, {.compactar = true});
  AplicarComportamento(segundo, {});
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"  José   da  Silva  "_s);
  Tab();
  QCOMPARE(primeiro->text(), u"José da Silva"_s);
  // A field without squeezing keeps what was typed.
  Escrever(segundo, u" a  b "_s);
  Tab();
  QCOMPARE(segundo->text(), u" a  b "_s);
}

void TestComportamento::outraJanelaNaoEPerdaDeFoco() {
  // A message box or another window in front is not the user leaving the field: nothing of
  // the exit runs, and on coming back the user's selection is not replaced.
  int saídas = 0;
  AplicarComportamento(primeiro,
                       {.compactar = true, .ano = false, .aoPerderFoco = [&] { ++saídas; }});
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"a  b"_s);
  primeiro->setCursorPosition(1);

  QWidget outra;
  outra.show();
  outra.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&outra));
  QCOMPARE(CorDoCampo(primeiro), Amarelo);
  QCOMPARE(primeiro->text(), u"a  b"_s);
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
  QCOMPARE(CorDoCampo(primeiro), Branco);
}

void TestComportamento::reaplicarSubstitui() {
  AplicarComportamento(primeiro, {.teclas = FiltroTeclas::Dígitos});
  AplicarComportamento(primeiro, {.realçar = false, .teclas = FiltroTeclas::Letras});
  Mostrar();
  Focar(primeiro);
  Escrever(primeiro, u"a1b"_s);
  QCOMPARE(primeiro->text(), u"ab"_s);
  QCOMPARE(bips, 1);
  QCOMPARE(CorDoCampo(primeiro), Branco);
}

void TestComportamento::campoDestruidoComFoco() {
  // Closing a window while one of its fields has the focus must not run that field's exit:
  // what it would touch is already being destroyed.
  int saídas = 0;
  AplicarComportamento(primeiro, {.aoPerderFoco = [&] { ++saídas; }});
  AplicarComportamento(segundo, {});
  Mostrar();
  Focar(primeiro);
  delete primeiro;
  primeiro = nullptr;
  QCOMPARE(saídas, 0);
  // The other fields go on as usual.
  segundo->setFocus(Qt::TabFocusReason);
  QCOMPARE(CorDoCampo(segundo), Amarelo);
  janela.reset();
  QCOMPARE(saídas, 0);
}

void TestComportamento::enfaseDoBotao() {
  AplicarComportamento(primeiro, {});
  ÊnfaseBotão(botão);
  Mostrar();
  Focar(primeiro);
  const QRect antes = botão->geometry();
  QVERIFY(!botão->font().bold());

  Tab(); // to segundo
  Tab(); // to the button
  QCOMPARE(QApplication::focusWidget(), botão);
  QVERIFY(botão->font().bold());
  // The bold caption must not make the button, or its neighbours, jump.
  QApplication::processEvents();
  QCOMPARE(botão->geometry(), antes);

  Tab();
  QVERIFY(!botão->font().bold());

  // A click gives the focus, and so the emphasis, as well.
  QTest::mouseClick(botão, Qt::LeftButton);
  QVERIFY(botão->font().bold());
  QTest::mouseClick(primeiro, Qt::LeftButton);
  QVERIFY(!botão->font().bold());
}

QTEST_MAIN(TestComportamento)
#include "TestComportamento.moc"
