#include "Formatacao.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestFormatacao : public QObject {
  Q_OBJECT

private slots:
  void datas();
  void valorNumerico_data();
  void valorNumerico();
  void lerData_data();
  void lerData();
  void inscricao_data();
  void inscricao();
};

void TestFormatacao::datas() {
  QCOMPARE(FormatarData(QDate(987, 1, 2)), u"02-01-0987"_s);
  QCOMPARE(FormatarData(QDate()), QString());
  QCOMPARE(FormatarDataHora(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 59))),
           u"06/12/2026  -  09h 05m"_s);
  QCOMPARE(FormatarDataHora(QDateTime()), QString());
  QCOMPARE(NomeMês(3), u"Março"_s);
  QCOMPARE(NomeMês(0), QString());
  QCOMPARE(NomeMês(13), QString());
  QCOMPARE(DataParaInscrição(QDate()), QString());
  QCOMPARE(DataParaInscrição(QDate(999, 1, 1)), QString());
}

void TestFormatacao::valorNumerico_data() {
  constexpr qint64 máximo = std::numeric_limits<qint64>::max();
  QTest::addColumn<QString>("texto");
  QTest::addColumn<qint64>("valor");
  QTest::newRow("vazio") << QString() << qint64(0);
  QTest::newRow("só o sinal") << u"-"_s << qint64(0);
  QTest::newRow("número do sócio") << u"000012"_s << qint64(12);
  QTest::newRow("brancos antes, letras depois") << u"  \t 42abc"_s << qint64(42);
  QTest::newRow("pára no branco") << u"1 2"_s << qint64(1);
  QTest::newRow("negativo") << u"-35"_s << qint64(-35);
  QTest::newRow("dois sinais") << u"--8"_s << qint64(0);
  QTest::newRow("dígitos não latinos") << u"\u0661\u0662"_s << qint64(0);
  QTest::newRow("maior de 64 bits") << u"1234567890"_s.repeated(4) << máximo;
  QTest::newRow("menor de 64 bits") << u"-"_s + u"9"_s.repeated(30) << -máximo;
  QTest::newRow("limite mais um") << u"9223372036854775808"_s << máximo;
}

void TestFormatacao::valorNumerico() {
  QFETCH(QString, texto);
  QFETCH(qint64, valor);
  QCOMPARE(ValorNumérico(texto), valor);
}

void TestFormatacao::lerData_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QDate>("data"); // invalid: refused
  QTest::newRow("hífenes curtos") << u"5-9-1996"_s << QDate(1996, 9, 5);
  QTest::newRow("barras, brancos à volta") << u"  31/12/2003 "_s << QDate(2003, 12, 31);
  QTest::newRow("29-02 em 2000") << u"29-02-2000"_s << QDate(2000, 2, 29);
  QTest::newRow("29-02 em 1900") << u"29-02-1900"_s << QDate();
  QTest::newRow("31-04") << u"31/04/2003"_s << QDate();
  QTest::newRow("mês 13") << u"01-13-2003"_s << QDate();
  QTest::newRow("ano primeiro") << u"1996-09-05"_s << QDate();
  QTest::newRow("ano com dois dígitos") << u"5-9-96"_s << QDate();
  QTest::newRow("separadores misturados") << u"5-9/1996"_s << QDate();
  QTest::newRow("texto depois") << u"5-9-1996x"_s << QDate();
  QTest::newRow("só brancos") << u"   "_s << QDate();
}

void TestFormatacao::lerData() {
  QFETCH(QString, texto);
  QFETCH(QDate, data);
  const auto lida = LerData(texto);
  const auto normalizada = NormalizarData(texto);
  QCOMPARE(lida.value_or(QDate()), data);
  QCOMPARE(normalizada.has_value(), data.isValid());
  if (data.isValid())
    QCOMPARE(*normalizada, FormatarData(data));
}

// Stored as yyyymmdd; a damaged value is shown as is, never hidden or allowed to crash the screen.
void TestFormatacao::inscricao_data() {
  QTest::addColumn<QString>("guardado");
  QTest::addColumn<QString>("mostrado");
  QTest::newRow("normal") << u"19960905"_s << u"05-09-1996"_s;
  QTest::newRow("vazio") << QString() << QString();
  QTest::newRow("curto") << u"199609"_s << u"199609"_s;
  QTest::newRow("com letras") << u"1996O905"_s << u"1996O905"_s;
  QTest::newRow("data impossível") << u"20030231"_s << u"31-02-2003"_s;
}

void TestFormatacao::inscricao() {
  QFETCH(QString, guardado);
  QFETCH(QString, mostrado);
  QCOMPARE(InscriçãoParaTexto(guardado), mostrado);
  const auto lida = LerData(mostrado);
  if (lida) // What the field shows is read back into the same stored value.
    QCOMPARE(DataParaInscrição(*lida), guardado);
}

QTEST_APPLESS_MAIN(TestFormatacao)
#include "TestFormatacao.moc"
