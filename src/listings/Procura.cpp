#include "Procura.h"

#include "BaseDados.h"

#include <QRegularExpression>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

QString NomeDobrado(const QString &nome) {
  QString r;
  const QString decomposto = nome.normalized(QString::NormalizationForm_D);
  r.reserve(decomposto.size());
  for (QChar c : decomposto)
    if (c.category() != QChar::Mark_NonSpacing)
      r += c;
  return r.toCaseFolded();
}

namespace {

// The typed pattern, folded and made ready once for a whole file of names.
class PadrãoNome {
public:
  explicit PadrãoNome(const QString &padrão) {
    const QStringList partes = NomeDobrado(padrão).split(u'*');
    if (partes.size() == 1) {
      exacto = partes.front();
      return;
    }
    QStringList escapadas;
    for (const QString &p : partes)
      escapadas << QRegularExpression::escape(p);
    expressão = QRegularExpression(QRegularExpression::anchoredPattern(escapadas.join(u".*"_s)),
                                   QRegularExpression::DotMatchesEverythingOption);
  }
  bool Corresponde(const QString &nome) const {
    const QString n = NomeDobrado(nome);
    return exacto ? n == *exacto : expressão.match(n).hasMatch();
  }

private:
  std::optional<QString> exacto;
  QRegularExpression expressão;
};

} // namespace

bool NomeCorresponde(const QString &nome, const QString &padrão) {
  return PadrãoNome(padrão).Corresponde(nome);
}

qint32 ProcurarPorNúmero(BaseDados &bd, qint64 número) {
  Instrução i = bd.Correr(u"SELECT \"Número\" FROM \"Sócios\" WHERE \"Número\" = ?"_s, {número},
                          u"Procurar o sócio"_s);
  return i.Seguinte() ? qint32(i.Inteiro(0)) : 0;
}

qint32 ProcurarPorNome(BaseDados &bd, const QString &padrão,
                       const std::function<RespostaProposta(qint32, const QString &)> &aceitar) {
  struct Candidato {
    qint32 número;
    QString nome;
  };
  std::vector<Candidato> encontrados;
  const PadrãoNome p(padrão);
  bd.Percorrer(u"SELECT \"Número\", \"Nome\" FROM \"Sócios\" ORDER BY \"Número\""_s, {},
               u"Procurar o sócio"_s, [&](const Instrução &i) {
                 const QString nome = i.Texto(1);
                 if (p.Corresponde(nome))
                   encontrados.push_back({qint32(i.Inteiro(0)), nome});
               });
  const bool perguntar = padrão.contains(u'*');
  for (const Candidato &c : encontrados) {
    if (!perguntar)
      return c.número;
    switch (aceitar(c.número, c.nome.trimmed())) {
    case RespostaProposta::Sim:
      return c.número;
    case RespostaProposta::Cancelar:
      return 0;
    case RespostaProposta::Não:
      break;
    }
  }
  return 0;
}
