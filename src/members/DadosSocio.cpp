#include "DadosSocio.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Exportacao.h"
#include "Impressao.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"
#include "Relogio.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Dados Pessoais do Sócio"_s;
const QString TítuloAnonimizar = u"Anonimizar Sócio"_s;

QTableWidget *Tabela(const QString &nome, const QStringList &cabeças) {
  auto *t = new QTableWidget(0, int(cabeças.size()));
  t->setObjectName(nome);
  t->setHorizontalHeaderLabels(cabeças);
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void Preencher(QTableWidget *t, const QList<QStringList> &linhas) {
  t->setRowCount(int(linhas.size()));
  for (int r = 0; r < int(linhas.size()); ++r)
    for (int c = 0; c < t->columnCount(); ++c)
      t->setItem(r, c, new QTableWidgetItem(linhas[r].value(c)));
  // The last column keeps the rest of the width, also when the window is filled again.
  for (int c = 0; c + 1 < t->columnCount(); ++c)
    t->resizeColumnToContents(c);
}

} // namespace

DadosSócio::DadosSócio(QWidget *pai, qint64 n)
    : QDialog(pai, Qt::Dialog | Qt::FramelessWindowHint), número(n) {
  PrepararJanela(this, u"DadosSócio"_s, Título);
  auto *moldura = MolduraElevada(this);
  auto *painel = PainelTítulo(Título);
  painel->setObjectName(u"Painel"_s);

  Campos = Tabela(u"Campos"_s, {u"Campo"_s, u"Valor"_s});
  Quotas = Tabela(u"Quotas"_s, {u"Ano"_s, u"Mês"_s, u"Quota"_s, u"Recibo"_s});
  const int largura = fontMetrics().averageCharWidth() * 70;
  for (QTableWidget *t : {Campos, Quotas})
    t->setMinimumWidth(largura);
  Campos->setMinimumHeight(fontMetrics().height() * 14);

  CriarComandos(Comando, {u"Sai&r"_s, u"&Imprimir"_s, u"&Exportar..."_s, u"&Anonimizar Sócio"_s},
                [this](int i) { ComandoClicado(i); });

  auto *corpo = new QVBoxLayout(moldura);
  corpo->addWidget(painel);
  corpo->addWidget(Campos);
  corpo->addWidget(Quotas);
  corpo->addLayout(BotõesAoCentro({Comando[1], Comando[2], Comando[3], Comando[0]}));
  EncadearTabulação({Campos, Quotas, Comando[1], Comando[2], Comando[3], Comando[0]});

  Carregar();
  Comando[1]->setFocus();
  CentrarJanela(this, pai);
}

void DadosSócio::Carregar() {
  Ampulheta ampulheta;
  dados.reset();
  ExecutarAcção(this, Título, [this] { dados = LerDadosPessoais(Dados().bd, Listas(), número); });
  QList<QStringList> campos, quotas;
  if (dados) {
    for (const auto &[campo, valor] : dados->campos)
      campos << QStringList{campo, valor};
    // The window shows the rows as the exported file holds them.
    const QList<QStringList> csv = LinhasCsvDadosPessoais(*dados);
    for (qsizetype i = campos.size() + 3; i < csv.size(); ++i)
      quotas << csv[i].mid(0, 4);
  }
  Preencher(Campos, campos);
  Preencher(Quotas, quotas);
  for (int i = 1; i < 4; ++i)
    Comando[i]->setEnabled(bool(dados));
}

void DadosSócio::ComandoClicado(int i) {
  switch (i) {
  case 0:
    reject();
    break;
  case 1: {
    Ampulheta ampulheta;
    ExecutarAcção(this, Título, [this] {
      if (auto p = AbrirImpressão(Título + u' ' + QString::number(número), this))
        ImprimirDadosPessoais(*p, *dados, Agora());
    });
    break;
  }
  case 2:
    ExportarLista(this, Título, u"Dados pessoais do sócio "_s + QString::number(número),
                  LinhasCsvDadosPessoais(*dados));
    break;
  default:
    Anonimizar();
  }
}

void DadosSócio::Anonimizar() {
  const QString nome = dados->campos.value(1).second.trimmed();
  const Resposta r = PerguntarNãoPorOmissão(
      u"Anonimizar o sócio nº "_s + QString::number(número) + u" - "_s + nome +
          u"?\n\nO nome passa a «"_s + NomeAnonimizado +
          u"» e o endereço, a localidade, o NIF e as observações são apagados. As "
          u"quotizações ficam, por serem registos da contabilidade da colectividade.\n"
          u"Esta operação não se pode desfazer."_s,
      TítuloAnonimizar, this);
  if (r != Resposta::Sim)
    return;
  bool feito = false;
  {
    Ampulheta ampulheta;
    if (!ExecutarAcção(this, TítuloAnonimizar,
                       [&] { feito = AnonimizarSócio(Dados().bd, número); }))
      return;
  }
  anonimizado = anonimizado || feito;
  Carregar();
  MostrarMensagem(feito ? u"O sócio nº "_s + QString::number(número) + u" foi anonimizado."_s
                        : u"O sócio nº "_s + QString::number(número) + u" já não existe."_s,
                  Botões::OK, feito ? Ícone::Informação : Ícone::Exclamação, TítuloAnonimizar,
                  this);
}
