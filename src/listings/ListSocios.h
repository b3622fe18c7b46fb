#pragma once

#include "ListagemSocios.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class ModeloListagem;

// "Listagem de Sócios": members chosen by one criterion and ordered in one of six ways, shown
// in a grid and printed as a detailed or normal list or as small or large address labels, or
// exported as the grid shows them to a CSV file.
class ListSócios : public QDialog {
public:
  explicit ListSócios(QWidget *pai);

  QTabWidget *SSTab1;
  QLineEdit *Número[3] = {};
  QLineEdit *Nome[3] = {};
  QComboBox *CPostal;
  QComboBox *Situação;
  QComboBox *TipoQuota;
  QRadioButton *Ordenação[7] = {};
  QRadioButton *SubOrde[2];
  QCheckBox *AscDesc;
  QTableView *Listagem;
  QPushButton *Comando[3];
  QPushButton *Exportar;
  QGroupBox *Impressão;
  QRadioButton *Tipo[5] = {};
  QPushButton *Imprimir2;
  QPushButton *Sair;
  QProgressBar *Percentagem;

  const std::vector<SócioListado> &Linhas() const;

protected:
  bool eventFilter(QObject *o, QEvent *e) override;
  void keyPressEvent(QKeyEvent *e) override;

private:
  // The print panel lies over the window's other controls: while it is open it alone takes
  // the keys and the clicks.
  void AbrirPainel();
  void FecharPainel();
  void ListarSócios();
  void ImprimirListagem();
  void ExportarListagem();
  EscolhaListagem Escolha() const;

  ModeloListagem *modelo;
};
