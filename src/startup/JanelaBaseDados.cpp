#include "JanelaBaseDados.h"

#include "Campos.h"
#include "Comandos.h"
#include "CopiaDados.h"
#include "Dados.h"
#include "Janelas.h"
#include "Mensagens.h"

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Base de Dados"_s;

QString NomeServidor(const QString &ligação) {
  return u"a base de dados «"_s + BaseDados::LigaçãoParaMostrar(ligação) +
         u"» no servidor PostgreSQL"_s;
}

} // namespace

JanelaBaseDados::JanelaBaseDados(QWidget *pai, std::function<bool(const OrigemDados &)> m)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint), mudar(std::move(m)) {
  PrepararJanela(this, u"BaseDados"_s, Título);
  auto *moldura = MolduraElevada(this);

  auto *emUso = new QLabel(u"Dados em uso:"_s);
  Actual = new QLabel(Dados().bd.Aberta() ? OrigemDaSessão().ParaMostrar()
                                          : u"nenhuns (não foi possível abri-los)"_s);
  Actual->setObjectName(u"Actual"_s);
  Actual->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Actual->setWordWrap(true);

  OpçãoFicheiro =
      new QRadioButton(u"&Ficheiro "_s + NomeFicheiroDados + u" na pasta de trabalho"_s);
  OpçãoFicheiro->setObjectName(u"OpcaoFicheiro"_s);
  auto *caminho = new QLabel(OrigemDados::FicheiroPorOmissão().ParaMostrar());
  caminho->setObjectName(u"CaminhoFicheiro"_s);
  caminho->setTextInteractionFlags(Qt::TextSelectableByMouse);
  OpçãoServidor = new QRadioButton(u"Base de dados num &servidor PostgreSQL"_s);
  OpçãoServidor->setObjectName(u"OpcaoServidor"_s);

  Ligação = CampoTexto(u"Ligacao"_s, 1000);
  Ligação->setMinimumWidth(Ligação->fontMetrics().averageCharWidth() * 50);
  Ligação->setPlaceholderText(u"host=servidor dbname=agremia user=nome"_s);
  AplicarComportamento(Ligação, {.seleccionarTudo = false});
  auto *legenda = Legenda(u"&Ligação:"_s, Ligação);
  auto *explicação =
      new QLabel(u"Uma ligação como para a libpq: «host=servidor dbname=agremia user=nome» ou "_s
                 u"«service=agremia» (do pg_service.conf). A palavra-passe vem do ~/.pgpass; se "_s
                 u"faltar, é pedida e não fica guardada."_s);
  explicação->setWordWrap(true);

  CriarComandos(
      Comando,
      {u"&Cancelar"_s, u"&Usar estes dados"_s, u"&Testar ligação"_s, u"Criar as t&abelas"_s,
       u"Copiar o ficheiro para o ser&vidor"_s, u"Copiar do servidor para o fic&heiro"_s},
      [this](int i) { ComandoClicado(i); });
  ÍconesConfirmarCancelar(Comando[1], Comando[0]);
  // Enter confirms as in any dialog; Escape closes it as "&Cancelar" does.
  Comando[1]->setDefault(true);

  auto *grelha = new QGridLayout;
  grelha->addWidget(emUso, 0, 0, 1, 2);
  grelha->addWidget(Actual, 1, 1);
  grelha->addWidget(OpçãoFicheiro, 2, 0, 1, 2);
  grelha->addWidget(caminho, 3, 1);
  grelha->addWidget(OpçãoServidor, 4, 0, 1, 2);
  grelha->addWidget(legenda, 5, 0, Qt::AlignRight);
  grelha->addWidget(Ligação, 5, 1);
  grelha->addWidget(explicação, 6, 1);
  auto *botõesServidor = new QHBoxLayout;
  botõesServidor->addWidget(Comando[2]);
  botõesServidor->addWidget(Comando[3]);
  botõesServidor->addStretch();
  grelha->addLayout(botõesServidor, 7, 1);
  auto *botõesCópia = new QHBoxLayout;
  botõesCópia->addWidget(Comando[4]);
  botõesCópia->addWidget(Comando[5]);
  botõesCópia->addStretch();
  grelha->addLayout(botõesCópia, 8, 1);
  grelha->setColumnMinimumWidth(0, 24);
  grelha->setColumnStretch(1, 1);
  auto *corpo = new QVBoxLayout(moldura);
  corpo->setContentsMargins(12, 12, 12, 12);
  corpo->addWidget(PainelTítulo(Título));
  corpo->addLayout(grelha);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  EncadearTabulação({OpçãoFicheiro, OpçãoServidor, Ligação, Comando[2], Comando[3], Comando[4],
                     Comando[5], Comando[1], Comando[0]});

  // The data in use is chosen to begin with; a server's string is shown without a password.
  const OrigemDados &sessão = OrigemDaSessão();
  if (sessão.NoServidor()) {
    OpçãoServidor->setChecked(true);
    Ligação->setText(sessão.ParaMostrar());
    ligaçãoEscrita = Ligação->text();
    ligaçãoComSenha = sessão.ligação;
  } else {
    OpçãoFicheiro->setChecked(true);
    const OrigemDados lembrada = OrigemLembrada();
    if (lembrada.NoServidor())
      Ligação->setText(lembrada.ligação);
  }
  connect(OpçãoServidor, &QRadioButton::toggled, this, [this] { ActualizarControlos(); });
  ActualizarControlos();
  (sessão.NoServidor() ? static_cast<QWidget *>(Ligação) : OpçãoFicheiro)->setFocus();
  SetaEnquantoVisível(this);
  CentrarJanela(this, pai);
}

