#pragma once

#include <QString>
#include <QStringView>

// Numeric patterns in the style "000000", "#0", "#0 ", "#0.00", "#,###,##0.00": in the pattern
// "," marks thousands grouping and "." the decimal point; the text produced follows the
// Portuguese conventions (point between thousands, comma before the decimals: 1.234,50).
// Literal characters before and after the digit placeholders are copied as they stand.
//
// The value is an exact fixed-point number: `valor` units of 10^-escala. Surplus decimals are
// rounded half away from zero; a result that rounds to zero carries no minus sign.
QString FormatarDecimal(qint64 valor, int escala, QStringView padrão);

// Whole numbers: FormatarNúmero(12, u"000000") gives "000012".
QString FormatarNúmero(qint64 valor, QStringView padrão);
inline QString FormatarNúmero(int valor, QStringView padrão) {
  return FormatarNúmero(qint64(valor), padrão);
}

// Measured quantities such as percentages; the double is first fixed to six decimals.
QString FormatarNúmero(double valor, QStringView padrão);
