#include "CodAcesso.h"
#include "CodigoAcesso.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Janela.h"
#include "Respostas.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

class TestCodAcesso : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<CódAcesso> janela;

  QLineEdit *Código() { return Controlo(janela.get(), u"Codigo"_s); }
  QAbstractButton *Comando(int i) { return ::Comando(janela.get(), i); }

  void Abrir(qint32 código) {
    FicheiroTeste::Referência(u"0"_s, CifrarCódigo(código));
    janela = std::make_unique<CódAcesso>();
    Mostrar(janela.get());
  }
  void Confirmar(const QString &texto) {
    Código()->setFocus();
    Código()->selectAll();
    QTest::keyClicks(Código(), texto);
    QTest::mouseClick(Comando(1), Qt::LeftButton);
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
  }
  void cleanup() {
    janela.reset();
    respostas.reset();
    ficheiro.reset();
  }

  void formaGuardadaDoCodigo() {
    QCOMPARE(CifrarCódigo(0), u"4821"_s);
    QCOMPARE(CifrarCódigo(12345), u"8940"_s);
    QCOMPARE(DecifrarCódigo(CifrarCódigo(99999)), 99999);
    QCOMPARE(ValorCódigo(u"99999999999999"_s), std::numeric_limits<qint32>::max());
  }

  void soAceitaCincoDigitosMostradosComoCardinal() {
    Abrir(42);
    QVERIFY(Código()->hasFocus());
    QTest::keyClicks(Código(), u"1a 2.-3"_s);
    QCOMPARE(Código()->text(), u"123"_s);
    QCOMPARE(respostas->bips, 4);
    QTest::keyClick(Código(), Qt::Key_Backspace);
    QCOMPARE(Código()->text(), u"12"_s);
    QTest::keyClicks(Código(), u"34567"_s);
    QCOMPARE(Código()->text(), u"12345"_s);
  }

  void tresTentativasComAsMensagensPorOrdem() {
    Abrir(12345);
    Confirmar(u"1"_s);
    QCOMPARE(respostas->bips, 1);
    QVERIFY(Código()->text().isEmpty() && Código()->hasFocus()); // ready for the next try
    Confirmar(u"2"_s);
    Confirmar(u""_s);

    const QStringList esperados = {u"Dispõe de mais duas tentativas."_s,
                                   u"Dispõe de mais uma tentativa."_s,
                                   u"Acesso ao programa negado."_s};
    const QList<Ícone> ícones = {Ícone::Exclamação, Ícone::Exclamação, Ícone::Crítico};
    QCOMPARE(respostas->caixas.size(), 3);
    for (int i = 0; i < 3; ++i) {
      QVERIFY(respostas->caixas[i].texto.endsWith(esperados[i]));
      QCOMPARE(respostas->caixas[i].ícone, ícones[i]);
    }
    QVERIFY(!Código()->isEnabled() && janela->isVisible());
    // Enter can no longer confirm: the only way on is "Cancela&r".
    QTest::keyClick(janela.get(), Qt::Key_Return);
    QCOMPARE(respostas->caixas.size(), 3);
    QTest::mouseClick(Comando(0), Qt::LeftButton);
    QCOMPARE(janela->ResultadoAcesso(), CódAcesso::Resultado::Recusado);
    QVERIFY(!janela->isVisible());
  }

  void cancelarOuEscapeRecusam() {
    Abrir(42);
    QTest::keyClick(Código(), Qt::Key_R, Qt::AltModifier); // "Cancela&r", from the code field
    QTRY_VERIFY(!janela->isVisible()); // an access key presses the button visibly first
    QCOMPARE(janela->ResultadoAcesso(), CódAcesso::Resultado::Recusado);
    QCOMPARE(janela->Tentativas(), 0);
    // With the right code typed, Escape still refuses and Enter confirms.
    for (const auto tecla : {Qt::Key_Escape, Qt::Key_Return}) {
      janela = std::make_unique<CódAcesso>();
      Mostrar(janela.get());
      QTest::keyClicks(Código(), u"42"_s);
      QTest::keyClick(Código(), tecla);
      QCOMPARE(janela->ResultadoAcesso(), tecla == Qt::Key_Escape
                                              ? CódAcesso::Resultado::Recusado
                                              : CódAcesso::Resultado::Concedido);
    }
  }
};

QTEST_MAIN(TestCodAcesso)
#include "TestCodAcesso.moc"
