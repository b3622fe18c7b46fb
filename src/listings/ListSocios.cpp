#include "ListSocios.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Exportacao.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "ImprimirListagem.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The grid reads the rows where they are: a list of fifty thousand members shows at once.
class ModeloListagem : public QAbstractTableModel {
public:
  using QAbstractTableModel::QAbstractTableModel;
  void Definir(std::vector<SócioListado> novas) {
    beginResetModel();
    linhas = std::move(novas);
    endResetModel();
  }
  const std::vector<SócioListado> &Linhas() const { return linhas; }
  int rowCount(const QModelIndex &pai = {}) const override {
    return pai.isValid() ? 0 : int(linhas.size());
  }
  int columnCount(const QModelIndex &pai = {}) const override { return pai.isValid() ? 0 : 6; }
  QVariant data(const QModelIndex &i, int papel) const override {
    if (papel == Qt::TextAlignmentRole && i.column() == 0)
      return int(Qt::AlignCenter);
    if (papel != Qt::DisplayRole || !i.isValid())
      return {};
    return linhas[size_t(i.row())].Células().value(i.column());
  }
  QVariant headerData(int secção, Qt::Orientation o, int papel) const override {
    static const char16_t *const títulos[] = {u"Número", u"Nome",       u"Data Inscr",
                                              u"Rua",    u"Localidade", u"Código Postal"};
    if (o == Qt::Horizontal && papel == Qt::DisplayRole && secção >= 0 && secção < 6)
      return QString::fromUtf16(títulos[secção]);
    return QAbstractTableModel::headerData(secção, o, papel);
  }

private:
  std::vector<SócioListado> linhas;
};

namespace {

const QString Título = u"Listagem de Sócios"_s;

QWidget *Painel(const QString &legenda, std::initializer_list<QWidget *> campos,
                bool comA = false) {
  auto *w = new QWidget;
  auto *g = new QGridLayout(w);
  auto *l = new QLabel(legenda);
  l->setBuddy(*campos.begin());
  g->addWidget(l, 0, 0, 1, 3);
  int c = 0;
  for (QWidget *campo : campos) {
    if (comA && c == 1)
      g->addWidget(new QLabel(u"a"_s), 1, c++);
    g->addWidget(campo, 1, c++);
  }
  g->setColumnStretch(c, 1);
  g->setRowStretch(2, 1);
  return w;
}

} // namespace

