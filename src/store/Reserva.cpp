#include "Reserva.h"

#include "ErroBaseDados.h"
#include "Permissoes.h"

#include <QFileInfo>
#include <QLockFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>
#include <map>

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
  if (!marca->tryLock(250)) {
    if (marca->error() == QLockFile::LockFailedError)
      throw ErroBaseDados(CausaErro::AbertoNoutroPrograma, operação, caminho,
                          DescreverDono(*marca));
    marca.reset();
  }
  // QLockFile gives its file whatever the process's mask allows: the mark is its owner's, as
  // the file it marks.
  if (marca)
    ReservarAoDono(marca->fileName());
  std::shared_ptr<ReservaFicheiro> r(new ReservaFicheiro(caminho, std::move(marca)));
  reservas[caminho] = r;
  return r;
}
