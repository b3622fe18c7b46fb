#include "ColDados.h"

#include "Campos.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Dados da Colectividade"_s;

} // namespace

ColDados::ColDados(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(u"ColDados"_s);
  setWindowTitle(Título);
  setModal(true);

  // Without a caption bar the window draws its own raised border; its title is Painel(0).
  auto *moldura = MolduraElevada(this);

  static const char16_t *const legendas[] = {u"Dados da Colectividade", u"&Nome", u"&Endereço",
                                             u"&Telefone", u"&Fax"};
  for (int i = 0; i < 5; ++i) {
    Painel[i] = new QLabel(QString::fromUtf16(legendas[i]));
    Painel[i]->setObjectName(u"Painel_"_s + QString::number(i));
  }
  Painel[0]->setAlignment(Qt::AlignCenter);
  Painel[0]->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Painel[0]->setMargin(6);
  QFont negrito = Painel[0]->font();
  negrito.setBold(true);
  Painel[0]->setFont(negrito);

  const auto campo = [](const QString &nome, int limite) {
    auto *c = new QLineEdit;
    c->setObjectName(nome);
    c->setMaxLength(limite);
    return c;
  };
  Nome = campo(u"Nome"_s, 38);
  Rua = campo(u"Rua"_s, 38);
  Localidade = campo(u"Localidade"_s, 38);
  Telefone = campo(u"Telefone"_s, 12);
  Fax = campo(u"Fax"_s, 12);
  for (QLineEdit *c : {Nome, Rua, Localidade})
    c->setMinimumWidth(c->fontMetrics().averageCharWidth() * 40);
  CPostal = new QComboBox;
  CPostal->setObjectName(u"CPostal"_s);
  CPostal->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  CPostal->setMinimumContentsLength(20);
  Painel[1]->setBuddy(Nome);
  Painel[2]->setBuddy(Rua);
  Painel[3]->setBuddy(Telefone);
  Painel[4]->setBuddy(Fax);

  AplicarComportamento(Nome, {.compactar = true, .teclas = FiltroTeclas::Letras});
  for (QLineEdit *c : {Rua, Localidade})
    AplicarComportamento(c, {.compactar = true});
  for (QLineEdit *c : {Telefone, Fax})
    AplicarComportamento(c, {.compactar = true, .teclas = FiltroTeclas::DígitosEspaço});
  AplicarComportamento(CPostal, {.seleccionarTudo = false});

  Comando[1] = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), u"&Definir"_s);
  Comando[0] =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), u"&Cancelar"_s);
  for (int i = 0; i < 2; ++i) {
    Comando[i]->setObjectName(u"Comando_"_s + QString::number(i));
    ÊnfaseBotão(Comando[i]);
    connect(Comando[i], &QPushButton::clicked, this, [this, i] { ComandoClicado(i); });
  }
  // Enter confirms as in any dialog; Escape closes it as "&Cancelar" does.
  Comando[1]->setDefault(true);
  Comando[0]->setAutoDefault(false);

  auto *grelha = new QGridLayout;
  grelha->addWidget(Painel[1], 0, 0);
  grelha->addWidget(Nome, 0, 1, 1, 3);
  grelha->addWidget(Painel[2], 1, 0);
  grelha->addWidget(Rua, 1, 1, 1, 3);
  grelha->addWidget(Localidade, 2, 1, 1, 3);
  grelha->addWidget(CPostal, 3, 1, 1, 3);
  grelha->addWidget(Painel[3], 4, 0);
  grelha->addWidget(Telefone, 4, 1);
  grelha->addWidget(Painel[4], 4, 2, Qt::AlignRight);
  grelha->addWidget(Fax, 4, 3);
  grelha->setColumnStretch(1, 1);
  grelha->setColumnStretch(3, 1);
  auto *botões = new QHBoxLayout;
  botões->addStretch();
  botões->addWidget(Comando[1]);
  botões->addWidget(Comando[0]);
  botões->addStretch();
  auto *corpo = new QVBoxLayout(moldura);
  corpo->setContentsMargins(12, 12, 12, 12);
  corpo->addWidget(Painel[0]);
  corpo->addLayout(grelha);
  corpo->addLayout(botões);

  QWidget *ordem[] = {Nome, Rua, Localidade, CPostal, Telefone, Fax, Comando[1], Comando[0]};
  for (size_t i = 1; i < std::size(ordem); ++i)
    setTabOrder(ordem[i - 1], ordem[i]);

  // Load: the postal codes, then what the rows hold (trimmed), empty where a row is missing.
  for (const ItemReferência &i : Listas().códigosPostais)
    CPostal->addItem(i.texto, i.código);
  BaseDados::Leitura leitura(Dados().bd);
  const std::pair<int, QLineEdit *> textos[] = {
      {1, Nome}, {2, Rua}, {3, Localidade}, {5, Telefone}, {6, Fax}};
  for (const auto &[k, c] : textos)
    c->setText(LerLinhaTabelas(Dados().bd, QChar(u'0' + k)).value_or(QString()).trimmed());
  CPostal->setCurrentIndex(-1);
  if (const auto código = LerLinhaTabelas(Dados().bd, u'4'))
    CPostal->setCurrentIndex(CPostal->findData(ValorNumérico(*código)));

  Nome->setFocus();
  CentrarJanela(this, pai);
}

void ColDados::ComandoClicado(int i) {
  // The button takes the focus first, so that the field being left is squeezed before saving.
  Comando[i]->setFocus(Qt::OtherFocusReason);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (i == 1) {
    // A failed save keeps the window open with all that was typed.
    if (!GravarDados())
      return;
    accept();
  } else {
    reject();
  }
}

bool ColDados::GravarDados() {
  Ampulheta ampulheta;
  const auto valor = [](const QString &texto) {
    const QString t = texto.trimmed();
    return t.isEmpty() ? u" "_s : t;
  };
  const QString valores[6] = {
      valor(Nome->text()),
      valor(Rua->text()),
      valor(Localidade->text()),
      CPostal->currentIndex() >= 0 ? QString::number(CPostal->currentData().toLongLong()) : u"0"_s,
      valor(Telefone->text()),
      valor(Fax->text()),
  };
  try {
    // The six rows are one save: a report header never mixes old and new data.
    BaseDados::Transacção transacção(Dados().bd);
    for (int k = 1; k <= 6; ++k)
      GravarLinhaTabelas(Dados().bd, QChar(u'0' + k), valores[k - 1]);
    transacção.Confirmar();
  } catch (const ErroBaseDados &e) {
    Ampulheta::Seta();
    Bip();
    MostrarErro(e, Título, this);
    return false;
  }
  Dados().tabelas->Reexecutar();
  return true;
}
