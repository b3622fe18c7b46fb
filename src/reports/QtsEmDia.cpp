#include "QtsEmDia.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Exportacao.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "Janelas.h"
#include "Mensagens.h"
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

const QString Título = u"Sócios com Quotas em Dia"_s;
constexpr int LinhasVisíveis = 9;

} // namespace

QtsEmDia::QtsEmDia(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"QtsEmDia"_s, Título);
  auto *moldura = MolduraElevada(this);
  auto *painel = PainelTítulo(Título);
  painel->setObjectName(u"Painel"_s);

  Data = CampoTexto(u"Data"_s, 10, {}, FormatarData(Hoje()));
  Data->setFixedWidth(Data->fontMetrics().horizontalAdvance(u"00-00-00000"_s) + 16);
  AplicarComportamento(Data, {.teclas = FiltroTeclas::Data});
  MêsInicial = new QComboBox;
  MêsInicial->setObjectName(u"MêsInicial"_s);
  MêsInicial->addItems(NomesMeses());
  AplicarComportamento(MêsInicial, {.seleccionarTudo = false});
  AnoInicial = CampoTexto(u"AnoInicial"_s, 4, {}, QString::number(Hoje().year()));
  AnoInicial->setFixedWidth(AnoInicial->fontMetrics().horizontalAdvance(u"00000"_s) + 16);
  AplicarComportamento(AnoInicial, {.teclas = FiltroTeclas::Dígitos, .ano = true});

  auto *campos = new QGridLayout;
  campos->addWidget(Legenda(u"&Data"_s, Data), 0, 0);
  campos->addWidget(Data, 0, 1, 1, 2, Qt::AlignLeft);
  campos->addWidget(Legenda(u"Pagas de&sde"_s, MêsInicial), 1, 0);
  campos->addWidget(MêsInicial, 1, 1);
  campos->addWidget(AnoInicial, 1, 2, Qt::AlignLeft);
  campos->setColumnStretch(3, 1);

  const QList<GrelhaComBarra::Coluna> colunas{
      {675, u"000000"_s, Qt::AlignCenter},
      {3630, u" Maximiliano dos Santos Guimarães"_s, Qt::AlignLeft | Qt::AlignVCenter}};
  Listagem = new GrelhaComBarra(LinhasVisíveis, colunas, u"Listagem"_s, u"Posição"_s);
  Listagem->Posicionar(1, 1, 1);
  Listagem->Barra()->setEnabled(false);
  QList<QLabel *> títulos;
  QHBoxLayout *cabeçalhos = TítulosDasColunas(*Listagem, {u"Número"_s, u"Nome"_s}, &títulos);
  progresso = títulos[1];
  Contagem = new QLabel;
  Contagem->setObjectName(u"Contagem"_s);

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
  auto *botões = new QHBoxLayout;
  botões->addStretch();
  for (QPushButton *b : {Comando[1], Comando[2], Exportar, Comando[0]})
    botões->addWidget(b);

  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(painel);
  corpo->addLayout(campos);
  corpo->addLayout(cabeçalhos);
  corpo->addWidget(Listagem, 0, Qt::AlignLeft);
  corpo->addWidget(Contagem);
  corpo->addLayout(botões);

  EncadearTabulação({Data, MêsInicial, AnoInicial, Listagem->Grelha(), Comando[1], Comando[2],
                     Exportar, Comando[0]});
  Data->setFocus();
  CentrarJanela(this, pai);
}

void QtsEmDia::FocoDepois() {
  if (Listagem->Barra()->isEnabled())
    Listagem->Grelha()->setFocus();
  else
    Data->setFocus();
}

void QtsEmDia::Listar() {
  const std::optional<QDate> dia = LerData(Data->text());
  const int desde =
      ÍndiceMês(int(ValorNumérico(AnoInicial->text())), MêsInicial->currentIndex() + 1);
  QString erro;
  QWidget *campo = nullptr;
  if (!dia) {
    erro = u"A data não é válida: escreva-a como dd-mm-aaaa."_s;
    campo = Data;
  } else if (desde > ÍndiceMês(dia->year(), dia->month())) {
    erro = u"O primeiro mês não pode ser posterior ao mês da data."_s;
    campo = MêsInicial;
  }
  if (campo) {
    Bip();
    MostrarMensagem(erro, Botões::OK, Ícone::Exclamação, Título, this);
    campo->setFocus();
    return;
  }
  Ampulheta ampulheta;
  const QString nome = progresso->text();
  const auto mostrar = [&](int p) {
    progresso->setText(TextoProgresso(p));
    progresso->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  mostrar(0);
  setEnabled(false);
  std::vector<SócioEmDia> nova;
  if (ExecutarAcção(this, Título, [&] { nova = SóciosEmDia(Dados().bd, *dia, desde, mostrar); })) {
    dataConstruída = FormatarData(*dia);
    desdeConstruído = MêsInicial->currentText() + u" de "_s + QString::number(AnoDoÍndice(desde));
  }
  lista = std::move(nova);
  QStringList linhas;
  for (const SócioEmDia &s : lista)
    linhas << FormatarNúmero(s.número, u"000000") + u"\t "_s + s.nome;
  const int máximo = std::max(0, int(linhas.size()) - (LinhasVisíveis - 1));
  Listagem->DefinirLinhas(linhas, 1, std::max(1, máximo), 1);
  Listagem->Barra()->setEnabled(máximo >= 2);
  Contagem->setText(QString::number(lista.size()) + u" sócio(s) com as quotas em dia."_s);
  Comando[2]->setEnabled(!lista.empty());
  progresso->setText(nome);
  setEnabled(true);
  FocoDepois();
}

void QtsEmDia::ImprimirLista() {
  ImprimirDaJanela(this, Comando[2], Título,
                   [this](Impressão &p, const std::function<void(int)> &andamento) {
                     ImprimirEmDia(p, dataConstruída, desdeConstruído, lista, andamento);
                   });
  FocoDepois();
}

void QtsEmDia::ExportarLinhas() {
  QList<QStringList> linhas{{u"Número"_s, u"Nome"_s}};
  for (const SócioEmDia &s : lista)
    linhas << QStringList{FormatarNúmero(s.número, u"000000"), s.nome};
  ExportarLista(this, Título, u"Sócios com quotas em dia - "_s + dataConstruída, linhas);
  FocoDepois();
}
