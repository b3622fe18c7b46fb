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

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

// A Quotas.Dad with reference rows, members and their dues, written as the program writes it.
// Members `primeiro` .. `primeiro + quantos - 1` are added, each with the twelve months of 2025
// paid; the file is created first when it is missing.
static void Povoar(const QString &ficheiro, int primeiro, int quantos) {
  if (!QFileInfo::exists(ficheiro))
    BaseDados::Criar(ficheiro);
  BaseDados bd;
  bd.Abrir(ficheiro);
  BaseDados::Transacção t(bd);
  if (primeiro == 1)
    for (const auto &[tipo, designação] : {std::pair{u"1"_s, u"Colectividade Recreativa"_s},
                                           {u"T"_s, u"Normal"_s},
                                           {u"C"_s, u"1000-001 Lisboa"_s}})
      bd.Executar(u"INSERT INTO Tabelas (Tipo, Designação) VALUES (?, ?)"_s, {tipo, designação},
                  u"teste"_s);
  for (int n = primeiro; n < primeiro + quantos; ++n) {
    bd.Executar(u"INSERT INTO Sócios (Número, Nome, CPostal, Situação, TipoQuota, Inscrição, "
                u"ValQuotaEuro, Rua, Localidade, Observações, NIF) "
                u"VALUES (?, ?, 3, 0, 2, '19960915', 125000, 'Rua Direita ', 'Lisboa ', ' ', ?)"_s,
                {n, u"Sócia Número "_s + QString::number(n), QString::number(100000000 + n)},
                u"teste"_s);
    for (int mês = 1; mês <= 12; ++mês)
      bd.Executar(u"INSERT INTO Quotizações (SócMês, QuotaEuro, Recibo) VALUES (?, 125000, ?)"_s,
                  {u"%1%2"_s.arg(n, 6, 10, QChar(u'0')).arg(202500 + mês), n * 100 + mês},
                  u"teste"_s);
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

// Runs `f` on `ficheiro` through a connection of its own, as another program would.
static void NoutraLigação(const QString &ficheiro, const std::function<void(QSqlQuery &)> &f) {
  {
    auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outra"_s);
    db.setDatabaseName(ficheiro);
    QVERIFY(db.open());
    QSqlQuery q(db);
    f(q);
  }
  QSqlDatabase::removeDatabase(u"outra"_s);
}

static void Datar(const QString &ficheiro, const QDateTime &momento) {
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::ReadWrite));
  QVERIFY(f.setFileTime(momento, QFileDevice::FileModificationTime));
}

// Writes the bytes; "alheia" makes instead an SQLite file that is not ours.
static void EscreverFicheiro(const QString &ficheiro, const QByteArray &conteúdo) {
  if (conteúdo == "alheia")
    return NoutraLigação(
        ficheiro, [](QSqlQuery &q) { QVERIFY(q.exec(u"CREATE TABLE Clientes (Nome TEXT)"_s)); });
  QFile f(ficheiro);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(conteúdo), conteúdo.size());
}

// Backups, their listing and restores on real files; then the backup tool's window.
class TestCopias : public QObject {
  Q_OBJECT

  IniciadorFalso iniciador;
  RelógioFixo relógio;

  static const inline QString PerguntaReinício =
      u"Deseja iniciar novamente o programa de Sócios e Quotizações?"_s;

  static void Clicar(Arquivex &j, int botão) { ::Clicar(Comando(&j, botão)); }
  // The message names each of `partes`.
  static void Diz(const QString &texto, const QStringList &partes) {
    for (const QString &parte : partes)
      QVERIFY2(texto.contains(parte), qPrintable(texto));
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
  // A restore that must succeed.
  ResultadoReposição Repor(const QString &cópia, const QString &guardar = Seguranças()) {
    const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, guardar);
    if (!r.ok)
      QTest::qFail(qPrintable(u"reposição recusada: "_s + r.erro), __FILE__, __LINE__);
    return r;
  }

private slots:
  void initTestCase() { InstalarTraduçõesQt(); }
  void init() { FixarRelógio(std::nullopt); } // no test inherits the time an earlier one set

