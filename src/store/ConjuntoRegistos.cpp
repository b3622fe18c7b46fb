#include "ConjuntoRegistos.h"

#include "BaseDados.h"
#include "Esquema.h"

#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void FaltaDoPrograma(const QString &texto) {
  throw std::logic_error(texto.toStdString());
}

} // namespace

// A row's identity: SQLite's row id; on a server, which has none that lasts, the table's
// unique key (a dues key is twelve digits, kept as text and read as a number).
QString ConjuntoRegistos::ColunaId() const {
  return ColunaLinha(*tabela, bd->MotorAberto());
}

QVariant ConjuntoRegistos::ValorId(qint64 v) const {
  if (bd->MotorAberto() == Motor::PostgreSQL && IdÉTexto(*tabela))
    return QString::number(v).rightJustified(12, u'0');
  return v;
}

ConjuntoRegistos::ConjuntoRegistos(BaseDados &b, Consulta c)
    : bd(&b), consulta(std::move(c)), tabela(ProcurarTabela(consulta.tabela)) {
  if (!tabela)
    throw std::invalid_argument("Tabela desconhecida: " + consulta.tabela.toStdString());
  for (const Ordem &o : consulta.ordem)
    if (tabela->PosiçãoCampo(o.campo) < 0)
      throw std::invalid_argument("Campo de ordenação desconhecido: " + o.campo.toStdString());
  TraduzirFiltro(*tabela, consulta.filtro); // refuses unknown fields now rather than later
  directo = consulta.filtro.Vazio() && consulta.ordem.isEmpty();
  bd->Registar(this);
  try {
    Carregar();
  } catch (...) {
    bd->Retirar(this);
    throw;
  }
}

ConjuntoRegistos::~ConjuntoRegistos() {
  Fechar();
}

void ConjuntoRegistos::Fechar() {
  if (!bd)
    return;
  bd->Retirar(this);
  bd = nullptr;
  chaves.clear();
  chavesPorLer = false;
  posições.clear();
  posiçõesVálidas = false;
  edição = Edição::Nenhuma;
  linhaVálida = false;
  FicarFora(true, true);
}

void ConjuntoRegistos::ExigirAberto() const {
  if (!bd)
    FaltaDoPrograma(u"Conjunto de registos de "_s + consulta.tabela + u" fechado"_s);
}

void ConjuntoRegistos::Falhar(CausaErro causa, const QString &operação,
                              const QString &pormenor) const {
  if (bd && bd->MotorAberto() == Motor::PostgreSQL)
    throw ErroBaseDados::NoServidor(causa, operação, bd->Caminho(), pormenor);
  throw ErroBaseDados(causa, operação, bd ? bd->Caminho() : QString(), pormenor);
}

void ConjuntoRegistos::ExigirActual(const QString &operação) const {
  ExigirAberto();
  if (lugar == Lugar::Em)
    return;
  Falhar(CausaErro::SemRegistoActual, operação,
         lugar == Lugar::Eliminado ? u"o registo foi eliminado"_s : u"não há registo actual"_s);
}

// --- positioning ---------------------------------------------------------------------------

void ConjuntoRegistos::IrPara(qint64 idNovo, qsizetype índiceNovo) {
  id = idNovo;
  índice = índiceNovo;
  lugar = Lugar::Em;
  bof = eof = false;
  linhaVálida = false;
}

void ConjuntoRegistos::FicarFora(bool antes, bool depois) {
  lugar = Lugar::Fora;
  bof = antes;
  eof = depois;
  id = -1;
  linhaVálida = false;
}

std::optional<qint64> ConjuntoRegistos::Extremo(bool máximo, const QString &condição,
                                                const QVariantList &valores) const {
  QString sql = (máximo ? u"SELECT max("_s : u"SELECT min("_s) + ColunaId() + u") FROM "_s +
                Identificador(tabela->nome);
  if (!condição.isEmpty())
    sql += u" WHERE "_s + condição;
  Instrução q = bd->Correr(sql, valores, u"Ler "_s + tabela->nome);
  if (q.Seguinte() && !q.Nulo(0))
    return q.Inteiro(0);
  return std::nullopt;
}

