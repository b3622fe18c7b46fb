#include "Copias.h"

#include "BaseDados.h"
#include "CopiaDados.h"
#include "Dados.h"
#include "Esquema.h"
#include "Permissoes.h"
#include "Relogio.h"
#include "Reserva.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <filesystem>
#include <system_error>

using namespace Qt::StringLiterals;

namespace {

const QString SufixoDiário = u"-journal"_s;

std::function<void(const QString &)> &DepoisDeCopiar() {
  static std::function<void(const QString &)> f;
  return f;
}

// Every copy written passes here before it is read back.
void CópiaEscrita(const QString &cópia) {
  if (DepoisDeCopiar())
    DepoisDeCopiar()(cópia);
}

QString Nome(const QString &caminho) {
  return u'«' + QDir::toNativeSeparators(caminho) + u'»';
}

// Why a copy into `pasta` was not written, and what stayed as it was (`intacto`).
QString CópiaNãoGravada(CausaErro causa, const QString &pasta, const QString &intacto) {
  if (causa == CausaErro::DiscoCheio)
    return u"O disco da pasta "_s + Nome(pasta) +
           u" está cheio: a cópia de segurança não foi gravada.\nLiberte espaço no disco ou "_s
           u"escolha outra pasta.\n"_s + intacto;
  return u"Não foi possível gravar a cópia de segurança na pasta "_s + Nome(pasta) +
         u".\nVerifique se a pasta permite escrita e se o disco tem espaço livre.\n"_s + intacto;
}

QString NovaLigação() {
  static QAtomicInt contador;
  return u"arquivex-"_s + QString::number(contador.fetchAndAddRelaxed(1));
}

// "2026-12-06 10h05m33s": sorts in time order and is a valid file name everywhere.
QString Carimbo(const QDateTime &momento) {
  return momento.toString(u"yyyy-MM-dd HH'h'mm'm'ss's'"_s);
}

const QRegularExpression &PadrãoNome() {
  static const QRegularExpression padrão(
      uR"(^Quotas (antes da reposição )?(\d{4})-(\d{2})-(\d{2}) (\d{2})h(\d{2})m(\d{2})s(?:_(\d+))?\.Dad$)"_s,
      QRegularExpression::CaseInsensitiveOption);
  return padrão;
}

// A name in `pasta` that no copy will ever match ("*.Dad"), for a file still being written.
QString NomeProvisório(const QDir &pasta) {
  return pasta.filePath(u"Quotas.parcial-"_s + QUuid::createUuid().toString(QUuid::Id128).left(12));
}

// Gives the finished file at `provisório` the first free name "<base>.Dad", "<base>_2.Dad", ...
// QFile::rename never replaces a file, so a copy that appeared meanwhile is not overwritten. A
// name whose journal is lying about is skipped too: the engine would apply that journal to the
// new file. Returns the name given, or an empty text.
QString DarNome(const QString &provisório, const QDir &pasta, const QString &base) {
  for (int n = 1; n < 10000; ++n) {
    const QString nome =
        pasta.filePath(base + (n > 1 ? u'_' + QString::number(n) : QString()) + u".Dad"_s);
    if (QFileInfo::exists(nome) || QFileInfo::exists(nome + SufixoDiário))
      continue;
    if (QFile::rename(provisório, nome))
      return nome;
    if (!QFileInfo::exists(nome))
      return {};
  }
  return {};
}

enum class FalhaCópia {
  Nenhuma,
  Origem,  // the source cannot be read
  Destino, // the copy cannot be created or finished
  Espaço,  // the copy found no room
};

// A byte-for-byte copy that is on the disk (flushed and synced) once it carries its name; on
// any failure nothing is left under that name.
FalhaCópia CopiarFicheiro(const QString &de, const QString &para, QString &pormenor) {
  QFile origem(de);
  if (!origem.open(QIODevice::ReadOnly)) {
    pormenor = origem.errorString();
    return FalhaCópia::Origem;
  }
  QSaveFile destino(para);
  // Unbuffered, so that each block's write reports at once how much of it reached the file.
  if (!AbrirParaGravarDoDono(destino, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    pormenor = destino.errorString();
    return FalhaCópia::Destino;
  }
  while (!origem.atEnd()) {
    const QByteArray bloco = origem.read(1 << 20);
    if (origem.error() != QFileDevice::NoError) {
      pormenor = origem.errorString();
      destino.cancelWriting();
      return FalhaCópia::Origem;
    }
    // A write cut short sets no error of its own, and the file would be committed as if
    // whole. Once the file exists, a refused write means there is no room for it: a full
    // disk, a quota, a size limit of the medium.
    if (destino.write(bloco) != bloco.size()) {
      pormenor = destino.errorString();
      destino.cancelWriting();
      return FalhaCópia::Espaço;
    }
  }
  if (!destino.commit()) {
    pormenor = destino.errorString();
    return FalhaCópia::Destino;
  }
  CópiaEscrita(para);
  return FalhaCópia::Nenhuma;
}

// True when both files hold the same bytes: a copy is trusted only once read back.
bool MesmoConteúdo(const QString &a, const QString &b) {
  QFile fa(a), fb(b);
  if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
    return false;
  while (!fa.atEnd()) {
    const QByteArray ba = fa.read(1 << 20), bb = fb.read(1 << 20);
    if (ba.isEmpty() || ba != bb)
      return false;
  }
  return fa.error() == QFileDevice::NoError && fb.error() == QFileDevice::NoError;
}

// What an engine failure says about a copy.
EstadoCópia EstadoDaCausa(CausaErro causa) {
  switch (causa) {
  case CausaErro::NãoÉBaseDados:
    return EstadoCópia::NãoÉBaseDados;
  case CausaErro::FicheiroEstranho:
    return EstadoCópia::Alheia;
  case CausaErro::Danificado:
    return EstadoCópia::Danificada;
  default:
    return EstadoCópia::Ilegível;
  }
}

VerificaçãoCópia Examinar(QSqlDatabase &db) {
  VerificaçãoCópia v;
  auto falha = [&v](const QSqlError &e) {
    v.pormenor = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
    v.estado = EstadoDaCausa(CausaDoErro(e));
    return v;
  };
  if (!db.open())
    return falha(db.lastError());

  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.exec(u"PRAGMA integrity_check"_s))
    return falha(q.lastError());
  QStringList respostas;
  while (q.next())
    respostas << q.value(0).toString();
  if (q.lastError().isValid())
    return falha(q.lastError());
  if (respostas != QStringList{u"ok"_s}) {
    v.estado = EstadoCópia::Danificada;
    v.pormenor = respostas.mid(0, 3).join(u"; "_s);
    return v;
  }

  // The same rule as the program applies when it opens the file: each table with exactly its
  // fields, in order.
  for (const DefTabela &t : TabelasDoFicheiro()) {
    if (!q.prepare(u"SELECT name FROM pragma_table_info(?)"_s))
      return falha(q.lastError());
    q.addBindValue(t.nome);
    if (!q.exec())
      return falha(q.lastError());
    QStringList encontrados, esperados;
    while (q.next())
      encontrados << q.value(0).toString();
    for (const DefCampo &c : t.campos)
      esperados << c.nome;
    if (encontrados != esperados) {
      v.estado = EstadoCópia::Alheia;
      v.pormenor = u"tabela "_s + t.nome;
      return v;
    }
  }
  for (const DefTabela &t : TabelasDoFicheiro()) {
    if (!q.exec(u"SELECT count(*) FROM "_s + Identificador(t.nome)) || !q.next())
      return falha(q.lastError());
    v.linhas << q.value(0).toLongLong();
    if (t.nome == u"Sócios"_s)
      v.sócios = v.linhas.last();
  }
  v.estado = EstadoCópia::Boa;
  return v;
}

// The rows of each table of an open file, in the order of TabelasDoFicheiro().
QList<qint64> ContarLinhas(BaseDados &bd) {
  QList<qint64> r;
  for (const DefTabela &t : TabelasDoFicheiro()) {
    QSqlQuery q =
        bd.Executar(u"SELECT count(*) FROM "_s + Identificador(t.nome), {}, u"Contar as linhas"_s);
    r << (q.next() ? q.value(0).toLongLong() : -1);
  }
  return r;
}

// The read-only check, and then the program's own gate: the file must open as the program
// will open it after a restore.
VerificaçãoCópia VerificarCompleto(const QString &ficheiro) {
  VerificaçãoCópia v = VerificarFicheiro(ficheiro);
  if (!v.Boa())
    return v;
  try {
    // A file of this tool's own, not yet in use by anybody: no lock file beside it.
    BaseDados bd;
    bd.DefinirReserva(false);
    bd.Abrir(ficheiro);
  } catch (const ErroBaseDados &e) {
    v.pormenor = e.Pormenor();
    v.estado = EstadoDaCausa(e.Causa());
  }
  return v;
}

// Keeps the current data file as a copy in `pasta` before a restore replaces it. Returns the
// name of the copy, or an empty text with `erro` (and the engine's words in `pormenor`) set.
//
// The file is first opened through the engine, which does what the main program would do on
// its next start: a transaction that a crash left unfinished (a hot journal) is rolled back and
// its journal removed. A sound file is then copied through the engine and the copy holds the
// last complete state. A file the engine cannot use (damaged, foreign) is not in use by anybody
// and is copied byte for byte; a journal the engine could not deal with goes beside the copy
// under the matching name, so that the pair keeps whatever may still be recovered from it.
//
// This copy may soon be the only one of everything entered since the last backup: it takes its
// name only once read back whole (the engine's copy: integrity and the same rows in every
// table; the plain copy: the same bytes).
QString Salvaguardar(const QString &dados, const QString &pasta, QString &erro, QString &pormenor) {
  const QString operação = u"Guardar o ficheiro actual"_s;
  const QString nadaAlterado =
      u"\nA cópia não foi reposta e o ficheiro de sócios não foi alterado."_s;
  BaseDados bd;
  bool aberta = false;
  try {
    bd.Abrir(dados);
    aberta = true;
  } catch (const ErroBaseDados &e) {
    if (e.Causa() == CausaErro::EmUso || e.Causa() == CausaErro::SemAcesso) {
      erro = e.Mensagem() + u"\nA cópia não foi reposta."_s;
      pormenor = e.Detalhes();
      return {};
    }
  }

  const QDir destino(pasta);
  if (!CriarPastaDoDono(pasta)) {
    erro = u"Não foi possível criar a pasta "_s + Nome(pasta) +
           u" para guardar o ficheiro actual.\nA cópia não foi reposta."_s;
    return {};
  }
  const QString provisório = NomeProvisório(destino);
  bool copiado = false, semEspaço = false;
  if (aberta) {
    try {
      const QList<qint64> linhas = ContarLinhas(bd);
      // The engine writes into an empty file that is there, and keeps its rights.
      CriarFicheiroDoDono(provisório);
      bd.CopiarPara(provisório, operação);
      CópiaEscrita(provisório);
      const VerificaçãoCópia v = VerificarFicheiro(provisório);
      copiado = v.Boa() && v.linhas == linhas;
      if (!copiado)
        pormenor = operação + u": "_s + DescreverEstado(v.estado) + u' ' + v.pormenor;
    } catch (const ErroBaseDados &e) {
      // Damage deep inside that opening did not see: the plain copy below. A disk without
      // room for this copy has none for that one either.
      pormenor = e.Detalhes();
      semEspaço = e.Causa() == CausaErro::DiscoCheio;
    }
    if (!copiado)
      QFile::remove(provisório);
    bd.Fechar();
  }
  if (!copiado && !semEspaço) {
    const FalhaCópia f = CopiarFicheiro(dados, provisório, pormenor);
    semEspaço = f == FalhaCópia::Espaço;
    copiado = f == FalhaCópia::Nenhuma && MesmoConteúdo(dados, provisório);
  }
  QString nome =
      copiado ? DarNome(provisório, destino, u"Quotas antes da reposição "_s + Carimbo(Agora()))
              : QString();
  const QString diário = dados + SufixoDiário;
  if (!nome.isEmpty() && !aberta && QFileInfo::exists(diário)) {
    const FalhaCópia f = CopiarFicheiro(diário, nome + SufixoDiário, pormenor);
    semEspaço = f == FalhaCópia::Espaço;
    if (f != FalhaCópia::Nenhuma || !MesmoConteúdo(diário, nome + SufixoDiário)) {
      QFile::remove(nome + SufixoDiário);
      QFile::remove(nome);
      nome.clear();
    }
  }
  if (nome.isEmpty()) {
    QFile::remove(provisório);
    if (semEspaço)
      erro = u"O disco da pasta "_s + Nome(pasta) +
             u" está cheio: não há espaço para guardar o ficheiro actual antes de o "_s
             u"substituir.\nLiberte espaço no disco e tente de novo."_s +
             nadaAlterado;
    else
      erro = u"Não foi possível guardar o ficheiro actual na pasta "_s + Nome(pasta) +
             u".\nVerifique se a pasta permite escrita e se o disco tem espaço livre."_s +
             nadaAlterado;
    return {};
  }
  return nome;
}

// The server's rows into a checked file of `pasta` named "<base>.Dad" (or "<base>_2.Dad", ...).
ResultadoSegurança CopiarServidor(const QString &ligação, const QString &pasta,
                                  const QString &base) {
  ResultadoSegurança r;
  const QDir destino(pasta);
  if (!CriarPastaDoDono(pasta)) {
    r.erro = u"Não foi possível criar a pasta "_s + Nome(pasta) +
             u" para as cópias de segurança.\nVerifique se o disco está ligado e se tem "_s
             u"permissão para escrever nele."_s;
    return r;
  }
  const QString provisório = NomeProvisório(destino);
  ContagemDados contagem;
  try {
    contagem = CopiarServidorParaFicheiro(ligação, provisório);
  } catch (const ErroBaseDados &e) {
    r.pormenor = e.Detalhes();
    if (e.DoServidor())
      r.erro = e.Mensagem() + u"\nNenhuma cópia foi feita."_s;
    else
      r.erro = CópiaNãoGravada(e.Causa(), pasta, u"A base de dados não foi alterada."_s);
    return r;
  }
  CópiaEscrita(provisório);
  const VerificaçãoCópia v = VerificarCompleto(provisório);
  if (!v.Boa() ||
      v.linhas != QList<qint64>{contagem.tabelas, contagem.sócios, contagem.quotizações}) {
    QFile::remove(provisório);
    r.erro =
        u"A cópia gravada na pasta "_s + Nome(pasta) + u' ' +
        (v.Boa() ? u"não tem todos os registos da base de dados"_s : DescreverEstado(v.estado)) +
        u" e foi apagada.\nVerifique o disco e tente de novo; a base de dados não foi "_s
        u"alterada."_s;
    r.pormenor = v.pormenor;
    return r;
  }
  r.cópia = DarNome(provisório, destino, base);
  if (r.cópia.isEmpty()) {
    QFile::remove(provisório);
    r.erro = u"Não foi possível dar nome à cópia de segurança na pasta "_s + Nome(pasta) +
             u".\nNenhuma cópia foi feita."_s;
    return r;
  }
  r.sócios = v.sócios;
  r.ok = true;
  return r;
}

QString PostosEmTexto(const QStringList &postos) {
  return u"«"_s + postos.join(u"», «"_s) + u'»';
}

} // namespace

