#include "Campos.h"
#include "Comandos.h"
#include "ErroBaseDados.h"
#include "Mensagens.h"
#include "Modal.h"
#include "Respostas.h"

#include <QAbstractButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The window pieces that every window composes: placement, the message box, the action wrapper.
class TestComandos : public QObject {
  Q_OBJECT

private slots:
  // An engine error inside a user action is a message and a beep, never the end of the program.
  void falhaDoMotorViraMensagem() {
    Respostas respostas;
    const bool correu = ExecutarAcção(nullptr, u"Gravar Dados"_s, [] {
      throw ErroBaseDados(CausaErro::DiscoCheio, u"Gravar"_s, u"Quotas.Dad"_s);
    });
    QVERIFY(!correu && respostas.bips == 1 && respostas.caixas.size() == 1);
    QCOMPARE(respostas.caixas[0].ícone, Ícone::Crítico);
  }

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
