#include "Formatacao.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

class TestFormatacao : public QObject {
  Q_OBJECT

private slots:
  void datas_data();
  void datas();
  void dataHora();
  void meses();

  void valorNumerico_data();
  void valorNumerico();

  void lerData_data();
  void lerData();

  void inscricao_data();
  void inscricao();
  void inscricaoIdaEVolta();
};

void TestFormatacao::datas_data() {
  QTest::addColumn<QDate>("data");
  QTest::addColumn<QString>("esperado");
  QTest::newRow("dia e mês com zero") << QDate(1996, 9, 5) << u"05-09-1996"_s;
  QTest::newRow("dois dígitos") << QDate(2003, 12, 31) << u"31-12-2003"_s;
  QTest::newRow("ano antes de 1000") << QDate(987, 1, 2) << u"02-01-0987"_s;
  QTest::newRow("inválida") << QDate() << QString();
}

void TestFormatacao::datas() {
  QFETCH(QDate, data);
  QFETCH(QString, esperado);
  QCOMPARE(FormatarData(data), esperado);
}

void TestFormatacao::dataHora() {
  QCOMPARE(FormatarDataHora(QDateTime(QDate(2026, 12, 6), QTime(9, 5, 59))),
           u"06/12/2026  -  09h 05m"_s);
  QCOMPARE(FormatarDataHora(QDateTime(QDate(2003, 1, 31), QTime(23, 0))),
           u"31/01/2003  -  23h 00m"_s);
  QCOMPARE(FormatarDataHora(QDateTime()), QString());
}

void TestFormatacao::meses() {
  QCOMPARE(NomesMeses().size(), 12);
  QCOMPARE(NomeMês(1), u"Janeiro"_s);
  QCOMPARE(NomeMês(3), u"Março"_s);
  QCOMPARE(NomeMês(12), u"Dezembro"_s);
  for (int m = 1; m <= 12; ++m)
    QCOMPARE(NomeMês(m), NomesMeses().at(m - 1));
  QCOMPARE(NomeMês(0), QString());
  QCOMPARE(NomeMês(13), QString());
}

void TestFormatacao::valorNumerico_data() {
  constexpr qint64 máximo = std::numeric_limits<qint64>::max();
  QTest::addColumn<QString>("texto");
  QTest::addColumn<qint64>("valor");
  QTest::newRow("vazio") << QString() << qint64(0);
  QTest::newRow("só brancos") << u"   "_s << qint64(0);
  QTest::newRow("sem dígitos") << u"abc"_s << qint64(0);
  QTest::newRow("só o sinal") << u"-"_s << qint64(0);
  QTest::newRow("zeros à esquerda") << u"007"_s << qint64(7);
  QTest::newRow("número do sócio") << u"000012"_s << qint64(12);
  QTest::newRow("letras depois") << u"12abc"_s << qint64(12);
  QTest::newRow("brancos antes") << u"  \t 42"_s << qint64(42);
  QTest::newRow("pára no branco") << u"1 2"_s << qint64(1);
  QTest::newRow("pára na vírgula") << u"12,5"_s << qint64(12);
  QTest::newRow("negativo") << u"-35"_s << qint64(-35);
  QTest::newRow("sinal mais") << u"+8"_s << qint64(8);
  QTest::newRow("dois sinais") << u"--8"_s << qint64(0);
  QTest::newRow("dígitos não latinos") << u"\u0661\u0662"_s << qint64(0);
  QTest::newRow("maior de 64 bits") << u"1234567890"_s.repeated(4) << máximo;
  QTest::newRow("menor de 64 bits") << u"-"_s + u"9"_s.repeated(30) << -máximo;
  QTest::newRow("limite exacto") << u"9223372036854775807"_s << máximo;
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
  QTest::newRow("barras curtas") << u"5/9/1996"_s << QDate(1996, 9, 5);
  QTest::newRow("dois dígitos") << u"05-09-1996"_s << QDate(1996, 9, 5);
  QTest::newRow("brancos à volta") << u"  31/12/2003 "_s << QDate(2003, 12, 31);
  QTest::newRow("29-02 bissexto") << u"29-02-2004"_s << QDate(2004, 2, 29);
  QTest::newRow("29-02 em 2000") << u"29-02-2000"_s << QDate(2000, 2, 29);
  QTest::newRow("29-02 não bissexto") << u"29-02-2003"_s << QDate();
  QTest::newRow("29-02 em 1900") << u"29-02-1900"_s << QDate();
  QTest::newRow("31-02") << u"31-02-2003"_s << QDate();
  QTest::newRow("31-04") << u"31/04/2003"_s << QDate();
  QTest::newRow("mês 13") << u"01-13-2003"_s << QDate();
  QTest::newRow("dia 0") << u"0-1-2003"_s << QDate();
  QTest::newRow("ano primeiro") << u"1996-09-05"_s << QDate();
  QTest::newRow("ano com dois dígitos") << u"5-9-96"_s << QDate();
  QTest::newRow("ano com cinco dígitos") << u"5-9-19960"_s << QDate();
  QTest::newRow("dia com três dígitos") << u"005-9-1996"_s << QDate();
  QTest::newRow("separadores misturados") << u"5-9/1996"_s << QDate();
  QTest::newRow("sem separadores") << u"05091996"_s << QDate();
  QTest::newRow("texto depois") << u"5-9-1996x"_s << QDate();
  QTest::newRow("branco no meio") << u"5 -9-1996"_s << QDate();
  QTest::newRow("vazio") << QString() << QDate();
  QTest::newRow("só brancos") << u"   "_s << QDate();
}

