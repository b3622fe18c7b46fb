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
#include <QSqlDriver>
#include <QSqlError>
#include <QSysInfo>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <optional>
#include <stdexcept>

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

// The channel of the notifications between desks; the payload names the tables changed.
const QString CanalAvisos = u"agremia"_s;

// The tables whose changes other desks want to hear of: the member list and the reference
// lists. (A dues row shows only with its member, read whole each time.)
const QStringList TabelasAvisadas = {u"Sócios"_s, u"Tabelas"_s};

// libpq waits for an unreachable host, or for a network that went away in the middle of a
// statement, as long as the system's TCP does: minutes. Limits that a connection string
// leaves unset are set here (libpq takes the string's own values over these); a URI or a
// service name keeps its own settings.
QString LigaçãoComPrazos(const QString &ligação) {
  if (ligação.contains(u"://"_s) || ligação.contains(u"service"_s))
    return ligação;
  static const char *const prazos[][2] = {{"connect_timeout", "10"},
                                          {"keepalives_idle", "60"},
                                          {"keepalives_interval", "10"},
                                          {"keepalives_count", "3"},
                                          {"tcp_user_timeout", "60000"}};
  QString r;
  for (const auto &[nome, valor] : prazos)
    if (!ligação.contains(QLatin1StringView(nome)))
      r += QLatin1StringView(nome) + u'=' + QLatin1StringView(valor) + u' ';
  return r + ligação;
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
  ligaçãoServidor = ligação;
  try {
    LigarServidor(operação);
  } catch (...) {
    QSqlDatabase::removeDatabase(nomeLigação);
    ligaçãoServidor.clear();
    throw;
  }
  aberta = true;
  perdida = false;
  religações = 0;
  ++geração;
  try {
    VerificarEsquema();
  } catch (...) {
    Fechar();
    throw;
  }
}

QSqlDatabase BaseDados::Ligação() const {
  return QSqlDatabase::database(nomeLigação, false);
}

void BaseDados::LigarServidor(const QString &operação) {
  QSqlDatabase db = QSqlDatabase::contains(nomeLigação)
                        ? Ligação()
                        : QSqlDatabase::addDatabase(u"QPSQL"_s, nomeLigação);
  if (!db.isValid())
    throw Erro(CausaErro::SemAcesso, operação,
               u"o controlador QPSQL do Qt não está instalado (libqt6sql6-psql)"_s);
  // The driver hands the options to libpq after the fields it fills itself, none here: libpq
  // reads the whole string, a service name included.
  LigarCom(db, LigaçãoComPrazos(ligaçãoServidor));
  ++enviadas;
  if (!db.open())
    throw ErroDoServidor(db.lastError(), operação, caminho);
  try {
    QSqlQuery q(db);
    ++enviadas;
    if (!q.exec(u"SELECT current_setting('server_version_num')::integer, "
                u"current_setting('server_version')"_s) ||
        !q.next())
      throw ErroDoServidor(q.lastError(), operação, caminho);
    if (VersãoServidorRecusada(q.value(0).toInt()))
      throw Erro(CausaErro::VersãoServidor, operação, q.value(1).toString());
    // LISTEN: other desks' commits reach this connection while the program waits for events.
    ++enviadas;
    if (!db.driver()->subscribeToNotification(CanalAvisos))
      throw ErroDoServidor(db.driver()->lastError(), operação, caminho);
    QObject::connect(db.driver(), &QSqlDriver::notification, db.driver(),
                     [this](const QString &, QSqlDriver::NotificationSource fonte,
                            const QVariant &carga) {
                       // This desk's own commits are known here already.
                       if (fonte != QSqlDriver::SelfSource)
                         AoNotificar(carga.toString());
                     });
  } catch (...) {
    db.close();
    throw;
  }
}

