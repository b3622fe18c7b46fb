#pragma once

#include <QFileDevice>
#include <QIODevice>
#include <QString>

class QSaveFile;

// Every file the program writes holds personal data: the data file and its lock and journal,
// backups and the copies kept aside by a restore, PDFs, CSV exports. Each is created for its
// owner alone (files 0600, folders 0700) where the system has such permissions, by the
// functions below at the moment it comes to be. A file that already exists keeps the rights it
// has: a user who opened a file to a group did so on purpose. Where the medium keeps no rights
// (a memory stick formatted FAT), nothing is refused for that.

// Read and write for the owner, nothing for anyone else.
inline constexpr QFileDevice::Permissions PermissõesDoDono =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Also narrows the process's file mask to the owner, for what an engine or a library creates
// on its own (a temporary file, a journal): a second line behind the functions below.
void ReservarFicheirosAoDono();

// Creates `caminho` as an empty file for its owner alone, for an engine or a writer that then
// writes into it (SQLite's VACUUM INTO, the PDF writer) and, finding it there, keeps its
// rights. False when it already exists or cannot be created.
bool CriarFicheiroDoDono(const QString &caminho);

// Creates the folder `caminho` and those missing above it, each for its owner alone; folders
// that exist keep their rights. True when the folder exists at the end.
bool CriarPastaDoDono(const QString &caminho);

// Opens `ficheiro` to write it: a file that did not exist is its owner's alone, one that
// exists keeps its rights (QSaveFile carries them over to the new content).
bool AbrirParaGravarDoDono(QSaveFile &ficheiro, QIODevice::OpenMode modo = QIODevice::WriteOnly);

// Takes every right but the owner's from `caminho`, a file that another component created
// just now with rights of its own choosing (the lock file). False where it cannot be done.
bool ReservarAoDono(const QString &caminho);

// Gives `para` exactly the rights of `de`: a file put in place of another keeps the rights
// the user gave the one it replaces.
bool CopiarPermissões(const QString &de, const QString &para);
