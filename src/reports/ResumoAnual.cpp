#include "ResumoAnual.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "PecasRelatorio.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

// Every member meets each of the twelve months once: the dues key of the month is built from the
// member's number and the month (as the arrears report builds it), so each pair costs one look-up
// in the index Quotas, and the counts come out of one grouping. A missing Inscrição reads as the
// empty text, before every date.
const QString SqlResumo =
    u"WITH meses(m) AS (VALUES (1), (2), (3), (4), (5), (6), (7), (8), (9), (10), (11), (12)) "
    u"SELECT t.m, count(t.chave), coalesce(sum(t.valor), 0), sum(t.inscrito), "
    u"sum(CASE WHEN t.inscrito = 1 AND t.chave IS NULL THEN 1 ELSE 0 END) "
    u"FROM (SELECT meses.m AS m, q.\"QuotaEuro\" AS valor, q.\"SócMês\" AS chave, "
    u"CASE WHEN coalesce(s.\"Inscrição\", '') <= ? || substr(CAST(100 + meses.m AS TEXT), 2) "
    u"|| '32' THEN 1 ELSE 0 END AS inscrito "
    u"FROM meses CROSS JOIN \"Sócios\" s "
    u"LEFT JOIN \"Quotizações\" q ON q.\"SócMês\" = substr(CAST(1000000 + s.\"Número\" AS TEXT), "
    u"2) || ? || substr(CAST(100 + meses.m AS TEXT), 2) "
    u"WHERE (? = 0 OR s.\"TipoQuota\" = ?)) t "
    u"GROUP BY t.m ORDER BY t.m"_s;

ResumoDoAno ResumirAno(BaseDados &bd, int ano, qint64 tipoQuota) {
  ResumoDoAno r;
  const QString a = FormatarNúmero(ano, u"0000");
  {
    BaseDados::Leitura leitura(bd);
    bd.Percorrer(SqlResumo, {a, a, tipoQuota, tipoQuota}, u"resumir o ano"_s,
                 [&](const Instrução &i) {
                   const qint64 m = i.Inteiro(0);
                   if (m < 1 || m > 12)
                     return;
                   r.meses[size_t(m - 1)] = {i.Inteiro(1), Moeda::DeDécimosMilésimos(i.Inteiro(2)),
                                             i.Inteiro(3), i.Inteiro(4)};
                 });
  }
  for (const MêsResumo &m : r.meses) {
    r.quotas += m.quotas;
    r.valor += m.valor;
    r.mesesEmDívida += m.emDívida;
  }
  r.inscritosNoFim = r.meses[11].inscritos;
  return r;
}

namespace {

const QString Título = u"Resumo do Ano"_s;
const QString FonteGráfico = u"Arial"_s;

// A scale from 0 to four steps of 1, 2 or 5 times a power of ten, the first such top that
// reaches `máximo`: the labels read as round numbers.
qint64 PassoRedondo(qint64 máximo) {
  const qint64 mínimo = std::max<qint64>(1, (máximo + 3) / 4);
  for (qint64 potência = 1;; potência *= 10)
    for (const qint64 f : {1, 2, 5})
      if (f * potência >= mínimo)
        return f * potência;
}

// Right-aligns `texto` so that it ends at `direita`, on the current line.
void ÀDireita(Impressão &p, const QString &texto, double direita) {
  p.DefinirX(direita - p.LarguraTexto(texto));
  p.Imprimir(texto, false);
}

void Escrever(Impressão &p, const QString &texto, double x, double y) {
  p.DefinirX(x);
  p.DefinirY(y);
  p.Imprimir(texto, false);
}

QString Euros(qint64 euros) {
  return FormatarNúmero(euros, u"#,###,##0");
}

} // namespace

