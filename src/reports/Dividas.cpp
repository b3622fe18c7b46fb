#include "Dividas.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "OrdemNomes.h"
#include "Referencias.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The months of the range, made by the engine from the two bound ends (ÍndiceMês, typed in the
// query, as a server infers no type for a bare parameter), each with
// its key suffix "yyyymm" built in standard SQL; none when the range is empty. The dues key
// of a member and month is then the member's "000012" (as the arrears report builds it) and
// that suffix: one look-up in the index Quotas per member and month.
const QString MesesDoIntervalo =
    u"WITH RECURSIVE \"Meses\"(\"Mês\", \"Fim\") AS ("
    u"SELECT CAST(? AS INTEGER), CAST(? AS INTEGER) "
    u"UNION ALL SELECT \"Mês\" + 1, \"Fim\" FROM \"Meses\" WHERE \"Mês\" < \"Fim\"), "
    u"\"Períodos\"(\"Mês\", \"Período\") AS ("
    u"SELECT \"Mês\", substr(CAST(10000 + \"Mês\" / 12 AS TEXT), 2) || "
    u"substr(CAST(101 + \"Mês\" % 12 AS TEXT), 2) "
    u"FROM \"Meses\" WHERE \"Mês\" <= \"Fim\") "_s;

// A month of the range that member s owes: enrolled by its end (a missing Inscrição reads as
// the empty text, before every date) and no dues row for it.
const QString MêsEmDívida =
    u"coalesce(s.\"Inscrição\", '') <= p.\"Período\" || '32' "
    u"AND NOT EXISTS (SELECT 1 FROM \"Quotizações\" q "
    u"WHERE q.\"SócMês\" = substr(CAST(1000000 + s.\"Número\" AS TEXT), 2) || p.\"Período\")"_s;

const QString TítuloDívidas = u"Quotas em Dívida"_s;
const QString TítuloEmDia = u"Sócios com Quotas em Dia"_s;

} // namespace

const QString SqlDívidas =
    MesesDoIntervalo +
    u"SELECT s.\"Número\", s.\"Nome\", s.\"ValQuotaEuro\", s.\"Rua\", s.\"Localidade\", "
    u"s.\"CPostal\", p.\"Mês\", (SELECT max(\"Número\") FROM \"Sócios\") "
    u"FROM \"Sócios\" s JOIN \"Períodos\" p ON "_s +
    MêsEmDívida +
    u" WHERE (? = 0 OR s.\"TipoQuota\" = ?) AND (? = 0 OR s.\"Situação\" = ?) "
    u"ORDER BY s.\"Número\", p.\"Mês\""_s;

const QString SqlEmDia =
    MesesDoIntervalo +
    u"SELECT s.\"Número\", s.\"Nome\", (SELECT max(\"Número\") FROM \"Sócios\") "
    u"FROM \"Sócios\" s WHERE coalesce(s.\"Inscrição\", '') <= ? "
    u"AND NOT EXISTS (SELECT 1 FROM \"Períodos\" p WHERE "_s +
    MêsEmDívida + u") ORDER BY s.\"Número\""_s;

QStringList PartesMeses(const std::vector<int> &meses) {
  const auto mêsAno = [](int i) {
    return AbreviaturaMês(MêsDoÍndice(i)) + u' ' + QString::number(AnoDoÍndice(i));
  };
  QStringList partes;
  for (size_t i = 0; i < meses.size();) {
    size_t j = i;
    while (j + 1 < meses.size() && meses[j + 1] == meses[j] + 1)
      ++j;
    const int a = meses[i], b = meses[j];
    if (a == b)
      partes << mêsAno(a);
    else if (AnoDoÍndice(a) == AnoDoÍndice(b))
      partes << AbreviaturaMês(MêsDoÍndice(a)) + u'–' + mêsAno(b);
    else
      partes << mêsAno(a) + u'–' + mêsAno(b);
    i = j + 1;
  }
  return partes;
}

QString MesesCompactos(const std::vector<int> &meses) {
  return PartesMeses(meses).join(u", "_s);
}

std::vector<SócioEmDívida> SóciosEmDívida(BaseDados &bd, const FiltroDívidas &filtro,
                                          OrdemDívidas ordem, const Progresso &progresso) {
  Percentagem percentagem(progresso);
  percentagem.Dizer(0);
  std::vector<SócioEmDívida> sócios;
  {
    const ListasReferência &listas = Listas();
    BaseDados::Leitura leitura(bd);
    bd.Percorrer(SqlDívidas,
                 {filtro.de, filtro.até, filtro.tipoQuota, filtro.tipoQuota, filtro.situação,
                  filtro.situação},
                 u"listar as quotas em dívida"_s, [&](const Instrução &i) {
                   const qint64 número = i.Inteiro(0);
                   // The rows of one member come together, month after month.
                   if (sócios.empty() || sócios.back().número != número) {
                     SócioEmDívida s;
                     s.número = número;
                     s.nome = i.Texto(1).trimmed();
                     s.quota = Moeda::DeDécimosMilésimos(i.Inteiro(2));
                     s.rua = i.Texto(3).trimmed();
                     s.localidade = i.Texto(4).trimmed();
                     s.códigoPostal = ListasReferência::Texto(listas.códigosPostais, i.Inteiro(5));
                     sócios.push_back(std::move(s));
                     percentagem.Avançar(número, i.Inteiro(7));
                   }
                   sócios.back().meses.push_back(int(i.Inteiro(6)));
                 });
  }
  for (SócioEmDívida &s : sócios)
    s.valor = Moeda::DeDécimosMilésimos(s.quota.DécimosMilésimos() * qint64(s.meses.size()));
  if (ordem == OrdemDívidas::Nome)
    OrdenarPorNome(sócios, [](const SócioEmDívida &s) { return s.nome; });
  else if (ordem == OrdemDívidas::Valor)
    std::stable_sort(
        sócios.begin(), sócios.end(),
        [](const SócioEmDívida &a, const SócioEmDívida &b) { return a.valor > b.valor; });
  percentagem.Dizer(100);
  return sócios;
}

