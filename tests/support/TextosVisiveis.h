#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTimer>

// What a user reads on a window: its title, the captions of buttons, labels, frames and tabs,
// the choices of its lists, the column headings, the tool tips and the actions of its menus.
// Hidden parts (a tab not chosen, options folded away) count too: they are one click away.
inline QStringList TextosVisíveis(QWidget *janela) {
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
    for (QAction *a : w->actions())
      juntar(a->text());
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
    } else if (auto *h = qobject_cast<QHeaderView *>(w); h && h->model()) {
      for (int i = 0; i < h->count(); ++i)
        juntar(h->model()->headerData(i, h->orientation()).toString());
    } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
      juntar(e->placeholderText());
    }
  }
  // Menus built on demand (the file list's right click) keep their actions under the window.
  for (QAction *a : janela->findChildren<QAction *>())
    juntar(a->text());
  return textos;
}

// The texts that still hold a word of Qt's English, or a Brazilian word where Portugal says it
// otherwise (the system's fallback translation showing through).
inline QStringList TextosNãoTraduzidos(const QStringList &textos) {
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
// then closed, so the test never waits on it (some widgets run the menu in a loop of its own,
// others leave it open and return).
inline QStringList TextosMenuDeContexto(QWidget *campo) {
  QStringList textos;
  const auto ler = [&textos] {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
      return false;
    for (QAction *a : menu->actions())
      if (!a->isSeparator())
        textos << a->text();
    menu->close();
    return true;
  };
  QTimer vigia;
  vigia.setInterval(5);
  QObject::connect(&vigia, &QTimer::timeout, &vigia, [&] {
    if (ler())
      vigia.stop();
  });
  vigia.start();
  const QPoint dentro(campo->width() / 2, campo->height() / 2);
  QContextMenuEvent clique(QContextMenuEvent::Mouse, dentro, campo->mapToGlobal(dentro));
  QApplication::sendEvent(campo, &clique);
  if (textos.isEmpty())
    ler();
  return textos;
}
