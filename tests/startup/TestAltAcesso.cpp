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

// The access code: the window that asks for it at the start, and the one that changes it.
class TestAltAcesso : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<QDialog> janela; // AltAcesso or CódAcesso

  static QStringList Linha() { return Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = '0'"_s); }
  static void Motor(const QString &sql) { Dados().bd.Executar(sql, {}, u"teste"_s); }
  QLineEdit *Campo(const QString &nome = u"Codigo"_s) { return Controlo(janela.get(), nome); }
  template <class T> T *Abrir() {
    respostas->caixas.clear();
    respostas->bips = 0;
    janela = std::make_unique<T>();
    Mostrar(janela.get());
    return static_cast<T *>(janela.get());
  }
  // Types into the focused field of each step and presses "&Confirmar".
  void Passos(const QStringList &entradas) {
    for (const QString &texto : entradas) {
      auto *campo = qobject_cast<QLineEdit *>(QApplication::focusWidget());
      QVERIFY(campo && campo->isVisible() && janela->isAncestorOf(campo));
      QTest::keyClicks(campo, texto);
      QTest::mouseClick(Comando(janela.get(), 1), Qt::LeftButton);
    }
  }
  // The one box shown at the end (an engine failure's words in its details), one beep, and
  // the window gone.
  void Mensagem(const QString &parte, Ícone ícone = Ícone::Informação) {
    QCOMPARE(respostas->caixas.size(), 1);
    const PedidoMensagem &m = respostas->caixas[0];
    QVERIFY2((ícone == Ícone::Crítico ? m.detalhes : m.texto).contains(parte), qPrintable(m.texto));
    QCOMPARE(m.ícone, ícone);
    QCOMPARE(respostas->bips, 1);
    QVERIFY(!janela->isVisible());
  }

private slots:
  void initTestCase() { DevolverTecladoDepoisDeModais(); }
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
  }
  void cleanup() {
    janela.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // Without a code the new one is stored as the start reads it; wrong or cancelled entries
  // change nothing; codes are compared by their value; empty switches the code off.
  // The engine refusing the first code (insert) or a change (update): told, the old row stays.
  void alterarDoPrimeiroCodigoAoDesactivado() {
    const auto recusado = [this](const QString &quando, const QStringList &entradas) {
      Motor(u"CREATE TRIGGER recusa BEFORE "_s + quando +
            u" ON Tabelas BEGIN SELECT RAISE(ABORT, 'gravação recusada'); END"_s);
      const QStringList antes = Linha();
      Abrir<AltAcesso>();
      Passos(entradas);
      Mensagem(u"gravação recusada"_s, Ícone::Crítico);
      QCOMPARE(Linha(), antes);
      Motor(u"DROP TRIGGER recusa"_s);
    };
    recusado(u"INSERT"_s, {u"5"_s, u"5"_s});
    Abrir<AltAcesso>();
    QTest::keyClicks(Campo(u"Codigo_2"_s), u"12"_s);
    QTest::keyClick(Campo(u"Codigo_2"_s), Qt::Key_Return); // Enter confirms the step
    Passos({u"12"_s});
    QCOMPARE(respostas->caixas.value(0).texto, u"Código de Acesso alterado com sucesso."_s);
    Mensagem(u"alterado"_s);
    recusado(u"UPDATE"_s, {u"12"_s, u"5"_s, u"5"_s});

    Abrir<AltAcesso>();
    Passos({u"11"_s, u"7"_s, u"7"_s}); // a wrong current code
    Mensagem(u"não foi alterado"_s);
    Abrir<AltAcesso>(); // cancelled with the button at the first step, or Escape at the last
    QTest::mouseClick(Comando(janela.get(), 0), Qt::LeftButton);
    QVERIFY(!janela->isVisible());
    Abrir<AltAcesso>();
    Passos({u"12"_s, u"12"_s});
    QTest::keyClick(Campo(u"Codigo_3"_s), Qt::Key_Escape);
    QVERIFY(!janela->isVisible() && respostas->caixas.isEmpty());
    QCOMPARE(Linha(), QStringList{u"4825"_s});
    Abrir<AltAcesso>();
    Passos({u"00012"_s, u""_s, u""_s}); // leading zeros do not count; empty is 0: switched off
    Mensagem(u"desactivado"_s);
    QCOMPARE(Linha(), QStringList{u"4821"_s});
    QVERIFY(!CódigoDeAcessoDefinido(Dados().bd));

    // A code that cannot even be read is told, and no window waits for an answer.
    respostas->caixas.clear();
    Motor(u"ALTER TABLE Tabelas RENAME TO Outra"_s);
    AltAcesso::Abrir(nullptr);
    QCOMPARE(respostas->caixas.size(), 1);
  }

  // Once the window (and its closing message) has gone, the main window has the keyboard.
  void depoisDaJanelaAPrincipalTemOTeclado() {
    Base base;
    LigarJanelas(base);
    Mostrar(&base);
    bool aberta = false;
    auto vigia = QuandoModal<QDialog>([&](QDialog &j) {
      aberta = true;
      for (int i = 0; i < 2; ++i) {
        QTest::keyClicks(QApplication::focusWidget(), u"7"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      }
      if (j.isVisible())
        j.reject();
    });
    Controlo<QAction>(&base, u"Menu_Arquivo_4"_s)->trigger();
    QVERIFY(aberta);
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), &base, 1000);
    QVERIFY(QApplication::focusWidget() && base.isAncestorOf(QApplication::focusWidget()));
  }

  // The access code window at the start of the program: only digits, five at most; "Cancela&r"
  // and Escape refuse, Enter confirms; three wrong tries refuse.
  void janelaDoCodigoAoArrancar() {
    Dados().bd.Executar(u"INSERT INTO Tabelas (Tipo, Designação) VALUES ('0', ?)"_s,
                        {CifrarCódigo(42)}, u"teste"_s);
    auto *pedido = Abrir<CódAcesso>();
    QCOMPARE(ValorCódigo(u"99999999999999"_s), std::numeric_limits<qint32>::max());
    QTest::keyClicks(Campo(), u"1a 2.-3"_s);
    QCOMPARE(respostas->bips, 4);
    QTest::keyClick(Campo(), Qt::Key_Backspace);
    QTest::keyClicks(Campo(), u"34567"_s);
    QCOMPARE(Campo()->text(), u"12345"_s);
    QTest::keyClick(Campo(), Qt::Key_R, Qt::AltModifier); // "Cancela&r", from the code field
    QTRY_VERIFY(!pedido->isVisible()); // an access key presses the button visibly first
    QCOMPARE(pedido->ResultadoAcesso(), CódAcesso::Resultado::Recusado);
    for (const auto tecla : {Qt::Key_Escape, Qt::Key_Return}) {
      pedido = Abrir<CódAcesso>();
      QTest::keyClicks(Campo(), u"42"_s);
      QTest::keyClick(Campo(), tecla);
      QCOMPARE(pedido->ResultadoAcesso() == CódAcesso::Resultado::Concedido, tecla == Qt::Key_Return);
    }
    pedido = Abrir<CódAcesso>();
    for (const QString &c : {u"1"_s, u"2"_s, u""_s}) {
      Escrever(Campo(), c);
      QTest::mouseClick(Comando(pedido, 1), Qt::LeftButton);
      QVERIFY(Campo()->text().isEmpty()); // ready for the next try
    }
    QCOMPARE(respostas->caixas.size(), 3);
    QVERIFY(respostas->caixas[1].texto.endsWith(u"mais uma tentativa."_s));
    QVERIFY(respostas->caixas[2].texto.endsWith(u"negado."_s));
    QCOMPARE(respostas->caixas[2].ícone, Ícone::Crítico);
    QTest::keyClick(pedido, Qt::Key_Return); // Enter no longer confirms: only "Cancela&r"
    QCOMPARE(respostas->caixas.size(), 3);
    QTest::mouseClick(Comando(pedido, 0), Qt::LeftButton);
    QCOMPARE(pedido->ResultadoAcesso(), CódAcesso::Resultado::Recusado);
  }
};

QTEST_MAIN(TestAltAcesso)
#include "TestAltAcesso.moc"
