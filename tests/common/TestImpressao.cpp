#include "Cabecalho.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "LerPdf.h"
#include "Mascara.h"
#include "Ouro.h"
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
  // The preview replays the recording exactly; a page range keeps its pages, renumbered.
  void reproduzirAGravacao() {
    GravadorImpressão original(10000, 2000);
    original.AoMudarDePágina = [](Impressão &p) { p.Imprimir(u"cabeçalho"_s); };
    original.DefinirNegrito(true);
    original.Imprimir(u"Título"_s);
    original.Rectângulo(900, 400, 100, 100, true);
    original.DefinirOrigem(2000, 300);
    original.Linha(0, 0, 500, 0, true);
    original.DefinirOrigem(0, 0);
    while (original.Página() < 3)
      original.Imprimir(u"linha "_s + QString::number(original.textos.size()));
    original.Rectângulo(0, 0, 100, 100);
    original.NovaPágina(); // a blank last page is a page all the same
    GravadorImpressão cópia(10000, 2000);
    cópia.Reproduzir(original);
    QCOMPARE(cópia.páginas, 4);
    QVERIFY(cópia.textos == original.textos && cópia.traços == original.traços);
    GravadorImpressão segunda(10000, 2000);
    segunda.Reproduzir(original, [](int n) { return n == 2 || n == 3; });
    QCOMPARE(segunda.páginas, 2);
    QList<GravadorImpressão::Texto> esperados;
    for (GravadorImpressão::Texto t : original.textos)
      if (--t.página > 0)
        esperados << t;
    QVERIFY(segunda.textos == esperados);
    QCOMPARE(segunda.traços.size(), 1);
  }

  // With no printer, each document is a PDF of its own in "Impressões", A4; the folder and the
  // PDFs, which hold names and addresses, are their owner's alone under the usual mask 022.
  void semImpressoraCadaDocumentoNumPdf() {
    if (!QPrinterInfo::defaultPrinter().isNull())
      QSKIP("há uma impressora instalada: os documentos iriam para ela");
#ifdef AGREMIA_PERMISSOES_POSIX
    MáscaraComum máscara;
#endif
    FicheiroTeste ficheiro;
    Respostas respostas;
    RelógioFixo relógio(QDateTime(QDate(2026, 12, 6), QTime(9, 5)));
    for (const QString &nome : {u"Ficha de Sócio 25 2026-12-06 09h05m00s.pdf"_s,
                                u"Ficha de Sócio 25 2026-12-06 09h05m00s (2).pdf"_s}) {
      auto p = AbrirImpressão(u"Ficha de Sócio 25"_s);
      QVERIFY(p);
      p->Imprimir(u"olá"_s);
      p->TerminarDocumento();
      QVERIFY(respostas.caixas.takeFirst().texto.endsWith(nome));
      QCOMPARE(LerPdf(ficheiro.Caminho(u"Impressões/"_s + nome)).página.toSize(), QSize(595, 842));
#ifdef AGREMIA_PERMISSOES_POSIX
      QCOMPARE(Permissões(ficheiro.Caminho(u"Impressões/"_s + nome)), u"600"_s);
#endif
    }
#ifdef AGREMIA_PERMISSOES_POSIX
    QCOMPARE(Permissões(ficheiro.Caminho(u"Impressões"_s)), u"700"_s);
#endif
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

  // The NIPC line goes under the block, centred on it in the same size, and pushes the rule
  // and what follows down by its height; the rest stays. A blank row prints as no row at all.
  void nipcNoCabecalho() {
    FicheiroTeste ficheiro;
    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa Exemplo"_s);
    FicheiroTeste::Referência(u"5"_s, u"210 000 000"_s);
    const auto cabeçalho = [] {
      auto g = std::make_unique<GravadorImpressão>();
      ImprimirCabeçalho(*g, u"Título"_s, u"Página 1"_s);
      g->Imprimir(u"corpo"_s);
      return g;
    };
    const auto sem = cabeçalho();
    const qint64 código = FicheiroTeste::Referência(QString(QChar(TipoNIPC)), u"  "_s);
    QCOMPARE(DescreverGravação(*cabeçalho()), DescreverGravação(*sem));
    Dados().bd.Correr(u"UPDATE Tabelas SET Designação = ' 501234560 ' WHERE Código = ?"_s, {código},
                      u"t"_s);
    const auto com = cabeçalho();
    const auto *nipc = com->Procurar(u"NIPC: 501234560"_s);
    const auto *contactos = com->Procurar(u"Telefone: 210 000 000"_s);
    QVERIFY(nipc && contactos && nipc->y > contactos->y);
    QCOMPARE(nipc->fonte.tamanho, contactos->fonte.tamanho);
    const auto meio = [](const auto *t) { return t->x + MedirTexto(t->fonte, t->texto) / 2; };
    QVERIFY(qAbs(meio(nipc) - meio(contactos)) < 2);
    const double altura = AlturaDaLinha(nipc->fonte);
    QCOMPARE(com->traços[0].linha.y1(), sem->traços[0].linha.y1() + altura);
    for (const QString &t : {u"Título"_s, contactos->texto, u"corpo"_s}) {
      QVERIFY2(com->Procurar(t) && sem->Procurar(t), qPrintable(t));
      QCOMPARE(com->Procurar(t)->y, sem->Procurar(t)->y + (t == u"corpo"_s ? altura : 0));
    }
    QCOMPARE(com->textos.size(), sem->textos.size() + 2); // the NIPC and the blank that starts it
  }

  // A text keeps its size when it fits; else it takes the largest size that fits, no smaller
  // than the share allowed; then it loses whole words from its end, and only a single word too
  // long loses characters. Trailing blanks take no room.
  void textoAjustado() {
    FonteImpressão f;
    f.nome = u"Arial"_s;
    f.tamanho = 10;
    const auto largura = [&](const QString &t, double tamanho) {
      FonteImpressão g = f;
      g.tamanho = tamanho;
      return MedirTexto(g, t);
    };
    const QString frase = u"Vila Nova de Santo André da Serra"_s;
    const QString rua = u"Urbanização-Quinta-da-Boa-Vista"_s;
    const double inteira = largura(frase, 10);
    enum Corte { Nenhum, Palavras, Caracteres };
    const std::tuple<QString, double, bool, Corte> casos[] = { // smaller than 10?
        {frase, inteira, false, Nenhum},
        {frase + u"   "_s, inteira, false, Nenhum},
        {frase, inteira * 0.9, true, Nenhum},
        {frase, inteira * 0.4, true, Palavras},
        {rua, largura(rua, 10) * 0.5, true, Caracteres},
        {u"Ângela"_s, 1, true, Caracteres}};
    for (const auto &[texto, espaço, menor, corte] : casos) {
      const TextoAjustado a = AjustarTexto(f, texto, espaço);
      const double usada = largura(a.texto.trimmed(), a.tamanho);
      QVERIFY2(usada <= espaço && texto.startsWith(a.texto), qPrintable(texto));
      QCOMPARE(a.largura, usada);
      QCOMPARE(a.tamanho < 10, menor);
      QCOMPARE(a.tamanho, corte == Nenhum ? a.tamanho : 10 * ReduçãoMáxima);
      // The next size up, the next word or the next character would not fit.
      if (corte == Nenhum)
        QVERIFY(a.texto == texto && (!menor || largura(texto, a.tamanho + 0.05) > espaço));
      else if (corte == Palavras)
        QVERIFY(texto[a.texto.size()] == u' ' &&
                largura(texto.left(texto.indexOf(u' ', a.texto.size() + 1)), a.tamanho) > espaço);
      else
        QVERIFY(largura(texto.left(a.texto.size() + 1), a.tamanho) > espaço);
    }
    // Printed smaller, it stands on the line's baseline and the line goes on at its own height.
    GravadorImpressão p;
    p.DefinirFonte(u"Arial"_s);
    p.DefinirTamanho(10);
    p.Imprimir(u"Nome"_s, false);
    const TextoAjustado impresso = p.ImprimirAjustado(frase, inteira / 2, false);
    p.Imprimir(u"fim"_s);
    QCOMPARE(p.textos.size(), 3);
    QCOMPARE(p.textos[1].texto, impresso.texto);
    FonteImpressão pequena = p.Fonte();
    pequena.tamanho = impresso.tamanho;
    QCOMPARE(p.textos[1].fonte.tamanho, impresso.tamanho);
    QCOMPARE(p.textos[1].y + TintaDoTexto(pequena, u"x"_s).bottom(),
             p.textos[0].y + TintaDoTexto(p.Fonte(), u"x"_s).bottom());
    QCOMPARE(p.textos[2].x, p.textos[1].x + MedirTexto(pequena, impresso.texto));
    QCOMPARE(p.Y(), p.AlturaLinha());
  }
};

QTEST_MAIN(TestImpressao)
#include "TestImpressao.moc"
