#include "ErroBaseDados.h"

#include <QDir>
#include <QSqlError>

using namespace Qt::StringLiterals;

ErroBaseDados::ErroBaseDados(CausaErro c, QString op, QString f, QString p)
    : causa(c), operação(std::move(op)), ficheiro(std::move(f)), pormenor(std::move(p)) {
  textoC = (operação + u": "_s + pormenor + u" ["_s + ficheiro + u']').toUtf8();
}

ErroBaseDados ErroBaseDados::NoServidor(CausaErro c, QString op, QString ligação, QString p) {
  ErroBaseDados e(c, std::move(op), std::move(ligação), std::move(p));
  e.servidor = true;
  return e;
}

QString ErroBaseDados::MensagemServidor() const {
  const QString nome = u"a base de dados «"_s + ficheiro + u"» no servidor PostgreSQL"_s;
  const QString Nome = u'A' + nome.mid(1);
  switch (causa) {
  case CausaErro::JáExiste:
    return Nome + u" já tem tabelas: as tabelas deste programa só são criadas numa base de "_s
                  u"dados vazia.\nNada foi alterado."_s;
  case CausaErro::FicheiroEstranho:
    return Nome + u" não tem as tabelas de sócios e quotizações deste programa.\n"_s
                  u"Nada foi alterado."_s;
  case CausaErro::EmUso:
    return Nome + u" está ocupada por outro posto: nada foi gravado.\nTente de novo."_s;
  case CausaErro::SóLeitura:
    return u"O utilizador da ligação não tem permissão para alterar "_s + nome +
           u": os dados não foram gravados."_s;
  case CausaErro::DiscoCheio:
    return u"O disco do servidor onde está "_s + nome +
           u" está cheio: os dados não foram gravados."_s;
  case CausaErro::SemAcesso:
    return u"Não foi possível ligar à"_s + nome.mid(1) +
           u".\nVerifique a ligação, a palavra-passe e se o servidor está a funcionar."_s;
  case CausaErro::Duplicado:
    return u"Já existe n"_s + nome + u" um registo com a mesma chave: nada foi gravado."_s;
  case CausaErro::ValorInválido:
    return u"Um valor não cabe no seu campo d"_s + nome + u": nada foi gravado."_s;
  case CausaErro::SemRegistoActual:
    return u"Não há registo actual n"_s + nome + u'.';
  case CausaErro::ComDados:
    return Nome + u" já tem dados: os dados só são copiados para tabelas vazias.\n"_s
                  u"Nada foi alterado."_s;
  case CausaErro::CópiaIncompleta:
    return u"A cópia dos dados para "_s + nome +
           u" não ficou completa (o número de registos não coincide com o da origem).\n"_s
           u"Nada foi gravado."_s;
  case CausaErro::ServidorIndisponível:
    return u"Não foi possível chegar à"_s + nome.mid(1) +
           u": o servidor não responde ou não está a aceitar ligações.\nVerifique se o "_s
           u"servidor está a funcionar e se a rede chega até ele; o programa volta a ligar-se "_s
           u"na próxima operação."_s;
  case CausaErro::Autenticação:
    return u"O servidor PostgreSQL recusou o utilizador ou a palavra-passe da ligação à"_s +
           nome.mid(1) + u".\nVerifique o utilizador e a palavra-passe (~/.pgpass)."_s;
  case CausaErro::VersãoServidor:
    return u"O servidor PostgreSQL onde está "_s + nome.mid(1) + u" tem a versão "_s + pormenor +
           u", e este programa precisa da versão "_s +
           QString::number(VersãoMínimaServidor / 10000) +
           u" ou mais recente.\nA base de dados não foi aberta."_s;
  case CausaErro::LigaçãoPerdida:
    return u"Perdeu-se a ligação à"_s + nome.mid(1) +
           u": o que estava a ser feito não foi concluído e nada foi gravado.\n"_s
           u"Tente de novo: o programa volta a ligar-se ao servidor."_s;
  case CausaErro::GravaçãoIncerta:
    return u"Perdeu-se a ligação à"_s + nome.mid(1) +
           u" no momento de concluir a gravação, e o servidor ainda não responde: não foi "_s
           u"possível saber se os dados foram gravados.\nQuando o servidor voltar, veja se os "_s
           u"dados lá estão antes de os gravar de novo."_s;
  default:
    return u"Ocorreu um erro ao usar "_s + nome + u'.';
  }
}

