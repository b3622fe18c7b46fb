#include "JanelaAjuda.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

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

QStringList Ligações(const QString &html) {
  static const QRegularExpression href(u"href\\s*=\\s*\"([^\"]*)\""_s,
                                       QRegularExpression::CaseInsensitiveOption);
  QStringList l;
  for (const auto &m : href.globalMatch(html))
    l.append(m.captured(1));
  return l;
}

QTextBrowser *Texto() {
  return JanelaAjudaAberta()->findChild<QTextBrowser *>(u"Texto"_s);
}
QAbstractButton *Botão(const QString &nome) {
  return JanelaAjudaAberta()->findChild<QAbstractButton *>(nome);
}
QString PáginaMostrada() {
  return Texto() ? Texto()->source().fileName() : QString();
}

// Where the first link to `href` stands on screen, in the browser's viewport; (-1, -1) if the
// page has no such link.
QPoint PontoDaLigação(QTextBrowser *b, const QString &href) {
  QTextDocument *doc = b->document();
  for (QTextBlock bloco = doc->begin(); bloco.isValid(); bloco = bloco.next())
    for (auto it = bloco.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.charFormat().isAnchor() && f.charFormat().anchorHref() == href) {
        QTextCursor c(doc);
        c.setPosition(f.position() + f.length() / 2);
        return b->cursorRect(c).center();
      }
    }
  return {-1, -1};
}

} // namespace

class TestAjuda : public QObject {
  Q_OBJECT

private slots:
  void cleanup() { delete JanelaAjudaAberta(); }

  void cadaPaginaCarregaComTexto() {
    static const QRegularExpression título(u"<title>([^<]*)</title>"_s);
    // UTF-8 read as Latin-1 turns "ç" into "Ã§": an "Ã" followed by a character of that range.
    static const QRegularExpression trocado(u"\uFFFD|Ã[\u0080-\u00BF]"_s);
    for (const QString &página : PáginasAjuda()) {
      const QString html = Fonte(página);
      QVERIFY2(!html.isEmpty(), qPrintable(página + u": missing or not UTF-8"_s));
      // Shown the way the user sees it: the browser must decode the accents itself.
      MostrarAjuda(nullptr, página);
      QCOMPARE(PáginaMostrada(), página + u".html"_s);
      QCOMPARE(Texto()->documentTitle(), título.match(html).captured(1).trimmed());
      const QString texto = Texto()->toPlainText();
      QVERIFY2(texto.size() > 800, qPrintable(página));
      QVERIFY2(!texto.contains(trocado), qPrintable(página + u": accents decoded wrongly"_s));
    }
  }

  // Every page of the resource is listed once, the index first, and every link reaches a
  // listed page and anchor: a page missing from either side would be unreachable.
  void ligacoesInternasResolvem() {
    const QStringList páginas = PáginasAjuda();
    QCOMPARE(páginas.value(0), u"indice"_s);
    QCOMPARE(NomeFicheiroAjuda(), u"quotas.HLP"_s);
    QSet<QString> noRecurso;
    for (const QString &f : QDir(u":/ajuda"_s).entryList({u"*.html"_s}, QDir::Files))
      noRecurso.insert(f.chopped(5));
    QCOMPARE(QSet<QString>(páginas.begin(), páginas.end()).size(), páginas.size());
    QCOMPARE(noRecurso, QSet<QString>(páginas.begin(), páginas.end()));
    QStringList falhas;
    QSet<QString> doÍndice;
    for (const QString &p : páginas) {
      for (const QString &href : Ligações(Fonte(p))) {
        const QString ficheiro = href.section(u'#', 0, 0), âncora = href.section(u'#', 1);
        const QString destino = ficheiro.isEmpty()              ? p
                                : ficheiro.endsWith(u".html"_s) ? ficheiro.chopped(5)
                                                                : QString();
        if (!páginas.contains(destino))
          falhas << p + u": "_s + href;
        else if (!âncora.isEmpty() && !Fonte(destino).contains(u"name=\""_s + âncora + u'"'))
          falhas << p + u": "_s + href + u" (no such anchor)"_s;
        if (p == u"indice"_s)
          doÍndice.insert(destino);
      }
    }
    for (const QString &p : páginas)
      if (p != u"indice"_s && !doÍndice.contains(p))
        falhas << u"indice: no link to "_s + p;
    QVERIFY2(falhas.isEmpty(), qPrintable(falhas.join(u", "_s)));
  }

