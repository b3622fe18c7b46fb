#pragma once

#include "Dados.h"
#include "PastaTeste.h"

#ifdef AGREMIA_TESTE_SERVIDOR
#include "ServidorPg.h"
#include <cstdio>
#include <cstdlib>
#endif

// A new, empty Quotas.Dad in a temporary working folder, open with its shared recordsets
// while the object lives.
//
// A suite built a second time with AGREMIA_TESTE_SERVIDOR runs the same tests on an empty
// database of its own on a PostgreSQL server instead: the same data must give the same rows.
// Without a server the suite ends at once saying so (CTest counts it as not run), or fails
// where AGREMIA_PG_EXIGIDO is set.
class FicheiroTeste {
public:
#ifdef AGREMIA_TESTE_SERVIDOR
  static constexpr bool NoServidor = true;
#else
  static constexpr bool NoServidor = false;
#endif
  // Rows of a recordset without an order, as they were added: a file walks them in the order
  // they were written, a server (which keeps no lasting row ids) in the order of their key.
  static QStringList OrdemNatural(QStringList escritas) {
    if (NoServidor)
      escritas.sort();
    return escritas;
  }

  FicheiroTeste() {
#ifdef AGREMIA_TESTE_SERVIDOR
    static bool verificado = false;
    if (!verificado) {
      QString erro;
      if (!ServidorPgAlcançável(erro)) {
        std::printf("%s: %s\n", SemServidorPg, qPrintable(erro));
        std::fflush(stdout);
        QDir(pasta.Raiz()).removeRecursively(); // no destructor runs after _Exit
        std::_Exit(qEnvironmentVariableIsSet("AGREMIA_PG_EXIGIDO") ? 1 : 0);
      }
      verificado = true;
    }
    servidor = std::make_unique<BaseServidorTeste>();
    BaseDados::CriarNoServidor(servidor->Ligação());
    AbrirDadosServidor(servidor->Ligação());
#else
    BaseDados::Criar(NomeFicheiroDados);
    AbrirDados(NomeFicheiroDados);
#endif
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

  // Opens again what the fixture made, as a new run of the program would.
  static void Reabrir() {
#ifdef AGREMIA_TESTE_SERVIDOR
    const QString ligação = Dados().bd.Caminho();
    AbrirDadosServidor(ligação);
#else
    AbrirDados(NomeFicheiroDados);
#endif
  }

private:
  PastaTeste pasta; // made before the file and removed after it is closed
#ifdef AGREMIA_TESTE_SERVIDOR
  std::unique_ptr<BaseServidorTeste> servidor;
#endif
};
