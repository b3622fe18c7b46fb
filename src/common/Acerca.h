#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// What the program is: its version, its licence, and the versions of Qt and of the SQLite
// engine it runs on, for "--version" and for "Ajuda › Acerca do Agremia".

// "0.1.0", from the build.
QString VersãoAgremia();

// The version the SQLite engine reports of itself ("3.40.1"), or "?" when the driver is
// missing.
QString VersãoSQLite();

// "--version" (or "-V") among the arguments.
bool VersãoPedida(int argc, char **argv);

// The lines printed for "--version": "<programa> 0.1.0", the licence, Qt and SQLite.
QString TextoVersão(const QString &programa);

// The About box: the version, the licence, where the data file is, Qt and SQLite.
void MostrarAcerca(QWidget *pai, const QString &ficheiroDados);

// The program's icon, for every window of both programs.
QIcon ÍconePrograma();
