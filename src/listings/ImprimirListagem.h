#pragma once

#include "ListagemSocios.h"

#include <QString>
#include <functional>
#include <vector>

class BaseDados;
class Impressão;

// The four ways of printing the member list, numbered as the print options are.
enum class TipoImpressão {
  Detalhada = 1,
  Normal,
  EndereçosPequenos,
  EndereçosGrandes,
};

// Told the progress of a print, 0 to 100, once for each value reached (not once per member).
using ProgressoImpressão = std::function<void(int)>;

// The association's name as the list header prints it: the trimmed name row, or empty.
QString NomeColectividade(BaseDados &bd);

// The list of the members given, detailed or normal: the list header on every page, one line
// per member, a page ended with "Continua na próxima página" once a line reaches 15000 twips,
// and the closing lines. Ends the document.
void ImprimirListagem(Impressão &p, const std::vector<SócioListado> &sócios, bool detalhada,
                      const QString &colectividade, const ProgressoImpressão &progresso = {});

// Address labels: small ones four across, large ones two across, ten rows to a page. Ends the
// document.
void ImprimirEtiquetasPequenas(Impressão &p, const std::vector<SócioListado> &sócios,
                               const ProgressoImpressão &progresso = {});
void ImprimirEtiquetasGrandes(Impressão &p, const std::vector<SócioListado> &sócios,
                              const ProgressoImpressão &progresso = {});

// Prints the members in the chosen way.
void ImprimirSócios(Impressão &p, TipoImpressão tipo, const std::vector<SócioListado> &sócios,
                    const QString &colectividade, const ProgressoImpressão &progresso = {});
