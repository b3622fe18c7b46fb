#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// Damage written into a closed database file with plain file I/O, as a failing disk leaves it.

namespace danos {

inline int TamanhoPágina(const QByteArray &tudo) {
  const int p = (uchar(tudo[16]) << 8) | uchar(tudo[17]);
  return p == 1 ? 65536 : p;
}

} // namespace danos

// Changes the key `de` into `para` (as long) where it stands in an index page (type 10), and
// nowhere else: each page stays well formed, and only comparing the index with its table tells
// that the entry no longer matches its row.
inline void AlterarChaveNoÍndice(const QString &ficheiro, const QByteArray &de,
                                 const QByteArray &para) {
  QCOMPARE(de.size(), para.size());
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::ReadWrite));
  const QByteArray tudo = f.readAll();
  const int página = danos::TamanhoPágina(tudo);
  for (qint64 p = 1; (p + 1) * página <= tudo.size(); ++p) {
    if (tudo[p * página] != char(10))
      continue;
    const qint64 i = tudo.indexOf(de, p * página);
    if (i >= 0 && i + de.size() <= (p + 1) * página) {
      QVERIFY(f.seek(i));
      QCOMPARE(f.write(para), para.size());
      return;
    }
  }
  QFAIL(qPrintable(QStringLiteral("chave não encontrada num índice: ") + QString::fromUtf8(de)));
}

// Overwrites the header and first cells of a page of table rows (type 13), the middle one.
inline void EstragarPáginaDeLinhas(const QString &ficheiro) {
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::ReadWrite));
  const QByteArray tudo = f.readAll();
  const int página = danos::TamanhoPágina(tudo);
  QList<qint64> folhas;
  for (qint64 p = 1; (p + 1) * página <= tudo.size(); ++p)
    if (tudo[p * página] == char(13))
      folhas << p * página;
  QVERIFY(!folhas.isEmpty());
  QVERIFY(f.seek(folhas[folhas.size() / 2]));
  QCOMPARE(f.write(QByteArray(64, char(0xff))), qint64(64));
}

// Spoils the first trunk page of the free list (the pages a delete gave back): no table or
// index reads it, only the engine's check of the whole file.
inline void EstragarListaLivre(const QString &ficheiro) {
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::ReadWrite));
  const QByteArray tudo = f.readAll();
  const int página = danos::TamanhoPágina(tudo);
  const quint32 tronco = (quint32(uchar(tudo[32])) << 24) | (quint32(uchar(tudo[33])) << 16) |
                         (quint32(uchar(tudo[34])) << 8) | quint32(uchar(tudo[35]));
  QVERIFY2(tronco > 1, "o ficheiro não tem páginas livres");
  QVERIFY(f.seek(qint64(tronco - 1) * página));
  QCOMPARE(f.write(QByteArray(8, char(0xff))), qint64(8));
}
