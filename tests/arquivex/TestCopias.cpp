#include "ArmazemLigacao.h"
#include "Arquivex.h"
#include "BaseDados.h"
#include "Copias.h"
#include "Dados.h"
#include "Danos.h"
#include "Guardas.h"
#include "Janela.h"
#include "LerFicheiro.h"
#include "Mascara.h"
#include "PastaTeste.h"
#include "ProcessoFilho.h"
#include "Programas.h"
#include "Respostas.h"
#include "Traducoes.h"
#ifdef AGREMIA_TESTE_SERVIDOR
#include "CopiaDados.h"
#include "ServidorPg.h"
#endif

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

// Members `primeiro` .. `primeiro + quantos - 1` with the twelve months of 2025 (the very last
// row `últimaQuota`), and with member 1 the reference rows; the file made when missing.
static void Povoar(const QString &ficheiro, int primeiro, int quantos,
                   const QVariant &últimaQuota = qint64(125000)) {
  if (!QFileInfo::exists(ficheiro))
    BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  const auto sql = [&bd](const QString &s, const QVariantList &v) { bd.Executar(s, v, u"t"_s); };
  for (const QString &r : {u"1Colectividade Recreativa"_s, u"TNormal"_s, u"C1000-001 Lisboa"_s})
    if (primeiro == 1)
      sql(u"INSERT INTO Tabelas (Tipo, Designação) VALUES (?, ?)"_s, {r.left(1), r.mid(1)});
  const int fim = primeiro + quantos;
  for (int n = primeiro; n < fim; ++n) {
    sql(u"INSERT INTO Sócios (Número, Nome, CPostal, Situação, TipoQuota, Inscrição, ValQuotaEuro, "
        u"Rua, Localidade, Observações, NIF) VALUES (?, ?, 3, 0, 2, '19960915', 125000, "
        u"'Rua Direita ', 'Lisboa ', ' ', ?)"_s,
        {n, u"Sócia Número "_s + QString::number(n), QString::number(100000000 + n)});
    for (int mês = 1; mês <= 12; ++mês)
      sql(u"INSERT INTO Quotizações (SócMês, QuotaEuro, Recibo) VALUES (?, ?, ?)"_s,
          {u"%1%2"_s.arg(n, 6, 10, QChar(u'0')).arg(202500 + mês),
           n == fim - 1 && mês == 12 ? últimaQuota : QVariant(qint64(125000)), n * 100 + mês});
  }
  t.Confirmar();
}

// Every row of the three tables, in key order, each marked with its table.
static QList<QVariantList> Linhas(const QString &ficheiro) {
  QList<QVariantList> r;
  for (const QString &sql : {u"SELECT 'T', * FROM Tabelas ORDER BY Código"_s,
                             u"SELECT 'S', * FROM Sócios ORDER BY Número"_s,
                             u"SELECT 'Q', * FROM Quotizações ORDER BY SócMês"_s})
    r += Consultar(sql, ficheiro);
  return r;
}

#ifdef AGREMIA_TESTE_SERVIDOR
// The server's rows, as a backup of them holds them.
static QList<QVariantList> LinhasServidor(const QString &ligação) {
  const ResultadoSegurança r = EfectuarSegurançaServidor(ligação, u"leitura"_s);
  const QList<QVariantList> linhas = Linhas(r.cópia);
  QFile::remove(r.cópia);
  return linhas;
}

// A connection to the server that stays open while the object lives, named as `nome`.
class Posto {
public:
  Posto(const QString &base, const QString &nome) : ligação(u"posto-"_s + nome) {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, ligação);
    db.setConnectOptions(base + u" application_name='"_s + nome + u'\'');
    if (!db.open())
      qWarning("%s", qPrintable(db.lastError().text()));
  }
  ~Posto() {
    QSqlDatabase::database(ligação, false).close();
    QSqlDatabase::removeDatabase(ligação);
  }
  QString ligação;
};
#endif

