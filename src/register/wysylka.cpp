#include "register/wysylka.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zelt {

TWysylka::TWysylka(QWidget* parent) : platform::ModalForm(parent) {
  setObjectName("Wysylka");
  setWindowTitle(QString::fromUtf8("Raport o wysyłce"));
  resize(420, 300);
  auto* lay = new QVBoxLayout(this);
  Pliki = new QPlainTextEdit(this);
  Pliki->setObjectName("Pliki");
  Pliki->setReadOnly(true);
  lay->addWidget(Pliki, 1);
  auto* przyciski = new QHBoxLayout();
  przyciski->addStretch(1);
  Wyslij = new QPushButton(QStringLiteral("Zamknij"), this);
  Wyslij->setObjectName("Wyslij");
  pomin = new QPushButton(QString::fromUtf8("Pomiń"), this);
  pomin->setObjectName("pomin");
  Anuluj = new QPushButton(QStringLiteral("Anuluj"), this);
  Anuluj->setObjectName("Anuluj");
  for (QPushButton* b : {Wyslij, pomin, Anuluj}) {
    b->setAutoDefault(false);
    przyciski->addWidget(b);
  }
  lay->addLayout(przyciski);
  connect(Wyslij, &QPushButton::clicked, this, [this] { WyslijClick(); });
  connect(pomin, &QPushButton::clicked, this, [this] { pominClick(); });
  connect(Anuluj, &QPushButton::clicked, this, [this] { AnulujClick(); });
  wyczysc();
}

void TWysylka::wyczysc() {
  Pliki->clear();
  for (QPushButton* b : {Wyslij, pomin, Anuluj}) b->setVisible(false);
}

void TWysylka::dodaj(const QString& linia) {
  Pliki->appendPlainText(linia);
  if (isVisible()) Pliki->repaint();
}

void TWysylka::WyslijClick() { setModalResult(closeResult()); }
void TWysylka::pominClick() { setModalResult(kPomin); }
void TWysylka::AnulujClick() { setModalResult(platform::mrOk); }

}  // namespace zelt
