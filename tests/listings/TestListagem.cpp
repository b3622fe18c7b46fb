#include "FicheiroTeste.h"
#include "ListagemSocios.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(EscolhaListagem)

// The selection and order of the member list, on a file whose names begin with accented
// capitals, small letters, an apostrophe and a double quote, with a postal code that has no
// reference row and a member whose codes and date were never set.
class TestListagem : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  static void Sócio(int número, const QString &nome, const QString &inscrição, qint64 cp,
                    qint64 situação, qint64 tipo, const QString &rua = {},
                    const QString &localidade = {}) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Inscrição\", "
                      u"\"CPostal\", \"Situação\", \"TipoQuota\", \"Rua\", \"Localidade\") "
                      u"VALUES (?, ?, ?, ?, ?, ?, ?, ?)"_s,
                      {número, nome, inscrição, cp, situação, tipo, rua, localidade}, u"teste"_s);
  }

  static QList<qint64> Números(const std::vector<SócioListado> &sócios) {
    QList<qint64> r;
    for (const SócioListado &s : sócios)
      r << s.número;
    return r;
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    // Codes 1 to 6, in this order.
    const qint64 cp1 = FicheiroTeste::Referência(u"C"_s, u"4000-001 Porto"_s);
    const qint64 cp2 = FicheiroTeste::Referência(u"C"_s, u"1000-001 Lisboa"_s);
    const qint64 s1 = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    const qint64 s2 = FicheiroTeste::Referência(u"S"_s, u"Suspenso"_s);
    const qint64 t1 = FicheiroTeste::Referência(u"T"_s, u"Mensal"_s);
    const qint64 t2 = FicheiroTeste::Referência(u"T"_s, u"Anual"_s);
    QCOMPARE(t2, qint64(6));
    BaseDados::Transacção t(Dados().bd);
    // The member save appends a blank to the street and locality.
    Sócio(1, u"Bruno Costa"_s, u"19960915"_s, cp1, s1, t1, u"Rua das Flores 12 "_s, u"Porto "_s);
    Sócio(2, u"Álvaro Dias"_s, u""_s, 9999, s1, t2);
    Sócio(3, u"álvaro Dias"_s, u"19950101"_s, cp2, s2, t1);
    Sócio(4, u"Alvaro Dias"_s, u"19970101"_s, cp1, s1, t1);
    Sócio(5, u"Zé Maria"_s, u"19950101"_s, 0, s2, t2);
    Sócio(6, u"O'Neill"_s, u"20000101"_s, cp2, s1, t1);
    Sócio(7, u"Ana \"Nita\" Silva"_s, u"19990101"_s, cp1, s2, t2);
    Sócio(8, u"Ângela Sousa"_s, u"19980505"_s, 0, s1, t1);
    Sócio(9, u"Óscar Reis"_s, u"19980505"_s, cp2, s2, t1);
    Sócio(10, u"Úrsula Lopes"_s, u""_s, cp1, s1, t2);
    Sócio(11, u"Bruno Costa"_s, u"19960915"_s, 0, s1, t1);
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (12, 'Maria Nula')"_s,
                      {}, u"teste"_s);
    t.Confirmar();
  }
  void cleanup() { ficheiro.reset(); }

  void selecaoEOrdem_data() {
    QTest::addColumn<EscolhaListagem>("escolha");
    QTest::addColumn<QList<qint64>>("números");
    const auto escolha = [](OrdemListagem ordem, auto &&ajustar) {
      EscolhaListagem e;
      e.ordem = ordem;
      ajustar(e);
      return e;
    };
    const auto nada = [](EscolhaListagem &) {};

    QTest::newRow("valores iniciais: todos por número")
        << EscolhaListagem() << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    QTest::newRow("números de 3 a 5") << escolha(OrdemListagem::Numérica, [](auto &e) {
      e.númeroDe = 3;
      e.númeroAté = 5;
    }) << QList<qint64>{3, 4, 5};
    QTest::newRow("números trocados: nenhum") << escolha(OrdemListagem::Numérica, [](auto &e) {
      e.númeroDe = 9;
      e.númeroAté = 2;
    }) << QList<qint64>{};
    QTest::newRow("numérica, Asce/Desc")
        << escolha(OrdemListagem::Numérica, [](auto &e) { e.ascDesc = true; })
        << QList<qint64>{12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    // ORDER BY número, nome DESC: the reversal falls on the names, and numbers are unique.
    QTest::newRow("numérica, Asce/Desc com secundária alfabética")
        << escolha(OrdemListagem::Numérica,
                   [](auto &e) {
                     e.ascDesc = true;
                     e.subOrdemAlfabética = true;
                   })
        << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    // Accented capitals and small letters sort beside their plain letters, in the range.
    QTest::newRow("alfabética A..ZZ") << escolha(OrdemListagem::Alfabética, nada)
                                      << QList<qint64>{4, 3, 2, 7, 8, 1, 11, 12, 6, 9, 10, 5};
    // ORDER BY nome, número DESC: names ascending, the two Bruno Costa by number descending.
    QTest::newRow("alfabética, Asce/Desc com secundária numérica")
        << escolha(OrdemListagem::Alfabética, [](auto &e) { e.ascDesc = true; })
        << QList<qint64>{4, 3, 2, 7, 8, 11, 1, 12, 6, 9, 10, 5};
    QTest::newRow("alfabética, Asce/Desc com secundária alfabética")
        << escolha(OrdemListagem::Alfabética,
                   [](auto &e) {
                     e.ascDesc = true;
                     e.subOrdemAlfabética = true;
                   })
        << QList<qint64>{5, 10, 9, 6, 12, 1, 11, 8, 7, 2, 3, 4};
    QTest::newRow("nomes de B a C") << escolha(OrdemListagem::Alfabética, [](auto &e) {
      e.nomeDe = u"B"_s;
      e.nomeAté = u"C"_s;
    }) << QList<qint64>{1, 11};
    QTest::newRow("nome com apóstrofo")
        << escolha(OrdemListagem::Alfabética, [](auto &e) { e.nomeDe = e.nomeAté = u"O'Neill"_s; })
        << QList<qint64>{6};
    QTest::newRow("nome com aspas") << escolha(OrdemListagem::Alfabética, [](auto &e) {
      e.nomeDe = u"Ana \"N"_s;
      e.nomeAté = u"Ana \"Nita\" Silva"_s;
    }) << QList<qint64>{7};
    QTest::newRow("data de inscrição, números de 2 a 6") << escolha(OrdemListagem::DataInscrição,
                                                                    [](auto &e) {
                                                                      e.númeroDe = 2;
                                                                      e.númeroAté = 6;
                                                                    })
                                                         << QList<qint64>{2, 3, 5, 4, 6};
    // No date and an empty date are one group, by name descending.
    QTest::newRow("data de inscrição, Asce/Desc com secundária alfabética")
        << escolha(OrdemListagem::DataInscrição,
                   [](auto &e) {
                     e.ascDesc = true;
                     e.subOrdemAlfabética = true;
                   })
        << QList<qint64>{10, 12, 2, 5, 3, 1, 11, 4, 9, 8, 7, 6};
    QTest::newRow("código postal [Todos]: todos")
        << escolha(OrdemListagem::CódigoPostal, nada)
        << QList<qint64>{12, 5, 8, 11, 1, 4, 7, 10, 3, 6, 9, 2};
    QTest::newRow("um código postal")
        << escolha(OrdemListagem::CódigoPostal, [](auto &e) { e.cPostal = 1; })
        << QList<qint64>{1, 4, 7, 10};
    QTest::newRow("uma situação, secundária alfabética") << escolha(OrdemListagem::Situação,
                                                                    [](auto &e) {
                                                                      e.situação = 4;
                                                                      e.subOrdemAlfabética = true;
                                                                    })
                                                         << QList<qint64>{3, 7, 9, 5};
    QTest::newRow("tipo de quota [Todos], Asce/Desc")
        << escolha(OrdemListagem::TipoQuota, [](auto &e) { e.ascDesc = true; })
        << QList<qint64>{12, 11, 9, 8, 6, 4, 3, 1, 10, 7, 5, 2};
    // The code of the chosen order selects; the others are not looked at.
    QTest::newRow("um tipo de quota") << escolha(OrdemListagem::TipoQuota, [](auto &e) {
      e.tipoQuota = 6;
      e.situação = 3;
    }) << QList<qint64>{2, 5, 7, 10};
  }

  void selecaoEOrdem() {
    QFETCH(EscolhaListagem, escolha);
    QFETCH(QList<qint64>, números);
    QCOMPARE(Números(LinhasListagem(Dados().bd, escolha)), números);
  }

  void celulasDaGrelha() {
    const std::vector<SócioListado> sócios = LinhasListagem(Dados().bd, EscolhaListagem());
    QCOMPARE(sócios.size(), size_t(12));
    QCOMPARE(sócios[0].Células(),
             (QStringList{u"1"_s, u"Bruno Costa"_s, u"15-09-1996"_s, u"Rua das Flores 12"_s,
                          u"Porto"_s, u"4000-001 Porto"_s}));
    QCOMPARE(sócios[0].situação, u"Efectivo"_s);
    QCOMPARE(sócios[0].tipoQuota, u"Mensal"_s);
    // A postal code without its row, and no enrolment date.
    QCOMPARE(sócios[1].Células(),
             (QStringList{u"2"_s, u"Álvaro Dias"_s, u"--"_s, QString(), QString(), QString()}));
    QCOMPARE(sócios[6].nome, u"Ana \"Nita\" Silva"_s);
    // Nothing set at all.
    QCOMPARE(sócios[11].Células(),
             (QStringList{u"12"_s, u"Maria Nula"_s, u"--"_s, QString(), QString(), QString()}));
    QVERIFY(sócios[11].situação.isEmpty() && sócios[11].tipoQuota.isEmpty());
  }
};

QTEST_MAIN(TestListagem)
#include "TestListagem.moc"
