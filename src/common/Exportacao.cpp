#include "Exportacao.h"

#include "Campos.h"
#include "Comandos.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Permissoes.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

EscolhaFicheiro &EscolhaInstalada() {
  static EscolhaFicheiro escolha;
  return escolha;
}

// Where the next picker opens: the folder of the last file written in this run.
QString &ÚltimaPasta() {
  static QString pasta;
  return pasta;
}

// A spreadsheet reads a cell that starts with =, +, -, @, a tab or a carriage return as a
// formula, so a member named "=2+3" would be computed, or worse. Such a text goes out behind an
// apostrophe, which the spreadsheet shows as text; an amount or number as the grid writes it
// ("-3,25", "-1.234,50") stays a number.
QString SemFórmula(const QString &texto) {
  // Anchored at the very end: "$" would also let a trailing line break through.
  static const QRegularExpression número(uR"(\A[-+]?(\d{1,3}(\.\d{3})+|\d+)(,\d+)?( €)?\z)"_s);
  // "--", the grid's text for no date, is no formula either.
  if (texto.isEmpty() || texto.count(u'-') == texto.size() ||
      !u"=+-@\t\r"_s.contains(texto.front()) || número.match(texto).hasMatch())
    return texto;
  return u'\'' + texto;
}

QString Campo(const QString &textoOriginal) {
  const QString texto = SemFórmula(textoOriginal);
  if (!texto.contains(u';') && !texto.contains(u'"') && !texto.contains(u'\n') &&
      !texto.contains(u'\r'))
    return texto;
  return u'"' + QString(texto).replace(u"\""_s, u"\"\""_s) + u'"';
}

QString NomeVisível(const QString &caminho) {
  return u'«' + QDir::toNativeSeparators(caminho) + u'»';
}

// The export button follows the enabling of its print button, whoever changes it.
class SeguirActivação : public QObject {
public:
  SeguirActivação(QPushButton *origem, QPushButton *seguidor) : QObject(seguidor), cópia(seguidor) {
    origem->installEventFilter(this);
    seguidor->setEnabled(origem->isEnabled());
  }
  bool eventFilter(QObject *o, QEvent *e) override {
    if (e->type() == QEvent::EnabledChange)
      cópia->setEnabled(static_cast<QWidget *>(o)->isEnabled());
    return false;
  }

private:
  QPushButton *cópia;
};

} // namespace

QByteArray TextoCsv(const QList<QStringList> &linhas) {
  QString texto;
  for (const QStringList &linha : linhas) {
    for (qsizetype i = 0; i < linha.size(); ++i) {
      if (i > 0)
        texto += u';';
      texto += Campo(linha[i]);
    }
    texto += u"\r\n"_s;
  }
  return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

QString GravarFicheiro(const QString &caminho, const QByteArray &conteúdo, QString *pormenor) {
  QSaveFile ficheiro(caminho);
  const auto falha = [&](const QString &motivo) {
    if (pormenor)
      *pormenor = ficheiro.errorString();
    ficheiro.cancelWriting();
    return motivo;
  };
  if (!AbrirParaGravarDoDono(ficheiro))
    return falha(ficheiro.error() == QFileDevice::PermissionsError
                     ? u"Não tem autorização para escrever nessa pasta."_s
                     : u"O ficheiro não pôde ser criado: verifique se a pasta existe e se "
                       u"pode escrever nela."_s);
  if (ficheiro.write(conteúdo) != conteúdo.size() || !ficheiro.commit())
    return falha(u"A escrita não chegou ao fim (o disco pode estar cheio). O ficheiro que "
                 u"lá estava ficou como estava."_s);
  return {};
}

QString EscolherFicheiroCsv(QWidget *pai, const QString &título, const QString &sugerido) {
  if (ÚltimaPasta().isEmpty()) {
    ÚltimaPasta() = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (ÚltimaPasta().isEmpty() || !QFileInfo(ÚltimaPasta()).isDir())
      ÚltimaPasta() = QDir::currentPath();
  }
  const QString início = QDir(ÚltimaPasta()).filePath(sugerido);
  QString caminho;
  if (EscolhaInstalada()) {
    caminho = EscolhaInstalada()(pai, título, início);
  } else {
    QFileDialog diálogo(pai, título, início, u"Ficheiros CSV (*.csv)"_s);
    diálogo.setOption(QFileDialog::DontUseNativeDialog);
    diálogo.setAcceptMode(QFileDialog::AcceptSave);
    diálogo.setFileMode(QFileDialog::AnyFile);
    diálogo.setDefaultSuffix(u"csv"_s);
    if (ExecutarModal(diálogo) == QDialog::Accepted && !diálogo.selectedFiles().isEmpty())
      caminho = diálogo.selectedFiles().constFirst();
  }
  if (caminho.isEmpty())
    return {};
  if (!caminho.endsWith(u".csv"_s, Qt::CaseInsensitive))
    caminho += u".csv"_s;
  return caminho;
}

QString EscolherFicheiroParaLer(QWidget *pai, const QString &título, const QString &início,
                                const QString &filtro) {
  if (EscolhaInstalada())
    return EscolhaInstalada()(pai, título, início);
  QFileDialog diálogo(pai, título, início, filtro);
  diálogo.setOption(QFileDialog::DontUseNativeDialog);
  diálogo.setFileMode(QFileDialog::ExistingFile);
  diálogo.setAcceptMode(QFileDialog::AcceptOpen);
  if (ExecutarModal(diálogo) != QDialog::Accepted || diálogo.selectedFiles().isEmpty())
    return {};
  return diálogo.selectedFiles().constFirst();
}

QPushButton *BotãoExportar(QPushButton *imprimir, std::function<void()> aoClicar) {
  auto *b = new QPushButton(u"&Exportar..."_s);
  b->setObjectName(u"Exportar"_s);
  b->setAutoDefault(false);
  ÊnfaseBotão(b);
  QObject::connect(b, &QPushButton::clicked, b, [b, aoClicar = std::move(aoClicar)] {
    TomarFoco(b);
    aoClicar();
  });
  new SeguirActivação(imprimir, b);
  return b;
}

void ExportarLista(QWidget *janela, const QString &título, const QString &sugerido,
                   const QList<QStringList> &linhas) {
  QString nome = sugerido;
  for (const QChar c : u"/\\:*?\"<>|"_s)
    nome.replace(c, u'-');
  const QString caminho = EscolherFicheiroCsv(janela, u"Exportar "_s + título, nome + u".csv"_s);
  if (caminho.isEmpty())
    return;
  QString erro, pormenor;
  {
    Ampulheta ampulheta;
    erro = GravarFicheiro(caminho, TextoCsv(linhas), &pormenor);
  }
  if (!erro.isEmpty()) {
    Bip();
    MostrarMensagem(u"Não foi possível gravar o ficheiro\n"_s + NomeVisível(caminho) + u"\n\n"_s +
                        erro,
                    Botões::OK, Ícone::Crítico, título, janela, pormenor);
    return;
  }
  ÚltimaPasta() = QFileInfo(caminho).absolutePath();
  MostrarMensagem(u"A listagem foi exportada para o ficheiro\n"_s + NomeVisível(caminho),
                  Botões::OK, Ícone::Informação, título, janela);
}

void InstalarEscolhaFicheiro(EscolhaFicheiro escolha) {
  EscolhaInstalada() = std::move(escolha);
}
