#pragma once

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

class BaseDados;

// One entry of a reference list: the Código of its Tabelas row and its Designação.
struct ItemReferência {
  qint64 código = 0;
  QString texto;
};
using ListaReferência = std::vector<ItemReferência>;

// The three reference lists, each in Portuguese order. Windows, the page header and the
// reports read this value; nobody reads another window's drop-down lists.
struct ListasReferência {
  ListaReferência códigosPostais; // rows of kind "C"
  ListaReferência situações;      // "S"
  ListaReferência tiposQuota;     // "T"

  // The text of the entry with this code, or empty when the list has none.
  static QString Texto(const ListaReferência &lista, qint64 código);
};

// Reads the three lists with one query over the reference rows.
ListasReferência LerListasReferência(BaseDados &bd);

// The lists of the run, read when the file is opened and again after the reference editor
// saves (RecarregarListas).
const ListasReferência &Listas();
void RecarregarListas();

// A Tabelas row of a kind that has at most one row: the access code ("0"), the association's
// data ("1" to "6", and its NIPC, TipoNIPC) and the receipt counter ("q"). The value is Designação
// as stored, or nothing when no such row exists.
std::optional<QString> LerLinhaTabelas(BaseDados &bd, QChar tipo);

// Several such rows in one query: the Designação of each kind in `tipos` that has a row (the
// first by Código, as LerLinhaTabelas reads it); kinds without one are absent.
QHash<QChar, QString> LerLinhasTabelas(BaseDados &bd, const QString &tipos);

// The same row read for a change that must start from every other desk's last write and keep
// theirs out until the caller's transaction ends (the receipt counter). Call it inside a
// Transacção. On a server the row is locked; when it is missing, a lock of its kind is taken
// instead and the row read again, so that two desks never both add it. On a file the write
// transaction already holds the whole file.
std::optional<QString> LerLinhaTabelasParaAlterar(BaseDados &bd, QChar tipo);

// The kind of the row that holds the association's NIPC (its tax number as a company). Files
// written before it existed have no such row, and every print then stays as it was.
inline constexpr char16_t TipoNIPC = u'7';

// Writes the row of that kind: the existing one (the first, should there be more) or a new
// one. Runs inside the caller's transaction when there is one.
void GravarLinhaTabelas(BaseDados &bd, QChar tipo, const QString &valor);
