#pragma once

#include "Moeda.h"

#include <QString>
#include <QStringList>
#include <QStringView>

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
