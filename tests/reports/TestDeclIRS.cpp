#include "Dados.h"
#include "DeclIRS.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "Respostas.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The declaration window: the year's total read, a bad total refused, a number with no
// member, the letter printed.
class TestDeclIRS : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\") VALUES (12, 'Ana Silva')"_s,
                      {}, u"t"_s);
    for (const auto &[chave, valor] :
         {std::pair{u"000012200301"_s, 125000}, std::pair{u"000012200302"_s, 125000},
          std::pair{u"000012200401"_s, 990000}})
      Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, 1)"_s, {chave, valor}, u"t"_s);
  }
  void cleanup() { ficheiro.reset(); }

  void declaracao() {
    Respostas respostas;
    DeclIRS j(nullptr, u"000012"_s, u"Ana Silva"_s);
    j.show();
    QApplication::setActiveWindow(&j);
    QVERIFY(QTest::qWaitForWindowActive(&j));
    j.Ano->setFocus();
    j.Ano->setText(u"2003"_s);
    j.Quotizações->setFocus(); // leaving the year sums it again
    QCOMPARE(j.Quotizações->text(), u"25,00"_s);
    QVERIFY(j.Declaração->toPlainText().contains(
        u"com o número 12, tendo pago, no ano de 2003, o total de 25,00 (Euros)  em "_s));
    // A total that is not an amount: a beep, and the one before comes back.
    const int bips = respostas.bips;
    j.Quotizações->setText(u"1,2,3"_s);
    j.Declaração->setFocus();
    QCOMPARE(j.Quotizações->text(), u"25,00"_s);
    QCOMPARE(respostas.bips, bips + 1);

    QStringList impresso;
    FábricaImpressãoFalsa fábrica([&](const QString &) {
      auto g = std::make_unique<GravadorImpressão>();
      g->aoTerminar = [&](const GravadorImpressão &p) { impresso = p.Textos(); };
      return g;
    });
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QVERIFY(impresso.contains(u"D E C L A R A Ç Ã O"_s));
    QVERIFY(impresso.contains(u"P´la Direcção,"_s));

    // No such member: nothing to print.
    j.Número->setText(u"13"_s);
    QVERIFY(j.Nome->text().isEmpty());
    QVERIFY(j.Declaração->toPlainText().isEmpty());
    QVERIFY(!j.Comando[1]->isEnabled());
  }
};

QTEST_MAIN(TestDeclIRS)
#include "TestDeclIRS.moc"
