#pragma once

#include "JanelaRelatorio.h"
#include "ResumoAnual.h"

#include <QWidget>

// The summary's chart on screen, drawn by DesenharGráficoResumo on a surface that paints the
// widget, so that what the window shows is what the page prints.
class GráficoResumo : public QWidget {
public:
  GráficoResumo();
  void Definir(const ResumoDoAno &r);

protected:
  void paintEvent(QPaintEvent *e) override;

private:
  ResumoDoAno resumo;
};

// "Resumo do Ano": the twelve months of a year, what came in and who owes, as a table and a
// chart, on screen and on paper.
class ResumoAno : public JanelaRelatório {
public:
  explicit ResumoAno(QWidget *pai);

  GráficoResumo *Gráfico;

  const ResumoDoAno &Resumo() const { return resumo; }

  // The grid's lines: the twelve months, then the totals.
  static QStringList LinhasGrelha(const ResumoDoAno &resumo);

protected:
  QStringList Construir(const Progresso &progresso) override;
  void Imprimir(Impressão &p, const Progresso &progresso) override;

private:
  ResumoDoAno resumo;
};
