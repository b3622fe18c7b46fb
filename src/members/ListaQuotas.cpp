#include "ListaQuotas.h"

#include "Formatacao.h"
#include "Formato.h"

#include <algorithm>

using namespace Qt::StringLiterals;

QString EntradaQuota(int ano, int mês, Moeda valor, qint64 recibo) {
  const QString a = FormatarNúmero(qint64(ano), u"0000");
  return a + FormatarNúmero(qint64(mês), u"00") + a + u'\t' + NomeMês(mês) + u'\t' +
         valor.Formatar(u"#0.00") + u'\t' + FormatarNúmero(recibo, u"#0 ");
}

QString EntradaQuotaDirecta(int ano, int mês, Moeda valor, qint64 recibo) {
  const qint64 v = valor.DécimosMilésimos();
  constexpr qint64 limite = qint64(1) << 60;
  if (ano < 0 || ano > 9999 || mês < 1 || mês > 12 || v <= -limite || v >= limite)
    return EntradaQuota(ano, mês, valor, recibo);
  // Cents rounded half away from zero, as the "#0.00" pattern rounds.
  const qint64 cêntimos = (v < 0 ? -v + 50 : v + 50) / 100;
  // Written straight into the text: a member's screen builds one for every month paid.
  const QString nomeMês = NomeMês(mês);
  // Room for the longest: 19 fixed characters, the month, 15 digits of euros, 20 of receipt.
  QString e(19 + nomeMês.size() + 15 + 20, Qt::Uninitialized);
  QChar *const início = e.data();
  QChar *o = início;
  const auto dígitos = [&o](quint64 n, int mínimo) {
    char16_t t[20];
    int k = 0;
    do {
      t[k++] = char16_t(u'0' + n % 10);
      n /= 10;
    } while (n != 0);
    while (k < mínimo)
      t[k++] = u'0';
    while (k > 0)
      *o++ = QChar(t[--k]);
  };
  dígitos(quint64(ano), 4);
  dígitos(quint64(mês), 2);
  dígitos(quint64(ano), 4);
  *o++ = u'\t';
  for (QChar c : nomeMês)
    *o++ = c;
  *o++ = u'\t';
  if (v < 0 && cêntimos != 0)
    *o++ = u'-';
  dígitos(quint64(cêntimos / 100), 1);
  *o++ = u',';
  dígitos(quint64(cêntimos % 100), 2);
  *o++ = u'\t';
  if (recibo < 0)
    *o++ = u'-';
  dígitos(recibo < 0 ? 0 - quint64(recibo) : quint64(recibo), 1);
  *o++ = u' ';
  e.truncate(o - início);
  return e;
}

PartesQuota DividirEntrada(QStringView e) {
  PartesQuota p;
  p.chave = e.left(6).toString();
  p.ano = e.mid(6, 4).toString();
  // The columns after the first tab: month name, amount, receipt.
  const qsizetype t1 = e.indexOf(u'\t');
  if (t1 < 0)
    return p;
  const auto resto = e.mid(t1 + 1).split(u'\t');
  if (resto.size() > 0)
    p.nomeMês = resto[0].toString();
  if (resto.size() > 1)
    p.valor = resto[1].toString();
  if (resto.size() > 2)
    p.recibo = resto[2].toString();
  return p;
}

int MêsDaEntrada(QStringView e) {
  return int(ValorNumérico(e.mid(4, 2)));
}

const QStringList &ItensPeríodo() {
  static const QStringList itens =
      NomesMeses() + QStringList{u"(Todo o Ano)"_s,   u"(1º Trimestre)"_s, u"(2º Trimestre)"_s,
                                 u"(3º Trimestre)"_s, u"(4º Trimestre)"_s, u"(1º Semestre)"_s,
                                 u"(2º Semestre)"_s};
  return itens;
}

Período PeríodoDoItem(int item) {
  static const Período períodos[] = {{1, 12}, {1, 3}, {4, 6}, {7, 9}, {10, 12}, {1, 6}, {7, 12}};
  if (item >= 0 && item < 12)
    return {item + 1, item + 1};
  if (item >= 12 && item < 19)
    return períodos[item - 12];
  return {1, 0}; // no month
}

qsizetype ListaOrdenada::Inserir(const QString &entrada) {
  const auto pos = std::upper_bound(entradas.begin(), entradas.end(), entrada);
  const qsizetype i = pos - entradas.begin();
  entradas.insert(i, entrada);
  return i;
}

qsizetype ListaOrdenada::ProcurarChave(QStringView chave) const {
  const QStringView k = chave.left(6);
  const auto pos =
      std::lower_bound(entradas.begin(), entradas.end(), k,
                       [](const QString &e, QStringView c) { return QStringView(e).left(6) < c; });
  if (pos != entradas.end() && QStringView(*pos).left(6) == k)
    return pos - entradas.begin();
  return -1;
}

ListaOrdenada EntradasDasQuotas(const std::vector<QuotaPaga> &quotas) {
  ListaOrdenada l;
  for (const QuotaPaga &q : quotas)
    l.Inserir(EntradaQuotaDirecta(q.ano, q.mês, q.valor, q.recibo));
  return l;
}

qsizetype QuotasEmEdição::Adicionar(int ano, int item, Moeda valor, qint64 recibo,
                                    const std::function<bool(int, int)> &substituir) {
  const Período período = PeríodoDoItem(item);
  qsizetype alvo = 0;
  for (int mês = período.primeiro; mês <= período.último; ++mês) {
    const QString e = EntradaQuota(ano, mês, valor, recibo);
    qsizetype k = ListQuotas.ProcurarChave(e);
    if (k < 0) {
      k = ListQuotas.Inserir(e);
    } else if (ListQuotas.Em(k) != e && substituir(mês, ano)) {
      ListQuotas.Remover(k);
      k = ListQuotas.Inserir(e);
    }
    if (mês == período.primeiro)
      alvo = k + 1;
  }
  return alvo;
}

QuotasEmEdição::Alteração QuotasEmEdição::Alterar(qsizetype actual, int ano, int mês, Moeda valor,
                                                  qint64 recibo) {
  const QString e = EntradaQuota(ano, mês, valor, recibo);
  if (const qsizetype igual = ListQuotas.Procurar(e); igual >= 0)
    return {igual + 1, true};
  const QString anterior = ListQuotas.Em(actual - 1);
  ListQuotas.Remover(actual - 1);
  if (anterior.left(6) != e.left(6)) {
    // Moved to another month: the former month's row goes at the save, as if removed.
    ListElimin.Inserir(anterior);
    // A month already on the list is the one being replaced.
    if (const qsizetype outro = ListQuotas.ProcurarChave(e); outro >= 0)
      ListQuotas.Remover(outro);
  }
  return {ListQuotas.Inserir(e) + 1, false};
}

qsizetype QuotasEmEdição::Apagar(qsizetype actual) {
  ListElimin.Inserir(ListQuotas.Em(actual - 1));
  ListQuotas.Remover(actual - 1);
  return std::min(actual, ListQuotas.Tamanho());
}
