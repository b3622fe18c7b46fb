#include "ImportarSocios.h"

#include "Campos.h"
#include "Comandos.h"
#include "Dados.h"
#include "Exportacao.h"
#include "Formato.h"
#include "Janelas.h"
#include "Mensagens.h"
#include "Referencias.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString Título = u"Importar Sócios"_s;
constexpr int LinhasAmostra = 10; // the first lines shown whatever their state

QString Lista(const QString &nome, const QStringList &textos) {
  return textos.isEmpty() ? QString() : nome + u": "_s + textos.join(u", "_s) + u'\n';
}

QString Sócios(qint64 n) {
  return FormatarNúmero(n, u"#,##0") + (n == 1 ? u" sócio"_s : u" sócios"_s);
}

} // namespace

ImportarSócios::ImportarSócios(QWidget *pai, std::function<void()> aoImportarSócios)
    : QDialog(pai), aoImportar(std::move(aoImportarSócios)) {
  PrepararJanela(this, u"ImportarSócios"_s, Título);

  Ficheiro = new QLineEdit;
  Ficheiro->setObjectName(u"Ficheiro"_s);
  Ficheiro->setReadOnly(true);
  CriarComandos(Comando, {u"&Sair"_s, u"&Escolher Ficheiro..."_s, u"&Importar"_s},
                [this](int i) { ComandoClicado(i); });
  Comando[2]->setEnabled(false);
  auto *topo = new QHBoxLayout;
  auto *rótulo = new QLabel(u"&Ficheiro"_s);
  rótulo->setBuddy(Ficheiro);
  topo->addWidget(rótulo);
  topo->addWidget(Ficheiro, 1);
  topo->addWidget(Comando[1]);

  auto *colunas = new QGroupBox(u"Colunas do ficheiro"_s);
  auto *grelha = new QGridLayout(colunas);
  for (int d = 0; d < NúmeroDestinos; ++d) {
    Coluna[d] = new QComboBox;
    Coluna[d]->setObjectName(u"Coluna_"_s + QString::number(d));
    Coluna[d]->setMinimumContentsLength(16);
    Coluna[d]->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(Coluna[d], &QComboBox::currentIndexChanged, this, [this] {
      if (!preenchendo)
        Verificar();
    });
    const int linha = d % 6, par = d / 6 * 2;
    auto *nome = new QLabel(NomeDestino(Destino(d)));
    nome->setBuddy(Coluna[d]);
    grelha->addWidget(nome, linha, par);
    grelha->addWidget(Coluna[d], linha, par + 1);
  }
  grelha->setColumnStretch(1, 1);
  grelha->setColumnStretch(3, 1);

  Amostra = new QTableWidget(0, NúmeroDestinos + 2);
  Amostra->setObjectName(u"Amostra"_s);
  Amostra->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Amostra->verticalHeader()->hide();
  QStringList títulos{u"Linha"_s};
  for (int d = 0; d < NúmeroDestinos; ++d)
    títulos << NomeDestino(Destino(d));
  títulos << u"Motivo da recusa"_s;
  Amostra->setHorizontalHeaderLabels(títulos);
  Amostra->setMinimumSize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 14);
  Resumo = new QLabel;
  Resumo->setObjectName(u"Resumo"_s);
  Resumo->setWordWrap(true);

  auto *botões = new QHBoxLayout;
  botões->addStretch();
  botões->addWidget(Comando[2]);
  botões->addWidget(Comando[0]);
  auto *janela = new QVBoxLayout(this);
  janela->addLayout(topo);
  janela->addWidget(colunas);
  janela->addWidget(Amostra, 1);
  janela->addWidget(Resumo);
  janela->addLayout(botões);

  EncadearTabulação({Comando[1], Coluna[0], Coluna[1], Coluna[2], Coluna[3], Coluna[4], Coluna[5],
                     Coluna[6], Coluna[7], Coluna[8], Coluna[9], Coluna[10], Amostra, Comando[2],
                     Comando[0]});
  Resumo->setText(u"Escolha o ficheiro a importar: um texto com um sócio por linha e os campos "
                  u"separados por «;» ou «,» (CSV), com os nomes das colunas na primeira linha."_s);
  Comando[1]->setFocus();
  CentrarJanela(this, pai);
}

