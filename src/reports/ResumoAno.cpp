#include "ResumoAno.h"

#include "Dados.h"
#include "Formatacao.h"

#include "Impressao.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The print surface on a widget's painter: the painter is scaled to twips beforehand; lines
// are one pixel wide whatever the scale, in the widget's text colour.
class PinturaNoEcrã : public Impressão {
public:
  PinturaNoEcrã(QPainter &p, double larguraTwips, double alturaTwips, const QColor &cor)
      : Impressão(larguraTwips, alturaTwips), pintor(p), tinta(cor) {}

protected:
  void DesenharTexto(double emX, double emY, const QString &texto,
                     const FonteImpressão &f) override {
    const QFont qf = FonteQt(f);
    pintor.setFont(qf);
    pintor.setPen(tinta);
    // The surface places the top of the text; the painter wants its baseline.
    pintor.drawText(QPointF(emX, emY + QFontMetricsF(qf).ascent()), texto);
  }
  void DesenharLinha(const QLineF &l, bool tracejada) override {
    pintor.setPen(QPen(tinta, 0, tracejada ? Qt::DashLine : Qt::SolidLine));
    pintor.drawLine(l);
  }
  void DesenharRectângulo(const QRectF &r, bool tracejada) override {
    pintor.setPen(QPen(tinta, 0, tracejada ? Qt::DashLine : Qt::SolidLine));
    pintor.setBrush(Qt::NoBrush);
    pintor.drawRect(r);
  }
  void MudarPágina() override {}
  void Concluir() override {}

private:
  QPainter &pintor;
  QColor tinta;
};

// The chart is laid out for the width of a page; the widget shows it scaled to its own width.
constexpr double LarguraGráfico = 10772;

} // namespace

GráficoResumo::GráficoResumo() {
  setObjectName(u"Gráfico"_s);
  setMinimumSize(480, 300);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void GráficoResumo::Definir(const ResumoDoAno &r) {
  resumo = r;
  update();
}

void GráficoResumo::paintEvent(QPaintEvent *) {
  QPainter pintor(this);
  pintor.fillRect(rect(), palette().base());
  pintor.setRenderHint(QPainter::Antialiasing);
  const double escala = width() / LarguraGráfico;
  pintor.scale(escala, escala);
  const double altura = height() / escala;
  PinturaNoEcrã superfície(pintor, LarguraGráfico, altura, palette().text().color());
  DesenharGráficoResumo(superfície, resumo, 0, 0, LarguraGráfico - 1 / escala, altura - 1 / escala);
}

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
                             u"Sócios inscritos"_s, u"Sócios em dívida"_s}}) {
  // Under the grid, shown once a summary is built.
  Gráfico = new GráficoResumo;
  Gráfico->hide();
  if (auto *corpo = qobject_cast<QVBoxLayout *>(Listagem->parentWidget()->layout()))
    corpo->insertWidget(corpo->indexOf(Listagem) + 1, Gráfico);
}

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
  Gráfico->Definir(resumo);
  Gráfico->show();
  return LinhasGrelha(resumo);
}

void ResumoAno::Imprimir(Impressão &p, const Progresso &progresso) {
  ImprimirResumo(p, construída.ano, construída.tipoQuota, resumo);
  if (progresso)
    progresso(100);
}
