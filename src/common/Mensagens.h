#pragma once

#include <QString>
#include <functional>

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
};

// Shows a modal message box (buttons "OK", "&Sim", "&Não", "&Cancelar") and returns the
// button chosen. Closing the box with Escape counts as Cancelar or Não where the box has one.
Resposta MostrarMensagem(const QString &texto, Botões botões, Ícone ícone, const QString &título,
                         QWidget *pai = nullptr);

// The computer's beep.
void Bip();

// Tests: a responder answers every box instead of the user; an empty function puts the real
// boxes back. The same for the beep.
using Respondedor = std::function<Resposta(const PedidoMensagem &)>;
void InstalarRespondedor(Respondedor r);
void InstalarBip(std::function<void()> b);
