#include "Comandos.h"
#include "ErroBaseDados.h"
#include "Respostas.h"

#include <QComboBox>
#include <QTest>

using namespace Qt::StringLiterals;

// The window pieces that every window composes.
class TestComandos : public QObject {
  Q_OBJECT

private slots:
  void textoDeProgresso() { QCOMPARE(TextoProgresso(37), u"37% concluído"_s); }

  // The "all" entry comes first with code 0, whatever the list held before.
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

  // An engine error inside a user action is a message and a beep, never the end of the program.
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
