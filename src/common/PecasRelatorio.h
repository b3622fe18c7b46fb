#pragma once

#include "Cabecalho.h"
#include "Impressao.h"

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <functional>
#include <utility>

// Pieces that the reports and the member list share: their progress, the rule across the page,
// the first heading of a report of members and the heading repeated on every page the surface
// starts by itself.

// Told the whole percentage done (0 to 100), so that a window can show "n% concluído" or
// "n%" and let its events run.
using Progresso = std::function<void(int percentagem)>;

// Calls the progress only when the whole percentage changes: once per percent, not once per
// member, so that 50,000 members cost a hundred repaints at most.
class Percentagem {
public:
  explicit Percentagem(const Progresso &p) : progresso(p) {}

  // `feito` of `total`, rounded to the nearest whole percent; nothing to do counts as done.
  void Avançar(qint64 feito, qint64 total) {
    Dizer(total <= 0 ? 100 : int(std::clamp<qint64>((200 * feito + total) / (2 * total), 0, 100)));
  }
  void Dizer(int percentagem) {
    if (progresso && percentagem != último) {
      último = percentagem;
      progresso(percentagem);
    }
  }

private:
  const Progresso &progresso;
  int último = -1;
};

// A horizontal rule across the printable width at the current print line.
inline void Régua(Impressão &p) {
  p.Linha(0, p.Y(), p.LarguraPágina(), p.Y());
}

// The first page's heading of a report of members: the page header, the report's own lines
// (month or year, quota type), the rules, and in bold "    Número"; returns where that heading
// ends, against which the numbers are right-aligned. The caller goes on with its own column
// heads on the same line.
inline double CabeçalhoDeSócios(Impressão &p, const QString &título, const QStringList &linhas) {
  ImprimirCabeçalho(p, título, QStringLiteral("Página 1"));
  p.DefinirTamanho(12);
  for (const QString &l : linhas)
    p.ImprimirAjustado(l, p.LarguraPágina());
  p.LinhaVazia();
  Régua(p);
  p.LinhaVazia();
  p.DefinirNegrito(true);
  p.Imprimir(QStringLiteral("    Número"), false);
  return p.X();
}

// While it lives, every page that the surface starts by itself (a line reached the bottom)
// first gets the report's heading, whatever was being printed: the rows and the closing
// lines alike, so no page of a report goes without its header.
class CabeçalhoEmCadaPágina {
public:
  CabeçalhoEmCadaPágina(Impressão &impressão, std::function<void(Impressão &)> cabeçalho)
      : p(impressão), anterior(std::move(p.AoMudarDePágina)) {
    p.AoMudarDePágina = [this, c = std::move(cabeçalho)](Impressão &q) {
      // A heading taller than the page would start page after page for ever.
      if (aImprimir)
        return;
      aImprimir = true;
      c(q);
      aImprimir = false;
    };
  }
  ~CabeçalhoEmCadaPágina() { p.AoMudarDePágina = std::move(anterior); }
  CabeçalhoEmCadaPágina(const CabeçalhoEmCadaPágina &) = delete;
  CabeçalhoEmCadaPágina &operator=(const CabeçalhoEmCadaPágina &) = delete;

private:
  Impressão &p;
  std::function<void(Impressão &)> anterior;
  bool aImprimir = false;
};