QString PastaSeguranças(const QString &ficheiroDados) {
  return QFileInfo(ficheiroDados).absoluteDir().filePath(u"Seguranças"_s);
}

QString DescreverEstado(EstadoCópia estado) {
  switch (estado) {
  case EstadoCópia::Boa:
    return u"está em boas condições"_s;
  case EstadoCópia::Ilegível:
    return u"não pode ser lida"_s;
  case EstadoCópia::NãoÉBaseDados:
    return u"não é uma base de dados"_s;
  case EstadoCópia::Alheia:
    return u"não é uma base de dados deste programa"_s;
  case EstadoCópia::Danificada:
    return u"está danificada"_s;
  }
  return {};
}

VerificaçãoCópia VerificarFicheiro(const QString &ficheiro) {
  const QFileInfo info(ficheiro);
  VerificaçãoCópia v;
  if (!info.isFile() || !info.isReadable())
    return v;
  // The engine takes an empty file for an empty database; as a copy it holds nothing.
  if (info.size() == 0) {
    v.estado = EstadoCópia::NãoÉBaseDados;
    return v;
  }
  const QString ligação = NovaLigação();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, ligação);
    db.setDatabaseName(info.absoluteFilePath());
    db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
    v = Examinar(db);
    db.close();
  }
  QSqlDatabase::removeDatabase(ligação);
  return v;
}

