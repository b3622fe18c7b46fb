#pragma once

#include "Dividas.h"
#include "Grelha.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Sócios com Quotas em Dia": for a date, the members enrolled by then who owe no month from
// a chosen first month up to the date's month, those who may vote at the general assembly;
// shown with their count (for the quorum), printed with a room to sign, exported.
class QtsEmDia : public QDialog {
public:
  explicit QtsEmDia(QWidget *pai);

  QLineEdit *Data;
  QComboBox *MêsInicial;
  QLineEdit *AnoInicial;
  GrelhaComBarra *Listagem;
  QLabel *Contagem;
  QPushButton *Comando[3]; // Sai&r, &Procurar, &Imprimir
  QPushButton *Exportar;

  const std::vector<SócioEmDia> &Lista() const { return lista; }

private:
  void Listar();
  void ImprimirLista();
  void ExportarLinhas();
  void FocoDepois();

  std::vector<SócioEmDia> lista;
  QString dataConstruída;
  QString desdeConstruído;
  QLabel *progresso = nullptr;
};
