#pragma once

#include <QAbstractButton>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStringList>
#include <QtTest>

// What the window suites do as a user: find a control by its name, show a window, type,
// click. A missing control stops the suite at once with its name, instead of a null pointer
// failing somewhere later.

template <class T = QLineEdit> T *Controlo(const QObject *raiz, const QString &nome) {
  T *w = raiz ? raiz->findChild<T *>(nome) : nullptr;
  if (!w)
    qFatal("sem o controlo %s", qPrintable(nome));
  return w;
}

// The window's numbered buttons: "Comando_0", "Comando_1", ...
inline QAbstractButton *Comando(const QObject *raiz, int i) {
  return Controlo<QAbstractButton>(raiz, QStringLiteral("Comando_") + QString::number(i));
}

// Shows the window and waits until it has the keyboard.
inline void Mostrar(QWidget *janela) {
  janela->show();
  QVERIFY(QTest::qWaitForWindowActive(janela));
}

// Clicks a button with the mouse; a disabled button fails the test, since no user could.
inline void Clicar(QAbstractButton *botão) {
  QVERIFY2(botão->isEnabled(), qPrintable(botão->text()));
  QTest::mouseClick(botão, Qt::LeftButton);
}

// Gives the field the focus and types over its text, one key event per character: the key
// and the text it produces, accented letters included; a character outside the basic plane
// arrives whole, as an input method delivers it.
inline void Escrever(QWidget *w, const QString &texto) {
  w->setFocus(Qt::TabFocusReason);
  QVERIFY(w->hasFocus());
  if (auto *l = qobject_cast<QLineEdit *>(w)) {
    l->selectAll();
    if (texto.isEmpty())
      QTest::keyClick(l, Qt::Key_Delete);
  }
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const qsizetype n = texto[i].isHighSurrogate() ? 2 : 1;
    const QChar c = texto[i];
    if (n == 1 && c.unicode() < 0x80)
      QTest::keyClick(w, char(c.toLatin1()));
    else
      QTest::sendKeyEvent(QTest::Click, w,
                          n == 1 && c.isLetter() ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown,
                          texto.mid(i, n), Qt::NoModifier);
    i += n - 1;
  }
}

// The texts of a list's lines, in order.
inline QStringList Textos(const QListWidget *l) {
  QStringList r;
  for (int i = 0; i < l->count(); ++i)
    r << l->item(i)->text();
  return r;
}

// What is wrong with the window's access keys: a button without one (or without a caption),
// and a letter that two buttons or labelled fields share. Empty when all is well.
inline QStringList FaltasDeTeclasDeAcesso(const QWidget *janela) {
  QStringList faltas;
  QHash<QString, QString> vistas;
  for (const QWidget *w : janela->findChildren<QWidget *>()) {
    QString texto;
    if (const auto *b = qobject_cast<const QAbstractButton *>(w))
      texto = b->text();
    else if (const auto *l = qobject_cast<const QLabel *>(w); l && l->buddy())
      texto = l->text();
    else
      continue;
    const QString tecla = QKeySequence::mnemonic(texto).toString();
    if (tecla.isEmpty()) {
      faltas << QStringLiteral("sem tecla de acesso: ") + (texto.isEmpty() ? w->objectName() : texto);
    } else if (vistas.contains(tecla)) {
      faltas << tecla + QStringLiteral(": ") + vistas[tecla] + QStringLiteral(" e ") + texto;
    } else {
      vistas.insert(tecla, texto);
    }
  }
  return faltas;
}
