#include "Janela.h"
#include "JanelaAjuda.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

namespace {

// The page's text as stored, read as UTF-8; empty when it is missing or not valid UTF-8.
QString Fonte(const QString &página) {
  QFile f(u":/ajuda/"_s + página + u".html"_s);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString texto = utf8(f.readAll());
  return utf8.hasError() ? QString() : texto;
}
QTextBrowser *Texto() { return JanelaAjudaAberta()->findChild<QTextBrowser *>(u"Texto"_s); }
QString PáginaMostrada() { return Texto() ? Texto()->source().fileName() : QString(); }

} // namespace

class TestAjuda : public QObject {
  Q_OBJECT

private slots:
  void cleanup() { delete JanelaAjudaAberta(); }

  // Every resource page is listed once, index first, is UTF-8 and shows its accents right;
  // every link reaches a listed page and anchor, and the index links to every page.
  void paginasELigacoes() {
    // UTF-8 read as Latin-1 turns "ç" into "Ã§": an "Ã" followed by a character of that range.
    static const QRegularExpression trocado(u"\uFFFD|Ã[\u0080-\u00BF]"_s);
    static const QRegularExpression ligação(u"href\\s*=\\s*\"([^\"]*)\""_s,
                                            QRegularExpression::CaseInsensitiveOption);
    const QStringList páginas = PáginasAjuda();
    QCOMPARE(páginas.value(0), u"indice"_s);
    QSet<QString> noRecurso;
    for (const QString &f : QDir(u":/ajuda"_s).entryList({u"*.html"_s}, QDir::Files))
      noRecurso.insert(f.chopped(5));
    QCOMPARE(noRecurso, QSet<QString>(páginas.begin(), páginas.end()));
    QStringList falhas;
    QSet<QString> doÍndice;
    for (const QString &p : páginas) {
      const QString html = Fonte(p);
      MostrarAjuda(nullptr, p); // the browser must decode the accents itself
      const QString texto = Texto()->toPlainText();
      QVERIFY2(!html.isEmpty() && texto.size() > 800 && !texto.contains(trocado), qPrintable(p));
      for (const auto &m : ligação.globalMatch(html)) {
        const QString href = m.captured(1);
        const QString ficheiro = href.section(u'#', 0, 0), âncora = href.section(u'#', 1);
        const QString destino = ficheiro.isEmpty()              ? p
                                : ficheiro.endsWith(u".html"_s) ? ficheiro.chopped(5)
                                                                : QString();
        if (!páginas.contains(destino) ||
            (!âncora.isEmpty() && !Fonte(destino).contains(u"name=\""_s + âncora + u'"')))
          falhas << p + u": "_s + href;
        if (p == u"indice"_s)
          doÍndice.insert(destino);
      }
    }
    for (const QString &p : páginas)
      if (p != u"indice"_s && !doÍndice.contains(p))
        falhas << u"indice: no link to "_s + p;
    QVERIFY2(falhas.isEmpty(), qPrintable(falhas.join(u", "_s)));
  }

  // Unknown or escaping names show the index; help from a modal window outlives that window.
  void nomePedidoEJanelaModal() {
    QWidget principal;
    principal.show();
    MostrarAjuda(&principal, u"base"_s);
    const QPointer<QWidget> ajuda = JanelaAjudaAberta();
    MostrarAjuda(&principal, u"dados-pessoais#observacoes"_s);
    QCOMPARE(Texto()->source().fragment(), u"observacoes"_s);
    MostrarAjuda(&principal, u"../ajuda/base"_s);
    QCOMPARE(JanelaAjudaAberta(), ajuda.data()); // one window, reused
    QCOMPARE(PáginaMostrada(), u"indice.html"_s);
    auto *diálogo = new QDialog(&principal);
    diálogo->setWindowModality(Qt::ApplicationModal);
    diálogo->show();
    MostrarAjuda(diálogo, u"tabelas"_s); // under the modal window it would be blocked
    delete diálogo;
    QVERIFY2(ajuda && ajuda->isVisible(), "the help window went away with the modal window");
  }

  // History by link, buttons and keys, one step per key; Escape hides and keeps the history.
  void historico() {
    MostrarAjuda(nullptr, u"indice"_s);
    QVERIFY(QTest::qWaitForWindowActive(JanelaAjudaAberta()));
    QTextBrowser *b = Texto();
    QTest::keyClick(b, Qt::Key_Tab); // the index's first link, followed by Enter
    QTest::keyClick(b, Qt::Key_Return);
    QCOMPARE(PáginaMostrada(), u"como-usar.html"_s);
    MostrarAjuda(nullptr, u"base"_s);
    QTest::keyClick(b, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(PáginaMostrada(), u"como-usar.html"_s);
    QTest::mouseClick(Controlo<QAbstractButton>(JanelaAjudaAberta(), u"Indice"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"indice.html"_s);
    QTest::keyClick(b, Qt::Key_Escape);
    QVERIFY(!JanelaAjudaAberta()->isVisible());
    MostrarAjuda(nullptr, u"menu"_s);
    QTest::mouseClick(Controlo<QAbstractButton>(JanelaAjudaAberta(), u"Anterior"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"indice.html"_s);
  }
};

QTEST_MAIN(TestAjuda)
#include "TestAjuda.moc"
