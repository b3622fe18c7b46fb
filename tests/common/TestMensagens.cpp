#include "Mensagens.h"
#include "Modal.h"
#include "Respostas.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Botões)
Q_DECLARE_METATYPE(Ícone)
Q_DECLARE_METATYPE(Resposta)

class TestMensagens : public QObject {
  Q_OBJECT

private slots:
  void respondedorVeOPedidoEDecide_data();
  void respondedorVeOPedidoEDecide();
  void bipContado();
  void caixaSobreODonoDentroDoEcra_data();
  void caixaSobreODonoDentroDoEcra();
};

void TestMensagens::respondedorVeOPedidoEDecide_data() {
  QTest::addColumn<Botões>("botões");
  QTest::addColumn<Ícone>("ícone");
  QTest::addColumn<Resposta>("resposta");
  QTest::newRow("Sim/Não, pergunta, Não") << Botões::SimNão << Ícone::Pergunta << Resposta::Não;
  QTest::newRow("três botões, informação")
      << Botões::SimNãoCancelar << Ícone::Informação << Resposta::Cancelar;
}

void TestMensagens::respondedorVeOPedidoEDecide() {
  QFETCH(Botões, botões);
  QFETCH(Ícone, ícone);
  QFETCH(Resposta, resposta);

  Respostas respostas;
  respostas.Responder({resposta});
  const QList<PedidoMensagem> &vistos = respostas.caixas;
  QCOMPARE(MostrarMensagem(u"a\n\nb"_s, botões, ícone, u"T"_s), resposta);
  QCOMPARE(vistos.size(), 1);
  QCOMPARE(vistos[0].título, u"T"_s);
  QCOMPARE(vistos[0].texto, u"a\n\nb"_s);
  QVERIFY(vistos[0].botões == botões);
  QVERIFY(vistos[0].ícone == ícone);
}

// Each counter counts only the beeps of its own lifetime, and none is left behind.
void TestMensagens::bipContado() {
  {
    Respostas primeiras;
    Bip();
    Bip();
    QCOMPARE(primeiras.bips, 2);
  }
  Respostas outras;
  Bip();
  QCOMPARE(outras.bips, 1);
}

// The real box: over its owner (or the screen when the owner is hidden), inside the screen, wide
// enough for its title.
void TestMensagens::caixaSobreODonoDentroDoEcra_data() {
  QTest::addColumn<QPoint>("canto"); // of the owner, from the screen's top-left
  QTest::addColumn<bool>("visível");
  QTest::newRow("dono no ecrã") << QPoint(40, 30) << true;
  QTest::newRow("dono junto ao canto inferior direito") << QPoint(-120, -80) << true;
  QTest::newRow("dono ainda por mostrar") << QPoint(300, 250) << false;
}

void TestMensagens::caixaSobreODonoDentroDoEcra() {
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
    largura = QFontMetrics(negrito).horizontalAdvance(título) + 3 * QFontMetrics(negrito).height();
    m.buttons().constFirst()->click();
  });
  QCOMPARE(MostrarMensagem(u"Sim."_s, Botões::OK, Ícone::Informação, título, &dono), Resposta::OK);
  QVERIFY(caixa.isValid());
  QVERIFY2(ecrã.contains(caixa), qPrintable(QDebug::toString(caixa)));
  QVERIFY2(caixa.width() >= largura, qPrintable(QString::number(caixa.width())));
  // Centred, unless the screen's edge pushed it back.
  if (canto.x() >= 0) {
    const QPoint meio = visível ? dono.frameGeometry().center() : ecrã.center();
    QVERIFY2((caixa.center() - meio).manhattanLength() <= 2, qPrintable(QDebug::toString(caixa)));
  }
}

QTEST_MAIN(TestMensagens)
#include "TestMensagens.moc"