QString ErroBaseDados::Mensagem() const {
  if (servidor)
    return MensagemServidor();
  const QString nome = u'«' + QDir::toNativeSeparators(ficheiro) + u'»';
  QString r;
  switch (causa) {
  case CausaErro::FicheiroInexistente:
    r = u"O ficheiro "_s + nome + u" não existe."_s;
    break;
  case CausaErro::JáExiste:
    r = u"O ficheiro "_s + nome + u" já existe e não foi substituído."_s;
    break;
  case CausaErro::NãoÉBaseDados:
    r = u"O ficheiro "_s + nome +
        (pormenor == PormenorFicheiroVazio ? u" está vazio:"_s : QString()) +
        u" não é uma base de dados deste programa.\nO ficheiro não foi alterado."_s;
    break;
  case CausaErro::FicheiroEstranho:
    r = u"O ficheiro "_s + nome +
        u" é uma base de dados, mas não tem as tabelas de sócios e quotizações deste "_s
        u"programa.\nO ficheiro não foi alterado."_s;
    break;
  case CausaErro::Danificado:
    r = u"O ficheiro "_s + nome +
        u" está danificado.\nReponha uma cópia de segurança recente antes de continuar."_s;
    break;
  case CausaErro::EmUso:
    r = u"O ficheiro "_s + nome +
        u" está a ser usado por outro programa.\nFeche esse programa e tente de novo."_s;
    break;
  case CausaErro::AbertoNoutroPrograma:
    r = u"O ficheiro "_s + nome + u" está aberto noutro programa: "_s + pormenor +
        u".\nFeche esse programa e tente de novo."_s;
    break;
  case CausaErro::MarcaDanificada:
    r = u"A marca "_s + nome +
        u", que indica que o ficheiro de sócios está a ser usado, está danificada (vazia, "_s
        u"ilegível ou sem ser um ficheiro) e não foi possível saber se algum programa tem o "_s
        u"ficheiro aberto.\nSe nenhum programa estiver a usar o ficheiro, apague essa marca e "_s
        u"tente de novo."_s;
    break;
  case CausaErro::MarcaImpossível:
    r = u"Não foi possível escrever a marca «"_s + QDir::toNativeSeparators(ficheiro) +
        u".lock», que indica que o ficheiro "_s + nome +
        u" está a ser usado: o disco está cheio ou recusou a escrita. Sem ela, outro programa "_s
        u"poderia alterar o ficheiro ao mesmo tempo, por isso o ficheiro não foi aberto.\n"_s
        u"Liberte espaço no disco e tente de novo."_s;
    break;
  case CausaErro::SóLeitura:
    r = u"O ficheiro "_s + nome +
        u" (ou a pasta onde está) só permite leitura: os dados não foram gravados."_s;
    break;
  case CausaErro::DiscoCheio:
    r = u"O disco onde está o ficheiro "_s + nome +
        u" está cheio: os dados não foram gravados.\nLiberte espaço no disco e tente de novo."_s;
    break;
  case CausaErro::ErroDisco:
    r = u"Não foi possível ler ou escrever no disco onde está o ficheiro "_s + nome +
        u": a operação não foi concluída.\nVerifique se o disco continua ligado e tente de novo."_s;
    break;
  case CausaErro::SemAcesso:
    r = u"Não foi possível abrir o ficheiro "_s + nome +
        u".\nVerifique se a pasta existe e se tem permissão para a usar."_s;
    break;
  case CausaErro::Duplicado:
    r = u"Já existe no ficheiro "_s + nome + u" um registo com a mesma chave: nada foi gravado."_s;
    break;
  case CausaErro::ValorInválido:
    r = u"Um valor não cabe no seu campo do ficheiro "_s + nome + u": nada foi gravado."_s;
    break;
  case CausaErro::SemRegistoActual:
    r = u"Não há registo actual no ficheiro "_s + nome + u'.';
    break;
  case CausaErro::ComDados:
    r = u"O ficheiro "_s + nome +
        u" já tem dados: os dados só são copiados para tabelas vazias.\nNada foi alterado."_s;
    break;
  case CausaErro::CópiaIncompleta:
    r = u"A cópia dos dados para o ficheiro "_s + nome +
        u" não ficou completa (o número de registos não coincide com o da origem).\n"_s
        u"Nada foi gravado."_s;
    break;
  case CausaErro::Desconhecida:
  case CausaErro::ServidorIndisponível:
  case CausaErro::Autenticação:
  case CausaErro::VersãoServidor:
  case CausaErro::LigaçãoPerdida:
  case CausaErro::GravaçãoIncerta:
    r = u"Ocorreu um erro ao usar o ficheiro "_s + nome + u'.';
    break;
  }
  return r;
}

QString ErroBaseDados::Detalhes() const {
  // The holder of the file is named in the message itself.
  if (pormenor.isEmpty() || causa == CausaErro::AbertoNoutroPrograma)
    return {};
  return operação + u": "_s + pormenor;
}

