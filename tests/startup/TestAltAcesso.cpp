#include "AltAcesso.h"
#include "Arranque.h"
#include "Base.h"
#include "CodAcesso.h"
#include "CodigoAcesso.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Janela.h"
#include "Janelas.h"
#include "LerFicheiro.h"
#include "Modal.h"
#include "Respostas.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The access code: the window that asks for it at the start, and the one that changes it,
// checked against the file and against what the next start reads.
class TestAltAcesso : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<AltAcesso> janela;

  QLineEdit *Código(int i) { return Controlo(janela.get(), u"Codigo_"_s + QString::number(i)); }
  static QStringList Linha() {
    return Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = '0'"_s);
  }
  static void Motor(const QString &sql) { Dados().bd.Executar(sql, {}, u"teste"_s); }

  void Abrir() {
    respostas->caixas.clear();
    respostas->bips = 0;
    janela = std::make_unique<AltAcesso>();
    Mostrar(janela.get());
  }
  // Types into the focused field of the step on screen and presses "&Confirmar", step by step.
  void Passos(const QStringList &entradas) {
    for (const QString &texto : entradas) {
      auto *campo = qobject_cast<QLineEdit *>(QApplication::focusWidget());
      QVERIFY(campo && campo->isVisible() && janela->isAncestorOf(campo));
      QTest::keyClicks(campo, texto);
      QTest::mouseClick(::Comando(janela.get(), 1), Qt::LeftButton);
    }
  }
  // The one box shown at the end, after one beep, and the window gone. An engine failure's
  // own words are in the box's details.
  void Mensagem(const QString &texto, Ícone ícone = Ícone::Informação) {
    QCOMPARE(respostas->caixas.size(), 1);
    const PedidoMensagem &m = respostas->caixas[0];
    QVERIFY2(ícone == Ícone::Crítico ? m.detalhes.contains(texto) : m.texto == texto,
             qPrintable(m.texto));
    QCOMPARE(m.ícone, ícone);
    QCOMPARE(respostas->bips, 1);
    QVERIFY(!janela->isVisible());
  }

  std::unique_ptr<CódAcesso> pedido;
  QLineEdit *Campo() { return Controlo(pedido.get(), u"Codigo"_s); }
  void AbrirCódigo() {
    pedido = std::make_unique<CódAcesso>();
    Mostrar(pedido.get());
  }
  void Confirmar(const QString &texto) {
    ::Escrever(Campo(), texto);
    QTest::mouseClick(::Comando(pedido.get(), 1), Qt::LeftButton);
  }

