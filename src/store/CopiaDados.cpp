#include "CopiaDados.h"

#include "BaseDados.h"
#include "Esquema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString OperaçãoCópia = u"Copiar os dados"_s;

ErroBaseDados ErroEm(const BaseDados &bd, CausaErro causa, const QString &pormenor) {
  return bd.MotorAberto() == Motor::PostgreSQL
             ? ErroBaseDados::NoServidor(causa, OperaçãoCópia, bd.Caminho(), pormenor)
             : ErroBaseDados(causa, OperaçãoCópia, bd.Caminho(), pormenor);
}

qint64 Contar(BaseDados &bd, const DefTabela &t) {
  qint64 n = -1;
  bd.Percorrer(u"SELECT count(*) FROM "_s + Identificador(t.nome), {}, OperaçãoCópia,
               [&](const Instrução &i) { n = i.Inteiro(0); });
  return n;
}

QString Chave(const DefTabela &t) {
  for (const auto &i : t.índices)
    if (i.primário)
      return i.campo;
  return t.campos.front().nome;
}

const DefCampo *Contador(const DefTabela &t) {
  for (const auto &c : t.campos)
    if (c.tipo == TipoCampo::Contador)
      return &c;
  return nullptr;
}

// How many rows are written at a time: InserirLinhas makes of them as many statements as the
// engine needs.
constexpr int LinhasDeCadaVez = 5000;

// A file's engine keeps whatever a value was written as; a server's columns hold one type
// each, and its driver would turn a fraction, a byte string or a text with a NUL character
// into something else (a text cut at the NUL, say). Such a value stops the copy.
void VerificarValor(const BaseDados &destino, const DefTabela &t, const DefCampo &c,
                    const QVariant &v, const QVariant &chave) {
  if (destino.MotorAberto() != Motor::PostgreSQL || v.isNull())
    return;
  const int tipo = v.metaType().id();
  QString problema;
  switch (c.tipo) {
  case TipoCampo::Contador:
  case TipoCampo::Long:
  case TipoCampo::Moeda:
    if (tipo != QMetaType::LongLong && tipo != QMetaType::Int && tipo != QMetaType::ULongLong)
      problema = u"não é um número inteiro ("_s + v.toString().left(40) + u')';
    break;
  case TipoCampo::Texto:
  case TipoCampo::Memo:
    if (tipo != QMetaType::QString)
      problema = u"não é um texto"_s;
    else if (v.toString().contains(QChar(0)))
      problema = u"tem um carácter nulo, que o servidor não aceita"_s;
    break;
  }
  if (!problema.isEmpty())
    throw ErroEm(destino, CausaErro::ValorInválido,
                 u"tabela "_s + t.nome + u", registo "_s + chave.toString() + u", campo "_s +
                     c.nome + u": o valor "_s + problema);
}

// The last code the source's counter handed out (0 when none), which may lie above the
// highest code left in the table.
qint64 ÚltimoCódigo(BaseDados &bd, const DefTabela &t, const DefCampo &c) {
  qint64 r = 0;
  if (bd.MotorAberto() == Motor::PostgreSQL)
    // The catalogue view, not the sequence itself: a user who may read the tables but not
    // the sequence gets no value here rather than a failure that would end the read.
    bd.Percorrer(u"SELECT last_value FROM pg_sequences WHERE (quote_ident(schemaname) || '.' || "_s
                 u"quote_ident(sequencename))::regclass = pg_get_serial_sequence(?, ?)::regclass"_s,
                 {Identificador(t.nome), c.nome}, OperaçãoCópia,
                 [&](const Instrução &i) { r = i.Inteiro(0); });
  else
    bd.Percorrer(u"SELECT seq FROM sqlite_sequence WHERE name = ?"_s, {t.nome}, OperaçãoCópia,
                 [&](const Instrução &i) { r = i.Inteiro(0); });
  return r;
}

