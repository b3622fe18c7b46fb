#include "FicheiroTeste.h"
#include "Impressao.h"
#include "ImprimirFicha.h"
#include "ListaQuotas.h"
#include "MembrosFicha.h"

#include <QtTest>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

// The member card through the recorder, with positions checked against the layout rules.
class TestFicha : public QObject {
  Q_OBJECT

  std::unique_ptr<FicheiroTeste> ficheiro;
  const QDateTime agora{QDate(2026, 12, 6), QTime(9, 5)};

  static DadosFicha Ficha(int quotas, const QString &observações = {}) {
    DadosFicha f{u"000012"_s, u"José Silva"_s, u"15-09-1996"_s, u"Rua Direita, 25"_s, u"Porto"_s,
                 u"4000-001 Porto"_s, u"Efectivo"_s, u"Normal"_s, u"1234,5"_s, observações, {}};
    f.quotas = MesesSeguidos(2003, quotas, 1250, 401).Entradas();
    return f;
  }

private slots:
  void init() { ficheiro = std::make_unique<FicheiroTeste>(); }
  void cleanup() { ficheiro.reset(); }

  // Two dues per line: five dues take three lines, May alone on the left. The remarks are
  // broken at nine tenths of the width; empty remarks print one empty line.
  void dadosQuotasEObservacoes() {
    const QString texto =
        u"Sócio fundador da colectividade, sempre presente nas assembleias gerais e "
        u"nas festas de Verão; paga as quotas por trimestre e prefere recibo em papel."_s;
    GravadorImpressão p, vazia;
    ImprimirFicha(p, Ficha(5, texto), agora);
    const auto *maio = p.Procurar(u"Maio"_s);
    QCOMPARE(p.Procurar(u"Janeiro"_s)->y, p.Procurar(u"Fevereiro"_s)->y);
    QVERIFY(maio->y > p.Procurar(u"Março"_s)->y && maio->x < p.Procurar(u"Abril"_s)->x);
    const double limite = 9 * std::floor(p.LarguraPágina() / 10);
    const int início = int(p.Textos().indexOf(u"Observações:"_s)) + 1;
    QString junto;
    for (int i = início; i < p.textos.size(); ++i) {
      const auto &t = p.textos[i];
      QVERIFY(MedirTexto(t.fonte, t.texto) <= limite);
      QVERIFY(t.texto.endsWith(u' ')); // each word keeps the blank that follows it
      junto += t.texto;
    }
    QCOMPARE(junto, texto + u' '); // the text is wider than a line: it was broken
    ImprimirFicha(vazia, Ficha(1), agora);
    QCOMPARE(vazia.Textos().last(), u" "_s);

    // A word wider than the line is cut at the width and nothing of it is lost.
    QCOMPARE(QuebrarTexto(u"ab "_s + QString(25, u'x') + u" cd"_s, 1000,
                          [](const QString &t) { return double(t.size()) * 100; }),
             (QStringList{u"ab "_s, QString(10, u'x'), QString(10, u'x'), u"xxxxx cd "_s}));
  }

  // A card longer than a page: every line of dues printed whole on one page, inside it, none
  // lost or repeated; the remarks after the last of them.
  void fichaEmVariasPaginas() {
    GravadorImpressão gravador;
    ImprimirFicha(gravador, Ficha(200, u"Sem observações especiais."_s), agora);
    QVERIFY(gravador.páginas > 1);
    const qsizetype fim = gravador.Textos().indexOf(u"Observações:"_s);
    QMap<std::pair<int, double>, QStringList> linhas;
    for (qsizetype i = 0; i < fim; ++i) {
      const auto &t = gravador.textos[i];
      QVERIFY(t.y + AlturaDaLinha(t.fonte) <= gravador.AlturaPágina());
      if (t.fonte.tamanho == 10)
        linhas[{t.página, t.y}] << t.texto;
    }
    QCOMPARE(linhas.size(), 100);
    QSet<QString> recibos;
    for (const QStringList &l : std::as_const(linhas)) {
      QCOMPARE(l.size(), 8); // two dues rows of four cells
      recibos << l[3] << l[7];
    }
    QCOMPARE(recibos.size(), 200);
    QCOMPARE(gravador.Procurar(u"Observações:"_s)->página, gravador.páginas);
  }
};

QTEST_MAIN(TestFicha)
#include "TestFicha.moc"
