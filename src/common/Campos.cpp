#include "Campos.h"

#include "Formatacao.h"
#include "Mensagens.h"
#include "Relogio.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>
#include <QValidator>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QColor CorRealce(255, 255, 0);
const QColor CorNormal(255, 255, 255);
const QColor CorAviso(255, 200, 200);
constexpr char PropriedadeAviso[] = "agremiaAviso";

// The text colour that reads on the light backgrounds the program paints, whatever the
// desktop's theme gives for text (near white under a dark theme).
const QColor CorTexto(0, 0, 0);

void PintarFundo(QWidget *campo, const QColor &cor) {
  if (!campo)
    return;
  QPalette p = campo->palette();
  for (const auto grupo : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(grupo, QPalette::Base, cor);
    p.setColor(grupo, QPalette::Text, CorTexto);
    if (qobject_cast<QComboBox *>(campo)) {
      p.setColor(grupo, QPalette::Button, cor);
      p.setColor(grupo, QPalette::ButtonText, CorTexto);
    }
  }
  campo->setPalette(p);
}

// The line edit that holds the text of a field, when there is one.
QLineEdit *LinhaDe(QWidget *campo) {
  if (auto *l = qobject_cast<QLineEdit *>(campo))
    return l;
  if (auto *c = qobject_cast<QComboBox *>(campo))
    return c->lineEdit();
  if (auto *s = qobject_cast<QAbstractSpinBox *>(campo))
    return s->findChild<QLineEdit *>();
  return nullptr;
}

QString TextoDe(QWidget *campo) {
  if (auto *l = LinhaDe(campo))
    return l->text();
  if (auto *t = qobject_cast<QTextEdit *>(campo))
    return t->toPlainText();
  if (auto *p = qobject_cast<QPlainTextEdit *>(campo))
    return p->toPlainText();
  return {};
}

// Writes only a changed text, so that an untouched field keeps its undo history and cursor.
void DefinirTexto(QWidget *campo, const QString &texto) {
  if (TextoDe(campo) == texto)
    return;
  if (auto *c = qobject_cast<QComboBox *>(campo))
    c->setEditText(texto);
  else if (auto *l = LinhaDe(campo))
    l->setText(texto);
  else if (auto *t = qobject_cast<QTextEdit *>(campo))
    t->setPlainText(texto);
  else if (auto *p = qobject_cast<QPlainTextEdit *>(campo))
    p->setPlainText(texto);
}

bool TemSelecção(QWidget *campo) {
  if (auto *l = LinhaDe(campo))
    return l->hasSelectedText();
  if (auto *t = qobject_cast<QTextEdit *>(campo))
    return t->textCursor().hasSelection();
  if (auto *p = qobject_cast<QPlainTextEdit *>(campo))
    return p->textCursor().hasSelection();
  return false;
}

// The widget that receives the mouse clicks made on a field.
QWidget *AlvoDoRato(QWidget *campo) {
  if (auto *a = qobject_cast<QAbstractScrollArea *>(campo))
    return a->viewport();
  if (auto *l = LinhaDe(campo))
    return l;
  return campo;
}

bool Permitida(FiltroTeclas filtro, QChar c) {
  const bool dígito = c >= u'0' && c <= u'9';
  switch (filtro) {
  case FiltroTeclas::Nenhum:
    return true;
  case FiltroTeclas::Dígitos:
    return dígito;
  case FiltroTeclas::Numérica:
    // The keys of TeclaNumérica. A point never gets here: the field turns it into a comma.
    return dígito || c == u'\b' || c == u' ' || c == u',' || c == u'-';
  case FiltroTeclas::Data:
    return dígito || c == u'/' || c == u'-';
  case FiltroTeclas::Letras:
    return c == u' ' || c.toLower() != c.toUpper();
  case FiltroTeclas::DígitosEspaço:
    return dígito || c == u' ';
  }
  return false;
}

bool TudoPermitido(FiltroTeclas filtro, QStringView texto) {
  return std::all_of(texto.begin(), texto.end(),
                     [filtro](QChar c) { return Permitida(filtro, c); });
}

