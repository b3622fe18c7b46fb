#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <future>
#include <memory>

// The check of the data file when the program opens it. A damaged page is reported by the
// engine when a query meets it, but damage inside an index is not: a range read through an
// index whose keys no longer match their rows just returns fewer rows, and a member's dues
// list comes up short without a word. So before the program shows anything, the file's
// structure is checked (the engine's quick check) and every index is compared with its table.

// What is wrong with `ficheiro`, in the engine's words and ours; empty when it is sound. A file
// that cannot be opened or is not a database is not reported here: opening it tells that.
// Both checks run at once, each on a read-only connection of its own.
QStringList ProblemasDoFicheiro(const QString &ficheiro);

// The check of one file, started in the background on construction: the program starts it at
// its entry, so that the start-up window's idle second covers it. The structure check (the
// engine's quick check) and the comparison of the indexes with their tables run on two threads.
// Destruction waits for what is still running.
class VerificaçãoAbertura {
public:
  explicit VerificaçãoAbertura(const QString &ficheiro);
  ~VerificaçãoAbertura();
  VerificaçãoAbertura(const VerificaçãoAbertura &) = delete;
  VerificaçãoAbertura &operator=(const VerificaçãoAbertura &) = delete;

  // Waits for the checks until one second after they began (the start-up window's second)
  // and raises ErroBaseDados (Danificado) when what is over by then found damage. On a file so
  // large that a check outlasts that second, the program opens the file meanwhile and takes
  // the rest with Terminada()/ConfirmarResto(); the rest stands still until Prosseguir(), so
  // that the opening and the first window have the machine to themselves. A file written or
  // replaced since the check began is checked again now, whole.
  void Confirmar();
  // Lets a check held by Confirmar() go on (once the first window is up).
  void Prosseguir();

  // Whether both checks are over (or were taken).
  bool Terminada() const;
  // Waits for what is left of the checks, raising ErroBaseDados (Danificado) as above.
  void ConfirmarResto();

private:
  void Falhar(const QStringList &achados) const;

  QString ficheiro;
  qint64 tamanho = -1;
  qint64 modificado = 0; // ms since the epoch
  QElapsedTimer início;
  std::future<QStringList> estrutura;
  std::future<QStringList> índices;
  std::shared_ptr<std::atomic<bool>> pausa = std::make_shared<std::atomic<bool>>(false);
};

// Tests: run on each check's thread before it starts (to hold it back), with true for the
// structure check and false for the comparison of the indexes; empty removes it.
void InstalarAntesDeVerificar(std::function<void(bool)> f);
