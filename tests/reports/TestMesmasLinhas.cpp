#include "Atrasos.h"
#include "Dados.h"
#include "DadosPessoais.h"
#include "Dividas.h"
#include "CopiaDados.h"
#include "FichaSocio.h"
#include "FicheiroTeste.h"
#include "ImprimirDeclaracao.h"
#include "ImprimirTaloes.h"
#include "ListagemSocios.h"
#include "MapaAnual.h"
#include "Procura.h"
#include "Referencias.h"
#include "ResumoAno.h"
#include "ResumoAnual.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace Qt::StringLiterals;

// A file full of the cases that sorting, matching and summing trip on, copied to a server:
// every report, list, search and member read gives the same rows on both, compared whole.
class TestMesmasLinhas : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> servidor;
  std::unique_ptr<BaseDados> ficheiro;
  qint64 tipos[2] = {}, situações[3] = {}, códigos[3] = {};

  // Names that differ only by accent, case, blanks or a leading digit, twice over some.
  static QString Nome(int k) {
    static const QStringList nomes = {
        u"Álvaro Sousa"_s, u"alvaro Reis"_s, u"Alvaro Sousa"_s, u"Ana Maria"_s,  u"ana maria"_s,
        u"Ângela Fonseca"_s, u"Bruno Costa"_s, u"Zé Manuel"_s,   u"Óscar Dias"_s, u"Ça Va Bem"_s,
        u"1º Sargento Lopes"_s, u"Élia  Martins"_s, u"Maria do Céu"_s, u"Maria Do Ceu"_s,
        u"Zeferino Ávila"_s, u"Nuno Gonçalves"_s, u"Núria Vaz"_s, u"Rui"_s,
        u"Xavier Castelo Branco de Albuquerque e Sousa"_s, u"D'Artagnan Reis"_s};
    const QString nome = nomes[k % nomes.size()];
    return k < nomes.size() ? nome : (QString::number(k) + u' ' + nome).left(45);
  }

  void Encher(BaseDados &bd) {
    const auto tabela = [&bd](const QString &tipo, const QString &designação) {
      return bd.Correr(u"INSERT INTO \"Tabelas\" (\"Tipo\", \"Designação\") VALUES (?, ?)"_s,
                       {tipo, designação}, u"teste"_s)
          .ÚltimoId();
    };
    for (int k = 0; k < 3; ++k)
      códigos[k] = tabela(u"C"_s, QStringList{u"1100-148 Lisboa"_s, u"4000-001 Porto"_s,
                                              u"8000-100 Faro"_s}[k]);
    for (int k = 0; k < 3; ++k)
      situações[k] = tabela(u"S"_s, QStringList{u"Activo"_s, u"Suspenso"_s, u"Honorário"_s}[k]);
    tipos[0] = tabela(u"T"_s, u"Mensal"_s);
    tipos[1] = tabela(u"T"_s, u"Anual"_s);
    for (const auto &[tipo, designação] :
         {std::pair{u"1"_s, u" Grupo Recreativo da Ribeira "_s}, {u"2"_s, u"Rua do Cais, 12"_s},
          {u"3"_s, u"Ribeira"_s}, {u"4"_s, QString::number(códigos[1])},
          {u"5"_s, u"212 345 678"_s}, {u"7"_s, u"501234567"_s}, {u"q"_s, u"350"_s}})
      tabela(tipo, designação);

    QRandomGenerator g(20261208);
    int número = 0;
    qint64 recibo = 0;
    for (int k = 0; k < 70; ++k) {
      número += 1 + int(g.bounded(3)); // gaps in the numbering
      const bool semData = g.bounded(9) == 0;
      const QString inscrição =
          QDate(2018 + int(g.bounded(9)), 1 + int(g.bounded(12)), 1 + int(g.bounded(28)))
              .toString(u"yyyyMMdd"_s);
      const QVariant nulo;
      bd.Correr(u"INSERT INTO \"Sócios\" (\"Número\", \"Nome\", \"CPostal\", \"Situação\", "
                u"\"TipoQuota\", \"Inscrição\", \"ValQuotaEuro\", \"Rua\", \"Localidade\", "
                u"\"Observações\", \"NIF\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                {número, Nome(k), k % 7 == 6 ? qint64(0) : códigos[g.bounded(3)],
                 situações[g.bounded(3)], tipos[g.bounded(2)],
                 semData ? nulo : QVariant(inscrição), qint64(50000 + 2500 * g.bounded(9)),
                 u"Rua das Flores, "_s + QString::number(k) + u' ',
                 k % 5 == 0 ? nulo : QVariant(u"Localidade com um nome bem comprido, 40c"_s),
                 u"obs "_s, k % 4 == 0 ? nulo : QVariant(QString::number(100000000 + k * 7))},
                u"teste"_s);
      for (int ano = 2024; ano <= 2026; ++ano)
        for (int mês = 1; mês <= 12; ++mês)
          if (g.bounded(10) < 6)
            bd.Correr(u"INSERT INTO \"Quotizações\" (\"SócMês\", \"QuotaEuro\", \"Recibo\") "
                      u"VALUES (?, ?, ?)"_s,
                      {QString::number(número).rightJustified(6, u'0') + QString::number(ano) +
                           QString::number(mês).rightJustified(2, u'0'),
                       qint64(25000 * (1 + g.bounded(4))), g.bounded(5) == 0 ? 0 : ++recibo},
                      u"teste"_s);
    }
  }

  // The same reading on both, compared whole: a difference names the reading, then its row.
  template <class Ler> void Comparar(const char *o_quê, Ler ler) {
    const QStringList noServidor = ler(Dados().bd);
    const QStringList noFicheiro = ler(*ficheiro);
    QVERIFY2(!noFicheiro.isEmpty(), o_quê);
    if (noServidor != noFicheiro)
      qWarning("%s", o_quê);
    QCOMPARE(noServidor, noFicheiro);
  }

  static QString Q(const Moeda &m) { return QString::number(m.DécimosMilésimos()); }

