#include "Dados.h"

#include "Formato.h"
#include "Referencias.h"

using namespace Qt::StringLiterals;

DadosPartilhados &Dados() {
  static DadosPartilhados dados;
  return dados;
}

namespace {

std::function<void()> &AoMudaremListas() {
  static std::function<void()> f;
  return f;
}

void AbrirConjuntos() {
  DadosPartilhados &d = Dados();
  // The member recordset reads its keys again by itself; the reference lists are a value
  // read once, and read again here.
  d.bd.DefinirAoMudarNoutroPosto([](const QStringList &tabelas) {
    if (!tabelas.contains(u"Tabelas"_s))
      return;
    RecarregarListas();
    if (AoMudaremListas())
      AoMudaremListas()();
  });
  try {
    d.sócios = std::make_unique<ConjuntoRegistos>(d.bd, TodosOsSócios());
    d.quotizações = std::make_unique<ConjuntoRegistos>(d.bd, Consulta{u"Quotizações"_s});
    d.tabelas = std::make_unique<ConjuntoRegistos>(d.bd, Consulta{u"Tabelas"_s});
    RecarregarListas();
  } catch (...) {
    FecharDados();
    throw;
  }
}

} // namespace

void AbrirDados(const QString &caminho) {
  FecharDados();
  Dados().bd.Abrir(caminho);
  AbrirConjuntos();
}

void AbrirDadosServidor(const QString &ligação) {
  FecharDados();
  Dados().bd.AbrirServidor(ligação);
  AbrirConjuntos();
}

void DefinirAoMudaremListas(std::function<void()> f) {
  AoMudaremListas() = std::move(f);
}

void FecharDados() {
  DadosPartilhados &d = Dados();
  d.tabelas.reset();
  d.quotizações.reset();
  d.sócios.reset();
  d.bd.Fechar();
  RecarregarListas(); // empty again: no list outlives its file
}

Critério QuotasDoSócio(qint64 número) {
  return Critério::Começa(u"SócMês"_s, FormatarNúmero(número, u"000000"_s));
}

QString ChaveSócMês(qint64 número, int ano, int mês) {
  return FormatarNúmero(número, u"000000"_s) + FormatarNúmero(qint64(ano), u"0000"_s) +
         FormatarNúmero(qint64(mês), u"00"_s);
}

Consulta TodosOsSócios() {
  return Consulta{u"Sócios"_s, {}, {Ordem{u"Número"_s}}};
}

SóciosSeleccionados::SóciosSeleccionados(Consulta consulta) {
  Dados().sócios->Reabrir(std::move(consulta));
}

SóciosSeleccionados::~SóciosSeleccionados() {
  ConjuntoRegistos *sócios = Dados().sócios.get();
  if (!sócios || !sócios->Aberto())
    return;
  try {
    sócios->Reabrir(TodosOsSócios());
  } catch (const ErroBaseDados &) {
    // The engine failed on the way back: the query is all members again all the same (it
    // is set before the rows are read), and the next requery reads them.
  }
}
