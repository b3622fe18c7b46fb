#include "Acerca.h"
#include "Arquivex.h"
#include "Janelas.h"
#include "Permissoes.h"
#include "Traducoes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[]) {
  if (VersãoPedida(argc, argv)) {
    QCoreApplication app(argc, argv);
    std::fputs(TextoVersão(u"arquivex"_s).toLocal8Bit().constData(), stdout);
    return 0;
  }
  QApplication app(argc, argv);
  app.setApplicationName(u"Arquivex"_s);
  app.setApplicationVersion(VersãoAgremia());
  app.setWindowIcon(ÍconePrograma());
  app.setOrganizationName(u"Agremia"_s);
  ReservarFicheirosAoDono();
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Portugal));
  InstalarTraduçõesQt();
  DevolverTecladoDepoisDeModais();

  // The main program passes "-r" for a restore; "/r" is the same request in Windows' style.
  bool repor = false;
  for (const QString &a : app.arguments().mid(1))
    repor = repor || a.compare(u"-r"_s, Qt::CaseInsensitive) == 0 ||
            a.compare(u"/r"_s, Qt::CaseInsensitive) == 0;

  // The data folder is the working folder the main program leaves us in.
  Arquivex janela(repor ? Arquivex::Modo::Reposição : Arquivex::Modo::Segurança,
                  QDir::currentPath());
  janela.exec();
  return 0;
}
