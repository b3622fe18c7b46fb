#include "Formato.h"
#include "Moeda.h"

#include <QtTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestMoeda : public QObject {
  Q_OBJECT

private slots:
  void padroesInteiros_data() {
    QTest::addColumn<qint64>("valor");
    QTest::addColumn<QString>("padrao");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("seis dígitos") << qint64(12) << u"000000"_s << u"000012"_s;
    QTest::newRow("seis dígitos, zero") << qint64(0) << u"000000"_s << u"000000"_s;
    QTest::newRow("mais largo que o padrão") << qint64(1234567) << u"000000"_s << u"1234567"_s;
    QTest::newRow("negativo com zeros") << qint64(-5) << u"000000"_s << u"-000005"_s;
    QTest::newRow("mês") << qint64(3) << u"00"_s << u"03"_s;
    QTest::newRow("#0 zero") << qint64(0) << u"#0"_s << u"0"_s;
    QTest::newRow("recibo com espaço") << qint64(417) << u"#0 "_s << u"417 "_s;
    QTest::newRow("agrupado") << qint64(1234567) << u"#,###,##0"_s << u"1.234.567"_s;
    QTest::newRow("mínimo negativo")
        << std::numeric_limits<qint64>::min() << u"#0"_s << u"-9223372036854775808"_s;
  }
  void padroesInteiros() {
    QFETCH(qint64, valor);
    QFETCH(QString, padrao);
    QFETCH(QString, esperado);
    QCOMPARE(FormatarNúmero(valor, padrao), esperado);
  }

  // Amounts in ten-thousandths through every money pattern: grouping, sign, zero and the
  // rounding of the third and fourth decimals half away from zero.
  void padroesMoeda_data() {
    QTest::addColumn<qint64>("valor");
    QTest::addColumn<QString>("padrao");
    QTest::addColumn<QString>("esperado");
    const QString g = u"#,###,##0.00"_s, s = u"#0.00"_s;
    QTest::newRow("zero") << qint64(0) << g << u"0,00"_s;
    QTest::newRow("cêntimos") << qint64(500) << g << u"0,05"_s;
    QTest::newRow("milhar") << qint64(12345000) << g << u"1.234,50"_s;
    QTest::newRow("milhar sem grupos") << qint64(12345000) << s << u"1234,50"_s;
    QTest::newRow("milhões") << qint64(12345678900000) << g << u"1.234.567.890,00"_s;
    QTest::newRow("mil exacto") << qint64(10000000) << g << u"1.000,00"_s;
    QTest::newRow("negativo") << qint64(-12345600) << g << u"-1.234,56"_s;
    QTest::newRow("negativo simples") << qint64(-32500) << s << u"-3,25"_s;
    QTest::newRow("meio sobe") << qint64(12350) << s << u"1,24"_s;
    QTest::newRow("abaixo do meio") << qint64(12349) << s << u"1,23"_s;
    QTest::newRow("meio negativo afasta-se do zero") << qint64(-12350) << s << u"-1,24"_s;
    QTest::newRow("arredonda com transporte") << qint64(9999950) << g << u"1.000,00"_s;
    QTest::newRow("negativo que arredonda a zero") << qint64(-49) << s << u"0,00"_s;
    QTest::newRow("máximo") << std::numeric_limits<qint64>::max() << g
                            << u"922.337.203.685.477,58"_s;
  }
  void padroesMoeda() {
    QFETCH(qint64, valor);
    QFETCH(QString, padrao);
    QFETCH(QString, esperado);
    QCOMPARE(Moeda::DeDécimosMilésimos(valor).Formatar(padrao), esperado);
  }

  void numerosReais() {
    QCOMPARE(FormatarNúmero(12.5, u"#0.00"), u"12,50"_s);
    QCOMPARE(FormatarNúmero(99.6, u"#0"), u"100"_s);
    QCOMPARE(FormatarNúmero(0.0, u"#0"), u"0"_s);
    QCOMPARE(FormatarNúmero(-0.004, u"#0.00"), u"0,00"_s);
    QCOMPARE(FormatarNúmero(1234567.891, u"#,###,##0.00"), u"1.234.567,89"_s);
  }

  void lerValoresValidos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<qint64>("esperado");
    QTest::newRow("inteiro") << u"12"_s << qint64(120000);
    QTest::newRow("decimal") << u"12,5"_s << qint64(125000);
    QTest::newRow("negativo") << u"-3,25"_s << qint64(-32500);
    QTest::newRow("com sinal mais") << u"+3,25"_s << qint64(32500);
    QTest::newRow("milhar agrupado") << u"1.234,56"_s << qint64(12345600);
    QTest::newRow("só decimais") << u",5"_s << qint64(5000);
    QTest::newRow("vírgula final") << u"5,"_s << qint64(50000);
    QTest::newRow("espaços à volta") << u"  7,10 "_s << qint64(71000);
    QTest::newRow("quatro decimais") << u"1,2345"_s << qint64(12345);
    QTest::newRow("quinta decimal sobe") << u"1,23455"_s << qint64(12346);
    QTest::newRow("quinta decimal desce") << u"1,23454"_s << qint64(12345);
    QTest::newRow("negativo arredonda para longe do zero") << u"-1,23455"_s << qint64(-12346);
    QTest::newRow("zeros à esquerda") << u"0007,00"_s << qint64(70000);
    QTest::newRow("zero") << u"0"_s << qint64(0);
    QTest::newRow("maior valor") << u"922.337.203.685.477,5807"_s
                                 << std::numeric_limits<qint64>::max();
  }
  void lerValoresValidos() {
    QFETCH(QString, texto);
    QFETCH(qint64, esperado);
    const auto m = Moeda::Ler(texto);
    QVERIFY2(m.has_value(), qPrintable(texto));
    QCOMPARE(m->DécimosMilésimos(), esperado);
  }

  void lerValoresInvalidos_data() {
    QTest::addColumn<QString>("texto");
    for (const QString &t :
         {u""_s, u"   "_s, u"-"_s, u","_s, u"-,"_s, u"1,2,3"_s, u"1-2"_s, u"1.5"_s, u"12.34,5"_s,
          u"1..234"_s, u".234"_s, u"abc"_s, u"1 2"_s, u"12a"_s, u"--1"_s, u"1,-5"_s,
          u"922.337.203.685.478,00"_s, u"99999999999999999999"_s})
      QTest::newRow(qPrintable(u'[' + t + u']')) << t;
  }
  void lerValoresInvalidos() {
    QFETCH(QString, texto);
    QVERIFY(!Moeda::Ler(texto).has_value());
  }

  // What the screens show must read back as the same amount.
  void idaEVolta() {
    for (qint64 v : {qint64(0), qint64(12345600), qint64(-32500), qint64(100), qint64(99999999900),
                     qint64(-12345678900000)}) {
      const Moeda m = Moeda::DeDécimosMilésimos(v);
      for (const QString &p : {u"#,###,##0.00"_s, u"#0.00"_s}) {
        const auto lida = Moeda::Ler(m.Formatar(p));
        QVERIFY(lida.has_value());
        QCOMPARE(lida->DécimosMilésimos(), v);
      }
    }
  }

  void aritmetica() {
    Moeda total;
    for (int i = 0; i < 12; ++i)
      total += *Moeda::Ler(u"12,50"_s);
    QCOMPARE(total.Formatar(), u"150,00"_s);
    QCOMPARE((total - Moeda::DeCêntimos(15001)).Formatar(), u"-0,01"_s);
    QVERIFY(Moeda::DeCêntimos(1) < Moeda::DeCêntimos(2));
    QCOMPARE(-Moeda::DeCêntimos(250), *Moeda::Ler(u"-2,5"_s));
  }
};

QTEST_GUILESS_MAIN(TestMoeda)
#include "TestMoeda.moc"
