#include "Atrasos.h"
#include "Dados.h"
#include "DepoisDeImprimir.h"
#include "FicheiroTeste.h"
#include "Formatacao.h"
#include "Guardas.h"
#include "Impressao.h"
#include "LerFicheiro.h"
#include "Molduras.h"
#include "Ouro.h"
#include "Referencias.h"
#include "Respostas.h"
#include "ResumoAno.h"
#include "ResumoAnual.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The year's summary: the months counted from the file, the page with its chart, the window.
class TestResumoAno : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  qint64 normal = 0, reduzida = 0;

  static void Sócio(int número, const QVariant &inscrição, qint64 tipo) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Inscrição\", "
                      u"\"TipoQuota\") VALUES (?, ?, ?, ?)"_s,
                      {número, u"Sócio "_s + QString::number(número), inscrição, tipo}, u"t"_s);
  }
  static void Pago(int número, int ano, int mês, const QVariant &valor) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, 1)"_s,
                      {ChaveSócMês(número, ano, mês), valor}, u"t"_s);
  }
  // The months as "rows/sum/enrolled/owing", January first, then the totals the same way.
  static QString Texto(const ResumoDoAno &r) {
    QStringList meses;
    for (const MêsResumo &m : r.meses)
      meses << QString::number(m.quotas) + u'/' + m.valor.Formatar(u"#0.00") + u'/' +
                   QString::number(m.inscritos) + u'/' + QString::number(m.emDívida);
    return meses.join(u' ') + u" = "_s + QString::number(r.quotas) + u'/' +
           r.valor.Formatar(u"#0.00") + u'/' + QString::number(r.inscritosNoFim) + u'/' +
           QString::number(r.mesesEmDívida);
  }
  static ResumoDoAno Exemplo() {
    ResumoDoAno r;
    const int valores[12] = {850, 0, 1200, 400, 975, 1000, 300, 0, 1325, 700, 600, 2000};
    for (int m = 0; m < 12; ++m) {
      r.meses[size_t(m)] = {valores[m] / 25, Moeda::DeCêntimos(valores[m] * 100), 80 + m,
                            (m * 7) % 13};
      r.quotas += r.meses[size_t(m)].quotas;
      r.valor += r.meses[size_t(m)].valor;
      r.mesesEmDívida += r.meses[size_t(m)].emDívida;
    }
    r.inscritosNoFim = 91;
    return r;
  }

