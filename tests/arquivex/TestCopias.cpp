#include "Copias.h"
#include "Dados.h"
#include "FicheiroExemplo.h"
#include "Guardas.h"
#include "PastaTeste.h"
#include "ProcessoFilho.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// Backups, their listing and restores, on real files in a folder of their own.
class TestCopias : public QObject {
  Q_OBJECT

  static QDateTime Momento(int dia, int h, int m, int s) {
    return QDateTime(QDate(2026, 12, dia), QTime(h, m, s));
  }
  static QString Seguranças() { return PastaSeguranças(NomeFicheiroDados); }
  static QStringList Ficheiros(const QString &pasta) {
    return QDir(pasta).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }
  static QString Copiar(RelógioFixo &relógio, const QDateTime &momento) {
    relógio.Mudar(momento);
    const ResultadoSegurança r = EfectuarSegurança(NomeFicheiroDados, Seguranças());
    if (!r.ok)
      QTest::qFail(qPrintable(u"segurança recusada: "_s + r.erro), __FILE__, __LINE__);
    return r.cópia;
  }

  // A restore that must be refused, leaving the data file and the copies exactly as they were.
  static void VerificarRecusa(const QString &cópia, const QString &motivo) {
    const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
    const QStringList cópias = Ficheiros(Seguranças());
    const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
    QVERIFY(!r.ok);
    QVERIFY2(r.erro.contains(QFileInfo(cópia).fileName()) && r.erro.contains(motivo) &&
                 r.erro.contains(u"não foi alterado"_s),
             qPrintable(r.erro));
    QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Ficheiros(Seguranças()), cópias);
  }

