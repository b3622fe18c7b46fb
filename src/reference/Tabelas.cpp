#include "Tabelas.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"
#include "Validacao.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Per tab: the list's name, the tab's caption, the kind of row and the table's name in messages.
struct Separador {
  const char16_t *lista;
  const char16_t *legenda;
  const char16_t *tipo;
  const char16_t *tabela;
};
constexpr Separador Separadores[3] = {
    {u"TipoQuota", u"&Tipo de Quota", u"T", u"Tipos de Quotas"},
    {u"Situação", u"&Situação", u"S", u"Situações"},
    {u"CPostal", u"&Código Postal", u"C", u"Códigos Postais"},
};

constexpr int Marca = Qt::UserRole;

qint64 MarcaDe(const QListWidgetItem *item) {
  return item->data(Marca).toLongLong();
}

// The row of the selected entry, or -1: the current row alone may be unselected.
int Seleccionada(const QListWidget *lista) {
  const auto s = lista->selectedItems();
  return s.isEmpty() ? -1 : lista->row(s.first());
}

void Seleccionar(QListWidget *lista, int linha) {
  if (linha < 0) {
    lista->setCurrentRow(-1);
    lista->clearSelection();
  } else {
    lista->setCurrentRow(linha);
  }
}

// The entry with exactly this text (letter case counts); the last one when several have it.
int ProcurarIgual(const QListWidget *lista, const QString &texto) {
  for (int i = lista->count() - 1; i >= 0; --i)
    if (lista->item(i)->text() == texto)
      return i;
  return -1;
}

// Adds a reference row and returns the Código the engine gave it: an added row is the
// recordset's last one until the next requery.
qint64 AcrescentarLinha(ConjuntoRegistos &tabelas, const QString &tipo, const QString &texto) {
  tabelas.AdicionarNovo();
  tabelas.DefinirCampo(u"Tipo", tipo);
  tabelas.DefinirCampo(u"Designação", texto);
  tabelas.Actualizar();
  tabelas.MoverÚltimo();
  return tabelas.Inteiro(u"Código");
}

// A postal code that does not start the CTT way is asked about once, as it enters the list:
// Sim keeps it as typed (an old or foreign code), Não sends the user back to the text.
bool ManterCódigoPostal(QWidget *janela, QLineEdit *texto) {
  if (ComeçaPorCódigoPostal(texto->text()))
    return true;
  Bip();
  if (MostrarMensagem(u"«"_s + texto->text() +
                          u"»\nnão começa por um código postal na forma dos CTT, «NNNN-NNN» "
                          u"(por exemplo «1000-001 LISBOA»).\n\nQuer mantê-lo assim?"_s,
                      Botões::SimNão, Ícone::Pergunta, u"Código Postal"_s, janela) == Resposta::Sim)
    return true;
  texto->setFocus(Qt::OtherFocusReason);
  texto->selectAll();
  return false;
}

} // namespace

