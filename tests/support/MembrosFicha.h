#pragma once

#include "Dados.h"
#include "FichaSocio.h"
#include "ListaQuotas.h"

// A member's card as typed on screen: no lists chosen, NIF 0.
inline FichaSócio FichaDeTeste(const QString &número,
                               const QString &nome = QStringLiteral("Maria Silva"),
                               const QString &data = QStringLiteral("01-01-2000")) {
  return {número, nome, 0, 0, 0, data, QStringLiteral("12,50"), {}, {}, {}, QStringLiteral("0")};
}

// Dues of 12,50 for the (year, month) pairs given, receipt 400 + month.
inline ListaOrdenada QuotasDeTeste(const QList<std::pair<int, int>> &meses) {
  ListaOrdenada l;
  for (const auto &[ano, mês] : meses)
    l.Inserir(EntradaQuota(ano, mês, Moeda::DeCêntimos(1250), 400 + mês));
  return l;
}

// n months in a row from January of `ano`, all of one amount, the receipts counting up.
inline ListaOrdenada MesesSeguidos(int ano, int n, qint64 cêntimos, qint64 recibo) {
  ListaOrdenada l;
  for (int m = 0; m < n; ++m)
    l.Inserir(EntradaQuota(ano + m / 12, m % 12 + 1, Moeda::DeCêntimos(cêntimos), recibo + m));
  return l;
}

// Saves the card through the recordsets of the open file.
inline ResultadoGravação GravarDeTeste(const FichaSócio &f, qint32 actual = 0,
                                       const ListaOrdenada &quotas = {}) {
  return GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações, f, actual, quotas, {});
}
