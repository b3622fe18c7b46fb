#pragma once

#include "Atrasos.h"
#include "JanelaRelatorio.h"

// "Quotizações em Atraso": the members who have not paid one month, shown and printed.
class QtsAtrazo : public JanelaRelatório {
public:
  explicit QtsAtrazo(QWidget *pai);

  const std::vector<SócioEmAtraso> &ListNomes() const { return lista; }

protected:
  QStringList Construir(const Progresso &progresso) override;
  void Imprimir(Impressão &p, const Progresso &progresso) override;

private:
  std::vector<SócioEmAtraso> lista;
};
