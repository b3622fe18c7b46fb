#pragma once

#include "Dados.h"
#include "PastaTeste.h"

// A new, empty Quotas.Dad in a temporary working folder, open with its shared recordsets
// while the object lives.
class FicheiroTeste {
public:
  FicheiroTeste() {
    BaseDados::Criar(NomeFicheiroDados);
    AbrirDados(NomeFicheiroDados);
  }
  ~FicheiroTeste() { FecharDados(); }

  QString Caminho(const QString &nome) const { return pasta.Caminho(nome); }
  QString Raiz() const { return pasta.Raiz(); }

  // Adds a reference row of the given kind and returns its Código.
  static qint64 Referência(const QString &tipo, const QString &designação) {
    ConjuntoRegistos &t = *Dados().tabelas;
    t.AdicionarNovo();
    t.DefinirCampo(u"Tipo", tipo);
    t.DefinirCampo(u"Designação", designação);
    t.Actualizar();
    t.MoverÚltimo();
    return t.Inteiro(u"Código");
  }

private:
  PastaTeste pasta; // made before the file and removed after it is closed
};
