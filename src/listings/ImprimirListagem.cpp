#include "ImprimirListagem.h"

#include "Campos.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "PecasRelatorio.h"
#include "Referencias.h"

#include <algorithm>
#include <span>

using namespace Qt::StringLiterals;

namespace {

// The lists were laid out for a printable width of 11500 twips; texts placed against the right
// edge and the centred title follow the width the printer really has, so nothing passes it.
constexpr double FimDePágina = 15000;

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

struct Coluna {
  QString título;
  double x;
};

void CabeçalhoListagem(Impressão &p, bool detalhada, const QString &colectividade, int &página) {
  const double w = p.LarguraPágina();
  p.DefinirX(0);
  p.DefinirY(0);
  p.DefinirFonte(u"Arial"_s);
  p.DefinirTamanho(14);
  p.DefinirNegrito(true);
  p.Imprimir(colectividade);
  p.Rectângulo(0, 330, w - 400, 630);

  p.DefinirY(350);
  p.DefinirTamanho(10);
  p.DefinirX((p.LarguraPágina() - p.LarguraTexto(TítuloListagem)) / 2);
  p.Imprimir(TítuloListagem);

  // The page text keeps its designed distance from the right edge (10300 on a page 11500
  // twips wide), so on a narrower printable area it does not run past the edge.
  p.DefinirY(350);
  p.DefinirX(w - 1200);
  p.DefinirTamanho(8);
  ++página;
  p.Imprimir(u"Página Nº "_s + ComoNúmero(página));
  p.LinhaVazia();

  static const Coluna Detalhada[] = {
      {u"Código"_s, 0},           {u"Nome"_s, 1400},           {u"Morada"_s, 4200},
      {u"CP Localidade"_s, 6500}, {u"Data Inscrição"_s, 8500}, {u"Tipo Quota"_s, 9500},
      {u"Situação"_s, 10500}};
  static const Coluna Normal[] = {{u"Código"_s, 0},
                                  {u"Nome"_s, 2400},
                                  {u"Código Postal"_s, 6000},
                                  {u"Inscrição"_s, 9100},
                                  {u"Situação"_s, 10500}};
  const auto colunas =
      detalhada ? std::span<const Coluna>(Detalhada) : std::span<const Coluna>(Normal);
  p.DefinirTamanho(detalhada ? 6 : 9);
  p.DefinirY(1050);
  for (size_t i = 0; i < colunas.size(); ++i) {
    p.DefinirX(colunas[i].x);
    p.Imprimir(colunas[i].título, i + 1 == colunas.size());
  }
  p.Linha(p.X(), p.Y(), p.X() + w, p.Y());
  p.LinhaVazia();
  p.DefinirNegrito(false);
}

void LinhaDoSócio(Impressão &p, const SócioListado &s, bool detalhada) {
  // The whole line goes to the next page together when it would pass the bottom.
  p.ReservarEspaço(p.AlturaLinha());
  const auto item = [&](double x, const QString &texto, bool fimDaLinha = false) {
    p.DefinirX(x);
    p.Imprimir(texto, fimDaLinha);
  };
  item(0, ComoNúmero(s.número));
  if (detalhada) {
    item(500, s.nome);
    if (!s.rua.isEmpty()) {
      QString rua = s.rua;
      CortarTexto(rua, 30);
      item(4200, rua);
    }
    item(6500, s.códigoPostal);
    item(8500, s.inscrição);
    if (!s.tipoQuota.isEmpty())
      item(9500, s.tipoQuota);
  } else {
    item(600, s.nome);
    item(6000, s.códigoPostal.left(30));
    item(9100, s.inscrição);
  }
  item(10500, s.situação, true);
}

struct FormatoEtiqueta {
  double tamanho;
  double passo; // from one label to the next across
  int colunas;
  int cortarNome; // CortarTexto's limit; 0 prints the text whole
  int cortarRua;
};

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
  const auto linha = [&](double dy, const QString &texto, bool negrito) {
    p.DefinirNegrito(negrito);
    p.DefinirX(x);
    p.DefinirY(y + dy);
    p.Imprimir(texto);
  };
  for (const SócioListado &s : sócios) {
    if (páginaCheia) {
      p.NovaPágina();
      páginaCheia = false;
    }
    linha(-340, ComoNúmero(s.número), true);
    linha(-200, Cortado(s.nome, f.cortarNome), true);
    linha(60, Cortado(s.rua, f.cortarRua), false);
    linha(320, s.localidade, false);
    linha(580, s.códigoPostal, true);
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
      p.DefinirX(p.LarguraPágina() - p.LarguraTexto(TextoContinua));
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
