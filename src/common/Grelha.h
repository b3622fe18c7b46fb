#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

class QHBoxLayout;
class QLabel;
class QScrollBar;
class QTableWidget;

// A grid of a few visible rows with a vertical scroll bar of its own, as the windows of this
// program show their lists: the bar's value is the 1-based line shown in the first row, and
// the lines from there fill the rows. The window sets the bar's range (the member screen lets
// every line reach the top; the reports stop when the last line is in the last row).
//
// It works from the keyboard alone: on the grid or on its bar, Up and Down move one line,
// Page Up and Page Down one screenful, Home and End to the ends; Tab leaves it. A click on a row
// brings that row's line to the top; the wheel scrolls.
class GrelhaComBarra : public QWidget {
public:
  struct Coluna {
    int twips;      // designed width; widened when the font needs more room for `modelo`
    QString modelo; // the widest text expected
    Qt::Alignment alinhamento = Qt::AlignLeft | Qt::AlignVCenter;
  };

  // `nomeGrelha` and `nomeBarra` are the widgets' object names (tests find them so).
  GrelhaComBarra(int linhasVisíveis, const QList<Coluna> &colunas, const QString &nomeGrelha,
                 const QString &nomeBarra, QWidget *pai = nullptr);

  QTableWidget *Grelha() const { return grelha; }
  QScrollBar *Barra() const { return barra; }
  int LinhasVisíveis() const { return visíveis; }

  // The lines, cells separated by tabs, each shown from its character `inícioVisível` on (a
  // sort key kept in front of what the user sees); the bar's range and value, set as
  // Posicionar sets them. The rows are filled once.
  void DefinirLinhas(const QStringList &linhas, int mínimo, int máximo, int valor,
                     qsizetype inícioVisível = 0);
  const QStringList &Linhas() const { return texto; }

  // Sets the bar's range and value without calling AoMudar; then fills the rows.
  void Posicionar(int mínimo, int máximo, int valor);
  int Valor() const;

  // Called after the user moved the bar (by any means) and the rows were filled again.
  std::function<void(int valor)> AoMudar;

  // Width of the grid's columns, for headings placed above them.
  int LarguraColuna(int c) const;

protected:
  bool eventFilter(QObject *o, QEvent *e) override;

private:
  void Preencher();

  QTableWidget *grelha;
  QScrollBar *barra;
  int visíveis;
  QList<Coluna> colunas;
  QStringList texto;
  qsizetype saltar = 0; // DefinirLinhas' inícioVisível
};

// The raised titles over a grid's columns, each as wide as its column (the outer two take the
// grid's frame as well), named "Rótulo_<n>", in a row that ends in a stretch. A column with no
// title in `títulos` gets an empty one. The labels made go to `rótulos` when given.
QHBoxLayout *TítulosDasColunas(const GrelhaComBarra &g, const QStringList &títulos,
                               QList<QLabel *> *rótulos = nullptr);
