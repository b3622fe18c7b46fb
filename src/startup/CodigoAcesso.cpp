#include "CodigoAcesso.h"
#include "Referencias.h"

#include "ConjuntoRegistos.h"
#include "Formatacao.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

qint32 ValorCódigo(QStringView texto) {
  // A value beyond 32 bits cannot be a five-digit code; it is held at the limit rather than
  // wrapped round into some other code.
  const qint64 v = ValorNumérico(texto);
  return qint32(std::clamp<qint64>(v, std::numeric_limits<qint32>::min(),
                                   std::numeric_limits<qint32>::max()));
}

qint32 DecifrarCódigo(QStringView designação) {
  return ValorCódigo(designação) ^ ChaveCódigoAcesso;
}

QString CifrarCódigo(qint32 código) {
  return QString::number(código ^ ChaveCódigoAcesso);
}

bool CódigoDeAcessoDefinido(BaseDados &bd) {
  const auto guardado = LerLinhaTabelas(bd, u'0');
  return guardado && *guardado != QString::number(ChaveCódigoAcesso);
}
