// The main window's menu bar and what its items do beyond the window itself: the other
// windows, the backup tool, the member card printed from the screen.
#include "Acerca.h"
#include "Base.h"

#include "Comandos.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "ImprimirFicha.h"
#include "JanelaAjuda.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Programas.h"
#include "Relogio.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QAction *Item(QMenu *menu, const QString &legenda, const QString &nome) {
  QAction *a = menu->addAction(legenda);
  a->setObjectName(nome);
  return a;
}

} // namespace

void Base::CriarMenu() {
  QMenuBar *barra = menuBar();
  const auto topo = [&](const QString &legenda, int i) {
    QMenu *m = barra->addMenu(legenda);
    m->setObjectName(u"Menu_"_s + QString::number(i));
    return m;
  };

  QMenu *arquivo = topo(u"&Arquivo"_s, 1);
  connect(Item(arquivo, u"&Segurança do Ficheiro"_s, u"Menu_Arquivo_1"_s), &QAction::triggered,
          this, [this] { ExecutarArquivex(false); });
  connect(Item(arquivo, u"&Reposição do Ficheiro"_s, u"Menu_Arquivo_2"_s), &QAction::triggered,
          this, [this] { ExecutarArquivex(true); });
  acçõesJanelas[int(JanelaMenu::ImportarSócios)] =
      Item(arquivo, u"I&mportar Sócios..."_s, u"Menu_Arquivo_Importar"_s);
  acçõesJanelas[int(JanelaMenu::BaseDados)] =
      Item(arquivo, u"&Base de Dados..."_s, u"Menu_Arquivo_BaseDados"_s);
  arquivo->addSeparator();
  acçõesJanelas[int(JanelaMenu::CódigoAcesso)] =
      Item(arquivo, u"Código de &Acesso"_s, u"Menu_Arquivo_4"_s);
  acçõesJanelas[int(JanelaMenu::DadosColectividade)] =
      Item(arquivo, u"&Dados da Colectividade"_s, u"Menu_Arquivo_5"_s);
  arquivo->addSeparator();
  connect(Item(arquivo, u"Configurar &Impressora"_s, u"Menu_Arquivo_7"_s), &QAction::triggered,
          this, [this] { ConfigurarImpressora(this); });
  // For the rest of the run, every document is shown before it reaches the printer.
  QAction *préVisualizar =
      Item(arquivo, u"&Pré-visualizar Impressões"_s, u"Menu_Arquivo_PreVisualizar"_s);
  préVisualizar->setCheckable(true);
  préVisualizar->setChecked(PréVisualizarImpressões());
  connect(préVisualizar, &QAction::toggled, this,
          [](bool ligada) { DefinirPréVisualizarImpressões(ligada); });
  connect(Item(arquivo, u"&Terminar o Programa"_s, u"Menu_Arquivo_8"_s), &QAction::triggered, this,
          [this] { close(); });

  QMenu *dados = topo(u"&Dados"_s, 2);
  static const char16_t *const itensDados[] = {u"&Novo Sócio", u"&Eliminar Sócio",
                                               u"&Gravar Dados"};
  // As with the buttons, the field being edited finishes its own work before the command.
  for (int i = 1; i <= 3; ++i)
    connect(
        Item(dados, QString::fromUtf16(itensDados[i - 1]), u"Menu_Dados_"_s + QString::number(i)),
        &QAction::triggered, this, [this, i] {
          TomarFoco(Comando[i]);
          ComandoClicado(i);
        });
  acçãoEliminar = dados->actions().at(1);
  QMenu *procurar = dados->addMenu(u"&Procurar..."_s);
  procurar->setObjectName(u"Menu_Dados_4"_s);
  acçãoProcurar = procurar->menuAction();
  static const char16_t *const navegação[] = {u"&Sócio por Número ou Nome", u"&Primeiro Sócio",
                                              u"Sócio &Anterior", u"Sócio S&eguinte",
                                              u"Últi&mo Sócio"};
  const QKeySequence teclas[] = {QKeySequence(Qt::CTRL | Qt::Key_P), QKeySequence(Qt::Key_F1),
                                 QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_F3),
                                 QKeySequence(Qt::Key_F4)};
  for (int k = 0; k < 5; ++k) {
    acçõesNavegação[k] = Item(procurar, QString::fromUtf16(navegação[k]),
                              u"Menu_Dados_Procurar_"_s + QString::number(k + 1));
    acçõesNavegação[k]->setShortcut(teclas[k]);
    connect(acçõesNavegação[k], &QAction::triggered, this, [this, k] { NavegarSócio(k + 1); });
  }
  // The shortcuts work while the sub-menu is disabled too (a file without members beeps).
  for (int k = 1; k < 5; ++k)
    addAction(acçõesNavegação[k]);
  dados->addSeparator();
  QAction *tabelas = Item(dados, u"Definir &Tabelas"_s, u"Menu_Dados_6"_s);
  tabelas->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
  acçõesJanelas[int(JanelaMenu::Tabelas)] = tabelas;
  QMenu *imprimir = dados->addMenu(u"&Imprimir..."_s);
  imprimir->setObjectName(u"Menu_Dados_7"_s);
  acçãoImprimir = imprimir->menuAction();
  connect(Item(imprimir, u"&Ficha de Sócio"_s, u"Menu_Dados_Imprimir_1"_s), &QAction::triggered,
          this, [this] { ImprimirFichaDoEcrã(); });
  acçõesJanelas[int(JanelaMenu::DeclaraçãoIRS)] =
      Item(imprimir, u"&Declaração para IRS"_s, u"Menu_Dados_Imprimir_2"_s);
  acçõesJanelas[int(JanelaMenu::DadosPessoais)] =
      Item(dados, u"&Dados Pessoais do Sócio..."_s, u"Menu_Dados_DadosPessoais"_s);

  menuListagens = topo(u"&Listagens"_s, 3);
  static const char16_t *const listagens[] = {u"Listagem de &Sócios", u"&Quotas em Atraso",
                                              u"&Mapa de Quotas",
                                              u"Impressão de &Talões de Recibo"};
  for (int i = 0; i < 4; ++i)
    acçõesJanelas[int(JanelaMenu::ListagemSócios) + i] =
        Item(menuListagens, QString::fromUtf16(listagens[i]),
             u"Menu_Listagens_"_s + QString::number(i + 1));
  // Who owes what, and who may vote: after the described items, whose keys stay as they are.
  acçõesJanelas[int(JanelaMenu::QuotasDívida)] =
      Item(menuListagens, u"Quotas em &Dívida..."_s, u"Menu_Listagens_Divida"_s);
  acçõesJanelas[int(JanelaMenu::QuotasEmDia)] =
      Item(menuListagens, u"Sócios com Quotas em D&ia..."_s, u"Menu_Listagens_EmDia"_s);
  acçõesJanelas[int(JanelaMenu::ResumoAno)] =
      Item(menuListagens, u"&Resumo do Ano..."_s, u"Menu_Listagens_ResumoAno"_s);
  // Windows still to come stay in the menu, disabled, until they are linked.
  for (int j = 0; j < NúmeroJanelasMenu; ++j) {
    QAction *a = acçõesJanelas[j];
    a->setEnabled(false);
    connect(a, &QAction::triggered, this, [this, j] { AbrirJanela(JanelaMenu(j)); });
  }

  QMenu *ajuda = topo(u"Aj&uda"_s, 4);
  connect(Item(ajuda, u"&Como obter Ajuda..."_s, u"Menu_Ajuda_1"_s), &QAction::triggered, this,
          [this] { MostrarAjuda(this, u"como-usar"_s); });
  connect(Item(ajuda, u"Ajuda &Geral"_s, u"Menu_Ajuda_2"_s), &QAction::triggered, this,
          [this] { MostrarAjuda(this, u"indice"_s); });
  ajuda->addSeparator();
  connect(Item(ajuda, u"&Acerca do Agremia"_s, u"Menu_Ajuda_3"_s), &QAction::triggered, this,
          [this] { MostrarAcerca(this, Dados().bd.Aberta() ? Dados().bd.Caminho() : QString()); });
}

