#include "DadosPessoais.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Criterio.h"
#include "Dados.h"
#include "Esquema.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "PecasRelatorio.h"
#include "Referencias.h"

using namespace Qt::StringLiterals;

const QString NomeAnonimizado = u"Sócio anonimizado"_s;

namespace {

const QString Título = u"Dados Pessoais do Sócio"_s;

// A reference code as its text; a code that names no entry is shown as the number stored.
QString TextoCódigo(const ListaReferência &lista, const Instrução &i, int coluna) {
  if (i.Nulo(coluna))
    return {};
  const qint64 código = i.Inteiro(coluna);
  const QString texto = ListasReferência::Texto(lista, código);
  return !texto.isEmpty() || código == 0 ? texto : u"código "_s + QString::number(código);
}

QString Valor(const Moeda &m) {
  return m.Formatar(u"#,###,##0.00");
}

QString TextoMês(const QuotaRegistada &q) {
  return q.mês >= 1 && q.mês <= 12 ? NomeMês(q.mês) : q.chave.mid(10);
}

} // namespace

std::optional<DadosPessoais> LerDadosPessoais(BaseDados &bd, const ListasReferência &listas,
                                              qint64 número) {
  BaseDados::Leitura leitura(bd);
  Instrução i = bd.Correr(u"SELECT \"Número\", \"Nome\", \"Rua\", \"Localidade\", \"CPostal\", "
                          u"\"Situação\", \"TipoQuota\", \"Inscrição\", \"ValQuotaEuro\", "
                          u"\"NIF\", \"Observações\" FROM \"Sócios\" WHERE \"Número\" = ?"_s,
                          {número}, u"Ler os dados pessoais do sócio"_s);
  if (!i.Seguinte())
    return std::nullopt;
  std::optional<DadosPessoais> r(std::in_place);
  r->número = i.Inteiro(0);
  r->campos = {
      {u"Número"_s, QString::number(r->número)},
      {u"Nome"_s, i.Texto(1)},
      {u"Endereço"_s, i.Texto(2)},
      {u"Localidade"_s, i.Texto(3)},
      {u"Código Postal"_s, TextoCódigo(listas.códigosPostais, i, 4)},
      {u"Situação"_s, TextoCódigo(listas.situações, i, 5)},
      {u"Tipo de Quota"_s, TextoCódigo(listas.tiposQuota, i, 6)},
      {u"Data de Inscrição"_s, InscriçãoParaTexto(i.Texto(7))},
      {u"Valor da Quota"_s, i.Nulo(8) ? QString() : Valor(Moeda::DeDécimosMilésimos(i.Inteiro(8)))},
      {u"NIF"_s, i.Texto(9)},
      {u"Observações"_s, i.Texto(10)},
  };

  const CondiçãoSql dasQuotas =
      TraduzirFiltro(*ProcurarTabela(u"Quotizações"), QuotasDoSócio(número));
  bd.Percorrer(u"SELECT \"SócMês\", \"QuotaEuro\", \"Recibo\" FROM \"Quotizações\" WHERE "_s +
                   dasQuotas.texto + u" ORDER BY \"SócMês\""_s,
               dasQuotas.valores, u"Ler as quotas do sócio"_s, [&](const Instrução &q) {
                 QuotaRegistada quota;
                 quota.chave = q.Texto(0);
                 const QStringView ano = QStringView(quota.chave).mid(6, 4);
                 const QStringView mês = QStringView(quota.chave).mid(10);
                 const auto algarismos = [](QStringView t, qsizetype n) {
                   return t.size() == n && std::all_of(t.begin(), t.end(), [](QChar c) {
                            return c >= u'0' && c <= u'9';
                          });
                 };
                 if (algarismos(ano, 4) && algarismos(mês, 2)) {
                   quota.ano = int(ValorNumérico(ano));
                   quota.mês = int(ValorNumérico(mês));
                 }
                 if (quota.mês < 1 || quota.mês > 12)
                   quota.ano = quota.mês = 0;
                 quota.quota = Moeda::DeDécimosMilésimos(q.Inteiro(1));
                 quota.recibo = q.Inteiro(2);
                 r->total += quota.quota;
                 r->quotas.push_back(quota);
               });
  return r;
}

