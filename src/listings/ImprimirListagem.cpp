#include "ImprimirListagem.h"

#include "Campos.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "PecasRelatorio.h"
#include "Referencias.h"

#include <algorithm>
#include <limits>
#include <span>

using namespace Qt::StringLiterals;

namespace {

// The lists were laid out for a printable width of 11500 twips. On a narrower one their columns
// close up in proportion, so that the last still has its room inside the page; texts placed
// against the right edge and the centred title follow the width the printer really has.
constexpr double LarguraDesenhada = 11500;
constexpr double FimDePágina = 15000;
// The least blank between a column's text and the next column.
constexpr double FolgaColuna = 60;

double Coluna(const Impressão &p, double x) {
  return x * std::min(1.0, p.LarguraPágina() / LarguraDesenhada);
}

const QString TítuloListagem = u"Listagem de Sócios"_s;
const QString TextoContinua = u"Continua na próxima página"_s;
const QString TextoFim = u"Fim da Listagem de Sócios"_s;
const QString Crédito = u"Agremia - gestão de sócios e quotas"_s;

// A number printed as a number: a blank where the sign would stand, and one after it.
QString ComoNúmero(qint64 n) {
  return NúmeroComSinal(n) + u' ';
}

// The progress of a print: a step per member, held below 100 until the closing lines are out.
class AndamentoImpressão {
public:
  AndamentoImpressão(const ProgressoImpressão &f, size_t total)
      : percentagem(f), passo(total ? 100.0 / double(total) : 100.0) {
    percentagem.Dizer(0);
  }
  void Avançar() {
    valor += passo;
    percentagem.Dizer(std::min(99, int(valor)));
  }
  void Terminar() { percentagem.Dizer(100); }

private:
  Percentagem percentagem;
  double passo;
  double valor = 0;
};

struct Título {
  QString texto;
  double x;
};

// Prints `texto` at the column that starts at the designed position `x`, fitted to end before the
// column at `seguinte` (0 for the last column, which ends at the edge of the page).
void NaColuna(Impressão &p, double x, double seguinte, const QString &texto, bool fimDaLinha) {
  p.DefinirX(Coluna(p, x));
  const double fim = seguinte > 0 ? Coluna(p, seguinte) - FolgaColuna : p.LarguraPágina();
  p.ImprimirAjustado(texto, fim - p.X(), fimDaLinha);
}

void CabeçalhoListagem(Impressão &p, bool detalhada, const QString &colectividade, int &página) {
  const double w = p.LarguraPágina();
  const double moldura = w - 400; // the frame's right edge
  p.DefinirX(0);
  p.DefinirY(0);
  p.DefinirFonte(u"Arial"_s);
  p.DefinirTamanho(14);
  p.DefinirNegrito(true);
  p.ImprimirAjustado(colectividade, moldura);
  p.Rectângulo(0, 330, moldura, 630);

  p.DefinirY(350);
  p.DefinirTamanho(10);
  p.DefinirX((p.LarguraPágina() - p.LarguraTexto(TítuloListagem)) / 2);
  p.Imprimir(TítuloListagem);

  // The page text keeps its designed distance from the right edge (10300 on a page 11500
  // twips wide) and stays inside the frame: smaller when it would pass it and, a number too long
  // even so, ending at the frame.
  p.DefinirY(350);
  p.DefinirTamanho(8);
  ++página;
  const QString textoPágina = u"Página Nº "_s + ComoNúmero(página);
  const double dentro = moldura - FolgaColuna;
  TextoAjustado a = AjustarTexto(p.Fonte(), textoPágina, dentro - (w - 1200));
  if (a.texto != textoPágina) {
    FonteImpressão menor = p.Fonte();
    menor.tamanho = a.tamanho;
    a = {textoPágina, a.tamanho, MedirTexto(menor, textoPágina.trimmed())};
  }
  p.DefinirX(std::min(w - 1200, dentro - a.largura));
  p.Imprimir(a);
  p.LinhaVazia();

  static const Título Detalhada[] = {
      {u"Código"_s, 0},           {u"Nome"_s, 1400},           {u"Morada"_s, 4200},
      {u"CP Localidade"_s, 6500}, {u"Data Inscrição"_s, 8500}, {u"Tipo Quota"_s, 9500},
      {u"Situação"_s, 10500}};
  static const Título Normal[] = {{u"Código"_s, 0},
                                  {u"Nome"_s, 2400},
                                  {u"Código Postal"_s, 6000},
                                  {u"Inscrição"_s, 9100},
                                  {u"Situação"_s, 10500}};
  const auto colunas =
      detalhada ? std::span<const Título>(Detalhada) : std::span<const Título>(Normal);
  p.DefinirTamanho(detalhada ? 6 : 9);
  p.DefinirY(1050);
  for (size_t i = 0; i < colunas.size(); ++i) {
    const bool última = i + 1 == colunas.size();
    NaColuna(p, colunas[i].x, última ? 0 : colunas[i + 1].x, colunas[i].texto, última);
  }
  p.Linha(p.X(), p.Y(), p.X() + w, p.Y());
  p.LinhaVazia();
  p.DefinirNegrito(false);
}

void LinhaDoSócio(Impressão &p, const SócioListado &s, bool detalhada) {
  // The whole line goes to the next page together when it would pass the bottom.
  p.ReservarEspaço(p.AlturaLinha());
  // Each item at its column, kept out of the next one.
  struct Item {
    double x;
    QString texto;
  };
  std::vector<Item> itens{{0, ComoNúmero(s.número)}};
  if (detalhada) {
    itens.push_back({500, s.nome});
    QString rua = s.rua;
    CortarTexto(rua, 30);
    itens.push_back({4200, rua});
    itens.push_back({6500, s.códigoPostal});
    itens.push_back({8500, s.inscrição});
    itens.push_back({9500, s.tipoQuota});
  } else {
    itens.push_back({600, s.nome});
    itens.push_back({6000, s.códigoPostal.left(30)});
    itens.push_back({9100, s.inscrição});
  }
  itens.push_back({10500, s.situação});
  for (size_t i = 0; i < itens.size(); ++i) {
    const bool último = i + 1 == itens.size();
    // Nothing is printed for an empty street, quota type or situation; the line ends all the same.
    if (!itens[i].texto.isEmpty() || último)
      NaColuna(p, itens[i].x, último ? 0 : itens[i + 1].x, itens[i].texto, último);
  }
}

struct FormatoEtiqueta {
  double tamanho;
  double passo; // from one label to the next across
  int colunas;
  int cortarNome; // CortarTexto's limit; 0 prints the text whole
  int cortarRua;
};

// A label's texts keep this far from its right edge, where the next label begins (390 twips
// before the next label's texts).
constexpr double MargemEtiqueta = 120;
// The least blank between the number's ink and the name's under it.
constexpr double FolgaNúmero = 15;

QString Cortado(QString texto, int n) {
  if (n > 0)
    CortarTexto(texto, n);
  return texto;
}

void ImprimirEtiquetas(Impressão &p, const std::vector<SócioListado> &sócios,
                       const FormatoEtiqueta &f, const ProgressoImpressão &progresso) {
  p.LinhaVazia();
  // Positions are in twips already: nothing to set for the labels' scale.
  p.DefinirFonte(u"Arial"_s);
  p.DefinirNegrito(true);
  p.DefinirTamanho(f.tamanho);
  double x = 390, y = 400;
  int c = 1;
  // A full page is ended only when another label comes, so a run that fills its last page
  // exactly does not feed an empty sheet of labels.
  bool páginaCheia = false;
  AndamentoImpressão percentagem(progresso, sócios.size());
  for (const SócioListado &s : sócios) {
    if (páginaCheia) {
      p.NovaPágina();
      páginaCheia = false;
    }
    // The label's texts end before the next label, and before the edge of the printable area.
    const double fim = std::min(x - 390 + f.passo - MargemEtiqueta, p.LarguraPágina());
    const auto ajustar = [&](const QString &texto, bool negrito,
                             double fundo = std::numeric_limits<double>::infinity()) {
      p.DefinirNegrito(negrito);
      p.DefinirTamanho(f.tamanho);
      return AjustarTexto(p.Fonte(), texto, fim - x, ReduçãoMáxima, fundo);
    };
    const auto linha = [&](double dy, const TextoAjustado &a, bool negrito) {
      p.DefinirNegrito(negrito);
      p.DefinirTamanho(a.tamanho);
      p.DefinirX(x);
      p.DefinirY(y + dy);
      p.Imprimir(a.texto);
      p.DefinirTamanho(f.tamanho);
    };
    const TextoAjustado nome = ajustar(Cortado(s.nome, f.cortarNome), true);
    // The number stands 140 twips above the name, closer than its line is high: an accented
    // capital starting the name rises into it, and the number is made smaller to clear it.
    double fundoNúmero = std::numeric_limits<double>::infinity();
    if (!nome.texto.trimmed().isEmpty()) {
      FonteImpressão doNome = p.Fonte();
      doNome.tamanho = nome.tamanho;
      fundoNúmero = 140 + TintaDoTexto(doNome, nome.texto).top() - FolgaNúmero;
    }
    linha(-340, ajustar(ComoNúmero(s.número), true, fundoNúmero), true);
    linha(-200, nome, true);
    linha(60, ajustar(Cortado(s.rua, f.cortarRua), false), false);
    linha(320, ajustar(s.localidade, false), false);
    linha(580, ajustar(s.códigoPostal, true), true);
    x += f.passo;
    if (++c > f.colunas) {
      x = 390;
      c = 1;
      y += 1540;
    }
    if (y >= 15800) {
      páginaCheia = true;
      x = 390;
      y = 400;
      c = 1;
    }
    percentagem.Avançar();
  }
  percentagem.Terminar();
  p.TerminarDocumento();
}

} // namespace