void ConjuntoRegistos::Carregar() {
  porRefrescar = false;
  edição = Edição::Nenhuma;
  semCorrespondência = false;
  posiçõesVálidas = false;
  posições.clear();
  if (directo) {
    if (const auto primeiro = Extremo(false, {}, {}))
      IrPara(*primeiro, 0);
    else
      FicarFora(true, true);
    return;
  }
  QVariantList valores;
  const QString sql = SqlChaves(valores);
  chaves.clear();
  chavesPorLer = false;
  Instrução primeira = bd->Correr(sql + u" LIMIT 1"_s, valores, u"Ler "_s + tabela->nome);
  if (!primeira.Seguinte()) {
    FicarFora(true, true);
    return;
  }
  primeiraChave = primeira.Inteiro(0);
  chavesPorLer = true;
  IrPara(primeiraChave, 0);
}

QString ConjuntoRegistos::SqlChaves(QVariantList &valores) const {
  const CondiçãoSql cond = TraduzirFiltro(*tabela, consulta.filtro, bd->MotorAberto());
  QString sql = u"SELECT "_s + ColunaId() + u" FROM "_s + Identificador(tabela->nome);
  if (!cond.texto.isEmpty())
    sql += u" WHERE "_s + cond.texto;
  QStringList ordem;
  for (const Ordem &o : consulta.ordem)
    ordem << Identificador(tabela->campos[tabela->PosiçãoCampo(o.campo)].nome) +
                 (o.descendente ? u" DESC"_s : QString());
  ordem << ColunaId(); // rows that tie keep a fixed order
  valores = cond.valores;
  return sql + u" ORDER BY "_s + ordem.join(u", "_s);
}

void ConjuntoRegistos::Refrescar() const {
  if (!porRefrescar)
    return;
  porRefrescar = false;
  linhaVálida = false;
  auto *eu = const_cast<ConjuntoRegistos *>(this);
  // An empty recordset that now has rows stands before its first one.
  if (directo) {
    if (lugar == Lugar::Fora && bof && eof && Extremo(false, {}, {}))
      eu->eof = false;
    return;
  }
  if (chavesPorLer) {
    LerChaves(); // reads them all, and places the current row among them
    if (lugar == Lugar::Fora && bof && eof && !chaves.empty())
      eu->eof = false;
    return;
  }
  const std::vector<qint64> antigas = std::move(chaves);
  chaves = ConsultarChaves();
  posiçõesVálidas = false;
  if (lugar == Lugar::Fora) {
    if (bof && eof && !chaves.empty())
      eu->eof = false;
    return;
  }
  qsizetype seguinte = índice;
  if (lugar == Lugar::Em) {
    const qsizetype p = Posição(id);
    if (p >= 0) {
      eu->índice = p;
      return;
    }
    eu->lugar = Lugar::Eliminado;
    seguinte = índice + 1;
  }
  if (const qsizetype p = LugarDoEliminado(id); p >= 0) {
    eu->índice = p;
    return;
  }
  // The slot of a row that went away holds the first row after it that is still there.
  eu->índice = qsizetype(chaves.size());
  for (qsizetype k = seguinte; k < qsizetype(antigas.size()); ++k)
    if (const qsizetype p = Posição(antigas[size_t(k)]); p >= 0) {
      eu->índice = p;
      break;
    }
}

std::vector<qint64> ConjuntoRegistos::ConsultarChaves() const {
  QVariantList valores;
  const QString sql = SqlChaves(valores);
  std::vector<qint64> lidas;
  bd->Percorrer(sql, valores, u"Ler "_s + tabela->nome,
                [&](const Instrução &q) { lidas.push_back(q.Inteiro(0)); });
  return lidas;
}

void ConjuntoRegistos::LerChaves() const {
  Refrescar();
  if (!chavesPorLer)
    return;
  chaves = ConsultarChaves();
  chavesPorLer = false;
  posiçõesVálidas = false;
  // Until now the recordset could only stand on its first row.
  if (lugar == Lugar::Em && (chaves.empty() || chaves.front() != id)) {
    const qsizetype p = Posição(id);
    auto *eu = const_cast<ConjuntoRegistos *>(this);
    if (p >= 0) {
      eu->índice = p;
    } else {
      eu->lugar = Lugar::Eliminado;
      eu->índice = std::max<qsizetype>(LugarDoEliminado(id), 0);
    }
  }
}

// Where a row that went away stood among the keys just read: the slot of the first row after
// it. Without the row's own values that is known only when the keys are the order: -1 else.
// (A row added since by another desk just after it is then not passed over.)
qsizetype ConjuntoRegistos::LugarDoEliminado(qint64 chave) const {
  const bool pelaChave =
      consulta.ordem.isEmpty() ||
      (consulta.ordem.size() == 1 && !consulta.ordem[0].descendente &&
       Identificador(tabela->campos[tabela->PosiçãoCampo(consulta.ordem[0].campo)].nome) ==
           ColunaId());
  if (!pelaChave)
    return -1;
  return std::lower_bound(chaves.begin(), chaves.end(), chave) - chaves.begin();
}

