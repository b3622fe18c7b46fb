#include "CartasAviso.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formatacao.h"
#include "Impressao.h"
#include "Referencias.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QString TítuloCarta = u"Aviso de Quotas em Dívida"_s;

// The body's size, and the address's: large enough to read through the window's film.
constexpr double TamanhoCorpo = 12;
constexpr double TamanhoEndereço = 11;
// The place and date start below the first fold of a sheet folded in three (99 mm), so that
// nothing of the letter but the address shows through the window.
constexpr double TopoCorpoMm = 100;

QString Valor(const SócioEmDívida &s) {
  return s.valor.Formatar() + u" €"_s;
}

} // namespace

QString TextoCartaPorOmissão() {
  return u"Exmo(a). Sr(a). «nome»,\n"
         u"\n"
         u"Verificámos que, até à data, não se encontram pagas as quotas de «meses» "
         u"(«quantos» mês(es)), no valor total de «valor».\n"
         u"\n"
         u"Solicitamos que regularize esta situação junto da tesouraria da colectividade. "
         u"Se entretanto já efectuou o pagamento, queira desculpar este aviso.\n"
         u"\n"
         u"Com os melhores cumprimentos,\n"
         u"\n"
         u"A Direcção"_s;
}

QString LerTextoCarta(BaseDados &bd) {
  const auto texto = LerLinhaTabelas(bd, QChar(TipoTextoCarta));
  return texto && !texto->trimmed().isEmpty() ? *texto : TextoCartaPorOmissão();
}

void GravarTextoCarta(BaseDados &bd, const QString &texto) {
  BaseDados::Transacção t(bd);
  GravarLinhaTabelas(bd, QChar(TipoTextoCarta), texto);
  t.Confirmar();
}

QString DataPorExtenso(QDate data) {
  return QString::number(data.day()) + u" de "_s + NomeMês(data.month()) + u" de "_s +
         QString::number(data.year());
}

QString PreencherCarta(const QString &modelo, const SócioEmDívida &s, QDate data) {
  // One pass, so that a value holding a field's name (a member named «data») stays as it is.
  const std::pair<QString, QString> campos[] = {
      {u"«número»"_s, QString::number(s.número)},
      {u"«nome»"_s, s.nome},
      {u"«meses»"_s, MesesCompactos(s.meses)},
      {u"«quantos»"_s, QString::number(s.meses.size())},
      {u"«valor»"_s, Valor(s)},
      {u"«data»"_s, DataPorExtenso(data)},
  };
  QString r;
  qsizetype i = 0;
  while (i < modelo.size()) {
    bool trocado = false;
    if (modelo[i] == u'«')
      for (const auto &[campo, valor] : campos)
        if (QStringView(modelo).sliced(i).startsWith(campo)) {
          r += valor;
          i += campo.size();
          trocado = true;
          break;
        }
    if (!trocado)
      r += modelo[i++];
  }
  return r;
}

QRectF ZonaEndereço() {
  return QRectF(QPointF(115, 52), QPointF(185, 82));
}

QStringList LinhasEndereço(const SócioEmDívida &s) {
  QStringList linhas{s.nome};
  for (const QString &l : s.rua.split(u'\n'))
    linhas << l.trimmed();
  linhas << s.localidade << s.códigoPostal.trimmed();
  linhas.removeAll(QString());
  return linhas;
}

