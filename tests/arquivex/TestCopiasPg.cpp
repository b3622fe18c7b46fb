#include "BaseDados.h"
#include "CopiaDados.h"
#include "Copias.h"
#include "LerFicheiro.h"
#include "PastaTeste.h"
#include "ServidorPg.h"

#include <QSqlDatabase>
#include <QSysInfo>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A Quotas.Dad with `sócios` members, their dues of 2025 and two reference rows; `quota` is
// the money of the last dues row.
void Povoar(const QString &ficheiro, int sócios, const QVariant &quota = qint64(125000)) {
  BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  for (const QString &d : {u"Colectividade"_s, u"Normal"_s})
    bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES ('T', ?)"_s, {d},
              u"teste"_s);
  for (int n = 1; n <= sócios; ++n) {
    bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s,
              {n, u"Sócia nº "_s + QString::number(n)}, u"teste"_s);
    for (int mês = 1; mês <= 12; ++mês)
      bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, ?)"_s,
                {u"%1%2"_s.arg(n, 6, 10, QChar(u'0')).arg(202500 + mês),
                 n == sócios && mês == 12 ? quota : QVariant(qint64(125000)), n * 100 + mês},
                u"teste"_s);
  }
  t.Confirmar();
}

// Every row of the three tables of a file, in key order, each marked with its table.
QList<QVariantList> Linhas(const QString &ficheiro) {
  QList<QVariantList> r;
  for (const QString &sql : {u"SELECT 'T', * FROM Tabelas ORDER BY Código"_s,
                             u"SELECT 'S', * FROM Sócios ORDER BY Número"_s,
                             u"SELECT 'Q', * FROM Quotizações ORDER BY SócMês"_s})
    r += Consultar(sql, ficheiro);
  return r;
}

// The server's rows, as a backup of them holds them.
QList<QVariantList> LinhasServidor(const QString &ligação) {
  const QString pasta = u"leitura"_s;
  const ResultadoSegurança r = EfectuarSegurançaServidor(ligação, pasta);
  if (!r.ok)
    qWarning("%s", qPrintable(r.erro));
  const QList<QVariantList> linhas = Linhas(r.cópia);
  QFile::remove(r.cópia);
  return linhas;
}

// A connection to the server that stays open while the object lives, named as `nome`.
class Posto {
public:
  Posto(const QString &base, const QString &nome) : ligação(u"posto-"_s + nome) {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, ligação);
    db.setConnectOptions(base + u" application_name='"_s + nome + u'\'');
    if (!db.open())
      qWarning("%s", qPrintable(db.lastError().text()));
  }
  ~Posto() {
    QSqlDatabase::database(ligação, false).close();
    QSqlDatabase::removeDatabase(ligação);
  }

private:
  QString ligação;
};

} // namespace

// The backup tool on a database on a PostgreSQL server.
class TestCopiasPg : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    EXIGIR_SERVIDOR_PG();
    BaseDados::DefinirNomePrograma(u"Arquivex"_s);
  }

  // The backup is a file of the Quotas.Dad format with every row of the server, checked and
  // named as the copies of a file; a server that cannot be reached leaves nothing behind.
  void segurancaDoServidor() {
    PastaTeste pasta;
    Povoar(u"Quotas.Dad"_s, 4);
    BaseServidorTeste servidor;
    CopiarFicheiroParaServidor(u"Quotas.Dad"_s, servidor.Ligação());
    const ResultadoSegurança r = EfectuarSegurançaServidor(servidor.Ligação(), u"Seguranças"_s);
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(r.sócios, 4);
    QVERIFY2(QFileInfo(r.cópia).fileName().startsWith(u"Quotas 2"_s), qPrintable(r.cópia));
    QVERIFY(VerificarFicheiro(r.cópia).Boa());
    QCOMPARE(Linhas(r.cópia), Linhas(u"Quotas.Dad"_s));
    QCOMPARE(QDir(u"Seguranças"_s).entryList(QDir::Files),
             QStringList{QFileInfo(r.cópia).fileName()});

    const ResultadoSegurança falha =
        EfectuarSegurançaServidor(u"dbname=agremia_base_que_nao_existe"_s, u"Outras"_s);
    QVERIFY(!falha.ok);
    QVERIFY2(falha.erro.contains(u"Nenhuma cópia foi feita"_s), qPrintable(falha.erro));
    QCOMPARE(QDir(u"Outras"_s).entryList(QDir::Files), QStringList());
  }

  // A restore replaces every row of the server, keeping the former ones in a checked file; it
  // is refused while another desk of the program is connected (named in the message), and a
  // copy that is unsound or stops half-way leaves the server's rows as they were.
  void reposicaoNoServidor_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("erro"); // empty when the restore goes through
    QTest::newRow("sem outros postos") << u"sem postos"_s << QString();
    QTest::newRow("outro posto ligado")
        << u"posto"_s
        << u"Outro posto está ligado à base de dados: «Agremia (posto-2)».\nFeche o programa "_s
           u"nesses postos e tente de novo: a cópia não foi reposta."_s;
    QTest::newRow("cópia danificada") << u"danificada"_s << u"não é uma base de dados"_s;
    QTest::newRow("recusada a meio") << u"recusada"_s << u"ficou como estava"_s;
  }
  void reposicaoNoServidor() {
    QFETCH(QString, caso);
    QFETCH(QString, erro);
    PastaTeste pasta;
    Povoar(u"Actual.Dad"_s, 3);
    Povoar(u"Cópia.Dad"_s, 5, caso == u"recusada"_s ? QVariant(0.5) : QVariant(qint64(99)));
    if (caso == u"danificada"_s) {
      QFile f(u"Cópia.Dad"_s);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("não é uma cópia");
    }
    BaseServidorTeste servidor;
    CopiarFicheiroParaServidor(u"Actual.Dad"_s, servidor.Ligação());
    const QList<QVariantList> antes = LinhasServidor(servidor.Ligação());
    QCOMPARE(antes, Linhas(u"Actual.Dad"_s));

    // A connection that is not the program's, which never counts.
    Posto outroPrograma(servidor.Ligação(), u"psql"_s);
    std::optional<Posto> posto;
    if (caso == u"posto"_s)
      posto.emplace(servidor.Ligação(), u"Agremia (posto-2)"_s);
    const ResultadoReposição r =
        ReporCópiaServidor(u"Cópia.Dad"_s, servidor.Ligação(), u"Seguranças"_s);
    posto.reset();
    if (erro.isEmpty()) {
      QVERIFY2(r.ok, qPrintable(r.erro));
      QCOMPARE(r.sócios, 5);
      QCOMPARE(LinhasServidor(servidor.Ligação()), Linhas(u"Cópia.Dad"_s));
      QCOMPARE(Linhas(r.salvaguarda), antes);
      QVERIFY(QFileInfo(r.salvaguarda).fileName().startsWith(u"Quotas antes da reposição "_s));
      return;
    }
    QVERIFY(!r.ok);
    QVERIFY2(r.erro.contains(erro), qPrintable(r.erro));
    QCOMPARE(LinhasServidor(servidor.Ligação()), antes);
  }
};

QTEST_GUILESS_MAIN(TestCopiasPg)
#include "TestCopiasPg.moc"
