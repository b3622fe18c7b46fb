#include "Dados.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Janela.h"
#include "ListSocios.h"
#include "Procura.h"
#include "Procurar.h"
#include "RelatoriosExportar.h"
#include "Respostas.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The member list window, and finding a member by number or by a name pattern.
class TestListSocios : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;

  // Members with their number as postal code.
  static void Inserir(const QList<std::pair<int, QString>> &sócios) {
    for (const auto &[n, nome] : sócios)
      Dados().bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"CPostal\") VALUES "
                        u"(?, ?, ?)"_s,
                        {n, nome, n}, u"t"_s);
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // Exported as the grid shows it; a file that cannot be written is told, never a success.
  void listarEExportar() {
    Inserir({{1, u"Zé Maria"_s}, {2, u"Álvaro Sousa"_s}, {3, u"bruno lima"_s}});
    Respostas respostas;
    ListSócios j(nullptr);
    Mostrar(&j);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton); // the initial values: everyone
    ExportarPara(j.Exportar, ficheiro->Caminho(u"sócios"_s));
    QCOMPARE(PastaTeste::Conteúdo(ficheiro->Caminho(u"sócios.csv"_s)),
             "\xEF\xBB\xBFNúmero;Nome;Data Inscr;Rua;Localidade;Código Postal\r\n"
             "1;Zé Maria;--;;;\r\n2;Álvaro Sousa;--;;;\r\n3;bruno lima;--;;;\r\n"_ba);
    ExportarPara(j.Exportar, ficheiro->Caminho(u"não existe/sócios.csv"_s));
    QCOMPARE(respostas.caixas.size(), 2);
    QCOMPARE(respostas.caixas[1].ícone, Ícone::Crítico);

    // By name from "B1": capitals, digits kept, signs dropped; an emptied bound is "ZZ".
    j.Ordenação[2]->setChecked(true);
    Escrever(j.Nome[1], u"b1º."_s);
    Escrever(j.Nome[2], QString());
    j.Nome[1]->setFocus();
    QCOMPARE(j.Nome[1]->text() + j.Nome[2]->text(), u"B1ZZ"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    FábricaImpressãoFalsa impressões;
    QTest::mouseClick(j.Comando[2], Qt::LeftButton);
    j.Tipo[3]->setChecked(true);
    QTest::mouseClick(j.Imprimir2, Qt::LeftButton);
    QVERIFY(impressões.textos.contains(u"bruno lima"_s) &&
            !impressões.textos.contains(u"Álvaro Sousa"_s));
    QTest::mouseClick(j.Sair, Qt::LeftButton); // gives the keyboard back to the buttons
    QVERIFY(j.Comando[2]->hasFocus());

    // A range of nobody is told.
    j.Ordenação[1]->setChecked(true);
    j.Número[1]->setText(u"000500"_s);
    QTest::mouseClick(j.Comando[1], Qt::LeftButton);
    QCOMPARE(j.Listagem->model()->rowCount(), 0);
    QCOMPARE(respostas.caixas.last().texto, u"Não encontrei o registo no  ficheiro."_s);
  }

  // A panel's access key reaches its field from any tab. The print panel, open, alone takes the
  // keys: Enter and Alt+I print, Alt+R and Escape close it, not the window.
  void teclado() {
    Inserir({{1, u"Ana"_s}});
    Respostas respostas;
    ListSócios j(nullptr);
    Mostrar(&j);
    const std::pair<Qt::Key, QWidget *> campos[] = {{Qt::Key_N, j.Número[1]},
                                                    {Qt::Key_O, j.Nome[1]},
                                                    {Qt::Key_C, j.CPostal},
                                                    {Qt::Key_T, j.TipoQuota},
                                                    {Qt::Key_S, j.Situação}};
    for (const auto &[tecla, campo] : campos) {
      j.SSTab1->setCurrentIndex(4);
      QTest::keyClick(QApplication::focusWidget(), tecla, Qt::AltModifier);
      QTRY_COMPARE(QApplication::focusWidget(), campo);
      QVERIFY(j.SSTab1->currentWidget()->isAncestorOf(campo));
    }

    FábricaImpressãoFalsa impressões;
    const auto tecla = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
      impressões.documento.clear();
      QTest::keyClick(QApplication::focusWidget(), k, m);
      QTest::qWait(150);                      // an access key's click is animated
      return !impressões.documento.isEmpty(); // printed
    };
    QVERIFY(!tecla(Qt::Key_L, Qt::AltModifier));
    QVERIFY(!tecla(Qt::Key_I, Qt::AltModifier)); // the panel opens on its own "Imprimir"
    QVERIFY(j.Impressão->isVisible());
    QCOMPARE(QApplication::focusWidget(), j.Imprimir2);
    QVERIFY(tecla(Qt::Key_Return));
    QVERIFY(tecla(Qt::Key_I, Qt::AltModifier));
    QVERIFY(!tecla(Qt::Key_L, Qt::AltModifier)); // the window's own buttons wait
    QVERIFY(j.Impressão->isVisible());
    for (const auto &[k, m] : {std::pair{Qt::Key_R, Qt::AltModifier},
                               {Qt::Key_Escape, Qt::NoModifier},
                               {Qt::Key_Return, Qt::NoModifier}}) {
      if (k == Qt::Key_Return)
        j.Sair->setFocus(Qt::TabFocusReason); // Enter on the panel's "Sair" is that button's
      QVERIFY(!tecla(k, m));
      QVERIFY(!j.Impressão->isVisible() && j.isVisible());
      QCOMPARE(QApplication::focusWidget(), j.Comando[2]);
      QVERIFY(!tecla(Qt::Key_I, Qt::AltModifier));
      QVERIFY(j.Impressão->isVisible());
    }
  }

  // Each pattern's members proposed (Não to each), or the one taken at once without a "*".
  void padroesEJanela() {
    Inserir({{3, u"JOSÉ SILVA"_s},
             {7, u"Ana Silva"_s},
             {12, u"josé silva"_s},
             {20, u"SILVA PEREIRA"_s},
             {25, u"Silvano Reis"_s},
             {31, u"O'Neill"_s}});
    const QList<std::tuple<QString, QList<int>, int>> casos = {
        {u"jose*"_s, {3, 12}, 0}, {u"*silva"_s, {3, 7, 12}, 0},
        {u"José Silva"_s, {}, 3}, {u"o'neill"_s, {}, 31},
        {u"Zé*"_s, {}, 0},
    };
    for (const auto &[padrao, propostos, semPergunta] : casos) {
      QList<int> vistos;
      const qint32 r = ProcurarPorNome(Dados().bd, padrao, [&](qint32 n, const QString &) {
        vistos << n;
        return RespostaProposta::Não;
      });
      QCOMPARE(vistos, propostos);
      QCOMPARE(r, semPergunta);
    }

    Respostas respostas;
    qint32 mostrado = -1;
    Procurar j(nullptr, u"000007"_s, u"Ana Silva"_s, [&](qint32 n) { mostrado = n; });
    Mostrar(&j);
    // By number, Enter in the field searching: not found, a message; then found, shown, closed.
    for (const QString &número : {u"99"_s, u"12"_s}) {
      Escrever(j.Código[1], número);
      QTest::keyClick(j.Código[1], Qt::Key_Return);
    }
    QCOMPARE(respostas.caixas.size(), 1);
    QCOMPARE(respostas.caixas[0].texto, u"O sócio pretendido não foi encontrado em ficheiro..."_s);
    QCOMPARE(mostrado, 12);
    QVERIFY(!j.isVisible());
    // By name: letters and one "*" typed; each match proposed in turn.
    Procurar p(nullptr, u"000007"_s, u"Ana Silva"_s, [&](qint32 n) { mostrado = n; });
    Mostrar(&p);
    p.Opção[2]->setChecked(true);
    const int bips = respostas.bips;
    Escrever(p.Código[2], u"*s1*ilva"_s);
    QCOMPARE(p.Código[2]->text(), u"*silva"_s);
    QCOMPARE(respostas.bips, bips + 2);
    // Cancelar ends the search with nothing found; Sim takes the member proposed.
    respostas.Responder({Resposta::Cancelar});
    QTest::mouseClick(p.Comando[1], Qt::LeftButton);
    QCOMPARE(respostas.caixas.last().texto, respostas.caixas[0].texto);
    QCOMPARE(mostrado, 12);
    respostas.Responder({Resposta::Não, Resposta::Sim});
    QTest::mouseClick(p.Comando[1], Qt::LeftButton);
    QCOMPARE(mostrado, 7);
  }
};

QTEST_MAIN(TestListSocios)
#include "TestListSocios.moc"
