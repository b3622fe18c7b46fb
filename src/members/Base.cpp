#include "Base.h"

#include "Campos.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Grelha.h"
#include "Impressao.h"
#include "ImprimirFicha.h"
#include "JanelaAjuda.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Programas.h"
#include "Referencias.h"
#include "Relogio.h"

#include <QAction>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString TítuloGravar = u"Gravar Dados"_s;
constexpr int LinhasTabela = 6;

QLabel *Rótulo(const QString &texto, QWidget *campo) {
  auto *l = new QLabel(texto);
  if (campo)
    l->setBuddy(campo);
  return l;
}

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

QString ComEspaços(const QString &legenda) {
  const QString oito(8, u' ');
  return oito + legenda + oito;
}

} // namespace

Base::Base(QWidget *pai) : QMainWindow(pai) {
  setObjectName(u"Base"_s);
  setWindowTitle(u"Ficheiro de Sócios e Quotizações"_s);
  CriarControlos();
  PrepararCampos();

  // Load: the reference lists, the first member, this month.
  Ampulheta ampulheta;
  BaseDados::Leitura leitura(::Dados().bd);
  CarregarListas();
  ConjuntoRegistos &sócios = *::Dados().sócios;
  sócios.MoverPrimeiro();
  SócioActual = sócios.FimFicheiro() ? 0 : qint32(sócios.Inteiro(u"Número"));
  EntradasPorOmissão();
  MostrarSócio(SócioActual);
}

