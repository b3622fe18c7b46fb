#include "Verificacao.h"

#include "ErroBaseDados.h"
#include "Esquema.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <atomic>
#include <optional>
#include <sqlite3.h>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

QString NovaLigação() {
  static QAtomicInt contador;
  return u"verificacao-"_s + QString::number(contador.fetchAndAddRelaxed(1));
}

// The damage an engine error stands for; other failures (a busy or unreadable file) are not
// damage, and the opening that follows reports them with their own cause.
std::optional<QString> DanoDoErro(const QSqlError &e) {
  if (CausaDoErro(e) != CausaErro::Danificado)
    return std::nullopt;
  return e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
}

// Called by the engine every few thousand steps of a check: while the program opens the file
// and builds its first window, the check stands still, so that the user does not wait for the
// two sharing the machine. Never for more than a few seconds, whatever happens to the opening.
int EsperarPelaAbertura(void *pausa) {
  const auto *ligada = static_cast<const std::atomic<bool> *>(pausa);
  for (int i = 0; i < 3000 && ligada->load(std::memory_order_relaxed); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return 0;
}

// Runs `corpo` on a read-only connection of this thread's own and returns what it found; with
// `pausa`, the engine stands still while it is on.
template <class F>
QStringList NumaLigação(const QString &ficheiro, F &&corpo,
                        const std::atomic<bool> *pausa = nullptr) {
  const QString nome = NovaLigação();
  QStringList r;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, nome);
    db.setDatabaseName(ficheiro);
    // A program saving meanwhile holds the file for a moment: waited for, not reported.
    db.setConnectOptions(u"QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"_s);
    if (db.open()) {
      if (const QVariant h = db.driver()->handle();
          pausa && h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        if (auto *motor = *static_cast<sqlite3 *const *>(h.constData()))
          sqlite3_progress_handler(motor, 1000, EsperarPelaAbertura,
                                   const_cast<std::atomic<bool> *>(pausa));
      QSqlQuery q(db);
      q.setForwardOnly(true);
      r = corpo(q);
      q.finish();
    } else if (auto dano = DanoDoErro(db.lastError())) {
      r << *dano;
    }
    db.close();
  }
  QSqlDatabase::removeDatabase(nome);
  return r;
}

// The engine's check of every page: the trees, their cells, the free list, pages in two places
// or in none. It does not compare an index with its table.
QStringList Estrutura(QSqlQuery &q) {
  QStringList r;
  if (!q.exec(u"PRAGMA quick_check(5)"_s)) {
    if (auto dano = DanoDoErro(q.lastError()))
      r << *dano;
    return r;
  }
  while (q.next())
    if (const QString linha = q.value(0).toString(); linha != u"ok"_s)
      r << linha;
  if (auto dano = DanoDoErro(q.lastError()))
    r << *dano;
  return r;
}

// One figure of the rows, read once through the table and once through the index alone: an
// index entry whose key was changed, lost or added makes the two differ. The dues key is made of
// digits only, so a sum of the keys as numbers (behind a "1", so that no character is skipped,
// and modulo a prime, so that it cannot overflow) changes with any changed character; the sum
// is linear in the rows, which on a file of millions of dues rows matters. Other text keys
// are compared as sets, on tables of a few thousand rows. Integers are summed.
enum class Comparação { Soma, SomaDosAlgarismos, Conjunto };

Comparação ComoComparar(const DefTabela &t, const DefCampo &c) {
  if (c.tipo != TipoCampo::Texto && c.tipo != TipoCampo::Memo)
    return Comparação::Soma;
  return t.nome == u"Quotizações"_s ? Comparação::SomaDosAlgarismos : Comparação::Conjunto;
}

QString Figura(const DefTabela &t, const DefÍndice &i, const DefCampo &c, bool pelaTabela) {
  const QString coluna = Identificador(c.nome);
  const QString origem =
      Identificador(t.nome) +
      (pelaTabela ? u" NOT INDEXED"_s : u" INDEXED BY "_s + Identificador(i.nome));
  const Comparação como = ComoComparar(t, c);
  if (como == Comparação::Soma)
    return u"SELECT count(*), sum("_s + coluna + u") FROM "_s + origem;
  if (como == Comparação::SomaDosAlgarismos)
    return u"SELECT count(*), sum(CAST('1' || "_s + coluna + u" AS INTEGER) % 4294967291) FROM "_s +
           origem;
  const QString outra =
      Identificador(t.nome) +
      (pelaTabela ? u" INDEXED BY "_s + Identificador(i.nome) : u" NOT INDEXED"_s);
  return u"SELECT count(*), (SELECT count(*) FROM (SELECT "_s + coluna + u" FROM "_s + origem +
         u" EXCEPT SELECT "_s + coluna + u" FROM "_s + outra + u")) FROM "_s + origem;
}

