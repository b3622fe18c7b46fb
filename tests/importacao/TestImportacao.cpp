#include "Dados.h"
#include "FicheiroTeste.h"
#include "Importacao.h"
#include "LerFicheiro.h"
#include "Referencias.h"

#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// Files as spreadsheets write them, read, checked and written, and read back.
class TestImportacao : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  static ResultadoImportação Importar(const QByteArray &bytes, bool acrescentar = true) {
    return ImportarFicheiroSócios(Dados().bd, *Dados().sócios, *Dados().tabelas, bytes, Listas(),
                                  acrescentar);
  }
  static void Sql(const QString &sql) { Dados().bd.Executar(sql, {}, u"teste"_s); }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // The first record of each file after its header, its line number, and whether the file was
  // read as Windows-1252.
  void lerFicheiro() {
    const QString álvaro = u"1|Álvaro Conceição|Rua A €"_s;
    const QList<std::tuple<QByteArray, QString, int, bool>> casos = {
        // UTF-8 with its byte order mark, and Windows-1252
        {"\xEF\xBB\xBF" + u"Nº;Nome;Morada\r\n1;Álvaro Conceição;Rua A €\r\n"_s.toUtf8(), álvaro, 2,
         false},
        {"N\xBA;Nome;Morada\r\n1;\xC1lvaro Concei\xE7\xE3o;Rua A \x80\r\n", álvaro, 2, true},
        // Commas, doubled quotes
        {"N\xC2\xBA,Nome,Morada\n1,\"Silva, Ana\",\"Rua \"\"Nova\"\"; 2\"\n",
         u"1|Silva, Ana|Rua \"Nova\"; 2"_s, 2, false},
        // A semicolon and a line break inside quotes, after a blank line
        {"N\xC2\xBA;Nome;Morada\n;;\n1;\"Ana; Maria\";\"Rua A\r\nBloco 2\"\n",
         u"1|Ana; Maria|Rua A\nBloco 2"_s, 3, false},
    };
    for (const auto &[bytes, registo, linha, windows1252] : casos) {
      const TabelaCsv t = LerCsv(bytes);
      QCOMPARE(t.cabeçalho, (QStringList{u"Nº"_s, u"Nome"_s, u"Morada"_s}));
      QCOMPARE(t.linhas[0].join(u'|'), registo);
      QCOMPARE(t.númerosLinha[0], linha);
      QCOMPARE(t.windows1252, windows1252);
    }
  }

  // Each faulty line is refused with its line number and what is wrong, quoted; nothing is
  // written. Number and amount at their edges: refused here, or accepted with the value stored.
  void linhasRecusadas() {
    Sql(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (7, 'Guardado')"_s);
    const std::pair<QByteArray, QString> recusadas[] = {
        {"7;Bruno;;;;", u"7"_s},
        {"1;Carla;;;;", u"linha 2"_s},
        {"x;Diana;;;;", u"«x»"_s},
        {"1000000;Rita;;;;", u"«1000000» não é um número"_s},
        {"0;Rosa;;;;", u"«0» não é um número"_s},
        {"2;  ;;;;", u"nome"_s},
        {"3;Eva;31-02-2001;;;", u"31-02-2001"_s},
        {"11;Futura;15-09-2096;;;", u"posterior a hoje"_s},
        {"12;Antiga;15/09/1850;;;", u"anterior a 1900"_s},
        {"4;Rui;;doze;;", u"«doze»"_s},
        {"10;Olga;;-1.000.000,00;;", u"«-1.000.000,00»"_s},
        {"13;Meio;;12,505;;", u"«12,505» tem mais de duas casas"_s},
        {"14;Lia;;1234.567;;", u"«1234.567» não é uma quantia"_s},
        {"15;Ivone;;1234.567,50;;", u"«1234.567,50» não é uma quantia"_s},
        {"5;" + QByteArray(46, 'N') + ";;;;", u"46"_s},
        {"6;Z\xC3\xA9;;;1234567890123;", u"13"_s},
        {"8;Ivo;;;", u"5 campos"_s},
        {"9;\"Ana;Rua", u"aspas"_s}};
    QByteArray csv = "N\xC3\xBAmero;Nome;Data de Inscri\xC3\xA7\xC3\xA3o;Quota;NIF;Localidade\n"
                     "1;Ana;15-09-1996;12,50 \xE2\x82\xAC;;Lisboa\n";
    for (const auto &[linha, motivo] : recusadas)
      csv += linha + '\n';
    const ResultadoImportação r = Importar(csv);
    QCOMPARE(r.verificação.recusas.size(), std::size(recusadas));
    for (size_t i = 0; i < std::size(recusadas); ++i) {
      const Recusa &x = r.verificação.recusas[i];
      QCOMPARE(x.linha, int(i) + 3);
      QVERIFY2(x.motivo.contains(recusadas[i].second), qPrintable(x.motivo));
    }
    QCOMPARE(r.gravados, 0);
    QCOMPARE(Coluna(u"SELECT \"Número\" FROM \"Sócios\""_s), QStringList{u"7"_s});
    // The accepted edges: a point with two decimals or fewer is the decimal mark, with three
    // it groups thousands.
    Sql(u"DELETE FROM \"Sócios\""_s);
    const QByteArray aceites = "N\xC3\xBAmero;Nome;Quota\n999999;Ana;\n1;Ana;12.50\n2;Ana;12.5\n"
                               "3;Ana;123.456\n4;Ana;1.234.567\n5;Ana;12,50\n6;Ana;12.505\n";
    QCOMPARE(Importar(aceites).gravados, 7);
    QCOMPARE(Coluna(u"SELECT \"ValQuotaEuro\" FROM \"Sócios\" ORDER BY \"Número\""_s),
             (QStringList{u"125000"_s, u"125000"_s, u"1234560000"_s, u"12345670000"_s,
                          u"125000"_s, u"125050000"_s, u"0"_s}));
  }

  void importacaoLidaDoFicheiro() {
    const qint64 efectivo = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    RecarregarListas();
    const QByteArray csv =
        u"N.º Sócio;Nome;Morada;Localidade;Código Postal;Situação;Tipo de Quota;"
        u"Data de Inscrição;Valor da Quota;Contribuinte;Observações\r\n"
        u"10;  Álvaro   Conceição ;Rua das Flores, 3;Lisboa;1000-001 LISBOA;"
        u"EFECTIVO;Mensal;15/09/1996;1.234,50;123456789;\"Paga em\r\ndinheiro\"\r\n"
        u"11;Beatriz;;;1000-001 lisboa;Efectivo;;1996-09-15 00:00:00;12.5;;\r\n"
        u"12;Car\x01los;;\x02 Porto;;;;;12,50 €;123456780;\"nota\0 um\tdois\"\r\n"_s.toUtf8();
    // Declining the new reference texts imports nothing.
    QCOMPARE(Importar(csv, false).gravados, 0);

    const ResultadoImportação r = Importar(csv);
    QCOMPARE(r.gravados, 3);
    // A NIF failing its check digit is imported, and shown as a warning.
    QCOMPARE(r.verificação.avisos.size(), size_t(1));
    QCOMPARE(r.verificação.avisos[0].linha, 5);
    QVERIFY(r.verificação.avisos[0].motivo.contains(u"123456780"_s));
    // "EFECTIVO" and "1000-001 lisboa" are rows already there.
    QCOMPARE(Coluna(u"SELECT \"Tipo\" || \"Designação\" FROM \"Tabelas\" ORDER BY \"Código\""_s),
             (QStringList{u"SEfectivo"_s, u"C1000-001 LISBOA"_s, u"TMensal"_s}));
    const QStringList códigos = Coluna(u"SELECT \"Código\" FROM \"Tabelas\" ORDER BY \"Código\""_s);
    const qint64 cp = códigos[1].toLongLong(), mensal = códigos[2].toLongLong();
    const auto sócios =
        Consultar(u"SELECT \"Número\", \"Nome\", \"Rua\", \"Localidade\", \"CPostal\", \"Situação\", \"TipoQuota\", \"Inscrição\", "
                  u"\"ValQuotaEuro\", \"NIF\", \"Observações\" FROM \"Sócios\" ORDER BY \"Número\""_s);
    QCOMPARE(sócios.size(), 3);
    QCOMPARE(sócios[0], (QVariantList{10, u"Álvaro Conceição"_s, u"Rua das Flores, 3 "_s,
                                      u"Lisboa "_s, cp, efectivo, mensal, u"19960915"_s, 12345000,
                                      u"123456789"_s, u"Paga em\ndinheiro "_s}));
    QCOMPARE(sócios[1].mid(4, 5), (QVariantList{cp, efectivo, 0, u"19960915"_s, 125000}));
    QCOMPARE(sócios[2].mid(4, 5), (QVariantList{0, 0, 0, u""_s, 125000}));
    // Control characters never reach the file; a remark keeps its tab.
    QCOMPARE(sócios[2][1], QVariant(u"Carlos"_s));
    QCOMPARE(sócios[2][3], QVariant(u"Porto "_s));
    QCOMPARE(sócios[2][10], QVariant(u"nota um\tdois "_s));
    // The shared recordset sees them.
    QCOMPARE(Dados().sócios->NúmeroRegistos(), qint64(3));
  }

  // The reference rows and the members are one transaction: a failure among the members
  // leaves neither behind.
  void falhaDoMotorNaoDeixaNada() {
    const QByteArray csv = "N\xC2\xBA;Nome;Situa\xC3\xA7\xC3\xA3o\n20;Ana;Nova\n21;Rui;Nova\n";
    const TabelaCsv t = LerCsv(csv);
    const Verificação v =
        VerificarLinhas(Dados().bd, t, AdivinharMapeamento(t.cabeçalho), Listas());
    QCOMPARE(v.novas.situações, QStringList{u"Nova"_s});
    Sql(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (21, 'Entretanto')"_s);
    QVERIFY_THROWS_EXCEPTION(ErroBaseDados, GravarImportação(Dados().bd, *Dados().sócios,
                                                             *Dados().tabelas, v, Listas()));
    QCOMPARE(Coluna(u"SELECT \"Nome\" FROM \"Sócios\""_s), QStringList{u"Entretanto"_s});
    QCOMPARE(Coluna(u"SELECT count(*) FROM \"Tabelas\""_s), QStringList{u"0"_s});
  }
};

QTEST_GUILESS_MAIN(TestImportacao)
#include "TestImportacao.moc"
