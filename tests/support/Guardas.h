#pragma once

#include "Exportacao.h"
#include "Impressao.h"
#include "Programas.h"
#include "Relogio.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#if __has_include("Arquivex.h")
#include "Arquivex.h"
#include "Copias.h"
#endif

// Each test seam is installed by one of these objects and put back as it goes, so that a
// failing test never leaves a fixed clock or a fake launcher to the next one.

// The user's settings (QSettings, in the Ini format) are read and written in a folder of the
// test's own while this lives, so that no test reads or changes the choices of whoever runs it.
class DefiniçõesDeTeste {
public:
  DefiniçõesDeTeste() {
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, pasta.path());
  }
  ~DefiniçõesDeTeste() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  }
  // Everything the settings files of the folder hold, for a check that a text is not there.
  QByteArray Conteúdo() const {
    QByteArray r;
    QDirIterator i(pasta.path(), QDir::Files, QDirIterator::Subdirectories);
    while (i.hasNext()) {
      QFile f(i.next());
      if (f.open(QIODevice::ReadOnly))
        r += f.readAll();
    }
    return r;
  }
  Q_DISABLE_COPY(DefiniçõesDeTeste)

private:
  QTemporaryDir pasta;
};

// The clock stands at `momento` (the real time until one is given) for as long as this lives.
class RelógioFixo {
public:
  RelógioFixo() = default;
  explicit RelógioFixo(const QDateTime &momento) { FixarRelógio(momento); }
  ~RelógioFixo() { FixarRelógio(std::nullopt); }
  void Mudar(const QDateTime &momento) { FixarRelógio(momento); }
  Q_DISABLE_COPY(RelógioFixo)
};

// Every document goes first to the preview window for as long as this lives.
class PréVisualizaçãoLigada {
public:
  PréVisualizaçãoLigada() { DefinirPréVisualizarImpressões(true); }
  ~PréVisualizaçãoLigada() { DefinirPréVisualizarImpressões(false); }
  Q_DISABLE_COPY(PréVisualizaçãoLigada)
};

// Whatever "Configurar Impressora" chose while this lives is forgotten when it goes.
class EscolhaImpressoraReposta {
public:
  EscolhaImpressoraReposta() = default;
  ~EscolhaImpressoraReposta() { EsquecerImpressoraEscolhida(); }
  Q_DISABLE_COPY(EscolhaImpressoraReposta)
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
      if (aoIniciar)
        aoIniciar();
      return resultado;
    });
  }
  ~IniciadorFalso() { InstalarIniciador({}); }
  Q_DISABLE_COPY(IniciadorFalso)

  QList<Início> iniciados;
  bool resultado = true;
  std::function<void()> aoIniciar; // what the started program does meanwhile
};

// Print documents are recorded, not printed: the last one's name, and its texts once it ends.
class FábricaImpressãoFalsa {
public:
  FábricaImpressãoFalsa() {
    InstalarFábricaImpressão([this](const QString &nome) {
      documento = nome;
      auto g = std::make_unique<GravadorImpressão>();
      g->aoTerminar = [this](const GravadorImpressão &p) { textos = p.Textos(); };
      return g;
    });
  }
  ~FábricaImpressãoFalsa() { InstalarFábricaImpressão({}); }
  Q_DISABLE_COPY(FábricaImpressãoFalsa)

  QString documento;
  QStringList textos;
};

// A picker (`Instalar` installs its seam) answers `resposta` (empty: cancelled) and records
// the path or folder it offered to start from.
template <auto Instalar> class EscolhaFalsa {
public:
  explicit EscolhaFalsa(QString resposta) {
    Instalar([this, resposta](QWidget *, const QString &, const QString &início) {
      oferecidos << início;
      return resposta;
    });
  }
  ~EscolhaFalsa() { Instalar({}); }
  Q_DISABLE_COPY(EscolhaFalsa)

  QStringList oferecidos;
};

using EscolhaFicheiroFalsa = EscolhaFalsa<InstalarEscolhaFicheiro>;
#if __has_include("Arquivex.h")
using EscolhaPastaFalsa = EscolhaFalsa<InstalarEscolhaPasta>;

// Every copy the backup tool writes goes through `alterar` (as a faulty disk would change it)
// before the tool reads it back.
class CópiaAlterada {
public:
  explicit CópiaAlterada(std::function<void(const QString &)> alterar) {
    InstalarDepoisDeCopiar(std::move(alterar));
  }
  ~CópiaAlterada() { InstalarDepoisDeCopiar({}); }
  Q_DISABLE_COPY(CópiaAlterada)
};
#endif
