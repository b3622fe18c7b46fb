#include "JanelaAjuda.h"

#include "Campos.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeySequence>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The pages live in a static library, whose resources are not registered on their own; every
// way into the help registers them first, so that callers need nothing. Q_INIT_RESOURCE
// declares the registration function where it stands, so it must stay at global scope.
static void RegistarAjuda() {
  static bool registada = false;
  if (!registada) {
    Q_INIT_RESOURCE(ajuda);
    registada = true;
  }
}

namespace {

// In the order of the contents page.
const char16_t *const NomesPáginas[] = {
    u"indice",
    u"como-usar",
    u"geral",
    u"base",
    u"dados-pessoais",
    u"quotizacoes",
    u"menu",
    u"ficha-socio",
    u"tabelas",
    u"colectividade",
    u"procurar",
    u"listagem",
    u"impressao-listagem",
    u"quotas-atraso",
    u"quotas-divida",
    u"mapa-quotas",
    u"taloes-recibo",
    u"declaracao-irs",
    u"codigo-entrada",
    u"codigo-acesso",
    u"seguranca",
    u"reposicao",
    u"impressora",
};

const QString PáginaÍndice = u"indice"_s;

// "base", "base.html", "base#topo" → qrc:/ajuda/base.html[#topo]; anything else → contents.
QUrl EndereçoPágina(const QString &pedido) {
  QString nome = pedido.trimmed();
  QString âncora;
  if (const qsizetype c = nome.indexOf(u'#'); c >= 0) {
    âncora = nome.mid(c + 1);
    nome.truncate(c);
  }
  if (nome.endsWith(u".html"_s))
    nome.chop(5);
  if (!PáginasAjuda().contains(nome)) {
    nome = PáginaÍndice;
    âncora.clear();
  }
  QUrl url(u"qrc:/ajuda/"_s + nome + u".html"_s);
  if (!âncora.isEmpty())
    url.setFragment(âncora);
  return url;
}

// True when `w` is `antepassado` or lies, window after window, under it.
bool ÉDescendente(const QWidget *w, const QWidget *antepassado) {
  for (; w; w = w->parentWidget())
    if (w == antepassado)
      return true;
  return false;
}

class JanelaAjuda : public QWidget {
public:
  explicit JanelaAjuda(QWidget *dono);

  void Mostrar(const QUrl &endereço);

