#include "ListagemSocios.h"

#include "BaseDados.h"
#include "Formatacao.h"
#include "OrdemNomes.h"

#include <QCollatorSortKey>
#include <QHash>
#include <algorithm>
#include <limits>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The reference names come from the reference rows read once (a few hundred at most), not
// from a join per member: Código is unique across every kind of reference row, so no kind is
// named.
const QString SqlBase =
    u"SELECT s.\"Número\", s.\"Nome\", s.\"Inscrição\", s.\"Rua\", s.\"Localidade\", "
    u"s.\"CPostal\", s.\"Situação\", s.\"TipoQuota\" FROM \"Sócios\" s "_s;
const QString SqlOrdem = u" ORDER BY s.\"Número\""_s;

enum class Campo { Número, Nome, Inscrição, CPostal, Situação, TipoQuota };

struct Chave {
  Campo campo;
  bool descendente;
};

// What a row is sorted by besides its number and name. The engine puts an empty code before
// every code, and so does this.
struct Ordenáveis {
  QString inscrição;
  qint64 cPostal, situação, tipoQuota;
};

qint64 Código(const Instrução &i, int coluna) {
  return i.Nulo(coluna) ? std::numeric_limits<qint64>::min() : i.Inteiro(coluna);
}

QString DataListada(const QString &inscrição) {
  return inscrição.isEmpty() ? u"--"_s : InscriçãoParaTexto(inscrição);
}

// The sort keys of the order chosen: its own field, then the secondary order, if it adds
// anything, and the reversal on the last of them.
std::vector<Chave> ChavesDeOrdem(const EscolhaListagem &e) {
  static constexpr Campo Principal[] = {Campo::Número,  Campo::Nome,     Campo::Inscrição,
                                        Campo::CPostal, Campo::Situação, Campo::TipoQuota};
  const int k = std::clamp(int(e.ordem), 1, 6);
  // Numbers are unique: a secondary key after them orders nothing, and its reversal neither.
  if (k == 1)
    return {{Campo::Número, e.ascDesc && !e.subOrdemAlfabética}};
  std::vector<Chave> chaves{{Principal[k - 1], false}};
  if (!e.subOrdemAlfabética)
    chaves.push_back({Campo::Número, false});
  else if (e.ordem != OrdemListagem::Alfabética)
    chaves.push_back({Campo::Nome, false});
  chaves.back().descendente = e.ascDesc;
  return chaves;
}

// The window's range as it opens, "A" to "ZZ", stands for every member: a name that begins
// with a digit or a sign ("1º de Maio") sorts before "A", and one such as "ZZZ Lda" after
// "ZZ", and neither may silently drop out of the list of all members.
bool TodosOsNomes(const EscolhaListagem &e) {
  const EscolhaListagem omissão;
  return e.nomeDe == omissão.nomeDe && e.nomeAté == omissão.nomeAté;
}

} // namespace

QStringList SócioListado::Células() const {
  return {QString::number(número), nome, inscrição, rua, localidade, códigoPostal};
}

