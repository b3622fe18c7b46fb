#include "Atrasos.h"
#include "CartasAviso.h"
#include "Dados.h"
#include "Dividas.h"
#include "FicheiroTeste.h"
#include "Formatacao.h"
#include "Guardas.h"
#include "Impressao.h"
#include "ImprimirDeclaracao.h"
#include "LerFicheiro.h"
#include "ListaQuotas.h"
#include "MapaAnual.h"
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
#include <random>

using namespace Qt::StringLiterals;

// The reports read from the file: members in arrears, the yearly map, who owes which months of
// a range, the members in good standing, the reminder letters, the dues declaration, the
// year's summary; their prints, and the summary's window.
class TestRelatorios : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  qint64 normal = 0, reduzida = 0;

  // A null `inscrição` stores NULL, as a file written elsewhere may hold.
  static void Sócio(int número, const QString &nome, const QVariant &inscrição, qint64 tipo,
                    int situação = 1, qint64 quota = 0, const QString &rua = u"Rua "_s) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Inscrição\", "
                      u"\"TipoQuota\", \"Situação\", \"ValQuotaEuro\", \"Rua\", "
                      u"\"Localidade\", \"CPostal\") VALUES (?, ?, ?, ?, ?, ?, ?, ' ', 0)"_s,
                      {número, nome, inscrição, tipo, situação, quota, rua}, u"teste"_s);
  }
  static void Chave(const QString &chave, const QVariant &valor = 1000) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, 1)"_s, {chave, valor},
                      u"teste"_s);
  }
  static void Quota(int número, int ano, int mês, const QVariant &valor = 1000) {
    Chave(ChaveSócMês(número, ano, mês), valor);
  }
  // A period of the dues entry list (a month, the year, a quarter, a half), stored as the
  // member screen stores it: one row per month it covers.
  static void PagarPeríodo(int número, int ano, int item) {
    const Período p = PeríodoDoItem(item);
    for (int m = p.primeiro; m <= p.último; ++m)
      Quota(número, ano, m);
  }

  // Euros in ten-thousandths. 1 paid the whole of 2025; 2 enrolled on 15 April 2025, paid May
  // and the first quarter of 2026; 3 has an empty enrolment date and paid the second half of
  // 2025; 4 has none (NULL), paid nothing, in situation 2; 5 paid every month; 6 and 7
  // enrolled on 1 April 2026, and 7 paid April; 12 paid January to November 2025 and 120,
  // whose keys start "000120", December 2025 only.
  static void FicheiroPequeno() {
    BaseDados::Transacção t(Dados().bd);
    Sócio(1, u"Ana"_s, u"20100101"_s, 1, 1, 125000);
    Sócio(2, u"Bruno"_s, u"20250415"_s, 1, 1, 100000);
    Sócio(3, u" Carla "_s, u""_s, 2, 1, 50000);
    Sócio(4, u"Álvaro"_s, QVariant(), 1, 2, 125000);
    Sócio(5, u"Eva"_s, u"20000101"_s, 1, 1, 125000);
    Sócio(6, u"Filipe"_s, u"20260401"_s, 1, 1, 100000);
    Sócio(7, u"Gil"_s, u"20260401"_s, 1, 1, 100000);
    Sócio(12, u"Zé"_s, u"19950101"_s, 2, 1, 112500);
    Sócio(120, u"Rui"_s, u"19950101"_s, 2, 1, 100000);
    PagarPeríodo(1, 2025, 12);
    Quota(2, 2025, 5);
    PagarPeríodo(2, 2026, 13);
    PagarPeríodo(3, 2025, 18);
    for (int ano : {2025, 2026})
      PagarPeríodo(5, ano, 12);
    for (int m = 1; m <= 11; ++m)
      Quota(12, 2025, m);
    Quota(120, 2025, 12);
    Quota(7, 2026, 4);
    t.Confirmar();
  }

  // For the year's summary: 1 pays every month of 2025 (and one of 2024); 2 enrols on 15 March
  // 2025 and paid January before that, and March and April; 3 has no enrolment date (NULL) and
  // a June row without an amount; 4 has an empty date and pays nothing; 5 enrols on 31
  // December; 6 in 2026; a row of a number no member holds. 3 and 4 pay the reduced quota.
  void FicheiroDoResumo() {
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    reduzida = FicheiroTeste::Referência(u"T"_s, u"Reduzida"_s);
    RecarregarListas();
    for (const auto &[n, inscrição, tipo] : {std::tuple{1, QVariant(u"20000101"_s), normal},
                                             {2, QVariant(u"20250315"_s), normal},
                                             {3, QVariant(), reduzida},
                                             {4, QVariant(u""_s), reduzida},
                                             {5, QVariant(u"20251231"_s), normal},
                                             {6, QVariant(u"20260101"_s), normal}})
      Sócio(n, u"Sócio "_s + QString::number(n), inscrição, tipo);
    for (int m = 1; m <= 12; ++m)
      Quota(1, 2025, m, 100000);
    for (const auto &[n, ano, mês, valor] : {std::tuple{1, 2024, 12, QVariant(100000)},
                                             {2, 2025, 1, QVariant(50000)},
                                             {2, 2025, 3, QVariant(100000)},
                                             {2, 2025, 4, QVariant(100000)},
                                             {3, 2025, 6, QVariant()},
                                             {99, 2025, 1, QVariant(70000)}})
      Quota(n, ano, mês, valor);
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
  static QString Dívidas(const FiltroDívidas &f, OrdemDívidas ordem) {
    QStringList r;
    for (const SócioEmDívida &s : SóciosEmDívida(Dados().bd, f, ordem))
      r << QString::number(s.número) + u':' + MesesCompactos(s.meses) + u':' +
               QString::number(s.meses.size()) + u':' + s.valor.Formatar();
    return r.join(u'|');
  }
  static QString Números(const QString &lista) {
    QStringList r;
    for (const QString &s : lista.split(u'|', Qt::SkipEmptyParts))
      r << s.section(u':', 0, 0);
    return r.join(u'|');
  }

  static std::vector<SócioEmAtraso> Atrasados(int n) {
    std::vector<SócioEmAtraso> r;
    for (int i = 1; i <= n; ++i)
      r.push_back({i * 7, u" Sócio Número "_s + QString::number(i)});
    return r;
  }
  static SócioEmDívida Devedor(int n, int meses, const QString &nome = {}) {
    SócioEmDívida s;
    s.número = n;
    s.nome = nome.isEmpty() ? u"Sócio Número "_s + QString::number(n) : nome;
    for (int m = 0; m < meses; ++m)
      s.meses.push_back(ÍndiceMês(2025, 1) + m + (m >= 3 ? 1 : 0) + (m >= 9 ? 2 : 0));
    s.quota = Moeda::DeCêntimos(1250);
    s.valor = Moeda::DeCêntimos(1250 * meses);
    s.rua = u"Rua Direita, 10"_s;
    s.localidade = u"Vila Nova"_s;
    s.códigoPostal = u"4400-123 Vila Nova de Gaia"_s;
    return s;
  }
  static void Colectividade(const QString &rua = u"Rua da Sede, 1"_s,
                            const QString &nome = u"Sociedade Recreativa Exemplo"_s) {
    for (const auto &[linha, texto] : {std::pair{u'1', nome},
                                       {u'2', rua},
                                       {u'3', u"Vila Nova"_s},
                                       {u'5', u"210 000 000"_s}}) // telephone
      GravarLinhaTabelas(Dados().bd, linha, texto);
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // 1 enrolled on 31 December 2003 and paid months of 2002, 2003 and 2004; 2 enrolled on
  // 1 January 2004; 3 paid December 2003 only, and holds keys that are not months; 4 paid the
  // months around December 2003; 5 and 6 have no enrolment date (empty, NULL); 12 paid
  // December and 120, whose key starts "000120", did not.
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

  // The arrears' closing line goes on a page of its own when the rows fill the last. Both
  // prints over two pages; the map's member 2 has a name too long for its column: printed cut.
  void ouroDosAtrasosEDoMapa() {
    for (const auto &[quantos, páginas] : {std::pair{0, 1}, {46, 2}, {150, 4}}) {
      GravadorImpressão folhas;
      ImprimirAtrasos(folhas, u"Março"_s, u"2003"_s, u"[Todos]"_s, Atrasados(quantos));
      QCOMPARE(folhas.páginas, páginas);
      QCOMPARE(folhas.textos.last().página, páginas);
    }
    GravadorImpressão atrasos, mapa;
    Colectividade(u"Rua Direita, 10"_s);
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

  // The worst cases over several pages on the ordinary sheet, a wider one and an A5 one: names
  // of 45 capitals, a member's months on several lines, a long quota type, for the arrears and
  // the map an association's name too long for the room beside the title; the summary with
  // nothing received, on one page. Nothing leaves the
  // printable area or runs into another text; the debts' lists at the ordinary width are golden.
  void dentroDaPagina_data() {
    QTest::addColumn<QString>("lista");
    QTest::addColumn<double>("largura");
    for (const QString &lista : {u"dividas"_s, u"emdia"_s, u"atrasos"_s, u"mapa"_s, u"resumo"_s})
      for (const double largura : {10772.0, 11226.0, 7710.0})
        if (lista != u"mapa"_s || largura != 7710.0)
          QTest::addRow("%s %g", qPrintable(lista), largura) << lista << largura;
  }
  void dentroDaPagina() {
    QFETCH(QString, lista);
    QFETCH(double, largura);
    const QString tipo = u"Sócio Honorário Fundador (isento de quota até deliberação)"_s;
    const QString nomeLongo = u"WALDEMAR MAGALHÃES MOURÃO DE MACEDO WANDERLEY"_s;
    GravadorImpressão g(largura);
    QString fim;
    if (lista == u"dividas"_s) {
      Colectividade();
      std::vector<SócioEmDívida> devedores;
      for (int i = 1; i <= 45; ++i)
        devedores.push_back(
            Devedor(i * 7, i % 13 + 1,
                    i == 2 ? u"MAXIMILIANO WENCESLAU DOS SANTOS GUIMARÃES PEREIRA"_s : QString()));
      for (int m = 0; m < 40; m += 2) // every other month of years: pieces on several lines
        devedores[4].meses.push_back(ÍndiceMês(2027, 1) + m);
      ImprimirDívidas(
          g, {u"Janeiro de 2025 a Março de 2026"_s, u"[Todos]"_s, u"[Todas]"_s, u"Número"_s},
          devedores);
      fim = u"45 sócio(s) com quotas em dívida."_s;
    } else if (lista == u"emdia"_s) {
      Colectividade();
      std::vector<SócioEmDia> emDia;
      for (int i = 1; i <= 40; ++i)
        emDia.push_back({i * 3, i == 5 ? nomeLongo : u"Sócio Número "_s + QString::number(i)});
      ImprimirEmDia(g, u"31-03-2026"_s, u"Janeiro de 2026"_s, emDia);
      fim = u"  40 sócio(s) com as quotas em dia."_s;
    } else if (lista != u"resumo"_s) {
      Colectividade(u"Rua Direita, 10"_s,
                    u"Associação Cultural, Recreativa e Desportiva dos Antigos Alunos da "
                    u"Escola Industrial e Comercial de Vila Nova de Gaia"_s);
      std::vector<SócioEmAtraso> atrasados = Atrasados(60);
      std::vector<LinhaMapa> linhas;
      for (int i = 0; i < 60; ++i) {
        if (i % 3 == 0)
          atrasados[size_t(i)] = {999990 + i % 10, u' ' + nomeLongo};
        linhas.push_back({i + 1, i % 3 ? u" Sócio"_s : u' ' + nomeLongo, u"$$$$$$------"_s});
      }
      if (lista == u"atrasos"_s)
        ImprimirAtrasos(g, u"Dezembro"_s, u"2025"_s, tipo, atrasados);
      else
        ImprimirMapa(g, u"2025"_s, tipo, linhas);
      fim = lista == u"atrasos"_s ? u"Quotizações em Atraso"_s : u"Mapa de Quotas"_s;
    } else { // the summary with nothing received: one page
      ImprimirResumo(g, u"2025"_s, tipo, ResumoDoAno{});
      fim = u"Total do ano"_s;
    }
    PdfParaVer(g, lista + u' ' + QString::number(largura));
    QCOMPARE(TextosQueSeSobrepõem(g), QStringList());
    for (const auto &t : g.traços)
      QVERIFY(t.linha.x1() >= 0 && t.linha.x2() <= largura && t.linha.y2() <= g.AlturaPágina());
    QVERIFY(g.Procurar(fim));
    if (lista == u"resumo"_s)
      QCOMPARE(g.páginas, 1);
    else
      QVERIFY(g.páginas >= 2 && g.Procurar(u"Página 2"_s));
    if (largura == 10772.0 && (lista == u"dividas"_s || lista == u"emdia"_s))
      COMPARAR_COM_OURO(g, lista);
  }

  void mesesCompactos_data() {
    QTest::addColumn<QList<int>>("meses");
    QTest::addColumn<QString>("texto");
    const int jan25 = ÍndiceMês(2025, 1);
    QTest::newRow("nenhum") << QList<int>{} << u""_s;
    QTest::newRow("um") << QList<int>{jan25 + 4} << u"Mai 2025"_s;
    QTest::newRow("dois seguidos") << QList<int>{jan25, jan25 + 1} << u"Jan–Fev 2025"_s;
    QTest::newRow("três e um") << QList<int>{jan25, jan25 + 1, jan25 + 2, jan25 + 4}
                               << u"Jan–Mar 2025, Mai 2025"_s;
    QTest::newRow("fim do ano") << QList<int>{jan25 + 10, jan25 + 11, jan25 + 12, jan25 + 13}
                                << u"Nov 2025–Fev 2026"_s;
    QTest::newRow("dezembro e janeiro soltos")
        << QList<int>{jan25 - 1, jan25 + 1} << u"Dez 2024, Fev 2025"_s;
  }
  void mesesCompactos() {
    QFETCH(QList<int>, meses);
    QFETCH(QString, texto);
    QCOMPARE(MesesCompactos(std::vector<int>(meses.begin(), meses.end())), texto);
  }

  void dividas_data() {
    QTest::addColumn<int>("de");
    QTest::addColumn<int>("ate");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("situacao");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QString>("esperado");
    const int jan25 = ÍndiceMês(2025, 1), mar26 = ÍndiceMês(2026, 3), abr26 = ÍndiceMês(2026, 4);
    const QString todos =
        u"1:Jan–Mar 2026:3:37,50|2:Abr 2025, Jun–Dez 2025:8:80,00|"
        u"3:Jan–Jun 2025, Jan–Mar 2026:9:45,00|4:Jan 2025–Mar 2026:15:187,50|"
        u"12:Dez 2025–Mar 2026:4:45,00|120:Jan–Nov 2025, Jan–Mar 2026:14:140,00"_s;
    QTest::newRow("todos, por número") << jan25 << mar26 << 0 << 0 << 0 << todos;
    QTest::newRow("um tipo")
        << jan25 << mar26 << 2 << 0 << 0
        << u"3:Jan–Jun 2025, Jan–Mar 2026:9:45,00|12:Dez 2025–Mar 2026:4:45,00|"
           u"120:Jan–Nov 2025, Jan–Mar 2026:14:140,00"_s;
    QTest::newRow("uma situação") << jan25 << mar26 << 0 << 2 << 0
                                  << u"4:Jan 2025–Mar 2026:15:187,50"_s;
    QTest::newRow("tipo e situação sem ninguém") << jan25 << mar26 << 2 << 2 << 0 << u""_s;
    // The orders give the numbers only; 3 and 12 owe the same: in number order.
    QTest::newRow("por nome") << jan25 << mar26 << 0 << 0 << 1 << u"4|1|2|3|120|12"_s;
    QTest::newRow("por valor") << jan25 << mar26 << 0 << 0 << 2 << u"4|120|2|3|12|1"_s;
    // Member 6, enrolled on the 1st of April, owes April; member 2's first quarter paid.
    QTest::newRow("o mês da inscrição") << abr26 << abr26 << 0 << 0 << 0
                                        << u"1:Abr 2026:1:12,50|2:Abr 2026:1:10,00|"
                                           u"3:Abr 2026:1:5,00|4:Abr 2026:1:12,50|"
                                           u"6:Abr 2026:1:10,00|12:Abr 2026:1:11,25|"
                                           u"120:Abr 2026:1:10,00"_s;
    QTest::newRow("um ano pago inteiro")
        << ÍndiceMês(2025, 7) << ÍndiceMês(2025, 12) << 1 << 1 << 0 << u"2:Jul–Dez 2025:6:60,00"_s;
    QTest::newRow("intervalo vazio") << mar26 << jan25 << 0 << 0 << 0 << u""_s;
  }
  void dividas() {
    QFETCH(int, de);
    QFETCH(int, ate);
    QFETCH(int, tipo);
    QFETCH(int, situacao);
    QFETCH(int, ordem);
    QFETCH(QString, esperado);
    FicheiroPequeno();
    const QString lista = Dívidas({de, ate, tipo, situacao}, OrdemDívidas(ordem));
    QCOMPARE(esperado.contains(u':') ? lista : Números(lista), esperado);
  }

  // One month's range lists the very members the arrears report lists for that month; the
  // totals of a longer one.
  void umMesComoOsAtrasosETotais() {
    FicheiroPequeno();
    for (int i = ÍndiceMês(2024, 12); i <= ÍndiceMês(2026, 5); ++i)
      for (int tipo : {0, 1, 2}) {
        QStringList atrasos;
        for (const auto &s : SóciosEmAtraso(Dados().bd, AnoDoÍndice(i), MêsDoÍndice(i), tipo))
          atrasos << QString::number(s.número);
        QCOMPARE(Números(Dívidas({i, i, tipo, 0}, OrdemDívidas::Número)), atrasos.join(u'|'));
      }
    const auto l = SóciosEmDívida(Dados().bd, {ÍndiceMês(2025, 1), ÍndiceMês(2026, 3), 0, 0},
                                  OrdemDívidas::Valor);
    QCOMPARE(SomarDívidas(l), (TotaisDívidas{6, 53, Moeda::DeCêntimos(53500)}));
  }

  void emDia_data() {
    QTest::addColumn<QDate>("data");
    QTest::addColumn<int>("desde");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("primeiro trimestre") << QDate(2026, 3, 31) << ÍndiceMês(2026, 1) << u"2|5"_s;
    QTest::newRow("o ano pago inteiro") << QDate(2025, 12, 31) << ÍndiceMês(2025, 1) << u"1|5"_s;
    // December counts as soon as the date is in it: member 12 owes it.
    QTest::newRow("a meio do mês") << QDate(2025, 12, 15) << ÍndiceMês(2025, 7) << u"1|3|5"_s;
    // Members 6 and 7, enrolled on 1 April 2026, owe April from that day on (7 paid it); the
    // day before, they are not yet members.
    QTest::newRow("no dia da inscrição") << QDate(2026, 4, 1) << ÍndiceMês(2026, 4) << u"5|7"_s;
    QTest::newRow("um mês antes") << QDate(2026, 3, 31) << ÍndiceMês(2026, 3) << u"2|5"_s;
    // No month to owe: every member enrolled by the date.
    QTest::newRow("primeiro mês depois da data")
        << QDate(2026, 3, 31) << ÍndiceMês(2026, 4) << u"1|2|3|4|5|12|120"_s;
  }
  void emDia() {
    QFETCH(QDate, data);
    QFETCH(int, desde);
    QFETCH(QString, esperado);
    FicheiroPequeno();
    QStringList r;
    for (const SócioEmDia &s : SóciosEmDia(Dados().bd, data, desde))
      r << QString::number(s.número);
    QCOMPARE(r.join(u'|'), esperado);
  }

  // 5,000 members with random enrolment dates (some empty, some NULL), quotas and payments:
  // the members, months and euros owed over two years, against an independent count by SQL
  // that counts each member's months enrolled in the range and takes away its dues rows.
  void cincoMilSocios() {
    if (FicheiroTeste::NoServidor)
      QSKIP("a leitura independente está escrita no SQL do ficheiro");
    std::mt19937 g(20261207u);
    {
      BaseDados::Transacção t(Dados().bd);
      for (int n = 1; n <= 5000; ++n) {
        const unsigned r = g() % 20;
        const QVariant inscrição =
            r == 0   ? QVariant()
            : r == 1 ? QVariant(u""_s)
                     : QVariant(QDate(2022, 1, 1).addDays(int(g() % 1800)).toString(u"yyyyMMdd"_s));
        Sócio(n, u"Sócio "_s + QString::number(n), inscrição, int(g() % 3) + 1, int(g() % 2) + 1,
              qint64(g() % 5 + 1) * 25000);
        for (int m = ÍndiceMês(2023, 6); m <= ÍndiceMês(2026, 6); ++m)
          if (g() % 10 < 8)
            Quota(n, AnoDoÍndice(m), MêsDoÍndice(m));
      }
      t.Confirmar();
    }
    const int de = ÍndiceMês(2024, 1), até = ÍndiceMês(2025, 12);
    for (int tipo : {0, 2}) {
      const TotaisDívidas t =
          SomarDívidas(SóciosEmDívida(Dados().bd, {de, até, tipo, 0}, OrdemDívidas::Número));
      // Months enrolled in the range: from the later of January 2024 and the enrolment month.
      const QString primeiro = u"max("_s + QString::number(de) +
                               u", CASE WHEN coalesce(\"Inscrição\", '') = '' THEN 0 ELSE "
                               u"CAST(substr(\"Inscrição\", 1, 4) AS INTEGER) * 12 + "
                               u"CAST(substr(\"Inscrição\", 5, 2) AS INTEGER) - 1 END)"_s;
      const QString sql =
          u"SELECT count(*), sum(devidos), sum(devidos * \"ValQuotaEuro\") FROM ("
          u"SELECT \"ValQuotaEuro\", max(0, "_s +
          QString::number(até) + u" - "_s + primeiro +
          u" + 1) - (SELECT count(*) FROM \"Quotizações\" "
          u"WHERE \"SócMês\" BETWEEN printf('%06d2024', \"Número\") AND printf('%06d2025~', "
          u"\"Número\") AND substr(\"SócMês\", 7, 6) || '32' >= coalesce(\"Inscrição\", '')) "
          u"AS devidos FROM \"Sócios\" WHERE "_s +
          QString::number(tipo) + u" = 0 OR \"TipoQuota\" = "_s + QString::number(tipo) +
          u") WHERE devidos > 0"_s;
      const auto contagem = Consultar(sql);
      QVERIFY(t.sócios > 1000);
      QCOMPARE(t.sócios, contagem[0][0].toLongLong());
      QCOMPARE(t.meses, contagem[0][1].toLongLong());
      QCOMPARE(t.valor.DécimosMilésimos(), contagem[0][2].toLongLong());
    }
  }

  // The fields are replaced once each, wherever they stand; a value that holds a field's name
  // stays as it is; an unknown field is left alone. The text lives in its own Tabelas row;
  // blank, the program's own text is used. One CSV line per member for the mail merge.
  void textoDaCarta() {
    QCOMPARE(
        PreencherCarta(u"«nome» (nº «número»): «meses», «quantos» meses, «valor». «data» «outro»"_s,
                       Devedor(12, 4, u"Maria «data»"_s), QDate(2026, 12, 7)),
        u"Maria «data» (nº 12): Jan–Mar 2025, Mai 2025, 4 meses, 50,00 €. "
        u"7 de Dezembro de 2026 «outro»"_s);

    QCOMPARE(LerTextoCarta(Dados().bd), TextoCartaPorOmissão());
    GravarTextoCarta(Dados().bd, u"Caro «nome»,\npague."_s);
    QCOMPARE(Consultar(u"SELECT \"Tipo\", \"Designação\" FROM \"Tabelas\""_s),
             (QList<QVariantList>{{u"A"_s, u"Caro «nome»,\npague."_s}}));
    QCOMPARE(LerTextoCarta(Dados().bd), u"Caro «nome»,\npague."_s);
    GravarTextoCarta(Dados().bd, u"  \n "_s);
    QCOMPARE(LerTextoCarta(Dados().bd), TextoCartaPorOmissão());
    QCOMPARE(Consultar(u"SELECT count(*) FROM \"Tabelas\""_s), (QList<QVariantList>{{1}}));

    const auto l =
        LinhasCsvCartas(u"Caro «nome», deve «valor»."_s,
                        {Devedor(3, 2, u"Ana"_s), Devedor(7, 1, u"Rui"_s)}, QDate(2026, 1, 5));
    QCOMPARE(l.size(), 3);
    QCOMPARE(l[0].size(), l[1].size());
    QCOMPARE(l[1],
             (QStringList{u"3"_s, u"Ana"_s, u"Rua Direita, 10"_s, u"Vila Nova"_s,
                          u"4400-123 Vila Nova de Gaia"_s, u"Jan–Fev 2025"_s, u"2"_s, u"25,00"_s,
                          u"5 de Janeiro de 2026"_s, u"Caro Ana, deve 25,00 €."_s}));
    QCOMPARE(l[2].last(), u"Caro Rui, deve 12,50 €."_s);
  }

  // One letter a page; the address lies inside the envelope's window on the sheet, whatever
  // the printer's margins, and nothing else of the letter does.
  void cartaNaJanelaDoEnvelope() {
    Colectividade();
    // The third member's address has more lines than the window holds: the postal code's
    // line stays, the last, and what comes before it gives way.
    std::vector<SócioEmDívida> sócios{Devedor(12, 5, u"Maria da Conceição Gonçalves"_s),
                                      Devedor(13, 1), Devedor(14, 2)};
    sócios[0].rua = u"Rua do Almada, 123, 2º Esq.\nBairro Alto"_s;
    sócios[2].rua = u"Lote 1\nBloco 2\nEntrada 3\nPorta 4\nQuinta das Flores"_s;
    const QString cp = u"4400-123 Vila Nova de Gaia"_s;
    const QList<QStringList> endereços{
        {u"Maria da Conceição Gonçalves"_s, u"Rua do Almada, 123, 2º Esq."_s, u"Bairro Alto"_s,
         u"Vila Nova"_s, cp},
        {u"Sócio Número 13"_s, u"Rua Direita, 10"_s, u"Vila Nova"_s, cp},
        {u"Sócio Número 14"_s, u"Lote 1"_s, u"Bloco 2"_s, u"Entrada 3"_s, u"Porta 4"_s, cp}};
    const QRectF zona = ZonaEndereço();
    QCOMPARE(zona, QRectF(115, 52, 70, 30));
    // An A4 sheet with the margins of an ordinary laser printer, then narrower ones.
    for (const auto &[largura, altura] : {std::pair{10772.0, 15704.0}, {11339.0, 16271.0}}) {
      GravadorImpressão g(largura, altura);
      ImprimirCartas(g, TextoCartaPorOmissão(), sócios, QDate(2026, 12, 7), u"Vila Nova"_s);
      QCOMPARE(g.páginas, 3);
      QCOMPARE(TextosQueSeSobrepõem(g), QStringList());
      const QRectF janela(zona.left() * TwipsPorMm - g.MargemEsquerda(),
                          zona.top() * TwipsPorMm - g.MargemTopo(), zona.width() * TwipsPorMm,
                          zona.height() * TwipsPorMm);
      const double dobra = 99 * TwipsPorMm - g.MargemTopo();
      for (int página = 1; página <= 3; ++página) {
        QStringList noEnvelope;
        for (const auto &t : g.textos) {
          const QRectF caixa = CaixaDoTexto(t);
          if (t.página != página || caixa.isNull())
            continue;
          if (caixa.intersects(janela)) {
            noEnvelope << t.texto;
            QCOMPARE(ForaDaMoldura(t, janela), QString());
          } else { // above the window only the header; below the first fold the rest
            QVERIFY2(caixa.bottom() < janela.top() || caixa.top() > dobra, qPrintable(t.texto));
          }
        }
        QCOMPARE(noEnvelope, endereços[página - 1]);
      }
      QVERIFY(g.Procurar(u"Vila Nova, 7 de Dezembro de 2026"_s));
      QVERIFY(g.Textos().contains(u"Jan–Mar 2025, Mai–Jun 2025"_s));
      if (largura == 10772.0) {
        PdfParaVer(g, u"carta"_s);
        COMPARAR_COM_OURO(g, u"carta"_s);
      }
    }
  }

  // Only the member's own dues of the chosen year are summed: not the year before or after,
  // not member 120's, whose key begins like member 12's. A total typed in the window is shown
  // as accepted, or refused. The page, golden; with the NIPC, named under the association's
  // block above the rule, and the text one line lower.
  void declaracao() {
    Sócio(1, u"Sem Quotas"_s, QVariant(), 0);
    Sócio(12, u"Ana Lopes"_s, QVariant(), 0);
    Sócio(120, u"Rui Sousa"_s, QVariant(), 0);
    for (const auto &[número, ano, mês, valor] : {std::tuple{12, 2004, 12, 100000},
                                                  {12, 2005, 1, 125000},
                                                  {12, 2005, 2, 125000},
                                                  {12, 2005, 12, 127500},
                                                  {12, 2007, 1, 990000},
                                                  {120, 2005, 3, 990000}})
      Quota(número, ano, mês, valor);
    // Member, year, total; empty: no such member.
    for (const auto &[número, ano, total] :
         {std::tuple{12, 2005, u"37,75"_s}, {1, 2005, u"0,00"_s}, {13, 2005, QString()}}) {
      const auto r = SomarQuotizações(Dados().bd, número, ano);
      QCOMPARE(r ? r->total.Formatar(u"###,###,##0.00") : QString(), total);
    }
    // Typed, as shown; empty: refused. A total of 0 is a total a member may have paid.
    for (const auto &[texto, mostrado] : {std::pair{u"37,5"_s, u"37,50"_s},
                                          {u"12a"_s, QString()},
                                          {u"-3,25"_s, QString()},
                                          {u"0"_s, u"0,00"_s},
                                          {u"0,00"_s, u"0,00"_s},
                                          {u"-0,01"_s, QString()}})
      QCOMPARE(ValidarQuotizações(texto).value_or(QString()), mostrado);

    GravarLinhaTabelas(Dados().bd, u'1', u"Grupo Desportivo da Ribeira"_s);
    GravarLinhaTabelas(Dados().bd, u'5', u"210 000 000"_s);
    RecarregarListas();
    GravadorImpressão g, com;
    const auto declaração = ComporDeclaração(u"Ana Lopes"_s, 12, u"2005"_s, u"37,75"_s);
    ImprimirDeclaração(g, declaração, QDate(2006, 3, 5));
    COMPARAR_COM_OURO(g, u"declaracao"_s);

    GravarLinhaTabelas(Dados().bd, TipoNIPC, u"501234560"_s);
    ImprimirDeclaração(com, declaração, QDate(2006, 3, 5));
    PdfParaVer(com, u"declaracao-nipc"_s);
    const auto *nipc = com.Procurar(u"NIPC: 501234560"_s);
    QVERIFY(nipc);
    QVERIFY(nipc->y > com.Procurar(u"Telefone: 210 000 000"_s)->y);
    QVERIFY(nipc->y < com.traços[0].linha.y1());
    QCOMPARE(com.páginas, g.páginas);
    QCOMPARE(com.Procurar(u"D E C L A R A Ç Ã O"_s)->y,
             g.Procurar(u"D E C L A R A Ç Ã O"_s)->y + AlturaDaLinha(nipc->fonte));
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
    if (ano == 0) // a file with nothing in it
      ano = 2025;
    else
      FicheiroDoResumo();
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

  // The window: the list of a type, printed as built, exported with its heads.
  void janela() {
    FicheiroDoResumo();
    Respostas respostas;
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

QTEST_MAIN(TestRelatorios)
#include "TestRelatorios.moc"