// A line edit's length limit counts UTF-16 units and may keep the first half of a character
// made of two; this drops any such half, wherever the text came from. It never refuses: the
// line edit applies the corrected text in place of the cut one.
class CaracteresInteiros final : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString &texto, int &cursor) const override {
    for (qsizetype i = texto.size() - 1; i >= 0; --i) {
      const QChar c = texto[i];
      const bool metade =
          (c.isHighSurrogate() && (i + 1 >= texto.size() || !texto[i + 1].isLowSurrogate())) ||
          (c.isLowSurrogate() && (i == 0 || !texto[i - 1].isHighSurrogate()));
      if (metade) {
        texto.remove(i, 1);
        if (cursor > i)
          --cursor;
      }
    }
    return Acceptable;
  }
};

// Focus changes that only reflect another window coming to the front (a message box, a menu,
// the list of a drop-down) are not the user leaving the field.
bool MudançaDeJanela(Qt::FocusReason razão) {
  return razão == Qt::ActiveWindowFocusReason || razão == Qt::PopupFocusReason;
}

// Follows one widget's focus and runs its entry and exit once per real visit.
class FiltroFoco : public QObject {
public:
  FiltroFoco(QWidget *campo, const char *nome)
      : QObject(campo), alvo(campo), classe(campo->metaObject()) {
    setObjectName(QString::fromLatin1(nome));
    campo->installEventFilter(this);
  }
  ~FiltroFoco() override { Visitados().removeAll(this); }

  // Stops all handling at once; the object itself is deleted later, as it may be running.
  virtual void Desligar() {
    desligado = true;
    alvo->removeEventFilter(this);
    Visitados().removeAll(this);
    setObjectName(QString());
    deleteLater();
  }

protected:
  bool eventFilter(QObject *objecto, QEvent *evento) override {
    // While the widget is being destroyed Qt may still send it a focus-out; its own class is
    // gone by then, and so is anything the window would do on leaving the field.
    if (desligado || objecto != alvo || !Vivo())
      return false;
    if (evento->type() == QEvent::FocusIn) {
      const auto razão = static_cast<QFocusEvent *>(evento)->reason();
      if (!dentro) {
        SairDosOutros();
        dentro = true;
        Visitados().append(this);
        Entrar(razão);
      }
    } else if (evento->type() == QEvent::FocusOut) {
      if (!MudançaDeJanela(static_cast<QFocusEvent *>(evento)->reason()))
        SairSeDentro();
    }
    return false;
  }

  virtual void Entrar(Qt::FocusReason razão) = 0;
  virtual void Sair() = 0;

  bool Vivo() const { return alvo->metaObject() == classe; }

  QWidget *const alvo;
  bool desligado = false;

private:
  void SairSeDentro() {
    if (!dentro)
      return;
    dentro = false;
    Visitados().removeAll(this);
    Sair();
  }

  // Focus that moved while the window was in the background reaches the new widget without
  // a focus-out to the old one: close the old visit before the new one starts.
  void SairDosOutros() {
    QWidget *janela = alvo->window();
    const auto outros = Visitados();
    for (FiltroFoco *f : outros)
      if (f != this && Visitados().contains(f) && f->alvo->window() == janela && f->Vivo())
        f->SairSeDentro();
  }

  static QList<FiltroFoco *> &Visitados() {
    static QList<FiltroFoco *> lista;
    return lista;
  }

  const QMetaObject *const classe;
  bool dentro = false;
};

const char *const NomeComportamento = "agremia_comportamento_campo";
const char *const NomeÊnfase = "agremia_enfase_botao";

class FiltroCampo final : public FiltroFoco {
public:
  FiltroCampo(QWidget *campo, ComportamentoCampo c)
      : FiltroFoco(campo, NomeComportamento), comportamento(std::move(c)), rato(AlvoDoRato(campo)) {
    if (rato != alvo)
      rato->installEventFilter(this);
    if (comportamento.teclas != FiltroTeclas::Nenhum) {
      if (QLineEdit *l = LinhaDe(campo)) {
        linha = l;
        actual = l->text();
        anterior = actual;
        QObject::connect(l, &QLineEdit::textChanged, this, [this](const QString &t) { Seguir(t); });
        QObject::connect(l, &QLineEdit::textEdited, this,
                         [this](const QString &t) { FiltrarEdição(t); });
      }
    }
  }

