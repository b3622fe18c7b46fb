#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "LerFicheiro.h"
#include "Respostas.h"
#include "TaloesRecibo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The receipt stubs window: a run prints and numbers, the counter follows; without the
// association's name nothing is printed and no number is used.
class TestTaloesRecibo : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    for (int n : {1, 2})
      Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (?, ?)"_s,
                        {n, u"Sócio "_s + QString::number(n)}, u"t"_s);
  }
  void cleanup() { ficheiro.reset(); }

  void execucao() {
    Respostas respostas;
    int documentos = 0, talões = 0;
    FábricaImpressãoFalsa fábrica([&](const QString &) {
      ++documentos;
      auto g = std::make_unique<GravadorImpressão>();
      g->aoTerminar = [&](const GravadorImpressão &p) {
        talões = int(p.Textos().count(u"Talão de Recibo de Quotização"_s));
      };
      return g;
    });
    TalõesRecibo j(nullptr);
    QCOMPARE(j.Ninicial->text(), u"0"_s);
    j.Mês->setCurrentIndex(j.Mês->findData(4)); // Trimestral
    j.MesX->setText(u"3"_s);

    // No association name: the message, no document, no number used.
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(respostas.caixas.size(), 1);
    QCOMPARE(respostas.caixas[0].texto, u"Terá que defenir o Nome da Colectividade"_s);
    QCOMPARE(documentos, 0);
    QCOMPARE(Coluna(u"SELECT count(*) FROM Tabelas WHERE Tipo = 'q'"_s), QStringList{u"0"_s});

    FicheiroTeste::Referência(u"1"_s, u"Sociedade Recreativa"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(documentos, 1);
    QCOMPARE(talões, 2 * 2 * 2); // two members, the 3rd and 4th quarters, two halves each
    QCOMPARE(j.Ninicial->text(), u"4"_s);
    QCOMPARE(Coluna(u"SELECT Designação FROM Tabelas WHERE Tipo = 'q'"_s), QStringList{u"4"_s});
  }
};

QTEST_MAIN(TestTaloesRecibo)
#include "TestTaloesRecibo.moc"
