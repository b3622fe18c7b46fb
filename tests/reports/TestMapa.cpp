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
  // The association's header lines, then the map of `quantos` members.
  static void Imprimir(GravadorImpressão &p, int quantos) {
    for (const auto &[linha, texto] : {std::pair{u'1', u"Sociedade Recreativa Exemplo"_s},
                                       {u'2', u"Rua Direita, 10"_s},
                                       {u'3', u"Vila Nova"_s},
                                       {u'6', u"210 000 001"_s}})
      GravarLinhaTabelas(Dados().bd, linha, texto);
    ImprimirMapa(p, u"2003"_s, u"Efectivo"_s, Vários(quantos));
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
    QStringList textos;
    for (const auto &l : LinhasMapa(Dados().bd, ano, tipo))
      textos << QString::number(l.número) + u'|' + l.nome + u'|' + l.marcas;
    QCOMPARE(textos, esperadas);
  }

  // No name is printed wider than its column; every member gets a line; the closing line
  // counts them. Positions are in the golden dump.
  void paginasENomes() {
    GravadorImpressão p;
    Imprimir(p, 130);
    QCOMPARE(p.páginas, 3);
    QVERIFY(p.Procurar(u" MAXIMILIANO WENCESLAU DOS SANTOS GUIMARÃES PEREIRA"_s) == nullptr);
    int nomes = 0;
    for (const auto &t : p.textos)
      if (t.texto.startsWith(u" Sócio Número "_s) || t.texto.startsWith(u" MAXIMILIANO"_s)) {
        ++nomes;
        QVERIFY(MedirTexto(t.fonte, t.texto) <= 5400);
      }
    QCOMPARE(nomes, 130);
    QCOMPARE(p.textos.last().texto, u"  130 sócio(s) listado(s)."_s);
    QCOMPARE(p.textos.last().página, 3);
  }

  void ouro() {
    GravadorImpressão p;
    Imprimir(p, 55);
    COMPARAR_COM_OURO(p, u"mapa"_s);
  }
};

QTEST_MAIN(TestMapa)
#include "TestMapa.moc"