ListSócios::ListSócios(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"ListSócios"_s, Título);
  auto *moldura = MolduraElevada(this);

  for (int i : {1, 2}) {
    Número[i] =
        CampoTexto(u"Número_"_s + QString::number(i), 6, {}, i == 1 ? u"000001"_s : u"999999"_s);
    AplicarComportamento(
        Número[i],
        {.teclas = FiltroTeclas::Dígitos,
         .aoGanharFoco =
             [this, i] { Número[i]->setText(QString::number(ValorNumérico(Número[i]->text()))); },
         .aoPerderFoco =
             [this, i] {
               Número[i]->setText(FormatarNúmero(ValorNumérico(Número[i]->text()), u"000000"));
             }});
    Nome[i] = CampoTexto(u"Nome_"_s + QString::number(i), 45, {}, i == 1 ? u"A"_s : u"ZZ"_s);
    Nome[i]->installEventFilter(this);
    AplicarComportamento(Nome[i], {.compactar = true, .aoPerderFoco = [this] {
                                     // An emptied range goes back to the whole alphabet.
                                     if (Nome[1]->text().isEmpty())
                                       Nome[1]->setText(u"A"_s);
                                     if (Nome[2]->text().isEmpty())
                                       Nome[2]->setText(u"ZZ"_s);
                                   }});
  }
  CPostal = new QComboBox;
  CPostal->setObjectName(u"CPostal"_s);
  PreencherComTodos(CPostal, u"[Todos]"_s, Listas().códigosPostais);
  Situação = new QComboBox;
  Situação->setObjectName(u"Situação"_s);
  PreencherComTodos(Situação, u"[Todas]"_s, Listas().situações);
  TipoQuota = new QComboBox;
  TipoQuota->setObjectName(u"TipoQuota"_s);
  PreencherComTodos(TipoQuota, u"[Todos]"_s, Listas().tiposQuota);
  for (QComboBox *c : {CPostal, Situação, TipoQuota})
    AplicarComportamento(c, {.seleccionarTudo = false});

  auto *ordens = new QWidget;
  auto *go = new QGridLayout(ordens);
  static const char16_t *const legendas[] = {u"Nu&mérica",     u"&Alfabetica", u"&Data inscrição",
                                             u"Código Postal", u"Situação",    u"Tipo de Quota"};
  for (int k = 1; k <= 6; ++k) {
    Ordenação[k] = new QRadioButton(QString::fromUtf16(legendas[k - 1]));
    Ordenação[k]->setObjectName(u"Ordenação_"_s + QString::number(k));
    go->addWidget(Ordenação[k], (k - 1) % 3, (k - 1) / 3);
  }
  Ordenação[1]->setChecked(true);
  auto *sub = new QGroupBox;
  auto *ls = new QVBoxLayout(sub);
  SubOrde[0] = new QRadioButton(u"Númerica"_s);
  SubOrde[1] = new QRadioButton(u"Alfabetica"_s);
  for (int i : {0, 1}) {
    SubOrde[i]->setObjectName(u"SubOrde_"_s + QString::number(i));
    ls->addWidget(SubOrde[i]);
  }
  SubOrde[0]->setChecked(true);
  AscDesc = new QCheckBox(u"Asce/Desc"_s);
  AscDesc->setObjectName(u"AscDesc"_s);
  go->addWidget(sub, 0, 2, 3, 1);
  go->addWidget(AscDesc, 0, 3);

  SSTab1 = new QTabWidget;
  SSTab1->setObjectName(u"SSTab1"_s);
  SSTab1->addTab(Painel(u"&Número de Sócio"_s, {Número[1], Número[2]}, true), u"Nº Sócio"_s);
  SSTab1->addTab(Painel(u"N&ome do Sócio"_s, {Nome[1], Nome[2]}, true), u"Nome"_s);
  SSTab1->addTab(Painel(u"&Código Postal"_s, {CPostal}), u"C.Postal"_s);
  auto *tipoSitua = new QWidget;
  auto *lt = new QHBoxLayout(tipoSitua);
  lt->addWidget(Painel(u"&Tipo de Quota"_s, {TipoQuota}));
  lt->addWidget(Painel(u"&Situação"_s, {Situação}));
  SSTab1->addTab(tipoSitua, u"Tipo/Situa"_s);
  SSTab1->addTab(ordens, u"Ordenação"_s);
  // The panels' access keys reach their fields from whichever tab is on view.
  EntrarPeloSeparador(SSTab1, true);

  modelo = new ModeloListagem(this);
  Listagem = new QTableView;
  Listagem->setObjectName(u"Listagem"_s);
  Listagem->setModel(modelo);
  Listagem->verticalHeader()->hide();
  Listagem->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Listagem->setSelectionBehavior(QAbstractItemView::SelectRows);
  Listagem->setSelectionMode(QAbstractItemView::SingleSelection);
  Listagem->setTabKeyNavigation(false);
  static const char16_t *const cabeçalhos[] = {u"Número", u"Nome",       u"Data Inscr",
                                               u"Rua",    u"Localidade", u"Código Postal"};
  const double porTwip = logicalDpiX() / 1440.0;
  const int larguras[] = {915, 3765, 945, 915, 915};
  Listagem->horizontalHeader()->setStretchLastSection(true);
  for (int c = 0; c < 5; ++c)
    Listagem->setColumnWidth(
        c, std::max(int(larguras[c] * porTwip),
                    Listagem->fontMetrics().horizontalAdvance(QString::fromUtf16(cabeçalhos[c])) +
                        16));
  Listagem->setMinimumHeight(Listagem->verticalHeader()->defaultSectionSize() * 8);

  CriarComandos(Comando, {u"Sai&r"_s, u"&Listagem"_s, u"&Imprimir"_s}, [this](int i) {
    if (i == 0)
      reject();
    else if (i == 1)
      ListarSócios();
    else
      AbrirPainel();
  });
  Comando[2]->setEnabled(false);
  Exportar = BotãoExportar(Comando[2], [this] { ExportarListagem(); });

  Impressão = new QGroupBox(u"Impressão"_s);
  Impressão->setObjectName(u"Impressão"_s);
  auto *li = new QGridLayout(Impressão);
  static const char16_t *const tipos[] = {u"Detalhada", u"Normal", u"Endereços Pequenos",
                                          u"Endereços Grandes"};
  for (int t = 1; t <= 4; ++t) {
    Tipo[t] = new QRadioButton(QString::fromUtf16(tipos[t - 1]));
    Tipo[t]->setObjectName(u"Tipo_"_s + QString::number(t));
    li->addWidget(Tipo[t], (t - 1) % 2, (t - 1) / 2);
  }
  Tipo[2]->setChecked(true);
  Percentagem = new QProgressBar;
  Percentagem->setObjectName(u"Percentagem"_s);
  Percentagem->setRange(0, 100);
  Percentagem->setValue(0);
  Percentagem->setFormat(u"%p %"_s);
  li->addWidget(Percentagem, 2, 0, 1, 2);
  Imprimir2 = new QPushButton(u"&Imprimir"_s);
  Imprimir2->setObjectName(u"Imprimir_2"_s);
  Sair = new QPushButton(u"Sai&r"_s);
  Sair->setObjectName(u"Sair"_s);
  for (QPushButton *b : {Imprimir2, Sair}) {
    b->setAutoDefault(false);
    ÊnfaseBotão(b);
  }
  connect(Imprimir2, &QPushButton::clicked, this, [this] {
    TomarFoco(Imprimir2);
    ImprimirListagem();
  });
  connect(Sair, &QPushButton::clicked, this, [this] {
    TomarFoco(Sair);
    FecharPainel();
  });
  li->addLayout(BotõesAoCentro({Imprimir2, Sair}), 3, 0, 1, 2);
  Impressão->hide();

  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(PainelTítulo(Título));
  corpo->addWidget(SSTab1);
  corpo->addWidget(Listagem, 1);
  corpo->addWidget(Impressão);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[2], Exportar, Comando[0]}));
  EncadearTabulação({SSTab1, Listagem, Comando[1], Comando[2], Exportar, Comando[0]});
  resize(std::max(width(), 720), std::max(height(), 520));
  CentrarJanela(this, pai);
}

