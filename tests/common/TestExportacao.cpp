#include "Exportacao.h"
#include "Mascara.h"
#include "PastaTeste.h"
#include "Validacao.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The CSV file as another program reads it, and the tax number check.
class TestExportacao : public QObject {
  Q_OBJECT

private slots:
  void lidoPorOutroPrograma() {
    const QString python = QStandardPaths::findExecutable(u"python3"_s);
    QVERIFY2(!python.isEmpty(), "python3 reads the file back: ./scripts/build installs it");
    PastaTeste pasta;
    const QList<QStringList> linhas{
        {u"Número"_s, u"Nome"_s, u"Quota"_s, u"Observações"_s},
        {u"1"_s, u"Álvaro"_s, u"1.234,50"_s, u"pago; em dinheiro"_s},
        {u"22"_s, u"O'Neill"_s, u"-3,25"_s, u"diz \"já pago\"\r\nnoutra linha"_s},
        {u"333"_s, QString(), u"0,00"_s, u" "_s}};
    const QString caminho = pasta.Caminho(u"lista.csv"_s);
    QCOMPARE(GravarFicheiro(caminho, TextoCsv(linhas)), QString());
    QVERIFY(PastaTeste::Conteúdo(caminho).startsWith("\xEF\xBB\xBF"));
    QProcess p;
    p.start(python, {u"-c"_s,
                     u"import csv, json, sys\n"
                     u"with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                     u"  print(json.dumps(list(csv.reader(f, delimiter=';'))))"_s,
                     caminho});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QList<QStringList> lidas;
    for (const QJsonValue &l : QJsonDocument::fromJson(p.readAllStandardOutput()).array())
      lidas << l.toVariant().toStringList();
    QCOMPARE(lidas, linhas);
  }

  // A text a spreadsheet would compute (starting with =, +, -, @, a tab or a carriage return)
  // goes out behind an apostrophe; a number as the grid writes it, and the grid's "--" for no
  // date, go as they are.
  void formulasVaoComoTexto() {
    const std::pair<QString, QString> casos[] = { // the text, and the field between semicolons
        {u"=2+3"_s, u"'=2+3"_s},
        {u"@SUM(1+1)"_s, u"'@SUM(1+1)"_s},
        {u"+351 912 345 678"_s, u"'+351 912 345 678"_s},
        {u"+"_s, u"'+"_s},
        {u"\tx"_s, u"'\tx"_s},
        {u"\r=1"_s, u"\"'\r=1\""_s},
        {u"=HYPERLINK(\"x\")"_s, u"\"'=HYPERLINK(\"\"x\"\")\""_s},
        {u"-1.23,4"_s, u"'-1.23,4"_s},
        {u"-3,25\n"_s, u"\"'-3,25\n\""_s},
        {u"-12"_s, u"-12"_s},
        {QString(), QString()},
        {u"-1.234.567,89"_s, u"-1.234.567,89"_s},
        {u"-1234,50"_s, u"-1234,50"_s},
        {u"+3,25"_s, u"+3,25"_s},
        {u"-3,25 €"_s, u"-3,25 €"_s},
        {u"--"_s, u"--"_s},
        {u"a=1"_s, u"a=1"_s}};
    for (const auto &[texto, campo] : casos)
      QCOMPARE(QString::fromUtf8(TextoCsv({{u"1"_s, texto}}).mid(3)), u"1;"_s + campo + u"\r\n"_s);
  }

  // An export holds names, addresses and tax numbers: a new file is its owner's alone under
  // the usual mask 022; a file written over keeps the rights its user gave it.
  void exportacaoSoDoDono() {
#ifndef AGREMIA_PERMISSOES_POSIX
    QSKIP("este sistema não tem permissões POSIX");
#else
    PastaTeste pasta;
    MáscaraComum máscara;
    QCOMPARE(GravarFicheiro(u"nova.csv"_s, "1;a\r\n"), QString());
    QCOMPARE(Permissões(u"nova.csv"_s), u"600"_s);
    QFile partilhada(u"partilhada.csv"_s);
    QVERIFY(partilhada.open(QIODevice::WriteOnly) && partilhada.write("antes") == 5);
    partilhada.close();
    QVERIFY(MudarPermissões(u"partilhada.csv"_s, 0640));
    QCOMPARE(GravarFicheiro(u"partilhada.csv"_s, "depois"), QString());
    QCOMPARE(PastaTeste::Conteúdo(u"partilhada.csv"_s), QByteArray("depois"));
    QCOMPARE(Permissões(u"partilhada.csv"_s), u"640"_s);
#endif
  }

  void nif() {
    for (const QString &nif : {u"123456789"_s, u"451234561"_s, u"103086250"_s /* remainder 0 */,
                               u"102222100"_s /* remainder 1 */})
      QVERIFY2(NifVálido(nif) && MotivoNifInválido(nif).isEmpty(), qPrintable(nif));
    for (const QString &nif :
         {u"001234560"_s /* 0 starts none */, u"411234560"_s /* 4 only as 45 */, u"123456780"_s,
          u"102222101"_s /* remainder 1 gives 0, never 10 */, u"12345678"_s, u" 23456789"_s})
      QVERIFY2(!NifVálido(nif) && !MotivoNifInválido(nif).isEmpty(), qPrintable(nif));
  }
};

QTEST_MAIN(TestExportacao)
#include "TestExportacao.moc"
