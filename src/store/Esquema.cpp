#include "Esquema.h"

using namespace Qt::StringLiterals;

qsizetype DefTabela::PosiçãoCampo(QStringView nomeCampo) const {
  for (qsizetype i = 0; i < campos.size(); ++i)
    if (campos[i].nome == nomeCampo)
      return i;
  for (qsizetype i = 0; i < campos.size(); ++i)
    if (campos[i].nome.compare(nomeCampo, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

const QList<DefTabela> &TabelasDoFicheiro() {
  static const QList<DefTabela> tabelas = {
      {u"Tabelas"_s,
       {{u"Código"_s, TipoCampo::Contador},
        {u"Tipo"_s, TipoCampo::Texto, 1},
        {u"Designação"_s, TipoCampo::Memo}},
       {{u"Códigos"_s, u"Código"_s, true, true}, {u"Tipos"_s, u"Tipo"_s}}},
      {u"Sócios"_s,
       {{u"Número"_s, TipoCampo::Long},
        {u"Nome"_s, TipoCampo::Texto, 45},
        {u"CPostal"_s, TipoCampo::Long},
        {u"Situação"_s, TipoCampo::Long},
        {u"TipoQuota"_s, TipoCampo::Long},
        {u"Inscrição"_s, TipoCampo::Texto, 8},
        {u"ValQuotaEuro"_s, TipoCampo::Moeda},
        {u"Rua"_s, TipoCampo::Memo},
        {u"Localidade"_s, TipoCampo::Memo},
        {u"Observações"_s, TipoCampo::Memo},
        {u"NIF"_s, TipoCampo::Texto, 12}},
       {{u"Números"_s, u"Número"_s, true, true},
        {u"Nomes"_s, u"Nome"_s},
        {u"CPostais"_s, u"CPostal"_s},
        {u"Situações"_s, u"Situação"_s},
        {u"TiposQuota"_s, u"TipoQuota"_s}}},
      {u"Quotizações"_s,
       {{u"SócMês"_s, TipoCampo::Texto, 12},
        {u"QuotaEuro"_s, TipoCampo::Moeda},
        {u"Recibo"_s, TipoCampo::Long}},
       {{u"Quotas"_s, u"SócMês"_s, true, true}}},
  };
  return tabelas;
}

const DefTabela *ProcurarTabela(QStringView nome) {
  for (const auto &t : TabelasDoFicheiro())
    if (t.nome.compare(nome, Qt::CaseInsensitive) == 0)
      return &t;
  return nullptr;
}

QString Identificador(QStringView nome) {
  QString r = nome.toString();
  r.replace(u'"', u"\"\""_s);
  return u'"' + r + u'"';
}

namespace {

bool ÉPrimário(const DefTabela &t, const DefCampo &c) {
  for (const auto &i : t.índices)
    if (i.primário && i.campo == c.nome)
      return true;
  return false;
}

QString DefiniçãoCampo(const DefTabela &t, const DefCampo &c) {
  const QString id = Identificador(c.nome);
  QString r = id;
  switch (c.tipo) {
  case TipoCampo::Contador:
    // The counter is the row id itself: SQLite's AUTOINCREMENT never hands out a value twice.
    return r + u" INTEGER PRIMARY KEY AUTOINCREMENT"_s;
  case TipoCampo::Long:
    r += u" INTEGER CHECK("_s + id + u" BETWEEN -2147483648 AND 2147483647)"_s;
    break;
  case TipoCampo::Texto:
    r += u" TEXT CHECK(length("_s + id + u") <= "_s + QString::number(c.tamanho) + u')';
    break;
  case TipoCampo::Memo:
    r += u" TEXT"_s;
    break;
  case TipoCampo::Moeda:
    r += u" INTEGER"_s;
    break;
  }
  if (ÉPrimário(t, c))
    r += u" NOT NULL"_s;
  return r;
}

} // namespace

QStringList InstruçõesCriação() {
  QStringList r;
  for (const auto &t : TabelasDoFicheiro()) {
    QStringList campos;
    for (const auto &c : t.campos)
      campos << DefiniçãoCampo(t, c);
    r << u"CREATE TABLE "_s + Identificador(t.nome) + u" ("_s + campos.join(u", "_s) + u')';
    for (const auto &i : t.índices)
      r << (i.único ? u"CREATE UNIQUE INDEX "_s : u"CREATE INDEX "_s) + Identificador(i.nome) +
               u" ON "_s + Identificador(t.nome) + u" ("_s + Identificador(i.campo) + u')';
  }
  return r;
}

QString InstruçãoGuardar(QStringView tabela, QStringView chave, const QStringList &outros) {
  QStringList campos{Identificador(chave)}, novos, diferentes;
  for (const QString &c : outros) {
    const QString id = Identificador(c);
    campos << id;
    novos << id + u" = excluded."_s + id;
    diferentes << id + u" IS NOT excluded."_s + id;
  }
  return u"INSERT INTO "_s + Identificador(tabela) + u" ("_s + campos.join(u", "_s) +
         u") VALUES ("_s + QStringList(campos.size(), u"?"_s).join(u", "_s) + u") ON CONFLICT ("_s +
         Identificador(chave) + u") DO UPDATE SET "_s + novos.join(u", "_s) + u" WHERE "_s +
         diferentes.join(u" OR "_s);
}
