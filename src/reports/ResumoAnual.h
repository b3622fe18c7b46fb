#pragma once

#include "Moeda.h"

#include <QString>
#include <array>

class BaseDados;
class Impressão;

// The year at a glance: month by month, what came in and who owes.

struct MêsResumo {
  qint64 quotas = 0;    // dues rows of the month
  Moeda valor;          // their sum
  qint64 inscritos = 0; // members enrolled by the month's end
  qint64 emDívida = 0;  // of those, the members without a dues row for the month
  bool operator==(const MêsResumo &) const = default;
};

struct ResumoDoAno {
  std::array<MêsResumo, 12> meses; // January first
  // The year's totals: dues rows, their sum and the months owed (member by month), added up;
  // the members enrolled by the end of December.
  qint64 quotas = 0;
  Moeda valor;
  qint64 inscritosNoFim = 0;
  qint64 mesesEmDívida = 0;
};

// The one query behind ResumirAno, kept apart so that it can be timed on its own. Bound values,
// in order: the year "yyyy" and the quota type code twice (0 = every type). Columns: the month
// (1 to 12), dues rows, their sum (ten-thousandths), members enrolled, members owing; one row
// per month that the file has members of the type for.
extern const QString SqlResumo;

// Reads the year with one set query over the members of quota type `tipoQuota` (0 = every
// type). A month is counted for a member as in the arrears report: the member is enrolled when
// Inscrição (as text) is not past the month's last day or is missing, and owes the month when
// enrolled with no dues row for it. The dues rows counted are those of these members, whether
// or not they were enrolled by then; rows of numbers that no member holds are not counted.
ResumoDoAno ResumirAno(BaseDados &bd, int ano, qint64 tipoQuota);

// Prints the summary on one page: the page header "Resumo do Ano" with "Ano de <ano>", the
// quota type, the table of the twelve months and the totals, and under it the chart (a bar for
// the sum received each month, a line with points for the members owing, each on its own
// scale); then ends the document. The texts are those the summary was built with.
void ImprimirResumo(Impressão &p, const QString &ano, const QString &tipoQuota,
                    const ResumoDoAno &resumo);

// The chart alone, inside the frame from (x, y), `largura` by `altura` twips: the scales'
// labels, the bars, the line and the legend all stay inside it.
void DesenharGráficoResumo(Impressão &p, const ResumoDoAno &resumo, double x, double y,
                           double largura, double altura);
