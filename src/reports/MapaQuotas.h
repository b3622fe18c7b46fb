#pragma once

#include "JanelaRelatorio.h"
#include "MapaAnual.h"

// "Mapa de Quotas": every member enrolled by the end of a year, with the months paid.
class MapaQuotas : public JanelaRelatório {
public:
  explicit MapaQuotas(QWidget *pai);

  const std::vector<LinhaMapa> &ListNomes() const { return lista; }

protected:
  QStringList Construir(const Progresso &progresso) override;
  void Imprimir(Impressão &p, const Progresso &progresso) override;

private:
  std::vector<LinhaMapa> lista;
};
