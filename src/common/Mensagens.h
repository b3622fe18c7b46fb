#pragma once

#include <QString>
#include <functional>

class ErroBaseDados;
class QWidget;

// Every message box of the program goes through MostrarMensagem, and every beep through Bip,
// so that tests can answer the boxes and count the beeps without a real modal box.

enum class Ícone { Nenhum, Informação, Pergunta, Exclamação, Crítico };
enum class Botões { OK, OKCancelar, SimNão, SimNãoCancelar };
enum class Resposta { OK, Cancelar, Sim, Não };

struct PedidoMensagem {
  QString título;
  QString texto;
  Botões botões = Botões::OK;
  Ícone ícone = Ícone::Nenhum;
  QString detalhes;           // behind the box's details button: the engine's own words
  bool nãoPorOmissão = false; // Enter and the first focus are on "Não"
};

// Shows a modal message box (buttons "OK", "&Sim", "&Não", "&Cancelar") and returns the
// button chosen. Closing the box with Escape counts as Cancelar or Não where the box has one.
// `detalhes`, when given, stays folded away behind the box's details button.
Resposta MostrarMensagem(const QString &texto, Botões botões, Ícone ícone, const QString &título,
                         QWidget *pai = nullptr, const QString &detalhes = {});

// A "Sim"/"Não" question whose default button is "Não", for a change that may do harm when
// confirmed by a stray Enter.
Resposta PerguntarNãoPorOmissão(const QString &texto, const QString &título,
                                QWidget *pai = nullptr);

// An engine failure: its Portuguese message (followed by `acrescento`), the engine's words
// in the details.
void MostrarErro(const ErroBaseDados &erro, const QString &título, QWidget *pai = nullptr,
                 const QString &acrescento = {});

// The computer's beep.
void Bip();

// Tests: a responder answers every box instead of the user; an empty function puts the real
// boxes back. The same for the beep.
using Respondedor = std::function<Resposta(const PedidoMensagem &)>;
void InstalarRespondedor(Respondedor r);
void InstalarBip(std::function<void()> b);
