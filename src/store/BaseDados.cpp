#include "BaseDados.h"

#include "ConjuntoRegistos.h"
#include "Esquema.h"
#include "Permissoes.h"
#include "Reserva.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSysInfo>
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
  motor = Motor::SQLite;
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

QString BaseDados::LigaçãoParaMostrar(const QString &ligação) {
  static const QRegularExpression senha(uR"((^|\s)password\s*=\s*('(?:[^'\\]|\\.)*'|\S*))"_s);
  static const QRegularExpression senhaUri(uR"((://[^:/@?]*):[^@/?]*@)"_s);
  // An address may carry the password among its parameters too ("...?password=x&...").
  static const QRegularExpression endereço(uR"(^\s*postgres(ql)?://)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression senhaParâmetro(uR"(([?&])password=[^&\s]*&?)"_s);
  static const QRegularExpression separadorFinal(uR"([?&](\s|$))"_s);
  QString r = ligação;
  if (endereço.match(r).hasMatch()) {
    r.replace(senhaParâmetro, u"\\1"_s);
    r.replace(separadorFinal, u"\\1"_s);
  } else {
    r.replace(senha, u"\\1"_s);
  }
  r.replace(senhaUri, u"\\1@"_s);
  return r.simplified();
}

namespace {

QString &NomePrograma() {
  static QString nome = u"Agremia"_s;
  return nome;
}

} // namespace

void BaseDados::DefinirNomePrograma(const QString &programa) {
  NomePrograma() = programa;
}

QString BaseDados::NomeNoServidor() {
  return NomePrograma() + u" ("_s + QSysInfo::machineHostName() + u')';
}

QString BaseDados::LigaçãoComNome(const QString &ligação) {
  static const QRegularExpression dada(uR"((^|\s)application_name\s*=)"_s);
  if (dada.match(ligação).hasMatch())
    return ligação;
  // The driver hands the string to libpq after a field of its own, so it is always read as
  // key=value pairs: the value goes in single quotes, a quote or a backslash inside escaped.
  QString valor = NomeNoServidor();
  valor.replace(u'\\', u"\\\\"_s);
  valor.replace(u'\'', u"\\'"_s);
  return ligação + (ligação.trimmed().isEmpty() ? QString() : u" "_s) + u"application_name='"_s +
         valor + u'\'';
}

namespace {

// The driver turns every ';' of the connection options into a blank before libpq reads them,
// so a password holding one would never be accepted. A password in the string is taken out
// and given to the driver's own field, which it quotes whole.
void LigarCom(QSqlDatabase &db, const QString &ligação) {
  static const QRegularExpression senha(uR"((^|\s)password\s*=\s*(?:'((?:[^'\\]|\\.)*)'|(\S*)))"_s);
  QString resto = ligação;
  const QRegularExpressionMatch m = senha.match(ligação);
  if (m.hasMatch()) {
    QString valor;
    if (m.capturedStart(2) >= 0) {
      const QString entre = m.captured(2);
      for (qsizetype i = 0; i < entre.size(); ++i)
        valor += entre[i] == u'\\' && i + 1 < entre.size() ? entre[++i] : entre[i];
    } else {
      valor = m.captured(3);
    }
    resto.remove(m.capturedStart(0), m.capturedLength(0));
    db.setPassword(valor);
  }
  db.setConnectOptions(BaseDados::LigaçãoComNome(resto));
}

} // namespace

void BaseDados::AbrirServidor(const QString &ligação) {
  Fechar();
  const QString operação = u"Abrir a base de dados"_s;
  motor = Motor::PostgreSQL;
  caminho = LigaçãoParaMostrar(ligação);
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, nomeLigação);
    std::optional<ErroBaseDados> falha;
    if (!db.isValid()) {
      falha = Erro(CausaErro::SemAcesso, operação,
                   u"o controlador QPSQL do Qt não está instalado (libqt6sql6-psql)"_s);
    } else {
      // The driver hands the options to libpq after the fields it fills itself, none here:
      // libpq reads the whole string, a service name included.
      LigarCom(db, ligação);
      if (!db.open())
        falha = Erro(db.lastError(), operação);
    }
    if (falha) {
      db = QSqlDatabase();
      QSqlDatabase::removeDatabase(nomeLigação);
      throw *falha;
    }
  }
  aberta = true;
  ++geração;
  try {
    VerificarEsquema();
  } catch (...) {
    Fechar();
    throw;
  }
}

