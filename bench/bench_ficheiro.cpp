// Builds a Quotas.Dad of 5,000 members with 240 dues rows each (1.2 million rows) in a
// temporary folder, then times what the treasurer does all day on the main window: opening
// the file, showing a member with its dues, and saving a member with all its dues.
//
//   QT_QPA_PLATFORM=offscreen bench_ficheiro [members] [dues per member]

#include "Base.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "Formato.h"
#include "Mensagens.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void Preencher(const QString &ficheiro, int sócios, int meses) {
  auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"enchimento"_s);
  db.setDatabaseName(ficheiro);
  db.open();
  {
    QSqlQuery q(db);
    q.exec(u"BEGIN"_s);
    QSqlQuery s(db), d(db);
    s.prepare(
        u"INSERT INTO \"Sócios\" VALUES (?, ?, 0, 0, 0, '20000101', 125000, 'Rua ', 'Terra ', ' ', '0')"_s);
    d.prepare(u"INSERT INTO \"Quotizações\" VALUES (?, 125000, ?)"_s);
    // Dues rows arrive month by month for all members, as years of use would write them.
    for (int n = 1; n <= sócios; ++n) {
      s.addBindValue(n);
      s.addBindValue(u"Sócio número "_s + QString::number(n));
      s.exec();
    }
    for (int m = 0; m < meses; ++m)
      for (int n = 1; n <= sócios; ++n) {
        d.addBindValue(ChaveSócMês(n, 2000 + m / 12, m % 12 + 1));
        d.addBindValue(m * sócios + n);
        d.exec();
      }
    q.exec(u"COMMIT"_s);
  }
  db.close();
  db = QSqlDatabase();
  QSqlDatabase::removeDatabase(u"enchimento"_s);
}

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  const int sócios = argc > 1 ? atoi(argv[1]) : 5000;
  const int meses = argc > 2 ? atoi(argv[2]) : 240;
  InstalarRespondedor([](const PedidoMensagem &p) {
    std::fprintf(stderr, "mensagem inesperada: %s\n", qPrintable(p.texto));
    return Resposta::OK;
  });

  QTemporaryDir pasta;
  const QString ficheiro = pasta.filePath(u"Quotas.Dad"_s);
  QElapsedTimer t;
  t.start();
  BaseDados::Criar(ficheiro);
  Preencher(ficheiro, sócios, meses);
  std::printf("ficheiro: %d sócios, %d quotas: criado em %.1f s\n", sócios, sócios * meses,
              t.elapsed() / 1000.0);

  t.restart();
  AbrirDados(ficheiro);
  Base base;
  std::printf("abrir o ficheiro e carregar a janela principal: %.1f ms\n", t.nsecsElapsed() / 1e6);

  auto *gerador = QRandomGenerator::global();
  constexpr int vezes = 50;
  t.restart();
  for (int i = 0; i < vezes; ++i) {
    qint32 n = qint32(gerador->bounded(1, sócios + 1));
    base.MostrarSócio(n);
  }
  std::printf("mostrar um sócio com as suas %d quotas: %.2f ms (média de %d)\n", meses,
              t.nsecsElapsed() / 1e6 / vezes, vezes);

  // A save writes the member row and every dues row on screen, then reads both recordsets again.
  constexpr int gravações = 10;
  double total = 0;
  for (int i = 0; i < gravações; ++i) {
    const qint32 n = qint32(gerador->bounded(1, sócios + 1));
    ListaOrdenada quotas;
    for (int m = 0; m < meses; ++m)
      quotas.Inserir(EntradaQuota(2000 + m / 12, m % 12 + 1, Moeda::DeCêntimos(1250 + i), m));
    FichaSócio f{QString::number(n), u"Sócio gravado"_s, 0,          0,  0,     u"01-01-2000"_s,
                 u"12,50"_s,         u"Rua"_s,           u"Terra"_s, {}, u"0"_s};
    t.restart();
    const auto r = GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações, f, n, quotas, {});
    total += t.nsecsElapsed() / 1e6;
    if (r.erro != ErroFicha::Nenhum)
      std::fprintf(stderr, "gravação recusada\n");
  }
  std::printf("gravar um sócio com as suas %d quotas: %.1f ms (média de %d)\n", meses,
              total / gravações, gravações);

  FecharDados();

  // How the engine runs the find of a member's next dues row: an index range, not a scan.
  {
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"plano"_s);
    db.setDatabaseName(ficheiro);
    db.open();
    QSqlQuery plano(db);
    plano.exec(u"EXPLAIN QUERY PLAN SELECT min(rowid) FROM \"Quotizações\" WHERE "
               u"(\"SócMês\" >= '000012' AND \"SócMês\" < '000013') AND +rowid > 5"_s);
    while (plano.next())
      std::printf("plano da procura das quotas de um sócio: %s\n",
                  qPrintable(plano.value(3).toString()));
    // Side by side: the same member's rows by index range and by LIKE, which SQLite cannot
    // run on the index.
    const auto medir = [&](const QString &sql) {
      QElapsedTimer m;
      m.start();
      for (int i = 0; i < 20; ++i) {
        QSqlQuery q(db);
        q.exec(sql);
        while (q.next()) {
        }
      }
      return m.nsecsElapsed() / 1e6 / 20;
    };
    const double intervalo = medir(
        u"SELECT rowid FROM \"Quotizações\" WHERE \"SócMês\" >= '002500' AND \"SócMês\" < '002501'"_s);
    const double like =
        medir(u"SELECT rowid FROM \"Quotizações\" WHERE \"SócMês\" LIKE '002500%'"_s);
    std::printf("quotas de um sócio: intervalo do índice %.3f ms, LIKE %.1f ms (%.0f vezes mais)\n",
                intervalo, like, like / intervalo);
    db.close();
  }
  QSqlDatabase::removeDatabase(u"plano"_s);
  return 0;
}
