#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <limits>
#include <memory>

class QPrinter;
class QWidget;
class GravadorImpressão;

// The print surface that every report writes on. Positions and widths are in twips
// (1/1440 inch) from the top left corner of the printable area; font sizes in points. It
// keeps a current position as a line printer does: printing a text moves it to the end of
// the text, or to the start of the next line; a line that would pass the bottom of the page
// starts a new page first.

struct FonteImpressão {
  QString nome = QStringLiteral("Times New Roman");
  double tamanho = 12;
  bool negrito = false;
  bool sublinhado = false;
  bool operator==(const FonteImpressão &) const = default;
};

// The font as Qt draws it in a twips coordinate system. "Times New Roman" and "Arial" fall
// back to their metric twins (Liberation Serif and Sans) where the originals are missing.
QFont FonteQt(const FonteImpressão &f);
double MedirTexto(const FonteImpressão &f, const QString &texto);
double AlturaDaLinha(const FonteImpressão &f);

// A text as it fits a room: the text (whole or cut), the size in points it prints at and its
// printed width (without trailing blanks).
struct TextoAjustado {
  QString texto;
  double tamanho;
  double largura;
};

// The share of its size that a report's text may shrink to before it is cut instead.
inline constexpr double ReduçãoMáxima = 0.7;

// What the glyphs of `texto` cover, printed in `f` with the top of its line at (0, 0).
QRectF TintaDoTexto(const FonteImpressão &f, const QString &texto);

// Fits `texto`, in `f`, within `largura` twips (trailing blanks take no room) and, when `fundo`
// is given, with its ink ending at most `fundo` twips below the top of its line. It keeps its
// size when it fits; else it takes the largest smaller size that fits, down to `redução` times
// its size (1 point at least); what still does not fit at that size is cut before a blank (the
// last one that leaves a text that fits) or, when even its first word is too wide, after the
// last character that fits.
TextoAjustado AjustarTexto(const FonteImpressão &f, const QString &texto, double largura,
                           double redução = ReduçãoMáxima,
                           double fundo = std::numeric_limits<double>::infinity());

class Impressão {
public:
  virtual ~Impressão();
  Impressão(const Impressão &) = delete;
  Impressão &operator=(const Impressão &) = delete;

  void DefinirFonte(const QString &nome) { fonte.nome = nome; }
  void DefinirTamanho(double pontos) { fonte.tamanho = pontos; }
  void DefinirNegrito(bool b) { fonte.negrito = b; }
  void DefinirSublinhado(bool b) { fonte.sublinhado = b; }
  const FonteImpressão &Fonte() const { return fonte; }

  double LarguraPágina() const { return largura; }
  double AlturaPágina() const { return altura; }
  // Where the printable area starts on the sheet, in twips from its left and top edges, for
  // what must land on a given place of the paper (an address behind an envelope's window).
  double MargemEsquerda() const { return margemEsquerda; }
  double MargemTopo() const { return margemTopo; }
  double LarguraTexto(const QString &texto) const { return MedirTexto(fonte, texto); }
  double AlturaLinha() const { return AlturaDaLinha(fonte); }

  double X() const { return x; }
  double Y() const { return y; }
  void DefinirX(double v) { x = v; }
  void DefinirY(double v) { y = v; }

  // Moves the coordinate origin to (dx, dy) from the top left corner of the printable area,
  // so that a block drawn for the origin lands elsewhere on the page. The print position stays
  // where it is on the paper (its coordinates change with the origin), so what follows a
  // shifted block goes on below it and never over it.
  void DefinirOrigem(double dx, double dy);
  double OrigemX() const { return origemX; }
  double OrigemY() const { return origemY; }

