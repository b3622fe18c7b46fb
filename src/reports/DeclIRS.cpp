#include "DeclIRS.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"
#include "ImprimirDeclaracao.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Relogio.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Impressão de Declaração para IRS"_s;

} // namespace

DeclIRS::DeclIRS(QWidget *pai, const QString &número, const QString &nome)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"DeclIRS"_s, Título);
  auto *moldura = MolduraElevada(this);

  Número = CampoTexto(u"Número"_s, 6);
  Nome = new QLabel(nome);
  Nome->setObjectName(u"Nome"_s);
  Ano = CampoTexto(u"Ano"_s, 4, {}, QString::number(Hoje().year()));
  Quotizações = CampoTexto(u"Quotizações"_s, 14, Qt::AlignRight);
  const int largura = Número->fontMetrics().horizontalAdvance(u"000.000.000,00"_s) + 16;
  for (QLineEdit *c : {Número, Ano, Quotizações})
    c->setFixedWidth(largura);
  Declaração = new QPlainTextEdit;
  Declaração->setObjectName(u"Declaração"_s);
  Declaração->setTabChangesFocus(true);
  Declaração->setMinimumSize(Declaração->fontMetrics().averageCharWidth() * 60,
                             Declaração->fontMetrics().height() * 8);

  AplicarComportamento(Número,
                       {.teclas = FiltroTeclas::Dígitos, .aoPerderFoco = [this] {
                          Número->setText(FormatarNúmero(ValorNumérico(Número->text()), u"000000"));
                        }});
  AplicarComportamento(Ano, {.teclas = FiltroTeclas::Dígitos, .ano = true, .aoPerderFoco = [this] {
                               SomarQuotizações(false);
                             }});
  AplicarComportamento(Quotizações,
                       {.teclas = FiltroTeclas::Numérica,
                        .aoGanharFoco = [this] { totalAnterior = Quotizações->text(); },
                        .aoPerderFoco =
                            [this] {
                              // Never a total that is not an amount: the one before comes back.
                              if (const auto total = ValidarQuotizações(Quotizações->text())) {
                                Quotizações->setText(*total);
                              } else {
                                Bip();
                                Quotizações->setText(totalAnterior);
                              }
                            }});
  AplicarComportamento(Declaração,
                       {.seleccionarTudo = false, .compactar = true, .aoGanharFoco = [this] {
                          Declaração->moveCursor(QTextCursor::End);
                        }});
  connect(Número, &QLineEdit::textChanged, this, [this](const QString &t) {
    if (!t.isEmpty())
      SomarQuotizações(true);
  });
  connect(Quotizações, &QLineEdit::textChanged, this, [this] { Compor(); });

  CriarComandos(Comando, {u"Sai&r"_s, u"&Imprimir"_s}, [this](int i) {
    if (i == 0) {
      reject();
      return;
    }
    Imprimir();
    Número->setFocus();
  });

  auto *campos = new QGridLayout;
  campos->addWidget(Legenda(u"&Sócio"_s, Número), 0, 0);
  campos->addWidget(Número, 0, 1);
  campos->addWidget(Nome, 0, 2);
  campos->addWidget(Legenda(u"&Ano"_s, Ano), 1, 0);
  campos->addWidget(Ano, 1, 1);
  campos->addWidget(Legenda(u"&Quotizações"_s, Quotizações), 2, 0);
  campos->addWidget(Quotizações, 2, 1);
  campos->setColumnStretch(2, 1);
  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(PainelTítulo(u" "_s + Título));
  corpo->addLayout(campos);
  corpo->addWidget(Legenda(u"Texto da &Declaração"_s, Declaração));
  corpo->addWidget(Declaração, 1);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  EncadearTabulação({Número, Ano, Quotizações, Declaração, Comando[1], Comando[0]});

  // Load: this year, and the member the main screen shows (its change sums the year).
  Número->setText(número);
  Nome->setText(nome);
  Número->setFocus();
  CentrarJanela(this, pai);
}

void DeclIRS::SomarQuotizações(bool porNúmero) {
  Ampulheta ampulheta;
  if (porNúmero)
    sócio = ValorNumérico(Número->text());
  std::optional<QuotizaçõesDoAno> r;
  if (!ExecutarAcção(this, Título, [&] {
        r = ::SomarQuotizações(Dados().bd, sócio, int(ValorNumérico(Ano->text())));
      }))
    return;
  if (!r) {
    if (!porNúmero)
      return;
    Nome->clear();
    Quotizações->setText(u"0"_s);
    Declaração->clear();
    Declaração->setEnabled(false);
    Comando[1]->setEnabled(false);
    return;
  }
  Nome->setText(r->nome);
  Quotizações->setText(r->total.Formatar(u"###,###,##0.00"));
  Compor();
  if (porNúmero) {
    Declaração->moveCursor(QTextCursor::End);
    Declaração->setEnabled(true);
    Comando[1]->setEnabled(true);
  }
}

void DeclIRS::Compor() {
  Declaração->setPlainText(ComporDeclaração(Nome->text(), ValorNumérico(Número->text()),
                                            Ano->text(), Quotizações->text()));
}

void DeclIRS::Imprimir() {
  setEnabled(false);
  Comando[1]->setText(u"Aguarde..."_s);
  {
    Ampulheta ampulheta;
    ExecutarAcção(this, Título, [this] {
      if (auto p = AbrirImpressão(
              u"Declaração para IRS "_s + QString::number(ValorNumérico(Número->text())), this))
        ImprimirDeclaração(*p, Declaração->toPlainText(), Hoje());
    });
  }
  Comando[1]->setText(u"&Imprimir"_s);
  setEnabled(true);
}
