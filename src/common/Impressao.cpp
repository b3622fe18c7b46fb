#include "Impressao.h"

#include "Dados.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Permissoes.h"
#include "Relogio.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

// Where the originals are missing, their metric twins keep every measured width the same.
void RegistarSubstitutos() {
  static const bool feito = [] {
    QFont::insertSubstitution(u"Times New Roman"_s, u"Liberation Serif"_s);
    QFont::insertSubstitution(u"Arial"_s, u"Liberation Sans"_s);
    QFont::insertSubstitution(u"Courier New"_s, u"Liberation Mono"_s);
    return true;
  }();
  Q_UNUSED(feito);
}

std::function<std::unique_ptr<Impressão>(const QString &)> &Fábrica() {
  static std::function<std::unique_ptr<Impressão>(const QString &)> f;
  return f;
}

bool &ImpressoraConfigurada() {
  static bool configurada = false;
  return configurada;
}

QSizeF TamanhoImprimível(const QPrinter &p) {
  const QRectF r = p.pageLayout().paintRect(QPageLayout::Inch);
  return {r.width() * 1440.0, r.height() * 1440.0};
}

// Where the printable area starts on the sheet, in twips.
QPointF CantoImprimível(const QPrinter &p) {
  const QRectF r = p.pageLayout().paintRect(QPageLayout::Inch);
  return {r.left() * 1440.0, r.top() * 1440.0};
}

constexpr double EspessuraTraço = 15; // twips: three quarters of a point

// A PDF gets the printable area of an ordinary office printer, which cannot reach the outer
// 4 to 6 mm of the sheet: printed later at its real size, nothing of it is clipped.
constexpr double MargemPdfMm = 6;

std::unique_ptr<QPrinter> ImpressoraPdf(const QString &caminho, const QPageSize &papel,
                                        QPageLayout::Orientation orientação) {
  auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
  pdf->setOutputFormat(QPrinter::PdfFormat);
  pdf->setOutputFileName(caminho);
  pdf->setPageLayout(QPageLayout(papel, orientação,
                                 QMarginsF(MargemPdfMm, MargemPdfMm, MargemPdfMm, MargemPdfMm),
                                 QPageLayout::Millimeter));
  return pdf;
}

} // namespace

QFont FonteQt(const FonteImpressão &f) {
  RegistarSubstitutos();
  QFont q(f.nome);
  // One font pixel per twip: the same numbers measure the page and draw on it.
  q.setPixelSize(std::max(1, qRound(f.tamanho * 20)));
  q.setBold(f.negrito);
  q.setUnderline(f.sublinhado);
  q.setHintingPreference(QFont::PreferNoHinting);
  q.setKerning(false);
  return q;
}

namespace {

struct MedidasFonte {
  QFont fonte;
  QFontMetricsF medidas;
};

// A report measures and draws thousands of texts in a handful of fonts: each font and its
// metrics are made once, not at every text (which cost a stub run half its time).
const MedidasFonte &Medidas(const FonteImpressão &f) {
  static FonteImpressão última;
  static const MedidasFonte *últimas = nullptr;
  if (últimas && f == última)
    return *últimas;
  static QHash<QString, std::shared_ptr<const MedidasFonte>> feitas;
  const QString chave = f.nome + u'|' + QString::number(qRound(f.tamanho * 20)) +
                        (f.negrito ? u"N"_s : QString()) + (f.sublinhado ? u"S"_s : QString());
  auto &m = feitas[chave];
  if (!m) {
    const QFont q = FonteQt(f);
    m = std::make_shared<const MedidasFonte>(MedidasFonte{q, QFontMetricsF(q)});
  }
  última = f;
  últimas = m.get();
  return *m;
}

} // namespace

double MedirTexto(const FonteImpressão &f, const QString &texto) {
  return Medidas(f).medidas.horizontalAdvance(texto);
}

