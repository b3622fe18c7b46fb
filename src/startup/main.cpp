#include "Acerca.h"
#include "Aplicacao.h"
#include "Arranque.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
  // Answered without a display: from a terminal, or by a check of the installed package.
  if (VersãoPedida(argc, argv)) {
    QCoreApplication app(argc, argv);
    std::fputs(TextoVersão(QStringLiteral("agremia")).toLocal8Bit().constData(), stdout);
    return 0;
  }
  AplicaçãoAgremia app(argc, argv);
  PrepararAplicação(app);
  return ExecutarPrograma() == FimPrograma::ErroFicheiro ? 1 : 0;
}
