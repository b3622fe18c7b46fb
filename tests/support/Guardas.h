#pragma once

#include "Exportacao.h"
#include "Impressao.h"
#include "Programas.h"
#include "Relogio.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

#if __has_include("Arquivex.h")
#include "Arquivex.h"
#endif

// Each test seam is installed by one of these objects and put back as it goes, so that a
// failing test never leaves a fixed clock or a fake launcher to the next one.

// The clock stands at `momento` (the real time until one is given) for as long as this lives.
class RelógioFixo {
public:
  RelógioFixo() = default;
  explicit RelógioFixo(const QDateTime &momento) { FixarRelógio(momento); }
  ~RelógioFixo() { FixarRelógio(std::nullopt); }
  void Mudar(const QDateTime &momento) { FixarRelógio(momento); }
  RelógioFixo(const RelógioFixo &) = delete;
  RelógioFixo &operator=(const RelógioFixo &) = delete;
};

// Programs are not started but recorded; `resultado` is what each start reports.
class IniciadorFalso {
public:
  struct Início {
    QString programa;
    QStringList argumentos;
    QString pasta;
  };
  IniciadorFalso() {
    InstalarIniciador([this](const QString &p, const QStringList &a, const QString &d) {
      iniciados << Início{p, a, d};
      return resultado;
    });
  }
  ~IniciadorFalso() { InstalarIniciador({}); }
  IniciadorFalso(const IniciadorFalso &) = delete;
  IniciadorFalso &operator=(const IniciadorFalso &) = delete;

  QList<Início> iniciados;
  bool resultado = true;
};

// Print documents go to the surface `fábrica` makes.
class FábricaImpressãoFalsa {
public:
  explicit FábricaImpressãoFalsa(
      std::function<std::unique_ptr<Impressão>(const QString &)> fábrica) {
    InstalarFábricaImpressão(std::move(fábrica));
  }
  ~FábricaImpressãoFalsa() { InstalarFábricaImpressão({}); }
  FábricaImpressãoFalsa(const FábricaImpressãoFalsa &) = delete;
  FábricaImpressãoFalsa &operator=(const FábricaImpressãoFalsa &) = delete;
};

// The file pickers answer `caminho` (empty: cancelled) and record the path or folder offered.
class EscolhaFicheiroFalsa {
public:
  explicit EscolhaFicheiroFalsa(QString caminho) {
    InstalarEscolhaFicheiro([this, caminho](QWidget *, const QString &, const QString &início) {
      oferecidos << início;
      return caminho;
    });
  }
  ~EscolhaFicheiroFalsa() { InstalarEscolhaFicheiro({}); }
  EscolhaFicheiroFalsa(const EscolhaFicheiroFalsa &) = delete;
  EscolhaFicheiroFalsa &operator=(const EscolhaFicheiroFalsa &) = delete;

  QStringList oferecidos;
};

#if __has_include("Arquivex.h")
// The backup tool's folder picker answers `pasta` (empty: cancelled) and records its title
// and starting folder.
class EscolhaPastaFalsa {
public:
  explicit EscolhaPastaFalsa(QString pasta) {
    InstalarEscolhaPasta([this, pasta](QWidget *, const QString &título, const QString &início) {
      pedidos << QStringList{título, início};
      return pasta;
    });
  }
  ~EscolhaPastaFalsa() { InstalarEscolhaPasta({}); }
  EscolhaPastaFalsa(const EscolhaPastaFalsa &) = delete;
  EscolhaPastaFalsa &operator=(const EscolhaPastaFalsa &) = delete;

  QList<QStringList> pedidos;
};
#endif
