#include "Comandos.h"

#include "Campos.h"
#include "ErroBaseDados.h"
#include "Impressao.h"
#include "Janelas.h"
#include "Mensagens.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

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

void ImprimirDaJanela(
    QWidget *janela, QPushButton *botão, const QString &título,
    const std::function<void(Impressão &, const std::function<void(int)> &)> &imprimir) {
  const QString legenda = botão->text();
  janela->setEnabled(false);
  botão->setText(u"Aguarde..."_s);
  {
    Ampulheta ampulheta;
    ExecutarAcção(janela, título, [&] {
      if (auto p = AbrirImpressão(título, janela))
        imprimir(*p, [botão](int n) {
          botão->setText(QString::number(n) + u'%');
          QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    });
  }
  botão->setText(legenda);
  janela->setEnabled(true);
}

void EncadearTabulação(std::initializer_list<QWidget *> ordem) {
  QWidget *anterior = nullptr;
  for (QWidget *w : ordem) {
    if (anterior)
      QWidget::setTabOrder(anterior, w);
    anterior = w;
  }
}

namespace {

bool RecebeTab(const QWidget *w) {
  return !w->focusProxy() && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
         w->isVisibleTo(w->window());
}

// Focus on `campo` once the tab switch and what it enables have run.
void FocarDepois(QWidget *campo) {
  QTimer::singleShot(0, campo, [c = QPointer<QWidget>(campo)] {
    if (c && c->isEnabled() && c->isVisible())
      c->setFocus(Qt::ShortcutFocusReason);
  });
}

// The tab bar hears its tabs' access keys; the focus follows once the tab is shown.
class FocoNoSeparador : public QObject {
public:
  explicit FocoNoSeparador(QTabWidget *separadores)
      : QObject(separadores), separadores_(separadores) {}

protected:
  bool eventFilter(QObject *alvo, QEvent *evento) override {
    if (evento->type() == QEvent::Shortcut) {
      QTimer::singleShot(0, separadores_, [s = separadores_] {
        if (QWidget *página = s->currentWidget())
          if (QWidget *campo = PrimeiroCampo(página))
            campo->setFocus(Qt::ShortcutFocusReason);
      });
    }
    return QObject::eventFilter(alvo, evento);
  }

private:
  QTabWidget *separadores_;
};

// Where the access key of a label or panel of a tab page leads: the label's buddy, the
// panel's first field.
QWidget *DestinoDoAtalho(QWidget *w) {
  if (auto *r = qobject_cast<QLabel *>(w))
    return r->buddy();
  return PrimeiroCampo(w);
}

QString TextoComAtalho(const QWidget *w) {
  if (auto *r = qobject_cast<const QLabel *>(w))
    return r->buddy() ? r->text() : QString();
  if (auto *g = qobject_cast<const QGroupBox *>(w))
    return g->title();
  return {};
}

} // namespace

QWidget *PrimeiroCampo(QWidget *página) {
  // The page's fields in the window's focus chain, from the tab control on: the first one that
  // takes Tab.
  QWidget *início = página->parentWidget() ? página->parentWidget() : página;
  for (QWidget *w = início->nextInFocusChain(); w != início; w = w->nextInFocusChain())
    if (página->isAncestorOf(w) && RecebeTab(w))
      return w;
  return nullptr;
}

void EntrarPeloSeparador(QTabWidget *separadores, bool camposOcultos) {
  separadores->tabBar()->installEventFilter(new FocoNoSeparador(separadores));
  if (!camposOcultos)
    return;
  // The access keys of a page not on view belong to the window while it is hidden; on view,
  // the label or panel answers its own key.
  QList<std::pair<int, QShortcut *>> atalhos;
  for (int k = 0; k < separadores->count(); ++k) {
    QWidget *página = separadores->widget(k);
    for (QWidget *w : página->findChildren<QWidget *>()) {
      const QKeySequence tecla = QKeySequence::mnemonic(TextoComAtalho(w));
      QWidget *destino = DestinoDoAtalho(w);
      if (tecla.isEmpty() || !destino)
        continue;
      auto *atalho = new QShortcut(tecla, separadores);
      atalho->setContext(Qt::WindowShortcut);
      QObject::connect(atalho, &QShortcut::activated, separadores,
                       [separadores, k, destino = QPointer<QWidget>(destino)] {
                         separadores->setCurrentIndex(k);
                         if (destino)
                           FocarDepois(destino);
                       });
      atalhos.append({k, atalho});
    }
  }
  const auto activar = [atalhos](int actual) {
    for (const auto &[k, atalho] : atalhos)
      atalho->setEnabled(k != actual);
  };
  QObject::connect(separadores, &QTabWidget::currentChanged, separadores, activar);
  activar(separadores->currentIndex());
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
