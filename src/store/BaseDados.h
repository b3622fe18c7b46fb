#pragma once

#include "ErroBaseDados.h"
#include "Esquema.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class BaseDados;
class ConjuntoRegistos;
class Moeda;

// A prepared statement lent by the store's cache and already run. Rows are read with
// Seguinte(), which reports an engine failure met while stepping (a damaged page, say) as
// ErroBaseDados instead of taking it for the end of the rows. Going out of scope resets the
// statement and hands it back to the cache, so the next user of the same SQL text skips the
// parse.
class Instrução {
public:
  Instrução(Instrução &&o) noexcept;
  Instrução &operator=(Instrução &&) = delete;
  Instrução(const Instrução &) = delete;
  ~Instrução();

  bool Seguinte();
  QVariant Valor(int coluna) const;
  QString Texto(int coluna) const;  // null reads as ""
  qint64 Inteiro(int coluna) const; // null reads as 0
  bool Nulo(int coluna) const;
  qint64 ÚltimoId() const; // the counter that the engine just gave to an inserted row
  int LinhasAfectadas() const;
  // Runs the same writing statement again with other values: a run of rows written one by
  // one, without looking the statement up again for each.
  void Repetir(const QVariantList &valores);

private:
  friend class BaseDados;
  Instrução(BaseDados *bd, QString sql, std::unique_ptr<QSqlQuery> q, QString operação);

  BaseDados *bd;
  QString sql;
  std::unique_ptr<QSqlQuery> q;
  QString operação;
  quint64 geração;
};
class ReservaFicheiro;

// One open Quotas.Dad, or one database on a PostgreSQL server with the same tables. Every
// failure of the engine comes out as ErroBaseDados.
class BaseDados {
public:
  BaseDados();
  ~BaseDados();
  BaseDados(const BaseDados &) = delete;
  BaseDados &operator=(const BaseDados &) = delete;

  // Creates a file with the three empty tables and their indexes. Refuses a name that
  // already exists. The file appears complete or not at all: it is built under a passing
  // name and renamed at the end.
  static void Criar(const QString &caminho);

  // Opens an existing file for reading and writing. A file that is not an SQLite database,
  // or lacks the tables of this program, is refused and left exactly as it was. While it is
  // open, the file is marked as in use (ReservaFicheiro); a file that another program has
  // open is refused with that program's name.
  void Abrir(const QString &caminho);

  // Opens a database on a PostgreSQL server, given as a libpq connection string or service
  // name ("host=... dbname=... user=...", "service=agremia"); what it leaves out comes from
  // libpq's environment and files. A password is never written by the program: libpq reads
  // it from ~/.pgpass or PGPASSFILE, or from the string itself, which stays in memory alone to
  // connect again. A database without the tables of this program, or a server older than
  // VersãoMínimaServidor, is refused.
  //
  // A connection that the server or the network drops is made again, with the same string, at
  // the next action (or at once, for a read outside any transaction); a commit whose answer
  // was lost is looked up on the server after reconnecting (see Transacção::Confirmar).
  // Other desks' saves of members and reference rows come as PostgreSQL notifications while
  // the program waits for events: the recordsets of those tables read their keys again, and
  // DefinirAoMudarNoutroPosto hears of it.
  void AbrirServidor(const QString &ligação);

  // Every connection to a server names itself to it (libpq's application_name) as
  // "<programa> (<computer name>)", so that a desk can see which others are connected; a
  // connection string that gives its own application_name keeps it. "Agremia" unless the
  // program says otherwise at its start.
  static void DefinirNomePrograma(const QString &programa);
  static QString NomeNoServidor();
  // `ligação` with application_name added unless it has one.
  static QString LigaçãoComNome(const QString &ligação);

  // Creates the three empty tables and their indexes in an empty database on a server, in one
  // transaction. A database that holds any table already is refused and left as it was.
  static void CriarNoServidor(const QString &ligação);

  // The connection string as shown to the user: any password in it left out.
  static QString LigaçãoParaMostrar(const QString &ligação);

  Motor MotorAberto() const { return motor; }

  // Whether Abrir marks the file as in use (the default). Only a reader that can share the
  // file with a running program goes without: a backup, the check of a copy.
  void DefinirReserva(bool reservar) { reservarAoAbrir = reservar; }

