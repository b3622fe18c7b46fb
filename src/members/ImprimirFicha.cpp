#include "ImprimirFicha.h"

#include "Cabecalho.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "Moeda.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

void Secção(Impressão &p, const QString &título) {
  p.DefinirTamanho(16);
  p.Imprimir(título);
  p.Linha(p.X(), p.Y(), p.X() + p.LarguraPágina(), p.Y());
  p.DefinirTamanho(12);
  p.LinhaVazia();
}

} // namespace

void ImprimirFicha(Impressão &p, const DadosFicha &f, const QDateTime &agora) {
  ImprimirCabeçalho(p, u"Impressão de Ficha de Sócio"_s, FormatarDataHora(agora));
  const double w = p.LarguraPágina();

  Secção(p, u"Dados Pessoais:"_s);
  const qint64 número = ValorNumérico(f.número);
  p.Imprimir(u"Sócio nº"_s + NúmeroComSinal(número) + u"  -  "_s + f.nome);
  p.Imprimir(u"Endereço: "_s, false);
  const double x0 = std::floor(p.X());
  p.DefinirX(w / 2);
  p.Imprimir(u"Data de Inscrição: "_s + f.dtInscrição);
  const auto linha = [&](const QString &esquerda, const QString &direita) {
    p.DefinirX(x0);
    p.Imprimir(esquerda, false);
    p.DefinirX(w / 2);
    p.Imprimir(direita);
  };
  const auto valor = Moeda::Ler(f.valQuota);
  linha(f.rua, u"Situação: "_s + f.situação);
  linha(f.localidade, u"Tipo de Quota: "_s + f.tipoQuota);
  linha(f.cPostal,
        u"Valor actual da Quota: "_s + (valor ? valor->Formatar(u"###,###,##0.00") : f.valQuota));
  p.LinhaVazia();

  Secção(p, u"Quotizações:"_s);
  const double c = std::floor(w / 10);
  const auto imprimirLinha = [&](const QStringList &células) {
    // Each cell goes back to the row's height: a row that would cross the bottom moves whole
    // to the next page first, or every cell of it would start a page of its own.
    p.ReservarEspaço(p.AlturaLinha());
    const double y = std::floor(p.Y());
    for (int i = 0; i < 9; ++i) {
      const QString &t = células[i];
      p.DefinirX((c - p.LarguraTexto(t)) / 2 + i * c);
      p.DefinirY(y);
      p.Imprimir(t);
    }
  };
  imprimirLinha({u"Ano"_s, u"Mês"_s, u"Quota"_s, u"Recibo"_s, u" "_s, u"Ano"_s, u"Mês"_s,
                 u"Quota"_s, u"Recibo"_s});
  p.Linha(p.X(), p.Y(), p.X() + w, p.Y());
  p.DefinirTamanho(10);
  for (qsizetype i = 0; i < f.quotas.size(); i += 2) {
    QStringList células(9);
    for (qsizetype j = 0; j < 2 && i + j < f.quotas.size(); ++j) {
      const QStringList partes = f.quotas[i + j].mid(6).split(u'\t');
      for (qsizetype k = 0; k < 4 && k < partes.size(); ++k)
        células[j * 5 + k] = partes[k];
    }
    imprimirLinha(células);
  }
  p.DefinirTamanho(12);
  p.LinhaVazia();

  Secção(p, u"Observações:"_s);
  p.DefinirTamanho(10);
  const double larguraLinha = 9 * c;
  for (const QString &l : QuebrarTexto(f.observações, larguraLinha,
                                       [&](const QString &t) { return p.LarguraTexto(t); }))
    p.Imprimir(l);
  p.TerminarDocumento();
}