// Writes the bytes; "alheia" makes instead an SQLite file that is not ours.
static void EscreverFicheiro(const QString &ficheiro, const QByteArray &conteúdo) {
  if (conteúdo == "alheia")
    return NoutraLigação(u"QSQLITE"_s, ficheiro, [](QSqlQuery &q) {
      QVERIFY(q.exec(u"CREATE TABLE Clientes (Nome TEXT)"_s));
    });
  EscreverBytes(ficheiro, conteúdo);
}

// Backups, their listing and restores on real files, and the tool's window; test_copias_pg:
// the backup and the restore of a database on a PostgreSQL server.
class TestCopias : public QObject {
  Q_OBJECT

  IniciadorFalso iniciador;
  RelógioFixo relógio;

  static void Clicar(Arquivex &j, int botão) { ::Clicar(Comando(&j, botão)); }
  static void Diz(const QString &texto, const QStringList &partes) {
    for (const QString &parte : partes)
      QVERIFY2(texto.contains(parte), qPrintable(texto));
  }
  // Each of `caminhos` has the rights `octal`, where the system keeps POSIX rights.
  static void Direitos([[maybe_unused]] const QStringList &caminhos,
                       [[maybe_unused]] const QString &octal) {
#ifdef AGREMIA_PERMISSOES_POSIX
    for (const QString &c : caminhos)
      QVERIFY2(Permissões(c) == octal, qPrintable(c + u": "_s + Permissões(c)));
#endif
  }
  // After a refusal: the data file as it was and alone in its folder, the copies as they were.
  static void Intacto(const QByteArray &dados, const QStringList &cópias) {
    QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), dados);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Ficheiros(Seguranças()), cópias);
  }
  static void Datar(const QString &ficheiro, const QDateTime &momento) {
    QFile f(ficheiro);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(momento, QFileDevice::FileModificationTime));
  }
  static QDateTime Momento(int dia, int h, int m, int s) {
    return QDateTime(QDate(2026, 12, dia), QTime(h, m, s));
  }
  static QString Seguranças() { return PastaSeguranças(NomeFicheiroDados); }
  static QStringList Ficheiros(const QString &pasta) {
    return QDir(pasta).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }
  QString Copiar(const QDateTime &momento) {
    relógio.Mudar(momento);
    const ResultadoSegurança r = EfectuarSegurança(NomeFicheiroDados, Seguranças());
    if (!r.ok)
      QTest::qFail(qPrintable(u"segurança recusada: "_s + r.erro), __FILE__, __LINE__);
    return r.cópia;
  }

private slots:
  void initTestCase() {
#ifdef AGREMIA_TESTE_SERVIDOR
    EXIGIR_SERVIDOR_PG();
    BaseDados::DefinirNomePrograma(u"Arquivex"_s);
#endif
    InstalarTraduçõesQt();
  }
  void init() { FixarRelógio(std::nullopt); }

