#pragma once

#include "Impressao.h"

#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <QStringList>

// Where the recorded texts of a print stand on their pages, measured here from the font Qt
// draws them in, so that a test can see a text cross its frame, its column, its label, another
// text or the edge of the printable area.

// The box of a recorded text: from its start to the end of its printed width (trailing blanks
// take no room) or of its ink, whichever is further, and from the top to the bottom of its ink.
// Empty for a text of blanks only.
inline QRectF CaixaDoTexto(const GravadorImpressão::Texto &t) {
  QString visível = t.texto;
  while (!visível.isEmpty() && visível.back().isSpace())
    visível.chop(1);
  if (visível.trimmed().isEmpty())
    return {};
  const QFontMetricsF m(FonteQt(t.fonte));
  const QRectF tinta = m.tightBoundingRect(visível).translated(t.x, t.y + m.ascent());
  return tinta.united(QRectF(t.x, tinta.top(), m.horizontalAdvance(visível), tinta.height()));
}

inline QString DescreverCaixa(const QRectF &r) {
  return QStringLiteral("(%1, %2)-(%3, %4)")
      .arg(r.left(), 0, 'f', 1)
      .arg(r.top(), 0, 'f', 1)
      .arg(r.right(), 0, 'f', 1)
      .arg(r.bottom(), 0, 'f', 1);
}

// Empty when the text lies inside `moldura` (its edges included); else what passes where.
inline QString ForaDaMoldura(const GravadorImpressão::Texto &t, const QRectF &moldura) {
  const QRectF c = CaixaDoTexto(t);
  constexpr double tolerância = 0.01;
  if (c.isNull() ||
      (c.left() >= moldura.left() - tolerância && c.right() <= moldura.right() + tolerância &&
       c.top() >= moldura.top() - tolerância && c.bottom() <= moldura.bottom() + tolerância))
    return {};
  return QStringLiteral("p%1 «%2» %3 fora de %4")
      .arg(t.página)
      .arg(t.texto, DescreverCaixa(c), DescreverCaixa(moldura));
}

// Every text outside the printable area, and every two texts of a page whose boxes overlap:
// empty when none.
inline QStringList TextosQueSeSobrepõem(const GravadorImpressão &g) {
  QStringList r;
  const QRectF página(0, 0, g.LarguraPágina(), g.AlturaPágina());
  QList<QRectF> caixas;
  for (const auto &t : g.textos)
    caixas << CaixaDoTexto(t);
  for (qsizetype i = 0; i < g.textos.size(); ++i) {
    const auto &a = g.textos[i];
    if (const QString fora = ForaDaMoldura(a, página); !fora.isEmpty())
      r << fora;
    if (caixas[i].isNull())
      continue;
    for (qsizetype j = i + 1; j < g.textos.size() && g.textos[j].página == a.página; ++j)
      if (!caixas[j].isNull() && caixas[i].intersects(caixas[j]))
        r << QStringLiteral("p%1 «%2» %3 sobre «%4» %5")
                 .arg(a.página)
                 .arg(a.texto, DescreverCaixa(caixas[i]), g.textos[j].texto,
                      DescreverCaixa(caixas[j]));
  }
  return r;
}
