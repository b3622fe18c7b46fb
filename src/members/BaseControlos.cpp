// The main window's controls: what each one is, where it stands, and how each field behaves.
#include "Base.h"

#include "Campos.h"
#include "Comandos.h"
#include "FichaSocio.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Grelha.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int LinhasTabela = 6;

// A small picture for the dues tab: a stack of coins beside a calendar page.
QPixmap ImagemQuotas() {
  QPixmap p(72, 64);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.setPen(QPen(QColor(90, 90, 110), 1.2));
  g.setBrush(Qt::white);
  g.drawRoundedRect(QRectF(30, 6, 38, 44), 3, 3);
  g.setBrush(QColor(200, 60, 50));
  g.drawRect(QRectF(30, 6, 38, 10));
  g.setPen(QColor(150, 150, 160));
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c)
      g.drawPoint(QPointF(36 + c * 8, 24 + r * 8));
  g.setPen(QPen(QColor(140, 100, 20), 1.2));
  g.setBrush(QColor(235, 190, 70));
  for (int i = 0; i < 4; ++i)
    g.drawEllipse(QRectF(4, 46 - i * 7, 30, 12));
  return p;
}

// Enter in a field presses the button, as a dialog's default button would; the main window has
// no default button of its own.
class EnterCarrega final : public QObject {
public:
  EnterCarrega(QWidget *campo, QAbstractButton *botão_) : QObject(campo), botão(botão_) {
    campo->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject *, QEvent *e) override {
    if (e->type() != QEvent::KeyPress)
      return false;
    const auto *tecla = static_cast<const QKeyEvent *>(e);
    if ((tecla->key() != Qt::Key_Return && tecla->key() != Qt::Key_Enter) ||
        (tecla->modifiers() & ~Qt::KeypadModifier) || !botão->isEnabled())
      return false;
    botão->click();
    return true;
  }

private:
  QAbstractButton *botão;
};

QString ComEspaços(const QString &legenda) {
  const QString oito(8, u' ');
  return oito + legenda + oito;
}

} // namespace