qsizetype ConjuntoRegistos::Posição(qint64 chave) const {
  LerChaves();
  if (!posiçõesVálidas) {
    posições.clear();
    posições.reserve(qsizetype(chaves.size()));
    for (size_t i = 0; i < chaves.size(); ++i)
      posições.insert(chaves[i], qsizetype(i));
    posiçõesVálidas = true;
  }
  return posições.value(chave, -1);
}

void ConjuntoRegistos::MoverPrimeiro() {
  ExigirAberto();
  Refrescar();
  edição = Edição::Nenhuma;
  if (directo) {
    if (const auto r = Extremo(false, {}, {}))
      IrPara(*r, 0);
    else
      FicarFora(true, true);
  } else if (chavesPorLer) {
    IrPara(primeiraChave, 0);
  } else if (!chaves.empty()) {
    IrPara(chaves.front(), 0);
  } else {
    FicarFora(true, true);
  }
}

void ConjuntoRegistos::MoverÚltimo() {
  ExigirAberto();
  LerChaves();
  edição = Edição::Nenhuma;
  if (directo) {
    if (const auto r = Extremo(true, {}, {}))
      IrPara(*r, 0);
    else
      FicarFora(true, true);
  } else if (!chaves.empty()) {
    IrPara(chaves.back(), qsizetype(chaves.size()) - 1);
  } else {
    FicarFora(true, true);
  }
}

void ConjuntoRegistos::MoverSeguinte() {
  ExigirAberto();
  LerChaves();
  edição = Edição::Nenhuma;
  if (eof)
    return;
  if (directo) {
    const auto r =
        lugar == Lugar::Fora ? Extremo(false, {}, {}) : Extremo(false, ColunaId() + u" > ?"_s, {ValorId(id)});
    if (r)
      IrPara(*r, 0);
    else
      FicarFora(lugar == Lugar::Fora, true);
    return;
  }
  // After a deletion the slot of the deleted row holds the row that followed it.
  const qsizetype seguinte = lugar == Lugar::Em          ? índice + 1
                             : lugar == Lugar::Eliminado ? índice
                                                         : 0;
  if (seguinte < qsizetype(chaves.size()))
    IrPara(chaves[size_t(seguinte)], seguinte);
  else
    FicarFora(chaves.empty(), true);
}

void ConjuntoRegistos::MoverAnterior() {
  ExigirAberto();
  LerChaves();
  edição = Edição::Nenhuma;
  if (bof)
    return;
  if (directo) {
    const auto r =
        lugar == Lugar::Fora ? Extremo(true, {}, {}) : Extremo(true, ColunaId() + u" < ?"_s, {ValorId(id)});
    if (r)
      IrPara(*r, 0);
    else
      FicarFora(true, lugar == Lugar::Fora);
    return;
  }
  const qsizetype anterior = lugar == Lugar::Fora ? qsizetype(chaves.size()) - 1 : índice - 1;
  if (anterior >= 0)
    IrPara(chaves[size_t(anterior)], anterior);
  else
    FicarFora(true, chaves.empty());
}

// --- finds ---------------------------------------------------------------------------------

void ConjuntoRegistos::ProcurarPrimeiro(const Filtro &f) {
  Procurar(f, false, true);
}
void ConjuntoRegistos::ProcurarÚltimo(const Filtro &f) {
  Procurar(f, true, true);
}
void ConjuntoRegistos::ProcurarSeguinte(const Filtro &f) {
  Procurar(f, false, false);
}
void ConjuntoRegistos::ProcurarAnterior(const Filtro &f) {
  Procurar(f, true, false);
}

