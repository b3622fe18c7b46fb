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
      if (p.nãoPorOmissão)
        return Resposta::Não; // as Enter would answer
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

  // The next boxes are answered with these, in order; then as Enter would: Sim or OK, or Não
  // where that is the default.
  void Responder(QList<Resposta> r) { respostas = std::move(r); }

  QList<PedidoMensagem> caixas;
  int bips = 0;

private:
  QList<Resposta> respostas;
};