void Base::CriarControlos() {
  auto *centro = new QWidget(this);
  setCentralWidget(centro);

  Número = new QLineEdit;
  Número->setObjectName(u"Número"_s);
  Número->setMaxLength(6);
  Número->setFixedWidth(Número->fontMetrics().horizontalAdvance(u"0000000"_s) + 16);
  Nome = new QLineEdit;
  Nome->setObjectName(u"Nome"_s);
  Nome->setMaxLength(45);
  Nome->setMinimumWidth(Nome->fontMetrics().averageCharWidth() * 40);

  static const char16_t *const legendas[] = {u"&Procurar...",  u"No&vo Sócio", u"Eliminar",
                                             u"G&ravar Dados", u"Adi&cionar",  u"Al&terar",
                                             u"Apa&gar"};
  for (int i = 0; i < 7; ++i) {
    Comando[i] = new QPushButton(QString::fromUtf16(legendas[i]));
    Comando[i]->setObjectName(u"Comando_"_s + QString::number(i));
    Comando[i]->setAutoDefault(false);
    ÊnfaseBotão(Comando[i]);
    connect(Comando[i], &QPushButton::clicked, this, [this, i] { ComandoClicado(i); });
  }
  const QStyle *s = style();
  Comando[0]->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
  Comando[1]->setIcon(s->standardIcon(QStyle::SP_FileIcon));
  Comando[2]->setIcon(s->standardIcon(QStyle::SP_TrashIcon));
  Comando[3]->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));

  auto *topo = new QGridLayout;
  topo->addWidget(Rótulo(u"&Número"_s, Número), 0, 0);
  topo->addWidget(Número, 0, 1);
  topo->addWidget(Rótulo(u"No&me"_s, Nome), 0, 2);
  topo->addWidget(Nome, 0, 3);
  topo->setColumnStretch(3, 1);
  auto *botõesTopo = new QHBoxLayout;
  for (int i = 0; i < 4; ++i)
    botõesTopo->addWidget(Comando[i]);
  botõesTopo->addStretch();

  // --- the three tabs ---
  Dados = new QTabWidget;
  Dados->setObjectName(u"Dados"_s);
  for (int i = 0; i < 3; ++i) {
    Quadro[i] = new QFrame;
    Quadro[i]->setObjectName(u"Quadro_"_s + QString::number(i));
  }

  Rua = new QLineEdit;
  Rua->setObjectName(u"Rua"_s);
  Rua->setMaxLength(40);
  Localidade = new QLineEdit;
  Localidade->setObjectName(u"Localidade"_s);
  Localidade->setMaxLength(40);
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
  DtInscrição = new QLineEdit;
  DtInscrição->setObjectName(u"DtInscrição"_s);
  DtInscrição->setMaxLength(10);
  ValQuota = new QLineEdit;
  ValQuota->setObjectName(u"ValQuota"_s);
  ValQuota->setMaxLength(CaracteresValor);
  ValQuota->setAlignment(Qt::AlignRight);
  NIF = new QLineEdit;
  NIF->setObjectName(u"NIF"_s);
  NIF->setMaxLength(12);
  const int largura12 = NIF->fontMetrics().horizontalAdvance(u"000.000.000,00"_s) + 16;
  for (QLineEdit *c : {DtInscrição, ValQuota, NIF})
    c->setFixedWidth(largura12);

  auto *g0 = new QGridLayout(Quadro[0]);
  g0->addWidget(Rótulo(u"Endereç&o"_s, Rua), 0, 0);
  g0->addWidget(Rua, 0, 1, 1, 3);
  g0->addWidget(Localidade, 1, 1, 1, 3);
  g0->addWidget(CPostal, 2, 1, 1, 3);
  g0->addWidget(Rótulo(u"Sit&uação"_s, Situação), 3, 0);
  g0->addWidget(Situação, 3, 1);
  g0->addWidget(Rótulo(u"Data &Inscrição"_s, DtInscrição), 3, 2);
  g0->addWidget(DtInscrição, 3, 3);
  g0->addWidget(Rótulo(u"&Tipo de Quota"_s, TipoQuota), 4, 0);
  g0->addWidget(TipoQuota, 4, 1);
  g0->addWidget(Rótulo(u"Valor da &Quota"_s, ValQuota), 4, 2);
  g0->addWidget(ValQuota, 4, 3);
  g0->addWidget(Rótulo(u"NIF"_s, NIF), 5, 0);
  g0->addWidget(NIF, 5, 1, Qt::AlignLeft);
  g0->setColumnStretch(1, 1);
  g0->setRowStretch(6, 1);

  Ano = new QLineEdit;
  Ano->setObjectName(u"Ano"_s);
  Ano->setMaxLength(4);
  Mês = new QComboBox;
  Mês->setObjectName(u"Mês"_s);
  Mês->addItems(ItensPeríodo());
  Quota = new QLineEdit;
  Quota->setObjectName(u"Quota"_s);
  Quota->setMaxLength(CaracteresValor);
  Quota->setAlignment(Qt::AlignRight);
  Recibo = new QLineEdit;
  Recibo->setObjectName(u"Recibo"_s);
  Recibo->setMaxLength(6);
  Recibo->setAlignment(Qt::AlignRight);
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
  entrada->addWidget(Rótulo(u"An&o"_s, Ano), 0, 0);
  entrada->addWidget(Ano, 0, 1);
  entrada->addWidget(Rótulo(u"Per&iodo"_s, Mês), 1, 0);
  entrada->addWidget(Mês, 1, 1);
  entrada->addWidget(Rótulo(u"&Quota"_s, Quota), 2, 0);
  entrada->addWidget(Quota, 2, 1);
  entrada->addWidget(Rótulo(u"Nº R&ecibo"_s, Recibo), 3, 0);
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

  Dados->addTab(Quadro[0], ComEspaços(u"Dados Pe&ssoais"_s));
  Dados->addTab(Quadro[1], ComEspaços(u"Quoti&zações"_s));
  Dados->addTab(Quadro[2], ComEspaços(u"O&bservações"_s));
  // Only the frame of the tab on view is enabled.
  const auto mudarSeparador = [this](int i) {
    for (int q = 0; q < 3; ++q)
      Quadro[q]->setEnabled(q == i);
  };
  connect(Dados, &QTabWidget::currentChanged, this, mudarSeparador);
  mudarSeparador(0);

  auto *principal = new QVBoxLayout(centro);
  principal->addLayout(topo);
  principal->addLayout(botõesTopo);
  principal->addWidget(Dados, 1);

  setTabOrder(Número, Nome);
  setTabOrder(Nome, Comando[0]);
  setTabOrder(Comando[0], Comando[1]);
  setTabOrder(Comando[1], Comando[2]);
  setTabOrder(Comando[2], Comando[3]);
  setTabOrder(Comando[3], Dados);
  QWidget *ordem0[] = {Dados,       Rua,       Localidade, CPostal, Situação,
                       DtInscrição, TipoQuota, ValQuota,   NIF};
  for (size_t i = 1; i < std::size(ordem0); ++i)
    setTabOrder(ordem0[i - 1], ordem0[i]);
  QWidget *ordem1[] = {Ano, Mês, Quota, Recibo, Comando[4], Comando[5], Comando[6], Quotas};
  for (size_t i = 1; i < std::size(ordem1); ++i)
    setTabOrder(ordem1[i - 1], ordem1[i]);

  CriarMenu();
}

