#include "Acerca.h"
#include "Aplicacao.h"
#include "Arranque.h"
#include "OrigemDados.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[]) {
  // Answered without a display: from a terminal, or by a check of the installed package.
  if (VersãoPedida(argc, argv)) {
    QCoreApplication app(argc, argv);
    std::fputs(TextoVersão(QStringLiteral("agremia")).toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (AjudaPedida(argc, argv)) {
    QCoreApplication app(argc, argv);
    std::fputs(TextoAjudaArgumentos().toLocal8Bit().constData(), stdout);
    return 0;
  }
  AplicaçãoAgremia app(argc, argv);
  // Read after Qt has taken its own arguments (-platform, -style) out of the list.
  const ArgumentosPrograma argumentos = LerArgumentos(app.arguments().mid(1));
  if (!argumentos.erro.isEmpty()) {
    std::fputs(
        (argumentos.erro + QStringLiteral("\nVeja «agremia --help».\n")).toLocal8Bit().constData(),
        stderr);
    return 2;
  }
  PrepararAplicação(app);
  OpçõesArranque opções;
  opções.origem = argumentos.origem;
  return ExecutarPrograma(opções) == FimPrograma::ErroFicheiro ? 1 : 0;
}
