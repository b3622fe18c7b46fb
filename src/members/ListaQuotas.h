#pragma once

#include "Moeda.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

// The dues of the member on screen are kept as texts, one per month paid:
//   "200303" "2003" TAB "Março" TAB "12,50" TAB "417 "
// The first six characters (year and month) are the sort key, so a sorted list is in
// chronological order; the rest holds the four columns that the dues table shows.

QString EntradaQuota(int ano, int mês, Moeda valor, qint64 recibo);

// The same entry built without the general number patterns: a member's whole dues history is
// formatted each time the member is shown.
QString EntradaQuotaDirecta(int ano, int mês, Moeda valor, qint64 recibo);

struct PartesQuota {
  QString chave; // "200303"
  QString ano;   // "2003"
  QString nomeMês;
  QString valor;  // "12,50"
  QString recibo; // "417 "
};
PartesQuota DividirEntrada(QStringView entrada);

// The month (1 to 12) of an entry, from characters 5 and 6 of its key.
int MêsDaEntrada(QStringView entrada);

// The items of the period list: the twelve months, then the year, the quarters and the halves.
const QStringList &ItensPeríodo();
struct Período {
  int primeiro;
  int último;
};
// The months that item `item` (0 to 18) of the period list covers.
Período PeríodoDoItem(int item);
inline bool ÉPeríodo(int item) {
  return item >= 12;
}

// A sorted list of entries, as the screen's hidden lists are.
class ListaOrdenada {
public:
  // Puts the entry in its sorted place and returns that place (0-based).
  qsizetype Inserir(const QString &entrada);
  void Remover(qsizetype i) { entradas.removeAt(i); }
  void Limpar() { entradas.clear(); }
  // Place of the entry with the same key (first six characters), or -1.
  qsizetype ProcurarChave(QStringView chave) const;
  // Place of an entry with exactly this text, or -1.
  qsizetype Procurar(const QString &entrada) const { return entradas.indexOf(entrada); }
  const QString &Em(qsizetype i) const { return entradas.at(i); }
  qsizetype Tamanho() const { return entradas.size(); }
  bool Vazia() const { return entradas.isEmpty(); }
  const QStringList &Entradas() const { return entradas; }

private:
  QStringList entradas;
};

// One month paid, as the file keeps it.
struct QuotaPaga {
  int ano = 0;
  int mês = 0;
  Moeda valor;
  qint64 recibo = 0;
};

// The entries of a member's stored dues, oldest first (the rows come in key order).
ListaOrdenada EntradasDasQuotas(const std::vector<QuotaPaga> &quotas);

// The dues of the member on screen as the user edits them: nothing reaches the file before the
// save. Positions are 1-based, as the scroll bar beside the table counts them.
struct QuotasEmEdição {
  ListaOrdenada ListQuotas; // one entry per month paid
  ListaOrdenada ListElimin; // the entries removed since the member was shown

  // Adds every month of period item `item` (0 to 18) of `ano`. A month already listed with
  // other values is replaced only when `substituir(mês, ano)` says so; one with the same values
  // is left alone. Returns the position of the period's first month.
  qsizetype Adicionar(int ano, int item, Moeda valor, qint64 recibo,
                      const std::function<bool(int mês, int ano)> &substituir);

  // Replaces the entry at `actual` by the one for month `mês` (1 to 12). The former month,
  // when it was another, is removed at the save as if deleted; an entry already in the new
  // month is the one replaced. When exactly this entry is listed already nothing changes and
  // `repetida` is true. Returns the position of the entry.
  struct Alteração {
    qsizetype posição;
    bool repetida;
  };
  Alteração Alterar(qsizetype actual, int ano, int mês, Moeda valor, qint64 recibo);

  // Removes the entry at `actual` (kept for the save in `ListElimin`); returns the position
  // that becomes current, 0 when the list is now empty.
  qsizetype Apagar(qsizetype actual);
};
