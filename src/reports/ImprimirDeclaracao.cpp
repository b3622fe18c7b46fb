#include "ImprimirDeclaracao.h"

#include "BaseDados.h"
#include "Cabecalho.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Impressao.h"

using namespace Qt::StringLiterals;

namespace {

constexpr double Margem = 1500;   // left and right margins of the text
constexpr double Recuo = 1500;    // first line of each paragraph
constexpr double Entrelinha = 75; // extra space above each line of the text
// The page header stands this much lower than on the other reports, so that the letter has
// the top margin a letter has; the body then goes on below the header.
constexpr double DescidaCabeçalho = 1500;

} // namespace

std::optional<QuotizaçõesDoAno> SomarQuotizações(BaseDados &bd, qint64 número, int ano) {
  // The keys of one member's months of one year share their first ten characters and sort by
  // month, so the year is one range of the key index.
  const QString prefixo = FormatarNúmero(número, u"000000") + FormatarNúmero(ano, u"0000");
  std::optional<QuotizaçõesDoAno> r;
  bd.Percorrer(u"SELECT \"Nome\", (SELECT COALESCE(SUM(\"QuotaEuro\"), 0) FROM \"Quotizações\" "
               u"WHERE \"SócMês\" BETWEEN ? AND ?) FROM \"Sócios\" WHERE \"Número\" = ?"_s,
               {prefixo + u"00"_s, prefixo + u"99"_s, número}, u"Somar as quotizações"_s,
               [&](const Instrução &i) {
                 r = QuotizaçõesDoAno{i.Texto(0), Moeda::DeDécimosMilésimos(i.Inteiro(1))};
               });
  return r;
}

QString ComporDeclaração(const QString &nome, qint64 número, const QString &ano,
                         const QString &quotizações) {
  return u"Para os devidos efeitos se DECLARA que "_s + nome +
         u" é nosso associado, com o número "_s + QString::number(número) +
         u", tendo pago, no ano de "_s + ano + u", o total de "_s + quotizações + u" (Euros) "_s +
         u" em quotizações."_s + u"\r\n\r\n"_s +
         u"Por ser verdade e ter sido pedida se passa a presente DECLARAÇÃO, que vai assinada e "
         u"autenticada pela Direcção."_s;
}

std::optional<QString> ValidarQuotizações(const QString &texto) {
  const auto valor = Moeda::Ler(texto);
  if (!valor || *valor < Moeda())
    return std::nullopt;
  return valor->Formatar(u"###,###,##0.00");
}

QString LinhaData(QDate data) {
  return QString::number(data.day()) + u" de "_s + NomeMês(data.month()) + u" de"_s + u' ' +
         QString::number(data.year());
}

std::vector<LinhaDeclaração> LinhasDeclaração(const QString &texto, double larguraPágina,
                                              const std::function<double(const QString &)> &medir) {
  QString t = texto;
  t.replace(u"\r\n"_s, u"\n"_s);
  t.replace(u'\r', u'\n');
  const double direita = larguraPágina - Margem;
  std::vector<LinhaDeclaração> linhas;
  for (const QString &parágrafo : t.split(u'\n')) {
    const QStringList partes = QuebrarTexto(parágrafo, direita - Margem, medir, Recuo);
    for (qsizetype j = 0; j < partes.size(); ++j) {
      const double esquerda = Margem + (j == 0 ? Recuo : 0);
      QString linha = partes[j];
      while (linha.endsWith(u' '))
        linha.chop(1);
      LinhaDeclaração l;
      if (linha.isEmpty()) {
        linhas.push_back(l);
        continue;
      }
      // The words and where they start when the line is printed as it stands.
      std::vector<PeçaDeclaração> palavras;
      for (qsizetype i = 0; i < linha.size();) {
        if (linha[i] == u' ') {
          ++i;
          continue;
        }
        qsizetype fim = linha.indexOf(u' ', i);
        if (fim < 0)
          fim = linha.size();
        palavras.push_back({medir(linha.left(i)), linha.mid(i, fim - i)});
        i = fim;
      }
      const double folga = direita - esquerda - medir(linha);
      // A paragraph's last line keeps its natural spacing; so does a line of one word.
      l.justificada = j + 1 < partes.size() && palavras.size() > 1 && folga > 0;
      if (!l.justificada) {
        const qsizetype início = linha.size() - linha.trimmed().size();
        l.peças.push_back({esquerda + palavras.front().x, linha.mid(início)});
      } else {
        const double porIntervalo = folga / double(palavras.size() - 1);
        for (size_t k = 0; k < palavras.size(); ++k)
          l.peças.push_back(
              {esquerda + palavras[k].x + double(k) * porIntervalo, palavras[k].texto});
      }
      linhas.push_back(std::move(l));
    }
  }
  return linhas;
}

void ImprimirDeclaração(Impressão &p, const QString &texto, QDate data) {
  const double w = p.LarguraPágina();
  const double origemX = p.OrigemX();
  const double origemY = p.OrigemY();
  p.DefinirOrigem(origemX, origemY + DescidaCabeçalho);
  ImprimirCabeçalho(p, QString(), LinhaData(data));
  p.DefinirOrigem(origemX, origemY);

  p.DefinirNegrito(true);
  p.DefinirSublinhado(true);
  p.DefinirTamanho(18);
  for (int i = 0; i < 3; ++i)
    p.LinhaVazia();
  const QString título = u"D E C L A R A Ç Ã O"_s;
  p.DefinirX((w - p.LarguraTexto(título)) / 2);
  p.Imprimir(título);
  p.LinhaVazia();
  p.LinhaVazia();
  p.DefinirNegrito(false);
  p.DefinirSublinhado(false);
  p.DefinirTamanho(13);

  for (const LinhaDeclaração &l :
       LinhasDeclaração(texto, w, [&p](const QString &t) { return p.LarguraTexto(t); })) {
    p.DefinirY(p.Y() + Entrelinha);
    // The page turns before the line, not under its first word, so every word keeps its place.
    p.ReservarEspaço(p.AlturaLinha());
    for (const PeçaDeclaração &peça : l.peças) {
      p.DefinirX(peça.x);
      p.Imprimir(peça.texto, false);
    }
    p.LinhaVazia();
  }

  p.DefinirY(p.Y() + 1000);
  const QString direcção = u"P\u00B4la Direcção,"_s;
  p.ReservarEspaço(p.AlturaLinha());
  p.DefinirX(w - 3000 - p.LarguraTexto(direcção));
  p.Imprimir(direcção);
  p.TerminarDocumento();
}