Tabelas::Tabelas(QWidget *pai, std::function<void()> aoGravarTabelas)
    : QDialog(pai), aoGravar(std::move(aoGravarTabelas)) {
  PrepararJanela(this, u"Tabelas"_s, u"Definir Tabelas"_s);

  BaseTabelas = new QTabWidget;
  BaseTabelas->setObjectName(u"BaseTabelas"_s);
  for (int k = 0; k < 3; ++k) {
    const QString nome = QString::fromUtf16(Separadores[k].lista);
    Lista[k] = new QListWidget;
    Lista[k]->setObjectName(nome);
    Lista[k]->setSelectionMode(QAbstractItemView::SingleSelection);
    Lista[k]->setMinimumSize(Lista[k]->fontMetrics().averageCharWidth() * 40,
                             Lista[k]->fontMetrics().height() * 12);
    Item[k] = new QLineEdit;
    Item[k]->setObjectName(u"Item"_s + nome);
    auto *página = new QWidget;
    auto *l = new QVBoxLayout(página);
    l->addWidget(Lista[k], 1);
    l->addWidget(Item[k]);
    const QString três(3, u' ');
    BaseTabelas->addTab(página, três + QString::fromUtf16(Separadores[k].legenda) + três);

    AplicarComportamento(
        Lista[k], {.seleccionarTudo = false, .aoGanharFoco = [this, k] { ListaComFoco(k); }});
    AplicarComportamento(Item[k], {.aoGanharFoco = [this, k] { TextoComFoco(k); }});
    connect(Lista[k], &QListWidget::itemSelectionChanged, this, [this, k] {
      ListaEscolhida(k);
      if (Lista[k]->hasFocus())
        ListaComFoco(k);
    });
    connect(Lista[k], &QListWidget::itemClicked, this, [this, k] { ListaEscolhida(k); });
  }

  CriarComandos(Comando,
                {u"Sai&r"_s, u"A&dicionar"_s, u"&Alterar"_s, u"&Eliminar"_s, u"&Gravar Dados"_s},
                [this](int i) { ComandoClicado(i); });
  auto *botões = new QHBoxLayout;
  for (int i : {1, 2, 3})
    botões->addWidget(Comando[i]);
  botões->addStretch();
  botões->addWidget(Comando[4]);
  botões->addWidget(Comando[0]);

  auto *janela = new QVBoxLayout(this);
  janela->addWidget(BaseTabelas, 1);
  janela->addLayout(botões);

  EncadearTabulação({BaseTabelas, Lista[0], Item[0], Lista[1], Item[1], Lista[2], Item[2],
                     Comando[1], Comando[2], Comando[3], Comando[4], Comando[0]});

  // Load: the reference lists, every entry saved and unchanged; the first one selected.
  const ListaReferência *listas[3] = {&Listas().tiposQuota, &Listas().situações,
                                      &Listas().códigosPostais};
  for (int k : {1, 2, 0}) {
    for (const ItemReferência &i : *listas[k]) {
      auto *item = new QListWidgetItem(i.texto);
      item->setData(Marca, i.código);
      Lista[k]->addItem(item);
    }
    if (Lista[k]->count() > 0)
      Seleccionar(Lista[k], 0);
  }
  connect(BaseTabelas, &QTabWidget::currentChanged, this, [this](int k) { MudarSeparador(k); });
  EntrarPeloSeparador(BaseTabelas);
  BaseTabelas->setCurrentIndex(0);
  MudarSeparador(0);
  BaseTabelas->setFocus();
  CentrarJanela(this, pai);
}

void Tabelas::MudarSeparador(int k) {
  if (k < 0 || k > 2)
    return;
  separador = k;
  for (int j = 0; j < 3; ++j) {
    Lista[j]->setEnabled(j == k);
    Item[j]->setEnabled(j == k);
  }
  for (int i : {1, 2, 3})
    Comando[i]->setEnabled(false);
  ListaEscolhida(k);
}

void Tabelas::ListaEscolhida(int k) {
  const int i = Seleccionada(Lista[k]);
  if (i >= 0)
    Item[k]->setText(Lista[k]->item(i)->text());
}

void Tabelas::ListaComFoco(int k) {
  const bool escolhida = Seleccionada(Lista[k]) >= 0;
  Comando[1]->setEnabled(false);
  Comando[2]->setEnabled(escolhida);
  Comando[3]->setEnabled(escolhida);
}

void Tabelas::TextoComFoco(int k) {
  Comando[1]->setEnabled(true);
  Comando[2]->setEnabled(Seleccionada(Lista[k]) >= 0);
  Comando[3]->setEnabled(false);
}

void Tabelas::ComandoClicado(int i) {
  const int k = separador;
  switch (i) {
  case 0:
    // What was not saved is dropped without a question.
    reject();
    break;
  case 1:
    AdicionarItem(Lista[k], Item[k]);
    break;
  case 2:
    AlterarItem(Lista[k], Item[k]);
    break;
  case 3:
    EliminarItem(Lista[k], Item[k], QString::fromUtf16(Separadores[k].tabela));
    break;
  case 4:
    GravarTabelas();
    BaseTabelas->setFocus();
    break;
  default:
    break;
  }
}

bool Tabelas::TextoAceite(QListWidget *lista, QLineEdit *texto) {
  texto->setText(CompactarEspaços(texto->text()));
  if (texto->text().isEmpty()) {
    Bip();
    return false;
  }
  if (const int igual = ProcurarIgual(lista, texto->text()); igual >= 0) {
    Bip();
    Seleccionar(lista, igual);
    return false;
  }
  return lista != Lista[2] || ManterCódigoPostal(this, texto);
}

void Tabelas::AdicionarItem(QListWidget *lista, QLineEdit *texto) {
  if (TextoAceite(lista, texto)) {
    auto *item = new QListWidgetItem(texto->text());
    item->setData(Marca, qint64(0));
    lista->addItem(item);
    Seleccionar(lista, lista->count() - 1);
  }
  texto->setFocus(Qt::OtherFocusReason);
}

