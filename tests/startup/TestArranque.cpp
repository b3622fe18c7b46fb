#include "Arranque.h"
#include "Base.h"
#include "CodAcesso.h"
#include "CodigoAcesso.h"
#include "Dados.h"
#include "Danos.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Janela.h"
#include "Modal.h"
#include "PastaTeste.h"
#include "ProcessoFilho.h"
#include "Respostas.h"
#include "Verificacao.h"

#include <QSemaphore>
#include <QWindow>
#include <QtTest>

using namespace Qt::StringLiterals;

// The whole start of the program, driven as a user would, in a folder of its own.
class TestArranque : public QObject {
  Q_OBJECT

  DefiniçõesDeTeste definições; // no choice of data remembered: the working folder's file

  struct Resultado {
    FimPrograma fim;
    bool baseMostrada = false;
    bool códigoPedido = false;
  };

  // Runs the program; `naJanelaCódigo` answers the access code window if it comes.
  Resultado Executar(std::function<void(CódAcesso &)> naJanelaCódigo = {}) {
    Resultado r;
    const auto vigia = QuandoModal<CódAcesso>(
        [&r, naJanelaCódigo](CódAcesso &j) {
          r.códigoPedido = true;
          naJanelaCódigo ? naJanelaCódigo(j) : Comando(&j, 0)->click();
        },
        3000);
    OpçõesArranque opções;
    opções.esperaApresentação = 0;
    opções.aoMostrarBase = [&r](Base &b) {
      r.baseMostrada = true;
      if (!(Dados().bd.Aberta() && Dados().sócios && Dados().tabelas)) // closed all the same
        QTest::qFail("a base de dados não estava aberta com a janela principal", __FILE__, __LINE__);
      b.close();
    };
    r.fim = ExecutarPrograma(opções);
    if (Dados().bd.Aberta())
      QTest::qFail("a base de dados ficou aberta", __FILE__, __LINE__);
    return r;
  }

  // Two members with the twelve months of 2025, and one key of the dues index changed: every
  // page well formed, member 2's dues list short when read through the index.
  static void PovoarComDanoNoÍndice() {
    BaseDados::Criar(NomeFicheiroDados);
    {
      BaseDados bd;
      bd.Abrir(NomeFicheiroDados);
      bd.Executar(u"INSERT INTO Sócios (Número, Nome) VALUES (1, 'Sócia Um'), (2, 'Sócio Dois')"_s,
                  {}, u"teste"_s);
      bd.Executar(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 24) "
                  u"INSERT INTO Quotizações (SócMês, QuotaEuro) SELECT printf('%06d2025%02d', "
                  u"(i - 1) / 12 + 1, (i - 1) % 12 + 1), 125000 FROM n"_s,
                  {}, u"teste"_s);
    }
    AlterarChaveNoÍndice(NomeFicheiroDados, "000002202506", "000009202506");
  }

