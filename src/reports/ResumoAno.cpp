#include "ResumoAno.h"

#include "Dados.h"
#include "Formatacao.h"

#include <QComboBox>

using namespace Qt::StringLiterals;

ResumoAno::ResumoAno(QWidget *pai)
    : JanelaRelatório(pai, {u"ResumoAno"_s,
                            u"Resumo do Ano"_s,
                            false,
                            u"&Calcular"_s,
                            {{1300, u" Setembro "_s, Qt::AlignLeft | Qt::AlignVCenter},
                             {1100, u"0000000"_s, Qt::AlignRight | Qt::AlignVCenter},
                             {1500, u"000.000.000,00"_s, Qt::AlignRight | Qt::AlignVCenter},
                             {1100, u"0000000"_s, Qt::AlignRight | Qt::AlignVCenter},
                             {1100, u"0000000"_s, Qt::AlignRight | Qt::AlignVCenter}},
                            {u"Mês"_s, u"Quotas"_s, u"Valor"_s, u"Inscritos"_s, u"Em dívida"_s},
                            {u"Mês"_s, u"Quotas recebidas"_s, u"Valor recebido"_s,
                             u"Sócios inscritos"_s, u"Sócios em dívida"_s}}) {}

QStringList ResumoAno::LinhasGrelha(const ResumoDoAno &r) {
  QStringList linhas;
  const auto linha = [&](const QString &mês, qint64 quotas, const Moeda &valor,
                         const QString &inscritos, qint64 dívida) {
    linhas << u' ' + mês + u'\t' + QString::number(quotas) + u'\t' +
                  valor.Formatar(u"#,###,##0.00") + u'\t' + inscritos + u'\t' +
                  QString::number(dívida);
  };
  for (int m = 0; m < 12; ++m) {
    const MêsResumo &mês = r.meses[size_t(m)];
    linha(NomeMês(m + 1), mês.quotas, mês.valor, QString::number(mês.inscritos), mês.emDívida);
  }
  linha(u"Total"_s, r.quotas, r.valor, QString::number(r.inscritosNoFim), r.mesesEmDívida);
  return linhas;
}

QStringList ResumoAno::Construir(const Progresso &progresso) {
  const Parâmetros pedidos{{}, QString::number(AnoEscolhido()), TipoQuota->currentText()};
  if (progresso)
    progresso(0);
  resumo = ResumirAno(Dados().bd, AnoEscolhido(), TipoEscolhido());
  construída = pedidos;
  nomeExportação = u"Resumo do ano "_s + construída.ano;
  return LinhasGrelha(resumo);
}

void ResumoAno::Imprimir(Impressão &p, const Progresso &progresso) {
  ImprimirResumo(p, construída.ano, construída.tipoQuota, resumo);
  if (progresso)
    progresso(100);
}
