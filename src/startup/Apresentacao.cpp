#include "Apresentacao.h"

#include "Arranque.h"
#include "Base.h"
#include "CodAcesso.h"
#include "CodigoAcesso.h"
#include "Comandos.h"
#include "Dados.h"
#include "JanelaBaseDados.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Verificacao.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QPixmap ImagemApresentação() {
  const QSize tamanho(520, 300);
  QPixmap imagem(tamanho);
  QPainter p(&imagem);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient fundo(0, 0, 0, tamanho.height());
  fundo.setColorAt(0, QColor(18, 52, 86));
  fundo.setColorAt(1, QColor(12, 96, 110));
  p.fillRect(imagem.rect(), fundo);

  // An emblem: a ring of twelve marks, one for each month's quota, around the initial.
  const QPointF centro(110, 150);
  p.setPen(QPen(QColor(240, 200, 90), 4));
  p.drawEllipse(centro, 70, 70);
  for (int m = 0; m < 12; ++m) {
    p.save();
    p.translate(centro);
    p.rotate(m * 30.0);
    p.setBrush(m < 9 ? QColor(240, 200, 90) : QColor(255, 255, 255, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(0, -54), 6, 6);
    p.restore();
  }
  QFont inicial(u"Times New Roman"_s, 54, QFont::Bold);
  p.setFont(inicial);
  p.setPen(Qt::white);
  p.drawText(QRectF(centro.x() - 50, centro.y() - 50, 100, 100), Qt::AlignCenter, u"A"_s);

  QFont título(u"Times New Roman"_s, 36, QFont::Bold);
  p.setFont(título);
  p.drawText(QRectF(200, 70, 300, 60), Qt::AlignLeft | Qt::AlignVCenter, u"Agremia"_s);
  QFont subtítulo(u"Arial"_s, 12);
  p.setFont(subtítulo);
  p.setPen(QColor(220, 235, 240));
  p.drawText(QRectF(202, 130, 300, 50), Qt::AlignLeft | Qt::TextWordWrap,
             u"Ficheiro de Sócios e Quotizações"_s);
  p.setPen(QColor(240, 200, 90));
  p.drawLine(QPointF(202, 188), QPointF(480, 188));
  QFont rodapé(u"Arial"_s, 9);
  p.setFont(rodapé);
  p.setPen(QColor(200, 220, 228));
  p.drawText(QRectF(202, 196, 300, 40), Qt::AlignLeft, u"A abrir o ficheiro de dados…"_s);
  return imagem;
}

Apresentação::Apresentação(int esperaMs, VerificaçãoAbertura *v, QWidget *pai, OrigemDados o)
    : QDialog(pai, Qt::SplashScreen | Qt::FramelessWindowHint), origem(std::move(o)),
      verificação(v) {
  setObjectName(u"Apresentacao"_s);
  setModal(true);
  auto *imagem = new QLabel(this);
  imagem->setObjectName(u"Imagem"_s);
  imagem->setPixmap(ImagemApresentação());
  auto *l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(imagem);
  setFixedSize(sizeHint());

  // The timer starts now, so that the picture is painted before the slow work begins.
  Início.setObjectName(u"Inicio"_s);
  Início.setSingleShot(true);
  Início.setInterval(esperaMs);
  connect(&Início, &QTimer::timeout, this, [this] { Tique(); });
  Início.start();
}

Apresentação::~Apresentação() = default;

void Apresentação::showEvent(QShowEvent *e) {
  QDialog::showEvent(e);
  if (QScreen *ecrã = screen() ? screen() : QGuiApplication::primaryScreen()) {
    const QRect área = ecrã->geometry();
    move((área.width() - width()) / 2 + área.x(), (área.height() - height()) / 2 + área.y());
  }
}

void Apresentação::keyPressEvent(QKeyEvent *e) {
  e->accept();
}

std::unique_ptr<Base> Apresentação::TomarBase() {
  return std::move(base);
}

void Apresentação::AbrirDadosDoArranque() {
  // Named in the session already, so that the window offered after a failure shows it.
  DefinirOrigemDaSessão(origem);
  if (origem.NoServidor()) {
    AbrirOrigem(origem, this);
    return;
  }
  const QString &ficheiro = origem.ficheiro;
  if (origem == OrigemDados::FicheiroPorOmissão() && !QFileInfo::exists(ficheiro))
    BaseDados::Criar(ficheiro);
  // Nothing is shown from a damaged file: a list read through a damaged index would come
  // up short without a word.
  if (verificação) {
    verificação->Confirmar();
  } else {
    VerificaçãoAbertura agora(ficheiro);
    agora.Confirmar();
    agora.ConfirmarResto();
  }
  AbrirDados(ficheiro);
  if (Dados().bd.SóLeitura()) {
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    MostrarMensagem(u"O ficheiro «"_s + Dados().bd.Caminho() +
                        u"» só pode ser lido.\nPode consultar os dados, mas as alterações não "
                        u"poderão ser gravadas."_s,
                    Botões::OK, Ícone::Exclamação, TítuloPrograma, this);
    QGuiApplication::restoreOverrideCursor();
  }
}

bool Apresentação::EscolherOutrosDados(const ErroBaseDados &e) {
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  Bip();
  bool aberto = false;
  // Never the file instead, unasked: the user would work on other data without knowing.
  if (MostrarMensagem(
          e.Mensagem() + u"\n\nDeseja escolher outra base de dados? Se não, o programa termina."_s,
          Botões::SimNão, Ícone::Crítico, TítuloPrograma, this, e.Detalhes()) == Resposta::Sim) {
    JanelaBaseDados *aberta = nullptr;
    JanelaBaseDados janela(nullptr, [&aberta](const OrigemDados &o) {
      return ExecutarAcção(aberta, u"Base de Dados"_s, [&] { AbrirOrigem(o, aberta); });
    });
    aberta = &janela;
    aberto = ExecutarModal(janela) == QDialog::Accepted && Dados().bd.Aberta();
  }
  QGuiApplication::restoreOverrideCursor();
  return aberto;
}

void Apresentação::Falhou(const ErroBaseDados &e) {
  base.reset();
  ficheiroFalhou = true;
  if (e.Causa() == CausaErro::Danificado)
    MostrarFicheiroDanificado(e, this);
  else
    MostrarErroFicheiro(e, this);
}

void Apresentação::Tique() {
  Início.stop();
  bool aberto = false;
  try {
    AbrirDadosDoArranque();
    aberto = true;
  } catch (const ErroBaseDados &e) {
    if (e.DoServidor()) {
      aberto = EscolherOutrosDados(e);
      ficheiroFalhou = !aberto;
    } else {
      Falhou(e);
    }
  }
  if (aberto) {
    try {
      if (CódigoDeAcessoDefinido(Dados().bd)) {
        CódAcesso janela;
        // Ends however the window goes, so that a window taken away by the window system does
        // not leave only this picture on screen.
        ExecutarModal(janela);
        if (janela.ResultadoAcesso() == CódAcesso::Resultado::Recusado)
          AcessoPermitido() = false;
      }
      if (AcessoPermitido()) {
        base = std::make_unique<Base>();
        LigarJanelas(*base);
      }
    } catch (const ErroBaseDados &e) {
      Falhou(e);
    }
  }
  // Queued, so that the window's modal loop is surely running when it is told to end.
  QMetaObject::invokeMethod(
      this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
}