#ifndef AGREMIA_TESTE_SERVIDOR
  // Copies of one second neither overwrite each other nor take a stray journal's name; the
  // listing runs from the newest to the oldest, whatever else the folder holds.
  void segurancaCopiaTodasAsLinhasSemSobrepor() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 3);
    QVERIFY(QDir().mkpath(Seguranças()));
    const QDir s(Seguranças());
    const QString diário = s.filePath(u"Quotas 2026-12-06 10h05m33s.Dad-journal"_s);
    EscreverFicheiro(diário, "diário de outro ficheiro");
    const QString primeira = Copiar(Momento(6, 10, 5, 33));
    QCOMPARE(Linhas(primeira), Linhas(NomeFicheiroDados));
    QCOMPARE(QFileInfo(primeira).fileName(), u"Quotas 2026-12-06 10h05m33s_2.Dad"_s);
    Povoar(NomeFicheiroDados, 4, 1);
    const QString segunda = Copiar(Momento(6, 10, 5, 33)), terceira = Copiar(Momento(6, 10, 5, 33));
    QCOMPARE(QFileInfo(terceira).fileName(), u"Quotas 2026-12-06 10h05m33s_4.Dad"_s);
    QCOMPARE(PastaTeste::Conteúdo(diário), QByteArray("diário de outro ficheiro"));
    // A foreign database under a free name, dated by the file; not a copy's name, not listed.
    const QString alheia = s.filePath(u"Clientes.DAD"_s);
    EscreverFicheiro(alheia, "alheia");
    Datar(alheia, Momento(2, 12, 0, 0));
    EscreverFicheiro(s.filePath(u"notas.txt"_s), "outra coisa");
    QStringList caminhos;
    for (const auto &c : ListarCópias(Seguranças()))
      caminhos << c.caminho;
    QCOMPARE(caminhos, (QStringList{terceira, segunda, primeira, alheia}));
    QVERIFY(ListarCópias(pasta.Raiz(), NomeFicheiroDados).isEmpty()); // the data file itself
  }

  // Unusable copies are refused, nothing changed; a sound one replaces the data file, kept aside
  // (with its journal). Copies and folders are the owner's alone; the data file keeps its rights.
  void reposicaoPoeACopiaNoLugarEGuardaOFicheiroActual() {
    PastaTeste pasta;
#ifdef AGREMIA_PERMISSOES_POSIX
    MáscaraComum máscara;
#endif
    Povoar(NomeFicheiroDados, 1, 300);
    QVERIFY(MudarPermissões(NomeFicheiroDados, 0640)); // shared with a group on purpose
    const QString cópia = Copiar(Momento(1, 9, 0, 0));
    const ResultadoSegurança noutroDisco = EfectuarSegurança(NomeFicheiroDados, u"disco/cópias"_s);
    QVERIFY2(noutroDisco.ok, qPrintable(noutroDisco.erro));
    Direitos({Seguranças(), u"disco"_s, u"disco/cópias"_s}, u"700"_s);
    Direitos({cópia, noutroDisco.cópia}, u"600"_s);
    const QByteArray bytesCópia = PastaTeste::Conteúdo(cópia);
    Povoar(NomeFicheiroDados, 301, 2);
    const auto actuais = Linhas(NomeFicheiroDados);
    QByteArray página = bytesCópia; // a page in the middle overwritten
    const qsizetype meio = página.size() / 8192 * 4096;
    for (qsizetype i = meio; i < meio + 4096; ++i)
      página[i] = char(0xA5 ^ (i & 0x3F));
    const QList<std::pair<QByteArray, QString>> casos = {
        {página, u"está danificada"_s},
        {"índice", u"está danificada"_s}, // every page well formed, one index key changed
        {"Lista de sócios\n1;Silva\n", u"não é uma base de dados"_s},
        {"alheia", u"não é uma base de dados deste programa"_s},
        {"-", u"não existe"_s}};
    const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
    int dia = 2;
    for (const auto &[conteúdo, motivo] : casos) {
      const QString c = QDir(Seguranças()).filePath(u"Quotas 2026-12-0%1 09h00m00s.Dad"_s.arg(dia++));
      if (conteúdo != "-")
        EscreverFicheiro(c, conteúdo == "índice" ? bytesCópia : conteúdo);
      if (conteúdo == "índice")
        AlterarChaveNoÍndice(c, "000150202506", "000159202506");
      const QStringList cópias = Ficheiros(Seguranças());
      const ResultadoReposição r = ReporCópia(c, NomeFicheiroDados, Seguranças());
      QVERIFY(!r.ok);
      Diz(r.erro, {QFileInfo(c).fileName(), motivo, u"não foi alterado"_s});
      Intacto(antes, cópias);
    }

    relógio.Mudar(Momento(7, 18, 30, 0));
    const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
    QCOMPARE(r.salvaguarda,
             pasta.Caminho(u"Seguranças/Quotas antes da reposição 2026-12-07 18h30m00s.Dad"_s));
    QCOMPARE(Linhas(r.salvaguarda), actuais);
    QCOMPARE(PastaTeste::Conteúdo(cópia), bytesCópia);
    Direitos({r.salvaguarda}, u"600"_s);
    Direitos({NomeFicheiroDados}, u"640"_s);
    QVERIFY(ListarCópias(Seguranças()).value(0).antesDaReposição);

    // A data file the engine cannot use is kept byte for byte with the journal beside it (one
    // starting with a zero byte, which the engine leaves alone as not hot).
    EscreverFicheiro(NomeFicheiroDados, "estragado");
    const QByteArray diárioFrio("\0diário antigo", 15);
    EscreverFicheiro(u"Quotas.Dad-journal"_s, diárioFrio);
    relógio.Mudar(Momento(7, 18, 31, 0));
    const ResultadoReposição estragado = ReporCópia(cópia, NomeFicheiroDados, u"guardados"_s);
    QVERIFY2(estragado.ok, qPrintable(estragado.erro));
    QCOMPARE(PastaTeste::Conteúdo(estragado.salvaguarda), QByteArray("estragado"));
    QCOMPARE(PastaTeste::Conteúdo(estragado.salvaguarda + u"-journal"_s), diárioFrio);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    Direitos({u"guardados"_s}, u"700"_s);
    Direitos({estragado.salvaguarda, estragado.salvaguarda + u"-journal"_s}, u"600"_s);
  }

  // A damaged data file (index key changed, or a spoilt page) is named as the damaged one,
  // never the copy; no copy is left and the data file is as it was.
  void segurancaDeFicheiroDanificadoCulpaOFicheiro() {
    for (const bool índice : {true, false}) {
      PastaTeste pasta;
      Povoar(NomeFicheiroDados, 1, 300);
      índice ? AlterarChaveNoÍndice(NomeFicheiroDados, "000150202506", "000159202506")
             : EstragarPáginaDeLinhas(NomeFicheiroDados);
      const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
      const ResultadoSegurança r = EfectuarSegurança(NomeFicheiroDados, Seguranças());
      QVERIFY(!r.ok && !r.pormenor.isEmpty() && !r.erro.contains(u"cópia gravada"_s));
      Diz(r.erro, {QDir::toNativeSeparators(pasta.Caminho(NomeFicheiroDados)), u"danificado"_s});
      Intacto(antes, {});
    }
  }

  // A copy changed on its way into place is never trusted: refused, nothing changed.
  void copiaAlteradaNoCaminhoNaoServe() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 3);
    const QString cópia = Copiar(Momento(1, 9, 0, 0));
    Povoar(NomeFicheiroDados, 4, 2);
    const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
    bool feito = false;
    CópiaAlterada alteração([&](const QString &c) {
      if (feito || QFileInfo(c).absolutePath() != QDir(pasta.Raiz()).absolutePath())
        return;
      feito = true;
      NoutraLigação(u"QSQLITE"_s, c, [](QSqlQuery &q) {
        QVERIFY(q.exec(u"UPDATE Sócios SET Nome = 'Outra' WHERE Número = 1"_s));
      });
    });
    const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
    QVERIFY(feito && !r.ok);
    Diz(r.erro, {u"Não foi possível copiar"_s, u"não foi alterado"_s});
    Intacto(antes, {QFileInfo(cópia).fileName()});
  }

  // A file another program is writing, or that the program has open, is not replaced under it;
  // a backup may still be made of a file the program has open.
  void ficheiroEmUsoNaoESubstituido() {
#ifndef AGREMIA_PROCESSO_FILHO
    QSKIP("precisa de fork()");
#else
    for (const bool programaAberto : {false, true}) {
      PastaTeste pasta;
      Povoar(NomeFicheiroDados, 1, 2);
      const QString cópia = Copiar(Momento(1, 9, 0, 0));
      Povoar(NomeFicheiroDados, 3, 1);
      const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
      NoutraLigação(u"QSQLITE"_s, pasta.Caminho(NomeFicheiroDados), [&](QSqlQuery &q) {
        std::unique_ptr<ProcessoFilho> programa;
        auto doFilho = std::make_shared<BaseDados>();
        if (programaAberto)
          programa = std::make_unique<ProcessoFilho>(
              [doFilho] { doFilho->Abrir(NomeFicheiroDados); }, [doFilho] { doFilho->Fechar(); });
        QVERIFY(programaAberto ? programa->Correu() : q.exec(u"BEGIN EXCLUSIVE"_s));
        const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
        QVERIFY(!r.ok);
        Diz(r.erro, {programaAberto ? u"está aberto noutro programa"_s
                                    : u"está a ser usado por outro"_s,
                     u"não foi reposta"_s});
        if (programaAberto)
          QVERIFY2(!Copiar(Momento(2, 9, 0, 0)).isEmpty(), "a segurança foi recusada");
        q.exec(u"ROLLBACK"_s);
      });
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
      QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
      QCOMPARE(Ficheiros(Seguranças()).size(), programaAberto ? 2 : 1);
    }
#endif
  }

  // A full disk, whichever of the two files does not fit: refused as full, nothing changes.
  void reposicaoSemEspacoNaoAlteraNada() {
#ifndef AGREMIA_PROCESSO_FILHO
    QSKIP("precisa de fork() e setrlimit()");
#else
    for (const bool cópiaGrande : {false, true}) {
      PastaTeste pasta;
      Povoar(NomeFicheiroDados, 1, cópiaGrande ? 400 : 2);
      const QString cópia = Copiar(Momento(1, 9, 0, 0));
      if (cópiaGrande) {
        QVERIFY(QFile::remove(NomeFicheiroDados));
        Povoar(NomeFicheiroDados, 1, 2);
      } else {
        Povoar(NomeFicheiroDados, 3, 398);
      }
      const qint64 a = QFileInfo(cópia).size(), b = QFileInfo(NomeFicheiroDados).size();
      QVERIFY(std::max(a, b) > 4 * std::min(a, b));
      const QByteArray dados = PastaTeste::Conteúdo(NomeFicheiroDados);
      const QByteArray bytesCópia = PastaTeste::Conteúdo(cópia);
      const QStringList cópias = Ficheiros(Seguranças());
      const QString erro = QString::fromUtf8(ExecutarComLimite((a + b) / 2, [&cópia] {
        const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
        return (r.ok ? "ok\n" : "recusada\n") + r.erro.toUtf8();
      }));
      QVERIFY2(erro.startsWith(u"recusada\n"_s) && erro.contains(u"está cheio"_s) &&
                   erro.contains(u"não foi alterado"_s) && !erro.contains(u"danificada"_s) &&
                   (!cópiaGrande || erro.contains(QFileInfo(cópia).fileName())),
               qPrintable(erro));
      Intacto(dados, cópias);
      QCOMPARE(PastaTeste::Conteúdo(cópia), bytesCópia);
    }
#endif
  }

  // What a killed run left goes when the tool starts (a copy being written now stays); the
  // backup window refuses a file not ours, copies where picked, and the restart question
  // starts the program, a failed start told.
  void segurancaPelaJanela() {
    relógio.Mudar(Momento(6, 10, 5, 33));
    PastaTeste raiz;
    Respostas respostas;
    QVERIFY(QDir().mkpath(Seguranças()));
    const QStringList restos{u"Quotas.parcial-0a1b2c3d4e5f"_s,
                             QDir(Seguranças()).filePath(u"Quotas.parcial-ffeeddccbbaa"_s)};
    const QString emCurso = QDir(Seguranças()).filePath(u"Quotas.parcial-123456789abc"_s);
    for (const QString &f : restos + QStringList{emCurso}) {
      EscreverFicheiro(f, "sócios");
      Datar(f, QDateTime::currentDateTime().addSecs(f == emCurso ? 0 : -11 * 60));
    }
    Arquivex(Arquivex::Modo::Reposição, QDir::currentPath());
    QVERIFY(!QFileInfo::exists(restos[0]) && !QFileInfo::exists(restos[1]));
    QVERIFY(QFile::remove(emCurso));
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    Mostrar(&j);
    EscreverFicheiro(NomeFicheiroDados, "alheia");
    Clicar(j, 1);
    Diz(respostas.caixas.value(0).texto, {u"Quotas.Dad"_s, u"não tem as tabelas"_s});
    QVERIFY(QFile::remove(NomeFicheiroDados));
    Povoar(NomeFicheiroDados, 1, 3);
    const QString destino = raiz.Caminho(u"pen/cópias"_s);
    {
      EscolhaPastaFalsa escolha(destino);
      Clicar(j, 2);
    }
    iniciador.resultado = false;
    Clicar(j, 1);
    const QString cópia = QDir(destino).filePath(u"Quotas 2026-12-06 10h05m33s.Dad"_s);
    QCOMPARE(Linhas(cópia), Linhas(NomeFicheiroDados));
    QCOMPARE(respostas.caixas.size(), 4);
    Diz(respostas.caixas[1].texto, {QDir::toNativeSeparators(cópia), u"com 3 sócios"_s});
    QCOMPARE(respostas.caixas[2].ícone, Ícone::Pergunta);
    Diz(respostas.caixas[3].texto, {QDir::toNativeSeparators(CaminhoPrograma(u"agremia"_s))});
    QCOMPARE(iniciador.iniciados.size(), 1);
    QCOMPARE(iniciador.iniciados[0].pasta, QDir(raiz.Raiz()).absolutePath());
    QVERIFY(!j.isVisible() && QDir(Seguranças()).isEmpty());
  }

  // The list starts on the newest sound copy; "Não" changes nothing, "Sim" restores.
  void reposicaoPelaJanela() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString antiga = Copiar(Momento(1, 9, 0, 0));
    Povoar(NomeFicheiroDados, 3, 1);
    Copiar(Momento(5, 17, 45, 10));
    EscreverFicheiro(pasta.Caminho(u"Seguranças/Quotas 2026-12-06 08h00m00s.Dad"_s), "lixo");
    Povoar(NomeFicheiroDados, 4, 1);
    const auto actuais = Linhas(NomeFicheiroDados);
    Respostas respostas;
    relógio.Mudar(Momento(7, 18, 30, 0));
    Arquivex j(Arquivex::Modo::Reposição, QDir::currentPath());
    j.show();
    auto *lista = Controlo<QListWidget>(&j, u"Copias"_s);
    QCOMPARE(lista->item(1)->text(), u"05-12-2026   17:45:10     3 sócios"_s);
    QCOMPARE(lista->currentRow(), 1);
    lista->setCurrentRow(0);
    Clicar(j, 1);
    Diz(respostas.caixas.value(0).texto, {u"não pode ser reposta"_s});
    lista->setCurrentRow(2);
    lista->setFocus();
    respostas.Responder({Resposta::Não, Resposta::Sim, Resposta::OK, Resposta::Não});
    QTest::keyClick(lista, Qt::Key_Return);
    QCOMPARE(Linhas(NomeFicheiroDados), actuais);
    Clicar(j, 1);
    QCOMPARE(respostas.caixas.size(), 5);
    Diz(respostas.caixas[2].texto, {u"01-12-2026, às 09:00:00"_s});
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(antiga));
  }
