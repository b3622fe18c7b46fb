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

// What a user reads on a window, hidden parts too (one click away): its title, the captions of
// buttons, labels, frames and tabs, the choices of its lists, tool tips and menu actions.
QStringList TextosVisíveis(QWidget *janela) {
  QStringList textos{janela->windowTitle()};
  for (QWidget *w : janela->findChildren<QWidget *>()) {
    textos << w->toolTip();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
      textos << b->text();
    else if (auto *l = qobject_cast<QLabel *>(w))
      textos << l->text();
    else if (auto *g = qobject_cast<QGroupBox *>(w))
      textos << g->title();
    else if (auto *tb = qobject_cast<QTabBar *>(w))
      for (int i = 0; i < tb->count(); ++i)
        textos << tb->tabText(i);
    else if (auto *c = qobject_cast<QComboBox *>(w))
      for (int i = 0; i < c->count(); ++i)
        textos << c->itemText(i);
  }
  for (QAction *a : janela->findChildren<QAction *>())
    textos << a->text();
  textos.removeIf([](const QString &t) { return t.trimmed().isEmpty(); });
  return textos;
}

// The texts still holding a word of Qt's English, or a Brazilian one where Portugal says it
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
};

QTEST_MAIN(TestTraducoes)
#include "TestTraducoes.moc"
