#pragma once

#include <QDialog>

class BaseDados;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedLayout;

// Stores `código` as the access code (0 switches it off): the row of kind "0" of `tabelas`
// is added or changed in one transaction. On an engine failure it throws ErroBaseDados and
// the row stays as it was.
void GuardarCódigoAcesso(BaseDados &bd, qint32 código);

// Sets, changes or switches off the access code in up to three steps shown in the same place:
// the current code (skipped when none is set), the new code, and the new code again. The
// entries are checked only after the last step; nothing is stored unless all three agree.
class AltAcesso : public QDialog {
public:
  // Reads the current code from the shared reference recordset; throws ErroBaseDados when the
  // engine cannot read it. Placed over `principal` when given.
  explicit AltAcesso(QWidget *principal = nullptr);

  // What the menu calls: builds the window and runs it modally. An engine failure while
  // reading the current code is reported to the user instead of being thrown.
  static void Abrir(QWidget *principal);

protected:
  void showEvent(QShowEvent *e) override;

private:
  void MostrarPasso(int n);
  void Confirmar();
  void Concluir();
  void Cancelar();

  QFrame *Painel[4];
  QLineEdit *Código[4]; // 1 to 3; [0] unused
  QPushButton *Comando[2];
  QStackedLayout *passos;
  int passo = 2;
  qint32 códigoActual = 0; // decoded; 0 when none is set
};
