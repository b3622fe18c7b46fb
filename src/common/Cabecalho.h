#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class BaseDados;
class Impressão;
struct ListasReferência;

// The five lines of the association block at the top of every report: name, street,
// locality, postal code (the text of the postal code entry whose code the association row
// holds) and "Telefone: ... - Fax: ...". Empty lines where nothing was saved.
QStringList LinhasColectividade(BaseDados &bd, const ListasReferência &listas);

// The kinds of the association's rows ("1" to "6" and the NIPC's), to read with others in one
// LerLinhasTabelas; the two functions below then build the lines from what it read.
QString TiposColectividade();
QStringList LinhasColectividade(const QHash<QChar, QString> &lidas,
                                const ListasReferência &listas);
// "NIPC: <number>" when the association's NIPC row holds one (trimmed); empty when the row is
// missing or blank, so that files without it print as they always did.
QString LinhaNIPC(const QHash<QChar, QString> &lidas);

// Prints the page header: the association block on the left, lines centred on one another
// (with the NIPC line under them when there is one);
// the title and the page text centred in the room to its right; a rule across the page.
// Leaves the print position at the left margin below the header, in Times New Roman 14.
void ImprimirCabeçalho(Impressão &p, const QString &título, const QString &página);