void ListSócios::AbrirPainel() {
  for (QWidget *w : {static_cast<QWidget *>(SSTab1), static_cast<QWidget *>(Listagem),
                     static_cast<QWidget *>(Comando[0]), static_cast<QWidget *>(Comando[1]),
                     static_cast<QWidget *>(Comando[2])})
    w->setEnabled(false); // "Exportar..." follows "Imprimir"
  Impressão->show();
  Imprimir2->setDefault(true);
  Imprimir2->setFocus(Qt::OtherFocusReason);
}

void ListSócios::FecharPainel() {
  Imprimir2->setDefault(false);
  Impressão->hide();
  for (QWidget *w : {static_cast<QWidget *>(SSTab1), static_cast<QWidget *>(Listagem),
                     static_cast<QWidget *>(Comando[0]), static_cast<QWidget *>(Comando[1]),
                     static_cast<QWidget *>(Comando[2])})
    w->setEnabled(true);
  Comando[2]->setFocus(Qt::OtherFocusReason);
}

void ListSócios::keyPressEvent(QKeyEvent *e) {
  if (Impressão->isVisible() && e->modifiers() == Qt::NoModifier) {
    // Escape closes the panel, not the window; Enter on "Sair" is that button's own.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (e->key() == Qt::Key_Escape || (enter && Sair->hasFocus())) {
      Sair->click();
      return;
    }
  }
  QDialog::keyPressEvent(e);
}