ResultadoSegurança EfectuarSegurança(const QString &ficheiroDados, const QString &pasta) {
  ResultadoSegurança r;
  const QString origem = QFileInfo(ficheiroDados).absoluteFilePath();
  if (!QFileInfo::exists(origem)) {
    r.erro = u"O ficheiro de sócios "_s + Nome(origem) +
             u" não existe nesta pasta: não há dados para copiar.\nNenhuma cópia foi feita."_s;
    return r;
  }

  // Opening through the store refuses a foreign file with its own clear message before
  // anything is created. It opens for writing on purpose: a transaction left unfinished by a
  // crash is rolled back first, so the copy holds the last complete state.
  //
  // A backup may be made while the program has the file open (the user can start this tool
  // by hand): the engine copies one consistent state under its own read lock, and a program
  // saving meanwhile simply waits. So a backup neither needs nor takes the mark of a file in
  // use, and never keeps the program from starting.
  BaseDados bd;
  bd.DefinirReserva(false);
  try {
    bd.Abrir(origem);
  } catch (const ErroBaseDados &e) {
    r.erro = e.Mensagem();
    r.pormenor = e.Detalhes();
    return r;
  }

  const QDir destino(pasta);
  if (!CriarPastaDoDono(pasta)) {
    r.erro = u"Não foi possível criar a pasta "_s + Nome(pasta) +
             u" para as cópias de segurança.\nVerifique se o disco está ligado e se tem "_s
             u"permissão para escrever nele."_s;
    return r;
  }

  // The engine writes a consistent snapshot, whatever the file's pages look like on disk; a
  // plain file copy could catch a half-written state.
  const QString provisório = NomeProvisório(destino);
  // The engine writes into an empty file that is there, and keeps its rights; where it cannot
  // be made, the engine's own failure below says why.
  CriarFicheiroDoDono(provisório);
  try {
    bd.CopiarPara(provisório, u"Copiar o ficheiro de sócios"_s);
  } catch (const ErroBaseDados &e) {
    bd.Fechar();
    QFile::remove(provisório);
    r.pormenor = e.Detalhes();
    if (e.Causa() == CausaErro::Danificado)
      r.erro = e.Mensagem() + u"\nNenhuma cópia foi feita."_s;
    else
      r.erro = CópiaNãoGravada(e.Causa(), pasta, u"O ficheiro de sócios não foi alterado."_s);
    return r;
  }
  bd.Fechar();
  CópiaEscrita(provisório);

  // A copy counts only once it has been read back whole and opens as the program's file.
  const VerificaçãoCópia v = VerificarCompleto(provisório);
  if (!v.Boa()) {
    QFile::remove(provisório);
    // The engine copies an index as it is, so damage in the data file's index shows first in
    // the copy: the copy is not blamed for what it was given.
    if (const VerificaçãoCópia o = VerificarFicheiro(origem); !o.Boa()) {
      r.erro = u"O ficheiro de sócios "_s + Nome(origem) +
               u" está danificado: a cópia feita a partir dele não passou a verificação e foi "_s
               u"apagada.\nO ficheiro de sócios não foi alterado. Reponha a última cópia de "_s
               u"segurança em boas condições."_s;
      r.pormenor = o.pormenor;
      return r;
    }
    r.erro = u"A cópia gravada na pasta "_s + Nome(pasta) + u' ' + DescreverEstado(v.estado) +
             u" e foi apagada.\nVerifique o disco e tente de novo; o ficheiro de sócios não foi "_s
             u"alterado."_s;
    r.pormenor = v.pormenor;
    return r;
  }
  r.cópia = DarNome(provisório, destino, u"Quotas "_s + Carimbo(Agora()));
  if (r.cópia.isEmpty()) {
    QFile::remove(provisório);
    r.erro = u"Não foi possível dar nome à cópia de segurança na pasta "_s + Nome(pasta) +
             u".\nNenhuma cópia foi feita."_s;
    return r;
  }
  r.sócios = v.sócios;
  r.ok = true;
  return r;
}

