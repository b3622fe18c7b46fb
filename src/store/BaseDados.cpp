#include "BaseDados.h"

#include "ConjuntoRegistos.h"
#include "Esquema.h"
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
    QSqlQuery q = Executar(u"SELECT name FROM pragma_table_info(?)"_s, {t.nome}, operação);
    QStringList encontrados;
    while (q.next())
      encontrados << q.value(0).toString();
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
  {
    QSqlDatabase db = QSqlDatabase::database(nomeLigação, false);
    if (profundidade > 0) {
      QSqlQuery q(db);
      q.exec(u"ROLLBACK"_s);
      profundidade = 0;
    }
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
  return q;
}

void BaseDados::Registar(ConjuntoRegistos *r) {
  conjuntos.push_back(r);
}

void BaseDados::Retirar(ConjuntoRegistos *r) {
  conjuntos.erase(std::remove(conjuntos.begin(), conjuntos.end(), r), conjuntos.end());
}

BaseDados::Transacção::Transacção(BaseDados &b) : bd(b), nível(b.profundidade) {
  const QString operação = u"Iniciar a gravação"_s;
  if (nível == 0)
    bd.Executar(u"BEGIN IMMEDIATE"_s, {}, operação);
  else
    bd.Executar(u"SAVEPOINT sp"_s + QString::number(nível), {}, operação);
  ++bd.profundidade;
}

void BaseDados::Transacção::Confirmar() {
  if (terminada)
    return;
  const QString operação = u"Concluir a gravação"_s;
  if (nível == 0)
    bd.Executar(u"COMMIT"_s, {}, operação);
  else
    bd.Executar(u"RELEASE sp"_s + QString::number(nível), {}, operação);
  terminada = true;
  --bd.profundidade;
}

BaseDados::Transacção::~Transacção() {
  if (terminada || !bd.aberta)
    return;
  // Never throws: a transaction that the engine already ended itself (after a full disk,
  // say) makes ROLLBACK fail, and that is fine.
  QSqlQuery q(QSqlDatabase::database(bd.nomeLigação, false));
  if (nível == 0) {
    q.exec(u"ROLLBACK"_s);
  } else {
    q.exec(u"ROLLBACK TO sp"_s + QString::number(nível));
    q.exec(u"RELEASE sp"_s + QString::number(nível));
  }
  --bd.profundidade;
  // What the recordsets hold in memory may describe rows that no longer exist.
  for (ConjuntoRegistos *r : std::vector<ConjuntoRegistos *>(bd.conjuntos))
    r->AoReverter();
}
