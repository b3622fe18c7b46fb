#include "Formato.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

struct Padrão {
  QString prefixo;
  QString sufixo;
  int mínimoInteiros = 0;  // '0' placeholders before the point
  bool agrupar = false;    // ',' among the integer placeholders
  int decimaisFixos = 0;   // '0' placeholders after the point
  int decimaisMáximos = 0; // '0' and '#' placeholders after the point
};

bool ÉMarcador(QChar c) {
  return c == u'0' || c == u'#';
}

Padrão AnalisarPadrão(QStringView p) {
  Padrão r;
  qsizetype i = 0;
  const qsizetype n = p.size();
  while (i < n && !ÉMarcador(p[i]) && p[i] != u'.')
    r.prefixo += p[i++];
  while (i < n && (ÉMarcador(p[i]) || p[i] == u',')) {
    if (p[i] == u'0')
      ++r.mínimoInteiros;
    else if (p[i] == u',')
      r.agrupar = true;
    ++i;
  }
  if (i < n && p[i] == u'.') {
    ++i;
    while (i < n && ÉMarcador(p[i])) {
      if (p[i] == u'0')
        r.decimaisFixos = r.decimaisMáximos + 1;
      ++r.decimaisMáximos;
      ++i;
    }
  }
  r.sufixo = p.mid(i).toString();
  return r;
}

// Adds one unit to the last digit of a string of decimal digits, carrying to the left.
void Incrementar(QString &dígitos) {
  for (qsizetype i = dígitos.size() - 1; i >= 0; --i) {
    if (dígitos[i] == u'9') {
      dígitos[i] = u'0';
    } else {
      dígitos[i] = QChar(dígitos[i].unicode() + 1);
      return;
    }
  }
  dígitos.prepend(u'1');
}

} // namespace

QString FormatarDecimal(qint64 valor, int escala, QStringView padrão) {
  const Padrão p = AnalisarPadrão(padrão);
  const bool negativo = valor < 0;
  // The magnitude of INT64_MIN does not fit a qint64; it does fit a quint64.
  const quint64 magnitude = negativo ? quint64(0) - quint64(valor) : quint64(valor);
  QString dígitos = QString::number(magnitude);
  if (escala < 0)
    escala = 0;
  if (dígitos.size() <= escala)
    dígitos = QString(escala - dígitos.size() + 1, u'0') + dígitos;

  QString inteiros = dígitos.left(dígitos.size() - escala);
  QString decimais = dígitos.mid(dígitos.size() - escala);

  if (decimais.size() > p.decimaisMáximos) {
    const bool arredondarParaCima = decimais[p.decimaisMáximos] >= u'5';
    QString conservado = inteiros + decimais.left(p.decimaisMáximos);
    if (arredondarParaCima)
      Incrementar(conservado);
    inteiros = conservado.left(conservado.size() - p.decimaisMáximos);
    decimais = conservado.right(p.decimaisMáximos);
  }
  // Optional ('#') decimal places are dropped when they are trailing zeros.
  while (decimais.size() > p.decimaisFixos && decimais.endsWith(u'0'))
    decimais.chop(1);
  while (decimais.size() < p.decimaisFixos)
    decimais += u'0';

  while (inteiros.size() > 1 && inteiros.startsWith(u'0'))
    inteiros.remove(0, 1);
  if (inteiros == u"0"_s && p.mínimoInteiros == 0)
    inteiros.clear();
  while (inteiros.size() < p.mínimoInteiros)
    inteiros.prepend(u'0');

  if (p.agrupar) {
    for (qsizetype i = inteiros.size() - 3; i > 0; i -= 3)
      inteiros.insert(i, u'.');
  }

  bool zero = true;
  for (QChar c : inteiros + decimais)
    if (c != u'0' && c != u'.')
      zero = false;

  QString r;
  if (negativo && !zero)
    r += u'-';
  r += p.prefixo + inteiros;
  if (!decimais.isEmpty())
    r += u',' + decimais;
  r += p.sufixo;
  return r;
}

QString FormatarNúmero(qint64 valor, QStringView padrão) {
  return FormatarDecimal(valor, 0, padrão);
}

QString FormatarNúmero(double valor, QStringView padrão) {
  constexpr int escala = 6;
  const double fixo = std::round(valor * 1e6);
  if (!std::isfinite(fixo) || std::fabs(fixo) >= 9.2e18)
    return QString::number(valor);
  return FormatarDecimal(static_cast<qint64>(fixo), escala, padrão);
}
