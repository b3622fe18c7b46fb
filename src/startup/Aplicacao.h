#pragma once

#include <QApplication>

// The application object. An exception that escapes a window's handler reaches the user as
// a message instead of ending the program: the window keeps what was typed.
class AplicaçãoAgremia : public QApplication {
public:
  AplicaçãoAgremia(int &argc, char **argv);
  bool notify(QObject *receptor, QEvent *evento) override;
};

// Names, Portuguese locale, Qt's own Portuguese texts for the platform dialogs, and the
// keyboard given back to the window below whenever a modal window closes.
void PrepararAplicação(QApplication &app);
