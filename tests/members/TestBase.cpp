#include "Base.h"
#include "Campos.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "Formatacao.h"
#include "Guardas.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Respostas.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
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
  std::unique_ptr<RelógioFixo> relógio;
  std::unique_ptr<Base> base;

  template <class T = QLineEdit> T *W(const QString &nome) { return Controlo<T>(base.get(), nome); }
  QAbstractButton *Comando(int i) { return ::Comando(base.get(), i); }
  QTabWidget *Separadores() { return W<QTabWidget>(u"Dados"_s); }
  QScrollBar *Posição() { return W<QScrollBar>(u"Posição"_s); }
  QTableWidget *Tabela() { return W<QTableWidget>(u"Quotas"_s); }
  static QWidget *Foco() { return QApplication::focusWidget(); }
  static void Tecla(int k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(Foco(), Qt::Key(k), m); }
  static QStringList Sócios() { return Coluna(u"SELECT count(*) FROM Sócios"_s); }

  void Abrir() {
    base = std::make_unique<Base>();
    Mostrar(base.get());
  }
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
  // The window on a new member with its number and name typed.
  void Novo(const QString &número, const QString &nome) {
    Abrir();
    Escrever(u"Número"_s, número);
    Escrever(u"Nome"_s, nome);
  }
  void Escolher(const QString &lista, int item) { W<QComboBox>(lista)->setCurrentIndex(item); }
  // A dues row typed on the dues tab (month: the list's item), not yet added.
  void Dívida(int mês, const QString &quota, const QString &recibo) {
    Escrever(u"Ano"_s, u"2003"_s);
    Escolher(u"Mês"_s, mês);
    Escrever(u"Quota"_s, quota);
    Escrever(u"Recibo"_s, recibo);
  }
  void Clicar(int i) {
    if (i >= 4)
      Separadores()->setCurrentIndex(1);
    ::Clicar(Comando(i));
  }
  QStringList LinhasTabela() {
    QStringList r;
    for (int l = 0; l < 6; ++l) {
      QStringList c;
      for (int k = 0; k < 4; ++k)
        c << (Tabela()->item(l, k) ? Tabela()->item(l, k)->text() : QString());
      r << c.join(u'|');
    }
    return r;
  }
  QStringList Quotas(const QString &prefixo = {}) {
    return Coluna(
        u"SELECT SócMês || '/' || QuotaEuro || '/' || Recibo FROM Quotizações WHERE SócMês LIKE '"_s +
        prefixo + u"%' ORDER BY SócMês"_s);
  }
  static void Sócio(int número, const QString &nome, QList<std::pair<int, int>> meses = {}) {
    ListaOrdenada l;
    for (const auto &[ano, mês] : meses)
      l.Inserir(EntradaQuota(ano, mês, Moeda::DeCêntimos(1250), 400 + mês));
    const FichaSócio f{
        QString::number(número), nome, 0, 0, 0, u"01-01-2000"_s, u"12,50"_s, {}, {}, {}, u"0"_s};
    QCOMPARE(Gravar(f, 0, l), ErroFicha::Nenhum);
  }
  static ErroFicha Gravar(const FichaSócio &f, qint32 actual = 0, const ListaOrdenada &l = {}) {
    return GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações, f, actual, l, {}).erro;
  }