private slots:

  void segurancaCopiaTodasAsLinhasEVerifica() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 3);
    const QByteArray original = PastaTeste::Conteúdo(NomeFicheiroDados);
    relógio.Mudar(Momento(6, 10, 5, 33));
    const ResultadoSegurança r = EfectuarSegurança(NomeFicheiroDados, Seguranças());
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(r.cópia, pasta.Caminho(u"Seguranças/Quotas 2026-12-06 10h05m33s.Dad"_s));
    QCOMPARE(r.sócios, 3);
    QCOMPARE(Linhas(r.cópia), Linhas(NomeFicheiroDados));
    BaseDados bd;
    bd.Abrir(r.cópia); // throws if the program would refuse it
    bd.Fechar();
    QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), original);
    // Nothing half-written stays behind.
    QCOMPARE(Ficheiros(Seguranças()), QStringList{u"Quotas 2026-12-06 10h05m33s.Dad"_s});
  }

  void segurancasNoMesmoSegundoNaoSeSobrepoem() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString primeira = Copiar(relógio, Momento(6, 10, 5, 33));
    const QByteArray conteúdo = PastaTeste::Conteúdo(primeira);
    Povoar(NomeFicheiroDados, 3, 1);
    const QString segunda = Copiar(relógio, Momento(6, 10, 5, 33));
    const QString terceira = Copiar(relógio, Momento(6, 10, 5, 33));
    QCOMPARE(QFileInfo(segunda).fileName(), u"Quotas 2026-12-06 10h05m33s_2.Dad"_s);
    QCOMPARE(QFileInfo(terceira).fileName(), u"Quotas 2026-12-06 10h05m33s_3.Dad"_s);
    QCOMPARE(PastaTeste::Conteúdo(primeira), conteúdo);
    QCOMPARE(Linhas(segunda), Linhas(NomeFicheiroDados));
    // The listing keeps the order in which they were made.
    const auto lista = ListarCópias(Seguranças());
    QCOMPARE(lista.size(), 3);
    QCOMPARE(lista[0].caminho, terceira);
    QCOMPARE(lista[2].caminho, primeira);
  }

  // A source that is missing, not SQLite, or SQLite but not ours: refused, nothing created.
  void segurancaDeFicheiroAlheioNaoCriaNada() {
    const QList<std::pair<QByteArray, QString>> casos = {
        {QByteArray(), u"não existe"_s},
        {"Quotas de 2003\nSilva;12,50\n", u"não é uma base de dados"_s},
        {"sqlite", u"não tem as tabelas"_s},
    };
    for (const auto &[conteúdo, motivo] : casos) {
      PastaTeste pasta;
      if (conteúdo == "sqlite")
        CriarBaseAlheia(NomeFicheiroDados);
      else if (!conteúdo.isEmpty())
        EscreverFicheiro(NomeFicheiroDados, conteúdo);
      const QStringList antes =
          QDir(pasta.Raiz()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
      const QByteArray bytes = PastaTeste::Conteúdo(NomeFicheiroDados);
      const ResultadoSegurança r = EfectuarSegurança(NomeFicheiroDados, Seguranças());
      QVERIFY(!r.ok);
      QVERIFY2(r.erro.contains(u"Quotas.Dad"_s) && r.erro.contains(motivo), qPrintable(r.erro));
      QCOMPARE(QDir(pasta.Raiz()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), antes);
      QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), bytes);
    }
  }

  void listagemDaMaisRecenteParaAMaisAntiga() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString antiga = Copiar(relógio, Momento(1, 9, 0, 0));
    Povoar(NomeFicheiroDados, 3, 1);
    const QString recente = Copiar(relógio, Momento(5, 17, 45, 10));
    // Named like a copy, but text; and a foreign database under a free name, dated by the file.
    const QString texto = QDir(Seguranças()).filePath(u"Quotas 2026-12-07 08h00m00s.Dad"_s);
    EscreverFicheiro(texto, "não sou uma cópia");
    const QString alheia = QDir(Seguranças()).filePath(u"Clientes.DAD"_s);
    CriarBaseAlheia(alheia);
    {
      QFile f(alheia);
      QVERIFY(f.open(QIODevice::ReadWrite));
      QVERIFY(f.setFileTime(Momento(2, 12, 0, 0), QFileDevice::FileModificationTime));
    }
    EscreverFicheiro(QDir(Seguranças()).filePath(u"notas.txt"_s), "outra coisa");

    const auto lista = ListarCópias(Seguranças());
    QStringList nomes;
    for (const auto &c : lista)
      nomes << QFileInfo(c.caminho).fileName();
    QCOMPARE(nomes, (QStringList{QFileInfo(texto).fileName(), QFileInfo(recente).fileName(),
                                 u"Clientes.DAD"_s, QFileInfo(antiga).fileName()}));
    QCOMPARE(lista[0].verificação.estado, EstadoCópia::NãoÉBaseDados);
    QCOMPARE(lista[1].verificação.sócios, 3);
    QCOMPARE(lista[2].verificação.estado, EstadoCópia::Alheia);
    QCOMPARE(lista[2].momento, Momento(2, 12, 0, 0));

    // Pointed at the data folder, the data file itself is not offered as a copy.
    QVERIFY(ListarCópias(pasta.Raiz(), NomeFicheiroDados).isEmpty());
    QCOMPARE(ListarCópias(pasta.Raiz()).size(), 1);
  }

  void reposicaoPoeACopiaNoLugarEGuardaOFicheiroActual() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString cópia = Copiar(relógio, Momento(1, 9, 0, 0));
    const QByteArray bytesCópia = PastaTeste::Conteúdo(cópia);
    Povoar(NomeFicheiroDados, 3, 2);
    const auto actuais = Linhas(NomeFicheiroDados);

    relógio.Mudar(Momento(7, 18, 30, 0));
    const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(r.sócios, 2);
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
    QCOMPARE(r.salvaguarda,
             pasta.Caminho(u"Seguranças/Quotas antes da reposição 2026-12-07 18h30m00s.Dad"_s));
    QCOMPARE(Linhas(r.salvaguarda), actuais);
    QCOMPARE(PastaTeste::Conteúdo(cópia), bytesCópia);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    // The file kept aside is offered like any copy, and marked for what it is.
    QVERIFY(ListarCópias(Seguranças()).value(0).antesDaReposição);

    // With no data file at all, the copy simply becomes the data file.
    QVERIFY(QFile::remove(NomeFicheiroDados));
    const ResultadoReposição semFicheiro = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
    QVERIFY2(semFicheiro.ok, qPrintable(semFicheiro.erro));
    QVERIFY(semFicheiro.salvaguarda.isEmpty());
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
  }

  void copiasInutilizaveisSaoRecusadas() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 300);
    const QString boa = Copiar(relógio, Momento(1, 9, 0, 0));
    const QDir seguranças(Seguranças());

    // A real copy with a page in the middle overwritten.
    QByteArray bytes = PastaTeste::Conteúdo(boa);
    const qsizetype página = 4096, meio = bytes.size() / página / 2 * página;
    QVERIFY(bytes.size() > 10 * página);
    for (qsizetype i = meio; i < meio + página; ++i)
      bytes[i] = char(0xA5 ^ (i & 0x3F));
    const QString danificada = seguranças.filePath(u"Quotas 2026-12-02 09h00m00s.Dad"_s);
    EscreverFicheiro(danificada, bytes);
    VerificarRecusa(danificada, u"está danificada"_s);

    const QList<std::pair<QByteArray, QString>> casos = {
        {"Lista de sócios\n1;Silva\n", u"não é uma base de dados"_s},
        {{}, u"não é uma base de dados"_s},
        {"alheia", u"não é uma base de dados deste programa"_s},
        {"-", u"não existe"_s}};
    int dia = 3;
    for (const auto &[conteúdo, motivo] : casos) {
      const QString c = seguranças.filePath(u"Quotas 2026-12-0%1 09h00m00s.Dad"_s.arg(dia++));
      if (conteúdo == "alheia")
        CriarBaseAlheia(c);
      else if (conteúdo != "-")
        EscreverFicheiro(c, conteúdo);
      VerificarRecusa(c, motivo);
    }
  }

  // A crash in the middle of a save leaves the file with some new pages and a hot journal that
  // holds the old ones. The safety copy must hold the state before that save, and the journal
  // must never reach the restored file.
  void diarioDoFicheiroSubstituidoNaoPassaParaAReposicao() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 400);
    const QString cópia = Copiar(relógio, Momento(1, 9, 0, 0));
    Povoar(NomeFicheiroDados, 401, 1);
    const auto antesDaGravação = Linhas(NomeFicheiroDados);

    QTemporaryDir outra;
    const QDir dir(outra.path());
    {
      auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"interrompida"_s);
      db.setDatabaseName(pasta.Caminho(NomeFicheiroDados));
      QVERIFY(db.open());
      QSqlQuery q(db);
      QVERIFY(q.exec(u"PRAGMA cache_size=10"_s));
      QVERIFY(q.exec(u"BEGIN"_s));
      QVERIFY(q.exec(u"UPDATE Sócios SET Observações = 'alterado nesta gravação'"_s));
      QVERIFY(q.exec(u"DELETE FROM Quotizações"_s));
      // What the disk holds at this moment is what a crash leaves.
      QVERIFY(QFile::copy(pasta.Caminho(u"Quotas.Dad"_s), dir.filePath(u"Quotas.Dad"_s)));
      QVERIFY(QFile::copy(pasta.Caminho(u"Quotas.Dad-journal"_s),
                          dir.filePath(u"Quotas.Dad-journal"_s)));
      QVERIFY(q.exec(u"ROLLBACK"_s));
      q.finish();
      db.close();
    }
    QSqlDatabase::removeDatabase(u"interrompida"_s);
    QVERIFY(QFile::remove(NomeFicheiroDados));
    QVERIFY(QFile::copy(dir.filePath(u"Quotas.Dad"_s), NomeFicheiroDados));
    QVERIFY(QFile::copy(dir.filePath(u"Quotas.Dad-journal"_s), u"Quotas.Dad-journal"_s));
    QVERIFY(QFileInfo(u"Quotas.Dad-journal"_s).size() > 0);

    relógio.Mudar(Momento(7, 18, 30, 0));
    const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(cópia));
    QCOMPARE(Linhas(r.salvaguarda), antesDaGravação);
    QVERIFY(!QFileInfo::exists(r.salvaguarda + u"-journal"_s));
  }

  // A data file the engine cannot use is kept byte for byte, with the journal that lay beside
  // it (one starting with a zero byte, which the engine leaves alone as not hot).
  void ficheiroActualDanificadoEGuardadoComoEsta() {
    RelógioFixo relógio;
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString boa = Copiar(relógio, Momento(1, 9, 0, 0));
    EscreverFicheiro(NomeFicheiroDados, "estragado");
    const QByteArray diário("\0diário antigo", 15);
    EscreverFicheiro(u"Quotas.Dad-journal"_s, diário);

    relógio.Mudar(Momento(7, 18, 30, 0));
    const ResultadoReposição r = ReporCópia(boa, NomeFicheiroDados, Seguranças());
    QVERIFY2(r.ok, qPrintable(r.erro));
    QCOMPARE(PastaTeste::Conteúdo(r.salvaguarda), QByteArray("estragado"));
    QCOMPARE(PastaTeste::Conteúdo(r.salvaguarda + u"-journal"_s), diário);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Linhas(NomeFicheiroDados), Linhas(boa));
  }

  // A file that another program is writing, or that the program has open, is not replaced
  // under it. A backup may still be made from a file the program has open.
  void ficheiroEmUsoNaoESubstituido_data() {
    QTest::addColumn<bool>("programaAberto");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("transacção de outro programa") << false << u"está a ser usado por outro"_s;
    QTest::newRow("programa com o ficheiro aberto") << true << u"está aberto noutro programa"_s;
  }
  void ficheiroEmUsoNaoESubstituido() {
    RelógioFixo relógio;
    QFETCH(bool, programaAberto);
    QFETCH(QString, motivo);
#ifndef AGREMIA_PROCESSO_FILHO
    if (programaAberto)
      QSKIP("precisa de fork()");
#endif
    PastaTeste pasta;
    Povoar(NomeFicheiroDados, 1, 2);
    const QString cópia = Copiar(relógio, Momento(1, 9, 0, 0));
    Povoar(NomeFicheiroDados, 3, 1);
    const QByteArray antes = PastaTeste::Conteúdo(NomeFicheiroDados);
    {
      auto db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"outro"_s);
      db.setDatabaseName(pasta.Caminho(NomeFicheiroDados));
      QVERIFY(db.open());
      QSqlQuery q(db);
      if (!programaAberto)
        QVERIFY(q.exec(u"BEGIN EXCLUSIVE"_s));
#ifdef AGREMIA_PROCESSO_FILHO
      std::unique_ptr<ProcessoFilho> programa;
      if (programaAberto) {
        auto doFilho = std::make_shared<BaseDados>();
        programa = std::make_unique<ProcessoFilho>([doFilho] { doFilho->Abrir(NomeFicheiroDados); },
                                                   [doFilho] { doFilho->Fechar(); });
        QVERIFY(programa->Correu());
      }
#endif
      const ResultadoReposição r = ReporCópia(cópia, NomeFicheiroDados, Seguranças());
      QVERIFY(!r.ok);
      QVERIFY2(r.erro.contains(motivo) && r.erro.contains(u"não foi reposta"_s),
               qPrintable(r.erro));
      if (programaAberto)
        QVERIFY2(!Copiar(relógio, Momento(2, 9, 0, 0)).isEmpty(), "a segurança foi recusada");
      q.exec(u"ROLLBACK"_s);
      q.finish();
      db.close();
    }
    QSqlDatabase::removeDatabase(u"outro"_s);
    QCOMPARE(PastaTeste::Conteúdo(NomeFicheiroDados), antes);
    QCOMPARE(Ficheiros(u"."_s), QStringList{NomeFicheiroDados});
    QCOMPARE(Ficheiros(Seguranças()).size(), programaAberto ? 2 : 1);
    QVERIFY(Ficheiros(Seguranças()).contains(QFileInfo(cópia).fileName()));
  }

  // A restore on a disk with little room left: the copy does not fit beside the data file, or
  // the data file does not fit in "Seguranças" (copied by the engine, or byte for byte when
  // the engine cannot read it). Either way the restore is refused as a full disk, the good
  // copy is not called damaged, and nothing changes.
  void reposicaoSemEspacoNaoAlteraNada_data() {
    QTest::addColumn<bool>("cópiaGrande");
    QTest::addColumn<bool>("actualIlegível");
    QTest::newRow("ficheiro actual não cabe") << false << false;
    QTest::newRow("ficheiro actual ilegível não cabe") << false << true;
    QTest::newRow("cópia não cabe") << true << false;
  }
  void reposicaoSemEspacoNaoAlteraNada() {
    RelógioFixo relógio;
#ifndef AGREMIA_PROCESSO_FILHO
    QSKIP("precisa de fork() e setrlimit()");
#else
    QFETCH(bool, cópiaGrande);
    QFETCH(bool, actualIlegível);
    PastaTeste pasta;
    const int pequeno = 2, grande = 400;
    Povoar(NomeFicheiroDados, 1, cópiaGrande ? grande : pequeno);
    const QString cópia = Copiar(relógio, Momento(1, 9, 0, 0));
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
#endif
  }
};

QTEST_GUILESS_MAIN(TestCopias)
#include "TestCopias.moc"
