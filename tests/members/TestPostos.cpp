#include "Base.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Respostas.h"
#include "ServidorPg.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A second computer on the same server database: its own connection and recordsets.
struct Posto {
  BaseDados bd;
  std::unique_ptr<ConjuntoRegistos> sócios, quotas;
  explicit Posto(const QString &ligação) {
    bd.AbrirServidor(ligação);
    sócios = std::make_unique<ConjuntoRegistos>(bd, TodosOsSócios());
    quotas = std::make_unique<ConjuntoRegistos>(bd, Consulta{u"Quotizações"_s});
  }
  std::optional<SócioGuardado> Ler(int número) { return LerSócio(bd, *sócios, número); }
  ResultadoGravação Gravar(const SócioGuardado &mostrado, const QString &nome,
                           const ListaOrdenada &quotasEcrã, const ListaOrdenada &eliminadas = {},
                           const SócioGuardado *base = nullptr) {
    return GravarFicha(bd, *sócios, *quotas, Ficha(mostrado.número, nome), mostrado.número,
                       quotasEcrã, eliminadas, base ? base : &mostrado);
  }
  static FichaSócio Ficha(int número, const QString &nome) {
    return {QString::number(número), nome, 0, 0, 0, u"01-01-2000"_s, u"12,50"_s, u"Rua A"_s,
            u"Porto"_s, {}, u"0"_s};
  }
};

ListaOrdenada Meses(int ano, int de, int até) {
  ListaOrdenada l;
  for (int m = de; m <= até; ++m)
    l.Inserir(EntradaQuota(ano, m, Moeda::DeCêntimos(1250), 100 + m));
  return l;
}

} // namespace

