#include "FichaSocio.h"

#include "BaseDados.h"
#include "ConjuntoRegistos.h"
#include "Dados.h"
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

ErroFicha ValidarFicha(const FichaSócio &f) {
  ErroFicha erro = ErroFicha::Nenhum;
  const qint64 n = ValorNumérico(f.número);
  if (n < 1 || n > 999999)
    erro = ErroFicha::Número;
  if (f.nome.isEmpty())
    erro = ErroFicha::Nome;
  const auto valor = LerValor(f.valQuota);
  if (!valor || valor->Formatar(u"#,###,##0.00").size() > CaracteresValor)
    erro = ErroFicha::Valor;
  if (InscriçãoDaData(f.dtInscrição).isEmpty())
    erro = ErroFicha::Data;
  return erro;
}

QString InscriçãoDaData(const QString &data) {
  const auto d = LerData(data);
  return d && d->year() >= 1900 ? DataParaInscrição(*d) : QString();
}

ResultadoGravação GravarFicha(BaseDados &bd, ConjuntoRegistos &sócios,
                              ConjuntoRegistos &quotizações, const FichaSócio &f,
                              qint32 sócioActual, const ListaOrdenada &quotas,
                              const ListaOrdenada &eliminadas) {
  ResultadoGravação r;
  r.erro = ValidarFicha(f);
  if (r.erro != ErroFicha::Nenhum)
    return r;
  const qint32 número = Inteiro32(ValorNumérico(f.número));
  const Critério doSócio = Critério::Igual(u"Número"_s, número);

  sócios.ProcurarPrimeiro(doSócio);
  if (!sócios.SemCorrespondência() && sócioActual <= 0) {
    r.erro = ErroFicha::NúmeroExiste;
    return r;
  }

  {
    BaseDados::Transacção transacção(bd);
    if (sócios.SemCorrespondência())
      sócios.AdicionarNovo();
    else
      sócios.Editar();
    sócios.DefinirCampo(u"Número", número);
    sócios.DefinirCampo(u"Nome", f.nome);
    sócios.DefinirCampo(u"CPostal", f.cPostal);
    sócios.DefinirCampo(u"Situação", f.situação);
    sócios.DefinirCampo(u"TipoQuota", f.tipoQuota);
    sócios.DefinirCampo(u"Inscrição", InscriçãoDaData(f.dtInscrição));
    sócios.DefinirCampo(u"ValQuotaEuro", *LerValor(f.valQuota));
    // Address and remarks are never stored empty; whatever shows them trims them.
    sócios.DefinirCampo(u"Rua", f.rua + u' ');
    sócios.DefinirCampo(u"Localidade", f.localidade + u' ');
    sócios.DefinirCampo(u"Observações", f.observações + u' ');
    sócios.DefinirCampo(u"NIF", f.nif);
    sócios.Actualizar();

    const QString prefixo = FormatarNúmero(qint64(número), u"000000");
    for (const QString &e : quotas.Entradas()) {
      const PartesQuota p = DividirEntrada(e);
      const QString chave = prefixo + p.chave;
      quotizações.ProcurarPrimeiro(Critério::Igual(u"SócMês"_s, chave));
      if (quotizações.SemCorrespondência())
        quotizações.AdicionarNovo();
      else
        quotizações.Editar();
      quotizações.DefinirCampo(u"SócMês", chave);
      quotizações.DefinirCampo(u"QuotaEuro", LerValor(p.valor).value_or(Moeda()));
      quotizações.DefinirCampo(u"Recibo", Inteiro32(ValorNumérico(p.recibo)));
      quotizações.Actualizar();
    }
    for (const QString &e : eliminadas.Entradas()) {
      // A month removed and entered again stands in both lists: the screen showed it paid.
      if (quotas.ProcurarChave(e) >= 0)
        continue;
      quotizações.ProcurarPrimeiro(Critério::Igual(u"SócMês"_s, prefixo + e.left(6)));
      if (!quotizações.SemCorrespondência())
        quotizações.Eliminar();
    }
    transacção.Confirmar();
  }

  sócios.Reexecutar();
  quotizações.Reexecutar();
  sócios.ProcurarPrimeiro(doSócio);
  r.número = número;
  return r;
}

void EliminarRegistos(BaseDados &bd, ConjuntoRegistos &sócios, ConjuntoRegistos &quotizações,
                      qint32 número) {
  {
    BaseDados::Transacção transacção(bd);
    sócios.Eliminar();
    const Critério dasQuotas = QuotasDoSócio(número);
    for (quotizações.ProcurarPrimeiro(dasQuotas); !quotizações.SemCorrespondência();
         quotizações.ProcurarPrimeiro(dasQuotas))
      quotizações.Eliminar();
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