  // Copies made in the same second do not overwrite each other. The listing runs from the
  // newest to the oldest, whatever the folder holds.
  void segurancaCopiaTodasAsLinhasSemSobrepor() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 3);
    const QString primeira = Copiar(Momento(6, 10, 5, 33));
    QCOMPARE(Linhas(primeira), Linhas(NomeFicheiroDados));
    // Nothing half-written stays behind.
    QCOMPARE(Ficheiros(Seguranças()), QStringList{u"Quotas 2026-12-06 10h05m33s.Dad"_s});

    const QByteArray conteúdo = PastaTeste::Conteúdo(primeira);
    Povoar(NomeFicheiroDados, 4, 1);
    const QString segunda = Copiar(Momento(6, 10, 5, 33));
    const QString terceira = Copiar(Momento(6, 10, 5, 33));
    QCOMPARE(QFileInfo(terceira).fileName(), u"Quotas 2026-12-06 10h05m33s_3.Dad"_s);
    QCOMPARE(PastaTeste::Conteúdo(primeira), conteúdo);
    // Named like a copy, but text; and a foreign database under a free name, dated by the file.
    const QString texto = QDir(Seguranças()).filePath(u"Quotas 2026-12-07 08h00m00s.Dad"_s);
    EscreverFicheiro(texto, "não sou uma cópia");
    const QString alheia = QDir(Seguranças()).filePath(u"Clientes.DAD"_s);
    EscreverFicheiro(alheia, "alheia");
    Datar(alheia, Momento(2, 12, 0, 0));
    EscreverFicheiro(QDir(Seguranças()).filePath(u"notas.txt"_s), "outra coisa");

    const auto lista = ListarCópias(Seguranças());
    QStringList caminhos;
    for (const auto &c : lista)
      caminhos << c.caminho;
    QCOMPARE(caminhos, (QStringList{texto, terceira, segunda, primeira, alheia}));
    QCOMPARE(lista[4].momento, Momento(2, 12, 0, 0));

    // Pointed at the data folder, the data file itself is not offered as a copy.
    QVERIFY(ListarCópias(pasta.Raiz(), NomeFicheiroDados).isEmpty());
  }

  // Copies that cannot be used are refused, leaving the data file and the copies exactly as
  // they were. A sound one replaces the data file, which is kept aside with its journal.
  void reposicaoPoeACopiaNoLugarEGuardaOFicheiroActual() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 300);
    const QString cópia = Copiar(Momento(1, 9, 0, 0));
    const QByteArray bytesCópia = PastaTeste::Conteúdo(cópia);
    Povoar(NomeFicheiroDados, 301, 2);
    const auto actuais = Linhas(NomeFicheiroDados);

    // A real copy with a page in the middle overwritten.
    QByteArray bytes = bytesCópia;
    const qsizetype página = 4096, meio = bytes.size() / página / 2 * página;
    QVERIFY(bytes.size() > 10 * página);
    for (qsizetype i = meio; i < meio + página; ++i)
      bytes[i] = char(0xA5 ^ (i & 0x3F));
    // "índice": the real copy with one key of the dues index changed, every page well formed;
    // the engine's integrity check finds that the index disagrees with its table.
    const QList<std::pair<QByteArray, QString>> casos = {
        {bytes, u"está danificada"_s},
        {"índice", u"está danificada"_s},
        {"Lista de sócios\n1;Silva\n", u"não é uma base de dados"_s},
        {"alheia", u"não é uma base de dados deste programa"_s},
        {"-", u"não existe"_s}};
    const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
    int dia = 2;
    for (const auto &[conteúdo, motivo] : casos) {
      const QString c =
          QDir(Seguranças()).filePath(u"Quotas 2026-12-0%1 09h00m00s.Dad"_s.arg(dia++));
      if (conteúdo == "índice") {
        EscreverFicheiro(c, bytesCópia);
        AlterarChaveNoÍndice(c, "000150202506", "000159202506");
        QCOMPARE(VerificarFicheiro(c).estado, EstadoCópia::Danificada);
      } else if (conteúdo != "-") {
        EscreverFicheiro(c, conteúdo);
      }
      const QStringList cópias = Ficheiros(Seguranças());
      const ResultadoReposição r = ReporCópia(c, NomeFicheiroDados, Seguranças());
      QVERIFY(!r.ok);
      Diz(r.erro, {QFileInfo(c).fileName(), motivo, u"não foi alterado"_s});
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
      QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
      QCOMPARE(Ficheiros(Seguranças()), cópias);
    }

    relógio.Mudar(Momento(7, 18, 30, 0));
    const ResultadoReposição r = Repor(cópia);
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
    QCOMPARE(r.salvaguarda,
             pasta.Caminho(u"Seguranças/Quotas antes da reposição 2026-12-07 18h30m00s.Dad"_s));
    QCOMPARE(Linhas(r.salvaguarda), actuais);
    QCOMPARE(PastaTeste::Conteúdo(cópia), bytesCópia);
    // The file kept aside is offered like any copy, and marked for what it is.
    QVERIFY(ListarCópias(Seguranças()).value(0).antesDaReposição);

    // With no data file at all, the copy simply becomes the data file.
    QVERIFY(QFile::remove(NomeFicheiroDados));
    Repor(cópia);
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));

    // A data file the engine cannot use is kept byte for byte, with the journal that lay
    // beside it (one starting with a zero byte, which the engine leaves alone as not hot).
    EscreverFicheiro(NomeFicheiroDados, "estragado");
    const QByteArray diárioFrio("\0diário antigo", 15);
    EscreverFicheiro(u"Quotas.Dad-journal"_s, diárioFrio);
    relógio.Mudar(Momento(7, 18, 31, 0));
    const ResultadoReposição estragado = Repor(cópia);
    QCOMPARE(PastaTeste::Conteúdo(estragado.salvaguarda), QByteArray("estragado"));
    QCOMPARE(PastaTeste::Conteúdo(estragado.salvaguarda + u"-journal"_s), diárioFrio);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));

    // The hot journal a crash leaves never reaches the restored file.
    Povoar(NomeFicheiroDados, 301, 1);
    const auto antesDaGravação = Linhas(NomeFicheiroDados);
    QByteArray ficheiro, diário;
    NoutraLigação(pasta.Caminho(NomeFicheiroDados), [&](QSqlQuery &q) {
      QVERIFY(q.exec(u"PRAGMA cache_size=10"_s));
      QVERIFY(q.exec(u"BEGIN"_s));
      QVERIFY(q.exec(u"UPDATE Sócios SET Observações = 'alterado nesta gravação'"_s));
      QVERIFY(q.exec(u"DELETE FROM Quotizações"_s));
      // What the disk holds at this moment is what a crash leaves.
      ficheiro = PastaTeste::Conteúdo(NomeFicheiroDados);
      diário = PastaTeste::Conteúdo(u"Quotas.Dad-journal"_s);
      QVERIFY(q.exec(u"ROLLBACK"_s));
    });
    QVERIFY(!diário.isEmpty());
    EscreverFicheiro(NomeFicheiroDados, ficheiro);
    EscreverFicheiro(u"Quotas.Dad-journal"_s, diário);

    relógio.Mudar(Momento(7, 18, 32, 0));
    const ResultadoReposição quente = Repor(cópia);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
    QCOMPARE(Linhas(quente.salvaguarda), antesDaGravação);
    QVERIFY(!QFileInfo::exists(quente.salvaguarda + u"-journal"_s));
  }

  // Every copy holds the members' personal data: a backup and the folders made for it, and the
  // files a restore keeps aside, copied by the engine or byte for byte, are their owner's alone
  // under the usual mask 022. The restored data file keeps the rights the user gave the one it
  // replaces; where there was none, it is the owner's alone too.
  void copiasSaoSoDoDono() {
#ifndef AGREMIA_PERMISSOES_POSIX
    QSKIP("este sistema não tem permissões POSIX");
#else
    PastaTeste pasta;
    MáscaraComum máscara;
    Povoar(NomeFicheiroDados, 1, 2);
    QVERIFY(MudarPermissões(NomeFicheiroDados, 0640)); // shared with a group on purpose
    const auto ver = [](const QString &caminho, const QString &esperadas) {
      QVERIFY2(Permissões(caminho) == esperadas,
               qPrintable(caminho + u": "_s + Permissões(caminho)));
    };
    const QString cópia = Copiar(Momento(1, 9, 0, 0));
    ver(Seguranças(), u"700"_s);
    ver(cópia, u"600"_s);
    const ResultadoSegurança noutroDisco = EfectuarSegurança(NomeFicheiroDados, u"disco/cópias"_s);
    QVERIFY2(noutroDisco.ok, qPrintable(noutroDisco.erro));
    ver(u"disco"_s, u"700"_s);
    ver(u"disco/cópias"_s, u"700"_s);
    ver(noutroDisco.cópia, u"600"_s);

    relógio.Mudar(Momento(1, 9, 1, 0));
    const ResultadoReposição reposta = Repor(cópia, u"guardados"_s);
    ver(u"guardados"_s, u"700"_s);
    ver(reposta.salvaguarda, u"600"_s);
    ver(NomeFicheiroDados, u"640"_s);

    // A data file the engine cannot read is kept aside byte for byte, with its journal.
    EscreverFicheiro(NomeFicheiroDados, "estragado");
    EscreverFicheiro(u"Quotas.Dad-journal"_s, QByteArray("\0diário antigo", 15));
    relógio.Mudar(Momento(1, 9, 2, 0));
    const ResultadoReposição estragado = Repor(cópia);
    ver(estragado.salvaguarda, u"600"_s);
    ver(estragado.salvaguarda + u"-journal"_s, u"600"_s);
    ver(NomeFicheiroDados, u"640"_s);

    QVERIFY(QFile::remove(NomeFicheiroDados));
    Repor(cópia);
    ver(NomeFicheiroDados, u"600"_s);
#endif
  }

  // A data file that is itself damaged (a changed index key, which the engine copies as it is;
  // a spoilt page, which stops the copy) is named as the damaged one, never the copy; no copy
  // is left and the data file is as it was.
  void segurancaDeFicheiroDanificadoCulpaOFicheiro() {
    for (const QString &dano : {u"índice"_s, u"página"_s}) {
      PastaTeste pasta;
      Povoar(NomeFicheiroDados, 1, 300);
      if (dano == u"índice"_s)
        AlterarChaveNoÍndice(NomeFicheiroDados, "000150202506", "000159202506");
      else
        EstragarPáginaDeLinhas(NomeFicheiroDados);
      const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
      relógio.Mudar(Momento(6, 10, 5, 33));
      const ResultadoSegurança r = EfectuarSegurança(NomeFicheiroDados, Seguranças());
      QVERIFY(!r.ok);
      Diz(r.erro, {QDir::toNativeSeparators(pasta.Caminho(NomeFicheiroDados)), u"danificado"_s});
      QVERIFY2(!r.erro.contains(u"cópia gravada"_s), qPrintable(r.erro));
      QVERIFY(!r.pormenor.isEmpty());
      QCOMPARE(Ficheiros(Seguranças()), QStringList());
      QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
    }
  }

  // A copy changed on its way is never trusted: a copy brought in to be restored that differs
  // from the chosen one is refused, and an engine copy of the replaced file that lost a row
  // gives way to a byte copy. Both are read back before they count.
  void copiaAlteradaNoCaminhoNaoServe() {
    for (const bool trazida : {true, false}) {
      PastaTeste pasta;
      Povoar(NomeFicheiroDados, 1, 3);
      const QString cópia = Copiar(Momento(1, 9, 0, 0));
      Povoar(NomeFicheiroDados, 4, 2);
      const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
      const auto actuais = Linhas(NomeFicheiroDados);
      const QString pastaAlvo = trazida ? pasta.Raiz() : QDir(Seguranças()).absolutePath();
      bool feito = false;
      CópiaAlterada alteração([&](const QString &c) {
        if (feito || QFileInfo(c).absolutePath() != QDir(pastaAlvo).absolutePath())
          return;
        feito = true;
        NoutraLigação(c, [&](QSqlQuery &q) {
          QVERIFY(q.exec(trazida ? u"UPDATE Sócios SET Nome = 'Outra' WHERE Número = 1"_s
                                 : u"DELETE FROM Sócios WHERE Número = 5"_s));
        });
      });
      relógio.Mudar(Momento(7, 18, 30, 0));
      const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
      QVERIFY(feito);
      QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
      if (trazida) {
        QVERIFY(!r.ok);
        Diz(r.erro, {u"Não foi possível copiar"_s, u"não foi alterado"_s});
        QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
        QCOMPARE(Ficheiros(Seguranças()), QStringList{QFileInfo(cópia).fileName()});
      } else {
        QVERIFY2(r.ok, qPrintable(r.erro));
        QCOMPARE(Linhas(r.salvaguarda), actuais);
        QCOMPARE(PastaTeste::Conteúdo(r.salvaguarda), antes);
        QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
      }
    }
  }

  // A journal lying about in the copies' folder under the name a copy would take keeps that
  // name from the copy: the engine would play it into the copy. The journal stays as it was.
  void diarioPerdidoAoLadoDeUmaCopia() {
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 3);
    QVERIFY(QDir().mkpath(Seguranças()));
    const QString diário =
        QDir(Seguranças()).filePath(u"Quotas 2026-12-06 10h05m33s.Dad-journal"_s);
    const QByteArray perdido("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7 diário de outro ficheiro");
    EscreverFicheiro(diário, perdido);
    const QString cópia = Copiar(Momento(6, 10, 5, 33));
    QCOMPARE(QFileInfo(cópia).fileName(), u"Quotas 2026-12-06 10h05m33s_2.Dad"_s);
    QCOMPARE(Linhas(cópia), Linhas(NomeFicheiroDados));
    QCOMPARE(PastaTeste::Conteúdo(diário), perdido);
    QCOMPARE(Ficheiros(Seguranças()),
             (QStringList{QFileInfo(diário).fileName(), QFileInfo(cópia).fileName()}));
  }

  // A file that another program is writing, or that the program has open, is not replaced
  // under it. A backup may still be made from a file the program has open.
  void ficheiroEmUsoNaoESubstituido() {
    for (const auto &[programaAberto, motivo] : {std::pair{false, u"está a ser usado por outro"_s},
                                                 {true, u"está aberto noutro programa"_s}}) {
#ifndef AGREMIA_PROCESSO_FILHO
      if (programaAberto)
        QSKIP("precisa de fork()");
#endif
      PastaTeste pasta;
      Povoar(NomeFicheiroDados, 1, 2);
      const QString cópia = Copiar(Momento(1, 9, 0, 0));
      Povoar(NomeFicheiroDados, 3, 1);
      const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
      NoutraLigação(pasta.Caminho(NomeFicheiroDados), [&](QSqlQuery &q) {
        if (!programaAberto)
          QVERIFY(q.exec(u"BEGIN EXCLUSIVE"_s));
#ifdef AGREMIA_PROCESSO_FILHO
        std::unique_ptr<ProcessoFilho> programa;
        if (programaAberto) {
          auto doFilho = std::make_shared<BaseDados>();
          programa = std::make_unique<ProcessoFilho>(
              [doFilho] { doFilho->Abrir(NomeFicheiroDados); }, [doFilho] { doFilho->Fechar(); });
          QVERIFY(programa->Correu());
        }
#endif
        const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
        QVERIFY(!r.ok);
        Diz(r.erro, {motivo, u"não foi reposta"_s});
        if (programaAberto)
          QVERIFY2(!Copiar(Momento(2, 9, 0, 0)).isEmpty(), "a segurança foi recusada");
        q.exec(u"ROLLBACK"_s);
      });
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
      QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
      QCOMPARE(Ficheiros(Seguranças()).size(), programaAberto ? 2 : 1);
    }
  }

  // A full disk, whichever of the two files does not fit: refused as full, nothing changes.
  void reposicaoSemEspacoNaoAlteraNada() {
#ifndef AGREMIA_PROCESSO_FILHO
    QSKIP("precisa de fork() e setrlimit()");
#else
    for (const auto &[cópiaGrande, actualIlegível] :
         {std::pair{false, false}, {false, true}, {true, false}}) {
      PastaTeste pasta;
      const int pequeno = 2, grande = 400;
      Povoar(NomeFicheiroDados, 1, cópiaGrande ? grande : pequeno);
      const QString cópia = Copiar(Momento(1, 9, 0, 0));
      if (cópiaGrande) {
        QVERIFY(QFile::remove(NomeFicheiroDados));
        Povoar(NomeFicheiroDados, 1, pequeno);
      } else if (actualIlegível) {
        EscreverFicheiro(NomeFicheiroDados, QByteArray(400000, 'x'));
      } else {
        Povoar(NomeFicheiroDados, pequeno + 1, grande - pequeno);
      }
      const qint64 a = QFileInfo(cópia).size(), b = QFileInfo(NomeFicheiroDados).size();
      const qint64 menor = std::min(a, b), maior = std::max(a, b);
      QVERIFY(maior > 4 * menor);
      const QByteArray dados = PastaTeste::Conteúdo(NomeFicheiroDados);
      const QByteArray bytesCópia = PastaTeste::Conteúdo(cópia);
      const QStringList cópias = Ficheiros(Seguranças());

      relógio.Mudar(Momento(7, 18, 30, 0));
      const QByteArray resposta = ExecutarComLimite((menor + maior) / 2, [&cópia] {
        const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
        return (r.ok ? "ok\n" : "recusada\n") + r.erro.toUtf8();
      });
      const QString erro = QString::fromUtf8(resposta);
      QVERIFY2(erro.startsWith(u"recusada\n"_s) && erro.contains(u"está cheio"_s) &&
                   erro.contains(u"não foi alterado"_s) && !erro.contains(u"danificada"_s),
               qPrintable(erro));
      if (cópiaGrande)
        QVERIFY2(erro.contains(QFileInfo(cópia).fileName()), qPrintable(erro));
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), dados);
      QCOMPARE(PastaTeste::Conteúdo(cópia), bytesCópia);
      QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
      QCOMPARE(Ficheiros(Seguranças()), cópias);
    }
