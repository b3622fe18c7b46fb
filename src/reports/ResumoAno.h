#pragma once

#include "JanelaRelatorio.h"
#include "ResumoAnual.h"

// "Resumo do Ano": the twelve months of a year, what came in and who owes, as a table on
// screen and on paper, where a chart goes with it.
class ResumoAno : public JanelaRelatório {
public:
  explicit ResumoAno(QWidget *pai);

  const ResumoDoAno &Resumo() const { return resumo; }

  // The grid's lines: the twelve months, then the totals.
  static QStringList LinhasGrelha(const ResumoDoAno &resumo);

protected:
  QStringList Construir(const Progresso &progresso) override;
  void Imprimir(Impressão &p, const Progresso &progresso) override;

private:
  ResumoDoAno resumo;
};
