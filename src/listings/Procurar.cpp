#include "Procurar.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "ErroBaseDados.h"
#include "Formatacao.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Procura.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Procurar Sócio"_s;

} // namespace

Procurar::Procurar(QWidget *pai, const QString &número, const QString &nome,
                   std::function<void(qint32)> aoEncontrar)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint), mostrar(std::move(aoEncontrar)) {
  PrepararJanela(this, u"Procurar"_s, Título);
  auto *moldura = MolduraElevada(this);

  static const char16_t *const legendas[] = {u"Procurar Sócio por:", u"&Número do Sócio a Procurar",
                                             u"&Nome do Sócio a Procurar"};
  for (int i = 0; i < 3; ++i) {
    Painel[i] = new QLabel(QString::fromUtf16(legendas[i]));
    Painel[i]->setObjectName(u"Painel_"_s + QString::number(i));
  }
  delete Painel[0];
  Painel[0] = PainelTítulo(QString::fromUtf16(legendas[0]));
  Painel[0]->setObjectName(u"Painel_0"_s);

  auto *opções = new QHBoxLayout;
  Opção[1] = new QRadioButton(u"Nú&mero"_s);
  Opção[2] = new QRadioButton(u"N&ome"_s);
  for (int i : {1, 2}) {
    Opção[i]->setObjectName(u"Opção_"_s + QString::number(i));
    opções->addWidget(Opção[i]);
    connect(Opção[i], &QRadioButton::toggled, this, [this](bool ligado) {
      if (ligado)
        MostrarPainel();
    });
  }
  opções->addStretch();

  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(Painel[0]);
  corpo->addLayout(opções);
  for (int i : {1, 2}) {
    Código[i] =
        CampoTexto(u"Código_"_s + QString::number(i), i == 1 ? 6 : 45, {}, i == 1 ? número : nome);
    Código[i]->setMinimumWidth(Código[i]->fontMetrics().averageCharWidth() * (i == 1 ? 10 : 40));
    Painel[i]->setBuddy(Código[i]);
    AplicarComportamento(
        Código[i],
        {.compactar = true, .teclas = i == 1 ? FiltroTeclas::Dígitos : FiltroTeclas::Nenhum});
    Zona[i] = new QWidget;
    auto *l = new QVBoxLayout(Zona[i]);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(Painel[i]);
    l->addWidget(Código[i], 0, Qt::AlignLeft);
    corpo->addWidget(Zona[i]);
  }
  // The name takes letters, blanks, the apostrophe and one "*" (checked as typed below).
  Código[2]->installEventFilter(this);

  CriarComandos(Comando, {u"Cancela&r"_s, u"&Procurar"_s}, [this](int i) {
    Ampulheta ampulheta;
    if (i == 0)
      reject();
    else
      ProcurarSócio();
  });
  // Enter presses the focused button; from a field or a choice it starts the search.
  for (QPushButton *b : Comando)
    b->setAutoDefault(true);
  Comando[1]->setDefault(true);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  EncadearTabulação({Opção[1], Opção[2], Código[1], Código[2], Comando[1], Comando[0]});
  Opção[1]->setChecked(true);
  MostrarPainel();
  CentrarJanela(this, pai);
}

void Procurar::MostrarPainel() {
  Ampulheta ampulheta;
  Zona[1]->setVisible(Opção[1]->isChecked());
  Zona[2]->setVisible(Opção[2]->isChecked());
}

bool Procurar::eventFilter(QObject *o, QEvent *e) {
  if (o == Código[2] && e->type() == QEvent::KeyPress) {
    const auto *k = static_cast<QKeyEvent *>(e);
    const QString t = k->text();
    if (t.size() == 1 && t[0].isPrint()) {
      const QChar c = t[0];
      // Judged on the text as it will be: a typed key replaces the selection.
      QString fica = Código[2]->text();
      if (Código[2]->hasSelectedText())
        fica.remove(Código[2]->selectionStart(), Código[2]->selectedText().size());
      const bool passa = c == u' ' || c == u'\'' || (c == u'*' && !fica.contains(u'*')) ||
                         c.toUpper() != c.toLower();
      if (!passa) {
        Bip();
        return true;
      }
    }
  }
  return QDialog::eventFilter(o, e);
}

void Procurar::ProcurarSócio() {
  qint32 encontrado = 0;
  const bool feito = ExecutarAcção(this, Título, [&] {
    // One statement each, so no read stays open while a proposal waits for the user.
    if (Opção[1]->isChecked()) {
      encontrado = ProcurarPorNúmero(Dados().bd, ValorNumérico(Código[1]->text()));
    } else {
      encontrado =
          ProcurarPorNome(Dados().bd, Código[2]->text(), [this](qint32 n, const QString &nome) {
            Ampulheta::Seta();
            Bip();
            const Resposta r =
                MostrarMensagem(u"Encontrado sócio nº "_s + QString::number(n) + u":\n"_s + nome +
                                    u".\n\nTrata-se do sócio "
                                    u"pretendido?"_s,
                                Botões::SimNãoCancelar, Ícone::Pergunta, Título, this);
            Ampulheta::Espera();
            return r == Resposta::Sim   ? RespostaProposta::Sim
                   : r == Resposta::Não ? RespostaProposta::Não
                                        : RespostaProposta::Cancelar;
          });
    }
  });
  if (!feito)
    return;
  if (encontrado == 0) {
    Ampulheta::Seta();
    Bip();
    MostrarMensagem(u"O sócio pretendido não foi encontrado em ficheiro..."_s, Botões::OK,
                    Ícone::Exclamação, Título, this);
    Código[Opção[1]->isChecked() ? 1 : 2]->setFocus();
    return;
  }
  if (mostrar)
    mostrar(encontrado);
  accept();
}
