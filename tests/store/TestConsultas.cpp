#include "Dados.h"
#include "FicheiroTeste.h"
#include "LerFicheiro.h"
#include "OrdemNomes.h"

#include <QFile>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// Set queries, the statement cache, read transactions, the member recordset guard and the
// Portuguese order of names.
class TestConsultas : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  static void Sócio(int número, const QString &nome, const QString &observações = {}) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Observações\") "
                      u"VALUES (?, ?, ?)"_s,
                      {número, nome, observações}, u"teste"_s);
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // The same SQL text run again inside its own loop gets a statement of its own; values are
  // bound, so a quote in a name is data.
  void instrucoesReutilizadasEAninhadas() {
    for (int n = 1; n <= 3; ++n)
      Sócio(n, n == 2 ? u"O'Neill \"Jr\""_s : u"Sócio "_s + QString::number(n));
    const QString sql = u"SELECT \"Número\", \"Nome\" FROM \"Sócios\" WHERE \"Número\" >= ? "
                        u"ORDER BY \"Número\""_s;
    QStringList pares;
    Dados().bd.Percorrer(sql, {1}, u"teste"_s, [&](const Instrução &a) {
      Dados().bd.Percorrer(sql, {a.Inteiro(0)}, u"teste"_s, [&](const Instrução &b) {
        pares << QString::number(a.Inteiro(0)) + u'-' + QString::number(b.Inteiro(0));
      });
    });
    QCOMPARE(pares, (QStringList{u"1-1"_s, u"1-2"_s, u"1-3"_s, u"2-2"_s, u"2-3"_s, u"3-3"_s}));
    Instrução i = Dados().bd.Correr(u"SELECT \"Nome\" FROM \"Sócios\" WHERE \"Nome\" = ?"_s,
                                    {u"O'Neill \"Jr\""_s}, u"teste"_s);
    QVERIFY(i.Seguinte());
    QVERIFY(!i.Seguinte());
  }

  // A write inside a read is committed for real when confirmed (another program sees it at
  // once), and rolled back whole when not; the read goes on afterwards.
  void escritaDentroDeUmaLeitura() {
    BaseDados::Leitura leitura(Dados().bd);
    {
      BaseDados::Transacção t(Dados().bd);
      Sócio(1, u"Confirmado"_s);
      t.Confirmar();
    }
    QCOMPARE(Coluna(u"SELECT Nome FROM Sócios"_s), QStringList{u"Confirmado"_s});
    {
      BaseDados::Transacção t(Dados().bd);
      Sócio(2, u"Desfeito"_s);
    }
    QCOMPARE(Coluna(u"SELECT count(*) FROM Sócios"_s), QStringList{u"1"_s});
    Dados().sócios->Reexecutar();
    QCOMPARE(Dados().sócios->NúmeroRegistos(), qint64(1));
  }

  // A damaged page met while stepping through the rows is the "damaged" error, never a
  // silently short list.
  void paginaDanificadaAMeioDaLista() {
    const QString longa(400, u'x');
    {
      BaseDados::Transacção t(Dados().bd);
      for (int n = 1; n <= 2000; ++n)
        Sócio(n, u"Sócio"_s, longa);
      t.Confirmar();
    }
    FecharDados();
    QFile f(NomeFicheiroDados);
    QVERIFY(f.open(QIODevice::ReadWrite));
    const QByteArray tudo = f.readAll();
    const int página = (uchar(tudo[16]) << 8) | uchar(tudo[17]);
    QList<qint64> folhas; // pages of table rows (type 13)
    for (qint64 p = 1; p * página < tudo.size(); ++p)
      if (tudo[p * página] == char(13))
        folhas << p * página;
    QVERIFY(folhas.size() > 100);
    f.seek(folhas[folhas.size() / 2]);
    f.write(QByteArray(64, char(0xff)));
    f.close();

    AbrirDados(NomeFicheiroDados);
    int lidas = 0;
    try {
      Dados().bd.Percorrer(u"SELECT \"Número\", \"Observações\" FROM \"Sócios\""_s, {},
                           u"Listar os sócios"_s, [&](const Instrução &) { ++lidas; });
      QFAIL("a lista acabou sem erro");
    } catch (const ErroBaseDados &e) {
      QCOMPARE(e.Causa(), CausaErro::Danificado);
    }
    QVERIFY(lidas > 0); // the failure came while stepping, after the first rows
  }

  // Whatever happens while a window has the member recordset on its own selection, it is
  // back on all members in number order afterwards.
  void guardaRepoeTodosOsSocios() {
    for (int n : {30, 10, 20})
      Sócio(n, u"Sócio "_s + QString::number(n));
    Dados().sócios->Reexecutar();
    try {
      SóciosSeleccionados selecção(
          Consulta{u"Sócios"_s, Critério::MaiorOuIgual(u"Número"_s, 20), {{u"Nome"_s, true}}});
      QCOMPARE(Dados().sócios->NúmeroRegistos(), qint64(2));
      QCOMPARE(Dados().sócios->Inteiro(u"Número"), qint64(30));
      throw ErroBaseDados(CausaErro::DiscoCheio, u"teste"_s, {});
    } catch (const ErroBaseDados &) {
    }
    ConjuntoRegistos &s = *Dados().sócios;
    QCOMPARE(s.NúmeroRegistos(), qint64(3));
    QStringList ordem;
    for (s.MoverPrimeiro(); !s.FimFicheiro(); s.MoverSeguinte())
      ordem << s.Texto(u"Número");
    QCOMPARE(ordem, (QStringList{u"10"_s, u"20"_s, u"30"_s}));
  }

  // Names as a Portuguese reader orders them; byte order would put the accented capitals
  // after "Zé" and outside "A".."ZZ".
  void ordemPortuguesaDosNomes() {
    std::vector<QString> nomes{u"Zé"_s,     u"Úrsula"_s, u"Bruno"_s,  u"Álvaro"_s, u"Óscar"_s,
                               u"álvaro"_s, u"Ângela"_s, u"Alvaro"_s, u"ZZZ"_s,    u"Ana"_s};
    OrdenarPorNome(nomes, [](const QString &n) { return n; });
    QCOMPARE(QStringList(nomes.begin(), nomes.end()),
             (QStringList{u"Alvaro"_s, u"álvaro"_s, u"Álvaro"_s, u"Ana"_s, u"Ângela"_s, u"Bruno"_s,
                          u"Óscar"_s, u"Úrsula"_s, u"Zé"_s, u"ZZZ"_s}));
    const OrdemPortuguesa ordem;
    QStringList dentro;
    for (const QString &n : nomes)
      if (ordem.Entre(n, u"A"_s, u"ZZ"_s))
        dentro << n;
    QCOMPARE(dentro.size(), 9); // all but "ZZZ"
    QVERIFY(!dentro.contains(u"ZZZ"_s));
    OrdenarPorNome(
        nomes, [](const QString &n) { return n; }, true);
    QCOMPARE(nomes.front(), u"ZZZ"_s);
    QCOMPARE(nomes.back(), u"Alvaro"_s);
  }
};

QTEST_GUILESS_MAIN(TestConsultas)
#include "TestConsultas.moc"
