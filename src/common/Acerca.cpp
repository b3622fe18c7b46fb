#include "Acerca.h"

#include "Dados.h"
#include "Mensagens.h"
#include "Versao.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString Licença = u"GNU GPL, versão 3 ou posterior (GPL-3.0-or-later)"_s;

} // namespace

QString VersãoAgremia() {
  return QStringLiteral(AGREMIA_VERSAO);
}

QString VersãoSQLite() {
  QString versão = u"?"_s;
  const QString ligação = u"agremia-versão"_s;
  {
    QSqlDatabase bd = QSqlDatabase::addDatabase(u"QSQLITE"_s, ligação);
    bd.setDatabaseName(u":memory:"_s);
    if (bd.isValid() && bd.open()) {
      QSqlQuery q(bd);
      if (q.exec(u"SELECT sqlite_version()"_s) && q.next())
        versão = q.value(0).toString();
      bd.close();
    }
  }
  QSqlDatabase::removeDatabase(ligação);
  return versão;
}

bool VersãoPedida(int argc, char **argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-V") == 0)
      return true;
  return false;
}

QString TextoVersão(const QString &programa) {
  return programa + u' ' + VersãoAgremia() + u"\nLicença: "_s + Licença + u"\nQt "_s +
         QString::fromLatin1(qVersion()) + u", SQLite "_s + VersãoSQLite() + u'\n';
}

void MostrarAcerca(QWidget *pai, const QString &ficheiroDados) {
  QString dados = u"\n\nFicheiro de dados:\n"_s + (ficheiroDados.isEmpty()
                                                       ? u"nenhum aberto"_s
                                                       : QDir::toNativeSeparators(ficheiroDados));
  QString motor = u", SQLite "_s + VersãoSQLite();
  BaseDados &bd = Dados().bd;
  if (bd.Aberta() && bd.MotorAberto() == Motor::PostgreSQL) {
    dados = u"\n\nDados no servidor PostgreSQL:\n"_s + bd.Caminho();
    try {
      Instrução i = bd.Correr(u"SELECT current_setting('server_version')"_s, {},
                              u"Ler a versão do servidor"_s);
      if (i.Seguinte())
        motor += u", PostgreSQL "_s + i.Texto(0);
    } catch (const ErroBaseDados &) {
      // The server's version is only told: a server out of reach does not stop the window.
    }
  }
  MostrarMensagem(u"Agremia "_s + VersãoAgremia() +
                      u"\nFicheiro de sócios e quotizações de uma colectividade.\n\nLicença: "_s +
                      Licença + dados + u"\n\nQt "_s + QString::fromLatin1(qVersion()) + motor,
                  Botões::OK, Ícone::Informação, u"Acerca do Agremia"_s, pai);
}

// The icons live in a static library, whose resources are not registered on their own.
// Q_INIT_RESOURCE declares the registration function where it stands: global scope.
static void RegistarÍcones() {
  static bool registados = false;
  if (!registados) {
    Q_INIT_RESOURCE(icones);
    registados = true;
  }
}

QIcon ÍconePrograma() {
  RegistarÍcones();
  QIcon í;
  for (const int lado : {32, 64, 256})
    í.addFile(u":/icones/agremia-"_s + QString::number(lado) + u".png"_s, QSize(lado, lado));
  return í;
}
