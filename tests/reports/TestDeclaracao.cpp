#include "Cabecalho.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "ImprimirDeclaracao.h"
#include "Ouro.h"
#include "Referencias.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The annual dues declaration: the total, the text, its justified lines and the page.
class TestDeclaracao : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  static void Sócio(qint64 número, const QString &nome) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s,
                      {número, nome}, u"teste"_s);
  }
  static void Quota(qint64 número, int ano, int mês, qint64 décimosMilésimos) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" (\"SócMês\", \"QuotaEuro\", \"Recibo\") "
                      u"VALUES (?, ?, 1)"_s,
                      {ChaveSócMês(número, ano, mês), décimosMilésimos}, u"teste"_s);
  }

  static FonteImpressão Fonte13() {
    FonteImpressão f;
    f.tamanho = 13;
    return f;
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // Only the member's own dues of the chosen year are summed: not the year before or after,
  // not member 120's, whose key begins like member 12's.
  void somar_data() {
    QTest::addColumn<qint64>("número");
    QTest::addColumn<int>("ano");
    QTest::addColumn<QString>("total"); // empty: no such member
    QTest::newRow("ano com quotas") << qint64(12) << 2005 << u"37,75"_s;
    QTest::newRow("outro ano") << qint64(12) << 2004 << u"10,00"_s;
    QTest::newRow("ano sem quotas") << qint64(12) << 2006 << u"0,00"_s;
    QTest::newRow("sócio sem quotas") << qint64(1) << 2005 << u"0,00"_s;
    QTest::newRow("sócio inexistente") << qint64(13) << 2005 << QString();
  }
  void somar() {
    QFETCH(qint64, número);
    QFETCH(int, ano);
    QFETCH(QString, total);
    Sócio(1, u"Sem Quotas"_s);
    Sócio(12, u"Ana Lopes"_s);
    Sócio(120, u"Rui Sousa"_s);
    Quota(12, 2004, 12, 100000);
    Quota(12, 2005, 1, 125000);
    Quota(12, 2005, 2, 125000);
    Quota(12, 2005, 12, 127500);
    Quota(12, 2007, 1, 990000);
    Quota(120, 2005, 3, 990000);
    const auto r = SomarQuotizações(Dados().bd, número, ano);
    QCOMPARE(r.has_value(), !total.isEmpty());
    if (r)
      QCOMPARE(r->total.Formatar(u"###,###,##0.00"), total);
  }

  void texto() {
    QCOMPARE(ComporDeclaração(u"Ana Lopes"_s, 12, u"2005"_s, u"37,75"_s),
             u"Para os devidos efeitos se DECLARA que Ana Lopes é nosso associado, com o número "
             u"12, tendo pago, no ano de 2005, o total de 37,75 (Euros)  em quotizações.\r\n\r\n"
             u"Por ser verdade e ter sido pedida se passa a presente DECLARAÇÃO, que vai "
             u"assinada e autenticada pela Direcção."_s);
    QCOMPARE(LinhaData(QDate(2006, 3, 5)), u"5 de Março de 2006"_s);
  }

  void validar_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mostrado"); // empty: refused
    QTest::newRow("vírgula") << u"37,5"_s << u"37,50"_s;
    QTest::newRow("milhares") << u"1.234,5"_s << u"1.234,50"_s;
    QTest::newRow("zero") << u"0"_s << u"0,00"_s;
    QTest::newRow("vazio") << QString() << QString();
    QTest::newRow("letras") << u"12a"_s << QString();
    QTest::newRow("negativo") << u"-3,25"_s << QString();
  }
  void validar() {
    QFETCH(QString, texto);
    QFETCH(QString, mostrado);
    QCOMPARE(ValidarQuotizações(texto).value_or(QString()), mostrado);
  }

  // Full lines end exactly on the right margin; the last line of a paragraph keeps its natural
  // spacing; first lines are indented; nothing of the text is lost or reordered.
  void linhas_data() {
    QTest::addColumn<QString>("texto");
    QTest::newRow("declaração") << ComporDeclaração(
        u"Maria da Conceição Ferreira dos Santos Silva"_s, 4521, u"2005"_s, u"1.234,50"_s);
    QTest::newRow("parágrafos curtos") << u"Um.\r\n\r\nDois.\nTrês."_s;
    QTest::newRow("palavra longa") << u"Antes "_s + u"abcdefghij"_s.repeated(12) +
                                          u" depois de uma palavra longa que "
                                          u"não cabe numa linha inteira."_s;
  }
  void linhas() {
    QFETCH(QString, texto);
    const double w = 10772;
    const FonteImpressão f = Fonte13();
    const auto medir = [&](const QString &t) { return MedirTexto(f, t); };
    const auto linhas = LinhasDeclaração(texto, w, medir);
    QString normalizado = texto;
    normalizado.replace(u"\r\n"_s, u"\n"_s);
    const QStringList parágrafos = normalizado.split(u'\n');
    QStringList palavras;
    bool primeira = true;
    int parágrafo = 0;
    for (size_t i = 0; i < linhas.size(); ++i) {
      const LinhaDeclaração &l = linhas[i];
      if (l.peças.empty()) {
        QVERIFY(parágrafos[parágrafo].trimmed().isEmpty());
        ++parágrafo;
        primeira = true;
        continue;
      }
      QCOMPARE(l.peças.front().x, primeira ? 3000.0 : 1500.0);
      const auto &última = l.peças.back();
      const double fim = última.x + medir(última.texto);
      const bool fimDoParágrafo = i + 1 == linhas.size() || linhas[i + 1].peças.empty() ||
                                  linhas[i + 1].peças.front().x == 3000.0;
      if (l.justificada) {
        QVERIFY(!fimDoParágrafo);
        QVERIFY2(qAbs(fim - (w - 1500)) < 0.5, qPrintable(QString::number(fim)));
      } else {
        QVERIFY(fim <= w - 1500);
        QVERIFY(fimDoParágrafo || l.peças.size() == 1); // a word alone cannot be spread
      }
      for (const auto &p : l.peças)
        palavras << p.texto.split(u' ', Qt::SkipEmptyParts);
      primeira = false;
      if (fimDoParágrafo) {
        ++parágrafo;
        primeira = true;
      }
    }
    QCOMPARE(palavras.join(QString()), QString(normalizado).remove(u' ').remove(u'\n'));
  }

  // The page: the header 1500 twips lower than on other reports, and the title below it, not
  // over it; the justified text; the board's line ending 3000 twips inside the right edge.
  void pagina() {
    GravarLinhaTabelas(Dados().bd, u'1', u"Grupo Desportivo da Ribeira"_s);
    GravarLinhaTabelas(Dados().bd, u'5', u"210 000 000"_s);
    RecarregarListas();
    GravadorImpressão normal;
    ImprimirCabeçalho(normal, QString(), u"5 de Março de 2006"_s);
    const double réguaNormal = normal.traços.front().linha.y1();

    GravadorImpressão g;
    const QString texto = ComporDeclaração(u"Ana Lopes"_s, 12, u"2005"_s, u"37,75"_s);
    ImprimirDeclaração(g, texto, QDate(2006, 3, 5));
    QVERIFY(g.Terminado());
    QCOMPARE(g.páginas, 1);
    QCOMPARE(g.traços.size(), 1);
    const double régua = g.traços.front().linha.y1();
    QCOMPARE(régua, réguaNormal + 1500);
    QCOMPARE(g.Procurar(u"Grupo Desportivo da Ribeira"_s)->y,
             normal.Procurar(u"Grupo Desportivo da Ribeira"_s)->y + 1500);
    const auto *título = g.Procurar(u"D E C L A R A Ç Ã O"_s);
    QVERIFY(título && título->y > régua);
    QVERIFY(título->fonte.negrito && título->fonte.sublinhado && título->fonte.tamanho == 18);
    const auto *direcção = g.Procurar(u"P´la Direcção,"_s);
    QVERIFY(direcção);
    QCOMPARE(qRound(direcção->x + MedirTexto(direcção->fonte, direcção->texto)),
             qRound(g.LarguraPágina() - 3000));
    QVERIFY(direcção->y > g.textos[g.textos.size() - 2].y + 1000);
    COMPARAR_COM_OURO(g, u"declaracao"_s);
  }
};

QTEST_MAIN(TestDeclaracao)
#include "TestDeclaracao.moc"
