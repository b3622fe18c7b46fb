#include "Validacao.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool Algarismo(QChar c) {
  return c >= u'0' && c <= u'9';
}

} // namespace

QString MotivoNifInválido(QStringView nif) {
  if (nif.size() != 9 || !std::all_of(nif.begin(), nif.end(), Algarismo))
    return u"Um NIF tem nove algarismos, sem espaços nem outros sinais."_s;
  if (nif[0] == u'0' || (nif[0] == u'4' && nif[1] != u'5'))
    return u"Nenhum NIF começa por "_s +
           (nif[0] == u'0' ? u"0."_s : nif.first(2).toString() + u'.');
  int soma = 0;
  for (int i = 0; i < 8; ++i)
    soma += (nif[i].unicode() - u'0') * (9 - i);
  const int resto = soma % 11;
  const int controlo = resto < 2 ? 0 : 11 - resto;
  if (nif[8].unicode() - u'0' != controlo)
    return u"O último algarismo (o de controlo) não confere com os outros oito: o número "_s
           u"tem um engano."_s;
  return {};
}

bool NifVálido(QStringView nif) {
  return MotivoNifInválido(nif).isEmpty();
}

bool ComeçaPorCódigoPostal(QStringView texto) {
  if (texto.size() < 8 || texto[4] != u'-')
    return false;
  for (int i : {0, 1, 2, 3, 5, 6, 7})
    if (!Algarismo(texto[i]))
      return false;
  return texto.size() == 8 || !Algarismo(texto[8]);
}
