#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>

// What a PDF reader sees of a PDF that Qt wrote: its number of pages and the size of its
// first page in points. Read in process, so that no test depends on an external PDF tool.
struct Pdf {
  int páginas = 0;
  QSizeF página;
};

inline Pdf LerPdf(const QString &caminho) {
  Pdf pdf;
  QFile f(caminho);
  if (!f.open(QIODevice::ReadOnly))
    return pdf;
  const QString texto = QString::fromLatin1(f.readAll());
  if (auto m = QRegularExpression(
                   QStringLiteral("/Type /Pages\\s*/Kids\\s*\\[[^\\]]*\\]\\s*/Count (\\d+)"))
                   .match(texto);
      m.hasMatch())
    pdf.páginas = m.captured(1).toInt();
  if (auto m = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"))
                   .match(texto);
      m.hasMatch())
    pdf.página = QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
  return pdf;
}