// Two desks on one server database: a save never writes over another desk's save, or over a
// deletion, without the user being told; the statements each action costs are few.
class TestPostos : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<RelógioFixo> relógio;

  static QStringList Guardado(int número) {
    return Coluna(u"SELECT \"Nome\" || '/' || count(q.\"SócMês\") FROM \"Sócios\" s LEFT JOIN "
                  u"\"Quotizações\" q ON q.\"SócMês\" LIKE lpad(s.\"Número\"::text, 6, '0') || '%' "
                  u"WHERE s.\"Número\" = "_s +
                  QString::number(número) + u" GROUP BY \"Nome\""_s);
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    relógio = std::make_unique<RelógioFixo>(QDateTime(QDate(2026, 5, 20), QTime(10, 30)));
    QCOMPARE(GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações,
                         Posto::Ficha(2, u"Bruno Costa"_s), 0, Meses(2026, 1, 2), {}).erro,
             ErroFicha::Nenhum);
  }
  void cleanup() {
    relógio.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // Both desks show member 2; B saves first. A's save is refused, naming what B changed, and
  // writes nothing; saved again once told, A's screen is what is stored.
  void gravacaoDoOutroPostoNuncaESubstituidaSemAviso() {
    Posto a(Dados().bd.Caminho()), b(Dados().bd.Caminho());
    const auto vistoA = a.Ler(2), vistoB = b.Ler(2);
    QVERIFY(vistoA && vistoB && !vistoA->versão.isEmpty());
    QCOMPARE(b.Gravar(*vistoB, u"Bruno Costa Silva"_s, Meses(2026, 1, 3)).erro, ErroFicha::Nenhum);

    const ResultadoGravação r = a.Gravar(*vistoA, u"Bruno Costa"_s, Meses(2026, 1, 4));
    QCOMPARE(r.erro, ErroFicha::AlteradoNoutroPosto);
    QCOMPARE(r.alterações, (QStringList{u"Nome"_s, u"quotas de Mar 2026"_s}));
    QCOMPARE(Guardado(2), QStringList{u"Bruno Costa Silva/3"_s});
    QVERIFY(r.actual && r.actual->nome == u"Bruno Costa Silva"_s);

    QCOMPARE(a.Gravar(*vistoA, u"Bruno Costa"_s, Meses(2026, 1, 4), {}, &*r.actual).erro,
             ErroFicha::Nenhum);
    QCOMPARE(Guardado(2), QStringList{u"Bruno Costa/4"_s});
    // B saved the very values A showed: the version moved, nothing else did.
    const auto c = a.Ler(2), d = b.Ler(2);
    QCOMPARE(b.Gravar(*d, d->nome, Meses(2026, 1, 4)).erro, ErroFicha::Nenhum);
    QCOMPARE(a.Gravar(*c, u"Bruno"_s, Meses(2026, 1, 5)).erro, ErroFicha::Nenhum);
    QCOMPARE(Guardado(2), QStringList{u"Bruno/5"_s});
  }

  // A member deleted on B while A edits it: A's save and A's deletion write nothing; B's
  // deletion of a member that A has saved since is refused too.
  void socioEliminadoNoutroPosto() {
    Posto a(Dados().bd.Caminho()), b(Dados().bd.Caminho());
    const auto vistoA = a.Ler(2), vistoB = b.Ler(2);
    QCOMPARE(EliminarRegistos(b.bd, *b.sócios, *b.quotas, 2, vistoB->versão), ErroFicha::Nenhum);
    QCOMPARE(a.Gravar(*vistoA, u"Bruno Costa"_s, Meses(2026, 1, 6)).erro,
             ErroFicha::EliminadoNoutroPosto);
    QCOMPARE(EliminarRegistos(a.bd, *a.sócios, *a.quotas, 2, vistoA->versão),
             ErroFicha::EliminadoNoutroPosto);
    QCOMPARE(Guardado(2), QStringList{});
    QCOMPARE(Coluna(u"SELECT count(*) FROM \"Quotizações\""_s), QStringList{u"0"_s});

    QCOMPARE(GravarFicha(a.bd, *a.sócios, *a.quotas, Posto::Ficha(2, u"Bruno"_s), 2,
                         Meses(2026, 1, 1), {}, nullptr).erro,
             ErroFicha::Nenhum); // kept editing after being told: made again
    const auto vistoB2 = b.Ler(2), vistoA2 = a.Ler(2);
    QCOMPARE(a.Gravar(*vistoA2, u"Bruno Sousa"_s, Meses(2026, 1, 1)).erro, ErroFicha::Nenhum);
    QCOMPARE(EliminarRegistos(b.bd, *b.sócios, *b.quotas, 2, vistoB2->versão),
             ErroFicha::AlteradoNoutroPosto);
    QCOMPARE(Guardado(2), QStringList{u"Bruno Sousa/1"_s});
  }

  // Desk A stands on a member that desk B deletes, adding others in the same commit: A's next
  // move goes to the member that follows now, one added just after it or at the end included.
  void seguinteDepoisDeEliminadoNoutroPosto() {
    Posto a(Dados().bd.Caminho()), b(Dados().bd.Caminho());
    const auto gravar = [&](const QString &sql) {
      BaseDados::Transacção t(b.bd);
      for (const QString &instrução : sql.split(u';'))
        b.bd.Correr(instrução, {}, u"Gravar"_s);
      t.Confirmar();
    };
    gravar(u"INSERT INTO \"Sócios\" (\"Número\") VALUES (5), (7)"_s);
    QTRY_COMPARE(a.sócios->NúmeroRegistos(), 3);
    for (const auto &[actual, novos, seguinte] :
         {std::tuple{2, u"(3), (8)"_s, 3}, std::tuple{8, u"(9), (10)"_s, 9}}) {
      QVERIFY(a.sócios->IrParaId(actual));
      const int antes = a.sócios->NúmeroRegistos();
      gravar(u"DELETE FROM \"Sócios\" WHERE \"Número\" = "_s + QString::number(actual) +
             u";INSERT INTO \"Sócios\" (\"Número\") VALUES "_s + novos);
      QTRY_COMPARE(a.sócios->NúmeroRegistos(), antes + 1);
      a.sócios->MoverSeguinte();
      QVERIFY(!a.sócios->FimFicheiro());
      QCOMPARE(a.sócios->Inteiro(u"Número"), seguinte);
    }
  }

  // Showing a member costs two round trips; saving 600 dues rows (some removed) at most five,
  // as many as saving one.
  void instrucoesPorAccao() {
    Posto a(Dados().bd.Caminho());
    a.Ler(2); // the member list is read once, on the first move
    quint64 antes = a.bd.InstruçõesEnviadas();
    const auto visto = a.Ler(2);
    QCOMPARE(a.bd.InstruçõesEnviadas() - antes, quint64(2));
    ListaOrdenada muitas;
    for (int ano = 1977; ano <= 2026; ++ano)
      for (int m = 1; m <= 12; ++m)
        muitas.Inserir(EntradaQuota(ano, m, Moeda::DeCêntimos(1250), ano * 100 + m));
    ListaOrdenada fora = Meses(2026, 1, 2);
    antes = a.bd.InstruçõesEnviadas();
    QCOMPARE(a.Gravar(*visto, u"Bruno Costa"_s, muitas, fora).erro, ErroFicha::Nenhum);
    QCOMPARE_LE(a.bd.InstruçõesEnviadas() - antes, quint64(5));
    QCOMPARE(Guardado(2), QStringList{u"Bruno Costa/600"_s});
  }

  // A desk's role with rights on the three tables alone (as the README shows how to make)
  // reads, saves and deletes members and adds reference rows.
  void papelComDireitosSoNasTresTabelas() {
    const QString papel = u"posto_"_s + QString::number(QRandomGenerator::global()->generate(), 16);
    const QString base = Dados().bd.Caminho();
    QVERIFY(ExecutarPg(base, {u"CREATE ROLE "_s + papel + u" LOGIN PASSWORD 'segredo'"_s,
                                    u"GRANT USAGE ON SCHEMA public TO "_s + papel,
                                    u"GRANT SELECT, INSERT, UPDATE, DELETE ON \"Tabelas\", "
                                    u"\"Sócios\", \"Quotizações\" TO "_s + papel,
                                    u"GRANT USAGE ON SEQUENCE \"Tabelas_Código_seq\" TO "_s + papel}));
    bool ok = true;
    {
      const QString ligação = base + u" user="_s + papel + u" password=segredo"_s;
      Posto p(ligação);
      const auto visto = p.Ler(2);
      ok = visto && p.Gravar(*visto, u"Bruno"_s, Meses(2026, 1, 3)).erro == ErroFicha::Nenhum;
      Instrução i = p.bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES "
                                u"('S', 'Efectivo') RETURNING \"Código\""_s,
                                {}, u"teste"_s);
      ok = ok && i.Seguinte() && i.Inteiro(0) > 0;
      ok = ok && EliminarRegistos(p.bd, *p.sócios, *p.quotas, 2, p.Ler(2)->versão) ==
                     ErroFicha::Nenhum;
      // Nothing beyond the three tables: the role cannot make a table of its own.
      ok = ok && !ExecutarPg(ligação, {u"CREATE TABLE outra (x integer)"_s});
    }
    ExecutarPg(base, {u"DROP OWNED BY "_s + papel, u"DROP ROLE "_s + papel});
    QVERIFY(ok);
    QCOMPARE(Guardado(2), QStringList{});
  }

  // On the member screen a save refused (another desk saved first, or the server is away) is
  // told and what was typed stays, through a move too; the next save, server back, writes it.
  void ecraDoSocioAvisaEGuardaOQueFoiEscrito() {
    const QString base = Dados().bd.Caminho().section(u'=', 1);
    const auto permitir = [&](bool sim) {
      QStringList sqls{u"ALTER DATABASE "_s + base + u" ALLOW_CONNECTIONS "_s +
                       (sim ? u"true"_s : u"false"_s)};
      if (!sim)
        sqls << u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '"_s +
                    base + u"'"_s;
      return AdministrarPg(sqls);
    };
    auto repor = qScopeGuard([&] { permitir(true); });
    for (const bool parado : {false, true}) {
      Base janela;
      Mostrar(&janela);
      janela.MostrarSócio(2);
      auto *nome = Controlo<QLineEdit>(&janela, u"Nome"_s);
      const QString escrito = parado ? u"Bruno Pereira"_s : u"Bruno Costa Pereira"_s;
      Escrever(nome, escrito);
      if (parado) {
        QVERIFY(permitir(false));
      } else {
        Posto b(Dados().bd.Caminho());
        QCOMPARE(b.Gravar(*b.Ler(2), u"Bruno Silva"_s, Meses(2026, 1, 2)).erro, ErroFicha::Nenhum);
        respostas->Responder({Resposta::Não});
      }
      const qsizetype caixas = respostas->caixas.size();
      Clicar(Comando(&janela, 3)); // "Gravar Dados"
      QCOMPARE(respostas->caixas.size(), caixas + 1);
      QVERIFY(respostas->caixas.last().texto.contains(parado ? u"servidor"_s
                                                             : u"gravado noutro posto"_s));
      QCOMPARE(nome->text(), escrito);
      if (parado) {
        QTest::keyClick(&janela, Qt::Key_F4);
        QCOMPARE(respostas->caixas.size(), caixas + 2);
        QCOMPARE(nome->text(), escrito);
        QVERIFY(permitir(true));
      } else {
        QCOMPARE(Guardado(2), QStringList{u"Bruno Silva/2"_s});
      }
      const qsizetype antes = respostas->caixas.size();
      Clicar(Comando(&janela, 3));
      QCOMPARE(respostas->caixas.size(), antes);
      QCOMPARE(Guardado(2), QStringList{escrito + u"/2"_s});
    }
  }
};

QTEST_MAIN(TestPostos)
#include "TestPostos.moc"
