#pragma once

#include <chrono>
#include <functional>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class BaseDados;

// Backups of Quotas.Dad and their restoration, without any window. Every function reports
// its outcome in a result and never throws: the window only shows what comes back.

// The folder "Seguranças" beside the data file, where copies go unless the user picks another
// and where the file replaced by a restore is always kept.
QString PastaSeguranças(const QString &ficheiroDados);

// Why a file cannot serve as a copy of the member file.
enum class EstadoCópia {
  Boa,
  Ilegível,      // cannot be opened or read at all
  NãoÉBaseDados, // not an SQLite file (a text file, an empty file)
  Alheia,        // an SQLite file without the tables of this program
  Danificada,    // the engine's integrity check found faults
};

struct VerificaçãoCópia {
  EstadoCópia estado = EstadoCópia::Ilegível;
  qint64 sócios = 0;    // members in the file, when it is sound
  QList<qint64> linhas; // rows of each table (TabelasDoFicheiro() order), when it is sound
  QString pormenor;     // the engine's own words, when there are any
  bool Boa() const { return estado == EstadoCópia::Boa; }
};

// Checks a file through a read-only connection: the engine's integrity check, the tables of
// this program, the number of members. The file is never written.
VerificaçãoCópia VerificarFicheiro(const QString &ficheiro);

// "está danificada", "não é uma base de dados", ...: the reason after the file's name.
QString DescreverEstado(EstadoCópia estado);

struct ResultadoSegurança {
  bool ok = false;
  QString cópia; // the copy written, when ok
  qint64 sócios = 0;
  QString erro;     // what the user reads, when not ok
  QString pormenor; // the engine's own words, for the message box's details
};

// Copies the data file into `pasta` (created if missing) as "Quotas 2026-12-06 10h05m33s.Dad",
// the moment taken from the program's clock; a name already taken gets "_2", "_3", ... The
// copy is then checked (integrity, tables of this program) before it takes its name. A source
// that is missing or not a database of this program is refused and nothing is created.
ResultadoSegurança EfectuarSegurança(const QString &ficheiroDados, const QString &pasta);

// Removes what backups and restores killed part-way left in `pasta`: files named
// "Quotas.parcial-*", each a whole or partial copy of the members' data. A file still being
// written by another copy of this tool is changed every few moments; only files unchanged for
// `parado` are taken. Returns how many were removed.
int ApagarRestosParciais(const QString &pasta,
                         std::chrono::seconds parado = std::chrono::minutes(10));

struct CópiaSegurança {
  QString caminho;
  QDateTime momento;             // from the name; else the file's modification time
  bool momentoDoNome = false;    // false when the name does not carry the moment
  bool antesDaReposição = false; // a file kept aside by a restore
  VerificaçãoCópia verificação;
};

// Every "*.Dad" file of `pasta` except `excluir` (the data file itself, when the user points at
// the data folder), newest first. Files that are not sound copies are listed too, with their
// reason, so that the user sees them rather than wonders where a copy went.
QList<CópiaSegurança> ListarCópias(const QString &pasta, const QString &excluir = {});

struct ResultadoReposição {
  bool ok = false;
  qint64 sócios = 0;   // members in the restored file
  QString salvaguarda; // where the replaced file was kept; empty when there was none
  QString erro;
  QString pormenor; // the engine's own words, for the message box's details
};

// Puts `cópia` in place of the data file. The copy is checked first; an unsound copy is refused
// and nothing is touched. A data file that a program has open is not replaced. The current
// file is kept in `pastaSalvaguarda` as "Quotas antes da reposição <moment>.Dad", and read back
// whole, before it is replaced in one step; on any failure it stays as it was.
ResultadoReposição ReporCópia(const QString &cópia, const QString &ficheiroDados,
                              const QString &pastaSalvaguarda);

// The same backup from a database on a PostgreSQL server (a libpq connection string): its
// rows, read as one state, go into a new file of the Quotas.Dad format in `pasta`, which is
// checked as a copy of a file is, rows of every table counted, before it takes its name.
ResultadoSegurança EfectuarSegurançaServidor(const QString &ligação, const QString &pasta);

// The other desks connected to the server's database: the application_name of each connection
// of the main program ("Agremia (<computer>)") but this one's, in the order they connected.
// Empty when there are none. A failure of the question raises ErroBaseDados.
QStringList OutrosPostos(BaseDados &bd);

// Puts the rows of `cópia` in place of the rows of the server's database, in one transaction:
// at every moment the database holds either its former rows or those of the copy. The copy is
// checked first, from a copy of its own that the engine may open; an unsound copy is refused
// and nothing is touched. While any other desk is connected the restore is refused, naming
// them. The current rows are kept first as "Quotas antes da reposição <moment>.Dad" in
// `pastaSalvaguarda`, a file checked as any backup.
ResultadoReposição ReporCópiaServidor(const QString &cópia, const QString &ligação,
                                      const QString &pastaSalvaguarda);

// Tests: called with the name of every copy this tool has just written (the engine's copy or
// the byte copy), before it is read back, as a faulty disk or transfer would change it. An
// empty function removes it.
void InstalarDepoisDeCopiar(std::function<void(const QString &)> f);
