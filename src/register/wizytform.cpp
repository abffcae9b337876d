#include "register/wizytform.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/edits.h"
#include "platform/shell.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "settings/firmaform.h"

namespace zelt {

const char* const kAutor = "Tarvo";
const char* const kAdresAutora = "ul. Przykładowa 1, 00-001 Warszawa";
const char* const kStronaAutora = "http://www.tarvo.pl";
const char* const kEmailAutora = "zelt@tarvo.pl";

TwizytForm::TwizytForm(Program& program) : program_(program), logowanie_(program.stanHasel) {
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
  Wersja = new QLabel(QStringLiteral("Wersja 1.34"), this);
  Wersja->setAlignment(Qt::AlignCenter);
  akcja = new QLabel(QStringLiteral("Rozpoczęto ładowanie danych"), this);
  akcja->setObjectName("akcja");
  akcja->setMinimumWidth(420);

  uzytkownik = new QGroupBox(QStringLiteral("Użytkownik "), this);
  auto* ug = new QVBoxLayout(uzytkownik);
  NazUzyt = new QLabel(uzytkownik);
  NipLab = new QLabel(QStringLiteral("NIP :"), uzytkownik);
  NipUzyt = new QLabel(uzytkownik);
  RegLab = new QLabel(QStringLiteral("REGON :"), uzytkownik);
  RegUzyt = new QLabel(uzytkownik);
  ug->addWidget(NazUzyt);
  // Each number right beside its label; the room left over goes to the end of the line.
  auto* numery = new QHBoxLayout;
  numery->addWidget(NipLab);
  numery->addWidget(NipUzyt);
  numery->addSpacing(24);
  numery->addWidget(RegLab);
  numery->addWidget(RegUzyt);
  numery->addStretch(1);
  ug->addLayout(numery);
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
  haslo->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  haslo->installEventFilter(this);
  platform::guardEdit(haslo);
  ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName("ok");
  ok->setVisible(false);
  ok->installEventFilter(this);
  connect(ok, &QPushButton::clicked, this, [this] { setModalResult(platform::mrOk); });
  // The maker's web page and mail open from their labels.
  for (QLabel* l : {StronaTarvo, EmailTarvo}) {
    l->setCursor(Qt::PointingHandCursor);
    l->installEventFilter(this);
  }

  lay->addWidget(tytul);
  lay->addWidget(Wersja);
  lay->addWidget(uzytkownik);
  lay->addWidget(autor);
  lay->addWidget(akcja);
  lay->addWidget(WyborIO);
  lay->addWidget(Wybierz);
  lay->addWidget(wprhas);
  lay->addWidget(haslo);
  lay->addWidget(ok, 0, Qt::AlignHCenter);
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

namespace {

// The passwords and names that the sign-in compares, as the institution window holds them now.
DaneLogowania daneLogowania(const TFirmaForm* f) {
  DaneLogowania d;
  if (!f) return d;
  auto cp = [](const QLineEdit* e) { return cp1250::fromUnicode(e->text()); };
  d.haAdmin = cp(f->HaAdmin);
  d.os1 = {cp(f->ImOs1IO), cp(f->NaOs1IO), cp(f->StOs1IO), cp(f->HaOs1IO)};
  d.os2 = {cp(f->ImOs2IO), cp(f->NaOs2IO), cp(f->StOs2IO), cp(f->HaOs2IO)};
  return d;
}

}  // namespace

int TwizytForm::zaloguj() {
  for (QWidget* w : {static_cast<QWidget*>(wprhas), static_cast<QWidget*>(haslo), static_cast<QWidget*>(NazUzyt),
                     static_cast<QWidget*>(NipLab), static_cast<QWidget*>(NipUzyt), static_cast<QWidget*>(RegLab),
                     static_cast<QWidget*>(RegUzyt)})
    w->setVisible(true);
  wprhas->setText(cp1250::toQ(logowanie_.wprhas()));
  haslo->clear();
  haslo->setFocus();
  logowanieTrwa_ = true;
  const int r = program_.svc.dialogs.showModal(*this);
  logowanieTrwa_ = false;
  // The splash serves later as the about box: nothing of the sign-in stays on it.
  haslo->clear();
  wprhas->setVisible(false);
  haslo->setVisible(false);
  return r;
}

void TwizytForm::FormKeyDown(int key) {
  if (!logowanieTrwa_) return;
  if (key == Qt::Key_Escape) {
    setModalResult(platform::mrCancel);
    return;
  }
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return;
  const auto wynik = logowanie_.enter(cp1250::fromUnicode(haslo->text()), daneLogowania(program_.firma()));
  if (const auto& nowe = logowanie_.doZapisu()) {
    if (const auto blad = zapiszHaslo(program_.svc.reg, program_.aktualneIO, *nowe))
      program_.svc.dialogs.messageBox(QString::fromUtf8("Błąd zapisu hasła\n") + QString::fromUtf8(*blad),
                                      QApplication::applicationName(), platform::MsgButtons::Ok,
                                      platform::MsgIcon::Error);
    // The edit holds the password for the rest of the run, and the save-all step writes it again.
    if (TFirmaForm* f = program_.firma()) f->edycjaHasla(nowe->rola)->setText(cp1250::toQ(nowe->haslo));
  }
  wprhas->setText(cp1250::toQ(logowanie_.wprhas()));
  if (logowanie_.wyczyscHaslo()) haslo->clear();
  if (wynik == Logowanie::Wynik::Ok) {
    program_.zalogowany = logowanie_.zalogowany();
    program_.administrator = logowanie_.administrator();
    program_.panelZalogowany = cp1250::toQ(logowanie_.panel());
    setModalResult(platform::mrOk);
  } else if (wynik == Logowanie::Wynik::Anuluj) {
    setModalResult(platform::mrCancel);
  }
}

void TwizytForm::oProgramie(int kontekstPomocy) {
  wprhas->setVisible(false);
  haslo->setVisible(false);
  ok->setVisible(true);
  ok->setDefault(true);
  ok->setFocus();
  pomocOProgramie_ = kontekstPomocy;
  program_.svc.dialogs.showModal(*this);
  ok->setVisible(false);
}

bool TwizytForm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == StronaTarvo || watched == EmailTarvo) && event->type() == QEvent::MouseButtonRelease) {
    if (TglownyForm* g = program_.glowny()) watched == StronaTarvo ? g->StronaTarvo() : g->EmailTarvo();
    return true;
  }
  if (watched == ok && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    program_.pomoc(pomocOProgramie_);
    return true;
  }
  if (watched == haslo && logowanieTrwa_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_F1) {
      program_.pomoc(kHelpLogowania);
      return true;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
      FormKeyDown(key);
      return true;
    }
  }
  return platform::ModalForm::eventFilter(watched, event);
}

}  // namespace zelt
