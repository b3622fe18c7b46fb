#include "FichaSocio.h"

#include "BaseDados.h"
#include "Campos.h"
#include "ConjuntoRegistos.h"
#include "Dados.h"
#include "Esquema.h"
#include "Formatacao.h"
#include "Formato.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

qint32 Inteiro32(qint64 v) {
  return qint32(std::clamp<qint64>(v, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()));
}

// An empty quota value counts as nothing owed; anything else must be an amount.
std::optional<Moeda> LerValor(const QString &texto) {
  if (texto.trimmed().isEmpty())
    return Moeda();
  return Moeda::Ler(texto);
}

} // namespace

QString MensagemErroFicha(ErroFicha erro) {
  switch (erro) {
  case ErroFicha::Número:
    return u"O número de Sócio deverá situar-se entre 1 e 999999."_s;
  case ErroFicha::Nome:
    return u"É necessária a introdução de um nome para o sócio."_s;
  case ErroFicha::Data:
    return u"A data de inscrição especificada é inválida."_s;
  case ErroFicha::NúmeroExiste:
    return u"Já existe um sócio com este número. Para actualizar os dados deverá primeiro "
           u"eliminar o registo existente."_s;
  case ErroFicha::Valor:
    return u"O valor da quota especificado é inválido."_s;
  case ErroFicha::Nenhum:
    break;
  }
  return {};
}

ErroFicha ValidarFicha(const FichaSócio &f, bool semDataAceite) {
  ErroFicha erro = ErroFicha::Nenhum;
  const qint64 n = ValorNumérico(f.número);
  if (n < 1 || n > 999999)
    erro = ErroFicha::Número;
  if (f.nome.isEmpty())
    erro = ErroFicha::Nome;
  const auto valor = LerValor(f.valQuota);
  if (!valor || valor->Formatar(u"#,###,##0.00").size() > CaracteresValor)
    erro = ErroFicha::Valor;
  if (InscriçãoDaData(f.dtInscrição).isEmpty() &&
      !(semDataAceite && f.dtInscrição.trimmed().isEmpty()))
    erro = ErroFicha::Data;
  return erro;
}

QString InscriçãoDaData(const QString &data) {
  const auto d = LerData(data);
  return d && d->year() >= 1900 ? DataParaInscrição(*d) : QString();
}

std::optional<SócioGuardado> LerSócio(BaseDados &bd, ConjuntoRegistos &sócios, qint64 número) {
  BaseDados::Leitura leitura(bd);
  // Two statements in one read: joined, the driver would convert the member's texts again
  // for every month paid.
  // The row's identity comes along, so that the shared recordset stands on it at no cost.
  const QString sqlSócio =
      u"SELECT "_s + ColunaLinha(*ProcurarTabela(u"Sócios"), bd.MotorAberto()) +
      u", \"Nome\", \"CPostal\", \"Situação\", \"TipoQuota\", \"Inscrição\", "
      u"\"ValQuotaEuro\", \"Rua\", \"Localidade\", \"Observações\", \"NIF\" FROM \"Sócios\" "
      u"WHERE \"Número\" = ?"_s;
  Instrução i = bd.Correr(sqlSócio, {número}, u"Ler o sócio"_s);
  if (!i.Seguinte())
    return std::nullopt;
  std::optional<SócioGuardado> r(std::in_place);
  const qint64 id = i.Inteiro(0);
  r->número = Inteiro32(número);
  r->nome = i.Texto(1);
  r->cPostal = i.Inteiro(2);
  r->situação = i.Inteiro(3);
  r->tipoQuota = i.Inteiro(4);
  r->inscrição = i.Texto(5);
  r->valQuota = Moeda::DeDécimosMilésimos(i.Inteiro(6));
  r->rua = i.Texto(7);
  r->localidade = i.Texto(8);
  r->observações = i.Texto(9);
  r->nif = i.Texto(10);

  // The member's key range of the dues index, walked in key order, which is chronological.
  const CondiçãoSql dasQuotas =
      TraduzirFiltro(*ProcurarTabela(u"Quotizações"), QuotasDoSócio(número));
  bd.Percorrer(u"SELECT \"SócMês\", \"QuotaEuro\", \"Recibo\" FROM \"Quotizações\" WHERE "_s +
                   dasQuotas.texto + u" ORDER BY \"SócMês\""_s,
               dasQuotas.valores, u"Ler as quotas do sócio"_s, [&](const Instrução &q) {
                 const QString chave = q.Texto(0);
                 r->quotas.push_back(QuotaPaga{int(ValorNumérico(QStringView(chave).mid(6, 4))),
                                               int(ValorNumérico(QStringView(chave).mid(10, 2))),
                                               Moeda::DeDécimosMilésimos(q.Inteiro(1)),
                                               q.Inteiro(2)});
               });
  if (!sócios.IrParaId(id))
    sócios.ProcurarPrimeiro(Critério::Igual(u"Número"_s, número));
  return r;
}

