#include "Formatacao.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

bool ÉDígito(QChar c) {
  return c >= u'0' && c <= u'9';
}

QString DoisDígitos(int v) {
  return u"%1"_s.arg(v, 2, 10, QChar(u'0'));
}

// Reads one run of ASCII digits of length mínimo..máximo starting at i; -1 when there is none.
int LerInteiro(QStringView t, qsizetype &i, int mínimo, int máximo) {
  int valor = 0, lidos = 0;
  while (i < t.size() && ÉDígito(t[i]) && lidos < máximo) {
    valor = valor * 10 + (t[i].unicode() - u'0');
    ++i;
    ++lidos;
  }
  return lidos >= mínimo ? valor : -1;
}

} // namespace

QString FormatarData(QDate data) {
  if (!data.isValid())
    return {};
  return u"%1-%2-%3"_s.arg(DoisDígitos(data.day()), DoisDígitos(data.month()))
      .arg(data.year(), 4, 10, QChar(u'0'));
}

QString FormatarDataHora(const QDateTime &momento) {
  if (!momento.isValid())
    return {};
  const QDate d = momento.date();
  const QTime t = momento.time();
  return u"%1/%2/%3  -  %4h %5m"_s.arg(DoisDígitos(d.day()), DoisDígitos(d.month()))
      .arg(d.year(), 4, 10, QChar(u'0'))
      .arg(DoisDígitos(t.hour()), DoisDígitos(t.minute()));
}

const QStringList &NomesMeses() {
  static const QStringList nomes{u"Janeiro"_s,  u"Fevereiro"_s, u"Março"_s,    u"Abril"_s,
                                 u"Maio"_s,     u"Junho"_s,     u"Julho"_s,    u"Agosto"_s,
                                 u"Setembro"_s, u"Outubro"_s,   u"Novembro"_s, u"Dezembro"_s};
  return nomes;
}

QString NomeMês(int mês) {
  if (mês < 1 || mês > 12)
    return {};
  return NomesMeses().at(mês - 1);
}

QString AbreviaturaMês(int mês) {
  return NomeMês(mês).left(3);
}

qint64 ValorNumérico(QStringView texto) {
  qsizetype i = 0;
  const qsizetype n = texto.size();
  while (i < n && (texto[i] == u' ' || texto[i] == u'\t' || texto[i] == u'\n' || texto[i] == u'\r'))
    ++i;
  bool negativo = false;
  if (i < n && (texto[i] == u'+' || texto[i] == u'-')) {
    negativo = texto[i] == u'-';
    ++i;
  }
  constexpr qint64 máximo = std::numeric_limits<qint64>::max();
  qint64 valor = 0;
  for (; i < n && ÉDígito(texto[i]); ++i) {
    const int d = texto[i].unicode() - u'0';
    if (valor > (máximo - d) / 10) {
      valor = máximo;
      break;
    }
    valor = valor * 10 + d;
  }
  return negativo ? -valor : valor;
}

QString NúmeroComSinal(qint64 valor) {
  return (valor >= 0 ? u" "_s : QString()) + QString::number(valor);
}

std::optional<QDate> LerData(QStringView texto) {
  const QStringView t = texto.trimmed();
  qsizetype i = 0;
  const int dia = LerInteiro(t, i, 1, 2);
  if (dia < 0 || i >= t.size() || (t[i] != u'-' && t[i] != u'/'))
    return std::nullopt;
  const QChar separador = t[i++];
  const int mês = LerInteiro(t, i, 1, 2);
  if (mês < 0 || i >= t.size() || t[i] != separador)
    return std::nullopt;
  ++i;
  const int ano = LerInteiro(t, i, 4, 4);
  if (ano < 0 || i != t.size())
    return std::nullopt;
  const QDate data(ano, mês, dia);
  if (!data.isValid())
    return std::nullopt;
  return data;
}

std::optional<QString> NormalizarData(QStringView texto) {
  if (const auto data = LerData(texto))
    return FormatarData(*data);
  return std::nullopt;
}

QString DataParaInscrição(QDate data) {
  if (!data.isValid() || data.year() < 1000 || data.year() > 9999)
    return {};
  // Written digit by digit: an import converts a date for every line.
  const int a = data.year(), m = data.month(), d = data.day();
  const int algarismos[8] = {a / 1000, a / 100 % 10, a / 10 % 10, a % 10,
                             m / 10,   m % 10,       d / 10,      d % 10};
  QString r(8, Qt::Uninitialized);
  for (int i = 0; i < 8; ++i)
    r[i] = QChar(u'0' + algarismos[i]);
  return r;
}

QString InscriçãoParaTexto(const QString &inscrição) {
  if (inscrição.size() != 8 || !std::all_of(inscrição.begin(), inscrição.end(), ÉDígito))
    return inscrição;
  // Built directly: every member of a list passes here.
  const QChar *c = inscrição.constData();
  const QChar r[] = {c[6], c[7], u'-', c[4], c[5], u'-', c[0], c[1], c[2], c[3]};
  return QString(r, 10);
}
