#include "Atrasos.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formato.h"
#include "Impressao.h"

using namespace Qt::StringLiterals;

// The dues key of the month is built in the query from the member's number ("000012" from
// 1000012, in standard SQL), so that each member costs one look-up in the index Quotas. A
// missing Inscrição reads as the empty text, which is before every date.
const QString SqlAtrasos =
    u"SELECT s.\"Número\", s.\"Nome\", (SELECT max(\"Número\") FROM \"Sócios\") "
    u"FROM \"Sócios\" s "
    u"WHERE coalesce(s.\"Inscrição\", '') <= ? "
    u"AND (? = 0 OR s.\"TipoQuota\" = ?) "
    u"AND NOT EXISTS (SELECT 1 FROM \"Quotizações\" q "
    u"WHERE q.\"SócMês\" = substr(CAST(1000000 + s.\"Número\" AS TEXT), 2) || ?) "
    u"ORDER BY s.\"Número\""_s;

namespace {

const QString Título = u"Quotizações em Atraso"_s;

} // namespace

std::vector<SócioEmAtraso> SóciosEmAtraso(BaseDados &bd, int ano, int mês, qint64 tipoQuota,
                                          const Progresso &progresso) {
  Percentagem percentagem(progresso);
  percentagem.Dizer(0);
  const QString período = FormatarNúmero(ano, u"0000") + FormatarNúmero(mês, u"00");
  std::vector<SócioEmAtraso> sócios;
  {
    BaseDados::Leitura leitura(bd);
    bd.Percorrer(SqlAtrasos, {período + u"32"_s, tipoQuota, tipoQuota, período},
                 u"listar as quotas em atraso"_s, [&](const Instrução &i) {
                   const qint64 número = i.Inteiro(0);
                   sócios.push_back({número, u' ' + i.Texto(1).trimmed()});
                   percentagem.Avançar(número, i.Inteiro(2));
                 });
  }
  percentagem.Dizer(100);
  return sócios;
}

void ImprimirAtrasos(Impressão &p, const QString &mês, const QString &ano, const QString &tipoQuota,
                     const std::vector<SócioEmAtraso> &sócios, const Progresso &progresso) {
  const double xNúmero = CabeçalhoDeSócios(
      p, Título, {u"Mês: "_s + mês + u" de "_s + ano, u"Tipo de Quota: "_s + tipoQuota});
  p.Imprimir(u"  Nome"_s);
  Régua(p);
  p.LinhaVazia();
  p.DefinirNegrito(false);
  ImprimirLinhasAtrasos(p, xNúmero, sócios, progresso);
  p.TerminarDocumento();
}

void ImprimirLinhasAtrasos(Impressão &p, double xNúmero, const std::vector<SócioEmAtraso> &sócios,
                           const Progresso &progresso) {
  const CabeçalhoEmCadaPágina cabeçalho(p, [](Impressão &q) {
    ImprimirCabeçalho(q, Título, u"Página "_s + QString::number(q.Página()));
    q.DefinirTamanho(12);
    q.LinhaVazia();
    q.DefinirNegrito(true);
    q.Imprimir(u"    Número  Nome"_s);
    Régua(q);
    q.LinhaVazia();
    q.DefinirNegrito(false);
  });
  Percentagem percentagem(progresso);
  const qint64 total = qint64(sócios.size());
  for (qint64 i = 0; i < total; ++i) {
    const SócioEmAtraso &s = sócios[size_t(i)];
    // The blank starts the line, and a new page with its heading when the line does not fit.
    p.Imprimir(u" "_s, false);
    const QString número = QString::number(s.número);
    p.DefinirX(xNúmero - p.LarguraTexto(número));
    p.Imprimir(número, false);
    // A long name stays inside the rules, which end at the edge of the page.
    p.ImprimirAjustado(u"  "_s + s.texto, p.LarguraPágina() - p.X());
    percentagem.Avançar(i + 1, total);
  }
  p.LinhaVazia();
  Régua(p);
  p.DefinirX(xNúmero);
  p.Imprimir(u"  "_s + QString::number(total) + u" sócio(s) com quotas em atraso."_s);
}