void AvançarContador(BaseDados &bd, const DefTabela &t, const DefCampo &c, qint64 último) {
  if (último <= 0)
    return;
  if (bd.MotorAberto() == Motor::PostgreSQL) {
    bd.Correr(u"SELECT setval(pg_get_serial_sequence(?, ?)::regclass, ?)"_s,
              {Identificador(t.nome), c.nome, último}, OperaçãoCópia);
    return;
  }
  bd.Correr(u"INSERT INTO sqlite_sequence (name, seq) SELECT ?, 0 "_s
            u"WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?)"_s,
            {t.nome, t.nome}, OperaçãoCópia);
  bd.Correr(u"UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?"_s,
            {último, t.nome, último}, OperaçãoCópia);
}

// Copies one table; returns the rows copied.
qint64 CopiarTabela(BaseDados &origem, BaseDados &destino, const DefTabela &t) {
  const qint64 naOrigem = Contar(origem, t);
  QStringList nomes, campos;
  for (const auto &c : t.campos) {
    nomes << c.nome;
    campos << Identificador(c.nome);
  }
  const QString lista = campos.join(u", "_s);
  const qsizetype posChave = t.PosiçãoCampo(Chave(t));

  QVariantList valores;
  int linhas = 0;
  qint64 lidas = 0;
  auto escrever = [&] {
    if (linhas == 0)
      return;
    destino.InserirLinhas(t, nomes, valores, {}, OperaçãoCópia);
    valores.clear();
    linhas = 0;
  };
  origem.Percorrer(u"SELECT "_s + lista + u" FROM "_s + Identificador(t.nome) + u" ORDER BY "_s +
                       Identificador(Chave(t)),
                   {}, OperaçãoCópia, [&](const Instrução &i) {
                     const QVariant chave = i.Valor(int(posChave));
                     for (int n = 0; n < t.campos.size(); ++n) {
                       const QVariant v = i.Valor(n);
                       VerificarValor(destino, t, t.campos[n], v, chave);
                       valores << v;
                     }
                     ++lidas;
                     if (++linhas == LinhasDeCadaVez)
                       escrever();
                   });
  escrever();
  const qint64 naCópia = Contar(destino, t);
  if (lidas != naOrigem || naCópia != naOrigem)
    throw ErroEm(destino, CausaErro::CópiaIncompleta,
                 u"tabela "_s + t.nome + u": "_s + QString::number(naOrigem) + u" na origem, "_s +
                     QString::number(lidas) + u" lidos, "_s + QString::number(naCópia) +
                     u" na cópia"_s);
  return naCópia;
}

// Database of the server left as the copy found it: without any table.
void RetirarTabelas(BaseDados &bd) {
  try {
    BaseDados::Transacção t(bd);
    QStringList nomes;
    for (const auto &d : TabelasDoFicheiro()) {
      if (Contar(bd, d) != 0)
        return; // somebody wrote into them meanwhile: theirs now
      nomes << Identificador(d.nome);
    }
    bd.ExecutarTexto(u"DROP TABLE "_s + nomes.join(u", "_s), OperaçãoCópia);
    t.Confirmar();
  } catch (const ErroBaseDados &) {
    // A connection that is gone leaves the empty tables: a later copy can still use them.
  }
}

} // namespace

