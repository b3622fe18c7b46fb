#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The association's own data: name, street, locality, postal code, telephone and fax, kept in
// the reference rows "1" to "6" and printed at the top of every report page, and its NIPC
// (row TipoNIPC), printed under them when saved. "&Definir" saves
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
  // Row k + 1 as stored (none when missing), and the field's value as first shown: a value
  // the user left as shown is written back as stored, even where the field could not hold it
  // whole (a text longer than the field, a postal code no longer in the list).
  std::optional<QString> guardado[6];
  QString mostrado[6];
  // The value of row k + 1 as the window holds it now.
  QString ValorMostrado(int k) const;

  // The NIPC keeps a row of its own, written only when it exists or a number is typed, so
  // that a file without it stays without it.
  QLabel *PainelNIPC;
  QLineEdit *NIPC;
  std::optional<QString> nipcGuardado;
  QString nipcMostrado;
  QString nipcAceite; // a number that fails the check and that the user chose to keep
  QString AvisoNIPC() const;
  // Asks once about a number whose check digit fails; false when the user wants to correct it.
  bool ConfirmarNIPC();
};
