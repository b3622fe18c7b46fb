#include "Arranque.h"

#include "AltAcesso.h"
#include "Apresentacao.h"
#include "Base.h"
#include "CodAcesso.h"
#include "CodigoAcesso.h"
#include "ColDados.h"
#include "Comandos.h"
#include "Dados.h"
#include "DadosSocio.h"
#include "DeclIRS.h"
#include "ImportarSocios.h"
#include "JanelaBaseDados.h"
#include "Janelas.h"
#include "ListSocios.h"
#include "MapaQuotas.h"
#include "Mensagens.h"
#include "Procurar.h"
#include "Programas.h"
#include "QtsAtrazo.h"
#include "QtsDivida.h"
#include "QtsEmDia.h"
#include "ResumoAno.h"
#include "Tabelas.h"
#include "TaloesRecibo.h"
#include "Verificacao.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

bool &AcessoPermitido() {
  static bool permitido = true;
  return permitido;
}

void MostrarErroFicheiro(const ErroBaseDados &e, QWidget *pai) {
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  Bip();
  MostrarErro(e, TítuloPrograma, pai, u"\n\nO programa vai terminar."_s);
  QGuiApplication::restoreOverrideCursor();
}

void MostrarFicheiroDanificado(const ErroBaseDados &e, QWidget *pai, bool jáAberto) {
  const QString nome = u'«' + QDir::toNativeSeparators(e.Ficheiro()) + u'»';
  const QString texto =
      u"O ficheiro "_s + nome + u" está danificado: a verificação feita ao abri-lo encontrou "_s +
      (jáAberto ? u"erros, e as listas mostradas podem estar incompletas. Para que não trabalhe "_s
                  u"sobre dados incompletos, o programa vai terminar.\n\n"_s
                : u"erros. Para que não trabalhe sobre dados incompletos, o ficheiro não foi "_s
                  u"aberto nem alterado.\n\n"_s) +
      u"Reponha a última cópia de segurança boa: no programa de segurança e reposição, "_s
      u"escolha a cópia mais recente que a lista não dá como inutilizável e carregue em «Repor "_s
      u"Cópia». O ficheiro danificado fica guardado na pasta «Seguranças».\n\n"_s
      u"Deseja abrir agora a reposição de cópias?"_s;
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  Bip();
  if (MostrarMensagem(texto, Botões::SimNão, Ícone::Crítico, TítuloPrograma, pai, e.Detalhes()) ==
          Resposta::Sim &&
      !IniciarPrograma(u"arquivex"_s, {u"-r"_s}, QFileInfo(e.Ficheiro()).absolutePath())) {
    Bip();
    MostrarMensagem(u"Não foi possível iniciar o programa de segurança e reposição «"_s +
                        QDir::toNativeSeparators(CaminhoPrograma(u"arquivex"_s)) +
                        u"».\nInicie-o da forma habitual e escolha a reposição do ficheiro."_s,
                    Botões::OK, Ícone::Crítico, TítuloPrograma, pai);
  }
  QGuiApplication::restoreOverrideCursor();
}

namespace {

// What a field of the main window shows: the search and the declaration start from it.
QString TextoDoCampo(const Base &base, const char *nome) {
  const auto *campo = base.findChild<QLineEdit *>(QString::fromUtf8(nome));
  return campo ? campo->text() : QString();
}

} // namespace

bool MudarDados(Base &base, const OrigemDados &nova, QDialog &janela) {
  if (!base.ConfirmarAlterações())
    return false;
  const QString título = u"Base de Dados"_s;
  const OrigemDados antiga = OrigemDaSessão();
  bool códigoPedido = false;
  bool mudou = ExecutarAcção(&janela, título, [&] {
    AbrirOrigem(nova, &janela);
    códigoPedido = CódigoDeAcessoDefinido(Dados().bd);
  });
  // The new data keeps its own access code: it is asked as at start-up.
  if (mudou && códigoPedido) {
    CódAcesso código(&janela);
    ExecutarModal(código);
    if (código.ResultadoAcesso() != CódAcesso::Resultado::Concedido) {
      mudou = false;
      MostrarMensagem(u"Sem o código de acesso destes dados, o programa continua com os dados "_s
                      u"de antes."_s,
                      Botões::OK, Ícone::Exclamação, título, &janela);
    }
  }
  if (mudou) {
    ExecutarAcção(&base, título, [&] { base.RecomeçarDados(); });
    return true;
  }
  // Back to the data of before, as the user left it; without it the main window has nothing
  // to work on, and the program ends.
  if (!ExecutarAcção(
          &janela, título, [&] { AbrirOrigem(antiga, &janela); },
          u"\n\nNão foi possível abrir de novo os dados de antes («"_s + antiga.ParaMostrar() +
              u"»). O programa vai terminar."_s)) {
    FecharDados();
    janela.reject();
    base.FecharSemPerguntar();
    return false;
  }
  ExecutarAcção(&base, título, [&] { base.MostrarSócio(base.SócioActual); });
  return false;
}

