// The project's benchmark. Builds, from a fixed seed, a "large" Quotas.Dad (5,000 members
// with 240 months of dues each, written month by month as years of use write them) and, with
// --enorme, a "huge" one (50,000 members with 120 months), then times what the treasurer does
// all day next to its floor: the same result read or written with bare SQLite C calls
// (prepared once, one query) in the same run. Program and floor runs alternate and each
// figure is a median, so the ratio holds on a noisy machine where absolute times do not.
//
//   QT_QPA_PLATFORM=offscreen bench_ficheiro [--enorme] [--rapido] [--so TEXTO]
//
// One line per operation: operation  program_ms  floor_ms  ratio. With --so only the
// operations whose name holds TEXTO are timed (the others show 0), for a profiler's run.
//
// With --servidor (built with libpq, run where libpq's environment reaches a PostgreSQL
// server, e.g. under pg_virtualenv) the large file is then copied into a database of its own
// on that server and every operation is timed again there, next to its floor written with
// bare libpq (the same rows, statements prepared once, one query), with the statements the
// program sent for one action: on a server each is a round trip.

#include "Atrasos.h"
#include "Base.h"
#include "Dados.h"
#include "Dividas.h"
#include "FichaSocio.h"
#include "Formato.h"
#include "Importacao.h"
#include "Impressao.h"
#include "ImprimirListagem.h"
#include "ImprimirTaloes.h"
#include "ListagemSocios.h"
#include "MapaAnual.h"
#include "Mensagens.h"
#include "OrdemNomes.h"
#include "Referencias.h"
#include "Verificacao.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

#ifdef AGREMIA_BENCH_PG
#include <libpq-fe.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

struct Ficheiro {
  QString caminho;
  int sócios = 0;
  int meses = 0;
};

void Verificar(int rc, sqlite3 *db, const char *onde) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
    throw std::runtime_error(std::string(onde) + ": " + sqlite3_errmsg(db));
}

// Bare SQLite: the floor against which the program is measured.
class Bruto {
public:
  explicit Bruto(const QString &caminho) {
    Verificar(sqlite3_open_v2(caminho.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
              db, "abrir");
  }
  ~Bruto() {
    for (auto *s : instruções)
      sqlite3_finalize(s);
    sqlite3_close(db);
  }
  Bruto(const Bruto &) = delete;
  Bruto &operator=(const Bruto &) = delete;

  sqlite3_stmt *Preparar(const char *sql) {
    sqlite3_stmt *s = nullptr;
    Verificar(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr), db, sql);
    instruções.push_back(s);
    return s;
  }
  void Exec(const char *sql) {
    Verificar(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql);
  }
  sqlite3 *db = nullptr;

private:
  std::vector<sqlite3_stmt *> instruções;
};

// Reads every column of every row, as the program must.
qint64 LerTudo(sqlite3_stmt *s) {
  qint64 soma = 0;
  while (sqlite3_step(s) == SQLITE_ROW) {
    const int n = sqlite3_column_count(s);
    for (int c = 0; c < n; ++c) {
      if (sqlite3_column_type(s, c) == SQLITE_TEXT)
        soma += sqlite3_column_bytes(s, c) + *sqlite3_column_text(s, c);
      else
        soma += sqlite3_column_int64(s, c);
    }
  }
  sqlite3_reset(s);
  return soma;
}

constexpr const char *SqlMostrar =
    "SELECT s.rowid, s.\"Nome\", s.\"CPostal\", s.\"Situação\", s.\"TipoQuota\", s.\"Inscrição\", "
    "s.\"ValQuotaEuro\", s.\"Rua\", s.\"Localidade\", s.\"Observações\", s.\"NIF\", q.\"SócMês\", "
    "q.\"QuotaEuro\", q.\"Recibo\" FROM \"Sócios\" s LEFT JOIN \"Quotizações\" q ON "
    "q.\"SócMês\" >= ?1 AND q.\"SócMês\" < ?2 WHERE s.\"Número\" = ?3 ORDER BY q.\"SócMês\"";