void ImportarSócios::ComandoClicado(int i) {
  if (i == 0)
    reject();
  else if (i == 1)
    EscolherFicheiro();
  else if (i == 2)
    Importar();
}

void ImportarSócios::EscolherFicheiro() {
  const QString início = Ficheiro->text().isEmpty() ? QFileInfo(Dados().bd.Caminho()).absolutePath()
                                                    : QFileInfo(Ficheiro->text()).absolutePath();
  const QString escolhido =
      EscolherFicheiroParaLer(this, u"Escolher o ficheiro a importar"_s, início,
                              u"Ficheiros CSV (*.csv *.txt);;Todos os ficheiros (*)"_s);
  if (!escolhido.isEmpty())
    AbrirFicheiro(escolhido);
}

bool ImportarSócios::AbrirFicheiro(const QString &caminho) {
  QFile f(caminho);
  if (!f.open(QIODevice::ReadOnly)) {
    Bip();
    MostrarMensagem(u"Não foi possível ler o ficheiro «"_s + QDir::toNativeSeparators(caminho) +
                        u"»."_s,
                    Botões::OK, Ícone::Exclamação, Título, this, f.errorString());
    return false;
  }
  if (f.size() == 0) {
    Bip();
    MostrarMensagem(u"O ficheiro «"_s + QDir::toNativeSeparators(caminho) +
                        u"» está vazio (0 bytes): não tem sócios para importar."_s,
                    Botões::OK, Ícone::Exclamação, Título, this);
    return false;
  }
  {
    Ampulheta ampulheta;
    tabela = LerCsv(f.readAll());
  }
  Ficheiro->setText(QDir::toNativeSeparators(caminho));
  const Mapeamento m = AdivinharMapeamento(tabela.cabeçalho);
  preenchendo = true;
  for (int d = 0; d < NúmeroDestinos; ++d) {
    Coluna[d]->clear();
    Coluna[d]->addItem(u"(nenhuma)"_s, -1);
    for (int k = 0; k < tabela.cabeçalho.size(); ++k)
      Coluna[d]->addItem(
          tabela.cabeçalho[k].isEmpty() ? u"Coluna %1"_s.arg(k + 1) : tabela.cabeçalho[k], k);
    Coluna[d]->setCurrentIndex(m[d] + 1);
  }
  preenchendo = false;
  Verificar();
  return true;
}

void ImportarSócios::Verificar() {
  Mapeamento m;
  for (int d = 0; d < NúmeroDestinos; ++d)
    m[d] = Coluna[d]->currentData().toInt();
  verificação = {};
  Ampulheta ampulheta;
  ExecutarAcção(this, Título,
                [&] { verificação = VerificarLinhas(Dados().bd, tabela, m, Listas()); });
  Mostrar();
}

