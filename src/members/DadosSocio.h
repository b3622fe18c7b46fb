#pragma once

#include "DadosPessoais.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

// "Dados Pessoais do Sócio": everything the file keeps about one member, for a member who asks
// for it: shown, printed and exported; and "Anonimizar Sócio", asked first with "Não" as the
// default.
class DadosSócio : public QDialog {
public:
  DadosSócio(QWidget *pai, qint64 número);

  QTableWidget *Campos;
  QTableWidget *Quotas;
  QPushButton *Comando[4]; // Sair, Imprimir, Exportar, Anonimizar

  // Whether the member was anonymised while the window was open.
  bool Anonimizado() const { return anonimizado; }

private:
  void ComandoClicado(int i);
  void Carregar();
  void Anonimizar();

  qint64 número;
  std::optional<DadosPessoais> dados;
  bool anonimizado = false;
};
