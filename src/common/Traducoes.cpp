#include "Traducoes.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

void InstalarTraduçõesQt() {
  auto *app = QCoreApplication::instance();
  if (!app)
    return;
  const QString pastaSistema = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const QLocale português(QLocale::Portuguese, QLocale::Portugal);
  const auto instalar = [app](const auto &carregar) {
    auto *t = new QTranslator(app);
    if (carregar(*t))
      QCoreApplication::installTranslator(t);
    else
      delete t;
  };
  // The translator installed last is asked first, so the list goes from the last resort to
  // our own file. Debian ships no European "qtbase" file, only an older "qt_pt_PT" and the
  // Brazilian one: Brazilian words are still better than English for a text we missed.
  instalar([&](QTranslator &t) { return t.load(u"qtbase_pt_BR"_s, pastaSistema); });
  instalar([&](QTranslator &t) { return t.load(português, u"qt"_s, u"_"_s, pastaSistema); });
  instalar([&](QTranslator &t) { return t.load(português, u"qtbase"_s, u"_"_s, pastaSistema); });
  instalar([](QTranslator &t) { return t.load(u":/traducoes/qt_pt_PT.qm"_s); });
}
