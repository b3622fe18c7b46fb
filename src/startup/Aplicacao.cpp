#include "Aplicacao.h"
#include "Acerca.h"
#include "Permissoes.h"

#include "ErroBaseDados.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Traducoes.h"

#include <QLocale>

using namespace Qt::StringLiterals;

AplicaçãoAgremia::AplicaçãoAgremia(int &argc, char **argv) : QApplication(argc, argv) {}

bool AplicaçãoAgremia::notify(QObject *receptor, QEvent *evento) {
  try {
    return QApplication::notify(receptor, evento);
  } catch (const ErroBaseDados &e) {
    Bip();
    MostrarErro(e, u"Agremia"_s);
  } catch (const std::exception &e) {
    Bip();
    MostrarMensagem(u"Ocorreu um erro interno do programa; a operação não foi concluída.\n\n("_s +
                        QString::fromUtf8(e.what()) + u')',
                    Botões::OK, Ícone::Crítico, u"Agremia"_s);
  }
  return false;
}

void PrepararAplicação(QApplication &app) {
  app.setApplicationName(u"Agremia"_s);
  app.setOrganizationName(u"Agremia"_s);
  app.setApplicationVersion(VersãoAgremia());
  app.setWindowIcon(ÍconePrograma());
  // The desktop entry's name: the task list shows the entry's icon beside the windows.
  QGuiApplication::setDesktopFileName(u"io.github.agremia.agremia"_s);
  ReservarFicheirosAoDono();
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
  InstalarTraduçõesQt();
  DevolverTecladoDepoisDeModais();
}
