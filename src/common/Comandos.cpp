#include "Comandos.h"

#include "Campos.h"
#include "ErroBaseDados.h"
#include "Janelas.h"
#include "Mensagens.h"

#include <QComboBox>
#include <QDialog>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

using namespace Qt::StringLiterals;

void PrepararJanela(QDialog *janela, const QString &nome, const QString &título) {
  janela->setObjectName(nome);
  janela->setWindowTitle(título);
  janela->setModal(true);
}

void CriarComandos(std::span<QPushButton *> comandos, const QStringList &legendas,
                   std::function<void(int)> aoClicar) {
  for (int i = 0; i < int(comandos.size()); ++i) {
    auto *b = new QPushButton(legendas.value(i));
    b->setObjectName(u"Comando_"_s + QString::number(i));
    b->setAutoDefault(false);
    ÊnfaseBotão(b);
    QObject::connect(b, &QPushButton::clicked, b, [b, i, aoClicar] {
      TomarFoco(b);
      aoClicar(i);
    });
    comandos[i] = b;
  }
}

void ÍconesConfirmarCancelar(QPushButton *confirmar, QPushButton *cancelar) {
  confirmar->setIcon(confirmar->style()->standardIcon(QStyle::SP_DialogOkButton));
  cancelar->setIcon(cancelar->style()->standardIcon(QStyle::SP_DialogCancelButton));
}

QHBoxLayout *BotõesAoCentro(std::initializer_list<QPushButton *> botões) {
  auto *fila = new QHBoxLayout;
  fila->addStretch();
  for (QPushButton *b : botões)
    fila->addWidget(b);
  fila->addStretch();
  return fila;
}

void TomarFoco(QWidget *controlo) {
  controlo->setFocus(Qt::OtherFocusReason);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QLabel *PainelTítulo(const QString &texto, int margem) {
  auto *painel = new QLabel(texto);
  painel->setAlignment(Qt::AlignCenter);
  painel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  painel->setMargin(margem);
  QFont negrito = painel->font();
  negrito.setBold(true);
  painel->setFont(negrito);
  return painel;
}

namespace {

class SetaNaJanela : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject *o, QEvent *e) override {
    if (o != parent())
      return false;
    if (e->type() == QEvent::Show && !posta) {
      QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
      posta = true;
    } else if (e->type() == QEvent::Hide && posta) {
      QGuiApplication::restoreOverrideCursor();
      posta = false;
    }
    return false;
  }

private:
  bool posta = false;
};

} // namespace

void SetaEnquantoVisível(QWidget *janela) {
  janela->installEventFilter(new SetaNaJanela(janela));
}

bool ExecutarAcção(QWidget *janela, const QString &título, const std::function<void()> &acção,
                   const QString &acrescento) {
  try {
    acção();
    return true;
  } catch (const ErroBaseDados &e) {
    // Whatever the action had begun was rolled back by its transaction; the screen keeps what
    // the user typed.
    Ampulheta::Seta();
    Bip();
    MostrarErro(e, título, janela, acrescento);
    return false;
  }
}

void EncadearTabulação(std::initializer_list<QWidget *> ordem) {
  QWidget *anterior = nullptr;
  for (QWidget *w : ordem) {
    if (anterior)
      QWidget::setTabOrder(anterior, w);
    anterior = w;
  }
}

QString TextoProgresso(int percentagem) {
  return QString::number(percentagem) + u"% concluído"_s;
}

void PreencherComTodos(QComboBox *lista, const QString &primeira, const ListaReferência &itens) {
  lista->clear();
  lista->addItem(primeira, qint64(0));
  for (const ItemReferência &i : itens)
    lista->addItem(i.texto, i.código);
  lista->setCurrentIndex(0);
}
