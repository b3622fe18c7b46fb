#include "Avaria.h"
#include "Dados.h"
#include "ErroEsperado.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "LerFicheiro.h"
#include "ListaQuotas.h"
#include "MembrosFicha.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The dues list and the member save and deletion, without the window.
class TestListaQuotas : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // The dues rules without the window. A whole year over listed months asks once per month
  // listed with other values, and No keeps it. A change into a month already listed replaces
  // that month's entry and leaves the former month for the save to delete; the same entry again
  // changes nothing. A deletion keeps the entry for the save; the row after it becomes current.
  void regrasDasQuotas() {
    const Moeda dez = Moeda::DeCêntimos(1000), doze = Moeda::DeCêntimos(1200);
    QuotasEmEdição q;
    QList<int> perguntas;
    const auto responder = [&perguntas](int mês, int) {
      perguntas << mês;
      return false;
    };
    QCOMPARE(q.Adicionar(2003, 14, dez, 55, responder), 1); // (2º Trimestre)
    QCOMPARE(q.Adicionar(2003, 4, dez, 55, responder), 2);  // May again: same values
    QCOMPARE(q.Adicionar(2003, 12, doze, 56, responder), 1);
    QCOMPARE(perguntas, (QList<int>{4, 5, 6}));
    QCOMPARE(q.ListQuotas.Tamanho(), 12);
    QCOMPARE(DividirEntrada(q.ListQuotas.Em(4)).valor, u"10,00"_s); // No kept May

    const auto dezembro = q.Alterar(1, 2003, 12, dez, 57); // January's row to December
    QCOMPARE(q.Alterar(dezembro.posição, 2003, 12, dez, 57).repetida, true);
    QCOMPARE(q.ListQuotas.Tamanho(), 11);
    QCOMPARE(q.ListQuotas.Em(dezembro.posição - 1), EntradaQuota(2003, 12, dez, 57));
    QCOMPARE(q.Apagar(1), 1); // February
    QCOMPARE(q.ListElimin.Entradas(),
             (QStringList{EntradaQuota(2003, 1, doze, 56), EntradaQuota(2003, 2, doze, 56)}));
  }

  // Period items at the boundaries, added between December 2002 and January 2004: exactly
  // the item's months of 2003, the first of them the current row.
  void cadaItemDoPeriodo() {
    QCOMPARE(ItensPeríodo().size(), 19);
    const Moeda dez = Moeda::DeCêntimos(1000);
    for (const auto &[item, primeiro, último] :
         {std::tuple{0, 1, 1}, {11, 12, 12}, {12, 1, 12}, {16, 10, 12}, {18, 7, 12}}) {
      QCOMPARE(ÉPeríodo(item), item >= 12);
      QuotasEmEdição q;
      q.ListQuotas.Inserir(EntradaQuota(2002, 12, dez, 1));
      q.ListQuotas.Inserir(EntradaQuota(2004, 1, dez, 1));
      int perguntas = 0;
      QCOMPARE(q.Adicionar(2003, item, dez, 55, [&](int, int) { return ++perguntas > 0; }), 2);
      QCOMPARE(perguntas, 0);
      QStringList esperadas{EntradaQuota(2002, 12, dez, 1)};
      for (int m = primeiro; m <= último; ++m)
        esperadas << EntradaQuota(2003, m, dez, 55);
      QCOMPARE(q.ListQuotas.Entradas(), esperadas << EntradaQuota(2004, 1, dez, 1));
    }
  }

  // A member with twenty years of dues is read whole, in order, and the neighbours' rows
  // (13, 120, 1200 share no key prefix with 12) never leak in, nor go with its deletion. An
  // engine failure halfway through a save leaves nothing of that save behind.
  void quotasLidasFalhasEEliminacao() {
    ListaOrdenada vinteAnos; // every amount of its own, so that no row can take another's
    for (int m = 0; m < 240; ++m)
      vinteAnos.Inserir(EntradaQuota(2000 + m / 12, m % 12 + 1, Moeda::DeCêntimos(m), m));
    QCOMPARE(GravarDeTeste(FichaDeTeste(u"12"_s), 0, vinteAnos).erro, ErroFicha::Nenhum);
    for (const int n : {13, 120, 1200, 11})
      QCOMPARE(
          GravarDeTeste(FichaDeTeste(QString::number(n)), 0, QuotasDeTeste({{1999, 12}, {2010, 6}}))
              .erro,
          ErroFicha::Nenhum);
    QCOMPARE(Dados().sócios->Inteiro(u"Número"), qint64(11)); // stands on the saved member
    const auto s = LerSócio(Dados().bd, *Dados().sócios, 12);
    QVERIFY(s);
    QCOMPARE(EntradasDasQuotas(s->quotas).Entradas(), vinteAnos.Entradas());
    QVERIFY(!LerSócio(Dados().bd, *Dados().sócios, 14));
    QCOMPARE(Dados().sócios->Inteiro(u"Número"), qint64(12)); // a miss moves nothing

    // A new member whose second due fails is not saved at all; the message names the file.
    PlantarAvaria(u"Quotizações"_s, u"INSERT"_s, u"NEW.\"SócMês\" LIKE '%200312'"_s);
    const auto e = Erro([&] {
      GravarDeTeste(FichaDeTeste(u"2"_s, u"Novo"_s), 0, QuotasDeTeste({{2003, 11}, {2003, 12}}));
    });
    QVERIFY2(e && e->Mensagem().contains(NomeDosDados()), "a falha não foi comunicada");
    RetirarAvaria();

    // Saving 12 again changes every amount; a failure on the last row leaves all as it was.
    PlantarAvaria(u"Quotizações"_s, u"UPDATE"_s, u"NEW.\"SócMês\" = '000012201912'"_s);
    QVERIFY_THROWS_EXCEPTION(ErroBaseDados, GravarDeTeste(FichaDeTeste(u"12"_s, u"Outro"_s), 12,
                                                          MesesSeguidos(2000, 240, 5000, 0)));
    QCOMPARE(Coluna(u"SELECT \"Nome\" FROM \"Sócios\" WHERE \"Número\" = 12"_s),
             QStringList{u"Maria Silva"_s});
    QCOMPARE(
        Coluna(u"SELECT sum(\"QuotaEuro\") FROM \"Quotizações\" WHERE \"SócMês\" LIKE '000012%'"_s),
        QStringList{QString::number(239 * 240 / 2 * 100)});

    // Deleting the member takes its dues and no neighbour's; member 2 was never saved.
    Dados().sócios->ProcurarPrimeiro(Critério::Igual(u"Número"_s, 12));
    EliminarRegistos(Dados().bd, *Dados().sócios, *Dados().quotizações, 12);
    QCOMPARE(Coluna(u"SELECT \"Número\" FROM \"Sócios\" ORDER BY \"Número\""_s),
             (QStringList{u"11"_s, u"13"_s, u"120"_s, u"1200"_s}));
    QCOMPARE(Coluna(u"SELECT count(*) FROM \"Quotizações\""_s), QStringList{u"8"_s}); // 2 of each
  }

  // The entry built for the screen without the general patterns is the entry, to the letter.
  void entradaDirectaIgualAEntrada() {
    for (const auto &[ano, mês, valor, recibo] :
         {std::tuple<int, int, qint64, qint64>{2003, 3, 125000, 417},
          {1999, 12, 12345, 0},
          {2024, 10, -32550, -5},
          {990, 7, 123456789012345, 999999},
          {5, 1, -49, 7},
          {9999, 11, (qint64(1) << 60) - 1, std::numeric_limits<qint64>::min()}}) {
      const Moeda m = Moeda::DeDécimosMilésimos(valor);
      QCOMPARE(EntradaQuotaDirecta(ano, mês, m, recibo), EntradaQuota(ano, mês, m, recibo));
    }
  }
};

QTEST_GUILESS_MAIN(TestListaQuotas)
#include "TestListaQuotas.moc"