namespace {

QAction *Item(QMenu *menu, const QString &legenda, const QString &nome) {
  QAction *a = menu->addAction(legenda);
  a->setObjectName(nome);
  return a;
}

} // namespace

void Base::CriarMenu() {
  QMenuBar *barra = menuBar();
  const auto topo = [&](const QString &legenda, int i) {
    QMenu *m = barra->addMenu(legenda);
    m->setObjectName(u"Menu_"_s + QString::number(i));
    return m;
  };

  QMenu *arquivo = topo(u"&Arquivo"_s, 1);
  connect(Item(arquivo, u"&Segurança do Ficheiro"_s, u"Menu_Arquivo_1"_s), &QAction::triggered,
          this, [this] { ExecutarArquivex(false); });
  connect(Item(arquivo, u"&Reposição do Ficheiro"_s, u"Menu_Arquivo_2"_s), &QAction::triggered,
          this, [this] { ExecutarArquivex(true); });
  arquivo->addSeparator();
  acçõesJanelas[int(JanelaMenu::CódigoAcesso)] =
      Item(arquivo, u"Código de &Acesso"_s, u"Menu_Arquivo_4"_s);
  acçõesJanelas[int(JanelaMenu::DadosColectividade)] =
      Item(arquivo, u"&Dados da Colectividade"_s, u"Menu_Arquivo_5"_s);
  arquivo->addSeparator();
  connect(Item(arquivo, u"Configurar &Impressora"_s, u"Menu_Arquivo_7"_s), &QAction::triggered,
          this, [this] { ConfigurarImpressora(this); });
  connect(Item(arquivo, u"&Terminar o Programa"_s, u"Menu_Arquivo_8"_s), &QAction::triggered, this,
          [this] { close(); });

  QMenu *dados = topo(u"&Dados"_s, 2);
  static const char16_t *const itensDados[] = {u"&Novo Sócio", u"&Eliminar Sócio",
                                               u"&Gravar Dados"};
  for (int i = 1; i <= 3; ++i)
    connect(
        Item(dados, QString::fromUtf16(itensDados[i - 1]), u"Menu_Dados_"_s + QString::number(i)),
        &QAction::triggered, this, [this, i] { ComandoClicado(i); });
  acçãoEliminar = dados->actions().at(1);
  QMenu *procurar = dados->addMenu(u"&Procurar..."_s);
  procurar->setObjectName(u"Menu_Dados_4"_s);
  acçãoProcurar = procurar->menuAction();
  static const char16_t *const navegação[] = {u"&Sócio por Número ou Nome", u"&Primeiro Sócio",
                                              u"Sócio &Anterior", u"Sócio S&eguinte",
                                              u"Últi&mo Sócio"};
  const QKeySequence teclas[] = {QKeySequence(Qt::CTRL | Qt::Key_P), QKeySequence(Qt::Key_F1),
                                 QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_F3),
                                 QKeySequence(Qt::Key_F4)};
  for (int k = 0; k < 5; ++k) {
    acçõesNavegação[k] = Item(procurar, QString::fromUtf16(navegação[k]),
                              u"Menu_Dados_Procurar_"_s + QString::number(k + 1));
    acçõesNavegação[k]->setShortcut(teclas[k]);
    connect(acçõesNavegação[k], &QAction::triggered, this, [this, k] { NavegarSócio(k + 1); });
  }
  // The shortcuts work while the sub-menu is disabled too (a file without members beeps).
  for (int k = 1; k < 5; ++k)
    addAction(acçõesNavegação[k]);
  dados->addSeparator();
  QAction *tabelas = Item(dados, u"Definir &Tabelas"_s, u"Menu_Dados_6"_s);
  tabelas->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  acçõesJanelas[int(JanelaMenu::Tabelas)] = tabelas;
  QMenu *imprimir = dados->addMenu(u"&Imprimir..."_s);
  imprimir->setObjectName(u"Menu_Dados_7"_s);
  acçãoImprimir = imprimir->menuAction();
  connect(Item(imprimir, u"&Ficha de Sócio"_s, u"Menu_Dados_Imprimir_1"_s), &QAction::triggered,
          this, [this] { ImprimirFichaDoEcrã(); });
  acçõesJanelas[int(JanelaMenu::DeclaraçãoIRS)] =
      Item(imprimir, u"&Declaração para IRS"_s, u"Menu_Dados_Imprimir_2"_s);

  menuListagens = topo(u"&Listagens"_s, 3);
  static const char16_t *const listagens[] = {u"Listagem de &Sócios", u"&Quotas em Atraso",
                                              u"&Mapa de Quotas",
                                              u"Impressão de &Talões de Recibo"};
  for (int i = 0; i < 4; ++i)
    acçõesJanelas[int(JanelaMenu::ListagemSócios) + i] =
        Item(menuListagens, QString::fromUtf16(listagens[i]),
             u"Menu_Listagens_"_s + QString::number(i + 1));
  // Windows still to come stay in the menu, disabled, until they are linked.
  for (int j = 0; j < NúmeroJanelasMenu; ++j) {
    QAction *a = acçõesJanelas[j];
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, [this, j] { AbrirJanela(JanelaMenu(j)); });
  }

  QMenu *ajuda = topo(u"Aj&uda"_s, 4);
  connect(Item(ajuda, u"&Como obter Ajuda..."_s, u"Menu_Ajuda_1"_s), &QAction::triggered, this,
          [this] { MostrarAjuda(this, u"como-usar"_s); });
  connect(Item(ajuda, u"Ajuda &Geral"_s, u"Menu_Ajuda_2"_s), &QAction::triggered, this,
          [this] { MostrarAjuda(this, u"indice"_s); });
}

