#pragma once

#include "Moeda.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

class BaseDados;
class Impressão;
struct ListasReferência;

// A member's data as the member may ask for it: everything the file keeps about them, and the
// erasure of what identifies them once the association no longer needs it.

// One dues row as stored: the key, and the year and month it names (0 when the key names none).
struct QuotaRegistada {
  QString chave;
  int ano = 0;
  int mês = 0;
  Moeda quota;
  qint64 recibo = 0;
  bool operator==(const QuotaRegistada &) const = default;
};

struct DadosPessoais {
  qint64 número = 0;
  // Every field of the member row in the table's order, as a person reads it: the label and
  // the value (reference codes as their texts, the enrolment date as a date).
  QList<std::pair<QString, QString>> campos;
  std::vector<QuotaRegistada> quotas; // every dues row of the member, in key order
  Moeda total;                        // their sum
};

// Reads the member and all their dues rows in one read; no value when no member has this
// number.
std::optional<DadosPessoais> LerDadosPessoais(BaseDados &bd, const ListasReferência &listas,
                                              qint64 número);

// The rows of the exported file: "Campo;Valor" and one row per field; an empty row; then
// "Ano;Mês;Quota;Recibo;Chave" and one row per dues row.
QList<QStringList> LinhasCsvDadosPessoais(const DadosPessoais &dados);

// Prints the sheet: the page header "Dados Pessoais do Sócio" with the date and time, every
// field, then every dues row with its receipt under column heads that each new page repeats,
// and the count and total; then ends the document.
void ImprimirDadosPessoais(Impressão &p, const DadosPessoais &dados, const QDateTime &agora);

// The name an anonymised member keeps.
extern const QString NomeAnonimizado;

// In one transaction: the member's name becomes NomeAnonimizado and the street, locality, NIF
// and remarks are blanked; the number, postal code, situation, quota type, enrolment date, quota
// value and every dues row stay (they are the association's accounting records). The old
// values are overwritten in the file's free space as well. False when no member has this
// number (nothing is written).
bool AnonimizarSócio(BaseDados &bd, qint64 número);
