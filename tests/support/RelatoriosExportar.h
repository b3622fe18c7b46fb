#pragma once

#include "Guardas.h"
#include "Janela.h"

// Exports with `botão`, the file picker answering `caminho`; the path the picker offered.
inline QString ExportarPara(QAbstractButton *botão, const QString &caminho) {
  EscolhaFicheiroFalsa escolha(caminho);
  Clicar(botão);
  return escolha.oferecidos.value(0);
}