QList<QStringList> LinhasCsvDadosPessoais(const DadosPessoais &d) {
  QList<QStringList> linhas{{u"Campo"_s, u"Valor"_s}};
  for (const auto &[campo, valor] : d.campos)
    linhas << QStringList{campo, valor};
  linhas << QStringList{};
  linhas << QStringList{u"Ano"_s, u"Mês"_s, u"Quota"_s, u"Recibo"_s, u"Chave"_s};
  for (const QuotaRegistada &q : d.quotas)
    linhas << QStringList{q.ano > 0 ? QString::number(q.ano) : q.chave.mid(6, 4), TextoMês(q),
                          Valor(q.quota), QString::number(q.recibo), q.chave};
  return linhas;
}

void ImprimirDadosPessoais(Impressão &p, const DadosPessoais &d, const QDateTime &agora) {
  ImprimirCabeçalho(p, Título, FormatarDataHora(agora));
  const double w = p.LarguraPágina();
  p.DefinirTamanho(12);
  p.ImprimirAjustado(u"Tudo o que o ficheiro de sócios guarda sobre o sócio nº "_s +
                         QString::number(d.número) + u'.',
                     w);
  p.LinhaVazia();

  // The fields: the label in bold, the value beside it, long values on as many lines as they
  // need (the remarks keep their own line breaks).
  const double xValor = 2600;
  for (const auto &[campo, valor] : d.campos) {
    p.DefinirTamanho(12);
    const QStringList partes = QuebrarTexto(valor.isEmpty() ? u" "_s : valor, w - xValor,
                                            [&p](const QString &t) { return p.LarguraTexto(t); });
    p.ReservarEspaço(p.AlturaLinha());
    p.DefinirNegrito(true);
    p.DefinirX(0);
    p.ImprimirAjustado(campo + u':', xValor - 120, false);
    p.DefinirNegrito(false);
    for (QString parte : partes) {
      while (parte.endsWith(u' '))
        parte.chop(1);
      p.DefinirX(xValor);
      p.ImprimirAjustado(parte, w - xValor);
    }
  }
  p.LinhaVazia();
  Régua(p);
  p.LinhaVazia();

  // The dues rows, under their heads on every page.
  const double colunas[4] = {1400, 4200, 6700, 8700}; // right edges: year, month, quota, receipt
  const auto linha = [&](const QStringList &c) {
    p.Imprimir(u" "_s, false);
    for (int k = 0; k < 4; ++k) {
      const TextoAjustado a = AjustarTexto(p.Fonte(), c[k], k == 0 ? colunas[0] : 2000);
      p.DefinirX(colunas[k] - a.largura);
      p.Imprimir(a, false);
    }
    p.LinhaVazia();
  };
  const auto cabeças = [&] {
    p.DefinirNegrito(true);
    linha({u"Ano"_s, u"Mês"_s, u"Quota"_s, u"Recibo"_s});
    p.DefinirNegrito(false);
  };
  p.DefinirTamanho(14);
  p.DefinirNegrito(true);
  p.Imprimir(u"Quotizações"_s);
  p.DefinirNegrito(false);
  p.DefinirTamanho(12);
  cabeças();
  {
    const CabeçalhoEmCadaPágina cabeçalho(p, [&](Impressão &q) {
      ImprimirCabeçalho(q, Título, u"Página "_s + QString::number(q.Página()));
      q.DefinirTamanho(12);
      cabeças();
    });
    for (const QuotaRegistada &q : d.quotas)
      linha({q.ano > 0 ? QString::number(q.ano) : q.chave.mid(6, 4), TextoMês(q), Valor(q.quota),
             QString::number(q.recibo)});
    Régua(p);
    p.Imprimir(QString::number(d.quotas.size()) + u" quotização(ões), no total de "_s +
               Valor(d.total) + u" €."_s);
  }
  p.TerminarDocumento();
}

bool AnonimizarSócio(BaseDados &bd, qint64 número) {
  const ApagamentoSeguro seguro(bd);
  BaseDados::Transacção transacção(bd);
  const Instrução i =
      bd.Correr(u"UPDATE \"Sócios\" SET \"Nome\" = ?, \"Rua\" = '', \"Localidade\" = '', "
                u"\"NIF\" = '', \"Observações\" = '' WHERE \"Número\" = ?"_s,
                {NomeAnonimizado, número}, u"Anonimizar o sócio"_s);
  if (i.LinhasAfectadas() == 0)
    return false;
  transacção.Confirmar();
  return true;
}