  // Prints at the current position; then moves to the end of the text, or to the start of
  // the next line when `terminarLinha`.
  void Imprimir(const QString &texto, bool terminarLinha = true);
  void LinhaVazia() { Imprimir(QString(), true); }
  // Prints `texto` at the current position as AjustarTexto fits it within `espaço` twips, on
  // the baseline the current font has there (a smaller text stands on the line with the others),
  // then goes on as Imprimir does, the current font unchanged. Returns what was printed.
  TextoAjustado ImprimirAjustado(const QString &texto, double espaço, bool terminarLinha = true,
                                 double redução = ReduçãoMáxima);
  // Prints a text fitted beforehand (in the current font but for its size) the same way.
  void Imprimir(const TextoAjustado &a, bool terminarLinha = true);
  // Starts a new page first when `alturaTwips` from the current position would pass the
  // bottom, so that texts placed side by side at one height stay on one page together.
  void ReservarEspaço(double alturaTwips);

  void Linha(double x1, double y1, double x2, double y2, bool tracejada = false);
  void Rectângulo(double x1, double y1, double x2, double y2, bool tracejada = false);

  void NovaPágina();
  int Página() const { return página; }
  // Called after a page that the surface started on its own, so that a report can print
  // its page header there.
  std::function<void(Impressão &)> AoMudarDePágina;

  // Sends the document to its destination; a surface that went to a file says where.
  void TerminarDocumento();
  bool Terminado() const { return terminado; }
  // False when the document ended without reaching its destination (its preview was closed
  // without printing): whatever a report stores as printed must not be stored.
  bool Impresso() const { return impresso; }

  // Draws again what `gravação` kept, each page on a page of its own and everything where it
  // was recorded, in its font: nothing is measured or laid out again. Only the pages for which
  // `incluirPágina` answers true, when it is given.
  void Reproduzir(const GravadorImpressão &gravação,
                  const std::function<bool(int)> &incluirPágina = {});

protected:
  Impressão(double larguraTwips, double alturaTwips);
  virtual void DesenharTexto(double x, double y, const QString &texto, const FonteImpressão &f) = 0;
  virtual void DesenharLinha(const QLineF &l, bool tracejada) = 0;
  virtual void DesenharRectângulo(const QRectF &r, bool tracejada) = 0;
  virtual void MudarPágina() = 0;
  virtual void Concluir() = 0;
  // Called from Concluir() when the document goes nowhere.
  void MarcarNãoImpresso() { impresso = false; }
  // The backend's sheet: until it says otherwise, an A4 sheet with the printable area in its
  // middle.
  void DefinirMargens(double esquerda, double topo) {
    margemEsquerda = esquerda;
    margemTopo = topo;
  }

private:
  FonteImpressão fonte;
  double largura;
  double altura;
  double x = 0;
  double y = 0;
  double origemX = 0;
  double origemY = 0;
  double margemEsquerda;
  double margemTopo;
  int página = 1;
  bool terminado = false;
  bool impresso = true;
};

// Keeps everything printed, with position, page and font, instead of printing it.
class GravadorImpressão : public Impressão {
public:
  // An A4 page with the margins of a common laser printer.
  explicit GravadorImpressão(double larguraTwips = 10772, double alturaTwips = 15704)
      : Impressão(larguraTwips, alturaTwips) {}

  struct Texto {
    int página;
    double x, y;
    QString texto;
    FonteImpressão fonte;
    bool operator==(const Texto &) const = default;
  };
  struct Traço {
    int página;
    QLineF linha;
    bool tracejada;
    bool rectângulo;
    bool operator==(const Traço &) const = default;
  };
  QList<Texto> textos;
  QList<Traço> traços;
  int páginas = 1;
  // Called when the document ends, so that a test can keep what a window printed.
  std::function<void(const GravadorImpressão &)> aoTerminar;

  // The first text run equal to `texto`, or nullptr.
  const Texto *Procurar(const QString &texto) const;
  // The non-empty texts in printing order.
  QStringList Textos() const;

protected:
  void DesenharTexto(double x, double y, const QString &texto, const FonteImpressão &f) override;
  void DesenharLinha(const QLineF &l, bool tracejada) override;
  void DesenharRectângulo(const QRectF &r, bool tracejada) override;
  void MudarPágina() override { ++páginas; }
  void Concluir() override {
    if (aoTerminar)
      aoTerminar(*this);
  }
};

