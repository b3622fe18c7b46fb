#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Impressão de Declaração para IRS": the dues a member paid in a year, in a declaration the
// treasurer may edit before printing it as a justified letter.
class DeclIRS : public QDialog {
public:
  // `número` and `nome` are what the main screen shows.
  DeclIRS(QWidget *pai, const QString &número, const QString &nome);

  QLineEdit *Número;
  QLabel *Nome;
  QLineEdit *Ano;
  QLineEdit *Quotizações;
  QPlainTextEdit *Declaração;
  QPushButton *Comando[2];

private:
  void SomarQuotizações(bool porNúmero);
  void Compor();
  void Imprimir();

  qint64 sócio = 0;      // the member found by the last change of the number
  QString totalAnterior; // what the total showed before the user edited it
};
