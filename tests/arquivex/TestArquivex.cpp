#include "Arquivex.h"
#include "Copias.h"
#include "Dados.h"
#include "FicheiroExemplo.h"
#include "Guardas.h"
#include "Janela.h"
#include "Modal.h"
#include "PastaTeste.h"
#include "Programas.h"
#include "Respostas.h"
#include "TextosVisiveis.h"
#include "Traducoes.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace Qt::StringLiterals;

// The window driven as a user would: buttons clicked, message boxes answered through the seam,
// and the start of the main program recorded instead of done.
class TestArquivex : public QObject {
  Q_OBJECT

  // Every suite member starts programs through this: nothing is really started.
  IniciadorFalso iniciador;
  QList<IniciadorFalso::Início> &iniciados = iniciador.iniciados;

  static const inline QString PerguntaReinício =
      u"Deseja iniciar novamente o programa de Sócios e Quotizações?"_s;

  static QDateTime Momento(int dia, int h, int m, int s) {
    return QDateTime(QDate(2026, 12, dia), QTime(h, m, s));
  }
  static QString Copiar(RelógioFixo &relógio, const QDateTime &momento) {
    relógio.Mudar(momento);
    return EfectuarSegurança(NomeFicheiroDados, PastaSeguranças(NomeFicheiroDados)).cópia;
  }
  static void Clicar(Arquivex &j, int botão) { ::Clicar(Comando(&j, botão)); }
  static void VerificarPerguntaReinício(const PedidoMensagem &m) {
    QCOMPARE(m.texto, PerguntaReinício);
    QCOMPARE(m.botões, Botões::SimNão);
    QCOMPARE(m.ícone, Ícone::Pergunta);
  }

private slots:
  void initTestCase() { InstalarTraduçõesQt(); }
  void init() {
    iniciados.clear();
    iniciador.resultado = true;
  }

