#include "Base.h"

#include "Dados.h"

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

Base::Base(QWidget *pai) : QMainWindow(pai) {
  setObjectName(u"Base"_s);
  setWindowTitle(u"Ficheiro de Sócios e Quotizações"_s);
  auto *centro = new QWidget(this);
  auto *l = new QVBoxLayout(centro);
  auto *ficheiro =
      new QLabel(u"Ficheiro: "_s + QDir::toNativeSeparators(Dados().bd.Caminho()), centro);
  ficheiro->setObjectName(u"Ficheiro"_s);
  auto *sócios =
      new QLabel(u"Sócios no ficheiro: "_s +
                     QString::number(Dados().sócios ? Dados().sócios->NúmeroRegistos() : 0),
                 centro);
  sócios->setObjectName(u"Socios"_s);
  l->addWidget(ficheiro);
  l->addWidget(sócios);
  l->addStretch();
  setCentralWidget(centro);
  resize(640, 420);
}

void Base::closeEvent(QCloseEvent *e) {
  QMainWindow::closeEvent(e);
  if (e->isAccepted() && AoFechar)
    AoFechar();
}