void Base::CriarControlos() {
  auto *centro = new QWidget(this);
  setCentralWidget(centro);

  Número = CampoTexto(u"Número"_s, 6);
  Número->setFixedWidth(Número->fontMetrics().horizontalAdvance(u"0000000"_s) + 16);
  Nome = CampoTexto(u"Nome"_s, 45);
  Nome->setMinimumWidth(Nome->fontMetrics().averageCharWidth() * 40);

  CriarComandos(Comando,
                {u"&Procurar..."_s, u"No&vo Sócio"_s, u"Eliminar"_s, u"G&ravar Dados"_s,
                 u"Adi&cionar"_s, u"Al&terar"_s, u"Apa&gar"_s},
                [this](int i) { ComandoClicado(i); });
  const QStyle *s = style();
  Comando[0]->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
  Comando[1]->setIcon(s->standardIcon(QStyle::SP_FileIcon));
  Comando[2]->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
  Comando[3]->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));

  auto *topo = new QGridLayout;
  topo->addWidget(Legenda(u"&Número"_s, Número), 0, 0);
  topo->addWidget(Número, 0, 1);
  topo->addWidget(Legenda(u"No&me"_s, Nome), 0, 2);
  topo->addWidget(Nome, 0, 3);
  topo->setColumnStretch(3, 1);
  auto *botõesTopo = new QHBoxLayout;
  for (int i = 0; i < 4; ++i)
    botõesTopo->addWidget(Comando[i]);
  botõesTopo->addStretch();

  // --- the three tabs ---
  Separadores = new QTabWidget;
  Separadores->setObjectName(u"Dados"_s);
  for (int i = 0; i < 3; ++i) {
    Quadro[i] = new QFrame;
    Quadro[i]->setObjectName(u"Quadro_"_s + QString::number(i));
  }

  Rua = CampoTexto(u"Rua"_s, 40);
  Localidade = CampoTexto(u"Localidade"_s, 40);
  CPostal = new QComboBox;
  CPostal->setObjectName(u"CPostal"_s);
  Situação = new QComboBox;
  Situação->setObjectName(u"Situação"_s);
  TipoQuota = new QComboBox;
  TipoQuota->setObjectName(u"TipoQuota"_s);
  for (QComboBox *c : {CPostal, Situação, TipoQuota}) {
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(20);
  }
  DtInscrição = CampoTexto(u"DtInscrição"_s, 10);
  ValQuota = CampoTexto(u"ValQuota"_s, CaracteresValor, Qt::AlignRight);
  NIF = CampoTexto(u"NIF"_s, 12);
  const int largura12 = NIF->fontMetrics().horizontalAdvance(u"000.000.000,00"_s) + 16;
  for (QLineEdit *c : {DtInscrição, ValQuota, NIF})
    c->setFixedWidth(largura12);

  auto *g0 = new QGridLayout(Quadro[0]);
  g0->addWidget(Legenda(u"Endereç&o"_s, Rua), 0, 0);
  g0->addWidget(Rua, 0, 1, 1, 3);
  g0->addWidget(Localidade, 1, 1, 1, 3);
  g0->addWidget(CPostal, 2, 1, 1, 3);
  g0->addWidget(Legenda(u"Situa&ção"_s, Situação), 3, 0);
  g0->addWidget(Situação, 3, 1);
  g0->addWidget(Legenda(u"Data &Inscrição"_s, DtInscrição), 3, 2);
  g0->addWidget(DtInscrição, 3, 3);
  g0->addWidget(Legenda(u"&Tipo de Quota"_s, TipoQuota), 4, 0);
  g0->addWidget(TipoQuota, 4, 1);
  g0->addWidget(Legenda(u"Valor da &Quota"_s, ValQuota), 4, 2);
  g0->addWidget(ValQuota, 4, 3);
  g0->addWidget(Legenda(u"NIF"_s, NIF), 5, 0);
  g0->addWidget(NIF, 5, 1, Qt::AlignLeft);
  g0->setColumnStretch(1, 1);
  g0->setRowStretch(6, 1);

  Ano = CampoTexto(u"Ano"_s, 4);
  Mês = new QComboBox;
  Mês->setObjectName(u"Mês"_s);
  Mês->addItems(ItensPeríodo());
  Quota = CampoTexto(u"Quota"_s, CaracteresValor, Qt::AlignRight);
  Recibo = CampoTexto(u"Recibo"_s, 6, Qt::AlignRight);
  for (QLineEdit *c : {Ano, Quota, Recibo})
    c->setFixedWidth(largura12);

  TabelaQuotas = new GrelhaComBarra(LinhasTabela,
                                    {{540, u"0000"_s, Qt::AlignCenter},
                                     {900, u"Novembro"_s, Qt::AlignCenter},
                                     {780, u"00000,00"_s, Qt::AlignRight | Qt::AlignVCenter},
                                     {780, u"000000"_s, Qt::AlignRight | Qt::AlignVCenter}},
                                    u"Quotas"_s, u"Posição"_s);
  Quotas = TabelaQuotas->Grelha();
  Posição = TabelaQuotas->Barra();
  TabelaQuotas->AoMudar = [this](int) { MostrarQuotaActual(); };

  Figura = new QLabel;
  Figura->setObjectName(u"Figura"_s);
  Figura->setPixmap(ImagemQuotas());

  auto *entrada = new QGridLayout;
  entrada->addWidget(Legenda(u"An&o"_s, Ano), 0, 0);
  entrada->addWidget(Ano, 0, 1);
  entrada->addWidget(Legenda(u"Per&iodo"_s, Mês), 1, 0);
  entrada->addWidget(Mês, 1, 1);
  entrada->addWidget(Legenda(u"&Quota"_s, Quota), 2, 0);
  entrada->addWidget(Quota, 2, 1);
  entrada->addWidget(Legenda(u"Nº R&ecibo"_s, Recibo), 3, 0);
  entrada->addWidget(Recibo, 3, 1);
  auto *botõesQuotas = new QHBoxLayout;
  for (int i = 4; i < 7; ++i)
    botõesQuotas->addWidget(Comando[i]);
  auto *esquerda = new QVBoxLayout;
  esquerda->addLayout(entrada);
  esquerda->addLayout(botõesQuotas);
  esquerda->addWidget(Figura, 0, Qt::AlignCenter);
  esquerda->addStretch();

  auto *grelha = new QGridLayout;
  grelha->setHorizontalSpacing(0);
  grelha->setVerticalSpacing(0);
  auto *cabeçalhos = new QHBoxLayout;
  cabeçalhos->setSpacing(0);
  static const char16_t *const títulos[] = {u"Ano", u"Mês", u"Quota", u"Recibo"};
  for (int c = 0; c < 4; ++c) {
    auto *r = new QLabel(QString::fromUtf16(títulos[c]));
    r->setObjectName(u"Rótulo_"_s + QString::number(c));
    r->setAlignment(Qt::AlignCenter);
    r->setFrameStyle(QFrame::Panel | QFrame::Raised);
    r->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    r->setFixedWidth(TabelaQuotas->LarguraColuna(c) +
                     (c == 0 || c == 3 ? Quotas->frameWidth() : 0));
    cabeçalhos->addWidget(r);
  }
  grelha->addLayout(cabeçalhos, 0, 0, Qt::AlignLeft);
  grelha->addWidget(TabelaQuotas, 1, 0, Qt::AlignLeft);
  auto *direita = new QVBoxLayout;
  direita->addLayout(grelha);
  direita->addStretch();

  auto *g1 = new QHBoxLayout(Quadro[1]);
  g1->addLayout(esquerda);
  g1->addSpacing(12);
  g1->addLayout(direita);
  g1->addStretch();

  Observações = new QPlainTextEdit;
  Observações->setObjectName(u"Observações"_s);
  Observações->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Observações->setTabChangesFocus(true);
  auto *g2 = new QVBoxLayout(Quadro[2]);
  g2->addWidget(Observações);

  Separadores->addTab(Quadro[0], ComEspaços(u"Dados Pe&ssoais"_s));
  Separadores->addTab(Quadro[1], ComEspaços(u"Quoti&zações"_s));
  Separadores->addTab(Quadro[2], ComEspaços(u"O&bservações"_s));
  // Only the frame of the tab on view is enabled.
  const auto mudarSeparador = [this](int i) {
    for (int q = 0; q < 3; ++q)
      Quadro[q]->setEnabled(q == i);
  };
  connect(Separadores, &QTabWidget::currentChanged, this, mudarSeparador);
  mudarSeparador(0);
  EntrarPeloSeparador(Separadores);

  auto *principal = new QVBoxLayout(centro);
  principal->addLayout(topo);
  principal->addLayout(botõesTopo);
  principal->addWidget(Separadores, 1);

  // The member, then the fields of the tab on view (the other tabs' frames are disabled, so
  // Tab passes over them), then the buttons, the tab bar last.
  ordemTabulação = {Número,      Nome,       Rua,        Localidade, CPostal,    Situação,
                    DtInscrição, TipoQuota,  ValQuota,   NIF,        Ano,        Mês,
                    Quota,       Recibo,     Comando[4], Comando[5], Comando[6], Quotas,
                    Observações, Comando[0], Comando[1], Comando[2], Comando[3], Separadores};
  for (qsizetype i = 1; i < ordemTabulação.size(); ++i)
    QWidget::setTabOrder(ordemTabulação[i - 1], ordemTabulação[i]);
  // A payment from the keyboard: year, Tab, month, Tab, amount, Tab, receipt, Enter.
  for (QWidget *campo : {static_cast<QWidget *>(Ano), static_cast<QWidget *>(Mês),
                         static_cast<QWidget *>(Quota), static_cast<QWidget *>(Recibo)})
    new EnterCarrega(campo, Comando[4]);

  CriarMenu();
}