  void segurancaDizOndeFicouESemReinicio() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 3);
    Respostas respostas;
    respostas.Responder({Resposta::OK, Resposta::Não});
    relógio.Mudar(Momento(6, 10, 5, 33));
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    j.show();
    Clicar(j, 1);
    const QString cópia = pasta.Caminho(u"Seguranças/Quotas 2026-12-06 10h05m33s.Dad"_s);
    QCOMPARE(Linhas(cópia), Linhas(NomeFicheiroDados));
    QCOMPARE(respostas.caixas.size(), 2);
    QVERIFY2(respostas.caixas[0].texto.contains(QDir::toNativeSeparators(cópia)) &&
                 respostas.caixas[0].texto.contains(u"com 3 sócios"_s),
             qPrintable(respostas.caixas[0].texto));
    VerificarPerguntaReinício(respostas.caixas[1]);
    QVERIFY(iniciados.isEmpty());
    QCOMPARE(j.result(), int(QDialog::Accepted));
  }

  void segurancaNoutraPastaEReinicioDoPrograma() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 1);
    Respostas respostas; // OK, then Sim to the restart
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    const QString outra = pasta.Caminho(u"pen/cópias"_s);
    j.DefinirPasta(outra);
    j.show();
    Clicar(j, 1);
    QCOMPARE(QDir(outra).entryList(QDir::Files).size(), 1);
    QCOMPARE(iniciados.size(), 1);
    QCOMPARE(iniciados[0].programa, u"agremia"_s);
    QCOMPARE(iniciados[0].pasta, QDir(pasta.Raiz()).absolutePath());
    QVERIFY(!j.isVisible());
  }

  // No folder typed: nothing is copied and the user is sent to the folder. A restart that
  // cannot start the main program says where it looked, and the window still ends.
  void semPastaNaoCopiaEReinicioQueFalhaAvisa() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 1);
    Respostas respostas;
    iniciador.resultado = false;
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    Mostrar(&j);
    QLineEdit *campo = Controlo(&j, u"Pasta"_s);
    campo->clear();
    Clicar(j, 1);
    QCOMPARE(respostas.caixas.size(), 1);
    QCOMPARE(respostas.bips, 1);
    QVERIFY(campo->hasFocus());
    QVERIFY(!QDir(pasta.Caminho(u"Seguranças"_s)).exists());

    respostas.Responder({Resposta::Sim});
    j.reject();
    QCOMPARE(iniciados.size(), 1);
    QCOMPARE(respostas.caixas.size(), 3);
    QVERIFY2(
        respostas.caixas[2].texto.contains(QDir::toNativeSeparators(CaminhoPrograma(u"agremia"_s))),
        qPrintable(respostas.caixas[2].texto));
    QVERIFY(!j.isVisible());
  }

  // The folder picker is Qt's own window, translated; the folder chosen becomes the folder of
  // the copies and the next choice starts there; cancelling keeps it.
  void escolherPasta() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 1);
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    j.show();
    {
      QStringList textos;
      auto vigia = QuandoModal<QFileDialog>([&](QFileDialog &d) {
        textos = TextosVisíveis(&d);
        d.reject();
      });
      Clicar(j, 2);
      QVERIFY2(textos.size() > 10, "a janela das pastas não abriu");
      QCOMPARE(TextosNãoTraduzidos(textos), QStringList());
      QCOMPARE(j.Pasta(), pasta.Caminho(u"Seguranças"_s));
    }
    const QString outra = pasta.Caminho(u"Outra"_s);
    QVERIFY(QDir().mkpath(outra));
    {
      EscolhaPastaFalsa escolha(outra);
      Clicar(j, 2);
    }
    QCOMPARE(j.Pasta(), outra);
    EscolhaPastaFalsa cancelada({});
    Clicar(j, 2);
    QCOMPARE(cancelada.pedidos.size(), 1);
    QCOMPARE(cancelada.pedidos[0][1], outra);
    QCOMPARE(j.Pasta(), outra);
  }

  void segurancaSemFicheiroAvisaENaoCriaNada() {
    PastaTeste pasta;
    Respostas respostas;
    respostas.Responder({Resposta::OK, Resposta::Não});
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    j.show();
    QVERIFY(j.findChild<QLabel *>(u"Aviso"_s)->isVisible());
    Clicar(j, 1);
    QCOMPARE(respostas.caixas.size(), 1);
    QVERIFY(respostas.caixas[0].texto.contains(u"não existe"_s));
    QVERIFY(j.isVisible()); // the user may still leave or try another folder
    QVERIFY(QDir(pasta.Raiz()).isEmpty());
    // Closing the window asks the restart question as "&Sair" does.
    j.close();
    QCOMPARE(respostas.caixas.size(), 2);
    VerificarPerguntaReinício(respostas.caixas[1]);
    QVERIFY(!j.isVisible());
  }

  void reposicaoListaEPoeNoLugarACopiaEscolhida() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString antiga = Copiar(relógio, Momento(1, 9, 0, 0));
    Povoar(NomeFicheiroDados, 3, 1);
    Copiar(relógio, Momento(5, 17, 45, 10));
    EscreverFicheiro(pasta.Caminho(u"Seguranças/Quotas 2026-11-30 08h00m00s.Dad"_s), "lixo");
    Povoar(NomeFicheiroDados, 4, 1);
    const auto actuais = Linhas(NomeFicheiroDados);

    Respostas respostas;
    respostas.Responder({Resposta::Sim, Resposta::OK, Resposta::Não});
    relógio.Mudar(Momento(7, 18, 30, 0));
    Arquivex j(Arquivex::Modo::Reposição, QDir::currentPath());
    j.show();
    auto *lista = j.findChild<QListWidget *>(u"Copias"_s);
    QCOMPARE(lista->count(), 3);
    QCOMPARE(lista->item(0)->text(), u"05-12-2026   17:45:10     3 sócios"_s);
    QCOMPARE(lista->item(2)->text(),
             u"30-11-2026   08:00:00     inutilizável: não é uma base de dados"_s);
    QCOMPARE(lista->currentRow(), 0);

    lista->setCurrentRow(1);
    Clicar(j, 1);
    QCOMPARE(respostas.caixas.size(), 3);
    QVERIFY2(respostas.caixas[0].texto.contains(u"01-12-2026, às 09:00:00"_s),
             qPrintable(respostas.caixas[0].texto));
    const QString salvaguarda =
        pasta.Caminho(u"Seguranças/Quotas antes da reposição 2026-12-07 18h30m00s.Dad"_s);
    QVERIFY2(respostas.caixas[1].texto.contains(QDir::toNativeSeparators(salvaguarda)),
             qPrintable(respostas.caixas[1].texto));
    VerificarPerguntaReinício(respostas.caixas[2]);
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(antiga));
    QCOMPARE(Linhas(salvaguarda), actuais);
    QVERIFY(!j.isVisible());
  }

  void reposicaoRecusadaOuDesistidaNaoMexeEmNada() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    Copiar(relógio, Momento(1, 9, 0, 0));
    EscreverFicheiro(pasta.Caminho(u"Seguranças/Quotas 2026-12-02 08h00m00s.Dad"_s), "lixo");
    Povoar(NomeFicheiroDados, 3, 1);
    const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);

    Respostas respostas;
    Arquivex j(Arquivex::Modo::Reposição, QDir::currentPath());
    j.show();
    auto *lista = j.findChild<QListWidget *>(u"Copias"_s);
    QCOMPARE(lista->currentRow(), 1); // the newest sound copy, not the unusable one above it

    // The unusable copy is refused without even asking.
    lista->setCurrentRow(0);
    Clicar(j, 1);
    QCOMPARE(respostas.caixas.size(), 1);
    QVERIFY2(respostas.caixas[0].texto.contains(u"não pode ser reposta"_s),
             qPrintable(respostas.caixas[0].texto));

    // Enter on the list asks once; "Não" changes nothing and keeps the window.
    lista->setCurrentRow(1);
    lista->setFocus();
    respostas.Responder({Resposta::Não});
    QTest::keyClick(lista, Qt::Key_Return);
    QCOMPARE(respostas.caixas.size(), 2);
    QCOMPARE(respostas.caixas[1].ícone, Ícone::Pergunta);
    QVERIFY(j.isVisible());

    // "&Sair" and "Sim" to the restart.
    Clicar(j, 0);
    VerificarPerguntaReinício(respostas.caixas.value(2));
    QCOMPARE(iniciados.size(), 1);
    QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
    QCOMPARE(QDir(PastaSeguranças(NomeFicheiroDados)).entryList(QDir::Files).size(), 2);
  }

  void reposicaoSemCopiasNemFicheiro() {
    PastaTeste pasta;
    Respostas respostas;
    respostas.Responder({Resposta::OK, Resposta::Não});
    Arquivex j(Arquivex::Modo::Reposição, QDir::currentPath());
    j.show();
    QVERIFY(j.findChild<QLabel *>(u"Aviso"_s)->text().contains(u"Não há cópias de segurança"_s));
    Clicar(j, 1);
    QCOMPARE(respostas.caixas.size(), 1);
    QCOMPARE(respostas.caixas[0].ícone, Ícone::Exclamação);
    QVERIFY(j.isVisible());
  }
};

QTEST_MAIN(TestArquivex)
#include "TestArquivex.moc"
