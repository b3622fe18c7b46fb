#include "Impressao.h"
#include "ImprimirListagem.h"
#include "Ouro.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TipoImpressão)

// The four prints of the member list, recorded: one golden dump each, and how they break pages.
class TestImprimirListagem : public QObject {
  Q_OBJECT

  inline static const QString Colectividade = u"Associação Recreativa \"Os Amigos\""_s;

  // Members 1..n with the cases a print meets: a 40-character street whose last blank before
  // position 30 stands at 26, a street without blanks, no street, a long name and postal
  // code, no date, no situation or quota type.
  static std::vector<SócioListado> Sócios(int n) {
    std::vector<SócioListado> r;
    for (int i = 1; i <= n; ++i) {
      SócioListado s;
      s.número = i;
      s.nome = u"Sócio Número %1 da Silva"_s.arg(i);
      s.inscrição = u"%1-03-1998"_s.arg(i % 28 + 1, 2, 10, QChar(u'0'));
      s.rua = u"Rua %1"_s.arg(i);
      s.localidade = u"Localidade %1"_s.arg(i);
      s.códigoPostal = u"4000-%1 Porto"_s.arg(i, 3, 10, QChar(u'0'));
      s.situação = u"Efectivo"_s;
      s.tipoQuota = u"Mensal"_s;
      r.push_back(s);
    }
    if (n >= 4) {
      r[0].rua = u"Avenida Marechal Gomes da Costa, 1234 Dto"_s.left(40);
      r[0].nome = u"Maria da Conceição Albuquerque Fonseca Pires"_s;
      r[0].códigoPostal = u"4000-001 Porto (Apartado dos Correios Centrais)"_s;
      r[1].rua = u"x"_s.repeated(40);
      r[2].rua.clear();
      r[2].inscrição = u"--"_s;
      r[3].situação.clear();
      r[3].tipoQuota.clear();
    }
    return r;
  }

  static QList<const GravadorImpressão::Texto *> NaPágina(const GravadorImpressão &g, int página,
                                                          const QString &texto) {
    QList<const GravadorImpressão::Texto *> r;
    for (const auto &t : g.textos)
      if (t.página == página && t.texto == texto)
        r << &t;
    return r;
  }

private slots:
  void ouro_data() {
    QTest::addColumn<TipoImpressão>("tipo");
    QTest::addColumn<int>("sócios");
    QTest::addColumn<QString>("ouro");
    QTest::newRow("detalhada") << TipoImpressão::Detalhada << 110 << u"listagem-detalhada"_s;
    QTest::newRow("normal") << TipoImpressão::Normal << 75 << u"listagem-normal"_s;
    QTest::newRow("endereços pequenos")
        << TipoImpressão::EndereçosPequenos << 41 << u"etiquetas-pequenas"_s;
    QTest::newRow("endereços grandes")
        << TipoImpressão::EndereçosGrandes << 21 << u"etiquetas-grandes"_s;
  }

  void ouro() {
    QFETCH(TipoImpressão, tipo);
    QFETCH(int, sócios);
    QFETCH(QString, ouro);
    GravadorImpressão g;
    ImprimirSócios(g, tipo, Sócios(sócios), Colectividade);
    QVERIFY(g.Terminado());
    QCOMPARE(g.páginas, 2);
    COMPARAR_COM_OURO(g, ouro);
  }

  // Every page has its own number, every page but the last "Continua na próxima página", the
  // last the closing line; every member is printed once. Positions are in the golden dumps.
  void paginasDaListagem_data() {
    QTest::addColumn<bool>("detalhada");
    QTest::newRow("detalhada") << true;
    QTest::newRow("normal") << false;
  }
  void paginasDaListagem() {
    QFETCH(bool, detalhada);
    GravadorImpressão g;
    ImprimirListagem(g, Sócios(250), detalhada, Colectividade);
    QVERIFY(g.páginas >= 3);
    for (int p = 1; p <= g.páginas; ++p) {
      QCOMPARE(NaPágina(g, p, u"Página Nº  %1 "_s.arg(p)).size(), 1);
      QCOMPARE(NaPágina(g, p, u"Continua na próxima página"_s).size(), p < g.páginas ? 1 : 0);
      QCOMPARE(NaPágina(g, p, u"Fim da Listagem de Sócios"_s).size(), p < g.páginas ? 0 : 1);
    }
    const QStringList textos = g.Textos();
    for (const SócioListado &s : Sócios(250))
      QCOMPARE(textos.count(s.nome), 1);
  }

  // With nobody listed: one page with the closing lines, and no labels. A run that fills its
  // last sheet of labels exactly does not feed an empty one.
  void poucosSocios() {
    GravadorImpressão lista, vazias, grandes, pequenas;
    ImprimirListagem(lista, {}, false, Colectividade);
    QCOMPARE(lista.páginas, 1);
    QVERIFY(lista.Procurar(u"Fim da Listagem de Sócios"_s));
    ImprimirEtiquetasPequenas(vazias, {});
    QVERIFY(vazias.textos.isEmpty());
    ImprimirEtiquetasGrandes(grandes, Sócios(20));
    ImprimirEtiquetasPequenas(pequenas, Sócios(40));
    for (const auto *g : {&lista, &vazias, &grandes, &pequenas}) {
      QVERIFY(g->Terminado());
      QCOMPARE(g->páginas, 1);
    }
  }

  // The progress bar hears every whole percent once, in order, and 100 only at the end.
  void progresso_data() {
    QTest::addColumn<TipoImpressão>("tipo");
    QTest::addColumn<int>("sócios");
    QTest::addColumn<QList<int>>("esperado");
    QList<int> todos;
    for (int i = 0; i <= 100; ++i)
      todos << i;
    QTest::newRow("lista de 250") << TipoImpressão::Normal << 250 << todos;
    QTest::newRow("etiquetas de 3")
        << TipoImpressão::EndereçosPequenos << 3 << QList<int>{0, 33, 66, 99, 100};
    QTest::newRow("nenhum") << TipoImpressão::Detalhada << 0 << QList<int>{0, 100};
  }

  void progresso() {
    QFETCH(TipoImpressão, tipo);
    QFETCH(int, sócios);
    QFETCH(QList<int>, esperado);
    QList<int> vistos;
    GravadorImpressão g;
    ImprimirSócios(g, tipo, Sócios(sócios), Colectividade, [&](int v) { vistos << v; });
    QCOMPARE(vistos, esperado);
  }
};

QTEST_MAIN(TestImprimirListagem)
#include "TestImprimirListagem.moc"
