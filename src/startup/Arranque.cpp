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
#include "QtsAtrazo.h"
#include "QtsDivida.h"
#include "QtsEmDia.h"
#include "ResumoAno.h"
#include "Tabelas.h"
#include "TaloesRecibo.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>

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

    std::unique_ptr<Base> base;
    {
      Apresentação apresentação(opções.esperaApresentação);
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
