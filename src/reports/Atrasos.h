#pragma once

#include "PecasRelatorio.h"

#include <QString>
#include <vector>

class BaseDados;
class Impressão;

// The members who have not paid the dues of one month.

// One member in arrears: the number, and the list text, one blank and the trimmed name.
struct SócioEmAtraso {
  qint64 número = 0;
  QString texto;
  bool operator==(const SócioEmAtraso &) const = default;
};

// The one query behind SóciosEmAtraso, kept apart so that it can be timed on its own. Bound
// values, in order: the enrolment bound "yyyymm32", the quota type code twice (0 = every
// type), the period "yyyymm". Columns: Número, Nome, the greatest member number (for the
// progress).
extern const QString SqlAtrasos;

// Every member enrolled by the end of the month (Inscrição, as text, not past "yyyymm32"; a
// member without a date counts as enrolled), of quota type `tipoQuota` (0 = every type),
// whose dues row for that month does not exist; in number order. The member's situation and
// the other months play no part.
std::vector<SócioEmAtraso> SóciosEmAtraso(BaseDados &bd, int ano, int mês, qint64 tipoQuota,
                                          const Progresso &progresso = {});

// Prints the report: page header "Quotizações em Atraso", "Mês: <mês> de <ano>", "Tipo de
// Quota: <tipo>", the column heads, the rows and the closing count; then ends the document.
// The three texts are those the list was built with.
void ImprimirAtrasos(Impressão &p, const QString &mês, const QString &ano, const QString &tipoQuota,
                     const std::vector<SócioEmAtraso> &sócios, const Progresso &progresso = {});

// The rows, numbers right-aligned at `xNúmero` (where the head "Número" ends), each page the
// surface starts by itself under its heading, then the count of members printed.
void ImprimirLinhasAtrasos(Impressão &p, double xNúmero, const std::vector<SócioEmAtraso> &sócios,
                           const Progresso &progresso = {});
