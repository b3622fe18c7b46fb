#pragma once

#include "Impressao.h"
#include "Janela.h"
#include "Mensagens.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// Presses `botão` as the user does and answers each box over the window as the user would
// (Enter on a message, Escape on a window of its own). The printed documents are recorded,
// and each says where it went in a real box shown while the window is still busy printing,
// as a document written to a PDF does. Then Escape, sent where the keyboard goes, must close
// the window. With `procurar`, the list is built first ("&Procurar"). The offscreen platform gives
// the keyboard back to no window when a box closes: the keys then go to the field the window keeps
// for when it has the keyboard again.
inline void EscapeFechaDepoisDe(QDialog &j, QWidget *foco, const QString &botão, int caixas,
                                bool procurar = true) {
  Mostrar(&j);
  if (procurar)
    j.findChild<QPushButton *>(QStringLiteral("Comando_1"))->click(); // Procurar
  QCOMPARE(QApplication::focusWidget(), foco);
  InstalarFábricaImpressão([&j](const QString &) {
    auto g = std::make_unique<GravadorImpressão>();
    g->aoTerminar = [&j](const GravadorImpressão &) {
      MostrarMensagem(QStringLiteral("O documento foi guardado no ficheiro\nx.pdf"), Botões::OK,
                      Ícone::Informação, j.windowTitle(), &j);
    };
    return g;
  });
  struct Repor {
    ~Repor() { InstalarFábricaImpressão({}); }
  } repor;
  InstalarRespondedor({}); // the real boxes
  // Every box or window over this one, as it comes: the window itself is modal too.
  int vistas = 0;
  QPointer<QWidget> respondida;
  QTimer vigia;
  vigia.setInterval(5);
  QObject::connect(&vigia, &QTimer::timeout, [&] {
    auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!d || d == &j || d == respondida || !d->isVisible())
      return;
    respondida = d;
    ++vistas;
    QTest::keyClick(d->focusWidget() ? d->focusWidget() : d,
                    qobject_cast<QMessageBox *>(d) ? Qt::Key_Return : Qt::Key_Escape);
  });
  vigia.start();
  auto *b = j.findChild<QPushButton *>(botão);
  QVERIFY(b && b->isEnabled());
  b->click();
  vigia.stop();
  QCOMPARE(vistas, caixas);
  QVERIFY(j.isVisible() && j.isEnabled());
  // The focus is back where it was: on the list just built, in a list's window.
  QCOMPARE(j.focusWidget(), foco);
  QWidget *activa = QApplication::activeWindow();
  QVERIFY(!activa || activa == &j);
  QWidget *alvo = QApplication::focusWidget() ? QApplication::focusWidget() : j.focusWidget();
  QTest::keyClick(alvo ? alvo : &j, Qt::Key_Escape);
  QVERIFY(!j.isVisible());
}
