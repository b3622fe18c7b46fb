#include "AltAcesso.h"
#include "Referencias.h"

#include "CampoCodigo.h"
#include "Campos.h"
#include "CodigoAcesso.h"
#include "Comandos.h"
#include "Dados.h"
#include "Janelas.h"
#include "Mensagens.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Alterar Código de Acesso"_s;

} // namespace

void GuardarCódigoAcesso(BaseDados &bd, qint32 código) {
  // One change: if the engine refuses it, the old code stays in place.
  GravarLinhaTabelas(bd, u'0', CifrarCódigo(código));
}

AltAcesso::AltAcesso(QWidget *principal)
    : QDialog(principal, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"AltAcesso"_s, Título);

  // Without a caption bar the window draws its own raised border.
  auto *moldura = MolduraElevada(this);

  // Painel(0) is the background of the steps; the three step panels share its one place, so
  // the window neither grows nor jumps from step to step.
  Painel[0] = new QFrame;
  Painel[0]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Painel[0]->setObjectName(u"Painel_0"_s);
  passos = new QStackedLayout(Painel[0]);
  Código[0] = nullptr;
  static const char16_t *const legendas[] = {u"Indique Código de Acesso Actual",
                                             u"Indique Novo Código de Acesso",
                                             u"Confirme Novo Código de Acesso"};
  for (int i = 1; i <= 3; ++i) {
    Painel[i] = new QFrame;
    Painel[i]->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Painel[i]->setObjectName(u"Painel_"_s + QString::number(i));
    auto *legenda = new QLabel(QString::fromUtf16(legendas[i - 1]));
    legenda->setAlignment(Qt::AlignCenter);
    QFont negrito = legenda->font();
    negrito.setBold(true);
    legenda->setFont(negrito);

    Código[i] = new QLineEdit;
    Código[i]->setObjectName(u"Codigo_"_s + QString::number(i));
    Código[i]->setAlignment(Qt::AlignCenter);
    PrepararCampoCódigo(Código[i]);
    Código[i]->setFixedWidth(Código[i]->fontMetrics().horizontalAdvance(u"#####"_s) * 2 + 16);
    legenda->setBuddy(Código[i]);

    auto *conteúdo = new QVBoxLayout(Painel[i]);
    conteúdo->setContentsMargins(12, 12, 12, 12);
    conteúdo->setSpacing(10);
    conteúdo->addWidget(legenda);
    conteúdo->addWidget(Código[i], 0, Qt::AlignHCenter);
    passos->addWidget(Painel[i]);
  }

  CriarComandos(Comando, {u"Cancela&r"_s, u"&Confirmar"_s},
                [this](int i) { i == 1 ? Confirmar() : Cancelar(); });
  ÍconesConfirmarCancelar(Comando[1], Comando[0]);
  // Enter presses the focused button; from a code field it presses "&Confirmar".
  for (QPushButton *b : Comando)
    b->setAutoDefault(true);
  Comando[1]->setDefault(true);
  // While the window waits for the user, the pointer is the ordinary arrow.
  SetaEnquantoVisível(this);

  auto *corpo = new QVBoxLayout(moldura);
  corpo->setContentsMargins(16, 16, 16, 16);
  corpo->setSpacing(10);
  corpo->addWidget(Painel[0]);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  setMinimumWidth(340);

  // A missing row, or one holding the key itself, means no code: there is nothing to ask.
  const auto guardado = LerLinhaTabelas(Dados().bd, u'0');
  códigoActual = guardado ? DecifrarCódigo(*guardado) : 0;
  MostrarPasso(códigoActual == 0 ? 2 : 1);

  CentrarJanela(this, principal);
}

void AltAcesso::Abrir(QWidget *principal) {
  std::unique_ptr<AltAcesso> janela;
  // Without the current code nothing may be changed: the window is not opened.
  if (ExecutarAcção(principal, Título, [&] { janela = std::make_unique<AltAcesso>(principal); }))
    janela->exec();
}

void AltAcesso::MostrarPasso(int n) {
  passo = n;
  passos->setCurrentWidget(Painel[n]);
  // Tab stays within the step: the hidden fields are out of reach anyway.
  EncadearTabulação({Código[n], Comando[1], Comando[0]});
  Código[n]->setFocus();
}

void AltAcesso::showEvent(QShowEvent *e) {
  QDialog::showEvent(e);
  Código[passo]->setFocus();
}

void AltAcesso::Cancelar() {
  reject();
}

void AltAcesso::Confirmar() {
  Ampulheta ampulheta;
  if (passo < 3)
    MostrarPasso(passo + 1);
  else
    Concluir();
}

void AltAcesso::Concluir() {
  // The step skipped when no code is set leaves its field empty, which counts as 0 and so
  // matches the missing code.
  const qint32 novo = ValorCódigo(Código[3]->text());
  const bool certos =
      ValorCódigo(Código[1]->text()) == códigoActual && novo == ValorCódigo(Código[2]->text());
  Ampulheta::Seta();
  if (!certos) {
    Bip();
    MostrarMensagem(u"Códigos errados ou introduzidos incorrectamente.\n\n"
                    u"Código de Acesso não foi alterado."_s,
                    Botões::OK, Ícone::Informação, Título, this);
    reject();
    return;
  }
  // Reported as a failure, never as a change: the old code still holds.
  if (!ExecutarAcção(this, Título, [&] { GuardarCódigoAcesso(Dados().bd, novo); })) {
    reject();
    return;
  }
  Bip();
  MostrarMensagem(novo != 0 ? u"Código de Acesso alterado com sucesso."_s
                            : u"Código de Acesso foi desactivado com sucesso."_s,
                  Botões::OK, Ícone::Informação, Título, this);
  accept();
}