std::vector<SócioListado> LinhasListagem(BaseDados &bd, const EscolhaListagem &e) {
  QString sql = SqlBase;
  QVariantList valores;
  switch (e.ordem) {
  case OrdemListagem::Alfabética:
    // Names are ranged below, in Portuguese order.
    break;
  case OrdemListagem::CódigoPostal:
  case OrdemListagem::Situação:
  case OrdemListagem::TipoQuota: {
    const qint64 código = e.ordem == OrdemListagem::CódigoPostal ? e.cPostal
                          : e.ordem == OrdemListagem::Situação   ? e.situação
                                                                 : e.tipoQuota;
    if (código != 0) {
      sql += e.ordem == OrdemListagem::CódigoPostal ? u"WHERE s.\"CPostal\" = ?"_s
             : e.ordem == OrdemListagem::Situação   ? u"WHERE s.\"Situação\" = ?"_s
                                                    : u"WHERE s.\"TipoQuota\" = ?"_s;
      valores << código;
    }
    break;
  }
  default:
    sql += u"WHERE s.\"Número\" BETWEEN ? AND ?"_s;
    valores << e.númeroDe << e.númeroAté;
    break;
  }
  sql += SqlOrdem;

  const std::vector<Chave> chaves = ChavesDeOrdem(e);
  // The rows come in ascending number: the plain numeric order needs no sort keys at all.
  const bool ordenar = !(chaves.size() == 1 && chaves[0].campo == Campo::Número);
  std::vector<SócioListado> sócios;
  std::vector<Ordenáveis> ordenáveis;
  {
    BaseDados::Leitura leitura(bd);
    QHash<qint64, QString> designações;
    bd.Percorrer(u"SELECT \"Código\", \"Designação\" FROM \"Tabelas\""_s, {},
                 u"Listagem de Sócios"_s,
                 [&](const Instrução &i) { designações.insert(i.Inteiro(0), i.Texto(1)); });
    bd.Percorrer(sql, valores, u"Listagem de Sócios"_s, [&](const Instrução &i) {
      const QString inscrição = i.Texto(2).trimmed();
      const auto designação = [&](int coluna) {
        return i.Nulo(coluna) ? QString() : designações.value(i.Inteiro(coluna));
      };
      sócios.push_back({i.Inteiro(0), i.Texto(1), DataListada(inscrição), i.Texto(3).trimmed(),
                        i.Texto(4).trimmed(), designação(5), designação(6), designação(7)});
      if (ordenar)
        ordenáveis.push_back({inscrição, Código(i, 5), Código(i, 6), Código(i, 7)});
    });
  }

  if (!ordenar) {
    if (chaves[0].descendente)
      std::reverse(sócios.begin(), sócios.end());
    return sócios;
  }

  const bool porNome = e.ordem == OrdemListagem::Alfabética ||
                       std::any_of(chaves.begin(), chaves.end(),
                                   [](const Chave &c) { return c.campo == Campo::Nome; });
  std::vector<size_t> índices(sócios.size());
  std::iota(índices.begin(), índices.end(), size_t(0));

  // Each name's collation key is made once; the exact text breaks what the collator ties, as
  // OrdemPortuguesa::Comparar does.
  std::vector<QCollatorSortKey> chavesNome;
  const OrdemPortuguesa ordem;
  if (porNome) {
    chavesNome.reserve(sócios.size());
    for (const SócioListado &s : sócios)
      chavesNome.push_back(ordem.Chave(s.nome));
  }
  const auto compararNome = [&](size_t a, size_t b) {
    const int c = chavesNome[a].compare(chavesNome[b]);
    return c != 0 ? c : QString::compare(sócios[a].nome, sócios[b].nome);
  };

  if (e.ordem == OrdemListagem::Alfabética && !TodosOsNomes(e)) {
    const QCollatorSortKey de = ordem.Chave(e.nomeDe), até = ordem.Chave(e.nomeAté);
    const auto comparar = [&](size_t i, const QCollatorSortKey &chave, const QString &limite) {
      const int c = chavesNome[i].compare(chave);
      return c != 0 ? c : QString::compare(sócios[i].nome, limite);
    };
    std::erase_if(índices, [&](size_t i) {
      return comparar(i, de, e.nomeDe) < 0 || comparar(i, até, e.nomeAté) > 0;
    });
  }

  const auto comparar = [&](size_t a, size_t b, Campo campo) -> int {
    const auto três = [](const auto &x, const auto &y) { return x < y ? -1 : y < x ? 1 : 0; };
    switch (campo) {
    case Campo::Número:
      return três(sócios[a].número, sócios[b].número);
    case Campo::Nome:
      return compararNome(a, b);
    case Campo::Inscrição:
      return QString::compare(ordenáveis[a].inscrição, ordenáveis[b].inscrição);
    case Campo::CPostal:
      return três(ordenáveis[a].cPostal, ordenáveis[b].cPostal);
    case Campo::Situação:
      return três(ordenáveis[a].situação, ordenáveis[b].situação);
    case Campo::TipoQuota:
      return três(ordenáveis[a].tipoQuota, ordenáveis[b].tipoQuota);
    }
    return 0;
  };
  // A stable sort leaves members equal on every key in ascending number, as they came.
  std::stable_sort(índices.begin(), índices.end(), [&](size_t a, size_t b) {
    for (const Chave &c : chaves)
      if (const int r = comparar(a, b, c.campo); r != 0)
        return c.descendente ? r > 0 : r < 0;
    return false;
  });

  std::vector<SócioListado> r;
  r.reserve(índices.size());
  for (size_t i : índices)
    r.push_back(std::move(sócios[i]));
  return r;
}
