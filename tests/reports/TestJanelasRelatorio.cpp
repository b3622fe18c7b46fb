#include "Dados.h"
#include "DeclIRS.h"
#include "DepoisDeImprimir.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "LerPdf.h"
#include "MapaQuotas.h"
#include "Modal.h"
#include "QtsAtrazo.h"
#include "Referencias.h"
#include "Respostas.h"
#include "TaloesRecibo.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
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

// The report windows as the treasurer uses them: the print recorded, the file read back.
class TestJanelasRelatorio : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  qint64 normal = 0, reduzida = 0;
  std::unique_ptr<FábricaImpressãoFalsa> impressões;

  static void Sócio(int n, const QString &inscrição, qint64 tipo) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"TipoQuota\", "
                      u"\"Inscrição\") VALUES (?, ?, ?, ?)"_s,
                      {n, u"  Sócio "_s + QString::number(n) + u' ', tipo, inscrição}, u"t"_s);
  }
  static void Pago(int n, int ano, int mês, qint64 valor = 0) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, 1)"_s,
                      {ChaveSócMês(n, ano, mês), valor}, u"t"_s);
  }
  template <class J> static void Listar(J &j, const QString &ano) {
    j.Ano->setText(ano);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    reduzida = FicheiroTeste::Referência(u"T"_s, u"Reduzida"_s);
    RecarregarListas();
    // Eleven members enrolled by March 2003 (the last on the 31st), one on 1 April; members 2
    // and 4 paid March, member 6 paid February only; members 10 and 11 pay the reduced quota.
    for (int n = 1; n <= 11; ++n)
      Sócio(n, n == 11 ? u"20030331"_s : u"20000101"_s, n >= 10 ? reduzida : normal);
    Sócio(12, u"20030401"_s, normal);
    for (const auto &[n, mês] : {std::pair{2, 3}, {4, 3}, {6, 2}})
      Pago(n, 2003, mês);
    impressões = std::make_unique<FábricaImpressãoFalsa>();
  }
  void cleanup() {
    impressões.reset();
    respostas.reset();
    ficheiro.reset();
  }

  void atrasosListadosEImpressos() {
    QtsAtrazo j(nullptr);
    // March, of the reduced quota only.
    j.Mês->setCurrentIndex(2);
    j.TipoQuota->setCurrentIndex(j.TipoQuota->findData(reduzida));
    Listar(j, u"2003"_s);
    QCOMPARE(j.ListNomes().size(), size_t(2));

    // Exported as listed, under the month's name, without the grid's margin before the name.
    j.Mês->setCurrentIndex(3);
    {
      EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"atraso.csv"_s));
      QTest::mouseClick(j.Exportar, Qt::LeftButton);
      QVERIFY(escolha.oferecidos.value(0).endsWith(u"/Quotas em atraso - Março 2003.csv"_s));
    }
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"atraso.csv"_s)),
             "\xEF\xBB\xBFNúmero;Nome\r\n000010;Sócio 10\r\n000011;Sócio 11\r\n"_ba);
    j.Mês->setCurrentIndex(2);

    QTest::mouseClick(j.Comando[2], Qt::LeftButton);
    QCOMPARE(impressões->documento, u"Quotizações em Atraso"_s);
    QVERIFY(impressões->textos.contains(u"Tipo de Quota: Reduzida"_s));
  }

  // Printed or exported, Escape still closes the window, from the list where the focus is.
  void escapeFechaDepoisDeImprimirOuExportar_data() {
    QTest::addColumn<QString>("botão");
    QTest::newRow("Imprimir") << u"Comando_2"_s;
    QTest::newRow("Exportar") << u"Exportar"_s;
  }
  void escapeFechaDepoisDeImprimirOuExportar() {
    QFETCH(QString, botão);
    // More members in arrears than the grid shows, so that the list has its bar and the focus.
    for (int n = 13; n <= 30; ++n)
      Sócio(n, u"20000101"_s, normal);
    QtsAtrazo j(nullptr);
    j.Mês->setCurrentIndex(2);
    j.Ano->setText(u"2003"_s);
    EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"atraso.csv"_s));
    EscapeFechaDepoisDe(j, j.Listagem->Grelha(), botão, 1);
  }

  // The map: the year's members, each month paid marked; then printed.
  void mapaComOsMesesPagos() {
    MapaQuotas j(nullptr);
    Listar(j, u"2003"_s);
    QCOMPARE(j.ListNomes().size(), size_t(12));
    QCOMPARE(j.ListNomes()[1].marcas, u"--$---------"_s);
    QTest::mouseClick(j.Comando[2], Qt::LeftButton);
    QCOMPARE(impressões->documento, u"Mapa de Quotas"_s);
    QVERIFY(impressões->textos.contains(u"Ano: 2003"_s) &&
            impressões->textos.contains(u" Sócio 12"_s));
  }

  // The printed heading names the month, year and quota type the list was built with, whatever
  // the fields were changed to before printing.
  void cabecalhoComOQueFoiListado() {
    const qint64 jovem = FicheiroTeste::Referência(u"T"_s, u"Jovem"_s);
    RecarregarListas();
    Sócio(13, u"20000101"_s, jovem);
    QtsAtrazo atrasos(nullptr);
    MapaQuotas mapa(nullptr);
    const QList<std::pair<JanelaRelatório *, QStringList>> casos = {
        {&atrasos, {u"Mês: Fevereiro de 2025"_s, u"Tipo de Quota: Jovem"_s}},
        {&mapa, {u"Ano: 2025"_s, u"Tipo de Quota: Jovem"_s}},
    };
    for (const auto &[j, cabeçalho] : casos) {
      if (j->Mês)
        j->Mês->setCurrentIndex(1);
      j->TipoQuota->setCurrentIndex(j->TipoQuota->findData(jovem));
      Listar(*j, u"2025"_s);
      QVERIFY(j->Comando[2]->isEnabled());
      if (j->Mês)
        j->Mês->setCurrentIndex(2);
      j->Ano->setText(u"2024"_s);
      j->TipoQuota->setCurrentIndex(j->TipoQuota->findData(normal));
      impressões->textos.clear();
      QTest::mouseClick(j->Comando[2], Qt::LeftButton);
      for (const QString &linha : cabeçalho)
        QVERIFY2(impressões->textos.contains(linha), qPrintable(impressões->textos.join(u'|')));
      QVERIFY(impressões->textos.filter(u"2024"_s).isEmpty());
      QVERIFY(!impressões->textos.contains(u"Tipo de Quota: Normal"_s));
    }
  }

  // The year's total read when the year is left; a total that is no amount beeps and the one
  // before comes back; a number with no member leaves nothing to print.
  void declaracao() {
    Pago(12, 2003, 1, 125000);
    Pago(12, 2003, 2, 125000);
    Pago(12, 2004, 1, 990000);
    DeclIRS j(nullptr, u"000012"_s, u"Sócio 12"_s);
    Mostrar(&j);
    Escrever(j.Ano, u"2003"_s);
    j.Quotizações->setFocus();
    QCOMPARE(j.Quotizações->text(), u"25,00"_s);
    QVERIFY(j.Declaração->toPlainText().contains(u"no ano de 2003, o total de 25,00 (Euros)"_s));
    Escrever(j.Quotizações, u"1,2,3"_s);
    j.Declaração->setFocus();
    QCOMPARE(j.Quotizações->text(), u"25,00"_s);
    QCOMPARE(respostas->bips, 1);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(impressões->documento, u"Declaração para IRS 12"_s);
    Escrever(j.Número, u"13"_s);
    QVERIFY(j.Declaração->toPlainText().isEmpty() && !j.Comando[1]->isEnabled());
  }

  // Without the association's name nothing is printed and no number is used; then a run
  // prints and numbers, and the counter follows in the window and in the file.
  void taloes() {
    TalõesRecibo j(nullptr);
    j.Mês->setCurrentIndex(j.Mês->findData(4)); // Trimestral
    j.MesX->setText(u"3"_s);
    j.SócioY->setText(u"2"_s);

    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(respostas->caixas.size(), 1);
    QCOMPARE(respostas->caixas[0].texto, u"Terá que defenir o Nome da Colectividade"_s);
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s), QStringList());

    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(j.Ninicial->text(), u"4"_s);
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s), QStringList{u"4"_s});

    // A lower counter typed and left asks first, "Não" by default: Enter keeps the stored
    // counter and puts it back in the field; "Sim" stores the lower one; a higher one asks
    // nothing.
    Mostrar(&j);
    const auto sair = [&](const QString &texto) {
      Escrever(j.Ninicial, texto);
      j.SócioY->setFocus();
    };
    respostas->caixas.clear();
    sair(u"2"_s);
    QCOMPARE(respostas->caixas.size(), 1);
    QVERIFY(respostas->caixas[0].nãoPorOmissão && respostas->caixas[0].botões == Botões::SimNão);
    QVERIFY2(respostas->caixas[0].texto.contains(u"recibos nº 3 a 4 já foram emitidos"_s),
             qPrintable(respostas->caixas[0].texto));
    QCOMPARE(j.Ninicial->text(), u"4"_s);
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s), QStringList{u"4"_s});
    respostas->Responder({Resposta::Sim});
    sair(u"2"_s);
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s), QStringList{u"2"_s});
    sair(u"9"_s);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s), QStringList{u"9"_s});

    // Another desk issued numbers while the field said 9: the field, passed through untouched,
    // stores nothing and asks nothing; the run numbers on after them, says so, and the field
    // follows the counter.
    GravarLinhaTabelas(Dados().bd, u'q', u"20"_s);
    j.Ninicial->setFocus();
    j.SócioY->setFocus();
    QCOMPARE(respostas->caixas.size(), 2);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(respostas->caixas.size(), 3);
    QVERIFY2(
        respostas->caixas[2].texto.contains(u"os recibos nº 21 a 24, e não a partir do nº 10"_s),
        qPrintable(respostas->caixas[2].texto));
    QCOMPARE(j.Ninicial->text(), u"24"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(respostas->caixas.size(), 3); // numbered on from the field: nothing to tell
    QCOMPARE(j.Ninicial->text(), u"28"_s);
  }

  // A tab's access key shows the tab and puts the focus on its first field.
  void taloesPeloTeclado() {
    TalõesRecibo j(nullptr);
    Mostrar(&j);
    const std::pair<Qt::Key, QWidget *> casos[] = {{Qt::Key_P, j.Mês},
                                                   {Qt::Key_U, j.Situação},
                                                   {Qt::Key_S, j.SócioX},
                                                   {Qt::Key_O, j.Ordena[0]},
                                                   {Qt::Key_D, j.Ano}};
    for (const auto &[tecla, campo] : casos) {
      j.Ninicial->setFocus(Qt::TabFocusReason);
      QTest::keyClick(QApplication::focusWidget(), tecla, Qt::AltModifier);
      QTRY_COMPARE(QApplication::focusWidget(), campo);
    }
  }

  // With the preview on, stubs print whole or not at all: closed, nothing is stored; printed,
  // its print dialog offers no choice of pages and a single copy, and every page goes to the PDF,
  // numbered on from the stored counter.
  void taloesPreVisualizados() {
    impressões.reset();
    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa"_s);
    PréVisualizaçãoLigada préVisualização;
    TalõesRecibo j(nullptr);
    j.SócioY->setText(u"3"_s); // three members, twelve months: several pages
    const auto contador = [] {
      return Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s);
    };
    for (const bool imprimir : {false, true}) {
      int páginas = 0;
      bool escolhaDePáginas = true;
      bool umaCópia = false;
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
      QTest::mouseClick(j.Comando[1], Qt::LeftButton);
      QVERIFY(páginas > 2);
      QCOMPARE(contador(), imprimir ? QStringList{u"36"_s} : QStringList());
      QCOMPARE(j.Ninicial->text(), imprimir ? u"36"_s : u"0"_s);
      if (imprimir) {
        QVERIFY(!escolhaDePáginas);
        QVERIFY(umaCópia);
        const QString caminho = respostas->caixas.last().texto.section(u'\n', -1);
        QCOMPARE(LerPdf(caminho).páginas, páginas);
      } else {
        QVERIFY(!QDir(ficheiro->Caminho(u"Impressões"_s)).exists());
      }
    }
  }
};

QTEST_MAIN(TestJanelasRelatorio)
#include "TestJanelasRelatorio.moc"
