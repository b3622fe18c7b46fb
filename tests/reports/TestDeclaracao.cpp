#include "Dados.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "ImprimirDeclaracao.h"
#include "Molduras.h"
#include "Ouro.h"
#include "Referencias.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The annual dues declaration: the total and the page.
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

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // Only the member's own dues of the chosen year are summed: not the year before or after,
  // not member 120's, whose key begins like member 12's. A total typed in the window is shown
  // as accepted, or refused.
  void somarValidarEImprimir() {
    Sócio(1, u"Sem Quotas"_s);
    Sócio(12, u"Ana Lopes"_s);
    Sócio(120, u"Rui Sousa"_s);
    Quota(12, 2004, 12, 100000);
    Quota(12, 2005, 1, 125000);
    Quota(12, 2005, 2, 125000);
    Quota(12, 2005, 12, 127500);
    Quota(12, 2007, 1, 990000);
    Quota(120, 2005, 3, 990000);
    // Member, year, total; empty: no such member.
    const QList<std::tuple<qint64, int, QString>> casos = {
        {12, 2005, u"37,75"_s}, {1, 2005, u"0,00"_s}, {13, 2005, QString()}};
    for (const auto &[número, ano, total] : casos) {
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

    // Member 12's page, with the header lower than on other reports, in the golden dump.
    GravarLinhaTabelas(Dados().bd, u'1', u"Grupo Desportivo da Ribeira"_s);
    GravarLinhaTabelas(Dados().bd, u'5', u"210 000 000"_s);
    RecarregarListas();
    GravadorImpressão g;
    ImprimirDeclaração(g, ComporDeclaração(u"Ana Lopes"_s, 12, u"2005"_s, u"37,75"_s),
                       QDate(2006, 3, 5));
    COMPARAR_COM_OURO(g, u"declaracao"_s);

    // With the association's NIPC, the declaration names it under the association's block,
    // above the rule, and its text goes on one line lower; on one page still.
    GravarLinhaTabelas(Dados().bd, TipoNIPC, u"501234560"_s);
    GravadorImpressão com;
    ImprimirDeclaração(com, ComporDeclaração(u"Ana Lopes"_s, 12, u"2005"_s, u"37,75"_s),
                       QDate(2006, 3, 5));
    PdfParaVer(com, u"declaracao-nipc"_s);
    const auto *nipc = com.Procurar(u"NIPC: 501234560"_s);
    QVERIFY(nipc);
    QVERIFY(nipc->y > com.Procurar(u"Telefone: 210 000 000"_s)->y);
    QVERIFY(nipc->y < com.traços[0].linha.y1());
    QCOMPARE(com.páginas, g.páginas);
    QCOMPARE(com.Procurar(u"D E C L A R A Ç Ã O"_s)->y,
             g.Procurar(u"D E C L A R A Ç Ã O"_s)->y + AlturaDaLinha(nipc->fonte));
  }
};

QTEST_MAIN(TestDeclaracao)
#include "TestDeclaracao.moc"