void ImportarSócios::Mostrar() {
  QHash<int, QString> recusadas, avisadas;
  for (const Recusa &r : verificação.recusas)
    recusadas.insert(r.linha, r.motivo);
  for (const Recusa &r : verificação.avisos)
    avisadas.insert(r.linha, r.motivo);
  Amostra->setUpdatesEnabled(false);
  std::vector<size_t> mostradas;
  for (size_t i = 0; i < tabela.linhas.size(); ++i)
    if (int(i) < LinhasAmostra || recusadas.contains(tabela.númerosLinha[i]) ||
        avisadas.contains(tabela.númerosLinha[i]))
      mostradas.push_back(i);
  Amostra->clearContents();
  Amostra->setRowCount(int(mostradas.size()));
  const QColor recusada(255, 210, 210), avisada(255, 240, 170);
  for (int r = 0; r < int(mostradas.size()); ++r) {
    const QStringList &campos = tabela.linhas[mostradas[size_t(r)]];
    const int linha = tabela.númerosLinha[mostradas[size_t(r)]];
    const QString motivo = recusadas.value(linha);
    const QString aviso = avisadas.value(linha);
    QStringList textos{QString::number(linha)};
    for (int d = 0; d < NúmeroDestinos; ++d) {
      const int k = Coluna[d]->currentData().toInt();
      textos << (k >= 0 && k < campos.size() ? campos[k].trimmed() : QString());
    }
    textos << (motivo.isEmpty() ? aviso : motivo);
    for (int c = 0; c < textos.size(); ++c) {
      auto *item = new QTableWidgetItem(textos[c]);
      // Painted rows get a text colour that reads on them, whatever the desktop's theme.
      if (!motivo.isEmpty() || !aviso.isEmpty()) {
        item->setBackground(motivo.isEmpty() ? avisada : recusada);
        item->setForeground(QColor(0, 0, 0));
      }
      Amostra->setItem(r, c, item);
    }
  }
  Amostra->resizeColumnsToContents();
  Amostra->setUpdatesEnabled(true);

  const int n = verificação.linhas;
  const int recusas = int(verificação.recusas.size());
  QString texto;
  if (n == 0)
    texto = u"O ficheiro não tem sócios: depois da linha com os nomes das colunas não há "
            u"nenhuma linha com dados."_s;
  else if (recusas > 0)
    texto = u"%1 linhas: %2 podem ser importadas, %3 são recusadas (a vermelho). Corrija as "
            u"linhas recusadas, ou as colunas escolhidas, e escolha o ficheiro de novo: "
            u"nenhum sócio é importado enquanto houver linhas recusadas."_s.arg(n)
                .arg(verificação.aceites.size())
                .arg(recusas);
  else
    texto = u"%1 linhas: todas podem ser importadas."_s.arg(n);
  if (!verificação.avisos.empty())
    texto += u" NIF cujo algarismo de controlo não confere: %1 (a amarelo). São importados "
             u"como estão; confirme-os na ficha de cada sócio."_s.arg(verificação.avisos.size());
  if (tabela.windows1252)
    texto += u" (Texto lido em Windows-1252.)"_s;
  Resumo->setText(texto);
  Comando[2]->setEnabled(recusas == 0 && !verificação.aceites.empty());
}

void ImportarSócios::Importar() {
  if (verificação.aceites.empty() || !verificação.recusas.empty())
    return;
  const ReferênciasNovas &novas = verificação.novas;
  if (!novas.Vazias()) {
    const QString pergunta = u"O ficheiro tem textos que ainda não estão nas tabelas:\n\n"_s +
                             Lista(u"Códigos postais"_s, novas.códigosPostais) +
                             Lista(u"Situações"_s, novas.situações) +
                             Lista(u"Tipos de quota"_s, novas.tiposQuota) +
                             u"\nDeseja acrescentá-los às tabelas e importar os sócios?\n"
                             u"(Respondendo «Não», nenhum sócio é importado.)"_s;
    if (MostrarMensagem(pergunta, Botões::SimNão, Ícone::Pergunta, Título, this) != Resposta::Sim)
      return;
  }
  int gravados = 0;
  {
    Ampulheta ampulheta;
    if (!ExecutarAcção(this, Título, [&] {
          gravados = GravarImportação(Dados().bd, *Dados().sócios, *Dados().tabelas, verificação,
                                      Listas());
        }))
      return;
    if (!novas.Vazias()) {
      RecarregarListas();
      if (aoImportar)
        aoImportar();
    }
  }
  MostrarMensagem(u"Foram importados "_s + Sócios(gravados) + u" do ficheiro «"_s +
                      Ficheiro->text() + u"»."_s,
                  Botões::OK, Ícone::Informação, Título, this);
  accept();
}
