#include "Moeda.h"

#include "Formato.h"

#include <QList>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

bool ÉDígito(QChar c) {
  return c >= u'0' && c <= u'9';
}

// The integer part, with its optional grouping points, reduced to bare digits.
std::optional<QString> LerInteiros(QStringView s) {
  if (!s.contains(u'.')) {
    for (QChar c : s)
      if (!ÉDígito(c))
        return std::nullopt;
    return s.toString();
  }
  const auto grupos = s.split(u'.');
  QString r;
  for (qsizetype i = 0; i < grupos.size(); ++i) {
    const auto &g = grupos[i];
    const bool tamanhoCerto = i == 0 ? (g.size() >= 1 && g.size() <= 3) : g.size() == 3;
    if (!tamanhoCerto)
      return std::nullopt;
    for (QChar c : g)
      if (!ÉDígito(c))
        return std::nullopt;
    r += g;
  }
  return r;
}

} // namespace

std::optional<Moeda> Moeda::Ler(QStringView texto) {
  QStringView s = texto.trimmed();
  bool negativo = false;
  if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'+')) {
    negativo = s[0] == u'-';
    s = s.mid(1);
  }
  const qsizetype vírgula = s.indexOf(u',');
  const QStringView parteInteira = vírgula < 0 ? s : s.left(vírgula);
  const QStringView parteDecimal = vírgula < 0 ? QStringView() : s.mid(vírgula + 1);
  if (parteInteira.isEmpty() && parteDecimal.isEmpty())
    return std::nullopt;

  const auto inteiros = LerInteiros(parteInteira);
  if (!inteiros)
    return std::nullopt;
  for (QChar c : parteDecimal)
    if (!ÉDígito(c))
      return std::nullopt;

  QString decimais = parteDecimal.toString();
  bool arredondar = false;
  if (decimais.size() > 4) {
    arredondar = decimais[4] >= u'5';
    decimais.truncate(4);
  }
  while (decimais.size() < 4)
    decimais += u'0';

  // Leading zeros do not count towards the size limit.
  QString dígitos = *inteiros + decimais;
  while (dígitos.size() > 1 && dígitos.startsWith(u'0'))
    dígitos.remove(0, 1);
  if (dígitos.size() > 19)
    return std::nullopt;
  bool ok = false;
  quint64 magnitude = dígitos.toULongLong(&ok);
  if (!ok)
    return std::nullopt;
  if (arredondar)
    ++magnitude;
  const quint64 limite = quint64(std::numeric_limits<qint64>::max());
  if (magnitude > limite)
    return std::nullopt;
  const qint64 v = qint64(magnitude);
  return Moeda(negativo ? -v : v);
}

QString Moeda::Formatar(QStringView padrão) const {
  return FormatarDecimal(valor, 4, padrão);
}
