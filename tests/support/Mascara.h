#pragma once

// The rights of the files the program creates, read as the system keeps them, under the file
// mask most accounts start with.

#include <QFile>
#include <QString>
#include <QtGlobal>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#define AGREMIA_PERMISSOES_POSIX 1

// The usual mask 022 (others may read what is created) for as long as this lives, and the
// mask before it put back: what the program creates must be its owner's by the program's own
// doing, whatever mask the shell that started it had.
class MáscaraComum {
public:
  MáscaraComum() : anterior(umask(S_IWGRP | S_IWOTH)) {}
  ~MáscaraComum() { umask(anterior); }
  Q_DISABLE_COPY(MáscaraComum)

private:
  mode_t anterior;
};
#endif

// A file's or folder's rights in octal as chmod spells them ("600"); empty when it is missing.
inline QString Permissões(const QString &caminho) {
  std::error_code erro;
  const auto estado = std::filesystem::status(QFile(caminho).filesystemFileName(), erro);
  if (erro || !std::filesystem::exists(estado))
    return {};
  return QString::number(int(estado.permissions() & std::filesystem::perms::mask) & 0777, 8);
}

// Sets `caminho`'s rights to `octal`, as a user does with chmod.
inline bool MudarPermissões(const QString &caminho, int octal) {
  std::error_code erro;
  std::filesystem::permissions(QFile(caminho).filesystemFileName(), std::filesystem::perms(octal),
                               erro);
  return !erro;
}