void ConjuntoRegistos::Procurar(const Filtro &f, bool paraTrás, bool doExtremo) {
  ExigirAberto();
  LerChaves();
  edição = Edição::Nenhuma;
  CondiçãoSql cond = TraduzirFiltro(*tabela, f, bd->MotorAberto());

  if (directo) {
    // Rows in row-id order: the first match after the current row is the smallest row id
    // above it. SQLite's "+rowid" keeps the engine on the index of the criterion's field.
    if (!doExtremo) {
      const bool semReferência = lugar == Lugar::Fora;
      if (semReferência && (paraTrás ? bof : eof)) {
        semCorrespondência = true;
        return;
      }
      if (!semReferência) {
        if (!cond.texto.isEmpty())
          cond.texto += u" AND "_s;
        const QString col =
            bd->MotorAberto() == Motor::SQLite ? u"+rowid"_s : ColunaId();
        cond.texto += col + (paraTrás ? u" < ?"_s : u" > ?"_s);
        cond.valores << ValorId(id);
      }
    }
    const auto r = Extremo(paraTrás, cond.texto, cond.valores);
    semCorrespondência = !r;
    if (r)
      IrPara(*r, 0);
    return;
  }

  // With a list, the order is the list's: the matching rows are placed by their position.
  QString sql = u"SELECT "_s + ColunaId() + u" FROM "_s + Identificador(tabela->nome);
  if (!cond.texto.isEmpty())
    sql += u" WHERE "_s + cond.texto;
  Instrução q = bd->Correr(sql, cond.valores, u"Procurar em "_s + tabela->nome);

  const qsizetype n = qsizetype(chaves.size());
  qsizetype de = -1, até = n; // strictly between
  if (!doExtremo) {
    if (paraTrás)
      até = lugar == Lugar::Fora ? (eof ? n : -1) : índice;
    else
      de = lugar == Lugar::Em ? índice : lugar == Lugar::Eliminado ? índice - 1 : (bof ? -1 : n);
  }
  qsizetype melhor = -1;
  while (q.Seguinte()) {
    const qsizetype p = Posição(q.Inteiro(0));
    if (p <= de || p >= até)
      continue;
    if (melhor < 0 || (paraTrás ? p > melhor : p < melhor))
      melhor = p;
  }
  semCorrespondência = melhor < 0;
  if (melhor >= 0)
    IrPara(chaves[size_t(melhor)], melhor);
}

// --- fields --------------------------------------------------------------------------------

const QList<QVariant> &ConjuntoRegistos::LinhaActual() const {
  if (edição != Edição::Nenhuma)
    return buffer;
  ExigirActual(u"Ler "_s + tabela->nome);
  if (linhaVálida && versãoLinha == bd->Versão())
    return linha;
  QStringList campos;
  for (const DefCampo &c : tabela->campos)
    campos << Identificador(c.nome);
  Instrução q = bd->Correr(u"SELECT "_s + campos.join(u", "_s) + u" FROM "_s +
                               Identificador(tabela->nome) + u" WHERE "_s + ColunaId() + u" = ?"_s,
                           {ValorId(id)}, u"Ler "_s + tabela->nome);
  if (!q.Seguinte())
    Falhar(CausaErro::SemRegistoActual, u"Ler "_s + tabela->nome, u"o registo foi eliminado"_s);
  linha.clear();
  for (qsizetype i = 0; i < tabela->campos.size(); ++i) {
    const QVariant v = q.Valor(int(i));
    if (v.isNull())
      linha << QVariant();
    else if (tabela->campos[i].tipo == TipoCampo::Moeda)
      linha << QVariant::fromValue(Moeda::DeDécimosMilésimos(v.toLongLong()));
    else if (tabela->campos[i].tipo == TipoCampo::Texto ||
             tabela->campos[i].tipo == TipoCampo::Memo)
      linha << QVariant(v.toString());
    else
      linha << QVariant(v.toLongLong());
  }
  linhaVálida = true;
  versãoLinha = bd->Versão();
  return linha;
}

QVariant ConjuntoRegistos::Campo(QStringView nome) const {
  ExigirAberto();
  const qsizetype i = tabela->PosiçãoCampo(nome);
  if (i < 0)
    FaltaDoPrograma(u"A tabela "_s + tabela->nome + u" não tem o campo "_s + nome.toString());
  // On a server a row's identity is its key: the key itself needs no round trip.
  if (edição == Edição::Nenhuma && lugar == Lugar::Em &&
      bd->MotorAberto() == Motor::PostgreSQL && !IdÉTexto(*tabela) &&
      ColunaId() == Identificador(tabela->campos[i].nome))
    return QVariant(id);
  return LinhaActual()[i];
}

QString ConjuntoRegistos::Texto(QStringView nome) const {
  const QVariant v = Campo(nome);
  if (v.metaType() == QMetaType::fromType<Moeda>())
    return v.value<Moeda>().Formatar();
  return v.isValid() ? v.toString() : QString();
}

