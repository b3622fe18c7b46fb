#include "JanelaRelatorio.h"

#include "Campos.h"
#include "Comandos.h"
#include "ErroBaseDados.h"
#include "Exportacao.h"
#include "Formatacao.h"
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
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int LinhasVisíveis = 9;

} // namespace

JanelaRelatório::JanelaRelatório(QWidget *pai, const Definição &d)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint), título(d.título),
      cabeçalhoExportação(d.cabeçalhoExportação) {
  PrepararJanela(this, d.nome, d.título);
  auto *moldura = MolduraElevada(this);

  auto *painel = PainelTítulo(d.título);
  painel->setObjectName(u"Painel"_s);

  Ano = CampoTexto(u"Ano"_s, 4, {}, QString::number(Hoje().year()));
  Ano->setFixedWidth(Ano->fontMetrics().horizontalAdvance(u"00000"_s) + 16);
  AplicarComportamento(Ano, {.teclas = FiltroTeclas::Dígitos, .ano = true});
  TipoQuota = new QComboBox;
  TipoQuota->setObjectName(u"TipoQuota"_s);
  PreencherComTodos(TipoQuota, u"[Todos]"_s, Listas().tiposQuota);
  AplicarComportamento(TipoQuota, {.seleccionarTudo = false});

  auto *campos = new QGridLayout;
  int linha = 0;
  if (d.comMês) {
    Mês = new QComboBox;
    Mês->setObjectName(u"Mês"_s);
    Mês->addItems(NomesMeses());
    Mês->setCurrentIndex(Hoje().month() - 1);
    AplicarComportamento(Mês, {.seleccionarTudo = false});
    campos->addWidget(Legenda(u"&Mês"_s, Mês), linha, 0);
    campos->addWidget(Mês, linha++, 1);
  }
  campos->addWidget(Legenda(u"&Ano"_s, Ano), linha, 0);
  campos->addWidget(Ano, linha++, 1, Qt::AlignLeft);
  campos->addWidget(Legenda(u"&Tipo de Quota"_s, TipoQuota), linha, 0);
  campos->addWidget(TipoQuota, linha++, 1);

  Listagem = new GrelhaComBarra(LinhasVisíveis, d.colunas, u"Listagem"_s, u"Posição"_s);
  Listagem->Posicionar(1, 1, 1);
  Listagem->Barra()->setEnabled(false);
  QHBoxLayout *cabeçalhos = TítulosDasColunas(*Listagem, d.rótulos, &rótulos);

  CriarComandos(Comando, {u"Sai&r"_s, d.listar, u"&Imprimir"_s},
                [this](int i) { ComandoClicado(i); });
  auto *botões = new QHBoxLayout;
  botões->addStretch();
  Comando[2]->setEnabled(false);
  Exportar = BotãoExportar(Comando[2], [this] { ExportarLinhas(); });
  for (QPushButton *b : {Comando[1], Comando[2], Exportar, Comando[0]})
    botões->addWidget(b);

  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(painel);
  corpo->addLayout(campos);
  corpo->addLayout(cabeçalhos);
  corpo->addWidget(Listagem, 0, Qt::AlignLeft);
  corpo->addLayout(botões);

  if (Mês)
    EncadearTabulação({Mês, Ano});
  EncadearTabulação(
      {Ano, TipoQuota, Listagem->Grelha(), Comando[1], Comando[2], Exportar, Comando[0]});
  (Mês ? static_cast<QWidget *>(Mês) : Ano)->setFocus();
  CentrarJanela(this, pai);
}

qint64 JanelaRelatório::TipoEscolhido() const {
  return TipoQuota->currentIndex() > 0 ? TipoQuota->currentData().toLongLong() : 0;
}

int JanelaRelatório::AnoEscolhido() const {
  return int(ValorNumérico(Ano->text()));
}

void JanelaRelatório::ComandoClicado(int i) {
  if (i == 0)
    reject();
  else if (i == 1)
    Listar();
  else
    ImprimirLista();
}

void JanelaRelatório::FocoDepois() {
  if (Listagem->Barra()->isEnabled())
    Listagem->Grelha()->setFocus();
  else
    Ano->setFocus();
}

void JanelaRelatório::Listar() {
  Ampulheta ampulheta;
  QLabel *progresso = rótulos.value(1);
  const QString nome = progresso ? progresso->text() : QString();
  const auto mostrar = [&](int p) {
    if (progresso) {
      progresso->setText(TextoProgresso(p));
      progresso->repaint();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  mostrar(0);
  setEnabled(false);
  QStringList linhas;
  if (ExecutarAcção(this, título, [&] { linhas = Construir(mostrar); }))
    mostrar(100);
  const int máximo = std::max(0, int(linhas.size()) - (LinhasVisíveis - 1));
  Listagem->DefinirLinhas(linhas, 1, std::max(1, máximo), 1);
  Listagem->Barra()->setEnabled(máximo >= 2);
  Comando[2]->setEnabled(!linhas.isEmpty());
  if (progresso)
    progresso->setText(nome);
  setEnabled(true);
  FocoDepois();
}

void JanelaRelatório::ImprimirLista() {
  ImprimirDaJanela(
      this, Comando[2], título,
      [this](Impressão &p, const std::function<void(int)> &andamento) { Imprimir(p, andamento); });
  FocoDepois();
}

void JanelaRelatório::ExportarLinhas() {
  // The blank before each name only keeps it off the grid's line.
  QList<QStringList> linhas{cabeçalhoExportação};
  for (const QString &l : Listagem->Linhas()) {
    QStringList células = l.split(u'\t');
    for (QString &c : células)
      c = c.trimmed();
    linhas << células;
  }
  ExportarLista(this, título, nomeExportação, linhas);
  FocoDepois();
}
