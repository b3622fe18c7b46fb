#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's help. The menu speaks of the help file "quotas.HLP"; here that file is a set of
// HTML pages compiled into the program as the resource ":/ajuda", shown in a help window of our
// own with links, back and forward, so that there is nothing to install or to lose beside the
// program.

// Opens the help window at `página` ("indice", "como-usar", "base", ...; a name of PáginasAjuda,
// optionally followed by "#anchor"), or brings the window already open to the front and shows
// that page there, so that there is only ever one help window and its history goes on. An
// unknown or empty name opens the contents ("indice"). The window is not modal. It belongs to
// the window of `pai`; when it is asked for from a modal window it moves under that window, so
// that it can still be used, and returns to the window below when the modal window closes.
void MostrarAjuda(QWidget *pai, const QString &página);

// The names of the help pages, contents first, in the order of the contents page.
QStringList PáginasAjuda();

// "quotas.HLP": the name under which the menu and the messages speak of the help.
QString NomeFicheiroAjuda();

// The help window when one has been made (shown or closed by the user), else nullptr.
// For tests.
QWidget *JanelaAjudaAberta();