void Base::LigarJanela(JanelaMenu janela, std::function<void()> abrir) {
  janelas[int(janela)] = std::move(abrir);
  acçõesJanelas[int(janela)]->setEnabled(bool(janelas[int(janela)]));
}

void Base::AbrirJanela(JanelaMenu janela) {
  const auto &abrir = janelas[int(janela)];
  if (!abrir)
    return;
  {
    Ampulheta ampulheta;
    Ampulheta::Seta();
    abrir();
  }
  // The listings move the shared member recordset: stand on the current member again.
  if (janela >= JanelaMenu::ListagemSócios)
    MostrarSócio(SócioActual);
}

void Base::ExecutarArquivex(bool repor) {
  const QString texto =
      repor ? u"Atenção! Esta opção repõe os dados introduzidos\n"
              u"até à data da segurança efectuada.\n"
              u"Assim todos os dados introduzidos depois da\n"
              u"segurança, serão eliminados.\n"
              u"É conveniente fazer várias seguranças antes  de\n"
              u"repõr as seguranças.\n"
              u"\n"
              u"O Agremia irá ser encerrado para poder executar\n"
              u"a segurança de dados.\n"
              u"\n"
              u"Tem a certeza que deseja continuar?"_s
            : u"O Agremia irá ser encerrado para poder executar a segurança de dados\n"
              u"Tem a certeza que deseja continuar?"_s;
  if (MostrarMensagem(texto, Botões::SimNão, Ícone::Pergunta, u"Mensagem de Alerta"_s, this) !=
      Resposta::Sim)
    return;
  // The tool works on a closed file: close it first, and open it again if the tool fails.
  const QString ficheiro = ::Dados().bd.Caminho();
  const QString pasta = QFileInfo(ficheiro).absolutePath();
  FecharDados();
  if (IniciarPrograma(u"arquivex"_s, repor ? QStringList{u"-r"_s} : QStringList{}, pasta)) {
    close();
    return;
  }
  AbrirDados(ficheiro);
  Bip();
  MostrarMensagem(u"Não foi possível iniciar o programa de segurança e reposição de dados.\n"
                  u"Verifique se o ficheiro «"_s +
                      QDir::toNativeSeparators(CaminhoPrograma(u"arquivex"_s)) +
                      u"» existe.\n\nO programa continua aberto."_s,
                  Botões::OK, Ícone::Crítico, u"Mensagem de Alerta"_s, this);
  MostrarSócio(SócioActual);
}

