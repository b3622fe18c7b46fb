#include "Dados.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "ImprimirTaloes.h"
#include "LerFicheiro.h"
#include "Referencias.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>
#include <atomic>
#include <map>
#include <thread>

using namespace Qt::StringLiterals;

// Five desks saving and printing receipt stubs at random against one server for a while
// (AGREMIA_CARGA_SEGUNDOS, 60 by default). Each save of desk d appends its mark "d.k" to the
// remarks and pays one month of its own, re-reading the member after a refusal: every mark of
// a save reported done is there with its month, and no month without its mark. Every receipt
// number printed was printed once, with no gap, and the counter is the highest of them.
class TestCarga : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  static constexpr int Postos = 5, Sócios = 8;

  struct Contas {
    int gravadas = 0, recusadas = 0, corridas = 0;
    std::map<int, QStringList> marcas; // member -> marks saved
    std::vector<qint64> recibos;       // every receipt number printed
    QString erro;
  };

  // Keeps the receipt numbers of the stubs: each carries its number on both halves, so a
  // number seen other than twice is kept twice, and fails the count.
  struct Talonário : GravadorImpressão {
    std::vector<qint64> *números = nullptr;
    void Concluir() override {
      std::map<qint64, int> vistos;
      for (const auto &t : textos)
        if (t.texto.startsWith(u"Nº do Recibo: "_s))
          ++vistos[t.texto.section(u' ', 3, 3).toLongLong()];
      for (const auto &[n, vezes] : vistos)
        números->insert(números->end(), vezes == 2 ? 1 : 2, n);
    }
  };

  static void Trabalhar(int posto, const QString &ligação, qint64 até, Contas &c) {
    try {
      BaseDados bd;
      bd.AbrirServidor(ligação);
      ConjuntoRegistos sócios(bd, TodosOsSócios());
      ConjuntoRegistos quotas(bd, Consulta{u"Quotizações"_s});
      QRandomGenerator aleatório(quint32(posto) * 7919u);
      QElapsedTimer relógio;
      relógio.start();
      for (int k = 1; relógio.elapsed() < até; ++k) {
        if (aleatório.bounded(4) == 0) { // a yearly run over every member: one stub each
          const auto recusa = ExecutarTalões(
              bd, Listas(), {.ano = u"2026"_s, .periodicidade = 1, .nInicial = {}},
              [&c](const std::function<void()> &entregar) {
                auto g = std::make_unique<Talonário>();
                g->números = &c.recibos;
                entregar();
                return g;
              });
          if (recusa)
            return void(c.erro = u"talões recusados "_s + QString::number(int(*recusa)));
          ++c.corridas;
          continue;
        }
        const int número = 1 + int(aleatório.bounded(Sócios));
        const auto visto = LerSócio(bd, sócios, número);
        if (!visto)
          return void(c.erro = u"sócio desaparecido"_s);
        ListaOrdenada lista = EntradasDasQuotas(visto->quotas);
        const QString marca = QString::number(posto) + u'.' + QString::number(k);
        lista.Inserir(EntradaQuota(posto * 1000 + k / 12, k % 12 + 1, Moeda::DeCêntimos(1250), k));
        const FichaSócio f{QString::number(número), visto->nome, 0, 0, 0, u"01-01-2000"_s,
                           u"12,50"_s, {}, {}, visto->observações.trimmed() + u' ' + marca, u"0"_s};
        const ErroFicha erro = GravarFicha(bd, sócios, quotas, f, número, lista, {}, &*visto).erro;
        if (erro == ErroFicha::Nenhum)
          ++c.gravadas, c.marcas[número] << marca;
        else if (erro == ErroFicha::AlteradoNoutroPosto)
          ++c.recusadas;
        else
          return void(c.erro = u"recusa inesperada "_s + QString::number(int(erro)));
      }
    } catch (const ErroBaseDados &e) {
      c.erro = e.Mensagem() + u' ' + e.Detalhes();
    } catch (const std::exception &e) {
      c.erro = QString::fromUtf8(e.what());
    }
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  void cincoPostosAoMesmoTempo() {
    GravarLinhaTabelas(Dados().bd, u'1', u"Grupo Desportivo da Ribeira"_s);
    for (int n = 1; n <= Sócios; ++n)
      QCOMPARE(GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações,
                           {QString::number(n), u"Sócio"_s, 0, 0, 0, u"01-01-2000"_s, u"12,50"_s,
                            {}, {}, {}, u"0"_s}, 0, {}, {}).erro,
               ErroFicha::Nenhum);
    const int segundos = qEnvironmentVariableIntValue("AGREMIA_CARGA_SEGUNDOS");
    Contas contas[Postos];
    std::vector<std::thread> postos;
    for (int p = 0; p < Postos; ++p)
      postos.emplace_back(Trabalhar, p + 1, Dados().bd.Caminho(),
                          1000 * qint64(segundos > 0 ? segundos : 60), std::ref(contas[p]));
    for (auto &t : postos)
      t.join();

    Contas todas;
    for (const Contas &c : contas) {
      QVERIFY2(c.erro.isEmpty(), qPrintable(c.erro));
      todas.gravadas += c.gravadas;
      todas.recusadas += c.recusadas;
      todas.corridas += c.corridas;
      todas.recibos.insert(todas.recibos.end(), c.recibos.begin(), c.recibos.end());
      for (const auto &[n, m] : c.marcas)
        todas.marcas[n] << m;
    }
    qInfo("%d postos, %d s: %d gravações, %d recusadas por o sócio ter sido gravado noutro "
          "posto; %d corridas de talões, %d recibos",
          Postos, segundos > 0 ? segundos : 60, todas.gravadas, todas.recusadas, todas.corridas,
          int(todas.recibos.size()));
    QVERIFY(todas.gravadas > 0 && todas.corridas > 1);
    QVERIFY(todas.recusadas > 0); // the desks did meet on the same members
    std::vector<qint64> &recibos = todas.recibos;
    QCOMPARE(recibos.size(), size_t(todas.corridas) * Sócios);
    std::sort(recibos.begin(), recibos.end());
    for (size_t k = 0; k < recibos.size(); ++k)
      QCOMPARE(recibos[k], qint64(k) + 1); // each number once, none skipped
    QCOMPARE(LerLinhaTabelas(Dados().bd, u'q'), std::optional(QString::number(recibos.size())));
    int meses = 0;
    for (int n = 1; n <= Sócios; ++n) {
      const QString chave = QString::number(n);
      QStringList guardadas =
          Coluna(u"SELECT \"Observações\" FROM \"Sócios\" WHERE \"Número\" = "_s + chave)
              .value(0).split(u' ', Qt::SkipEmptyParts);
      QStringList esperado = todas.marcas[n];
      guardadas.sort();
      esperado.sort();
      QCOMPARE(guardadas, esperado);
      QCOMPARE(Coluna(u"SELECT count(*) FROM \"Quotizações\" WHERE \"SócMês\" LIKE '"_s +
                      chave.rightJustified(6, u'0') + u"%'"_s),
               QStringList{QString::number(esperado.size())});
      meses += int(esperado.size());
    }
    QCOMPARE(meses, todas.gravadas);
  }
};

QTEST_MAIN(TestCarga)
#include "TestCarga.moc"
