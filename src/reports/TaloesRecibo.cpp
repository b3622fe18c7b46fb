#include "TaloesRecibo.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Impressao.h"
#include "ImprimirTaloes.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"
#include "Relogio.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Impressão de Talões de Recibo"_s;

QLineEdit *Campo(const QString &nome, const QString &texto, int limite) {
  auto *c = CampoTexto(nome, limite, {}, texto);
  c->setFixedWidth(c->fontMetrics().horizontalAdvance(u"0000000000"_s) + 16);
  AplicarComportamento(c, {.teclas = FiltroTeclas::Dígitos});
  return c;
}

QWidget *Separador(std::initializer_list<std::pair<QString, QWidget *>> linhas) {
  auto *w = new QWidget;
  auto *f = new QFormLayout(w);
  for (const auto &[legenda, campo] : linhas) {
    auto *l = new QLabel(legenda);
    l->setBuddy(campo);
    f->addRow(l, campo);
  }
  return w;
}

} // namespace

TalõesRecibo::TalõesRecibo(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"TalõesRecibo"_s, Título);
  auto *moldura = MolduraElevada(this);

  Ninicial = Campo(u"Ninicial"_s, u"0"_s, 10);
  Ano = Campo(u"Ano"_s, QString::number(Hoje().year()), 4);
  AplicarComportamento(Ano, {.teclas = FiltroTeclas::Dígitos, .ano = true});
  MesX = Campo(u"MesX"_s, u"1"_s, 2);
  SócioX = Campo(u"SócioX"_s, u"1"_s, 6);
  SócioY = Campo(u"SócioY"_s, u"999999"_s, 6);
  Mês = new QComboBox;
  Mês->setObjectName(u"Mês"_s);
  const std::pair<const char16_t *, int> periodicidades[] = {
      {u"Mensal", 12}, {u"Trimestral", 4}, {u"Semestral", 2}, {u"Anual", 1}};
  for (const auto &[texto, n] : periodicidades)
    Mês->addItem(QString::fromUtf16(texto), n);
  Situação = new QComboBox;
  Situação->setObjectName(u"Situação"_s);
  PreencherComTodos(Situação, u"[Todas]"_s, Listas().situações);
  for (QComboBox *c : {Mês, Situação})
    AplicarComportamento(c, {.seleccionarTudo = false});

  auto *ordens = new QWidget;
  auto *lo = new QVBoxLayout(ordens);
  const QString legendas[] = {u"Númerica"_s, u"Alfabetica"_s, u"Código Postal"_s};
  for (int i = 0; i < 3; ++i) {
    Ordena[i] = new QRadioButton(legendas[i]);
    Ordena[i]->setObjectName(u"Ordena_"_s + QString::number(i));
    lo->addWidget(Ordena[i]);
  }
  Ordena[0]->setChecked(true);

  Opções = new QTabWidget;
  Opções->setObjectName(u"Opções"_s);
  Opções->addTab(Separador({{u"Ano da Emissão:"_s, Ano}, {u"A iniciar no Mês:"_s, MesX}}),
                 u" &Data "_s);
  Opções->addTab(Separador({{u"Periodicidade dos Recibos a Emitir:"_s, Mês}}), u"  &Periodo  "_s);
  Opções->addTab(Separador({{u"Situação dos Associados:"_s, Situação}}), u"Sit&uação"_s);
  Opções->addTab(Separador({{u"Do Sócio 'X':"_s, SócioX}, {u"Até ao Sócio 'Y':"_s, SócioY}}),
                 u" &Sócios"_s);
  Opções->addTab(ordens, u"&Ordenação"_s);
  EntrarPeloSeparador(Opções);
  // All five tabs in sight, none behind scroll arrows.
  Opções->setMinimumWidth(Opções->tabBar()->sizeHint().width() + 24);

  Painel3 = new QProgressBar;
  Painel3->setObjectName(u"Painel_3"_s);
  Painel3->setRange(0, 100);
  Painel3->setValue(0);

  CriarComandos(Comando, {u"Sai&r"_s, u"&Imprimir"_s}, [this](int i) {
    if (i == 0)
      reject();
    else
      ImprimirTalões();
  });

  auto *contador = new QFormLayout;
  auto *rótulo = new QLabel(u"NºInicial do Recibo"_s);
  rótulo->setBuddy(Ninicial);
  contador->addRow(rótulo, Ninicial);
  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(PainelTítulo(Título));
  corpo->addLayout(contador);
  corpo->addWidget(Opções);
  corpo->addWidget(Painel3);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  EncadearTabulação({Ninicial, Opções, Comando[1], Comando[0]});

  // The counter as stored; a number typed there is stored when the field is left.
  ExecutarAcção(this, Título, [this] { Ninicial->setText(LerContadorRecibos(Dados().bd)); });
  AplicarComportamento(
      Ninicial, {.teclas = FiltroTeclas::Dígitos, .aoPerderFoco = [this] { GuardarContador(); }});
  Ninicial->setFocus();
  CentrarJanela(this, pai);
}

