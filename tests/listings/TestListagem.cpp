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
    using O = OrdemListagem;
    const auto e = [](O ordem, bool ascDesc = false, bool subAlfabética = false) {
      EscolhaListagem r;
      r.ordem = ordem;
      r.ascDesc = ascDesc;
      r.subOrdemAlfabética = subAlfabética;
      return r;
    };
    auto de3a5 = e(O::Numérica), deBaC = e(O::Alfabética), apóstrofo = e(O::Alfabética),
         aspas = e(O::Alfabética), cPostal = e(O::CódigoPostal),
         situação = e(O::Situação, false, true), tipo = e(O::TipoQuota);
    de3a5.númeroDe = 3;
    de3a5.númeroAté = 5;
    deBaC.nomeDe = u"B"_s;
    deBaC.nomeAté = u"C"_s;
    apóstrofo.nomeDe = apóstrofo.nomeAté = u"O'Neill"_s;
    aspas.nomeDe = u"Ana \"N"_s;
    aspas.nomeAté = u"Ana \"Nita\" Silva"_s;
    cPostal.cPostal = 1;
    situação.situação = 4;
    tipo.tipoQuota = 6;
    tipo.situação = 3; // the code of the chosen order selects; the others are not looked at

    QTest::newRow("números de 3 a 5") << de3a5 << QList<qint64>{3, 4, 5};
    // ORDER BY número, nome DESC: the reversal falls on the names, and numbers are unique.
    QTest::newRow("numérica, Asce/Desc com secundária alfabética")
        << e(O::Numérica, true, true) << QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    // Accented capitals and small letters sort beside their plain letters, in the range.
    QTest::newRow("alfabética A..ZZ")
        << e(O::Alfabética) << QList<qint64>{4, 3, 2, 7, 8, 1, 11, 12, 6, 9, 10, 5};
    QTest::newRow("alfabética, Asce/Desc com secundária alfabética")
        << e(O::Alfabética, true, true) << QList<qint64>{5, 10, 9, 6, 12, 1, 11, 8, 7, 2, 3, 4};
    QTest::newRow("nomes de B a C") << deBaC << QList<qint64>{1, 11};
    QTest::newRow("nome com apóstrofo") << apóstrofo << QList<qint64>{6};
    QTest::newRow("nome com aspas") << aspas << QList<qint64>{7};
    // No date and an empty date are one group, by name descending.
    QTest::newRow("data de inscrição, Asce/Desc com secundária alfabética")
        << e(O::DataInscrição, true, true) << QList<qint64>{10, 12, 2, 5, 3, 1, 11, 4, 9, 8, 7, 6};
    QTest::newRow("um código postal") << cPostal << QList<qint64>{1, 4, 7, 10};
    QTest::newRow("uma situação, secundária alfabética") << situação << QList<qint64>{3, 7, 9, 5};
    QTest::newRow("um tipo de quota") << tipo << QList<qint64>{2, 5, 7, 10};
  }

  void selecaoEOrdem() {
    QFETCH(EscolhaListagem, escolha);
    QFETCH(QList<qint64>, números);
    QList<qint64> vistos;
    for (const SócioListado &s : LinhasListagem(Dados().bd, escolha))
      vistos << s.número;
    QCOMPARE(vistos, números);
  }

  void celulasDaGrelha() {
    const std::vector<SócioListado> sócios = LinhasListagem(Dados().bd, EscolhaListagem());
    QCOMPARE(sócios.size(), size_t(12));
    QCOMPARE(sócios[0].Células(),
             (QStringList{u"1"_s, u"Bruno Costa"_s, u"15-09-1996"_s, u"Rua das Flores 12"_s,
                          u"Porto"_s, u"4000-001 Porto"_s}));
    // A postal code without its row, and no enrolment date.
    QCOMPARE(sócios[1].Células(),
             (QStringList{u"2"_s, u"Álvaro Dias"_s, u"--"_s, QString(), QString(), QString()}));
    // Nothing set at all.
    QCOMPARE(sócios[11].Células(),
             (QStringList{u"12"_s, u"Maria Nula"_s, u"--"_s, QString(), QString(), QString()}));
    QVERIFY(sócios[11].situação.isEmpty() && sócios[11].tipoQuota.isEmpty());
  }
};

QTEST_MAIN(TestListagem)
#include "TestListagem.moc"