void ImprimirCartas(Impressão &p, const QString &modelo, const std::vector<SócioEmDívida> &sócios,
                    QDate data, const QString &local, const Progresso &progresso) {
  Percentagem percentagem(progresso);
  const qint64 total = qint64(sócios.size());
  const QRectF zona = ZonaEndereço();
  const double w = p.LarguraPágina();
  for (qint64 n = 0; n < total; ++n) {
    const SócioEmDívida &s = sócios[size_t(n)];
    if (n > 0)
      p.NovaPágina();
    ImprimirCabeçalho(p, TítuloCarta, u"Sócio nº "_s + QString::number(s.número));

    // The address, where the window shows it: as many lines as its height holds, the postal
    // code's line always the last, each fitted to the window's width.
    p.DefinirFonte(u"Times New Roman"_s);
    p.DefinirTamanho(TamanhoEndereço);
    p.DefinirNegrito(false);
    const double esquerda = zona.left() * TwipsPorMm - p.MargemEsquerda();
    const double largura = zona.width() * TwipsPorMm;
    const int cabem = std::max(1, int(std::floor(zona.height() * TwipsPorMm / p.AlturaLinha())));
    QStringList endereço = LinhasEndereço(s);
    while (endereço.size() > cabem)
      endereço.removeAt(endereço.size() - 2);
    p.DefinirY(zona.top() * TwipsPorMm - p.MargemTopo());
    for (const QString &linha : std::as_const(endereço)) {
      p.DefinirX(esquerda);
      p.ImprimirAjustado(linha, largura);
    }

    // The place and date on the right, then the text and what is owed.
    p.DefinirTamanho(TamanhoCorpo);
    p.DefinirY(std::max(p.Y(), TopoCorpoMm * TwipsPorMm - p.MargemTopo()));
    const QString data_ = (local.isEmpty() ? QString() : local + u", "_s) + DataPorExtenso(data);
    const TextoAjustado d = AjustarTexto(p.Fonte(), data_, w);
    p.DefinirX(w - d.largura);
    p.Imprimir(d);
    const auto medir = [&p](const QString &t) { return p.LarguraTexto(t); };
    // The words keep the blank that follows them: none ends a printed line.
    const auto semFim = [](QString l) {
      while (l.endsWith(u' '))
        l.chop(1);
      return l;
    };
    // What is owed, framed, then the text.
    p.LinhaVazia();
    p.LinhaVazia();
    const double topo = p.Y();
    p.DefinirNegrito(true);
    const QString rótulos[] = {u"Meses em dívida: "_s, u"Número de meses: "_s,
                               u"Valor em dívida: "_s};
    double rótulo = 0;
    for (const QString &r : rótulos)
      rótulo = std::max(rótulo, p.LarguraTexto(r));
    const QString valores[] = {MesesCompactos(s.meses), QString::number(s.meses.size()), Valor(s)};
    for (int k = 0; k < 3; ++k) {
      p.DefinirNegrito(true);
      p.DefinirX(120);
      p.Imprimir(rótulos[k], false);
      p.DefinirNegrito(false);
      p.DefinirX(120 + rótulo);
      // The months of a long debt go on as many lines as they need.
      const QStringList linhas = QuebrarTexto(valores[k], w - 240 - p.X(), medir);
      for (qsizetype l = 0; l < linhas.size(); ++l) {
        p.DefinirX(120 + rótulo);
        p.Imprimir(semFim(linhas[l]));
      }
    }
    p.Rectângulo(0, topo - 60, w, p.Y() + 60);
    p.LinhaVazia();
    p.LinhaVazia();
    for (const QString &linha : QuebrarTexto(PreencherCarta(modelo, s, data), w, medir))
      p.Imprimir(semFim(linha));
    percentagem.Avançar(n + 1, total);
  }
  p.TerminarDocumento();
}

QList<QStringList> LinhasCsvCartas(const QString &modelo, const std::vector<SócioEmDívida> &sócios,
                                   QDate data) {
  QList<QStringList> linhas{{u"Número"_s, u"Nome"_s, u"Rua"_s, u"Localidade"_s, u"Código Postal"_s,
                             u"Meses em dívida"_s, u"Meses"_s, u"Valor"_s, u"Data"_s, u"Texto"_s}};
  for (const SócioEmDívida &s : sócios)
    linhas << QStringList{QString::number(s.número),
                          s.nome,
                          s.rua,
                          s.localidade,
                          s.códigoPostal,
                          MesesCompactos(s.meses),
                          QString::number(s.meses.size()),
                          s.valor.Formatar(),
                          DataPorExtenso(data),
                          PreencherCarta(modelo, s, data)};
  return linhas;
}