qint64 ConjuntoRegistos::Inteiro(QStringView nome) const {
  const QVariant v = Campo(nome);
  return v.isValid() ? v.toLongLong() : 0;
}

Moeda ConjuntoRegistos::ValorMoeda(QStringView nome) const {
  const QVariant v = Campo(nome);
  if (!v.isValid())
    return Moeda();
  if (v.metaType() != QMetaType::fromType<Moeda>())
    FaltaDoPrograma(u"O campo "_s + nome.toString() + u" não é de moeda"_s);
  return v.value<Moeda>();
}

// --- changes -------------------------------------------------------------------------------

void ConjuntoRegistos::AdicionarNovo() {
  ExigirAberto();
  buffer = QList<QVariant>(tabela->campos.size());
  edição = Edição::Nova;
}

void ConjuntoRegistos::Editar() {
  ExigirActual(u"Alterar "_s + tabela->nome);
  edição = Edição::Nenhuma;
  buffer = LinhaActual();
  edição = Edição::Existente;
}

void ConjuntoRegistos::DefinirCampo(QStringView nome, const QVariant &valor) {
  ExigirAberto();
  if (edição == Edição::Nenhuma)
    FaltaDoPrograma(u"DefinirCampo sem AdicionarNovo nem Editar"_s);
  const qsizetype i = tabela->PosiçãoCampo(nome);
  if (i < 0)
    FaltaDoPrograma(u"A tabela "_s + tabela->nome + u" não tem o campo "_s + nome.toString());
  if (tabela->campos[i].tipo == TipoCampo::Contador)
    FaltaDoPrograma(u"O campo "_s + tabela->campos[i].nome + u" é atribuído pelo motor"_s);
  const QVariant guardado = ValorParaGuardar(*tabela, i, valor); // refuses a wrong type now
  if (guardado.isNull())
    buffer[i] = QVariant();
  else if (tabela->campos[i].tipo == TipoCampo::Moeda)
    buffer[i] = valor;
  else
    buffer[i] = guardado;
}

void ConjuntoRegistos::Actualizar() {
  ExigirAberto();
  LerChaves();
  const QString operação = u"Gravar em "_s + tabela->nome;
  if (edição == Edição::Nenhuma)
    FaltaDoPrograma(u"Actualizar sem AdicionarNovo nem Editar"_s);
  QStringList campos;
  QVariantList valores;
  for (qsizetype i = 0; i < tabela->campos.size(); ++i) {
    if (tabela->campos[i].tipo == TipoCampo::Contador)
      continue;
    campos << Identificador(tabela->campos[i].nome);
    valores << ValorParaGuardar(*tabela, i, buffer[i]);
  }
  if (edição == Edição::Nova) {
    QStringList marcas(campos.size(), u"?"_s);
    QString sql = u"INSERT INTO "_s + Identificador(tabela->nome) + u" ("_s +
                  campos.join(u", "_s) + u") VALUES ("_s + marcas.join(u", "_s) + u')';
    const bool servidor = bd->MotorAberto() == Motor::PostgreSQL;
    if (servidor)
      sql += u" RETURNING "_s + ColunaId();
    Instrução q = bd->Correr(sql, valores, operação);
    qint64 novo = -1;
    if (!servidor)
      novo = q.ÚltimoId();
    else if (q.Seguinte())
      novo = q.Inteiro(0);
    if (!directo) {
      chaves.push_back(novo);
      if (posiçõesVálidas)
        posições.insert(novo, qsizetype(chaves.size()) - 1);
    }
  } else {
    if (lugar != Lugar::Em)
      Falhar(CausaErro::SemRegistoActual, operação);
    for (QString &c : campos)
      c += u" = ?"_s;
    valores << ValorId(id);
    QString sql = u"UPDATE "_s + Identificador(tabela->nome) + u" SET "_s + campos.join(u", "_s) +
                  u" WHERE "_s + ColunaId() + u" = ?"_s;
    const bool servidor = bd->MotorAberto() == Motor::PostgreSQL;
    if (servidor)
      sql += u" RETURNING "_s + ColunaId();
    Instrução q = bd->Correr(sql, valores, operação);
    // A row that another desk deleted meanwhile is not written back silently.
    const bool achada = servidor ? q.Seguinte() : q.LinhasAfectadas() > 0;
    if (!achada)
      Falhar(CausaErro::SemRegistoActual, operação, u"o registo foi eliminado"_s);
    // On a server the identity is the key: a row given another key is found by the new one.
    if (servidor && q.Inteiro(0) != id) {
      const qint64 novo = q.Inteiro(0);
      if (!directo) {
        chaves[size_t(índice)] = novo;
        posiçõesVálidas = false;
      }
      id = novo;
    }
    linhaVálida = false;
  }
  edição = Edição::Nenhuma;
}

