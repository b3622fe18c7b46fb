#include "BaseDados.h"

#include "ConjuntoRegistos.h"
#include "Esquema.h"
#include "Permissoes.h"
#include "Reserva.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QUuid>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

QString NovoNomeLigação() {
  static QAtomicInt contador;
  return u"agremia-"_s + QString::number(contador.fetchAndAddRelaxed(1));
}

void ExecutarSimples(QSqlDatabase &db, const QString &sql, const QString &operação,
                     const QString &ficheiro) {
  QSqlQuery q(db);
  if (!q.exec(sql))
    throw ErroDoMotor(q.lastError(), operação, ficheiro);
}

} // namespace

BaseDados::BaseDados() : nomeLigação(NovoNomeLigação()) {}

BaseDados::~BaseDados() {
  Fechar();
}

void BaseDados::Criar(const QString &caminho) {
  const QString operação = u"Criar a base de dados"_s;
  if (QFileInfo::exists(caminho))
    throw ErroBaseDados(CausaErro::JáExiste, operação, caminho);

  const QString provisório =
      caminho + u".novo-"_s + QUuid::createUuid().toString(QUuid::Id128).left(8);
  const QString ligação = NovoNomeLigação();
  // Made empty for its owner alone before the engine writes into it; the engine gives its
  // journal the rights of the file. Where this fails, opening reports why.
  CriarFicheiroDoDono(provisório);
  std::optional<ErroBaseDados> falha;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, ligação);
    db.setDatabaseName(provisório);
    try {
      if (!db.open())
        throw ErroDoMotor(db.lastError(), operação, caminho);
      ExecutarSimples(db, u"PRAGMA journal_mode=DELETE"_s, operação, caminho);
      ExecutarSimples(db, u"BEGIN IMMEDIATE"_s, operação, caminho);
      for (const QString &sql : InstruçõesCriação())
        ExecutarSimples(db, sql, operação, caminho);
      ExecutarSimples(db, u"COMMIT"_s, operação, caminho);
    } catch (const ErroBaseDados &e) {
      falha = e;
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(ligação);
  if (falha) {
    QFile::remove(provisório);
    QFile::remove(provisório + u"-journal"_s);
    const QFileInfo pasta(QFileInfo(caminho).absolutePath());
    if (pasta.exists() && !pasta.isWritable())
      throw ErroBaseDados(CausaErro::SóLeitura, operação, caminho, falha->Pormenor());
    throw *falha;
  }
  // QFile::rename never replaces an existing file: a file that appeared meanwhile wins.
  if (!QFile::rename(provisório, caminho)) {
    QFile::remove(provisório);
    throw ErroBaseDados(QFileInfo::exists(caminho) ? CausaErro::JáExiste : CausaErro::SemAcesso,
                        operação, caminho);
  }
}

void BaseDados::Abrir(const QString &ficheiro) {
  Fechar();
  const QString operação = u"Abrir a base de dados"_s;
  caminho = QFileInfo(ficheiro).absoluteFilePath();
  if (!QFileInfo::exists(caminho))
    throw ErroBaseDados(CausaErro::FicheiroInexistente, operação, caminho);
  // The engine takes an empty file for an empty database, and the schema check would then
  // call it a database without our tables; an empty file holds no data at all.
  if (QFileInfo(caminho).isFile() && QFileInfo(caminho).size() == 0)
    throw ErroBaseDados(CausaErro::NãoÉBaseDados, operação, caminho, PormenorFicheiroVazio);
  // Marked before the engine touches the file: a file open in another program is left alone.
  std::shared_ptr<ReservaFicheiro> marca;
  if (reservarAoAbrir)
    marca = ReservaFicheiro::Tomar(caminho, operação);

  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, nomeLigação);
    db.setDatabaseName(caminho);
    // Another program holding the file briefly is waited for, not reported. REGEXP serves the
    // name patterns, whose letter case must be ignored beyond ASCII.
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT="_s + QString::number(espera) +
                         u";QSQLITE_ENABLE_REGEXP=64"_s);
    if (!db.open()) {
      const auto erro = ErroDoMotor(db.lastError(), operação, caminho);
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase(nomeLigação);
      throw erro;
    }
  }
  aberta = true;
  ++geração;
  reserva = std::move(marca);
  try {
    VerificarEsquema();
    // The rollback journal keeps the one file complete at every moment, so that it can be
    // copied as it is. Write-ahead logging, which another tool may have switched on, keeps
    // committed data in a second file: the file is put back to the rollback journal.
    QSqlQuery modo = Executar(u"PRAGMA journal_mode"_s, {}, operação);
    if (modo.next() && modo.value(0).toString().compare(u"wal"_s, Qt::CaseInsensitive) == 0) {
      modo.finish();
      Executar(u"PRAGMA journal_mode=DELETE"_s, {}, operação);
    }
    // EXTRA also syncs the folder once the journal is deleted: a power cut right after a save
    // is reported cannot bring the journal back and undo the save.
    Executar(u"PRAGMA synchronous=EXTRA"_s, {}, operação);
  } catch (...) {
    Fechar();
    throw;
  }
}

