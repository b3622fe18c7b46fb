#include "Base.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "FichaSocio.h"
#include "Formatacao.h"
#include "Formato.h"
#include "Grelha.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"
#include "Relogio.h"
#include "Validacao.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString TítuloGravar = u"Gravar Dados"_s;

} // namespace

Base::Base(QWidget *pai) : QMainWindow(pai) {
  setObjectName(u"Base"_s);
  setWindowTitle(u"Ficheiro de Sócios e Quotizações"_s);
  CriarControlos();
  PrepararCampos();

  // This month for the new dues, then the reference lists and the first member.
  EntradasPorOmissão();
  RecomeçarDados();
  // Reference rows saved on another desk: the drop-downs offer them without a restart.
  DefinirAoMudaremListas([janela = QPointer<Base>(this)] {
    if (janela)
      janela->MostrarListas();
  });
}

void Base::RecomeçarDados() {
  Ampulheta ampulheta;
  BaseDados::Leitura leitura(Dados().bd);
  CarregarListas();
  ConjuntoRegistos &sócios = *Dados().sócios;
  sócios.MoverPrimeiro();
  SócioActual = sócios.FimFicheiro() ? 0 : qint32(sócios.Inteiro(u"Número"));
  MostrarSócio(SócioActual);
}

void Base::FecharSemPerguntar() {
  fecharSemPerguntar = true;
  close();
}

void Base::showEvent(QShowEvent *e) {
  QMainWindow::showEvent(e);
  if (centrada)
    return;
  centrada = true;
  if (QScreen *ecrã = screen() ? screen() : QGuiApplication::primaryScreen()) {
    const QRect área = ecrã->availableGeometry();
    const QRect quadro = frameGeometry();
    move(área.x() + std::max(0, (área.width() - quadro.width()) / 2),
         área.y() + std::max(0, (área.height() - quadro.height()) / 2));
  }
}

void Base::closeEvent(QCloseEvent *e) {
  if (!fecharSemPerguntar && !ConfirmarAlterações()) {
    e->ignore();
    return;
  }
  QMainWindow::closeEvent(e);
  if (e->isAccepted() && AoFechar)
    AoFechar();
}

void Base::CarregarListas() {
  RecarregarListas();
  MostrarListas();
}

void Base::MostrarListas() {
  // Lists filled again are no change of the member: an entry that went away leaves its list
  // with nothing selected, which is not asked about on an untouched screen.
  const bool semAlterações = !mostrado.isEmpty() && !Alterado();
  const std::pair<QComboBox *, const ListaReferência *> listas[] = {
      {CPostal, &Listas().códigosPostais},
      {Situação, &Listas().situações},
      {TipoQuota, &Listas().tiposQuota}};
  for (const auto &[combo, itens] : listas) {
    const QVariant escolhido = combo->currentIndex() >= 0 ? combo->currentData() : QVariant();
    combo->clear();
    for (const ItemReferência &i : *itens)
      combo->addItem(i.texto, i.código);
    combo->setCurrentIndex(escolhido.isValid() ? combo->findData(escolhido) : -1);
  }
  if (semAlterações)
    mostrado = ValoresDoEcrã();
}

void Base::EntradasPorOmissão() {
  Mês->setCurrentIndex(Hoje().month() - 1);
  Ano->setText(QString::number(Hoje().year()));
}