void InstalarDepoisDeCopiar(std::function<void(const QString &)> f) {
  DepoisDeCopiar() = std::move(f);
}

int ApagarRestosParciais(const QString &pasta, std::chrono::seconds parado) {
  int apagados = 0;
  const QDateTime limite = QDateTime::currentDateTime().addSecs(-parado.count());
  const QFileInfoList restos =
      QDir(pasta).entryInfoList({u"Quotas.parcial-*"_s}, QDir::Files | QDir::Hidden | QDir::System);
  for (const QFileInfo &f : restos)
    if (f.lastModified() <= limite && QFile::remove(f.absoluteFilePath()))
      ++apagados;
  return apagados;
}

QList<CópiaSegurança> ListarCópias(const QString &pasta, const QString &excluir) {
  struct Entrada {
    CópiaSegurança cópia;
    int ordem = 1; // the "_2" of copies made in the same second
  };
  QList<Entrada> entradas;
  const QString excluído = excluir.isEmpty() ? QString() : QFileInfo(excluir).canonicalFilePath();
  const QFileInfoList ficheiros =
      QDir(pasta).entryInfoList({u"*.Dad"_s}, QDir::Files | QDir::Hidden, QDir::Name);
  for (const QFileInfo &f : ficheiros) {
    if (!excluído.isEmpty() && f.canonicalFilePath() == excluído)
      continue;
    Entrada e;
    e.cópia.caminho = f.absoluteFilePath();
    const auto m = PadrãoNome().match(f.fileName());
    if (m.hasMatch()) {
      const QDateTime momento(
          QDate(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt()),
          QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt()));
      if (momento.isValid()) {
        e.cópia.momento = momento;
        e.cópia.momentoDoNome = true;
        e.cópia.antesDaReposição = !m.captured(1).isEmpty();
        e.ordem = m.captured(8).isEmpty() ? 1 : m.captured(8).toInt();
      }
    }
    if (!e.cópia.momentoDoNome)
      e.cópia.momento = f.lastModified();
    e.cópia.verificação = VerificarFicheiro(e.cópia.caminho);
    entradas << e;
  }
  std::stable_sort(entradas.begin(), entradas.end(), [](const Entrada &a, const Entrada &b) {
    if (a.cópia.momento != b.cópia.momento)
      return a.cópia.momento > b.cópia.momento;
    return a.ordem > b.ordem;
  });
  QList<CópiaSegurança> r;
  for (const Entrada &e : entradas)
    r << e.cópia;
  return r;
}