void BaseDados::VerificarEsquema() {
  const QString operação = u"Verificar a base de dados"_s;
  // Reading the catalogue is the first read of the file: a file that is not SQLite fails here.
  for (const auto &t : TabelasDoFicheiro()) {
    QStringList encontrados;
    Percorrer(u"SELECT name FROM pragma_table_info(?)"_s, {t.nome}, operação,
              [&](const Instrução &i) { encontrados << i.Texto(0); });
    QStringList esperados;
    for (const auto &c : t.campos)
      esperados << c.nome;
    if (encontrados != esperados)
      throw ErroBaseDados(
          CausaErro::FicheiroEstranho, operação, caminho,
          u"tabela "_s + t.nome + u": "_s +
              (encontrados.isEmpty() ? u"não existe"_s : u"campos "_s + encontrados.join(u", "_s)));
  }
}

void BaseDados::Fechar() {
  if (!aberta)
    return;
  // Recordsets still open are closed first, newest first.
  while (!conjuntos.empty())
    conjuntos.back()->Fechar();
  preparadas.clear();
  ++geração;
  {
    QSqlDatabase db = QSqlDatabase::database(nomeLigação, false);
    if (profundidade > 0) {
      QSqlQuery q(db);
      q.exec(u"ROLLBACK"_s);
      profundidade = 0;
    }
    leituraAberta = false;
    db.close();
  }
  QSqlDatabase::removeDatabase(nomeLigação);
  aberta = false;
  reserva.reset();
}

bool BaseDados::SóLeitura() const {
  const QFileInfo f(caminho);
  return !f.isWritable() || !QFileInfo(f.absolutePath()).isWritable();
}

QSqlQuery BaseDados::Executar(const QString &sql, const QVariantList &valores,
                              const QString &operação) {
  if (!aberta)
    throw ErroBaseDados(CausaErro::SemAcesso, operação, caminho, u"base de dados fechada"_s);
  QSqlQuery q(QSqlDatabase::database(nomeLigação, false));
  q.setForwardOnly(true);
  if (!q.prepare(sql))
    throw ErroDoMotor(q.lastError(), operação, caminho);
  for (const QVariant &v : valores)
    q.addBindValue(v);
  if (!q.exec())
    throw ErroDoMotor(q.lastError(), operação, caminho);
  ++versão;
  return q;
}

Instrução BaseDados::Correr(const QString &sql, const QVariantList &valores,
                            const QString &operação) {
  if (!aberta)
    throw ErroBaseDados(CausaErro::SemAcesso, operação, caminho, u"base de dados fechada"_s);
  std::unique_ptr<QSqlQuery> q;
  auto livres = preparadas.find(sql);
  if (livres != preparadas.end() && !livres->second.empty()) {
    q = std::move(livres->second.back());
    livres->second.pop_back();
  } else {
    // A statement of the same text still in use (a query run inside another's loop) gets a
    // statement of its own.
    q = std::make_unique<QSqlQuery>(QSqlDatabase::database(nomeLigação, false));
    q->setForwardOnly(true);
    if (!q->prepare(sql))
      throw ErroDoMotor(q->lastError(), operação, caminho);
  }
  Instrução i(this, sql, std::move(q), operação);
  for (int n = 0; n < valores.size(); ++n)
    i.q->bindValue(n, valores[n]);
  if (!sql.startsWith(u"SELECT"))
    ++versão;
  if (!i.q->exec())
    throw ErroDoMotor(i.q->lastError(), operação, caminho);
  return i;
}

void Instrução::Repetir(const QVariantList &valores) {
  for (int n = 0; n < valores.size(); ++n)
    q->bindValue(n, valores[n]);
  ++bd->versão;
  if (!q->exec())
    throw ErroDoMotor(q->lastError(), operação, bd->caminho);
}

void BaseDados::Devolver(const QString &sql, std::unique_ptr<QSqlQuery> q) {
  q->finish(); // releases the statement's read of the file
  preparadas[sql].push_back(std::move(q));
}

Instrução::Instrução(BaseDados *b, QString s, std::unique_ptr<QSqlQuery> consulta, QString op)
    : bd(b), sql(std::move(s)), q(std::move(consulta)), operação(std::move(op)),
      geração(b->geração) {}

Instrução::Instrução(Instrução &&o) noexcept
    : bd(o.bd), sql(std::move(o.sql)), q(std::move(o.q)), operação(std::move(o.operação)),
      geração(o.geração) {
  o.bd = nullptr;
}

Instrução::~Instrução() {
  if (bd && q && bd->aberta && bd->geração == geração)
    bd->Devolver(sql, std::move(q));
}

bool Instrução::Seguinte() {
  if (q->next())
    return true;
  // The engine stops stepping on an error as on the last row: only the error tells them apart.
  if (q->lastError().type() != QSqlError::NoError)
    throw ErroDoMotor(q->lastError(), operação, bd->Caminho());
  return false;
}

