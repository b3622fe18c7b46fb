#include "Importacao.h"

#include "BaseDados.h"
#include "Campos.h"
#include "ConjuntoRegistos.h"
#include "FichaSocio.h"
#include "Formatacao.h"
#include "Relogio.h"
#include "Validacao.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Windows-1252 is Latin-1 but for these 32 codes. Written out rather than asked of the
// platform's converters, which do not all know it; the five codes Windows leaves unassigned
// keep their Latin-1 meaning.
constexpr char16_t Cp1252Alto[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString Descodificar(QByteArrayView bytes, bool &windows1252) {
  if (bytes.startsWith("\xEF\xBB\xBF"))
    bytes = bytes.sliced(3);
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString texto = utf8.decode(bytes);
  windows1252 = utf8.hasError();
  if (!windows1252)
    return texto;
  texto.resize(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const uchar b = uchar(bytes[i]);
    texto[i] = QChar(b >= 0x80 && b < 0xA0 ? Cp1252Alto[b - 0x80] : char16_t(b));
  }
  return texto;
}

// The separator of the header line, quoted text left out: ";" unless commas are more.
QChar Separador(const QString &t) {
  int pontoEVírgula = 0, vírgula = 0;
  bool aspas = false;
  for (QChar c : t) {
    if (c == u'"')
      aspas = !aspas;
    else if (!aspas && (c == u'\n' || c == u'\r'))
      break;
    else if (!aspas && c == u';')
      ++pontoEVírgula;
    else if (!aspas && c == u',')
      ++vírgula;
  }
  return vírgula > pontoEVírgula ? u',' : u';';
}

bool SóVazios(const QStringList &campos) {
  return std::all_of(campos.begin(), campos.end(),
                     [](const QString &c) { return c.trimmed().isEmpty(); });
}

// Letters and digits only, lower case, without accents: "Nº Sócio" gives "nosocio".
QString ChaveCabeçalho(const QString &nome) {
  QString r;
  for (QChar c : nome.normalized(QString::NormalizationForm_KD))
    if (c.isLetterOrNumber())
      r += c.toLower();
  return r;
}

// Accepts what spreadsheets write besides the program's own "15-09-1996": "15/9/1996",
// "1996-09-15", and either followed by a time of day. Empty is "no date".
std::optional<QString> LerInscrição(QString texto) {
  static const QRegularExpression hora(u"\\s+\\d{1,2}:\\d{2}(:\\d{2})?$"_s);
  static const QRegularExpression iso(u"^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"_s);
  texto = texto.trimmed();
  if (texto.contains(u':'))
    texto.remove(hora);
  if (texto.isEmpty())
    return QString();
  // The expressions only for the texts that may need them: this runs for every line.
  if (const auto m =
          texto.size() > 4 && texto[4] == u'-' ? iso.match(texto) : QRegularExpressionMatch();
      m.hasMatch()) {
    const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (d.isValid() && d.year() >= 1900)
      return DataParaInscrição(d);
    return std::nullopt;
  }
  const QString r = InscriçãoDaData(texto);
  return r.isEmpty() ? std::nullopt : std::optional(r);
}

// "12,50", "1.234,50", "12,50 €" the Portuguese way, and "12.5" as an English-speaking
// program writes it: a lone point followed by other than three digits is a decimal point
// (three digits read as thousands, as everywhere in this program).
QString NormalizarQuantia(QString texto) {
  texto.remove(u'€').remove(u"EUR"_s, Qt::CaseInsensitive).remove(QChar(0xA0));
  texto = texto.trimmed();
  if (!texto.contains(u',') && texto.count(u'.') == 1) {
    const qsizetype p = texto.indexOf(u'.');
    if (texto.size() - p - 1 != 3)
      texto[p] = u',';
  }
  return texto;
}

std::optional<Moeda> LerQuantia(const QString &original) {
  const QString texto = NormalizarQuantia(original);
  if (texto.isEmpty())
    return Moeda();
  const auto v = Moeda::Ler(texto);
  // An amount below 900 000 always fits its field, rounded ("-900.000,00" at most); only a
  // larger one is formatted to be measured, as this runs for every line.
  constexpr qint64 SempreCabe = 900'000LL * 10'000;
  if (!v || (std::abs(v->DécimosMilésimos()) >= SempreCabe &&
             v->Formatar(u"#,###,##0.00").size() > CaracteresValor))
    return std::nullopt;
  return v;
}

// Why a date the import could not take is refused: a real date before 1900 is a typing slip,
// not a date we cannot read.
QString MotivoData(const QString &texto) {
  static const QRegularExpression dia(uR"(^(\d{1,2})[-/](\d{1,2})[-/](\d{4})$)"_s);
  static const QRegularExpression iso(uR"(^(\d{4})-(\d{1,2})-(\d{1,2})$)"_s);
  QDate d;
  if (const auto m = dia.match(texto); m.hasMatch())
    d = QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
  else if (const auto i = iso.match(texto); i.hasMatch())
    d = QDate(i.captured(1).toInt(), i.captured(2).toInt(), i.captured(3).toInt());
  if (d.isValid() && d.year() < 1900)
    return u" é anterior a 1900"_s;
  return u" não é uma data"_s;
}

// An amount is kept in ten-thousandths, but the program shows and adds cents: "12,505" is a
// typing slip, never twelve euros and a half-cent.
bool MaisDeDuasCasas(const QString &original) {
  const QString texto = NormalizarQuantia(original);
  const qsizetype vírgula = texto.lastIndexOf(u',');
  return vírgula >= 0 && texto.size() - vírgula - 1 > 2;
}

std::optional<qint32> LerNúmero(const QString &texto) {
  const QString t = texto.trimmed();
  if (t.isEmpty() || t.size() > 6 ||
      !std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
    return std::nullopt;
  const qint32 n = t.toInt();
  return n >= 1 ? std::optional(n) : std::nullopt;
}

// Texts are stored as texts even when empty: the engine would take a null QString for NULL.
QString NãoNulo(const QString &t) {
  return t.isNull() ? u""_s : t;
}

QString Entre(const QString &t) {
  return u'«' + t + u'»';
}

// The reference rows of one kind, found by their text as stored or, failing that, with letter
// case ignored (the file's "EFECTIVO" is the list's "Efectivo").
class Correspondência {
public:
  explicit Correspondência(const ListaReferência &lista) {
    for (const ItemReferência &i : lista)
      Juntar(i.texto, i.código);
  }
  void Juntar(const QString &texto, qint64 código) {
    exacto.insert(texto, código);
    if (!dobrado.contains(texto.toCaseFolded()))
      dobrado.insert(texto.toCaseFolded(), código);
  }
  std::optional<qint64> Código(const QString &texto) const {
    if (texto.isEmpty())
      return 0;
    if (auto i = exacto.constFind(texto); i != exacto.cend())
      return *i;
    if (auto i = dobrado.constFind(texto.toCaseFolded()); i != dobrado.cend())
      return *i;
    return std::nullopt;
  }

private:
  QHash<QString, qint64> exacto, dobrado;
};

} // namespace

TabelaCsv LerCsv(const QByteArray &conteúdo) {
  TabelaCsv r;
  const QString t = Descodificar(conteúdo, r.windows1252);
  r.separador = Separador(t);
  const QChar sep = r.separador;
  const qsizetype n = t.size();
  qsizetype i = 0;
  int linha = 1;
  bool primeiro = true;
  while (i < n) {
    const int início = linha;
    QStringList campos;
    QString campo;
    bool aspas = false, citado = false;
    while (i < n) {
      const QChar c = t[i];
      if (aspas) {
        if (c == u'"' && i + 1 < n && t[i + 1] == u'"') {
          campo += u'"';
          i += 2;
        } else if (c == u'"') {
          aspas = false;
          ++i;
        } else {
          // A line break kept inside a field is "\n", whatever the file's own.
          if (c == u'\r' && i + 1 < n && t[i + 1] == u'\n')
            ++i;
          if (c == u'\r' || c == u'\n')
            ++linha;
          campo += c == u'\r' ? QChar(u'\n') : c;
          ++i;
        }
      } else if (c == u'"' && !citado && campo.trimmed().isEmpty()) {
        campo.clear();
        aspas = citado = true;
        ++i;
      } else if (c == sep) {
        campos << std::exchange(campo, QString());
        citado = false;
        ++i;
      } else if (c == u'\r' || c == u'\n') {
        i += c == u'\r' && i + 1 < n && t[i + 1] == u'\n' ? 2 : 1;
        ++linha;
        break;
      } else {
        // A run of plain characters is taken at once.
        qsizetype j = i + 1;
        while (j < n && t[j] != sep && t[j] != u'"' && t[j] != u'\r' && t[j] != u'\n')
          ++j;
        campo += QStringView(t).sliced(i, j - i);
        i = j;
      }
    }
    campos << campo;
    if (aspas)
      r.aspasPorFechar = início;
    if (SóVazios(campos))
      continue;
    if (primeiro) {
      for (const QString &c : std::as_const(campos))
        r.cabeçalho << c.trimmed();
      primeiro = false;
    } else {
      r.linhas.push_back(std::move(campos));
      r.númerosLinha.push_back(início);
    }
  }
  return r;
}

QString NomeDestino(Destino d) {
  static const QStringList nomes = {
      u"Número"_s,         u"Nome"_s,     u"Morada"_s,        u"Localidade"_s,
      u"Código Postal"_s,  u"Situação"_s, u"Tipo de Quota"_s, u"Data de Inscrição"_s,
      u"Valor da Quota"_s, u"NIF"_s,      u"Observações"_s};
  return nomes.value(int(d));
}

Mapeamento AdivinharMapeamento(const QStringList &cabeçalho) {
  // Headings as other programs and people write them, in ChaveCabeçalho's form.
  static const QStringList sinónimos[NúmeroDestinos] = {
      {u"numero"_s, u"num"_s, u"n"_s, u"no"_s, u"nr"_s, u"nsocio"_s, u"nosocio"_s, u"numerosocio"_s,
       u"numerodesocio"_s, u"numerodosocio"_s},
      {u"nome"_s, u"nomecompleto"_s, u"nomedosocio"_s},
      {u"morada"_s, u"rua"_s, u"endereco"_s, u"enderecopostal"_s},
      {u"localidade"_s, u"local"_s, u"cidade"_s, u"terra"_s, u"povoacao"_s},
      {u"codigopostal"_s, u"cpostal"_s, u"codpostal"_s, u"cp"_s},
      {u"situacao"_s, u"estado"_s},
      {u"tipodequota"_s, u"tipoquota"_s, u"tipo"_s},
      {u"datadeinscricao"_s, u"datainscricao"_s, u"inscricao"_s, u"dtinscricao"_s,
       u"datadeadmissao"_s, u"admissao"_s, u"data"_s},
      {u"valordaquota"_s, u"valorquota"_s, u"valquota"_s, u"valquotaeuro"_s, u"quota"_s, u"valor"_s,
       u"quotamensal"_s},
      {u"nif"_s, u"contribuinte"_s, u"ncontribuinte"_s, u"nocontribuinte"_s,
       u"numerodecontribuinte"_s, u"numerocontribuinte"_s},
      {u"observacoes"_s, u"observacao"_s, u"obs"_s, u"notas"_s},
  };
  Mapeamento m;
  m.fill(-1);
  QStringList chaves;
  for (const QString &c : cabeçalho)
    chaves << ChaveCabeçalho(c);
  QList<bool> usada(chaves.size(), false);
  for (int d = 0; d < NúmeroDestinos; ++d)
    for (const QString &s : sinónimos[d]) {
      const qsizetype k = chaves.indexOf(s);
      if (k >= 0 && !usada[k]) {
        m[d] = int(k);
        usada[k] = true;
        break;
      }
    }
  return m;
}

namespace {

// A one-line field without control characters and with its blanks compacted. Most fields
// need nothing done and are kept as read.
QString LinhaLimpa(const QString &t) {
  // Neither end blank, no control character, no two blanks together. The first character is
  // then no blank, so a blank always has one before it.
  bool limpa = t.isEmpty() || (t.front() != u' ' && t.back() != u' ');
  for (qsizetype i = 0; limpa && i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    limpa = c >= 0x20 && c != 0x7F && (c != u' ' || t[i - 1] != u' ');
  }
  return limpa ? t : CompactarEspaços(SemCaracteresControlo(t, false));
}

} // namespace

Verificação VerificarLinhas(BaseDados &bd, const TabelaCsv &tabela, const Mapeamento &mapa,
                            const ListasReferência &listas) {
  Verificação v;
  v.linhas = int(tabela.linhas.size());
  const auto campo = [&](const QStringList &l, Destino d) {
    const int k = mapa[int(d)];
    return k >= 0 && k < l.size() ? l[k] : QString();
  };

  // The stored numbers that the file could meet, in one read of the number index.
  qint32 menor = std::numeric_limits<qint32>::max(), maior = 0;
  for (const QStringList &l : tabela.linhas)
    if (const auto n = LerNúmero(campo(l, Destino::Número))) {
      menor = std::min(menor, *n);
      maior = std::max(maior, *n);
    }
  QSet<qint32> guardados;
  if (maior > 0)
    bd.Percorrer(u"SELECT \"Número\" FROM \"Sócios\" WHERE \"Número\" BETWEEN ? AND ?"_s,
                 {menor, maior}, u"Ler os números dos sócios"_s,
                 [&](const Instrução &i) { guardados.insert(qint32(i.Inteiro(0))); });

  const Correspondência existentes[3] = {Correspondência(listas.códigosPostais),
                                         Correspondência(listas.situações),
                                         Correspondência(listas.tiposQuota)};
  QStringList *novas[3] = {&v.novas.códigosPostais, &v.novas.situações, &v.novas.tiposQuota};
  QSet<QString> vistas[3];

  const QString hoje = DataParaInscrição(Hoje());
  QHash<qint32, int> linhaDoNúmero;
  const qsizetype colunas = tabela.cabeçalho.size();
  for (size_t r = 0; r < tabela.linhas.size(); ++r) {
    const QStringList &l = tabela.linhas[r];
    SócioImportado s;
    s.linha = tabela.númerosLinha[r];
    QStringList faltas;
    if (s.linha == tabela.aspasPorFechar)
      faltas << u"falta fechar umas aspas: o resto do ficheiro ficaria num só campo"_s;
    if (l.size() != colunas)
      faltas << u"tem %1 campos e o cabeçalho tem %2 (um texto com «%3» fora de aspas?)"_s
                    .arg(l.size())
                    .arg(colunas)
                    .arg(tabela.separador);

    const QString textoNúmero = campo(l, Destino::Número).trimmed();
    if (const auto n = LerNúmero(textoNúmero); !n) {
      faltas << (textoNúmero.isEmpty() ? u"falta o número de sócio"_s
                                       : u"o número "_s + Entre(textoNúmero) +
                                             u" não é um número de sócio (1 a 999999)"_s);
    } else {
      s.número = *n;
      if (guardados.contains(*n))
        faltas << u"o número %1 já é de um sócio do ficheiro"_s.arg(*n);
      else if (const int outra = linhaDoNúmero.value(*n); outra > 0)
        faltas << u"o número %1 já vem na linha %2"_s.arg(*n).arg(outra);
      else
        linhaDoNúmero.insert(*n, s.linha);
    }

    const auto linha = [&](Destino d) { return LinhaLimpa(campo(l, d)); };
    s.nome = linha(Destino::Nome);
    s.rua = linha(Destino::Rua);
    s.localidade = linha(Destino::Localidade);
    s.nif = linha(Destino::NIF);
    s.observações = SemCaracteresControlo(campo(l, Destino::Observações), true).trimmed();
    if (s.nome.isEmpty())
      faltas << u"falta o nome"_s;
    // The limits of the member screen's fields: a longer text would be shown and saved cut.
    for (const auto &[texto, máximo, nome] :
         {std::tuple{&s.nome, 45, u"o nome"_s}, std::tuple{&s.rua, 40, u"a morada"_s},
          std::tuple{&s.localidade, 40, u"a localidade"_s}, std::tuple{&s.nif, 12, u"o NIF"_s}})
      if (texto->size() > máximo)
        faltas
            << u"%1 tem %2 caracteres (o máximo é %3)"_s.arg(nome).arg(texto->size()).arg(máximo);

    const QString textoData = campo(l, Destino::Inscrição);
    if (const auto d = LerInscrição(textoData); !d)
      faltas << u"a data de inscrição "_s + Entre(textoData.trimmed()) +
                    MotivoData(textoData.trimmed());
    else if (*d > hoje)
      // A member enrolled in the future would be left out of every arrears list and map.
      faltas << u"a data de inscrição "_s + Entre(textoData.trimmed()) + u" é posterior a hoje"_s;
    else
      s.inscrição = *d;
    const QString textoValor = campo(l, Destino::ValQuota);
    if (MaisDeDuasCasas(textoValor))
      faltas << u"o valor da quota "_s + Entre(textoValor.trimmed()) +
                    u" tem mais de duas casas decimais"_s;
    else if (const auto q = LerQuantia(textoValor))
      s.valQuota = *q;
    else
      faltas << u"o valor da quota "_s + Entre(textoValor.trimmed()) + u" não é uma quantia"_s;

    s.cPostal = linha(Destino::CPostal);
    s.situação = linha(Destino::Situação);
    s.tipoQuota = linha(Destino::TipoQuota);
    if (!faltas.isEmpty()) {
      v.recusas.push_back({s.linha, faltas.join(u"; "_s)});
      continue;
    }
    const QString *referências[3] = {&s.cPostal, &s.situação, &s.tipoQuota};
    for (int k = 0; k < 3; ++k)
      if (!existentes[k].Código(*referências[k]) &&
          !vistas[k].contains(referências[k]->toCaseFolded())) {
        vistas[k].insert(referências[k]->toCaseFolded());
        *novas[k] << *referências[k];
      }
    // As on the member screen, a tax number that fails its check digit is shown, not refused:
    // foreign numbers exist.
    if (!s.nif.isEmpty() && !NifVálido(s.nif))
      v.avisos.push_back(
          {s.linha, u"o NIF "_s + Entre(s.nif) + u": "_s + MotivoNifInválido(s.nif)});
    v.aceites.push_back(std::move(s));
  }
  return v;
}

int GravarImportação(BaseDados &bd, ConjuntoRegistos &sócios, ConjuntoRegistos &tabelas,
                     const Verificação &v, const ListasReferência &listas) {
  if (!v.recusas.empty() || v.aceites.empty())
    return 0;
  const QString operação = u"Importar sócios"_s;
  Correspondência códigos[3] = {Correspondência(listas.códigosPostais),
                                Correspondência(listas.situações),
                                Correspondência(listas.tiposQuota)};
  {
    BaseDados::Transacção transacção(bd);
    const QStringList *novas[3] = {&v.novas.códigosPostais, &v.novas.situações,
                                   &v.novas.tiposQuota};
    static const QString tipos[3] = {u"C"_s, u"S"_s, u"T"_s};
    for (int k = 0; k < 3; ++k)
      for (const QString &texto : *novas[k]) {
        Instrução i =
            bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES (?, ?)"_s,
                      {tipos[k], texto}, operação);
        códigos[k].Juntar(texto, i.ÚltimoId());
      }

    // All the members at once: on a server every statement is a round trip.
    QVariantList valores;
    valores.reserve(qsizetype(v.aceites.size()) * 11);
    for (const SócioImportado &s : v.aceites) {
      // Every reference text has its row by now: found in the lists, or added above.
      // Address and remarks are stored with a trailing blank, as the member screen saves them.
      valores << s.número << s.nome << códigos[0].Código(s.cPostal).value_or(0)
              << códigos[1].Código(s.situação).value_or(0)
              << códigos[2].Código(s.tipoQuota).value_or(0) << NãoNulo(s.inscrição)
              << s.valQuota.DécimosMilésimos() << s.rua + u' ' << s.localidade + u' '
              << s.observações + u' ' << NãoNulo(s.nif);
    }
    bd.InserirLinhas(*ProcurarTabela(u"Sócios"),
                     {u"Número"_s, u"Nome"_s, u"CPostal"_s, u"Situação"_s, u"TipoQuota"_s,
                      u"Inscrição"_s, u"ValQuotaEuro"_s, u"Rua"_s, u"Localidade"_s,
                      u"Observações"_s, u"NIF"_s},
                     valores, {}, operação);
    transacção.Confirmar();
  }
  sócios.Reexecutar();
  tabelas.Reexecutar();
  return int(v.aceites.size());
}

ResultadoImportação ImportarFicheiroSócios(BaseDados &bd, ConjuntoRegistos &sócios,
                                           ConjuntoRegistos &tabelas, const QByteArray &conteúdo,
                                           const ListasReferência &listas, bool acrescentarNovas) {
  ResultadoImportação r;
  const TabelaCsv tabela = LerCsv(conteúdo);
  r.verificação = VerificarLinhas(bd, tabela, AdivinharMapeamento(tabela.cabeçalho), listas);
  if (r.verificação.novas.Vazias() || acrescentarNovas)
    r.gravados = GravarImportação(bd, sócios, tabelas, r.verificação, listas);
  return r;
}
