#include "Base.h"
#include "Cabecalho.h"
#include "ColDados.h"
#include "Dados.h"
#include "FicheiroTeste.h"
#include "Impressao.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Referencias.h"
#include "Respostas.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The association data window: typing, saving, cancelling, and the page header that follows.
class TestColDados : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<Base> base;
  std::unique_ptr<ColDados> janela;

  template <class T = QLineEdit> T *W(const QString &nome) {
    return Controlo<T>(janela.get(), nome);
  }
  QComboBox *CPostal() { return W<QComboBox>(u"CPostal"_s); }
  void Abrir() {
    janela.reset();
    if (!base)
      base = std::make_unique<Base>();
    janela = std::make_unique<ColDados>(base.get());
    Mostrar(janela.get());
  }
  void Escrever(const QString &campo, const QString &texto) { ::Escrever(W(campo), texto); }
  void Clicar(int i) { ::Clicar(Comando(janela.get(), i)); }
  static QStringList Linhas() {
    return Coluna(u"SELECT Tipo || '=' || Designação FROM Tabelas "
                  u"WHERE Tipo BETWEEN '1' AND '6' ORDER BY Tipo"_s);
  }

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

  void primeiraAberturaGravaSeisLinhas() {
    Abrir();
    Clicar(1);
    QCOMPARE(Linhas(), (QStringList{u"1= "_s, u"2= "_s, u"3= "_s, u"4=0"_s, u"5= "_s, u"6= "_s}));
  }

  void dadosGravadosSaemNoCabecalho() {
    FicheiroTeste::Referência(u"C"_s, u"1000 Lisboa"_s);
    const qint64 porto = FicheiroTeste::Referência(u"C"_s, u"4000-001 Porto"_s);
    Abrir();
    Escrever(u"Nome"_s, u"Clube 1-Ténis  de   Évora"_s); // the digit and the hyphen beep
    QCOMPARE(W(u"Nome"_s)->text(), u"Clube Ténis  de   Évora"_s);
    Escrever(u"Rua"_s, u"Rua Direita, 25"_s);
    Escrever(u"Localidade"_s, u"Porto"_s);
    CPostal()->setCurrentIndex(CPostal()->findData(porto));
    Escrever(u"Telefone"_s, u"22-123 45 67"_s);
    Escrever(u"Fax"_s, u"22 765"_s);
    QCOMPARE(respostas->bips, 3);
    Clicar(1);
    const QStringList esperadas{u"Clube Ténis de Évora"_s, u"Rua Direita, 25"_s, u"Porto"_s,
                                u"4000-001 Porto"_s, u"Telefone: 22123 45 67   -   Fax: 22 765"_s};
    QCOMPARE(LinhasColectividade(Dados().bd, Listas()), esperadas);
    GravadorImpressão g;
    ImprimirCabeçalho(g, u"Listagem"_s, u"Página 1"_s);
    for (const QString &linha : esperadas)
      QVERIFY2(g.Procurar(linha), qPrintable(linha));

    // Opened again it shows what was saved; "&Cancelar" writes nothing.
    Abrir();
    QCOMPARE(W(u"Rua"_s)->text(), u"Rua Direita, 25"_s);
    QCOMPARE(CPostal()->currentData().toLongLong(), porto);
    Escrever(u"Nome"_s, u"Outro"_s);
    Clicar(0);
    QCOMPARE(Linhas().at(0), u"1=Clube Ténis de Évora"_s);

    // A postal code no longer in the list shows no selection and is saved as "0".
    Dados().bd.Executar(u"DELETE FROM Tabelas WHERE Tipo = 'C'"_s, {}, u"teste"_s);
    base->CarregarListas();
    Abrir();
    QCOMPARE(CPostal()->currentIndex(), -1);
    Clicar(1);
    QCOMPARE(Linhas().at(3), u"4=0"_s);
  }

  void falhaDoMotorNaoGravaNadaEMantemAJanela() {
    Abrir();
    Dados().bd.Executar(u"CREATE TRIGGER avaria BEFORE INSERT ON Tabelas WHEN NEW.Tipo = '6' "
                        u"BEGIN SELECT RAISE(ABORT, 'disco avariado'); END"_s,
                        {}, u"teste"_s);
    Escrever(u"Nome"_s, u"Clube"_s);
    Clicar(1);
    QCOMPARE(respostas->caixas.size(), 1);
    QCOMPARE(respostas->caixas[0].ícone, Ícone::Crítico);
    QVERIFY(janela->isVisible() && W(u"Nome"_s)->text() == u"Clube"_s);
    QVERIFY(Linhas().isEmpty());

    Dados().bd.Executar(u"DROP TRIGGER avaria"_s, {}, u"teste"_s);
    Clicar(1);
    QCOMPARE(Linhas().size(), 6);
    QCOMPARE(Linhas().at(0), u"1=Clube"_s);
  }
};

QTEST_MAIN(TestColDados)
#include "TestColDados.moc"
