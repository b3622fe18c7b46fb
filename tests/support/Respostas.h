#pragma once

#include "Mensagens.h"

#include <QList>

// Stands in for the user at every message box and counts the beeps, for as long as it lives.
class Respostas {
public:
  Respostas() {
    InstalarRespondedor([this](const PedidoMensagem &p) {
      caixas << p;
      if (!respostas.isEmpty())
        return respostas.takeFirst();
      return p.botões == Botões::SimNão || p.botões == Botões::SimNãoCancelar ? Resposta::Sim
                                                                              : Resposta::OK;
    });
    InstalarBip([this] { ++bips; });
  }
  ~Respostas() {
    InstalarRespondedor({});
    InstalarBip({});
  }
  Q_DISABLE_COPY(Respostas)

  // The next boxes are answered with these, in order; then Sim or OK.
  void Responder(QList<Resposta> r) { respostas = std::move(r); }

  QList<PedidoMensagem> caixas;
  int bips = 0;

private:
  QList<Resposta> respostas;
};
