#include "Arquivex.h"

#include "BaseDados.h"
#include "Campos.h"
#include "Comandos.h"
#include "Copias.h"
#include "Dados.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Programas.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// What each line of the list keeps beside its text.
enum Papel {
  PapelCaminho = Qt::UserRole,
  PapelMomento,
  PapelBoa,
  PapelEstado,
};

// The main program, offered again at the end; it lives in the same folder as this one.
const QString NomeProgramaPrincipal = u"agremia"_s;

EscolhaPasta &EscolhaInstalada() {
  static EscolhaPasta escolha;
  return escolha;
}

QString Nome(const QString &caminho) {
  return u'«' + QDir::toNativeSeparators(caminho) + u'»';
}

QString Sócios(qint64 n) {
  return FormatarNúmero(n, u"#,##0") + (n == 1 ? u" sócio"_s : u" sócios"_s);
}

// "06-12-2026, às 10:05:33"
QString Quando(const QDateTime &momento) {
  return FormatarData(momento.date()) + u", às "_s + momento.time().toString(u"HH:mm:ss"_s);
}

QString TextoDaCópia(const CópiaSegurança &c) {
  QString t = FormatarData(c.momento.date()) + u"   "_s + c.momento.time().toString(u"HH:mm:ss"_s) +
              u"     "_s;
  t += c.verificação.Boa() ? Sócios(c.verificação.sócios)
                           : u"inutilizável: "_s + DescreverEstado(c.verificação.estado);
  if (c.antesDaReposição)
    t += u"   (ficheiro substituído numa reposição)"_s;
  else if (!c.momentoDoNome)
    t += u"   ("_s + QFileInfo(c.caminho).fileName() + u')';
  return t;
}

} // namespace

Arquivex::Arquivex(Modo m, const QString &pasta, const QString &base, QWidget *pai)
    : QDialog(pai), modo(m), pastaDados(QDir(pasta).absolutePath()),
      ficheiroDados(QDir(pasta).absoluteFilePath(NomeFicheiroDados)), ligação(base) {
  setObjectName(u"Arquivex"_s);
  // A backup or restore killed part-way leaves its unfinished copy behind: full of personal
  // data, and listed nowhere.
  ApagarRestosParciais(pastaDados);
  ApagarRestosParciais(PastaSeguranças(ficheiroDados));
  setWindowTitle(u"Segurança e Reposição do Ficheiro de Sócios"_s);
  const bool repor = modo == Modo::Reposição;

  auto *título = PainelTítulo(
      repor ? u"Reposição do Ficheiro de Sócios"_s : u"Segurança do Ficheiro de Sócios"_s, 8);
  título->setObjectName(u"Painel_0"_s);
  QFont maior = título->font();
  maior.setPointSizeF(maior.pointSizeF() * 1.2);
  título->setFont(maior);

  const bool servidor = !ligação.isEmpty();
  auto *explicação = new QLabel(
      repor && servidor
          ? u"Escolha a cópia de segurança a repor. Antes de serem substituídos, os dados "_s
            u"actuais da base de dados são guardados na pasta «Seguranças». A reposição só "_s
            u"se faz sem outros postos ligados à base de dados."_s
      : repor ? u"Escolha a cópia de segurança a repor. Antes de ser substituído, o ficheiro "_s
                u"actual é guardado na pasta «Seguranças», ao lado do ficheiro de sócios."_s
              : u"A cópia de segurança é gravada na pasta indicada, com a data e a hora no nome "_s
                u"do ficheiro. Depois de gravada, a cópia é lida de novo e verificada."_s);
  explicação->setWordWrap(true);

  Ficheiro = new QLabel(servidor ? BaseDados::LigaçãoParaMostrar(ligação)
                                 : QDir::toNativeSeparators(ficheiroDados));
  Ficheiro->setObjectName(u"Ficheiro"_s);
  Ficheiro->setTextInteractionFlags(Qt::TextSelectableByMouse);

  PastaCópias = new QLineEdit;
  PastaCópias->setObjectName(u"Pasta"_s);
  AplicarComportamento(PastaCópias, {});
  auto *rótuloPasta = new QLabel(u"Pasta das &cópias:"_s);
  rótuloPasta->setBuddy(PastaCópias);

  Aviso = new QLabel;
  Aviso->setObjectName(u"Aviso"_s);
  Aviso->setWordWrap(true);
  QFont avisoNegrito = Aviso->font();
  avisoNegrito.setBold(true);
  Aviso->setFont(avisoNegrito);

  CriarComandos(
      Comando,
      {u"&Sair"_s, repor ? u"&Repor Cópia"_s : u"&Efectuar Segurança"_s, u"Escolher &pasta..."_s},
      [this, repor](int i) {
        if (i == 0)
          reject();
        else if (i == 2)
          EscolherPasta();
        else if (repor)
          Repor();
        else
          Copiar();
      });
  // To restore, Enter belongs to the list (and to the folder field, which lists that folder):
  // a default button would answer it too and start a second restore.
  Comando[1]->setDefault(!repor);

  auto *grelha = new QGridLayout;
  grelha->addWidget(
      new QLabel(servidor ? u"Base de dados no servidor:"_s : u"Ficheiro de sócios:"_s), 0, 0);
  grelha->addWidget(Ficheiro, 0, 1, 1, 2);
  grelha->addWidget(rótuloPasta, 1, 0);
  grelha->addWidget(PastaCópias, 1, 1);
  grelha->addWidget(Comando[2], 1, 2);
  grelha->setColumnStretch(1, 1);

  auto *corpo = new QVBoxLayout(this);
  corpo->setSpacing(10);
  corpo->addWidget(título);
  corpo->addWidget(explicação);
  corpo->addLayout(grelha);
  corpo->addWidget(Aviso);
  if (repor) {
    Cópias = new QListWidget;
    Cópias->setObjectName(u"Copias"_s);
    Cópias->setMinimumHeight(180);
    auto *rótuloLista = new QLabel(u"Cópias &disponíveis (a mais recente primeiro):"_s);
    rótuloLista->setBuddy(Cópias);
    corpo->addWidget(rótuloLista);
    corpo->addWidget(Cópias, 1);
    // Not itemActivated: where the style activates items on a single click, choosing a copy
    // would at once ask to restore it.
    connect(Cópias, &QListWidget::itemDoubleClicked, this, [this] { Repor(); });
    Cópias->installEventFilter(this);
    connect(PastaCópias, &QLineEdit::editingFinished, this, [this] { ActualizarLista(); });
  } else {
    connect(PastaCópias, &QLineEdit::editingFinished, this, [this] { ActualizarAviso(); });
  }
  auto *botões = new QHBoxLayout;
  botões->addStretch();
  botões->addWidget(Comando[1]);
  botões->addWidget(Comando[0]);
  corpo->addLayout(botões);

  if (Cópias)
    EncadearTabulação({PastaCópias, Comando[2], Cópias, Comando[1], Comando[0]});
  else
    EncadearTabulação({PastaCópias, Comando[2], Comando[1], Comando[0]});

  setMinimumWidth(560);
  DefinirPasta(PastaSeguranças(ficheiroDados));
  CentrarJanela(this, nullptr);
  if (Cópias && Cópias->count() > 0)
    Cópias->setFocus();
  else
    Comando[1]->setFocus();
}