void TalõesRecibo::GuardarContador() {
  // Only a number the user typed is stored: the one shown may be behind another desk's counter,
  // and the run numbers on after the larger of the two anyway.
  if (!Ninicial->isModified())
    return;
  // A lower counter hands out again numbers already on printed receipts: only when confirmed.
  const auto aceitarDescida = [this](qint64 guardado, qint64 novo) {
    const QString de = QString::number(novo + 1);
    const QString até = QString::number(guardado);
    return PerguntarNãoPorOmissão(
               u"O número indicado (%1) é menor do que o do último recibo emitido (%2).\n"
               u"Os recibos nº %3 a %2 já foram emitidos: se baixar o contador, estes números "
               u"voltam a ser dados e haverá recibos repetidos.\n\n"
               u"Quer mesmo baixar o contador para %1?"_s.arg(QString::number(novo), até, de),
               Título, this) == Resposta::Sim;
  };
  std::optional<RecusaTalões> recusa;
  if (!ExecutarAcção(this, Título, [&] {
        recusa = GravarContadorRecibos(Dados().bd, Ninicial->text(), aceitarDescida);
      }))
    return;
  if (recusa == RecusaTalões::NInicialInválido) {
    Bip();
    MostrarMensagem(MensagemRecusa(*recusa), Botões::OK, Ícone::Exclamação, Título, this);
  }
  if (recusa)
    ExecutarAcção(this, Título, [this] { Ninicial->setText(LerContadorRecibos(Dados().bd)); });
  else
    Ninicial->setModified(false);
}

void TalõesRecibo::ImprimirTalões() {
  PedidoTalões pedido;
  pedido.sócioX = SócioX->text();
  pedido.sócioY = SócioY->text();
  pedido.ano = Ano->text();
  pedido.mesX = MesX->text();
  pedido.periodicidade = Mês->currentData().toInt();
  pedido.situação = Situação->currentIndex() > 0 ? Situação->currentData().toLongLong() : 0;
  pedido.ordem = Ordena[1]->isChecked()   ? OrdemTalões::Nome
                 : Ordena[2]->isChecked() ? OrdemTalões::CódigoPostal
                                          : OrdemTalões::Número;
  // The counter as the field shows it; another desk may have moved the stored one since.
  pedido.nInicial = Ninicial->text();
  setEnabled(false);
  std::optional<RecusaTalões> recusa;
  std::optional<FalhaImpressãoTalões> falha;
  NúmerosTalões emitidos;
  bool impressos = false;
  {
    Ampulheta ampulheta;
    ExecutarAcção(this, Título, [&] {
      try {
        recusa = ExecutarTalões(
            Dados().bd, Listas(), pedido,
            [this](const std::function<void()> &entregar) {
              return AbrirImpressãoInteira(Título, this, entregar);
            },
            [this](int p) {
              Painel3->setValue(p);
              QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            },
            &emitidos);
        impressos = !recusa;
      } catch (const FalhaImpressãoTalões &f) {
        falha = f;
      }
    });
  }
  setEnabled(true);
  if (falha) {
    Bip();
    MostrarMensagem(falha->Mensagem(), Botões::OK, Ícone::Exclamação, Título, this);
  }
  if (impressos && emitidos.Mudaram())
    MostrarMensagem(MensagemNumeraçãoMudada(emitidos), Botões::OK, Ícone::Informação, Título, this);
  if (recusa && *recusa != RecusaTalões::ImpressãoNãoIniciada) {
    Bip();
    // The missing association name is told under the program's own title.
    MostrarMensagem(MensagemRecusa(*recusa), Botões::OK, Ícone::Nenhum,
                    *recusa == RecusaTalões::SemNomeColectividade
                        ? u"Ficheiro de Sócios e Quotizações"_s
                        : Título,
                    this);
  }
  ExecutarAcção(this, Título, [this] { Ninicial->setText(LerContadorRecibos(Dados().bd)); });
  Painel3->setValue(0);
}
