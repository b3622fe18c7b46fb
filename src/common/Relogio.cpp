#include "Relogio.h"

namespace {
std::optional<QDateTime> &Fixado() {
  static std::optional<QDateTime> f;
  return f;
}
} // namespace

QDateTime Agora() {
  return Fixado() ? *Fixado() : QDateTime::currentDateTime();
}
QDate Hoje() {
  return Agora().date();
}
void FixarRelógio(std::optional<QDateTime> momento) {
  Fixado() = std::move(momento);
}