ResultadoGravação GravarFicha(BaseDados &bd, ConjuntoRegistos &sócios,
                              ConjuntoRegistos &quotizações, const FichaSócio &ficha,
                              qint32 sócioActual, const ListaOrdenada &quotas,
                              const ListaOrdenada &eliminadas) {
  ResultadoGravação r;
  // A paste may bring control characters the fields do not show; they never reach the file.
  FichaSócio f = ficha;
  for (QString *t : {&f.nome, &f.rua, &f.localidade, &f.nif})
    *t = SemCaracteresControlo(*t, false);
  f.observações = SemCaracteresControlo(f.observações, true);
  // A member stored without an enrolment date (the file allows it, imports bring it) can be
  // saved again without one: otherwise no payment could be recorded until a date is invented.
  // A new member needs one, and a date once stored cannot be emptied.
  bool semDataAceite = false;
  if (f.dtInscrição.trimmed().isEmpty() && sócioActual > 0)
    bd.Percorrer(u"SELECT \"Inscrição\" FROM \"Sócios\" WHERE \"Número\" = ?"_s,
                 {ValorNumérico(f.número)}, u"Ler o sócio"_s,
                 [&](const Instrução &i) { semDataAceite = i.Texto(0).trimmed().isEmpty(); });
  r.erro = ValidarFicha(f, semDataAceite);
  if (r.erro != ErroFicha::Nenhum)
    return r;
  const qint32 número = Inteiro32(ValorNumérico(f.número));
  const Critério doSócio = Critério::Igual(u"Número"_s, número);

  bool novo = false;
  {
    BaseDados::Transacção transacção(bd);
    sócios.ProcurarPrimeiro(doSócio);
    if (!sócios.SemCorrespondência() && sócioActual <= 0) {
      r.erro = ErroFicha::NúmeroExiste;
      return r;
    }
    novo = sócios.SemCorrespondência();
    if (novo)
      sócios.AdicionarNovo();
    else
      sócios.Editar();
    sócios.DefinirCampo(u"Número", número);
    sócios.DefinirCampo(u"Nome", f.nome);
    sócios.DefinirCampo(u"CPostal", f.cPostal);
    sócios.DefinirCampo(u"Situação", f.situação);
    sócios.DefinirCampo(u"TipoQuota", f.tipoQuota);
    // Without a date the field holds an empty text, as an import writes it, never NULL.
    const QString inscrição = InscriçãoDaData(f.dtInscrição);
    sócios.DefinirCampo(u"Inscrição", inscrição.isNull() ? u""_s : inscrição);
    sócios.DefinirCampo(u"ValQuotaEuro", *LerValor(f.valQuota));
    // Address and remarks are never stored empty; whatever shows them trims them.
    sócios.DefinirCampo(u"Rua", f.rua + u' ');
    sócios.DefinirCampo(u"Localidade", f.localidade + u' ');
    sócios.DefinirCampo(u"Observações", f.observações + u' ');
    sócios.DefinirCampo(u"NIF", f.nif);
    sócios.Actualizar();

    const QString prefixo = FormatarNúmero(qint64(número), u"000000");
    static const QString guardar =
        InstruçãoGuardar(u"Quotizações", u"SócMês", {u"QuotaEuro"_s, u"Recibo"_s});
    for (const QString &e : quotas.Entradas()) {
      const PartesQuota p = DividirEntrada(e);
      bd.Correr(guardar,
                {prefixo + p.chave, LerValor(p.valor).value_or(Moeda()).DécimosMilésimos(),
                 Inteiro32(ValorNumérico(p.recibo))},
                u"Gravar as quotas do sócio"_s);
    }
    // A month removed and entered again stands in both lists: the screen showed it paid.
    QVariantList removidas;
    for (const QString &e : eliminadas.Entradas())
      if (quotas.ProcurarChave(e) < 0)
        removidas << prefixo + e.left(6);
    constexpr qsizetype lote = 500; // well under the engine's limit of bound values
    for (qsizetype i = 0; i < removidas.size(); i += lote) {
      const QVariantList parte = removidas.mid(i, lote);
      bd.Correr(u"DELETE FROM \"Quotizações\" WHERE \"SócMês\" IN ("_s +
                    QStringList(parte.size(), u"?"_s).join(u", "_s) + u')',
                parte, u"Eliminar quotas do sócio"_s);
    }
    transacção.Confirmar();
  }

  // Only a new member changes the member list; the dues recordset walks its table directly.
  if (novo) {
    sócios.Reexecutar();
    sócios.ProcurarPrimeiro(doSócio);
  }
  quotizações.Reexecutar();
  r.número = número;
  return r;
}

void EliminarRegistos(BaseDados &bd, ConjuntoRegistos &sócios, ConjuntoRegistos &quotizações,
                      qint32 número) {
  {
    BaseDados::Transacção transacção(bd);
    sócios.Eliminar();
    const CondiçãoSql dasQuotas =
        TraduzirFiltro(*ProcurarTabela(u"Quotizações"), QuotasDoSócio(número));
    bd.Correr(u"DELETE FROM \"Quotizações\" WHERE "_s + dasQuotas.texto, dasQuotas.valores,
              u"Eliminar as quotas do sócio"_s);
    transacção.Confirmar();
  }
  sócios.Reexecutar();
  quotizações.Reexecutar();
}

qint32 SócioAMostrarApós(ConjuntoRegistos &sócios, qint64 número) {
  sócios.ProcurarPrimeiro(Critério::MaiorOuIgual(u"Número"_s, número));
  if (sócios.SemCorrespondência())
    sócios.ProcurarÚltimo(Critério::Menor(u"Número"_s, número));
  return sócios.SemCorrespondência() ? 0 : qint32(sócios.Inteiro(u"Número"));
}
