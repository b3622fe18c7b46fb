#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ErroBaseDados;
class QWidget;

// Where the program's data is: a Quotas.Dad file (by default the one in the working folder),
// or a database on a PostgreSQL server named by a libpq connection string or service name.
struct OrigemDados {
  QString ficheiro; // the data file, when no server is named
  QString ligação;  // the connection string as given; may hold a password for this run alone

  bool NoServidor() const { return !ligação.isEmpty(); }
  // The working folder's Quotas.Dad.
  static OrigemDados FicheiroPorOmissão();
  // How the user reads it: the file's path, or the connection string without any password.
  QString ParaMostrar() const;
  // The same data, whatever password the connection string carries.
  bool operator==(const OrigemDados &o) const { return ParaMostrar() == o.ParaMostrar(); }
};

// Whether a text names a server rather than a file: a libpq connection string starts with a
// keyword and "=" ("host=...", "service=agremia") or is a "postgresql://" address.
bool ÉLigaçãoServidor(const QString &texto);

// Why a connection string cannot be used, in Portuguese; empty when it can. Qt's driver reads
// only libpq's key=value form: an address ("postgresql://...") never reaches the server.
QString ProblemaDaLigação(const QString &ligação);

// The program's arguments (without the program's name). `--base-dados LIGAÇÃO` (or
// `--base-dados=LIGAÇÃO`) chooses the data of this run: a server as above, or a data file or
// the folder that holds it. `erro` is set, in Portuguese, for an argument that cannot be used.
struct ArgumentosPrograma {
  std::optional<OrigemDados> origem;
  bool ajuda = false;
  QString erro;
};
ArgumentosPrograma LerArgumentos(const QStringList &argumentos);

// The lines printed for "--help".
QString TextoAjudaArgumentos();

// "-h" or "--help" among the arguments.
bool AjudaPedida(int argc, char **argv);

// The choice the user made in "Arquivo › Base de Dados...", kept in the user's settings; the
// working folder's Quotas.Dad when none was made. A password is never kept.
OrigemDados OrigemLembrada();
// False when the settings could not be written (the choice then holds for this run only).
bool LembrarOrigem(const OrigemDados &origem);

// The connection string with a password added for this run, quoted as libpq reads it (the
// store hands it to the driver apart from the rest).
QString LigaçãoComSenha(const QString &ligação, const QString &senha);

// Whether the server refused the connection for want of a password (none given by libpq's
// environment and files) or for a wrong one.
bool FaltaSenha(const ErroBaseDados &e);

// Runs `ligar` with `ligação`. When the server asks for a password that none of libpq's
// sources gives, asks the user for it (JanelaSenha) and runs `ligar` again with it added, up to
// three times. Returns the connection string that worked; raises the last failure, or the
// first one when the user declines to give a password.
QString LigarComSenha(const QString &ligação, QWidget *pai,
                      const std::function<void(const QString &)> &ligar);

// Opens the data of `origem` as the run's shared data (Dados()), closing what was open: a
// missing Quotas.Dad in the working folder is created and a file is checked for damage, as at
// start-up; a server's password is asked when needed. From then on, OrigemDaSessão() is
// `origem` with the password that worked.
void AbrirOrigem(const OrigemDados &origem, QWidget *pai);

// The data the program runs on (as opened by AbrirOrigem).
const OrigemDados &OrigemDaSessão();
void DefinirOrigemDaSessão(const OrigemDados &origem);