void Base::LigarJanela(JanelaMenu janela, std::function<void()> abrir) {
  janelas[int(janela)] = std::move(abrir);
  acçõesJanelas[int(janela)]->setEnabled(bool(janelas[int(janela)]) &&
                                         (janela != JanelaMenu::DadosPessoais || SócioActual > 0));
}

void Base::AbrirJanela(JanelaMenu janela) {
  const auto &abrir = janelas[int(janela)];
  if (!abrir)
    return;
  // The windows below show the current member afresh when they close (or another one, that
  // the user chose there): the question on changes comes before they open.
  const bool mostraDeNovo = janela >= JanelaMenu::ListagemSócios && janela != JanelaMenu::BaseDados;
  if (mostraDeNovo && !ConfirmarAlterações())
    return;
  {
    Ampulheta ampulheta;
    Ampulheta::Seta();
    abrir();
  }
  // The listings move the shared member recordset, and an import reads it again: stand on
  // the current member again.
  if (!mostraDeNovo)
    return;
  // Members imported into an empty file: the first of them is shown, as at start-up.
  if (janela == JanelaMenu::ImportarSócios && SócioActual <= 0) {
    BaseDados::Leitura leitura(Dados().bd);
    ConjuntoRegistos &sócios = *Dados().sócios;
    sócios.MoverPrimeiro();
    if (!sócios.FimFicheiro())
      SócioActual = qint32(sócios.Inteiro(u"Número"));
  }
  MostrarSócio(SócioActual);
}