void TestFormatacao::lerData() {
  QFETCH(QString, texto);
  QFETCH(QDate, data);
  const auto lida = LerData(texto);
  const auto normalizada = NormalizarData(texto);
  if (!data.isValid()) {
    QVERIFY(!lida);
    QVERIFY(!normalizada);
    return;
  }
  QVERIFY(lida);
  QCOMPARE(*lida, data);
  QVERIFY(normalizada);
  QCOMPARE(*normalizada, FormatarData(data));
}

void TestFormatacao::inscricao_data() {
  QTest::addColumn<QString>("guardado");
  QTest::addColumn<QString>("mostrado");
  QTest::newRow("normal") << u"19960905"_s << u"05-09-1996"_s;
  QTest::newRow("vazio") << QString() << QString();
  // A damaged value is shown, never hidden or allowed to crash the screen.
  QTest::newRow("curto") << u"199609"_s << u"199609"_s;
  QTest::newRow("com letras") << u"1996O905"_s << u"1996O905"_s;
  QTest::newRow("data impossível") << u"20030231"_s << u"31-02-2003"_s;
  QTest::newRow("branco") << u" "_s << u" "_s;
}

void TestFormatacao::inscricao() {
  QFETCH(QString, guardado);
  QFETCH(QString, mostrado);
  QCOMPARE(InscriçãoParaTexto(guardado), mostrado);
}

void TestFormatacao::inscricaoIdaEVolta() {
  QCOMPARE(DataParaInscrição(QDate(1996, 9, 5)), u"19960905"_s);
  QCOMPARE(DataParaInscrição(QDate(2004, 12, 31)), u"20041231"_s);
  QCOMPARE(DataParaInscrição(QDate()), QString());
  QCOMPARE(DataParaInscrição(QDate(999, 1, 1)), QString());

  // What the field shows is read back into the same stored value.
  const QString guardado = DataParaInscrição(*LerData(u"5/9/1996"));
  const auto relida = LerData(InscriçãoParaTexto(guardado));
  QVERIFY(relida);
  QCOMPARE(DataParaInscrição(*relida), guardado);
}

QTEST_APPLESS_MAIN(TestFormatacao)
#include "TestFormatacao.moc"