  // How long a write waits for another program that holds the file, in milliseconds; read
  // when the file is opened.
  void DefinirEspera(int ms) { espera = ms; }
  void Fechar();
  bool Aberta() const { return aberta; }
  const QString &Caminho() const { return caminho; }

  // True when the file or its folder cannot be written: reading works, saving will fail. A
  // server's rights show only when a write is refused.
  bool SóLeitura() const;

  // Prepares and runs one statement with bound values.
  QSqlQuery Executar(const QString &sql, const QVariantList &valores, const QString &operação);

  // Runs one statement with bound values, prepared once per SQL text and then reused. The
  // text is always the program's own: every value comes in `valores`.
  Instrução Correr(const QString &sql, const QVariantList &valores, const QString &operação);

  // Writes many rows of `tabela` at once: "INSERT INTO" the table and `colunas`, the rows,
  // then `fim` (an ON CONFLICT clause, or nothing). `valores` holds the rows one after
  // another, as many values to a row as there are columns. On a file the rows go as lists of
  // VALUES, as many to a statement as the engine's limit of bound values allows; on a server
  // in one statement whatever their number, each column bound as one array that the server
  // unnests, so that neither the text of the statement nor the driver's work grows with the
  // values. Returns the rows written.
  qint64 InserirLinhas(const DefTabela &tabela, const QStringList &colunas,
                       const QVariantList &valores, const QString &fim, const QString &operação);

  // Runs `início` followed by a test that `coluna` of `tabela` is one of `valores` (IN a list
  // of values; on a server, = ANY of one array, whatever their number). Returns the rows
  // affected.
  qint64 CorrerComLista(const QString &início, const DefTabela &tabela, const QString &coluna,
                        const QVariantList &valores, const QString &operação);

  // Runs one statement of the program's own that takes no values, as plain text: what
  // PostgreSQL cannot prepare (LOCK TABLE, DROP TABLE).
  void ExecutarTexto(const QString &sql, const QString &operação) { Controlar(sql, operação); }

  // Runs one SELECT (joins and aggregates welcome) and calls `linha` for each row, in the
  // query's order. This is how lists and reports read their rows: one set query, not a find
  // per row.
  template <class F>
  void Percorrer(const QString &sql, const QVariantList &valores, const QString &operação,
                 F &&linha) {
    Instrução i = Correr(sql, valores, operação);
    while (i.Seguinte())
      linha(std::as_const(i));
  }

  // Writes a complete copy of the open file into `destino` (SQLite's VACUUM INTO), a file
  // that must not exist. A server database is copied row by row instead, not here.
  void CopiarPara(const QString &destino, const QString &operação);

  // How many statements the connection has sent to the engine since it was made, transaction
  // control included: on a server each one is a round trip over the network.
  quint64 InstruçõesEnviadas() const { return enviadas; }

  // Changes with every write, so that what a recordset keeps of a row can tell it is stale.
  quint64 Versão() const { return versão; }

  // How many times a lost connection to the server was made again since opening.
  quint64 Religações() const { return religações; }

  // Called with the tables ("Sócios", "Tabelas") that another desk changed, or all of them
  // after a reconnection, when no action of this program is under way: while waiting for
  // events, or else at the start of the next action.
  void DefinirAoMudarNoutroPosto(std::function<void(const QStringList &tabelas)> f) {
    aoMudarNoutroPosto = std::move(f);
  }

  // All that one user action writes: rolled back on leaving the scope unless confirmed.
  // Transactions nest: an inner one is a savepoint of the outer.
  // Everything one user action reads, seen as one state of the file, with SQLite's locks
  // taken once. Inside a Transacção (or another Leitura) it adds nothing.
  class Leitura {
  public:
    // `noServidor` false: a read whose statements are arranged to be sound one by one, which
    // on a server goes without the two round trips of a transaction.
    explicit Leitura(BaseDados &bd, bool noServidor = true);
    ~Leitura();
    Leitura(const Leitura &) = delete;
    Leitura &operator=(const Leitura &) = delete;

  private:
    BaseDados &bd;
    bool minha = false;
  };