void BaseDados::Religar(const QString &operação) {
  // The statements prepared on the lost connection, and the recordsets' notion of which rows
  // exist, died with it. The old driver goes first, so that dropping its statements sends
  // nothing; a new connection name makes a new driver.
  perdida = true;
  ++geração;
  auto antigas = std::move(preparadas);
  preparadas.clear();
  {
    QSqlDatabase db = Ligação();
    db.close();
  }
  QSqlDatabase::removeDatabase(nomeLigação);
  antigas.clear();
  órfãs.clear();
  nomeLigação = NovoNomeLigação();
  LigarServidor(operação);
  perdida = false;
  ++religações;
  for (ConjuntoRegistos *r : conjuntos)
    r->MarcarPorRefrescar();
  // Whatever other desks did meanwhile was not heard.
  for (const QString &t : TabelasAvisadas)
    if (!mudadas.contains(t))
      mudadas << t;
}

void BaseDados::RetomarLigação(const QString &operação) {
  if (motor != Motor::PostgreSQL)
    return;
  // The driver sees a connection closed by the server as soon as it reads from it (the
  // notifications' socket reads it while the program waits for events).
  if (perdida || !Ligação().isOpen())
    Religar(operação);
}

void BaseDados::AntesDaAcção(const QString &operação) {
  RetomarLigação(operação);
  AvisarMudanças();
}

void BaseDados::AvisarMudanças() {
  if (mudadas.isEmpty() || aAvisar || profundidade > 0)
    return;
  if (!aoMudarNoutroPosto) {
    mudadas.clear();
    return;
  }
  const QStringList tabelas = std::exchange(mudadas, {});
  aAvisar = true;
  try {
    aoMudarNoutroPosto(tabelas);
  } catch (...) {
    aAvisar = false;
    for (const QString &t : tabelas)
      if (!mudadas.contains(t))
        mudadas << t;
    throw;
  }
  aAvisar = false;
}

void BaseDados::AoNotificar(const QString &carga) {
  const QStringList tabelas = carga.split(u',', Qt::SkipEmptyParts);
  for (ConjuntoRegistos *r : conjuntos)
    if (tabelas.contains(r->ConsultaActual().tabela, Qt::CaseInsensitive))
      r->MarcarPorRefrescar();
  for (const QString &t : tabelas)
    if (!mudadas.contains(t))
      mudadas << t;
  // Heard while waiting for events: nothing of this program is under way unless a message
  // box of an action is open, and then the action's transaction holds them back.
  try {
    AvisarMudanças();
  } catch (const ErroBaseDados &) {
    // Kept in `mudadas`: passed on at the start of the next action, which reports the trouble.
  }
}

