#pragma once

#include "Dividas.h"
#include "Grelha.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Quotas em Dívida": who owes which months of a range and how much, shown, printed, exported,
// and written to as reminder letters (printed, or as CSV for a mail merge). The list is built
// whole and printed, exported and written to as built, whatever the fields say by then.
class QtsDívida : public QDialog {
public:
  explicit QtsDívida(QWidget *pai);

  QComboBox *MêsInicial;
  QLineEdit *AnoInicial;
  QComboBox *MêsFinal;
  QLineEdit *AnoFinal;
  QComboBox *TipoQuota;
  QComboBox *Situação;
  QComboBox *Ordem;
  GrelhaComBarra *Listagem;
  QLabel *Totais;
  QPushButton *Comando[3]; // Sai&r, &Procurar, &Imprimir
  QPushButton *Exportar;
  QPushButton *Cartas;
  QPushButton *ExportarCartas;
  QPushButton *TextoCarta;

  const std::vector<SócioEmDívida> &Lista() const { return lista; }

private:
  void Listar();
  void ImprimirLista();
  void ExportarLinhas();
  void ImprimirCartas();
  void ExportarLinhasCartas();
  void EditarTexto();
  void FocoDepois();
  void Ocupado(bool ocupado);

  std::vector<SócioEmDívida> lista;
  ParâmetrosDívidas construída;
  QString nomeExportação;
  QLabel *progresso = nullptr;
};

// The small window where the association writes its reminder letter's text once: the text
// with its fields («nome», «meses», «valor», ...), "&Gravar" stores it, "&Cancelar" leaves
// the stored one, "Texto &Original" puts the program's own text back in the field.
class TextoCartaAviso : public QDialog {
public:
  explicit TextoCartaAviso(QWidget *pai);
  class QPlainTextEdit *Texto;
  QPushButton *Comando[3]; // &Gravar, &Cancelar, Texto &Original

private:
  void Gravar();
};
