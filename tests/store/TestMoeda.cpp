#include "Formato.h"
#include "Moeda.h"

#include <QtTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestMoeda : public QObject {
  Q_OBJECT

private slots:
  // Integers and money (ten-thousandths): grouping, sign, rounding half away from zero.
  void padroes() {
    const QString g = u"#,###,##0.00"_s, s = u"#0.00"_s, z = u"000000"_s;
    const std::tuple<bool, qint64, QString, QString> casos[] = {
        {false, 12, z, u"000012"_s},
        {false, 1234567, u"#,###,##0"_s, u"1.234.567"_s},
        {false, std::numeric_limits<qint64>::min(), u"#0"_s, u"-9223372036854775808"_s},
        {true, 12350, s, u"1,24"_s},
        {true, -12350, s, u"-1,24"_s},
        {true, 9999950, g, u"1.000,00"_s},
        {true, -49, s, u"0,00"_s},
        {true, std::numeric_limits<qint64>::max(), g, u"922.337.203.685.477,58"_s}};
    for (const auto &[moeda, valor, padrão, esperado] : casos)
      QCOMPARE(moeda ? Moeda::DeDécimosMilésimos(valor).Formatar(padrão)
                     : FormatarNúmero(valor, padrão),
               esperado);
  }

  void lerValoresValidos() {
    const std::pair<QString, qint64> casos[] = {
        {u"000000000000000000012"_s, 120000}, // leading zeros do not count to the size limit
        {u"1.234,56"_s, 12345600},
        {u"1.234.567"_s, 12345670000},
        {u"  7,10 "_s, 71000},
        {u"1,23455"_s, 12346},
        {u"-1,23455"_s, -12346},
        {u"922.337.203.685.477,5807"_s, std::numeric_limits<qint64>::max()}};
    for (const auto &[texto, esperado] : casos) {
      const auto m = Moeda::Ler(texto);
      QVERIFY2(m.has_value(), qPrintable(texto));
      QCOMPARE(m->DécimosMilésimos(), esperado);
    }
  }

  void lerValoresInvalidos() {
    for (const QString &t :
         {u""_s, u"-,"_s, u"1,2,3"_s, u"1.5"_s, u"12.34,5"_s, u"1..234"_s, u"1 2"_s, u"1.2345"_s,
          u"--1"_s, u"922.337.203.685.478,00"_s, u"99999999999999999999"_s})
      QVERIFY2(!Moeda::Ler(t).has_value(), qPrintable(u'[' + t + u']'));
  }

  void aritmeticaENumerosReais() {
    QCOMPARE(FormatarNúmero(99.6, u"#0"), u"100"_s);
    QCOMPARE(FormatarNúmero(1234567.891, u"#,###,##0.00"), u"1.234.567,89"_s);
    Moeda total;
    for (int i = 0; i < 12; ++i)
      total += *Moeda::Ler(u"12,50"_s);
    QCOMPARE((total - Moeda::DeCêntimos(15001)).Formatar(), u"-0,01"_s);
    QCOMPARE(-Moeda::DeCêntimos(250), *Moeda::Ler(u"-2,5"_s));
  }
};

QTEST_GUILESS_MAIN(TestMoeda)
#include "TestMoeda.moc"