private slots:
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    relógio = std::make_unique<RelógioFixo>(QDateTime(QDate(2003, 5, 20), QTime(10, 30)));
  }
  void cleanup() {
    base.reset();
    relógio.reset();
    respostas.reset();
    ficheiro.reset();
  }

  void criarUmSocioEGuardarOQueOEcraMostra() {
    FicheiroTeste::Referência(u"C"_s, u"4000-001 Porto"_s);
    FicheiroTeste::Referência(u"S"_s, u"Efectivo"_s);
    FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    Abrir();
    Escrever(u"Número"_s, u"25"_s);
    Escrever(u"Nome"_s, u"  Maria   da  Silva "_s);
    Escrever(u"Rua"_s, u"Rua Direita,  25"_s);
    Escrever(u"Localidade"_s, u"Porto"_s);
    Escolher(u"CPostal"_s, 0);
    Escolher(u"TipoQuota"_s, 0);
    Escrever(u"DtInscrição"_s, u"15-09-1996"_s);
    Escrever(u"ValQuota"_s, u"1234,56"_s);
    Escrever(u"Observações"_s, u"Paga  em  dia"_s);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 0);
    QCOMPARE(base->SócioActual, 25);

    const auto linhas = Consultar(
        u"SELECT Número, Nome, CPostal, Situação, TipoQuota, Inscrição, ValQuotaEuro, Rua, Localidade, Observações, NIF FROM Sócios"_s);
    QCOMPARE(linhas, (QList<QVariantList>{{25, u"Maria da Silva"_s, 1, 0, 3, u"19960915"_s,
                                           12345600, u"Rua Direita, 25 "_s, u"Porto "_s,
                                           u"Paga em dia "_s, u"0"_s}}));
    // Saved again unchanged, the grouped amount reads back exactly.
    Clicar(3);
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

  // The member's fields are stored as typed, or refused with the save's message: never a
  // guessed amount, a cut one, an empty date or half a character.
  void gravarGuardaOQueFoiEscrito() {
    const QString cara = u"\U0001F600"_s;
    const std::tuple<QString, QString, QString, QString> casos[] = {
        {u"ValQuota"_s, u"12345678,91"_s, u"ValQuotaEuro"_s, QString()}, // too long formatted
        {u"ValQuota"_s, u"9999999,99"_s, u"ValQuotaEuro"_s, u"99999999900"_s},
        {u"ValQuota"_s, QString(), u"ValQuotaEuro"_s, u"0"_s}, // nothing owed
        {u"DtInscrição"_s, u"31-12-1899"_s, u"Inscrição"_s, QString()},
        {u"DtInscrição"_s, u"1-1-1900"_s, u"Inscrição"_s, u"19000101"_s},
        {u"Nome"_s, u"A"_s.repeated(44) + cara + cara, u"Nome"_s, u"A"_s.repeated(44)},
        {u"Rua"_s, u"R"_s.repeated(37) + cara + cara, u"Rua"_s, u"R"_s.repeated(37) + cara + u' '},
        {u"NIF"_s, u"12345678901"_s + cara, u"NIF"_s, u"12345678901"_s}};
    for (const auto &[campo, escrito, coluna, guardado] : casos) {
      cleanup(); // each case on an empty file
      init();
      Novo(u"7"_s, u"Rui"_s);
      Escrever(campo, escrito);
      Clicar(3);
      if (guardado.isEmpty()) {
        QCOMPARE(respostas->caixas.size(), 1);
        QCOMPARE(respostas->caixas[0].texto,
                 MensagemErroFicha(campo == u"ValQuota" ? ErroFicha::Valor : ErroFicha::Data));
        QCOMPARE(Foco(), W<QWidget>(campo));
        QCOMPARE(Sócios(), QStringList{u"0"_s});
      } else {
        // The long NIF is also no valid one: kept after its question.
        QCOMPARE(respostas->caixas.size(), campo == u"NIF" ? 1 : 0);
        QCOMPARE(Coluna(u"SELECT "_s + coluna + u" FROM Sócios"_s), QStringList{guardado});
      }
    }
  }

  // A member stored without an enrolment date (as an import may bring it) is saved again
  // without one, from the screen with no box asked; a new member, or one whose stored date is
  // emptied, is refused as before.
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
    const auto gravar = [](const QString &número, const QString &data, qint32 actual) {
      return Gravar({número, u"Nome Novo"_s, 0, 0, 0, data, u"12,50"_s, {}, {}, {}, u"0"_s},
                    actual);
    };
    QCOMPARE(gravar(u"9"_s, u"31-02-2001"_s, 9), ErroFicha::Data);
    QCOMPARE(gravar(u"10"_s, QString(), 0), ErroFicha::Data);
    QCOMPARE(gravar(u"7"_s, QString(), 7), ErroFicha::Data);
    QCOMPARE(gravar(u"9"_s, QString(), 9), ErroFicha::Nenhum);
    QCOMPARE(Coluna(u"SELECT Número || ':' || Nome || ':' || Inscrição FROM Sócios ORDER BY 1"_s),
             (QStringList{u"7:Rui:20000101"_s, u"9:Nome Novo:"_s}));
  }

  // An enrolment after today (the clock says 20-05-2003) is asked about once per date typed,
  // Não by default: Não keeps the screen and writes nothing, Sim saves the date, and the same
  // date is not asked about again, nor once stored.
  void dataDeInscricaoFuturaPerguntada() {
    const std::pair<QString, bool> datas[] = {{u"20-05-2003"_s, false},
                                              {u"21-05-2003"_s, true},
                                              {u"15-09-2096"_s, true},
                                              {u"31/12/9999"_s, true},
                                              {u"01-01-1999"_s, false}};
    for (const auto &[data, perguntada] : datas) {
      cleanup(); // each date on an empty file
      init();
      Novo(u"7"_s, u"Rui"_s);
      Escrever(u"DtInscrição"_s, data);
      Clicar(3); // Enter's answer
      QCOMPARE(respostas->caixas.size(), perguntada ? 1 : 0);
      if (perguntada) {
        const PedidoMensagem &p = respostas->caixas[0];
        QVERIFY2(p.texto.contains(*NormalizarData(data)) && p.texto.contains(u"posterior"_s),
                 qPrintable(p.texto));
        QVERIFY(p.nãoPorOmissão);
        QCOMPARE(respostas->bips, 1);
        QCOMPARE(Foco(), W<QWidget>(u"DtInscrição"_s));
        QCOMPARE(Sócios(), QStringList{u"0"_s});
        respostas->Responder({Resposta::Sim});
        Clicar(3);
        QCOMPARE(respostas->caixas.size(), 2);
      }
      QCOMPARE(base->SócioActual, 7);
      const QString guardada = InscriçãoDaData(data);
      QCOMPARE(Coluna(u"SELECT Inscrição FROM Sócios"_s), QStringList{guardada});
      // Saved again, shown as stored: nothing more is asked.
      const qsizetype caixas = respostas->caixas.size();
      Escrever(u"Rua"_s, u"Rua Nova"_s);
      Clicar(3);
      QCOMPARE(respostas->caixas.size(), caixas);
      QCOMPARE(Coluna(u"SELECT Rua FROM Sócios"_s), QStringList{u"Rua Nova "_s});
    }
  }

  // Control characters pasted into the remarks never reach the file, as another program reads
  // it; line breaks and tabs stay. In the one-line fields they are dropped, tabs and line breaks
  // becoming blanks.
  void caracteresDeControloNaoChegamAoFicheiro() {
    Novo(u"7"_s, u"Rui"_s);
    auto *obs = W<QPlainTextEdit>(u"Observações"_s);
    TrazerSeparador(obs);
    obs->setFocus(); // a paste arrives as an insertion at the cursor
    obs->insertPlainText(u"nota"_s + QChar(0) + QChar(0) + u" um\tdois\x01\x1b\x7f\nfim"_s);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 0);
    const QString esperado = u"nota um\tdois\nfim "_s;
    QCOMPARE(Consultar(u"SELECT hex(Observações), length(Observações) FROM Sócios"_s),
             (QList<QVariantList>{
                 {QString::fromLatin1(esperado.toUtf8().toHex().toUpper()), esperado.size()}}));

    const FichaSócio f{u"8"_s, u"Ana\x01 Maria\tSilva"_s, 0, 0, 0, u"01-01-2000"_s, {},
                       u"Rua\nNova"_s + QChar(0), u"Porto\x1b"_s, u"a\rb"_s + QChar(0),
                       u"123456789"_s + QChar(0)};
    QCOMPARE(Gravar(f), ErroFicha::Nenhum);
    QCOMPARE(
        Consultar(u"SELECT hex(Nome || '|' || Rua || '|' || Localidade || '|' || "
                  u"Observações || '|' || NIF) FROM Sócios WHERE Número = 8"_s),
        (QList<QVariantList>{{QString::fromLatin1(
            u"Ana Maria Silva|Rua Nova |Porto |a\rb |123456789"_s.toUtf8().toHex().toUpper())}}));
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
    QCOMPARE(respostas->caixas.size(), 1);
    QCOMPARE(Foco(), nif);
    QCOMPARE(Sócios(), QStringList{u"0"_s});
    Clicar(3);
    Clicar(3);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(Coluna(u"SELECT NIF FROM Sócios"_s), QStringList{u"123456780"_s});
  }

  // The dues amount: a point is a comma, and an amount is formatted when the field is left
  // only if it then fits; one that does not is refused at "Adicionar", never cut.
  void quotaComoEscrita_data() {
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("mostra");
    QTest::addColumn<QString>("guardado"); // empty: refused
    QTest::newRow("ponto é vírgula") << u"12.345"_s << u"12,35"_s << u"123500"_s;
    QTest::newRow("ponto de milhar não") << u"1.234,56"_s << u"1,234,56"_s << QString();
    QTest::newRow("cabe formatado") << u"1234567,89"_s << u"1.234.567,89"_s << u"12345678900"_s;
    QTest::newRow("um cêntimo a mais") << u"12345678,91"_s << u"12345678,91"_s << QString();
  }
  void quotaComoEscrita() {
    QFETCH(QString, escrito);
    QFETCH(QString, mostra);
    QFETCH(QString, guardado);
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

  void periodosPerguntasEOrdem() {
    Sócio(5, u"Ana"_s);
    Abrir();
    Dívida(14, u"10"_s, u"55"_s); // (2º Trimestre)
    Clicar(4);

    // March paid otherwise; the whole year asks once, about March; No keeps the old March.
    Dívida(2, u"7,5"_s, u"9"_s);
    Clicar(4);
    Dívida(12, u"10"_s, u"55"_s);
    respostas->Responder({Resposta::Não});
    Clicar(4);
    QCOMPARE(respostas->caixas.size(), 1);
    QCOMPARE(respostas->caixas[0].texto,
             u"Alterar o valor da quota e/ou o número do recibo de Março de 2003?"_s);
    QVERIFY(respostas->caixas[0].nãoPorOmissão);
    // Nothing is written before the save.
    QCOMPARE(Quotas(), QStringList());
    Clicar(3);
    QCOMPARE(Quotas().size(), 12);
    QCOMPARE(Quotas()[2], u"000005200303/75000/9"_s);
    QCOMPARE(Quotas()[3], u"000005200304/100000/55"_s);
  }

  // Without a mouse: the keys of a list move the current dues row, on the table or on its
  // scroll bar.
  void quotasPeloTeclado() {
    const std::tuple<bool, int, int, int> casos[] = {
        {false, 1, Qt::Key_Down, 2},   {false, 5, Qt::Key_PageDown, 8}, {false, 5, Qt::Key_Home, 1},
        {false, 2, Qt::Key_End, 8},    {false, 3, Qt::Key_2, 3}, // a digit does not search
        {true, 1, Qt::Key_PageDown, 7}};
    Sócio(
        3, u"Rui"_s,
        {{2003, 1}, {2003, 2}, {2003, 3}, {2003, 4}, {2003, 5}, {2003, 6}, {2003, 7}, {2002, 12}});
    Abrir();
    Separadores()->setCurrentIndex(1);
    for (const auto &[naBarra, desde, tecla, chega] : casos) {
      Posição()->setValue(desde);
      QTest::keyClick(naBarra ? static_cast<QWidget *>(Posição()) : Tabela(), Qt::Key(tecla));
      QCOMPARE(Posição()->value(), chega);
    }
  }

  // A period cannot be changed; a row changed to another month leaves the old month; in place
  // only the amount changes; a row deleted and entered again before the save is kept. Only the
  // save writes, and only this member's rows.
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

    // Removing the last row each time empties the table; showing another member without
    // saving keeps the rows in the file.
    for (int linha : {3, 2, 1}) {
      Posição()->setValue(linha);
      Clicar(6);
    }
    QCOMPARE(LinhasTabela().first(), u"|||"_s);
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

  // Every way that gives up the member on screen asks first when something was changed
  // there, a field or the dues list. Sim saves and goes on; Não goes on with the file as it
  // was; Cancelar stays on the member as typed.
  void alteracoesPerguntadasAntesDeSair_data() {
    QTest::addColumn<int>("saída");
    QTest::addColumn<bool>("quotas");
    QTest::addColumn<int>("respostaDada");
    QTest::addColumn<int>("mostra"); // where each way out leads when it goes on: the member,
    QTest::addColumn<int>("janela"); // the window opened, whether the program ended
    QTest::addColumn<bool>("termina");
    const std::tuple<const char *, int, int, bool> saídas[] = {
        {"F1", 1, -1, false},        {"F2", 1, -1, false},        {"F3", 3, -1, false},
        {"F4", 3, -1, false},        {"Ctrl+P", 1, 0, false},     {"Novo", 0, -1, false},
        {"Listagem 1", 2, 1, false}, {"Listagem 2", 2, 2, false}, {"Listagem 3", 2, 3, false},
        {"Listagem 4", 2, 4, false}, {"Terminar", 2, -1, true},   {"Fechar", 2, -1, true}};
    for (int i = 0; i < int(std::size(saídas)); ++i)
      for (const bool quotas : {false, true})
        for (const auto &[nome, r] : {std::pair{"Sim", Resposta::Sim},
                                      {"Não", Resposta::Não},
                                      {"Cancelar", Resposta::Cancelar}}) {
          const auto &[saída, mostra, janela, termina] = saídas[i];
          QTest::addRow("%s %s %s", saída, quotas ? "quotas" : "nome", nome)
              << i << quotas << int(r) << mostra << janela << termina;
        }
  }
  void alteracoesPerguntadasAntesDeSair() {
    QFETCH(int, saída);
    QFETCH(bool, quotas);
    QFETCH(int, respostaDada);
    QFETCH(int, mostra);
    QFETCH(int, janela);
    QFETCH(bool, termina);
    const auto resposta = Resposta(respostaDada);
    Sócio(1, u"Ana Silva"_s);
    Sócio(2, u"Bruno Costa"_s);
    Sócio(3, u"Carla Dias"_s);
    Abrir();
    int aberta = -1; // the window the way out opened
    base->AbrirProcura = [&] {
      aberta = 0;
      base->MostrarSócio(1); // the member the search found
    };
    base->NavegarSócio(4); // member 2
    for (int j = 0; j < 4; ++j)
      base->LigarJanela(JanelaMenu(int(JanelaMenu::ListagemSócios) + j),
                        [&, j] { aberta = j + 1; });
    bool fechou = false;
    base->AoFechar = [&] { fechou = true; };
    if (quotas) {
      Dívida(4, u"12,5"_s, u"401"_s);
      Clicar(4);
    } else {
      Escrever(u"Nome"_s, u"Bruno Costa Lopes"_s);
    }
    respostas->Responder({resposta});
    if (saída < 4)
      Tecla(Qt::Key_F1 + saída);
    else if (saída == 4)
      Tecla(Qt::Key_P, Qt::ControlModifier);
    else if (saída == 5)
      Clicar(1);
    else if (saída < 11)
      W<QAction>(saída < 10 ? u"Menu_Listagens_%1"_s.arg(saída - 5) : u"Menu_Arquivo_8"_s)
          ->trigger();
    else
      base->close();

    QCOMPARE(respostas->caixas.size(), 1);
    const PedidoMensagem &p = respostas->caixas[0];
    QCOMPARE(p.texto,
             u"O sócio nº 2 - Bruno Costa tem alterações que não foram gravadas. Gravar agora?"_s);
    QCOMPARE(p.botões, Botões::SimNãoCancelar);
    const bool segue = resposta != Resposta::Cancelar;
    QCOMPARE(base->SócioActual, segue ? mostra : 2);
    QCOMPARE(aberta, segue ? janela : -1);
    QCOMPARE(fechou, segue && termina);
    QCOMPARE(Coluna(u"SELECT Nome FROM Sócios WHERE Número = 2"_s),
             QStringList{resposta == Resposta::Sim && !quotas ? u"Bruno Costa Lopes"_s
                                                              : u"Bruno Costa"_s});
    QCOMPARE(Quotas(u"000002"_s), resposta == Resposta::Sim && quotas
                                      ? QStringList{u"000002200305/125000/401"_s}
                                      : QStringList());
    if (!segue) {
      QCOMPARE(W(u"Nome"_s)->text(), quotas ? u"Bruno Costa"_s : u"Bruno Costa Lopes"_s);
      QCOMPARE(LinhasTabela().first(), quotas ? u"2003|Maio|12,50|401 "_s : u"|||"_s);
    }
  }

  // Fields entered and left without typing, dues typed but not added, a new member with its
  // first values: nothing to ask, the keys go on at once. A save refused from the question
  // stays on the member with its message.
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
    QCOMPARE(W(u"DtInscrição"_s)->text(), u"31-02-2003"_s);
    QCOMPARE(respostas->caixas.size(), 0);
    respostas->Responder({Resposta::Sim});
    Tecla(Qt::Key_F1);
    QCOMPARE(respostas->caixas.size(), 2);
    QCOMPARE(respostas->caixas[1].texto, MensagemErroFicha(ErroFicha::Data));
    QCOMPARE(base->SócioActual, 2);
    QCOMPARE(Foco(), W<QWidget>(u"DtInscrição"_s));
    // Put right, the next key asks, saves and moves.
    Escrever(u"DtInscrição"_s, u"28-02-2003"_s);
    Tecla(Qt::Key_F2);
    QCOMPARE(respostas->caixas.size(), 3);
    QCOMPARE(base->SócioActual, 1);
    QCOMPARE(Coluna(u"SELECT Inscrição FROM Sócios WHERE Número = 2"_s),
             QStringList{u"20030228"_s});

    // A new member typed in full is asked about by its own name.
    Clicar(1);
    Escrever(u"Nome"_s, u"Nova"_s);
    respostas->Responder({Resposta::Cancelar});
    base->close();
    QVERIFY(base->isVisible());
    QCOMPARE(respostas->caixas.last().texto,
             u"O novo sócio tem alterações que não foram gravadas. Gravar agora?"_s);
  }

  // Tab goes through the member, the fields of the tab on view, the buttons and the tab bar.
  void ordemDeTabulacao() {
    Sócio(2, u"Bruno Costa"_s, {{2003, 1}});
    Abrir();
    base->AbrirProcura = [] {};
    base->MostrarSócio(2); // the search button enabled
    const QStringList fim{u"Comando_0"_s, u"Comando_1"_s, u"Comando_2"_s, u"Comando_3"_s,
                          u"Dados"_s,     u"Número"_s,    u"Nome"_s};
    const QStringList campos[] = {{u"Rua"_s, u"Localidade"_s, u"CPostal"_s, u"Situação"_s,
                                   u"DtInscrição"_s, u"TipoQuota"_s, u"ValQuota"_s, u"NIF"_s},
                                  {u"Ano"_s, u"Mês"_s, u"Quota"_s, u"Recibo"_s, u"Comando_4"_s,
                                   u"Comando_5"_s, u"Comando_6"_s, u"Quotas"_s},
                                  {u"Observações"_s}};
    for (int i = 0; i < 3; ++i) {
      Separadores()->setCurrentIndex(i);
      W(u"Nome"_s)->setFocus(Qt::TabFocusReason);
      QStringList visitados;
      for (qsizetype k = 0; k < campos[i].size() + fim.size(); ++k) {
        Tecla(Qt::Key_Tab);
        QWidget *w = Foco();
        visitados << (qobject_cast<QTabBar *>(w) ? u"Dados"_s : w->objectName());
      }
      QCOMPARE(visitados, campos[i] + fim);
    }
  }

  // A tab's access key shows the tab and leaves the focus on its first field, selected and
  // coloured as Tab leaves it: what is typed next lands there, never in the name. "Aj&uda"
  // opens its menu, "Situa&ção" reaches its list, F1 stays the first member.
  void teclasDeAcesso() {
    Sócio(1, u"Ana"_s);
    Sócio(2, u"Bruno Costa"_s);
    Abrir();
    base->MostrarSócio(2);
    Escrever(u"Rua"_s, u"Rua Direita"_s);
    const struct {
      Qt::Key tecla;
      int separador;
      const char *campo;
    } casos[] = {{Qt::Key_Z, 1, "Ano"}, {Qt::Key_B, 2, "Observações"}, {Qt::Key_S, 0, "Rua"}};
    for (const auto &c : casos) {
      W(u"Nome"_s)->setFocus(Qt::TabFocusReason);
      QTest::keyClick(Foco(), c.tecla, Qt::AltModifier);
      QCOMPARE(Separadores()->currentIndex(), c.separador);
      QTRY_COMPARE(Foco(), W<QWidget>(QString::fromUtf8(c.campo)));
      QVERIFY2(CorDoCampo(Foco()) != CorDoCampo(W(u"Nome"_s)), c.campo);
    }
    QVERIFY(W(u"Rua"_s)->hasSelectedText());
    QTest::keyClicks(Foco(), u"Largo"_s);
    QCOMPARE(W(u"Rua"_s)->text().trimmed().toUpper(), u"LARGO"_s); // typed over the old text
    QCOMPARE(W(u"Nome"_s)->text().trimmed(), u"Bruno Costa"_s);

    Tecla(Qt::Key_U, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    QCOMPARE(qobject_cast<QMenu *>(QApplication::activePopupWidget())->title(), u"Aj&uda"_s);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    W(u"Nome"_s)->setFocus(Qt::TabFocusReason);
    QTest::sendKeyEvent(QTest::Click, Foco(), Qt::Key(0xc7), u"ç"_s, Qt::AltModifier);
    QTRY_COMPARE(Foco(), W<QWidget>(u"Situação"_s));

    respostas->Responder({Resposta::Não});
    Tecla(Qt::Key_F1);
    QCOMPARE(base->SócioActual, 1);
  }

  // Under a dark desktop theme the fields the program paints keep a text that reads on the
  // light colour it paints: left (white), with the focus (yellow), and marked (the NIF).
  void textoLegivelComTemaEscuro() {
    const QPalette antes = QApplication::palette();
    QPalette escuro(QColor(53, 53, 53));
    escuro.setColor(QPalette::Base, QColor(30, 30, 30));
    escuro.setColor(QPalette::Text, QColor(235, 235, 235));
    escuro.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    escuro.setColor(QPalette::WindowText, QColor(235, 235, 235));
    QApplication::setPalette(escuro);
    const auto repor = qScopeGuard([&] { QApplication::setPalette(antes); });
    Sócio(2, u"Bruno Costa"_s);
    Abrir();
    base->MostrarSócio(2);
    Escrever(u"NIF"_s, u"123456780"_s); // fails the check digit: marked
    Escrever(u"Rua"_s, u"Rua Direita"_s);
    const auto contraste = [](QColor a, QColor b) {
      const auto lum = [](QColor c) {
        const auto f = [](double v) {
          return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * f(c.redF()) + 0.7152 * f(c.greenF()) + 0.0722 * f(c.blueF());
      };
      const double x = lum(a), y = lum(b);
      return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
    };
    for (const char *nome : {"Nome", "Rua", "NIF", "Situação", "DtInscrição"}) {
      const QPalette p = W<QWidget>(QString::fromUtf8(nome))->palette();
      const bool lista = qobject_cast<QComboBox *>(W<QWidget>(QString::fromUtf8(nome)));
      for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
        QVERIFY2(contraste(p.color(grupo, QPalette::Text), p.color(grupo, QPalette::Base)) >= 4.5,
                 nome);
        if (lista)
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
    // The row added last is the current one.
    QCOMPARE(LinhasTabela().mid(0, 2), (QStringList{u"2003|Maio|12,50|418 "_s, u"|||"_s}));
    Clicar(3);
    QCOMPARE(Quotas(), (QStringList{u"000005200304/125000/417"_s, u"000005200305/125000/418"_s}));
  }
};

QTEST_MAIN(TestBase)
#include "TestBase.moc"
