#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringDecoder>

// What a print queue or a PDF reader sees of a PDF that Qt wrote: its title (the job's
// name), its number of pages and the size of its first page in points. Read in process, so
// that no test depends on an external PDF tool.
struct Pdf {
  bool lido = false;
  QString título;
  int páginas = 0;
  QSizeF página;
};

inline Pdf LerPdf(const QString &caminho) {
  Pdf pdf;
  QFile f(caminho);
  if (!f.open(QIODevice::ReadOnly))
    return pdf;
  const QByteArray b = f.readAll();
  pdf.lido = b.startsWith("%PDF");
  // The title is a literal string, in UTF-16 with its byte order mark when not plain ASCII.
  if (qsizetype i = b.indexOf("/Title ("); i >= 0) {
    QByteArray bytes;
    for (i += 8; i < b.size() && b[i] != ')'; ++i)
      bytes += b[i] == '\\' && i + 1 < b.size() ? b[++i] : b[i];
    pdf.título = bytes.startsWith("\xFE\xFF")
                     ? QString(QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2)))
                     : QString::fromLatin1(bytes);
  }
  const QString texto = QString::fromLatin1(b);
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
