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
  case ErroFicha::AlteradoNoutroPosto: // told with what changed: MensagemConflito
  case ErroFicha::EliminadoNoutroPosto:
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

namespace {

// The member row and its dues as stored, the row locked until the transaction ends when
// `bloquear`. The member is read first: a save of another desk that lands between the two
// reads shows as a newer version with these dues or the older one, never the reverse, so a
// conflict may be seen where there was none but never missed.
std::optional<SócioGuardado> LerGuardado(BaseDados &bd, qint64 número, qint64 *id = nullptr,
                                          bool bloquear = false) {
  const bool servidor = bd.MotorAberto() == Motor::PostgreSQL;
  // Two statements: joined, the driver would convert the member's texts again for every
  // month paid.
  const QString sqlSócio =
      u"SELECT "_s + ColunaLinha(*ProcurarTabela(u"Sócios"), bd.MotorAberto()) +
      u", \"Nome\", \"CPostal\", \"Situação\", \"TipoQuota\", \"Inscrição\", "
      u"\"ValQuotaEuro\", \"Rua\", \"Localidade\", \"Observações\", \"NIF\""_s +
      (servidor ? u", xmin::text"_s : QString()) + u" FROM \"Sócios\" WHERE \"Número\" = ?"_s +
      (servidor && bloquear ? u" FOR UPDATE"_s : QString());
  std::optional<SócioGuardado> r;
  {
    Instrução i = bd.Correr(sqlSócio, {número}, u"Ler o sócio"_s);
    if (!i.Seguinte())
      return r;
    r.emplace();
    if (id)
      *id = i.Inteiro(0);
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
    if (servidor)
      r->versão = i.Texto(11);
  }
  // The member's key range of the dues index, walked in key order, which is chronological.
  const CondiçãoSql dasQuotas =
      TraduzirFiltro(*ProcurarTabela(u"Quotizações"), QuotasDoSócio(número), bd.MotorAberto());
  bd.Percorrer(u"SELECT \"SócMês\", \"QuotaEuro\", \"Recibo\" FROM \"Quotizações\" WHERE "_s +
                   dasQuotas.texto + u" ORDER BY \"SócMês\""_s,
               dasQuotas.valores, u"Ler as quotas do sócio"_s, [&](const Instrução &q) {
                 const QString chave = q.Texto(0);
                 r->quotas.push_back(QuotaPaga{int(ValorNumérico(QStringView(chave).mid(6, 4))),
                                               int(ValorNumérico(QStringView(chave).mid(10, 2))),
                                               Moeda::DeDécimosMilésimos(q.Inteiro(1)),
                                               q.Inteiro(2)});
               });
  return r;
}

QString TextoQuota(const QuotaPaga &q) {
  return AbreviaturaMês(q.mês) + u' ' + QString::number(q.ano);
}

} // namespace

std::optional<SócioGuardado> LerSócio(BaseDados &bd, ConjuntoRegistos &sócios, qint64 número) {
  // On a file the two reads see one state of it. A server's transaction would cost two more
  // round trips: there the order of the reads keeps them sound (LerGuardado).
  BaseDados::Leitura leitura(bd, false);
  qint64 id = -1;
  std::optional<SócioGuardado> r = LerGuardado(bd, número, &id);
  // The row's identity came along, so that the shared recordset stands on it at no cost.
  if (r && !sócios.IrParaId(id))
    sócios.ProcurarPrimeiro(Critério::Igual(u"Número"_s, número));
  return r;
}

