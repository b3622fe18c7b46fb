#include "Referencias.h"

#include "BaseDados.h"
#include "Dados.h"
#include "OrdemNomes.h"

using namespace Qt::StringLiterals;

namespace {

ListasReferência &ListasDaExecução() {
  static ListasReferência listas;
  return listas;
}

} // namespace

QString ListasReferência::Texto(const ListaReferência &lista, qint64 código) {
  for (const ItemReferência &i : lista)
    if (i.código == código)
      return i.texto;
  return {};
}

ListasReferência LerListasReferência(BaseDados &bd) {
  ListasReferência r;
  bd.Percorrer(u"SELECT \"Tipo\", \"Código\", \"Designação\" FROM \"Tabelas\" "
               u"WHERE \"Tipo\" IN ('C', 'S', 'T') ORDER BY \"Código\""_s,
               {}, u"Ler as tabelas"_s, [&](const Instrução &i) {
                 const QString tipo = i.Texto(0);
                 ListaReferência &lista = tipo == u"C"_s   ? r.códigosPostais
                                          : tipo == u"S"_s ? r.situações
                                                           : r.tiposQuota;
                 lista.push_back({i.Inteiro(1), i.Texto(2)});
               });
  for (ListaReferência *l : {&r.códigosPostais, &r.situações, &r.tiposQuota})
    OrdenarPorNome(*l, [](const ItemReferência &i) { return i.texto; });
  return r;
}

const ListasReferência &Listas() {
  return ListasDaExecução();
}

void RecarregarListas() {
  BaseDados &bd = Dados().bd;
  ListasDaExecução() = bd.Aberta() ? LerListasReferência(bd) : ListasReferência();
}

std::optional<QString> LerLinhaTabelas(BaseDados &bd, QChar tipo) {
  Instrução i = bd.Correr(u"SELECT \"Designação\" FROM \"Tabelas\" WHERE \"Tipo\" = ? "
                          u"ORDER BY \"Código\" LIMIT 1"_s,
                          {QString(tipo)}, u"Ler as tabelas"_s);
  if (!i.Seguinte())
    return std::nullopt;
  return i.Texto(0);
}

QHash<QChar, QString> LerLinhasTabelas(BaseDados &bd, const QString &tipos) {
  QHash<QChar, QString> linhas;
  if (tipos.isEmpty())
    return linhas;
  QVariantList valores;
  for (const QChar t : tipos)
    valores << QString(t);
  bd.Percorrer(u"SELECT \"Tipo\", \"Designação\" FROM \"Tabelas\" WHERE \"Tipo\" IN ("_s +
                   QStringList(valores.size(), u"?"_s).join(u", "_s) +
                   u") ORDER BY \"Código\""_s,
               valores, u"Ler as tabelas"_s, [&linhas](const Instrução &i) {
                 const QString tipo = i.Texto(0);
                 if (tipo.size() == 1 && !linhas.contains(tipo.front()))
                   linhas.insert(tipo.front(), i.Texto(1));
               });
  return linhas;
}

std::optional<QString> LerLinhaTabelasParaAlterar(BaseDados &bd, QChar tipo) {
  if (bd.MotorAberto() != Motor::PostgreSQL)
    return LerLinhaTabelas(bd, tipo);
  const QString operação = u"Ler as tabelas"_s;
  const auto ler = [&]() -> std::optional<QString> {
    Instrução i = bd.Correr(u"SELECT \"Designação\" FROM \"Tabelas\" WHERE \"Código\" = "
                            u"(SELECT min(\"Código\") FROM \"Tabelas\" WHERE \"Tipo\" = ?) "
                            u"FOR UPDATE"_s,
                            {QString(tipo)}, operação);
    if (!i.Seguinte())
      return std::nullopt;
    return i.Texto(0);
  };
  if (auto v = ler())
    return v;
  // No row to lock: a lock named after the kind, held to the end of the transaction, makes a
  // desk that is adding it wait for the other's commit; its next read then sees that row.
  bd.Correr(u"SELECT pg_advisory_xact_lock(?)"_s, {qint64(0x4167726500) + tipo.unicode()},
            operação);
  return ler();
}

void GravarLinhaTabelas(BaseDados &bd, QChar tipo, const QString &valor) {
  const QString operação = u"Gravar nas tabelas"_s;
  BaseDados::Transacção t(bd);
  Instrução alterada = bd.Correr(u"UPDATE \"Tabelas\" SET \"Designação\" = ? WHERE \"Código\" = "
                                 u"(SELECT min(\"Código\") FROM \"Tabelas\" WHERE \"Tipo\" = ?)"_s,
                                 {valor, QString(tipo)}, operação);
  if (alterada.LinhasAfectadas() == 0)
    bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES (?, ?)"_s,
              {QString(tipo), valor}, operação);
  t.Confirmar();
}
