#include "MapaQuotas.h"

#include "Dados.h"
#include "Formatacao.h"
#include "Formato.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

QList<GrelhaComBarra::Coluna> Colunas() {
  QList<GrelhaComBarra::Coluna> c{
      {615, u"000000"_s, Qt::AlignCenter},
      {2835, u" Maximiliano dos Santos"_s, Qt::AlignLeft | Qt::AlignVCenter}};
  for (int m = 0; m < 12; ++m)
    c.append({195, u"$"_s, Qt::AlignCenter});
  return c;
}

QStringList Rótulos() {
  QStringList r{u"Número"_s, u"Nome"_s};
  for (QChar letra : u"JFMAMJJASOND"_s)
    r << QString(letra);
  return r;
}

} // namespace

MapaQuotas::MapaQuotas(QWidget *pai)
    : JanelaRelatório(pai, {u"MapaQuotas"_s, u"Mapa de Quotas"_s, false, u"&Listagem"_s, Colunas(),
                            Rótulos(), QStringList{u"Número"_s, u"Nome"_s} + NomesMeses()}) {}

QStringList MapaQuotas::Construir(const Progresso &progresso) {
  // The file's name and the printed heading follow the map, whatever the fields say by then.
  const Parâmetros pedidos{{}, QString::number(AnoEscolhido()), TipoQuota->currentText()};
  lista = LinhasMapa(Dados().bd, AnoEscolhido(), TipoEscolhido(), progresso);
  construída = pedidos;
  nomeExportação = u"Mapa de quotas "_s + construída.ano;
  QStringList linhas;
  for (const LinhaMapa &l : lista) {
    QString linha = FormatarNúmero(l.número, u"000000") + u'\t' + l.nome;
    for (QChar marca : l.marcas)
      linha += u'\t' + QString(marca);
    linhas << linha;
  }
  return linhas;
}

void MapaQuotas::Imprimir(Impressão &p, const Progresso &progresso) {
  ImprimirMapa(p, construída.ano, construída.tipoQuota, lista, progresso);
}
