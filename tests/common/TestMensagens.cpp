#include "Mensagens.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Botões)
Q_DECLARE_METATYPE(Ícone)
Q_DECLARE_METATYPE(Resposta)

class TestMensagens : public QObject {
  Q_OBJECT

private slots:
  void cleanup() {
    InstalarRespondedor({});
    InstalarBip({});
  }

  void respondedorVeOPedidoEDecide_data();
  void respondedorVeOPedidoEDecide();
  void bipContado();
};

void TestMensagens::respondedorVeOPedidoEDecide_data() {
  QTest::addColumn<Botões>("botões");
  QTest::addColumn<Ícone>("ícone");
  QTest::addColumn<Resposta>("resposta");
  QTest::newRow("OK, exclamação") << Botões::OK << Ícone::Exclamação << Resposta::OK;
  QTest::newRow("Sim/Não, pergunta, Não") << Botões::SimNão << Ícone::Pergunta << Resposta::Não;
  QTest::newRow("Sim/Não, pergunta, Sim") << Botões::SimNão << Ícone::Pergunta << Resposta::Sim;
  QTest::newRow("OK/Cancelar, crítico")
      << Botões::OKCancelar << Ícone::Crítico << Resposta::Cancelar;
  QTest::newRow("três botões, informação")
      << Botões::SimNãoCancelar << Ícone::Informação << Resposta::Cancelar;
}

void TestMensagens::respondedorVeOPedidoEDecide() {
  QFETCH(Botões, botões);
  QFETCH(Ícone, ícone);
  QFETCH(Resposta, resposta);

  QList<PedidoMensagem> vistos;
  InstalarRespondedor([&](const PedidoMensagem &p) {
    vistos.append(p);
    return resposta;
  });
  const QString texto = u"Código errado ou mal introduzido.\n\nDispõe de mais duas tentativas."_s;
  const Resposta r = MostrarMensagem(texto, botões, ícone, u"Acesso aos Dados do Ficheiro"_s);

  QCOMPARE(r, resposta);
  QCOMPARE(vistos.size(), 1);
  QCOMPARE(vistos[0].título, u"Acesso aos Dados do Ficheiro"_s);
  QCOMPARE(vistos[0].texto, texto);
  QVERIFY(vistos[0].botões == botões);
  QVERIFY(vistos[0].ícone == ícone);
}

void TestMensagens::bipContado() {
  int bips = 0;
  InstalarBip([&] { ++bips; });
  Bip();
  Bip();
  QCOMPARE(bips, 2);

  // Taking the counter away must not leave a dangling call behind.
  InstalarBip({});
  int outro = 0;
  InstalarBip([&] { ++outro; });
  Bip();
  QCOMPARE(bips, 2);
  QCOMPARE(outro, 1);
}

QTEST_APPLESS_MAIN(TestMensagens)
#include "TestMensagens.moc"
