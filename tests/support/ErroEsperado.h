#pragma once

#include "ErroBaseDados.h"

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
