#include "Dados.h"
#include "FicheiroTeste.h"
#include "Procura.h"
#include "Procurar.h"
#include "Respostas.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// Finding a member by number or by a name pattern, with and without the window.
class TestProcurar : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    const QList<std::pair<int, QString>> sócios{{3, u"JOSÉ SILVA"_s},    {7, u"Ana Silva"_s},
                                                {12, u"josé silva"_s},   {20, u"SILVA PEREIRA"_s},
                                                {25, u"Silvano Reis"_s}, {31, u"O'Neill"_s}};
    for (const auto &[n, nome] : sócios)
      Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s, {n, nome},
                        u"t"_s);
  }
  void cleanup() { ficheiro.reset(); }

  void padroes_data() {
    QTest::addColumn<QString>("padrao");
    QTest::addColumn<QList<int>>("propostos"); // answering Não to each
    QTest::addColumn<int>("semPergunta");      // taken at once when there is no "*"
    QTest::newRow("sem acento") << u"jose*"_s << QList<int>{3, 12} << -1;
    QTest::newRow("começa") << u"SILVA*"_s << QList<int>{20, 25} << -1;
    QTest::newRow("acaba") << u"*silva"_s << QList<int>{3, 7, 12} << -1;
    QTest::newRow("exacto, o menor") << u"José Silva"_s << QList<int>{} << 3;
    QTest::newRow("apóstrofo") << u"o'neill"_s << QList<int>{} << 31;
    QTest::newRow("nenhum") << u"Zé*"_s << QList<int>{} << 0;
  }
  void padroes() {
    QFETCH(QString, padrao);
    QFETCH(QList<int>, propostos);
    QFETCH(int, semPergunta);
    QList<int> vistos;
    const qint32 r = ProcurarPorNome(Dados().bd, padrao, [&](qint32 n, const QString &) {
      vistos << n;
      return RespostaProposta::Não;
    });
    QCOMPARE(vistos, propostos);
    QCOMPARE(r, semPergunta < 0 ? 0 : semPergunta);
    if (propostos.size() > 1) { // Sim takes the second, Cancelar ends with nothing
      int k = 0;
      QCOMPARE(ProcurarPorNome(Dados().bd, padrao,
                               [&](qint32, const QString &) {
                                 return ++k == 2 ? RespostaProposta::Sim : RespostaProposta::Não;
                               }),
               qint32(propostos[1]));
      QCOMPARE(ProcurarPorNome(Dados().bd, padrao,
                               [](qint32, const QString &) { return RespostaProposta::Cancelar; }),
               0);
    }
  }

  void janela() {
    Respostas respostas;
    qint32 mostrado = -1;
    Procurar j(nullptr, u"000007"_s, u"Ana Silva"_s, [&](qint32 n) { mostrado = n; });
    QCOMPARE(j.Código[1]->text(), u"000007"_s);
    QCOMPARE(j.Código[2]->text(), u"Ana Silva"_s);
    j.show();
    // Not found: a message, the window stays.
    j.Código[1]->setText(u"99"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(respostas.caixas.size(), 1);
    QCOMPARE(respostas.caixas[0].texto, u"O sócio pretendido não foi encontrado em ficheiro..."_s);
    QVERIFY(j.isVisible());
    // A second "*" and a digit are refused with a beep.
    j.Opção[2]->setChecked(true);
    j.Código[2]->clear();
    j.Código[2]->setFocus();
    const int bips = respostas.bips;
    QTest::keyClicks(j.Código[2], u"sil*va*1"_s);
    QCOMPARE(j.Código[2]->text(), u"sil*va"_s);
    QCOMPARE(respostas.bips, bips + 2);
    // By number: found, shown, closed.
    j.Opção[1]->setChecked(true);
    j.Código[1]->setText(u"12"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(mostrado, 12);
    QVERIFY(!j.isVisible());
  }
};

QTEST_MAIN(TestProcurar)
#include "TestProcurar.moc"
