#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Procurar Sócio por:" a member found by number or by a name pattern, then shown on the main
// screen through `mostrar`. Nothing found (or every proposal refused) keeps the window open
// with a message; "Cancela&r" closes it and leaves the main screen as it was.
class Procurar : public QDialog {
public:
  // `número` and `nome` are what the main screen shows; the fields start with them.
  Procurar(QWidget *pai, const QString &número, const QString &nome,
           std::function<void(qint32)> mostrar);

  QRadioButton *Opção[3] = {}; // 1 number, 2 name
  QLineEdit *Código[3] = {};
  QPushButton *Comando[2];

protected:
  bool eventFilter(QObject *o, QEvent *e) override;

private:
  void MostrarPainel();
  void ProcurarSócio();

  QLabel *Painel[3];
  QWidget *Zona[3] = {};
  std::function<void(qint32)> mostrar;
};