  // An unknown name, or one reaching outside the folder, shows the index; an anchor its place.
  // Help asked for from a modal window must be usable there, and must not vanish with it.
  void nomePedidoEJanelaModal() {
    const std::tuple<QString, QString, QString> casos[] = {
        {u"dados-pessoais#observacoes"_s, u"dados-pessoais.html"_s, u"observacoes"_s},
        {u"nao-existe"_s, u"indice.html"_s, QString()},
        {u"../ajuda/base"_s, u"indice.html"_s, QString()},
        {u"xpto#observacoes"_s, u"indice.html"_s, QString()}};
    QWidget principal;
    principal.show();
    MostrarAjuda(&principal, u"base"_s);
    const QPointer<QWidget> ajuda = JanelaAjudaAberta();
    for (const auto &[nome, página, âncora] : casos) {
      MostrarAjuda(&principal, u"tabelas"_s);
      MostrarAjuda(&principal, nome);
      QCOMPARE(JanelaAjudaAberta(), ajuda.data()); // one window, reused
      QVERIFY(ajuda->isVisible() && !ajuda->isModal());
      QCOMPARE(PáginaMostrada(), página);
      QCOMPARE(Texto()->source().fragment(), âncora);
    }

    auto *diálogo = new QDialog(&principal);
    diálogo->setWindowModality(Qt::ApplicationModal);
    diálogo->show();
    QCOMPARE(QApplication::activeModalWidget(), diálogo);
    MostrarAjuda(diálogo, u"tabelas"_s);
    QCOMPARE(JanelaAjudaAberta(), ajuda.data());
    QCOMPARE(ajuda->parentWidget(), diálogo); // a window under the modal one is not blocked
    diálogo->hide();
    delete diálogo;
    QVERIFY2(ajuda, "the help window went away with the modal window");
    QCOMPARE(ajuda->parentWidget(), &principal);
    QVERIFY(ajuda->isVisible());
    QCOMPARE(PáginaMostrada(), u"tabelas.html"_s);
    QTest::mouseClick(Botão(u"Anterior"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"indice.html"_s);
  }

  // By a click on a link, the buttons and the keys; one step per key (the window's keys and
  // the browser's own must not both act). Escape hides the window, which keeps its history.
  void historico() {
    MostrarAjuda(nullptr, u"indice"_s);
    QVERIFY(QTest::qWaitForWindowActive(JanelaAjudaAberta()));
    QTextBrowser *b = Texto();
    QVERIFY(!Botão(u"Anterior"_s)->isEnabled());
    const QPoint ponto = PontoDaLigação(b, u"como-usar.html"_s);
    QVERIFY(b->viewport()->rect().contains(ponto));
    QTest::mouseClick(b->viewport(), Qt::LeftButton, Qt::NoModifier, ponto);
    QCOMPARE(PáginaMostrada(), u"como-usar.html"_s);
    MostrarAjuda(nullptr, u"base"_s);
    QVERIFY(!Botão(u"Seguinte"_s)->isEnabled());

    QTest::keyClick(b, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(PáginaMostrada(), u"como-usar.html"_s);
    QTest::keyClick(b, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(PáginaMostrada(), u"base.html"_s);
    QTest::mouseClick(Botão(u"Anterior"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"como-usar.html"_s);
    QTest::mouseClick(Botão(u"Seguinte"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"base.html"_s);
    QTest::mouseClick(Botão(u"Indice"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"indice.html"_s);

    QTest::keyClick(b, Qt::Key_Escape);
    QVERIFY(!JanelaAjudaAberta()->isVisible());
    MostrarAjuda(nullptr, u"menu"_s);
    QVERIFY(JanelaAjudaAberta()->isVisible());
    QTest::mouseClick(Botão(u"Anterior"_s), Qt::LeftButton);
    QCOMPARE(PáginaMostrada(), u"indice.html"_s);
  }
};

QTEST_MAIN(TestAjuda)
#include "TestAjuda.moc"
