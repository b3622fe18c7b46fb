#pragma once

#include "Moeda.h"
#include "PecasRelatorio.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

class BaseDados;
class Impressão;

// Who owes which months of a range, and how much in all; and the members who owe none.
//
// A month is owed by the rule of the arrears report, applied to every month of the range: the
// member was enrolled by the end of the month (Inscrição, as text, not past "yyyymm32"; a
// member without a date counts as enrolled) and has no dues row for it. Paying a period (a
// quarter, the whole year) writes one row per month, so a period paid is every one of its
// months paid and nothing else needs telling apart.

// A month as a count: year × 12 + month − 1, so that the months of a range follow one another.
constexpr int ÍndiceMês(int ano, int mês) {
  return ano * 12 + mês - 1;
}
constexpr int AnoDoÍndice(int índice) {
  return índice / 12;
}
constexpr int MêsDoÍndice(int índice) {
  return índice % 12 + 1;
}

// The months written compactly, one piece per run of consecutive months: "Jan–Mar 2026", a run
// across a year's end "Nov 2025–Fev 2026", a month alone "Mai 2026". The months come in
// increasing order.
QStringList PartesMeses(const std::vector<int> &meses);
// The pieces joined by ", ": "Jan–Mar 2026, Mai 2026".
QString MesesCompactos(const std::vector<int> &meses);

// One member who owes at least one month of the range.
struct SócioEmDívida {
  qint64 número = 0;
  QString nome;           // trimmed
  std::vector<int> meses; // the months owed (ÍndiceMês), in order
  Moeda quota;            // the member's current ValQuotaEuro
  Moeda valor;            // months owed × quota
  // For the letters: the address as stored, trimmed, and the postal code's text.
  QString rua;
  QString localidade;
  QString códigoPostal;
  bool operator==(const SócioEmDívida &) const = default;
};

struct FiltroDívidas {
  int de = 0;           // first month of the range (ÍndiceMês)
  int até = 0;          // last month, included
  qint64 tipoQuota = 0; // 0 = every type
  qint64 situação = 0;  // 0 = every situation
};

enum class OrdemDívidas { Número, Nome, Valor };

// The one query behind SóciosEmDívida, kept apart so that it can be timed on its own. The
// months of the range are made by the query itself, however many they are. Bound values, in
// order: the first and the last month (ÍndiceMês), the quota type code twice and the situation
// code twice (0 = every one). One row per member and month owed, in number and month order.
// Columns: Número, Nome, ValQuotaEuro, Rua, Localidade, CPostal, the month (ÍndiceMês), the
// greatest member number (for the progress).
extern const QString SqlDívidas;

// Every member who owes at least one month of the range, with the months, their count and the
// amount, sorted as asked: by number, by name (Portuguese order; equal names by number) or by
// amount (the largest first; equal amounts by number). An empty range (de after até) owes
// nothing. Postal code texts come from the run's reference lists.
std::vector<SócioEmDívida> SóciosEmDívida(BaseDados &bd, const FiltroDívidas &filtro,
                                          OrdemDívidas ordem, const Progresso &progresso = {});

struct TotaisDívidas {
  qint64 sócios = 0;
  qint64 meses = 0;
  Moeda valor;
  bool operator==(const TotaisDívidas &) const = default;
};
TotaisDívidas SomarDívidas(const std::vector<SócioEmDívida> &sócios);

// What the printed list names, as the list was built.
struct ParâmetrosDívidas {
  QString período;   // "Janeiro de 2026 a Março de 2026"
  QString tipoQuota; // "[Todos]" or the type's name
  QString situação;  // "[Todas]" or the situation's name
  QString ordem;     // "Número", "Nome", "Valor"
};

// Prints the list: page header "Quotas em Dívida", the period, quota type, situation and order,
// the column heads (number, name, months owed, count, amount), one row per member (the months
// on as many lines as they need under their column), and the totals; then ends the document.
void ImprimirDívidas(Impressão &p, const ParâmetrosDívidas &parâmetros,
                     const std::vector<SócioEmDívida> &sócios, const Progresso &progresso = {});

// The members enrolled by `data` (Inscrição not past it; without a date, enrolled) who owe no
// month from `desde` (ÍndiceMês) to the month of `data`, in number order: those who may vote
// at the general assembly. Bound values of its query: the enrolment bound "yyyymmdd", the
// first and the last month. Columns: Número, Nome, the greatest member number.
struct SócioEmDia {
  qint64 número = 0;
  QString nome; // trimmed
  bool operator==(const SócioEmDia &) const = default;
};
extern const QString SqlEmDia;
std::vector<SócioEmDia> SóciosEmDia(BaseDados &bd, QDate data, int desde,
                                    const Progresso &progresso = {});

// Prints the list of those who may vote: page header "Sócios com Quotas em Dia", the date and
// the first month, number, name and a ruled room for the signature on each row, and the count;
// then ends the document.
void ImprimirEmDia(Impressão &p, const QString &data, const QString &desde,
                   const std::vector<SócioEmDia> &sócios, const Progresso &progresso = {});
