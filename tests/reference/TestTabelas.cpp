#include "Base.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Respostas.h"
#include "Tabelas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The reference tables editor driven as a user would; the file is read back after each save.
class TestTabelas : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<Base> base;
  std::unique_ptr<Tabelas> janela;

  template <class T> T *W(const QString &nome) { return Controlo<T>(janela.get(), nome); }
  static QString Nome(int k) { return QStringList{u"TipoQuota"_s, u"Situação"_s, u"CPostal"_s}[k]; }
  QListWidget *Lista(int k) { return W<QListWidget>(Nome(k)); }
  QLineEdit *Item(int k) { return W<QLineEdit>(u"Item"_s + Nome(k)); }
  QAbstractButton *Comando(int i) { return ::Comando(janela.get(), i); }
  QStringList Textos(int k) { return ::Textos(Lista(k)); }
  static QStringList Linhas(const QString &tipo) {
    return Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = '"_s + tipo +
                  u"' ORDER BY Código"_s);
  }
  static void Sql(const QString &sql) { Dados().bd.Executar(sql, {}, u"teste"_s); }

  void Abrir() {
    if (!base)
      base = std::make_unique<Base>();
    janela = std::make_unique<Tabelas>(base.get(), [this] { base->MostrarListas(); });
    Mostrar(janela.get());
  }
  void Escrever(int k, const QString &texto) {
    W<QTabWidget>(u"BaseTabelas"_s)->setCurrentIndex(k);
    Item(k)->setFocus(Qt::TabFocusReason);
    Item(k)->selectAll();
    QTest::keyClicks(Item(k), texto);
  }
  void Escolher(int k, int linha) {
    W<QTabWidget>(u"BaseTabelas"_s)->setCurrentIndex(k);
    QListWidget *l = Lista(k);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                      l->visualItemRect(l->item(linha)).center());
  }
  void Clicar(int i) { ::Clicar(Comando(i)); }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
  }
  void cleanup() {
    janela.reset();
    base.reset();
    respostas.reset();
    ficheiro.reset();
  }

  void adicionarCompactaDistingueMaiusculasERecusaRepetidos() {
    FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    Abrir();
    Escrever(1, u"  Membro   Honorario  "_s);
    Clicar(1);
    QCOMPARE(Textos(1), (QStringList{u"Efectivo"_s, u"Membro Honorario"_s}));
    QCOMPARE(Lista(1)->currentRow(), 1);
    Escrever(1, u"efectivo"_s);
    Clicar(1);
    QCOMPARE(respostas->bips, 0);
    Escrever(1, u"Efectivo"_s);
    Clicar(1);
    Escrever(1, u"   "_s);
    Clicar(1);
    QCOMPARE(respostas->bips, 2);
    QCOMPARE(Textos(1).size(), 3);
    Clicar(4);
    QCOMPARE(Linhas(u"S"_s), (QStringList{u"Efectivo"_s, u"Membro Honorario"_s, u"efectivo"_s}));
    QCOMPARE(base->Situação->count(), 3);
    QVERIFY(respostas->caixas.isEmpty());
  }

  void alteracoesEEliminacoesSoChegamAoFicheiroAoGravar() {
    const qint64 normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    FicheiroTeste::Referência(u"T"_s, u"Reformado"_s);
    FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    Abrir();
    Escolher(0, 0);
    Escrever(0, u"Normal A"_s);
    Clicar(2);
    Escrever(0, u"Normal  B"_s);
    Clicar(2);
    Escolher(0, 1);
    Escrever(0, u"Reformados"_s);
    Clicar(2);
    Escolher(0, 1);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 1); // the deletion is asked first
    QCOMPARE(Textos(0), QStringList{u"Normal B"_s});
    Escrever(0, u"Juvenil"_s);
    Clicar(1);
    Escolher(0, 1);
    respostas->Responder({Resposta::Não});
    Clicar(3);
    QCOMPARE(Textos(0).size(), 2);
    Clicar(3);
    QCOMPARE(Textos(0), QStringList{u"Normal B"_s});
    QCOMPARE(Linhas(u"T"_s), (QStringList{u"Normal"_s, u"Reformado"_s})); // nothing written yet

    Clicar(4);
    QCOMPARE(Consultar(u"SELECT Código, Designação FROM Tabelas WHERE Tipo = 'T'"_s),
             (QList<QVariantList>{{normal, u"Normal B"_s}}));

    // A changed row that went behind the window's back is written anew, never over another.
    Escolher(0, 0);
    Escrever(0, u"Normal C"_s);
    Clicar(2);
    Sql(u"DELETE FROM Tabelas WHERE Código = "_s + QString::number(normal));
    Clicar(4);
    QCOMPARE(Linhas(u"T"_s), QStringList{u"Normal C"_s});
    QCOMPARE(Linhas(u"S"_s), QStringList{u"Efectivo"_s});
  }

  void principalSoMudaAoGravarEGuardaASeleccao() {
    const qint64 efectivo = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    FicheiroTeste::Referência(u"S"_s, u"Suspenso"_s);
    const qint64 porto = FicheiroTeste::Referência(u"C"_s, u"4000 Porto"_s);
    base = std::make_unique<Base>();
    base->Situação->setCurrentIndex(base->Situação->findData(efectivo));
    base->CPostal->setCurrentIndex(base->CPostal->findData(porto));
    const auto editar = [this] {
      Abrir();
      Escolher(1, 0);
      Escrever(1, u"Efectivos"_s);
      Clicar(2);
      Escrever(1, u"Activo"_s);
      Clicar(1);
      Escolher(2, 0);
      Clicar(3);
    };
    editar();
    Clicar(0);
    QCOMPARE(Linhas(u"S"_s), (QStringList{u"Efectivo"_s, u"Suspenso"_s}));
    QCOMPARE(Linhas(u"C"_s), QStringList{u"4000 Porto"_s});
    QCOMPARE(base->Situação->count(), 2);
    QCOMPARE(base->CPostal->currentText(), u"4000 Porto"_s);

    editar();
    Clicar(4);
    QCOMPARE(base->Situação->currentText(), u"Efectivos"_s);
    QCOMPARE(base->Situação->currentData().toLongLong(), efectivo);
    QCOMPARE(base->Situação->itemText(0), u"Activo"_s); // in the main window's own order
    QCOMPARE(base->CPostal->currentIndex(), -1);
  }

  void falhaDoMotorNaoGravaNadaEGuardaAsEdicoes() {
    const qint64 efectivo = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    FicheiroTeste::Referência(u"C"_s, u"4000 Porto"_s);
    Abrir();
    Sql(u"CREATE TRIGGER avaria BEFORE INSERT ON Tabelas WHEN NEW.Tipo = 'C' "
        u"BEGIN SELECT RAISE(ABORT, 'disco avariado'); END"_s);
    Escrever(0, u"Normal"_s);
    Clicar(1);
    Escolher(1, 0);
    Escrever(1, u"Efectivos"_s);
    Clicar(2);
    Escrever(2, u"1000-001 Lisboa"_s);
    Clicar(1);
    Escolher(2, 0);
    Clicar(3);
    const auto antes = Consultar(u"SELECT * FROM Tabelas ORDER BY Código"_s);
    Clicar(4);
    QCOMPARE(respostas->caixas.size(), 2); // the deletion's question, then the failure
    QCOMPARE(respostas->caixas[1].ícone, Ícone::Crítico);
    QVERIFY(respostas->caixas[1].texto.contains(u"Quotas.Dad"_s));
    QCOMPARE(Consultar(u"SELECT * FROM Tabelas ORDER BY Código"_s), antes);
    QCOMPARE(base->Situação->itemText(0), u"Efectivo"_s);
    QCOMPARE(Textos(1), QStringList{u"Efectivos"_s}); // the edits are kept

    // The same edits, saved once the fault is gone; a further save adds nothing.
    Sql(u"DROP TRIGGER avaria"_s);
    Clicar(4);
    Clicar(4);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(Linhas(u"T"_s), QStringList{u"Normal"_s});
    QCOMPARE(Consultar(u"SELECT Código, Designação FROM Tabelas WHERE Tipo = 'S'"_s),
             (QList<QVariantList>{{efectivo, u"Efectivos"_s}}));
    QCOMPARE(Linhas(u"C"_s), QStringList{u"1000-001 Lisboa"_s});
  }

  // A postal code not in the CTT form is asked about as it enters the list: Não leaves the
  // list as it was and the text to correct, Sim keeps it.
  void codigoPostalForaDaFormaPerguntado() {
    Abrir();
    respostas->Responder({Resposta::Não});
    Escrever(2, u"1000 Lisboa"_s);
    Clicar(1);
    QCOMPARE(Textos(2), QStringList());
    QCOMPARE(QApplication::focusWidget(), Item(2));
    Clicar(1);
    Escrever(2, u"4000-123 Porto"_s);
    Clicar(1);
    QCOMPARE(respostas->caixas.size(), 2);
    Escolher(2, 0);
    Escrever(2, u"1000-10 Lisboa"_s);
    respostas->Responder({Resposta::Não});
    Clicar(2);
    QCOMPARE(respostas->caixas.size(), 3);
    Clicar(4);
    QCOMPARE(Linhas(u"C"_s), (QStringList{u"1000 Lisboa"_s, u"4000-123 Porto"_s}));
  }
};

QTEST_MAIN(TestTabelas)
#include "TestTabelas.moc"
