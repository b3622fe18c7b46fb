#include "Permissoes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QtGlobal>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

void ReservarFicheirosAoDono() {
#ifdef Q_OS_UNIX
  umask(S_IRWXG | S_IRWXO);
#endif
}

bool CriarFicheiroDoDono(const QString &caminho) {
  QFile f(caminho);
#ifdef Q_OS_UNIX
  // The rights go with the creation itself (open with O_CREAT | O_EXCL and mode 0600): there is
  // no moment when the file is readable by others.
  return f.open(QIODevice::WriteOnly | QIODevice::NewOnly, PermissõesDoDono);
#else
  // Elsewhere a new file inherits the folder's access list, which in the user's own folders
  // is already theirs alone.
  return f.open(QIODevice::WriteOnly | QIODevice::NewOnly);
#endif
}

bool CriarPastaDoDono(const QString &caminho) {
  const QString pasta = QDir::cleanPath(QFileInfo(caminho).absoluteFilePath());
#ifdef Q_OS_UNIX
  QStringList emFalta;
  for (QString p = pasta; !QFileInfo::exists(p);) {
    emFalta.prepend(p);
    const QString acima = QFileInfo(p).path();
    if (acima == p)
      break;
    p = acima;
  }
  constexpr QFileDevice::Permissions pastaDoDono = PermissõesDoDono | QFileDevice::ExeOwner;
  for (const QString &p : emFalta)
    // Another program may have made it meanwhile: then it is there, with its own rights.
    if (!QDir().mkdir(p, pastaDoDono) && !QFileInfo(p).isDir())
      return false;
  return QFileInfo(pasta).isDir();
#else
  return QDir().mkpath(pasta);
#endif
}

bool AbrirParaGravarDoDono(QSaveFile &ficheiro, QIODevice::OpenMode modo) {
  const bool nova = !QFileInfo::exists(ficheiro.fileName());
  if (!ficheiro.open(modo))
    return false;
#ifdef Q_OS_UNIX
  // The rights apply to the temporary file, before a byte is written, and go with it to the
  // final name. A medium that keeps no rights refuses them: the file is written all the same.
  if (nova)
    ficheiro.setPermissions(PermissõesDoDono);
#else
  Q_UNUSED(nova);
#endif
  return true;
}

bool ReservarAoDono(const QString &caminho) {
#ifdef Q_OS_UNIX
  return QFile::setPermissions(caminho, PermissõesDoDono);
#else
  Q_UNUSED(caminho);
  return true;
#endif
}

bool CopiarPermissões(const QString &de, const QString &para) {
  // Through the system's own bits: Qt's permission flags mix in the current user's access.
  std::error_code erro;
  const auto estado = std::filesystem::status(QFile(de).filesystemFileName(), erro);
  if (erro)
    return false;
  std::filesystem::permissions(QFile(para).filesystemFileName(), estado.permissions(), erro);
  return !erro;
}
