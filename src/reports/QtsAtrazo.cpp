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
  // What the list is built with, as the fields say it now: the file's name and the printed
  // heading follow the list, whatever the fields say by then.
  const Parâmetros pedidos{Mês->currentText(), QString::number(AnoEscolhido()),
                           TipoQuota->currentText()};
  lista = SóciosEmAtraso(Dados().bd, AnoEscolhido(), Mês->currentIndex() + 1, TipoEscolhido(),
                         progresso);
  construída = pedidos;
  nomeExportação = u"Quotas em atraso - "_s + construída.mês + u' ' + construída.ano;
  QStringList linhas;
  for (const SócioEmAtraso &s : lista)
    linhas << FormatarNúmero(s.número, u"000000") + u'\t' + s.texto;
  return linhas;
}

void QtsAtrazo::Imprimir(Impressão &p, const Progresso &progresso) {
  ImprimirAtrasos(p, construída.mês, construída.ano, construída.tipoQuota, lista, progresso);
}
