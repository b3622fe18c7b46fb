#include "Base.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "ImportarSocios.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Respostas.h"
#include "Traducoes.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

// The import window driven as a user would: the file comes through the picker's seam.
class TestImportarSocios : public QObject {
  Q_OBJECT

  // `bytes` written to sócios.csv in the test's folder and chosen in the window.
  static void Escolher(ImportarSócios &janela, const QByteArray &bytes) {
    QFile f(u"sócios.csv"_s);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    f.close();
    EscolhaFicheiroFalsa escolha(QFileInfo(f).absoluteFilePath());
    Clicar(Comando(&janela, 1));
    QCOMPARE(escolha.oferecidos, QStringList{QDir::currentPath()});
  }

private slots:
  void initTestCase() { InstalarTraduçõesQt(); }

  // A file of 0 bytes is told as empty. "Inscrito" is no heading the window knows: the number
  // column is mapped by hand; "Não" to the new situation imports nothing, "Sim" adds it too.
  void escolherMapearEImportar() {
    FicheiroTeste ficheiro;
    Respostas respostas;
    Base base;
    ImportarSócios janela(&base, [&base] { base.MostrarListas(); });
    Mostrar(&janela);
    Escolher(janela, {});
    QCOMPARE(respostas.caixas.size(), 1);
    QVERIFY(respostas.caixas.takeFirst().texto.contains(u"está vazio (0 bytes)"_s));
    Escolher(janela, "Inscrito;Nome;Situa\xE7\xE3o\r\n5;Jo\xE3o;Honor\xE1rio\r\n6;In\xEAs;\r\n");
    QVERIFY(!Comando(&janela, 2)->isEnabled()); // every line lacks its number
    Controlo<QComboBox>(&janela, u"Coluna_0"_s)->setCurrentIndex(1);
    QCOMPARE(Controlo<QTableWidget>(&janela, u"Amostra"_s)->item(0, 2)->text(), u"João"_s);
    respostas.Responder({Resposta::Não});
    Clicar(Comando(&janela, 2));
    QCOMPARE(respostas.caixas.size(), 1);
    QVERIFY(respostas.caixas[0].texto.contains(u"Honorário"_s));
    QCOMPARE(Coluna(u"SELECT count(*) FROM Sócios"_s), QStringList{u"0"_s});
    Clicar(Comando(&janela, 2));
    QCOMPARE(Coluna(u"SELECT Número || ' ' || Nome FROM Sócios ORDER BY Número"_s),
             (QStringList{u"5 João"_s, u"6 Inês"_s}));
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'S'"_s), QStringList{u"Honorário"_s});
    QVERIFY(base.Situação->findText(u"Honorário"_s) >= 0);
  }

  // A NIF failing its check digit is marked in the preview with its reason, and imported as it
  // is: a warning, not a refusal.
  void nifAvisadoNaPrevisao() {
    FicheiroTeste ficheiro;
    Respostas respostas;
    Base base;
    ImportarSócios janela(&base, {});
    Mostrar(&janela);
    Escolher(janela, "N\xC3\xBAmero;Nome;NIF\n5;Ana;123456780\n6;Rui;123456789\n");
    auto *amostra = Controlo<QTableWidget>(&janela, u"Amostra"_s);
    QCOMPARE(amostra->rowCount(), 2);
    const int motivo = amostra->columnCount() - 1;
    QVERIFY(amostra->item(0, motivo)->text().contains(u"123456780"_s));
    QCOMPARE(amostra->item(1, motivo)->text(), QString());
    for (int c = 0; c <= motivo; ++c)
      QVERIFY(amostra->item(0, c)->background() != amostra->item(1, 1)->background());
    QVERIFY(Controlo<QLabel>(&janela, u"Resumo"_s)->text().contains(u"não confere: 1"_s));
    Clicar(Comando(&janela, 2));
    QCOMPARE(respostas.caixas.size(), 1); // only the closing "imported"
    QCOMPARE(Coluna(u"SELECT NIF FROM Sócios ORDER BY Número"_s),
             (QStringList{u"123456780"_s, u"123456789"_s}));
  }
};

QTEST_MAIN(TestImportarSocios)
#include "TestImportarSocios.moc"
