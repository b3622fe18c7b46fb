#include "QtsDivida.h"

#include "Cabecalho.h"
#include "Campos.h"
#include "CartasAviso.h"
#include "Comandos.h"
#include "Dados.h"
#include "Exportacao.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"
#include "Relogio.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Quotas em Dívida"_s;
constexpr int LinhasVisíveis = 9;

QComboBox *ListaMeses(const QString &nome, int mês) {
  auto *c = new QComboBox;
  c->setObjectName(nome);
  c->addItems(NomesMeses());
  c->setCurrentIndex(mês - 1);
  AplicarComportamento(c, {.seleccionarTudo = false});
  return c;
}

QLineEdit *CampoAno(const QString &nome) {
  QLineEdit *a = CampoTexto(nome, 4, {}, QString::number(Hoje().year()));
  a->setFixedWidth(a->fontMetrics().horizontalAdvance(u"00000"_s) + 16);
  AplicarComportamento(a, {.teclas = FiltroTeclas::Dígitos, .ano = true});
  return a;
}

QString MêsEAno(const QComboBox *mês, const QLineEdit *ano) {
  return mês->currentText() + u" de "_s + QString::number(ValorNumérico(ano->text()));
}

} // namespace

QtsDívida::QtsDívida(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"QtsDivida"_s, Título);
  auto *moldura = MolduraElevada(this);
  auto *painel = PainelTítulo(Título);
  painel->setObjectName(u"Painel"_s);

  MêsInicial = ListaMeses(u"MêsInicial"_s, 1);
  AnoInicial = CampoAno(u"AnoInicial"_s);
  MêsFinal = ListaMeses(u"MêsFinal"_s, Hoje().month());
  AnoFinal = CampoAno(u"AnoFinal"_s);
  TipoQuota = new QComboBox;
  TipoQuota->setObjectName(u"TipoQuota"_s);
  PreencherComTodos(TipoQuota, u"[Todos]"_s, Listas().tiposQuota);
  Situação = new QComboBox;
  Situação->setObjectName(u"Situação"_s);
  PreencherComTodos(Situação, u"[Todas]"_s, Listas().situações);
  Ordem = new QComboBox;
  Ordem->setObjectName(u"Ordem"_s);
  Ordem->addItems({u"Número"_s, u"Nome"_s, u"Valor"_s});
  for (QComboBox *c : {TipoQuota, Situação, Ordem})
    AplicarComportamento(c, {.seleccionarTudo = false});

  auto *campos = new QGridLayout;
  campos->addWidget(Legenda(u"&De"_s, MêsInicial), 0, 0);
  campos->addWidget(MêsInicial, 0, 1);
  campos->addWidget(AnoInicial, 0, 2, Qt::AlignLeft);
  campos->addWidget(Legenda(u"&Até"_s, MêsFinal), 1, 0);
  campos->addWidget(MêsFinal, 1, 1);
  campos->addWidget(AnoFinal, 1, 2, Qt::AlignLeft);
  campos->addWidget(Legenda(u"&Tipo de Quota"_s, TipoQuota), 2, 0);
  campos->addWidget(TipoQuota, 2, 1, 1, 2);
  campos->addWidget(Legenda(u"&Situação"_s, Situação), 3, 0);
  campos->addWidget(Situação, 3, 1, 1, 2);
  campos->addWidget(Legenda(u"Orde&m"_s, Ordem), 4, 0);
  campos->addWidget(Ordem, 4, 1, 1, 2);
  campos->setColumnStretch(3, 1);

  const QList<GrelhaComBarra::Coluna> colunas{
      {675, u"000000"_s, Qt::AlignCenter},
      {3000, u" Maximiliano dos Santos Guimarães"_s},
      {3000, u"Jan–Mar 2026, Mai 2026"_s},
      {600, u"000"_s, Qt::AlignRight | Qt::AlignVCenter},
      {1100, u"00.000,00"_s, Qt::AlignRight | Qt::AlignVCenter}};
  Listagem = new GrelhaComBarra(LinhasVisíveis, colunas, u"Listagem"_s, u"Posição"_s);
  Listagem->Posicionar(1, 1, 1);
  Listagem->Barra()->setEnabled(false);
  QList<QLabel *> títulos;
  QHBoxLayout *cabeçalhos = TítulosDasColunas(
      *Listagem, {u"Número"_s, u"Nome"_s, u"Meses em dívida"_s, u"Meses"_s, u"Valor"_s}, &títulos);
  progresso = títulos[1];
  Totais = new QLabel;
  Totais->setObjectName(u"Totais"_s);

  CriarComandos(Comando, {u"Sai&r"_s, u"&Procurar"_s, u"&Imprimir"_s}, [this](int i) {
    if (i == 0)
      reject();
    else if (i == 1)
      Listar();
    else
      ImprimirLista();
  });
  Comando[2]->setEnabled(false);
  Exportar = BotãoExportar(Comando[2], [this] { ExportarLinhas(); });
  // The letters go to the members listed: with the list's print button they are enabled.
  QPushButton *cartas[3];
  CriarComandos(cartas, {u"&Cartas de Aviso"_s, u"E&xportar Cartas..."_s, u"Text&o da Carta..."_s},
                [this](int i) {
                  if (i == 0)
                    ImprimirCartas();
                  else if (i == 1)
                    ExportarLinhasCartas();
                  else
                    EditarTexto();
                });
  Cartas = cartas[0];
  ExportarCartas = cartas[1];
  TextoCarta = cartas[2];
  const QStringList nomes{u"Cartas"_s, u"ExportarCartas"_s, u"TextoCarta"_s};
  for (int i = 0; i < 3; ++i)
    cartas[i]->setObjectName(nomes[i]);
  Cartas->setEnabled(false);
  ExportarCartas->setEnabled(false);

  auto *botões = new QHBoxLayout;
  botões->addStretch();
  for (QPushButton *b : {Comando[1], Comando[2], Exportar, Comando[0]})
    botões->addWidget(b);
  auto *botõesCartas = new QHBoxLayout;
  botõesCartas->addStretch();
  for (QPushButton *b : {Cartas, ExportarCartas, TextoCarta})
    botõesCartas->addWidget(b);

  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(painel);
  corpo->addLayout(campos);
  corpo->addLayout(cabeçalhos);
  corpo->addWidget(Listagem, 0, Qt::AlignLeft);
  corpo->addWidget(Totais);
  corpo->addLayout(botões);
  corpo->addLayout(botõesCartas);

  EncadearTabulação({MêsInicial, AnoInicial, MêsFinal, AnoFinal, TipoQuota, Situação, Ordem,
                     Listagem->Grelha(), Comando[1], Comando[2], Exportar, Cartas, ExportarCartas,
                     TextoCarta, Comando[0]});
  MêsInicial->setFocus();
  CentrarJanela(this, pai);
}

