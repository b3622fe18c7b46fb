#pragma once

#include "BaseDados.h"
#include "ConjuntoRegistos.h"

#include <QString>
#include <functional>
#include <memory>

// The database of the run and its three shared recordsets. Every window reads and writes
// through these same objects, so their current rows are shared.
struct DadosPartilhados {
  BaseDados bd;
  std::unique_ptr<ConjuntoRegistos> sócios;      // all members in ascending Número
  std::unique_ptr<ConjuntoRegistos> quotizações; // all dues rows
  std::unique_ptr<ConjuntoRegistos> tabelas;     // all reference rows
};

// Name of the database file, looked up in the working folder.
inline const QString NomeFicheiroDados = QStringLiteral("Quotas.Dad");

// The shared objects of the run.
DadosPartilhados &Dados();

// Opens the file and then the member, dues and reference recordsets, in this order.
void AbrirDados(const QString &caminho);

// The same on a database of a PostgreSQL server (see BaseDados::AbrirServidor).
void AbrirDadosServidor(const QString &ligação);

// Called after the reference lists were read again because another desk changed the reference
// rows (on a server only): a window refills its drop-downs from Listas().
void DefinirAoMudaremListas(std::function<void()> f);

// Closes the reference, dues and member recordsets and then the database, in this order.
void FecharDados();

// The members of the shared member recordset, all of them in number order. Every window
// that relies on the shared recordset expects it on this query.
Consulta TodosOsSócios();

// While it lives, the shared member recordset selects what a window chose; on every way out,
// an exception included, it is put back on all members in number order. (The lists and
// reports read with set queries of their own and leave the shared recordset alone.)
class SóciosSeleccionados {
public:
  explicit SóciosSeleccionados(Consulta consulta);
  ~SóciosSeleccionados();
  SóciosSeleccionados(const SóciosSeleccionados &) = delete;
  SóciosSeleccionados &operator=(const SóciosSeleccionados &) = delete;
};

// The criterion that selects all dues rows of one member: the key prefix "000012".
Critério QuotasDoSócio(qint64 número);

// The dues key: member "000000", year "0000", month "00" (member 12, March 2003 gives
// "000012200303").
QString ChaveSócMês(qint64 número, int ano, int mês);
