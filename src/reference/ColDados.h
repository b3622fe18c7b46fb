#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The association's own data: name, street, locality, postal code, telephone and fax, kept in
// the reference rows "1" to "6" and printed at the top of every report page. "&Definir" saves
// and closes, "&Cancelar" closes without saving.
class ColDados : public QDialog {
public:
  // Reads the six rows and the postal codes; opened with exec(), centred on `pai`.
  explicit ColDados(QWidget *pai);

private:
  void ComandoClicado(int i);
  // Writes the six rows as one save; false when the engine refused it (the user was told).
  bool GravarDados();

  QLabel *Painel[5];
  QLineEdit *Nome;
  QLineEdit *Rua;
  QLineEdit *Localidade;
  QComboBox *CPostal;
  QLineEdit *Telefone;
  QLineEdit *Fax;
  QPushButton *Comando[2];
};