QStringList DiferençasSócio(const SócioGuardado &a, const SócioGuardado &b) {
  QStringList r;
  const auto campo = [&](bool diferente, const QString &nome) {
    if (diferente)
      r << nome;
  };
  campo(a.nome != b.nome, u"Nome"_s);
  campo(a.rua.trimmed() != b.rua.trimmed(), u"Rua"_s);
  campo(a.cPostal != b.cPostal, u"Código Postal"_s);
  campo(a.localidade.trimmed() != b.localidade.trimmed(), u"Localidade"_s);
  campo(a.inscrição != b.inscrição, u"Data de Inscrição"_s);
  campo(a.situação != b.situação, u"Situação"_s);
  campo(a.tipoQuota != b.tipoQuota, u"Tipo de Quota"_s);
  campo(a.valQuota != b.valQuota, u"Valor da Quota"_s);
  campo(a.nif != b.nif, u"NIF"_s);
  campo(a.observações.trimmed() != b.observações.trimmed(), u"Observações"_s);
  // Months paid, removed or paid differently, in date order.
  QStringList meses;
  auto i = a.quotas.begin(), j = b.quotas.begin();
  const auto chave = [](const QuotaPaga &q) { return q.ano * 100 + q.mês; };
  while (i != a.quotas.end() || j != b.quotas.end()) {
    if (j == b.quotas.end() || (i != a.quotas.end() && chave(*i) < chave(*j))) {
      meses << TextoQuota(*i++);
    } else if (i == a.quotas.end() || chave(*j) < chave(*i)) {
      meses << TextoQuota(*j++);
    } else {
      if (i->valor != j->valor || i->recibo != j->recibo)
        meses << TextoQuota(*i);
      ++i;
      ++j;
    }
  }
  if (!meses.isEmpty())
    r << u"quotas de "_s + meses.join(u", "_s);
  return r;
}

QString MensagemConflito(ErroFicha erro, qint32 número, const QString &nome,
                         const QStringList &alterações) {
  const QString sócio = u"O sócio nº "_s + QString::number(número) + u" - "_s + nome.trimmed();
  if (erro == ErroFicha::EliminadoNoutroPosto)
    return sócio + u" foi eliminado noutro posto depois de ser mostrado aqui.\n"_s;
  return sócio + u" foi gravado noutro posto depois de ser mostrado aqui."_s +
         (alterações.isEmpty() ? QString()
                               : u"\nAlterações feitas lá: "_s + alterações.join(u"; "_s) + u'.') +
         u'\n';
}

ResultadoGravação GravarFicha(BaseDados &bd, ConjuntoRegistos &sócios,
                              ConjuntoRegistos &quotizações, const FichaSócio &ficha,
                              qint32 sócioActual, const ListaOrdenada &quotas,
                              const ListaOrdenada &eliminadas, const SócioGuardado *mostrado) {
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
  const Motor motor = bd.MotorAberto();
  const bool servidor = motor == Motor::PostgreSQL;
  const QString operação = u"Gravar o sócio"_s;

  // Without a date the field holds an empty text, as an import writes it, never NULL.
  // Address and remarks are never stored empty; whatever shows them trims them.
  const QString inscrição = InscriçãoDaData(f.dtInscrição);
  const QVariantList campos{f.nome,
                            f.cPostal,
                            f.situação,
                            f.tipoQuota,
                            inscrição.isNull() ? u""_s : inscrição,
                            LerValor(f.valQuota)->DécimosMilésimos(),
                            f.rua + u' ',
                            f.localidade + u' ',
                            f.observações + u' ',
                            f.nif};
  static const QString nomes =
      u"\"Nome\", \"CPostal\", \"Situação\", \"TipoQuota\", \"Inscrição\", \"ValQuotaEuro\", "
      u"\"Rua\", \"Localidade\", \"Observações\", \"NIF\""_s;
  const QString inserir = u"INSERT INTO \"Sócios\" (\"Número\", "_s + nomes +
                          u") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (\"Número\") "
                          u"DO NOTHING"_s;
  QString alterar = u"UPDATE \"Sócios\" SET "_s +
                    QString(nomes).replace(u","_s, u" = ?,"_s) +
                    u" = ? WHERE \"Número\" = ?"_s;
  // The other desk's save changed the row's version; the condition is judged again on the
  // row as it is once that save has committed.
  const bool verificar = servidor && mostrado && !mostrado->versão.isEmpty();
  if (verificar)
    alterar += u" AND xmin = ?::xid"_s;

  bool novo = false;
  {
    BaseDados::Transacção transacção(bd);
    QVariantList valores = campos;
    valores << número;
    if (verificar)
      valores << mostrado->versão;
    int alterados = 0;
    if (sócioActual > 0)
      alterados = bd.Correr(alterar, valores, operação).LinhasAfectadas();
    if (alterados == 0 && verificar) {
      // Changed or deleted since it was shown. What differs is told; a version that moved
      // with nothing changed (a save of the same values, the server's own freezing of old
      // rows) is no conflict.
      const auto agora = LerGuardado(bd, número, nullptr, true);
      if (!agora) {
        r.erro = ErroFicha::EliminadoNoutroPosto;
        return r;
      }
      r.alterações = DiferençasSócio(*mostrado, *agora);
      if (!r.alterações.isEmpty()) {
        r.erro = ErroFicha::AlteradoNoutroPosto;
        r.actual = agora;
        return r;
      }
      valores.removeLast();
      valores.last() = número;
      alterados = bd.Correr(alterar.left(alterar.lastIndexOf(u" AND xmin"_s)), valores, operação)
                      .LinhasAfectadas();
    }
    if (alterados == 0) {
      // A new member, or one shown that is gone: written anew, unless its number is taken.
      QVariantList novos{número};
      novos << campos;
      if (bd.Correr(inserir, novos, operação).LinhasAfectadas() == 0) {
        r.erro = ErroFicha::NúmeroExiste;
        return r;
      }
      novo = true;
    }

    // All the dues in one statement (on a file, as few as its limit of bound values allows).
    const QString prefixo = FormatarNúmero(qint64(número), u"000000");
    QVariantList linhas;
    for (const QString &e : quotas.Entradas()) {
      const PartesQuota p = DividirEntrada(e);
      linhas << prefixo + p.chave << LerValor(p.valor).value_or(Moeda()).DécimosMilésimos()
             << Inteiro32(ValorNumérico(p.recibo));
    }
    // A month removed and entered again stands in both lists: the screen showed it paid.
    QVariantList removidas;
    for (const QString &e : eliminadas.Entradas())
      if (quotas.ProcurarChave(e) < 0)
        removidas << prefixo + e.left(6);
    const DefTabela &tabela = *ProcurarTabela(u"Quotizações");
    bd.InserirLinhas(tabela, {u"SócMês"_s, u"QuotaEuro"_s, u"Recibo"_s}, linhas,
                     FimGuardar(u"Quotizações", u"SócMês", {u"QuotaEuro"_s, u"Recibo"_s}, motor),
                     u"Gravar as quotas do sócio"_s);
    bd.CorrerComLista(u"DELETE FROM \"Quotizações\" WHERE "_s, tabela, u"SócMês"_s, removidas,
                      u"Eliminar quotas do sócio"_s);
    transacção.Confirmar();
  }

  // Only a new member changes the member list; the dues recordset walks its table directly.
  if (novo) {
    sócios.Reexecutar();
    sócios.ProcurarPrimeiro(Critério::Igual(u"Número"_s, número));
  }
  quotizações.Reexecutar();
  r.número = número;
  return r;
}

