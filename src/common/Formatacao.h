#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// Texts the windows show and read the Portuguese way. None of these depends on the system
// locale: a workstation set to another language still shows "05-09-1996" and "Setembro".
// Numbers and money are formatted by FormatarNúmero and Moeda (store).

// "05-09-1996"; an invalid date gives an empty text.
QString FormatarData(QDate data);

// "06/12/2026  -  09h 05m" (two blanks on each side of the hyphen); invalid gives "".
QString FormatarDataHora(const QDateTime &momento);

// "Janeiro" .. "Dezembro" for 1 .. 12; any other number gives an empty text.
QString NomeMês(int mês);
// "Jan" .. "Dez": the month's first three letters, for grids, charts and compact lists.
QString AbreviaturaMês(int mês);
const QStringList &NomesMeses();

// The numeric value of a text, as the program reads a field or a stored code: leading
// blanks (and tabs and line breaks) are skipped, an optional "+" or "-" is read, then the
// run of digits "0"-"9" that follows; reading stops at the first other character, so
// "12abc" gives 12, "007" gives 7, "12,5" gives 12. No digits at all gives 0.
// A run of digits too long for 64 bits saturates at ±(2^63 − 1) rather than wrapping, so an
// absurd entry stays absurdly large and fails the callers' range checks.
qint64 ValorNumérico(QStringView texto);

// A whole number the way printed counts and member numbers show it: a blank stands where a
// minus sign would, so 12 gives " 12" and -3 gives "-3".
QString NúmeroComSinal(qint64 valor);

// Reads a date typed as d-m-yyyy or d/m/yyyy (day and month with one or two digits, the year
// with four, the same separator twice; blanks around the date are ignored). Impossible dates
// (31-02-2003) and anything else give no value, an empty text included.
std::optional<QDate> LerData(QStringView texto);

// The same date written "dd-mm-yyyy" ("5/9/1996" gives "05-09-1996"), or no value.
std::optional<QString> NormalizarData(QStringView texto);

// The stored form of the enrolment date, eight digits year, month, day: "19960905".
// An invalid date, or one whose year does not have four digits, gives an empty text.
QString DataParaInscrição(QDate data);

// The stored enrolment date as the screen shows it: "19960905" gives "05-09-1996". An empty
// value stays empty; eight digits are rearranged even when they make no real date, and a value
// that is not eight digits is shown as it stands, so that a damaged record can still be seen
// and corrected rather than hidden.
QString InscriçãoParaTexto(const QString &inscrição);