#else
  // The backup of a server is a file of the Quotas.Dad format with every row of the server,
  // checked and named as the copies of a file; a server that cannot be reached leaves nothing.
  void segurancaDoServidor() {
    PastaTeste pasta;
    Povoar(u"Origem.Dad"_s, 1, 4);
    BaseServidorTeste servidor;
    CopiarFicheiroParaServidor(u"Origem.Dad"_s, servidor.Ligação());
    const ResultadoSegurança r = EfectuarSegurançaServidor(servidor.Ligação(), u"Seguranças"_s);
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(r.sócios, 4);
    QVERIFY2(QFileInfo(r.cópia).fileName().startsWith(u"Quotas 2"_s), qPrintable(r.cópia));
    QVERIFY(VerificarFicheiro(r.cópia).Boa());
    QCOMPARE(Linhas(r.cópia), Linhas(u"Origem.Dad"_s));
    QCOMPARE(Ficheiros(u"Seguranças"_s), QStringList{QFileInfo(r.cópia).fileName()});

    const ResultadoSegurança falha =
        EfectuarSegurançaServidor(u"dbname=agremia_base_que_nao_existe"_s, u"Outras"_s);
    QVERIFY(!falha.ok);
    Diz(falha.erro, {u"Nenhuma cópia foi feita"_s});
    QCOMPARE(Ficheiros(u"Outras"_s), QStringList());
  }

  // A restore replaces the server's rows, the former kept in a file; refused while another desk
  // is connected; an unsound copy or one stopping half-way leaves the rows as they were.
  void reposicaoNoServidor_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QString>("erro"); // empty when the restore goes through
    QTest::newRow("sem outros postos") << u"sem postos"_s << QString();
    QTest::newRow("outro posto ligado") << u"posto"_s << u"«Agremia (posto-2)»"_s;
    QTest::newRow("cópia danificada") << u"danificada"_s << u"não é uma base de dados"_s;
    QTest::newRow("recusada a meio") << u"recusada"_s << u"ficou como estava"_s;
  }
  void reposicaoNoServidor() {
    QFETCH(QString, caso);
    QFETCH(QString, erro);
    PastaTeste pasta;
    Povoar(u"Actual.Dad"_s, 1, 3);
    Povoar(u"Cópia.Dad"_s, 1, 5, caso == u"recusada"_s ? QVariant(0.5) : QVariant(qint64(99)));
    if (caso == u"danificada"_s)
      EscreverFicheiro(u"Cópia.Dad"_s, "não é uma cópia");
    BaseServidorTeste servidor;
    CopiarFicheiroParaServidor(u"Actual.Dad"_s, servidor.Ligação());
    const QList<QVariantList> antes = LinhasServidor(servidor.Ligação());
    QCOMPARE(antes, Linhas(u"Actual.Dad"_s));

    // A connection that is not the program's, which never counts.
    Posto outroPrograma(servidor.Ligação(), u"psql"_s);
    std::optional<Posto> posto;
    if (caso == u"posto"_s)
      posto.emplace(servidor.Ligação(), u"Agremia (posto-2)"_s);
    const ResultadoReposição r =
        ReporCópiaServidor(u"Cópia.Dad"_s, servidor.Ligação(), u"Seguranças"_s);
    posto.reset();
    if (erro.isEmpty()) {
      QVERIFY2(r.ok, qPrintable(r.erro));
      QCOMPARE(r.sócios, 5);
      QCOMPARE(LinhasServidor(servidor.Ligação()), Linhas(u"Cópia.Dad"_s));
      QCOMPARE(Linhas(r.salvaguarda), antes);
      QVERIFY(QFileInfo(r.salvaguarda).fileName().startsWith(u"Quotas antes da reposição "_s));
      return;
    }
    QVERIFY(!r.ok);
    Diz(r.erro, {erro});
    QCOMPARE(LinhasServidor(servidor.Ligação()), antes);
  }
#endif
};

QTEST_MAIN(TestCopias)
#include "TestCopias.moc"