QVariant Instrução::Valor(int coluna) const {
  return q->value(coluna);
}

QString Instrução::Texto(int coluna) const {
  return q->value(coluna).toString();
}

qint64 Instrução::Inteiro(int coluna) const {
  return q->value(coluna).toLongLong();
}

bool Instrução::Nulo(int coluna) const {
  return q->isNull(coluna);
}

qint64 Instrução::ÚltimoId() const {
  return q->lastInsertId().toLongLong();
}

int Instrução::LinhasAfectadas() const {
  return q->numRowsAffected();
}

void BaseDados::Registar(ConjuntoRegistos *r) {
  conjuntos.push_back(r);
}

void BaseDados::Retirar(ConjuntoRegistos *r) {
  conjuntos.erase(std::remove(conjuntos.begin(), conjuntos.end(), r), conjuntos.end());
}

BaseDados::Leitura::Leitura(BaseDados &b) : bd(b) {
  if (bd.profundidade > 0 || !bd.aberta)
    return;
  bd.Correr(u"BEGIN"_s, {}, u"Ler o ficheiro"_s);
  minha = true;
  bd.leituraAberta = true;
  ++bd.profundidade;
}

BaseDados::Leitura::~Leitura() {
  if (!minha || !bd.aberta)
    return;
  // Nothing was written under it: ending it cannot lose anything, and must not throw.
  QSqlQuery q(QSqlDatabase::database(bd.nomeLigação, false));
  if (!q.exec(u"COMMIT"_s))
    q.exec(u"ROLLBACK"_s);
  bd.leituraAberta = false;
  --bd.profundidade;
}

BaseDados::Transacção::Transacção(BaseDados &b) : bd(b), nível(b.profundidade) {
  const QString operação = u"Iniciar a gravação"_s;
  // Writes never ride on a reader's transaction: its end could not report a failed commit.
  // The read ends here, the write is a transaction of its own, and the read starts again.
  sobreLeitura = bd.leituraAberta && nível == 1;
  if (sobreLeitura)
    bd.Correr(u"COMMIT"_s, {}, operação);
  if (nível == 0 || sobreLeitura) {
    try {
      bd.Correr(u"BEGIN IMMEDIATE"_s, {}, operação);
    } catch (...) {
      if (sobreLeitura)
        bd.Correr(u"BEGIN"_s, {}, operação);
      throw;
    }
  } else {
    bd.Correr(u"SAVEPOINT sp"_s + QString::number(nível), {}, operação);
  }
  ++bd.profundidade;
  versãoInício = bd.versão;
}

void BaseDados::Transacção::Confirmar() {
  if (terminada)
    return;
  const QString operação = u"Concluir a gravação"_s;
  if (nível == 0 || sobreLeitura)
    bd.Correr(u"COMMIT"_s, {}, operação);
  else
    bd.Correr(u"RELEASE sp"_s + QString::number(nível), {}, operação);
  terminada = true;
  --bd.profundidade;
  if (sobreLeitura)
    Terminar(u"BEGIN"_s);
}

void BaseDados::Transacção::Terminar(const QString &sql) {
  QSqlQuery q(QSqlDatabase::database(bd.nomeLigação, false));
  q.exec(sql);
}

BaseDados::Transacção::~Transacção() {
  if (terminada || !bd.aberta)
    return;
  // Never throws: a transaction that the engine already ended itself (after a full disk,
  // say) makes ROLLBACK fail, and that is fine.
  const bool escreveu = bd.versão != versãoInício;
  ++bd.versão;
  if (nível == 0 || sobreLeitura) {
    Terminar(u"ROLLBACK"_s);
  } else {
    Terminar(u"ROLLBACK TO sp"_s + QString::number(nível));
    Terminar(u"RELEASE sp"_s + QString::number(nível));
  }
  --bd.profundidade;
  if (sobreLeitura)
    Terminar(u"BEGIN"_s);
  // What the recordsets hold in memory may describe rows that no longer exist.
  if (escreveu)
    for (ConjuntoRegistos *r : std::vector<ConjuntoRegistos *>(bd.conjuntos))
      r->AoReverter();
}

ApagamentoSeguro::ApagamentoSeguro(BaseDados &b) : bd(b) {
  const QString operação = u"Apagar sem deixar rasto"_s;
  QSqlQuery q = bd.Executar(u"PRAGMA secure_delete"_s, {}, operação);
  if (q.next())
    anterior = q.value(0).toLongLong();
  bd.Executar(u"PRAGMA secure_delete = 1"_s, {}, operação);
}

ApagamentoSeguro::~ApagamentoSeguro() {
  try {
    bd.Executar(u"PRAGMA secure_delete = "_s + QString::number(anterior), {}, u"Apagar"_s);
  } catch (const ErroBaseDados &) {
    // The setting only costs speed: a connection left with it on is still correct.
  }
}