qint32 Base::MostrarSócio(qint32 número) {
  Ampulheta ampulheta;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  BaseDados::Leitura leitura(Dados().bd, false);
  ConjuntoRegistos &sócios = *Dados().sócios;
  const std::optional<SócioGuardado> sócio = LerSócio(Dados().bd, sócios, número);
  guardadoMostrado = sócio;
  Lista = {};
  if (!sócio) {
    if (número < 0)
      número = 0;
    Número->setText(QString::number(número));
    Número->setReadOnly(false);
    for (QWidget *w : {static_cast<QWidget *>(Comando[2]), static_cast<QWidget *>(Posição),
                       static_cast<QWidget *>(Comando[5]), static_cast<QWidget *>(Comando[6])})
      w->setEnabled(false);
    acçãoEliminar->setEnabled(false);
    acçãoImprimir->setEnabled(false);
    acçõesJanelas[int(JanelaMenu::DadosPessoais)]->setEnabled(false);
    for (QLineEdit *c : {Nome, Rua, Localidade, Recibo})
      c->clear();
    Observações->clear();
    for (QComboBox *c : {CPostal, TipoQuota, Situação})
      c->setCurrentIndex(-1);
    DtInscrição->setText(FormatarData(Hoje()));
    dataAceite = DtInscrição->text();
    ValQuota->setText(Moeda().Formatar(u"#,###,##0.00"));
    Quota->setText(Moeda().Formatar(u"#,###,##0.00"));
    NIF->setText(u"0"_s);
    AssinalarCampo(NIF, {});
    nifAceite = NIF->text();
    EntradasPorOmissão();
    IrParaPosição(0);
    SócioActual = 0;
  } else {
    // Plain digits while the field has the focus, as on entering it; six digits otherwise.
    if (Número->hasFocus()) {
      Número->setText(QString::number(número));
      Número->selectAll();
    } else {
      Número->setText(FormatarNúmero(número, u"000000"));
    }
    Número->setReadOnly(true);
    Comando[2]->setEnabled(true);
    acçãoEliminar->setEnabled(true);
    acçãoImprimir->setEnabled(true);
    acçõesJanelas[int(JanelaMenu::DadosPessoais)]->setEnabled(
        bool(janelas[int(JanelaMenu::DadosPessoais)]));
    Nome->setText(sócio->nome);
    Rua->setText(sócio->rua.trimmed());
    Localidade->setText(sócio->localidade.trimmed());
    Observações->setPlainText(sócio->observações.trimmed());
    NIF->setText(sócio->nif);
    // A stored number was already let through once: it shows its mark, but saving the
    // member again does not ask about it.
    AssinalarCampo(NIF, AvisoNif());
    nifAceite = NIF->text();
    DtInscrição->setText(InscriçãoParaTexto(sócio->inscrição));
    dataAceite = DtInscrição->text();
    const QString valor = sócio->valQuota.Formatar(u"#,###,##0.00");
    ValQuota->setText(valor);
    Quota->setText(valor);
    Recibo->clear();
    CPostal->setCurrentIndex(CPostal->findData(sócio->cPostal));
    TipoQuota->setCurrentIndex(TipoQuota->findData(sócio->tipoQuota));
    Situação->setCurrentIndex(Situação->findData(sócio->situação));
    SócioActual = número;

    // The query gives the months in key order, so each entry goes at the end of the list.
    Lista.ListQuotas = EntradasDasQuotas(sócio->quotas);
    // The oldest dues row becomes current; with none, the entry fields keep this month.
    IrParaPosição(Lista.ListQuotas.Vazia() ? 0 : 1);
  }
  const bool háSócios = !(sócios.InícioFicheiro() && sócios.FimFicheiro());
  Comando[0]->setEnabled(háSócios && bool(AbrirProcura));
  acçãoProcurar->setEnabled(háSócios);
  acçõesNavegação[0]->setEnabled(háSócios && bool(AbrirProcura));
  if (menuListagens)
    menuListagens->setEnabled(háSócios);
  nomeMostrado = sócio ? sócio->nome.trimmed() : QString();
  mostrado = ValoresDoEcrã();
  return número;
}

void Base::IrParaPosição(qsizetype alvo) {
  const ListaOrdenada &l = Lista.ListQuotas;
  // The four columns after the sort key.
  TabelaQuotas->DefinirLinhas(l.Entradas(), l.Vazia() ? 0 : 1, int(l.Tamanho()), int(alvo), 6);
  const bool temQuotas = !l.Vazia();
  for (QWidget *w : {static_cast<QWidget *>(Posição), static_cast<QWidget *>(Comando[5]),
                     static_cast<QWidget *>(Comando[6])})
    w->setEnabled(temQuotas);
  if (temQuotas)
    MostrarQuotaActual();
  else
    Quotas->clearSelection();
}