void BaseDados::CriarNoServidor(const QString &ligação) {
  const QString operação = u"Criar as tabelas"_s;
  const QString mostrar = LigaçãoParaMostrar(ligação);
  const QString nome = NovoNomeLigação();
  std::optional<ErroBaseDados> falha;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, nome);
    LigarCom(db, ligação);
    QSqlQuery q(db);
    // One transaction: the tables appear all together or not at all. Creating a table that
    // another desk created meanwhile fails, and takes the whole creation back.
    auto correr = [&](const QString &sql) {
      if (!q.exec(sql))
        throw ErroDoServidor(q.lastError(), operação, mostrar);
    };
    try {
      if (!db.isValid())
        throw ErroBaseDados::NoServidor(
            CausaErro::SemAcesso, operação, mostrar,
            u"o controlador QPSQL do Qt não está instalado (libqt6sql6-psql)"_s);
      if (!db.open())
        throw ErroDoServidor(db.lastError(), operação, mostrar);
      correr(u"BEGIN"_s);
      // Every table of the database counts, in any schema, whatever the rights on it.
      correr(u"SELECT n.nspname || '.' || c.relname FROM pg_catalog.pg_class c "
             u"JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
             u"WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f') "
             u"AND n.nspname NOT IN ('pg_catalog', 'information_schema') "
             u"AND n.nspname NOT LIKE 'pg\\_toast%' AND n.nspname NOT LIKE 'pg\\_temp%' "
             u"ORDER BY 1"_s);
      QStringList existentes;
      while (q.next())
        existentes << q.value(0).toString();
      if (!existentes.isEmpty())
        throw ErroBaseDados::NoServidor(CausaErro::JáExiste, operação, mostrar,
                                        u"tabelas: "_s + existentes.join(u", "_s));
      for (const QString &sql : InstruçõesCriação(Motor::PostgreSQL))
        correr(sql);
      correr(u"COMMIT"_s);
    } catch (const ErroBaseDados &e) {
      falha = e;
      if (db.isOpen())
        q.exec(u"ROLLBACK"_s);
    }
    q.finish();
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  if (falha)
    throw *falha;
}

ErroBaseDados BaseDados::Erro(const QSqlError &erro, const QString &operação) const {
  return motor == Motor::PostgreSQL ? ErroDoServidor(erro, operação, caminho)
                                    : ErroDoMotor(erro, operação, caminho);
}

ErroBaseDados BaseDados::Erro(CausaErro causa, const QString &operação,
                              const QString &pormenor) const {
  return motor == Motor::PostgreSQL ? ErroBaseDados::NoServidor(causa, operação, caminho, pormenor)
                                    : ErroBaseDados(causa, operação, caminho, pormenor);
}

// A write takes SQLite's write lock at once, so that it waits for another program at its
// start rather than failing half-way. PostgreSQL locks rows as they are written.
QString BaseDados::InícioEscrita() const {
  return motor == Motor::PostgreSQL ? u"BEGIN"_s : u"BEGIN IMMEDIATE"_s;
}

// One state of the data for all that one action reads: SQLite's deferred transaction gives
// it; PostgreSQL's default isolation would show each statement a newer state.
QString BaseDados::InícioLeitura() const {
  return motor == Motor::PostgreSQL ? u"BEGIN ISOLATION LEVEL REPEATABLE READ"_s : u"BEGIN"_s;
}

QString BaseDados::CamposDaTabela() const {
  return motor == Motor::PostgreSQL ? u"SELECT column_name::text FROM information_schema.columns "
                                      u"WHERE table_schema = current_schema() AND table_name = ? "
                                      u"ORDER BY ordinal_position"_s
                                    : u"SELECT name FROM pragma_table_info(?)"_s;
}

