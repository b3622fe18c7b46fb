#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "ListSocios.h"
#include "Respostas.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The member list window: listed as chosen, the empty result told, printed in the type chosen.
class TestListSocios : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    const QList<std::pair<int, QString>> sócios{
        {1, u"Zé Maria"_s}, {2, u"Álvaro Sousa"_s}, {3, u"bruno lima"_s}};
    for (const auto &[n, nome] : sócios)
      Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"CPostal\") VALUES "
                        u"(?, ?, ?)"_s,
                        {n, nome, n}, u"t"_s);
  }
  void cleanup() { ficheiro.reset(); }

  void listarEImprimir() {
    Respostas respostas;
    ListSócios j(nullptr);
    j.show();
    QApplication::setActiveWindow(&j);
    QVERIFY(QTest::qWaitForWindowActive(&j));
    QVERIFY(!j.Comando[2]->isEnabled());
    QTest::mouseClick(j.Comando[1], Qt::LeftButton); // the initial values: everyone
    QCOMPARE(j.Listagem->model()->rowCount(), 3);
    QVERIFY(j.Comando[2]->isEnabled());

    // Alphabetic with a name typed in small letters: capitals, and Portuguese order.
    j.Ordenação[2]->setChecked(true);
    j.Nome[1]->setFocus();
    j.Nome[1]->selectAll();
    QTest::keyClicks(j.Nome[1], u"a1"_s);
    QCOMPARE(j.Nome[1]->text(), u"A"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QStringList nomes;
    for (const auto &s : j.Linhas())
      nomes << s.nome;
    QCOMPARE(nomes, (QStringList{u"Álvaro Sousa"_s, u"bruno lima"_s, u"Zé Maria"_s}));

    // "[Todos]" lists everyone in postal code order; a range of nobody is told.
    j.Ordenação[4]->setChecked(true);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(j.Listagem->model()->rowCount(), 3);
    j.Ordenação[1]->setChecked(true);
    j.Número[1]->setText(u"000500"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(j.Listagem->model()->rowCount(), 0);
    QCOMPARE(respostas.caixas.last().texto, u"Não encontrei o registo no  ficheiro."_s);
    j.Número[1]->setText(u"000001"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);

    int páginas = 0;
    QStringList impresso;
    FábricaImpressãoFalsa fábrica([&](const QString &) {
      auto g = std::make_unique<GravadorImpressão>();
      g->aoTerminar = [&](const GravadorImpressão &p) {
        páginas = p.páginas;
        impresso = p.Textos();
      };
      return g;
    });
    QTest::mouseClick(j.Comando[2], Qt::LeftButton);
    QVERIFY(j.Impressão->isVisible());
    j.Tipo[4]->setChecked(true);
    QTest::mouseClick(j.Imprimir2, Qt::LeftButton);
    QCOMPARE(páginas, 1);
    QVERIFY(impresso.contains(u"Álvaro Sousa"_s));
    QTest::mouseClick(j.Sair, Qt::LeftButton);
    QVERIFY(!j.Impressão->isVisible());
  }

  // Exported as the grid shows it; a file that cannot be written is told, never a success.
  void exportar() {
    Respostas respostas;
    ListSócios j(nullptr);
    QVERIFY(!j.Exportar->isEnabled());
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    {
      EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"sócios"_s));
      QTest::mouseClick(j.Exportar, Qt::LeftButton);
    }
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"sócios.csv"_s)),
             "\xEF\xBB\xBFNúmero;Nome;Data Inscr;Rua;Localidade;Código Postal\r\n"
             "1;Zé Maria;--;;;\r\n2;Álvaro Sousa;--;;;\r\n3;bruno lima;--;;;\r\n"_ba);
    QCOMPARE(respostas.caixas.size(), 1);
    EscolhaFicheiroFalsa semPasta(ficheiro->Caminho(u"não existe/sócios.csv"_s));
    QTest::mouseClick(j.Exportar, Qt::LeftButton);
    QCOMPARE(respostas.caixas.size(), 2);
    QCOMPARE(respostas.caixas[1].ícone, Ícone::Crítico);
  }
};

QTEST_MAIN(TestListSocios)
#include "TestListSocios.moc"