  void Desligar() override {
    if (rato)
      rato->removeEventFilter(this);
    if (linha)
      QObject::disconnect(linha, nullptr, this, nullptr);
    FiltroFoco::Desligar();
  }

protected:
  bool eventFilter(QObject *objecto, QEvent *evento) override {
    if (desligado || !Vivo())
      return false;
    // A click that gives the focus places the cursor when the button goes down, undoing the
    // selection made on entry; the whole text is selected when the button comes up, unless the
    // user dragged a selection of their own.
    if (objecto == rato && evento->type() == QEvent::MouseButtonPress && esperarClique &&
        static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton) {
      esperarClique = false;
      seleccionarAoLargar = true;
    } else if (objecto == rato && evento->type() == QEvent::MouseButtonRelease &&
               seleccionarAoLargar &&
               static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton) {
      seleccionarAoLargar = false;
      if (!TemSelecção(alvo))
        SeleccionarTexto(alvo);
    }
    if (objecto == alvo && evento->type() == QEvent::KeyPress)
      return FiltrarTecla(static_cast<QKeyEvent *>(evento));
    return FiltroFoco::eventFilter(objecto, evento);
  }

  void Entrar(Qt::FocusReason razão) override {
    if (comportamento.realçar)
      RealçarCampo(alvo);
    if (comportamento.aoGanharFoco)
      comportamento.aoGanharFoco();
    if (!comportamento.seleccionarTudo)
      return;
    if (razão != Qt::MouseFocusReason) {
      SeleccionarTexto(alvo);
      return;
    }
    // Focus given by a click arrives while that click's button-down is being delivered: the
    // selection waits for the button to come up, as a text selected now would turn the click
    // into the start of a drag. A later button-down (after the focus came by the mouse wheel,
    // say) is a click of its own, so the wait ends with this round of events.
    esperarClique = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (esperarClique) {
            esperarClique = false;
            SeleccionarTexto(alvo);
          }
        },
        Qt::QueuedConnection);
  }

  void Sair() override {
    esperarClique = seleccionarAoLargar = false;
    if (comportamento.compactar)
      DefinirTexto(alvo, CompactarEspaços(TextoDe(alvo)));
    if (comportamento.ano) {
      const qint64 ano = ValorNumérico(TextoDe(alvo));
      if (ano < 1990 || ano > 2999) {
        Bip();
        DefinirTexto(alvo, QString::number(Hoje().year()));
      }
    }
    if (comportamento.aoPerderFoco)
      comportamento.aoPerderFoco();
    if (comportamento.realçar)
      RestaurarCampo(alvo);
  }

private:
  // Returns true when the key is eaten.
  bool FiltrarTecla(QKeyEvent *tecla) {
    const QString texto = tecla->text();
    if (texto.isEmpty())
      return false;
    // Ctrl (with or without Shift) makes a command, never a character: the editor inserts
    // nothing for it, so copy, paste, undo and the window's shortcuts pass untouched.
    const auto mods = tecla->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))
      return false;
    // Backspace, Enter, Escape, Tab, Delete: control characters edit or move, they are not typed.
    if (std::all_of(texto.begin(), texto.end(),
                    [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }))
      return false;
    // Alt with a letter is an access key. One that nothing answers (a disabled button's, say)
    // would otherwise reach the editor and type the letter into the field.
    if (mods & Qt::AltModifier && !(mods & Qt::ControlModifier)) {
      Bip();
      return true;
    }

    // An amount's point is typed as the decimal comma (see ComportamentoCampo); the comma
    // goes through the field's usual handling, the length limit and the selection included.
    if (comportamento.teclas == FiltroTeclas::Numérica && texto == u"."_s) {
      QKeyEvent vírgula(QEvent::KeyPress, Qt::Key_Comma, tecla->modifiers(), u","_s,
                        tecla->isAutoRepeat(), tecla->count());
      QCoreApplication::sendEvent(alvo, &vírgula);
      return true;
    }
    if (!TudoPermitido(comportamento.teclas, texto)) {
      Bip();
      return true;
    }
    return false;
  }

  // The line edit reports textChanged and textEdited for the same edit, in an order that is
  // not promised; whichever comes first moves the text seen before it into `anterior`. A
  // signal may come after its text was already replaced (a refused paste put back), so what
  // counts is the text the line holds now, not the one the signal reports.
  void Seguir(const QString &texto) {
    const QString agora = linha ? linha->text() : texto;
    if (agora == actual)
      return;
    anterior = actual;
    actual = agora;
  }

  // Text that reached the line edit without passing the key filter (paste, drop, input
  // method). Only the inserted part is judged: characters the program put there itself stay.
  void FiltrarEdição(const QString &novo) {
    Seguir(novo);
    if (!linha)
      return;
    const QString antes = anterior;
    const qsizetype limite = std::min(antes.size(), novo.size());
    qsizetype início = 0;
    while (início < limite && antes[início] == novo[início])
      ++início;
    qsizetype fim = 0;
    while (fim < limite - início && antes[antes.size() - 1 - fim] == novo[novo.size() - 1 - fim])
      ++fim;
    QString inserido = novo.mid(início, novo.size() - início - fim);
    if (inserido.isEmpty())
      return;
    // A pasted amount is read as if typed: its points are commas, never a guess.
    const bool pontos = comportamento.teclas == FiltroTeclas::Numérica && inserido.contains(u'.');
    if (pontos)
      inserido.replace(u'.', u',');
    if (!TudoPermitido(comportamento.teclas, inserido)) {
      Bip();
      linha->setText(antes);
      linha->setCursorPosition(int(início));
    } else if (pontos) {
      linha->setText(novo.left(início) + inserido + novo.right(fim));
      linha->setCursorPosition(int(início + inserido.size()));
    }
  }

  const ComportamentoCampo comportamento;
  QPointer<QWidget> rato;
  QPointer<QLineEdit> linha;
  QString anterior, actual;
  bool esperarClique = false;
  bool seleccionarAoLargar = false;
};

