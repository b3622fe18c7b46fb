#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Impressão;
class QComboBox;

// What the member screen shows when its card is printed (unsaved changes included).
struct DadosFicha {
  QString número; // as the field shows it
  QString nome;
  QString dtInscrição;
  QString rua;
  QString localidade;
  QString cPostal; // texts of the selected list entries, empty when none
  QString situação;
  QString tipoQuota;
  QString valQuota;
  QString observações;
  QStringList quotas; // the dues list entries, oldest first
};

// Prints the member card: the page header, the personal data, the dues two to a line and the
// remarks wrapped to nine tenths of the page width; then ends the document.
void ImprimirFicha(Impressão &p, const DadosFicha &ficha, const QDateTime &agora);
