#include "Cabecalho.h"

#include "ConjuntoRegistos.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "Referencias.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The association's rows, kinds "1" to "6" and its NIPC, read in one query: a print reads
// them once for every page header.
QHash<QChar, QString> LerColectividade(BaseDados &bd) {
  return LerLinhasTabelas(bd, TiposColectividade());
}

// The trimmed Designação of the association row of kind k, if the row exists.
std::optional<QString> Linha(const QHash<QChar, QString> &linhas, QChar k) {
  const auto i = linhas.constFind(k);
  return i == linhas.cend() ? std::nullopt : std::optional<QString>(i->trimmed());
}

} // namespace

QString TiposColectividade() { return u"123456"_s + QChar(TipoNIPC); }

QStringList LinhasColectividade(const QHash<QChar, QString> &lidas,
                                const ListasReferência &listas) {
  QStringList linhas;
  for (int k = 1; k <= 3; ++k)
    linhas << Linha(lidas, QChar(u'0' + k)).value_or(QString());
  QString códigoPostal;
  if (const auto código = Linha(lidas, u'4'))
    códigoPostal = ListasReferência::Texto(listas.códigosPostais, ValorNumérico(*código));
  linhas << códigoPostal;
  QString contactos;
  if (const auto telefone = Linha(lidas, u'5'))
    contactos = u"Telefone: "_s + *telefone;
  if (const auto fax = Linha(lidas, u'6'))
    contactos += u"   -   Fax: "_s + *fax;
  linhas << contactos;
  return linhas;
}

QString LinhaNIPC(const QHash<QChar, QString> &lidas) {
  const QString nipc = Linha(lidas, TipoNIPC).value_or(QString());
  return nipc.isEmpty() ? QString() : u"NIPC: "_s + nipc;
}

namespace {

// The five lines of the block, then the NIPC line, small as the contacts.
constexpr double Tamanhos[] = {16, 12, 12, 14, 8, 8};

// The least room between the association's block and the title beside it.
constexpr double FolgaTítulo = 240;

} // namespace

QStringList LinhasColectividade(BaseDados &bd, const ListasReferência &listas) {
  return LinhasColectividade(LerColectividade(bd), listas);
}

void ImprimirCabeçalho(Impressão &p, const QString &título, const QString &página) {
  p.DefinirFonte(u"Times New Roman"_s);
  const QHash<QChar, QString> lidas = LerColectividade(Dados().bd);
  QStringList linhas = LinhasColectividade(lidas, Listas());
  if (const QString nipc = LinhaNIPC(lidas); !nipc.isEmpty())
    linhas << nipc;
  const int n = int(linhas.size());
  const double w = p.LarguraPágina();
  p.DefinirTamanho(18);
  const double larguraTítulo = p.LarguraTexto(título);
  p.DefinirTamanho(14);
  const double larguraPágina = p.LarguraTexto(página);
  // The block leaves the title and the page text their room beside it: a name too long for
  // what is left is shrunk, and cut at a word if need be, rather than push them off the page.
  const double títulos = std::max(larguraTítulo, larguraPágina);
  const double máximo = títulos > 0 ? w - títulos - FolgaTítulo : w;
  TextoAjustado ajustadas[6];
  double bloco = 0;
  for (int i = 0; i < n; ++i) {
    p.DefinirTamanho(Tamanhos[i]);
    ajustadas[i] = AjustarTexto(p.Fonte(), linhas[i], std::max(0.0, máximo));
    ajustadas[i].largura = std::floor(ajustadas[i].largura);
    bloco = std::max(bloco, ajustadas[i].largura);
  }

  p.DefinirX(0);
  p.DefinirY(0);
  for (int i = 0; i < n; ++i) {
    p.DefinirTamanho(Tamanhos[i]);
    p.Imprimir(u" "_s, false);
    p.DefinirX((bloco - ajustadas[i].largura) / 2);
    p.Imprimir(ajustadas[i]);
  }
  p.LinhaVazia();
  p.Linha(0, p.Y(), w, p.Y());
  p.LinhaVazia();
  const double y0 = p.Y();

  p.DefinirTamanho(18);
  p.DefinirY(0);
  p.DefinirX(std::max(bloco, (w - bloco - larguraTítulo) / 2 + bloco));
  p.ImprimirAjustado(título, w - p.X());
  p.LinhaVazia();
  p.DefinirTamanho(14);
  p.DefinirX(std::max(bloco, (w - bloco - larguraPágina) / 2 + bloco));
  p.ImprimirAjustado(página, w - p.X());
  p.DefinirX(0);
  p.DefinirY(y0);
}
