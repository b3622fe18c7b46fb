#include "Campos.h"

#include <QTest>

// Where a window is placed over the main one.
class TestComandos : public QObject {
  Q_OBJECT

private slots:
  // A second monitor, or a task bar on top: the available area does not start at 0,0. Larger
  // than the area, a window starts at its corner; near its bottom, it is pushed back up.
  void posicaoCentrada() {
    const QRect área(1280, 30, 1920, 1050);
    const std::tuple<QRect, QRect, QPoint> casos[] = {
        {QRect(0, 0, 2000, 1000), QRect(1300, 40, 600, 400), QPoint(1280, 30)},
        {QRect(0, 0, 400, 600), QRect(1400, 700, 600, 300), QPoint(1500, 480)}};
    for (const auto &[janela, principal, esperado] : casos)
      QCOMPARE(PosiçãoCentrada(janela, principal, área), QRect(esperado, janela.size()));
  }
};

QTEST_MAIN(TestComandos)
#include "TestComandos.moc"
