#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the access code before the data may be used: three tries, then only "Cancela&r".
class CódAcesso : public QDialog {
public:
  enum class Resultado { Concedido, Recusado };

  explicit CódAcesso(QWidget *pai = nullptr);

  Resultado ResultadoAcesso() const { return resultado; }
  int Tentativas() const { return tentativas; }

protected:
  void showEvent(QShowEvent *e) override;

private:
  void Confirmar();
  void Cancelar();

  QLabel *Painel[2];
  QLineEdit *Código;
  QPushButton *Comando[2];
  QString esperado; // the code that must be typed, as decimal text
  int tentativas = 0;
  Resultado resultado = Resultado::Recusado;
};
