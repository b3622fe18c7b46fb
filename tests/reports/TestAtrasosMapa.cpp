#include "Atrasos.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "MapaAnual.h"
#include "Molduras.h"
#include "Ouro.h"
#include "Referencias.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The members in arrears for a month and the yearly map of months paid, and their prints.
class TestAtrasosMapa : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  // Inscrição as given; a null QVariant stores NULL, as a file written elsewhere may hold.
  static void Sócio(int número, const QString &nome, const QVariant &inscrição, int tipo,
                    int situação = 1) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Inscrição\", "
                      u"\"TipoQuota\", \"Situação\") VALUES (?, ?, ?, ?, ?)"_s,
                      {número, nome, inscrição, tipo, situação}, u"teste"_s);
  }
  static void Chave(const QString &chave) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, 1000, 1)"_s, {chave}, u"teste"_s);
  }
  static void Quota(int número, int ano, int mês) { Chave(ChaveSócMês(número, ano, mês)); }
  // The lists read from the file, as text.
  static QString Atrasos(int ano, int mês, int tipo) {
    QStringList r;
    for (const auto &s : SóciosEmAtraso(Dados().bd, ano, mês, tipo))
      r << QString::number(s.número) + s.texto;
    return r.join(u'|');
  }
  static QString Mapa(int ano, int tipo) {
    QStringList r;
    for (const auto &l : LinhasMapa(Dados().bd, ano, tipo))
      r << QString::number(l.número) + l.nome + u' ' + l.marcas;
    return r.join(u'/');
  }
  static std::vector<SócioEmAtraso> Atrasados(int n) {
    std::vector<SócioEmAtraso> r;
    for (int i = 1; i <= n; ++i)
      r.push_back({i * 7, u" Sócio Número "_s + QString::number(i)});
    return r;
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // One file for both lists. 1 enrolled on 31 December 2003 and paid months of 2002, 2003 and
  // 2004; 2 enrolled on 1 January 2004; 3 paid December 2003 only, and holds keys that are not
  // months; 4 paid the months around December 2003; 5 and 6 have no enrolment date (empty,
  // NULL); 12 paid December and 120, whose key starts "000120", did not.
  void atrasosEMapa() {
    Sócio(1, u"Ana"_s, u"20031231"_s, 1);
    Sócio(2, u"Bruno"_s, u"20040101"_s, 1);
    Sócio(3, u"  Carla  Lima "_s, u"19990101"_s, 2, 4);
    Sócio(4, u"Dora"_s, u"19990101"_s, 1, 9);
    Sócio(5, u"Eva"_s, u""_s, 2);
    Sócio(6, u"Filipe"_s, QVariant(), 1);
    Sócio(12, u"Zé"_s, u"19950101"_s, 2);
    Sócio(120, u"Rui"_s, u"19950101"_s, 2);
    for (const auto &[ano, mês] : {std::pair{2002, 5}, {2003, 1}, {2004, 1}})
      Quota(1, ano, mês);
    Quota(3, 2003, 12);
    // Keys that fall inside the year's range but name no month.
    for (const auto &chave : {u"00000320031"_s, u"00000320030:"_s, u"00000320031x"_s})
      Chave(chave);
    for (const auto &[ano, mês] : {std::pair{2003, 11}, {2004, 1}, {2002, 12}, {2004, 12}})
      Quota(4, ano, mês);
    Quota(5, 2003, 6);
    Quota(12, 2003, 12);
    Quota(120, 2003, 6);

    QCOMPARE(Atrasos(2003, 12, 0), u"1 Ana|4 Dora|5 Eva|6 Filipe|120 Rui"_s);
    QCOMPARE(Atrasos(2004, 1, 0), u"2 Bruno|3 Carla  Lima|5 Eva|6 Filipe|12 Zé|120 Rui"_s);
    QCOMPARE(Mapa(2003, 0), u"1 Ana $-----------/3 Carla  Lima -----------$/4 Dora ----------$-/"
                            u"5 Eva -----$------/6 Filipe ------------/12 Zé -----------$/"
                            u"120 Rui -----$------"_s);
    QCOMPARE(
        Mapa(2004, 1),
        u"1 Ana $-----------/2 Bruno ------------/4 Dora $----------$/6 Filipe ------------"_s);
  }

  // The closing line goes on a page of its own when the rows fill the last. Both prints over two
  // pages; the map's member 2 has a name too long for its column: it is printed cut.
  void ouroEPaginas() {
    // Entries, pages.
    for (const auto &[quantos, páginas] : {std::pair{0, 1}, {46, 2}, {150, 4}}) {
      GravadorImpressão folhas;
      ImprimirAtrasos(folhas, u"Março"_s, u"2003"_s, u"[Todos]"_s, Atrasados(quantos));
      QCOMPARE(folhas.páginas, páginas);
      QCOMPARE(folhas.textos.last().página, páginas);
    }
    GravadorImpressão atrasos, mapa;
    for (const auto &[linha, texto] : {std::pair{u'1', u"Sociedade Recreativa Exemplo"_s},
                                       {u'2', u"Rua Direita, 10"_s},
                                       {u'3', u"Vila Nova"_s},
                                       {u'5', u"210 000 000"_s}}) // telephone
      GravarLinhaTabelas(Dados().bd, linha, texto);
    ImprimirAtrasos(atrasos, u"Março"_s, u"2003"_s, u"Efectivo"_s, Atrasados(60));
    COMPARAR_COM_OURO(atrasos, u"atrasos"_s);

    Dados().bd.Correr(u"DELETE FROM \"Tabelas\" WHERE \"Tipo\" = '5'"_s, {}, u"teste"_s);
    GravarLinhaTabelas(Dados().bd, u'6', u"210 000 001"_s); // the fax, without the telephone
    std::vector<LinhaMapa> linhas;
    for (int i = 1; i <= 55; ++i)
      linhas.push_back({i,
                        i == 2 ? u" MAXIMILIANO WENCESLAU DOS SANTOS GUIMARÃES PEREIRA"_s
                               : u" Sócio Número "_s + QString::number(i),
                        QString(i % 13, u'$').leftJustified(12, u'-')});
    ImprimirMapa(mapa, u"2003"_s, u"Efectivo"_s, linhas);
    QVERIFY(!mapa.Procurar(linhas[1].nome));
    COMPARAR_COM_OURO(mapa, u"mapa"_s);
  }

  // The worst cases on an A4 page and, for the arrears, on an A5 one (136 mm printable): an
  // association's name too long for the room beside the title, names of 45 capitals, a long
  // quota type. Every text stays on the printable area (where the rules end) and off every other
  // text: the title and the page text beside the association's block, the names before the edge.
  void paginasDeOuroDentroDaPagina() {
    for (const auto &[linha, texto] :
         {std::pair{u'1', u"Associação Cultural, Recreativa e Desportiva dos Antigos Alunos da "
                          u"Escola Industrial e Comercial de Vila Nova de Gaia"_s},
          {u'2', u"Rua Direita, 10"_s},
          {u'5', u"210 000 000"_s}})
      GravarLinhaTabelas(Dados().bd, linha, texto);
    const QString nomeLongo = u" WALDEMAR MAGALHÃES MOURÃO DE MACEDO WANDERLEY"_s;
    std::vector<SócioEmAtraso> atrasados = Atrasados(60);
    std::vector<LinhaMapa> linhas;
    for (int i = 0; i < 60; ++i) {
      if (i % 3 == 0)
        atrasados[size_t(i)] = {999990 + i % 10, nomeLongo};
      linhas.push_back({i + 1, i % 3 ? u" Sócio"_s : nomeLongo, u"$$$$$$------"_s});
    }
    const QString tipo = u"Sócio Honorário Fundador (isento de quota até deliberação)"_s;
    QStringList problemas;
    const auto ver = [&](const QString &caso, const GravadorImpressão &g) {
      QVERIFY(g.páginas > 1);
      PdfParaVer(g, caso);
      for (const auto &t : g.traços)
        QVERIFY(t.linha.x1() >= 0 && t.linha.x2() <= g.LarguraPágina());
      for (const QString &p : TextosQueSeSobrepõem(g))
        problemas << caso + u": "_s + p;
    };
    for (const double largura : {10772.0, 11226.0, 7710.0}) {
      GravadorImpressão g(largura);
      ImprimirAtrasos(g, u"Dezembro"_s, u"2025"_s, tipo, atrasados);
      ver(u"atrasos em "_s + QString::number(largura), g);
      QVERIFY(g.Procurar(u"Quotizações em Atraso"_s) && g.Procurar(u"Página 2"_s));
    }
    for (const double largura : {10772.0, 11226.0}) {
      GravadorImpressão g(largura);
      ImprimirMapa(g, u"2025"_s, tipo, linhas);
      ver(u"mapa em "_s + QString::number(largura), g);
    }
    for (const QString &p : std::as_const(problemas))
      qWarning("%s", qPrintable(p));
    QVERIFY2(problemas.isEmpty(), qPrintable(QString::number(problemas.size()) + u" fora"_s));
  }
};

QTEST_MAIN(TestAtrasosMapa)
#include "TestAtrasosMapa.moc"
