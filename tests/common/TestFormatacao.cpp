#include "Campos.h"
#include "Formatacao.h"
#include "Respostas.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

// Dates, numbers and the text helpers of the fields.
class TestFormatacao : public QObject {
  Q_OBJECT

  // For the whole suite: the beeps are counted.
  Respostas respostas;
  int &bips = respostas.bips;

private slots:
  void init() { bips = 0; }

  // Out-of-range and empty dates and months give empty texts, never a made-up one.
  void datas() {
    QCOMPARE(FormatarData(QDate(987, 1, 2)), u"02-01-0987"_s);
    QCOMPARE(FormatarData(QDate()), QString());
    QCOMPARE(FormatarDataHora(QDateTime()), QString());
    QCOMPARE(NomeMês(0), QString());
    QCOMPARE(NomeMês(13), QString());
    QCOMPARE(DataParaInscrição(QDate()), QString());
    QCOMPARE(DataParaInscrição(QDate(999, 1, 1)), QString());
  }

  void valorNumerico_data() {
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

  void valorNumerico() {
    QFETCH(QString, texto);
    QFETCH(qint64, valor);
    QCOMPARE(ValorNumérico(texto), valor);
  }

  void lerData_data() {
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

  void lerData() {
    QFETCH(QString, texto);
    QFETCH(QDate, data);
    const auto lida = LerData(texto);
    const auto normalizada = NormalizarData(texto);
    QCOMPARE(lida.value_or(QDate()), data);
    QCOMPARE(normalizada.has_value(), data.isValid());
    if (data.isValid())
      QCOMPARE(*normalizada, FormatarData(data));
  }

  // Stored as yyyymmdd; a damaged value is shown as is, never hidden or allowed to crash the
  // screen.
  void inscricao_data() {
    QTest::addColumn<QString>("guardado");
    QTest::addColumn<QString>("mostrado");
    QTest::newRow("normal") << u"19960905"_s << u"05-09-1996"_s;
    QTest::newRow("vazio") << QString() << QString();
    QTest::newRow("curto") << u"199609"_s << u"199609"_s;
    QTest::newRow("com letras") << u"1996O905"_s << u"1996O905"_s;
    QTest::newRow("data impossível") << u"20030231"_s << u"31-02-2003"_s;
  }

  void inscricao() {
    QFETCH(QString, guardado);
    QFETCH(QString, mostrado);
    QCOMPARE(InscriçãoParaTexto(guardado), mostrado);
    const auto lida = LerData(mostrado);
    if (lida) // What the field shows is read back into the same stored value.
      QCOMPARE(DataParaInscrição(*lida), guardado);
  }

  void compactar_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("brancos à volta e dentro") << u"  José   da  Silva  "_s << u"José da Silva"_s;
    // Only code 32 is a blank: a tab or a no-break space is text and stays where it is.
    QTest::newRow("tabulação fica") << u"a\t\tb"_s << u"a\t\tb"_s;
    QTest::newRow("espaço inseparável fica") << u"a\u00a0\u00a0b"_s << u"a\u00a0\u00a0b"_s;
  }

  void compactar() {
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(CompactarEspaços(texto), esperado);
  }

  // The amount fields' key filter: what passes, and one beep for each key refused.
  void teclaNumerica() {
    for (QChar c : u"\b ,-9"_s)
      QVERIFY2(TeclaNumérica(c), qPrintable(QString(c)));
    QCOMPARE(bips, 0);
    for (QChar c : u".E+\u0661"_s)
      QVERIFY2(!TeclaNumérica(c), qPrintable(QString(c)));
    QCOMPARE(bips, 4);
  }

  void cortar_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("esperado");

    QTest::newRow("mais curto que n")
        << u"Rua Almirante Gago Coutinho 1"_s << 30 << u"Rua Almirante Gago Coutinho 1"_s;
    const QString semBranco = u"x"_s.repeated(40);
    QTest::newRow("sem brancos fica inteiro") << semBranco << 30 << semBranco;

    // Blanks at or beyond position n do not count; the last one below n does.
    QTest::newRow("branco na posição n não conta")
        << u"aaaa bbbbbbbbbbbbbbbbbbbbbbbb cccccccccc"_s << 30 << u"aaaa"_s;
    QTest::newRow("branco na posição n - 1")
        << u"aaaaaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbbbbbb"_s << 30 << u"a"_s.repeated(28);
    QTest::newRow("exactamente n caracteres") << u"aaaa bbbbb"_s << 10 << u"aaaa"_s;
    QTest::newRow("só o primeiro é branco") << u" "_s + u"b"_s.repeated(39) << 30 << QString();
    QTest::newRow("vazio, n=0") << QString() << 0 << QString();
  }

  void cortar() {
    QFETCH(QString, texto);
    QFETCH(int, n);
    QFETCH(QString, esperado);
    CortarTexto(texto, n);
    QCOMPARE(texto, esperado);
  }
};

QTEST_GUILESS_MAIN(TestFormatacao)
#include "TestFormatacao.moc"