void BaseDados::MarcarEscrita(const QString &sql) {
  if (motor != Motor::PostgreSQL)
    return;
  static const QRegularExpression escrita(
      uR"re(^\s*(?:INSERT\s+INTO|UPDATE|DELETE\s+FROM)\s+"([^"]+)")re"_s,
      QRegularExpression::CaseInsensitiveOption);
  const auto m = escrita.match(sql);
  if (m.hasMatch() && TabelasAvisadas.contains(m.captured(1)) && !escritas.contains(m.captured(1)))
    escritas << m.captured(1);
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

ErroBaseDados BaseDados::Erro(const QSqlError &erro, const QString &operação) {
  if (motor != Motor::PostgreSQL)
    return ErroDoMotor(erro, operação, caminho);
  ErroBaseDados e = ErroDoServidor(erro, operação, caminho);
  if (perdida || !Ligação().isOpen()) {
    perdida = true;
    QString pormenor = e.Pormenor();
    if (pormenor.isEmpty())
      pormenor = u"sem ligação ao servidor"_s;
    return ErroBaseDados::NoServidor(CausaErro::LigaçãoPerdida, operação, caminho, pormenor);
  }
  return e;
}

ErroBaseDados BaseDados::Erro(CausaErro causa, const QString &operação,
                              const QString &pormenor) const {
  return motor == Motor::PostgreSQL ? ErroBaseDados::NoServidor(causa, operação, caminho, pormenor)
                                    : ErroBaseDados(causa, operação, caminho, pormenor);
}

// A write takes SQLite's write lock at once, so that it waits for another program at its
// start rather than failing half-way. PostgreSQL locks rows as they are written.
QString BaseDados::InícioEscrita() const {
  return motor == Motor::PostgreSQL ? u"BEGIN; SELECT txid_current(), pg_backend_pid()"_s
                                    : u"BEGIN IMMEDIATE"_s;
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
  // A transaction that begins has nothing of ours to lose: a dropped connection is made again
  // and the BEGIN sent once more.
  const bool início = profundidade == 0;
  if (início)
    RetomarLigação(operação);
  else if (perdida)
    throw Erro(CausaErro::LigaçãoPerdida, operação, u"sem ligação ao servidor"_s);
  for (int tentativa = 0;; ++tentativa) {
    QSqlQuery q(Ligação());
    ++versão;
    ++enviadas;
    if (q.exec(sql)) {
      // A write's BEGIN on a server brings the transaction's id: see ConcluirNoServidor.
      if (sql == InícioEscrita() && q.nextResult() && q.next()) {
        marcaTransacção = q.value(0).toLongLong();
        marcaProcesso = q.value(1).toLongLong();
      }
      return;
    }
    ErroBaseDados e = Erro(q.lastError(), operação);
    if (e.Causa() != CausaErro::LigaçãoPerdida || !início || tentativa > 0)
      throw e;
    q = QSqlQuery();
    Religar(operação);
  }
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
  ++geração;
  // A server's statements end with its connection: dropped after the driver, they send
  // nothing (and nothing at all to a connection already lost).
  auto antigas = std::move(preparadas);
  preparadas.clear();
  if (motor == Motor::SQLite)
    antigas.clear();
  {
    QSqlDatabase db = Ligação();
    if (profundidade > 0 && !perdida) {
      QSqlQuery q(db);
      q.exec(u"ROLLBACK"_s);
    }
    profundidade = 0;
    leituraAberta = false;
    db.close();
  }
  QSqlDatabase::removeDatabase(nomeLigação);
  antigas.clear();
  órfãs.clear();
  aberta = false;
  perdida = false;
  ligaçãoServidor.clear();
  escritas.clear();
  mudadas.clear();
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
  QSqlQuery q(Ligação());
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
  const bool leitura = sql.startsWith(u"SELECT");
  if (motor == Motor::PostgreSQL) {
    if (profundidade == 0) {
      RetomarLigação(operação);
      // A write outside a transaction gets one of its own, so that a commit whose answer is
      // lost is looked up like any other.
      // (Not a Transacção: a refused statement leaves the recordsets as it found them, as
      // a statement of its own does.)
      if (!leitura) {
        Controlar(InícioEscrita(), operação);
        ++profundidade;
        escritas.clear();
        const quint64 ligação = religações;
        try {
          Instrução i = Correr(sql, valores, operação);
          ConcluirNoServidor(operação);
          --profundidade;
          return i;
        } catch (...) {
          --profundidade;
          if (!perdida && religações == ligação) {
            QSqlQuery q(Ligação());
            ++enviadas;
            q.exec(u"ROLLBACK"_s);
          }
          throw;
        }
      }
    } else if (perdida) {
      throw Erro(CausaErro::LigaçãoPerdida, operação, u"sem ligação ao servidor"_s);
    }
  }
  for (int tentativa = 0;; ++tentativa) {
    std::optional<ErroBaseDados> falha;
    {
      std::unique_ptr<QSqlQuery> q;
      auto livres = preparadas.find(sql);
      if (livres != preparadas.end() && !livres->second.empty()) {
        q = std::move(livres->second.back());
        livres->second.pop_back();
      } else {
        // A statement of the same text still in use (a query run inside another's loop) gets
        // a statement of its own.
        q = std::make_unique<QSqlQuery>(Ligação());
        q->setForwardOnly(SóParaDiante());
        if (!q->prepare(sql))
          falha = Erro(q->lastError(), operação);
      }
      if (!falha) {
        Instrução i(this, sql, std::move(q), operação);
        for (int n = 0; n < valores.size(); ++n)
          i.q->bindValue(n, valores[n]);
        if (!leitura)
          ++versão;
        ++enviadas;
        if (i.q->exec()) {
          if (!leitura)
            MarcarEscrita(sql);
          return i;
        }
        falha = Erro(i.q->lastError(), operação);
        // One of a lost connection goes with its driver; any other goes back to the cache.
        if (perdida)
          órfãs.push_back(std::move(i.q));
      }
    }
    // A read outside any transaction loses nothing: it runs again on a new connection.
    if (falha->Causa() != CausaErro::LigaçãoPerdida || profundidade > 0 || !leitura ||
        tentativa > 0)
      throw *falha;
    Religar(operação);
  }
}

namespace {

const DefCampo &CampoDe(const DefTabela &t, const QString &coluna) {
  const qsizetype k = t.PosiçãoCampo(coluna);
  if (k < 0)
    throw std::logic_error((u"a tabela "_s + t.nome + u" não tem o campo "_s + coluna).toStdString());
  return t.campos[k];
}

// The type of a column's values on a server, as an array of them is cast there.
QString TipoNoServidor(const DefCampo &c) {
  switch (c.tipo) {
  case TipoCampo::Contador:
  case TipoCampo::Long:
    return u"integer"_s;
  case TipoCampo::Moeda:
    return u"bigint"_s;
  case TipoCampo::Texto:
  case TipoCampo::Memo:
    break;
  }
  return u"text"_s;
}

// One column of rows as a PostgreSQL array literal: {1,NULL,3}, {"a","b \"c\""}. A value
// that the column cannot hold comes back in `falha`.
QString LiteralLista(const DefCampo &c, const QVariantList &valores, qsizetype primeiro,
                     qsizetype passo, QString &falha) {
  const bool texto = c.tipo == TipoCampo::Texto || c.tipo == TipoCampo::Memo;
  QString r;
  r.reserve((valores.size() / passo) * (texto ? 24 : 8) + 2);
  r += u'{';
  for (qsizetype k = primeiro; k < valores.size(); k += passo) {
    if (k != primeiro)
      r += u',';
    const QVariant &v = valores[k];
    if (v.isNull()) {
      r += "NULL"_L1;
    } else if (texto) {
      const QString t = v.toString();
      if (t.contains(QChar(0)))
        falha = u"o campo "_s + c.nome + u" tem um carácter nulo, que o servidor não aceita"_s;
      r += u'"';
      // Runs without a quote or a backslash go in whole.
      qsizetype de = 0;
      for (qsizetype j = 0; j < t.size(); ++j)
        if (t[j] == u'"' || t[j] == u'\\') {
          r += QStringView(t).sliced(de, j - de);
          r += u'\\';
          de = j;
        }
      r += QStringView(t).sliced(de);
      r += u'"';
    } else {
      bool ok = false;
      const qint64 n = v.toLongLong(&ok);
      if (!ok)
        falha = u"o campo "_s + c.nome + u" não recebe "_s + v.toString().left(40);
      r += QString::number(n);
    }
  }
  r += u'}';
  return r;
}

// Whether every row holds the same value in column `k` of `n`.
bool ColunaConstante(const QVariantList &valores, qsizetype k, qsizetype n) {
  const QVariant &primeiro = valores[k];
  for (qsizetype j = k + n; j < valores.size(); j += n)
    if (valores[j].isNull() != primeiro.isNull() || valores[j] != primeiro)
      return false;
  return true;
}

} // namespace

qint64 BaseDados::InserirLinhas(const DefTabela &tabela, const QStringList &colunas,
                                const QVariantList &valores, const QString &fim,
                                const QString &operação) {
  const qsizetype n = colunas.size();
  if (n == 0 || valores.size() % n != 0)
    throw std::logic_error("InserirLinhas: valores que não fazem linhas inteiras");
  if (valores.isEmpty())
    return 0;
  QStringList nomes;
  for (const QString &c : colunas)
    nomes << Identificador(CampoDe(tabela, c).nome);
  const QString início =
      u"INSERT INTO "_s + Identificador(tabela.nome) + u" ("_s + nomes.join(u", "_s) + u") "_s;
  if (motor == Motor::PostgreSQL) {
    // One array a column; a column with the same value in every row (an import's situation,
    // say) goes once, as an array of one, for the server to read no more than it needs. The
    // first column always comes as an array: it gives the count of rows.
    QStringList selecção, marcas, nomesU;
    QVariantList constantes, listas;
    QString falha;
    for (qsizetype k = 0; k < n; ++k) {
      const DefCampo &c = CampoDe(tabela, colunas[k]);
      const QString tipo = u"?::"_s + TipoNoServidor(c) + u"[]"_s;
      if (k > 0 && ColunaConstante(valores, k, n)) {
        selecção << u'(' + tipo + u")[1]"_s;
        constantes << LiteralLista(c, {valores[k]}, 0, 1, falha);
      } else {
        nomesU << u"c"_s + QString::number(k);
        selecção << u"u."_s + nomesU.last();
        marcas << tipo;
        listas << LiteralLista(c, valores, k, n, falha);
      }
    }
    if (!falha.isEmpty())
      throw Erro(CausaErro::ValorInválido, operação, falha);
    return Correr(início + u"SELECT "_s + selecção.join(u", "_s) + u" FROM unnest("_s +
                      marcas.join(u", "_s) + u") AS u("_s + nomesU.join(u", "_s) + u')' + fim,
                  constantes + listas, operação)
        .LinhasAfectadas();
  }
  // SQLite takes 32766 bound values to a statement since 3.32.
  const qsizetype porInstrução = std::min<qsizetype>(500, 32766 / n);
  const QString linha = u'(' + QStringList(n, u"?"_s).join(u", "_s) + u')';
  qint64 gravadas = 0;
  for (qsizetype i = 0; i < valores.size(); i += porInstrução * n) {
    const QVariantList parte = valores.mid(i, porInstrução * n);
    gravadas += Correr(início + u"VALUES "_s +
                           QStringList(parte.size() / n, linha).join(u", "_s) + fim,
                       parte, operação)
                    .LinhasAfectadas();
  }
  return gravadas;
}

qint64 BaseDados::CorrerComLista(const QString &início, const DefTabela &tabela,
                                 const QString &coluna, const QVariantList &valores,
                                 const QString &operação) {
  if (valores.isEmpty())
    return 0;
  const DefCampo &c = CampoDe(tabela, coluna);
  const QString campo = Identificador(c.nome);
  if (motor == Motor::PostgreSQL) {
    QString falha;
    const QString lista = LiteralLista(c, valores, 0, 1, falha);
    if (!falha.isEmpty())
      throw Erro(CausaErro::ValorInválido, operação, falha);
    return Correr(início + campo + u" = ANY(?::"_s + TipoNoServidor(c) + u"[])"_s, {lista},
                  operação)
        .LinhasAfectadas();
  }
  constexpr qsizetype porInstrução = 900;
  qint64 r = 0;
  for (qsizetype i = 0; i < valores.size(); i += porInstrução) {
    const QVariantList parte = valores.mid(i, porInstrução);
    r += Correr(início + campo + u" IN ("_s + QStringList(parte.size(), u"?"_s).join(u", "_s) +
                    u')',
                parte, operação)
             .LinhasAfectadas();
  }
  return r;
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
  if (bd.profundidade > 0 || !bd.aberta)
    return;
  bd.AntesDaAcção(u"Ler o ficheiro"_s);
  if (!noServidor && bd.motor == Motor::PostgreSQL)
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
  bd.leituraAberta = false;
  --bd.profundidade;
  if (bd.perdida)
    return;
  QSqlQuery q(bd.Ligação());
  ++bd.enviadas;
  if (!q.exec(u"COMMIT"_s)) {
    ++bd.enviadas;
    q.exec(u"ROLLBACK"_s);
  }
}

BaseDados::Transacção::Transacção(BaseDados &b) : bd(b), nível(b.profundidade) {
  const QString operação = u"Iniciar a gravação"_s;
  // Writes never ride on a reader's transaction: its end could not report a failed commit.
  // The read ends here, the write is a transaction of its own, and the read starts again.
  sobreLeitura = bd.leituraAberta && nível == 1;
  if (nível == 0)
    bd.AntesDaAcção(operação);
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
  religaçõesInício = bd.religações;
  if (nível == 0 || sobreLeitura)
    bd.escritas.clear();
}

void BaseDados::Transacção::Confirmar() {
  if (terminada)
    return;
  const QString operação = u"Concluir a gravação"_s;
  // Without a write there is nothing for a lost answer to leave in doubt.
  if ((nível == 0 || sobreLeitura) && bd.motor == Motor::PostgreSQL && bd.versão != versãoInício)
    bd.ConcluirNoServidor(operação);
  else if (nível == 0 || sobreLeitura)
    bd.Controlar(u"COMMIT"_s, operação);
  else
    bd.Controlar(u"RELEASE sp"_s + QString::number(nível), operação);
  terminada = true;
  --bd.profundidade;
  if (sobreLeitura)
    Terminar(bd.InícioLeitura());
}

void BaseDados::Transacção::Terminar(const QString &sql) {
  if (bd.perdida)
    return; // the server ended the transaction with the connection
  QSqlQuery q(bd.Ligação());
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
    // A transaction of a connection made again since ended with the old one.
    if (bd.religações == religaçõesInício)
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

// The outermost COMMIT on a server. Its BEGIN read the transaction's id (and this session's
// process); the notification of the tables written goes with it, and the server delivers it
// only if the commit happens. When the COMMIT's answer is lost with the connection, the server is asked, on a new
// connection, what became of that transaction: txid_status is the server's own record of
// it. A transaction still in progress belongs to a session that the server has not yet seen
// die (a cut network); it is ended and asked about again.
void BaseDados::ConcluirNoServidor(const QString &operação) {
  if (perdida)
    throw Erro(CausaErro::LigaçãoPerdida, operação, u"sem ligação ao servidor"_s);
  const qint64 transacção = marcaTransacção;
  const qint64 processo = marcaProcesso;
  marcaTransacção = 0;
  // The notification rides with the COMMIT, in one round trip, the COMMIT's answer second.
  const bool avisar = !escritas.isEmpty();
  const QString fim = avisar ? u"SELECT pg_notify('"_s + CanalAvisos + u"', '"_s +
                                   escritas.join(u',') + u"'); COMMIT"_s
                             : u"COMMIT"_s;
  escritas.clear();
  QSqlError falha;
  {
    QSqlQuery q(Ligação());
    ++versão;
    ++enviadas;
    if (q.exec(fim) && (!avisar || q.nextResult()))
      return;
    falha = q.lastError();
  }
  const ErroBaseDados e = Erro(falha, operação);
  if (e.Causa() != CausaErro::LigaçãoPerdida)
    throw e; // the server refused the commit and undid the transaction
  if (transacção == 0)
    throw Erro(CausaErro::GravaçãoIncerta, operação, e.Pormenor());
  try {
    Religar(operação);
  } catch (const ErroBaseDados &) {
    throw Erro(CausaErro::GravaçãoIncerta, operação, e.Pormenor());
  }
  QString estado;
  for (int volta = 0; volta < 50; ++volta) {
    QSqlQuery q(Ligação());
    ++enviadas;
    q.prepare(u"SELECT txid_status(?)"_s);
    q.addBindValue(transacção);
    if (!q.exec() || !q.next())
      throw Erro(CausaErro::GravaçãoIncerta, operação,
                 e.Pormenor() + u"; "_s + q.lastError().databaseText());
    estado = q.value(0).toString();
    if (estado != u"in progress"_s)
      break;
    if (volta == 0) {
      QSqlQuery terminar(Ligação());
      terminar.prepare(u"SELECT pg_terminate_backend(?)"_s);
      terminar.addBindValue(processo);
      ++enviadas;
      terminar.exec();
    }
    QThread::msleep(100);
  }
  if (estado == u"committed"_s)
    return;
  if (estado == u"in progress"_s)
    throw Erro(CausaErro::GravaçãoIncerta, operação, e.Pormenor());
  throw Erro(CausaErro::LigaçãoPerdida, operação, e.Pormenor());
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