// The current dues row stands in the entry fields.
void Base::MostrarQuotaActual() {
  const int p = Posição->value();
  if (p < 1)
    return;
  const QString &actual = Lista.ListQuotas.Em(p - 1);
  const PartesQuota partes = DividirEntrada(actual);
  Ano->setText(partes.ano);
  Quota->setText(partes.valor);
  Recibo->setText(QString::number(ValorNumérico(partes.recibo)));
  Mês->setCurrentIndex(MêsDaEntrada(actual) - 1);
}

void Base::ComandoClicado(int i) {
  switch (i) {
  case 0:
    // The search shows the member it finds: the question comes before it opens.
    if (AbrirProcura && ConfirmarAlterações()) {
      AbrirProcura();
      Nome->setFocus();
    }
    break;
  case 1:
    if (!ConfirmarAlterações())
      break;
    MostrarSócio(-1);
    Número->setFocus();
    break;
  case 2:
    EliminarSócio();
    break;
  case 3:
    GravarSócio();
    break;
  case 4:
    AdicionarQuota();
    break;
  case 5:
    AlterarQuota();
    break;
  case 6:
    ApagarQuota();
    break;
  default:
    break;
  }
}

void Base::NavegarSócio(int k) {
  if (k < 1 || k > 5)
    return;
  QAction *acção = acçõesNavegação[k - 1];
  acção->setEnabled(false);
  // On every way out: a server that does not answer makes the move fail, and the key must
  // work again once the server is back.
  const auto reactivar =
      qScopeGuard([&] { acção->setEnabled(k != 1 || bool(AbrirProcura)); });
  const QPointer<QWidget> emEdição = QApplication::focusWidget();
  TomarFoco(Comando[0]);
  if (k == 1) {
    ComandoClicado(0);
    return;
  }
  ConjuntoRegistos &sócios = *Dados().sócios;
  // Moves the member file and gives the member to show; none when the screen stays as it is:
  // the first or last member is already shown, or the move passed either end (the file is
  // then put back on the member shown, and what is typed there stays).
  const auto destino = [&]() -> std::optional<qint32> {
    // On a server the move reads the member list's keys at most, and the key of the member
    // it lands on is its number: no statements to hold together in a transaction.
    BaseDados::Leitura leitura(Dados().bd, false);
    const qint64 antes = sócios.IdActual();
    switch (k) {
    case 2:
      sócios.MoverPrimeiro();
      break;
    case 3:
      sócios.MoverAnterior();
      break;
    case 4:
      sócios.MoverSeguinte();
      break;
    default:
      sócios.MoverÚltimo();
      break;
    }
    if (sócios.InícioFicheiro() || sócios.FimFicheiro()) {
      if (SócioActual > 0)
        sócios.IrParaId(antes);
      return std::nullopt;
    }
    const auto n = qint32(sócios.Inteiro(u"Número"));
    return n != SócioActual ? std::optional(n) : std::nullopt;
  };
  const qint64 origem = sócios.IdActual();
  // A server away: told, and the screen stays on its member with what is typed there.
  const QString título = windowTitle();
  const auto voltar = [&] {
    if (emEdição && QApplication::focusWidget() == Comando[0])
      emEdição->setFocus();
  };
  std::optional<qint32> n;
  if (!ExecutarAcção(this, título, [&] { n = destino(); }))
    return voltar();
  if (!n) {
    Bip();
  } else if (Alterado()) {
    if (!ConfirmarAlterações()) {
      sócios.IrParaId(origem);
      // Kept as typed, the user goes on where they were; a refused save has put the focus
      // on the field its message names.
      return voltar();
    } else if (!Alterado()) {
      // Saved and shown: the member file now stands on the saved member (in its place, when
      // it is new), and the move starts from there.
      if (!ExecutarAcção(this, título, [&] { n = destino(); }))
        return voltar();
    }
  }
  if (n && !ExecutarAcção(this, título, [&] { MostrarSócio(*n); }))
    return voltar();
  Número->setFocus();
}

void Base::MostrarSeparador(QWidget *campo) {
  for (int i = 0; i < 3; ++i)
    if (Quadro[i]->isAncestorOf(campo))
      Separadores->setCurrentIndex(i);
  campo->setFocus();
}

