#pragma once

#include <QString>
#include <functional>

class BaseDados;

// A name as the search compares it: letter case and accents folded ("José" and "JOSE" are the
// same name to the treasurer who types it).
QString NomeDobrado(const QString &nome);

// Whether `nome` fits the typed pattern: "*" stands for any run of characters; without one,
// the whole name must be the text. Both sides folded as NomeDobrado does.
bool NomeCorresponde(const QString &nome, const QString &padrão);

// The member with this number, or 0 when there is none.
qint32 ProcurarPorNúmero(BaseDados &bd, qint64 número);

// The members whose name fits the pattern, in number order (one set query; the names are
// matched here, the engine knows no accents). Without "*" the first one is taken at once;
// with it each is proposed to `aceitar` (the name trimmed), which answers Sim, Não (the next
// one) or Cancelar. Returns the number taken, or 0.
enum class RespostaProposta { Sim, Não, Cancelar };
qint32
ProcurarPorNome(BaseDados &bd, const QString &padrão,
                const std::function<RespostaProposta(qint32 número, const QString &nome)> &aceitar);
