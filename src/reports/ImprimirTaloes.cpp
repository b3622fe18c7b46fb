#include "ImprimirTaloes.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "Moeda.h"
#include "OrdemNomes.h"
#include "Referencias.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The largest receipt number a dues row can hold (its Recibo field is a 32-bit integer).
constexpr qint64 MaiorRecibo = 2147483647;

// A field that must hold a whole number: digits only, blanks around them ignored. Anything else,
// an empty field included, is no number at all rather than a guess at one.
std::optional<qint64> LerInteiro(const QString &texto) {
  const QString t = texto.trimmed();
  if (t.isEmpty() || t.size() > 10)
    return std::nullopt;
  for (const QChar c : t)
    if (c < u'0' || c > u'9')
      return std::nullopt;
  return t.toLongLong();
}

// The stored counter as a number; a row missing or spoilt counts as no number issued.
qint64 ContadorGuardado(const std::optional<QString> &designação) {
  return std::clamp<qint64>(ValorNumérico(designação.value_or(u"0"_s)), 0, MaiorRecibo);
}

const QString PrefixoRecibo = u"Nº do Recibo: "_s;

// The stubs numbered on from another counter: `deslocação` added to every number.
void Renumerar(PlanoTalões &plano, qint64 deslocação) {
  for (Talão &t : plano.talões) {
    const qsizetype antigo = PrefixoRecibo.size() + QString::number(t.recibo).size();
    t.recibo += deslocação;
    t.linhas[8] = PrefixoRecibo + QString::number(t.recibo) + t.linhas[8].mid(antigo);
  }
  plano.últimoRecibo += deslocação;
}

// The handover refused what it found under the lock: nothing stored, nothing printed.
struct RecusaNaEntrega {
  RecusaTalões recusa;
};

const QString FonteTalão = u"Times New Roman"_s;

// Sizes of lines 1 to 4 and of lines 6 to 9.
constexpr double TamanhosColectividade[] = {11, 9, 9, 10};
constexpr double TamanhosSócio[] = {11, 10, 10, 10};
constexpr double TamanhoVazio = 8;
constexpr double TamanhoNIPC = 9;

double Altura(double tamanho) {
  FonteImpressão f;
  f.nome = FonteTalão;
  f.tamanho = tamanho;
  return AlturaDaLinha(f);
}

// One line of both halves: `posições` are where the two texts start, or with `àDireita` where
// they end. A long name with its tax number would otherwise run over the cut line into the other
// half: a line too wide shrinks until it fits. The print line advances by the line's own size,
// whatever size the text needed.
void LinhaDupla(Impressão &p, const QString &texto, double tamanho, double largura,
                const double (&posições)[2], bool àDireita) {
  p.DefinirTamanho(tamanho);
  const TextoAjustado a = AjustarTexto(p.Fonte(), texto, largura, 0);
  const double t = a.tamanho;
  p.DefinirTamanho(t);
  const double medida = p.LarguraTexto(a.texto);
  p.DefinirX(àDireita ? posições[0] - medida : posições[0]);
  p.Imprimir(a.texto, false);
  p.DefinirX(àDireita ? posições[1] - medida : posições[1]);
  if (t == tamanho) {
    p.Imprimir(a.texto);
    return;
  }
  p.Imprimir(a.texto, false);
  p.DefinirTamanho(tamanho);
  p.LinhaVazia();
}

} // namespace

