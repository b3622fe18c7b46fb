#pragma once

#include "PecasRelatorio.h"

#include <QString>
#include <vector>

class BaseDados;
class Impressão;

// The yearly map of the months paid.

// One member of the map: the number, the name (one blank and the trimmed name, whole) and
// twelve marks, January first: "$" for a month paid, "-" for one not paid.
struct LinhaMapa {
  qint64 número = 0;
  QString nome;
  QString marcas;
  bool operator==(const LinhaMapa &) const = default;
};

// The one query behind LinhasMapa, kept apart so that it can be timed on its own. Bound
// values, in order: the first and the last key suffix of the year, "yyyy01" and "yyyy12",
// the enrolment bound "yyyy1232", the quota type code twice (0 = every type). One row per
// member, in number order. Columns: Número, Nome, the months paid (bit m - 1 for month m;
// null when none), the greatest member number (for the progress).
extern const QString SqlMapa;

// Every member enrolled by the end of `ano` (Inscrição, as text, before "yyyy1232"; a member
// without a date counts as enrolled) of quota type `tipoQuota` (0 = every type), in number
// order, with the months of that year paid. A dues row whose key does not end in a month
// from 01 to 12 marks nothing.
std::vector<LinhaMapa> LinhasMapa(BaseDados &bd, int ano, qint64 tipoQuota,
                                  const Progresso &progresso = {});

// Prints the map: page header "Mapa de Quotas", "Ano: <ano>", "Tipo de Quota: <tipo>", the
// column heads with the month letters, the rows and the closing count; then ends the
// document. The two texts are those the map was built with.
void ImprimirMapa(Impressão &p, const QString &ano, const QString &tipoQuota,
                  const std::vector<LinhaMapa> &linhas, const Progresso &progresso = {});

// The rows: numbers right-aligned at `xNúmero`, names cut to 5400 twips, each month's mark
// centred 5400 + 300 × month twips right of `xNúmero`; each page the surface starts by
// itself under its heading; then the count of members printed.
void ImprimirLinhasMapa(Impressão &p, double xNúmero, const std::vector<LinhaMapa> &linhas,
                        const Progresso &progresso = {});

// The name as printed: cut, one character at a time from its end, until its printed width in
// the current font is at most `largura` twips.
QString CortarNome(const Impressão &p, QString nome, double largura);
