#pragma once

#include "Grelha.h"
#include "PecasRelatorio.h"

#include <QDialog>

class Impressão;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the arrears report and the yearly map share on screen: the year (and, for the arrears,
// the month), the quota type with "[Todos]" first, a grid of nine lines with its scroll bar,
// the progress shown in place of the "Nome" heading while the list is built, and the buttons
// "Sai&r", the list button and "&Imprimir" (which shows "Aguarde..." and the print's progress),
// and beside it "&Exportar...", which writes the grid's lines to a CSV file.
// The list is built whole by the report's builder and printed as built, under the month, year
// and quota type it was built with, whatever the fields show by the time it is printed.
class JanelaRelatório : public QDialog {
public:
  QLineEdit *Ano;
  QComboBox *Mês = nullptr; // the arrears only
  QComboBox *TipoQuota;
  GrelhaComBarra *Listagem;
  QPushButton *Comando[3];
  QPushButton *Exportar;

protected:
  struct Definição {
    QString nome;   // objectName
    QString título; // the title panel
    bool comMês;
    QString listar; // caption of Comando(1)
    QList<GrelhaComBarra::Coluna> colunas;
    QStringList rótulos;             // headings above the columns; the second shows the progress
    QStringList cabeçalhoExportação; // the exported file's first line
  };
  JanelaRelatório(QWidget *pai, const Definição &d);

  // Builds the list; returns the grid's lines. The quota type chosen is TipoEscolhido().
  virtual QStringList Construir(const Progresso &progresso) = 0;
  // Prints what was built; the renderer ends the document.
  virtual void Imprimir(Impressão &p, const Progresso &progresso) = 0;

  qint64 TipoEscolhido() const;
  int AnoEscolhido() const;

  // What a list was built with, as the fields showed it: the printed heading says it.
  struct Parâmetros {
    QString mês; // the arrears only
    QString ano;
    QString tipoQuota;
  };
  // Construir sets both once the list is built.
  Parâmetros construída;
  // The name offered for the exported file, without ".csv".
  QString nomeExportação;

private:
  void ComandoClicado(int i);
  void Listar();
  void ImprimirLista();
  void ExportarLinhas();
  void FocoDepois();

  QString título;
  QStringList cabeçalhoExportação;
  QList<QLabel *> rótulos;
};
