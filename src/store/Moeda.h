#pragma once

#include <QString>
#include <QStringView>
#include <compare>
#include <optional>

// An amount in euros, held exactly as a count of ten-thousandths of a euro (the database
// keeps the same integer). Money never passes through a floating-point number.
class Moeda {
public:
  static constexpr qint64 Unidade = 10000; // ten-thousandths in one euro

  constexpr Moeda() = default;
  static constexpr Moeda DeDécimosMilésimos(qint64 v) { return Moeda(v); }
  static constexpr Moeda DeCêntimos(qint64 c) { return Moeda(c * 100); }

  // Reads an amount written the Portuguese way: "12,5", "-3,25", "1.234,56", ",5".
  // Blanks around the amount are ignored. Points may only group the integer digits by three;
  // decimals beyond the fourth are rounded half away from zero. Anything else ("", "-",
  // "1,2,3", "1-2", "1.5") is not an amount and gives no value. A point is never taken for
  // the decimal point: the amount fields turn a typed point into a comma, so the points they
  // hold are the grouping that the program's own formatting put there.
  static std::optional<Moeda> Ler(QStringView texto);

  constexpr qint64 DécimosMilésimos() const { return valor; }

  // Patterns "#,###,##0.00", "###,###,##0.00", "#0.00", ...; see FormatarDecimal.
  QString Formatar(QStringView padrão = u"#,###,##0.00") const;

  constexpr Moeda operator+(Moeda o) const { return Moeda(valor + o.valor); }
  constexpr Moeda operator-(Moeda o) const { return Moeda(valor - o.valor); }
  constexpr Moeda operator-() const { return Moeda(-valor); }
  constexpr Moeda &operator+=(Moeda o) {
    valor += o.valor;
    return *this;
  }
  constexpr Moeda &operator-=(Moeda o) {
    valor -= o.valor;
    return *this;
  }
  constexpr auto operator<=>(const Moeda &) const = default;

private:
  constexpr explicit Moeda(qint64 v) : valor(v) {}
  qint64 valor = 0;
};