void Base::ImprimirFichaDoEcrã() {
  Ampulheta ampulheta;
  DadosFicha f;
  f.número = Número->text();
  f.nome = Nome->text();
  f.dtInscrição = DtInscrição->text();
  f.rua = Rua->text();
  f.localidade = Localidade->text();
  f.cPostal = CPostal->currentText();
  f.situação = Situação->currentText();
  f.tipoQuota = TipoQuota->currentText();
  f.valQuota = ValQuota->text();
  f.observações = Observações->toPlainText();
  f.quotas = Lista.ListQuotas.Entradas();
  // The job is named after the member, so that a print queue tells one card from another.
  const QString documento = u"Ficha de Sócio "_s + QString::number(ValorNumérico(f.número));
  if (auto p = AbrirImpressão(documento, this))
    ImprimirFicha(*p, f, Agora());
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
  AplicarComportamento(NIF, {.realçar = false, .seleccionarTudo = false});
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

void Base::showEvent(QShowEvent *e) {
  QMainWindow::showEvent(e);
  if (centrada)
    return;
  centrada = true;
  if (QScreen *ecrã = screen() ? screen() : QGuiApplication::primaryScreen()) {
    const QRect área = ecrã->availableGeometry();
    const QRect quadro = frameGeometry();
    move(área.x() + std::max(0, (área.width() - quadro.width()) / 2),
         área.y() + std::max(0, (área.height() - quadro.height()) / 2));
  }
}

void Base::closeEvent(QCloseEvent *e) {
  QMainWindow::closeEvent(e);
  if (e->isAccepted() && AoFechar)
    AoFechar();
}

void Base::CarregarListas() {
  RecarregarListas();
  const std::pair<QComboBox *, const ListaReferência *> listas[] = {
      {CPostal, &Listas().códigosPostais},
      {Situação, &Listas().situações},
      {TipoQuota, &Listas().tiposQuota}};
  for (const auto &[combo, itens] : listas) {
    const QVariant escolhido = combo->currentIndex() >= 0 ? combo->currentData() : QVariant();
    combo->clear();
    for (const ItemReferência &i : *itens)
      combo->addItem(i.texto, i.código);
    combo->setCurrentIndex(escolhido.isValid() ? combo->findData(escolhido) : -1);
  }
}

void Base::EntradasPorOmissão() {
  Mês->setCurrentIndex(Hoje().month() - 1);
  Ano->setText(QString::number(Hoje().year()));
}

void Base::MostrarSócio(qint32 &número) {
  Ampulheta ampulheta;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  BaseDados::Leitura leitura(::Dados().bd);
  ConjuntoRegistos &sócios = *::Dados().sócios;
  const std::optional<SócioGuardado> sócio = LerSócio(::Dados().bd, sócios, número);
  Lista = {};
  if (!sócio) {
    if (número < 0)
      número = 0;
    Número->setText(QString::number(número));
    Número->setReadOnly(false);
    for (QWidget *w : {static_cast<QWidget *>(Comando[2]), static_cast<QWidget *>(Posição),
                       static_cast<QWidget *>(Comando[5]), static_cast<QWidget *>(Comando[6])})
      w->setEnabled(false);
    acçãoEliminar->setEnabled(false);
    acçãoImprimir->setEnabled(false);
    for (QLineEdit *c : {Nome, Rua, Localidade, Recibo})
      c->clear();
    Observações->clear();
    for (QComboBox *c : {CPostal, TipoQuota, Situação})
      c->setCurrentIndex(-1);
    DtInscrição->setText(FormatarData(Hoje()));
    ValQuota->setText(Moeda().Formatar(u"#,###,##0.00"));
    Quota->setText(Moeda().Formatar(u"#,###,##0.00"));
    NIF->setText(u"0"_s);
    EntradasPorOmissão();
    IrParaPosição(0);
    SócioActual = 0;
  } else {
    Número->setText(FormatarNúmero(número, u"000000"));
    Número->setReadOnly(true);
    Comando[2]->setEnabled(true);
    acçãoEliminar->setEnabled(true);
    acçãoImprimir->setEnabled(true);
    Nome->setText(sócio->nome);
    Rua->setText(sócio->rua.trimmed());
    Localidade->setText(sócio->localidade.trimmed());
    Observações->setPlainText(sócio->observações.trimmed());
    NIF->setText(sócio->nif);
    DtInscrição->setText(InscriçãoParaTexto(sócio->inscrição));
    const QString valor = sócio->valQuota.Formatar(u"#,###,##0.00");
    ValQuota->setText(valor);
    Quota->setText(valor);
    Recibo->clear();
    CPostal->setCurrentIndex(CPostal->findData(sócio->cPostal));
    TipoQuota->setCurrentIndex(TipoQuota->findData(sócio->tipoQuota));
    Situação->setCurrentIndex(Situação->findData(sócio->situação));
    SócioActual = número;

    // The query gives the months in key order, so each entry goes at the end of the list.
    Lista.ListQuotas = EntradasDasQuotas(sócio->quotas);
    // The oldest dues row becomes current; with none, the entry fields keep this month.
    IrParaPosição(Lista.ListQuotas.Vazia() ? 0 : 1);
  }
  const bool háSócios = !(sócios.InícioFicheiro() && sócios.FimFicheiro());
  Comando[0]->setEnabled(háSócios && bool(AbrirProcura));
  acçãoProcurar->setEnabled(háSócios);
  acçõesNavegação[0]->setEnabled(háSócios && bool(AbrirProcura));
  if (menuListagens)
    menuListagens->setEnabled(háSócios);
}

void Base::IrParaPosição(qsizetype alvo) {
  const ListaOrdenada &l = Lista.ListQuotas;
  QStringList linhas;
  for (const QString &e : l.Entradas())
    linhas << e.mid(6); // the four columns after the sort key
  TabelaQuotas->DefinirLinhas(linhas);
  TabelaQuotas->Posicionar(l.Vazia() ? 0 : 1, int(l.Tamanho()), int(alvo));
  const bool temQuotas = !l.Vazia();
  for (QWidget *w : {static_cast<QWidget *>(Posição), static_cast<QWidget *>(Comando[5]),
                     static_cast<QWidget *>(Comando[6])})
    w->setEnabled(temQuotas);
  if (temQuotas)
    MostrarQuotaActual();
  else
    Quotas->clearSelection();
}

// The current dues row stands in the entry fields.
void Base::MostrarQuotaActual() {
  const int p = Posição->value();
  if (p < 1)
    return;
  const QString &actual = Lista.ListQuotas.Em(p - 1);
  const PartesQuota partes = DividirEntrada(actual);
  Ano->setText(partes.ano);
  Quota->setText(partes.valor);
  Recibo->setText(QString::number(ValorNumérico(partes.recibo)));
  Mês->setCurrentIndex(MêsDaEntrada(actual) - 1);
}

void Base::ComandoClicado(int i) {
  // The button takes the focus first, so that the field being edited finishes its own work.
  Comando[i]->setFocus(Qt::OtherFocusReason);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  switch (i) {
  case 0:
    if (AbrirProcura) {
      AbrirProcura();
      Nome->setFocus();
    }
    break;
  case 1: {
    qint32 novo = -1;
    MostrarSócio(novo);
    Número->setFocus();
    break;
  }
  case 2:
    EliminarSócio();
    break;
  case 3:
    GravarSócio();
    break;
  case 4:
    AdicionarQuota();
    break;
  case 5:
    AlterarQuota();
    break;
  case 6:
    ApagarQuota();
    break;
  default:
    break;
  }
}

void Base::NavegarSócio(int k) {
  if (k < 1 || k > 5)
    return;
  QAction *acção = acçõesNavegação[k - 1];
  acção->setEnabled(false);
  Comando[0]->setFocus(Qt::OtherFocusReason);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  BaseDados::Leitura leitura(::Dados().bd);
  ConjuntoRegistos &sócios = *::Dados().sócios;
  const auto mostrar = [this](qint64 n) {
    qint32 número = qint32(n);
    MostrarSócio(número);
  };
  switch (k) {
  case 1:
    ComandoClicado(0);
    break;
  case 2:
  case 5:
    if (k == 2)
      sócios.MoverPrimeiro();
    else
      sócios.MoverÚltimo();
    if (!sócios.FimFicheiro() && sócios.Inteiro(u"Número") != SócioActual)
      mostrar(sócios.Inteiro(u"Número"));
    else
      Bip();
    break;
  case 3:
  case 4:
    if (k == 3)
      sócios.MoverAnterior();
    else
      sócios.MoverSeguinte();
    if (sócios.InícioFicheiro() || sócios.FimFicheiro()) {
      mostrar(SócioActual);
      Bip();
    } else {
      mostrar(sócios.Inteiro(u"Número"));
    }
    break;
  }
  acção->setEnabled(k != 1 || bool(AbrirProcura));
  if (k != 1)
    Número->setFocus();
}

void Base::MostrarSeparador(QWidget *campo) {
  for (int i = 0; i < 3; ++i)
    if (Quadro[i]->isAncestorOf(campo))
      Dados->setCurrentIndex(i);
  campo->setFocus();
}

static FichaSócio LerFichaDe(const QLineEdit *número, const QLineEdit *nome, const QComboBox *cp,
                             const QComboBox *sit, const QComboBox *tipo, const QLineEdit *dt,
                             const QLineEdit *val, const QLineEdit *rua, const QLineEdit *loc,
                             const QPlainTextEdit *obs, const QLineEdit *nif) {
  const auto dado = [](const QComboBox *c) {
    return c->currentIndex() >= 0 ? c->currentData().toLongLong() : qint64(0);
  };
  return FichaSócio{número->text(), nome->text(),       dado(cp),    dado(sit),
                    dado(tipo),     dt->text(),         val->text(), rua->text(),
                    loc->text(),    obs->toPlainText(), nif->text()};
}

void Base::GravarSócio() {
  Ampulheta ampulheta;
  const FichaSócio ficha = LerFichaDe(Número, Nome, CPostal, Situação, TipoQuota, DtInscrição,
                                      ValQuota, Rua, Localidade, Observações, NIF);
  ResultadoGravação r;
  try {
    r = GravarFicha(::Dados().bd, *::Dados().sócios, *::Dados().quotizações, ficha, SócioActual,
                    Lista.ListQuotas, Lista.ListElimin);
  } catch (const ErroBaseDados &e) {
    // Nothing was written; the screen keeps all that the user typed.
    Ampulheta::Seta();
    Bip();
    MostrarErro(e, TítuloGravar, this);
    return;
  }
  if (r.erro != ErroFicha::Nenhum) {
    Ampulheta::Seta();
    Bip();
    MostrarMensagem(MensagemErroFicha(r.erro), Botões::OK, Ícone::Informação, TítuloGravar, this);
    QWidget *campo = r.erro == ErroFicha::Nome    ? static_cast<QWidget *>(Nome)
                     : r.erro == ErroFicha::Data  ? static_cast<QWidget *>(DtInscrição)
                     : r.erro == ErroFicha::Valor ? static_cast<QWidget *>(ValQuota)
                                                  : static_cast<QWidget *>(Número);
    MostrarSeparador(campo);
    return;
  }
  SócioActual = r.número;
  MostrarSócio(SócioActual);
  Nome->setFocus();
}

void Base::EliminarSócio() {
  Ampulheta ampulheta;
  const qint64 número = ValorNumérico(Número->text());
  ConjuntoRegistos &sócios = *::Dados().sócios;
  sócios.ProcurarPrimeiro(Critério::Igual(u"Número"_s, número));
  if (!sócios.SemCorrespondência()) {
    const qint32 n = qint32(sócios.Inteiro(u"Número"));
    Ampulheta::Seta();
    Bip();
    const QString texto =
        u"O Sócio nº\n"_s + QString::number(n) + u" - "_s + sócios.Texto(u"Nome").trimmed() +
        u"\nvai ser eliminado do Ficheiro de Sócios.\n\nConfirme eliminação do Sócio..."_s;
    const Resposta resposta =
        MostrarMensagem(texto, Botões::SimNão, Ícone::Pergunta, u"Eliminar Sócio"_s, this);
    Ampulheta::Espera();
    if (resposta == Resposta::Sim) {
      try {
        EliminarRegistos(::Dados().bd, sócios, *::Dados().quotizações, n);
      } catch (const ErroBaseDados &e) {
        Ampulheta::Seta();
        Bip();
        MostrarErro(e, u"Eliminar Sócio"_s, this);
      }
    }
    SócioActual = SócioAMostrarApós(sócios, número);
  }
  MostrarSócio(SócioActual);
  Número->setFocus();
}

std::optional<Moeda> Base::ValorDaQuota() {
  auto v = Moeda::Ler(Quota->text());
  // Never a guessed amount, nor one the field could only show cut: the user corrects it.
  if (v && v->Formatar(u"###,###,##0.00").size() > Quota->maxLength())
    v.reset();
  if (!v) {
    Bip();
    MostrarSeparador(Quota);
  }
  return v;
}

void Base::AdicionarQuota() {
  Ampulheta ampulheta;
  const auto valor = ValorDaQuota();
  if (!valor)
    return;
  const qsizetype alvo = Lista.Adicionar(
      int(ValorNumérico(Ano->text())), Mês->currentIndex(), *valor, ValorNumérico(Recibo->text()),
      [this](int mês, int ano) {
        Ampulheta::Seta();
        Bip();
        const bool sim = MostrarMensagem(u"Alterar o valor da quota e/ou o número do recibo de "_s +
                                             NomeMês(mês) + u" de "_s +
                                             FormatarNúmero(qint64(ano), u"0000") + u'?',
                                         Botões::SimNão, Ícone::Pergunta, u"Quota já Existente"_s,
                                         this) == Resposta::Sim;
        Ampulheta::Espera();
        return sim;
      });
  if (alvo > 0)
    IrParaPosição(alvo);
  Ano->setFocus();
}

void Base::AlterarQuota() {
  Ampulheta ampulheta;
  if (ÉPeríodo(Mês->currentIndex())) {
    Bip();
    Mês->setFocus();
    return;
  }
  const auto valor = ValorDaQuota();
  if (!valor || Lista.ListQuotas.Vazia())
    return;
  const auto r = Lista.Alterar(Posição->value(), int(ValorNumérico(Ano->text())),
                               Mês->currentIndex() + 1, *valor, ValorNumérico(Recibo->text()));
  if (r.repetida)
    Bip();
  IrParaPosição(r.posição);
  Ano->setFocus();
}

void Base::ApagarQuota() {
  Ampulheta ampulheta;
  if (Lista.ListQuotas.Vazia())
    return;
  const qsizetype novo = Lista.Apagar(Posição->value());
  IrParaPosição(novo);
  if (novo < 1) {
    EntradasPorOmissão();
    Quota->setText(u"0"_s);
    Recibo->clear();
  }
  Ano->setFocus();
}