QString MensagemRecusa(RecusaTalões recusa) {
  switch (recusa) {
  case RecusaTalões::SemNomeColectividade:
    return u"Terá que defenir o Nome da Colectividade"_s;
  case RecusaTalões::SócioXInválido:
    return u"Indique em «Do Sócio 'X'» o número do primeiro sócio a incluir."_s;
  case RecusaTalões::SócioYInválido:
    return u"Indique em «Até ao Sócio 'Y'» o número do último sócio a incluir."_s;
  case RecusaTalões::AnoInválido:
    return u"Indique em «Ano da Emissão» um ano entre 1990 e 2999."_s;
  case RecusaTalões::MêsInválido:
    return u"Indique em «A iniciar no Mês» o número do primeiro período a emitir (1 ou mais)."_s;
  case RecusaTalões::NInicialInválido:
    return u"Indique em «NºInicial do Recibo» o número do último recibo emitido, só com "
           u"algarismos."_s;
  case RecusaTalões::NenhumSócio:
    return u"Não há sócios com número no intervalo indicado.\nNão foi impresso nenhum talão."_s;
  case RecusaTalões::NenhumTalão:
    return u"Não há talões a emitir com as opções escolhidas.\nNão foi impresso nenhum talão "
           u"nem gasto nenhum número de recibo."_s;
  case RecusaTalões::NúmerosEsgotados:
    return u"Os números de recibo passariam de 2147483647.\nIndique em «NºInicial do Recibo» "
           u"um número mais baixo."_s;
  case RecusaTalões::NumeraçãoMudou:
    return u"Enquanto os talões estavam na pré-visualização, outro posto emitiu recibos com os "
           u"números que eles mostravam.\nNão foi impresso nenhum talão nem gasto nenhum número "
           u"de recibo: imprima de novo para os numerar a seguir ao último emitido."_s;
  case RecusaTalões::ImpressãoNãoIniciada:
  case RecusaTalões::ContadorMantido:
    return {};
  }
  return {};
}

QString TextoPeríodo(int periodicidade, int p) {
  switch (periodicidade) {
  case 12:
    return NomeMês(p) + u" de"_s;
  case 4:
    return QString::number(p) + u"º Trimestre de"_s;
  case 2:
    return QString::number(p) + u"º Semestre de"_s;
  default:
    return u"Ano de"_s;
  }
}

ResultadoTalões PlanearTalões(BaseDados &bd, const ListasReferência &listas,
                              const PedidoTalões &pedido) {
  ResultadoTalões r;
  const auto recusar = [&r](RecusaTalões recusa) {
    r.recusa = recusa;
    r.plano = {};
    return r;
  };
  const auto de = LerInteiro(pedido.sócioX);
  if (!de)
    return recusar(RecusaTalões::SócioXInválido);
  const auto até = LerInteiro(pedido.sócioY);
  if (!até)
    return recusar(RecusaTalões::SócioYInválido);
  const auto ano = LerInteiro(pedido.ano);
  if (!ano || *ano < 1990 || *ano > 2999)
    return recusar(RecusaTalões::AnoInválido);
  const int períodos = pedido.periodicidade;
  const auto primeiro = LerInteiro(pedido.mesX);
  if (!primeiro || *primeiro < 1 ||
      (períodos != 12 && períodos != 4 && períodos != 2 && períodos != 1))
    return recusar(RecusaTalões::MêsInválido);
  std::optional<qint64> inicial;
  if (pedido.nInicial) {
    inicial = LerInteiro(*pedido.nInicial);
    if (!inicial || *inicial > MaiorRecibo)
      return recusar(RecusaTalões::NInicialInválido);
  }

  BaseDados::Leitura leitura(bd);
  // The association's lines and the receipt counter in one query.
  const QHash<QChar, QString> lidas = LerLinhasTabelas(bd, TiposColectividade() + u'q');
  const QStringList colectividade = LinhasColectividade(lidas, listas);
  if (colectividade.value(0).isEmpty())
    return recusar(RecusaTalões::SemNomeColectividade);
  // Provisional: the handover numbers the run again from the counter as it is then.
  const auto contador = lidas.constFind(u'q');
  inicial = std::max(inicial.value_or(0),
                     ContadorGuardado(contador == lidas.cend()
                                          ? std::nullopt
                                          : std::optional<QString>(*contador)));

  struct Sócio {
    qint64 número;
    QString nome;
    QString nif;
    qint64 quota;
    qint64 situação;
  };
  std::vector<Sócio> sócios;
  const QString ordem =
      pedido.ordem == OrdemTalões::CódigoPostal ? u"\"CPostal\", \"Número\""_s : u"\"Número\""_s;
  bd.Percorrer(
      u"SELECT \"Número\", \"Nome\", \"NIF\", \"ValQuotaEuro\", \"Situação\" "
      u"FROM \"Sócios\" WHERE \"Número\" BETWEEN ? AND ? ORDER BY "_s +
          ordem,
      {*de, *até}, u"Ler os sócios dos talões"_s, [&](const Instrução &i) {
        sócios.push_back({i.Inteiro(0), i.Texto(1), i.Texto(2), i.Inteiro(3), i.Inteiro(4)});
      });
  if (sócios.empty())
    return recusar(RecusaTalões::NenhumSócio);
  if (pedido.ordem == OrdemTalões::Nome)
    OrdenarPorNome(sócios, [](const Sócio &s) { return s.nome; });

  LinhasTalão modelo;
  for (int k = 0; k < 4; ++k)
    modelo[k] = colectividade.value(k);
  modelo[4] = LinhaNIPC(lidas);
  modelo[5] = u"Talão de Recibo de Quotização"_s;
  const QString anoTexto = QString::number(*ano);
  QStringList textosPeríodo;
  for (int p = int(std::min<qint64>(*primeiro, períodos + 1)); p <= períodos; ++p)
    textosPeríodo << u"Periodo: "_s + TextoPeríodo(períodos, p) + u' ' + anoTexto;

  const auto participantes = std::count_if(sócios.begin(), sócios.end(), [&](const Sócio &s) {
    return pedido.situação == 0 || s.situação == pedido.situação;
  });
  if (participantes == 0 || textosPeríodo.isEmpty())
    return recusar(RecusaTalões::NenhumTalão);
  if (*inicial + qint64(participantes) * textosPeríodo.size() > MaiorRecibo)
    return recusar(RecusaTalões::NúmerosEsgotados);

  qint64 recibo = *inicial;
  r.plano.sócios = int(sócios.size());
  r.plano.talões.reserve(size_t(participantes) * size_t(textosPeríodo.size()));
  for (size_t i = 0; i < sócios.size(); ++i) {
    const Sócio &s = sócios[i];
    if (pedido.situação != 0 && s.situação != pedido.situação)
      continue;
    LinhasTalão linhas = modelo;
    linhas[6] = QString::number(s.número) + u" / Nome: "_s + s.nome + u" / NIF: "_s + s.nif;
    const QString valor = u" / Valor da Quota: "_s +
                          Moeda::DeDécimosMilésimos(s.quota).Formatar(u"###,###,##0.00") + u"€"_s;
    for (const QString &período : std::as_const(textosPeríodo)) {
      ++recibo;
      linhas[7] = período;
      linhas[8] = PrefixoRecibo + QString::number(recibo) + valor;
      r.plano.talões.push_back({linhas, recibo, int(i) + 1});
    }
  }
  r.plano.últimoRecibo = recibo;
  return r;
}