bool Arquivex::eventFilter(QObject *objecto, QEvent *evento) {
  if (objecto == Cópias && evento->type() == QEvent::KeyPress) {
    const int tecla = static_cast<QKeyEvent *>(evento)->key();
    if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
      Repor();
      return true;
    }
  }
  return QDialog::eventFilter(objecto, evento);
}

QString Arquivex::Título() const {
  return modo == Modo::Reposição ? u"Reposição do Ficheiro"_s : u"Segurança do Ficheiro"_s;
}

QString Arquivex::Pasta() const {
  return QDir::fromNativeSeparators(PastaCópias->text().trimmed());
}

void Arquivex::DefinirPasta(const QString &pasta) {
  PastaCópias->setText(QDir::toNativeSeparators(QDir::cleanPath(pasta)));
  if (Cópias)
    ActualizarLista();
  else
    ActualizarAviso();
}

void Arquivex::ActualizarAviso() {
  QStringList linhas;
  if (ligação.isEmpty() && !QFileInfo::exists(ficheiroDados))
    linhas << (modo == Modo::Segurança
                   ? u"O ficheiro de sócios não existe nesta pasta: não há dados para copiar."_s
                   : u"O ficheiro de sócios não existe nesta pasta: a cópia reposta passará a "_s
                     u"ser o ficheiro de sócios."_s);
  if (Cópias && Cópias->count() == 0)
    linhas << u"Não há cópias de segurança na pasta "_s + Nome(Pasta()) + u'.';
  Aviso->setText(linhas.join(u'\n'));
  Aviso->setVisible(!linhas.isEmpty());
}

void Arquivex::ActualizarLista() {
  {
    Ampulheta ampulheta;
    Cópias->clear();
    for (const CópiaSegurança &c : ListarCópias(Pasta(), ficheiroDados)) {
      auto *item = new QListWidgetItem(TextoDaCópia(c), Cópias);
      item->setData(PapelCaminho, c.caminho);
      item->setData(PapelMomento, c.momento);
      item->setData(PapelBoa, c.verificação.Boa());
      item->setData(PapelEstado, DescreverEstado(c.verificação.estado));
      item->setToolTip(QDir::toNativeSeparators(c.caminho));
      if (!c.verificação.Boa())
        item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
    }
    // The newest sound copy is the likely choice.
    for (int i = 0; i < Cópias->count(); ++i)
      if (Cópias->item(i)->data(PapelBoa).toBool()) {
        Cópias->setCurrentRow(i);
        break;
      }
  }
  ActualizarAviso();
}

void Arquivex::EscolherPasta() {
  const QString início = QFileInfo(Pasta()).isDir() ? Pasta() : pastaDados;
  const QString título = u"Escolher a pasta das cópias de segurança"_s;
  const QString escolhida = EscolhaInstalada()
                                ? EscolhaInstalada()(this, título, início)
                                : QFileDialog::getExistingDirectory(this, título, início);
  if (!escolhida.isEmpty())
    DefinirPasta(escolhida);
}