class FiltroBotão final : public FiltroFoco {
public:
  explicit FiltroBotão(QAbstractButton *botão) : FiltroFoco(botão, NomeÊnfase) {}

protected:
  void Entrar(Qt::FocusReason) override {
    QFont f = alvo->font();
    negritoAntes = f.bold();
    f.setBold(true);
    alvo->setFont(f);
  }
  void Sair() override {
    QFont f = alvo->font();
    f.setBold(negritoAntes);
    alvo->setFont(f);
  }

private:
  bool negritoAntes = false;
};

void DesligarAnterior(QWidget *w, const char *nome) {
  if (auto *antigo = static_cast<FiltroFoco *>(
          w->findChild<QObject *>(QString::fromLatin1(nome), Qt::FindDirectChildrenOnly)))
    antigo->Desligar();
}

// The caption as drawn: "&&" shows one "&", a single "&" marks the access key and is not drawn.
QString LegendaVisível(const QString &texto) {
  QString r;
  for (qsizetype i = 0; i < texto.size(); ++i) {
    if (texto[i] == u'&' && i + 1 < texto.size())
      ++i;
    r += texto[i];
  }
  return r;
}

} // namespace

void RealçarCampo(QWidget *campo) {
  PintarFundo(campo, CorRealce);
}
void RestaurarCampo(QWidget *campo) {
  PintarFundo(campo, campo && campo->property(PropriedadeAviso).toBool() ? CorAviso : CorNormal);
}

void AssinalarCampo(QWidget *campo, const QString &motivo) {
  if (!campo)
    return;
  campo->setProperty(PropriedadeAviso, !motivo.isEmpty());
  campo->setToolTip(motivo);
  // A field being edited keeps the focus colour; leaving it paints the mark.
  if (CorDoCampo(campo) != CorRealce)
    RestaurarCampo(campo);
}

QColor CorDoCampo(const QWidget *campo) {
  if (!campo)
    return {};
  return campo->palette().color(
      QPalette::Active, qobject_cast<const QComboBox *>(campo) ? QPalette::Button : QPalette::Base);
}

void SeleccionarTexto(QWidget *campo) {
  if (auto *l = LinhaDe(campo))
    l->selectAll();
  else if (auto *t = qobject_cast<QTextEdit *>(campo))
    t->selectAll();
  else if (auto *p = qobject_cast<QPlainTextEdit *>(campo))
    p->selectAll();
}

// Both run for every field of every line of an import: written into the result's own buffer.
QString SemCaracteresControlo(QStringView texto, bool váriasLinhas) {
  QString r(texto.size(), Qt::Uninitialized);
  QChar *fim = r.data();
  for (const QChar c : texto) {
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
      *fim++ = c;
    else if (c == u'\n' || c == u'\t' || c == u'\r')
      *fim++ = váriasLinhas ? c : QChar(u' ');
  }
  r.truncate(fim - r.constData());
  return r;
}