  // Puts the window under another window (or none), keeping its place, page and history.
  void MudarDono(QWidget *dono);

protected:
  void closeEvent(QCloseEvent *e) override;
  bool eventFilter(QObject *o, QEvent *e) override;

private:
  QTextBrowser *Texto;
  bool pedida = false; // the user has it open (it may be hidden with its owner for a moment)
  bool dimensionada = false;
};

JanelaAjuda::JanelaAjuda(QWidget *dono) : QWidget(dono, Qt::Window) {
  setObjectName(u"JanelaAjuda"_s);
  setWindowTitle(u"Ajuda - Ficheiro de Sócios e Quotizações"_s);
  // Closing the help never ends the program, whatever else is on screen.
  setAttribute(Qt::WA_QuitOnClose, false);

  Texto = new QTextBrowser(this);
  Texto->setObjectName(u"Texto"_s);
  Texto->setOpenExternalLinks(false);
  Texto->document()->setDocumentMargin(fontMetrics().averageCharWidth() * 2);
  QFile estilo(u":/ajuda/estilo.css"_s);
  if (estilo.open(QIODevice::ReadOnly))
    Texto->document()->setDefaultStyleSheet(QString::fromUtf8(estilo.readAll()));

  auto *barra = new QToolBar(this);
  barra->setObjectName(u"Barra"_s);
  barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  barra->setMovable(false);

  const auto botão = [&](QStyle::StandardPixmap ícone, const QString &texto, const QString &nome,
                         const QKeySequence &tecla, const QString &dica) {
    QAction *a = barra->addAction(style()->standardIcon(ícone), texto);
    a->setShortcut(tecla);
    a->setToolTip(dica);
    barra->widgetForAction(a)->setObjectName(nome);
    return a;
  };
  QAction *índice = botão(QStyle::SP_FileDialogContentsView, u"Índice"_s, u"Indice"_s,
                          QKeySequence(Qt::ALT | Qt::Key_Home), u"Índice da Ajuda (Alt+Home)"_s);
  QAction *anterior = botão(QStyle::SP_ArrowBack, u"Anterior"_s, u"Anterior"_s,
                            QKeySequence(Qt::ALT | Qt::Key_Left),
                            u"Página vista antes desta (Alt+Seta para a esquerda)"_s);
  QAction *seguinte = botão(QStyle::SP_ArrowForward, u"Seguinte"_s, u"Seguinte"_s,
                            QKeySequence(Qt::ALT | Qt::Key_Right),
                            u"Página de onde recuou (Alt+Seta para a direita)"_s);
  anterior->setEnabled(false);
  seguinte->setEnabled(false);
  connect(índice, &QAction::triggered, this, [this] { Texto->setSource(EndereçoPágina({})); });
  connect(anterior, &QAction::triggered, Texto, &QTextBrowser::backward);
  connect(seguinte, &QAction::triggered, Texto, &QTextBrowser::forward);
  connect(Texto, &QTextBrowser::backwardAvailable, anterior, &QAction::setEnabled);
  connect(Texto, &QTextBrowser::forwardAvailable, seguinte, &QAction::setEnabled);

  auto *fechar = new QAction(this);
  fechar->setShortcut(QKeySequence(Qt::Key_Escape));
  connect(fechar, &QAction::triggered, this, &QWidget::close);
  addAction(fechar);
  auto *maior = new QAction(this);
  maior->setShortcuts(QKeySequence::ZoomIn);
  connect(maior, &QAction::triggered, Texto, [this] { Texto->zoomIn(1); });
  addAction(maior);
  auto *menor = new QAction(this);
  menor->setShortcuts(QKeySequence::ZoomOut);
  connect(menor, &QAction::triggered, Texto, [this] { Texto->zoomOut(1); });
  addAction(menor);

  auto *disposição = new QVBoxLayout(this);
  disposição->setContentsMargins(0, 0, 0, 0);
  disposição->setSpacing(0);
  disposição->addWidget(barra);
  disposição->addWidget(Texto, 1);
  setFocusProxy(Texto);

  if (dono && dono->isModal())
    dono->installEventFilter(this);
}

void JanelaAjuda::Mostrar(const QUrl &endereço) {
  pedida = true;
  Texto->setSource(endereço);
  if (!dimensionada) {
    dimensionada = true;
    QSize tamanho(fontMetrics().averageCharWidth() * 95, fontMetrics().height() * 36);
    if (const QScreen *ecrã = parentWidget() ? parentWidget()->screen() : screen())
      tamanho = tamanho.boundedTo(ecrã->availableSize() * 9 / 10);
    resize(tamanho);
    // Over the window it was asked from, and whole on its screen.
    CentrarJanela(this, parentWidget());
  }
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  Texto->setFocus(Qt::OtherFocusReason);
}

void JanelaAjuda::MudarDono(QWidget *dono) {
  if (parentWidget() == dono)
    return;
  if (QWidget *antigo = parentWidget())
    antigo->removeEventFilter(this);
  const QRect lugar = geometry();
  setParent(dono, windowFlags()); // hides the window; it stays a window of its own
  setGeometry(lugar);
  if (dono && dono->isModal())
    dono->installEventFilter(this);
  if (pedida)
    show();
}

void JanelaAjuda::closeEvent(QCloseEvent *e) {
  pedida = false;
  e->accept(); // only hidden: the next opening keeps the history
}

// A modal owner going away takes its child windows with it: the help moves to the window
// below first, and stays open if the user had it open.
bool JanelaAjuda::eventFilter(QObject *o, QEvent *e) {
  if (e->type() == QEvent::Hide && !e->spontaneous() && o == parentWidget() &&
      parentWidget()->isModal()) {
    QWidget *dono = parentWidget();
    MudarDono(dono->parentWidget() ? dono->parentWidget()->window() : nullptr);
  }
  return QWidget::eventFilter(o, e);
}

QPointer<JanelaAjuda> &Instância() {
  static QPointer<JanelaAjuda> janela;
  return janela;
}

} // namespace

void MostrarAjuda(QWidget *pai, const QString &página) {
  RegistarAjuda();
  QWidget *dono = pai ? pai->window() : nullptr;
  // A modal window blocks every window that is not under it, the help included.
  QWidget *modal = QApplication::activeModalWidget();
  if (modal && !ÉDescendente(dono, modal))
    dono = modal;

  QPointer<JanelaAjuda> &janela = Instância();
  if (!janela)
    janela = new JanelaAjuda(dono);
  else if ((modal && !ÉDescendente(janela, modal)) || (!janela->parentWidget() && dono))
    janela->MudarDono(dono);
  janela->Mostrar(EndereçoPágina(página));
}

QStringList PáginasAjuda() {
  RegistarAjuda();
  QStringList nomes;
  for (const char16_t *n : NomesPáginas)
    nomes.append(QString::fromUtf16(n));
  return nomes;
}

// The menu speaks of the help file "quotas.HLP": that help is the set of pages compiled into the
// program under this name, with nothing to install beside it.
QString NomeFicheiroAjuda() {
  return u"quotas.HLP"_s;
}

QWidget *JanelaAjudaAberta() {
  return Instância().data();
}
