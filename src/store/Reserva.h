#pragma once

#include <QString>
#include <memory>

class QLockFile;

// The mark that a data file is open: a lock file beside it ("Quotas.Dad.lock") for as long as
// one of these lives. The backup tool will not replace a file so marked, and a second copy of
// the program will not open it. Within one process the mark is shared, so that the program's
// own connections to the same file never refuse each other.
class ReservaFicheiro {
public:
  // Marks `ficheiro` as open here, or shares the mark this process already holds. A mark left
  // by a program that ended without removing it (a crash, a power cut) is recognised by its
  // process id and taken over. A mark held by a running program raises ErroBaseDados
  // (AbertoNoutroPrograma) naming that program. Where no lock file can be written (a
  // read-only folder or medium) nothing is marked: nobody can change the file there either.
  static std::shared_ptr<ReservaFicheiro> Tomar(const QString &ficheiro, const QString &operação);

  ~ReservaFicheiro();
  ReservaFicheiro(const ReservaFicheiro &) = delete;
  ReservaFicheiro &operator=(const ReservaFicheiro &) = delete;

  // The lock file that marks `ficheiro`.
  static QString NomeMarca(const QString &ficheiro);

private:
  ReservaFicheiro(QString ficheiro, std::unique_ptr<QLockFile> marca);

  QString ficheiro;
  std::unique_ptr<QLockFile> marca; // empty where the folder takes no lock file
};
