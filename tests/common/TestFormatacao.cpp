#include "Campos.h"
#include "Formatacao.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;

// Dates, numbers and the text helpers of the fields.
class TestFormatacao : public QObject {
  Q_OBJECT

private slots:
  void valorNumerico() {
    constexpr qint64 máximo = std::numeric_limits<qint64>::max();
    const std::pair<QString, qint64> casos[] = {
        {QString(), 0}, {u"-"_s, 0}, {u"  \t 42abc"_s, 42}, {u"\u0661\u0662"_s, 0}, // not Latin
        {u"1234567890"_s.repeated(4), máximo}, {u"-"_s + u"9"_s.repeated(30), -máximo}};
    for (const auto &[texto, valor] : casos)
      QCOMPARE(ValorNumérico(texto), valor);
  }

  void lerData() {
    const std::pair<QString, QDate> válidas[] = {{u"5-9-1996"_s, QDate(1996, 9, 5)},
                                                 {u"29-02-2000"_s, QDate(2000, 2, 29)}};
    for (const auto &[texto, data] : válidas) {
      QCOMPARE(LerData(texto).value_or(QDate()), data);
      QCOMPARE(NormalizarData(texto).value_or(QString()), FormatarData(data));
    }
    for (const QString &texto : {u"29-02-1900"_s, u"31/04/2003"_s, u"01-13-2003"_s, u"1996-09-05"_s,
                                 u"5-9-96"_s, u"5-9/1996"_s, u"5-9-1996x"_s, u"   "_s})
      QVERIFY2(!LerData(texto) && !NormalizarData(texto), qPrintable(texto));
  }

  // Stored as yyyymmdd; a damaged value is shown as is, never hidden or crashing the screen.
  // Out-of-range and empty dates and months give empty texts, never a made-up one.
  void datasEInscricao() {
    QCOMPARE(FormatarData(QDate(987, 1, 2)), u"02-01-0987"_s);
    QCOMPARE(FormatarData(QDate()), QString());
    QCOMPARE(NomeMês(13), QString());
    QCOMPARE(DataParaInscrição(QDate(999, 1, 1)), QString());
    const std::pair<QString, QString> casos[] = {{u"19960905"_s, u"05-09-1996"_s},
        {QString(), QString()}, {u"1996O905"_s, u"1996O905"_s}, {u"20030231"_s, u"31-02-2003"_s}};
    for (const auto &[guardado, mostrado] : casos) {
      QCOMPARE(InscriçãoParaTexto(guardado), mostrado);
      // What the field shows is read back into the same stored value.
      if (const auto lida = LerData(mostrado))
        QCOMPARE(DataParaInscrição(*lida), guardado);
    }
  }

  // Blanks at or beyond position n do not count; the last one below n does. Only code 32 is a
  // blank: a tab or a no-break space is text and stays where it is.
  void compactarECortar() {
    QCOMPARE(CompactarEspaços(u"a\u00a0\u00a0b"_s), u"a\u00a0\u00a0b"_s);
    const std::tuple<QString, int, QString> casos[] = {
        {u"Rua Almirante Gago Coutinho 1"_s, 30, u"Rua Almirante Gago Coutinho 1"_s},
        {u"aaaa bbbbbbbbbbbbbbbbbbbbbbbb cccccccccc"_s, 30, u"aaaa"_s},
        {u"aaaaaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbbbbbb"_s, 30, u"a"_s.repeated(28)},
        {u" "_s + u"b"_s.repeated(39), 30, QString()}};
    for (auto [texto, n, esperado] : casos) {
      CortarTexto(texto, n);
      QCOMPARE(texto, esperado);
    }
  }
};

QTEST_GUILESS_MAIN(TestFormatacao)
#include "TestFormatacao.moc"
