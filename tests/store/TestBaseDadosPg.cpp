#include "BaseDados.h"
#include "ServidorPg.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace Qt::StringLiterals;

// The store on a PostgreSQL server: a database of its own for each test.
class TestBaseDadosPg : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { EXIGIR_SERVIDOR_PG(); }

  // Each test gets an empty database of its own, in UTF-8, which accented quoted names need.
  void baseDeTesteVaziaEmUtf8() {
    BaseServidorTeste servidor;
    QVERIFY(servidor.Executar({u"CREATE TABLE \"Sócios\" (\"Número\" integer)"_s}));
    bool lido = false;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, u"ler"_s);
      db.setConnectOptions(servidor.Ligação());
      QVERIFY2(db.open(), qPrintable(db.lastError().text()));
      QSqlQuery q(db);
      QVERIFY(q.exec(u"SELECT current_database(), pg_encoding_to_char(encoding), "
                     u"(SELECT string_agg(table_name, ',') FROM information_schema.tables "
                     u"WHERE table_schema = current_schema()) "
                     u"FROM pg_database WHERE datname = current_database()"_s));
      QVERIFY(q.next());
      QCOMPARE(q.value(0).toString(), servidor.Nome());
      QCOMPARE(q.value(1).toString(), u"UTF8"_s);
      QCOMPARE(q.value(2).toString(), u"Sócios"_s);
      lido = true;
    }
    QSqlDatabase::removeDatabase(u"ler"_s);
    QVERIFY(lido);
  }
};

QTEST_GUILESS_MAIN(TestBaseDadosPg)
#include "TestBaseDadosPg.moc"
