#include "register/wizytform.h"

#include <QApplication>
#include <QGridLayout>
#include <QVBoxLayout>

#include "register/program.h"

namespace zelt {

const char* const kAutor = "Tarvo";
const char* const kAdresAutora = "ul. Przykładowa 1, 00-001 Warszawa";
const char* const kStronaAutora = "http://www.tarvo.pl";
const char* const kEmailAutora = "zelt@tarvo.pl";

TwizytForm::TwizytForm(Program& program) : program_(program) {
  setObjectName("wizytForm");
  setWindowTitle(QStringLiteral("Program Rejestr Transakcji ZELT"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  auto* lay = new QVBoxLayout(this);
  tytul = new QLabel(QStringLiteral("Program Rejestr Transakcji ZELT"), this);
  QFont f = tytul->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  tytul->setFont(f);
  tytul->setAlignment(Qt::AlignCenter);
  wersja = new QLabel(QStringLiteral("Wersja 1.34"), this);
  wersja->setAlignment(Qt::AlignCenter);
  akcja = new QLabel(QStringLiteral("Rozpoczęto ładowanie danych"), this);
  akcja->setObjectName("akcja");
  akcja->setMinimumWidth(420);

  uzytkownik = new QGroupBox(QStringLiteral("Użytkownik "), this);
  auto* ug = new QGridLayout(uzytkownik);
  NazUzyt = new QLabel(uzytkownik);
  NipLab = new QLabel(QStringLiteral("NIP :"), uzytkownik);
  NipUzyt = new QLabel(uzytkownik);
  RegLab = new QLabel(QStringLiteral("REGON :"), uzytkownik);
  RegUzyt = new QLabel(uzytkownik);
  ug->addWidget(NazUzyt, 0, 0, 1, 4);
  ug->addWidget(NipLab, 1, 0);
  ug->addWidget(NipUzyt, 1, 1);
  ug->addWidget(RegLab, 1, 2);
  ug->addWidget(RegUzyt, 1, 3);
  for (QWidget* w : {static_cast<QWidget*>(NazUzyt), static_cast<QWidget*>(NipLab), static_cast<QWidget*>(NipUzyt),
                     static_cast<QWidget*>(RegLab), static_cast<QWidget*>(RegUzyt)})
    w->setVisible(false);

  autor = new QGroupBox(QStringLiteral("Autor "), this);
  auto* ag = new QVBoxLayout(autor);
  ag->addWidget(new QLabel(QString::fromUtf8(kAutor), autor));
  ag->addWidget(new QLabel(QString::fromUtf8(kAdresAutora), autor));
  StronaTarvo = new QLabel(QString::fromUtf8(kStronaAutora), autor);
  EmailTarvo = new QLabel(QString::fromUtf8(kEmailAutora), autor);
  ag->addWidget(StronaTarvo);
  ag->addWidget(EmailTarvo);

  WyborIO = new QComboBox(this);
  WyborIO->setObjectName("WyborIO");
  WyborIO->setVisible(false);
  Wybierz = new QPushButton(QStringLiteral("&Wybierz"), this);
  Wybierz->setObjectName("Wybierz");
  Wybierz->setVisible(false);
  connect(Wybierz, &QPushButton::clicked, this, [this] { WybierzClick(); });
  connect(WyborIO, &QComboBox::currentIndexChanged, this, [this](int i) { Wybierz->setEnabled(i >= 0); });

  wprhas = new QLabel(QStringLiteral("Wprowadź hasło : "), this);
  wprhas->setVisible(false);
  haslo = new QLineEdit(this);
  haslo->setObjectName("haslo");
  haslo->setEchoMode(QLineEdit::Password);
  haslo->setMaxLength(10);
  haslo->setVisible(false);

  lay->addWidget(tytul);
  lay->addWidget(wersja);
  lay->addWidget(uzytkownik);
  lay->addWidget(autor);
  lay->addWidget(akcja);
  lay->addWidget(WyborIO);
  lay->addWidget(Wybierz);
  lay->addWidget(wprhas);
  lay->addWidget(haslo);
}

void TwizytForm::pokazAkcje(const QString& line) {
  akcja->setText(line);
  if (isVisible()) {
    akcja->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
}

void TwizytForm::WybierzClick() {
  if (WyborIO->currentIndex() < 0) return;  // nothing chosen: the button stays without effect
  setModalResult(platform::mrOk);
}

}  // namespace zelt
