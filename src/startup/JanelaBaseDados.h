#pragma once

#include "OrigemDados.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Base de Dados": where the data is now, and the choice between the working folder's
// Quotas.Dad and a database on a PostgreSQL server, with a test of the connection and the
// creation of the tables on an empty database, and the copy of the data between the two. "&Usar
// estes dados" switches the program to the data chosen and remembers the choice; "&Cancelar" and
// Escape close without a change.
class JanelaBaseDados : public QDialog {
public:
  // `mudar` puts the program on the data chosen (closing what it used) and returns whether it
  // now runs on it; a refusal has told the user why. It is not called for the data in use.
  JanelaBaseDados(QWidget *pai, std::function<bool(const OrigemDados &)> mudar);

private:
  void ComandoClicado(int i);
  void ActualizarControlos();
  // The choice on screen; with a password that a test or a creation just took, while the
  // connection string is unchanged.
  OrigemDados Escolhida() const;
  // The connection string on screen, or a message and false when it is blank.
  bool LigaçãoEscrita(QString &ligação);
  void Confirmar();
  void TestarLigação();
  void CriarTabelas();
  // The working folder's Quotas.Dad into the server of the field (empty tables, or none), or
  // the server's data into that Quotas.Dad, which must not exist.
  void Copiar(bool paraServidor);

  std::function<bool(const OrigemDados &)> mudar;
  QLabel *Actual;
  QRadioButton *OpçãoFicheiro;
  QRadioButton *OpçãoServidor;
  QLineEdit *Ligação;
  QPushButton *Comando[6];
  QString ligaçãoComSenha; // the string that carried a password the user gave...
  QString ligaçãoEscrita;  // ...for this text of the field
};
