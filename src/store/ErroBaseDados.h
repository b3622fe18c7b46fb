#pragma once

#include <QString>
#include <exception>

class QSqlError;

enum class CausaErro {
  Desconhecida,
  FicheiroInexistente,  // the file to open is not there
  JáExiste,             // the file to create is already there
  NãoÉBaseDados,        // not an SQLite file at all (a text file, say)
  FicheiroEstranho,     // an SQLite file without the tables of this program
  Danificado,           // the engine found the file damaged
  EmUso,                // locked by another program
  AbertoNoutroPrograma, // marked as open by another program (see Reserva.h)
  MarcaDanificada,      // the mark of a file in use cannot be read; `ficheiro` is the mark
  MarcaImpossível,      // the mark of a file in use cannot be written (a full disk)
  SóLeitura,            // the file or its folder cannot be written
  DiscoCheio,           // no room for the file: a full disk, a quota, a file-size limit
  ErroDisco,            // the disk refused to read or write (a removed or failing medium)
  SemAcesso,            // the file or its folder cannot be opened
  Duplicado,            // a unique index refused the row
  ValorInválido,        // a value does not fit its field
  SemRegistoActual,     // no current row to read, change or delete
  ComDados,             // the destination of a copy of the data already holds rows
  CópiaIncompleta,      // a copy of the data does not hold as many rows as its source
  // On a server only:
  ServidorIndisponível, // the server does not answer, or does not take connections now
  Autenticação,         // the server refused the user or the password
  VersãoServidor,       // a server older than the oldest version this program supports
  LigaçãoPerdida,       // the connection dropped: what was under way was not written
  GravaçãoIncerta,      // the connection dropped at the commit and the server is still away
};

// The oldest PostgreSQL that the program supports (txid_status, identity columns).
inline constexpr int VersãoMínimaServidor = 120000; // server_version_num of 12.0

// Whether a server of this server_version_num is refused at opening.
inline bool VersãoServidorRecusada(int versão) {
  return versão < VersãoMínimaServidor;
}

// The engine's words for a data file of 0 bytes, which the engine itself would take for an
// empty database.
inline const QString PormenorFicheiroVazio = QStringLiteral("o ficheiro está vazio (0 bytes)");

// The one exception that the store raises. It carries the cause, the action that failed,
// the file and the engine's own words; Mensagem() is what the user reads.
class ErroBaseDados : public std::exception {
public:
  ErroBaseDados(CausaErro causa, QString operação, QString ficheiro, QString pormenor = {});
  // The same failure on a database on a PostgreSQL server; `ligação` names it as the user
  // gave it (without any password).
  static ErroBaseDados NoServidor(CausaErro causa, QString operação, QString ligação,
                                  QString pormenor = {});

  bool DoServidor() const { return servidor; }

  CausaErro Causa() const { return causa; }
  const QString &Operação() const { return operação; }
  const QString &Ficheiro() const { return ficheiro; }
  const QString &Pormenor() const { return pormenor; }

  // A clear text in Portuguese naming the file and the cause.
  QString Mensagem() const;
  // The action and the engine's own (English) words, for the message box's details: the user
  // reads the cause in Mensagem(), whoever helps them can read these.
  QString Detalhes() const;

  const char *what() const noexcept override { return textoC.constData(); }

private:
  QString MensagemServidor() const;

  CausaErro causa;
  QString operação;
  QString ficheiro;
  QString pormenor;
  QByteArray textoC;
  bool servidor = false;
};

// The cause that an engine error stands for, from SQLite's result code and message.
CausaErro CausaDoErro(const QSqlError &erro);

ErroBaseDados ErroDoMotor(const QSqlError &erro, const QString &operação, const QString &ficheiro);

// The cause that a PostgreSQL error stands for, from its SQLSTATE; a failed connection has
// none, and there libpq's words tell a server out of reach from a refused login.
CausaErro CausaDoErroServidor(const QSqlError &erro);

ErroBaseDados ErroDoServidor(const QSqlError &erro, const QString &operação,
                             const QString &ligação);