double AlturaTalão(bool comNIPC) {
  static const double nipc = Altura(TamanhoNIPC);
  static const double altura = [] {
    double h = Altura(TamanhoVazio);
    for (const double t : TamanhosColectividade)
      h += Altura(t);
    for (const double t : TamanhosSócio)
      h += Altura(t);
    return h + Altura(TamanhosSócio[3]); // the empty line above the lower rule
  }();
  return comNIPC ? altura + nipc : altura;
}

void ImprimirTalão(Impressão &p, const LinhasTalão &linhas, double yInício) {
  p.DefinirFonte(FonteTalão);
  p.DefinirNegrito(false);
  p.DefinirSublinhado(false);
  p.DefinirX(0);
  p.DefinirY(yInício);
  // A stub is never split: one that does not fit goes to the top of the next page.
  const bool comNIPC = !linhas[4].isEmpty();
  p.ReservarEspaço(AlturaTalão(comNIPC));
  const double topo = p.Y();
  const double w = p.LarguraPágina();
  const double corte = w / 2 - 184;
  // Each half keeps clear of the cut line and of the right edge.
  const double largura = w / 2 - 567;

  p.Linha(0, topo, w, topo);
  p.DefinirTamanho(TamanhoVazio);
  p.LinhaVazia();
  for (int k = 0; k < 4; ++k)
    LinhaDupla(p, linhas[k], TamanhosColectividade[k], largura, {0, w / 2}, false);
  if (comNIPC)
    LinhaDupla(p, linhas[4], TamanhoNIPC, largura, {0, w / 2}, false);
  for (int k = 0; k < 4; ++k)
    LinhaDupla(p, linhas[5 + k], TamanhosSócio[k], largura, {w / 2 - 368, w - 567}, true);
  p.LinhaVazia();
  const double fundo = p.Y();
  p.Linha(0, fundo, w, fundo);
  // The cut line runs from rule to rule of this stub, whatever its fonts measure.
  p.Linha(corte, topo, corte, fundo, true);
}