private slots:
  void initTestCase() { DevolverTecladoDepoisDeModais(); }
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
  }
  void cleanup() {
    pedido.reset();
    janela.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // Without a code the new one is stored and asked for at the next start; wrong or cancelled
  // entries change nothing; codes are compared by their value; empty switches the code off.
  // The engine refusing the first code (insert) or a change (update): told, the old row stays.
  void alterarDoPrimeiroCodigoAoDesactivado() {
    const auto recusado = [this](const QString &quando, const QStringList &entradas) {
      Motor(u"CREATE TRIGGER recusa BEFORE "_s + quando +
            u" ON Tabelas BEGIN SELECT RAISE(ABORT, 'gravação recusada'); END"_s);
      const QStringList antes = Linha();
      Abrir();
      Passos(entradas);
      Mensagem(u"gravação recusada"_s, Ícone::Crítico);
      QCOMPARE(Linha(), antes);
      Motor(u"DROP TRIGGER recusa"_s);
    };
    recusado(u"INSERT"_s, {u"5"_s, u"5"_s});
    Abrir();
    QTest::keyClicks(Código(2), u"12"_s);
    QTest::keyClick(Código(2), Qt::Key_Return); // Enter confirms the step
    Passos({u"12"_s});
    Mensagem(u"Código de Acesso alterado com sucesso."_s);
    // Asked for at the next start, and refused there.
    janela.reset();
    FecharDados();
    const auto vigia =
        QuandoModal<CódAcesso>([](CódAcesso &j) { ::Comando(&j, 0)->click(); }, 3000);
    OpçõesArranque opções;
    opções.esperaApresentação = 0;
    opções.aoMostrarBase = [](Base &b) { b.close(); };
    QCOMPARE(ExecutarPrograma(opções), FimPrograma::AcessoRecusado);
    AbrirDados(NomeFicheiroDados);
    recusado(u"UPDATE"_s, {u"12"_s, u"5"_s, u"5"_s});

    Abrir();
    Passos({u"11"_s, u"7"_s, u"7"_s}); // a wrong current code
    Mensagem(u"Códigos errados ou introduzidos incorrectamente.\n\n"
             u"Código de Acesso não foi alterado."_s);
    // Cancelled with the button at the first step, or with Escape at the last.
    Abrir();
    QTest::mouseClick(::Comando(janela.get(), 0), Qt::LeftButton);
    QVERIFY(!janela->isVisible());
    Abrir();
    Passos({u"12"_s, u"12"_s});
    QTest::keyClick(Código(3), Qt::Key_Escape);
    QVERIFY(!janela->isVisible() && respostas->caixas.isEmpty());
    QCOMPARE(Linha(), QStringList{u"4825"_s});

    Abrir();
    Passos({u"00012"_s, u""_s, u""_s}); // leading zeros do not count; empty is 0: switched off
    Mensagem(u"Código de Acesso foi desactivado com sucesso."_s);
    QCOMPARE(Linha(), QStringList{u"4821"_s});
    QVERIFY(!CódigoDeAcessoDefinido(Dados().bd));

    // A code that cannot even be read is reported; no window is opened to change it.
    respostas->caixas.clear();
    Motor(u"ALTER TABLE Tabelas RENAME TO Outra"_s);
    AltAcesso::Abrir(nullptr);
    QCOMPARE(respostas->caixas.size(), 1); // and returns: no window waits for an answer
  }

  // Once a modal window (and its closing message) has gone, the main window has the keyboard.
  void depoisDaJanelaAPrincipalTemOTeclado() {
    // The menu item, and the codes typed in the window, each followed by Enter.
    for (const auto &[item, teclas] : {std::pair{u"Menu_Arquivo_4"_s, QStringList{u"7"_s, u"7"_s}},
                                       std::pair{u"Menu_Dados_6"_s, QStringList{}}}) {
      Base base;
      LigarJanelas(base);
      base.show();
      QVERIFY(QTest::qWaitForWindowActive(&base));
      bool aberta = false;
      auto vigia = QuandoModal<QDialog>([&](QDialog &j) {
        aberta = true;
        for (const QString &texto : teclas) {
          QTest::keyClicks(QApplication::focusWidget(), texto);
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        if (j.isVisible())
          j.reject();
      });
      base.findChild<QAction *>(item)->trigger();
      QVERIFY(aberta);
      QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), &base, 1000);
      QVERIFY(QApplication::focusWidget() && base.isAncestorOf(QApplication::focusWidget()));
    }
  }

  // The access code window at the start of the program: only digits, five at most; "Cancela&r"
  // and Escape refuse, Enter confirms.
  void janelaDoCodigoAoArrancar() {
    Dados().bd.Executar(u"INSERT INTO Tabelas (Tipo, Designação) VALUES ('0', ?)"_s,
                        {CifrarCódigo(42)}, u"teste"_s);
    AbrirCódigo();
    QCOMPARE(ValorCódigo(u"99999999999999"_s), std::numeric_limits<qint32>::max());
    QTest::keyClicks(Campo(), u"1a 2.-3"_s);
    QCOMPARE(respostas->bips, 4);
    QTest::keyClick(Campo(), Qt::Key_Backspace);
    QTest::keyClicks(Campo(), u"34567"_s);
    QCOMPARE(Campo()->text(), u"12345"_s);
    QTest::keyClick(Campo(), Qt::Key_R, Qt::AltModifier); // "Cancela&r", from the code field
    QTRY_VERIFY(!pedido->isVisible()); // an access key presses the button visibly first
    QCOMPARE(pedido->ResultadoAcesso(), CódAcesso::Resultado::Recusado);
    // With the right code typed, Escape still refuses and Enter confirms.
    for (const auto tecla : {Qt::Key_Escape, Qt::Key_Return}) {
      AbrirCódigo();
      QTest::keyClicks(Campo(), u"42"_s);
      QTest::keyClick(Campo(), tecla);
      QCOMPARE(pedido->ResultadoAcesso() == CódAcesso::Resultado::Concedido,
               tecla == Qt::Key_Return);
    }
    // Three wrong tries, each told, refuse.
    AbrirCódigo();
    Confirmar(u"1"_s);
    QVERIFY(Campo()->text().isEmpty() && Campo()->hasFocus()); // ready for the next try
    Confirmar(u"2"_s);
    Confirmar(u""_s);

    QCOMPARE(respostas->caixas.size(), 3);
    QVERIFY(respostas->caixas[0].texto.endsWith(u"Dispõe de mais duas tentativas."_s));
    QVERIFY(respostas->caixas[1].texto.endsWith(u"Dispõe de mais uma tentativa."_s));
    QVERIFY(respostas->caixas[2].texto.endsWith(u"Acesso ao programa negado."_s));
    QCOMPARE(respostas->caixas[2].ícone, Ícone::Crítico);
    // Enter can no longer confirm: the only way on is "Cancela&r".
    QTest::keyClick(pedido.get(), Qt::Key_Return);
    QCOMPARE(respostas->caixas.size(), 3);
    QTest::mouseClick(::Comando(pedido.get(), 0), Qt::LeftButton);
    QCOMPARE(pedido->ResultadoAcesso(), CódAcesso::Resultado::Recusado);
  }
};

QTEST_MAIN(TestAltAcesso)
#include "TestAltAcesso.moc"