TotaisDívidas SomarDívidas(const std::vector<SócioEmDívida> &sócios) {
  TotaisDívidas t;
  for (const SócioEmDívida &s : sócios) {
    ++t.sócios;
    t.meses += qint64(s.meses.size());
    t.valor += s.valor;
  }
  return t;
}

std::vector<SócioEmDia> SóciosEmDia(BaseDados &bd, QDate data, int desde,
                                    const Progresso &progresso) {
  Percentagem percentagem(progresso);
  percentagem.Dizer(0);
  std::vector<SócioEmDia> sócios;
  {
    BaseDados::Leitura leitura(bd);
    bd.Percorrer(SqlEmDia,
                 {desde, ÍndiceMês(data.year(), data.month()),
                  FormatarNúmero(data.year(), u"0000") + FormatarNúmero(data.month(), u"00") +
                      FormatarNúmero(data.day(), u"00")},
                 u"listar os sócios com as quotas em dia"_s, [&](const Instrução &i) {
                   const qint64 número = i.Inteiro(0);
                   sócios.push_back({número, i.Texto(1).trimmed()});
                   percentagem.Avançar(número, i.Inteiro(2));
                 });
  }
  percentagem.Dizer(100);
  return sócios;
}

// --- printing ---------------------------------------------------------------------------

namespace {

// The columns of the debts list, from the right edge of the page: the amount ends there, the
// count of months 1500 twips before, the months owed run in the room before the count.
struct ColunasDívidas {
  double xNúmero; // where the numbers end
  double nome;    // where the names start
  double meses;   // where the months start
  double fimMeses;
  double fimQuantos;
  double fimValor;
};

ColunasDívidas Colunas(const Impressão &p, double xNúmero) {
  const double w = p.LarguraPágina();
  ColunasDívidas c;
  c.xNúmero = xNúmero;
  c.nome = xNúmero + 120;
  c.fimValor = w;
  c.fimQuantos = w - 1500;
  c.fimMeses = c.fimQuantos - 800;
  c.meses = std::max(c.nome + 1800, c.nome + (c.fimMeses - c.nome) * 0.45);
  return c;
}

void ÀDireita(Impressão &p, double fim, const QString &texto, bool terminar = false) {
  p.DefinirX(fim - p.LarguraTexto(texto));
  p.Imprimir(texto, terminar);
}

void CabeçasDívidas(Impressão &p, const ColunasDívidas &c) {
  p.DefinirX(c.nome);
  p.Imprimir(u"Nome"_s, false);
  p.DefinirX(c.meses);
  p.Imprimir(u"Meses em dívida"_s, false);
  ÀDireita(p, c.fimQuantos, u"Meses"_s);
  ÀDireita(p, c.fimValor, u"Valor"_s, true);
}

// The pieces of the months on lines of at most `largura` twips, ", " between pieces on a line
// and after the last piece of every line but the last; a piece wider than a line stands alone.
QStringList LinhasDosMeses(const Impressão &p, const QStringList &partes, double largura) {
  QStringList linhas;
  QString linha;
  for (qsizetype i = 0; i < partes.size(); ++i) {
    const QString peça = partes[i] + (i + 1 < partes.size() ? u","_s : QString());
    const QString candidata = linha.isEmpty() ? peça : linha + u' ' + peça;
    if (linha.isEmpty() || p.LarguraTexto(candidata) <= largura) {
      linha = candidata;
    } else {
      linhas << linha;
      linha = peça;
    }
  }
  if (!linha.isEmpty() || linhas.isEmpty())
    linhas << linha;
  return linhas;
}

} // namespace

