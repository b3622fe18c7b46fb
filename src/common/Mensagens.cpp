#include "Mensagens.h"

#include "Campos.h"
#include "ErroBaseDados.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>

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

// A message box placed over the window it belongs to, and wide enough for its title: Qt sizes
// a box by its text alone, and a window that is not on screen puts it at the screen's corner.
class Caixa : public QMessageBox {
public:
  Caixa(Ícone ícone, const QString &título, const QString &texto, QWidget *pai)
      : QMessageBox(ÍconeQt(ícone), título, texto, QMessageBox::NoButton, pai) {
    // Over the window asked for when it is on view, else over the one the user is in.
    dono = pai ? pai->window() : nullptr;
    if (!dono || !dono->isVisible())
      dono = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                               : QApplication::activeWindow();
  }

protected:
  void showEvent(QShowEvent *e) override {
    // Added last, as the box rebuilds its layout when details or other parts are set; the box
    // takes its size from the layout as it is shown. Room is left for the caption bar's icon
    // and buttons beside the title.
    if (auto *grelha = qobject_cast<QGridLayout *>(layout()); grelha && !largura) {
      QFont negrito = font();
      negrito.setBold(true);
      const QFontMetrics medida(negrito);
      largura = new QSpacerItem(medida.horizontalAdvance(windowTitle()) + 6 * medida.height(), 0,
                                QSizePolicy::Minimum, QSizePolicy::Minimum);
      grelha->addItem(largura, grelha->rowCount(), 0, 1, grelha->columnCount());
    }
    QMessageBox::showEvent(e);
    CentrarJanela(this, dono && dono != this && dono->isVisible() ? dono.data() : nullptr);
  }

private:
  QPointer<QWidget> dono;
  QSpacerItem *largura = nullptr; // owned by the layout
};

} // namespace

namespace {

Resposta Mostrar(const PedidoMensagem &pedido, QWidget *pai) {
  if (const auto &r = RespondedorActual())
    return r(pedido);
  const auto &[título, texto, botões, ícone, detalhes, nãoPorOmissão] = pedido;

  Caixa caixa(ícone, título, texto, pai);
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
  if (nãoPorOmissão && não)
    caixa.setDefaultButton(static_cast<QPushButton *>(não));
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

} // namespace

Resposta MostrarMensagem(const QString &texto, Botões botões, Ícone ícone, const QString &título,
                         QWidget *pai, const QString &detalhes) {
  return Mostrar({título, texto, botões, ícone, detalhes}, pai);
}

Resposta PerguntarNãoPorOmissão(const QString &texto, const QString &título, QWidget *pai) {
  return Mostrar({título, texto, Botões::SimNão, Ícone::Pergunta, {}, true}, pai);
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