private slots:
  void initTestCase() {
    servidor = std::make_unique<FicheiroTeste>();
    const QString caminho = servidor->Caminho(u"Origem.Dad"_s);
    BaseDados::Criar(caminho);
    ficheiro = std::make_unique<BaseDados>();
    ficheiro->DefinirReserva(false);
    ficheiro->Abrir(caminho);
    {
      BaseDados::Transacção t(*ficheiro);
      Encher(*ficheiro);
      t.Confirmar();
    }
    const ContagemDados c = CopiarDados(*ficheiro, Dados().bd);
    QCOMPARE(c.sócios, qint64(70));
    QVERIFY(c.quotizações > 70 * 36 / 2);
    FicheiroTeste::Reabrir();
  }
  void cleanupTestCase() {
    ficheiro.reset();
    servidor.reset();
  }

  void relatorios() {
    for (const int ano : {2024, 2026})
      for (const int mês : {1, 7, 12})
        for (const qint64 tipo : {qint64(0), tipos[1]})
          Comparar("quotas em atraso", [&](BaseDados &bd) {
            QStringList l;
            for (const SócioEmAtraso &s : SóciosEmAtraso(bd, ano, mês, tipo))
              l << QString::number(s.número) + u'|' + s.texto;
            return l;
          });
    for (const int ano : {2023, 2025})
      for (const qint64 tipo : {qint64(0), tipos[0]}) {
        Comparar("mapa do ano", [&](BaseDados &bd) {
          QStringList l;
          for (const LinhaMapa &s : LinhasMapa(bd, ano, tipo))
            l << QString::number(s.número) + u'|' + s.nome + u'|' + s.marcas;
          return l;
        });
        Comparar("resumo do ano", [&](BaseDados &bd) {
          return ResumoAno::LinhasGrelha(ResumirAno(bd, ano, tipo));
        });
      }
    for (const OrdemDívidas ordem : {OrdemDívidas::Número, OrdemDívidas::Nome, OrdemDívidas::Valor})
      for (const FiltroDívidas &filtro :
           {FiltroDívidas{ÍndiceMês(2024, 1), ÍndiceMês(2026, 12), 0, 0},
            FiltroDívidas{ÍndiceMês(2025, 3), ÍndiceMês(2025, 9), tipos[0], situações[1]}})
        Comparar("quotas em dívida", [&](BaseDados &bd) {
          QStringList l;
          for (const SócioEmDívida &s : SóciosEmDívida(bd, filtro, ordem)) {
            QStringList meses;
            for (const int m : s.meses)
              meses << QString::number(m);
            l << QStringList{QString::number(s.número), s.nome, meses.join(u','), Q(s.quota),
                             Q(s.valor), s.rua, s.localidade, s.códigoPostal}
                     .join(u'|');
          }
          return l;
        });
    for (const int desde : {ÍndiceMês(2024, 1), ÍndiceMês(2026, 6)})
      Comparar("sócios com quotas em dia", [&](BaseDados &bd) {
        QStringList l;
        for (const SócioEmDia &s : SóciosEmDia(bd, QDate(2026, 12, 31), desde))
          l << QString::number(s.número) + u'|' + s.nome;
        return l;
      });
    Comparar("declarações", [&](BaseDados &bd) {
      QStringList l;
      for (qint64 n = 0; n <= 150; ++n)
        if (const auto d = SomarQuotizações(bd, n, 2025))
          l << QString::number(n) + u'|' + d->nome + u'|' + Q(d->total);
      return l;
    });
    for (const OrdemTalões ordem : {OrdemTalões::Número, OrdemTalões::Nome, OrdemTalões::CódigoPostal})
      Comparar("talões", [&](BaseDados &bd) {
        PedidoTalões pedido{.sócioX = u"5"_s, .sócioY = u"120"_s, .ano = u"2026"_s,
                            .mesX = u"10"_s, .periodicidade = 12, .situação = situações[0],
                            .ordem = ordem, .nInicial = {}};
        const ResultadoTalões r = PlanearTalões(bd, LerListasReferência(bd), pedido);
        QStringList l{QString::number(r.plano.sócios), QString::number(r.plano.últimoRecibo)};
        for (const Talão &t : r.plano.talões)
          l << QString::number(t.recibo) + u'|' + QString::number(t.sócio) + u'|' +
                   QStringList(t.linhas.begin(), t.linhas.end()).join(u'|');
        return l;
      });
  }

  void listagensEProcuras() {
    for (int o = int(OrdemListagem::Numérica); o <= int(OrdemListagem::TipoQuota); ++o)
      for (const bool subOrdem : {false, true})
        for (const bool inversa : {false, true}) {
          EscolhaListagem e;
          e.ordem = OrdemListagem(o);
          e.subOrdemAlfabética = subOrdem;
          e.ascDesc = inversa;
          if (e.ordem == OrdemListagem::Alfabética && subOrdem)
            e.nomeDe = u"alv"_s, e.nomeAté = u"MARIA DO CEU"_s;
          if (e.ordem == OrdemListagem::CódigoPostal && inversa)
            e.cPostal = códigos[2];
          Comparar("listagem", [&](BaseDados &bd) {
            QStringList l;
            for (const SócioListado &s : LinhasListagem(bd, e))
              l << QStringList{QString::number(s.número), s.nome, s.inscrição, s.rua,
                               s.localidade, s.códigoPostal, s.situação, s.tipoQuota}
                       .join(u'|');
            return l;
          });
        }
    for (const QString &padrão :
         {u"*"_s, u"alvaro*"_s, u"*SOUSA"_s, u"maria do ceu"_s, u"*a*e*"_s, u"ze manuel"_s})
      Comparar("procura por nome", [&](BaseDados &bd) {
        QStringList l;
        l << QString::number(ProcurarPorNome(bd, padrão, [&l](qint32 n, const QString &nome) {
          l << QString::number(n) + u'|' + nome;
          return RespostaProposta::Não;
        }));
        return l;
      });
    Comparar("procura por número", [&](BaseDados &bd) {
      QStringList l;
      for (qint64 n = -1; n <= 150; ++n)
        l << QString::number(ProcurarPorNúmero(bd, n));
      return l;
    });
  }

  void sociosEQuotas() {
    Comparar("sócios", [&](BaseDados &bd) {
      ConjuntoRegistos sócios(bd, TodosOsSócios());
      QStringList l;
      for (qint64 n = 0; n <= 150; ++n)
        if (const auto s = LerSócio(bd, sócios, n)) {
          QStringList quotas;
          for (const QuotaPaga &q : s->quotas)
            quotas << u"%1-%2:%3:%4"_s.arg(q.ano).arg(q.mês).arg(Q(q.valor)).arg(q.recibo);
          l << QStringList{QString::number(s->número), s->nome, QString::number(s->cPostal),
                           QString::number(s->situação), QString::number(s->tipoQuota),
                           s->inscrição, Q(s->valQuota), s->rua, s->localidade,
                           s->observações, s->nif, quotas.join(u' ')}
                   .join(u'|');
        }
      return l;
    });
    Comparar("dados pessoais", [&](BaseDados &bd) {
      const ListasReferência listas = LerListasReferência(bd);
      QStringList l;
      for (qint64 n = 0; n <= 150; ++n)
        if (const auto d = LerDadosPessoais(bd, listas, n)) {
          for (const auto &[campo, valor] : d->campos)
            l << campo + u'=' + valor;
          for (const QuotaRegistada &q : d->quotas)
            l << q.chave + u'|' + Q(q.quota) + u'|' + QString::number(q.recibo);
          l << Q(d->total);
        }
      return l;
    });
  }
};

QTEST_MAIN(TestMesmasLinhas)
#include "TestMesmasLinhas.moc"
