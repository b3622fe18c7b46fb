#pragma once

#include "Importacao.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Brings members in from a CSV file: the user chooses the file, checks which column fills
// each field (guessed from the headings), sees the first lines and every line that would be
// refused, and imports. Nothing is written while any line is refused: the user corrects the
// file and chooses it again, so that a file is imported whole or not at all. Reference texts
// not yet in the tables are added, after a question, in the same transaction; "Não" imports
// nothing.
class ImportarSócios : public QDialog {
public:
  // Opened with exec(); after an import, once the reference lists are read again,
  // `aoImportar` lets the window below show them.
  explicit ImportarSócios(QWidget *pai, std::function<void()> aoImportar = {});

  // Reads the file and shows it with the guessed mapping, as "&Escolher Ficheiro..." does
  // once a file is chosen. False when it could not be read (the user was told).
  bool AbrirFicheiro(const QString &caminho);

private:
  void ComandoClicado(int i);
  void EscolherFicheiro();
  void Verificar();
  void Mostrar();
  void Importar();

  std::function<void()> aoImportar;
  TabelaCsv tabela;
  Verificação verificação;
  bool preenchendo = false;
  QLineEdit *Ficheiro;
  QComboBox *Coluna[NúmeroDestinos];
  QTableWidget *Amostra;
  QLabel *Resumo;
  QPushButton *Comando[3]; // 0 "&Sair", 1 "&Escolher Ficheiro...", 2 "&Importar"
};