// A QPainter on a QPrinter: a real printer or a PDF file.
class ImpressoraQt : public Impressão {
public:
  // Printing starts at once, as a job named `nomeDocumento` (the print queue's job name, a
  // PDF's title). When the printer writes a PDF, `aoConcluir` is told its path.
  ImpressoraQt(QPrinter &impressora, const QString &nomeDocumento,
               std::function<void(const QString &)> aoConcluir = {});
  // The same on a printer that lives as long as the document.
  ImpressoraQt(std::unique_ptr<QPrinter> impressora, const QString &nomeDocumento,
               std::function<void(const QString &)> aoConcluir = {});
  ~ImpressoraQt() override;

  // From here on everything is drawn `factor` times its size: a document kept for a larger
  // page still fits whole on this one.
  void Escalar(double factor);

protected:
  void DesenharTexto(double x, double y, const QString &texto, const FonteImpressão &f) override;
  void DesenharLinha(const QLineF &l, bool tracejada) override;
  void DesenharRectângulo(const QRectF &r, bool tracejada) override;
  void MudarPágina() override;
  void Concluir() override;

private:
  ImpressoraQt(QPrinter *, QPrinter &impressora, const QString &nomeDocumento,
               std::function<void(const QString &)> aoConcluir);
  struct Privado;
  std::unique_ptr<Privado> d;
};

// The printer chosen with "Configurar Impressora" for the rest of the run (the system's
// default until then).
QPrinter &ImpressoraEscolhida();
// Shows the platform's print set-up; returns true when the user confirmed a choice.
bool ConfigurarImpressora(QWidget *pai);
// Tests: forgets the choice made in the set-up, as at the program's start.
void EsquecerImpressoraEscolhida();

// Whether every document is first shown in a preview window, from which the user prints it
// or closes it unprinted. Off at every start; the main window's "Arquivo" menu turns it on.
bool PréVisualizarImpressões();
void DefinirPréVisualizarImpressões(bool ligada);

// Opens a print document named after the report. With no printer installed (and none
// chosen), or when the set-up chose to print to a file, the document becomes a PDF of its
// own in the folder "Impressões" beside Quotas.Dad, named after the report and the time,
// and the user is told where it went when it ends. With the preview on, the document is
// kept on a page of the destination's size and shown over `pai` when it ends; only
// "Imprimir" there sends it on.
std::unique_ptr<Impressão> AbrirImpressão(const QString &nomeDocumento, QWidget *pai = nullptr);

// The same for a numbered document (receipt stubs), which goes out whole or not at all: no
// print dialog offers a page range, a page set or a selection, and none left on the printer by
// an earlier document applies. `entregar` is called once, after every dialog and just before
// anything reaches the printer or the file (with the preview on, only when the user prints
// from it), so that what it stores is stored before the document can come out; when it
// throws, nothing is printed and the exception goes on to the caller (from TerminarDocumento,
// with the preview on). The documents of a factory are handed over as they are made.
std::unique_ptr<Impressão> AbrirImpressãoInteira(const QString &nomeDocumento, QWidget *pai,
                                                 const std::function<void()> &entregar);

// Tests: documents go to the surface this factory makes, preview or not; an empty function
// restores printing.
void InstalarFábricaImpressão(std::function<std::unique_ptr<Impressão>(const QString &)> f);

// Where a PDF of the document would go now: Impressões/<name> <date> <time>.pdf.
QString CaminhoPdf(const QString &nomeDocumento);

// Lines of at most `largura` twips as `medir` measures them. Each word keeps the blank that
// follows it; a word wider than a line goes on lines of its own, cut at the width; a line
// break in the text starts a new line (a paragraph). The first line of each paragraph is
// `recuo` twips narrower, for paragraphs whose first line is indented.
QStringList QuebrarTexto(const QString &texto, double largura,
                         const std::function<double(const QString &)> &medir, double recuo = 0);