void ImprimirTalões(Impressão &p, const PlanoTalões &plano,
                    const std::function<void(int)> &progresso,
                    const std::function<void(qint64)> &desenhado) {
  int último = -1;
  const auto avançar = [&](int feitos) {
    const int percentagem = plano.sócios > 0 ? int(qint64(feitos) * 100 / plano.sócios) : 100;
    if (progresso && percentagem > último)
      progresso(percentagem);
    último = std::max(último, percentagem);
  };
  const double intervalo = Altura(TamanhoVazio);
  for (size_t i = 0; i < plano.talões.size(); ++i) {
    const Talão &t = plano.talões[i];
    // One empty small line between stubs, so that each has its own rules to cut along.
    ImprimirTalão(p, t.linhas, i == 0 ? p.Y() : p.Y() + intervalo);
    if (desenhado)
      desenhado(t.recibo);
    if (i + 1 == plano.talões.size() || plano.talões[i + 1].sócio != t.sócio)
      avançar(t.sócio);
  }
  // Members after the last stub (of another situation) are done as well.
  avançar(plano.sócios);
}

FalhaImpressãoTalões::FalhaImpressãoTalões(qint64 de, qint64 até, qint64 desenhados)
    : std::runtime_error("impressão dos talões falhada"), primeiro(de), último(até),
      desenhadoAté(desenhados) {}

QString FalhaImpressãoTalões::Mensagem() const {
  const auto n = [](qint64 v) { return QString::number(v); };
  const auto recibos = [&](qint64 de, qint64 até) {
    return de == até ? u"o recibo nº "_s + n(de) : u"os recibos nº "_s + n(de) + u" a "_s + n(até);
  };
  QString texto = u"A impressão dos talões falhou depois de os números de recibo terem sido "
                  u"guardados.\n"_s;
  if (desenhadoAté < primeiro) {
    texto += u"Não foram impressos "_s + recibos(primeiro, último) + u"."_s;
  } else if (desenhadoAté < último) {
    texto += u"Não foram impressos "_s + recibos(desenhadoAté + 1, último) + u"; "_s +
             recibos(primeiro, desenhadoAté) +
             u" podem não ter saído por inteiro: confira o que foi impresso."_s;
  } else {
    texto +=
        u"Podem não ter saído "_s + recibos(primeiro, último) + u": confira o que foi impresso."_s;
  }
  return texto + u"\nEstes números não voltam a ser dados: a próxima emissão começa no nº "_s +
         n(último + 1) + u"."_s;
}

QString MensagemNumeraçãoMudada(const NúmerosTalões &n) {
  const auto t = [](qint64 v) { return QString::number(v); };
  const QString recibos = n.primeiro == n.último
                              ? u"o recibo nº "_s + t(n.primeiro)
                              : u"os recibos nº "_s + t(n.primeiro) + u" a "_s + t(n.último);
  return u"O contador de recibos foi alterado noutro posto depois de «NºInicial do Recibo» "
         u"indicar %1.\nOs talões foram impressos com %2, e não a partir do nº %3."_s.arg(
             t(n.indicado), recibos, t(n.indicado + 1));
}

