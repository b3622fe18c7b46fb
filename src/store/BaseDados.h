#pragma once

#include "ErroBaseDados.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <memory>
#include <vector>

class ConjuntoRegistos;
class ReservaFicheiro;

// One open Quotas.Dad. Every failure of the engine comes out as ErroBaseDados.
class BaseDados {
public:
  BaseDados();
  ~BaseDados();
  BaseDados(const BaseDados &) = delete;
  BaseDados &operator=(const BaseDados &) = delete;

  // Creates a file with the three empty tables and their indexes. Refuses a name that
  // already exists. The file appears complete or not at all: it is built under a passing
  // name and renamed at the end.
  static void Criar(const QString &caminho);

  // Opens an existing file for reading and writing. A file that is not an SQLite database,
  // or lacks the tables of this program, is refused and left exactly as it was. While it is
  // open, the file is marked as in use (ReservaFicheiro); a file that another program has
  // open is refused with that program's name.
  void Abrir(const QString &caminho);

  // Whether Abrir marks the file as in use (the default). Only a reader that can share the
  // file with a running program goes without: a backup, the check of a copy.
  void DefinirReserva(bool reservar) { reservarAoAbrir = reservar; }

  // How long a write waits for another program that holds the file, in milliseconds; read
  // when the file is opened.
  void DefinirEspera(int ms) { espera = ms; }
  void Fechar();
  bool Aberta() const { return aberta; }
  const QString &Caminho() const { return caminho; }

  // True when the file or its folder cannot be written: reading works, saving will fail.
  bool SóLeitura() const;

  // Prepares and runs one statement with bound values.
  QSqlQuery Executar(const QString &sql, const QVariantList &valores, const QString &operação);

  // All that one user action writes: rolled back on leaving the scope unless confirmed.
  // Transactions nest: an inner one is a savepoint of the outer.
  class Transacção {
  public:
    explicit Transacção(BaseDados &bd);
    ~Transacção();
    Transacção(const Transacção &) = delete;
    Transacção &operator=(const Transacção &) = delete;
    void Confirmar();

  private:
    BaseDados &bd;
    int nível;
    bool terminada = false;
  };

private:
  friend class ConjuntoRegistos;
  void Registar(ConjuntoRegistos *r);
  void Retirar(ConjuntoRegistos *r);
  void VerificarEsquema();

  QString nomeLigação;
  QString caminho;
  bool aberta = false;
  int profundidade = 0; // open transactions
  int espera = 3000;
  bool reservarAoAbrir = true;
  std::shared_ptr<ReservaFicheiro> reserva; // held from Abrir to Fechar
  std::vector<ConjuntoRegistos *> conjuntos;
};