void JanelaBaseDados::ActualizarControlos() {
  const bool servidor = OpçãoServidor->isChecked();
  Ligação->setEnabled(servidor);
  for (int i = 2; i < 6; ++i)
    Comando[i]->setEnabled(servidor);
}

void JanelaBaseDados::ComandoClicado(int i) {
  switch (i) {
  case 0:
    reject();
    break;
  case 1:
    Confirmar();
    break;
  case 2:
    TestarLigação();
    break;
  case 3:
    CriarTabelas();
    break;
  case 4:
  case 5:
    Copiar(i == 4);
    break;
  }
}

OrigemDados JanelaBaseDados::Escolhida() const {
  if (!OpçãoServidor->isChecked())
    return OrigemDados::FicheiroPorOmissão();
  const QString texto = Ligação->text().trimmed();
  return OrigemDados{
      {}, texto == ligaçãoEscrita && !ligaçãoComSenha.isEmpty() ? ligaçãoComSenha : texto};
}

bool JanelaBaseDados::LigaçãoEscrita(QString &ligação) {
  ligação = Escolhida().ligação;
  const QString problema = ProblemaDaLigação(ligação);
  if (!ligação.isEmpty() && problema.isEmpty())
    return true;
  Bip();
  MostrarMensagem(ligação.isEmpty()
                      ? u"Escreva a ligação ao servidor PostgreSQL, por exemplo «host=servidor "_s
                        u"dbname=agremia user=nome» ou «service=agremia»."_s
                      : problema,
                  Botões::OK, Ícone::Exclamação, Título, this);
  Ligação->setFocus();
  return false;
}

void JanelaBaseDados::Confirmar() {
  QString ligação;
  if (OpçãoServidor->isChecked() && !LigaçãoEscrita(ligação))
    return;
  const OrigemDados escolhida = Escolhida();
  const bool emUso = Dados().bd.Aberta() && escolhida == OrigemDaSessão();
  if (!emUso && !mudar(escolhida))
    return;
  if (!LembrarOrigem(escolhida)) {
    Bip();
    MostrarMensagem(u"Não foi possível guardar a escolha nas definições do utilizador: o "_s
                    u"programa usa estes dados até terminar, e no próximo arranque volta aos "_s
                    u"de antes."_s,
                    Botões::OK, Ícone::Exclamação, Título, this);
  }
  accept();
}

