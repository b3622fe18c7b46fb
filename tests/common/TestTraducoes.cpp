#include "Guardas.h"
#include "Impressao.h"
#include "Modal.h"
#include "PastaTeste.h"
#include "Traducoes.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

// What a user reads on a window: its title, the captions of buttons, labels, frames and tabs,
// the choices of its lists, the hints of its fields, the tool tips and the actions of its menus.
// Hidden parts (a tab not chosen, options folded away) count too: they are one click away.
QStringList TextosVisíveis(QWidget *janela) {
  QStringList textos;
  const auto juntar = [&textos](const QString &t) {
    if (!t.trimmed().isEmpty())
      textos << t;
  };
  QList<QWidget *> todos = janela->findChildren<QWidget *>();
  todos.prepend(janela);
  for (QWidget *w : todos) {
    if (w->isWindow())
      juntar(w->windowTitle());
    juntar(w->toolTip());
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
      juntar(b->text());
    } else if (auto *l = qobject_cast<QLabel *>(w)) {
      juntar(l->text());
    } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
      juntar(g->title());
    } else if (auto *tb = qobject_cast<QTabBar *>(w)) {
      for (int i = 0; i < tb->count(); ++i)
        juntar(tb->tabText(i));
    } else if (auto *c = qobject_cast<QComboBox *>(w)) {
      for (int i = 0; i < c->count(); ++i)
        juntar(c->itemText(i));
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
      juntar(e->placeholderText());
    }
  }
  // The actions of its menus and tool bars, and of those built on demand, live under the window.
  for (QAction *a : janela->findChildren<QAction *>())
    juntar(a->text());
  return textos;
}

// The texts that still hold a word of Qt's English, or a Brazilian word where Portugal says it
// otherwise (the system's fallback translation showing through).
QStringList TextosNãoTraduzidos(const QStringList &textos) {
  static const QRegularExpression palavras(
      QStringLiteral(
          "\\b(Print|Printer|Properties|Options?|Cancel|Close|Open|Save|Choose|Look|"
          "Director(y|ies)|Folder|Files?|Name|Type|Size|Modified|Back|Forward|Parent|Detail|"
          "View|Sidebar|Location|Preview|Output|Pages?|Range|Copies|Collate|Reverse|Colou?r|"
          "Grayscale|Paper|Orientation|Portrait|Landscape|Margins?|Width|Height|Undo|Redo|Cut|"
          "Copy|Paste|Delete|Select|All|Scroll|Here|Top|Bottom|Edge|Step|Job|Advanced|Custom|"
          "Settings|Show|Hide|Computer|New|Rename|Hidden|Yes|Apply|Link|"
          "Arquivos?|Salvar|Excluir|Desfazer|Recortar|Renomear|Usuário|Senha|Exibição)\\b"),
      QRegularExpression::UseUnicodePropertiesOption);
  QStringList achados;
  for (const QString &t : textos)
    if (QString(t).remove(u'&').contains(palavras))
      achados << t;
  return achados;
}

// The actions of the menu that a right click on `campo` opens, read while the menu is up and
// then closed, whether the widget runs the menu in a loop of its own or leaves it open.
QStringList TextosMenuDeContexto(QWidget *campo) {
  QStringList textos;
  const auto ler = [&textos] {
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
      for (QAction *a : menu->actions())
        if (!a->isSeparator())
          textos << a->text();
      menu->close();
    }
  };
  QObject vigia; // going with this call, it never reads on after it
  QTimer::singleShot(0, &vigia, ler);
  const QPoint dentro(campo->width() / 2, campo->height() / 2);
  QContextMenuEvent clique(QContextMenuEvent::Mouse, dentro, campo->mapToGlobal(dentro));
  QApplication::sendEvent(campo, &clique);
  if (textos.isEmpty())
    ler();
  return textos;
}

// Reads the texts of the first dialog of type T to open, then closes it.
template <class T> auto LerDiálogo(QStringList &textos) {
  return QuandoModal<T>([&textos](T &d) {
    textos = TextosVisíveis(&d);
    d.reject();
  });
}

} // namespace

class TestTraducoes : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { InstalarTraduçõesQt(); }

  // The printer dialog, and the preview of a document (PDF to the test folder were it printed).
  void dialogosDeImpressao() {
    PastaTeste pasta;
    QStringList textos;
    auto vigia = LerDiálogo<QPrintDialog>(textos);
    QVERIFY(!ConfigurarImpressora(nullptr));
    QVERIFY(textos.size() > 20);
    QCOMPARE(TextosNãoTraduzidos(textos), QStringList());

    {
      PréVisualizaçãoLigada préVisualização;
      auto prévia = LerDiálogo<QPrintPreviewDialog>(textos);
      auto documento = AbrirImpressão(u"Ficha de Sócio 1"_s);
      QVERIFY(documento);
      documento->Imprimir(u"olá"_s);
      documento->TerminarDocumento();
    }
    QVERIFY(textos.size() > 15);
    QCOMPARE(TextosNãoTraduzidos(textos), QStringList());
  }

  void menusDeContexto() {
    QWidget janela;
    janela.resize(160, 160);
    auto *ajuda = new QTextBrowser(&janela);
    ajuda->setHtml(u"<p>texto da <a href='#x'>ajuda</a></p>"_s);
    // The scroll area hands its viewport's events to the browser.
    const QList<QWidget *> campos{ajuda->viewport(), new QSpinBox(&janela)};
    janela.show();
    QVERIFY(QTest::qWaitForWindowExposed(&janela));
    for (QWidget *campo : campos) {
      const QStringList textos = TextosMenuDeContexto(campo);
      QVERIFY2(textos.size() >= 2, "o menu não abriu");
      QCOMPARE(TextosNãoTraduzidos(textos), QStringList());
    }
  }
};

QTEST_MAIN(TestTraducoes)
#include "TestTraducoes.moc"
