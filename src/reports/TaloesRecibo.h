#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

// "Impressão de Talões de Recibo": numbered receipt stubs for a range of members and the
// periods of a year, two identical halves each; the counter of receipt numbers is kept.
class TalõesRecibo : public QDialog {
public:
  explicit TalõesRecibo(QWidget *pai);

  QLineEdit *Ninicial;
  QTabWidget *Opções;
  QLineEdit *Ano;
  QLineEdit *MesX;
  QComboBox *Mês;
  QComboBox *Situação;
  QLineEdit *SócioX;
  QLineEdit *SócioY;
  QRadioButton *Ordena[3];
  QProgressBar *Painel3;
  QPushButton *Comando[2];

private:
  void GuardarContador();
  void ImprimirTalões();
};