ResultadoReposição ReporCópia(const QString &cópia, const QString &ficheiroDados,
                              const QString &pastaSalvaguarda) {
  ResultadoReposição r;
  const QString origem = QFileInfo(cópia).absoluteFilePath();
  const QString dados = QFileInfo(ficheiroDados).absoluteFilePath();
  const QString nãoAlterado = u"\nO ficheiro de sócios não foi alterado."_s;
  if (!QFileInfo(origem).isFile()) {
    r.erro = u"A cópia "_s + Nome(origem) + u" não existe."_s + nãoAlterado;
    return r;
  }
  if (QFileInfo::exists(dados) &&
      QFileInfo(origem).canonicalFilePath() == QFileInfo(dados).canonicalFilePath()) {
    r.erro = u"A cópia escolhida é o próprio ficheiro de sócios: não há nada a repor."_s;
    return r;
  }

  // The data file is marked as in use for the whole restore: a program that has it open
  // refuses the restore, and none can open it until the restore is over.
  std::shared_ptr<ReservaFicheiro> marca;
  try {
    marca = ReservaFicheiro::Tomar(dados, u"Repor a cópia"_s);
  } catch (const ErroBaseDados &e) {
    r.erro = e.Mensagem() + u"\nA cópia não foi reposta."_s;
    return r;
  }

  // The copy is brought beside the data file first and checked there: what is checked are
  // exactly the bytes that go in place, the final step is a rename within one folder, and the
  // copy itself (perhaps on a removable disk) is never opened by the engine.
  const QDir pastaDados = QFileInfo(dados).absoluteDir();
  const QString provisório = NomeProvisório(pastaDados);
  const FalhaCópia falhaCópia = CopiarFicheiro(origem, provisório, r.pormenor);
  // Bytes that differ from the copy's are a fault of this transfer, not of the copy.
  if (falhaCópia != FalhaCópia::Nenhuma || !MesmoConteúdo(origem, provisório)) {
    QFile::remove(provisório);
    if (falhaCópia == FalhaCópia::Espaço)
      r.erro = u"O disco da pasta "_s + Nome(pastaDados.path()) +
               u" está cheio: não há espaço para trazer a cópia "_s + Nome(origem) +
               u".\nLiberte espaço no disco e tente de novo."_s + nãoAlterado;
    else
      r.erro = u"Não foi possível copiar "_s + Nome(origem) + u" para a pasta "_s +
               Nome(pastaDados.path()) +
               u".\nVerifique se a pasta permite escrita e se o disco tem espaço livre."_s +
               nãoAlterado;
    return r;
  }
  const VerificaçãoCópia v = VerificarCompleto(provisório);
  if (!v.Boa()) {
    QFile::remove(provisório);
    r.erro = u"A cópia "_s + Nome(origem) + u' ' + DescreverEstado(v.estado) +
             u" e não pode ser reposta."_s + nãoAlterado;
    r.pormenor = v.pormenor;
    return r;
  }

  if (QFileInfo::exists(dados)) {
    r.salvaguarda = Salvaguardar(dados, pastaSalvaguarda, r.erro, r.pormenor);
    if (r.salvaguarda.isEmpty()) {
      QFile::remove(provisório);
      return r;
    }
  }

  // A journal beside the data file belongs to the file being replaced: left there, the engine
  // would take it as an unfinished transaction of the restored file and write the old pages
  // into it. It is moved aside (it is already kept with the safety copy when it mattered) and
  // put back if the file cannot be replaced.
  const QString diário = dados + SufixoDiário;
  QString diárioAfastado;
  if (QFileInfo::exists(diário)) {
    diárioAfastado = NomeProvisório(pastaDados);
    if (!QFile::rename(diário, diárioAfastado)) {
      QFile::remove(provisório);
      r.erro = u"Não foi possível retirar o diário "_s + Nome(diário) +
               u" do ficheiro actual.\nA cópia não foi reposta."_s;
      return r;
    }
  }

  // The restored file is the same data file to its user: it keeps the rights given to the one
  // it replaces, where there was one (the copy brought here is its owner's alone).
  if (QFileInfo::exists(dados))
    CopiarPermissões(dados, provisório);

  // One rename puts the whole file in place: at every moment the data file is either the
  // former one or the restored one.
  std::error_code falha;
  std::filesystem::rename(QFile(provisório).filesystemFileName(), QFile(dados).filesystemFileName(),
                          falha);
  if (falha) {
    QFile::remove(provisório);
    if (!diárioAfastado.isEmpty())
      QFile::rename(diárioAfastado, diário);
    r.erro = u"Não foi possível substituir o ficheiro de sócios "_s + Nome(dados) +
             u".\nA cópia não foi reposta; o ficheiro actual ficou como estava."_s;
    r.pormenor = QString::fromStdString(falha.message());
    return r;
  }
  if (!diárioAfastado.isEmpty())
    QFile::remove(diárioAfastado);
  r.sócios = v.sócios;
  r.ok = true;
  return r;
}

