#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Starts a companion program of the suite (such as "arquivex") from the folder of this
// program's executable, detached, with `pasta` as its working folder. Returns false when the
// program is missing or could not be started. The file name's platform suffix is added here.
bool IniciarPrograma(const QString &nome, const QStringList &argumentos, const QString &pasta);

// The executable's full path for a program name: "<folder>/arquivex" (".exe" on Windows).
QString CaminhoPrograma(const QString &nome);

// Tests: programs are "started" by this function instead; an empty one restores the real start.
void InstalarIniciador(
    std::function<bool(const QString &, const QStringList &, const QString &)> iniciador);