QString NomeColectividade(BaseDados &bd) {
  return LerLinhaTabelas(bd, u'1').value_or(QString()).trimmed();
}

void ImprimirListagem(Impressão &p, const std::vector<SócioListado> &sócios, bool detalhada,
                      const QString &colectividade, const ProgressoImpressão &progresso) {
  int página = 0;
  const auto cabeçalho = [&](Impressão &i) {
    CabeçalhoListagem(i, detalhada, colectividade, página);
  };
  const CabeçalhoEmCadaPágina guarda(p, cabeçalho);
  AndamentoImpressão percentagem(progresso, sócios.size());
  cabeçalho(p);
  const double w = p.LarguraPágina();
  for (const SócioListado &s : sócios) {
    LinhaDoSócio(p, s, detalhada);
    if (p.Y() >= FimDePágina) {
      p.Linha(p.X(), p.Y(), p.X() + w, p.Y());
      // Against the page's edge by its ink: the last glyph's reaches past its advance.
      p.DefinirX(p.LarguraPágina() - std::max(p.LarguraTexto(TextoContinua),
                                              TintaDoTexto(p.Fonte(), TextoContinua).right()));
      p.Imprimir(TextoContinua);
      p.NovaPágina();
      cabeçalho(p);
    }
    percentagem.Avançar();
  }
  percentagem.Terminar();
  p.Linha(p.X(), p.Y(), p.X() + w, p.Y());
  p.DefinirNegrito(true);
  p.LinhaVazia();
  p.DefinirTamanho(6);
  p.DefinirX(0);
  p.Imprimir(Crédito, false);
  p.DefinirX(p.LarguraPágina() - p.LarguraTexto(TextoFim));
  p.Imprimir(TextoFim);
  p.TerminarDocumento();
}

void ImprimirEtiquetasPequenas(Impressão &p, const std::vector<SócioListado> &sócios,
                               const ProgressoImpressão &progresso) {
  ImprimirEtiquetas(p, sócios, {6, 2945, 4, 35, 30}, progresso);
}

void ImprimirEtiquetasGrandes(Impressão &p, const std::vector<SócioListado> &sócios,
                              const ProgressoImpressão &progresso) {
  ImprimirEtiquetas(p, sócios, {8, 5890, 2, 0, 0}, progresso);
}

void ImprimirSócios(Impressão &p, TipoImpressão tipo, const std::vector<SócioListado> &sócios,
                    const QString &colectividade, const ProgressoImpressão &progresso) {
  switch (tipo) {
  case TipoImpressão::Detalhada:
  case TipoImpressão::Normal:
    ImprimirListagem(p, sócios, tipo == TipoImpressão::Detalhada, colectividade, progresso);
    break;
  case TipoImpressão::EndereçosPequenos:
    ImprimirEtiquetasPequenas(p, sócios, progresso);
    break;
  case TipoImpressão::EndereçosGrandes:
    ImprimirEtiquetasGrandes(p, sócios, progresso);
    break;
  }
}
