#pragma once

#include "Criterio.h"
#include "ErroBaseDados.h"
#include "Moeda.h"

#include <QHash>
#include <QList>
#include <QVariant>
#include <optional>
#include <vector>

class BaseDados;
struct DefTabela;

// An updatable cursor over the rows that a query selects, in the query's order, shared by
// every window that holds it: moving it moves it for all.
//
// It keeps the identities of the selected rows (SQLite's row ids; on a server, the table's
// unique key, see ColunaLinha) and reads a row's
// values only when they are asked for. A query of a whole table without filter or order
// (dues, reference rows) walks the table in row-id order directly, without a list, so that
// a table of a million dues rows costs nothing to open or requery.
//
// Behaviour the windows rely on:
// - find first / next / previous / last honour the recordset's order; a find that fails sets
//   SemCorrespondência() and leaves the current row where it was;
// - a row added with AdicionarNovo/Actualizar comes after the last row until Reexecutar
//   puts it in order, and the row that was current before stays current;
// - after Eliminar the deleted row is still "current" but cannot be read; moving on goes to
//   the row that followed it;
// - FimFicheiro/InícioFicheiro are true after moving past the last/before the first row,
//   and both are true on an empty recordset;
// - on a server, after another desk changed the table, or after the connection was made
//   again, the next operation reads the keys again and stays on the current row; a current
//   row that went away behaves as one deleted here.
class ConjuntoRegistos {
public:
  ConjuntoRegistos(BaseDados &bd, Consulta consulta);
  ~ConjuntoRegistos();
  ConjuntoRegistos(const ConjuntoRegistos &) = delete;
  ConjuntoRegistos &operator=(const ConjuntoRegistos &) = delete;

  void Fechar();
  bool Aberto() const { return bd != nullptr; }
  const Consulta &ConsultaActual() const { return consulta; }

  void MoverPrimeiro();
  void MoverÚltimo();
  void MoverSeguinte();
  void MoverAnterior();
  bool FimFicheiro() const { return eof; }
  bool InícioFicheiro() const { return bof; }

  void ProcurarPrimeiro(const Filtro &f);
  void ProcurarSeguinte(const Filtro &f);
  void ProcurarAnterior(const Filtro &f);
  void ProcurarÚltimo(const Filtro &f);
  bool SemCorrespondência() const { return semCorrespondência; }

  // Field of the current row (or of the row being added or edited). A null field reads as
  // an invalid QVariant; money reads as a Moeda.
  QVariant Campo(QStringView nome) const;
  QString Texto(QStringView nome) const;    // null reads as ""
  qint64 Inteiro(QStringView nome) const;   // null reads as 0
  Moeda ValorMoeda(QStringView nome) const; // null reads as 0,00

  void AdicionarNovo();
  void Editar();
  void DefinirCampo(QStringView nome, const QVariant &valor);
  void DefinirCampo(QStringView nome, Moeda valor) {
    DefinirCampo(nome, QVariant::fromValue(valor));
  }
  void Actualizar();
  void CancelarActualização();
  bool EmEdição() const { return edição != Edição::Nenhuma; }

  void Eliminar();
  void Reexecutar();

  // Opens the recordset again on another query (the member list selects its own members for
  // a while). See SóciosSeleccionados in Dados.h for the guard that puts the members back.
  void Reabrir(Consulta nova);

  // Makes the row with this row id current, when the recordset holds it; otherwise nothing
  // moves and the answer is false. Costs no query: a set query that already found the row
  // places the recordset on it.
  bool IrParaId(qint64 rowid);

  // How far the current row lies in the recordset, 0 to 100.
  double PercentagemPosição() const;
  qint64 NúmeroRegistos() const;

  // Identity of the current row (its row id), or -1.
  qint64 IdActual() const;

private:
  friend class BaseDados;
  enum class Lugar { Fora, Em, Eliminado };
  enum class Edição { Nenhuma, Nova, Existente };

  void AoReverter();
  void MarcarPorRefrescar() { porRefrescar = true; }
  void Refrescar() const;
  QString ColunaId() const;
  QVariant ValorId(qint64 v) const;
  void Carregar();
  void IrPara(qint64 idNovo, qsizetype índiceNovo);
  void FicarFora(bool antes, bool depois);
  qsizetype Posição(qint64 id) const;
  qsizetype LugarDoEliminado(qint64 chave) const;
  std::optional<qint64> Extremo(bool máximo, const QString &condição,
                                const QVariantList &valores) const;
  void Procurar(const Filtro &f, bool paraTrás, bool doExtremo);
  const QList<QVariant> &LinhaActual() const;
  void ExigirAberto() const;
  void ExigirActual(const QString &operação) const;
  [[noreturn]] void Falhar(CausaErro causa, const QString &operação,
                           const QString &pormenor = {}) const;

  BaseDados *bd;
  Consulta consulta;
  const DefTabela *tabela;
  bool directo; // whole table in row-id order, walked without a list

  // With a list: the row ids in the query's order, then the rows added since. Opening reads
  // only the first row id; the list is read when something needs it, so that the program
  // shows its first member without reading the whole member file.
  mutable std::vector<qint64> chaves;
  mutable bool chavesPorLer = false;
  mutable bool porRefrescar = false; // the keys may be stale: read them again before using them
  qint64 primeiraChave = -1;
  void LerChaves() const;
  QString SqlChaves(QVariantList &valores) const;
  std::vector<qint64> ConsultarChaves() const;
  mutable QHash<qint64, qsizetype> posições; // built when a find needs it
  mutable bool posiçõesVálidas = false;
  qsizetype índice = 0;

  // Without a list: the current row id.
  qint64 id = -1;

  Lugar lugar = Lugar::Fora;
  bool bof = true;
  bool eof = true;
  bool semCorrespondência = false;

  mutable bool linhaVálida = false;
  mutable quint64 versãoLinha = 0; // the file's version when the row was read
  mutable QList<QVariant> linha;

  Edição edição = Edição::Nenhuma;
  QList<QVariant> buffer;
};
