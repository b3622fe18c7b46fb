#pragma once

#include "ListaQuotas.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class BaseDados;
class ConjuntoRegistos;

// The quota value fields hold this many characters. The screen shows a stored value again
// formatted "#,###,##0.00", so a value that would not fit whole that way is refused at the
// save: shown cut, it would be saved again cut.
inline constexpr int CaracteresValor = 12;

// What the member screen holds when the user saves, as the fields show it.
struct FichaSócio {
  QString número;
  QString nome;
  qint64 cPostal = 0; // item data of the selected entry; 0 when none is selected
  qint64 situação = 0;
  qint64 tipoQuota = 0;
  QString dtInscrição;
  QString valQuota;
  QString rua;
  QString localidade;
  QString observações;
  QString nif;
};

// A member as stored, with every month paid, oldest first.
struct SócioGuardado {
  qint32 número = 0;
  QString nome;
  qint64 cPostal = 0;
  qint64 situação = 0;
  qint64 tipoQuota = 0;
  QString inscrição; // "19960915", or empty
  Moeda valQuota;
  QString rua; // as stored: the trailing blank is the reader's to trim
  QString localidade;
  QString observações;
  QString nif;
  std::vector<QuotaPaga> quotas;
  // On a server, the row's version when it was read (PostgreSQL's xmin), which every save of
  // the member changes, its dues included; empty on a file, which one program opens at a time.
  QString versão;
};

// Reads member `número` and all its dues with one query over the member's key range of the
// dues index, and leaves the member recordset on that member. Nothing when there is no such
// member (the recordset then stays where it was).
std::optional<SócioGuardado> LerSócio(BaseDados &bd, ConjuntoRegistos &sócios, qint64 número);

// Why a save was refused. The numbers of the first four are those of the save's messages.
enum class ErroFicha {
  Nenhum = 0,
  Número = 1,       // not 1 to 999999
  Nome = 2,         // empty
  Data = 3,         // not a date
  NúmeroExiste = 4, // a new member with the number of a stored one
  Valor = 5,        // the quota value is not an amount, or too large for its field
  AlteradoNoutroPosto = 6,  // another desk saved the member since it was shown here
  EliminadoNoutroPosto = 7, // another desk deleted the member since it was shown here
};

// The message of a refusal, as the "Gravar Dados" box shows it.
QString MensagemErroFicha(ErroFicha erro);

// The checks that need no database. All run; the one shown is that of the last check that
// failed: a bad date wins over a bad value, which wins over a missing name, which wins over
// a zero number. With `semDataAceite`, an empty enrolment date passes (a member stored
// without one, as imports may bring); a text that is no date never does.
ErroFicha ValidarFicha(const FichaSócio &ficha, bool semDataAceite = false);

// "15-09-1996" (or "15/9/1996") as the eight digits that the file keeps, "19960915". A text
// that is no date, or a year before 1900 (no enrolment is that old: it is a typing slip),
// gives an empty text, which the save refuses.
QString InscriçãoDaData(const QString &data);

struct ResultadoGravação {
  ErroFicha erro = ErroFicha::Nenhum;
  qint32 número = 0; // the member now stored
  // After AlteradoNoutroPosto: what the other desk changed, as the screen names it, and the
  // member as it is stored now.
  QStringList alterações;
  std::optional<SócioGuardado> actual;
};

// What differs between two readings of a member, named as the screen names the fields, the
// dues as "quotas de Mar 2026, Abr 2026".
QStringList DiferençasSócio(const SócioGuardado &antes, const SócioGuardado &agora);

// The message of a save or deletion refused because another desk changed or deleted the
// member, for member `número` named `nome`.
QString MensagemConflito(ErroFicha erro, qint32 número, const QString &nome,
                         const QStringList &alterações);

// Validates and writes the member row and its dues in one transaction, the texts without
// control characters (SemCaracteresControlo; the remarks keep line breaks and tabs): each row of
// `quotas` is one insert-or-update (a row that already holds the same values is left untouched),
// the rows of `eliminadas` are deleted in one statement unless the same month is in `quotas` (the
// table showed it as paid). The member list is read again only when a member was added; the
// member recordset then stands on the saved member. On an engine failure nothing is written
// and ErroBaseDados is raised.
//
// On a server, `mostrado` is the member as the screen read it: when another desk saved it
// since (its version differs and so does what it holds) or deleted it, nothing is written and
// the answer says so; the screen keeps what was typed. A save that the user confirms after
// being told passes `mostrado` = the `actual` that the refusal gave.
ResultadoGravação GravarFicha(BaseDados &bd, ConjuntoRegistos &sócios,
                              ConjuntoRegistos &quotizações, const FichaSócio &ficha,
                              qint32 sócioActual, const ListaOrdenada &quotas,
                              const ListaOrdenada &eliminadas,
                              const SócioGuardado *mostrado = nullptr);

// Deletes member `número` and every dues row of it (one statement over the member's key
// range), in one transaction, and puts the member recordset on the row that followed. On a
// server, with `versão` read when the member was shown, a member that another desk changed or
// deleted since is left alone and the answer says so.
ErroFicha EliminarRegistos(BaseDados &bd, ConjuntoRegistos &sócios, ConjuntoRegistos &quotizações,
                           qint32 número, const QString &versão = {});

// The member to show after a deletion of number `número`: the next one above, else the last
// one below, else 0 (the file is empty). Leaves the recordset on that member.
qint32 SócioAMostrarApós(ConjuntoRegistos &sócios, qint64 número);
