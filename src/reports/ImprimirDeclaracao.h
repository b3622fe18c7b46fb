#pragma once

#include "Moeda.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class BaseDados;
class Impressão;

// The declaration of the dues a member paid in one year, for the member's income tax.

struct QuotizaçõesDoAno {
  QString nome; // the member's name
  Moeda total;  // the dues of the year, 0 when there are none
};

// The member's name and the total of the member's dues rows of the year, read with one query;
// no value when there is no member with this number.
std::optional<QuotizaçõesDoAno> SomarQuotizações(BaseDados &bd, qint64 número, int ano);

// The declaration text for what the window shows: the number without leading zeros, the year
// and the total as their fields hold them. Two paragraphs, an empty line between them.
QString ComporDeclaração(const QString &nome, qint64 número, const QString &ano,
                         const QString &quotizações);

// A typed total as the field shows it ("1.234,50"), or no value when the text is not an amount
// of money that can have been paid (negative amounts included).
std::optional<QString> ValidarQuotizações(const QString &texto);

// "5 de Março de 2006".
QString LinhaData(QDate data);

// One printed line of the declaration: its words (or word pieces) and where each starts.
struct PeçaDeclaração {
  double x;
  QString texto;
};
struct LinhaDeclaração {
  std::vector<PeçaDeclaração> peças; // empty: an empty line
  bool justificada = false;
};

// The declaration's lines between the margins 1500 twips inside each edge of a page
// `larguraPágina` wide: the first line of each paragraph indented 1500 more, every line but
// the last of a paragraph justified so that its last character ends on the right margin.
// `medir` gives the printed width of a text in the declaration's font.
std::vector<LinhaDeclaração> LinhasDeclaração(const QString &texto, double larguraPágina,
                                              const std::function<double(const QString &)> &medir);

// Prints the declaration page, the page header 1500 twips lower than on other reports with
// `data` under its title, and ends the document.
void ImprimirDeclaração(Impressão &p, const QString &texto, QDate data);
