#include "Mensagens.h"

#include "ErroBaseDados.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

Respondedor &RespondedorActual() {
  static Respondedor r;
  return r;
}

std::function<void()> &BipActual() {
  static std::function<void()> b;
  return b;
}

QMessageBox::Icon ÍconeQt(Ícone i) {
  switch (i) {
  case Ícone::Informação:
    return QMessageBox::Information;
  case Ícone::Pergunta:
    return QMessageBox::Question;
  case Ícone::Exclamação:
    return QMessageBox::Warning;
  case Ícone::Crítico:
    return QMessageBox::Critical;
  case Ícone::Nenhum:
    break;
  }
  return QMessageBox::NoIcon;
}

} // namespace

Resposta MostrarMensagem(const QString &texto, Botões botões, Ícone ícone, const QString &título,
                         QWidget *pai, const QString &detalhes) {
  if (const auto &r = RespondedorActual())
    return r(PedidoMensagem{título, texto, botões, ícone, detalhes});

  QMessageBox caixa(ÍconeQt(ícone), título, texto, QMessageBox::NoButton, pai);
  caixa.setDetailedText(detalhes);
  QAbstractButton *ok = nullptr, *cancelar = nullptr, *sim = nullptr, *não = nullptr;
  switch (botões) {
  case Botões::OK:
    ok = caixa.addButton(u"OK"_s, QMessageBox::AcceptRole);
    break;
  case Botões::OKCancelar:
    ok = caixa.addButton(u"OK"_s, QMessageBox::AcceptRole);
    cancelar = caixa.addButton(u"&Cancelar"_s, QMessageBox::RejectRole);
    break;
  case Botões::SimNão:
    sim = caixa.addButton(u"&Sim"_s, QMessageBox::YesRole);
    não = caixa.addButton(u"&Não"_s, QMessageBox::NoRole);
    break;
  case Botões::SimNãoCancelar:
    sim = caixa.addButton(u"&Sim"_s, QMessageBox::YesRole);
    não = caixa.addButton(u"&Não"_s, QMessageBox::NoRole);
    cancelar = caixa.addButton(u"&Cancelar"_s, QMessageBox::RejectRole);
    break;
  }
  caixa.setEscapeButton(cancelar ? cancelar : não ? não : ok);
  caixa.exec();
  QAbstractButton *escolhido = caixa.clickedButton();
  if (escolhido == sim)
    return Resposta::Sim;
  if (escolhido == não)
    return Resposta::Não;
  if (escolhido == cancelar)
    return Resposta::Cancelar;
  return Resposta::OK;
}

void MostrarErro(const ErroBaseDados &erro, const QString &título, QWidget *pai,
                 const QString &acrescento) {
  MostrarMensagem(erro.Mensagem() + acrescento, Botões::OK, Ícone::Crítico, título, pai,
                  erro.Detalhes());
}

void Bip() {
  if (const auto &b = BipActual())
    b();
  else
    QApplication::beep();
}

void InstalarRespondedor(Respondedor r) {
  RespondedorActual() = std::move(r);
}
void InstalarBip(std::function<void()> b) {
  BipActual() = std::move(b);
}
