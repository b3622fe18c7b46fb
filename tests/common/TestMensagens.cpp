#include "Mensagens.h"
#include "Modal.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

// The real box: over its owner (or the screen when the owner is hidden), inside the screen, wide
// enough for its title.
class TestMensagens : public QObject {
  Q_OBJECT

private slots:
  void caixaSobreODonoDentroDoEcra_data() {
    QTest::addColumn<QPoint>("canto"); // of the owner, from the screen's top-left
    QTest::addColumn<bool>("visível");
    QTest::newRow("dono no ecrã") << QPoint(40, 30) << true;
    QTest::newRow("dono junto ao canto inferior direito") << QPoint(-120, -80) << true;
    QTest::newRow("dono ainda por mostrar") << QPoint(300, 250) << false;
  }

  void caixaSobreODonoDentroDoEcra() {
    QFETCH(QPoint, canto);
    QFETCH(bool, visível);
    const QRect ecrã = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget dono;
    dono.resize(360, 240);
    dono.move(canto.x() >= 0 ? ecrã.left() + canto.x() : ecrã.right() + canto.x(),
              canto.y() >= 0 ? ecrã.top() + canto.y() : ecrã.bottom() + canto.y());
    if (visível) {
      dono.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dono));
    }
    const QString título = u"Acesso aos Dados do Ficheiro"_s;
    QRect caixa;
    int largura = 0; // the caption bar holds an icon and a close button beside the bold title
    auto vigia = QuandoModal<QMessageBox>([&](QMessageBox &m) {
      caixa = m.frameGeometry();
      QFont negrito = m.font();
      negrito.setBold(true);
      largura =
          QFontMetrics(negrito).horizontalAdvance(título) + 3 * QFontMetrics(negrito).height();
      m.buttons().constFirst()->click();
    });
    QCOMPARE(MostrarMensagem(u"Sim."_s, Botões::OK, Ícone::Informação, título, &dono),
             Resposta::OK);
    QVERIFY(caixa.isValid());
    QVERIFY2(ecrã.contains(caixa), qPrintable(QDebug::toString(caixa)));
    QVERIFY2(caixa.width() >= largura, qPrintable(QString::number(caixa.width())));
    // Centred, unless the screen's edge pushed it back.
    if (canto.x() >= 0) {
      const QPoint meio = visível ? dono.frameGeometry().center() : ecrã.center();
      QVERIFY2((caixa.center() - meio).manhattanLength() <= 2, qPrintable(QDebug::toString(caixa)));
    }
  }
};

QTEST_MAIN(TestMensagens)
#include "TestMensagens.moc"