void JanelaBaseDados::TestarLigação() {
  QString ligação;
  if (!LigaçãoEscrita(ligação))
    return;
  Ampulheta ampulheta;
  try {
    // A connection of its own: the data in use is left as it is.
    BaseDados teste;
    const QString usada =
        LigarComSenha(ligação, this, [&teste](const QString &l) { teste.AbrirServidor(l); });
    const QString operação = u"Testar a ligação"_s;
    const auto contar = [&](const QString &sql) {
      qint64 n = 0;
      teste.Percorrer(sql, {}, operação, [&n](const Instrução &i) { n = i.Inteiro(0); });
      return n;
    };
    const qint64 sócios = contar(u"SELECT COUNT(*) FROM \"Sócios\""_s);
    const qint64 quotas = contar(u"SELECT COUNT(*) FROM \"Quotizações\""_s);
    QString versão;
    teste.Percorrer(u"SELECT version()"_s, {}, operação,
                    [&versão](const Instrução &i) { versão = i.Texto(0); });
    teste.Fechar();
    if (usada != ligação) {
      ligaçãoComSenha = usada;
      ligaçãoEscrita = Ligação->text().trimmed();
    }
    Ampulheta::Seta();
    MostrarMensagem(u"A ligação funciona: "_s + NomeServidor(ligação) +
                        u" tem as tabelas deste programa, com "_s + QString::number(sócios) +
                        (sócios == 1 ? u" sócio e "_s : u" sócios e "_s) + QString::number(quotas) +
                        (quotas == 1 ? u" quotização."_s : u" quotizações."_s),
                    Botões::OK, Ícone::Informação, Título, this, versão);
  } catch (const ErroBaseDados &e) {
    Ampulheta::Seta();
    Bip();
    MostrarErro(e, Título, this,
                e.Causa() == CausaErro::FicheiroEstranho
                    ? u"\n\nSe a base de dados estiver vazia, «Criar as tabelas» cria-as."_s
                    : QString());
  }
}

void JanelaBaseDados::CriarTabelas() {
  QString ligação;
  if (!LigaçãoEscrita(ligação))
    return;
  Ampulheta ampulheta;
  try {
    const QString usada =
        LigarComSenha(ligação, this, [](const QString &l) { BaseDados::CriarNoServidor(l); });
    if (usada != ligação) {
      ligaçãoComSenha = usada;
      ligaçãoEscrita = Ligação->text().trimmed();
    }
    Ampulheta::Seta();
    MostrarMensagem(u"As tabelas deste programa foram criadas, vazias, n"_s +
                        NomeServidor(ligação) +
                        u".\nCom «Usar estes dados», o programa passa a trabalhar nela."_s,
                    Botões::OK, Ícone::Informação, Título, this);
  } catch (const ErroBaseDados &e) {
    Ampulheta::Seta();
    Bip();
    MostrarErro(e, Título, this);
  }
}

void JanelaBaseDados::Copiar(bool paraServidor) {
  QString ligação;
  if (!LigaçãoEscrita(ligação))
    return;
  const QString ficheiro = QFileInfo(NomeFicheiroDados).absoluteFilePath();
  const QString nomeFicheiro = u"o ficheiro «"_s + QDir::toNativeSeparators(ficheiro) + u'»';
  Ampulheta ampulheta;
  try {
    ContagemDados contagem;
    const QString usada = LigarComSenha(ligação, this, [&](const QString &l) {
      contagem = paraServidor ? CopiarFicheiroParaServidor(ficheiro, l)
                              : CopiarServidorParaFicheiro(l, ficheiro);
    });
    if (usada != ligação) {
      ligaçãoComSenha = usada;
      ligaçãoEscrita = Ligação->text().trimmed();
    }
    Ampulheta::Seta();
    const auto registos = [](qint64 n, const QString &um, const QString &vários) {
      return QString::number(n) + u' ' + (n == 1 ? um : vários);
    };
    MostrarMensagem(
        u"Os dados foram copiados d"_s +
            (paraServidor ? nomeFicheiro + u" para "_s + NomeServidor(ligação)
                          : NomeServidor(ligação) + u" para "_s + nomeFicheiro) +
            u": "_s + registos(contagem.sócios, u"sócio"_s, u"sócios"_s) + u", "_s +
            registos(contagem.quotizações, u"quotização"_s, u"quotizações"_s) + u" e "_s +
            registos(contagem.tabelas, u"linha das tabelas"_s, u"linhas das tabelas"_s) +
            u".\nO programa continua com os dados que estava a usar."_s,
        Botões::OK, Ícone::Informação, Título, this);
  } catch (const ErroBaseDados &e) {
    Ampulheta::Seta();
    Bip();
    MostrarErro(e, Título, this,
                !paraServidor && e.Causa() == CausaErro::JáExiste && !e.DoServidor()
                    ? u"\n\nA cópia é feita para o "_s + NomeFicheiroDados +
                          u" da pasta de trabalho, que ainda não pode existir: mude-lhe o nome "_s
                          u"ou guarde-o noutra pasta, e copie de novo."_s
                    : QString());
  }
}