void LigarJanelas(Base &base) {
  // The windows are added here as they come; an item without a window stays disabled.
  base.LigarJanela(JanelaMenu::CódigoAcesso, [&base] { AltAcesso::Abrir(&base); });
  base.LigarJanela(JanelaMenu::DadosColectividade, [&base] { ColDados(&base).exec(); });
  base.LigarJanela(JanelaMenu::Tabelas,
                   [&base] { Tabelas(&base, [&base] { base.MostrarListas(); }).exec(); });
  base.AbrirProcura = [&base] {
    Procurar(&base, TextoDoCampo(base, "Número"), TextoDoCampo(base, "Nome"), [&base](qint32 n) {
      base.MostrarSócio(n);
    }).exec();
  };
  // The search button and its menu item follow the member file from now on.
  base.MostrarSócio(base.SócioActual);
  base.LigarJanela(JanelaMenu::DeclaraçãoIRS, [&base] {
    DeclIRS(&base, TextoDoCampo(base, "Número"), TextoDoCampo(base, "Nome")).exec();
  });
  base.LigarJanela(JanelaMenu::ListagemSócios, [&base] { ListSócios(&base).exec(); });
  base.LigarJanela(JanelaMenu::TalõesRecibo, [&base] { TalõesRecibo(&base).exec(); });
  base.LigarJanela(JanelaMenu::QuotasAtraso, [&base] { QtsAtrazo(&base).exec(); });
  base.LigarJanela(JanelaMenu::MapaQuotas, [&base] { MapaQuotas(&base).exec(); });
  base.LigarJanela(JanelaMenu::ResumoAno, [&base] { ResumoAno(&base).exec(); });
  base.LigarJanela(JanelaMenu::DadosPessoais,
                   [&base] { DadosSócio(&base, base.SócioActual).exec(); });
  base.LigarJanela(JanelaMenu::QuotasDívida, [&base] { QtsDívida(&base).exec(); });
  base.LigarJanela(JanelaMenu::QuotasEmDia, [&base] { QtsEmDia(&base).exec(); });
  base.ReabrirDados = [&base] { AbrirOrigem(OrigemDaSessão(), &base); };
  base.LigarJanela(JanelaMenu::BaseDados, [&base] {
    JanelaBaseDados *aberta = nullptr;
    JanelaBaseDados janela(
        &base, [&base, &aberta](const OrigemDados &o) { return MudarDados(base, o, *aberta); });
    aberta = &janela;
    janela.exec();
  });
  base.LigarJanela(JanelaMenu::ImportarSócios,
                   [&base] { ImportarSócios(&base, [&base] { base.MostrarListas(); }).exec(); });
}

FimPrograma ExecutarPrograma(const OpçõesArranque &opções) {
  // Each window is shown and waited for here; none of them ends the program on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  FimPrograma fim = FimPrograma::Normal;
  {
    Ampulheta ampulheta;
    const OrigemDados origem = opções.origem ? *opções.origem : OrigemLembrada();
    if (origem == OrigemDados::FicheiroPorOmissão() && !QFileInfo::exists(origem.ficheiro)) {
      try {
        BaseDados::Criar(origem.ficheiro);
      } catch (const ErroBaseDados &e) {
        MostrarErroFicheiro(e);
        return FimPrograma::ErroFicheiro;
      }
    }
    AcessoPermitido() = true;
    // A file is checked from now on, while the start-up window is on screen; awaited when it
    // is opened. A server looks after its own storage.
    std::optional<VerificaçãoAbertura> verificação;
    if (!origem.NoServidor())
      verificação.emplace(origem.ficheiro);

    std::unique_ptr<Base> base;
    {
      Apresentação apresentação(opções.esperaApresentação, verificação ? &*verificação : nullptr,
                                nullptr, origem);
      apresentação.exec();
      base = apresentação.TomarBase();
      if (apresentação.FicheiroFalhou())
        fim = FimPrograma::ErroFicheiro;
    }

    if (AcessoPermitido() && base) {
      QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
      QEventLoop ciclo;
      base->AoFechar = [&ciclo] { ciclo.quit(); };
      base->show();
      if (verificação)
        verificação->Prosseguir();
      // On a file so large that its check outlasts the start-up window, the check ends with
      // the main window up: damage found then is told at once, and the program ends before
      // anything more is read or saved. The file is closed first, so that the restore offered
      // can replace it. A window opened meanwhile is let go first: it reads the file too.
      QTimer vigia;
      if (verificação && !verificação->Terminada()) {
        vigia.setInterval(50);
        QObject::connect(&vigia, &QTimer::timeout, base.get(), [&] {
          // Other data chosen meanwhile: what the check finds no longer concerns the run.
          if (!(OrigemDaSessão() == origem) || !Dados().bd.Aberta()) {
            vigia.stop();
            return;
          }
          if (!verificação->Terminada() || QApplication::activeModalWidget())
            return;
          vigia.stop();
          try {
            verificação->ConfirmarResto();
          } catch (const ErroBaseDados &e) {
            fim = FimPrograma::ErroFicheiro;
            base->hide();
            FecharDados();
            MostrarFicheiroDanificado(e, nullptr, true);
            ciclo.quit();
          }
        });
        vigia.start();
      }
      if (opções.aoMostrarBase)
        opções.aoMostrarBase(*base);
      if (base->isVisible())
        ciclo.exec();
      base.reset();
      QGuiApplication::restoreOverrideCursor();
    } else if (!AcessoPermitido()) {
      fim = FimPrograma::AcessoRecusado;
    }
    FecharDados();
  }
  return fim;
}
