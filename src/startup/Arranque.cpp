#include "Arranque.h"

#include "AltAcesso.h"
#include "Apresentacao.h"
#include "Base.h"
#include "ColDados.h"
#include "Dados.h"
#include "DadosSocio.h"
#include "DeclIRS.h"
#include "ImportarSocios.h"
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
  base.LigarJanela(JanelaMenu::ImportarSócios,
                   [&base] { ImportarSócios(&base, [&base] { base.MostrarListas(); }).exec(); });
}

FimPrograma ExecutarPrograma(const OpçõesArranque &opções) {
  // Each window is shown and waited for here; none of them ends the program on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  FimPrograma fim = FimPrograma::Normal;
  {
    Ampulheta ampulheta;
    if (!QFileInfo::exists(NomeFicheiroDados)) {
      try {
        BaseDados::Criar(NomeFicheiroDados);
      } catch (const ErroBaseDados &e) {
        MostrarErroFicheiro(e);
        return FimPrograma::ErroFicheiro;
      }
    }
    AcessoPermitido() = true;
    // Checked from now on, while the start-up window is on screen; awaited when it is opened.
    VerificaçãoAbertura verificação(NomeFicheiroDados);

    std::unique_ptr<Base> base;
    {
      Apresentação apresentação(opções.esperaApresentação, &verificação);
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
      verificação.Prosseguir();
      // On a file so large that its check outlasts the start-up window, the check ends with
      // the main window up: damage found then is told at once, and the program ends before
      // anything more is read or saved. The file is closed first, so that the restore offered
      // can replace it. A window opened meanwhile is let go first: it reads the file too.
      QTimer vigia;
      if (!verificação.Terminada()) {
        vigia.setInterval(50);
        QObject::connect(&vigia, &QTimer::timeout, base.get(), [&] {
          if (!verificação.Terminada() || QApplication::activeModalWidget())
            return;
          vigia.stop();
          try {
            verificação.ConfirmarResto();
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
