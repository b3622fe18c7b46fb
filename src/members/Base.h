#pragma once

#include "FichaSocio.h"
#include "ListaQuotas.h"

#include <QMainWindow>
#include <functional>
#include <optional>

class GrelhaComBarra;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QTabWidget;
class QTableWidget;

// The windows that the menu opens and that live in other parts of the program.
enum class JanelaMenu {
  CódigoAcesso,
  DadosColectividade,
  Tabelas,
  DeclaraçãoIRS,
  ListagemSócios,
  QuotasAtraso,
  MapaQuotas,
  TalõesRecibo,
  ImportarSócios,
  ResumoAno,
  DadosPessoais, // of the member shown: enabled only while a stored member is shown
  QuotasDívida,
  QuotasEmDia,
};
inline constexpr int NúmeroJanelasMenu = 13;

// The main window: one member's record and the dues the member has paid, browsed, edited,
// saved and deleted here. Nothing reaches the database before "G&ravar Dados".
class Base : public QMainWindow {
public:
  explicit Base(QWidget *pai = nullptr);

  // Number of the stored member on screen; 0 for a new member not saved yet.
  qint32 SócioActual = 0;

  // Shows member `número`, or the new-member state when there is no such member (a negative
  // number shows as 0). Returns the number shown; leaves the shared member recordset on the
  // member shown.
  qint32 MostrarSócio(qint32 número);

  // Member navigation: 2 first, 3 previous, 4 next, 5 last; 1 opens the search.
  void NavegarSócio(int k);

  // Refills the three drop-downs from the reference lists (Listas()), keeping each one's
  // selection when its entry still exists.
  void MostrarListas();
  // The same after reading the reference rows again.
  void CarregarListas();

  // Links a menu item to the window it opens (the program's entry does this for every window
  // it has); an item without a window stays disabled. After a listing window the screen
  // shows the current member again.
  void LigarJanela(JanelaMenu janela, std::function<void()> abrir);

  // The search window, once there is one; until then "&Procurar..." stays disabled.
  std::function<void()> AbrirProcura;

  // Called when the user has closed the window.
  std::function<void()> AoFechar;

  // The drop-downs of the reference lists (text = Designação, item data = Código). Other
  // windows read the lists from Listas(), never from here.
  QComboBox *CPostal;
  QComboBox *Situação;
  QComboBox *TipoQuota;

  // Actions whose enabling follows the member shown: printing and deleting need a stored
  // member, the search needs members. The menu bar shows them.
  QAction *acçãoEliminar;
  QAction *acçãoImprimir;
  QAction *acçãoProcurar;
  QAction *acçõesNavegação[5]; // Ctrl+P, F1, F2, F3, F4
  QMenu *menuListagens = nullptr;

protected:
  void closeEvent(QCloseEvent *e) override;
  void showEvent(QShowEvent *e) override;
  bool focusNextPrevChild(bool seguinte) override;

private:
  void CriarControlos();
  void CriarMenu();
  void ExecutarArquivex(bool repor);
  void AbrirJanela(JanelaMenu janela);
  void ImprimirFichaDoEcrã();
  void PrepararCampos();
  void ComandoClicado(int i);
  // Returns whether the member was saved; a refusal has shown its message.
  bool GravarSócio();
  // Why the NIF on screen deserves a second look; empty for a valid one, and for none (new
  // members start with "0").
  QString AvisoNif() const;
  void EliminarSócio();
  void AdicionarQuota();
  void AlterarQuota();
  void ApagarQuota();
  void IrParaPosição(qsizetype alvo);
  void MostrarQuotaActual();
  void MostrarSeparador(QWidget *campo);
  std::optional<Moeda> ValorDaQuota();
  void EntradasPorOmissão();

  // What a save would write, as the screen holds it now (the member's fields and the dues
  // list), and whether it differs from what MostrarSócio showed.
  QStringList ValoresDoEcrã() const;
  bool Alterado() const { return ValoresDoEcrã() != mostrado; }
  // "sócio nº 2 - Bruno Costa", or "novo sócio": how the questions name the member shown.
  QString SócioMostrado() const;
  // Before the screen is given up (another member shown, the program ended): with changes,
  // asks whether to save them. Returns whether to go on: after a save, or with the changes
  // dropped; not when the user stays on the member or the save was refused.
  bool ConfirmarAlterações();

  QLineEdit *Número;
  QLineEdit *Nome;
  QPushButton *Comando[7];
  QTabWidget *Separadores; // objectName "Dados"
  QFrame *Quadro[3];
  QLineEdit *Rua;
  QLineEdit *Localidade;
  QLineEdit *DtInscrição;
  QLineEdit *ValQuota;
  QLineEdit *NIF;
  QLineEdit *Ano;
  QComboBox *Mês;
  QLineEdit *Quota;
  QLineEdit *Recibo;
  GrelhaComBarra *TabelaQuotas;
  QTableWidget *Quotas;
  QScrollBar *Posição;
  QLabel *Figura;
  QPlainTextEdit *Observações;

  QuotasEmEdição Lista; // ListQuotas and ListElimin
  bool centrada = false;
  QList<QWidget *> ordemTabulação;
  QStringList mostrado;            // ValoresDoEcrã() as MostrarSócio left the screen
  QString nomeMostrado;            // the stored member's name, as the questions name it
  // The member as read when shown: on a server, the version that a save checks, and what the
  // save compares to tell what another desk changed.
  std::optional<SócioGuardado> guardadoMostrado;
  // Tells the user that another desk saved or deleted the member shown; true when the screen
  // was read again from the server (what was typed is dropped).
  bool ConflitoNoutroPosto(ErroFicha erro, const QStringList &alterações, const QString &título);
  bool fecharSemPerguntar = false; // the backup tool takes over: nothing can be saved now
  QString nifAceite;  // the NIF as shown or as the user confirmed it: not asked about again
  QString dataAceite; // the same for an enrolment date after today
  std::function<void()> janelas[NúmeroJanelasMenu];
  QAction *acçõesJanelas[NúmeroJanelasMenu] = {};
};