QStringList Concordância(QSqlQuery &q) {
  QStringList r;
  for (const DefTabela &t : TabelasDoFicheiro()) {
    for (const DefÍndice &i : t.índices) {
      const qsizetype p = t.PosiçãoCampo(i.campo);
      if (p < 0)
        continue;
      QVariantList figuras[2];
      for (int lado = 0; lado < 2; ++lado) {
        if (!q.exec(Figura(t, i, t.campos[p], lado == 0))) {
          // A file without this index (another tool's) is the schema check's to refuse.
          if (auto dano = DanoDoErro(q.lastError()))
            r << *dano;
          return r;
        }
        if (q.next())
          figuras[lado] = {q.value(0), q.value(1)};
        if (auto dano = DanoDoErro(q.lastError())) {
          r << *dano;
          return r;
        }
      }
      // For a set comparison the second figure counts the values found on one side only.
      const bool conjunto = ComoComparar(t, t.campos[p]) == Comparação::Conjunto;
      if (figuras[0] != figuras[1] || (conjunto && (figuras[0].value(1).toLongLong() != 0 ||
                                                    figuras[1].value(1).toLongLong() != 0)))
        r << u"o índice "_s + i.nome + u" não confere com a tabela "_s + t.nome;
    }
  }
  return r;
}

std::function<void(bool)> &AntesDeVerificar() {
  static std::function<void(bool)> f;
  return f;
}

QStringList VerificarEstrutura(const QString &caminho, const std::atomic<bool> *pausa = nullptr) {
  if (AntesDeVerificar())
    AntesDeVerificar()(true);
  return NumaLigação(
      caminho, [](QSqlQuery &q) { return Estrutura(q); }, pausa);
}

QStringList CompararÍndices(const QString &caminho, const std::atomic<bool> *pausa = nullptr) {
  if (AntesDeVerificar())
    AntesDeVerificar()(false);
  return NumaLigação(
      caminho, [](QSqlQuery &q) { return Concordância(q); }, pausa);
}

// The checks run while the program starts: they take the processor only where the start-up
// leaves it idle, so that the opening and the first window are not slowed by them.
void CederAoArranque() {
#ifdef Q_OS_LINUX
  // Linux gives each thread a priority of its own; this one is the check's thread.
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
#endif
}

} // namespace

QStringList ProblemasDoFicheiro(const QString &ficheiro) {
  const QString caminho = QFileInfo(ficheiro).absoluteFilePath();
  auto estrutura =
      std::async(std::launch::async, [caminho] { return VerificarEstrutura(caminho); });
  QStringList r = CompararÍndices(caminho);
  r = estrutura.get() + r;
  r.removeDuplicates();
  return r;
}

void InstalarAntesDeVerificar(std::function<void(bool)> f) {
  AntesDeVerificar() = std::move(f);
}

VerificaçãoAbertura::VerificaçãoAbertura(const QString &f)
    : ficheiro(QFileInfo(f).absoluteFilePath()) {
  const QFileInfo info(ficheiro);
  if (!info.isFile())
    return;
  tamanho = info.size();
  modificado = info.lastModified().toMSecsSinceEpoch();
  início.start();
  estrutura = std::async(std::launch::async, [c = ficheiro, p = pausa] {
    CederAoArranque();
    return VerificarEstrutura(c, p.get());
  });
  índices = std::async(std::launch::async, [c = ficheiro, p = pausa] {
    CederAoArranque();
    return CompararÍndices(c, p.get());
  });
}

VerificaçãoAbertura::~VerificaçãoAbertura() {
  Prosseguir();
  if (estrutura.valid())
    estrutura.wait();
  if (índices.valid())
    índices.wait();
}

void VerificaçãoAbertura::Falhar(const QStringList &achados) const {
  if (!achados.isEmpty())
    throw ErroBaseDados(CausaErro::Danificado, u"Verificar o ficheiro"_s, ficheiro,
                        achados.mid(0, 3).join(u"; "_s));
}

void VerificaçãoAbertura::Confirmar() {
  const QFileInfo info(ficheiro);
  if (!info.isFile())
    return; // opening the file tells what is missing
  if (info.size() != tamanho || info.lastModified().toMSecsSinceEpoch() != modificado) {
    // Written or replaced since the check began: what it finds no longer tells this file.
    if (estrutura.valid())
      estrutura.wait();
    if (índices.valid())
      índices.wait();
    estrutura = {};
    índices = {};
    tamanho = info.size();
    modificado = info.lastModified().toMSecsSinceEpoch();
    Falhar(ProblemasDoFicheiro(ficheiro));
    return;
  }
  // The checks may use what is left of the start-up window's second; beyond it the user would
  // be waiting for them, and what is not over by then is taken when it ends.
  const auto resto = std::chrono::milliseconds(std::max<qint64>(0, 1000 - início.elapsed()));
  const auto limite = std::chrono::steady_clock::now() + resto;
  for (std::future<QStringList> *f : {&estrutura, &índices})
    if (f->valid() && f->wait_until(limite) == std::future_status::ready)
      Falhar(f->get());
  // What is left waits while the file is opened and the first window built (Prosseguir).
  if (!Terminada())
    pausa->store(true);
}

void VerificaçãoAbertura::Prosseguir() {
  pausa->store(false);
}

bool VerificaçãoAbertura::Terminada() const {
  for (const std::future<QStringList> *f : {&estrutura, &índices})
    if (f->valid() && f->wait_for(std::chrono::seconds(0)) != std::future_status::ready)
      return false;
  return true;
}

void VerificaçãoAbertura::ConfirmarResto() {
  for (std::future<QStringList> *f : {&estrutura, &índices})
    if (f->valid())
      Falhar(f->get());
}
