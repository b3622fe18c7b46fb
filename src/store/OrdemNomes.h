#pragma once

#include <QCollator>
#include <QString>
#include <algorithm>
#include <numeric>
#include <vector>

// Names in the order a Portuguese reader expects: letter case and accents count only when
// the letters are otherwise the same ("Alvaro", "Álvaro", "álvaro" side by side, before
// "Bruno"), and what still ties is broken by the exact text, so the order never depends on
// the order of the rows found. SQLite compares bytes, which puts "Álvaro" after "Zé" and
// leaves out of "A".."ZZ" every name that begins with an accented capital or a small letter:
// names are therefore compared here, in memory, after the query.
class OrdemPortuguesa {
public:
  OrdemPortuguesa();

  // Negative, zero or positive, as a comes before, with or after b.
  int Comparar(const QString &a, const QString &b) const;

  // True when the name lies between the two limits, both included, as the reader orders them.
  bool Entre(const QString &nome, const QString &de, const QString &até) const {
    return Comparar(nome, de) >= 0 && Comparar(nome, até) <= 0;
  }

  QCollatorSortKey Chave(const QString &nome) const { return collator.sortKey(nome); }

private:
  QCollator collator;
};

// Sorts the rows by the name that `nome` gives for each, in Portuguese order; rows with the
// same name keep their order (number order, when the query gave them so). Each name's sort
// key is computed once.
template <class Linha, class Nome>
void OrdenarPorNome(std::vector<Linha> &linhas, Nome nome, bool descendente = false) {
  const OrdemPortuguesa ordem;
  std::vector<QCollatorSortKey> chaves;
  chaves.reserve(linhas.size());
  for (const Linha &l : linhas)
    chaves.push_back(ordem.Chave(nome(l)));
  std::vector<size_t> índices(linhas.size());
  std::iota(índices.begin(), índices.end(), size_t(0));
  std::stable_sort(índices.begin(), índices.end(), [&](size_t a, size_t b) {
    int c = chaves[a].compare(chaves[b]);
    if (c == 0)
      c = QString::compare(nome(linhas[a]), nome(linhas[b]));
    return descendente ? c > 0 : c < 0;
  });
  std::vector<Linha> ordenadas;
  ordenadas.reserve(linhas.size());
  for (size_t i : índices)
    ordenadas.push_back(std::move(linhas[i]));
  linhas = std::move(ordenadas);
}
