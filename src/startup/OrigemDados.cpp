#include "OrigemDados.h"

#include "Dados.h"
#include "ErroBaseDados.h"
#include "JanelaSenha.h"
#include "Verificacao.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString ChaveServidor = u"BaseDados/Servidor"_s;

OrigemDados &Sessão() {
  static OrigemDados origem = OrigemDados::FicheiroPorOmissão();
  return origem;
}

bool ÉFicheiroPorOmissão(const QString &ficheiro) {
  return QFileInfo(ficheiro).absoluteFilePath() == QFileInfo(NomeFicheiroDados).absoluteFilePath();
}

} // namespace

OrigemDados OrigemDados::FicheiroPorOmissão() {
  return OrigemDados{NomeFicheiroDados, {}};
}

QString OrigemDados::ParaMostrar() const {
  return NoServidor() ? BaseDados::LigaçãoParaMostrar(ligação)
                      : QDir::toNativeSeparators(QFileInfo(ficheiro).absoluteFilePath());
}

bool ÉLigaçãoServidor(const QString &texto) {
  static const QRegularExpression palavraChave(uR"(^\s*[A-Za-z_]+\s*=)"_s);
  static const QRegularExpression endereço(uR"(^\s*postgres(ql)?://)"_s,
                                           QRegularExpression::CaseInsensitiveOption);
  return palavraChave.match(texto).hasMatch() || endereço.match(texto).hasMatch();
}

QString ProblemaDaLigação(const QString &ligação) {
  static const QRegularExpression palavraChave(uR"(^\s*[A-Za-z_]+\s*=)"_s);
  if (palavraChave.match(ligação).hasMatch())
    return {};
  return u"A ligação tem de ser escrita como «palavra=valor», por exemplo «host=servidor "_s
         u"dbname=agremia user=nome» ou «service=agremia»: um endereço «postgresql://...» não "_s
         u"é aceite."_s;
}

ArgumentosPrograma LerArgumentos(const QStringList &argumentos) {
  ArgumentosPrograma r;
  const QString opção = u"--base-dados"_s;
  for (qsizetype i = 0; i < argumentos.size() && r.erro.isEmpty(); ++i) {
    const QString &a = argumentos[i];
    QString valor;
    if (a == u"-h"_s || a == u"--help"_s) {
      r.ajuda = true;
      continue;
    }
    if (a == opção) {
      if (i + 1 >= argumentos.size()) {
        r.erro = u"Falta a base de dados a seguir a «--base-dados»."_s;
        break;
      }
      valor = argumentos[++i];
    } else if (a.startsWith(opção + u'=')) {
      valor = a.mid(opção.size() + 1);
    } else if (a.startsWith(u'-')) {
      r.erro = u"Opção desconhecida: «"_s + a + u"»."_s;
      break;
    } else {
      r.erro = u"Argumento inesperado: «"_s + a + u"»."_s;
      break;
    }
    if (valor.trimmed().isEmpty()) {
      r.erro = u"A base de dados indicada em «--base-dados» está em branco."_s;
    } else if (ÉLigaçãoServidor(valor)) {
      r.erro = ProblemaDaLigação(valor);
      if (r.erro.isEmpty())
        r.origem = OrigemDados{{}, valor};
    } else {
      // The backup tool, the lock and the printed documents all go by the data file's folder
      // and its one name: a file under another name would be half looked after.
      QString ficheiro = QFileInfo(valor).isDir() ? QDir(valor).filePath(NomeFicheiroDados) : valor;
      if (QFileInfo(ficheiro).fileName().compare(NomeFicheiroDados, Qt::CaseInsensitive) != 0)
        r.erro = u"O ficheiro de dados chama-se "_s + NomeFicheiroDados + u": indique-o («"_s +
                 valor + u"» não é), ou a pasta onde está."_s;
      else
        r.origem = OrigemDados{ficheiro, {}};
    }
  }
  return r;
}

