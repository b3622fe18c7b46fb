#pragma once

#include "Moeda.h"
#include "Referencias.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

class BaseDados;
class ConjuntoRegistos;

// Members brought in from a text file with one member per line (CSV, as spreadsheets and other
// programs write it): read, checked and written with plain functions; the import window only
// chooses the file, maps its columns and shows what these return.

// The file's lines split into fields. The separator (";" or ",") is the one the header line
// uses outside quotes; the text is UTF-8 (with or without its byte-order mark) when it is valid
// UTF-8, else Windows-1252, which is what a Portuguese spreadsheet saves on Windows. Quoted
// fields may hold separators, line breaks and doubled quotes. Lines with no text at all are
// skipped.
struct TabelaCsv {
  QStringList cabeçalho;
  std::vector<QStringList> linhas;
  std::vector<int> númerosLinha; // the file line on which each record starts (header is 1)
  QChar separador = u';';
  bool windows1252 = false;
  int aspasPorFechar = 0; // the line of a record whose quote never closes, or 0
};

TabelaCsv LerCsv(const QByteArray &conteúdo);

// What a column of the file may hold: the fields of a member.
enum class Destino {
  Número,
  Nome,
  Rua,
  Localidade,
  CPostal,
  Situação,
  TipoQuota,
  Inscrição,
  ValQuota,
  NIF,
  Observações,
};
inline constexpr int NúmeroDestinos = 11;

// The name a field is shown with when the columns are mapped.
QString NomeDestino(Destino d);

// For each field, the column of the file that fills it, or -1.
using Mapeamento = std::array<int, NúmeroDestinos>;

// The usual headings ("Nº Sócio", "Morada", "Código Postal", "Data de Inscrição", "Quota",
// "Contribuinte"...), letter case, accents and punctuation ignored; a column serves one field.
Mapeamento AdivinharMapeamento(const QStringList &cabeçalho);

// One member ready to be written. The reference texts are matched to their rows at writing.
struct SócioImportado {
  int linha = 0;
  qint32 número = 0;
  QString nome;
  QString rua;
  QString localidade;
  QString cPostal;
  QString situação;
  QString tipoQuota;
  QString inscrição; // "19960915", or empty
  Moeda valQuota;
  QString nif;
  QString observações;
};

struct Recusa {
  int linha = 0;
  QString motivo; // every fault of the line, in Portuguese
};

// Reference texts of the file that no reference row has yet.
struct ReferênciasNovas {
  QStringList códigosPostais, situações, tiposQuota;
  bool Vazias() const {
    return códigosPostais.isEmpty() && situações.isEmpty() && tiposQuota.isEmpty();
  }
};

struct Verificação {
  std::vector<SócioImportado> aceites;
  std::vector<Recusa> recusas; // in file order
  std::vector<Recusa> avisos;  // accepted lines worth a second look (a NIF failing its check)
  ReferênciasNovas novas;
  int linhas = 0; // records read
};

// Checks every record: a number from 1 to 999999 taken neither by a stored member nor by an
// earlier line, a name, texts that fit their fields, a date from 1900 to today, an amount
// ("12,50", "12.5", "1.234,50", "12,50 €") of at most two decimals. Control characters are
// dropped (a remark keeps its line breaks and tabs). A NIF that fails its check digit is a
// warning, not a refusal. Reads the stored numbers in the file's range in one query.
Verificação VerificarLinhas(BaseDados &bd, const TabelaCsv &tabela, const Mapeamento &mapa,
                            const ListasReferência &listas);

// Writes the reference rows in `v.novas` and then every accepted member in one transaction,
// then reads the member and reference recordsets again. Requires a check without refusals;
// on an engine failure nothing at all is written and ErroBaseDados is raised. Returns the
// number of members written.
int GravarImportação(BaseDados &bd, ConjuntoRegistos &sócios, ConjuntoRegistos &tabelas,
                     const Verificação &v, const ListasReferência &listas);

struct ResultadoImportação {
  Verificação verificação;
  int gravados = 0; // 0 when refusals or unwanted new reference texts stopped it
};

// The whole import of a file's contents with the guessed mapping: read, check, and write only
// when no line is refused and, should the file bring new reference texts, `acrescentarNovas`.
ResultadoImportação ImportarFicheiroSócios(BaseDados &bd, ConjuntoRegistos &sócios,
                                           ConjuntoRegistos &tabelas, const QByteArray &conteúdo,
                                           const ListasReferência &listas, bool acrescentarNovas);
