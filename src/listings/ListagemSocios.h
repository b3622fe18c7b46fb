#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class BaseDados;

// The six ways of ordering the member list, numbered as the window's options are.
enum class OrdemListagem {
  Numérica = 1,
  Alfabética,
  DataInscrição,
  CódigoPostal,
  Situação,
  TipoQuota,
};

// What the member list window asks for. Only the criterion of the chosen order selects: the
// number range for the numeric and enrolment date orders, the name range for the alphabetic
// one, the chosen code for the other three.
struct EscolhaListagem {
  OrdemListagem ordem = OrdemListagem::Numérica;
  qint64 númeroDe = 1;
  qint64 númeroAté = 999999;
  // The name range, in Portuguese order. Left at "A" to "ZZ" it selects every name, those
  // that begin with a digit or a sign included.
  QString nomeDe = QStringLiteral("A");
  QString nomeAté = QStringLiteral("ZZ");
  // The Código of the chosen postal code, situation or quota type; 0 ("[Todos]", "[Todas]")
  // selects every member, whatever its code.
  qint64 cPostal = 0;
  qint64 situação = 0;
  qint64 tipoQuota = 0;
  // Secondary order: by number (the default) or by name.
  bool subOrdemAlfabética = false;
  // Reverses the last sort key only: by name with the numeric secondary order gives names
  // ascending and, within one name, numbers descending.
  bool ascDesc = false;
};

// One listed member: what the grid shows and what the list and label prints need.
struct SócioListado {
  qint64 número = 0;
  QString nome;
  QString inscrição;    // "15-09-1996"; "--" when the member has no enrolment date
  QString rua;          // trimmed
  QString localidade;   // trimmed
  QString códigoPostal; // the postal code text, empty when the code has no reference row
  QString situação;     // the situation's name, empty when none
  QString tipoQuota;    // the quota type's name, empty when none

  // The grid's six cells: number, name, enrolment date, street, locality, postal code.
  QStringList Células() const;
};

// The members chosen, in the chosen order, read with one query in which every value is
// bound. Names are ranged and ordered in Portuguese order ("Álvaro" and "álvaro" beside
// "Alvaro", before "Bruno"), never in the engine's byte order. Members equal on every sort
// key follow in ascending number.
std::vector<SócioListado> LinhasListagem(BaseDados &bd, const EscolhaListagem &escolha);