QString TextoAjudaArgumentos() {
  return u"Utilização: agremia [--base-dados LIGAÇÃO]\n"
         u"Ficheiro de sócios e quotizações de uma colectividade.\n\n"
         u"  --base-dados LIGAÇÃO  Usa estes dados só nesta execução; a escolha feita em\n"
         u"                        «Arquivo › Base de Dados...» fica como estava.\n"
         u"                        LIGAÇÃO é uma base de dados num servidor PostgreSQL,\n"
         u"                        escrita como para a libpq: \"host=servidor dbname=agremia\n"
         u"                        user=nome sslmode=require\" ou \"service=agremia\" (do\n"
         u"                        pg_service.conf); ou então o ficheiro Quotas.Dad de outra\n"
         u"                        pasta, ou essa pasta. Um texto que começa por \"palavra=\"\n"
         u"                        é uma ligação (os endereços \"postgresql://\" não são\n"
         u"                        aceites); qualquer outro é um ficheiro, que tem de existir\n"
         u"                        (o da pasta de trabalho é criado, como sempre, se faltar).\n"
         u"                        A palavra-passe do servidor vem do ~/.pgpass (ou de\n"
         u"                        PGPASSFILE); se o servidor a pedir sem a encontrar, o\n"
         u"                        programa pergunta-a ao arrancar e não a guarda.\n"
         u"  -h, --help            Mostra esta ajuda.\n"
         u"  -V, --version         Mostra a versão.\n"_s;
}

bool AjudaPedida(int argc, char **argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
      return true;
  return false;
}

OrigemDados OrigemLembrada() {
  const QString ligação = QSettings().value(ChaveServidor).toString();
  return ligação.trimmed().isEmpty() ? OrigemDados::FicheiroPorOmissão() : OrigemDados{{}, ligação};
}

bool LembrarOrigem(const OrigemDados &origem) {
  QSettings definições;
  if (origem.NoServidor())
    definições.setValue(ChaveServidor, origem.ParaMostrar()); // never the password
  else
    definições.remove(ChaveServidor);
  definições.sync();
  return definições.status() == QSettings::NoError;
}

QString LigaçãoComSenha(const QString &ligação, const QString &senha) {
  QString valor = senha;
  valor.replace(u'\\', u"\\\\"_s).replace(u'\'', u"\\'"_s);
  return ligação.trimmed() + u" password='"_s + valor + u'\'';
}

bool FaltaSenha(const ErroBaseDados &e) {
  if (!e.DoServidor() ||
      (e.Causa() != CausaErro::Autenticação && e.Causa() != CausaErro::SemAcesso))
    return false;
  // libpq's own words ("fe_sendauth: no password supplied"), and the server's for a password
  // it refused; the prefix stays untranslated in libpq's translations.
  const QString &p = e.Pormenor();
  return p.contains(u"fe_sendauth"_s) ||
         p.contains(u"password authentication failed"_s, Qt::CaseInsensitive);
}

QString LigarComSenha(const QString &ligação, QWidget *pai,
                      const std::function<void(const QString &)> &ligar) {
  try {
    ligar(ligação);
    return ligação;
  } catch (const ErroBaseDados &e) {
    if (!FaltaSenha(e))
      throw;
    QString aviso;
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
      JanelaSenha janela(BaseDados::LigaçãoParaMostrar(ligação), aviso, pai);
      const std::optional<QString> senha = janela.Pedir();
      if (!senha)
        throw e;
      const QString comSenha = LigaçãoComSenha(ligação, *senha);
      try {
        ligar(comSenha);
        return comSenha;
      } catch (const ErroBaseDados &outro) {
        if (!FaltaSenha(outro) || tentativa == 2)
          throw;
        aviso = u"O servidor não aceitou a palavra-passe. Tente de novo."_s;
      }
    }
    throw e;
  }
}

void AbrirOrigem(const OrigemDados &origem, QWidget *pai) {
  if (origem.NoServidor()) {
    const QString usada =
        LigarComSenha(origem.ligação, pai, [](const QString &l) { AbrirDadosServidor(l); });
    Sessão() = OrigemDados{{}, usada};
    return;
  }
  FecharDados();
  if (ÉFicheiroPorOmissão(origem.ficheiro) && !QFileInfo::exists(origem.ficheiro))
    BaseDados::Criar(origem.ficheiro);
  // Nothing is shown from a damaged file, as at start-up.
  {
    VerificaçãoAbertura verificação(origem.ficheiro);
    verificação.Confirmar();
    verificação.Prosseguir();
    verificação.ConfirmarResto();
  }
  AbrirDados(origem.ficheiro);
  Sessão() = origem;
}

const OrigemDados &OrigemDaSessão() {
  return Sessão();
}

void DefinirOrigemDaSessão(const OrigemDados &origem) {
  Sessão() = origem;
}