void ImprimirDívidas(Impressão &p, const ParâmetrosDívidas &par,
                     const std::vector<SócioEmDívida> &sócios, const Progresso &progresso) {
  const double xNúmero =
      CabeçalhoDeSócios(p, TítuloDívidas,
                        {u"Período: "_s + par.período, u"Tipo de Quota: "_s + par.tipoQuota,
                         u"Situação: "_s + par.situação, u"Ordenado por: "_s + par.ordem});
  const ColunasDívidas c = Colunas(p, xNúmero);
  CabeçasDívidas(p, c);
  Régua(p);
  p.LinhaVazia();
  p.DefinirNegrito(false);
  {
    const CabeçalhoEmCadaPágina cabeçalho(p, [&c](Impressão &q) {
      ImprimirCabeçalho(q, TítuloDívidas, u"Página "_s + QString::number(q.Página()));
      q.DefinirTamanho(12);
      q.LinhaVazia();
      q.DefinirNegrito(true);
      q.Imprimir(u"    Número"_s, false);
      CabeçasDívidas(q, c);
      Régua(q);
      q.LinhaVazia();
      q.DefinirNegrito(false);
    });
    Percentagem percentagem(progresso);
    const qint64 total = qint64(sócios.size());
    for (qint64 i = 0; i < total; ++i) {
      const SócioEmDívida &s = sócios[size_t(i)];
      const QStringList meses = LinhasDosMeses(p, PartesMeses(s.meses), c.fimMeses - c.meses);
      // A member's lines stay on one page together, under the page's heading.
      p.ReservarEspaço(p.AlturaLinha() * double(meses.size()));
      p.Imprimir(u" "_s, false);
      ÀDireita(p, c.xNúmero, QString::number(s.número));
      p.DefinirX(c.nome);
      p.ImprimirAjustado(s.nome, c.meses - 120 - c.nome, false);
      p.DefinirX(c.meses);
      p.ImprimirAjustado(meses[0], c.fimMeses - c.meses, false);
      ÀDireita(p, c.fimQuantos, QString::number(s.meses.size()));
      ÀDireita(p, c.fimValor, s.valor.Formatar(), true);
      for (qsizetype l = 1; l < meses.size(); ++l) {
        p.DefinirX(c.meses);
        p.ImprimirAjustado(meses[l], c.fimMeses - c.meses);
      }
      percentagem.Avançar(i + 1, total);
    }
    const TotaisDívidas t = SomarDívidas(sócios);
    p.LinhaVazia();
    Régua(p);
    p.ReservarEspaço(p.AlturaLinha());
    p.DefinirNegrito(true);
    p.DefinirX(c.nome);
    p.ImprimirAjustado(QString::number(t.sócios) + u" sócio(s) com quotas em dívida."_s,
                       c.fimMeses - c.nome, false);
    ÀDireita(p, c.fimQuantos, QString::number(t.meses));
    ÀDireita(p, c.fimValor, t.valor.Formatar(), true);
    p.DefinirNegrito(false);
  }
  p.TerminarDocumento();
}

namespace {

// The room for the signature: from this share of the page width to its edge.
constexpr double InícioAssinatura = 0.55;

void CabeçasEmDia(Impressão &p, double xNúmero) {
  p.DefinirX(xNúmero + 120);
  p.Imprimir(u"Nome"_s, false);
  p.DefinirX(p.LarguraPágina() * InícioAssinatura);
  p.Imprimir(u"Assinatura"_s);
}

} // namespace

void ImprimirEmDia(Impressão &p, const QString &data, const QString &desde,
                   const std::vector<SócioEmDia> &sócios, const Progresso &progresso) {
  const double xNúmero = CabeçalhoDeSócios(
      p, TítuloEmDia, {u"Quotas pagas de "_s + desde + u" até à data de "_s + data});
  CabeçasEmDia(p, xNúmero);
  Régua(p);
  p.LinhaVazia();
  p.DefinirNegrito(false);
  const double xAssinatura = p.LarguraPágina() * InícioAssinatura;
  {
    const CabeçalhoEmCadaPágina cabeçalho(p, [xNúmero](Impressão &q) {
      ImprimirCabeçalho(q, TítuloEmDia, u"Página "_s + QString::number(q.Página()));
      q.DefinirTamanho(12);
      q.LinhaVazia();
      q.DefinirNegrito(true);
      q.Imprimir(u"    Número"_s, false);
      CabeçasEmDia(q, xNúmero);
      Régua(q);
      q.LinhaVazia();
      q.DefinirNegrito(false);
    });
    Percentagem percentagem(progresso);
    const qint64 total = qint64(sócios.size());
    for (qint64 i = 0; i < total; ++i) {
      const SócioEmDia &s = sócios[size_t(i)];
      // Room to sign above each row; the signature's line stands on the name's baseline.
      const double h = p.AlturaLinha();
      p.ReservarEspaço(1.8 * h);
      p.DefinirY(p.Y() + 0.8 * h);
      p.Imprimir(u" "_s, false);
      ÀDireita(p, xNúmero, QString::number(s.número));
      p.DefinirX(xNúmero + 120);
      p.ImprimirAjustado(s.nome, xAssinatura - 240 - p.X());
      const double base = p.Y() - 0.2 * h;
      p.Linha(xAssinatura, base, p.LarguraPágina(), base);
      percentagem.Avançar(i + 1, total);
    }
    p.LinhaVazia();
    Régua(p);
    p.DefinirX(xNúmero);
    p.Imprimir(u"  "_s + QString::number(total) + u" sócio(s) com as quotas em dia."_s);
  }
  p.TerminarDocumento();
}
