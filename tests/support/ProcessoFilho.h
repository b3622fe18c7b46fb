#pragma once

// Another program, for the tests that need one: a child process (fork) running a piece of
// this test. POSIX only; the tests that use it skip elsewhere.

#include <QByteArray>
#include <functional>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#define AGREMIA_PROCESSO_FILHO 1
#endif

#ifdef AGREMIA_PROCESSO_FILHO

// Runs `corpo` in a child process and returns once it has run. With `ficar`, the child then
// stays (holding whatever `corpo` opened) until this object is destroyed, and runs `aoTerminar`
// before it ends; without, it ends at once without closing anything, as a program that
// crashes.
class ProcessoFilho {
public:
  explicit ProcessoFilho(const std::function<void()> &corpo,
                         const std::function<void()> &aoTerminar = {}, bool ficar = true) {
    int pronto[2], fim[2];
    if (pipe(pronto) != 0 || pipe(fim) != 0)
      return;
    pid = fork();
    if (pid == 0) {
      close(pronto[0]);
      close(fim[1]);
      try {
        corpo();
      } catch (...) {
        _exit(1);
      }
      char c = 1;
      (void)!write(pronto[1], &c, 1);
      if (ficar) {
        (void)!read(fim[0], &c, 1); // returns when the parent closes its end
        if (aoTerminar)
          aoTerminar();
      }
      _exit(0);
    }
    close(pronto[1]);
    close(fim[0]);
    saída = fim[1];
    char c = 0;
    if (pid > 0 && read(pronto[0], &c, 1) == 1)
      correu = true;
    close(pronto[0]);
    if (!ficar)
      Terminar();
  }
  ~ProcessoFilho() { Terminar(); }
  Q_DISABLE_COPY(ProcessoFilho)

  // True once `corpo` has run in the child.
  bool Correu() const { return correu; }
  qint64 Pid() const { return pid; }

  void Terminar() {
    if (saída >= 0) {
      close(saída);
      saída = -1;
    }
    if (pid > 0 && !terminado) {
      waitpid(pid, nullptr, 0);
      terminado = true;
    }
  }

private:
  pid_t pid = -1;
  int saída = -1;
  bool correu = false, terminado = false;
};

// Runs `corpo` in a child process that cannot write any file beyond `limite` bytes (as on a
// disk with that much room left: writes past it fail, they do not kill the process), and
// returns what `corpo` returned.
inline QByteArray ExecutarComLimite(qint64 limite, const std::function<QByteArray()> &corpo) {
  int canal[2];
  if (pipe(canal) != 0)
    return {};
  const pid_t pid = fork();
  if (pid == 0) {
    close(canal[0]);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit l{rlim_t(limite), rlim_t(limite)};
    setrlimit(RLIMIT_FSIZE, &l);
    QByteArray r;
    try {
      r = corpo();
    } catch (...) {
      _exit(1);
    }
    (void)!write(canal[1], r.constData(), size_t(r.size()));
    _exit(0);
  }
  close(canal[1]);
  QByteArray r;
  char bloco[4096];
  for (ssize_t n; (n = read(canal[0], bloco, sizeof bloco)) > 0;)
    r.append(bloco, n);
  close(canal[0]);
  if (pid > 0)
    waitpid(pid, nullptr, 0);
  return r;
}

#endif
