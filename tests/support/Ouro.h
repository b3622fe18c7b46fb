#pragma once

#include "Impressao.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTextStream>
#include <QtTest>

// A recorded print written out line by line, one text run or rule a line, with page,
// position (whole twips), font and text, so that a layout can be compared with the dump kept
// beside its test (its "golden" dump). A layout change shows as a readable diff.
inline QString DescreverGravação(const GravadorImpressão &g) {
  QString r;
  QTextStream s(&r);
  s << "páginas " << g.páginas << '\n';
  for (const auto &t : g.textos)
    s << "p" << t.página << " x" << qRound(t.x) << " y" << qRound(t.y) << ' ' << t.fonte.nome << ' '
      << t.fonte.tamanho << (t.fonte.negrito ? " N" : "") << (t.fonte.sublinhado ? " S" : "")
      << " |" << t.texto << "|\n";
  for (const auto &l : g.traços)
    s << "p" << l.página << (l.rectângulo ? " rect " : " linha ") << qRound(l.linha.x1()) << ','
      << qRound(l.linha.y1()) << ' ' << qRound(l.linha.x2()) << ',' << qRound(l.linha.y2())
      << (l.tracejada ? " tracejada" : "") << '\n';
  return r;
}

// Compares the recorded print with the golden dump `nome`.txt in the folder `ouro` beside the
// test's sources (OURO_DIR, set by the test's CMake). With AGREMIA_OURO=escrever in the
// environment the dump is written instead: look at it before committing it.
#define COMPARAR_COM_OURO(gravador, nome)                                                         \
  do {                                                                                             \
    const QString caminho_ = QStringLiteral(OURO_DIR "/") + (nome) + QStringLiteral(".txt");     \
    const QString actual_ = DescreverGravação(gravador);                                          \
    if (qEnvironmentVariable("AGREMIA_OURO") == QStringLiteral("escrever")) {                     \
      QDir().mkpath(QStringLiteral(OURO_DIR));                                                     \
      QFile f_(caminho_);                                                                          \
      QVERIFY(f_.open(QIODevice::WriteOnly | QIODevice::Truncate));                                \
      f_.write(actual_.toUtf8());                                                                  \
    } else {                                                                                       \
      QFile f_(caminho_);                                                                          \
      QVERIFY2(f_.open(QIODevice::ReadOnly), qPrintable(QStringLiteral("sem ouro: ") + caminho_));            \
      QCOMPARE(actual_, QString::fromUtf8(f_.readAll()));                                          \
    }                                                                                              \
  } while (false)