#endif
  }

  // The backup window: from no file, one not ours, or with no folder, nothing is copied; the
  // copy goes to the folder picked, the message says where and with how many members; the
  // restart question then starts the main program in the data folder, and a failed start is
  // told. With no copies there is nothing to restore; closing asks the restart question too.
  void segurancaPelaJanela() {
    relógio.Mudar(Momento(6, 10, 5, 33));
    PastaTeste raiz;
    Respostas respostas;
    // What a killed run left, beside the data and among the copies, goes when the tool starts;
    // a copy another run is writing right now stays.
    QVERIFY(QDir().mkpath(Seguranças()));
    const QStringList restos{u"Quotas.parcial-0a1b2c3d4e5f"_s,
                             QDir(Seguranças()).filePath(u"Quotas.parcial-ffeeddccbbaa"_s)};
    const QString emCurso = QDir(Seguranças()).filePath(u"Quotas.parcial-123456789abc"_s);
    for (const QString &f : restos + QStringList{emCurso}) {
      EscreverFicheiro(f, "sócios");
      if (f != emCurso)
        Datar(f, QDateTime::currentDateTime().addSecs(-11 * 60));
    }
    Arquivex r(Arquivex::Modo::Reposição, QDir::currentPath());
    for (const QString &f : restos)
      QVERIFY2(!QFileInfo::exists(f), qPrintable(f));
    QVERIFY(QFileInfo::exists(emCurso));
    QVERIFY(QFile::remove(emCurso) && QDir().rmdir(Seguranças()));
    Arquivex j(Arquivex::Modo::Segurança, QDir::currentPath());
    Mostrar(&j);
    Clicar(j, 1);
    EscreverFicheiro(NomeFicheiroDados, "alheia");
    Clicar(j, 1);
    Diz(respostas.caixas.value(0).texto, {u"não existe"_s});
    Diz(respostas.caixas.value(1).texto, {u"Quotas.Dad"_s, u"não tem as tabelas"_s});

    QVERIFY(QFile::remove(NomeFicheiroDados));
    Povoar(NomeFicheiroDados, 1, 3);
    QLineEdit *campo = Controlo(&j, u"Pasta"_s);
    campo->clear();
    Clicar(j, 1);
    QVERIFY(campo->hasFocus());
    QVERIFY(!QDir(Seguranças()).exists());
    const QString destino = raiz.Caminho(u"pen/cópias"_s);
    {
      EscolhaPastaFalsa escolha(destino);
      Clicar(j, 2);
    }
    iniciador.resultado = false;
    Clicar(j, 1);
    const QString cópia = QDir(destino).filePath(u"Quotas 2026-12-06 10h05m33s.Dad"_s);
    QCOMPARE(Linhas(cópia), Linhas(NomeFicheiroDados));
    QCOMPARE(respostas.caixas.size(), 6);
    Diz(respostas.caixas[3].texto, {QDir::toNativeSeparators(cópia), u"com 3 sócios"_s});
    QCOMPARE(respostas.caixas[4].texto, PerguntaReinício);
    QCOMPARE(respostas.caixas[4].ícone, Ícone::Pergunta);
    Diz(respostas.caixas[5].texto, {QDir::toNativeSeparators(CaminhoPrograma(u"agremia"_s))});
    QCOMPARE(iniciador.iniciados.size(), 1);
    QCOMPARE(iniciador.iniciados[0].pasta, QDir(raiz.Raiz()).absolutePath());
    QVERIFY(!j.isVisible());

    Mostrar(&r);
    Clicar(r, 1);
    QCOMPARE(respostas.caixas.value(6).ícone, Ícone::Exclamação);
    r.close();
    QCOMPARE(respostas.caixas.value(7).texto, PerguntaReinício);
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
    auto *lista = j.findChild<QListWidget *>(u"Copias"_s);
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
    const QString salvaguarda =
        pasta.Caminho(u"Seguranças/Quotas antes da reposição 2026-12-07 18h30m00s.Dad"_s);
    Diz(respostas.caixas[3].texto, {QDir::toNativeSeparators(salvaguarda)});
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(antiga));
  }
};

QTEST_MAIN(TestCopias)
#include "TestCopias.moc"
