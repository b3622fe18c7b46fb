#pragma once

#include "ErroBaseDados.h"

#include <QStringList>
#include <QtTest>
#include <optional>

// The store's error that `f` threw, if any.
template <class F> std::optional<ErroBaseDados> Erro(F &&f) {
  try {
    f();
  } catch (const ErroBaseDados &e) {
    return e;
  }
  return std::nullopt;
}

// Fails the test unless `f` throws the store's error `causa` with each of `partes` in its
// message.
template <class F> void EsperarErro(F &&f, CausaErro causa, const QStringList &partes = {}) {
  const auto e = Erro(f);
  QVERIFY2(e, "nenhum erro");
  QCOMPARE(e->Causa(), causa);
  for (const QString &p : partes)
    QVERIFY2(e->Mensagem().contains(p), qPrintable(e->Mensagem()));
}