const std::vector<SócioListado> &ListSócios::Linhas() const {
  return modelo->Linhas();
}

bool ListSócios::eventFilter(QObject *o, QEvent *e) {
  // Names are typed in capitals; punctuation and other signs are dropped. The blank passes,
  // and so do digits: a name may begin with one ("1º de Maio Clube").
  if ((o == Nome[1] || o == Nome[2]) && e->type() == QEvent::KeyPress) {
    auto *k = static_cast<QKeyEvent *>(e);
    const QString t = k->text();
    if (t.size() == 1 && t[0].isPrint() && !(k->modifiers() & Qt::ControlModifier)) {
      const QChar c = t[0];
      const bool algarismo = c >= u'0' && c <= u'9';
      if (c != u' ' && !algarismo && c.toUpper() == c.toLower())
        return true;
      if (c != c.toUpper()) {
        static_cast<QLineEdit *>(o)->insert(QString(c.toUpper()));
        return true;
      }
    }
  }
  return QDialog::eventFilter(o, e);
}

EscolhaListagem ListSócios::Escolha() const {
  EscolhaListagem e;
  for (int k = 1; k <= 6; ++k)
    if (Ordenação[k]->isChecked())
      e.ordem = OrdemListagem(k);
  e.númeroDe = ValorNumérico(Número[1]->text());
  e.númeroAté = ValorNumérico(Número[2]->text());
  e.nomeDe = Nome[1]->text();
  e.nomeAté = Nome[2]->text();
  const auto código = [](const QComboBox *c) {
    return c->currentIndex() > 0 ? c->currentData().toLongLong() : qint64(0);
  };
  e.cPostal = código(CPostal);
  e.situação = código(Situação);
  e.tipoQuota = código(TipoQuota);
  e.subOrdemAlfabética = SubOrde[1]->isChecked();
  e.ascDesc = AscDesc->isChecked();
  return e;
}

void ListSócios::ListarSócios() {
  Ampulheta ampulheta;
  std::vector<SócioListado> linhas;
  const EscolhaListagem escolha = Escolha();
  if (!ExecutarAcção(this, Título, [&] { linhas = LinhasListagem(Dados().bd, escolha); }))
    return;
  modelo->Definir(std::move(linhas));
  Comando[2]->setEnabled(true);
  if (modelo->Linhas().empty()) {
    Ampulheta::Seta();
    MostrarMensagem(u"Não encontrei o registo no  ficheiro."_s, Botões::OK, Ícone::Nenhum,
                    u"Mensagem de informação de Procura"_s, this);
  }
}

void ListSócios::ImprimirListagem() {
  TipoImpressão tipo = TipoImpressão::Normal;
  for (int t = 1; t <= 4; ++t)
    if (Tipo[t]->isChecked())
      tipo = TipoImpressão(t);
  Ampulheta ampulheta;
  ExecutarAcção(this, Título, [&] {
    if (auto p = AbrirImpressão(Título, this))
      ImprimirSócios(*p, tipo, modelo->Linhas(), NomeColectividade(Dados().bd), [this](int n) {
        Percentagem->setValue(n);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      });
  });
  Percentagem->setValue(0);
}

void ListSócios::ExportarListagem() {
  QList<QStringList> linhas;
  QStringList cabeçalho;
  for (int c = 0; c < modelo->columnCount(); ++c)
    cabeçalho << modelo->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  linhas << cabeçalho;
  for (const SócioListado &s : modelo->Linhas())
    linhas << s.Células();
  ExportarLista(this, Título, u"Listagem de sócios"_s, linhas);
}
