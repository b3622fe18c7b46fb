#include "Comandos.h"
#include "ErroBaseDados.h"
#include "Respostas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

// The window pieces that every window composes.
class TestComandos : public QObject {
  Q_OBJECT

private slots:
  void textoDeProgresso() {
    QCOMPARE(TextoProgresso(0), u"0% concluído"_s);
    QCOMPARE(TextoProgresso(37), u"37% concluído"_s);
  }

  void listaComTodosAFrente() {
    QComboBox lista;
    lista.addItem(u"resto de outra carga"_s);
    PreencherComTodos(&lista, u"[Todas]"_s, {{7, u"Efectivo"_s}, {3, u"Suspenso"_s}});
    QCOMPARE(lista.count(), 3);
    QCOMPARE(lista.currentIndex(), 0);
    QCOMPARE(lista.itemText(0), u"[Todas]"_s);
    QCOMPARE(lista.itemData(0).toLongLong(), 0);
    QCOMPARE(lista.itemText(2), u"Suspenso"_s);
    QCOMPARE(lista.itemData(2).toLongLong(), 3);
  }

  // The field being left finishes its own work before the handler reads it; the handler gets
  // the button's index.
  void cliqueTomaOFocoAntesDoComando() {
    QWidget janela;
    auto *campo = new QLineEdit(&janela);
    QPushButton *Comando[2];
    QList<int> clicados;
    QString lidoPeloComando;
    connect(campo, &QLineEdit::editingFinished, campo,
            [campo] { campo->setText(campo->text().trimmed()); });
    CriarComandos(Comando, {u"&Sair"_s, u"&Gravar"_s}, [&](int i) {
      clicados << i;
      lidoPeloComando = campo->text();
    });
    auto *l = new QVBoxLayout(&janela);
    l->addWidget(campo);
    for (QPushButton *b : Comando)
      l->addWidget(b);
    janela.show();
    QVERIFY(QTest::qWaitForWindowActive(&janela));
    campo->setFocus();
    QTest::keyClicks(campo, u"  Ana  "_s);
    Comando[1]->click();
    QCOMPARE(clicados, QList<int>{1});
    QCOMPARE(lidoPeloComando, u"Ana"_s);
    QVERIFY(Comando[1]->hasFocus());
    QCOMPARE(Comando[0]->objectName(), u"Comando_0"_s);
    QVERIFY(!Comando[0]->autoDefault());
  }

  void falhaDoMotorViraMensagem() {
    Respostas respostas;
    const bool correu = ExecutarAcção(nullptr, u"Gravar Dados"_s, [] {
      throw ErroBaseDados(CausaErro::DiscoCheio, u"Gravar"_s, u"Quotas.Dad"_s);
    });
    QVERIFY(!correu);
    QCOMPARE(respostas.bips, 1);
    QCOMPARE(respostas.caixas.size(), 1);
    QCOMPARE(respostas.caixas[0].título, u"Gravar Dados"_s);
    QCOMPARE(respostas.caixas[0].ícone, Ícone::Crítico);
    QVERIFY(ExecutarAcção(nullptr, u"Gravar Dados"_s, [] {}));
    QCOMPARE(respostas.caixas.size(), 1);
  }
};

QTEST_MAIN(TestComandos)
#include "TestComandos.moc"
