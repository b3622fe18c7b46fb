#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The one window of the backup-and-restore program. The main program closes the database and
// starts it with the data folder as working folder: without arguments to make a backup, with
// "-r" to restore one. Either way it ends by offering to start the main program again.
class Arquivex : public QDialog {
public:
  enum class Modo { Segurança, Reposição };

  // With `ligação` (a libpq connection string) the data are those of a database on a
  // PostgreSQL server rather than the Quotas.Dad of the data folder; the copies still go to
  // and come from files of the same format.
  Arquivex(Modo modo, const QString &pastaDados, const QString &ligação = {},
           QWidget *pai = nullptr);

  Modo ModoJanela() const { return modo; }
  const QString &FicheiroDados() const { return ficheiroDados; }

  // The folder of the copies: where a backup goes, where a restore looks for them.
  QString Pasta() const;
  // What "Escolher &pasta..." does once a folder is chosen: shows it and lists its copies.
  void DefinirPasta(const QString &pasta);

  // "&Sair", Escape and the window's close button all end through the restart question.
  void reject() override;

protected:
  // Enter on the list restores the copy chosen.
  bool eventFilter(QObject *objecto, QEvent *evento) override;

private:
  void Copiar();
  void Repor();
  void EscolherPasta();
  void ActualizarLista();
  void ActualizarAviso();
  void Terminar(int resultado);
  QString Título() const;

  Modo modo;
  QString pastaDados;
  QString ficheiroDados;
  QString ligação; // empty for the data file
  QLabel *Ficheiro;
  QLabel *Aviso;
  QLineEdit *PastaCópias;
  QListWidget *Cópias = nullptr;
  QPushButton *Comando[3]; // 0 "&Sair", 1 the operation, 2 "Escolher &pasta..."
  bool terminando = false;
};

// Tests: the folder picker asks this function (window, title, starting folder) instead of
// showing Qt's window; it returns the folder chosen, or an empty text when cancelled. An
// empty function puts the real window back.
using EscolhaPasta = std::function<QString(QWidget *, const QString &, const QString &)>;
void InstalarEscolhaPasta(EscolhaPasta escolha);