void QtsDívida::FocoDepois() {
  if (Listagem->Barra()->isEnabled())
    Listagem->Grelha()->setFocus();
  else
    MêsInicial->setFocus();
}

void QtsDívida::Ocupado(bool ocupado) {
  setEnabled(!ocupado);
}

void QtsDívida::Listar() {
  FiltroDívidas filtro;
  filtro.de = ÍndiceMês(int(ValorNumérico(AnoInicial->text())), MêsInicial->currentIndex() + 1);
  filtro.até = ÍndiceMês(int(ValorNumérico(AnoFinal->text())), MêsFinal->currentIndex() + 1);
  if (filtro.de > filtro.até) {
    Bip();
    MostrarMensagem(u"O mês inicial não pode ser posterior ao mês final."_s, Botões::OK,
                    Ícone::Exclamação, Título, this);
    MêsInicial->setFocus();
    return;
  }
  filtro.tipoQuota = TipoQuota->currentIndex() > 0 ? TipoQuota->currentData().toLongLong() : 0;
  filtro.situação = Situação->currentIndex() > 0 ? Situação->currentData().toLongLong() : 0;
  const OrdemDívidas ordem = OrdemDívidas(Ordem->currentIndex());
  const ParâmetrosDívidas pedidos{
      MêsEAno(MêsInicial, AnoInicial) + u" a "_s + MêsEAno(MêsFinal, AnoFinal),
      TipoQuota->currentText(), Situação->currentText(), Ordem->currentText()};

  Ampulheta ampulheta;
  const QString nome = progresso->text();
  const auto mostrar = [&](int p) {
    progresso->setText(TextoProgresso(p));
    progresso->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  mostrar(0);
  Ocupado(true);
  std::vector<SócioEmDívida> nova;
  const bool feito = ExecutarAcção(
      this, Título, [&] { nova = SóciosEmDívida(Dados().bd, filtro, ordem, mostrar); });
  lista = std::move(nova);
  if (feito) {
    construída = pedidos;
    nomeExportação = u"Quotas em dívida - "_s + MêsInicial->currentText() + u' ' +
                     AnoInicial->text() + u" a "_s + MêsFinal->currentText() + u' ' +
                     AnoFinal->text();
  }
  QStringList linhas;
  for (const SócioEmDívida &s : lista)
    linhas << FormatarNúmero(s.número, u"000000") + u"\t "_s + s.nome + u'\t' +
                  MesesCompactos(s.meses) + u'\t' + QString::number(s.meses.size()) + u'\t' +
                  s.valor.Formatar();
  const int máximo = std::max(0, int(linhas.size()) - (LinhasVisíveis - 1));
  Listagem->DefinirLinhas(linhas, 1, std::max(1, máximo), 1);
  Listagem->Barra()->setEnabled(máximo >= 2);
  const TotaisDívidas t = SomarDívidas(lista);
  Totais->setText(lista.empty() ? QString()
                                : u"Total: "_s + QString::number(t.sócios) + u" sócio(s), "_s +
                                      QString::number(t.meses) + u" mês(es), "_s +
                                      t.valor.Formatar() + u" €"_s);
  for (QPushButton *b : {Comando[2], Cartas, ExportarCartas})
    b->setEnabled(!lista.empty());
  progresso->setText(nome);
  Ocupado(false);
  FocoDepois();
}

void QtsDívida::ImprimirLista() {
  ImprimirDaJanela(this, Comando[2], Título,
                   [this](Impressão &p, const std::function<void(int)> &andamento) {
                     ImprimirDívidas(p, construída, lista, andamento);
                   });
  FocoDepois();
}

void QtsDívida::ExportarLinhas() {
  QList<QStringList> linhas{{u"Número"_s, u"Nome"_s, u"Meses em dívida"_s, u"Meses"_s, u"Valor"_s}};
  for (const SócioEmDívida &s : lista)
    linhas << QStringList{FormatarNúmero(s.número, u"000000"), s.nome, MesesCompactos(s.meses),
                          QString::number(s.meses.size()), s.valor.Formatar()};
  ExportarLista(this, Título, nomeExportação, linhas);
  FocoDepois();
}

void QtsDívida::ImprimirCartas() {
  Ocupado(true);
  {
    Ampulheta ampulheta;
    ExecutarAcção(this, Título, [this] {
      const QString modelo = LerTextoCarta(Dados().bd);
      const QString local = LinhasColectividade(Dados().bd, Listas()).value(2);
      if (auto p = AbrirImpressão(u"Cartas de Aviso"_s, this))
        ::ImprimirCartas(*p, modelo, lista, Hoje(), local);
    });
  }
  Ocupado(false);
  FocoDepois();
}

void QtsDívida::ExportarLinhasCartas() {
  QList<QStringList> linhas;
  if (ExecutarAcção(this, Título,
                    [&] { linhas = LinhasCsvCartas(LerTextoCarta(Dados().bd), lista, Hoje()); }))
    ExportarLista(this, Título, u"Cartas de aviso - "_s + nomeExportação.section(u" - "_s, 1),
                  linhas);
  FocoDepois();
}

void QtsDívida::EditarTexto() {
  TextoCartaAviso janela(this);
  ExecutarModal(janela);
  FocoDepois();
}

// --- the letter's text -------------------------------------------------------------------

TextoCartaAviso::TextoCartaAviso(QWidget *pai)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  const QString título = u"Texto da Carta de Aviso"_s;
  PrepararJanela(this, u"TextoCarta"_s, título);
  auto *moldura = MolduraElevada(this);
  auto *explicação =
      new QLabel(u"Os campos «número», «nome», «meses», «quantos», «valor» e «data» são "
                 u"substituídos, em cada carta, pelos dados do sócio."_s);
  explicação->setWordWrap(true);
  Texto = new QPlainTextEdit;
  Texto->setObjectName(u"Texto"_s);
  Texto->setTabChangesFocus(true);
  Texto->setMinimumSize(Texto->fontMetrics().horizontalAdvance(u'M') * 50,
                        Texto->fontMetrics().lineSpacing() * 14);
  AplicarComportamento(Texto, {.seleccionarTudo = false});
  ExecutarAcção(this, título, [this] { Texto->setPlainText(LerTextoCarta(Dados().bd)); });
  auto *rótulo = new QLabel(u"&Texto"_s);
  rótulo->setBuddy(Texto);
  CriarComandos(Comando, {u"&Gravar"_s, u"&Cancelar"_s, u"Texto &Original"_s}, [this](int i) {
    if (i == 0)
      Gravar();
    else if (i == 1)
      reject();
    else
      Texto->setPlainText(TextoCartaPorOmissão());
  });
  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(PainelTítulo(título));
  corpo->addWidget(explicação);
  corpo->addWidget(rótulo);
  corpo->addWidget(Texto);
  corpo->addLayout(BotõesAoCentro({Comando[0], Comando[1], Comando[2]}));
  EncadearTabulação({Texto, Comando[0], Comando[1], Comando[2]});
  Texto->setFocus();
  CentrarJanela(this, pai);
}

void TextoCartaAviso::Gravar() {
  if (ExecutarAcção(this, windowTitle(),
                    [this] { GravarTextoCarta(Dados().bd, Texto->toPlainText()); }))
    accept();
}
