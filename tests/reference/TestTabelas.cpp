#include "Base.h"
#include "Cabecalho.h"
#include "ColDados.h"
#include "Dados.h"
#include "Avaria.h"
#include "FicheiroTeste.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Referencias.h"
#include "Respostas.h"
#include "Tabelas.h"
#include "Validacao.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The reference tables editor and the association data window, driven as a user would; the
// file is read back after each save.
class TestTabelas : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  std::unique_ptr<Base> base;
  std::unique_ptr<Tabelas> janela;

  template <class T> T *W(const QString &nome) { return Controlo<T>(janela.get(), nome); }
  static QString Nome(int k) { return QStringList{u"TipoQuota"_s, u"Situação"_s, u"CPostal"_s}[k]; }
  QListWidget *Lista(int k) { return W<QListWidget>(Nome(k)); }
  static QStringList Linhas(const QString &tipo) {
    return Coluna(u"SELECT \"Designação\" FROM \"Tabelas\" WHERE \"Tipo\" = '"_s + tipo +
                  u"' ORDER BY \"Código\""_s);
  }
  static void Sql(const QString &sql) { Dados().bd.Executar(sql, {}, u"teste"_s); }

  std::unique_ptr<ColDados> dados;
  QLineEdit *Campo(const QString &nome) { return Controlo(dados.get(), nome); }
  QComboBox *CPostal() { return Controlo<QComboBox>(dados.get(), u"CPostal"_s); }
  void AbrirDados() {
    dados.reset();
    if (!base)
      base = std::make_unique<Base>();
    dados = std::make_unique<ColDados>(base.get());
    Mostrar(dados.get());
  }
  void ClicarDados(int i) { ::Clicar(::Comando(dados.get(), i)); }
  static QStringList Colectividade() {
    return Coluna(u"SELECT \"Tipo\" || '=' || \"Designação\" FROM \"Tabelas\" "
                  u"WHERE \"Tipo\" BETWEEN '1' AND '6' ORDER BY \"Tipo\""_s);
  }

  void Abrir() {
    if (!base)
      base = std::make_unique<Base>();
    janela = std::make_unique<Tabelas>(base.get(), [this] { base->MostrarListas(); });
    Mostrar(janela.get());
  }
  void Clicar(int i) { ::Clicar(::Comando(janela.get(), i)); }
  // Types into the tab's field and, when given, presses the button.
  void Escrever(int k, const QString &texto, int botão = -1) {
    W<QTabWidget>(u"BaseTabelas"_s)->setCurrentIndex(k);
    ::Escrever(W<QLineEdit>(u"Item"_s + Nome(k)), texto);
    if (botão >= 0)
      Clicar(botão);
  }
  void Escolher(int k, int linha) {
    W<QTabWidget>(u"BaseTabelas"_s)->setCurrentIndex(k);
    QListWidget *l = Lista(k);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                      l->visualItemRect(l->item(linha)).center());
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
  }
  void cleanup() {
    dados.reset();
    janela.reset();
    base.reset();
    respostas.reset();
    ficheiro.reset();
  }

  // Edits reach the file and the main window only on save; an engine failure writes none and
  // keeps them on screen, saved once the fault is gone.
  void gravarEscreveTudoOuNada() {
    const qint64 normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    const qint64 reformado = FicheiroTeste::Referência(u"T"_s, u"Reformado"_s);
    const qint64 efectivo = FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    const qint64 porto = FicheiroTeste::Referência(u"C"_s, u"4000 Porto"_s);
    const auto antes = Consultar(u"SELECT * FROM \"Tabelas\" ORDER BY \"Código\""_s);
    Abrir();
    base->Situação->setCurrentIndex(base->Situação->findData(efectivo));
    base->CPostal->setCurrentIndex(base->CPostal->findData(porto));
    Escolher(2, 0);
    respostas->Responder({Resposta::Sim});
    Clicar(3);
    Clicar(0); // "&Cancelar"
    QCOMPARE(base->CPostal->currentText(), u"4000 Porto"_s);
    Abrir();
    PlantarAvaria(u"Tabelas"_s, u"INSERT"_s, u"NEW.\"Tipo\" = 'C'"_s);
    Escolher(0, 0);
    Escrever(0, u"Normal  B"_s, 2);
    Escrever(0, u"Juvenil"_s, 1);
    Escolher(0, 2);
    respostas->Responder({Resposta::Não, Resposta::Sim});
    Clicar(3); // "Não" keeps the row: the next deletion takes it, not "Reformado"
    QVERIFY(respostas->caixas.last().nãoPorOmissão);
    Clicar(3);
    // Added text is compacted, told apart by case, and refused with a beep when blank or there.
    const int bips = respostas->bips;
    Escrever(1, u"  Membro   Honorario  "_s, 1);
    Escrever(1, u"efectivo"_s, 1);
    Escrever(1, u"Efectivo"_s, 1);
    Escrever(1, u"   "_s, 1);
    QCOMPARE(respostas->bips, bips + 2);
    Escolher(1, 0);
    Escrever(1, u"Efectivos"_s, 2);
    // A postal code not in the CTT form is asked about: Não leaves it out, Sim takes it.
    const qsizetype perguntas = respostas->caixas.size();
    respostas->Responder({Resposta::Não});
    Escrever(2, u"1000 Lisboa"_s, 1);
    Escrever(2, u"1234-5678 Lisboa"_s, 1);
    Escrever(2, u"4000-123 Porto"_s, 1);
    QCOMPARE(respostas->caixas.size(), perguntas + 2);
    QVERIFY(respostas->caixas.last().texto.contains(u"«1234-5678 Lisboa»"_s));
    Escolher(2, 0);
    respostas->Responder({Resposta::Sim});
    Clicar(3);
    Clicar(4);
    QCOMPARE(respostas->caixas.last().ícone, Ícone::Crítico);
    QVERIFY(respostas->caixas.last().texto.contains(NomeDosDados()));
    // Nothing written, neither before the save nor by it; the edits are kept.
    QCOMPARE(Consultar(u"SELECT * FROM \"Tabelas\" ORDER BY \"Código\""_s), antes);
    const QStringList situações{u"Efectivos"_s, u"Membro Honorario"_s, u"efectivo"_s};
    QCOMPARE(Textos(Lista(1)), situações);

    // The same edits, saved once the fault is gone.
    RetirarAvaria();
    Clicar(4);
    QCOMPARE(Consultar(u"SELECT \"Código\", \"Designação\" FROM \"Tabelas\" WHERE \"Tipo\" = 'T'"_s),
             (QList<QVariantList>{{normal, u"Normal B"_s}, {reformado, u"Reformado"_s}}));
    QCOMPARE(Linhas(u"C"_s), (QStringList{u"1234-5678 Lisboa"_s, u"4000-123 Porto"_s}));
    QCOMPARE(base->Situação->currentText(), u"Efectivos"_s);
    QCOMPARE(base->Situação->itemText(0), u"efectivo"_s); // in the main window's own order
    QCOMPARE(base->CPostal->currentIndex(), -1);

    // A changed row deleted behind the window's back is written anew, never over another.
    Escolher(0, 0);
    Escrever(0, u"Normal C"_s, 2);
    Sql(u"DELETE FROM \"Tabelas\" WHERE \"Código\" = "_s + QString::number(normal));
    Clicar(4);
    QCOMPARE(Linhas(u"T"_s), (QStringList{u"Reformado"_s, u"Normal C"_s}));
    QCOMPARE(Linhas(u"S"_s), situações);
  }

  // The CTT form "NNNN-NNN", alone or followed by the locality; a digit more, or a letter.
  void formaDosCtt() {
    const std::pair<QString, bool> casos[] = {
        {u"1000-001 LISBOA"_s, true}, {u"1234-567"_s, true},         {u"1234-5678"_s, false},
        {u"10000-001"_s, false},      {u"1000_001 Lisboa"_s, false}, {u"A000-001 Lisboa"_s, false},
        {u"1000-00A Lisboa"_s, false}};
    for (const auto &[texto, ctt] : casos)
      QVERIFY2(ComeçaPorCódigoPostal(texto) == ctt, qPrintable(texto));
  }

  // The association data: a failure writes none of the six rows; then all, empty as a blank;
  // the page header.
  void dadosGravadosSaemNoCabecalho() {
    FicheiroTeste::Referência(u"C"_s, u"1000 Lisboa"_s);
    const qint64 porto = FicheiroTeste::Referência(u"C"_s, u"4000-001 Porto"_s);
    AbrirDados();
    PlantarAvaria(u"Tabelas"_s, u"INSERT"_s, u"NEW.\"Tipo\" = '6'"_s);
    ::Escrever(Campo(u"Nome"_s), u"Clube"_s);
    ClicarDados(1);
    QCOMPARE(respostas->caixas.size(), 1);
    QCOMPARE(respostas->caixas[0].ícone, Ícone::Crítico);
    QVERIFY(dados->isVisible() && Colectividade().isEmpty());

    RetirarAvaria();
    ClicarDados(1);
    QCOMPARE(Colectividade(),
             (QStringList{u"1=Clube"_s, u"2= "_s, u"3= "_s, u"4=0"_s, u"5= "_s, u"6= "_s}));
    QCOMPARE(Linhas(QString(QChar(TipoNIPC))), QStringList()); // none from an empty field
    QCOMPARE(respostas->caixas.size(), 1);

    AbrirDados();
    ::Escrever(Campo(u"Nome"_s), u"Clube 1-Ténis  de   Évora"_s); // no digit, no hyphen
    ::Escrever(Campo(u"Rua"_s), u"Rua Direita, 25"_s);
    ::Escrever(Campo(u"Localidade"_s), u"Porto"_s);
    CPostal()->setCurrentIndex(CPostal()->findData(porto));
    ::Escrever(Campo(u"Telefone"_s), u"22-123 45 67"_s);
    ::Escrever(Campo(u"Fax"_s), u"22 765"_s);
    ClicarDados(1);
    const QStringList esperadas{u"Clube Ténis de Évora"_s, u"Rua Direita, 25"_s, u"Porto"_s,
                                u"4000-001 Porto"_s, u"Telefone: 22123 45 67   -   Fax: 22 765"_s};
    QCOMPARE(LinhasColectividade(Dados().bd, Listas()), esperadas); // what the header prints

    AbrirDados(); // "&Cancelar" writes nothing
    ::Escrever(Campo(u"Nome"_s), u"Outro"_s);
    ClicarDados(0);
    QCOMPARE(Colectividade().at(0), u"1=Clube Ténis de Évora"_s);

    // A postal code no longer listed, a street longer than its field: saved untouched, kept.
    Sql(u"DELETE FROM \"Tabelas\" WHERE \"Tipo\" = 'C'"_s);
    const QString rua46 = u"Avenida do Almirante Gago Coutinho, Lote 12 B4"_s; // 46
    Sql(u"UPDATE \"Tabelas\" SET \"Designação\" = '"_s + rua46 + u"' WHERE \"Tipo\" = '2'"_s);
    base->CarregarListas();
    AbrirDados();
    ::Escrever(Campo(u"Fax"_s), u"22 766"_s);
    ClicarDados(1);
    QCOMPARE(Colectividade(),
             (QStringList{u"1=Clube Ténis de Évora"_s, u"2="_s + rua46, u"3=Porto"_s,
                          u"4="_s + QString::number(porto), u"5=22123 45 67"_s, u"6=22 766"_s}));
  }

  // The NIPC: a failing check digit asked about once ("Não"
  // stays on the field); a valid one asks nothing; emptied, the header prints no NIPC line.
  void nipcDaColectividade() {
    const auto nipc = [] { return Linhas(QString(QChar(TipoNIPC))); };
    const auto linhaNIPC = [] {
      return LinhaNIPC(LerLinhasTabelas(Dados().bd, TiposColectividade()));
    };
    AbrirDados();
    ::Escrever(Campo(u"Nome"_s), u"Clube"_s);
    ::Escrever(Campo(u"NIPC"_s), u"50123a4567"_s); // digits only, nine at most
    QCOMPARE(Campo(u"NIPC"_s)->text(), u"501234567"_s);
    respostas->Responder({Resposta::Não});
    ClicarDados(1);
    QCOMPARE(respostas->caixas.size(), 1);
    QVERIFY(respostas->caixas[0].texto.contains(u"501234567"_s));
    QVERIFY(dados->isVisible() && Campo(u"NIPC"_s)->hasFocus());
    QCOMPARE(nipc(), QStringList());
    respostas->Responder({Resposta::Sim});
    ClicarDados(1);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(nipc(), QStringList{u"501234567"_s});

    AbrirDados(); // kept before: not asked again
    ClicarDados(1);
    AbrirDados();
    ::Escrever(Campo(u"NIPC"_s), u"501234560"_s);
    ClicarDados(1);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(linhaNIPC(), u"NIPC: 501234560"_s);

    AbrirDados();
    ::Escrever(Campo(u"NIPC"_s), QString());
    ClicarDados(1);
    QCOMPARE(nipc(), QStringList{u" "_s});
    QCOMPARE(linhaNIPC(), QString());
  }
};

QTEST_MAIN(TestTabelas)
#include "TestTabelas.moc"
