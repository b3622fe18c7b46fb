#pragma once

#include "OrigemDados.h"

#include <QDialog>
#include <QTimer>
#include <memory>

class Base;
class ErroBaseDados;
class VerificaçãoAbertura;

// The start-up window: a picture on screen while the file is opened, the access code is
// asked and the main window is loaded, all from the first tick of its one-shot timer.
class Apresentação : public QDialog {
public:
  // `verificação`, when given, is the check of the data file started at the program's entry;
  // without one, the file is checked when it is opened. `origem` is the data to open: when a
  // server cannot be used, the user is told why and may choose other data or end.
  explicit Apresentação(int esperaMs = 1000, VerificaçãoAbertura *verificação = nullptr,
                        QWidget *pai = nullptr,
                        OrigemDados origem = OrigemDados::FicheiroPorOmissão());
  ~Apresentação() override;

  // The main window loaded by the tick, handed over to the caller; empty when access was
  // refused or the file could not be opened.
  std::unique_ptr<Base> TomarBase();
  bool FicheiroFalhou() const { return ficheiroFalhou; }

  // The tick of the timer; public so that it can be driven without waiting.
  void Tique();

protected:
  void showEvent(QShowEvent *e) override;
  void keyPressEvent(QKeyEvent *e) override; // Escape does not close it

private:
  void AbrirDadosDoArranque();
  // A server that failed at start-up: told, with "Base de Dados" offered; whether other data
  // is open now.
  bool EscolherOutrosDados(const ErroBaseDados &e);
  void Falhou(const ErroBaseDados &e);

  OrigemDados origem;
  QTimer Início;
  VerificaçãoAbertura *verificação;
  std::unique_ptr<Base> base;
  bool ficheiroFalhou = false;
};

// The picture of the start-up window, painted rather than shipped as a file.
QPixmap ImagemApresentação();