double AlturaDaLinha(const FonteImpressão &f) {
  return Medidas(f).medidas.height();
}

QRectF TintaDoTexto(const FonteImpressão &f, const QString &texto) {
  const QFontMetricsF &m = Medidas(f).medidas;
  return m.tightBoundingRect(texto).translated(0, m.ascent());
}

namespace {

QString SemBrancosNoFim(const QString &texto) {
  qsizetype n = texto.size();
  while (n > 0 && texto[n - 1].isSpace())
    --n;
  return texto.left(n);
}

} // namespace

TextoAjustado AjustarTexto(const FonteImpressão &f, const QString &texto, double largura,
                           double redução, double fundo) {
  FonteImpressão g = f;
  const auto medir = [&](double tamanho, const QString &t) {
    g.tamanho = tamanho;
    const QString visível = SemBrancosNoFim(t);
    const double w = MedirTexto(g, visível);
    const bool cabe = w <= largura && (visível.isEmpty() || std::isinf(fundo) ||
                                       TintaDoTexto(g, visível).bottom() <= fundo);
    return std::pair{w, cabe};
  };
  auto [medida, cabe] = medir(f.tamanho, texto);
  if (cabe)
    return {texto, f.tamanho, medida};
  // Sizes go by twentieths of a point, a pixel of the twips font; the first guess is the size
  // at which the width would just fit.
  const double menor = std::max(1.0, std::ceil(f.tamanho * redução * 20) / 20);
  double t = f.tamanho - 0.05;
  if (medida > largura && medida > 0)
    t = std::min(t, std::floor(f.tamanho * largura / medida * 20) / 20);
  for (t = std::max(t, menor);; t = std::max(menor, t - 0.05)) {
    std::tie(medida, cabe) = medir(t, texto);
    if (cabe)
      return {texto, t, medida};
    if (t <= menor)
      break;
  }
  // Still too wide at the smallest size: whole words while they fit, else the characters that do.
  for (qsizetype i = texto.size() - 1; i > 0; --i) {
    if (texto[i] != u' ')
      continue;
    const QString parte = SemBrancosNoFim(texto.left(i));
    if (parte.isEmpty())
      break;
    std::tie(medida, cabe) = medir(t, parte);
    if (cabe)
      return {parte, t, medida};
  }
  QString parte = SemBrancosNoFim(texto);
  while (!parte.isEmpty()) {
    parte.chop(parte.size() > 1 && parte[parte.size() - 1].isLowSurrogate() ? 2 : 1);
    std::tie(medida, cabe) = medir(t, parte);
    if (cabe)
      break;
  }
  return {parte, t, parte.isEmpty() ? 0 : medida};
}

// --- the surface ---------------------------------------------------------------------------

Impressão::Impressão(double l, double a)
    : largura(l), altura(a), margemEsquerda(std::max(0.0, (11906 - l) / 2)),
      margemTopo(std::max(0.0, (16838 - a) / 2)) {}
Impressão::~Impressão() = default;

void Impressão::DefinirOrigem(double dx, double dy) {
  x += origemX - dx;
  y += origemY - dy;
  origemX = dx;
  origemY = dy;
}

void Impressão::ReservarEspaço(double alturaTwips) {
  // The bottom of the page is where the paper ends, wherever the origin stands.
  const double naFolha = y + origemY;
  if (naFolha + alturaTwips > altura && naFolha > 0) {
    NovaPágina();
    if (AoMudarDePágina)
      AoMudarDePágina(*this);
  }
}

void Impressão::Imprimir(const QString &texto, bool terminarLinha) {
  const double h = AlturaLinha();
  ReservarEspaço(h);
  if (!texto.isEmpty())
    DesenharTexto(x + origemX, y + origemY, texto, fonte);
  if (terminarLinha) {
    x = 0;
    y += h;
  } else {
    x += LarguraTexto(texto);
  }
}

