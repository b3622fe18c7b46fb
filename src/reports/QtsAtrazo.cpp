#include "QtsAtrazo.h"

#include "Dados.h"
#include "Formato.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

QtsAtrazo::QtsAtrazo(QWidget *pai)
    : JanelaRelatório(
          pai, {u"QtsAtrazo"_s,
                u"Quotizações em Atraso"_s,
                true,
                u"&Procurar"_s,
                {{675, u"000000"_s, Qt::AlignCenter},
                 {3630, u" Maximiliano dos Santos Guimarães"_s, Qt::AlignLeft | Qt::AlignVCenter}},
                {u"Número"_s, u"Nome"_s},
                {u"Número"_s, u"Nome"_s}}) {}

QStringList QtsAtrazo::Construir(const Progresso &progresso) {
  lista = SóciosEmAtraso(Dados().bd, AnoEscolhido(), Mês->currentIndex() + 1, TipoEscolhido(),
                         progresso);
  // The file is named after the month listed, whatever the fields say by then.
  nomeExportação =
      u"Quotas em atraso - "_s + Mês->currentText() + u' ' + QString::number(AnoEscolhido());
  QStringList linhas;
  for (const SócioEmAtraso &s : lista)
    linhas << FormatarNúmero(s.número, u"000000") + u'\t' + s.texto;
  return linhas;
}

void QtsAtrazo::Imprimir(Impressão &p, const Progresso &progresso) {
  ImprimirAtrasos(p, Mês->currentText(), Ano->text(), TipoQuota->currentText(), lista, progresso);
}