// Qt's focus chain also holds the dues grid's frame and scroll bar, which hand their focus to
// the grid and so would bring Tab back to it from elsewhere: Tab follows the window's own list.
bool Base::focusNextPrevChild(bool seguinte) {
  const QWidget *actual = QApplication::focusWidget();
  const auto é = [actual](const QWidget *w) { return w == actual || w->focusProxy() == actual; };
  const auto i = std::find_if(ordemTabulação.cbegin(), ordemTabulação.cend(), é);
  if (i == ordemTabulação.cend())
    return QMainWindow::focusNextPrevChild(seguinte);
  const qsizetype n = ordemTabulação.size();
  for (qsizetype k = 1; k < n; ++k) {
    const qsizetype j = ((i - ordemTabulação.cbegin()) + (seguinte ? k : n - k)) % n;
    QWidget *w = ordemTabulação[j];
    const QWidget *alvo = w->focusProxy() ? w->focusProxy() : w;
    if (w->isVisible() && w->isEnabled() && (alvo->focusPolicy() & Qt::TabFocus)) {
      w->setFocus(seguinte ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return true;
}

void Base::PrepararCampos() {
  // Número: plain digits while edited, six digits when left.
  AplicarComportamento(
      Número,
      {.teclas = FiltroTeclas::Dígitos,
       .aoGanharFoco = [this] { Número->setText(QString::number(ValorNumérico(Número->text()))); },
       .aoPerderFoco =
           [this] { Número->setText(FormatarNúmero(ValorNumérico(Número->text()), u"000000")); }});
  for (QLineEdit *c : {Nome, Rua, Localidade})
    AplicarComportamento(c, {.compactar = true});
  AplicarComportamento(Observações, {.seleccionarTudo = false, .compactar = true});
  for (QComboBox *c : {CPostal, Situação, TipoQuota, Mês})
    AplicarComportamento(c, {.seleccionarTudo = false});
  AplicarComportamento(DtInscrição, {.teclas = FiltroTeclas::Data});
  AplicarComportamento(ValQuota, {.teclas = FiltroTeclas::Numérica});
  AplicarComportamento(NIF, {.realçar = false, .seleccionarTudo = false, .aoPerderFoco = [this] {
                               AssinalarCampo(NIF, AvisoNif());
                             }});
  AplicarComportamento(Ano, {.teclas = FiltroTeclas::Dígitos, .ano = true});
  // An amount too large to show formatted stays as typed, never cut; adding it is refused.
  AplicarComportamento(Quota, {.teclas = FiltroTeclas::Numérica, .aoPerderFoco = [this] {
                                 if (const auto v = Moeda::Ler(Quota->text())) {
                                   const QString t = v->Formatar(u"###,###,##0.00");
                                   if (t.size() <= Quota->maxLength())
                                     Quota->setText(t);
                                 }
                               }});
  AplicarComportamento(Recibo, {.teclas = FiltroTeclas::Dígitos, .aoPerderFoco = [this] {
                                  Recibo->setText(QString::number(ValorNumérico(Recibo->text())));
                                }});
}