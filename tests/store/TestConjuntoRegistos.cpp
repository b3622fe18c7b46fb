#include "Dados.h"
#include "FicheiroTeste.h"

#include <QtTest>
#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;

// The shared recordsets on a real Quotas.Dad in a folder of their own.
class TestConjuntoRegistos : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  ConjuntoRegistos &Sócios() { return *Dados().sócios; }
  ConjuntoRegistos &Quotas() { return *Dados().quotizações; }
  ConjuntoRegistos &Tabelas() { return *Dados().tabelas; }

  void NovoSócio(int número, const QString &nome = {}) {
    Sócios().AdicionarNovo();
    Sócios().DefinirCampo(u"Número", número);
    Sócios().DefinirCampo(u"Nome", nome.isEmpty() ? u"Sócio "_s + QString::number(número) : nome);
    Sócios().Actualizar();
  }
  void NovaQuota(int número, int ano, int mês, qint64 cêntimos = 1250, int recibo = 1) {
    Quotas().AdicionarNovo();
    Quotas().DefinirCampo(u"SócMês", ChaveSócMês(número, ano, mês));
    Quotas().DefinirCampo(u"QuotaEuro", Moeda::DeCêntimos(cêntimos));
    Quotas().DefinirCampo(u"Recibo", recibo);
    Quotas().Actualizar();
  }
  QStringList Percorrer(ConjuntoRegistos &r, const QString &campo) {
    QStringList l;
    for (r.MoverPrimeiro(); !r.FimFicheiro(); r.MoverSeguinte())
      l << r.Texto(campo);
    return l;
  }
  template <class F> CausaErro CausaDe(F &&f) {
    try {
      f();
    } catch (const ErroBaseDados &e) {
      return e.Causa();
    }
    return CausaErro::Desconhecida;
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  void vaziosTemInicioEFimDeFicheiro() {
    const QList<std::pair<ConjuntoRegistos *, QString>> todos = {
        {&Sócios(), u"Número"_s}, {&Quotas(), u"Recibo"_s}, {&Tabelas(), u"Código"_s}};
    for (const auto &[r, campo] : todos) {
      QVERIFY(r->InícioFicheiro() && r->FimFicheiro());
      QCOMPARE(r->NúmeroRegistos(), qint64(0));
      r->MoverSeguinte();
      r->MoverPrimeiro();
      QVERIFY(r->InícioFicheiro() && r->FimFicheiro());
      r->ProcurarPrimeiro(Critério::Igual(campo, 0));
      QVERIFY(r->SemCorrespondência());
      QCOMPARE(CausaDe([&] { r->Campo(campo); }), CausaErro::SemRegistoActual);
      QCOMPARE(CausaDe([&] { r->Eliminar(); }), CausaErro::SemRegistoActual);
    }
  }

  // An added row comes last, in the ordered and the unordered recordsets, until a requery.
  void ordemMovimentosEExtremos() {
    for (int n : {30, 10})
      NovoSócio(n);
    Sócios().Reexecutar();
    Sócios().MoverÚltimo();
    NovoSócio(20);
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(30)); // the current row stays current
    QCOMPARE(Percorrer(Sócios(), u"Número"_s), (QStringList{u"10"_s, u"30"_s, u"20"_s}));
    Sócios().Reexecutar();
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(10)); // requery stands on the first row
    QCOMPARE(Percorrer(Sócios(), u"Número"_s), (QStringList{u"10"_s, u"20"_s, u"30"_s}));
    for (int n : {5, 4, 1})
      NovaQuota(n, 2003, 1);
    QCOMPARE(Percorrer(Quotas(), u"SócMês"_s),
             (QStringList{u"000005200301"_s, u"000004200301"_s, u"000001200301"_s}));
    Sócios().MoverSeguinte(); // past the end it stays at the end
    QVERIFY(Sócios().FimFicheiro() && !Sócios().InícioFicheiro());
    Sócios().MoverAnterior();
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(30));
    QCOMPARE(Sócios().PercentagemPosição(), 200.0 / 3.0);
    Sócios().MoverPrimeiro();
    Sócios().MoverAnterior();
    QVERIFY(Sócios().InícioFicheiro() && !Sócios().FimFicheiro());
    Sócios().MoverSeguinte();
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(10));
  }

  void indicesUnicosRecusamRepetidos() {
    NovoSócio(25);
    QCOMPARE(CausaDe([&] { NovoSócio(25, u"Outro"_s); }), CausaErro::Duplicado);
    NovaQuota(25, 2003, 3);
    QCOMPARE(CausaDe([&] { NovaQuota(25, 2003, 3, 999); }), CausaErro::Duplicado);
    Sócios().CancelarActualização();
    Quotas().CancelarActualização();
    QCOMPARE(Sócios().NúmeroRegistos(), qint64(1));
    Quotas().MoverPrimeiro();
    QCOMPARE(Quotas().ValorMoeda(u"QuotaEuro"), Moeda::DeCêntimos(1250));
    // Values that do not fit their fields are refused.
    QCOMPARE(CausaDe([&] { NovoSócio(26, QString(46, u'x')); }), CausaErro::ValorInválido);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Sócios().DefinirCampo(u"Número", 3000000000LL));
    Sócios().CancelarActualização();
  }

  // Find first/next/last/previous in the recordset's order; no match leaves the current row.
  void procurarPrimeiroSeguinteUltimoAnterior() {
    for (int n : {7, 3, 9, 1, 5})
      NovoSócio(n, n % 2 ? u"Silva "_s + QString::number(n) : u"Costa"_s);
    Sócios().Reexecutar();
    const Filtro f = Critério::MaiorOuIgual(u"Número"_s, 3);
    QStringList vistos;
    for (Sócios().ProcurarPrimeiro(f); !Sócios().SemCorrespondência(); Sócios().ProcurarSeguinte(f))
      vistos << Sócios().Texto(u"Número");
    QCOMPARE(vistos, (QStringList{u"3"_s, u"5"_s, u"7"_s, u"9"_s}));
    Sócios().ProcurarÚltimo(Critério::Menor(u"Número"_s, 6));
    Sócios().ProcurarAnterior(Critério::Menor(u"Número"_s, 6));
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(3));
    Sócios().ProcurarPrimeiro(Critério::Igual(u"Número"_s, 4));
    QVERIFY(Sócios().SemCorrespondência());
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(3));
    Sócios().ProcurarPrimeiro(Critério::Igual(u"número"_s, 9)); // field names ignore case
    QCOMPARE(Sócios().Texto(u"Nome"), u"Silva 9"_s);
    Sócios().ProcurarPrimeiro(Filtro::Entre(u"Número"_s, 2, 8) &&
                              Critério::Padrão(u"Nome"_s, u"silva*"_s));
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(3));
  }

  void quotasDeUmSocioNaoApanhamOutrosNumeros() {
    for (auto [n, a, m] : {std::tuple{120, 2003, 1},
                           {12, 2003, 3},
                           {1200, 2003, 1},
                           {12, 2002, 12},
                           {121, 2003, 1},
                           {12, 2003, 4}})
      NovaQuota(n, a, m);
    QStringList chaves;
    for (Quotas().ProcurarPrimeiro(QuotasDoSócio(12)); !Quotas().SemCorrespondência();
         Quotas().ProcurarSeguinte(QuotasDoSócio(12)))
      chaves << Quotas().Texto(u"SócMês");
    QCOMPARE(chaves, (QStringList{u"000012200303"_s, u"000012200212"_s, u"000012200304"_s}));
    // Year prefix, as the dues map uses it.
    Quotas().ProcurarPrimeiro(Critério::Começa(u"SócMês"_s, u"0000122002"_s));
    QCOMPARE(Quotas().Texto(u"SócMês"), u"000012200212"_s);
    Quotas().ProcurarSeguinte(Critério::Começa(u"SócMês"_s, u"0000122002"_s));
    QVERIFY(Quotas().SemCorrespondência());
  }

  void padraoDeNomeIgnoraMaiusculasAcentuadas() {
    NovoSócio(1, u"JOSÉ SILVA"_s);
    NovoSócio(2, u"Ana Maria Conceição"_s);
    NovoSócio(3, u"ana"_s);
    NovoSócio(4, u"João (filho) [?]"_s);
    Sócios().Reexecutar();
    // Without "*" only the whole name matches; characters other than "*?" are literal.
    for (const auto &[padrão, número] : {std::pair{u"*CONCEIÇÃO"_s, 2},
                                         {u"ANA"_s, 3},
                                         {u"jos?*"_s, 1},
                                         {u"joão (filho) [?]"_s, 4},
                                         {u"jose*"_s, 0}}) {
      Sócios().ProcurarPrimeiro(Critério::Padrão(u"Nome"_s, padrão));
      QCOMPARE(Sócios().SemCorrespondência() ? 0 : Sócios().Inteiro(u"Número"), qint64(número));
    }
  }

  void editarEliminarEValores() {
    for (int n : {1, 2, 3})
      NovoSócio(n);
    Sócios().Reexecutar();
    Sócios().ProcurarPrimeiro(Critério::Igual(u"Número"_s, 2));
    Sócios().Editar();
    Sócios().DefinirCampo(u"ValQuotaEuro", *Moeda::Ler(u"1.234,56"_s));
    Sócios().Actualizar();
    QCOMPARE(Sócios().ValorMoeda(u"ValQuotaEuro").DécimosMilésimos(), qint64(12345600));
    QVERIFY(!Sócios().Campo(u"Inscrição").isValid()); // never written: null
    QCOMPARE(Sócios().Inteiro(u"CPostal"), qint64(0));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, [&] {
      Sócios().Editar();
      Sócios().DefinirCampo(u"ValQuotaEuro", 12.5);
    }());
    Sócios().CancelarActualização();

    // A deleted row can no longer be read; moving on goes to the row that followed it.
    Sócios().Eliminar();
    QCOMPARE(CausaDe([&] { Sócios().Texto(u"Nome"); }), CausaErro::SemRegistoActual);
    Sócios().MoverSeguinte();
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(3));
    QCOMPARE(Sócios().NúmeroRegistos(), qint64(2));

    // Deleting every dues row of a member the way a member deletion does.
    for (int m = 1; m <= 12; ++m)
      NovaQuota(1, 2004, m);
    NovaQuota(10, 2004, 1);
    for (Quotas().ProcurarPrimeiro(QuotasDoSócio(1)); !Quotas().SemCorrespondência();
         Quotas().ProcurarPrimeiro(QuotasDoSócio(1)))
      Quotas().Eliminar();
    Quotas().Reexecutar();
    QCOMPARE(Percorrer(Quotas(), u"SócMês"_s), QStringList{u"000010200401"_s});
  }

  // A counter is never handed out twice, even after the highest row is gone.
  void tabelasDeReferencia() {
    const auto acrescentar = [&](const QString &tipo) {
      Tabelas().AdicionarNovo();
      Tabelas().DefinirCampo(u"Tipo", tipo);
      Tabelas().DefinirCampo(u"Designação", u"x"_s);
      Tabelas().Actualizar();
    };
    for (const QString &t : {u"C"_s, u"0"_s, u"q"_s})
      acrescentar(t);
    Tabelas().ProcurarPrimeiro(Critério::Igual(u"tipo"_s, u"q"_s));
    QCOMPARE(Tabelas().Inteiro(u"Código"), qint64(3));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, Tabelas().DefinirCampo(u"Tipo", u"x"_s));
    Tabelas().Eliminar();
    acrescentar(u"S"_s);
    Tabelas().MoverÚltimo();
    QCOMPARE(Tabelas().Inteiro(u"Código"), qint64(4));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             Tabelas().ProcurarPrimeiro(Critério::Igual(u"Nome"_s, 1)));
  }
};

QTEST_GUILESS_MAIN(TestConjuntoRegistos)
#include "TestConjuntoRegistos.moc"
