#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class BaseDados;
class Impressão;
struct ListasReferência;

// Receipt stubs: for a range of members and a period of the year, one numbered stub per member
// and per period, each printed twice side by side. Receipt numbers continue the counter kept
// in the Tabelas row "q" (the last number used), which several desks may share: each run takes
// its numbers under a lock of that row, so that no two runs ever print the same number.

enum class OrdemTalões { Número = 0, Nome = 1, CódigoPostal = 2 };

// What the window's fields hold at the click, as typed.
struct PedidoTalões {
  QString sócioX = QStringLiteral("1"); // first member number of the range
  QString sócioY = QStringLiteral("999999");
  QString ano;                        // the year printed on the stubs
  QString mesX = QStringLiteral("1"); // first period: month, quarter or half-year number
  int periodicidade = 12;             // periods per year: 12, 4, 2 or 1
  qint64 situação = 0;                // situation code; 0 takes every situation
  OrdemTalões ordem = OrdemTalões::Número;
  // The last receipt number used, as the window's field says it. Numbering starts after it or
  // after the stored counter, whichever is larger: another desk may have issued numbers since
  // the field was filled, and a number at or below the stored counter is never handed out.
  std::optional<QString> nInicial;
};

// Why a run prints nothing. Each has its message (MensagemRecusa).
enum class RecusaTalões {
  SemNomeColectividade, // the association's name is not saved: no stub can be headed
  SócioXInválido,
  SócioYInválido,
  AnoInválido,
  MêsInválido,
  NInicialInválido,
  NenhumSócio,          // the range selects no member
  NenhumTalão,          // members found, but no stub to print with these options
  NúmerosEsgotados,     // the receipt numbers would pass the largest one a dues row can hold
  ImpressãoNãoIniciada, // refused by the printer (it said so), or preview closed: no message
  ContadorMantido,      // a lower counter was not confirmed: no message, the stored one stays
  NumeraçãoMudou,       // another desk issued the numbers of the stubs in preview: none printed
};
QString MensagemRecusa(RecusaTalões recusa);

// The nine lines of one stub (index 0 is line 1). Line 5 holds "NIPC: <number>" under the
// association's address when the association's NIPC is saved; empty, it is not printed and the
// stub keeps the height it always had.
using LinhasTalão = std::array<QString, 9>;

struct Talão {
  LinhasTalão linhas;
  qint64 recibo = 0;
  int sócio = 0; // 1-based place of its member among the members of the range, for progress
};

struct PlanoTalões {
  std::vector<Talão> talões;
  int sócios = 0;          // members in the range, of every situation
  qint64 últimoRecibo = 0; // the counter after the run (the one before it when no stub)
};

struct ResultadoTalões {
  std::optional<RecusaTalões> recusa;
  PlanoTalões plano;
};

// The period text of period p: "Março de", "2º Trimestre de", "1º Semestre de", "Ano de".
QString TextoPeríodo(int periodicidade, int p);

// Reads the members of the range with one query and numbers their stubs in the chosen order.
// Members of another situation get no stub but are counted in `sócios`. Refuses what cannot be
// read as a number, a range without members and a run with nothing to print; a refusal means
// no number is taken.
ResultadoTalões PlanearTalões(BaseDados &bd, const ListasReferência &listas,
                              const PedidoTalões &pedido);

// Draws one stub with its top at `yInício`: the rule above it, the association's lines and the
// member's lines in two identical halves, the dashed cut line between them and the rule below.
// Leaves the print position under the lower rule.
void ImprimirTalão(Impressão &p, const LinhasTalão &linhas, double yInício);

// The height ImprimirTalão takes, rule to rule, with or without the NIPC line.
double AlturaTalão(bool comNIPC = false);

// Draws the stubs one below the other; a stub that does not fit on the page starts the next
// page at its top. `progresso` is told the percentage of members done, once per percent;
// `desenhado` the receipt number of each stub once it is drawn whole.
void ImprimirTalões(Impressão &p, const PlanoTalões &plano,
                    const std::function<void(int)> &progresso = {},
                    const std::function<void(qint64)> &desenhado = {});

// A document that failed after its receipt numbers were stored: they are spent, leaving a gap
// in the numbering rather than numbers that could be printed twice.
class FalhaImpressãoTalões : public std::runtime_error {
public:
  FalhaImpressãoTalões(qint64 primeiro, qint64 último, qint64 desenhadoAté);
  qint64 primeiro;     // the run's first receipt number
  qint64 último;       // its last, now the stored counter
  qint64 desenhadoAté; // the last stub drawn before the failure; primeiro - 1 when none was
  // Which receipts did not come out, which may have, and where numbering goes on.
  QString Mensagem() const;
};

// The numbers a run printed, next to the last number the window's field said (the stored
// counter when the request gave none).
struct NúmerosTalões {
  qint64 indicado = 0;
  qint64 primeiro = 0;
  qint64 último = 0;
  // Another desk moved the counter: the stubs do not start right after the field's number.
  bool Mudaram() const { return primeiro != indicado + 1; }
};
// What the user is told when they did: which numbers the stubs carry.
QString MensagemNumeraçãoMudada(const NúmerosTalões &n);

// Opens the print document of a run. `entregar` stores the run's numbers: the surface calls it
// once, just before anything reaches the printer or the file.
using AbrirTalões =
    std::function<std::unique_ptr<Impressão>(const std::function<void()> &entregar)>;

// The whole run: plans the stubs, opens the document only when there is something to print,
// and prints it. The numbers are taken when the document is handed over (`entregar`), before
// anything can come out, in one short transaction of their own: the counter row is read under
// a lock, the stubs numbered on from it (or from the request's number, when larger) and the
// run's last number stored and committed. Another desk's run waits for that commit and numbers
// on after it; a program that stops while printing can never print the same numbers again.
// Stubs already drawn for a preview cannot be numbered again: when another desk took their
// numbers meanwhile, nothing is printed (NumeraçãoMudou). Until the handover nothing is stored:
// a refusal (returned), a document that never starts (`abrir` gives no surface: the printer
// refused and said so) or ends unprinted (its preview closed) leave the counter as it was. A
// failure after the handover throws FalhaImpressãoTalões. `emitidos` is told what a run that
// printed numbered.
std::optional<RecusaTalões> ExecutarTalões(BaseDados &bd, const ListasReferência &listas,
                                           const PedidoTalões &pedido, const AbrirTalões &abrir,
                                           const std::function<void(int)> &progresso = {},
                                           NúmerosTalões *emitidos = nullptr);

// The counter as the window shows it: the stored last number, "0" when there is none.
QString LerContadorRecibos(BaseDados &bd);

// Stores a typed counter (creating its row when missing). Refuses, storing nothing, what is
// not a receipt number. A number below the stored one would issue again numbers already
// printed: it is stored only when `aceitarDescida` (told the stored and the typed number)
// agrees, else ContadorMantido. The counter is checked again under its lock as it is written:
// below a counter that another desk moved meanwhile, nothing is stored (ContadorMantido), as
// the confirmation was given for another one.
std::optional<RecusaTalões>
GravarContadorRecibos(BaseDados &bd, const QString &texto,
                      const std::function<bool(qint64 guardado, qint64 novo)> &aceitarDescida = {});
