#include "Permissoes.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

void ReservarFicheirosAoDono() {
#ifdef Q_OS_UNIX
  // The mask covers every way a file comes to be (the engine, QSaveFile, QLockFile, the PDF
  // writer, mkpath), where setting permissions file by file would miss one.
  umask(S_IRWXG | S_IRWXO);
#endif
}
