#include "Janelas.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

Ampulheta::Ampulheta() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}
Ampulheta::~Ampulheta() {
  QGuiApplication::restoreOverrideCursor();
}
void Ampulheta::Seta() {
  QGuiApplication::changeOverrideCursor(Qt::ArrowCursor);
}
void Ampulheta::Espera() {
  QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}

QFrame *MolduraElevada(QDialog *janela) {
  auto *moldura = new QFrame(janela);
  moldura->setFrameStyle(QFrame::Panel | QFrame::Raised);
  moldura->setLineWidth(2);
  auto *exterior = new QVBoxLayout(janela);
  exterior->setContentsMargins(0, 0, 0, 0);
  exterior->addWidget(moldura);
  return moldura;
}

namespace {

class DevolverTeclado : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject *o, QEvent *e) override {
    if (e->type() != QEvent::Show && e->type() != QEvent::Hide)
      return false;
    auto *janela = qobject_cast<QWidget *>(o);
    if (!janela || !janela->isWindow() || !janela->isModal())
      return false;
    if (e->type() == QEvent::Show) {
      // The window the user came from; without one, the one the modal window belongs to.
      QWidget *antes = QApplication::activeWindow();
      if (!antes || antes == janela)
        antes = janela->parentWidget() ? janela->parentWidget()->window() : nullptr;
      anteriores.insert(janela, antes);
      return false;
    }
    QPointer<QWidget> anterior = anteriores.take(janela);
    // Queued: Qt and the window system first do what they do on their own.
    // The window system may report the loss of focus later than the hiding, so a window that
    // is no longer on screen does not count as active.
    QPointer<QWidget> fechada = janela;
    QTimer::singleShot(0, this, [anterior, fechada] {
      const QWidget *activa = QApplication::activeWindow();
      if ((activa && activa != fechada && activa->isVisible()) || QApplication::activePopupWidget())
        return;
      QWidget *alvo = QApplication::activeModalWidget();
      if (!alvo)
        alvo = anterior;
      if (alvo && alvo->isVisible()) {
        alvo->raise();
        alvo->activateWindow();
      }
    });
    return false;
  }

private:
  QHash<QWidget *, QPointer<QWidget>> anteriores;
};

} // namespace

void DevolverTecladoDepoisDeModais() {
  static QPointer<DevolverTeclado> instalado;
  if (instalado || !qApp)
    return;
  instalado = new DevolverTeclado(qApp);
  qApp->installEventFilter(instalado);
}

namespace {

// Ends the loop `fim` when the window it is put on is hidden.
class VigiaEsconder : public QObject {
public:
  VigiaEsconder(QWidget *janela, QEventLoop &ciclo) : QObject(janela), fim(ciclo) {
    janela->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject *o, QEvent *e) override {
    if (o == parent() && e->type() == QEvent::Hide)
      fim.quit();
    return false;
  }

private:
  QEventLoop &fim;
};

} // namespace

int ExecutarModal(QDialog &janela) {
  QEventLoop ciclo;
  QPointer<QDialog> guarda(&janela);
  auto *vigia = new VigiaEsconder(&janela, ciclo);
  QObject::connect(&janela, &QObject::destroyed, &ciclo, &QEventLoop::quit);
  janela.setResult(QDialog::Rejected);
  if (janela.windowModality() == Qt::NonModal)
    janela.setWindowModality(Qt::ApplicationModal);
  janela.show();
  if (janela.isVisible())
    ciclo.exec(QEventLoop::DialogExec);
  if (!guarda)
    return QDialog::Rejected;
  delete vigia;
  return janela.result();
}
