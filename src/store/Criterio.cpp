#include "Criterio.h"

#include "Esquema.h"
#include "Moeda.h"

#include <QRegularExpression>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void Recusar(const QString &texto) {
  throw std::invalid_argument(texto.toStdString());
}

qsizetype CampoOuRecusar(const DefTabela &t, const QString &campo) {
  const qsizetype i = t.PosiçãoCampo(campo);
  if (i < 0)
    Recusar(u"A tabela "_s + t.nome + u" não tem o campo "_s + campo);
  return i;
}

// The smallest text greater than every text that starts with the prefix: its last character
// raised by one. Texts compare by code point (SQLite's binary order of UTF-8).
QString LimiteSuperior(const QString &prefixo) {
  QList<uint> cp = prefixo.toUcs4();
  cp.last() += 1;
  return QString::fromUcs4(reinterpret_cast<const char32_t *>(cp.constData()), cp.size());
}

} // namespace

// The pattern as a whole-text expression. On PostgreSQL "~*" ignores the letter case itself,
// beyond ASCII through ICU's root collation whatever the character classes of the database
// (a database made with the C locale knows no case of "Ç").
QString PadrãoParaExpressão(const QString &padrão, Motor motor) {
  const bool pg = motor == Motor::PostgreSQL;
  QString r = pg ? u"\\A"_s : u"(?i)\\A"_s;
  QString literal;
  auto despejar = [&] {
    // Qt escapes every character but ASCII letters, digits and "_": PostgreSQL's advanced
    // expressions take such an escape literally as well.
    r += QRegularExpression::escape(literal);
    literal.clear();
  };
  for (QChar c : padrão) {
    if (c == u'*') {
      despejar();
      r += u".*"_s;
    } else if (c == u'?') {
      despejar();
      r += u'.';
    } else {
      literal += c;
    }
  }
  despejar();
  return r + (pg ? u"\\Z"_s : u"\\z"_s);
}

QVariant ValorParaGuardar(const DefTabela &t, qsizetype i, const QVariant &v) {
  const DefCampo &c = t.campos[i];
  if (!v.isValid() || v.isNull())
    return QVariant();
  switch (c.tipo) {
  case TipoCampo::Long:
  case TipoCampo::Contador: {
    if (v.metaType() == QMetaType::fromType<Moeda>() || v.typeId() == QMetaType::Double)
      Recusar(u"Valor não inteiro para o campo "_s + c.nome);
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok || n < -2147483648LL || n > 2147483647LL)
      Recusar(u"Valor fora dos limites do campo "_s + c.nome);
    return QVariant::fromValue(n);
  }
  case TipoCampo::Moeda:
    if (v.metaType() != QMetaType::fromType<Moeda>())
      Recusar(u"O campo "_s + c.nome + u" só aceita valores em Moeda"_s);
    return QVariant::fromValue(qlonglong(v.value<Moeda>().DécimosMilésimos()));
  case TipoCampo::Texto:
  case TipoCampo::Memo:
    return v.toString();
  }
  return v;
}

CondiçãoSql TraduzirFiltro(const DefTabela &t, const Filtro &filtro, Motor motor) {
  CondiçãoSql r;
  QStringList partes;
  for (const Critério &c : filtro.Partes()) {
    const qsizetype i = CampoOuRecusar(t, c.campo);
    const QString id = Identificador(t.campos[i].nome);
    switch (c.comparação) {
    case Comparação::Igual:
    case Comparação::Diferente:
    case Comparação::Menor:
    case Comparação::MenorOuIgual:
    case Comparação::Maior:
    case Comparação::MaiorOuIgual: {
      static const char16_t *const operadores[] = {u"=", u"<>", u"<", u"<=", u">", u">="};
      const QVariant valor = ValorParaGuardar(t, i, c.valor);
      if (valor.isNull()) {
        // Nothing compares equal to a missing value, as in the engine's own rules.
        // PostgreSQL wants a boolean where SQLite takes the integer 0.
        partes << (c.comparação == Comparação::Diferente ? id + u" IS NOT NULL"_s
                   : motor == Motor::PostgreSQL          ? u"FALSE"_s
                                                         : u"0"_s);
      } else {
        partes << id + u' ' + QString::fromUtf16(operadores[int(c.comparação)]) + u" ?"_s;
        r.valores << valor;
      }
      break;
    }
    case Comparação::Começa: {
      const QString prefixo = c.valor.toString();
      if (prefixo.isEmpty()) {
        partes << id + u" IS NOT NULL"_s;
      } else {
        // A range, so that the engine walks the field's index instead of reading every row.
        partes << u"("_s + id + u" >= ? AND "_s + id + u" < ?)"_s;
        r.valores << prefixo << LimiteSuperior(prefixo);
      }
      break;
    }
    case Comparação::Padrão:
      partes << u"("_s + id + u" IS NOT NULL AND "_s + id +
                    (motor == Motor::PostgreSQL ? u" COLLATE \"und-x-icu\" ~* ?)"_s
                                                : u" REGEXP ?)"_s);
      r.valores << PadrãoParaExpressão(c.valor.toString(), motor);
      break;
    }
  }
  r.texto = partes.join(u" AND "_s);
  return r;
}
