#pragma once

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the password of a server that wants one that libpq found nowhere (~/.pgpass,
// PGPASSFILE, the service file). The password serves this run alone: it is never written.
class JanelaSenha : public QDialog {
public:
  // `ligação` as shown to the user (without any password); `aviso` tells why it is asked again.
  JanelaSenha(const QString &ligação, const QString &aviso, QWidget *pai = nullptr);

  // Shows the window and waits; the password typed, or none when the user cancelled.
  std::optional<QString> Pedir();

private:
  QLabel *Painel[2];
  QLineEdit *Senha;
  QPushButton *Comando[2];
};
