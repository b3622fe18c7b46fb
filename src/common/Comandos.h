#pragma once

#include "Referencias.h"

class Impressão;
class QPushButton;

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <span>

class QComboBox;
class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QWidget;

// The pieces every window is made of, written once: the command buttons, the title panel, the
// arrow pointer while a window waits, the tab order, the progress text, the "[Todos]" lists,
// and the one way a user action meets an engine failure.

// Creates the buttons Comando_0, Comando_1, ... with these captions into `comandos`. Enter in
// a text box must not press a button the user did not choose, so none is auto-default; each
// shows the focus emphasis. A click runs the click preamble and then `aoClicar(i)`.
// A secondary window: modal, named `nome` for the tests, with its title.
void PrepararJanela(QDialog *janela, const QString &nome, const QString &título);

void CriarComandos(std::span<QPushButton *> comandos, const QStringList &legendas,
                   std::function<void(int)> aoClicar);

// The style's pictures of "confirm" and "cancel" on a window's two answer buttons.
void ÍconesConfirmarCancelar(QPushButton *confirmar, QPushButton *cancelar);

// A row with these buttons side by side in its middle.
QHBoxLayout *BotõesAoCentro(std::initializer_list<QPushButton *> botões);

// The click preamble: the control takes the focus first, so that the field being left finishes
// its own work (squeezing, formatting), and the pending events run before the action reads
// the fields.
void TomarFoco(QWidget *controlo);

// A raised panel with the window's title, bold and centred.
QLabel *PainelTítulo(const QString &texto, int margem = 6);

// While `janela` is on screen the pointer is the ordinary arrow, whatever an action that
// opened it had set; the pointer of before comes back when it hides.
void SetaEnquantoVisível(QWidget *janela);

// Runs a user action. An engine failure inside it becomes the message (titled `título`, over
// `janela`, followed by `acrescento`) with the arrow pointer and a beep, instead of ending the
// program. Returns whether the action ran to its end.
bool ExecutarAcção(QWidget *janela, const QString &título, const std::function<void()> &acção,
                   const QString &acrescento = {});

// Prints a report from its window: the window takes no input meanwhile, the hourglass shows,
// and `botão` counts the percentage done; its caption comes back when the print has ended.
// Engine failures are told as by ExecutarAcção.
void ImprimirDaJanela(
    QWidget *janela, QPushButton *botão, const QString &título,
    const std::function<void(Impressão &, const std::function<void(int)> &)> &imprimir);

// The Tab key goes through these controls in this order.
void EncadearTabulação(std::initializer_list<QWidget *> ordem);

// The access key of a tab shows the tab and puts the focus on its first field, as Tab would
// reach it, with that field's usual focus handling. With `camposOcultos`, the access keys of
// the labels and panels inside a tab not on view work too: they show their tab first.
void EntrarPeloSeparador(QTabWidget *separadores, bool camposOcultos = false);

// The first field of `página` that the Tab key reaches, or null.
QWidget *PrimeiroCampo(QWidget *página);

// "37% concluído".
QString TextoProgresso(int percentagem);

// Fills `lista` with `primeira` ("[Todos]" or "[Todas]", item data 0) and then the entries of a
// reference list with their codes as item data; the first entry is selected.
void PreencherComTodos(QComboBox *lista, const QString &primeira, const ListaReferência &itens);
