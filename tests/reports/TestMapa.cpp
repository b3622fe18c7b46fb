#include "Dados.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "MapaAnual.h"
#include "Ouro.h"
#include "Referencias.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The yearly map of months paid, and its printed report.
class TestMapa : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  static void Sócio(int número, const QString &nome, const QVariant &inscrição, int tipo) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Inscrição\", "
                      u"\"TipoQuota\") VALUES (?, ?, ?, ?)"_s,
                      {número, nome, inscrição, tipo}, u"teste"_s);
  }
  static void Chave(const QString &chave) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, 1000, 1)"_s, {chave}, u"teste"_s);
  }
  static void Quota(int número, int ano, int mês) { Chave(ChaveSócMês(número, ano, mês)); }
  static QStringList Textos(const std::vector<LinhaMapa> &linhas) {
    QStringList r;
    for (const auto &l : linhas)
      r << QString::number(l.número) + u'|' + l.nome + u'|' + l.marcas;
    return r;
  }
  // Members 1, 2, ... with one month more paid each, and a name too long for its column.
  static std::vector<LinhaMapa> Vários(int n) {
    std::vector<LinhaMapa> r;
    for (int i = 1; i <= n; ++i) {
      QString marcas(12, u'-');
      for (int m = 0; m < i % 13; ++m)
        marcas[m] = u'$';
      r.push_back({i,
                   i == 2 ? u" MAXIMILIANO WENCESLAU DOS SANTOS GUIMARÃES PEREIRA"_s
                          : u" Sócio Número "_s + QString::number(i),
                   marcas});
    }
    return r;
  }
  static void Colectividade() {
    GravarLinhaTabelas(Dados().bd, u'1', u"Sociedade Recreativa Exemplo"_s);
    GravarLinhaTabelas(Dados().bd, u'2', u"Rua Direita, 10"_s);
    GravarLinhaTabelas(Dados().bd, u'3', u"Vila Nova"_s);
    GravarLinhaTabelas(Dados().bd, u'6', u"210 000 001"_s);
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  void linhasDoMapa_data() {
    QTest::addColumn<int>("ano");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("esperadas");
    // 1 enrolled on 31 December 2003 and paid months of 2002, 2003 and 2004; 2 enrolled on
    // 1 January 2004; 3 paid nothing but holds keys that are not months; 5 has no enrolment
    // date; 12 and 120 (keys "000012", "000120") paid different months.
    QTest::newRow("2003, todos") << 2003 << 0
                                 << QStringList{u"1| Ana|$----------$"_s,
                                                u"3| Carla  Lima|------------"_s,
                                                u"5| Eva|-----$------"_s, u"12| Zé|--$---------"_s,
                                                u"120| Rui|-----$------"_s};
    QTest::newRow("2003, tipo 2") << 2003 << 2
                                  << QStringList{u"3| Carla  Lima|------------"_s,
                                                 u"12| Zé|--$---------"_s,
                                                 u"120| Rui|-----$------"_s};
    QTest::newRow("2004, todos") << 2004 << 0 << QStringList{u"1| Ana|$-----------"_s,
                                                             u"2| Bruno|------------"_s,
                                                             u"3| Carla  Lima|------------"_s,
                                                             u"5| Eva|------------"_s,
                                                             u"12| Zé|------------"_s,
                                                             u"120| Rui|------------"_s};
    QTest::newRow("2002, tipo 1") << 2002 << 1 << QStringList{u"5| Eva|------------"_s};
    QTest::newRow("tipo sem sócios") << 2003 << 7 << QStringList{};
  }
  void linhasDoMapa() {
    Sócio(1, u"Ana"_s, u"20031231"_s, 1);
    Sócio(2, u"Bruno"_s, u"20040101"_s, 1);
    Sócio(3, u" Carla  Lima  "_s, u"19990101"_s, 2);
    Sócio(5, u"Eva"_s, QVariant(), 1);
    Sócio(12, u"Zé"_s, u"19950101"_s, 2);
    Sócio(120, u"Rui"_s, u"19950101"_s, 2);
    for (const auto &[ano, mês] : {std::pair{2002, 5}, {2003, 1}, {2003, 12}, {2004, 1}})
      Quota(1, ano, mês);
    // Keys that fall inside the year's range but name no month.
    for (const auto &chave : {u"00000320031"_s, u"00000320030:"_s, u"00000320031x"_s})
      Chave(chave);
    Quota(5, 2003, 6);
    Quota(12, 2003, 3);
    Quota(120, 2003, 6);

    QFETCH(int, ano);
    QFETCH(int, tipo);
    QFETCH(QStringList, esperadas);
    QCOMPARE(Textos(LinhasMapa(Dados().bd, ano, tipo)), esperadas);
  }

  // Each mark is centred under its month's letter on every page; a name too wide is cut to
  // the longest start that fits 5400 twips; every page has its headings; the closing line
  // counts the members.
  void paginasMarcasENomes() {
    Colectividade();
    const auto linhas = Vários(130);
    GravadorImpressão p;
    ImprimirMapa(p, u"2003"_s, u"[Todos]"_s, linhas);
    QCOMPARE(p.páginas, 3);

    const auto *cabeça = p.Procurar(u"    Número"_s);
    QVERIFY(cabeça);
    const double xNúmero = cabeça->x + MedirTexto(cabeça->fonte, cabeça->texto);
    const auto centro = [](const GravadorImpressão::Texto &t) {
      return t.x + MedirTexto(t.fonte, t.texto) / 2;
    };
    QList<double> centros; // of the month letters, page 1
    for (const auto &t : p.textos)
      if (t.página == 1 && t.fonte.negrito && t.texto.size() == 1)
        centros << centro(t);
    QCOMPARE(centros.size(), 12);

    int vistas = 0;
    for (qsizetype i = 0; i < p.textos.size(); ++i) {
      const auto &número = p.textos[i];
      if (número.fonte.negrito || número.texto.size() < 3 || !número.texto.endsWith(u"  "_s) ||
          número.texto.trimmed().toInt() == 0)
        continue;
      const LinhaMapa &l = linhas[size_t(número.texto.trimmed().toInt() - 1)];
      ++vistas;
      QVERIFY(std::abs(número.x + MedirTexto(número.fonte, número.texto.trimmed()) - xNúmero) <
              0.01);
      const auto &nome = p.textos[i + 1];
      QVERIFY(l.nome.startsWith(nome.texto));
      QVERIFY(MedirTexto(nome.fonte, nome.texto) <= 5400);
      if (nome.texto != l.nome)
        QVERIFY(MedirTexto(nome.fonte, l.nome.left(nome.texto.size() + 1)) > 5400);
      for (int m = 0; m < 12; ++m) {
        const auto &marca = p.textos[i + 2 + m];
        QCOMPARE(marca.texto, l.marcas.sliced(m, 1));
        QVERIFY(std::abs(centro(marca) - centros[m]) < 0.01);
        QCOMPARE(marca.y, número.y);
      }
    }
    QCOMPARE(vistas, 130);
    QVERIFY(p.Procurar(u" MAXIMILIANO WENCESLAU DOS SANTOS GUIMARÃES PEREIRA"_s) == nullptr);

    for (int pág = 2; pág <= 3; ++pág) {
      QStringList daPágina;
      for (const auto &t : p.textos)
        if (t.página == pág)
          daPágina << t.texto;
      QVERIFY(daPágina.contains(u"Mapa de Quotas"_s));
      QVERIFY(daPágina.contains(u"Página "_s + QString::number(pág)));
      QVERIFY(daPágina.contains(u"    Número   Nome"_s));
      QCOMPARE(daPágina.count(u"J"_s), 3);
    }
    QCOMPARE(p.textos.last().texto, u"  130 sócio(s) listado(s)."_s);
    QCOMPARE(p.textos.last().x, xNúmero);
  }

  void ouro() {
    Colectividade();
    GravadorImpressão p;
    ImprimirMapa(p, u"2003"_s, u"Efectivo"_s, Vários(55));
    COMPARAR_COM_OURO(p, u"mapa"_s);
  }
};

QTEST_MAIN(TestMapa)
#include "TestMapa.moc"
