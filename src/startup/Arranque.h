#pragma once

#include <QString>
#include <functional>

class Base;
class ErroBaseDados;
class QWidget;

inline const QString TítuloPrograma = QStringLiteral("Ficheiro de Sócios e Quotizações");

// True from start-up; false once the access code has been refused.
bool &AcessoPermitido();

struct OpçõesArranque {
  int esperaApresentação = 1000; // ms from the start-up window's showing to its work
  // Called once the main window is on screen (tests close it from here).
  std::function<void(Base &)> aoMostrarBase;
};

enum class FimPrograma { Normal, AcessoRecusado, ErroFicheiro };

// The program from start to end: makes sure Quotas.Dad exists in the working folder, shows
// the start-up window (which opens the file and asks for the code), runs the main window
// until the user closes it, and closes the file.
FimPrograma ExecutarPrograma(const OpçõesArranque &opções = {});

// Links the main window's menu items to the windows of the rest of the program.
void LigarJanelas(Base &base);

// An engine failure told to the user, with the promise that the file was left alone.
void MostrarErroFicheiro(const ErroBaseDados &e, QWidget *pai = nullptr);

// A data file found damaged when it is opened: told, with how to restore the last good copy,
// and the restore offered (the backup tool started on its list of copies). `jáAberto`: the
// damage was found with the main window already up.
void MostrarFicheiroDanificado(const ErroBaseDados &e, QWidget *pai = nullptr,
                               bool jáAberto = false);