ResultadoSegurança EfectuarSegurançaServidor(const QString &ligação, const QString &pasta) {
  return CopiarServidor(ligação, pasta, u"Quotas "_s + Carimbo(Agora()));
}

QStringList OutrosPostos(BaseDados &bd) {
  QStringList r;
  bd.Percorrer(u"SELECT application_name FROM pg_stat_activity "_s
               u"WHERE datname = current_database() AND pid <> pg_backend_pid() "_s
               u"AND application_name LIKE 'Agremia%' ORDER BY backend_start, pid"_s,
               {}, u"Procurar outros postos"_s, [&](const Instrução &i) { r << i.Texto(0); });
  return r;
}

ResultadoReposição ReporCópiaServidor(const QString &cópia, const QString &ligação,
                                      const QString &pastaSalvaguarda) {
  ResultadoReposição r;
  const QString origem = QFileInfo(cópia).absoluteFilePath();
  const QString nãoAlterada = u"\nA base de dados não foi alterada."_s;
  if (!QFileInfo(origem).isFile()) {
    r.erro = u"A cópia "_s + Nome(origem) + u" não existe."_s + nãoAlterada;
    return r;
  }
  auto comPostos = [&](const QStringList &postos) {
    r.erro = (postos.size() == 1 ? u"Outro posto está ligado à base de dados: "_s
                                 : u"Outros postos estão ligados à base de dados: "_s) +
             PostosEmTexto(postos) +
             u".\nFeche o programa nesses postos e tente de novo: a cópia não foi reposta."_s;
  };
  BaseDados destino;
  try {
    destino.AbrirServidor(ligação);
    if (const QStringList postos = OutrosPostos(destino); !postos.isEmpty()) {
      comPostos(postos);
      return r;
    }
  } catch (const ErroBaseDados &e) {
    r.erro = e.Mensagem() + u"\nA cópia não foi reposta."_s;
    r.pormenor = e.Detalhes();
    return r;
  }

  // The engine may write into a file it opens (a journal left by a crash is rolled back): the
  // copy, perhaps on a removable disk, is never opened itself. What is checked and read is a
  // copy of it in a folder of the user's, read back byte for byte first.
  QTemporaryDir trabalho;
  const QString provisório = NomeProvisório(QDir(trabalho.path()));
  const FalhaCópia falhaCópia =
      trabalho.isValid() ? CopiarFicheiro(origem, provisório, r.pormenor) : FalhaCópia::Destino;
  if (falhaCópia != FalhaCópia::Nenhuma || !MesmoConteúdo(origem, provisório)) {
    r.erro = u"Não foi possível ler a cópia "_s + Nome(origem) + u'.' + nãoAlterada;
    return r;
  }
  const VerificaçãoCópia v = VerificarCompleto(provisório);
  if (!v.Boa()) {
    r.erro = u"A cópia "_s + Nome(origem) + u' ' + DescreverEstado(v.estado) +
             u" e não pode ser reposta."_s + nãoAlterada;
    r.pormenor = v.pormenor;
    return r;
  }

  const ResultadoSegurança antes =
      CopiarServidor(ligação, pastaSalvaguarda, u"Quotas antes da reposição "_s + Carimbo(Agora()));
  if (!antes.ok) {
    r.erro = u"Não foi possível guardar os dados actuais da base de dados antes de os "_s
             u"substituir:\n"_s +
             antes.erro + u"\nA cópia não foi reposta."_s;
    r.pormenor = antes.pormenor;
    return r;
  }
  r.salvaguarda = antes.cópia;

  try {
    BaseDados ficheiro;
    ficheiro.DefinirReserva(false); // a file of this tool's own
    ficheiro.Abrir(provisório);
    const QString operação = u"Repor a cópia"_s;
    BaseDados::Transacção t(destino);
    destino.Correr(u"SELECT set_config('lock_timeout', '10s', true)"_s, {}, operação);
    QStringList tabelas;
    for (const DefTabela &d : TabelasDoFicheiro())
      tabelas << Identificador(d.nome);
    // Nobody reads half a restore: a desk that connects meanwhile waits for its end.
    destino.ExecutarTexto(u"LOCK TABLE "_s + tabelas.join(u", "_s) + u" IN ACCESS EXCLUSIVE MODE"_s,
                          operação);
    if (const QStringList postos = OutrosPostos(destino); !postos.isEmpty()) {
      comPostos(postos);
      return r;
    }
    for (auto d = TabelasDoFicheiro().crbegin(); d != TabelasDoFicheiro().crend(); ++d)
      destino.Correr(u"DELETE FROM "_s + Identificador(d->nome), {}, operação);
    const ContagemDados c = CopiarDados(ficheiro, destino);
    t.Confirmar();
    r.sócios = c.sócios;
  } catch (const ErroBaseDados &e) {
    r.erro = e.Mensagem() + u"\nA cópia não foi reposta: a base de dados ficou como estava."_s;
    r.pormenor = e.Detalhes();
    return r;
  }
  r.ok = true;
  return r;
}
