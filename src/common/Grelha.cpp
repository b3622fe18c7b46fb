#include "Grelha.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

using namespace Qt::StringLiterals;

GrelhaComBarra::GrelhaComBarra(int linhasVisíveis, const QList<Coluna> &cols,
                               const QString &nomeGrelha, const QString &nomeBarra, QWidget *pai)
    : QWidget(pai), visíveis(linhasVisíveis), colunas(cols) {
  grelha = new QTableWidget(visíveis, int(colunas.size()));
  grelha->setObjectName(nomeGrelha);
  grelha->horizontalHeader()->hide();
  grelha->verticalHeader()->hide();
  grelha->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grelha->setSelectionBehavior(QAbstractItemView::SelectRows);
  grelha->setSelectionMode(QAbstractItemView::SingleSelection);
  grelha->setFocusPolicy(Qt::StrongFocus);
  grelha->setTabKeyNavigation(false);
  grelha->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grelha->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grelha->installEventFilter(this);
  grelha->viewport()->installEventFilter(this);
  // Column widths as designed in twips, widened where this font needs more room.
  const QFontMetrics fm = grelha->fontMetrics();
  const double porTwip = grelha->logicalDpiX() / 1440.0;
  // Narrow columns (a month's mark) are narrower than the header's usual minimum.
  grelha->horizontalHeader()->setMinimumSectionSize(fm.horizontalAdvance(u"0"_s) + 8);
  int largura = 2 * grelha->frameWidth();
  for (int c = 0; c < colunas.size(); ++c) {
    grelha->setColumnWidth(
        c, std::max(int(colunas[c].twips * porTwip), fm.horizontalAdvance(colunas[c].modelo) + 14));
    largura += grelha->columnWidth(c); // as the header keeps it
  }
  for (int r = 0; r < visíveis; ++r)
    grelha->setRowHeight(r, fm.height() + 6);
  grelha->setFixedSize(largura, visíveis * (fm.height() + 6) + 2 * grelha->frameWidth());

  barra = new QScrollBar(Qt::Vertical);
  barra->setObjectName(nomeBarra);
  barra->setFixedHeight(grelha->height());
  barra->setRange(0, 0);
  barra->setPageStep(1);
  // A click on the bar leaves the keyboard on the grid: one stop in the tab order.
  barra->setFocusPolicy(Qt::ClickFocus);
  barra->setFocusProxy(grelha);
  barra->installEventFilter(this);
  connect(barra, &QScrollBar::valueChanged, this, [this](int v) {
    Preencher();
    if (AoMudar)
      AoMudar(v);
  });

  auto *l = new QHBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  l->addWidget(grelha);
  l->addWidget(barra);
  setFocusProxy(grelha);
}

int GrelhaComBarra::LarguraColuna(int c) const {
  return grelha->columnWidth(c);
}

void GrelhaComBarra::DefinirLinhas(const QStringList &linhas, int mínimo, int máximo, int valor,
                                   qsizetype inícioVisível) {
  texto = linhas;
  saltar = inícioVisível;
  Posicionar(mínimo, máximo, valor);
}

void GrelhaComBarra::Posicionar(int mínimo, int máximo, int valor) {
  barra->blockSignals(true);
  barra->setRange(mínimo, máximo);
  barra->setValue(valor);
  barra->blockSignals(false);
  Preencher();
}

int GrelhaComBarra::Valor() const {
  return barra->value();
}

// The items stay from one fill to the next and change only where their text does: a screen
// that moves from member to member redraws only what differs.
void GrelhaComBarra::Preencher() {
  grelha->clearSelection();
  const int p = barra->value();
  for (int linha = 0; linha < visíveis; ++linha) {
    const qsizetype i = qsizetype(p) - 1 + linha;
    const bool comLinha = p >= 1 && i < texto.size();
    const QStringView resto = comLinha ? QStringView(texto[i]).mid(saltar) : QStringView();
    qsizetype início = comLinha ? 0 : -1;
    for (int c = 0; c < colunas.size(); ++c) {
      if (início < 0) {
        delete grelha->takeItem(linha, c);
        continue;
      }
      const qsizetype fim = resto.indexOf(u'\t', início);
      const QStringView célula = resto.mid(início, fim < 0 ? -1 : fim - início);
      início = fim < 0 ? -1 : fim + 1;
      QTableWidgetItem *item = grelha->item(linha, c);
      if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(colunas[c].alinhamento);
        grelha->setItem(linha, c, item);
      }
      if (item->text() != célula)
        item->setText(célula.toString());
    }
  }
  if (p >= 1 && p <= texto.size())
    grelha->selectRow(0); // the line at the bar's value, when there is one
}

bool GrelhaComBarra::eventFilter(QObject *o, QEvent *e) {
  if ((o == grelha || o == barra) && e->type() == QEvent::KeyPress) {
    const auto *k = static_cast<QKeyEvent *>(e);
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
      return QWidget::eventFilter(o, e);
    const int v = barra->value();
    int alvo;
    switch (k->key()) {
    case Qt::Key_Up:
      alvo = v - 1;
      break;
    case Qt::Key_Down:
      alvo = v + 1;
      break;
    case Qt::Key_PageUp:
      alvo = v - visíveis;
      break;
    case Qt::Key_PageDown:
      alvo = v + visíveis;
      break;
    case Qt::Key_Home:
      alvo = barra->minimum();
      break;
    case Qt::Key_End:
      alvo = barra->maximum();
      break;
    default:
      // The grid's own keys (typing to search, Left and Right) would move its highlight away
      // from the line the bar shows first; Tab leaves the grid as everywhere. Escape is kept
      // from the grid but not from its window, which it closes as from any other field.
      if (o == grelha && k->key() == Qt::Key_Escape) {
        e->ignore();
        return true;
      }
      if (o == grelha && k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab)
        return true;
      return QWidget::eventFilter(o, e);
    }
    if (barra->isEnabled())
      barra->setValue(alvo);
    return true;
  }
  if (o == grelha->viewport()) {
    if (e->type() == QEvent::MouseButtonPress) {
      const auto *m = static_cast<QMouseEvent *>(e);
      const int linha = grelha->rowAt(m->position().toPoint().y());
      grelha->setFocus(Qt::MouseFocusReason);
      if (barra->isEnabled() && linha > 0 && barra->value() + linha <= barra->maximum())
        barra->setValue(barra->value() + linha);
      return true;
    }
    if (e->type() == QEvent::Wheel) {
      if (barra->isEnabled())
        QCoreApplication::sendEvent(barra, e);
      return true;
    }
  }
  return QWidget::eventFilter(o, e);
}

QHBoxLayout *TítulosDasColunas(const GrelhaComBarra &g, const QStringList &títulos,
                               QList<QLabel *> *rótulos) {
  auto *linha = new QHBoxLayout;
  linha->setSpacing(0);
  const int n = g.Grelha()->columnCount();
  for (int c = 0; c < n; ++c) {
    auto *r = new QLabel(títulos.value(c));
    r->setObjectName(u"Rótulo_"_s + QString::number(c));
    r->setAlignment(Qt::AlignCenter);
    r->setFrameStyle(QFrame::Panel | QFrame::Raised);
    r->setFixedWidth(g.LarguraColuna(c) + (c == 0 || c == n - 1 ? g.Grelha()->frameWidth() : 0));
    r->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    linha->addWidget(r);
    if (rótulos)
      *rótulos << r;
  }
  linha->addStretch();
  return linha;
}
