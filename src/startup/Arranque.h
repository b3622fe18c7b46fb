#pragma once

#include "OrigemDados.h"

#include <QString>
#include <functional>
#include <optional>

class Base;
class ErroBaseDados;
class QDialog;
class QWidget;

inline const QString TítuloPrograma = QStringLiteral("Ficheiro de Sócios e Quotizações");

// True from start-up; false once the access code has been refused.
bool &AcessoPermitido();

struct OpçõesArranque {
  int esperaApresentação = 1000; // ms from the start-up window's showing to its work
  // Called once the main window is on screen (tests close it from here).
  std::function<void(Base &)> aoMostrarBase;
  // The data of this run ("--base-dados"), not remembered; without it, the choice the user
  // made in "Base de Dados" (the working folder's Quotas.Dad when none was made).
  std::optional<OrigemDados> origem;
};

enum class FimPrograma { Normal, AcessoRecusado, ErroFicheiro };

// The program from start to end: makes sure Quotas.Dad exists in the working folder (when the
// data is that file), shows the start-up window (which opens the data and asks for the code),
// runs the main window until the user closes it, and closes the data.
FimPrograma ExecutarPrograma(const OpçõesArranque &opções = {});

// Links the main window's menu items to the windows of the rest of the program.
void LigarJanelas(Base &base);

// "Base de Dados" from the main window: switches the running program to `nova` after the
// question on the screen's changes, asking the access code of the new data when it has one.
// When the new data cannot be used, the program goes back to the data it had; when even that
// fails, it ends. Returns whether the program now runs on `nova`.
bool MudarDados(Base &base, const OrigemDados &nova, QDialog &janela);

// An engine failure told to the user, with the promise that the file was left alone.
void MostrarErroFicheiro(const ErroBaseDados &e, QWidget *pai = nullptr);

// A data file found damaged when it is opened: told, with how to restore the last good copy,
// and the restore offered (the backup tool started on its list of copies). `jáAberto`: the
// damage was found with the main window already up.
void MostrarFicheiroDanificado(const ErroBaseDados &e, QWidget *pai = nullptr,
                               bool jáAberto = false);