std::optional<RecusaTalões> ExecutarTalões(BaseDados &bd, const ListasReferência &listas,
                                           const PedidoTalões &pedido, const AbrirTalões &abrir,
                                           const std::function<void(int)> &progresso,
                                           NúmerosTalões *emitidos) {
  ResultadoTalões r = PlanearTalões(bd, listas, pedido);
  if (r.recusa)
    return r.recusa;
  PlanoTalões &plano = r.plano;
  // Checked by PlanearTalões: a request that gave a number gave a valid one.
  const qint64 digitado = pedido.nInicial ? *LerInteiro(*pedido.nInicial) : 0;
  const qint64 indicado = pedido.nInicial ? digitado : plano.talões.front().recibo - 1;
  qint64 primeiro = plano.talões.front().recibo;
  bool desenhando = false;
  // The numbers are taken in a transaction of their own, committed before the document can
  // come out: they are spent even if the program stops right after. Under the row's lock no
  // other desk can take the same ones; one that took numbers since the plan was made has
  // moved the counter, and the run numbers on after it.
  bool guardado = false;
  bool jáImpressos = false;
  const auto entregar = [&] {
    if (guardado)
      return;
    BaseDados::Transacção transacção(bd);
    const qint64 anterior =
        std::max(digitado, ContadorGuardado(LerLinhaTabelasParaAlterar(bd, u'q')));
    if (const qint64 deslocação = anterior - (primeiro - 1); deslocação != 0) {
      if (jáImpressos) {
        // Out already, numbers and all: the counter is never set back below another desk's.
        GravarLinhaTabelas(bd, u'q', QString::number(std::max(anterior, plano.últimoRecibo)));
        transacção.Confirmar();
        guardado = true;
        return;
      }
      if (desenhando)
        throw RecusaNaEntrega{RecusaTalões::NumeraçãoMudou}; // the preview showed them
      if (plano.últimoRecibo + deslocação > MaiorRecibo)
        throw RecusaNaEntrega{RecusaTalões::NúmerosEsgotados};
      Renumerar(plano, deslocação);
      primeiro += deslocação;
    }
    GravarLinhaTabelas(bd, u'q', QString::number(plano.últimoRecibo));
    transacção.Confirmar();
    guardado = true;
  };
  qint64 desenhadoAté = 0;
  const auto falhar = [&] {
    return FalhaImpressãoTalões(primeiro, plano.últimoRecibo,
                                desenhando ? desenhadoAté : primeiro - 1);
  };
  try {
    const std::unique_ptr<Impressão> p = abrir(entregar);
    if (!p) {
      if (guardado)
        throw falhar();
      return RecusaTalões::ImpressãoNãoIniciada;
    }
    desenhando = true;
    desenhadoAté = primeiro - 1;
    ImprimirTalões(*p, plano, progresso, [&](qint64 recibo) { desenhadoAté = recibo; });
    p->TerminarDocumento();
    if (!p->Impresso()) {
      if (guardado)
        throw falhar();
      return RecusaTalões::ImpressãoNãoIniciada; // the numbers were never handed out
    }
  } catch (const RecusaNaEntrega &e) {
    return e.recusa;
  } catch (const FalhaImpressãoTalões &) {
    throw;
  } catch (const std::exception &) {
    if (!guardado)
      throw; // nothing was handed out: nothing is spent
    throw falhar();
  }
  // A surface that printed without handing over first: its numbers are stored all the same.
  jáImpressos = true;
  entregar();
  if (emitidos)
    *emitidos = {indicado, primeiro, plano.últimoRecibo};
  return std::nullopt;
}

QString LerContadorRecibos(BaseDados &bd) {
  return LerLinhaTabelas(bd, u'q').value_or(u"0"_s);
}

std::optional<RecusaTalões>
GravarContadorRecibos(BaseDados &bd, const QString &texto,
                      const std::function<bool(qint64 guardado, qint64 novo)> &aceitarDescida) {
  const auto n = LerInteiro(texto);
  if (!n || *n > MaiorRecibo)
    return RecusaTalões::NInicialInválido;
  // The question is asked with no lock held; the write checks the counter again under its lock.
  const qint64 visto = ValorNumérico(LerContadorRecibos(bd));
  const bool descidaAceite = *n < visto && aceitarDescida && aceitarDescida(visto, *n);
  if (*n < visto && !descidaAceite)
    return RecusaTalões::ContadorMantido;
  BaseDados::Transacção transacção(bd);
  const qint64 guardado = ValorNumérico(LerLinhaTabelasParaAlterar(bd, u'q').value_or(u"0"_s));
  if (*n < guardado && !(descidaAceite && guardado == visto))
    return RecusaTalões::ContadorMantido;
  GravarLinhaTabelas(bd, u'q', QString::number(*n));
  transacção.Confirmar();
  return std::nullopt;
}