void Tabelas::AlterarItem(QListWidget *lista, QLineEdit *texto) {
  const int escolhida = Seleccionada(lista);
  if (escolhida < 0)
    return;
  if (TextoAceite(lista, texto)) {
    QListWidgetItem *item = lista->item(escolhida);
    item->setText(texto->text());
    // A saved row is marked changed; a new entry stays new.
    item->setData(Marca, -std::abs(MarcaDe(item)));
  }
  texto->setFocus(Qt::OtherFocusReason);
}

void Tabelas::EliminarItem(QListWidget *lista, QLineEdit *texto, const QString &tabela) {
  const int escolhida = Seleccionada(lista);
  if (escolhida < 0)
    return;
  Bip();
  const QString pergunta = u"«"_s + lista->item(escolhida)->text() +
                           u"»\nvai ser eliminado da Tabela de "_s + tabela +
                           u".\n\nConfirme esta operação..."_s;
  if (PerguntarNãoPorOmissão(pergunta, u"Eliminar Item na Tabela"_s, this) == Resposta::Sim) {
    // A saved row, changed or not, is deleted at the next save; a new entry just goes.
    if (const qint64 marca = MarcaDe(lista->item(escolhida)); marca != 0)
      Eliminar.append(std::abs(marca));
    delete lista->takeItem(escolhida);
    if (lista->count() == 0) {
      Seleccionar(lista, -1);
      texto->clear();
    } else {
      // The entry that took its place, or the one before when the last entry went.
      Seleccionar(lista, std::min(escolhida, lista->count() - 1));
      texto->setText(lista->currentItem()->text());
    }
  }
  if (Seleccionada(lista) >= 0)
    lista->setFocus(Qt::OtherFocusReason);
  else
    texto->setFocus(Qt::OtherFocusReason);
}

QList<qint64> Tabelas::GravarLista(QListWidget *lista, const QString &tipo) {
  ConjuntoRegistos &tabelas = *Dados().tabelas;
  QList<qint64> marcas;
  for (int i = 0; i < lista->count(); ++i) {
    const QString texto = lista->item(i)->text();
    const qint64 marca = MarcaDe(lista->item(i));
    if (marca == 0) {
      marcas << AcrescentarLinha(tabelas, tipo, texto);
    } else if (marca < 0) {
      tabelas.ProcurarPrimeiro(Critério::Igual(u"Código"_s, -marca));
      if (tabelas.SemCorrespondência()) {
        // The row went behind this window's back. Editing now would overwrite whatever row
        // is current; the text is kept as a row of its own instead.
        marcas << AcrescentarLinha(tabelas, tipo, texto);
      } else {
        tabelas.Editar();
        tabelas.DefinirCampo(u"Designação", texto);
        tabelas.Actualizar();
        marcas << -marca;
      }
    } else {
      marcas << marca;
    }
  }
  tabelas.Reexecutar();
  return marcas;
}

void Tabelas::GravarTabelas() {
  Ampulheta ampulheta;
  ConjuntoRegistos &tabelas = *Dados().tabelas;
  QList<qint64> marcas[3];
  // Nothing is written on an engine failure: the marks and the deletions wait on screen for
  // the next try.
  const bool gravado = ExecutarAcção(this, u"Gravar Dados"_s, [&] {
    // The three lists and the deletions are one save: all of it is written, or nothing.
    BaseDados::Transacção transacção(Dados().bd);
    for (int k = 0; k < 3; ++k)
      marcas[k] = GravarLista(Lista[k], QString::fromUtf16(Separadores[k].tipo));
    for (const qint64 código : std::as_const(Eliminar)) {
      tabelas.ProcurarPrimeiro(Critério::Igual(u"Código"_s, código));
      if (!tabelas.SemCorrespondência())
        tabelas.Eliminar();
    }
    transacção.Confirmar();
  });
  if (!gravado)
    return;
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < Lista[k]->count(); ++i)
      Lista[k]->item(i)->setData(Marca, marcas[k][i]);
  Eliminar.clear();
  // The lists now hold exactly the entries of this window; the window below refills its own
  // from them, keeping each selection where its entry still exists.
  RecarregarListas();
  if (aoGravar)
    aoGravar();
}