void Arquivex::Copiar() {
  if (Pasta().isEmpty()) {
    Bip();
    MostrarMensagem(u"Indique a pasta onde gravar a cópia de segurança."_s, Botões::OK,
                    Ícone::Exclamação, Título(), this);
    PastaCópias->setFocus();
    return;
  }
  ResultadoSegurança r;
  {
    Ampulheta ampulheta;
    r = ligação.isEmpty() ? EfectuarSegurança(ficheiroDados, Pasta())
                          : EfectuarSegurançaServidor(ligação, Pasta());
  }
  if (!r.ok) {
    Bip();
    MostrarMensagem(r.erro, Botões::OK, Ícone::Crítico, Título(), this, r.pormenor);
    ActualizarAviso();
    return;
  }
  MostrarMensagem(u"A cópia de segurança foi gravada em\n"_s + Nome(r.cópia) + u"\ncom "_s +
                      Sócios(r.sócios) + u".\n\nA cópia foi verificada e está em boas condições."_s,
                  Botões::OK, Ícone::Informação, Título(), this);
  Terminar(QDialog::Accepted);
}

void Arquivex::Repor() {
  // Also reached from the list (Enter, double click): the list gives the focus up first.
  Comando[1]->setFocus();
  const QListWidgetItem *item = Cópias->currentItem();
  if (!item || !item->isSelected()) {
    Bip();
    MostrarMensagem(u"Escolha na lista a cópia de segurança a repor."_s, Botões::OK,
                    Ícone::Exclamação, Título(), this);
    return;
  }
  const QString caminho = item->data(PapelCaminho).toString();
  const QDateTime momento = item->data(PapelMomento).toDateTime();
  if (!item->data(PapelBoa).toBool()) {
    Bip();
    MostrarMensagem(u"A cópia "_s + Nome(caminho) + u' ' + item->data(PapelEstado).toString() +
                        u" e não pode ser reposta."_s,
                    Botões::OK, Ícone::Exclamação, Título(), this);
    return;
  }
  const QString pergunta =
      u"Vai ser reposta a cópia de segurança de "_s + Quando(momento) +
      u".\n\nTodos os dados introduzidos depois dessa data serão perdidos; "_s +
      (ligação.isEmpty() ? u"o ficheiro actual fica guardado"_s
                         : u"os dados actuais ficam guardados"_s) +
      u" na pasta «Seguranças».\n\nTem a certeza que deseja continuar?"_s;
  if (MostrarMensagem(pergunta, Botões::SimNão, Ícone::Pergunta, Título(), this) != Resposta::Sim)
    return;

  ResultadoReposição r;
  {
    Ampulheta ampulheta;
    r = ligação.isEmpty() ? ReporCópia(caminho, ficheiroDados, PastaSeguranças(ficheiroDados))
                          : ReporCópiaServidor(caminho, ligação, PastaSeguranças(ficheiroDados));
  }
  if (!r.ok) {
    Bip();
    MostrarMensagem(r.erro, Botões::OK, Ícone::Crítico, Título(), this, r.pormenor);
    ActualizarLista();
    return;
  }
  MostrarMensagem(u"A cópia de segurança de "_s + Quando(momento) +
                      (ligação.isEmpty() ? u" foi reposta: o ficheiro de sócios tem agora "_s
                                         : u" foi reposta: a base de dados tem agora "_s) +
                      Sócios(r.sócios) + u".\n\n"_s +
                      (r.salvaguarda.isEmpty() ? u"Não havia ficheiro de sócios a substituir."_s
                       : ligação.isEmpty()
                           ? u"O ficheiro substituído foi guardado em\n"_s + Nome(r.salvaguarda)
                           : u"Os dados substituídos foram guardados em\n"_s + Nome(r.salvaguarda)),
                  Botões::OK, Ícone::Informação, Título(), this);
  Terminar(QDialog::Accepted);
}

void Arquivex::reject() {
  Terminar(QDialog::Rejected);
}

void Arquivex::Terminar(int resultado) {
  if (terminando)
    return;
  terminando = true;
  if (MostrarMensagem(u"Deseja iniciar novamente o programa de Sócios e Quotizações?"_s,
                      Botões::SimNão, Ícone::Pergunta, Título(), this) == Resposta::Sim &&
      !IniciarPrograma(NomeProgramaPrincipal,
                       ligação.isEmpty() ? QStringList() : QStringList{u"--base-dados"_s, ligação},
                       pastaDados)) {
    Bip();
    MostrarMensagem(u"Não foi possível iniciar o programa "_s +
                        Nome(CaminhoPrograma(NomeProgramaPrincipal)) +
                        u".\nInicie-o da forma habitual."_s,
                    Botões::OK, Ícone::Crítico, Título(), this);
  }
  QDialog::done(resultado);
}

void InstalarEscolhaPasta(EscolhaPasta escolha) {
  EscolhaInstalada() = std::move(escolha);
}