static FichaSócio LerFichaDe(const QLineEdit *número, const QLineEdit *nome, const QComboBox *cp,
                             const QComboBox *sit, const QComboBox *tipo, const QLineEdit *dt,
                             const QLineEdit *val, const QLineEdit *rua, const QLineEdit *loc,
                             const QPlainTextEdit *obs, const QLineEdit *nif) {
  const auto dado = [](const QComboBox *c) {
    return c->currentIndex() >= 0 ? c->currentData().toLongLong() : qint64(0);
  };
  return FichaSócio{número->text(), nome->text(),       dado(cp),    dado(sit),
                    dado(tipo),     dt->text(),         val->text(), rua->text(),
                    loc->text(),    obs->toPlainText(), nif->text()};
}

QString Base::AvisoNif() const {
  const QString t = NIF->text().trimmed();
  return t.isEmpty() || t == u"0"_s ? QString() : MotivoNifInválido(t);
}

bool Base::GravarSócio() {
  Ampulheta ampulheta;
  // A tax number that fails the check may still be right (one from abroad): the user is asked
  // once, and the answer holds until another number is typed or another member shown.
  if (const QString motivo = AvisoNif(); !motivo.isEmpty() && NIF->text() != nifAceite) {
    Ampulheta::Seta();
    Bip();
    const Resposta r = MostrarMensagem(
        u"O NIF "_s + NIF->text().trimmed() + u" não parece válido.\n"_s + motivo +
            u"\n\nGrava o sócio com este NIF (por exemplo, um número estrangeiro)?"_s,
        Botões::SimNão, Ícone::Pergunta, TítuloGravar, this);
    if (r != Resposta::Sim) {
      MostrarSeparador(NIF);
      return false;
    }
    Ampulheta::Espera();
    nifAceite = NIF->text();
  }
  // An enrolment after today is most likely a slip of the year, and such a member is left out
  // of every arrears list and map: the user is asked once, Não being the answer to Enter.
  if (const auto inscrição = LerData(DtInscrição->text());
      inscrição && *inscrição > Hoje() && DtInscrição->text() != dataAceite) {
    Ampulheta::Seta();
    Bip();
    const Resposta r = PerguntarNãoPorOmissão(
        u"A data de inscrição "_s + FormatarData(*inscrição) + u" é posterior a hoje ("_s +
            FormatarData(Hoje()) +
            u").\nUm sócio inscrito no futuro não entra nas listas de quotas em atraso nem no "
            u"mapa anual.\n\nGrava o sócio com esta data?"_s,
        TítuloGravar, this);
    if (r != Resposta::Sim) {
      MostrarSeparador(DtInscrição);
      return false;
    }
    Ampulheta::Espera();
    dataAceite = DtInscrição->text();
  }
  const FichaSócio ficha = LerFichaDe(Número, Nome, CPostal, Situação, TipoQuota, DtInscrição,
                                      ValQuota, Rua, Localidade, Observações, NIF);
  ResultadoGravação r;
  if (!ExecutarAcção(this, TítuloGravar, [&] {
        r = GravarFicha(Dados().bd, *Dados().sócios, *Dados().quotizações, ficha, SócioActual,
                        Lista.ListQuotas, Lista.ListElimin,
                        guardadoMostrado ? &*guardadoMostrado : nullptr);
      }))
    return false;
  if (r.erro == ErroFicha::AlteradoNoutroPosto || r.erro == ErroFicha::EliminadoNoutroPosto) {
    // Kept editing: the user has been told, and the next save writes over the other desk's.
    if (!ConflitoNoutroPosto(r.erro, r.alterações, TítuloGravar))
      guardadoMostrado = r.actual;
    return false;
  }
  if (r.erro != ErroFicha::Nenhum) {
    Ampulheta::Seta();
    Bip();
    MostrarMensagem(MensagemErroFicha(r.erro), Botões::OK, Ícone::Informação, TítuloGravar, this);
    QWidget *campo = r.erro == ErroFicha::Nome    ? static_cast<QWidget *>(Nome)
                     : r.erro == ErroFicha::Data  ? static_cast<QWidget *>(DtInscrição)
                     : r.erro == ErroFicha::Valor ? static_cast<QWidget *>(ValQuota)
                                                  : static_cast<QWidget *>(Número);
    MostrarSeparador(campo);
    return false;
  }
  MostrarSócio(r.número);
  Nome->setFocus();
  return true;
}