TextoAjustado Impressão::ImprimirAjustado(const QString &texto, double espaço, bool terminarLinha,
                                          double redução) {
  const TextoAjustado a = AjustarTexto(fonte, texto, espaço, redução);
  Imprimir(a, terminarLinha);
  return a;
}

void Impressão::Imprimir(const TextoAjustado &a, bool terminarLinha) {
  if (a.tamanho == fonte.tamanho) {
    Imprimir(a.texto, terminarLinha);
    return;
  }
  const double h = AlturaLinha();
  ReservarEspaço(h);
  FonteImpressão menor = fonte;
  menor.tamanho = a.tamanho;
  const double descida = Medidas(fonte).medidas.ascent() - Medidas(menor).medidas.ascent();
  if (!a.texto.isEmpty())
    DesenharTexto(x + origemX, y + origemY + descida, a.texto, menor);
  if (terminarLinha) {
    x = 0;
    y += h;
  } else {
    x += MedirTexto(menor, a.texto);
  }
}

void Impressão::Linha(double x1, double y1, double x2, double y2, bool tracejada) {
  DesenharLinha(QLineF(x1, y1, x2, y2).translated(origemX, origemY), tracejada);
}

void Impressão::Rectângulo(double x1, double y1, double x2, double y2, bool tracejada) {
  DesenharRectângulo(
      QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized().translated(origemX, origemY),
      tracejada);
}

void Impressão::NovaPágina() {
  MudarPágina();
  ++página;
  x = 0;
  y = 0;
}

QStringList QuebrarTexto(const QString &texto, double largura,
                         const std::function<double(const QString &)> &medir, double recuo) {
  QStringList linhas;
  for (const QString &parágrafo : texto.split(u'\n')) {
    QString s = parágrafo + u' ';
    QString linha;
    bool primeira = true;
    const auto limite = [&] { return primeira ? largura - recuo : largura; };
    const auto fechar = [&](const QString &l) {
      linhas << l;
      primeira = false;
    };
    while (!s.isEmpty()) {
      const qsizetype p = s.indexOf(u' ') + 1; // one word and its blank
      const QString candidata = linha + s.left(p);
      if (medir(candidata) <= limite()) {
        linha = candidata;
        s.remove(0, p);
      } else if (!linha.isEmpty()) {
        fechar(linha);
        linha.clear();
      } else {
        // A word wider than the line: as much of it as fits, the rest on the next line.
        qsizetype cabe = 1;
        while (cabe < p && medir(s.left(cabe + 1)) <= limite())
          ++cabe;
        fechar(s.left(cabe));
        s.remove(0, cabe);
      }
    }
    linhas << linha;
  }
  return linhas;
}

void Impressão::TerminarDocumento() {
  if (terminado)
    return;
  terminado = true;
  Concluir();
}

void Impressão::Reproduzir(const GravadorImpressão &g,
                           const std::function<bool(int)> &incluirPágina) {
  // Both lists come in page order: one pass over each, a page at a time.
  qsizetype t = 0;
  qsizetype l = 0;
  bool primeira = true;
  for (int p = 1; p <= g.páginas; ++p) {
    const bool incluída = !incluirPágina || incluirPágina(p);
    if (incluída && !primeira)
      NovaPágina();
    for (; t < g.textos.size() && g.textos[t].página <= p; ++t)
      if (incluída)
        DesenharTexto(g.textos[t].x, g.textos[t].y, g.textos[t].texto, g.textos[t].fonte);
    for (; l < g.traços.size() && g.traços[l].página <= p; ++l) {
      const GravadorImpressão::Traço &r = g.traços[l];
      if (incluída && r.rectângulo)
        DesenharRectângulo(QRectF(r.linha.p1(), r.linha.p2()), r.tracejada);
      else if (incluída)
        DesenharLinha(r.linha, r.tracejada);
    }
    primeira = primeira && !incluída;
  }
}

