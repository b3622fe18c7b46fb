#pragma once

#include "Esquema.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

struct DefTabela;

// Look-up criteria are typed values: a field, a comparison and a value that is always bound
// as a parameter, never glued into SQL text.
enum class Comparação {
  Igual,
  Diferente,
  Menor,
  MenorOuIgual,
  Maior,
  MaiorOuIgual,
  Começa, // key prefix, compared exactly; runs as an index range
  Padrão, // "*" any run of characters, "?" any one; letter case ignored, accented letters too
};

struct Critério {
  QString campo;
  Comparação comparação;
  QVariant valor;

  static Critério Igual(QString campo, QVariant v) {
    return {std::move(campo), Comparação::Igual, std::move(v)};
  }
  static Critério Diferente(QString campo, QVariant v) {
    return {std::move(campo), Comparação::Diferente, std::move(v)};
  }
  static Critério Menor(QString campo, QVariant v) {
    return {std::move(campo), Comparação::Menor, std::move(v)};
  }
  static Critério MenorOuIgual(QString campo, QVariant v) {
    return {std::move(campo), Comparação::MenorOuIgual, std::move(v)};
  }
  static Critério Maior(QString campo, QVariant v) {
    return {std::move(campo), Comparação::Maior, std::move(v)};
  }
  static Critério MaiorOuIgual(QString campo, QVariant v) {
    return {std::move(campo), Comparação::MaiorOuIgual, std::move(v)};
  }
  static Critério Começa(QString campo, QString prefixo) {
    return {std::move(campo), Comparação::Começa, std::move(prefixo)};
  }
  static Critério Padrão(QString campo, QString padrão) {
    return {std::move(campo), Comparação::Padrão, std::move(padrão)};
  }
};

// Criteria that must all hold. An empty filter selects every row.
class Filtro {
public:
  Filtro() = default;
  Filtro(Critério c) { partes.append(std::move(c)); } // NOLINT: a criterion is a filter
  Filtro &operator&=(const Filtro &o) {
    partes += o.partes;
    return *this;
  }
  friend Filtro operator&&(Filtro a, const Filtro &b) { return a &= b; }
  bool Vazio() const { return partes.isEmpty(); }
  const QList<Critério> &Partes() const { return partes; }

  // Both ends included, as in "Número BETWEEN 1 AND 99".
  static Filtro Entre(const QString &campo, const QVariant &de, const QVariant &até) {
    return Filtro(Critério::MaiorOuIgual(campo, de)) && Filtro(Critério::MenorOuIgual(campo, até));
  }

private:
  QList<Critério> partes;
};

struct Ordem {
  QString campo;
  bool descendente = false;
};

// What a recordset selects: a table, the rows that meet a filter, in an order.
struct Consulta {
  QString tabela;
  Filtro filtro = {};
  QList<Ordem> ordem = {};
};

// SQL for a filter: the condition text (with "?" for each value) and the values in order.
struct CondiçãoSql {
  QString texto; // empty when the filter selects every row
  QVariantList valores;
};

// Translates a filter on a table. A field that the table lacks, or a value that does not fit
// its field, is a fault of the program and raises std::invalid_argument.
// Name patterns use the engine's regular expressions: SQLite's REGEXP (Qt's expressions),
// PostgreSQL's "~*" under ICU's root collation.
CondiçãoSql TraduzirFiltro(const DefTabela &tabela, const Filtro &filtro,
                           Motor motor = Motor::SQLite);

// The value as the table stores it: money as its ten-thousandths, counters and Longs as
// integers, texts as text. Raises std::invalid_argument when it cannot be converted.
QVariant ValorParaGuardar(const DefTabela &tabela, qsizetype campo, const QVariant &valor);

// "SILVA*" as an anchored regular expression matched with letter case ignored.
QString PadrãoParaExpressão(const QString &padrão, Motor motor = Motor::SQLite);
