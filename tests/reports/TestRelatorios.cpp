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
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The reports read from the file (arrears, yearly map, debts, good standing, letters,
// declaration, year's summary) and their prints.
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
  // A period of the dues entry list, stored one row per month as the member screen does.
  static void PagarPeríodo(int número, int ano, int item) {
    const Período p = PeríodoDoItem(item);
    for (int m = p.primeiro; m <= p.último; ++m)
      Quota(número, ano, m);
  }

  // 1 paid 2025; 2 enrolled 15 April 2025, paid May and Q1 2026; 3 (empty date) paid the
  // second half of 2025; 4 (NULL date, situation 2) nothing; 5 everything; 6 and 7 enrolled
  // 1 April 2026, 7 paid April; 12 paid January-November 2025, 120 December 2025 only.
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

  // 1 pays all 2025 (and December 2024); 2 enrols 15 March 2025, paid January before, March,
  // April; 3 (NULL date, reduced) a June row without amount; 4 (empty date, reduced) nothing;
  // 5 enrols 31 December; 6 in 2026; a row of a number no member holds.
  void FicheiroDoResumo() {
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    reduzida = FicheiroTeste::Referência(u"T"_s, u"Reduzida"_s);
    RecarregarListas();
    const std::tuple<int, QVariant, qint64> sócios[] = {
        {1, u"20000101"_s, normal}, {2, u"20250315"_s, normal}, {3, {}, reduzida},
        {4, u""_s, reduzida},       {5, u"20251231"_s, normal}, {6, u"20260101"_s, normal}};
    for (const auto &[n, inscrição, tipo] : sócios)
      Sócio(n, u"Sócio "_s + QString::number(n), inscrição, tipo);
    for (int m = 1; m <= 12; ++m)
      Quota(1, 2025, m, 100000);
    const std::tuple<int, int, int, QVariant> quotas[] = {
        {1, 2024, 12, 100000}, {2, 2025, 1, 50000}, {2, 2025, 3, 100000},
        {2, 2025, 4, 100000},  {3, 2025, 6, {}},    {99, 2025, 1, 70000}};
    for (const auto &[n, ano, mês, valor] : quotas)
      Quota(n, ano, mês, valor);
  }
  // The months as "rows/sum/enrolled/owing", then the totals.
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
  template <class Sócios> static QString Números(const Sócios &sócios) {
    QStringList r;
    for (const auto &s : sócios)
      r << QString::number(s.número);
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
    for (const auto &[linha, texto] : // 5: the telephone
         {std::pair{u'1', nome}, {u'2', rua}, {u'3', u"Vila Nova"_s}, {u'5', u"210 000 000"_s}})
      GravarLinhaTabelas(Dados().bd, linha, texto);
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // Enrolment on the month's last day and the next's first; keys that name no month; empty and
  // NULL dates; member 120's keys begin like member 12's.
  void atrasosEMapa() {
    Sócio(1, u"Ana"_s, u"20031231"_s, 1);
    Sócio(2, u"Bruno"_s, u"20040101"_s, 1);
    Sócio(3, u"  Carla  Lima "_s, u"19990101"_s, 2, 4);
    Sócio(4, u"Dora"_s, u"19990101"_s, 1, 9);
    Sócio(5, u"Eva"_s, u""_s, 2);
    Sócio(6, u"Filipe"_s, QVariant(), 1);
    Sócio(12, u"Zé"_s, u"19950101"_s, 2);
    Sócio(120, u"Rui"_s, u"19950101"_s, 2);
    const std::tuple<int, int, int> quotas[] = {
        {1, 2002, 5},  {1, 2003, 1},  {1, 2004, 1}, {3, 2003, 12},  {4, 2003, 11}, {4, 2004, 1},
        {4, 2002, 12}, {4, 2004, 12}, {5, 2003, 6}, {12, 2003, 12}, {120, 2003, 6}};
    for (const auto &[n, ano, mês] : quotas)
      Quota(n, ano, mês);
    for (const auto &chave : {u"00000320031"_s, u"00000320030:"_s, u"00000320031x"_s})
      Chave(chave);

    QCOMPARE(Atrasos(2003, 12, 0), u"1 Ana|4 Dora|5 Eva|6 Filipe|120 Rui"_s);
    QCOMPARE(Atrasos(2004, 1, 0), u"2 Bruno|3 Carla  Lima|5 Eva|6 Filipe|12 Zé|120 Rui"_s);
    QCOMPARE(Mapa(2003, 0), u"1 Ana $-----------/3 Carla  Lima -----------$/4 Dora ----------$-/"
                            u"5 Eva -----$------/6 Filipe ------------/12 Zé -----------$/"
                            u"120 Rui -----$------"_s);
    QCOMPARE(
        Mapa(2004, 1),
        u"1 Ana $-----------/2 Bruno ------------/4 Dora $----------$/6 Filipe ------------"_s);
  }

  // The arrears' closing line on a page of its own when the rows fill the last; the map's too
  // long name printed cut (the golden dump).
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
    COMPARAR_COM_OURO(mapa, u"mapa"_s);
  }

  // The worst cases (45 capitals, months on several lines, long quota type and association
  // name) on the ordinary and an A5 sheet: nothing leaves the page or overlaps.
  void dentroDaPagina_data() {
    QTest::addColumn<QString>("lista");
    QTest::addColumn<double>("largura");
    for (const QString &lista : {u"dividas"_s, u"emdia"_s, u"atrasos"_s, u"mapa"_s})
      for (const double largura : {10772.0, 7710.0})
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
    } else {
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
    }
    QCOMPARE(TextosQueSeSobrepõem(g), QStringList());
    for (const auto &t : g.traços)
      QVERIFY(t.linha.x1() >= 0 && t.linha.x2() <= largura && t.linha.y2() <= g.AlturaPágina());
    QVERIFY(g.Procurar(fim) && g.páginas >= 2 && g.Procurar(u"Página 2"_s));
    if (largura == 10772.0 && (lista == u"dividas"_s || lista == u"emdia"_s))
      COMPARAR_COM_OURO(g, lista);
  }

  // Who owes which months of a range, filtered and ordered (numbers only when the text has no
  // ':'); one month's range lists the arrears report's members; who is up to date by a date.
  void dividasEEmDia() {
    FicheiroPequeno();
    const int jan25 = ÍndiceMês(2025, 1), mar26 = ÍndiceMês(2026, 3), abr26 = ÍndiceMês(2026, 4);
    const QList<std::tuple<FiltroDívidas, OrdemDívidas, QString>> casos = {
        {{jan25, mar26, 0, 0}, OrdemDívidas::Número,
         u"1:Jan–Mar 2026:3:37,50|2:Abr 2025, Jun–Dez 2025:8:80,00|"
         u"3:Jan–Jun 2025, Jan–Mar 2026:9:45,00|4:Jan 2025–Mar 2026:15:187,50|"
         u"12:Dez 2025–Mar 2026:4:45,00|120:Jan–Nov 2025, Jan–Mar 2026:14:140,00"_s},
        {{jan25, mar26, 2, 0}, OrdemDívidas::Número, u"3|12|120"_s},
        {{jan25, mar26, 0, 2}, OrdemDívidas::Número, u"4"_s},
        {{jan25, mar26, 0, 0}, OrdemDívidas::Nome, u"4|1|2|3|120|12"_s},
        {{jan25, mar26, 0, 0}, OrdemDívidas::Valor, u"4|120|2|3|12|1"_s},
        {{ÍndiceMês(2025, 7), ÍndiceMês(2025, 12), 1, 1}, OrdemDívidas::Número,
         u"2:Jul–Dez 2025:6:60,00"_s},
        {{mar26, jan25, 0, 0}, OrdemDívidas::Número, u""_s},
    };
    for (const auto &[filtro, ordem, esperado] : casos)
      QCOMPARE(esperado.contains(u':') ? Dívidas(filtro, ordem)
                                       : Números(SóciosEmDívida(Dados().bd, filtro, ordem)),
               esperado);
    for (int i = ÍndiceMês(2024, 12); i <= ÍndiceMês(2026, 5); ++i)
      for (int tipo : {0, 2})
        QCOMPARE(Números(SóciosEmDívida(Dados().bd, {i, i, tipo, 0}, OrdemDívidas::Número)),
                 Números(SóciosEmAtraso(Dados().bd, AnoDoÍndice(i), MêsDoÍndice(i), tipo)));
    QCOMPARE(SomarDívidas(SóciosEmDívida(Dados().bd, {jan25, mar26, 0, 0}, OrdemDívidas::Valor)),
             (TotaisDívidas{6, 53, Moeda::DeCêntimos(53500)}));
    // Date, first month, members up to date: December owed from its first day; enrolled on
    // 1 April, owing from that day; with no month to owe, everyone enrolled by the date.
    const QList<std::tuple<QDate, int, QString>> emDia = {
        {QDate(2026, 3, 31), ÍndiceMês(2026, 1), u"2|5"_s},
        {QDate(2025, 12, 31), jan25, u"1|5"_s},
        {QDate(2025, 12, 15), ÍndiceMês(2025, 7), u"1|3|5"_s},
        {QDate(2026, 4, 1), abr26, u"5|7"_s},
        {QDate(2026, 3, 31), abr26, u"1|2|3|4|5|12|120"_s},
    };
    for (const auto &[data, desde, esperado] : emDia)
      QCOMPARE(Números(SóciosEmDia(Dados().bd, data, desde)), esperado);
  }

  // Each field replaced once (a value holding a field's name stays); the text in its own row,
  // blank means the default; one CSV line per member.
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
    QCOMPARE(l[1],
             (QStringList{u"3"_s, u"Ana"_s, u"Rua Direita, 10"_s, u"Vila Nova"_s,
                          u"4400-123 Vila Nova de Gaia"_s, u"Jan–Fev 2025"_s, u"2"_s, u"25,00"_s,
                          u"5 de Janeiro de 2026"_s, u"Caro Ana, deve 25,00 €."_s}));
    QCOMPARE(l[2].last(), u"Caro Rui, deve 12,50 €."_s);
  }

  // One letter a page; the address, and nothing else, inside the envelope's window, the
  // printer's margins allowed for; a long address loses lines before the postal code.
  void cartaNaJanelaDoEnvelope() {
    Colectividade();
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
    GravadorImpressão g;
    ImprimirCartas(g, TextoCartaPorOmissão(), sócios, QDate(2026, 12, 7), u"Vila Nova"_s);
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
    COMPARAR_COM_OURO(g, u"carta"_s); // the date line, the months, one letter a page
  }

  // Only the member's own dues of the year are summed; a typed total accepted or refused; with
  // the NIPC, a line under the association's block, the text one line lower.
  void declaracao() {
    Sócio(1, u"Sem Quotas"_s, QVariant(), 0);
    Sócio(12, u"Ana Lopes"_s, QVariant(), 0);
    Sócio(120, u"Rui Sousa"_s, QVariant(), 0);
    const std::tuple<int, int, int, int> quotas[] = {
        {12, 2004, 12, 100000}, {12, 2005, 1, 125000}, {12, 2005, 2, 125000},
        {12, 2005, 12, 127500}, {12, 2007, 1, 990000}, {120, 2005, 3, 990000}};
    for (const auto &[número, ano, mês, valor] : quotas)
      Quota(número, ano, mês, valor);
    for (const auto &[número, ano, total] :
         {std::tuple{12, 2005, u"37,75"_s}, {1, 2005, u"0,00"_s}, {13, 2005, QString()}}) {
      const auto r = SomarQuotizações(Dados().bd, número, ano);
      QCOMPARE(r ? r->total.Formatar(u"###,###,##0.00") : QString(), total);
    }
    for (const auto &[texto, mostrado] : {std::pair{u"37,5"_s, u"37,50"_s},
                                          {u"12a"_s, QString()},
                                          {u"0"_s, u"0,00"_s},
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
    const auto *nipc = com.Procurar(u"NIPC: 501234560"_s);
    QVERIFY(nipc);
    QVERIFY(nipc->y > com.Procurar(u"Telefone: 210 000 000"_s)->y);
    QVERIFY(nipc->y < com.traços[0].linha.y1());
    QCOMPARE(com.páginas, g.páginas);
    QCOMPARE(com.Procurar(u"D E C L A R A Ç Ã O"_s)->y,
             g.Procurar(u"D E C L A R A Ç Ã O"_s)->y + AlturaDaLinha(nipc->fonte));
  }
  // The months as "rows/sum/enrolled/owing", then the totals; the owing members also against
  // the arrears report. An empty file first, then the year of every type, of one, the year before;
  // the window lists a type's year.
  void resumoDoFicheiro() {
    const auto meses = [](const QString &comum, const QList<std::pair<int, QString>> &outros,
                          const QString &total) {
      QStringList l(12, comum);
      for (const auto &[m, t] : outros)
        l[m] = t;
      return l.join(u' ') + u" = "_s + total;
    };
    const auto verificar = [](int ano, qint64 código, const QString &esperado) {
      const ResumoDoAno r = ResumirAno(Dados().bd, ano, código);
      QCOMPARE(Texto(r), esperado);
      for (int m = 1; m <= 12; ++m)
        QCOMPARE(r.meses[size_t(m - 1)].emDívida,
                 qint64(SóciosEmAtraso(Dados().bd, ano, m, código).size()));
    };
    verificar(2025, 0, meses(u"0/0,00/0/0"_s, {}, u"0/0,00/0/0"_s));
    FicheiroDoResumo();
    verificar(2025, 0,
              u"2/15,00/3/2 1/10,00/3/2 2/20,00/4/2 2/20,00/4/2 1/10,00/4/3 2/10,00/4/2 "
              u"1/10,00/4/3 1/10,00/4/3 1/10,00/4/3 1/10,00/4/3 1/10,00/4/3 1/10,00/5/4 = "
              u"16/145,00/5/32"_s);
    verificar(2025, normal,
              u"2/15,00/1/0 1/10,00/1/0 2/20,00/2/0 2/20,00/2/0 1/10,00/2/1 1/10,00/2/1 "
              u"1/10,00/2/1 1/10,00/2/1 1/10,00/2/1 1/10,00/2/1 1/10,00/2/1 1/10,00/3/2 = "
              u"15/145,00/3/9"_s);
    verificar(2025, reduzida, meses(u"0/0,00/2/2"_s, {{5, u"1/0,00/2/1"_s}}, u"1/0,00/2/23"_s));
    verificar(2024, 0, meses(u"0/0,00/3/3"_s, {{11, u"1/10,00/3/2"_s}}, u"1/10,00/3/35"_s));

    Respostas respostas; // the window: the list of a type, with its chart
    ResumoAno j(nullptr);
    j.Ano->setText(u"2025"_s);
    j.TipoQuota->setCurrentIndex(j.TipoQuota->findData(normal));
    QVERIFY(j.Gráfico->isHidden());
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QVERIFY(!j.Gráfico->isHidden());
    const QStringList linhas = j.Listagem->Linhas();
    QCOMPARE(linhas.size(), 13);
    QCOMPARE(linhas[0], u" Janeiro\t2\t15,00\t1\t0"_s);
    QCOMPARE(linhas[12], u" Total\t15\t145,00\t3\t9"_s);
  }

  // One page: the table, then the chart below it; the golden dump holds the frame and the bars.
  void paginaComGrafico() {
    GravarLinhaTabelas(Dados().bd, u'1', u"Sociedade Recreativa Exemplo"_s);
    GravarLinhaTabelas(Dados().bd, u'2', u"Rua Direita, 10"_s);
    GravadorImpressão g;
    ImprimirResumo(g, u"2025"_s, u"[Todos]"_s, Exemplo());
    QCOMPARE(TextosQueSeSobrepõem(g), QStringList());
    COMPARAR_COM_OURO(g, u"resumo"_s);
  }
};

QTEST_MAIN(TestRelatorios)
#include "TestRelatorios.moc"