private slots:
  // No file: one is made, no code asked; a second start changes nothing in it.
  void semFicheiroCriaENaoPedeCodigo() {
    PastaTeste pasta;
    Respostas respostas;
    const Resultado r = Executar();
    QCOMPARE(r.fim, FimPrograma::Normal);
    QVERIFY(!r.códigoPedido && r.baseMostrada && respostas.caixas.isEmpty());
    const QByteArray antes = PastaTeste::Conteúdo(u"Quotas.Dad"_s);
    QVERIFY(Executar().baseMostrada);
    QCOMPARE(PastaTeste::Conteúdo(u"Quotas.Dad"_s), antes);
  }

  // The access code window gone without the right code (closed by the window manager, hidden
  // without closing, its system window destroyed): refused, no main window, no hang.
  void sairSemCodigoRecusa() {
    const QList<std::function<void(CódAcesso &)>> maneiras = {
        [](CódAcesso &j) { j.close(); }, [](CódAcesso &j) { j.hide(); },
        [](CódAcesso &j) { j.windowHandle()->destroy(); }};
    for (const auto &sair : maneiras) {
      PastaTeste pasta;
      Respostas respostas;
      BaseDados::Criar(NomeFicheiroDados);
      AbrirDados(NomeFicheiroDados);
      FicheiroTeste::Referência(u"0"_s, CifrarCódigo(7));
      FecharDados();
      const Resultado r = Executar(sair); // a hang is the suite's time-out
      QCOMPARE(r.fim, FimPrograma::AcessoRecusado);
      QVERIFY(r.códigoPedido && !r.baseMostrada && !AcessoPermitido() && respostas.caixas.isEmpty());
    }
  }

  // A file not ours, open elsewhere or damaged (an index key changed) is told by name and left
  // as it was; the program ends. Damage offers the restore: "Sim" starts it, "Não" only ends.
  void ficheiroRecusadoEDeixadoComoEstava() {
    const QStringList dano{u"está danificado"_s, u"última cópia de segurança boa"_s,
                           u"«Repor Cópia»"_s};
    const std::pair<QString, QStringList> casos[] = {
        {u"alheio"_s, {u"não é uma base de dados"_s}},
        {u"aberto"_s, {u"está aberto noutro programa"_s}},
        {u"repor"_s, dano},
        {u"sair"_s, dano}};
    for (auto [caso, partes] : casos) {
      PastaTeste pasta;
      Respostas respostas;
      IniciadorFalso iniciador;
      const bool danificado = caso == u"repor"_s || caso == u"sair"_s;
#ifdef AGREMIA_PROCESSO_FILHO
      std::unique_ptr<ProcessoFilho> outro;
#endif
      if (danificado) {
        PovoarComDanoNoÍndice();
        partes << QDir::toNativeSeparators(pasta.Caminho(NomeFicheiroDados));
        respostas.Responder({caso == u"repor"_s ? Resposta::Sim : Resposta::Não});
      } else if (caso == u"aberto"_s) {
#ifdef AGREMIA_PROCESSO_FILHO
        BaseDados::Criar(NomeFicheiroDados);
        auto doFilho = std::make_shared<BaseDados>();
        outro = std::make_unique<ProcessoFilho>([doFilho] { doFilho->Abrir(NomeFicheiroDados); },
                                                [doFilho] { doFilho->Fechar(); });
        QVERIFY(outro->Correu());
        partes << QString::number(outro->Pid());
#else
        continue;
#endif
      } else {
        QFile f(NomeFicheiroDados);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Quotas de 2003\nSilva;12,50\n");
      }
      const QByteArray bytes = PastaTeste::Conteúdo(NomeFicheiroDados);
      const QStringList ficheiros = QDir(pasta.Raiz()).entryList(QDir::Files);
      const Resultado r = Executar();
      QCOMPARE(r.fim, FimPrograma::ErroFicheiro);
      QVERIFY(!r.baseMostrada);
      QCOMPARE(respostas.caixas.size(), 1);
      const PedidoMensagem &caixa = respostas.caixas[0];
      QCOMPARE(caixa.ícone, Ícone::Crítico);
      for (const QString &parte : partes + QStringList{NomeFicheiroDados})
        QVERIFY2(caixa.texto.contains(parte), qPrintable(caixa.texto));
      QCOMPARE(caixa.botões, danificado ? Botões::SimNão : Botões::OK);
      QCOMPARE(iniciador.iniciados.size(), caso == u"repor"_s ? 1 : 0);
      if (caso == u"repor"_s) {
        QCOMPARE(iniciador.iniciados[0].programa, u"arquivex"_s);
        QCOMPARE(iniciador.iniciados[0].argumentos, QStringList{u"-r"_s});
        QCOMPARE(iniciador.iniciados[0].pasta, QDir(pasta.Raiz()).absolutePath());
      }
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), bytes);
      QCOMPARE(QDir(pasta.Raiz()).entryList(QDir::Files), ficheiros);
    }
  }

  // The comparison of the indexes of a large file outlasting the start-up window: the main
  // window comes up meanwhile; the damage then found is told at once, the restore offered with
  // the file closed, and the program ends, the file as it was.
  void danoEncontradoComAJanelaAbertaTerminaOPrograma() {
    PastaTeste pasta;
    Respostas respostas;
    IniciadorFalso iniciador;
    PovoarComDanoNoÍndice();
    const QByteArray bytes = PastaTeste::Conteúdo(NomeFicheiroDados);
    QSemaphore retida;
    InstalarAntesDeVerificar([&retida](bool estrutura) {
      if (!estrutura)
        retida.acquire();
    });
    bool mostrada = false;
    OpçõesArranque opções;
    opções.esperaApresentação = 0;
    opções.aoMostrarBase = [&](Base &b) {
      mostrada = true;
      retida.release();
      QTimer::singleShot(5000, &b, [&b] { b.close(); }); // should the finding never come
    };
    bool fechadoAoRepor = false;
    iniciador.aoIniciar = [&] {
      fechadoAoRepor = !Dados().bd.Aberta() && !QFileInfo::exists(u"Quotas.Dad.lock"_s);
    };
    respostas.Responder({Resposta::Sim});
    const FimPrograma fim = ExecutarPrograma(opções);
    InstalarAntesDeVerificar({});
    if (!mostrada)
      retida.release();
    QVERIFY(mostrada);
    QCOMPARE(fim, FimPrograma::ErroFicheiro);
    QCOMPARE(respostas.caixas.size(), 1);
    QVERIFY2(respostas.caixas[0].texto.contains(u"o programa vai terminar"_s),
             qPrintable(respostas.caixas[0].texto));
    QCOMPARE(iniciador.iniciados.size(), 1);
    QVERIFY(fechadoAoRepor && !Dados().bd.Aberta());
    QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), bytes);
    QCOMPARE(QDir(pasta.Raiz()).entryList(QDir::Files), QStringList{NomeFicheiroDados});
  }
};

QTEST_MAIN(TestArranque)
#include "TestArranque.moc"
