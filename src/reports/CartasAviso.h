#pragma once

#include "Dividas.h"

#include <QDate>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

class BaseDados;
class Impressão;

// The reminder letters to the members who owe dues: one A4 page each, folded in three into a
// DL window envelope (220 × 110 mm, the window on the right), and the same letters as CSV
// rows for a word processor's mail merge.

// The Tabelas kind that holds the association's letter text, written once and used for every
// letter: "A" (aviso).
inline constexpr char16_t TipoTextoCarta = u'A';

// The text used while the association has written none.
QString TextoCartaPorOmissão();

// The stored text, or the default when there is none (or only blanks).
QString LerTextoCarta(BaseDados &bd);
// Stores the text in its Tabelas row, in one transaction.
void GravarTextoCarta(BaseDados &bd, const QString &texto);

// The fields a letter text may hold, each replaced by the member's value: «número», «nome»,
// «meses» (the months owed, compactly), «quantos» (their count), «valor» (the amount, as
// "1.234,50 €") and «data» (the letter's date, as "7 de Dezembro de 2026").
QString PreencherCarta(const QString &modelo, const SócioEmDívida &s, QDate data);

// "7 de Dezembro de 2026".
QString DataPorExtenso(QDate data);

// Where the address goes on the sheet, in millimetres from its top left corner: inside the
// part of a DL envelope's right window (90 × 45 mm, 20 mm from the right edge and 15 mm from
// the bottom) that shows the address whichever way a sheet folded in three lies in the
// envelope (10 mm of play across, 11 mm up and down).
QRectF ZonaEndereço();
inline constexpr double TwipsPorMm = 1440.0 / 25.4;

// The address lines of a member as printed in the window: the name, the street (one line per
// line stored), the locality and the postal code's text, empty ones left out.
QStringList LinhasEndereço(const SócioEmDívida &s);

// Prints one letter per member, each on its own page: the page header, the address in the
// envelope window, the place and date ("<local>, 7 de Dezembro de 2026", the place being the
// association's locality when it has one), the letter text filled in, the months owed and the
// amount; then ends the document.
void ImprimirCartas(Impressão &p, const QString &modelo, const std::vector<SócioEmDívida> &sócios,
                    QDate data, const QString &local, const Progresso &progresso = {});

// The mail merge: a header line, then one line per member with the number, the name, the
// address lines, the months, their count, the amount, the date and the letter's text.
QList<QStringList> LinhasCsvCartas(const QString &modelo, const std::vector<SócioEmDívida> &sócios,
                                   QDate data);
