#include "Cabecalho.h"

#include "ConjuntoRegistos.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "Referencias.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The trimmed Designação of the association row of kind k, if the row exists.
std::optional<QString> Linha(BaseDados &bd, int k) {
  const auto v = LerLinhaTabelas(bd, QChar(u'0' + k));
  return v ? std::optional<QString>(v->trimmed()) : std::nullopt;
}

constexpr double Tamanhos[] = {16, 12, 12, 14, 8};

} // namespace

QStringList LinhasColectividade(BaseDados &bd, const ListasReferência &listas) {
  BaseDados::Leitura leitura(bd);
  QStringList linhas;
  for (int k = 1; k <= 3; ++k)
    linhas << Linha(bd, k).value_or(QString());
  QString códigoPostal;
  if (const auto código = Linha(bd, 4))
    códigoPostal = ListasReferência::Texto(listas.códigosPostais, ValorNumérico(*código));
  linhas << códigoPostal;
  QString contactos;
  if (const auto telefone = Linha(bd, 5))
    contactos = u"Telefone: "_s + *telefone;
  if (const auto fax = Linha(bd, 6))
    contactos += u"   -   Fax: "_s + *fax;
  linhas << contactos;
  return linhas;
}

void ImprimirCabeçalho(Impressão &p, const QString &título, const QString &página) {
  p.DefinirFonte(u"Times New Roman"_s);
  const QStringList linhas = LinhasColectividade(Dados().bd, Listas());
  const auto largura = [&](int i) {
    p.DefinirTamanho(Tamanhos[i]);
    return std::floor(p.LarguraTexto(linhas[i]));
  };
  double bloco = 0;
  for (int i = 0; i < 5; ++i)
    bloco = std::max(bloco, largura(i));

  p.DefinirX(0);
  p.DefinirY(0);
  for (int i = 0; i < 5; ++i) {
    p.DefinirTamanho(Tamanhos[i]);
    p.Imprimir(u" "_s, false);
    p.DefinirX((bloco - std::floor(p.LarguraTexto(linhas[i]))) / 2);
    p.Imprimir(linhas[i]);
  }
  p.LinhaVazia();
  p.Linha(0, p.Y(), p.LarguraPágina(), p.Y());
  p.LinhaVazia();
  const double y0 = p.Y();

  const double w = p.LarguraPágina();
  p.DefinirTamanho(18);
  p.DefinirY(0);
  p.DefinirX((w - bloco - p.LarguraTexto(título)) / 2 + bloco);
  p.Imprimir(título);
  p.LinhaVazia();
  p.DefinirTamanho(14);
  p.DefinirX((w - bloco - p.LarguraTexto(página)) / 2 + bloco);
  p.Imprimir(página);
  p.DefinirX(0);
  p.DefinirY(y0);
}