ErroFicha EliminarRegistos(BaseDados &bd, ConjuntoRegistos &sócios, ConjuntoRegistos &quotizações,
                           qint32 número, const QString &versão) {
  {
    BaseDados::Transacção transacção(bd);
    if (bd.MotorAberto() == Motor::PostgreSQL && !versão.isEmpty()) {
      // Locked until the deletion commits, so that no save of another desk slips in between.
      std::optional<QString> agora;
      bd.Percorrer(u"SELECT xmin::text FROM \"Sócios\" WHERE \"Número\" = ? FOR UPDATE"_s,
                   {número}, u"Eliminar o sócio"_s,
                   [&](const Instrução &i) { agora = i.Texto(0); });
      if (!agora)
        return ErroFicha::EliminadoNoutroPosto;
      if (*agora != versão)
        return ErroFicha::AlteradoNoutroPosto;
    }
    sócios.ProcurarPrimeiro(Critério::Igual(u"Número"_s, número));
    if (!sócios.SemCorrespondência())
      sócios.Eliminar();
    const CondiçãoSql dasQuotas = TraduzirFiltro(*ProcurarTabela(u"Quotizações"),
                                                 QuotasDoSócio(número), bd.MotorAberto());
    bd.Correr(u"DELETE FROM \"Quotizações\" WHERE "_s + dasQuotas.texto, dasQuotas.valores,
              u"Eliminar as quotas do sócio"_s);
    transacção.Confirmar();
  }
  sócios.Reexecutar();
  quotizações.Reexecutar();
  return ErroFicha::Nenhum;
}

qint32 SócioAMostrarApós(ConjuntoRegistos &sócios, qint64 número) {
  sócios.ProcurarPrimeiro(Critério::MaiorOuIgual(u"Número"_s, número));
  if (sócios.SemCorrespondência())
    sócios.ProcurarÚltimo(Critério::Menor(u"Número"_s, número));
  return sócios.SemCorrespondência() ? 0 : qint32(sócios.Inteiro(u"Número"));
}