void Base::ExecutarArquivex(bool repor) {
  const QString texto =
      repor ? u"Atenção! Esta opção repõe os dados introduzidos\n"
              u"até à data da segurança efectuada.\n"
              u"Assim todos os dados introduzidos depois da\n"
              u"segurança, serão eliminados.\n"
              u"É conveniente fazer várias seguranças antes  de\n"
              u"repõr as seguranças.\n"
              u"\n"
              u"O Agremia irá ser encerrado para poder executar\n"
              u"a segurança de dados.\n"
              u"\n"_s
            : u"O Agremia irá ser encerrado para poder executar a segurança de dados\n"_s;
  // The program ends without saving: the user is told what is lost.
  const QString perdidas = Alterado() ? u"As alterações do "_s + SócioMostrado() +
                                            u" que não foram gravadas serão perdidas.\n"_s
                                      : QString();
  // A restore overwrites the file, and changes not saved are lost: "Não" is the safe default.
  const QString pergunta = texto + perdidas + u"Tem a certeza que deseja continuar?"_s;
  const QString título = u"Mensagem de Alerta"_s;
  const Resposta resposta =
      repor || !perdidas.isEmpty()
          ? PerguntarNãoPorOmissão(pergunta, título, this)
          : MostrarMensagem(pergunta, Botões::SimNão, Ícone::Pergunta, título, this);
  if (resposta != Resposta::Sim)
    return;
  fecharSemPerguntar = true;
  // The tool works on a closed file: close it first, and open it again if the tool fails.
  const QString ficheiro = Dados().bd.Caminho();
  const bool servidor = Dados().bd.MotorAberto() == Motor::PostgreSQL;
  // A server's copies go to the working folder. The tool reaches the server by itself: a
  // password given for this run is not handed on, since a command line is visible to every
  // user of the computer.
  const QString pasta = servidor ? QDir::currentPath() : QFileInfo(ficheiro).absolutePath();
  QStringList argumentos = repor ? QStringList{u"-r"_s} : QStringList{};
  if (servidor)
    argumentos << u"--base-dados"_s << ficheiro;
  FecharDados();
  if (IniciarPrograma(u"arquivex"_s, argumentos, pasta)) {
    close();
    return;
  }
  // The file may have changed hands while it was closed (moved, locked, replaced): without it
  // no action of this window can work, so the program ends instead of going on without data.
  if (!ExecutarAcção(
          this, u"Mensagem de Alerta"_s,
          [&] { ReabrirDados ? ReabrirDados() : AbrirDados(ficheiro); },
          u"\n\nNão foi possível iniciar o programa de segurança e reposição de dados "
          u"nem abrir de novo o ficheiro de sócios.\nO programa vai terminar."_s)) {
    close();
    return;
  }
  fecharSemPerguntar = false;
  Bip();
  MostrarMensagem(u"Não foi possível iniciar o programa de segurança e reposição de dados.\n"
                  u"Verifique se o ficheiro «"_s +
                      QDir::toNativeSeparators(CaminhoPrograma(u"arquivex"_s)) +
                      u"» existe.\n\nO programa continua aberto."_s,
                  Botões::OK, Ícone::Crítico, u"Mensagem de Alerta"_s, this);
  MostrarSócio(SócioActual);
}

void Base::ImprimirFichaDoEcrã() {
  Ampulheta ampulheta;
  DadosFicha f;
  f.número = Número->text();
  f.nome = Nome->text();
  f.dtInscrição = DtInscrição->text();
  f.rua = Rua->text();
  f.localidade = Localidade->text();
  f.cPostal = CPostal->currentText();
  f.situação = Situação->currentText();
  f.tipoQuota = TipoQuota->currentText();
  f.valQuota = ValQuota->text();
  f.observações = Observações->toPlainText();
  f.quotas = Lista.ListQuotas.Entradas();
  // The job is named after the member, so that a print queue tells one card from another.
  const QString documento = u"Ficha de Sócio "_s + QString::number(ValorNumérico(f.número));
  if (auto p = AbrirImpressão(documento, this))
    ImprimirFicha(*p, f, Agora());
}