  class Transacção {
  public:
    explicit Transacção(BaseDados &bd);
    ~Transacção();
    Transacção(const Transacção &) = delete;
    Transacção &operator=(const Transacção &) = delete;
    // On a server, a commit whose answer the lost connection took away is looked up after
    // reconnecting (txid_status of the transaction): when it was committed, this returns as
    // after any commit; when not, ErroBaseDados LigaçãoPerdida ("nada foi gravado"); when the
    // server cannot be reached to find out, GravaçãoIncerta.
    void Confirmar();

  private:
    void Terminar(const QString &sql);

    BaseDados &bd;
    int nível;
    bool sobreLeitura = false; // opened inside a Leitura: a real transaction all the same
    bool terminada = false;
    quint64 versãoInício = 0; // a rollback with nothing written leaves the recordsets alone
    quint64 religaçõesInício = 0;
  };

private:
  friend class ConjuntoRegistos;
  friend class Instrução;
  void Devolver(const QString &sql, std::unique_ptr<QSqlQuery> q);
  void Registar(ConjuntoRegistos *r);
  void Retirar(ConjuntoRegistos *r);
  void VerificarEsquema();
  // The failure of the open engine as the store's exception. On a server, a connection that is
  // no longer there makes it LigaçãoPerdida, and the connection is then made again at the
  // next chance.
  ErroBaseDados Erro(const QSqlError &erro, const QString &operação);
  ErroBaseDados Erro(CausaErro causa, const QString &operação, const QString &pormenor = {}) const;
  // Begins, ends or marks a transaction. PostgreSQL prepares no transaction statements: there
  // they run as plain text.
  void Controlar(const QString &sql, const QString &operação);
  // What the engines say differently, one small function each. (A write on a server begins
  // by reading its transaction id, in the same round trip.)
  QString InícioEscrita() const;
  QString InícioLeitura() const;
  QString CamposDaTabela() const;
  bool SóParaDiante() const;

  // The server's side: the connection made (version checked, notifications heard), made
  // again after a loss, the changes of other desks passed on, the commit that marks itself.
  void LigarServidor(const QString &operação);
  void Religar(const QString &operação);
  void RetomarLigação(const QString &operação);
  void AntesDaAcção(const QString &operação);
  void AvisarMudanças();
  void AoNotificar(const QString &tabelas);
  void MarcarEscrita(const QString &sql);
  void ConcluirNoServidor(const QString &operação);
  QSqlDatabase Ligação() const;

  QString nomeLigação;
  QString caminho; // the file, or the server's connection string as shown (LigaçãoParaMostrar)
  Motor motor = Motor::SQLite;
  bool aberta = false;
  int profundidade = 0; // open transactions
  int espera = 3000;
  bool leituraAberta = false; // a Leitura's BEGIN is the outermost transaction
  quint64 versão = 0;
  quint64 enviadas = 0;
  quint64 geração = 0; // a new one at each opening: statements of a closed file are dropped
  std::unordered_map<QString, std::vector<std::unique_ptr<QSqlQuery>>> preparadas;
  bool reservarAoAbrir = true;
  std::shared_ptr<ReservaFicheiro> reserva; // held from Abrir to Fechar
  std::vector<ConjuntoRegistos *> conjuntos;

  QString ligaçãoServidor; // as given, password included: never shown nor written anywhere
  bool perdida = false;    // the server's connection dropped and is not yet made again
  std::vector<std::unique_ptr<QSqlQuery>> órfãs; // statements of the lost connection
  quint64 religações = 0;
  QStringList escritas;      // tables of other desks' interest written by the open transaction
  qint64 marcaTransacção = 0; // the open write's transaction id on the server, and its process
  qint64 marcaProcesso = 0;
  QStringList mudadas;       // changed by other desks, not yet passed on
  bool aAvisar = false;      // passing them on now: no second round from inside
  std::function<void(const QStringList &)> aoMudarNoutroPosto;
};

// While it lives, what the connection deletes or overwrites is also overwritten in the file
// itself, so that personal data erased on request cannot be read back from the file's free
// space with a plain viewer. The engine's own setting (SQLite's secure_delete), set here alone.
class ApagamentoSeguro {
public:
  explicit ApagamentoSeguro(BaseDados &bd);
  ~ApagamentoSeguro();
  ApagamentoSeguro(const ApagamentoSeguro &) = delete;
  ApagamentoSeguro &operator=(const ApagamentoSeguro &) = delete;

private:
  BaseDados &bd;
  qint64 anterior = 0;
};