void LigarMembro(sqlite3_stmt *s, int n) {
  const QByteArray de = FormatarNúmero(n, u"000000"_s).toUtf8();
  const QByteArray até = FormatarNúmero(n + 1, u"000000"_s).toUtf8();
  sqlite3_bind_text(s, 1, de.constData(), int(de.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(s, 2, até.constData(), int(até.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int(s, 3, n);
}

// Deterministic names with the accents and small letters that a Portuguese file has.
QString Nome(std::mt19937 &g, int n) {
  static const char16_t *const próprios[] = {u"Álvaro", u"alvaro", u"Ângela", u"Óscar",
                                             u"Úrsula", u"Zé",     u"Bruno",  u"Maria",
                                             u"João",   u"Inês",   u"Rui",    u"Conceição"};
  static const char16_t *const apelidos[] = {u"Silva",   u"Gonçalves", u"Araújo",  u"Simões",
                                             u"Sousa",   u"Conceição", u"Pereira", u"Leitão",
                                             u"Antunes", u"Esteves"};
  return QString::fromUtf16(próprios[g() % 12]) + u' ' + QString::fromUtf16(apelidos[g() % 10]) +
         u' ' + QString::number(n);
}

Ficheiro Construir(const QString &pasta, const QString &nome, int sócios, int meses) {
  Ficheiro f{QDir(pasta).filePath(nome), sócios, meses};
  BaseDados::Criar(f.caminho);
  Bruto b(f.caminho);
  b.Exec("PRAGMA synchronous=OFF");
  b.Exec("BEGIN");
  std::mt19937 g(20261206u);
  sqlite3_stmt *s = b.Preparar(
      "INSERT INTO \"Sócios\" VALUES (?, ?, 0, 0, 0, '20000101', ?, 'Rua do Sócio ', 'Terra ', "
      "' ', '0')");
  for (int n = 1; n <= sócios; ++n) {
    const QByteArray nomeUtf8 = Nome(g, n).toUtf8();
    sqlite3_bind_int(s, 1, n);
    sqlite3_bind_text(s, 2, nomeUtf8.constData(), int(nomeUtf8.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(s, 3, 100000 + qint64(g() % 20) * 2500);
    Verificar(sqlite3_step(s), b.db, "sócio");
    sqlite3_reset(s);
  }
  // Month by month for all members, as years of use write them.
  sqlite3_stmt *d = b.Preparar("INSERT INTO \"Quotizações\" VALUES (?, ?, ?)");
  // One member in ten has paid nothing in the last year, so the reports have rows to show.
  for (int m = 0; m < meses; ++m)
    for (int n = 1; n <= sócios; ++n) {
      if (n % 10 == 3 && m >= meses - 12)
        continue;
      const QByteArray chave = ChaveSócMês(n, 2000 + m / 12, m % 12 + 1).toUtf8();
      sqlite3_bind_text(d, 1, chave.constData(), int(chave.size()), SQLITE_TRANSIENT);
      sqlite3_bind_int64(d, 2, 125000);
      sqlite3_bind_int(d, 3, m * sócios + n);
      Verificar(sqlite3_step(d), b.db, "quota");
      sqlite3_reset(d);
    }
  b.Exec("INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES ('1', 'Sociedade "
         "Recreativa e Cultural')");
  b.Exec("COMMIT");
  return f;
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

double Medir(const std::function<void()> &f) {
  QElapsedTimer t;
  t.start();
  f();
  return double(t.nsecsElapsed()) / 1e6;
}

struct Resultado {
  QString operação;
  double programa;
  double chão;
  std::optional<quint64> instruções = {}; // sent by the program for one action, on a server
  QString falha = {};                     // the engine's words when the operation failed
};

QString Só; // --so

// Program and floor alternate, `vezes` times each; the figures are medians.
Resultado Comparar(const QString &operação, int vezes, const std::function<void(int)> &programa,
                   const std::function<void(int)> &chão) {
  if (!operação.contains(Só))
    return {operação, 0, 0};
  std::vector<double> p, c;
  programa(0); // caches warmed for both alike
  chão(0);
  for (int i = 0; i < vezes; ++i) {
    p.push_back(Medir([&] { programa(i); }));
    c.push_back(Medir([&] { chão(i); }));
  }
  return {operação, Mediana(p), Mediana(c)};
}

// A printer writing a PDF into `pasta`, as the program's fallback does.
std::unique_ptr<QPrinter> ImpressoraPdf(const QString &pasta) {
  auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
  p->setOutputFormat(QPrinter::PdfFormat);
  p->setOutputFileName(QDir(pasta).filePath(u"bench.pdf"_s));
  p->setPageSize(QPageSize(QPageSize::A4));
  return p;
}

// The floor of a print: the same texts and rules at the same places, drawn with a bare
// QPainter on the same kind of PDF printer, from a recording made beforehand.
void DesenharGravação(const GravadorImpressão &g, const QString &pasta) {
  auto impressora = ImpressoraPdf(pasta);
  QPainter pintor(impressora.get());
  const double escala = impressora->resolution() / 1440.0;
  pintor.scale(escala, escala);
  int página = 1;
  FonteImpressão actual;
  QFont fonte = FonteQt(actual);
  double subida = QFontMetricsF(fonte).ascent();
  pintor.setFont(fonte);
  for (const auto &t : g.textos) {
    while (página < t.página) {
      impressora->newPage();
      ++página;
    }
    if (!(t.fonte == actual)) {
      actual = t.fonte;
      fonte = FonteQt(actual);
      subida = QFontMetricsF(fonte).ascent();
      pintor.setFont(fonte);
    }
    pintor.drawText(QPointF(t.x, t.y + subida), t.texto);
  }
  for (const auto &l : g.traços)
    pintor.drawLine(l.linha);
}

// A print timed next to its floor; the recording for the floor is made first, untimed.
Resultado CompararImpressão(const QString &operação, int vezes, const QString &pasta,
                            const std::function<void(Impressão &)> &imprimir) {
  QSizeF tamanho;
  {
    auto impressora = ImpressoraPdf(pasta);
    ImpressoraQt p(*impressora, u"bench"_s);
    tamanho = {p.LarguraPágina(), p.AlturaPágina()};
  }
  GravadorImpressão gravação(tamanho.width(), tamanho.height());
  imprimir(gravação);
  return Comparar(
      operação, vezes,
      [&](int) {
        auto impressora = ImpressoraPdf(pasta);
        ImpressoraQt p(*impressora, u"bench"_s);
        imprimir(p);
      },
      [&](int) { DesenharGravação(gravação, pasta); });
}

std::vector<Resultado> MedirFicheiro(const Ficheiro &f, const Ficheiro &vazio, bool rápido) {
  std::vector<Resultado> r;
  std::mt19937 g(7u);
  const auto qualquer = [&] { return int(g() % unsigned(f.sócios)) + 1; };

  // Start-up as the program goes through it: the file's check starts at the program's entry
  // and runs while the start-up window shows its picture for one second; then the file is
  // opened once the check is over, and the main window shows the first member until it is
  // painted. The second is the same for every file and is not counted; whatever the check
  // takes beyond it is. Against the same on an empty file (the widgets cost the same on both).
  const auto arrancar = [](const QString &caminho) {
    VerificaçãoAbertura verificação(caminho);
    QThread::msleep(1000);
    QElapsedTimer t;
    t.start();
    verificação.Confirmar();
    AbrirDados(caminho);
    {
      Base b;
      b.show();
      QCoreApplication::processEvents();
      verificação.Prosseguir();
    }
    FecharDados();
    return double(t.nsecsElapsed()) / 1e6;
  };
  {
    std::vector<double> p, c;
    arrancar(f.caminho); // caches warmed for both alike
    arrancar(vazio.caminho);
    for (int i = 0; i < (rápido ? 3 : 9); ++i) {
      p.push_back(arrancar(f.caminho));
      c.push_back(arrancar(vazio.caminho));
    }
    r.push_back({u"arranque (base: ficheiro vazio)"_s, Mediana(p), Mediana(c)});
  }
  {
    // The check alone, for the record: the start-up window's second covers it up to 1000 ms.
    std::vector<double> v;
    for (int i = 0; i < 3; ++i)
      v.push_back(Medir([&] { ProblemasDoFicheiro(f.caminho); }));
    std::printf("verificação ao abrir (%.0f MB): %.0f ms, coberta pela janela até 1000 ms\n",
                double(QFileInfo(f.caminho).size()) / 1e6, Mediana(v));
  }

  AbrirDados(f.caminho);
  auto janela = std::make_unique<Base>();
  Base &base = *janela;
  Bruto bruto(f.caminho);
  {
    Instrução modo = Dados().bd.Correr(u"PRAGMA synchronous"_s, {}, u"bench"_s);
    modo.Seguinte();
    bruto.Exec(("PRAGMA synchronous=" + QByteArray::number(modo.Inteiro(0))).constData());
  }
  sqlite3_stmt *mostrar = bruto.Preparar(SqlMostrar);

  std::vector<int> membros;
  for (int i = 0; i < 300; ++i)
    membros.push_back(qualquer());
  r.push_back(Comparar(
      u"mostrar um sócio com %1 quotas"_s.arg(f.meses), rápido ? 60 : 300,
      [&](int i) {
        qint32 n = membros[size_t(i)];
        base.MostrarSócio(n);
      },
      [&](int i) {
        LigarMembro(mostrar, membros[size_t(i)]);
        LerTudo(mostrar);
      }));

  // "Gravar Dados": the member row and every dues row, each run with new amounts so that every
  // row really changes, then the member shown again as the window does.
  sqlite3_stmt *sócio = bruto.Preparar(
      "UPDATE \"Sócios\" SET \"Nome\" = ?, \"CPostal\" = 0, \"Situação\" = 0, \"TipoQuota\" = 0, "
      "\"Inscrição\" = '20000101', \"ValQuotaEuro\" = 125000, \"Rua\" = 'Rua ', \"Localidade\" = "
      "'Terra ', \"Observações\" = ' ', \"NIF\" = '0' WHERE \"Número\" = ?");
  sqlite3_stmt *quota = bruto.Preparar(
      "INSERT INTO \"Quotizações\" (\"SócMês\", \"QuotaEuro\", \"Recibo\") VALUES (?, ?, ?) ON "
      "CONFLICT (\"SócMês\") DO UPDATE SET \"QuotaEuro\" = excluded.\"QuotaEuro\", \"Recibo\" = "
      "excluded.\"Recibo\"");
  int valor = 1000;
  r.push_back(Comparar(
      u"gravar um sócio com %1 quotas"_s.arg(f.meses), rápido ? 5 : 15,
      [&](int i) {
        const qint32 n = membros[size_t(i)];
        ++valor;
        ListaOrdenada quotas;
        for (int m = 0; m < f.meses; ++m)
          quotas.Inserir(EntradaQuota(2000 + m / 12, m % 12 + 1, Moeda::DeCêntimos(valor), m));
        const FichaSócio ficha{
            QString::number(n), u"Sócio gravado"_s, 0,          0,  0,     u"01-01-2000"_s,
            u"12,50"_s,         u"Rua"_s,           u"Terra"_s, {}, u"0"_s};
        GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações, ficha, n, quotas, {});
        qint32 mostrado = n;
        base.MostrarSócio(mostrado);
      },
      [&](int i) {
        const int n = membros[size_t(i)];
        ++valor;
        bruto.Exec("BEGIN IMMEDIATE");
        sqlite3_bind_text(sócio, 1, "Sócio gravado", -1, SQLITE_STATIC);
        sqlite3_bind_int(sócio, 2, n);
        Verificar(sqlite3_step(sócio), bruto.db, "gravar sócio");
        sqlite3_reset(sócio);
        for (int m = 0; m < f.meses; ++m) {
          const QByteArray chave = ChaveSócMês(n, 2000 + m / 12, m % 12 + 1).toUtf8();
          sqlite3_bind_text(quota, 1, chave.constData(), int(chave.size()), SQLITE_TRANSIENT);
          sqlite3_bind_int64(quota, 2, qint64(valor) * 100);
          sqlite3_bind_int(quota, 3, m);
          Verificar(sqlite3_step(quota), bruto.db, "gravar quota");
          sqlite3_reset(quota);
        }
        bruto.Exec("COMMIT");
        LigarMembro(mostrar, n);
        LerTudo(mostrar);
      }));

  // F4 a thousand times from the first member: each shows the next member with all its dues.
  sqlite3_stmt *seguinte =
      bruto.Preparar("SELECT min(\"Número\") FROM \"Sócios\" WHERE \"Número\" > ?");
  const int passos = std::min(1000, f.sócios - 1);
  r.push_back(Comparar(
      u"sócio seguinte × %1"_s.arg(passos), rápido ? 2 : 5,
      [&](int) {
        base.NavegarSócio(2);
        for (int k = 0; k < passos; ++k)
          base.NavegarSócio(4);
      },
      [&](int) {
        int n = 1;
        for (int k = 0; k < passos; ++k) {
          sqlite3_bind_int(seguinte, 1, n);
          if (sqlite3_step(seguinte) == SQLITE_ROW)
            n = sqlite3_column_int(seguinte, 0);
          sqlite3_reset(seguinte);
          LigarMembro(mostrar, n);
          LerTudo(mostrar);
        }
      }));
  // The reports of the last year's last month, against the same query run bare.
  const int ano = 2000 + (f.meses - 1) / 12, mês = (f.meses - 1) % 12 + 1;
  const QByteArray período =
      (FormatarNúmero(ano, u"0000"_s) + FormatarNúmero(mês, u"00"_s)).toUtf8();
  sqlite3_stmt *atrasos = bruto.Preparar(SqlAtrasos.toUtf8().constData());
  r.push_back(Comparar(
      u"quotas em atraso de um mês"_s, rápido ? 3 : 9,
      [&](int) { SóciosEmAtraso(Dados().bd, ano, mês, 0); },
      [&](int) {
        const QByteArray limite = período + "32";
        sqlite3_bind_text(atrasos, 1, limite.constData(), int(limite.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(atrasos, 2, 0);
        sqlite3_bind_int(atrasos, 3, 0);
        sqlite3_bind_text(atrasos, 4, período.constData(), int(período.size()), SQLITE_TRANSIENT);
        LerTudo(atrasos);
      }));
  sqlite3_stmt *mapa = bruto.Preparar(SqlMapa.toUtf8().constData());
  r.push_back(Comparar(
      u"mapa de quotas de um ano"_s, rápido ? 3 : 9, [&](int) { LinhasMapa(Dados().bd, ano, 0); },
      [&](int) {
        const QByteArray a = FormatarNúmero(ano, u"0000"_s).toUtf8();
        const QByteArray de = a + "01", até = a + "12", limite = a + "1232";
        sqlite3_bind_text(mapa, 1, de.constData(), int(de.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(mapa, 2, até.constData(), int(até.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(mapa, 3, limite.constData(), int(limite.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(mapa, 4, 0);
        sqlite3_bind_int(mapa, 5, 0);
        LerTudo(mapa);
      }));
  // The debts of the last year's twelve months, against the same query run bare: one row per
  // member and month owed (one member in ten owes the whole year).
  sqlite3_stmt *dívidas = bruto.Preparar(SqlDívidas.toUtf8().constData());
  const int de = ÍndiceMês(ano, 1), até = ÍndiceMês(ano, mês);
  r.push_back(Comparar(
      u"quotas em dívida de um ano"_s, rápido ? 3 : 9,
      [&](int) {
        SóciosEmDívida(Dados().bd, {de, até, 0, 0}, OrdemDívidas::Número);
      },
      [&](int) {
        sqlite3_bind_int(dívidas, 1, de);
        sqlite3_bind_int(dívidas, 2, até);
        for (int k = 3; k <= 6; ++k)
          sqlite3_bind_int(dívidas, k, 0);
        LerTudo(dívidas);
      }));
  sqlite3_stmt *emDia = bruto.Preparar(SqlEmDia.toUtf8().constData());
  const QByteArray fimDoAno = período + "31";
  r.push_back(Comparar(
      u"sócios com quotas em dia num ano"_s, rápido ? 3 : 9,
      [&](int) { SóciosEmDia(Dados().bd, QDate(ano, mês, 31), de); },
      [&](int) {
        sqlite3_bind_int(emDia, 1, de);
        sqlite3_bind_int(emDia, 2, até);
        sqlite3_bind_text(emDia, 3, fimDoAno.constData(), int(fimDoAno.size()), SQLITE_TRANSIENT);
        LerTudo(emDia);
      }));
  // The member list: its floor is the same rows read bare, then put in order in memory (the
  // collator's sort keys for names, as nothing else orders them the Portuguese way).
  sqlite3_stmt *todos = bruto.Preparar(
      "SELECT \"Número\", \"Nome\", \"Inscrição\", \"Rua\", \"Localidade\", \"CPostal\", "
      "\"Situação\", \"TipoQuota\" FROM \"Sócios\" ORDER BY \"Número\"");
  sqlite3_stmt *referências = bruto.Preparar("SELECT \"Código\", \"Designação\" FROM \"Tabelas\"");
  for (const auto &[ordem, nome] :
       {std::pair{OrdemListagem::Numérica, u"listagem de todos: numérica"_s},
        std::pair{OrdemListagem::Alfabética, u"listagem de todos: alfabética"_s}}) {
    r.push_back(Comparar(
        nome, rápido ? 3 : 9,
        [&, ordem = ordem](int) {
          EscolhaListagem e;
          e.ordem = ordem;
          LinhasListagem(Dados().bd, e);
        },
        [&, ordem = ordem](int) {
          // The same result: each row's texts as the program holds them, the reference names
          // looked up in the reference rows read once.
          QHash<qint64, QString> nomes;
          while (sqlite3_step(referências) == SQLITE_ROW)
            nomes.insert(sqlite3_column_int64(referências, 0),
                         QString::fromUtf8(
                             reinterpret_cast<const char *>(sqlite3_column_text(referências, 1)),
                             sqlite3_column_bytes(referências, 1)));
          sqlite3_reset(referências);
          std::vector<std::pair<qint64, QStringList>> linhas;
          while (sqlite3_step(todos) == SQLITE_ROW) {
            QStringList textos;
            for (int c = 1; c < 5; ++c)
              textos << QString::fromUtf8(
                  reinterpret_cast<const char *>(sqlite3_column_text(todos, c)),
                  sqlite3_column_bytes(todos, c));
            for (int c = 5; c < 8; ++c)
              textos << nomes.value(sqlite3_column_int64(todos, c));
            linhas.emplace_back(sqlite3_column_int64(todos, 0), std::move(textos));
          }
          sqlite3_reset(todos);
          if (ordem == OrdemListagem::Alfabética)
            OrdenarPorNome(linhas, [](const auto &l) { return l.second.front(); });
        }));
  }
  if (f.sócios <= 5000) {
    // Printing the whole file to PDF: the member list, the small labels, a year of stubs.
    const QString pasta = QFileInfo(f.caminho).absolutePath();
    const std::vector<SócioListado> listados = LinhasListagem(Dados().bd, EscolhaListagem{});
    const int n = rápido ? 1 : 3;
    r.push_back(CompararImpressão(u"imprimir a listagem normal"_s, n, pasta, [&](Impressão &p) {
      ImprimirSócios(p, TipoImpressão::Normal, listados, u"Sociedade"_s);
    }));
    r.push_back(CompararImpressão(u"imprimir as etiquetas pequenas"_s, n, pasta, [&](Impressão &p) {
      ImprimirSócios(p, TipoImpressão::EndereçosPequenos, listados, u"Sociedade"_s);
    }));
    PedidoTalões pedido;
    pedido.ano = QString::number(ano);
    pedido.periodicidade = 1;
    const ResultadoTalões plano = PlanearTalões(Dados().bd, Listas(), pedido);
    r.push_back(CompararImpressão(u"imprimir os talões de um ano"_s, n, pasta,
                                  [&](Impressão &p) { ImprimirTalões(p, plano.plano); }));
  }
  // Importing 5,000 members from a CSV file, the whole of it (read, checked, written, the
  // member list read again), against the same rows inserted bare in one transaction. Each
  // run brings numbers of its own, beyond the file's members. Last, as it adds members.
  if (f.sócios <= 5000) {
    constexpr int novos = 5000;
    const int vezes = rápido ? 2 : 5;
    std::vector<QByteArray> nomes;
    for (int j = 0; j < novos; ++j)
      nomes.push_back(Nome(g, j).toUtf8());
    std::vector<QByteArray> ficheiros;
    for (int k = 0; k <= vezes; ++k) {
      QByteArray csv = "N\xC3\xBAmero;Nome;Morada;Localidade;C\xC3\xB3"
                       "digo Postal;Situa\xC3\xA7\xC3\xA3o;Tipo de Quota;Data de "
                       "Inscri\xC3\xA7\xC3\xA3o;Valor da Quota;NIF;Observa\xC3\xA7\xC3\xB5"
                       "es\r\n";
      for (int j = 0; j < novos; ++j)
        csv += QByteArray::number(100001 + k * novos + j) + ';' + nomes[size_t(j)] +
               ";Rua do S\xC3\xB3"
               "cio " +
               QByteArray::number(j) + ";Terra;;;;15-09-1996;12,50;123456789;\r\n";
      ficheiros.push_back(std::move(csv));
    }
    sqlite3_stmt *inserir =
        bruto.Preparar("INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"CPostal\", \"Situação\", "
                       "\"TipoQuota\", \"Inscrição\", \"ValQuotaEuro\", \"Rua\", \"Localidade\", "
                       "\"Observações\", \"NIF\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int importação = 0, chão = 0;
    r.push_back(Comparar(
        u"importar %1 sócios de um CSV"_s.arg(novos), vezes,
        [&](int) {
          const auto x = ImportarFicheiroSócios(Dados().bd, *Dados().sócios, *Dados().tabelas,
                                                ficheiros[size_t(importação++)], Listas(), true);
          if (x.gravados != novos)
            throw std::runtime_error("importação recusada");
        },
        [&](int) {
          const int primeiro = 400001 + novos * chão++;
          bruto.Exec("BEGIN IMMEDIATE");
          for (int j = 0; j < novos; ++j) {
            const QByteArray rua = "Rua do S\xC3\xB3"
                                   "cio " +
                                   QByteArray::number(j) + ' ';
            sqlite3_bind_int(inserir, 1, primeiro + j);
            sqlite3_bind_text(inserir, 2, nomes[size_t(j)].constData(),
                              int(nomes[size_t(j)].size()), SQLITE_STATIC);
            for (int c : {3, 4, 5})
              sqlite3_bind_int(inserir, c, 0);
            sqlite3_bind_text(inserir, 6, "19960915", 8, SQLITE_STATIC);
            sqlite3_bind_int64(inserir, 7, 125000);
            sqlite3_bind_text(inserir, 8, rua.constData(), int(rua.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(inserir, 9, "Terra ", 6, SQLITE_STATIC);
            sqlite3_bind_text(inserir, 10, " ", 1, SQLITE_STATIC);
            sqlite3_bind_text(inserir, 11, "123456789", 9, SQLITE_STATIC);
            Verificar(sqlite3_step(inserir), bruto.db, "importar");
            sqlite3_reset(inserir);
          }
          bruto.Exec("COMMIT");
        }));
  }
  janela.reset();
  FecharDados();
  return r;
}

#ifdef AGREMIA_BENCH_PG

using ResultadoPg = std::unique_ptr<PGresult, decltype(&PQclear)>;

// Bare libpq: the floor on a server. Each statement is prepared once; values go as text, as
// Qt's driver sends them.
class BrutoPg {
public:
  explicit BrutoPg(const QString &ligação) : c(PQconnectdb(ligação.toUtf8().constData())) {
    if (PQstatus(c) != CONNECTION_OK)
      throw std::runtime_error(std::string("ligar: ") + PQerrorMessage(c));
  }
  ~BrutoPg() { PQfinish(c); }
  BrutoPg(const BrutoPg &) = delete;
  BrutoPg &operator=(const BrutoPg &) = delete;

  // The program's SQL, its ? placeholders numbered as PostgreSQL wants them ($1, $2, ...).
  static QByteArray Numerar(const QString &sql) {
    QString r;
    int n = 0;
    bool citação = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
      const QChar ch = sql[i];
      if (ch == u'\'')
        citação = !citação;
      if (ch != u'?' || citação)
        r += ch;
      else if (i + 1 < sql.size() && sql[i + 1].isDigit())
        r += u'$'; // already numbered: ?1 is $1
      else
        r += u'$' + QString::number(++n);
    }
    return r.toUtf8();
  }
  std::string Preparar(const QString &sql) {
    const std::string nome = "chao" + std::to_string(++preparadas);
    Verificar(
        ResultadoPg(PQprepare(c, nome.c_str(), Numerar(sql).constData(), 0, nullptr), &PQclear),
        nome.c_str());
    return nome;
  }
  // Runs a prepared statement; a null QByteArray is NULL.
  ResultadoPg Correr(const std::string &nome, const std::vector<QByteArray> &valores) {
    std::vector<const char *> v;
    for (const QByteArray &x : valores)
      v.push_back(x.isNull() ? nullptr : x.constData());
    ResultadoPg r(PQexecPrepared(c, nome.c_str(), int(v.size()), v.data(), nullptr, nullptr, 0),
                  &PQclear);
    Verificar(r, nome.c_str());
    return r;
  }
  void Exec(const char *sql) { Verificar(ResultadoPg(PQexec(c, sql), &PQclear), sql); }
  ResultadoPg ExecValores(const QByteArray &sql, const std::vector<QByteArray> &valores) {
    std::vector<const char *> v;
    for (const QByteArray &x : valores)
      v.push_back(x.isNull() ? nullptr : x.constData());
    ResultadoPg r(
        PQexecParams(c, sql.constData(), int(v.size()), nullptr, v.data(), nullptr, nullptr, 0),
        &PQclear);
    Verificar(r, "valores");
    return r;
  }

private:
  void Verificar(const ResultadoPg &r, const char *onde) {
    const auto e = PQresultStatus(r.get());
    if (e != PGRES_COMMAND_OK && e != PGRES_TUPLES_OK)
      throw std::runtime_error(std::string(onde) + ": " + PQerrorMessage(c));
  }
  PGconn *c;
  int preparadas = 0;
};

// Reads every column of every row, as the program must.
qint64 LerTudo(const ResultadoPg &r) {
  qint64 soma = 0;
  const int linhas = PQntuples(r.get()), colunas = PQnfields(r.get());
  for (int l = 0; l < linhas; ++l)
    for (int c = 0; c < colunas; ++c)
      soma += PQgetlength(r.get(), l, c) + *PQgetvalue(r.get(), l, c);
  return soma;
}

QByteArray Texto(qint64 v) {
  return QByteArray::number(v);
}

// Runs `sql` on the server's maintenance database (libpq's defaults).
void AdministrarPg(const QString &sql) {
  BrutoPg admin(QString{});
  admin.Exec(sql.toUtf8().constData());
}

// Copies the three tables of a file into an empty server database made for it, with plain
// multi-row INSERTs, then lets the planner see the new rows as autovacuum would.
void CopiarParaServidor(const QString &ficheiro, const QString &ligação) {
  BaseDados::CriarNoServidor(ligação);
  Bruto origem(ficheiro);
  BrutoPg destino(ligação);
  destino.Exec("BEGIN");
  for (const char *tabela : {"Sócios", "Quotizações", "Tabelas"}) {
    sqlite3_stmt *s = origem.Preparar((std::string("SELECT * FROM \"") + tabela + '"').c_str());
    const int colunas = sqlite3_column_count(s);
    QByteArray campos;
    for (int c = 0; c < colunas; ++c)
      campos += (c ? ", \"" : "\"") + QByteArray(sqlite3_column_name(s, c)) + '"';
    const int porInstrução = 30000 / colunas;
    std::vector<QByteArray> valores;
    int linhas = 0;
    const auto enviar = [&] {
      if (linhas == 0)
        return;
      QByteArray sql = "INSERT INTO \"" + QByteArray(tabela) + "\" (" + campos + ") VALUES ";
      for (int l = 0; l < linhas; ++l) {
        sql += l ? ", (" : "(";
        for (int c = 0; c < colunas; ++c)
          sql += (c ? ", $" : "$") + QByteArray::number(l * colunas + c + 1);
        sql += ')';
      }
      destino.ExecValores(sql, valores);
      valores.clear();
      linhas = 0;
    };
    while (sqlite3_step(s) == SQLITE_ROW) {
      for (int c = 0; c < colunas; ++c)
        valores.push_back(
            sqlite3_column_type(s, c) == SQLITE_NULL
                ? QByteArray()
                : QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(s, c)),
                             sqlite3_column_bytes(s, c)));
      if (++linhas == porInstrução)
        enviar();
    }
    enviar();
  }
  // The copied codes were given by the file: the server's counter goes on after them.
  destino.Exec("SELECT setval(pg_get_serial_sequence('\"Tabelas\"', 'Código'), "
               "coalesce(max(\"Código\"), 0) + 1, false) FROM \"Tabelas\"");
  destino.Exec("COMMIT");
  destino.Exec("ANALYZE");
}

// The floor's show of one member: the same columns as the file's, the key in place of the
// row id.
const QString SqlMostrarPg = QString::fromUtf8(SqlMostrar).replace(u"s.rowid"_s, u"s.\"Número\""_s);

std::vector<QByteArray> ValoresMembro(int n) {
  return {FormatarNúmero(n, u"000000"_s).toUtf8(), FormatarNúmero(n + 1, u"000000"_s).toUtf8(),
          Texto(n)};
}

// An array literal of texts for unnest().
QByteArray Lista(const std::vector<QByteArray> &v) {
  QByteArray r = "{";
  for (size_t i = 0; i < v.size(); ++i) {
    QByteArray x = v[i];
    x.replace('\\', "\\\\").replace('"', "\\\"");
    r += (i ? ",\"" : "\"") + x + '"';
  }
  return r + '}';
}

// The statements the program sends for one action.
quint64 Contar(const std::function<void()> &f) {
  const quint64 antes = Dados().bd.InstruçõesEnviadas();
  f();
  return Dados().bd.InstruçõesEnviadas() - antes;
}

std::vector<Resultado> MedirServidor(const QString &ligação, const QString &vazia,
                                     const Ficheiro &f, const QString &pasta, bool rápido) {
  std::vector<Resultado> r;
  std::mt19937 g(7u);
  const auto qualquer = [&] { return int(g() % unsigned(f.sócios)) + 1; };
  // An operation the program fails on the server is reported as such, and the others go on.
  const auto tentar = [&r](const QString &nome, const std::function<void()> &medir) {
    try {
      medir();
    } catch (const std::exception &e) {
      r.push_back({nome, 0, 0, {}, QString::fromUtf8(e.what()).simplified()});
    }
  };

  // Start-up: the database opened and the main window showing the first member, against the
  // same on an empty database (the widgets and the connection cost the same on both).
  quint64 instruçõesArranque = 0, instruçõesAbertura = 0;
  const auto arrancar = [&](const QString &l) {
    // The store's count goes on from one opening to the next.
    const quint64 antes = Dados().bd.InstruçõesEnviadas();
    QElapsedTimer t;
    t.start();
    AbrirDadosServidor(l);
    instruçõesAbertura = Dados().bd.InstruçõesEnviadas() - antes;
    {
      Base b;
      b.show();
      QCoreApplication::processEvents();
      instruçõesArranque = Dados().bd.InstruçõesEnviadas() - antes;
    }
    FecharDados();
    return double(t.nsecsElapsed()) / 1e6;
  };
  {
    std::vector<double> p, c;
    arrancar(ligação);
    arrancar(vazia);
    quint64 n = 0;
    for (int i = 0; i < (rápido ? 3 : 9); ++i) {
      p.push_back(arrancar(ligação));
      n = instruçõesArranque;
      c.push_back(arrancar(vazia));
    }
    r.push_back({u"arranque (base: base de dados vazia)"_s, Mediana(p), Mediana(c), n});
    arrancar(ligação);
    std::printf("arranque no servidor: %llu instruções ao abrir, %llu até a janela mostrar o "
                "primeiro sócio\n",
                static_cast<unsigned long long>(instruçõesAbertura),
                static_cast<unsigned long long>(instruçõesArranque));
  }

  AbrirDadosServidor(ligação);
  auto janela = std::make_unique<Base>();
  Base &base = *janela;
  BrutoPg bruto(ligação);
  const std::string mostrar = bruto.Preparar(SqlMostrarPg);

  std::vector<int> membros;
  for (int i = 0; i < 300; ++i)
    membros.push_back(qualquer());
  {
    // The first move after opening also reads the member list, once: the count is of a show
    // after that.
    qint32 n = membros.front();
    base.MostrarSócio(n);
    n = membros.back();
    const quint64 k = Contar([&] { base.MostrarSócio(n); });
    r.push_back(Comparar(
        u"mostrar um sócio com %1 quotas"_s.arg(f.meses), rápido ? 60 : 300,
        [&](int i) {
          qint32 m = membros[size_t(i)];
          base.MostrarSócio(m);
        },
        [&](int i) { LerTudo(bruto.Correr(mostrar, ValoresMembro(membros[size_t(i)]))); }));
    r.back().instruções = k;
  }

  // "Gravar Dados": the floor writes the member row and every dues row with one multi-row
  // upsert, in one transaction, then shows the member again.
  const std::string sócio = bruto.Preparar(
      u"UPDATE \"Sócios\" SET \"Nome\" = ?, \"CPostal\" = 0, \"Situação\" = 0, \"TipoQuota\" = "
      u"0, \"Inscrição\" = '20000101', \"ValQuotaEuro\" = 125000, \"Rua\" = 'Rua ', "
      u"\"Localidade\" = 'Terra ', \"Observações\" = ' ', \"NIF\" = '0' WHERE \"Número\" = ?"_s);
  const std::string quotas = bruto.Preparar(
      u"INSERT INTO \"Quotizações\" (\"SócMês\", \"QuotaEuro\", \"Recibo\") SELECT * FROM "
      u"unnest(?::text[], ?::bigint[], ?::integer[]) ON CONFLICT (\"SócMês\") DO UPDATE SET "
      u"\"QuotaEuro\" = excluded.\"QuotaEuro\", \"Recibo\" = excluded.\"Recibo\""_s);
  int valor = 1000;
  const auto gravar = [&](int i) {
    const qint32 n = membros[size_t(i)];
    ++valor;
    ListaOrdenada lista;
    for (int m = 0; m < f.meses; ++m)
      lista.Inserir(EntradaQuota(2000 + m / 12, m % 12 + 1, Moeda::DeCêntimos(valor), m));
    const FichaSócio ficha{
        QString::number(n), u"Sócio gravado"_s, 0,          0,  0,     u"01-01-2000"_s,
        u"12,50"_s,         u"Rua"_s,           u"Terra"_s, {}, u"0"_s};
    return Contar([&] {
      GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações, ficha, n, lista, {});
    });
  };
  tentar(u"gravar um sócio com %1 quotas"_s.arg(f.meses), [&] {
    const quint64 k = gravar(299);
    r.push_back(Comparar(
        u"gravar um sócio com %1 quotas"_s.arg(f.meses), rápido ? 5 : 15,
        [&](int i) {
          gravar(i);
          qint32 mostrado = membros[size_t(i)];
          base.MostrarSócio(mostrado);
        },
        [&](int i) {
          const int n = membros[size_t(i)];
          ++valor;
          std::vector<QByteArray> chaves, valores, recibos;
          for (int m = 0; m < f.meses; ++m) {
            chaves.push_back(ChaveSócMês(n, 2000 + m / 12, m % 12 + 1).toUtf8());
            valores.push_back(Texto(qint64(valor) * 100));
            recibos.push_back(Texto(m));
          }
          bruto.Exec("BEGIN");
          bruto.Correr(sócio, {"Sócio gravado", Texto(n)});
          bruto.Correr(quotas, {Lista(chaves), Lista(valores), Lista(recibos)});
          bruto.Exec("COMMIT");
          LerTudo(bruto.Correr(mostrar, ValoresMembro(n)));
        }));
    r.back().instruções = k;
  });

  // F4 from the first member: the floor finds the next member and reads it with its dues in
  // one query per step.
  const std::string seguinte = bruto.Preparar(
      SqlMostrarPg.section(u"WHERE"_s, 0, 0)
          .replace(u"q.\"SócMês\" >= ?1 AND q.\"SócMês\" < ?2"_s,
                   u"q.\"SócMês\" >= lpad(s.\"Número\"::text, 6, '0') AND q.\"SócMês\" < "
                   u"lpad((s.\"Número\" + 1)::text, 6, '0')"_s) +
      u"WHERE s.\"Número\" = (SELECT min(\"Número\") FROM \"Sócios\" WHERE \"Número\" > ?) "
      u"ORDER BY q.\"SócMês\""_s);
  const int passos = std::min(1000, f.sócios - 1);
  {
    base.NavegarSócio(2);
    const quint64 k = Contar([&] { base.NavegarSócio(4); });
    r.push_back(Comparar(
        u"sócio seguinte × %1"_s.arg(passos), rápido ? 2 : 5,
        [&](int) {
          base.NavegarSócio(2);
          for (int p = 0; p < passos; ++p)
            base.NavegarSócio(4);
        },
        [&](int) {
          qint64 n = 0;
          for (int p = 0; p < passos; ++p) {
            const ResultadoPg x = bruto.Correr(seguinte, {Texto(n)});
            LerTudo(x);
            n = QByteArray(PQgetvalue(x.get(), 0, 0)).toLongLong();
          }
        }));
    r.back().instruções = k;
  }

  const int ano = 2000 + (f.meses - 1) / 12, mês = (f.meses - 1) % 12 + 1;
  const QByteArray período =
      (FormatarNúmero(ano, u"0000"_s) + FormatarNúmero(mês, u"00"_s)).toUtf8();
  const int de = ÍndiceMês(ano, 1), até = ÍndiceMês(ano, mês);
  const QByteArray a = FormatarNúmero(ano, u"0000"_s).toUtf8();
  const auto relatório = [&](const QString &nome, const QString &sql,
                             const std::vector<QByteArray> &valores,
                             const std::function<void()> &programa) {
    tentar(nome, [&] {
      const std::string s = bruto.Preparar(sql);
      const quint64 k = Contar(programa);
      r.push_back(Comparar(
          nome, rápido ? 3 : 9, [&](int) { programa(); },
          [&](int) { LerTudo(bruto.Correr(s, valores)); }));
      r.back().instruções = k;
    });
  };
  relatório(u"quotas em atraso de um mês"_s, SqlAtrasos, {período + "32", "0", "0", período},
            [&] { SóciosEmAtraso(Dados().bd, ano, mês, 0); });
  relatório(u"mapa de quotas de um ano"_s, SqlMapa, {a + "01", a + "12", a + "1232", "0", "0"},
            [&] { LinhasMapa(Dados().bd, ano, 0); });
  relatório(u"quotas em dívida de um ano"_s, SqlDívidas,
            {Texto(de), Texto(até), "0", "0", "0", "0"}, [&] {
              SóciosEmDívida(Dados().bd, {de, até, 0, 0}, OrdemDívidas::Número);
            });
  relatório(u"sócios com quotas em dia num ano"_s, SqlEmDia,
            {Texto(de), Texto(até), período + "31"},
            [&] { SóciosEmDia(Dados().bd, QDate(ano, mês, 31), de); });

  const std::string todos = bruto.Preparar(
      u"SELECT \"Número\", \"Nome\", \"Inscrição\", \"Rua\", \"Localidade\", \"CPostal\", "
      u"\"Situação\", \"TipoQuota\" FROM \"Sócios\" ORDER BY \"Número\""_s);
  const std::string referências =
      bruto.Preparar(u"SELECT \"Código\", \"Designação\" FROM \"Tabelas\""_s);
  for (const auto &[ordem, nome] :
       {std::pair{OrdemListagem::Numérica, u"listagem de todos: numérica"_s},
        std::pair{OrdemListagem::Alfabética, u"listagem de todos: alfabética"_s}}) {
    EscolhaListagem e;
    e.ordem = ordem;
    const quint64 k = Contar([&] { LinhasListagem(Dados().bd, e); });
    r.push_back(Comparar(
        nome, rápido ? 3 : 9, [&](int) { LinhasListagem(Dados().bd, e); },
        [&, ordem = ordem](int) {
          QHash<qint64, QString> nomes;
          const ResultadoPg ref = bruto.Correr(referências, {});
          for (int l = 0; l < PQntuples(ref.get()); ++l)
            nomes.insert(
                QByteArray(PQgetvalue(ref.get(), l, 0)).toLongLong(),
                QString::fromUtf8(PQgetvalue(ref.get(), l, 1), PQgetlength(ref.get(), l, 1)));
          const ResultadoPg x = bruto.Correr(todos, {});
          std::vector<std::pair<qint64, QStringList>> linhas;
          for (int l = 0; l < PQntuples(x.get()); ++l) {
            QStringList textos;
            for (int c = 1; c < 5; ++c)
              textos << QString::fromUtf8(PQgetvalue(x.get(), l, c), PQgetlength(x.get(), l, c));
            for (int c = 5; c < 8; ++c)
              textos << nomes.value(QByteArray(PQgetvalue(x.get(), l, c)).toLongLong());
            linhas.emplace_back(QByteArray(PQgetvalue(x.get(), l, 0)).toLongLong(),
                                std::move(textos));
          }
          if (ordem == OrdemListagem::Alfabética)
            OrdenarPorNome(linhas, [](const auto &l) { return l.second.front(); });
        }));
    r.back().instruções = k;
  }
  {
    // The prints draw rows read beforehand: only those reads touch the server.
    const std::vector<SócioListado> listados = LinhasListagem(Dados().bd, EscolhaListagem{});
    const int n = rápido ? 1 : 3;
    r.push_back(CompararImpressão(u"imprimir a listagem normal"_s, n, pasta, [&](Impressão &p) {
      ImprimirSócios(p, TipoImpressão::Normal, listados, u"Sociedade"_s);
    }));
    r.push_back(CompararImpressão(u"imprimir as etiquetas pequenas"_s, n, pasta, [&](Impressão &p) {
      ImprimirSócios(p, TipoImpressão::EndereçosPequenos, listados, u"Sociedade"_s);
    }));
    PedidoTalões pedido;
    pedido.ano = QString::number(ano);
    pedido.periodicidade = 1;
    ResultadoTalões plano;
    const quint64 k = Contar([&] { plano = PlanearTalões(Dados().bd, Listas(), pedido); });
    r.push_back(CompararImpressão(u"imprimir os talões de um ano"_s, n, pasta,
                                  [&](Impressão &p) { ImprimirTalões(p, plano.plano); }));
    r.back().instruções = k;
  }
  {
    // The floor inserts the same rows with one statement, its columns as arrays.
    constexpr int novos = 5000;
    const int vezes = rápido ? 2 : 5;
    std::vector<QByteArray> nomes;
    for (int j = 0; j < novos; ++j)
      nomes.push_back(Nome(g, j).toUtf8());
    std::vector<QByteArray> ficheiros;
    for (int k = 0; k <= vezes + 1; ++k) {
      QByteArray csv = "N\xC3\xBAmero;Nome;Morada;Localidade;C\xC3\xB3"
                       "digo Postal;Situa\xC3\xA7\xC3\xA3o;Tipo de Quota;Data de "
                       "Inscri\xC3\xA7\xC3\xA3o;Valor da Quota;NIF;Observa\xC3\xA7\xC3\xB5"
                       "es\r\n";
      for (int j = 0; j < novos; ++j)
        csv += QByteArray::number(100001 + k * novos + j) + ';' + nomes[size_t(j)] +
               ";Rua do S\xC3\xB3"
               "cio " +
               QByteArray::number(j) + ";Terra;;;;15-09-1996;12,50;123456789;\r\n";
      ficheiros.push_back(std::move(csv));
    }
    const std::string inserir = bruto.Preparar(
        u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"CPostal\", \"Situação\", "
        u"\"TipoQuota\", \"Inscrição\", \"ValQuotaEuro\", \"Rua\", \"Localidade\", "
        u"\"Observações\", \"NIF\") SELECT n, nome, 0, 0, 0, '19960915', 125000, rua, 'Terra ', "
        u"' ', '123456789' FROM unnest(?::integer[], ?::text[], ?::text[]) AS v(n, nome, rua)"_s);
    int importação = 0, chão = 0;
    const auto importar = [&] {
      const auto x = ImportarFicheiroSócios(Dados().bd, *Dados().sócios, *Dados().tabelas,
                                            ficheiros[size_t(importação++)], Listas(), true);
      if (x.gravados != novos)
        throw std::runtime_error("importação recusada: " +
                                 (x.verificação.recusas.empty()
                                      ? std::string("sem recusas")
                                      : x.verificação.recusas.front().motivo.toStdString()));
    };
    tentar(u"importar %1 sócios de um CSV"_s.arg(novos), [&] {
      const quint64 k = Contar(importar);
      r.push_back(Comparar(
          u"importar %1 sócios de um CSV"_s.arg(novos), vezes, [&](int) { importar(); },
          [&](int) {
            const int primeiro = 400001 + novos * chão++;
            std::vector<QByteArray> números, ruas;
            for (int j = 0; j < novos; ++j) {
              números.push_back(Texto(primeiro + j));
              ruas.push_back("Rua do S\xC3\xB3"
                             "cio " +
                             QByteArray::number(j) + ' ');
            }
            bruto.Correr(inserir, {Lista(números), Lista(nomes), Lista(ruas)});
          }));
      r.back().instruções = k;
    });
  }
  janela.reset();
  FecharDados();
  return r;
}

#endif

void Imprimir(const QString &título, const std::vector<Resultado> &r) {
  const bool contadas =
      std::any_of(r.begin(), r.end(), [](const Resultado &x) { return x.instruções; });
  std::printf("\n%s\n", qPrintable(título));
  std::printf("%-38s %11s %9s %7s%s\n", "operation", "program_ms", "floor_ms", "ratio",
              contadas ? "  statements" : "");
  for (const Resultado &x : r) {
    if (!x.falha.isEmpty()) {
      std::printf("%-38s falhou: %s\n", qPrintable(x.operação), qPrintable(x.falha));
      continue;
    }
    std::printf("%-38s %11.3f %9.3f %7.2f", qPrintable(x.operação), x.programa, x.chão,
                x.programa / x.chão);
    if (x.instruções)
      std::printf(" %11llu", static_cast<unsigned long long>(*x.instruções));
    std::printf("\n");
  }
}

} // namespace

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  const bool enorme = args.contains(u"--enorme"_s);
  const bool rápido = args.contains(u"--rapido"_s);
  const bool servidor = args.contains(u"--servidor"_s);
  if (const qsizetype k = args.indexOf(u"--so"_s); k > 0 && k + 1 < args.size())
    Só = args[k + 1];
#ifndef AGREMIA_BENCH_PG
  if (servidor) {
    std::fprintf(stderr, "--servidor: compilado sem libpq (instale libpq-dev)\n");
    return 1;
  }
#endif
  InstalarRespondedor([](const PedidoMensagem &p) {
    std::fprintf(stderr, "mensagem inesperada: %s\n", qPrintable(p.texto));
    return Resposta::OK;
  });

  QTemporaryDir pasta;
  QElapsedTimer t;
  t.start();
  const Ficheiro vazio = Construir(pasta.path(), u"Vazio.Dad"_s, 0, 0);
  const Ficheiro grande = Construir(pasta.path(), u"Grande.Dad"_s, 5000, 240);
  std::printf("ficheiro grande: 5000 sócios × 240 meses, construído em %.1f s\n",
              double(t.elapsed()) / 1000);

#ifdef AGREMIA_BENCH_PG
  // The server gets a copy of the large file as built, before the file's own runs change it.
  // Databases of their own, in the C locale as the tests make theirs, dropped at the end.
  const QString sufixo = QString::number(getpid());
  const QString nomeGrande = u"agremia_bench_grande_"_s + sufixo;
  const QString nomeVazia = u"agremia_bench_vazia_"_s + sufixo;
  const auto apagarBases = [&] {
    for (const QString &n : {nomeGrande, nomeVazia})
      try {
        AdministrarPg(u"DROP DATABASE IF EXISTS "_s + n + u" WITH (FORCE)"_s);
      } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
      }
  };
  if (servidor) {
    try {
      for (const QString &n : {nomeGrande, nomeVazia})
        AdministrarPg(u"CREATE DATABASE "_s + n +
                      u" TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C' LC_CTYPE 'C'"_s);
      t.restart();
      CopiarParaServidor(grande.caminho, u"dbname="_s + nomeGrande);
      BaseDados::CriarNoServidor(u"dbname="_s + nomeVazia);
      std::printf("ficheiro grande copiado para o servidor em %.1f s\n",
                  double(t.elapsed()) / 1000);
    } catch (const std::exception &e) {
      std::fprintf(stderr, "servidor: %s\n", e.what());
      apagarBases();
      return 1;
    }
  }
#endif

  const auto rGrande = MedirFicheiro(grande, vazio, rápido);
  Imprimir(u"grande (5000 × 240)"_s, rGrande);

#ifdef AGREMIA_BENCH_PG
  if (servidor) {
    int estado = 0;
    try {
      Imprimir(u"servidor PostgreSQL local (5000 × 240)"_s,
               MedirServidor(u"dbname="_s + nomeGrande, u"dbname="_s + nomeVazia, grande,
                             pasta.path(), rápido));
    } catch (const std::exception &e) {
      std::fprintf(stderr, "servidor: %s\n", e.what());
      estado = 1;
    }
    apagarBases();
    if (estado)
      return estado;
  }
#endif

  if (enorme) {
    t.restart();
    const Ficheiro f = Construir(pasta.path(), u"Enorme.Dad"_s, 50000, 120);
    std::printf("\nficheiro enorme: 50000 sócios × 120 meses, construído em %.1f s\n",
                double(t.elapsed()) / 1000);
    const auto rEnorme = MedirFicheiro(f, vazio, rápido);
    Imprimir(u"enorme (50000 × 120)"_s, rEnorme);
    std::printf("\n%-38s %11s\n", "operation", "huge/large");
    for (size_t i = 0; i < rEnorme.size(); ++i)
      std::printf("%-38s %11.2f\n", qPrintable(rEnorme[i].operação),
                  rEnorme[i].programa / rGrande[i].programa);
  }
  return 0;
}
