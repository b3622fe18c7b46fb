#include "Cabecalho.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "LerPdf.h"
#include "Referencias.h"
#include "Respostas.h"

#include <QPrinterInfo>
#include <QtTest>

using namespace Qt::StringLiterals;

// The print surface's page logic and the report page header, through the recorder.
class TestImpressao : public QObject {
  Q_OBJECT

  const ListasReferência listas{{{7, u"1100-148 Lisboa"_s}}, {}, {}};

private slots:
  // With the origin low on the page, a line passes the bottom sooner; the new page begins at the
  // moved origin, and the page still ends where the paper does.
  void origemDeslocada() {
    GravadorImpressão p(10000, 3000);
    int mudanças = 0;
    p.AoMudarDePágina = [&](Impressão &) { ++mudanças; };
    p.DefinirTamanho(12);
    const double h = p.AlturaLinha();
    p.DefinirOrigem(0, 500);
    while (p.Página() == 1)
      p.Imprimir(u"linha"_s);
    QCOMPARE(p.textos.back().y, 500.0);
    QCOMPARE(mudanças, 1);
    const double fim = p.textos[p.textos.size() - 2].y + h; // the last line of page 1
    QVERIFY(fim <= 3000 && fim > 3000 - h);
  }

  // The preview replays the recording exactly; a page range keeps its pages, renumbered.
  void reproduzirAGravacao() {
    GravadorImpressão original(10000, 2000);
    original.AoMudarDePágina = [](Impressão &p) { p.Imprimir(u"cabeçalho"_s); };
    original.DefinirNegrito(true);
    original.Imprimir(u"Título"_s);
    original.DefinirNegrito(false);
    original.DefinirTamanho(9);
    original.Rectângulo(900, 400, 100, 100, true);
    original.DefinirOrigem(2000, 300);
    original.Imprimir(u"deslocado"_s, false);
    original.Linha(0, 0, 500, 0, true);
    original.DefinirOrigem(0, 0);
    original.DefinirSublinhado(true);
    while (original.Página() < 3)
      original.Imprimir(u"linha "_s + QString::number(original.textos.size()));
    original.Rectângulo(0, 0, 100, 100);
    original.NovaPágina(); // a blank last page is a page all the same
    GravadorImpressão cópia(10000, 2000);
    cópia.Reproduzir(original);
    QCOMPARE(cópia.páginas, 4);
    QVERIFY(cópia.textos == original.textos);
    QVERIFY(cópia.traços == original.traços);

    GravadorImpressão segunda(10000, 2000);
    segunda.Reproduzir(original, [](int n) { return n == 2 || n == 3; });
    QCOMPARE(segunda.páginas, 2);
    QList<GravadorImpressão::Texto> esperados;
    for (GravadorImpressão::Texto t : original.textos)
      if (t.página > 1) {
        --t.página;
        esperados << t;
      }
    QVERIFY(segunda.textos == esperados);
    QCOMPARE(segunda.traços.size(), 1);
  }

  // With no printer, each document is a PDF of its own in "Impressões", with A4 margins.
  void semImpressoraCadaDocumentoNumPdf() {
    if (!QPrinterInfo::defaultPrinter().isNull())
      QSKIP("há uma impressora instalada: os documentos iriam para ela");
    FicheiroTeste ficheiro;
    Respostas respostas;
    RelógioFixo relógio(QDateTime(QDate(2026, 12, 6), QTime(9, 5)));
    const double a4 = 210 / 25.4 * 1440;
    const QStringList nomes{u"Ficha de Sócio 25 2026-12-06 09h05m00s.pdf"_s,
                            u"Ficha de Sócio 25 2026-12-06 09h05m00s (2).pdf"_s};
    for (int i = 0; i < 2; ++i) {
      auto p = AbrirImpressão(u"Ficha de Sócio 25"_s);
      QVERIFY(p);
      const double margemMm = (a4 - p->LarguraPágina()) / 2 / 1440 * 25.4;
      QVERIFY2(margemMm > 5 && margemMm < 7, qPrintable(QString::number(margemMm)));
      p->Imprimir(u"olá"_s);
      p->TerminarDocumento();
      const QString &texto = respostas.caixas[i].texto;
      QVERIFY2(texto.startsWith(u"Não há impressora instalada"_s) && texto.endsWith(nomes[i]),
               qPrintable(texto));
      const Pdf pdf = LerPdf(ficheiro.Caminho(u"Impressões/"_s + nomes[i]));
      QCOMPARE(pdf.página.toSize(), QSize(595, 842)); // A4
    }
  }

  // The association's block: blanks trimmed, never the text of a postal code since deleted.
  void linhasDoBloco() {
    FicheiroTeste ficheiro;
    FicheiroTeste::Referência(u"6"_s, u" 22 999 "_s);
    FicheiroTeste::Referência(u"4"_s, u"55"_s);
    const QStringList linhas = LinhasColectividade(Dados().bd, listas);
    QCOMPARE(linhas[3], QString());
    QCOMPARE(linhas[4], u"   -   Fax: 22 999"_s);
  }
};

QTEST_MAIN(TestImpressao)
#include "TestImpressao.moc"
