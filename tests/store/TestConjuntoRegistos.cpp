#include "Dados.h"
#include "Danos.h"
#include "ErroEsperado.h"
#include "FicheiroTeste.h"
#include "LerFicheiro.h"
#include "OrdemNomes.h"

#include <QFile>
#include <QtTest>
#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;

// The shared recordsets and set queries on a real Quotas.Dad in a folder of their own.
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
  void NovaQuota(int número, int ano, int mês) {
    Quotas().AdicionarNovo();
    Quotas().DefinirCampo(u"SócMês", ChaveSócMês(número, ano, mês));
    Quotas().Actualizar();
  }
  QStringList Percorrer(ConjuntoRegistos &r, const QString &campo) {
    QStringList l;
    for (r.MoverPrimeiro(); !r.FimFicheiro(); r.MoverSeguinte())
      l << r.Texto(campo);
    return l;
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

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
    // After a window's own selection, even one left by an error, all members are back in order.
    try {
      SóciosSeleccionados selecção(
          Consulta{u"Sócios"_s, Critério::MaiorOuIgual(u"Número"_s, 20), {{u"Nome"_s, true}}});
      QCOMPARE(Sócios().Inteiro(u"Número"), qint64(30));
      throw ErroBaseDados(CausaErro::DiscoCheio, u"teste"_s, {});
    } catch (const ErroBaseDados &) {
    }
    QCOMPARE(Percorrer(Sócios(), u"Número"_s), (QStringList{u"10"_s, u"20"_s, u"30"_s}));
    for (int n : {5, 4, 1})
      NovaQuota(n, 2003, 1);
    QCOMPARE(
        Percorrer(Quotas(), u"SócMês"_s),
        FicheiroTeste::OrdemNatural({u"000005200301"_s, u"000004200301"_s, u"000001200301"_s}));
    QCOMPARE(Quotas().NúmeroRegistos(), qint64(3));
  }

  // Find first/next/last/previous; no match leaves the current row; empty: at both ends.
  void procurarPrimeiroSeguinteUltimoAnterior() {
    QVERIFY(Sócios().InícioFicheiro() && Sócios().FimFicheiro());
    Sócios().MoverSeguinte();
    Sócios().ProcurarPrimeiro(Critério::Igual(u"Número"_s, 0));
    QVERIFY(Sócios().SemCorrespondência());
    EsperarErro([&] { Sócios().Eliminar(); }, CausaErro::SemRegistoActual);
    for (int n : {7, 3, 9, 1, 5})
      NovoSócio(n);
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
    Sócios().ProcurarPrimeiro(Critério::Igual(u"CPostal"_s, QVariant())); // nothing equals null
    QVERIFY(Sócios().SemCorrespondência());
    Sócios().ProcurarÚltimo(Critério::Diferente(u"Número"_s, QVariant()));
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(9));
    // Name patterns ignore case, not accents; without "*" only the whole name; others literal.
    NovoSócio(11, u"JOSÉ SILVA"_s);
    NovoSócio(12, u"Ana Maria Conceição"_s);
    NovoSócio(14, u"João (filho) [?]"_s);
    Sócios().Reexecutar();
    for (const auto &[padrão, número] : {std::pair{u"*CONCEIÇÃO"_s, 12},
                                         {u"jos?*"_s, 11},
                                         {u"joão (filho) [?]"_s, 14},
                                         {u"jose*"_s, 0}}) {
      Sócios().ProcurarPrimeiro(Critério::Padrão(u"Nome"_s, padrão));
      QCOMPARE(Sócios().SemCorrespondência() ? 0 : Sócios().Inteiro(u"Número"), qint64(número));
    }
  }

  void quotasDeUmSocioNaoApanhamOutrosNumeros() {
    for (auto [n, a, m] :
         {std::tuple{120, 2003, 1}, {12, 2003, 3}, {1200, 2003, 1}, {12, 2002, 12}, {12, 2003, 4}})
      NovaQuota(n, a, m);
    QStringList chaves;
    for (Quotas().ProcurarPrimeiro(QuotasDoSócio(12)); !Quotas().SemCorrespondência();
         Quotas().ProcurarSeguinte(QuotasDoSócio(12)))
      chaves << Quotas().Texto(u"SócMês");
    QCOMPARE(chaves, FicheiroTeste::OrdemNatural(
                         {u"000012200303"_s, u"000012200212"_s, u"000012200304"_s}));
  }

  // Unique indexes refuse repeats, fields refuse values that do not fit; edits keep values.
  void escreverEditarEliminar() {
    for (int n : {1, 2, 3})
      NovoSócio(n);
    EsperarErro([&] { NovoSócio(26, QString(46, u'x')); }, CausaErro::ValorInválido);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Sócios().DefinirCampo(u"Número", 3000000000LL));
    Sócios().CancelarActualização();
    Sócios().Reexecutar();
    Sócios().ProcurarPrimeiro(Critério::Igual(u"Número"_s, 2));
    Sócios().Editar();
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Sócios().DefinirCampo(u"ValQuotaEuro", 12.5));
    Sócios().DefinirCampo(u"ValQuotaEuro", *Moeda::Ler(u"1.234,56"_s));
    Sócios().Actualizar();
    QCOMPARE(Sócios().ValorMoeda(u"ValQuotaEuro").DécimosMilésimos(), qint64(12345600));
    QVERIFY(!Sócios().Campo(u"Inscrição").isValid()); // never written: null

    // A deleted row can no longer be read; moving on goes to the row that followed it.
    Sócios().Eliminar();
    EsperarErro([&] { Sócios().Texto(u"Nome"); }, CausaErro::SemRegistoActual);
    Sócios().MoverSeguinte();
    QCOMPARE(Sócios().Inteiro(u"Número"), qint64(3));
  }

  // A counter is never handed out twice, even after the highest row is gone.
  void tabelasDeReferencia() {
    for (const QString &t : {u"C"_s, u"0"_s, u"q"_s})
      FicheiroTeste::Referência(t, u"x"_s);
    Tabelas().ProcurarPrimeiro(Critério::Igual(u"tipo"_s, u"q"_s));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, Tabelas().DefinirCampo(u"Tipo", u"x"_s));
    Tabelas().Eliminar();
    QCOMPARE(FicheiroTeste::Referência(u"S"_s, u"x"_s), qint64(4));
  }

  // Inside a read, a write commits or rolls back whole; nested loops get their own statements.
  void escritaDentroDeUmaLeituraEInstrucoesAninhadas() {
    BaseDados::Leitura leitura(Dados().bd);
    const auto Inserir = [](int número, const QString &nome) {
      Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s,
                        {número, nome}, u"teste"_s);
    };
    {
      BaseDados::Transacção t(Dados().bd);
      for (int n = 1; n <= 3; ++n)
        Inserir(n, n == 2 ? u"O'Neill \"Jr\""_s : u"Sócio "_s + QString::number(n));
      t.Confirmar();
    }
    {
      BaseDados::Transacção t(Dados().bd);
      Inserir(4, u"Desfeito"_s);
    }
    QCOMPARE(Coluna(u"SELECT count(*) FROM \"Sócios\""_s), QStringList{u"3"_s});
    const QString sql = u"SELECT \"Número\", \"Nome\" FROM \"Sócios\" WHERE \"Número\" >= ? "
                        u"ORDER BY \"Número\""_s;
    QStringList pares;
    Dados().bd.Percorrer(sql, {1}, u"teste"_s, [&](const Instrução &a) {
      Dados().bd.Percorrer(sql, {a.Inteiro(0)}, u"teste"_s, [&](const Instrução &b) {
        pares << QString::number(a.Inteiro(0)) + u'-' + QString::number(b.Inteiro(0));
      });
    });
    QCOMPARE(pares, (QStringList{u"1-1"_s, u"1-2"_s, u"1-3"_s, u"2-2"_s, u"2-3"_s, u"3-3"_s}));
  }

  // A damaged page met while stepping is the "damaged" error, never a short list.
  void paginaDanificadaAMeioDaLista() {
    if (FicheiroTeste::NoServidor)
      QSKIP("as páginas danificadas são as de um ficheiro");
    Dados().bd.Executar(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
        u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Observações\") "
        u"SELECT i, 'Sócio', hex(zeroblob(200)) FROM n"_s,
        {}, u"teste"_s);
    FecharDados();
    EstragarPáginaDeLinhas(NomeFicheiroDados); // the middle page of rows
    AbrirDados(NomeFicheiroDados);
    int lidas = 0;
    EsperarErro(
        [&] {
          Dados().bd.Percorrer(u"SELECT \"Número\", \"Observações\" FROM \"Sócios\""_s, {},
                               u"Listar os sócios"_s, [&](const Instrução &) { ++lidas; });
        },
        CausaErro::Danificado);
    QVERIFY(lidas > 0); // the failure came while stepping, after the first rows
  }

  // Portuguese order of names; byte order would put accented capitals after "Zé".
  void ordemPortuguesaDosNomes() {
    std::vector<QString> nomes{u"Zé"_s,     u"Úrsula"_s, u"Álvaro"_s,
                               u"álvaro"_s, u"Alvaro"_s, u"ZZZ"_s};
    OrdenarPorNome(nomes, [](const QString &n) { return n; });
    QCOMPARE(QStringList(nomes.begin(), nomes.end()),
             (QStringList{u"Alvaro"_s, u"álvaro"_s, u"Álvaro"_s, u"Úrsula"_s, u"Zé"_s, u"ZZZ"_s}));
    const OrdemPortuguesa ordem;
    for (const QString &n : nomes)
      QCOMPARE(ordem.Entre(n, u"A"_s, u"ZZ"_s), n != u"ZZZ"_s);
    OrdenarPorNome(
        nomes, [](const QString &n) { return n; }, true);
    QCOMPARE(nomes.front(), u"ZZZ"_s);
  }

  // Many rows written and deleted at once, more than one statement's worth on a file: every
  // row arrives with its texts exactly as given (on a server, each column travels as one
  // array), an upsert rewrites only the rows it names, and a delete by a list takes exactly
  // the listed keys.
  void muitasLinhasDeUmaVez() {
    BaseDados &bd = Dados().bd;
    const DefTabela &quotas = *ProcurarTabela(u"Quotizações");
    const QStringList colunas{u"SócMês"_s, u"QuotaEuro"_s, u"Recibo"_s};
    const QString fim = FimGuardar(u"Quotizações", u"SócMês", {u"QuotaEuro"_s, u"Recibo"_s},
                                   bd.MotorAberto());
    constexpr int n = 1201;
    QVariantList linhas, apagar;
    for (int k = 0; k < n; ++k) {
      linhas << ChaveSócMês(1 + k / 12, 2000, 1 + k % 12) << qint64(k) * 10000
             << (k % 2 ? QVariant(k) : QVariant());
      if (k % 5 == 0)
        apagar << linhas[3 * k];
    }
    QCOMPARE(bd.InserirLinhas(quotas, colunas, linhas, fim, u"teste"_s), qint64(n));
    // The first and last rows again, one of them changed: only that one is rewritten.
    const QVariantList outra{linhas[0], 7, QVariant(), linhas[3 * (n - 1)], linhas[3 * (n - 1) + 1],
                             linhas[3 * (n - 1) + 2]};
    QCOMPARE(bd.InserirLinhas(quotas, colunas, outra, fim, u"teste"_s), qint64(1));
    QCOMPARE(Coluna(u"SELECT count(*) || ' ' || sum(\"QuotaEuro\") || ' ' || count(\"Recibo\") "
                    u"FROM \"Quotizações\""_s),
             QStringList{u"1201 7206000007 600"_s});
    QCOMPARE(bd.CorrerComLista(u"DELETE FROM \"Quotizações\" WHERE "_s, quotas, u"SócMês"_s,
                               apagar, u"teste"_s),
             qint64(apagar.size()));
    QCOMPARE(Coluna(u"SELECT count(*) FROM \"Quotizações\" WHERE CAST(\"QuotaEuro\" AS "
                    u"INTEGER) % 50000 = 0"_s),
             QStringList{u"0"_s});
    QCOMPARE(Coluna(u"SELECT count(*) FROM \"Quotizações\""_s),
             QStringList{QString::number(n - apagar.size())});

    const QStringList nomes{u"Ana \"Nené\" Sá"_s, u"C:\\Dados\\"_s, u"D'Ávila, {Rui}"_s,
                            u"NULL"_s, u"  dois  brancos "_s, u""_s};
    // Columns the same in every row (a text that needs quoting, a null) beside varying ones.
    const QStringList sócio{u"Número"_s, u"Nome"_s, u"Localidade"_s, u"CPostal"_s, u"NIF"_s};
    QVariantList sócios;
    for (int k = 0; k < nomes.size(); ++k)
      sócios << 900 + k << nomes[k] << u"Vila \"Nova\" \\ {x}"_s << 4700 << QVariant();
    const DefTabela &tabela = *ProcurarTabela(u"Sócios");
    QCOMPARE(bd.InserirLinhas(tabela, sócio, sócios, {}, u"teste"_s), qint64(nomes.size()));
    QCOMPARE(
        bd.InserirLinhas(tabela, sócio, {999, u"Só"_s, u"Aldeia"_s, 4800, u"1"_s}, {}, u"teste"_s),
        qint64(1));
    QCOMPARE(Coluna(u"SELECT \"Nome\" FROM \"Sócios\" ORDER BY \"Número\""_s),
             nomes + QStringList{u"Só"_s});
    QCOMPARE(
        Coluna(u"SELECT \"Localidade\" || '|' || \"CPostal\" || '|' || "
               u"coalesce(\"NIF\", 'nulo') FROM \"Sócios\" WHERE \"Número\" IN (900, 905, 999) "
               u"ORDER BY \"Número\""_s),
        (QStringList{u"Vila \"Nova\" \\ {x}|4700|nulo"_s, u"Vila \"Nova\" \\ {x}|4700|nulo"_s,
                     u"Aldeia|4800|1"_s}));
  }
};

QTEST_GUILESS_MAIN(TestConjuntoRegistos)
#include "TestConjuntoRegistos.moc"