// --- the recorder --------------------------------------------------------------------------

void GravadorImpressão::DesenharTexto(double emX, double emY, const QString &texto,
                                      const FonteImpressão &f) {
  textos.append({Página(), emX, emY, texto, f});
}

void GravadorImpressão::DesenharLinha(const QLineF &l, bool tracejada) {
  traços.append({Página(), l, tracejada, false});
}

void GravadorImpressão::DesenharRectângulo(const QRectF &r, bool tracejada) {
  traços.append({Página(), QLineF(r.topLeft(), r.bottomRight()), tracejada, true});
}

const GravadorImpressão::Texto *GravadorImpressão::Procurar(const QString &texto) const {
  for (const Texto &t : textos)
    if (t.texto == texto)
      return &t;
  return nullptr;
}

QStringList GravadorImpressão::Textos() const {
  QStringList r;
  for (const Texto &t : textos)
    r << t.texto;
  return r;
}

// --- the printer ---------------------------------------------------------------------------

struct ImpressoraQt::Privado {
  std::unique_ptr<QPrinter> própria; // a PDF printer made for one document
  QPrinter &impressora;
  std::function<void(const QString &)> aoConcluir;
  // What the painter holds now, so that a run of texts in one font does not set it again.
  const void *fonteActual = nullptr;
  bool canetaTexto = false;
  QPainter pintor; // declared last, so it ends before the printer goes
};

ImpressoraQt::ImpressoraQt(QPrinter &impressora, const QString &nomeDocumento,
                           std::function<void(const QString &)> aoConcluir)
    : ImpressoraQt(nullptr, impressora, nomeDocumento, std::move(aoConcluir)) {}

ImpressoraQt::ImpressoraQt(std::unique_ptr<QPrinter> própria, const QString &nomeDocumento,
                           std::function<void(const QString &)> aoConcluir)
    : ImpressoraQt(própria.get(), *própria, nomeDocumento, std::move(aoConcluir)) {
  d->própria = std::move(própria);
}

ImpressoraQt::ImpressoraQt(QPrinter *, QPrinter &impressora, const QString &nomeDocumento,
                           std::function<void(const QString &)> aoConcluir)
    : Impressão(TamanhoImprimível(impressora).width(), TamanhoImprimível(impressora).height()),
      d(new Privado{nullptr, impressora, std::move(aoConcluir), nullptr, false, {}}) {
  // The printer takes the job's name only before the job starts; without it a print queue
  // shows a job with no title.
  impressora.setDocName(nomeDocumento);
  // A PDF the document makes is its owner's alone: the writer finds the file there and keeps
  // its rights. A file chosen that already exists keeps its own. A preview draws on a picture
  // engine and writes no file.
  const QPaintEngine *motor = impressora.paintEngine();
  const QString ficheiro = motor && motor->type() == QPaintEngine::Pdf &&
                                   impressora.outputFormat() == QPrinter::PdfFormat
                               ? impressora.outputFileName()
                               : QString();
  DefinirMargens(CantoImprimível(impressora).x(), CantoImprimível(impressora).y());
  const bool criado = !ficheiro.isEmpty() && CriarFicheiroDoDono(ficheiro);
  if (!d->pintor.begin(&impressora)) {
    if (criado)
      QFile::remove(ficheiro);
    throw std::runtime_error("A impressora não aceitou o documento.");
  }
  const double escala = impressora.resolution() / 1440.0;
  d->pintor.scale(escala, escala);
  d->pintor.setRenderHint(QPainter::Antialiasing);
}

ImpressoraQt::~ImpressoraQt() {
  if (d->pintor.isActive())
    d->pintor.end();
}

void ImpressoraQt::Escalar(double factor) {
  d->pintor.scale(factor, factor);
}

