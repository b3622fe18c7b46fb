#include "Dados.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "ImprimirTaloes.h"
#include "LerFicheiro.h"
#include "Molduras.h"
#include "Ouro.h"
#include "Referencias.h"

#include <QtTest>
#include <latch>
#include <memory>
#include <set>
#include <stdexcept>
#include <thread>

using namespace Qt::StringLiterals;

// Receipt stubs: the plan, its numbering, the counter left in the file, the page.
class TestTaloes : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  inline static int abertos = 0; // documents begun by the runs
  qint64 activo = 0;

  static void Sócio(qint64 número, const QString &nome, qint64 situação, qint64 cPostal = 0,
                    const QString &nif = u"123456789"_s, qint64 quota = 125000) {
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"Situação\", \"CPostal\", "
                      u"\"NIF\", \"ValQuotaEuro\") VALUES (?, ?, ?, ?, ?, ?)"_s,
                      {número, nome, situação, cPostal, nif, quota}, u"teste"_s);
  }

  static PedidoTalões Pedido(int periodicidade = 12, const QString &mesX = u"1"_s) {
    return {.ano = u"2005"_s, .mesX = mesX, .periodicidade = periodicidade, .nInicial = {}};
  }

  // The counter row as another program reads the file: its values, one per row.
  static QStringList Contador() {
    return Coluna(u"SELECT \"Designação\" FROM \"Tabelas\" WHERE \"Tipo\" = 'q'"_s);
  }

  // A run on a Gravador handed its numbers as it is made; without `entregue`, never.
  template <class Gravador = GravadorImpressão, bool entregue = true>
  static std::optional<RecusaTalões> Executar(const PedidoTalões &pedido) {
    return ExecutarTalões(Dados().bd, Listas(), pedido, [](const std::function<void()> &entregar) {
      ++abertos;
      auto g = std::make_unique<Gravador>();
      if (entregue)
        entregar();
      return g;
    });
  }

  // Keeps the receipt numbers it printed; as a preview, handed them only as it ends.
  struct Talonário : GravadorImpressão {
    std::set<qint64> *números = nullptr;
    std::function<void()> entregar;
    void Concluir() override {
      if (entregar)
        entregar();
      for (const auto &t : textos)
        if (t.texto.startsWith(u"Nº do Recibo: "_s))
          números->insert(t.texto.section(u' ', 3, 3).toLongLong());
    }
  };

  // A yearly run of desk `bd`; `entretanto` runs just before the handover.
  static std::optional<RecusaTalões> Emitir(BaseDados &bd, std::set<qint64> &números,
                                            std::optional<QString> nInicial = {},
                                            const std::function<void()> &entretanto = {},
                                            bool préVisualização = false,
                                            NúmerosTalões *emitidos = nullptr) {
    PedidoTalões pedido = Pedido(1);
    pedido.nInicial = std::move(nInicial);
    return ExecutarTalões(
        bd, Listas(), pedido,
        [&](const std::function<void()> &entregar) {
          auto g = std::make_unique<Talonário>();
          g->números = &números;
          const auto entregarDepois = [entretanto, entregar] {
            if (entretanto)
              entretanto();
            entregar();
          };
          if (préVisualização)
            g->entregar = entregarDepois;
          else
            entregarDepois();
          return g;
        },
        {}, emitidos);
  }

  // Another desk: a connection of its own to the same data.
  static std::unique_ptr<BaseDados> OutroPosto(const QString &ligação) {
    auto bd = std::make_unique<BaseDados>();
    if (FicheiroTeste::NoServidor) {
      bd->AbrirServidor(ligação);
    } else {
      bd->DefinirReserva(false); // the test's own connection holds the file's mark
      bd->Abrir(NomeFicheiroDados);
    }
    return bd;
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    const qint64 lisboa = FicheiroTeste::Referência(u"C"_s, u"1100-148 Lisboa"_s);
    activo = FicheiroTeste::Referência(u"S"_s, u"Activo"_s);
    for (const auto &[linha, texto] : {std::pair{u'1', u" Grupo Desportivo da Ribeira "_s},
                                       {u'2', u"Rua do Cais, 12"_s},
                                       {u'3', u"Ribeira"_s},
                                       {u'4', QString::number(lisboa)}})
      GravarLinhaTabelas(Dados().bd, linha, texto);
    RecarregarListas();
  }
  void cleanup() { ficheiro.reset(); }

  // Numbers run on from the stored counter, in each order; another situation gets no stub.
  void ordensENumeracao() {
    GravarLinhaTabelas(Dados().bd, u'q', u"41"_s);
    Sócio(1, u"Zé"_s, activo, 30, QString(), 1234567500);
    Sócio(2, u"Bruno"_s, activo, 10);
    Sócio(3, u"Álvaro"_s, activo, 40);
    Sócio(4, u"Outro"_s, FicheiroTeste::Referência(u"S"_s, u"Suspenso"_s), 10);
    Sócio(5, u"ana"_s, activo, 10);
    Sócio(6, u"Fora"_s, activo, 5); // outside the range
    const QList<std::pair<OrdemTalões, QStringList>> casos = {
        {OrdemTalões::Número, {u"Zé"_s, u"Bruno"_s, u"Álvaro"_s, u"ana"_s}},
        {OrdemTalões::Nome, {u"Álvaro"_s, u"ana"_s, u"Bruno"_s, u"Zé"_s}},
        {OrdemTalões::CódigoPostal, {u"Bruno"_s, u"ana"_s, u"Zé"_s, u"Álvaro"_s}},
    };
    PedidoTalões pedido = Pedido(4, u"4"_s);
    pedido.sócioY = u"5"_s;
    pedido.situação = activo;
    for (const auto &[ordem, nomes] : casos) {
      pedido.ordem = ordem;
      QStringList vistos;
      for (const Talão &t : PlanearTalões(Dados().bd, Listas(), pedido).plano.talões)
        vistos << t.linhas[6].section(u" / "_s, 1, 1).mid(6);
      QCOMPARE(vistos, nomes);
    }
    QCOMPARE(
        PlanearTalões(Dados().bd, Listas(), pedido).plano.talões[2].linhas[8], // by postal code
        u"Nº do Recibo: 44 / Valor da Quota: 123.456,75€"_s);
    // A typed number above the stored one starts the numbering; one below it does not.
    pedido.nInicial = u"100"_s;
    QCOMPARE(PlanearTalões(Dados().bd, Listas(), pedido).plano.talões[0].recibo, qint64(101));
    pedido.nInicial = u"30"_s;
    QCOMPARE(PlanearTalões(Dados().bd, Listas(), pedido).plano.talões[0].recibo, qint64(42));
  }

  // From the first period to the year's end; each run stores its last number; a refusal comes
  // before anything is printed.
  void periodosContadorERecusas() {
    Sócio(1, u"Ana"_s, activo);
    Sócio(2, u"Rui"_s, activo);
    // The first period typed with blanks; the golden stubs hold the quarters.
    QStringList vistos;
    for (const Talão &t : PlanearTalões(Dados().bd, Listas(), Pedido(2, u" 2 "_s)).plano.talões)
      vistos << t.linhas[7];
    QCOMPARE(vistos, QStringList(2, u"Periodo: 2º Semestre de 2005"_s));

    QCOMPARE(Executar(Pedido(4, u"3"_s)), std::nullopt);
    QCOMPARE(Executar(Pedido(1)), std::nullopt);
    QCOMPARE(Contador(), QStringList{u"6"_s}); // 4 stored by the first run, then 2 more

    Dados().bd.Correr(u"DELETE FROM \"Tabelas\" WHERE \"Tipo\" = 'q'"_s, {}, u"teste"_s);
    QCOMPARE(GravarContadorRecibos(Dados().bd, u"x"_s),
             std::optional(RecusaTalões::NInicialInválido));
    QCOMPARE(GravarContadorRecibos(Dados().bd, u" 0300 "_s), std::nullopt);

    // A printer failing on page 2: numbers stored first; the message names those not printed.
    struct Avaria : GravadorImpressão {
      void MudarPágina() override { throw std::runtime_error("avaria"); }
    };
    GravadorImpressão inteira;
    ImprimirTalões(inteira, PlanearTalões(Dados().bd, Listas(), Pedido()).plano);
    qint64 naPrimeira = 0;
    for (const auto &t : inteira.textos)
      naPrimeira += t.página == 1 && t.texto.startsWith(u"Nº do Recibo"_s);
    naPrimeira /= 2; // two halves
    QVERIFY(naPrimeira > 0 && naPrimeira < 24);
    try {
      Executar<Avaria>(Pedido());
      QFAIL("a impressão avariada não foi dada como falhada");
    } catch (const FalhaImpressãoTalões &f) {
      QCOMPARE(Contador(), QStringList{u"324"_s});
      QCOMPARE(f.desenhadoAté, 300 + naPrimeira);
      const QString m = f.Mensagem();
      QVERIFY2(
          m.contains(u"Não foram impressos os recibos nº %1 a 324;"_s.arg(301 + naPrimeira)) &&
              m.contains(u"os recibos nº 301 a %1 podem não ter saído"_s.arg(300 + naPrimeira)) &&
              m.contains(u"começa no nº 325."_s),
          qPrintable(m));
    }
    // A run whose preview was closed without printing never handed its numbers over.
    struct Fechada : GravadorImpressão {
      void Concluir() override { MarcarNãoImpresso(); }
    };
    QCOMPARE((Executar<Fechada, false>(Pedido())),
             std::optional(RecusaTalões::ImpressãoNãoIniciada));
    // No transaction left open; numbered on after the spent 301 to 324.
    QCOMPARE(Executar(Pedido()), std::nullopt);
    QCOMPARE(Contador(), QStringList{u"348"_s});

    using Mudança = std::function<void(PedidoTalões &)>;
    const QList<std::pair<Mudança, RecusaTalões>> casos = {
        {[](PedidoTalões &p) { p.nInicial = u"x1"_s; }, RecusaTalões::NInicialInválido},
        {[](PedidoTalões &p) { p.nInicial = u"2147483646"_s; }, RecusaTalões::NúmerosEsgotados},
        {[](PedidoTalões &p) { p.sócioX = u"50"_s; }, RecusaTalões::NenhumSócio},
        {[](PedidoTalões &p) { p = Pedido(1, u"2"_s); }, RecusaTalões::NenhumTalão},
        // The name saved blank, as the window stores it.
        {[](PedidoTalões &) { GravarLinhaTabelas(Dados().bd, u'1', u" "_s); },
         RecusaTalões::SemNomeColectividade},
    };
    abertos = 0;
    for (const auto &[mudar, recusa] : casos) {
      PedidoTalões pedido = Pedido();
      mudar(pedido);
      QCOMPARE(Executar(pedido), std::optional(recusa));
      QCOMPARE(Contador(), QStringList{u"348"_s});
    }
    QCOMPARE(abertos, 0); // no document begun, so no empty page comes out

    // A lower counter needs a confirmation, by default refused; the same number needs none.
    QCOMPARE(GravarContadorRecibos(Dados().bd, u"347"_s),
             std::optional(RecusaTalões::ContadorMantido));
    QCOMPARE(GravarContadorRecibos(Dados().bd, u"348"_s), std::nullopt);
    QCOMPARE(Contador(), QStringList{u"348"_s});
  }

  // A run ending on 2147483647 prints and stores it; one number more is refused, nothing spent.
  void contadorNoMaiorValor() {
    Sócio(1, u"Ana"_s, activo);
    Sócio(2, u"Rui"_s, activo); // 24 stubs a year
    const std::tuple<QString, std::optional<QString>, std::optional<RecusaTalões>, QString>
        casos[] = {
            {u"2147483624"_s, std::nullopt, RecusaTalões::NúmerosEsgotados, u"2147483624"_s},
            {u"2147483600"_s, u"2147483624"_s, RecusaTalões::NúmerosEsgotados, u"2147483600"_s},
            {u"2147483600"_s, u"2147483648"_s, RecusaTalões::NInicialInválido, u"2147483600"_s},
            {u"2147483647"_s, std::nullopt, RecusaTalões::NúmerosEsgotados, u"2147483647"_s},
            {u"2147483600"_s, u"2147483623"_s, std::nullopt, u"2147483647"_s},
            {u"2147483623"_s, std::nullopt, std::nullopt, u"2147483647"_s},
        };
    for (const auto &[guardado, digitado, recusa, depois] : casos) {
      GravarLinhaTabelas(Dados().bd, u'q', guardado);
      PedidoTalões pedido = Pedido();
      pedido.nInicial = digitado;
      QCOMPARE(Executar(pedido), recusa);
      QCOMPARE(Contador(), QStringList{depois});
    }
    QCOMPARE(GravarContadorRecibos(Dados().bd, u"2147483647"_s), std::nullopt);
    QCOMPARE(GravarContadorRecibos(Dados().bd, u"2147483648"_s),
             std::optional(RecusaTalões::NInicialInválido));
    QCOMPARE(Contador(), QStringList{u"2147483647"_s});
  }

  // Two desks: a run numbers on after what the other issued since the field was filled (told),
  // before handover, or during a preview (nothing spent); desks printing at once never share a
  // number and the counter ends on the highest.
  void doisPostos() {
    Sócio(1, u"Ana"_s, activo);
    Sócio(2, u"Rui"_s, activo);
    const QString ligação = Dados().bd.Caminho();
    const auto outro = OutroPosto(ligação);
    std::set<qint64> nossos, deles;
    NúmerosTalões n;
    QCOMPARE(Emitir(*outro, deles), std::nullopt);
    QCOMPARE(Emitir(Dados().bd, nossos, u"0"_s, {}, false, &n), std::nullopt);
    QCOMPARE(nossos, (std::set<qint64>{3, 4}));
    QVERIFY(n.Mudaram());
    const QString aviso = MensagemNumeraçãoMudada(n);
    QVERIFY2(aviso.contains(u"com os recibos nº 3 a 4, e não a partir do nº 1."_s),
             qPrintable(aviso));

    const auto entretanto = [&] { QCOMPARE(Emitir(*outro, deles), std::nullopt); };
    QCOMPARE(Emitir(Dados().bd, nossos, u"4"_s, entretanto, false, &n), std::nullopt);
    QCOMPARE(nossos, (std::set<qint64>{3, 4, 7, 8}));
    QCOMPARE(deles, (std::set<qint64>{1, 2, 5, 6}));
    QCOMPARE(n.primeiro, qint64(7));
    QCOMPARE(Contador(), QStringList{u"8"_s});

    std::set<qint64> mostrados;
    QCOMPARE(Emitir(Dados().bd, mostrados, u"8"_s, entretanto, true),
             std::optional(RecusaTalões::NumeraçãoMudou));
    QCOMPARE(Contador(), QStringList{u"10"_s});
    QCOMPARE(Emitir(Dados().bd, nossos, u"10"_s, {}, true, &n), std::nullopt);
    QVERIFY(!n.Mudaram());
    QCOMPARE(Contador(), QStringList{u"12"_s});

    // Printed without handing the numbers over: stored all the same, above the other desk's.
    struct SemEntrega : GravadorImpressão {
      std::function<void()> antes;
      void Concluir() override { antes(); }
    };
    QCOMPARE(ExecutarTalões(Dados().bd, Listas(), Pedido(1),
                            [&](const std::function<void()> &) {
                              auto g = std::make_unique<SemEntrega>();
                              g->antes = [&] { entretanto(), entretanto(); };
                              return g;
                            }),
             std::nullopt);
    QCOMPARE(Contador(), QStringList{u"16"_s});

    QCOMPARE(GravarContadorRecibos(Dados().bd, u"5"_s,
                                   [&](qint64, qint64) {
                                     entretanto();
                                     return true;
                                   }),
             std::optional(RecusaTalões::ContadorMantido));
    QCOMPARE(Contador(), QStringList{u"18"_s});

    Dados().bd.Correr(u"DELETE FROM \"Tabelas\" WHERE \"Tipo\" = 'q'"_s, {}, u"teste"_s);
    constexpr int corridas = 12;
    std::latch partida(2);
    std::set<qint64> números[2];
    QString erros[2];
    const auto posto = [&](int k) {
      bool chegou = false;
      try {
        const auto bd = OutroPosto(ligação);
        chegou = true;
        partida.arrive_and_wait();
        for (int i = 0; i < corridas && erros[k].isEmpty(); ++i) {
          std::set<qint64> uma;
          if (const auto recusa = Emitir(*bd, uma))
            erros[k] = u"recusa %1"_s.arg(int(*recusa));
          else if (uma.size() != 2)
            erros[k] = u"%1 talões"_s.arg(uma.size());
          números[k].insert(uma.begin(), uma.end());
        }
      } catch (const std::exception &e) {
        erros[k] = QString::fromUtf8(e.what());
        if (!chegou)
          partida.count_down(); // never leaves the other desk waiting
      }
    };
    std::thread a(posto, 0), b(posto, 1);
    a.join();
    b.join();
    QCOMPARE(erros[0] + erros[1], QString());
    std::set<qint64> todos = números[0];
    todos.insert(números[1].begin(), números[1].end());
    // None printed by both desks, no gap (all from 1), the counter on the highest.
    QCOMPARE(todos.size(), size_t(4 * corridas));
    QCOMPARE(*todos.rbegin(), qint64(4 * corridas));
    QCOMPARE(Contador(), QStringList{QString::number(4 * corridas)});
  }

  void ouro() {
    GravarLinhaTabelas(Dados().bd, u'q', u"316"_s);
    Sócio(3, u"Ana Lopes"_s, activo, 0, u"501234567"_s, 150000);
    Sócio(12, u"Rui Sousa"_s, activo);
    GravadorImpressão g;
    ImprimirTalões(g, PlanearTalões(Dados().bd, Listas(), Pedido(4, u"3"_s)).plano);
    COMPARAR_COM_OURO(g, u"taloes"_s);
  }

  // Each stub whole on one page, as high as a stub, above the next; a long line made smaller.
  // The NIPC saved: on both halves under the postal code, the stub a line higher; blank, none.
  void disposicaoENipc() {
    Sócio(1, u"Maria da Conceição Ferreira dos Santos Silva"_s, activo, 0, u"123456789012"_s);
    Sócio(2, u"Rui"_s, activo);
    for (const bool comNipc : {false, true}) {
      GravarLinhaTabelas(Dados().bd, TipoNIPC, comNipc ? u" 501234560 "_s : u"  "_s);
      const PlanoTalões plano = PlanearTalões(Dados().bd, Listas(), Pedido(12)).plano;
      GravadorImpressão g;
      ImprimirTalões(g, plano);
      QVERIFY(g.páginas >= 4);
      for (qsizetype t = 0; t < 24; ++t) {
        const auto &acima = g.traços[3 * t], &abaixo = g.traços[3 * t + 1];
        QCOMPARE(abaixo.página, acima.página);
        QVERIFY(abaixo.linha.y1() <= g.AlturaPágina());
        QCOMPARE(abaixo.linha.y1() - acima.linha.y1(), AlturaTalão(comNipc));
        if (t + 1 < 24 && g.traços[3 * t + 3].página == acima.página)
          QVERIFY(g.traços[3 * t + 3].linha.y1() > abaixo.linha.y1());
      }
      // Started where only a stub without the NIPC line fits: one with it goes whole to the next.
      GravadorImpressão fim;
      ImprimirTalão(fim, plano.talões[0].linhas, fim.AlturaPágina() - AlturaTalão(false));
      QCOMPARE(fim.traços[0].página, comNipc ? 2 : 1);
      QCOMPARE(fim.traços[1].página, fim.traços[0].página);
      QCOMPARE(fim.traços[1].linha.y1() - fim.traços[0].linha.y1(), AlturaTalão(comNipc));
      const auto *longo = g.Procurar(
          u"1 / Nome: Maria da Conceição Ferreira dos Santos Silva / NIF: 123456789012"_s);
      QVERIFY(longo && longo->fonte.tamanho < 10);
      QCOMPARE(TextosQueSeSobrepõem(g), QStringList());
      QCOMPARE(g.Textos().join(u'|').count(u"NIPC"_s), comNipc ? 2 * 24 : 0);
      if (!comNipc)
        continue;
      const auto *nipc = g.Procurar(u"NIPC: 501234560"_s), *cp = g.Procurar(u"1100-148 Lisboa"_s);
      QVERIFY(nipc && cp && nipc->y == cp->y + AlturaDaLinha(cp->fonte));
    }
  }
};

QTEST_MAIN(TestTaloes)
#include "TestTaloes.moc"
