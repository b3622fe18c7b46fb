#pragma once

#include <QDialog>
#include <QList>
#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

// The editor of the three reference lists: types of quota, situations and postal codes.
// Entries are added, renamed and removed on screen; nothing reaches the database before
// "&Gravar Dados", which writes the three lists at once and reads the reference lists again.
//
// Each entry carries a state mark as its item data: 0 for a new entry, c for the saved row
// with Código c, -c for that row with a text changed on screen.
class Tabelas : public QDialog {
public:
  // Copies the three reference lists (Listas()); opened modally with exec(). After each save,
  // once the lists are read again, `aoGravar` lets the window below show them.
  explicit Tabelas(QWidget *pai, std::function<void()> aoGravar = {});

private:
  void MudarSeparador(int k);
  void ListaEscolhida(int k);
  void ListaComFoco(int k);
  void TextoComFoco(int k);
  void ComandoClicado(int i);

  // The text typed for `lista`, blanks squeezed, when it may go in: not empty, not there
  // already (the one there is selected), a postal code in the CTT form or kept as it is.
  bool TextoAceite(QListWidget *lista, QLineEdit *texto);
  void AdicionarItem(QListWidget *lista, QLineEdit *texto);
  void AlterarItem(QListWidget *lista, QLineEdit *texto);
  void EliminarItem(QListWidget *lista, QLineEdit *texto, const QString &tabela);
  // Writes one list; returns the marks its entries take once the whole save is confirmed.
  QList<qint64> GravarLista(QListWidget *lista, const QString &tipo);
  void GravarTabelas();

  std::function<void()> aoGravar;
  QTabWidget *BaseTabelas;
  int separador = 0;     // the tab the buttons work on
  QListWidget *Lista[3]; // TipoQuota, Situação, CPostal
  QLineEdit *Item[3];    // ItemTipoQuota, ItemSituação, ItemCPostal
  QPushButton *Comando[5];
  QList<qint64> Eliminar; // Códigos of saved rows removed on screen, deleted at the next save
};
