#include "Campos.h"
#include "Comandos.h"
#include "ErroBaseDados.h"
#include "Mensagens.h"
#include "Modal.h"
#include "Respostas.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>
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

  // The real box: over its owner (or the screen when the owner is hidden), inside the screen.
  void caixaSobreODonoDentroDoEcra() {
    const QRect ecrã = QGuiApplication::primaryScreen()->availableGeometry();
    // The owner's corner, from the screen's top-left (negative: from its bottom-right).
    for (const auto &[canto, visível] :
         {std::pair{QPoint(40, 30), true}, {QPoint(-120, -80), true}, {QPoint(300, 250), false}}) {
      QWidget dono;
      dono.resize(360, 240);
      dono.move(canto.x() >= 0 ? ecrã.left() + canto.x() : ecrã.right() + canto.x(),
                canto.y() >= 0 ? ecrã.top() + canto.y() : ecrã.bottom() + canto.y());
      if (visível) {
        dono.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dono));
      }
      QRect caixa;
      auto vigia = QuandoModal<QMessageBox>([&](QMessageBox &m) {
        caixa = m.frameGeometry();
        m.buttons().constFirst()->click();
      });
      QCOMPARE(MostrarMensagem(u"Sim."_s, Botões::OK, Ícone::Informação, u"Acesso"_s, &dono),
               Resposta::OK);
      QVERIFY2(ecrã.contains(caixa), qPrintable(QDebug::toString(caixa)));
      // Centred, unless the screen's edge pushed it back.
      const QPoint meio = visível ? dono.frameGeometry().center() : ecrã.center();
      QVERIFY(canto.x() < 0 || (caixa.center() - meio).manhattanLength() <= 2);
    }
  }
};

QTEST_MAIN(TestComandos)
#include "TestComandos.moc"
