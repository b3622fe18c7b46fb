#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>
#include <memory>

// Runs `acção` on the first modal window of type T that appears while the returned object
// lives (for example inside a window's exec()). The check repeats every few milliseconds and
// gives up after `limiteMs`, so that a test never hangs on a window that did not come; it
// also stops when the returned object goes, so it never reaches into the next test. A check
// that fails inside `acção` returns from it early: the window is then closed all the same,
// so that its exec() returns and the failure is reported instead of the test hanging.
template <class T>
[[nodiscard]] std::unique_ptr<QTimer> QuandoModal(std::function<void(T &)> acção,
                                                  int limiteMs = 5000) {
  auto vigia = std::make_unique<QTimer>();
  auto decorrido = std::make_shared<int>(0);
  vigia->setInterval(5);
  QTimer *t = vigia.get();
  QObject::connect(t, &QTimer::timeout, t, [t, decorrido, acção, limiteMs] {
    *decorrido += 5;
    if (auto *janela = dynamic_cast<T *>(QApplication::activeModalWidget());
        janela && janela->isVisible()) {
      t->stop();
      QPointer<QWidget> aberta(janela);
      acção(*janela);
      if (aberta && aberta->isVisible() && QTest::currentTestFailed())
        aberta->close();
    } else if (*decorrido > limiteMs) {
      t->stop();
    }
  });
  t->start();
  return vigia;
}
