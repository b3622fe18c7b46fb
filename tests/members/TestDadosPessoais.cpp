#include "Base.h"
#include "Dados.h"
#include "DadosPessoais.h"
#include "DadosSocio.h"
#include "DepoisDeImprimir.h"
#include "Exportacao.h"
#include "FicheiroTeste.h"
#include "Guardas.h"
#include "Impressao.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Molduras.h"
#include "Ouro.h"
#include "Procura.h"
#include "Referencias.h"
#include "Respostas.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <memory>

using namespace Qt::StringLiterals;

// A member's data on request: read whole, printed, exported; and the member anonymised, the file
// read back through a connection of its own.
class TestDadosPessoais : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  std::unique_ptr<Respostas> respostas;
  qint64 lisboa = 0, activo = 0, normal = 0;

  static void Sócio(int número, const QString &nome, const QVariantList &resto) {
    Dados().bd.Correr(u"INSERT INTO Sócios (Número, Nome, Rua, Localidade, CPostal, Situação, "
                      u"TipoQuota, Inscrição, ValQuotaEuro, NIF, Observações) "
                      u"VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                      QVariantList{número, nome} + resto, u"t"_s);
  }
  static void Chave(const QString &chave, qint64 valor, qint64 recibo) {
    Dados().bd.Correr(u"INSERT INTO \"Quotizações\" VALUES (?, ?, ?)"_s, {chave, valor, recibo},
                      u"t"_s);
  }
  static QStringList Quotas() {
    return Coluna(u"SELECT SócMês || '=' || ifnull(QuotaEuro, 'nulo') || '/' || "
                  u"ifnull(Recibo, 'nulo') FROM Quotizações ORDER BY SócMês"_s);
  }
  static QStringList Outros() {
    return Coluna(u"SELECT quote(Número) || quote(Nome) || quote(Rua) || quote(NIF) FROM Sócios "
                  u"WHERE Número <> 12 ORDER BY Número"_s);
  }

private slots:
  // 12 has every field, two months of 2024, a key that names no month and a row of 1.250 €;
  // 120 shares the digits "12" and 1200 the prefix "0012"; 7 has only a number and a name.
  void init() {
    ficheiro = std::make_unique<FicheiroTeste>();
    respostas = std::make_unique<Respostas>();
    lisboa = FicheiroTeste::Referência(u"C"_s, u"1000-001 Lisboa"_s);
    activo = FicheiroTeste::Referência(u"S"_s, u"Activo"_s);
    normal = FicheiroTeste::Referência(u"T"_s, u"Normal"_s);
    RecarregarListas();
    Sócio(12, u"Ana Maria Lopes"_s,
          {u"Rua das Flores, 7"_s, u"Benfica"_s, lisboa, activo, normal, u"19960905"_s, 125000,
           u"123456789"_s, u"Paga em dinheiro.\nPrefere ser contactada por carta."_s});
    Sócio(120, u"Rui Sousa"_s,
          {u"Rua Nova"_s, u"Porto"_s, lisboa, activo, 999, u"20000101"_s, 50000, u"0"_s, u""_s});
    Sócio(1200, u"Eva Dias"_s, QVariantList(9));
    Sócio(7, u"Zé"_s, QVariantList(9));
    Chave(ChaveSócMês(12, 2024, 1), 125000, 301);
    Chave(ChaveSócMês(12, 2024, 2), 12500000, 302);
    Chave(u"00001220241x"_s, 10000, 0);
    Chave(ChaveSócMês(120, 2024, 1), 50000, 401);
    Chave(ChaveSócMês(1200, 2024, 1), 50000, 402);
  }
  void cleanup() {
    respostas.reset();
    ficheiro.reset();
  }

  // Every field as a person reads it, every dues row of the member and no other, in key
  // order; a code with no entry shows the number stored; nothing for a number nobody holds.
  void dadosDoSocio() {
    const std::tuple<int, QString, QString, QString> casos[] = {
        {12,
         u"Número=12|Nome=Ana Maria Lopes|Endereço=Rua das Flores, 7|Localidade=Benfica|"
         u"Código Postal=1000-001 Lisboa|Situação=Activo|Tipo de Quota=Normal|"
         u"Data de Inscrição=05-09-1996|Valor da Quota=12,50|NIF=123456789|"
         u"Observações=Paga em dinheiro.\nPrefere ser contactada por carta."_s,
         u"000012202401 2024/1 12,50 301;000012202402 2024/2 1.250,00 302;"
         u"00001220241x 0/0 1,00 0"_s,
         u"1.263,50"_s},
        {120, // a code with no entry
         u"Número=120|Nome=Rui Sousa|Endereço=Rua Nova|Localidade=Porto|"
         u"Código Postal=1000-001 Lisboa|Situação=Activo|Tipo de Quota=código 999|"
         u"Data de Inscrição=01-01-2000|Valor da Quota=5,00|NIF=0|Observações="_s,
         u"000120202401 2024/1 5,00 401"_s, u"5,00"_s},
        {7,
         u"Número=7|Nome=Zé|Endereço=|Localidade=|Código Postal=|Situação=|Tipo de Quota=|"
         u"Data de Inscrição=|Valor da Quota=|NIF=|Observações="_s,
         QString(), u"0,00"_s}};
    for (const auto &[número, campos, quotas, total] : casos) {
      const auto d = LerDadosPessoais(Dados().bd, Listas(), número);
      QVERIFY(d);
      QStringList c, q;
      for (const auto &[campo, valor] : d->campos)
        c << campo + u'=' + valor;
      QCOMPARE(c.join(u'|'), campos);
      for (const QuotaRegistada &r : d->quotas)
        q << r.chave + u' ' + QString::number(r.ano) + u'/' + QString::number(r.mês) + u' ' +
                 r.quota.Formatar(u"#,###,##0.00") + u' ' + QString::number(r.recibo);
      QCOMPARE(q.join(u';'), quotas);
      QCOMPARE(d->total.Formatar(u"#,###,##0.00"), total);
    }
    QVERIFY(!LerDadosPessoais(Dados().bd, Listas(), 13));
    QVERIFY(!AnonimizarSócio(Dados().bd, 13));
  }

  // The file: the fields under "Campo;Valor", an empty line, the dues under their heads.
  void ficheiroCsv() {
    const auto d = LerDadosPessoais(Dados().bd, Listas(), 12);
    QVERIFY(d);
    const QList<QStringList> linhas = LinhasCsvDadosPessoais(*d);
    QCOMPARE(linhas.size(), 1 + 11 + 1 + 1 + 3);
    QCOMPARE(linhas.mid(12, 2), (QList<QStringList>{{}, u"Ano Mês Quota Recibo Chave"_s.split(u' ')}));
    QCOMPARE(linhas[15], u"2024 Fevereiro 1.250,00 302 000012202402"_s.split(u' '));
    QCOMPARE(linhas[16], u"2024 1x 1,00 0 00001220241x"_s.split(u' '));
  }

  // The sheet: the golden dump holds every field and dues row, the remarks on their own lines
  // and the association's NIPC in the header; over two pages the dues heads come again;
  // everything inside the page and apart.
  void folhaImpressa() {
    for (const auto &[linha, texto] : {std::pair{u'1', u"Sociedade Recreativa Exemplo"_s},
                                       {u'2', u"Rua Direita, 10"_s},
                                       {u'5', u"210 000 000"_s},
                                       {TipoNIPC, u"501234560"_s}})
      GravarLinhaTabelas(Dados().bd, linha, texto);
    auto d = LerDadosPessoais(Dados().bd, Listas(), 12);
    QVERIFY(d);
    const QDateTime agora(QDate(2026, 3, 5), QTime(10, 30));
    GravadorImpressão g;
    ImprimirDadosPessoais(g, *d, agora);
    QCOMPARE(g.páginas, 1);
    COMPARAR_COM_OURO(g, u"dados-pessoais"_s);
    for (int i = 0; i < 60; ++i) // sixty rows more: the second page repeats the heads
      d->quotas.push_back({ChaveSócMês(12, 2000 + i / 12, i % 12 + 1), 2000 + i / 12, i % 12 + 1,
                           Moeda::DeCêntimos(1250), 500 + i});
    GravadorImpressão longa;
    ImprimirDadosPessoais(longa, *d, agora);
    QCOMPARE(longa.páginas, 2);
    int cabeças = 0;
    for (const auto &t : longa.textos)
      cabeças += t.texto == u"Recibo"_s && t.fonte.negrito;
    QCOMPARE(cabeças, 2);
    const QStringList problemas = TextosQueSeSobrepõem(longa);
    QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(u'\n')));
  }

  // Exported from the window (a box says where it went), Escape still closes it. The file is
  // UTF-8 with its mark, the remarks' line break kept inside quotes.
  void exportarEEscapeFecha() {
    DadosSócio j(nullptr, 12);
    EscolhaFicheiroFalsa escolha(ficheiro->Caminho(u"dados.csv"_s));
    j.Comando[2]->setFocus();
    EscapeFechaDepoisDe(j, j.Comando[2], j.Comando[2]->objectName(), 1, false);
    const QByteArray csv = PastaTeste::Conteúdo(ficheiro->Caminho(u"dados.csv"_s));
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"
                           "Campo;Valor\r\nNúmero;12\r\n"));
    QVERIFY(csv.contains("Observações;\"Paga em dinheiro.\nPrefere ser contactada por carta.\"\r\n"));
  }

  // "Anonimizar Sócio" asks, Não by default; Não or a failure changes nothing; with Sim the
  // row keeps no trace of name, street, locality, NIF or remarks, not even in the file's free
  // space; the dues and the other members stay as they were; the name is found no more.
  void anonimizar() {
    const QStringList quotasAntes = Quotas();
    const QStringList outrosAntes = Outros();
    DadosSócio j(nullptr, 12);
    Mostrar(&j);
    QCOMPARE(j.Quotas->rowCount(), 3);
    QCOMPARE(j.Quotas->item(1, 2)->text(), u"1.250,00"_s);

    Clicar(j.Comando[3]);
    QCOMPARE(respostas->caixas.size(), 1);
    QVERIFY(respostas->caixas[0].nãoPorOmissão && respostas->caixas[0].botões == Botões::SimNão);
    // An engine failure halfway changes nothing either: the message, and the row as it was.
    Dados().bd.Executar(u"CREATE TRIGGER avaria AFTER UPDATE OF Rua ON Sócios BEGIN "
                        u"SELECT RAISE(ABORT, 'disco avariado'); END"_s,
                        {}, u"t"_s);
    respostas->Responder({Resposta::Sim});
    Clicar(j.Comando[3]);
    QCOMPARE(respostas->caixas.size(), 3);
    QCOMPARE(respostas->caixas[2].ícone, Ícone::Crítico);
    QVERIFY(!j.Anonimizado());
    QCOMPARE(Coluna(u"SELECT Nome || Rua || NIF FROM Sócios WHERE Número = 12"_s),
             QStringList{u"Ana Maria LopesRua das Flores, 7123456789"_s});
    Dados().bd.Executar(u"DROP TRIGGER avaria"_s, {}, u"t"_s);

    // The erasure must not depend on SQLite's secure deletion (off in Qt's own build), left as
    // found.
    Dados().bd.Executar(u"PRAGMA secure_delete = 0"_s, {}, u"t"_s);
    respostas->Responder({Resposta::Sim});
    Clicar(j.Comando[3]);
    QVERIFY(j.Anonimizado());
    QSqlQuery apagamento = Dados().bd.Executar(u"PRAGMA secure_delete"_s, {}, u"t"_s);
    QVERIFY(apagamento.next() && apagamento.value(0).toInt() == 0);
    apagamento.finish();
    QCOMPARE(
        Coluna(u"SELECT Nome || '|' || Rua || '|' || Localidade || '|' || NIF || '|' || "
               u"Observações || '|' || CPostal || '|' || Inscrição || '|' || ValQuotaEuro "
               u"FROM Sócios WHERE Número = 12"_s),
        QStringList{u"Sócio anonimizado|||||"_s + QString::number(lisboa) + u"|19960905|125000"_s});
    QCOMPARE(Quotas(), quotasAntes);
    QCOMPARE(Outros(), outrosAntes);
    FecharDados();
    const QByteArray bytes = PastaTeste::Conteúdo(ficheiro->Caminho(NomeFicheiroDados));
    QVERIFY(bytes.contains("Sócio anonimizado"));
    for (const char *rasto :
         {"Ana Maria Lopes", "Rua das Flores", "Benfica", "123456789", "Prefere ser contactada"})
      QVERIFY2(!bytes.contains(rasto), rasto);
    AbrirDados(NomeFicheiroDados);
    QCOMPARE(ProcurarPorNome(Dados().bd, u"Ana*"_s,
                             [](qint32, const QString &) { return RespostaProposta::Sim; }),
             0);
    QCOMPARE(ProcurarPorNome(Dados().bd, u"Ana Maria Lopes"_s, {}), 0);
  }

  // The menu item follows the member shown: a new member has no data to give.
  void itemDoMenu() {
    Base base;
    int aberta = 0;
    base.LigarJanela(JanelaMenu::DadosPessoais, [&] { ++aberta; });
    QAction *item = Controlo<QAction>(&base, u"Menu_Dados_DadosPessoais"_s);
    base.MostrarSócio(12);
    QVERIFY(item->isEnabled());
    item->trigger();
    QCOMPARE(aberta, 1);
    base.MostrarSócio(0);
    QVERIFY(!item->isEnabled());
    base.LigarJanela(JanelaMenu::DadosPessoais, [&] { ++aberta; });
    QVERIFY(!item->isEnabled());
  }
};

QTEST_MAIN(TestDadosPessoais)
#include "TestDadosPessoais.moc"
