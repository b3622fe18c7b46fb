#include "CartasAviso.h"
#include "Dados.h"
#include "DeclIRS.h"
#include "DepoisDeImprimir.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "LerPdf.h"
#include "Modal.h"
#include "QtsAtrazo.h"
#include "QtsDivida.h"
#include "QtsEmDia.h"
#include "Referencias.h"
#include "RelatoriosExportar.h"
#include "Respostas.h"
#include "TaloesRecibo.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The report windows as the treasurer uses them: the list built from the fields, printed,
// exported, the letters and their text, the stubs; the print recorded, the file read back.
class TestJanelasRelatorio : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<FábricaImpressãoFalsa> impressões;
  std::unique_ptr<RelógioFixo> relógio;
  qint64 normal = 0, reduzida = 0, jovem = 0, efectivo = 0, suspenso = 0;

  static QString Nome(int n) { return u"  Sócio "_s + QString::number(n) + u' '; }
  // Street and locality as the member save stores them, a blank appended.
  static void Sócio(int n, const QString &nome, qint64 tipo, const QVariant &situação = {},
                    const QVariant &quota = {}, const QString &inscrição = u"20000101"_s) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"TipoQuota\", "
                      u"\"Situação\", \"Inscrição\", \"ValQuotaEuro\", \"Rua\", \"Localidade\") "
                      u"VALUES (?, ?, ?, ?, ?, ?, 'Rua A ', 'Terra ')"_s,
                      {n, nome, tipo, situação, inscrição, quota}, u"t"_s);
  }
  static void Pago(int n, int ano, int mês, qint64 valor = 10000) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, 1)"_s,
                      {ChaveSócMês(n, ano, mês), valor}, u"t"_s);
  }
  // Eleven members enrolled by March 2003 (the last on the 31st), one on 1 April; members 2
  // and 4 paid March, member 6 paid February only; members 10 and 11 pay the reduced quota.
  void Ano2003() {
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    reduzida = FicheiroTeste::Referência(u"T"_s, u"Reduzida"_s);
    RecarregarListas();
    for (int n = 1; n <= 12; ++n)
      Sócio(n, Nome(n), n == 10 || n == 11 ? reduzida : normal, {}, {},
            n == 11   ? u"20030331"_s
            : n == 12 ? u"20030401"_s
                      : u"20000101"_s);
    for (const auto &[n, mês] : {std::pair{2, 3}, {4, 3}, {6, 2}})
      Pago(n, 2003, mês);
  }
  // On 20 March 2026: 1 paid January to March 2026; 2 paid January; 3 (young) nothing; 4 is
  // suspended.
  void Ano2026() {
    relógio = std::make_unique<RelógioFixo>(QDateTime(QDate(2026, 3, 20), QTime(10, 0)));
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    jovem = FicheiroTeste::Referência(u"T"_s, u"Jovem"_s);
    efectivo = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    suspenso = FicheiroTeste::Referência(u"S"_s, u"Suspenso"_s);
    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa"_s);
    RecarregarListas();
    Sócio(1, u"Ana"_s, normal, efectivo, 125000);
    Sócio(2, u"Bruno"_s, normal, efectivo, 100000);
    Sócio(3, u"Carla"_s, jovem, efectivo, 50000);
    Sócio(4, u"Dora"_s, normal, suspenso, 125000);
    for (int m = 1; m <= 3; ++m)
      Pago(1, 2026, m);
    Pago(2, 2026, 1);
  }
  bool Impresso(const QString &t) const { return impressões->textos.contains(t); }
  static QStringList Contador() {
    return Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s);
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    impressões = std::make_unique<FábricaImpressãoFalsa>();
  }
  void cleanup() {
    impressões.reset();
    relógio.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // March of the reduced quota. The fields changed afterwards: the file's name and the print's
  // heading still say what was listed; the file without the grid's margin before the name.
  void atrasosComOQueFoiListado() {
    Ano2003();
    QtsAtrazo j(nullptr);
    j.Mês->setCurrentIndex(2);
    j.TipoQuota->setCurrentIndex(j.TipoQuota->findData(reduzida));
    j.Ano->setText(u"2003"_s);
    Clicar(j.Comando[1]);
    j.Mês->setCurrentIndex(3);
    j.Ano->setText(u"2004"_s);
    j.TipoQuota->setCurrentIndex(j.TipoQuota->findData(normal));
    QVERIFY(ExportarPara(j.Exportar, ficheiro->Caminho(u"atraso.csv"_s))
                .endsWith(u"/Quotas em atraso - Março 2003.csv"_s));
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"atraso.csv"_s)),
             "\xEF\xBB\xBFNúmero;Nome\r\n000010;Sócio 10\r\n000011;Sócio 11\r\n"_ba);
    Clicar(j.Comando[2]); // enabled by the list
    QCOMPARE(impressões->documento, u"Quotizações em Atraso"_s);
    QVERIFY(Impresso(u"Mês: Março de 2003"_s) && Impresso(u"Tipo de Quota: Reduzida"_s));
    QVERIFY(impressões->textos.filter(u"2004"_s).isEmpty());
  }

  // The year's total read when the year is left; a total that is no amount beeps and goes back.
  void declaracao() {
    Ano2003();
    Pago(12, 2003, 1, 125000);
    Pago(12, 2004, 1, 990000);
    DeclIRS j(nullptr, u"000012"_s, u"Sócio 12"_s);
    Mostrar(&j);
    Escrever(j.Ano, u"2003"_s);
    j.Quotizações->setFocus();
    QCOMPARE(j.Quotizações->text(), u"12,50"_s);
    Escrever(j.Quotizações, u"1,2,3"_s);
    j.Declaração->setFocus();
    QCOMPARE(j.Quotizações->text(), u"12,50"_s);
    QCOMPARE(respostas->bips, 1);
  }

  // Without the association's name nothing is printed and no number is used. Previewed stubs
  // (quarterly from the third) print whole or not at all: closed, nothing stored; printed, no
  // choice of pages or copies, every page reaches the PDF and the counter follows in the window
  // and in the file.
  void taloes() {
    Ano2003();
    impressões.reset();
    PréVisualizaçãoLigada préVisualização;
    TalõesRecibo j(nullptr);
    j.Mês->setCurrentIndex(j.Mês->findData(4)); // Trimestral
    j.MesX->setText(u"3"_s);
    j.SócioY->setText(u"12"_s); // 24 stubs: several pages
    Clicar(j.Comando[1]);
    QVERIFY(respostas->caixas.value(0).texto.contains(u"Nome da Colectividade"_s));
    QCOMPARE(Contador(), QStringList());

    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa"_s);
    for (const bool imprimir : {false, true}) {
      int páginas = 0;
      bool escolhaDePáginas = true, umaCópia = false;
      auto vigia = QuandoModal<QPrintPreviewDialog>([&](QPrintPreviewDialog &d) {
        páginas = d.findChild<QPrintPreviewWidget *>()->pageCount();
        if (!imprimir) {
          d.close();
          return;
        }
        auto confirmar = QuandoModal<QPrintDialog>([&](QPrintDialog &p) {
          escolhaDePáginas = false;
          for (const char *nome :
               {"printRange", "pagesRadioButton", "printCurrentPage", "printSelection"})
            if (auto *b = p.findChild<QRadioButton *>(QString::fromLatin1(nome)))
              escolhaDePáginas = escolhaDePáginas || b->isEnabled();
          if (auto *c = p.findChild<QComboBox *>(u"pageSetCombo"_s))
            escolhaDePáginas = escolhaDePáginas || c->isEnabled();
          const auto *cópias = p.findChild<QSpinBox *>(u"copies"_s);
          umaCópia = cópias && !cópias->isEnabled() && cópias->value() == 1;
          p.accept();
        });
        for (QAction *a : d.findChildren<QAction *>())
          if (a->text() == QCoreApplication::translate("QPrintPreviewDialog", "Print"))
            a->trigger();
      });
      Clicar(j.Comando[1]);
      QVERIFY(páginas > 2);
      QCOMPARE(Contador(), imprimir ? QStringList{u"24"_s} : QStringList());
      QCOMPARE(j.Ninicial->text(), imprimir ? u"24"_s : u"0"_s);
      if (imprimir) {
        QVERIFY(!escolhaDePáginas && umaCópia);
        const QString caminho = respostas->caixas.last().texto.section(u'\n', -1);
        QCOMPARE(LerPdf(caminho).páginas, páginas);
      } else {
        QVERIFY(!QDir(ficheiro->Caminho(u"Impressões"_s)).exists());
      }
    }

    // A lower counter typed and left asks first, "Não" by default; a higher one asks nothing.
    Mostrar(&j);
    const auto sair = [&](const QString &texto) {
      Escrever(j.Ninicial, texto);
      j.SócioY->setFocus();
    };
    respostas->caixas.clear();
    sair(u"2"_s);
    QCOMPARE(respostas->caixas.size(), 1);
    QVERIFY(respostas->caixas[0].nãoPorOmissão && respostas->caixas[0].botões == Botões::SimNão);
    QCOMPARE(j.Ninicial->text(), u"24"_s);
    QCOMPARE(Contador(), QStringList{u"24"_s});
    respostas->Responder({Resposta::Sim});
    sair(u"2"_s);
    QCOMPARE(Contador(), QStringList{u"2"_s});
    sair(u"29"_s);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(Contador(), QStringList{u"29"_s});
  }

  // A situation chosen, by amount; printed, exported and its letters made as listed, whatever
  // the fields say by then; a range that ends before it starts is refused and the list stays.
  void dividasListadasImpressasExportadas() {
    Ano2026();
    QtsDívida j(nullptr);
    QVERIFY(!j.Comando[2]->isEnabled() && !j.Cartas->isEnabled());
    j.Situação->setCurrentIndex(j.Situação->findData(efectivo));
    j.Ordem->setCurrentIndex(2);
    Clicar(j.Comando[1]);
    QCOMPARE(j.Listagem->Linhas(), (QStringList{u"000002\t Bruno\tFev–Mar 2026\t2\t20,00"_s,
                                                u"000003\t Carla\tJan–Mar 2026\t3\t15,00"_s}));
    QCOMPARE(j.Totais->text(), u"Total: 2 sócio(s), 5 mês(es), 35,00 €"_s);

    j.Situação->setCurrentIndex(0);
    j.MêsFinal->setCurrentIndex(11);
    Clicar(j.Comando[2]);
    QCOMPARE(impressões->documento, u"Quotas em Dívida"_s);
    QVERIFY(Impresso(u"Período: Janeiro de 2026 a Março de 2026"_s) &&
            Impresso(u"Situação: Efectivo"_s));
    QCOMPARE(ExportarPara(j.Exportar, ficheiro->Caminho(u"dividas.csv"_s)).section(u'/', -1),
             u"Quotas em dívida - Janeiro 2026 a Março 2026.csv"_s);
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"dividas.csv"_s)),
             "\xEF\xBB\xBFNúmero;Nome;Meses em dívida;Meses;Valor\r\n"
             "000002;Bruno;Fev–Mar 2026;2;20,00\r\n000003;Carla;Jan–Mar 2026;3;15,00\r\n"_ba);
    // The letter's text edited and stored (cancelled, kept); the letters and the mail merge.
    {
      auto vigia = QuandoModal<TextoCartaAviso>([](TextoCartaAviso &t) {
        QCOMPARE(t.Texto->toPlainText(), TextoCartaPorOmissão());
        t.Texto->setPlainText(u"Caro «nome», deve «valor» («meses»)."_s);
        Clicar(t.Comando[0]);
      });
      Clicar(j.TextoCarta);
    }
    auto cancelar = QuandoModal<TextoCartaAviso>([](TextoCartaAviso &t) {
      t.Texto->setPlainText(u"outro"_s);
      Clicar(t.Comando[1]);
    });
    Clicar(j.TextoCarta);
    QCOMPARE(LerTextoCarta(Dados().bd), u"Caro «nome», deve «valor» («meses»)."_s);

    Clicar(j.Cartas);
    QCOMPARE(impressões->documento, u"Cartas de Aviso"_s);
    QVERIFY(Impresso(u"Caro Bruno, deve 20,00 € (Fev–Mar 2026)."_s) &&
            Impresso(u"Caro Carla, deve 15,00 € (Jan–Mar 2026)."_s));
    ExportarPara(j.ExportarCartas, ficheiro->Caminho(u"cartas.csv"_s));
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"cartas.csv"_s)).count("\r\n"), 3);
    j.AnoInicial->setText(u"2027"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(respostas->caixas.last().texto,
             u"O mês inicial não pode ser posterior ao mês final."_s);
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
        const QString tecla = QKeySequence::mnemonic(t).toString();
        QVERIFY2(!tecla.isEmpty() && !teclas.contains(tecla), qPrintable(t));
        teclas << tecla;
      }
    }
  }

  // Today by default, from January; a date that is none, or a first month after it, refused;
  // printed under the date and month it was built with.
  void emDiaListadosEImpressos() {
    Ano2026();
    QtsEmDia j(nullptr);
    QCOMPARE(j.Data->text(), u"20-03-2026"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(j.Lista().size(), size_t(1));
    j.Data->setText(u"31-01-2026"_s);
    Clicar(j.Comando[1]);
    QCOMPARE(j.Listagem->Linhas(), (QStringList{u"000001\t Ana"_s, u"000002\t Bruno"_s}));

    for (const auto &[data, recusa] :
         {std::pair{u"31-02-2026"_s, u"dd-mm-aaaa"_s}, {u"31-12-2025"_s, u"posterior"_s}}) {
      j.Data->setText(data);
      Clicar(j.Comando[1]);
      QVERIFY(respostas->caixas.last().texto.contains(recusa));
    }
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(j.Lista().size(), size_t(2));

    Clicar(j.Comando[2]);
    QCOMPARE(impressões->documento, u"Sócios com Quotas em Dia"_s);
    QVERIFY(Impresso(u"Quotas pagas de Janeiro de 2026 até à data de 31-01-2026"_s) &&
            Impresso(u"  2 sócio(s) com as quotas em dia."_s));
  }

  // After a print, an export or the letter's text, Escape still closes the window.
  void escapeFechaDepoisDeImprimirOuExportar_data() {
    QTest::addColumn<QString>("janela");
    QTest::addColumn<QString>("botão");
    for (const char *b : {"Comando_2", "Exportar", "Cartas", "ExportarCartas", "TextoCarta"})
      QTest::addRow("dívidas: %s", b) << u"dívidas"_s << QString::fromLatin1(b);
    for (const char *janela : {"atrasos", "em dia"})
      QTest::addRow("%s", janela) << QString::fromUtf8(janela) << u"Comando_2"_s;
  }
  void escapeFechaDepoisDeImprimirOuExportar() {
    QFETCH(QString, janela);
    QFETCH(QString, botão);
    EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"lista.csv"_s));
    // More members than the grid shows, so that the list has its bar and the focus; those
    // listed by the arrears window owe March.
    Ano2026();
    const bool emDia = janela == u"em dia"_s;
    for (int n = 10; n <= 30; ++n) {
      Sócio(n, u"Sócio "_s + QString::number(n), normal, efectivo, 100000);
      for (int m = 1; m <= (emDia ? 3 : 2); ++m)
        Pago(n, 2026, m);
    }
    const auto fechar = [&](auto &&j) { EscapeFechaDepoisDe(j, j.Listagem->Grelha(), botão, 1); };
    if (janela == u"atrasos"_s) {
      QtsAtrazo j(nullptr);
      j.Mês->setCurrentIndex(2);
      j.Ano->setText(u"2026"_s);
      fechar(j);
    } else if (emDia) {
      fechar(QtsEmDia(nullptr));
    } else {
      fechar(QtsDívida(nullptr));
    }
  }
};

QTEST_MAIN(TestJanelasRelatorio)
#include "TestJanelasRelatorio.moc"
