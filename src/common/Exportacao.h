#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QPushButton;
class QWidget;

// Lists leave the program as CSV files that a spreadsheet set to Portuguese opens as they are:
// UTF-8 with a byte order mark (without it Excel reads the accents as Latin-1), ";" between
// fields (the comma is the decimal separator), lines ended by CR LF. Texts go as the screen
// shows them, so amounts stay "1.234,50" and read as numbers.

// The file's bytes: the first line is the header. A field holding ";", a double quote or a
// line break goes between double quotes, its quotes doubled. A text a spreadsheet would take
// for a formula (starting with =, +, -, @, a tab or a carriage return, and not a number as the
// grid writes it) gets a leading apostrophe.
QByteArray TextoCsv(const QList<QStringList> &linhas);

// Writes `conteúdo` to `caminho` through a temporary file that replaces the old one only
// once it is complete: a failure (disk full, no permission, no such folder) leaves whatever
// was there untouched. Returns an empty text when written, or the Portuguese reason; the
// system's own words go to `pormenor`.
QString GravarFicheiro(const QString &caminho, const QByteArray &conteúdo,
                       QString *pormenor = nullptr);

// Asks where to save, in Qt's own window (the same on every system, and in Portuguese):
// `título`, the file name `sugerido` in the folder last used. Returns the path chosen, always
// ending in ".csv", or an empty text when cancelled.
QString EscolherFicheiroCsv(QWidget *pai, const QString &título, const QString &sugerido);

// Asks for an existing file to read, in the same window: `título`, opening in `início`, showing
// the files that `filtro` names. Returns the path chosen, or an empty text when cancelled.
QString EscolherFicheiroParaLer(QWidget *pai, const QString &título, const QString &início,
                                const QString &filtro);

// The "&Exportar..." button placed beside a window's "&Imprimir" (`imprimir`): enabled
// whenever that one is, with the click preamble of the window's own buttons.
QPushButton *BotãoExportar(QPushButton *imprimir, std::function<void()> aoClicar);

// The whole export from a window: asks for the file (a name made of `sugerido`), writes the
// header and the rows, and tells where they went, or why nothing was written. `título` names
// the messages.
void ExportarLista(QWidget *janela, const QString &título, const QString &sugerido,
                   const QList<QStringList> &linhas);

// Tests: both file pickers ask this function (window, title, suggested path or starting
// folder) instead of showing Qt's window; it returns the path chosen, or an empty text when
// cancelled. An empty function puts the real window back.
using EscolhaFicheiro = std::function<QString(QWidget *, const QString &, const QString &)>;
void InstalarEscolhaFicheiro(EscolhaFicheiro escolha);