private slots:
  // 1 pays every month of 2025 (and one of 2024); 2 enrols on 15 March 2025 and paid January
  // before that, and March and April; 3 has no enrolment date (NULL) and a June row without an
  // amount; 4 has an empty date and pays nothing; 5 enrols on 31 December; 6 in 2026; a row of a
  // number no member holds. 1, 2, 5 and 6 pay the normal quota, 3 and 4 the reduced one.
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    reduzida = FicheiroTeste::Referência(u"T"_s, u"Reduzida"_s);
    RecarregarListas();
    Sócio(1, u"20000101"_s, normal);
    Sócio(2, u"20250315"_s, normal);
    Sócio(3, QVariant(), reduzida);
    Sócio(4, u""_s, reduzida);
    Sócio(5, u"20251231"_s, normal);
    Sócio(6, u"20260101"_s, normal);
    for (int m = 1; m <= 12; ++m)
      Pago(1, 2025, m, 100000);
    Pago(1, 2024, 12, 100000);
    Pago(2, 2025, 1, 50000);
    Pago(2, 2025, 3, 100000);
    Pago(2, 2025, 4, 100000);
    Pago(3, 2025, 6, QVariant());
    Pago(99, 2025, 1, 70000);
  }
  void cleanup() {
    respostas.reset();
    ficheiro.reset();
  }

  void resumoDoFicheiro_data() {
    QTest::addColumn<int>("ano");
    QTest::addColumn<int>("tipo"); // 0 every type, 1 normal, 2 reduced
    QTest::addColumn<QString>("esperado");
    QTest::newRow("ficheiro vazio")
        << 0 << 0 << QStringList(12, u"0/0,00/0/0"_s).join(u' ') + u" = 0/0,00/0/0"_s;
    QTest::newRow("todos") << 2025 << 0
                           << u"2/15,00/3/2 1/10,00/3/2 2/20,00/4/2 2/20,00/4/2 1/10,00/4/3 "
                              u"2/10,00/4/2 1/10,00/4/3 1/10,00/4/3 1/10,00/4/3 1/10,00/4/3 "
                              u"1/10,00/4/3 1/10,00/5/4 = 16/145,00/5/32"_s;
    QTest::newRow("normal") << 2025 << 1
                            << u"2/15,00/1/0 1/10,00/1/0 2/20,00/2/0 2/20,00/2/0 1/10,00/2/1 "
                               u"1/10,00/2/1 1/10,00/2/1 1/10,00/2/1 1/10,00/2/1 1/10,00/2/1 "
                               u"1/10,00/2/1 1/10,00/3/2 = 15/145,00/3/9"_s;
    QTest::newRow("reduzida") << 2025 << 2
                              << u"0/0,00/2/2 0/0,00/2/2 0/0,00/2/2 0/0,00/2/2 0/0,00/2/2 "
                                 u"1/0,00/2/1 0/0,00/2/2 0/0,00/2/2 0/0,00/2/2 0/0,00/2/2 "
                                 u"0/0,00/2/2 0/0,00/2/2 = 1/0,00/2/23"_s;
    QTest::newRow("ano anterior") << 2024 << 0
                                  << u"0/0,00/3/3 0/0,00/3/3 0/0,00/3/3 0/0,00/3/3 0/0,00/3/3 "
                                     u"0/0,00/3/3 0/0,00/3/3 0/0,00/3/3 0/0,00/3/3 0/0,00/3/3 "
                                     u"0/0,00/3/3 1/10,00/3/2 = 1/10,00/3/35"_s;
  }
  // Each month against the hand count, and its members owing against the arrears report of
  // that month, which finds them its own way.
  void resumoDoFicheiro() {
    QFETCH(int, ano);
    QFETCH(int, tipo);
    QFETCH(QString, esperado);
    if (ano == 0) {     // a file with nothing in it
      ficheiro.reset(); // closes the file before the empty one opens
      ficheiro = std::make_unique<FicheiroTeste>();
      ano = 2025;
    }
    const qint64 código = tipo == 0 ? 0 : tipo == 1 ? normal : reduzida;
    const ResumoDoAno r = ResumirAno(Dados().bd, ano, código);
    QCOMPARE(Texto(r), esperado);
    for (int m = 1; m <= 12; ++m)
      QCOMPARE(r.meses[size_t(m - 1)].emDívida,
               qint64(SóciosEmAtraso(Dados().bd, ano, m, código).size()));
  }

  // One page: the table, then the chart in its frame below it; every text on the page and off
  // every other; each bar as tall as its month's sum on the scale, the owing line's points on
  // theirs; the golden dump.
  void paginaComGrafico() {
    GravarLinhaTabelas(Dados().bd, u'1', u"Sociedade Recreativa Exemplo"_s);
    GravarLinhaTabelas(Dados().bd, u'2', u"Rua Direita, 10"_s);
    const ResumoDoAno r = Exemplo();
    GravadorImpressão g;
    ImprimirResumo(g, u"2025"_s, u"[Todos]"_s, r);
    PdfParaVer(g, u"resumo"_s);
    QCOMPARE(g.páginas, 1);
    QVERIFY(g.Terminado());
    const QStringList problemas = TextosQueSeSobrepõem(g);
    QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(u'\n')));

    // The frame is the first rectangle drawn at the left margin; all the chart lies inside it.
    const auto moldura = std::find_if(g.traços.begin(), g.traços.end(), [](const auto &t) {
      return t.rectângulo && t.linha.x1() == 0;
    });
    QVERIFY(moldura != g.traços.end());
    const QRectF caixa = QRectF(moldura->linha.p1(), moldura->linha.p2()).normalized();
    QVERIFY(caixa.bottom() <= g.AlturaPágina() && caixa.height() > 4000);
    QVERIFY(g.Procurar(u"Total do ano"_s)->y < caixa.top());
    for (auto t = moldura; t != g.traços.end(); ++t) {
      const QRectF r2 = QRectF(t->linha.p1(), t->linha.p2()).normalized();
      QVERIFY2(r2.left() >= caixa.left() && r2.right() <= caixa.right() &&
                   r2.top() >= caixa.top() && r2.bottom() <= caixa.bottom(),
               qPrintable(DescreverCaixa(r2)));
    }
    for (const auto &t : g.textos)
      if (t.y >= caixa.top())
        QVERIFY2(caixa.contains(CaixaDoTexto(t)), qPrintable(t.texto));

    // The scale: the largest month is 2.000 €, so four steps of 500; the members, up to 12,
    // four steps of 5. The bars stand on the base line (the lowest scale label's middle) and
    // reach value / 2.000 of the scale's height.
    QVERIFY(g.Procurar(u"2.000"_s) && g.Procurar(u"500"_s) && !g.Procurar(u"2.500"_s));
    QList<QRectF> barras;
    for (const auto &t : g.traços) {
      const QRectF b = QRectF(t.linha.p1(), t.linha.p2()).normalized();
      if (t.rectângulo && !t.tracejada && b.width() > 200 && b.top() > caixa.top() + 400)
        barras << b;
    }
    QCOMPARE(barras.size(), 10); // two months received nothing
    const double base = barras[0].bottom();
    const double altura = barras.last().height(); // December, the 2.000 € month
    int i = 0;
    for (int m = 0; m < 12; ++m) {
      if (r.meses[size_t(m)].valor == Moeda())
        continue;
      const QRectF &b = barras[i++];
      QCOMPARE(b.bottom(), base);
      QVERIFY(qAbs(b.height() - altura * double(r.meses[size_t(m)].valor.DécimosMilésimos()) /
                                    20000000.0) < 0.5);
      // The month's name stands centred under its bar.
      const auto *nome = g.Procurar(AbreviaturaMês(m + 1));
      QVERIFY(nome && nome->y > base);
      QVERIFY(qAbs(CaixaDoTexto(*nome).center().x() - b.center().x()) < 60);
    }
    COMPARAR_COM_OURO(g, u"resumo"_s);
  }

  // On a narrow page and with nothing received the chart still keeps inside its frame.
  void graficoVazioEEstreito() {
    for (const double largura : {10772.0, 7710.0}) {
      GravadorImpressão g(largura);
      ImprimirResumo(g, u"2025"_s, u"Sócio Honorário Fundador (isento de quota)"_s, ResumoDoAno{});
      QCOMPARE(g.páginas, 1);
      const QStringList problemas = TextosQueSeSobrepõem(g);
      QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(u'\n')));
      for (const auto &t : g.traços)
        QVERIFY(t.linha.x1() >= 0 && t.linha.x2() <= largura && t.linha.y2() <= g.AlturaPágina());
    }
  }

  // The window: the list of a type, printed as built, exported with its heads.
  void janela() {
    ResumoAno j(nullptr);
    j.Ano->setText(u"2025"_s);
    j.TipoQuota->setCurrentIndex(j.TipoQuota->findData(normal));
    QVERIFY(j.Gráfico->isHidden());
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    // The chart appears under the grid, drawn: December's bar, half the scale's height, inks
    // the lower half of its column.
    QVERIFY(!j.Gráfico->isHidden());
    j.Gráfico->resize(600, 400);
    const QImage imagem = j.Gráfico->grab().toImage();
    const QRgb fundo = imagem.pixel(imagem.width() / 2, 2);
    const auto tinta = [&](int x0, int x1) {
      int n = 0;
      for (int x = x0; x < x1; ++x)
        for (int y = imagem.height() / 2; y < imagem.height() * 4 / 5; ++y)
          n += imagem.pixel(x, y) != fundo;
      return n;
    };
    QVERIFY(tinta(imagem.width() * 85 / 100, imagem.width() * 92 / 100) > 100);
    const QStringList linhas = j.Listagem->Linhas();
    QCOMPARE(linhas.size(), 13);
    QCOMPARE(linhas[0], u" Janeiro\t2\t15,00\t1\t0"_s);
    QCOMPARE(linhas[12], u" Total\t15\t145,00\t3\t9"_s);
    QVERIFY(j.Comando[2]->isEnabled());

    j.TipoQuota->setCurrentIndex(0); // changed after listing: the print says what was listed
    FábricaImpressãoFalsa impressões;
    QTest::mouseClick(j.Comando[2], Qt::LeftButton);
    QVERIFY(impressões.textos.contains(u"Tipo de Quota: Normal"_s));
    QVERIFY(impressões.textos.contains(u"Ano de 2025"_s));

    EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"resumo.csv"_s));
    QTest::mouseClick(j.Exportar, Qt::LeftButton);
    QCOMPARE(escolha.oferecidos.size(), 1);
    QVERIFY(escolha.oferecidos[0].endsWith(u"Resumo do ano 2025.csv"_s));
    QFile f(ficheiro->Caminho(u"resumo.csv"_s));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList csv = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 14);
    QCOMPARE(csv[13], u"Total;15;145,00;3;9"_s);
  }
};

QTEST_MAIN(TestResumoAno)
#include "TestResumoAno.moc"
