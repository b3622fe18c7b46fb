#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

// The one clock of the program: today's date and the time. Tests may fix it.
QDateTime Agora();
QDate Hoje();
void FixarRelógio(std::optional<QDateTime> momento);
