#include "CartasAviso.h"
#include "Dados.h"
#include "DepoisDeImprimir.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Modal.h"
#include "QtsDivida.h"
#include "QtsEmDia.h"
#include "Referencias.h"
#include "Respostas.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The windows of the debts and of the members in good standing as the treasurer uses them:
// the list built from the fields, printed, exported, the letters and their text.
class TestJanelasDividas : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<FábricaImpressãoFalsa> impressões;
  std::unique_ptr<RelógioFixo> relógio;
  qint64 normal = 0, jovem = 0, efectivo = 0, suspenso = 0;

  static void Sócio(int n, const QString &nome, qint64 tipo, qint64 situação, qint64 quota) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"TipoQuota\", "
                      u"\"Situação\", \"Inscrição\", \"ValQuotaEuro\", \"Rua\", \"Localidade\") "
                      u"VALUES (?, ?, ?, ?, '20000101', ?, 'Rua A ', 'Terra ')"_s,
                      {n, nome, tipo, situação, quota}, u"t"_s);
  }
  // Whether the last print holds a text, listing what it holds when not.
  bool Impresso(const QString &t) const {
    if (!impressões->textos.contains(t))
      qWarning("%s", qPrintable(impressões->textos.join(u'|')));
    return impressões->textos.contains(t);
  }
  static void Pago(int n, int ano, int mês) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, 10000, 1)"_s,
                      {ChaveSócMês(n, ano, mês)}, u"t"_s);
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    relógio = std::make_unique<RelógioFixo>(QDateTime(QDate(2026, 3, 20), QTime(10, 0)));
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    jovem = FicheiroTeste::Referência(u"T"_s, u"Jovem"_s);
    efectivo = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    suspenso = FicheiroTeste::Referência(u"S"_s, u"Suspenso"_s);
    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa"_s);
    RecarregarListas();
    // 1 paid January to March 2026; 2 paid January; 3 (young) nothing; 4 is suspended.
    Sócio(1, u"Ana"_s, normal, efectivo, 125000);
    Sócio(2, u"Bruno"_s, normal, efectivo, 100000);
    Sócio(3, u"Carla"_s, jovem, efectivo, 50000);
    Sócio(4, u"Dora"_s, normal, suspenso, 125000);
    for (int m = 1; m <= 3; ++m)
      Pago(1, 2026, m);
    Pago(2, 2026, 1);
    impressões = std::make_unique<FábricaImpressãoFalsa>();
  }
  void cleanup() {
    impressões.reset();
    relógio.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // January of this year to this month by default; a situation chosen; by amount; the totals;
  // printed and exported as built, whatever the fields say by then.
  void dividasListadasImpressasExportadas() {
    QtsDívida j(nullptr);
    // The default range shows in the months listed below.
    QVERIFY(!j.Comando[2]->isEnabled() && !j.Cartas->isEnabled());
    j.Situação->setCurrentIndex(j.Situação->findData(efectivo));
    j.Ordem->setCurrentIndex(2);
    Clicar(j.Comando[1]);
    QCOMPARE(j.Listagem->Linhas(), (QStringList{u"000002\t Bruno\tFev–Mar 2026\t2\t20,00"_s,
                                                u"000003\t Carla\tJan–Mar 2026\t3\t15,00"_s}));
    QCOMPARE(j.Totais->text(), u"Total: 2 sócio(s), 5 mês(es), 35,00 €"_s);
    QVERIFY(j.Comando[2]->isEnabled() && j.Cartas->isEnabled() && j.ExportarCartas->isEnabled());

    j.Situação->setCurrentIndex(0);
    j.MêsFinal->setCurrentIndex(11);
    Clicar(j.Comando[2]);
    QCOMPARE(impressões->documento, u"Quotas em Dívida"_s);
    for (const QString &t : {u"Período: Janeiro de 2026 a Março de 2026"_s, u"Situação: Efectivo"_s,
                             u"Ordenado por: Valor"_s, u"35,00"_s})
      QVERIFY2(Impresso(t), qPrintable(t));
    {
      EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"dividas.csv"_s));
      Clicar(j.Exportar);
      QVERIFY2(escolha.oferecidos.value(0).endsWith(
                   u"/Quotas em dívida - Janeiro 2026 a Março 2026.csv"_s),
               qPrintable(escolha.oferecidos.value(0)));
    }
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"dividas.csv"_s)),
             "\xEF\xBB\xBFNúmero;Nome;Meses em dívida;Meses;Valor\r\n"
             "000002;Bruno;Fev–Mar 2026;2;20,00\r\n000003;Carla;Jan–Mar 2026;3;15,00\r\n"_ba);
    // A range that ends before it starts is refused with a message, and the list stays.
    const auto caixas = respostas->caixas.size();
    const int bips = respostas->bips;
    j.AnoInicial->setText(u"2027"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(respostas->caixas.size(), caixas + 1);
    QCOMPARE(respostas->caixas.last().texto,
             u"O mês inicial não pode ser posterior ao mês final."_s);
    QCOMPARE(respostas->bips, bips + 1);
    QCOMPARE(j.Lista().size(), size_t(2));
  }

  // Every window works from the keyboard: no two captions share an access key.
  void teclasDeAcessoSemRepeticao() {
    QtsDívida dívida(nullptr);
    QtsEmDia emDia(nullptr);
    TextoCartaAviso texto(nullptr);
    for (QWidget *j : std::initializer_list<QWidget *>{&dívida, &emDia, &texto}) {
      QStringList legendas, teclas;
      for (QLabel *l : j->findChildren<QLabel *>())
        if (l->buddy())
          legendas << l->text();
      for (QPushButton *b : j->findChildren<QPushButton *>())
        legendas << b->text();
      for (const QString &t : std::as_const(legendas)) {
        const qsizetype e = t.indexOf(u'&');
        QVERIFY2(e >= 0, qPrintable(t));
        const QString tecla = t.sliced(e + 1, 1).toLower();
        QVERIFY2(!teclas.contains(tecla), qPrintable(j->objectName() + u": "_s + t));
        teclas << tecla;
      }
    }
  }

  // The letter's text edited in its window and stored; the letters printed one a page with
  // it; the mail merge written with one line per member.
  void cartasComOTextoDaColectividade() {
    QtsDívida j(nullptr);
    j.TipoQuota->setCurrentIndex(j.TipoQuota->findData(normal));
    Clicar(j.Comando[1]);
    QCOMPARE(j.Lista().size(), size_t(2));
    {
      auto vigia = QuandoModal<TextoCartaAviso>([](TextoCartaAviso &t) {
        QCOMPARE(t.Texto->toPlainText(), TextoCartaPorOmissão());
        t.Texto->setPlainText(u"Caro «nome», deve «valor» («meses»)."_s);
        Clicar(t.Comando[0]);
      });
      Clicar(j.TextoCarta);
    }
    // Cancelled, the stored text stays.
    {
      auto vigia = QuandoModal<TextoCartaAviso>([](TextoCartaAviso &t) {
        t.Texto->setPlainText(u"outro"_s);
        Clicar(t.Comando[1]);
      });
      Clicar(j.TextoCarta);
    }
    QCOMPARE(LerTextoCarta(Dados().bd), u"Caro «nome», deve «valor» («meses»)."_s);

    Clicar(j.Cartas);
    QCOMPARE(impressões->documento, u"Cartas de Aviso"_s);
    QVERIFY(Impresso(u"Caro Bruno, deve 20,00 € (Fev–Mar 2026)."_s) &&
            Impresso(u"Caro Dora, deve 37,50 € (Jan–Mar 2026)."_s) &&
            Impresso(u"20 de Março de 2026"_s));
    {
      EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"cartas.csv"_s));
      Clicar(j.ExportarCartas);
      QVERIFY(escolha.oferecidos.value(0).endsWith(
          u"/Cartas de aviso - Janeiro 2026 a Março 2026.csv"_s));
    }
    const QStringList linhas =
        QString::fromUtf8(PastaTeste::Conteúdo(ficheiro->Caminho(u"cartas.csv"_s)))
            .split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(linhas.size(), 3);
    QVERIFY2(
        linhas[1].startsWith(u"2;Bruno;Rua A;Terra;;Fev–Mar 2026;2;20,00;"
                             u"20 de Março de 2026;Caro Bruno, deve 20,00 € (Fev–Mar 2026)."_s),
        qPrintable(linhas[1]));
  }

  // Today by default, from January; the count; a date that is none, or a first month after
  // it, is refused; printed under the date and month it was built with.
  void emDiaListadosEImpressos() {
    QtsEmDia j(nullptr);
    QCOMPARE(j.Data->text(), u"20-03-2026"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(j.Listagem->Linhas(), QStringList{u"000001\t Ana"_s});
    QCOMPARE(j.Contagem->text(), u"1 sócio(s) com as quotas em dia."_s);
    j.Data->setText(u"31-01-2026"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(j.Listagem->Linhas(), (QStringList{u"000001\t Ana"_s, u"000002\t Bruno"_s}));

    j.Data->setText(u"31-02-2026"_s);
    Clicar(j.Comando[1]);
    j.Data->setText(u"31-12-2025"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(respostas->caixas[0].texto, u"A data não é válida: escreva-a como dd-mm-aaaa."_s);
    QCOMPARE(respostas->caixas[1].texto,
             u"O primeiro mês não pode ser posterior ao mês da data."_s);
    QCOMPARE(j.Lista().size(), size_t(2));

    Clicar(j.Comando[2]);
    QCOMPARE(impressões->documento, u"Sócios com Quotas em Dia"_s);
    QVERIFY(Impresso(u"Quotas pagas de Janeiro de 2026 até à data de 31-01-2026"_s) &&
            Impresso(u"  2 sócio(s) com as quotas em dia."_s));
  }

  // Printed (the list, the letters), exported (the list, the letters' lines) or the letter's
  // text opened and left, Escape still closes the window, from the list where the focus is.
  void escapeFechaDepoisDeImprimirOuExportar_data() {
    QTest::addColumn<bool>("emDia");
    QTest::addColumn<QString>("botão");
    QTest::newRow("dívidas: Imprimir") << false << u"Comando_2"_s;
    QTest::newRow("dívidas: Exportar") << false << u"Exportar"_s;
    QTest::newRow("dívidas: Cartas de Aviso") << false << u"Cartas"_s;
    QTest::newRow("dívidas: Exportar Cartas") << false << u"ExportarCartas"_s;
    QTest::newRow("dívidas: Texto da Carta") << false << u"TextoCarta"_s;
    QTest::newRow("em dia: Imprimir") << true << u"Comando_2"_s;
    QTest::newRow("em dia: Exportar") << true << u"Exportar"_s;
  }
  void escapeFechaDepoisDeImprimirOuExportar() {
    QFETCH(bool, emDia);
    QFETCH(QString, botão);
    // More members than the grid shows, so that the list has its bar and the focus: up to
    // date, or owing March.
    for (int n = 10; n <= 30; ++n) {
      Sócio(n, u"Sócio "_s + QString::number(n), normal, efectivo, 100000);
      for (int m = 1; m <= (emDia ? 3 : 2); ++m)
        Pago(n, 2026, m);
    }
    EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"lista.csv"_s));
    if (emDia) {
      QtsEmDia j(nullptr);
      EscapeFechaDepoisDe(j, j.Listagem->Grelha(), botão, 1);
    } else {
      QtsDívida j(nullptr);
      EscapeFechaDepoisDe(j, j.Listagem->Grelha(), botão, 1);
    }
  }
};

QTEST_MAIN(TestJanelasDividas)
#include "TestJanelasDividas.moc"
