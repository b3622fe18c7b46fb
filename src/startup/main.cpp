#include "Aplicacao.h"
#include "Arranque.h"

int main(int argc, char *argv[]) {
  AplicaçãoAgremia app(argc, argv);
  PrepararAplicação(app);
  return ExecutarPrograma() == FimPrograma::ErroFicheiro ? 1 : 0;
}
