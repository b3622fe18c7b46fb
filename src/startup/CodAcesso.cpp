#include "CodAcesso.h"
#include "Referencias.h"

#include "CampoCodigo.h"
#include "Campos.h"
#include "CodigoAcesso.h"
#include "Comandos.h"
#include "Dados.h"
#include "Janelas.h"
#include "Mensagens.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CódAcesso::CódAcesso(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"CodAcesso"_s, u"Código de Acesso"_s);

  // Without a caption bar the window draws its own raised border.
  auto *moldura = MolduraElevada(this);

  Painel[0] =
      PainelTítulo(u"Os dados deste ficheiro estão protegidos por um Código de Acesso."_s, 8);
  Painel[0]->setWordWrap(true);

  Painel[1] = new QLabel(u"Indique Código de Acesso Actual"_s);
  Painel[1]->setAlignment(Qt::AlignCenter);

  Código = new QLineEdit;
  Código->setObjectName(u"Codigo"_s);
  Código->setAlignment(Qt::AlignCenter);
  PrepararCampoCódigo(Código);
  Painel[1]->setBuddy(Código);

  CriarComandos(Comando, {u"Cancela&r"_s, u"&Confirmar"_s},
                [this](int i) { i == 1 ? Confirmar() : Cancelar(); });
  ÍconesConfirmarCancelar(Comando[1], Comando[0]);
  for (int i = 0; i < 2; ++i)
    Painel[i]->setObjectName(u"Painel_"_s + QString::number(i));
  Comando[1]->setDefault(true);
  Comando[1]->setAutoDefault(true);
  // While the window waits for the user, the pointer is the ordinary arrow.
  SetaEnquantoVisível(this);

  auto *corpo = new QVBoxLayout(moldura);
  corpo->setContentsMargins(16, 16, 16, 16);
  corpo->setSpacing(10);
  corpo->addWidget(Painel[0]);
  corpo->addWidget(Painel[1]);
  auto *linhaCódigo = new QHBoxLayout;
  linhaCódigo->addStretch();
  linhaCódigo->addWidget(Código);
  linhaCódigo->addStretch();
  corpo->addLayout(linhaCódigo);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  Código->setFixedWidth(Código->fontMetrics().horizontalAdvance(u"#####"_s) * 2 + 16);
  setMinimumWidth(380);
  EncadearTabulação({Código, Comando[1], Comando[0]});

  // The expected code comes from the scrambled row of kind "0".
  esperado = QString::number(DecifrarCódigo(LerLinhaTabelas(Dados().bd, u'0').value_or(QString())));
  tentativas = 0;
  Código->setFocus();
}

void CódAcesso::showEvent(QShowEvent *e) {
  QDialog::showEvent(e);
  // Centred on the screen: the main window is not there yet.
  if (QScreen *ecrã = screen() ? screen() : QGuiApplication::primaryScreen()) {
    const QRect área = ecrã->availableGeometry();
    move(área.center() - QPoint(width() / 2, height() / 2));
  }
  Código->setFocus();
}

void CódAcesso::Cancelar() {
  resultado = Resultado::Recusado;
  reject();
}

void CódAcesso::Confirmar() {
  if (!Comando[1]->isEnabled())
    return;
  ++tentativas;
  if (ValorCódigo(esperado) == ValorCódigo(Código->text())) {
    resultado = Resultado::Concedido;
    done(QDialog::Accepted);
    return;
  }
  static const char16_t *const restantes[] = {u"Dispõe de mais duas tentativas",
                                              u"Dispõe de mais uma tentativa",
                                              u"Acesso ao programa negado"};
  const int i = std::min(tentativas, 3) - 1;
  Bip();
  MostrarMensagem(u"Código errado ou mal introduzido.\n\n"_s + QString::fromUtf16(restantes[i]) +
                      u'.',
                  Botões::OK, tentativas < 3 ? Ícone::Exclamação : Ícone::Crítico,
                  u"Acesso aos Dados do Ficheiro"_s, this);
  const bool podeTentar = tentativas < 3;
  Comando[1]->setEnabled(podeTentar);
  Código->clear();
  Código->setEnabled(podeTentar);
  if (podeTentar)
    Código->setFocus();
  else
    Comando[0]->setFocus();
}
