#include "OrdemNomes.h"

#include <QLocale>

OrdemPortuguesa::OrdemPortuguesa() : collator(QLocale(QLocale::Portuguese, QLocale::Portugal)) {
  collator.setCaseSensitivity(Qt::CaseSensitive);
  collator.setNumericMode(false);
  collator.setIgnorePunctuation(false);
}

int OrdemPortuguesa::Comparar(const QString &a, const QString &b) const {
  const int c = collator.compare(a, b);
  return c != 0 ? c : QString::compare(a, b);
}
