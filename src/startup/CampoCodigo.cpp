#include "CampoCodigo.h"

#include "Campos.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

class EstiloCardinal : public QProxyStyle {
public:
  int styleHint(StyleHint dica, const QStyleOption *opção, const QWidget *w,
                QStyleHintReturn *r) const override {
    if (dica == SH_LineEdit_PasswordCharacter)
      return '#';
    if (dica == SH_LineEdit_PasswordMaskDelay)
      return 0;
    return QProxyStyle::styleHint(dica, opção, w, r);
  }
};

} // namespace

void PrepararCampoCódigo(QLineEdit *campo) {
  campo->setMaxLength(5);
  campo->setEchoMode(QLineEdit::Password);
  auto *estilo = new EstiloCardinal;
  estilo->setParent(campo);
  campo->setStyle(estilo);
  AplicarComportamento(campo, ComportamentoCampo{.teclas = FiltroTeclas::Dígitos});
}