QStringList Base::ValoresDoEcrã() const {
  const FichaSócio f = LerFichaDe(Número, Nome, CPostal, Situação, TipoQuota, DtInscrição, ValQuota,
                                  Rua, Localidade, Observações, NIF);
  // The free-text fields are squeezed when left and the number is padded: a field entered
  // and left without typing compares equal.
  QStringList v{QString::number(ValorNumérico(f.número)),
                CompactarEspaços(f.nome),
                QString::number(f.cPostal),
                QString::number(f.situação),
                QString::number(f.tipoQuota),
                f.dtInscrição,
                f.valQuota,
                CompactarEspaços(f.rua),
                CompactarEspaços(f.localidade),
                CompactarEspaços(f.observações),
                f.nif};
  // A month removed and entered again is the same list: the save writes the same rows.
  return v + Lista.ListQuotas.Entradas();
}

QString Base::SócioMostrado() const {
  return SócioActual > 0 ? u"sócio nº "_s + QString::number(SócioActual) + u" - "_s + nomeMostrado
                         : u"novo sócio"_s;
}

bool Base::ConfirmarAlterações() {
  if (!Alterado())
    return true;
  switch (MostrarMensagem(u"O "_s + SócioMostrado() +
                              u" tem alterações que não foram gravadas. Gravar agora?"_s,
                          Botões::SimNãoCancelar, Ícone::Pergunta, TítuloGravar, this)) {
  case Resposta::Sim:
    TomarFoco(Comando[3]);
    return GravarSócio();
  case Resposta::Não:
    return true;
  default:
    return false;
  }
}

void Base::EliminarSócio() {
  Ampulheta ampulheta;
  const qint64 número = ValorNumérico(Número->text());
  ConjuntoRegistos &sócios = *Dados().sócios;
  sócios.ProcurarPrimeiro(Critério::Igual(u"Número"_s, número));
  if (!sócios.SemCorrespondência()) {
    const qint32 n = qint32(sócios.Inteiro(u"Número"));
    Ampulheta::Seta();
    Bip();
    const QString texto =
        u"O Sócio nº\n"_s + QString::number(n) + u" - "_s + sócios.Texto(u"Nome").trimmed() +
        u"\nvai ser eliminado do Ficheiro de Sócios.\n\nConfirme eliminação do Sócio..."_s;
    // A stray Enter must not delete a member and all its dues.
    const Resposta resposta = PerguntarNãoPorOmissão(texto, u"Eliminar Sócio"_s, this);
    Ampulheta::Espera();
    if (resposta == Resposta::Sim) {
      ErroFicha conflito = ErroFicha::Nenhum;
      ExecutarAcção(this, u"Eliminar Sócio"_s, [&] {
        conflito = EliminarRegistos(Dados().bd, sócios, *Dados().quotizações, n,
                                    guardadoMostrado ? guardadoMostrado->versão : QString());
      });
      if (conflito != ErroFicha::Nenhum) {
        // Nothing was deleted: the screen shows the member as it is now, to be judged again.
        QStringList alterações;
        ExecutarAcção(this, u"Eliminar Sócio"_s, [&] {
          if (const auto agora = LerSócio(Dados().bd, sócios, n); agora && guardadoMostrado)
            alterações = DiferençasSócio(*guardadoMostrado, *agora);
        });
        Ampulheta::Seta();
        Bip();
        MostrarMensagem(MensagemConflito(conflito, n, nomeMostrado, alterações) +
                            (conflito == ErroFicha::EliminadoNoutroPosto
                                 ? QString()
                                 : u"Nada foi eliminado: o sócio é mostrado como está agora."_s),
                        Botões::OK, Ícone::Informação, u"Eliminar Sócio"_s, this);
        Ampulheta::Espera();
        if (conflito == ErroFicha::AlteradoNoutroPosto)
          SócioActual = n;
        else
          ExecutarAcção(this, u"Eliminar Sócio"_s, [&] {
            sócios.Reexecutar();
            SócioActual = SócioAMostrarApós(sócios, número);
          });
        MostrarSócio(SócioActual);
        Número->setFocus();
        return;
      }
    }
    SócioActual = SócioAMostrarApós(sócios, número);
  }
  MostrarSócio(SócioActual);
  Número->setFocus();
}

