#pragma once

#include <QString>
#include <QStringList>
#include <future>

// The check of the data file when the program opens it. A damaged page is reported by the
// engine when a query meets it, but damage inside an index is not: a range read through an
// index whose keys no longer match their rows just returns fewer rows, and a member's dues
// list comes up short without a word. So before the program shows anything, the file's
// structure is checked (the engine's quick check) and every index is compared with its table.

// What is wrong with `ficheiro`, in the engine's words and ours; empty when it is sound. A file
// that cannot be opened or is not a database is not reported here: opening it tells that.
// Both checks run at once, each on a read-only connection of its own.
QStringList ProblemasDoFicheiro(const QString &ficheiro);

// The check of one file, started in the background on construction (the program starts it at
// its entry, so that the start-up window's idle second covers it) and waited for by
// Confirmar(). Destruction waits for a check still running.
class VerificaçãoAbertura {
public:
  explicit VerificaçãoAbertura(const QString &ficheiro);
  ~VerificaçãoAbertura();
  VerificaçãoAbertura(const VerificaçãoAbertura &) = delete;
  VerificaçãoAbertura &operator=(const VerificaçãoAbertura &) = delete;

  // Waits for the check and raises ErroBaseDados (Danificado) when it found damage. A file
  // replaced or written since the check began is checked again, now.
  void Confirmar();

private:
  QString ficheiro;
  qint64 tamanho = -1;
  qint64 modificado = 0; // ms since the epoch
  std::future<QStringList> problemas;
  QStringList achados; // what the check found, once waited for
};
