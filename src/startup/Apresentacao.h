#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

class Base;
class VerificaçãoAbertura;

// The start-up window: a picture on screen while the file is opened, the access code is
// asked and the main window is loaded, all from the first tick of its one-shot timer.
class Apresentação : public QDialog {
public:
  // `verificação`, when given, is the check of the data file started at the program's entry;
  // without one, the file is checked when it is opened.
  explicit Apresentação(int esperaMs = 1000, VerificaçãoAbertura *verificação = nullptr,
                        QWidget *pai = nullptr);
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
  QTimer Início;
  VerificaçãoAbertura *verificação;
  std::unique_ptr<Base> base;
  bool ficheiroFalhou = false;
};

// The picture of the start-up window, painted rather than shipped as a file.
QPixmap ImagemApresentação();