// SQLite steps through a statement's rows as they are read. PostgreSQL's driver reads a
// forward-only result row by row from the wire, and then the connection can run nothing else
// until it ends: a query run inside another's loop would fail. There the result comes whole.
bool BaseDados::SóParaDiante() const {
  return motor == Motor::SQLite;
}

void BaseDados::Controlar(const QString &sql, const QString &operação) {
  if (motor == Motor::SQLite) {
    Correr(sql, {}, operação);
    return;
  }
  if (!aberta)
    throw Erro(CausaErro::SemAcesso, operação, u"base de dados fechada"_s);
  QSqlQuery q(QSqlDatabase::database(nomeLigação, false));
  ++versão;
  ++enviadas;
  if (!q.exec(sql))
    throw Erro(q.lastError(), operação);
}

void BaseDados::CopiarPara(const QString &destino, const QString &operação) {
  if (motor != Motor::SQLite)
    throw Erro(CausaErro::Desconhecida, operação,
               u"a cópia num ficheiro faz-se a partir de um Quotas.Dad"_s);
  Executar(u"VACUUM INTO ?"_s, {destino}, operação);
}

void BaseDados::VerificarEsquema() {
  const QString operação = u"Verificar a base de dados"_s;
  // Reading the catalogue is the first read of the file: a file that is not SQLite fails here.
  for (const auto &t : TabelasDoFicheiro()) {
    QStringList encontrados;
    Percorrer(CamposDaTabela(), {t.nome}, operação,
              [&](const Instrução &i) { encontrados << i.Texto(0); });
    QStringList esperados;
    for (const auto &c : t.campos)
      esperados << c.nome;
    if (encontrados != esperados)
      throw Erro(
          CausaErro::FicheiroEstranho, operação,
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
  if (motor == Motor::PostgreSQL)
    return false;
  const QFileInfo f(caminho);
  return !f.isWritable() || !QFileInfo(f.absolutePath()).isWritable();
}

QSqlQuery BaseDados::Executar(const QString &sql, const QVariantList &valores,
                              const QString &operação) {
  if (!aberta)
    throw Erro(CausaErro::SemAcesso, operação, u"base de dados fechada"_s);
  QSqlQuery q(QSqlDatabase::database(nomeLigação, false));
  q.setForwardOnly(SóParaDiante());
  if (!q.prepare(sql))
    throw Erro(q.lastError(), operação);
  for (const QVariant &v : valores)
    q.addBindValue(v);
  ++enviadas;
  if (!q.exec())
    throw Erro(q.lastError(), operação);
  ++versão;
  return q;
}

Instrução BaseDados::Correr(const QString &sql, const QVariantList &valores,
                            const QString &operação) {
  if (!aberta)
    throw Erro(CausaErro::SemAcesso, operação, u"base de dados fechada"_s);
  std::unique_ptr<QSqlQuery> q;
  auto livres = preparadas.find(sql);
  if (livres != preparadas.end() && !livres->second.empty()) {
    q = std::move(livres->second.back());
    livres->second.pop_back();
  } else {
    // A statement of the same text still in use (a query run inside another's loop) gets a
    // statement of its own.
    q = std::make_unique<QSqlQuery>(QSqlDatabase::database(nomeLigação, false));
    q->setForwardOnly(SóParaDiante());
    if (!q->prepare(sql))
      throw Erro(q->lastError(), operação);
  }
  Instrução i(this, sql, std::move(q), operação);
  for (int n = 0; n < valores.size(); ++n)
    i.q->bindValue(n, valores[n]);
  if (!sql.startsWith(u"SELECT"))
    ++versão;
  ++enviadas;
  if (!i.q->exec())
    throw Erro(i.q->lastError(), operação);
  return i;
}

void Instrução::Repetir(const QVariantList &valores) {
  for (int n = 0; n < valores.size(); ++n)
    q->bindValue(n, valores[n]);
  ++bd->versão;
  ++bd->enviadas;
  if (!q->exec())
    throw bd->Erro(q->lastError(), operação);
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
    throw bd->Erro(q->lastError(), operação);
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
  // PostgreSQL's driver asks the server for lastval(): the counter's sequence.
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

BaseDados::Leitura::Leitura(BaseDados &b, bool noServidor) : bd(b) {
  if (bd.profundidade > 0 || !bd.aberta || (!noServidor && bd.motor == Motor::PostgreSQL))
    return;
  bd.Controlar(bd.InícioLeitura(), u"Ler o ficheiro"_s);
  minha = true;
  bd.leituraAberta = true;
  ++bd.profundidade;
}

BaseDados::Leitura::~Leitura() {
  if (!minha || !bd.aberta)
    return;
  // Nothing was written under it: ending it cannot lose anything, and must not throw.
  QSqlQuery q(QSqlDatabase::database(bd.nomeLigação, false));
  ++bd.enviadas;
  if (!q.exec(u"COMMIT"_s)) {
    ++bd.enviadas;
    q.exec(u"ROLLBACK"_s);
  }
  bd.leituraAberta = false;
  --bd.profundidade;
}

BaseDados::Transacção::Transacção(BaseDados &b) : bd(b), nível(b.profundidade) {
  const QString operação = u"Iniciar a gravação"_s;
  // Writes never ride on a reader's transaction: its end could not report a failed commit.
  // The read ends here, the write is a transaction of its own, and the read starts again.
  sobreLeitura = bd.leituraAberta && nível == 1;
  if (sobreLeitura)
    bd.Controlar(u"COMMIT"_s, operação);
  if (nível == 0 || sobreLeitura) {
    try {
      bd.Controlar(bd.InícioEscrita(), operação);
    } catch (...) {
      if (sobreLeitura)
        bd.Controlar(bd.InícioLeitura(), operação);
      throw;
    }
  } else {
    bd.Controlar(u"SAVEPOINT sp"_s + QString::number(nível), operação);
  }
  ++bd.profundidade;
  versãoInício = bd.versão;
}

void BaseDados::Transacção::Confirmar() {
  if (terminada)
    return;
  const QString operação = u"Concluir a gravação"_s;
  if (nível == 0 || sobreLeitura)
    bd.Controlar(u"COMMIT"_s, operação);
  else
    bd.Controlar(u"RELEASE sp"_s + QString::number(nível), operação);
  terminada = true;
  --bd.profundidade;
  if (sobreLeitura)
    Terminar(bd.InícioLeitura());
}

void BaseDados::Transacção::Terminar(const QString &sql) {
  QSqlQuery q(QSqlDatabase::database(bd.nomeLigação, false));
  ++bd.enviadas;
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
    Terminar(bd.InícioLeitura());
  // What the recordsets hold in memory may describe rows that no longer exist.
  if (escreveu)
    for (ConjuntoRegistos *r : std::vector<ConjuntoRegistos *>(bd.conjuntos))
      r->AoReverter();
}

ApagamentoSeguro::ApagamentoSeguro(BaseDados &b) : bd(b) {
  // A server keeps no free pages for a plain viewer to read: nothing to set there.
  if (bd.MotorAberto() != Motor::SQLite)
    return;
  const QString operação = u"Apagar sem deixar rasto"_s;
  QSqlQuery q = bd.Executar(u"PRAGMA secure_delete"_s, {}, operação);
  if (q.next())
    anterior = q.value(0).toLongLong();
  bd.Executar(u"PRAGMA secure_delete = 1"_s, {}, operação);
}

ApagamentoSeguro::~ApagamentoSeguro() {
  if (bd.MotorAberto() != Motor::SQLite)
    return;
  try {
    bd.Executar(u"PRAGMA secure_delete = "_s + QString::number(anterior), {}, u"Apagar"_s);
  } catch (const ErroBaseDados &) {
    // The setting only costs speed: a connection left with it on is still correct.
  }
}