void ImpressoraQt::DesenharTexto(double emX, double emY, const QString &texto,
                                 const FonteImpressão &f) {
  const MedidasFonte &m = Medidas(f);
  if (d->fonteActual != &m) {
    d->pintor.setFont(m.fonte);
    d->fonteActual = &m;
  }
  if (!d->canetaTexto) {
    d->pintor.setPen(Qt::black);
    d->canetaTexto = true;
  }
  // The surface places the top of the text; the painter wants its baseline.
  d->pintor.drawText(QPointF(emX, emY + m.medidas.ascent()), texto);
}

void ImpressoraQt::DesenharLinha(const QLineF &l, bool tracejada) {
  d->canetaTexto = false;
  d->pintor.setPen(QPen(Qt::black, EspessuraTraço, tracejada ? Qt::DashLine : Qt::SolidLine));
  d->pintor.drawLine(l);
}

void ImpressoraQt::DesenharRectângulo(const QRectF &r, bool tracejada) {
  d->canetaTexto = false;
  d->pintor.setPen(QPen(Qt::black, EspessuraTraço, tracejada ? Qt::DashLine : Qt::SolidLine));
  d->pintor.setBrush(Qt::NoBrush);
  d->pintor.drawRect(r);
}

void ImpressoraQt::MudarPágina() {
  d->impressora.newPage();
}

void ImpressoraQt::Concluir() {
  d->pintor.end();
  if (d->aoConcluir && d->impressora.outputFormat() == QPrinter::PdfFormat)
    d->aoConcluir(d->impressora.outputFileName());
}

// --- choosing where documents go -----------------------------------------------------------

QPrinter &ImpressoraEscolhida() {
  static QPrinter impressora(QPrinter::HighResolution);
  return impressora;
}

bool ConfigurarImpressora(QWidget *pai) {
  QPrintDialog diálogo(&ImpressoraEscolhida(), pai);
  diálogo.setWindowTitle(u"Configurar Impressora"_s);
  diálogo.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  // Nothing is printed here: the button only keeps the choice.
  if (auto *botões = diálogo.findChild<QDialogButtonBox *>())
    if (QPushButton *ok = botões->button(QDialogButtonBox::Ok))
      ok->setText(u"OK"_s);
  if (diálogo.exec() != QDialog::Accepted)
    return false;
  ImpressoraConfigurada() = true;
  return true;
}

void EsquecerImpressoraEscolhida() {
  ImpressoraConfigurada() = false;
  ImpressoraEscolhida().setOutputFileName({});
}

QString CaminhoPdf(const QString &nomeDocumento) {
  const QString ficheiroDados = Dados().bd.Aberta() ? Dados().bd.Caminho() : NomeFicheiroDados;
  const QDir pasta(QFileInfo(ficheiroDados).absoluteDir().filePath(u"Impressões"_s));
  QString nome = nomeDocumento;
  for (const QChar c : u"/\\:*?\"<>|"_s)
    nome.replace(c, u'-');
  const QString base = nome.trimmed() + u' ' + Agora().toString(u"yyyy-MM-dd HH'h'mm'm'ss's'"_s);
  QString caminho = pasta.filePath(base + u".pdf"_s);
  for (int n = 2; QFileInfo::exists(caminho); ++n)
    caminho = pasta.filePath(base + u" ("_s + QString::number(n) + u").pdf"_s);
  return caminho;
}

