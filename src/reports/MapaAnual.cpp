#include "MapaAnual.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formato.h"
#include "Impressao.h"

using namespace Qt::StringLiterals;

// Each member's dues of the year are one range of the index Quotas, from "000012yyyy01" to
// "000012yyyy12", the key prefix built in the query from the number in standard SQL. The
// engine folds the months found into one number, bit m - 1 for month m, so that a member is
// one row however many months were paid; a key whose last two characters name no month adds
// nothing.
const QString SqlMapa =
    u"SELECT s.\"Número\", s.\"Nome\", "
    u"(SELECT sum(CASE substr(q.\"SócMês\", 11, 2) "
    u"WHEN '01' THEN 1 WHEN '02' THEN 2 WHEN '03' THEN 4 WHEN '04' THEN 8 "
    u"WHEN '05' THEN 16 WHEN '06' THEN 32 WHEN '07' THEN 64 WHEN '08' THEN 128 "
    u"WHEN '09' THEN 256 WHEN '10' THEN 512 WHEN '11' THEN 1024 WHEN '12' THEN 2048 "
    u"ELSE 0 END) "
    u"FROM \"Quotizações\" q "
    u"WHERE q.\"SócMês\" >= substr(CAST(1000000 + s.\"Número\" AS TEXT), 2) || ? "
    u"AND q.\"SócMês\" <= substr(CAST(1000000 + s.\"Número\" AS TEXT), 2) || ? "
    u"AND length(q.\"SócMês\") = 12), "
    u"(SELECT max(\"Número\") FROM \"Sócios\") "
    u"FROM \"Sócios\" s "
    u"WHERE coalesce(s.\"Inscrição\", '') < ? "
    u"AND (? = 0 OR s.\"TipoQuota\" = ?) "
    u"ORDER BY s.\"Número\""_s;

namespace {

const QString Título = u"Mapa de Quotas"_s;
const QString LetrasMeses = u"JFMAMJJASOND"_s;
constexpr double LarguraNome = 5400;

// Prints `texto` centred on the month column m (1 to 12), without ending the line.
void ImprimirNoMês(Impressão &p, double xNúmero, int m, const QString &texto) {
  p.DefinirX(xNúmero + LarguraNome + 300 * m - p.LarguraTexto(texto) / 2);
  p.Imprimir(texto, false);
}

void LetrasDosMeses(Impressão &p, double xNúmero) {
  for (int m = 1; m <= 12; ++m)
    ImprimirNoMês(p, xNúmero, m, LetrasMeses.sliced(m - 1, 1));
  p.LinhaVazia();
}

} // namespace

std::vector<LinhaMapa> LinhasMapa(BaseDados &bd, int ano, qint64 tipoQuota,
                                  const Progresso &progresso) {
  Percentagem percentagem(progresso);
  percentagem.Dizer(0);
  const QString a = FormatarNúmero(ano, u"0000");
  std::vector<LinhaMapa> linhas;
  {
    BaseDados::Leitura leitura(bd);
    bd.Percorrer(SqlMapa, {a + u"01"_s, a + u"12"_s, a + u"1232"_s, tipoQuota, tipoQuota},
                 u"listar o mapa de quotas"_s, [&](const Instrução &i) {
                   const qint64 número = i.Inteiro(0);
                   const qint64 meses = i.Inteiro(2);
                   QString marcas(12, u'-');
                   for (int m = 0; m < 12; ++m)
                     if (meses & (qint64(1) << m))
                       marcas[m] = u'$';
                   linhas.push_back({número, u' ' + i.Texto(1).trimmed(), marcas});
                   percentagem.Avançar(número, i.Inteiro(3));
                 });
  }
  percentagem.Dizer(100);
  return linhas;
}

QString CortarNome(const Impressão &p, QString nome, double largura) {
  while (!nome.isEmpty() && p.LarguraTexto(nome) > largura)
    nome.chop(1);
  return nome;
}

void ImprimirMapa(Impressão &p, const QString &ano, const QString &tipoQuota,
                  const std::vector<LinhaMapa> &linhas, const Progresso &progresso) {
  const double xNúmero =
      CabeçalhoDeSócios(p, Título, {u"Ano: "_s + ano, u"Tipo de Quota: "_s + tipoQuota});
  p.Imprimir(u"   Nome"_s, false);
  LetrasDosMeses(p, xNúmero);
  Régua(p);
  p.LinhaVazia();
  p.DefinirNegrito(false);
  ImprimirLinhasMapa(p, xNúmero, linhas, progresso);
  p.TerminarDocumento();
}

void ImprimirLinhasMapa(Impressão &p, double xNúmero, const std::vector<LinhaMapa> &linhas,
                        const Progresso &progresso) {
  const CabeçalhoEmCadaPágina cabeçalho(p, [xNúmero](Impressão &q) {
    ImprimirCabeçalho(q, Título, u"Página "_s + QString::number(q.Página()));
    q.DefinirTamanho(12);
    q.LinhaVazia();
    q.DefinirNegrito(true);
    q.Imprimir(u"    Número   Nome"_s, false);
    LetrasDosMeses(q, xNúmero);
    Régua(q);
    q.LinhaVazia();
    q.DefinirNegrito(false);
  });
  Percentagem percentagem(progresso);
  const qint64 total = qint64(linhas.size());
  for (qint64 i = 0; i < total; ++i) {
    const LinhaMapa &l = linhas[size_t(i)];
    // The blank starts the line, and a new page with its heading when the line does not fit.
    p.Imprimir(u" "_s, false);
    const QString número = QString::number(l.número);
    p.DefinirX(xNúmero - p.LarguraTexto(número));
    p.Imprimir(número + u"  "_s, false);
    p.Imprimir(CortarNome(p, l.nome, LarguraNome), false);
    for (int m = 1; m <= 12; ++m)
      ImprimirNoMês(p, xNúmero, m, l.marcas.sliced(m - 1, 1));
    p.LinhaVazia();
    percentagem.Avançar(i + 1, total);
  }
  p.LinhaVazia();
  Régua(p);
  p.DefinirX(xNúmero);
  p.Imprimir(u"  "_s + QString::number(total) + u" sócio(s) listado(s)."_s);
}
