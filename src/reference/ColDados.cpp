#include "ColDados.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"
#include "Validacao.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Dados da Colectividade"_s;

} // namespace

ColDados::ColDados(QWidget *pai) : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint) {
  PrepararJanela(this, u"ColDados"_s, Título);

  // Without a caption bar the window draws its own raised border; its title is Painel(0).
  auto *moldura = MolduraElevada(this);

  Painel[0] = PainelTítulo(Título);
  static const char16_t *const legendas[] = {u"&Nome", u"&Endereço", u"&Telefone", u"&Fax"};
  for (int i = 1; i < 5; ++i)
    Painel[i] = new QLabel(QString::fromUtf16(legendas[i - 1]));
  for (int i = 0; i < 5; ++i)
    Painel[i]->setObjectName(u"Painel_"_s + QString::number(i));

  Nome = CampoTexto(u"Nome"_s, 38);
  Rua = CampoTexto(u"Rua"_s, 38);
  Localidade = CampoTexto(u"Localidade"_s, 38);
  Telefone = CampoTexto(u"Telefone"_s, 12);
  Fax = CampoTexto(u"Fax"_s, 12);
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
  NIPC = CampoTexto(u"NIPC"_s, 9);
  PainelNIPC = new QLabel(u"N&IPC"_s);
  PainelNIPC->setObjectName(u"PainelNIPC"_s);
  PainelNIPC->setBuddy(NIPC);
  AplicarComportamento(NIPC, {.realçar = false,
                              .seleccionarTudo = false,
                              .teclas = FiltroTeclas::Dígitos,
                              .aoPerderFoco = [this] { AssinalarCampo(NIPC, AvisoNIPC()); }});

  AplicarComportamento(Nome, {.compactar = true, .teclas = FiltroTeclas::Letras});
  for (QLineEdit *c : {Rua, Localidade})
    AplicarComportamento(c, {.compactar = true});
  for (QLineEdit *c : {Telefone, Fax})
    AplicarComportamento(c, {.compactar = true, .teclas = FiltroTeclas::DígitosEspaço});
  AplicarComportamento(CPostal, {.seleccionarTudo = false});

  CriarComandos(Comando, {u"&Cancelar"_s, u"&Definir"_s}, [this](int i) { ComandoClicado(i); });
  ÍconesConfirmarCancelar(Comando[1], Comando[0]);
  // Enter confirms as in any dialog; Escape closes it as "&Cancelar" does.
  Comando[1]->setDefault(true);

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
  grelha->addWidget(PainelNIPC, 5, 0);
  grelha->addWidget(NIPC, 5, 1);
  grelha->setColumnStretch(1, 1);
  grelha->setColumnStretch(3, 1);
  auto *corpo = new QVBoxLayout(moldura);
  corpo->setContentsMargins(12, 12, 12, 12);
  corpo->addWidget(Painel[0]);
  corpo->addLayout(grelha);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));

  EncadearTabulação({Nome, Rua, Localidade, CPostal, Telefone, Fax, NIPC, Comando[1], Comando[0]});

  // Load: the postal codes, then what the rows hold (trimmed), empty where a row is missing.
  for (const ItemReferência &i : Listas().códigosPostais)
    CPostal->addItem(i.texto, i.código);
  BaseDados::Leitura leitura(Dados().bd);
  const std::pair<int, QLineEdit *> textos[] = {
      {1, Nome}, {2, Rua}, {3, Localidade}, {5, Telefone}, {6, Fax}};
  for (int k = 1; k <= 6; ++k)
    guardado[k - 1] = LerLinhaTabelas(Dados().bd, QChar(u'0' + k));
  for (const auto &[k, c] : textos)
    c->setText(guardado[k - 1].value_or(QString()).trimmed());
  CPostal->setCurrentIndex(-1);
  if (guardado[3])
    CPostal->setCurrentIndex(CPostal->findData(ValorNumérico(*guardado[3])));
  for (int k = 0; k < 6; ++k)
    mostrado[k] = ValorMostrado(k);
  nipcGuardado = LerLinhaTabelas(Dados().bd, TipoNIPC);
  NIPC->setText(nipcGuardado.value_or(QString()).trimmed());
  nipcMostrado = NIPC->text();
  nipcAceite = nipcMostrado; // a number kept before is not questioned again
  AssinalarCampo(NIPC, AvisoNIPC());

  Nome->setFocus();
  CentrarJanela(this, pai);
}

void ColDados::ComandoClicado(int i) {
  if (i == 1) {
    // A failed save keeps the window open with all that was typed.
    if (!GravarDados())
      return;
    accept();
  } else {
    reject();
  }
}

QString ColDados::ValorMostrado(int k) const {
  if (k == 3)
    return CPostal->currentIndex() >= 0 ? QString::number(CPostal->currentData().toLongLong())
                                        : u"0"_s;
  const QLineEdit *campos[6] = {Nome, Rua, Localidade, nullptr, Telefone, Fax};
  const QString t = campos[k]->text().trimmed();
  return t.isEmpty() ? u" "_s : t;
}

QString ColDados::AvisoNIPC() const {
  const QString t = NIPC->text().trimmed();
  return t.isEmpty() ? QString() : MotivoNifInválido(t).replace(u"NIF"_s, u"NIPC"_s);
}

bool ColDados::ConfirmarNIPC() {
  const QString motivo = AvisoNIPC();
  if (motivo.isEmpty() || NIPC->text().trimmed() == nipcAceite)
    return true;
  Bip();
  const Resposta r =
      MostrarMensagem(u"O NIPC "_s + NIPC->text().trimmed() + u" não parece válido.\n"_s + motivo +
                          u"\n\nGrava os dados com este NIPC?"_s,
                      Botões::SimNão, Ícone::Pergunta, Título, this);
  if (r != Resposta::Sim) {
    NIPC->setFocus();
    return false;
  }
  nipcAceite = NIPC->text().trimmed();
  return true;
}

bool ColDados::GravarDados() {
  if (!ConfirmarNIPC())
    return false;
  Ampulheta ampulheta;
  QString valores[6];
  for (int k = 0; k < 6; ++k) {
    valores[k] = ValorMostrado(k);
    if (guardado[k] && valores[k] == mostrado[k])
      valores[k] = *guardado[k];
  }
  // The six rows are one save: a report header never mixes old and new data.
  const bool gravado = ExecutarAcção(this, Título, [&] {
    BaseDados::Transacção transacção(Dados().bd);
    for (int k = 1; k <= 6; ++k)
      GravarLinhaTabelas(Dados().bd, QChar(u'0' + k), valores[k - 1]);
    const QString nipc = NIPC->text().trimmed();
    if (nipcGuardado && nipc == nipcMostrado)
      GravarLinhaTabelas(Dados().bd, TipoNIPC, *nipcGuardado);
    else if (nipcGuardado || !nipc.isEmpty())
      GravarLinhaTabelas(Dados().bd, TipoNIPC, nipc.isEmpty() ? u" "_s : nipc);
    transacção.Confirmar();
  });
  if (gravado)
    Dados().tabelas->Reexecutar();
  return gravado;
}