QString CompactarEspaços(QStringView texto) {
  qsizetype início = 0, fim = texto.size();
  while (início < fim && texto[início] == u' ')
    ++início;
  while (fim > início && texto[fim - 1] == u' ')
    --fim;
  QString r(fim - início, Qt::Uninitialized);
  QChar *p = r.data();
  for (qsizetype i = início; i < fim; ++i)
    if (texto[i] != u' ' || texto[i - 1] != u' ')
      *p++ = texto[i];
  r.truncate(p - r.constData());
  return r;
}

bool TeclaNumérica(QChar tecla) {
  if (Permitida(FiltroTeclas::Numérica, tecla))
    return true;
  Bip();
  return false;
}

void CortarTexto(QString &texto, int n) {
  if (texto.size() < n)
    return;
  for (qsizetype p = std::min<qsizetype>(texto.size(), qsizetype(n) - 1); p >= 1; --p) {
    if (texto[p - 1] == u' ') {
      texto.truncate(p - 1);
      return;
    }
  }
}

QRect PosiçãoCentrada(QRect janela, QRect principal, QRect ecrã) {
  int topo = (principal.height() - janela.height()) / 2 + principal.top();
  int esquerda = (principal.width() - janela.width()) / 2 + principal.left();
  if (topo + janela.height() > ecrã.top() + ecrã.height())
    topo = ecrã.top() + ecrã.height() - janela.height();
  if (esquerda + janela.width() > ecrã.left() + ecrã.width())
    esquerda = ecrã.left() + ecrã.width() - janela.width();
  topo = std::max(topo, ecrã.top());
  esquerda = std::max(esquerda, ecrã.left());
  janela.moveTo(esquerda, topo);
  return janela;
}

void CentrarJanela(QWidget *janela, QWidget *principal) {
  if (!janela)
    return;
  janela->ensurePolished();
  if (!janela->testAttribute(Qt::WA_Resized))
    janela->adjustSize();
  const bool temPrincipal = principal && principal->isVisible();
  QScreen *ecrã = temPrincipal ? principal->screen() : janela->screen();
  if (!ecrã)
    ecrã = QGuiApplication::primaryScreen();
  if (!ecrã)
    return;
  const QRect área = ecrã->availableGeometry();
  const QRect sobre = temPrincipal ? principal->window()->frameGeometry() : área;
  // move() of a window places its frame, so the frame's size is what has to fit. A window not
  // yet on screen has no frame yet: it will get one like the main window's.
  QRect moldura = janela->frameGeometry();
  if (temPrincipal && moldura == janela->geometry() &&
      !(janela->windowFlags() & Qt::FramelessWindowHint)) {
    const QWidget *w = principal->window();
    const QRect fora = w->frameGeometry(), dentro = w->geometry();
    moldura = QRect(moldura.topLeft(), moldura.size() + (fora.size() - dentro.size()));
  }
  janela->move(PosiçãoCentrada(moldura, sobre, área).topLeft());
}

void AplicarComportamento(QWidget *campo, ComportamentoCampo comportamento) {
  if (!campo)
    return;
  DesligarAnterior(campo, NomeComportamento);
  if (QLineEdit *l = LinhaDe(campo); l && !l->validator())
    l->setValidator(new CaracteresInteiros(l));
  const bool realçar = comportamento.realçar;
  new FiltroCampo(campo, std::move(comportamento));
  if (realçar)
    RestaurarCampo(campo);
}

QLineEdit *CampoTexto(const QString &nome, int máximo, Qt::Alignment alinhamento,
                      const QString &texto) {
  auto *c = new QLineEdit(texto);
  c->setObjectName(nome);
  c->setMaxLength(máximo);
  if (alinhamento)
    c->setAlignment(alinhamento);
  return c;
}

void ÊnfaseBotão(QAbstractButton *botão) {
  if (!botão)
    return;
  DesligarAnterior(botão, NomeÊnfase);
  QFont negrito = botão->font();
  negrito.setBold(true);
  const QString legenda = LegendaVisível(botão->text());
  const int acréscimo = QFontMetrics(negrito).horizontalAdvance(legenda) -
                        QFontMetrics(botão->font()).horizontalAdvance(legenda);
  if (acréscimo > 0)
    botão->setMinimumWidth(std::max(botão->minimumWidth(), botão->sizeHint().width() + acréscimo));
  new FiltroBotão(botão);
}

QLabel *Legenda(const QString &texto, QWidget *campo) {
  auto *l = new QLabel(texto);
  l->setBuddy(campo);
  return l;
}
