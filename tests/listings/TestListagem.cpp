#include "FicheiroTeste.h"
#include "Impressao.h"
#include "ImprimirListagem.h"
#include "ListagemSocios.h"
#include "Molduras.h"
#include "Ouro.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The member list: its selection and order, and its four prints.
class TestListagem : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  static void Sócio(int número, const QString &nome, const QString &inscrição, qint64 cp,
                    qint64 situação, qint64 tipo, const QString &rua = {},
                    const QString &localidade = {}) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Inscrição\", "
                      u"\"CPostal\", \"Situação\", \"TipoQuota\", \"Rua\", \"Localidade\") "
                      u"VALUES (?, ?, ?, ?, ?, ?, ?, ?)"_s,
                      {número, nome, inscrição, cp, situação, tipo, rua, localidade}, u"teste"_s);
  }

  inline static const QString Colectividade = u"Associação Recreativa \"Os Amigos\""_s;

  // Members 1..n; the first four: long names and streets, no street or date, no situation.
  static std::vector<SócioListado> Listados(int n) {
    std::vector<SócioListado> r;
    for (int i = 1; i <= n; ++i)
      r.push_back({i, u"Sócio Número %1 da Silva"_s.arg(i),
                   u"%1-03-1998"_s.arg(i % 28 + 1, 2, 10, QChar(u'0')), u"Rua %1"_s.arg(i),
                   u"Localidade %1"_s.arg(i), u"4000-%1 Porto"_s.arg(i, 3, 10, QChar(u'0')),
                   u"Efectivo"_s, u"Mensal"_s});
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

  // The worst cases, four across and two down: the largest number, 45 capitals, a street
  // without blanks, 40-character localities, accented capitals, the widest situation.
  static std::vector<SócioListado> Piores() {
    const QString nomeLongo = u"WALDEMAR MAGALHÃES MOURÃO DE MACEDO WANDERLEY"_s;
    const QString ruaSemBrancos = u"Urbanização-Quinta-da-Boa-Vista-Lote-12-3ºEsq"_s;
    const QString cp = u"4000-001 Porto (Apartado dos Correios Centrais)"_s;
    std::vector<SócioListado> r;
    for (int i = 0; i < 8; ++i)
      r.push_back({i == 0 ? 999999 : 123450 + i,
                   i % 4 == 0 || i % 4 == 3 ? nomeLongo
                   : i % 4 == 1             ? u"Ângela Sousa"_s
                                            : u"ÉLIA MARQUES"_s,
                   u"31-12-1998"_s, ruaSemBrancos,
                   i % 4 == 0   ? u"SÃO MARTINHO DE MOUROS E VALE DE CAMBRA"_s
                   : i % 4 == 3 ? u"Vila Nova de Santo André da Serra Grande"_s
                                : u"Porto"_s,
                   cp, u"Suspenso"_s, u"Trimestral"_s});
    return r;
  }

  static QRectF Moldura(const GravadorImpressão &g) {
    QRectF moldura;
    for (const auto &t : g.traços)
      if (t.rectângulo)
        moldura = QRectF(t.linha.p1(), t.linha.p2());
    return moldura;
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    const qint64 cp1 = FicheiroTeste::Referência(u"C"_s, u"4000-001 Porto"_s);
    const qint64 cp2 = FicheiroTeste::Referência(u"C"_s, u"1000-001 Lisboa"_s);
    const qint64 s1 = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    const qint64 s2 = FicheiroTeste::Referência(u"S"_s, u"Suspenso"_s);
    const qint64 t1 = FicheiroTeste::Referência(u"T"_s, u"Mensal"_s);
    const qint64 t2 = FicheiroTeste::Referência(u"T"_s, u"Anual"_s);
    Sócio(1, u"Bruno Costa"_s, u"19960915"_s, cp1, s1, t1, u"Rua das Flores 12 "_s, u"Porto "_s);
    Sócio(2, u"Álvaro Dias"_s, u""_s, 9999, s1, t2);
    Sócio(3, u"álvaro Dias"_s, u"19950101"_s, cp2, s2, t1);
    Sócio(4, u"Alvaro Dias"_s, u"19970101"_s, cp1, s1, t1);
    Sócio(5, u"Zé Maria"_s, u"19950101"_s, 0, s2, t2);
    Sócio(6, u"O'Neill"_s, u"20000101"_s, cp2, s1, t1);
    Sócio(7, u"Ana \"Nita\" Silva"_s, u"19990101"_s, cp1, s2, t2);
    Sócio(8, u"Ângela Sousa"_s, u"19980505"_s, 0, s1, t1);
    Sócio(9, u"Óscar Reis"_s, u"19980505"_s, cp2, s2, t1);
    Sócio(10, u"Úrsula Lopes"_s, u""_s, cp1, s1, t2);
    Sócio(11, u"Bruno Costa"_s, u"19960915"_s, 0, s1, t1);
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (12, 'Maria Nula')"_s,
                      {}, u"teste"_s);
  }
  void cleanup() { ficheiro.reset(); }

  // Accents and case sort beside the plain letter; "Asce/Desc" reverses the last key only; the
  // untouched range lists names before "A" and after "ZZ"; a range may begin with a digit.
  void selecaoOrdemECelulas() {
    Sócio(13, u"1º de Maio Clube"_s, u"20010101"_s, 0, 0, 0);
    Sócio(14, u"ZZZ Lda"_s, u"20010101"_s, 0, 0, 0);
    Sócio(15, u"«Os Amigos»"_s, u"20010101"_s, 0, 0, 0);
    using O = OrdemListagem;
    const QList<std::pair<EscolhaListagem, QList<qint64>>> casos = {
        {{.ordem = O::Numérica, .númeroDe = 3, .númeroAté = 5}, {3, 4, 5}},
        {{.ordem = O::Numérica, .númeroDe = 3, .númeroAté = 5, .ascDesc = true}, {5, 4, 3}},
        // Reversing the name after the number (unique) reverses nothing.
        {{.ordem = O::Numérica, .númeroDe = 3, .númeroAté = 5, .subOrdemAlfabética = true,
          .ascDesc = true},
         {3, 4, 5}},
        {{.ordem = O::Alfabética}, {15, 13, 4, 3, 2, 7, 8, 1, 11, 12, 6, 9, 10, 5, 14}},
        // By name the secondary order is the last key: names ascending, numbers descending.
        {{.ordem = O::Alfabética, .ascDesc = true},
         {15, 13, 4, 3, 2, 7, 8, 11, 1, 12, 6, 9, 10, 5, 14}},
        {{.ordem = O::Alfabética, .subOrdemAlfabética = true, .ascDesc = true},
         {14, 5, 10, 9, 6, 12, 1, 11, 8, 7, 2, 3, 4, 13, 15}},
        {{.ordem = O::Alfabética, .nomeDe = u"B"_s, .nomeAté = u"C"_s}, {1, 11}},
        {{.ordem = O::Alfabética, .nomeDe = u"1"_s, .nomeAté = u"2"_s}, {13}},
        {{.ordem = O::Alfabética, .nomeDe = u"A"_s, .nomeAté = u"Z"_s},
         {4, 3, 2, 7, 8, 1, 11, 12, 6, 9, 10}},
        // No date and an empty date are one group, by name descending.
        {{.ordem = O::DataInscrição, .subOrdemAlfabética = true, .ascDesc = true},
         {10, 12, 2, 5, 3, 1, 11, 4, 9, 8, 7, 6, 14, 13, 15}},
        {{.ordem = O::CódigoPostal, .cPostal = 1}, {1, 4, 7, 10}},
        {{.ordem = O::Situação, .situação = 4, .subOrdemAlfabética = true}, {3, 7, 9, 5}},
        // The code of the chosen order selects; the others are not looked at.
        {{.ordem = O::TipoQuota, .situação = 3, .tipoQuota = 6}, {2, 5, 7, 10}},
    };
    for (const auto &[escolha, números] : casos) {
      QList<qint64> vistos;
      for (const SócioListado &s : LinhasListagem(Dados().bd, escolha))
        vistos << s.número;
      QCOMPARE(vistos, números);
    }
    QCOMPARE(LinhasListagem(Dados().bd, EscolhaListagem())[0].Células(),
             (QStringList{u"1"_s, u"Bruno Costa"_s, u"15-09-1996"_s, u"Rua das Flores 12"_s,
                          u"Porto"_s, u"4000-001 Porto"_s}));
  }

  void ouroEPoucosSocios() {
    const QList<std::tuple<TipoImpressão, int, QString>> casos = {
        {TipoImpressão::Detalhada, 110, u"listagem-detalhada"_s},
        {TipoImpressão::Normal, 75, u"listagem-normal"_s},
        {TipoImpressão::EndereçosPequenos, 41, u"etiquetas-pequenas"_s},
        {TipoImpressão::EndereçosGrandes, 21, u"etiquetas-grandes"_s},
    };
    for (const auto &[tipo, sócios, ouro] : casos) {
      GravadorImpressão g;
      ImprimirSócios(g, tipo, Listados(sócios), Colectividade);
      COMPARAR_COM_OURO(g, ouro);
    }

    // With nobody listed: one page with the closing lines, and no labels. A run that fills its
    // last sheet of labels exactly does not feed an empty one.
    GravadorImpressão lista, vazias, grandes, pequenas;
    ImprimirListagem(lista, {}, false, Colectividade);
    QVERIFY(lista.Procurar(u"Fim da Listagem de Sócios"_s));
    ImprimirEtiquetasPequenas(vazias, {});
    QVERIFY(vazias.textos.isEmpty());
    ImprimirEtiquetasGrandes(grandes, Listados(20));
    ImprimirEtiquetasPequenas(pequenas, Listados(40));
    for (const auto *g : {&lista, &vazias, &grandes, &pequenas}) {
      QVERIFY(g->Terminado());
      QCOMPARE(g->páginas, 1);
    }
  }
  // The worst cases: no text leaves the page or overlaps another; a list's title and page
  // text inside the header's frame; a label's texts inside its label (texts 390 twips in,
  // labels 2945 or 5890 apart, rows 1540 high).
  void paginasDeOuroDentroDasMolduras() {
    const QString colectividade =
        u"Associação Cultural, Recreativa e Desportiva dos Antigos Alunos da Escola Industrial "
        u"e Comercial de Vila Nova de Gaia"_s;
    for (const TipoImpressão tipo :
         {TipoImpressão::Detalhada, TipoImpressão::Normal, TipoImpressão::EndereçosPequenos,
          TipoImpressão::EndereçosGrandes}) {
      GravadorImpressão g;
      ImprimirSócios(g, tipo, Piores(), colectividade);
      QStringList fora = TextosQueSeSobrepõem(g);
      if (tipo == TipoImpressão::Detalhada || tipo == TipoImpressão::Normal) {
        const QRectF moldura = Moldura(g);
        QVERIFY(!moldura.isNull());
        for (const auto &t : g.textos)
          if (t.texto == u"Listagem de Sócios"_s || t.texto.startsWith(u"Página Nº"_s))
            fora << ForaDaMoldura(t, moldura);
      } else {
        const double passo = tipo == TipoImpressão::EndereçosPequenos ? 2945 : 5890;
        for (const auto &t : g.textos) {
          const double coluna = std::round((t.x - 390) / passo);
          const double fila = std::floor((t.y + 340 - 60) / 1540);
          QCOMPARE(t.x, 390 + coluna * passo);
          fora << ForaDaMoldura(t, QRectF(coluna * passo, fila * 1540 + 60, passo, 1540));
        }
      }
      fora.removeAll(QString());
      QVERIFY2(fora.isEmpty(), qPrintable(fora.join(u'\n')));
    }
  }

  // Past page 99 the page text is never cut and ends inside the frame; so does the text that
  // ends each page.
  void paginaCentesimaNaMoldura() {
    SócioListado ana;
    ana.número = 7;
    ana.nome = u"Ana"_s;
    const std::vector<SócioListado> muitos(size_t(70 * 100), ana);
    GravadorImpressão g;
    ImprimirListagem(g, muitos, false, u"Sociedade"_s);
    QVERIFY(g.páginas >= 100);
    const QRectF moldura = Moldura(g);
    QStringList fora;
    int página = 0;
    for (const auto &t : g.textos)
      if (t.texto.startsWith(u"Página Nº"_s)) {
        QCOMPARE(t.texto, u"Página Nº  "_s + QString::number(++página) + u' ');
        fora << ForaDaMoldura(t, moldura);
      } else if (t.texto == u"Continua na próxima página"_s) {
        // Right-aligned on the page's edge: its ink, not only its advance, stays on the page.
        fora << ForaDaMoldura(t, QRectF(0, t.y - 500, g.LarguraPágina(), 1000));
      }
    QCOMPARE(página, g.páginas);
    fora.removeAll(QString());
    QVERIFY2(fora.isEmpty(), qPrintable(fora.join(u'\n')));
  }
};

QTEST_MAIN(TestListagem)
#include "TestListagem.moc"