CausaErro CausaDoErro(const QSqlError &erro) {
  bool ok = false;
  const int completo = erro.nativeErrorCode().toInt(&ok); // the driver reports extended codes
  const int código = completo & 0xff;                     // primary result code
  const QString texto = erro.databaseText();
  if (!ok)
    return CausaErro::Desconhecida;
  // A write refused part-way (SQLITE_IOERR_WRITE) is, on a working disk, a file that found no
  // more room: a quota, or a size limit of the medium (FAT's 4 GB). A plain full disk comes as
  // SQLITE_FULL.
  if (completo == (10 | (3 << 8)))
    return CausaErro::DiscoCheio;
  switch (código) {
  case 5: // SQLITE_BUSY
  case 6: // SQLITE_LOCKED
    return CausaErro::EmUso;
  case 8: // SQLITE_READONLY
    return CausaErro::SóLeitura;
  case 11: // SQLITE_CORRUPT
    return CausaErro::Danificado;
  case 13: // SQLITE_FULL
    return CausaErro::DiscoCheio;
  case 10: // SQLITE_IOERR
    return CausaErro::ErroDisco;
  case 3:  // SQLITE_PERM
  case 14: // SQLITE_CANTOPEN
    return CausaErro::SemAcesso;
  case 19: // SQLITE_CONSTRAINT
    return texto.contains(u"UNIQUE"_s, Qt::CaseInsensitive) ? CausaErro::Duplicado
                                                            : CausaErro::ValorInválido;
  case 20: // SQLITE_MISMATCH
  case 18: // SQLITE_TOOBIG
    return CausaErro::ValorInválido;
  case 26: // SQLITE_NOTADB
    return CausaErro::NãoÉBaseDados;
  default:
    return CausaErro::Desconhecida;
  }
}

ErroBaseDados ErroDoMotor(const QSqlError &erro, const QString &operação, const QString &ficheiro) {
  QString pormenor = erro.databaseText();
  if (pormenor.isEmpty())
    pormenor = erro.driverText();
  return ErroBaseDados(CausaDoErro(erro), operação, ficheiro, pormenor);
}

CausaErro CausaDoErroServidor(const QSqlError &erro) {
  const QString estado = erro.nativeErrorCode();
  if (estado.isEmpty()) {
    if (erro.type() != QSqlError::ConnectionError)
      return CausaErro::Desconhecida;
    // A failed login carries no SQLSTATE, only libpq's text (in English where libpq has no
    // translation for the user's language; any other text gives the general refusal).
    const QString texto = erro.databaseText();
    static const char *const semServidor[] = {
        "Connection refused",  "could not connect",        "timeout expired",
        "No route to host",    "Network is unreachable",   "could not translate host name",
        "No such file or dir", "server closed the connection", "not currently accepting",
        "shutting down",       "starting up",              "in recovery mode"};
    for (const char *t : semServidor)
      if (texto.contains(QLatin1StringView(t), Qt::CaseInsensitive))
        return CausaErro::ServidorIndisponível;
    if (texto.contains(u"authentication failed"_s, Qt::CaseInsensitive) ||
        texto.contains(u"no password supplied"_s, Qt::CaseInsensitive) ||
        texto.contains(u"role \""_s, Qt::CaseInsensitive))
      return CausaErro::Autenticação;
    return CausaErro::SemAcesso;
  }
  if (estado == u"23505"_s) // unique_violation
    return CausaErro::Duplicado;
  // integrity constraints (a CHECK, a NOT NULL), and data that does not fit its type
  if (estado.startsWith(u"23"_s) || estado.startsWith(u"22"_s))
    return CausaErro::ValorInválido;
  if (estado == u"40001"_s || estado == u"40P01"_s || estado == u"55P03"_s)
    return CausaErro::EmUso; // serialization failure, deadlock, lock not available
  if (estado == u"42P07"_s)  // duplicate_table: created meanwhile by another desk
    return CausaErro::JáExiste;
  if (estado == u"42501"_s) // insufficient_privilege
    return CausaErro::SóLeitura;
  if (estado == u"42P01"_s || estado == u"42703"_s) // undefined table or column
    return CausaErro::FicheiroEstranho;
  if (estado == u"53100"_s) // disk_full
    return CausaErro::DiscoCheio;
  if (estado.startsWith(u"28"_s)) // invalid authorization
    return CausaErro::Autenticação;
  // the server shut down or the session was ended by the administrator
  if (estado.startsWith(u"08"_s) || estado.startsWith(u"57P"_s))
    return CausaErro::LigaçãoPerdida;
  // a database that does not exist
  if (estado == u"3D000"_s)
    return CausaErro::SemAcesso;
  return CausaErro::Desconhecida;
}

ErroBaseDados ErroDoServidor(const QSqlError &erro, const QString &operação,
                             const QString &ligação) {
  QString pormenor = erro.databaseText();
  if (pormenor.isEmpty())
    pormenor = erro.driverText();
  return ErroBaseDados::NoServidor(CausaDoErroServidor(erro), operação, ligação, pormenor);
}