namespace {

bool &PréVisualização() {
  static bool ligada = false;
  return ligada;
}

void AvisarFalha(const QString &nomeDocumento, QWidget *pai) {
  Bip();
  MostrarMensagem(u"Não foi possível começar a impressão de «"_s + nomeDocumento +
                      u"».\nVerifique a impressora escolhida em «Configurar Impressora»."_s,
                  Botões::OK, Ícone::Exclamação, nomeDocumento, pai);
}

// Where a document goes: the chosen (or default) printer, or a PDF of its own, and what the
// user is told when a PDF is written.
struct Destino {
  std::unique_ptr<QPrinter> pdf;
  QPrinter *impressora = nullptr;
  std::function<void(const QString &)> avisar;
};

Destino EscolherDestino(const QString &nomeDocumento, QWidget *pai) {
  QPrinter &escolhida = ImpressoraEscolhida();
  // "Print to file" in the set-up names one fixed file, which every document would
  // overwrite: the choice is only where documents go, and each gets a PDF of its own.
  const bool ficheiroEscolhido =
      ImpressoraConfigurada() && escolhida.outputFormat() == QPrinter::PdfFormat;
  if (ImpressoraConfigurada() && !ficheiroEscolhido)
    return {nullptr, &escolhida, {}};
  if (!ficheiroEscolhido && !QPrinterInfo::defaultPrinter().isNull()) {
    escolhida.setPrinterName(QPrinterInfo::defaultPrinter().printerName());
    return {nullptr, &escolhida, {}};
  }
  const QString caminho = CaminhoPdf(nomeDocumento);
  CriarPastaDoDono(QFileInfo(caminho).absolutePath());
  const QString aviso = ficheiroEscolhido
                            ? u"O documento foi guardado no ficheiro\n"_s
                            : u"Não há impressora instalada: o documento foi guardado no "
                              u"ficheiro\n"_s;
  QPointer<QWidget> janela(pai);
  const auto avisar = [aviso, nomeDocumento, janela](const QString &ficheiro) {
    MostrarMensagem(aviso + QDir::toNativeSeparators(ficheiro), Botões::OK, Ícone::Informação,
                    nomeDocumento, janela);
  };
  // The paper chosen in the set-up is kept; with no set-up, A4.
  auto pdf = ficheiroEscolhido
                 ? ImpressoraPdf(caminho, escolhida.pageLayout().pageSize(),
                                 escolhida.pageLayout().orientation())
                 : ImpressoraPdf(caminho, QPageSize(QPageSize::A4), QPageLayout::Portrait);
  QPrinter *impressora = pdf.get();
  return {std::move(pdf), impressora, avisar};
}

// --- documents that go out whole ----------------------------------------------------------

// Drops every choice of part of a document, and of more than one copy, from the printer. CUPS keeps
// the job options of its print dialog (a server-side page range, odd or even pages) on the printer
// object, so that they would apply to every later document too.
void ImprimirTodasAsPáginas(QPrinter &impressora) {
  impressora.setPrintRange(QPrinter::AllPages);
  impressora.setPageRanges({});
  // A second copy of a numbered document would put each receipt number on paper twice.
  impressora.setCopyCount(1);
  // The CUPS print engine's job options, as name and value pairs; other engines have none.
  constexpr auto OpçõesCups = QPrintEngine::PrintEnginePropertyKey(0xfe00);
  QPrintEngine *motor = impressora.printEngine();
  if (!motor)
    return;
  const QStringList opções = motor->property(OpçõesCups).toStringList();
  QStringList ficam;
  for (qsizetype i = 0; i + 1 < opções.size(); i += 2)
    if (opções[i] != u"page-ranges"_s && opções[i] != u"page-set"_s && opções[i] != u"copies"_s)
      ficam << opções[i] << opções[i + 1];
  if (ficam.size() != opções.size())
    motor->setProperty(OpçõesCups, ficam);
}

// Qt's own print dialog on CUPS shows its page range, page list and odd/even choice even with
// the page range option off (CUPS would pick the pages on the server). They are set back to
// "all" and greyed when the dialog is shown, after the dialog has set up its widgets.
class SemEscolhaDePáginas : public QObject {
public:
  using QObject::QObject;
  bool eventFilter(QObject *o, QEvent *e) override {
    if (e->type() == QEvent::Show)
      if (auto *grupo = o->findChild<QGroupBox *>(u"gbPrintRange"_s)) {
        if (auto *todas = grupo->findChild<QRadioButton *>(u"printAll"_s))
          todas->setChecked(true);
        if (auto *conjunto = grupo->findChild<QComboBox *>(u"pageSetCombo"_s))
          conjunto->setCurrentIndex(0);
        grupo->setEnabled(false);
      }
    // One copy only: the same receipt numbers twice on paper are numbers repeated.
    if (e->type() == QEvent::Show)
      if (auto *cópias = o->findChild<QSpinBox *>(u"copies"_s)) {
        cópias->setValue(1);
        cópias->setEnabled(false);
      }
    return QObject::eventFilter(o, e);
  }
};

// The printer for a document that goes out whole: true when the user chose one.
bool EscolherImpressoraInteira(QPrinter &impressora, QWidget *pai) {
  ImprimirTodasAsPáginas(impressora);
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  // The platform's dialog takes no PDF printer: the file was chosen with the destination.
  if (impressora.outputFormat() != QPrinter::NativeFormat)
    return true;
#endif
  QPrintDialog diálogo(&impressora, pai);
  diálogo.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  SemEscolhaDePáginas filtro(&diálogo);
  diálogo.installEventFilter(&filtro);
  if (ExecutarModal(diálogo) != QDialog::Accepted)
    return false;
  ImprimirTodasAsPáginas(impressora);
  return true;
}

// Shows the recorded document on its destination's paper. Qt's "Print" there asks for the
// printer (or the file) and draws the document again on it; closing prints nothing. With
// `entregar` (a document that goes out whole), "Print" offers no choice of pages and calls it
// just before drawing; what it throws is thrown on when the preview has closed.
bool MostrarPréVisualização(const GravadorImpressão &gravação, Destino &destino,
                            const QString &nomeDocumento, QWidget *pai,
                            const std::function<void()> &entregar) {
  QPrinter &impressora = *destino.impressora;
  // The window's title names the document; a page range left from an earlier job does not
  // hide pages of this one.
  impressora.setDocName(nomeDocumento);
  impressora.setPrintRange(QPrinter::AllPages);
  impressora.setPageRanges({});
  QPrintPreviewDialog diálogo(&impressora, pai);
  bool falhou = false;
  const auto desenhar = [&](QPrinter *p) {
    if (falhou)
      return;
    const QPageRanges páginas =
        p->printRange() == QPrinter::PageRange ? p->pageRanges() : QPageRanges();
    try {
      ImpressoraQt saída(*p, nomeDocumento);
      // Paper or orientation changed in the preview: the pages were laid out for the paper
      // they were kept on, and shrink to fit rather than lose their edges.
      const double escala = std::min({1.0, saída.LarguraPágina() / gravação.LarguraPágina(),
                                      saída.AlturaPágina() / gravação.AlturaPágina()});
      if (escala < 0.999)
        saída.Escalar(escala);
      saída.Reproduzir(gravação,
                       [&páginas](int n) { return páginas.isEmpty() || páginas.contains(n); });
      saída.TerminarDocumento();
    } catch (const std::exception &) {
      falhou = true;
      AvisarFalha(nomeDocumento, &diálogo);
    }
  };
  QObject::connect(&diálogo, &QPrintPreviewDialog::paintRequested, &diálogo, desenhar);
  std::exception_ptr erro;
  if (entregar)
    for (QAction *imprimir : diálogo.findChildren<QAction *>()) {
      if (imprimir->text() != QCoreApplication::translate("QPrintPreviewDialog", "Print"))
        continue;
      QObject::disconnect(imprimir, &QAction::triggered, &diálogo, nullptr);
      QObject::connect(imprimir, &QAction::triggered, &diálogo, [&] {
        if (!EscolherImpressoraInteira(impressora, &diálogo))
          return; // the preview stays, nothing handed over
        try {
          entregar();
        } catch (...) {
          erro = std::current_exception();
          diálogo.reject();
          return;
        }
        desenhar(&impressora);
        diálogo.accept();
      });
    }
  // The report was printing under the hourglass: the preview is for the user to work in.
  const QCursor *cursor = QGuiApplication::overrideCursor();
  const Qt::CursorShape forma = cursor ? cursor->shape() : Qt::ArrowCursor;
  Ampulheta::Seta();
  if (const QScreen *ecrã = diálogo.screen())
    diálogo.resize(ecrã->availableSize() * 3 / 4);
  const bool impresso = ExecutarModal(diálogo) == QDialog::Accepted && !falhou;
  QGuiApplication::changeOverrideCursor(forma);
  if (impresso && destino.avisar && impressora.outputFormat() == QPrinter::PdfFormat)
    destino.avisar(impressora.outputFileName());
  // Nothing written: the folder made for the PDF goes again, unless it already held others.
  if (!impresso && destino.pdf)
    QDir().rmdir(QFileInfo(destino.pdf->outputFileName()).absolutePath());
  if (erro)
    std::rethrow_exception(erro);
  return impresso;
}

// Keeps the document on the destination's printable area, so that its pages break where the
// printer's will, and shows it when it ends.
class ImpressãoPréVisualizada final : public GravadorImpressão {
public:
  ImpressãoPréVisualizada(Destino d, const QString &nomeDocumento, QWidget *pai,
                          std::function<void()> aoEntregar)
      : GravadorImpressão(TamanhoImprimível(*d.impressora).width(),
                          TamanhoImprimível(*d.impressora).height()),
        destino(std::move(d)), nome(nomeDocumento), janela(pai), entregar(std::move(aoEntregar)) {
    DefinirMargens(CantoImprimível(*destino.impressora).x(),
                   CantoImprimível(*destino.impressora).y());
  }

protected:
  void Concluir() override {
    if (!MostrarPréVisualização(*this, destino, nome, janela, entregar))
      MarcarNãoImpresso();
  }

private:
  Destino destino;
  QString nome;
  QPointer<QWidget> janela;
  std::function<void()> entregar;
};

std::unique_ptr<Impressão> Abrir(const QString &nomeDocumento, QWidget *pai,
                                 const std::function<void()> &entregar) {
  if (Fábrica()) {
    auto p = Fábrica()(nomeDocumento);
    if (p && entregar)
      entregar();
    return p;
  }
  Destino destino;
  try {
    destino = EscolherDestino(nomeDocumento, pai);
  } catch (const std::exception &) {
    AvisarFalha(nomeDocumento, pai);
    return nullptr;
  }
  if (PréVisualizarImpressões())
    return std::make_unique<ImpressãoPréVisualizada>(std::move(destino), nomeDocumento, pai,
                                                     entregar);
  if (entregar) {
    ImprimirTodasAsPáginas(*destino.impressora);
    entregar();
  }
  try {
    if (destino.pdf)
      return std::make_unique<ImpressoraQt>(std::move(destino.pdf), nomeDocumento, destino.avisar);
    return std::make_unique<ImpressoraQt>(*destino.impressora, nomeDocumento);
  } catch (const std::exception &) {
    AvisarFalha(nomeDocumento, pai);
    return nullptr;
  }
}

} // namespace

bool PréVisualizarImpressões() {
  return PréVisualização();
}

void DefinirPréVisualizarImpressões(bool ligada) {
  PréVisualização() = ligada;
}

std::unique_ptr<Impressão> AbrirImpressão(const QString &nomeDocumento, QWidget *pai) {
  return Abrir(nomeDocumento, pai, {});
}

std::unique_ptr<Impressão> AbrirImpressãoInteira(const QString &nomeDocumento, QWidget *pai,
                                                 const std::function<void()> &entregar) {
  return Abrir(
      nomeDocumento, pai, entregar ? entregar : [] {});
}

void InstalarFábricaImpressão(std::function<std::unique_ptr<Impressão>(const QString &)> f) {
  Fábrica() = std::move(f);
}
