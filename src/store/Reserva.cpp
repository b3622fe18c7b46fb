#include "Reserva.h"

#include "ErroBaseDados.h"
#include "Permissoes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>
#include <map>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// Both outlive every other static: the program's shared database, itself a static, may
// release its mark while the program ends.
QMutex &Guarda() {
  static auto *m = new QMutex;
  return *m;
}

// The marks this process holds, by file.
std::map<QString, std::weak_ptr<ReservaFicheiro>> &Reservas() {
  static auto *r = new std::map<QString, std::weak_ptr<ReservaFicheiro>>;
  return *r;
}

// "o programa de Sócios e Quotizações (agremia), processo 4321": the lock file records the
// process id, the executable's name and the computer.
QString DescreverDono(const QLockFile &marca) {
  qint64 pid = 0;
  QString computador, programa;
  if (!marca.getLockInfo(&pid, &computador, &programa))
    return u"outro programa"_s;
  QString base = programa.toLower();
  if (base.endsWith(u".exe"_s))
    base.chop(4);
  QString r;
  if (base == u"agremia"_s)
    r = u"o programa de Sócios e Quotizações ("_s + programa + u')';
  else if (base == u"arquivex"_s)
    r = u"o programa de segurança e reposição ("_s + programa + u')';
  else if (!programa.isEmpty())
    r = u"o programa «"_s + programa + u'»';
  else
    r = u"outro programa"_s;
  r += u", processo "_s + QString::number(pid);
  if (!computador.isEmpty() && computador != QSysInfo::machineHostName())
    r += u", no computador «"_s + computador + u'»';
  return r;
}

enum class MarcaIlegível {
  Retirada,   // nobody held it: removed, the file can be marked again
  Presa,      // a running program holds it all the same
  Indecidível // nothing tells whether a program holds it
};

// A mark whose owner cannot be read (empty, garbage, a folder, a file this account cannot
// read) is never taken for a crash's leftover by QLockFile, so without this every start would
// refuse the file. A running program of ours holds a lock on its mark file for as long as it
// has the data file open: when that lock can be taken, nobody holds the mark.
MarcaIlegível RetirarMarcaIlegível(const QString &nome) {
  const QFileInfo info(nome);
  if (info.isDir() && !info.isSymLink())
    return QDir().rmdir(nome) ? MarcaIlegível::Retirada : MarcaIlegível::Indecidível;
#ifdef Q_OS_UNIX
  const int fd = ::open(QFile::encodeName(nome).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0)
    return MarcaIlegível::Indecidível;
  MarcaIlegível r = MarcaIlegível::Presa;
  // The lock is kept while the file is unlinked, so that two programs doing this at the same
  // moment cannot remove a mark that one of them has just written.
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
    r = ::unlink(QFile::encodeName(nome).constData()) == 0 ? MarcaIlegível::Retirada
                                                           : MarcaIlegível::Indecidível;
  ::close(fd);
  return r;
#else
  return MarcaIlegível::Indecidível;
#endif
}

} // namespace

QString ReservaFicheiro::NomeMarca(const QString &ficheiro) {
  return QFileInfo(ficheiro).absoluteFilePath() + u".lock"_s;
}

ReservaFicheiro::ReservaFicheiro(QString f, std::unique_ptr<QLockFile> m)
    : ficheiro(std::move(f)), marca(std::move(m)) {}

ReservaFicheiro::~ReservaFicheiro() {
  QMutexLocker trinco(&Guarda());
  auto &reservas = Reservas();
  if (auto i = reservas.find(ficheiro); i != reservas.end() && i->second.expired())
    reservas.erase(i);
  // QLockFile removes its file as it goes.
}

std::shared_ptr<ReservaFicheiro> ReservaFicheiro::Tomar(const QString &f, const QString &operação) {
  const QString caminho = QFileInfo(f).absoluteFilePath();
  QMutexLocker trinco(&Guarda());
  auto &reservas = Reservas();
  if (auto i = reservas.find(caminho); i != reservas.end())
    if (auto partilhada = i->second.lock())
      return partilhada;

  auto marca = std::make_unique<QLockFile>(NomeMarca(caminho));
  // Held for as long as the file is open, which may be all day: only the process id (and the
  // boot) tell a mark left by a crash, never its age.
  marca->setStaleLockTime(0);
  // A short wait covers a program that is just closing the file, or just writing its mark.
  bool retirada = false;
  while (!marca->tryLock(250)) {
    if (marca->error() == QLockFile::PermissionError) {
      marca.reset(); // a read-only folder or medium
      break;
    }
    // The mark could not be written (a full disk): opening without it would leave the file
    // unmarked, and another program could change it at the same time.
    if (marca->error() != QLockFile::LockFailedError)
      throw ErroBaseDados(CausaErro::MarcaImpossível, operação, caminho);
    qint64 pid = 0;
    QString computador, programa;
    if (marca->getLockInfo(&pid, &computador, &programa))
      throw ErroBaseDados(CausaErro::AbertoNoutroPrograma, operação, caminho,
                          DescreverDono(*marca));
    const MarcaIlegível m =
        retirada ? MarcaIlegível::Indecidível : RetirarMarcaIlegível(NomeMarca(caminho));
    if (m == MarcaIlegível::Presa)
      throw ErroBaseDados(CausaErro::AbertoNoutroPrograma, operação, caminho,
                          u"um programa que a marca «"_s +
                              QDir::toNativeSeparators(NomeMarca(caminho)) + u"» não identifica"_s);
    if (m == MarcaIlegível::Indecidível)
      throw ErroBaseDados(CausaErro::MarcaDanificada, operação, NomeMarca(caminho));
    retirada = true;
  }
  // QLockFile gives its file whatever the process's mask allows: the mark is its owner's, as
  // the file it marks.
  if (marca)
    ReservarAoDono(marca->fileName());
  std::shared_ptr<ReservaFicheiro> r(new ReservaFicheiro(caminho, std::move(marca)));
  reservas[caminho] = r;
  return r;
}