void DesenharGráficoResumo(Impressão &p, const ResumoDoAno &resumo, double x, double y,
                           double largura, double altura) {
  p.DefinirFonte(FonteGráfico);
  p.DefinirNegrito(false);
  p.DefinirSublinhado(false);
  p.Rectângulo(x, y, x + largura, y + altura);
  constexpr double folga = 120;
  p.DefinirTamanho(9);
  const double linha = p.AlturaLinha();

  // The legend across the top: a bar for the money, a point on a dashed line for the members.
  const double yLegenda = y + folga;
  const double meioLegenda = yLegenda + linha / 2;
  double xl = x + folga;
  p.Rectângulo(xl, meioLegenda - 60, xl + 240, meioLegenda + 60);
  xl += 240 + 80;
  const QString legendaValor = u"Valor recebido (€, escala à esquerda)"_s;
  Escrever(p, legendaValor, xl, yLegenda);
  xl += p.LarguraTexto(legendaValor) + 360;
  p.Linha(xl, meioLegenda, xl + 360, meioLegenda, true);
  p.Rectângulo(xl + 140, meioLegenda - 40, xl + 220, meioLegenda + 40);
  xl += 360 + 80;
  Escrever(p, u"Sócios em dívida (escala à direita)"_s, xl, yLegenda);

  // The scales: euros on the left, members on the right, four steps each.
  qint64 maiorEuros = 0, maiorDívida = 0;
  for (const MêsResumo &m : resumo.meses) {
    maiorEuros =
        std::max(maiorEuros, (m.valor.DécimosMilésimos() + Moeda::Unidade - 1) / Moeda::Unidade);
    maiorDívida = std::max(maiorDívida, m.emDívida);
  }
  const qint64 passoEuros = PassoRedondo(maiorEuros);
  const qint64 passoDívida = PassoRedondo(maiorDívida);
  const double larguraEsquerda = p.LarguraTexto(Euros(4 * passoEuros)) + 2 * folga;
  const double larguraDireita = p.LarguraTexto(QString::number(4 * passoDívida)) + 2 * folga;
  const double esquerda = x + larguraEsquerda;
  const double direita = x + largura - larguraDireita;
  const double topo = yLegenda + linha + 2 * folga;
  const double fundo = y + altura - folga - linha - folga;
  const double alto = std::max(0.0, fundo - topo);
  for (int k = 0; k <= 4; ++k) {
    const double yk = fundo - alto * k / 4;
    if (k > 0)
      p.Linha(esquerda, yk, direita, yk, true);
    const QString e = Euros(k * passoEuros);
    p.DefinirY(yk - linha / 2);
    ÀDireita(p, e, esquerda - folga);
    p.DefinirX(direita + folga);
    p.Imprimir(QString::number(k * passoDívida), false);
  }
  p.Linha(esquerda, fundo, direita, fundo);
  p.Linha(esquerda, topo, esquerda, fundo);
  p.Linha(direita, topo, direita, fundo);

  // A bar a month, hatched so that it reads as a bar on any printer, and the month under it.
  const double casa = (direita - esquerda) / 12;
  const double barra = casa * 0.6;
  QPointF anterior;
  for (int m = 0; m < 12; ++m) {
    const MêsResumo &mês = resumo.meses[size_t(m)];
    const double centro = esquerda + casa * (m + 0.5);
    const double h =
        alto * double(mês.valor.DécimosMilésimos()) / double(4 * passoEuros * Moeda::Unidade);
    if (h > 0) {
      const double x1 = centro - barra / 2, x2 = centro + barra / 2;
      p.Rectângulo(x1, fundo - h, x2, fundo);
      for (double xi = x1 + 90; xi < x2 - 20; xi += 90)
        p.Linha(xi, fundo - h, xi, fundo);
    }
    const QString nome = AbreviaturaMês(m + 1);
    Escrever(p, nome, centro - p.LarguraTexto(nome) / 2, fundo + folga);
    const QPointF ponto(centro, fundo - alto * double(mês.emDívida) / double(4 * passoDívida));
    if (m > 0)
      p.Linha(anterior.x(), anterior.y(), ponto.x(), ponto.y(), true);
    p.Rectângulo(ponto.x() - 50, ponto.y() - 50, ponto.x() + 50, ponto.y() + 50);
    anterior = ponto;
  }
}

void ImprimirResumo(Impressão &p, const QString &ano, const QString &tipoQuota,
                    const ResumoDoAno &resumo) {
  ImprimirCabeçalho(p, Título, u"Ano de "_s + ano);
  p.DefinirTamanho(12);
  p.ImprimirAjustado(u"Tipo de Quota: "_s + tipoQuota, p.LarguraPágina());
  p.LinhaVazia();
  Régua(p);
  p.LinhaVazia();

  const double w = p.LarguraPágina();
  // The mês on the left, the four figures right-aligned in columns that share the rest.
  const double colunas[4] = {w * 0.43, w * 0.61, w * 0.79, w * 0.97};
  // On a narrow page a head too wide for its column is made smaller, then cut.
  const auto linha = [&](const QString &mês, const QStringList &valores) {
    p.DefinirX(w * 0.03);
    p.ImprimirAjustado(mês, colunas[0] - w * 0.18 - w * 0.03, false);
    for (int c = 0; c < 4; ++c) {
      const TextoAjustado a = AjustarTexto(p.Fonte(), valores[c], w * 0.18 - 120);
      p.DefinirX(colunas[c] - a.largura);
      p.Imprimir(a, false);
    }
    p.LinhaVazia();
  };
  p.DefinirNegrito(true);
  linha(u"Mês"_s,
        {u"Quotas recebidas"_s, u"Valor recebido"_s, u"Sócios inscritos"_s, u"Sócios em dívida"_s});
  p.DefinirNegrito(false);
  Régua(p);
  for (int m = 0; m < 12; ++m) {
    const MêsResumo &mês = resumo.meses[size_t(m)];
    linha(NomeMês(m + 1), {QString::number(mês.quotas), mês.valor.Formatar(u"#,###,##0.00"),
                           QString::number(mês.inscritos), QString::number(mês.emDívida)});
  }
  Régua(p);
  p.DefinirNegrito(true);
  linha(u"Total do ano"_s,
        {QString::number(resumo.quotas), resumo.valor.Formatar(u"#,###,##0.00"),
         QString::number(resumo.inscritosNoFim), QString::number(resumo.mesesEmDívida)});
  p.DefinirNegrito(false);
  p.DefinirX(w * 0.03);
  p.Imprimir(u"Sócios inscritos no fim do ano: "_s + QString::number(resumo.inscritosNoFim) + u'.');
  p.LinhaVazia();

  // The chart takes what the page has left, up to a height that keeps its bars readable.
  const double y = p.Y();
  const double altura = std::min(7200.0, p.AlturaPágina() - y - 60);
  if (altura > 2000)
    DesenharGráficoResumo(p, resumo, 0, y, w, altura);
  p.TerminarDocumento();
}
