#include "JanelaSenha.h"

#include "Campos.h"
#include "Comandos.h"
#include "Janelas.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

JanelaSenha::JanelaSenha(const QString &ligação, const QString &aviso, QWidget *pai)
    : QDialog(pai) {
  PrepararJanela(this, u"JanelaSenha"_s, u"Palavra-passe do Servidor"_s);
  Painel[0] = PainelTítulo(u"O servidor PostgreSQL pede uma palavra-passe para a base de "_s
                           u"dados «"_s +
                               ligação + u"»."_s,
                           8);
  Painel[0]->setWordWrap(true);
  Painel[0]->setObjectName(u"Painel_0"_s);
  Senha = new QLineEdit;
  Senha->setObjectName(u"Senha"_s);
  Senha->setEchoMode(QLineEdit::Password);
  Senha->setMinimumWidth(Senha->fontMetrics().averageCharWidth() * 30);
  AplicarComportamento(Senha, {});
  Painel[1] = Legenda(u"&Palavra-passe (só para esta sessão, não fica guardada):"_s, Senha);
  Painel[1]->setObjectName(u"Painel_1"_s);
  auto *avisoTexto = new QLabel(aviso);
  avisoTexto->setObjectName(u"Aviso"_s);
  avisoTexto->setVisible(!aviso.isEmpty());

  CriarComandos(Comando, {u"&Cancelar"_s, u"&Ligar"_s},
                [this](int i) { i == 1 ? accept() : reject(); });
  ÍconesConfirmarCancelar(Comando[1], Comando[0]);
  Comando[1]->setDefault(true);
  SetaEnquantoVisível(this);

  auto *corpo = new QVBoxLayout(this);
  corpo->setContentsMargins(16, 16, 16, 16);
  corpo->setSpacing(10);
  corpo->addWidget(Painel[0]);
  corpo->addWidget(avisoTexto);
  corpo->addWidget(Painel[1]);
  corpo->addWidget(Senha);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[0]}));
  EncadearTabulação({Senha, Comando[1], Comando[0]});
  Senha->setFocus();
  CentrarJanela(this, pai ? pai->window() : QApplication::activeWindow());
}

std::optional<QString> JanelaSenha::Pedir() {
  if (ExecutarModal(*this) != QDialog::Accepted)
    return std::nullopt;
  return Senha->text();
}
