#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The three tables of Quotas.Dad, described once: creation, the check made when a file is
// opened and the recordsets all read from here.

// The engine behind an open store: a Quotas.Dad file, or a database on a PostgreSQL server.
// What only one of them understands is chosen by this, each in one small function.
enum class Motor { SQLite, PostgreSQL };

enum class TipoCampo {
  Long,     // signed 32-bit integer
  Contador, // Long assigned by the engine on insertion, increasing, never reused
  Texto,    // text of at most `tamanho` characters
  Memo,     // text without a fixed limit
  Moeda,    // ten-thousandths of a euro in an integer
};

struct DefCampo {
  QString nome;
  TipoCampo tipo;
  int tamanho = 0; // characters, for Texto
};

struct DefÍndice {
  QString nome;
  QString campo;
  bool único = false;
  bool primário = false;
};

struct DefTabela {
  QString nome;
  QList<DefCampo> campos;
  QList<DefÍndice> índices;

  // Position of a field, found by its exact name or, failing that, by the name with letter
  // case ignored ("tipo" is `Tipo`); -1 when the table has no such field.
  qsizetype PosiçãoCampo(QStringView campo) const;
};

// Tabelas, Sócios and Quotizações, in the order in which they are created.
const QList<DefTabela> &TabelasDoFicheiro();

// The table with this name (letter case ignored), or nullptr.
const DefTabela *ProcurarTabela(QStringView nome);

// Identifier quoted for SQL: "Sócios".
QString Identificador(QStringView nome);

// What names one row of the table for as long as it exists: SQLite's row id; a server keeps
// no lasting row id, and there the table's unique key serves (Código, Número, SócMês).
QString ColunaLinha(const DefTabela &t, Motor motor);

// Whether that key is a text (the dues key, twelve digits): bound as text, read as a number.
bool IdÉTexto(const DefTabela &t);

// The statements that build the empty tables and their indexes. On PostgreSQL the same names
// and stored forms: a counter is an identity column, money a bigint.
QStringList InstruçõesCriação(Motor motor = Motor::SQLite);

// One row written by its unique key: an insert that becomes an update when a row with that
// key is there, leaving untouched a row that already holds the same values. Values are bound
// in the order key, then `outros`. (Upsert syntax: SQLite's, which PostgreSQL shares but
// for "IS NOT", its "IS DISTINCT FROM".)
QString InstruçãoGuardar(QStringView tabela, QStringView chave, const QStringList &outros,
                         Motor motor = Motor::SQLite);

// What follows the rows in that statement ("ON CONFLICT ..."): for BaseDados::InserirLinhas,
// which writes many rows at once.
QString FimGuardar(QStringView tabela, QStringView chave, const QStringList &outros,
                   Motor motor = Motor::SQLite);
