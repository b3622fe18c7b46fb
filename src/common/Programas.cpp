#include "Programas.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {
std::function<bool(const QString &, const QStringList &, const QString &)> &Iniciador() {
  static std::function<bool(const QString &, const QStringList &, const QString &)> i;
  return i;
}
} // namespace

QString CaminhoPrograma(const QString &nome) {
#ifdef Q_OS_WIN
  const QString ficheiro = nome + u".exe"_s;
#else
  const QString ficheiro = nome;
#endif
  return QDir(QCoreApplication::applicationDirPath()).filePath(ficheiro);
}

bool IniciarPrograma(const QString &nome, const QStringList &argumentos, const QString &pasta) {
  if (Iniciador())
    return Iniciador()(nome, argumentos, pasta);
  const QString caminho = CaminhoPrograma(nome);
  if (!QFileInfo(caminho).isExecutable())
    return false;
  return QProcess::startDetached(caminho, argumentos, pasta);
}

void InstalarIniciador(
    std::function<bool(const QString &, const QStringList &, const QString &)> iniciador) {
  Iniciador() = std::move(iniciador);
}
