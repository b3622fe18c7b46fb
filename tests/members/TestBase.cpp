#include "Base.h"
#include "Campos.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "Formatacao.h"
#include "Guardas.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "MembrosFicha.h"
#include "Respostas.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// The main window driven as a user would: typing, leaving fields, clicking, answering the
// boxes; then the file is read back.
class TestBase : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  RelógioFixo relógio{QDateTime(QDate(2003, 5, 20), QTime(10, 30))}; // for the whole suite
  std::unique_ptr<Base> base;

  template <class T = QLineEdit> T *W(const QString &nome) { return Controlo<T>(base.get(), nome); }
  QTabWidget *Separadores() { return W<QTabWidget>(u"Dados"_s); }
  QScrollBar *Posição() { return W<QScrollBar>(u"Posição"_s); }
  static QWidget *Foco() { return QApplication::focusWidget(); }
  static void Tecla(int k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(Foco(), Qt::Key(k), m); }
  static QStringList Sócios() { return Coluna(u"SELECT count(*) FROM Sócios"_s); }

  void Abrir() { Mostrar((base = std::make_unique<Base>()).get()); }
  void TrazerSeparador(QWidget *w) {
    for (int i = 0; i < 3; ++i)
      if (Separadores()->widget(i)->isAncestorOf(w))
        Separadores()->setCurrentIndex(i);
  }
  // Brings the field's tab to the front, then types over its text.
  void Escrever(const QString &campo, const QString &texto) {
    QWidget *w = W<QWidget>(campo);
    TrazerSeparador(w);
    ::Escrever(w, texto);
  }
  void Novo(const QString &número, const QString &nome) {
    Abrir();
    Escrever(u"Número"_s, número);
    Escrever(u"Nome"_s, nome);
  }
  void Escolher(const QString &lista, int item) { W<QComboBox>(lista)->setCurrentIndex(item); }
  // A dues row of 2003 typed on the dues tab (month: the list's item), not yet added.
  void Dívida(int mês, const QString &quota, const QString &recibo) {
    Escrever(u"Ano"_s, u"2003"_s);
    Escolher(u"Mês"_s, mês);
    Escrever(u"Quota"_s, quota);
    Escrever(u"Recibo"_s, recibo);
  }
  void Clicar(int i) {
    if (i >= 4)
      Separadores()->setCurrentIndex(1);
    ::Clicar(Comando(base.get(), i));
  }
  QString LinhaTabela(int l) {
    QStringList c;
    for (int k = 0; k < 4; ++k)
      c << (W<QTableWidget>(u"Quotas"_s)->item(l, k) ? W<QTableWidget>(u"Quotas"_s)->item(l, k)->text() : QString());
    return c.join(u'|');
  }
  QStringList Quotas(const QString &prefixo = {}) {
    return Coluna(
        u"SELECT SócMês || '/' || QuotaEuro || '/' || Recibo FROM Quotizações WHERE SócMês LIKE '"_s +
        prefixo + u"%' ORDER BY SócMês"_s);
  }
  static void Sócio(int número, const QString &nome, const QList<std::pair<int, int>> &meses = {}) {
    QCOMPARE(
        GravarDeTeste(FichaDeTeste(QString::number(número), nome), 0, QuotasDeTeste(meses)).erro,
        ErroFicha::Nenhum);
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
  }
  void cleanup() {
    base.reset();
    respostas.reset();
    ficheiro.reset();
  }

  void criarUmSocioEGuardarOQueOEcraMostra() {
    FicheiroTeste::Referência(u"C"_s, u"4000-001 Porto"_s);
    FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    Abrir();
    const std::pair<const char *, QString> campos[] = {
        {"Número", u"25"_s},          {"Nome", u"  Maria   da  Silva "_s},
        {"Rua", u"Rua Direita,  25"_s}, {"Localidade", u"Porto"_s},
        {"DtInscrição", u"15-09-1996"_s}, {"ValQuota", u"1234,56"_s},
        {"Observações", u"Paga  em  dia"_s}};
    for (const auto &[campo, texto] : campos)
      Escrever(QString::fromUtf8(campo), texto);
    Escolher(u"CPostal"_s, 0);
    Escolher(u"TipoQuota"_s, 0);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 0);
    QCOMPARE(base->SócioActual, 25);
    QCOMPARE(Consultar(u"SELECT Número, Nome, CPostal, Situação, TipoQuota, Inscrição, "
                       u"ValQuotaEuro, Rua, Localidade, Observações, NIF FROM Sócios"_s),
             (QList<QVariantList>{{25, u"Maria da Silva"_s, 1, 0, 3, u"19960915"_s, 12345600,
                                   u"Rua Direita, 25 "_s, u"Porto "_s, u"Paga em dia "_s, u"0"_s}}));
    Clicar(3); // saved again unchanged, the grouped amount reads back exactly
    QCOMPARE(Coluna(u"SELECT ValQuotaEuro FROM Sócios"_s), QStringList{u"12345600"_s});
  }

  // The save's checks in order, each refusal with its message, a beep and the focus on the
  // field; nothing is written, dues entered before it included, until all pass.
  void mensagensDaGravacaoEFoco() {
    Sócio(7, u"Primeiro"_s);
    Abrir();
    Clicar(1);
    QVERIFY(W(u"Número"_s)->hasFocus());
    QCOMPARE(W(u"DtInscrição"_s)->text(), u"20-05-2003"_s); // today
    Escrever(u"Nome"_s, u""_s);
    Escrever(u"ValQuota"_s, u"1-2"_s);
    Escrever(u"DtInscrição"_s, u"31-02-2003"_s);
    Clicar(4);
    const std::tuple<QString, QString, ErroFicha> passos[] = {
        {u"DtInscrição"_s, u"5/9/1996"_s, ErroFicha::Data},
        {u"ValQuota"_s, u"7.5"_s, ErroFicha::Valor},
        {u"Nome"_s, u"Rui"_s, ErroFicha::Nome},
        {u"Número"_s, u"7"_s, ErroFicha::Número},
        {u"Número"_s, u"8"_s, ErroFicha::NúmeroExiste}};
    for (const auto &[campo, corrigido, erro] : passos) {
      Clicar(3);
      QCOMPARE(respostas->caixas.last().texto, MensagemErroFicha(erro));
      QCOMPARE(Foco(), W<QWidget>(campo));
      QCOMPARE(Coluna(u"SELECT Nome FROM Sócios"_s), QStringList{u"Primeiro"_s});
      QCOMPARE(Quotas(), QStringList());
      Escrever(campo, corrigido);
    }
    QCOMPARE(respostas->bips, 5);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 5);
    // A one-digit day and month are put right before they are stored.
    QCOMPARE(Coluna(u"SELECT Inscrição || '/' || ValQuotaEuro FROM Sócios WHERE Número = 8"_s),
             QStringList{u"19960905/75000"_s});
    QCOMPARE(Quotas(u"000008"_s).size(), 1);
  }

  // Fields stored as typed or refused at their limits: never a cut amount or half a character.
  // An enrolment after today (20-05-2003) is asked about once per date typed, Não by default:
  // Não writes nothing, Sim saves; a stored value is not asked about again.
  void gravarGuardaOQueFoiEscrito() {
    const QString cara = u"\U0001F600"_s;
    const std::tuple<QString, QString, QString, QString, bool> casos[] = {
        {u"ValQuota"_s, u"12345678,91"_s, u"ValQuotaEuro"_s, QString(), false}, // too long formatted
        {u"ValQuota"_s, u"9999999,99"_s, u"ValQuotaEuro"_s, u"99999999900"_s, false},
        {u"DtInscrição"_s, u"31-12-1899"_s, u"Inscrição"_s, QString(), false},
        {u"DtInscrição"_s, u"1-1-1900"_s, u"Inscrição"_s, u"19000101"_s, false},
        {u"DtInscrição"_s, u"20/5/2003"_s, u"Inscrição"_s, u"20030520"_s, false}, // today
        {u"DtInscrição"_s, u"21-05-2003"_s, u"Inscrição"_s, u"20030521"_s, true},
        {u"DtInscrição"_s, u"31/12/9999"_s, u"Inscrição"_s, u"99991231"_s, true},
        {u"Nome"_s, u"A"_s.repeated(44) + cara + cara, u"Nome"_s, u"A"_s.repeated(44), false}};
    for (const auto &[campo, escrito, coluna, guardado, perguntada] : casos) {
      cleanup(); // each case on an empty file
      init();
      Novo(u"7"_s, u"Rui"_s);
      Escrever(campo, escrito);
      Clicar(3); // Enter's answer
      QCOMPARE(respostas->caixas.size(), guardado.isEmpty() || perguntada ? 1 : 0);
      if (perguntada) {
        const PedidoMensagem &p = respostas->caixas[0];
        QVERIFY2(p.texto.contains(*NormalizarData(escrito)) && p.nãoPorOmissão, qPrintable(p.texto));
        QCOMPARE(Foco(), W<QWidget>(u"DtInscrição"_s));
        QCOMPARE(Sócios(), QStringList{u"0"_s});
        respostas->Responder({Resposta::Sim});
        Clicar(3);
      }
      QCOMPARE(Coluna(u"SELECT "_s + coluna + u" FROM Sócios"_s),
               guardado.isEmpty() ? QStringList() : QStringList{guardado});
      if (guardado.isEmpty())
        continue;
      const qsizetype caixas = respostas->caixas.size();
      Escrever(u"Rua"_s, u"Rua Nova"_s);
      Clicar(3);
      QCOMPARE(respostas->caixas.size(), caixas);
      QCOMPARE(Coluna(u"SELECT Rua FROM Sócios"_s), QStringList{u"Rua Nova "_s});
    }
  }

  // A member stored without an enrolment date (as an import may bring it) is saved again
  // without one, from the screen with no box; a new member, or an emptied stored date, is not.
  void semDataDeInscricao() {
    Dados().bd.Executar(
        u"INSERT INTO Sócios (Número, Nome, Inscrição, NIF) VALUES (9, 'Ana', '', '0')"_s, {},
        u"teste"_s);
    Dados().sócios->Reexecutar(); // as an import leaves it
    Abrir();
    base->MostrarSócio(9);
    QCOMPARE(W(u"DtInscrição"_s)->text(), QString());
    Escrever(u"Rua"_s, u"Rua Nova"_s);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 0);
    QCOMPARE(Coluna(u"SELECT Rua || ':' || Inscrição FROM Sócios"_s), QStringList{u"Rua Nova :"_s});
    Sócio(7, u"Rui"_s);
    QCOMPARE(GravarDeTeste(FichaDeTeste(u"10"_s, u"Novo"_s, {})).erro, ErroFicha::Data);
    QCOMPARE(GravarDeTeste(FichaDeTeste(u"7"_s, u"Novo"_s, {}), 7).erro, ErroFicha::Data);
    QCOMPARE(GravarDeTeste(FichaDeTeste(u"9"_s, u"Novo"_s, {}), 9).erro, ErroFicha::Nenhum);
  }

  // Control characters never reach the file, as another program reads it: the remarks keep
  // line breaks and tabs, the one-line fields turn them into blanks.
  void caracteresDeControloNaoChegamAoFicheiro() {
    Novo(u"7"_s, u"Rui"_s);
    auto *obs = W<QPlainTextEdit>(u"Observações"_s);
    TrazerSeparador(obs);
    obs->setFocus(); // a paste arrives as an insertion at the cursor
    obs->insertPlainText(u"nota"_s + QChar(0) + QChar(0) + u" um\tdois\x01\x1b\x7f\nfim"_s);
    Clicar(3);
    const auto hex = [](const QString &t) { return QString::fromLatin1(t.toUtf8().toHex().toUpper()); };
    QCOMPARE(Coluna(u"SELECT hex(Observações) FROM Sócios"_s), QStringList{hex(u"nota um\tdois\nfim "_s)});
    const FichaSócio f{u"8"_s, u"Ana\x01 Maria\tSilva"_s, 0, 0, 0, u"01-01-2000"_s, {},
                       u"Rua\nNova"_s + QChar(0), u"Porto\x1b"_s, u"a\rb"_s + QChar(0),
                       u"123456789"_s + QChar(0)};
    QCOMPARE(GravarDeTeste(f).erro, ErroFicha::Nenhum);
    QCOMPARE(Coluna(u"SELECT hex(Nome || '|' || Rua || '|' || Localidade || '|' || "
                    u"Observações || '|' || NIF) FROM Sócios WHERE Número = 8"_s),
             QStringList{hex(u"Ana Maria Silva|Rua Nova |Porto |a\rb |123456789"_s)});
  }

  // A NIF that fails its check is marked when left, and asked about once when saved.
  void nifInvalidoMarcadoEPerguntado() {
    Novo(u"8"_s, u"Ana"_s);
    QLineEdit *nif = W(u"NIF"_s);
    const QColor normal = CorDoCampo(nif);
    Escrever(u"NIF"_s, u"123456780"_s);
    W(u"Nome"_s)->setFocus();
    QVERIFY(CorDoCampo(nif) != normal);
    respostas->Responder({Resposta::Não});
    Clicar(3);
    QCOMPARE(Foco(), nif);
    QCOMPARE(Sócios(), QStringList{u"0"_s});
    Clicar(3);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(Coluna(u"SELECT NIF FROM Sócios"_s), QStringList{u"123456780"_s});
  }

  // The dues amount: a point is a comma; formatted when left only if it then fits; one that
  // does not is refused at "Adicionar", never cut.
  void quotaComoEscrita() {
    const std::tuple<QString, QString, QString> casos[] = {
        // guardado empty: refused
        {u"12.345"_s, u"12,35"_s, u"123500"_s},
        {u"1.234,56"_s, u"1,234,56"_s, QString()}, // no thousands point
        {u"1234567,89"_s, u"1.234.567,89"_s, u"12345678900"_s},
        {u"12345678,91"_s, u"12345678,91"_s, QString()}}; // a cent too many
    for (const auto &[escrito, mostra, guardado] : casos) {
      cleanup(); // each case on an empty file
      init();
      Sócio(5, u"Ana"_s);
      Abrir();
      Dívida(0, escrito, u"1"_s);
      QCOMPARE(W(u"Quota"_s)->text(), mostra);
      Clicar(4);
      QCOMPARE(respostas->bips, guardado.isEmpty() ? 1 : 0);
      if (guardado.isEmpty())
        QCOMPARE(Foco(), W<QWidget>(u"Quota"_s));
      Clicar(3);
      QCOMPARE(Quotas(), guardado.isEmpty() ? QStringList()
                                            : QStringList{u"000005200301/"_s + guardado + u"/1"_s});
    }
  }

  // Without a mouse: the keys of a list move the current dues row, on the table or on its
  // scroll bar.
  void quotasPeloTeclado() {
    const std::tuple<bool, int, int, int> casos[] = {
        {false, 1, Qt::Key_Down, 2},   {false, 5, Qt::Key_PageDown, 8}, {false, 5, Qt::Key_Home, 1},
        {false, 2, Qt::Key_End, 8},    {false, 3, Qt::Key_2, 3}, // a digit does not search
        {true, 1, Qt::Key_PageDown, 7}};
    Sócio(3, u"Rui"_s, {{2003, 1}, {2003, 2}, {2003, 3}, {2003, 4}, {2003, 5}, {2003, 6}, {2003, 7}, {2002, 12}});
    Abrir();
    Separadores()->setCurrentIndex(1);
    for (const auto &[naBarra, desde, tecla, chega] : casos) {
      Posição()->setValue(desde);
      QTest::keyClick(naBarra ? static_cast<QWidget *>(Posição()) : W<QTableWidget>(u"Quotas"_s),
                      Qt::Key(tecla));
      QCOMPARE(Posição()->value(), chega);
    }
  }

  // A period cannot be changed; a row changed to another month leaves the old month; in place
  // only the amount changes; a row deleted and entered again is kept. Only the save writes,
  // and only this member's rows.
  void alterarApagarEGravar() {
    Sócio(12, u"Doze"_s, {{2003, 1}, {2003, 2}, {2003, 3}});
    Sócio(120, u"Cento e vinte"_s, {{2003, 1}, {2003, 2}});
    Abrir();
    Separadores()->setCurrentIndex(1);
    Escolher(u"Mês"_s, 13);
    Clicar(5);
    QCOMPARE(respostas->bips, 1);
    QCOMPARE(Foco(), W<QWidget>(u"Mês"_s));
    Posição()->setValue(3);
    Escolher(u"Mês"_s, 3); // March's row moved to April
    Escrever(u"Quota"_s, u"20"_s);
    Clicar(5);
    Posição()->setValue(2);
    Escrever(u"Quota"_s, u"15"_s);
    Clicar(5);
    Posição()->setValue(1);
    Clicar(6);
    Dívida(0, u"12,5"_s, u"401"_s);
    Clicar(4);
    Clicar(3);
    QCOMPARE(Quotas(u"000012"_s),
             (QStringList{u"000012200301/125000/401"_s, u"000012200302/150000/402"_s,
                          u"000012200304/200000/403"_s}));
    QCOMPARE(Quotas(u"000120"_s).size(), 2);
    // Removing the last row each time empties the table; Não on leaving keeps the file.
    for (int linha : {3, 2, 1}) {
      Posição()->setValue(linha);
      Clicar(6);
    }
    QCOMPARE(LinhaTabela(0), u"|||"_s);
    respostas->Responder({Resposta::Não});
    base->NavegarSócio(4);
    QCOMPARE(base->SócioActual, 120);
    QCOMPARE(Quotas(u"000012"_s).size(), 3);
  }

  void eliminarENavegar() {
    Sócio(10, u"Dez"_s, {{2003, 1}});
    Sócio(20, u"Vinte"_s);
    Sócio(30, u"Trinta"_s);
    Abrir();
    base->NavegarSócio(3); // nothing before the first
    QCOMPARE(respostas->bips, 1);
    QCOMPARE(base->SócioActual, 10);
    base->NavegarSócio(5);
    base->NavegarSócio(4); // nothing after the last
    QCOMPARE(respostas->bips, 2);
    QCOMPARE(base->SócioActual, 30);
    base->NavegarSócio(3);
    QTest::keyClick(base.get(), Qt::Key_F4);
    QCOMPARE(base->SócioActual, 30);
    // The number shown reads as typed while its field has the focus, in six digits once left.
    auto *número = W<QLineEdit>(u"Número"_s);
    número->setFocus();
    base->RecomeçarDados();
    QCOMPARE(número->text(), u"10"_s);
    W<QWidget>(u"Nome"_s)->setFocus();
    QCOMPARE(número->text(), u"000010"_s);
    base->NavegarSócio(5);
    // No keeps the member; Yes removes the highest and shows the next lower one.
    respostas->Responder({Resposta::Não, Resposta::Sim, Resposta::Sim, Resposta::Sim});
    Clicar(2);
    QVERIFY(respostas->caixas.last().texto.contains(u"30 - Trinta"_s));
    QVERIFY(respostas->caixas.last().nãoPorOmissão); // a stray Enter deletes nothing
    QCOMPARE(base->SócioActual, 30);
    Clicar(2);
    QCOMPARE(base->SócioActual, 20);
    QCOMPARE(Coluna(u"SELECT Número FROM Sócios ORDER BY 1"_s), (QStringList{u"10"_s, u"20"_s}));
    base->NavegarSócio(2);
    Clicar(2); // the first: the next higher one is shown
    QCOMPARE(base->SócioActual, 20);
    QCOMPARE(Quotas(), QStringList());
    Clicar(2); // the only member: the new-member state
    QCOMPARE(base->SócioActual, 0);
    QCOMPARE(Sócios(), QStringList{u"0"_s});
  }

  // Every way that gives up the member on screen (one per path in the code) asks first when a
  // field or the dues list changed: Sim saves and goes on; Não goes on with the file as it
  // was; Cancelar stays on the member as typed.
  void alteracoesPerguntadasAntesDeSair_data() {
    QTest::addColumn<int>("saída");
    QTest::addColumn<bool>("quotas");
    QTest::addColumn<Resposta>("resposta");
    const char *const saídas[] = {"F1", "Ctrl+P", "Novo", "Listagem 1", "Terminar"};
    for (int i = 0; i < int(std::size(saídas)); ++i)
      for (const bool quotas : {false, true})
        for (const auto &[nome, r] : {std::pair{"Sim", Resposta::Sim},
                                      {"Não", Resposta::Não},
                                      {"Cancelar", Resposta::Cancelar}})
          if (!quotas || i == 0)
            QTest::addRow("%s %s %s", saídas[i], quotas ? "quotas" : "nome", nome)
                << i << quotas << r;
  }
  void alteracoesPerguntadasAntesDeSair() {
    QFETCH(int, saída);
    QFETCH(bool, quotas);
    QFETCH(Resposta, resposta);
    Sócio(1, u"Ana Silva"_s);
    Sócio(2, u"Bruno Costa"_s);
    Sócio(3, u"Carla Dias"_s);
    Abrir();
    bool aberta = false, fechou = false;
    base->AbrirProcura = [&] {
      aberta = true;
      base->MostrarSócio(1); // the member the search found
    };
    base->NavegarSócio(4); // member 2
    base->LigarJanela(JanelaMenu::ListagemSócios, [&] { aberta = true; });
    base->AoFechar = [&] { fechou = true; };
    if (quotas) {
      Dívida(4, u"12,5"_s, u"401"_s);
      Clicar(4);
    } else {
      Escrever(u"Nome"_s, u"Bruno Costa Lopes"_s);
    }
    respostas->Responder({resposta});
    if (saída == 0)
      Tecla(Qt::Key_F1);
    else if (saída == 1)
      Tecla(Qt::Key_P, Qt::ControlModifier);
    else if (saída == 2)
      Clicar(1);
    else
      W<QAction>(saída == 3 ? u"Menu_Listagens_1"_s : u"Menu_Arquivo_8"_s)->trigger();

    QCOMPARE(respostas->caixas.size(), 1);
    QCOMPARE(respostas->caixas[0].texto,
             u"O sócio nº 2 - Bruno Costa tem alterações que não foram gravadas. Gravar agora?"_s);
    QCOMPARE(respostas->caixas[0].botões, Botões::SimNãoCancelar);
    const bool segue = resposta != Resposta::Cancelar;
    const int mostra[] = {1, 1, 0, 2, 2}; // where each way out leads when it goes on
    QCOMPARE(base->SócioActual, segue ? mostra[saída] : 2);
    QCOMPARE(aberta, segue && (saída == 1 || saída == 3));
    QCOMPARE(fechou, segue && saída == 4);
    QCOMPARE(Coluna(u"SELECT Nome FROM Sócios WHERE Número = 2"_s),
             QStringList{resposta == Resposta::Sim && !quotas ? u"Bruno Costa Lopes"_s
                                                              : u"Bruno Costa"_s});
    QCOMPARE(Quotas(u"000002"_s), resposta == Resposta::Sim && quotas
                                      ? QStringList{u"000002200305/125000/401"_s}
                                      : QStringList());
    if (!segue) {
      QCOMPARE(W(u"Nome"_s)->text(), quotas ? u"Bruno Costa"_s : u"Bruno Costa Lopes"_s);
      QCOMPARE(LinhaTabela(0), quotas ? u"2003|Maio|12,50|401 "_s : u"|||"_s);
    }
  }

  // Fields entered and left without typing, dues typed but not added, a new member with its
  // first values: nothing to ask. A save refused from the question stays on the member.
  void semAlteracoesNadaPerguntado() {
    Sócio(1, u"Ana  Silva"_s); // a name as another program may have stored it
    Sócio(2, u"Bruno Costa"_s, {{2003, 1}});
    Abrir();
    for (const char *campo : {"Número", "Nome", "Rua", "DtInscrição", "ValQuota"})
      W<QWidget>(QString::fromUtf8(campo))->setFocus();
    Separadores()->setCurrentIndex(1);
    Dívida(6, u"30"_s, u"9"_s);
    Tecla(Qt::Key_F3);
    QCOMPARE(base->SócioActual, 2);
    Clicar(1);
    Escrever(u"Número"_s, u"0"_s);
    Tecla(Qt::Key_F1);
    QCOMPARE(base->SócioActual, 1);
    QCOMPARE(respostas->caixas.size(), 0);

    // On the last member F3 keeps what is typed, with a beep and no question.
    base->NavegarSócio(5);
    Escrever(u"DtInscrição"_s, u"31-02-2003"_s);
    Tecla(Qt::Key_F3);
    QCOMPARE(respostas->bips, 1);
    QCOMPARE(respostas->caixas.size(), 0);
    respostas->Responder({Resposta::Sim});
    Tecla(Qt::Key_F1);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(respostas->caixas[1].texto, MensagemErroFicha(ErroFicha::Data));
    QCOMPARE(base->SócioActual, 2);
    QCOMPARE(Foco(), W<QWidget>(u"DtInscrição"_s));
    QCOMPARE(W(u"DtInscrição"_s)->text(), u"31-02-2003"_s);

    // A new member typed in full is asked about by its own name.
    respostas->Responder({Resposta::Não});
    Clicar(1);
    Escrever(u"Nome"_s, u"Nova"_s);
    respostas->Responder({Resposta::Cancelar});
    base->close();
    QVERIFY(base->isVisible());
    QVERIFY(respostas->caixas.last().texto.startsWith(u"O novo sócio tem"_s));
  }

  // A tab's access key shows the tab and leaves the focus on its first field, selected and
  // coloured as Tab leaves it; "Aj&uda" opens its menu, "Situa&ção" reaches its list.
  void teclasDeAcesso() {
    Sócio(2, u"Bruno Costa"_s);
    Abrir();
    base->MostrarSócio(2);
    Escrever(u"Rua"_s, u"Rua Direita"_s);
    for (const auto &[tecla, separador, campo] :
         {std::tuple{Qt::Key_Z, 1, "Ano"}, {Qt::Key_B, 2, "Observações"}, {Qt::Key_S, 0, "Rua"}}) {
      W(u"Nome"_s)->setFocus(Qt::TabFocusReason);
      QTest::keyClick(Foco(), tecla, Qt::AltModifier);
      QCOMPARE(Separadores()->currentIndex(), separador);
      QTRY_COMPARE(Foco(), W<QWidget>(QString::fromUtf8(campo)));
      QVERIFY2(CorDoCampo(Foco()) != CorDoCampo(W(u"Nome"_s)), campo);
    }
    QTest::keyClicks(Foco(), u"Largo"_s);
    QCOMPARE(W(u"Rua"_s)->text().trimmed().toUpper(), u"LARGO"_s); // typed over the old text

    Tecla(Qt::Key_U, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    QCOMPARE(qobject_cast<QMenu *>(QApplication::activePopupWidget())->title(), u"Aj&uda"_s);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    W(u"Nome"_s)->setFocus(Qt::TabFocusReason);
    QTest::sendKeyEvent(QTest::Click, Foco(), Qt::Key(0xc7), u"ç"_s, Qt::AltModifier);
    QTRY_COMPARE(Foco(), W<QWidget>(u"Situação"_s));
  }

  // Under a dark desktop theme the fields the program paints keep a text that reads on the
  // light colour it paints: left (white), with the focus (yellow), and marked (the NIF).
  void textoLegivelComTemaEscuro() {
    const QPalette antes = QApplication::palette();
    QPalette escuro(QColor(53, 53, 53));
    escuro.setColor(QPalette::Base, QColor(30, 30, 30));
    for (const auto papel : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
      escuro.setColor(papel, QColor(235, 235, 235));
    QApplication::setPalette(escuro);
    const auto repor = qScopeGuard([&] { QApplication::setPalette(antes); });
    Sócio(2, u"Bruno Costa"_s);
    Abrir();
    base->MostrarSócio(2);
    Escrever(u"NIF"_s, u"123456780"_s); // fails the check digit: marked
    Escrever(u"Rua"_s, u"Rua Direita"_s);
    const auto lum = [](QColor c) {
      const auto f = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
      };
      return 0.2126 * f(c.redF()) + 0.7152 * f(c.greenF()) + 0.0722 * f(c.blueF());
    };
    const auto contraste = [&](QColor a, QColor b) {
      const double x = lum(a), y = lum(b);
      return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
    };
    for (const char *nome : {"Nome", "Rua", "NIF", "Situação", "DtInscrição"}) {
      QWidget *w = W<QWidget>(QString::fromUtf8(nome));
      const QPalette p = w->palette();
      for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
        QVERIFY2(contraste(p.color(grupo, QPalette::Text), p.color(grupo, QPalette::Base)) >= 4.5,
                 nome);
        if (qobject_cast<QComboBox *>(w))
          QVERIFY2(contraste(p.color(grupo, QPalette::ButtonText),
                             p.color(grupo, QPalette::Button)) >= 4.5,
                   nome);
      }
    }
    QCOMPARE(QApplication::focusWidget(), W<QWidget>(u"Rua"_s)); // the yellow one among them
  }

  // A payment from the keyboard: year, Tab, month, Tab, amount, Tab, receipt, Enter, and the
  // focus is back on the year for the next one.
  void enterAdicionaQuota() {
    Sócio(5, u"Ana"_s);
    Abrir();
    Separadores()->setCurrentIndex(1);
    for (const auto &[mês, recibo] : {std::pair{Qt::Key_Up, u"417"_s}, {Qt::Key_Down, u"418"_s}}) {
      ::Escrever(W<QWidget>(u"Ano"_s), u"2003"_s);
      Tecla(Qt::Key_Tab);
      Tecla(mês);
      Tecla(Qt::Key_Tab);
      QTest::keyClicks(Foco(), u"12,5"_s);
      Tecla(Qt::Key_Tab);
      QTest::keyClicks(Foco(), recibo);
      Tecla(Qt::Key_Return);
      QCOMPARE(Foco(), W<QWidget>(u"Ano"_s));
    }
    QCOMPARE(LinhaTabela(0), u"2003|Maio|12,50|418 "_s); // the row added last is current
    Clicar(3);
    QCOMPARE(Quotas(), (QStringList{u"000005200304/125000/417"_s, u"000005200305/125000/418"_s}));
  }
};

QTEST_MAIN(TestBase)
#include "TestBase.moc"
