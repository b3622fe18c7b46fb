#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// A fresh temporary folder that is the working folder while the object lives.
class PastaTeste {
public:
  PastaTeste() : anterior(QDir::currentPath()) { QDir::setCurrent(pasta.path()); }
  ~PastaTeste() { QDir::setCurrent(anterior); }
  QString Caminho(const QString &nome) const { return pasta.filePath(nome); }
  QString Raiz() const { return pasta.path(); }

  static QByteArray Conteúdo(const QString &ficheiro) {
    QFile f(ficheiro);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

private:
  QTemporaryDir pasta;
  QString anterior;
};