ContagemDados CopiarDados(BaseDados &origem, BaseDados &destino) {
  if (&origem == &destino)
    throw ErroEm(destino, CausaErro::ComDados, u"origem e destino são a mesma base de dados"_s);
  BaseDados::Leitura leitura(origem);
  BaseDados::Transacção transacção(destino);
  if (destino.MotorAberto() == Motor::PostgreSQL) {
    // No other desk writes into the tables while they are filled; one that holds them for
    // long makes the copy fail rather than wait without end.
    destino.Correr(u"SELECT set_config('lock_timeout', '10s', true)"_s, {}, OperaçãoCópia);
    QStringList nomes;
    for (const auto &t : TabelasDoFicheiro())
      nomes << Identificador(t.nome);
    destino.ExecutarTexto(u"LOCK TABLE "_s + nomes.join(u", "_s) + u" IN EXCLUSIVE MODE"_s,
                          OperaçãoCópia);
  }
  for (const auto &t : TabelasDoFicheiro()) {
    bool comLinhas = false;
    destino.Percorrer(u"SELECT 1 FROM "_s + Identificador(t.nome) + u" LIMIT 1"_s, {},
                      OperaçãoCópia, [&](const Instrução &) { comLinhas = true; });
    if (comLinhas)
      throw ErroEm(destino, CausaErro::ComDados, u"a tabela "_s + t.nome + u" tem registos"_s);
  }

  QList<qint64> copiadas;
  for (const auto &t : TabelasDoFicheiro())
    copiadas << CopiarTabela(origem, destino, t);
  // Last, once every row is in: a server's sequence moves outside the transaction, and a copy
  // refused half-way must not leave it moved.
  for (const auto &t : TabelasDoFicheiro())
    if (const DefCampo *c = Contador(t)) {
      qint64 último = ÚltimoCódigo(origem, t, *c);
      destino.Percorrer(
          u"SELECT max("_s + Identificador(c->nome) + u") FROM "_s + Identificador(t.nome), {},
          OperaçãoCópia, [&](const Instrução &i) { último = std::max(último, i.Inteiro(0)); });
      AvançarContador(destino, t, *c, último);
    }
  transacção.Confirmar();

  ContagemDados r;
  r.tabelas = copiadas.value(0);
  r.sócios = copiadas.value(1);
  r.quotizações = copiadas.value(2);
  return r;
}

ContagemDados CopiarFicheiroParaServidor(const QString &ficheiro, const QString &ligação) {
  BaseDados origem;
  origem.Abrir(ficheiro);
  BaseDados destino;
  bool criadas = false;
  try {
    destino.AbrirServidor(ligação);
  } catch (const ErroBaseDados &e) {
    if (e.Causa() != CausaErro::FicheiroEstranho)
      throw;
    // Refused, and nothing changed, when the database holds any table at all.
    BaseDados::CriarNoServidor(ligação);
    criadas = true;
    destino.AbrirServidor(ligação);
  }
  try {
    return CopiarDados(origem, destino);
  } catch (const ErroBaseDados &) {
    if (criadas)
      RetirarTabelas(destino);
    throw;
  }
}

ContagemDados CopiarServidorParaFicheiro(const QString &ligação, const QString &ficheiro) {
  const QString operação = u"Copiar os dados para um ficheiro"_s;
  const QFileInfo destino(ficheiro);
  if (destino.exists())
    throw ErroBaseDados(CausaErro::JáExiste, operação, destino.absoluteFilePath());
  BaseDados origem;
  origem.AbrirServidor(ligação);

  const QString provisório = destino.absoluteDir().filePath(
      u"Quotas.parcial-"_s + QUuid::createUuid().toString(QUuid::Id128).left(12));
  std::optional<ErroBaseDados> falha;
  ContagemDados r;
  try {
    BaseDados::Criar(provisório);
    BaseDados cópia;
    cópia.DefinirReserva(false); // nobody else knows this name
    cópia.Abrir(provisório);
    r = CopiarDados(origem, cópia);
    QStringList respostas;
    cópia.Percorrer(u"PRAGMA integrity_check"_s, {}, operação,
                    [&](const Instrução &i) { respostas << i.Texto(0); });
    if (respostas != QStringList{u"ok"_s})
      throw ErroBaseDados(CausaErro::Danificado, operação, provisório, respostas.join(u"; "_s));
    cópia.Fechar();
    // QFile::rename never replaces a file: one that appeared meanwhile under the name wins.
    if (!QFile::rename(provisório, destino.absoluteFilePath()))
      throw ErroBaseDados(destino.exists() ? CausaErro::JáExiste : CausaErro::SemAcesso, operação,
                          destino.absoluteFilePath());
  } catch (const ErroBaseDados &e) {
    falha = e;
  }
  if (falha) {
    QFile::remove(provisório);
    QFile::remove(provisório + u"-journal"_s);
    throw *falha;
  }
  return r;
}
