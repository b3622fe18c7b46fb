#include "Acerca.h"
#include "Arquivex.h"
#include "BaseDados.h"
#include "Janelas.h"
#include "Permissoes.h"
#include "Traducoes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString Ajuda =
    u"Utilização: arquivex [-r] [--base-dados LIGAÇÃO]\n"_s
    u"Faz uma cópia de segurança do ficheiro de sócios (Quotas.Dad da pasta actual) na pasta\n"_s
    u"«Seguranças», ou repõe uma cópia.\n\n"_s
    u"  -r, /r                  repor uma cópia de segurança em vez de a fazer\n"_s
    u"  --base-dados LIGAÇÃO    os dados de uma base de dados num servidor PostgreSQL, dada\n"_s
    u"                          como no libpq (\"host=... dbname=...\" ou \"service=...\"):\n"_s
    u"                          a cópia é um ficheiro como Quotas.Dad; a reposição\n"_s
    u"                          substitui os dados da base de dados, com nenhum outro posto\n"_s
    u"                          ligado\n"_s
    u"  -h, --help              mostrar esta ajuda e sair\n"_s
    u"  -V, --version           mostrar a versão e sair\n"_s;

bool AjudaPedida(int argc, char **argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
      return true;
  return false;
}

} // namespace

int main(int argc, char *argv[]) {
  if (VersãoPedida(argc, argv)) {
    QCoreApplication app(argc, argv);
    std::fputs(TextoVersão(u"arquivex"_s).toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (AjudaPedida(argc, argv)) {
    QCoreApplication app(argc, argv);
    std::fputs(Ajuda.toLocal8Bit().constData(), stdout);
    return 0;
  }
  // The value of "--base-dados LIGAÇÃO" or "--base-dados=LIGAÇÃO", as the main program takes it.
  QString ligação;
  bool semLigação = false;
  {
    QStringList a;
    for (int i = 0; i < argc; ++i)
      a << QString::fromLocal8Bit(argv[i]);
    for (qsizetype i = 1; i < a.size(); ++i) {
      if (a[i] == u"--base-dados"_s) {
        if (i + 1 < a.size())
          ligação = a[++i];
        semLigação = ligação.trimmed().isEmpty();
      } else if (a[i].startsWith(u"--base-dados="_s)) {
        ligação = a[i].mid(13);
        semLigação = ligação.trimmed().isEmpty();
      }
    }
  }
  if (semLigação) {
    std::fputs("arquivex: --base-dados precisa da ligação à base de dados (libpq), por exemplo "
               "--base-dados \"host=servidor dbname=agremia\"\n",
               stderr);
    return 2;
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
  BaseDados::DefinirNomePrograma(u"Arquivex"_s);
  Arquivex janela(repor ? Arquivex::Modo::Reposição : Arquivex::Modo::Segurança,
                  QDir::currentPath(), ligação);
  janela.exec();
  return 0;
}