void ConjuntoRegistos::CancelarActualização() {
  edição = Edição::Nenhuma;
}

void ConjuntoRegistos::Eliminar() {
  edição = Edição::Nenhuma;
  const QString operação = u"Eliminar de "_s + tabela->nome;
  ExigirActual(operação);
  LerChaves();
  bd->Correr(u"DELETE FROM "_s + Identificador(tabela->nome) + u" WHERE "_s + ColunaId() +
                 u" = ?"_s,
             {ValorId(id)}, operação);
  if (!directo) {
    chaves.erase(chaves.begin() + índice);
    posiçõesVálidas = false;
  }
  lugar = Lugar::Eliminado;
  linhaVálida = false;
}

void ConjuntoRegistos::Reexecutar() {
  ExigirAberto();
  Carregar();
}

void ConjuntoRegistos::Reabrir(Consulta nova) {
  ExigirAberto();
  const DefTabela *t = ProcurarTabela(nova.tabela);
  if (!t)
    throw std::invalid_argument("Tabela desconhecida: " + nova.tabela.toStdString());
  TraduzirFiltro(*t, nova.filtro);
  consulta = std::move(nova);
  tabela = t;
  directo = consulta.filtro.Vazio() && consulta.ordem.isEmpty();
  chaves.clear();
  FicarFora(true, true);
  Carregar();
}

bool ConjuntoRegistos::IrParaId(qint64 rowid) {
  ExigirAberto();
  Refrescar();
  edição = Edição::Nenhuma;
  if (directo) {
    if (!Extremo(false, ColunaId() + u" = ?"_s, {ValorId(rowid)}))
      return false;
    IrPara(rowid, 0);
    return true;
  }
  if (lugar == Lugar::Em && id == rowid)
    return true; // already there (the usual case when browsing): no look-up table to build
  const qsizetype p = Posição(rowid);
  if (p < 0)
    return false;
  IrPara(rowid, p);
  return true;
}

void ConjuntoRegistos::AoReverter() {
  // A rolled-back transaction may have taken away rows this list holds, or rows it added:
  // read the query again and stay on the same row when it is still there.
  edição = Edição::Nenhuma;
  linhaVálida = false;
  const bool estava = lugar == Lugar::Em;
  const qint64 anterior = id;
  try {
    if (directo) {
      if (estava && !Extremo(false, ColunaId() + u" = ?"_s, {ValorId(anterior)}))
        lugar = Lugar::Eliminado;
      return;
    }
    Carregar();
    if (estava) {
      const qsizetype p = Posição(anterior);
      if (p >= 0)
        IrPara(anterior, p);
    }
  } catch (const ErroBaseDados &) {
    // The next operation on the recordset will report the engine's trouble.
  }
}

// --- position ------------------------------------------------------------------------------

double ConjuntoRegistos::PercentagemPosição() const {
  ExigirAberto();
  LerChaves();
  if (lugar == Lugar::Fora)
    return eof && !bof ? 100.0 : 0.0;
  if (!directo)
    return chaves.empty() ? 0.0 : 100.0 * double(índice) / double(chaves.size());
  const QString t = Identificador(tabela->nome);
  Instrução q = bd->Correr(u"SELECT (SELECT count(*) FROM "_s + t +
                               u" WHERE "_s + ColunaId() + u" < ?), count(*) FROM "_s + t,
                           {ValorId(id)}, u"Ler "_s + tabela->nome);
  if (!q.Seguinte() || q.Inteiro(1) == 0)
    return 0.0;
  return 100.0 * double(q.Inteiro(0)) / double(q.Inteiro(1));
}

qint64 ConjuntoRegistos::NúmeroRegistos() const {
  ExigirAberto();
  LerChaves();
  if (!directo)
    return qint64(chaves.size());
  Instrução q = bd->Correr(u"SELECT count(*) FROM "_s + Identificador(tabela->nome), {},
                           u"Ler "_s + tabela->nome);
  return q.Seguinte() ? q.Inteiro(0) : 0;
}

qint64 ConjuntoRegistos::IdActual() const {
  return lugar == Lugar::Em ? id : -1;
}
