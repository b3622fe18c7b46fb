#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QStringView>
#include <functional>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QWidget;

// The behaviour every window gives its fields and buttons: the yellow background while a field
// has the focus, select-all, blank squeezing, key filters, the year range, the emphasis of the
// focused button, and the placement of secondary windows over the main window.

// Focus colour (255, 255, 0) and normal colour (255, 255, 255). The colour goes into the
// widget's own palette (the Base role, and Button for drop-down lists, whose closed face most
// styles paint with it), for the active and inactive window states only, so that a disabled
// field keeps the style's disabled look.
void RealçarCampo(QWidget *campo);
void RestaurarCampo(QWidget *campo);
// The background colour RealçarCampo / RestaurarCampo set, as the field paints it.
QColor CorDoCampo(const QWidget *campo);

// Marks a field whose value the user should look at again: while marked, its normal colour is
// the warning colour (255, 200, 200) instead of white, and its tooltip gives `motivo`; the
// focus colour still shows while it is edited. An empty `motivo` takes the mark away.
void AssinalarCampo(QWidget *campo, const QString &motivo);

// Selects the whole text so that typing replaces it: QLineEdit, QTextEdit, QPlainTextEdit, an
// editable QComboBox, a spin box. Other widgets are left alone.
void SeleccionarTexto(QWidget *campo);

// Leading and trailing blanks removed, every inner run of blanks reduced to one. Only the blank
// (code 32) counts: tabs and line breaks stay as they are.
QString CompactarEspaços(QStringView texto);

// The text without control characters, which arrive by paste or from another program and
// never belong in the file (a NUL cuts the text for every other reader of it). With
// `váriasLinhas` (a remark) line breaks and tabs stay; in a one-line field they become blanks.
QString SemCaracteresControlo(QStringView texto, bool váriasLinhas);

// The keys of an amount: Backspace, blank, comma, minus and the digits pass (true); any other
// key is refused with a beep (false).
bool TeclaNumérica(QChar tecla);

// Shortens a text of n characters or more just before its last blank that stands at a
// position (counted from 1) below n. A shorter text, or one without such a blank, is left
// whole, even if it is then longer than n.
void CortarTexto(QString &texto, int n);

// Where a window of the geometry `janela` goes: centred over `principal`, then moved up and
// left so that it does not pass the bottom and right of `ecrã`, then down and right so that it
// does not start above or left of it (a window larger than the screen starts at its top-left).
// Returns `janela` moved; its size is unchanged.
QRect PosiçãoCentrada(QRect janela, QRect principal, QRect ecrã);

// Places a window (not yet shown, or shown) by PosiçãoCentrada over the main window, within the
// available area of the main window's screen. Without a visible main window it is centred on
// the screen. Call it once the window's contents are built: a window that was never resized
// is first given the size its layout asks for.
void CentrarJanela(QWidget *janela, QWidget *principal);

// Which typed characters a field accepts. Control keys (Backspace, Delete, Enter, Escape, Tab),
// the arrows and shortcuts with Ctrl always work; a refused character is dropped with a beep.
enum class FiltroTeclas {
  Nenhum,        // anything
  Dígitos,       // "0"-"9"
  Numérica,      // amounts: TeclaNumérica's keys; a point, typed or pasted, becomes a comma
  Data,          // digits, "/" and "-"
  Letras,        // letters (those with an upper and a lower case, accented ones too) and blank
  DígitosEspaço, // digits and blank: telephone and fax numbers
};

// Set once per field by its window. On gaining the focus: the focus colour, then
// aoGanharFoco, then select-all. On losing it: blank squeezing, then the year rule (a numeric
// value below 1990 or above 2999 becomes the current year, with a beep), then aoPerderFoco,
// then the normal colour.
//
// The focus moving to another window (a message box, a menu, a drop-down's list) is not a loss
// of focus: the field keeps its colour and runs nothing, and it does not run its entry again
// when the window is active once more.
//
// Without seleccionarTudo a line edit reached by Tab still selects its text, as Qt's line
// edits always do; a multi-line field does not.
//
// Key filters also hold for text that arrives otherwise in a line edit (pasted, dropped,
// composed by an input method): an insertion holding a character that could not be typed is
// undone with a beep. Text the program sets
// itself is never filtered.
//
// An amount field never keeps a point the user typed or pasted: it becomes a comma, the
// numeric keypad's decimal key included, so "12.345" is twelve euros and a fraction and
// "1.234,56" becomes "1,234,56", which is no amount and is refused where it is read. Nothing
// is left for the reader to guess.
//
// A line edit's length limit counts UTF-16 units, so the limit could cut a character made of
// two (an emoji, say) in half, leaving text that is not valid in the file. A line edit given a
// behaviour (without a validator of its own) never keeps half a character: what does not fit
// whole is dropped, whether typed, pasted or set by the program.
struct ComportamentoCampo {
  bool realçar = true;
  bool seleccionarTudo = true;
  bool compactar = false;
  FiltroTeclas teclas = FiltroTeclas::Nenhum;
  bool ano = false;
  std::function<void()> aoGanharFoco = {};
  std::function<void()> aoPerderFoco = {};
};

// Gives `campo` the behaviour; applying again replaces the earlier behaviour. A field that
// gets the colouring starts with the normal colour. The handling belongs to the field and goes
// with it.
void AplicarComportamento(QWidget *campo, ComportamentoCampo comportamento);

// A field's caption, whose access key puts the focus on `campo`.
QLabel *Legenda(const QString &texto, QWidget *campo);

// A text field named `nome` (how tests and the tab order find it), holding at most `máximo`
// characters, starting with `texto`; without an alignment, the field's own.
QLineEdit *CampoTexto(const QString &nome, int máximo, Qt::Alignment alinhamento = {},
                      const QString &texto = {});

// The focused button shows its caption in bold; the emphasis goes when the focus leaves it.
// The button is kept wide enough for its bold caption, so that neither it nor its neighbours
// move when the focus passes.
void ÊnfaseBotão(QAbstractButton *botão);
