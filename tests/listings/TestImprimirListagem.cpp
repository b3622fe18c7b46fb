#include "Impressao.h"
#include "ImprimirListagem.h"
#include "Ouro.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TipoImpressão)

// The four prints of the member list, recorded: one golden dump each, and the positions that
// decide whether a page or a sheet of labels comes out right.
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
  void initTestCase() {
    const QString rua = Sócios(4)[0].rua;
    QCOMPARE(rua.size(), 40);
    QCOMPARE(rua.lastIndexOf(u' ', 28), 25); // the last blank before position 30 is at 26
  }

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

  // Every page opens with the header and its own number; every page but the last ends with
  // the line and "Continua na próxima página" once a member line reaches 15000 twips; the
  // closing lines come once, at the end.
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
    int membros = 0;
    for (int p = 1; p <= g.páginas; ++p) {
      QCOMPARE(NaPágina(g, p, Colectividade).size(), 1);
      QCOMPARE(NaPágina(g, p, u"Listagem de Sócios"_s).size(), 1);
      const auto número = NaPágina(g, p, u"Página Nº  %1 "_s.arg(p));
      QCOMPARE(número.size(), 1);
      // At its designed distance from the right edge, never past it.
      QCOMPARE(número[0]->x, g.LarguraPágina() - 1200);
      QCOMPARE(número[0]->y, 350.0);
      QCOMPARE(NaPágina(g, p, u"Situação"_s).size(), 1);

      double últimaLinha = 0;
      for (const auto &t : g.textos)
        if (t.página == p && t.x == 0 && t.texto.startsWith(u' ')) {
          ++membros;
          últimaLinha = std::max(últimaLinha, t.y);
        }
      const auto continua = NaPágina(g, p, u"Continua na próxima página"_s);
      const auto fim = NaPágina(g, p, u"Fim da Listagem de Sócios"_s);
      if (p < g.páginas) {
        QCOMPARE(continua.size(), 1);
        QVERIFY(fim.isEmpty());
        // The member line that passed 15000 is the page's last; the text ends at the right edge.
        QVERIFY(continua[0]->y >= 15000);
        QVERIFY(últimaLinha < 15000);
        QVERIFY(últimaLinha + AlturaDaLinha(continua[0]->fonte) >= 15000);
        QCOMPARE(qRound(continua[0]->x + MedirTexto(continua[0]->fonte, continua[0]->texto)),
                 qRound(g.LarguraPágina()));
      } else {
        QVERIFY(continua.isEmpty());
        QCOMPARE(fim.size(), 1);
        QCOMPARE(qRound(fim[0]->x + MedirTexto(fim[0]->fonte, fim[0]->texto)),
                 qRound(g.LarguraPágina()));
      }
    }
    QCOMPARE(membros, 250);
  }

  // The streets of a detailed list: cut at the last word boundary before position 30, whole
  // when they have no blank there, nothing when there is none.
  void ruaNaListagemDetalhada() {
    GravadorImpressão g;
    ImprimirListagem(g, Sócios(4), true, Colectividade);
    QStringList ruas;
    for (const auto &t : g.textos)
      if (t.x == 4200 && t.página == 1 && t.y > 1050)
        ruas << t.texto;
    QCOMPARE(ruas, (QStringList{u"Avenida Marechal Gomes da"_s, u"x"_s.repeated(40), u"Rua 4"_s}));
  }

  // The 21st large and the 41st small label start a new page, at the first place; a run that
  // fills its last sheet exactly does not feed an empty one.
  void etiquetasPorPagina_data() {
    QTest::addColumn<bool>("grandes");
    QTest::addColumn<int>("porPágina");
    QTest::addColumn<double>("últimaX");
    QTest::newRow("grandes") << true << 20 << 6280.0;
    QTest::newRow("pequenas") << false << 40 << 9225.0;
  }

  void etiquetasPorPagina() {
    QFETCH(bool, grandes);
    QFETCH(int, porPágina);
    QFETCH(double, últimaX);
    const auto imprimir = [&](int n) {
      auto g = std::make_unique<GravadorImpressão>();
      if (grandes)
        ImprimirEtiquetasGrandes(*g, Sócios(n));
      else
        ImprimirEtiquetasPequenas(*g, Sócios(n));
      return g;
    };
    const auto cheia = imprimir(porPágina);
    QCOMPARE(cheia->páginas, 1);
    const auto mais = imprimir(porPágina + 1);
    QCOMPARE(mais->páginas, 2);
    const auto *última = mais->Procurar(u" %1 "_s.arg(porPágina));
    QVERIFY(última);
    QCOMPARE(última->página, 1);
    QCOMPARE(última->x, últimaX);
    QCOMPARE(última->y, 14260.0 - 340);
    const auto *seguinte = mais->Procurar(u" %1 "_s.arg(porPágina + 1));
    QVERIFY(seguinte);
    QCOMPARE(seguinte->página, 2);
    QCOMPARE(seguinte->x, 390.0);
    QCOMPARE(seguinte->y, 400.0 - 340);
  }

  // With nobody listed: the header and the closing lines; labels print nothing.
  void semSocios() {
    GravadorImpressão lista;
    ImprimirListagem(lista, {}, false, Colectividade);
    QCOMPARE(lista.páginas, 1);
    QCOMPARE(
        lista.Textos(),
        (QStringList{Colectividade, u"Listagem de Sócios"_s, u"Página Nº  1 "_s, u"Código"_s,
                     u"Nome"_s, u"Código Postal"_s, u"Inscrição"_s, u"Situação"_s,
                     u"Agremia - gestão de sócios e quotas"_s, u"Fim da Listagem de Sócios"_s}));
    QVERIFY(lista.Terminado());
    GravadorImpressão etiquetas;
    ImprimirEtiquetasPequenas(etiquetas, {});
    QCOMPARE(etiquetas.páginas, 1);
    QVERIFY(etiquetas.textos.isEmpty());
    QVERIFY(etiquetas.Terminado());
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
