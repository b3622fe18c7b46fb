#include "Janelas.h"

#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QVBoxLayout>

Ampulheta::Ampulheta() {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}
Ampulheta::~Ampulheta() {
  QGuiApplication::restoreOverrideCursor();
}
void Ampulheta::Seta() {
  QGuiApplication::changeOverrideCursor(Qt::ArrowCursor);
}
void Ampulheta::Espera() {
  QGuiApplication::changeOverrideCursor(Qt::WaitCursor);
}

QFrame *MolduraElevada(QDialog *janela) {
  auto *moldura = new QFrame(janela);
  moldura->setFrameStyle(QFrame::Panel | QFrame::Raised);
  moldura->setLineWidth(2);
  auto *exterior = new QVBoxLayout(janela);
  exterior->setContentsMargins(0, 0, 0, 0);
  exterior->addWidget(moldura);
  return moldura;
}