bool Base::ConflitoNoutroPosto(ErroFicha erro, const QStringList &alterações,
                               const QString &título) {
  Ampulheta::Seta();
  Bip();
  const bool eliminado = erro == ErroFicha::EliminadoNoutroPosto;
  const QString texto =
      MensagemConflito(erro, qint32(ValorNumérico(Número->text())), nomeMostrado, alterações) +
      u"Nada foi gravado aqui; o que escreveu continua no ecrã.\n\n"_s +
      (eliminado ? u"Mostrar o sócio seguinte, deixando de lado o que escreveu?\n(Não: continua "
                   u"a editar; gravar de novo volta a criar o sócio.)"_s
                 : u"Mostrar o sócio como está agora, deixando de lado o que escreveu?\n(Não: "
                   u"continua a editar; gravar de novo substitui o que foi gravado no outro "
                   u"posto.)"_s);
  // Não keeps what was typed: a stray Enter loses nothing.
  const bool recarregar = PerguntarNãoPorOmissão(texto, título, this) == Resposta::Sim;
  Ampulheta::Espera();
  if (!recarregar) {
    if (eliminado)
      guardadoMostrado.reset();
    return false;
  }
  const qint64 número = ValorNumérico(Número->text());
  if (eliminado) {
    ConjuntoRegistos &sócios = *Dados().sócios;
    ExecutarAcção(this, título, [&] {
      sócios.Reexecutar();
      SócioActual = SócioAMostrarApós(sócios, número);
    });
    MostrarSócio(SócioActual);
  } else {
    MostrarSócio(qint32(número));
  }
  return true;
}

std::optional<Moeda> Base::ValorDaQuota() {
  auto v = Moeda::Ler(Quota->text());
  // Never a guessed amount, nor one the field could only show cut: the user corrects it.
  if (v && v->Formatar(u"###,###,##0.00").size() > Quota->maxLength())
    v.reset();
  if (!v) {
    Bip();
    MostrarSeparador(Quota);
  }
  return v;
}

void Base::AdicionarQuota() {
  Ampulheta ampulheta;
  const auto valor = ValorDaQuota();
  if (!valor)
    return;
  const qsizetype alvo = Lista.Adicionar(
      int(ValorNumérico(Ano->text())), Mês->currentIndex(), *valor, ValorNumérico(Recibo->text()),
      [this](int mês, int ano) {
        Ampulheta::Seta();
        Bip();
        const bool sim =
            PerguntarNãoPorOmissão(u"Alterar o valor da quota e/ou o número do recibo de "_s +
                                       NomeMês(mês) + u" de "_s +
                                       FormatarNúmero(qint64(ano), u"0000") + u'?',
                                   u"Quota já Existente"_s, this) == Resposta::Sim;
        Ampulheta::Espera();
        return sim;
      });
  if (alvo > 0)
    IrParaPosição(alvo);
  Ano->setFocus();
}

void Base::AlterarQuota() {
  Ampulheta ampulheta;
  if (ÉPeríodo(Mês->currentIndex())) {
    Bip();
    Mês->setFocus();
    return;
  }
  const auto valor = ValorDaQuota();
  if (!valor || Lista.ListQuotas.Vazia())
    return;
  const auto r = Lista.Alterar(Posição->value(), int(ValorNumérico(Ano->text())),
                               Mês->currentIndex() + 1, *valor, ValorNumérico(Recibo->text()));
  if (r.repetida)
    Bip();
  IrParaPosição(r.posição);
  Ano->setFocus();
}

void Base::ApagarQuota() {
  Ampulheta ampulheta;
  if (Lista.ListQuotas.Vazia())
    return;
  const qsizetype novo = Lista.Apagar(Posição->value());
  IrParaPosição(novo);
  if (novo < 1) {
    EntradasPorOmissão();
    Quota->setText(u"0"_s);
    Recibo->clear();
  }
  Ano->setFocus();
}
