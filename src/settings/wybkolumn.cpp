#include "settings/wybkolumn.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/cp1250.h"

namespace zelt {

// ---- the rules of one page ----

WyborKolumn::WyborKolumn(DefinicjeKolumn& defs, Strona strona) : defs_(defs), strona_(strona) {}

void WyborKolumn::zbuduj() {
  wyb_ = defs_.wKolejnosci(strona_);
  poz_.clear();
  for (int i = 1; i <= kIloscKolumn; ++i)
    if (defs_[i].pozycja(strona_) == 0) poz_.push_back(i);
  zaznWyb_ = wyb_.empty() ? -1 : 0;
  zaznPoz_ = -1;
  btn_ = Przyciski{};
  btn_.usun = usunMozliwe();
  btn_.wprow = !poz_.empty();
  ustawGoraDol();
  pokazany_ = 0;
  pokazWyb();
}

void WyborKolumn::zaznaczWyb(int i) { zaznWyb_ = i >= 0 && i < static_cast<int>(wyb_.size()) ? i : -1; }
void WyborKolumn::zaznaczPoz(int i) { zaznPoz_ = i >= 0 && i < static_cast<int>(poz_.size()) ? i : -1; }

bool WyborKolumn::lpPrzypiete() const { return strona_ == Strona::Wyglad && !wyb_.empty() && wyb_[0] == kSlotLp; }

bool WyborKolumn::usunMozliwe() const { return !wyb_.empty() && !(lpPrzypiete() && zaznWyb_ == 0); }

void WyborKolumn::ustawGoraDol() {
  const int n = static_cast<int>(wyb_.size());
  const int p = pierwszyRuchomy();
  btn_.gora = zaznWyb_ > p;
  btn_.dol = zaznWyb_ >= p && zaznWyb_ < n - 1;
}

void WyborKolumn::pokazWyb() {
  if (zaznWyb_ >= 0) pokazany_ = wyb_[static_cast<std::size_t>(zaznWyb_)];
}

void WyborKolumn::pokazPoz() {
  if (zaznPoz_ >= 0) pokazany_ = poz_[static_cast<std::size_t>(zaznPoz_)];
}

WyborKolumn::Pokaz WyborKolumn::pokaz() const {
  Pokaz p;
  if (pokazany_ == 0) return p;
  const TDefinicjaKolumny& d = defs_[pokazany_];
  p.grupa = tytulGrupy(d.grupa);
  p.nazwa = d.nazwa;
  p.szerokosc = szerokosc(d.szer(strona_));
  p.prawo = doPrawej(d.szer(strona_));
  return p;
}

bool WyborKolumn::szerokoscDostepna() const {
  return zaznWyb_ >= 0 && pokazany_ == wyb_[static_cast<std::size_t>(zaznWyb_)];
}

void WyborKolumn::wybKlik() {
  pokazWyb();
  ustawGoraDol();
  btn_.usun = usunMozliwe();
}

void WyborKolumn::pozKlik() { pokazPoz(); }

void WyborKolumn::WybEnter() {
  btn_.wprow = false;
  ustawGoraDol();
  btn_.usun = usunMozliwe();
  pokazWyb();
}

void WyborKolumn::PozEnter() {
  btn_.gora = btn_.dol = btn_.usun = false;
  btn_.wprow = !poz_.empty();
  pokazPoz();
}

void WyborKolumn::WprowClick() {
  if (zaznPoz_ < 0) return;
  const int n = static_cast<int>(wyb_.size());
  int gdzie = zaznWyb_ >= 0 ? zaznWyb_ : n;
  if (gdzie < pierwszyRuchomy()) gdzie = pierwszyRuchomy();
  wyb_.insert(wyb_.begin() + gdzie, poz_[static_cast<std::size_t>(zaznPoz_)]);
  // The selected chosen column stays selected.
  if (zaznWyb_ >= gdzie) ++zaznWyb_;

  poz_.erase(poz_.begin() + zaznPoz_);
  if (zaznPoz_ >= static_cast<int>(poz_.size())) zaznPoz_ = static_cast<int>(poz_.size()) - 1;
  pokazPoz();
  if (poz_.empty()) btn_.wprow = false;
  ustawGoraDol();
}

void WyborKolumn::UsunClick() {
  if (zaznWyb_ < 0 || (lpPrzypiete() && zaznWyb_ == 0)) return;
  poz_.push_back(wyb_[static_cast<std::size_t>(zaznWyb_)]);
  zaznPoz_ = static_cast<int>(poz_.size()) - 1;

  wyb_.erase(wyb_.begin() + zaznWyb_);
  if (zaznWyb_ >= static_cast<int>(wyb_.size())) zaznWyb_ = static_cast<int>(wyb_.size()) - 1;
  pokazWyb();
  btn_.usun = usunMozliwe();
  ustawGoraDol();
}

void WyborKolumn::goraClick() {
  if (zaznWyb_ <= pierwszyRuchomy()) return;
  std::swap(wyb_[static_cast<std::size_t>(zaznWyb_)], wyb_[static_cast<std::size_t>(zaznWyb_ - 1)]);
  --zaznWyb_;
  ustawGoraDol();
  pokazWyb();
}

void WyborKolumn::DolClick() {
  if (zaznWyb_ < pierwszyRuchomy() || zaznWyb_ >= static_cast<int>(wyb_.size()) - 1) return;
  std::swap(wyb_[static_cast<std::size_t>(zaznWyb_)], wyb_[static_cast<std::size_t>(zaznWyb_ + 1)]);
  ++zaznWyb_;
  ustawGoraDol();
  pokazWyb();
}

void WyborKolumn::SzerChange(int wartosc, bool prawo) {
  if (!szerokoscDostepna()) return;
  defs_[pokazany_].szer(strona_) = kodujSzerokosc(wartosc, prawo);
}

void WyborKolumn::przebudujPozycje() {
  for (int i = 1; i <= kIloscKolumn; ++i) defs_[i].pozycja(strona_) = 0;
  for (std::size_t k = 0; k < wyb_.size(); ++k) defs_[wyb_[k]].pozycja(strona_) = static_cast<std::uint8_t>(k + 1);
}

// ---- the page ----

namespace {

int zaznaczony(const QListWidget* l) {
  const auto items = l->selectedItems();
  return items.isEmpty() ? -1 : l->row(items.first());
}

QPushButton* przycisk(QWidget* parent, const char* name, const char* caption, const char* hint) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(QString::fromUtf8(hint));
  b->setEnabled(false);
  // A click leaves the focus in the list, so that disabling the button moves no focus and the
  // list's Enter handler does not run behind the user's back.
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

}  // namespace

TWybKolumn::TWybKolumn(DefinicjeKolumn& defs, Strona strona, QWidget* parent)
    : QWidget(parent), model_(defs, strona), defs_(defs) {
  const bool ekran = strona == Strona::Wyglad;
  const char* s = ekran ? "Wyg" : "Wyd";
  auto nazwa = [&](const char* base) { return QString::fromLatin1(base) + QString::fromLatin1(s); };
  setObjectName(ekran ? QStringLiteral("StronaWyg") : QStringLiteral("StronaWyd"));

  Wyb = new QListWidget(this);
  Wyb->setObjectName(nazwa("Wyb"));
  Poz = new QListWidget(this);
  Poz->setObjectName(nazwa("Poz"));
  for (QListWidget* l : {Wyb, Poz}) {
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->installEventFilter(this);
  }
  Wprow = przycisk(this, ekran ? "WprowWyg" : "WprowWyd", "<-", "Dodanie kolumny");
  Usun = przycisk(this, ekran ? "UsunWyg" : "UsunWyd", "->", "Usunięcie kolumny");
  Gora = przycisk(this, ekran ? "goraWyg" : "GoraWyd", "W &górę", "Przesunięcie kolumny do przodu tablei");
  Dol = przycisk(this, ekran ? "DolWyg" : "DolWyd", "W &dół", "Przesunięcie kolumny w tył tabeli");

  Szer = new QSpinBox(this);
  Szer->setObjectName(nazwa("Szer"));
  Szer->setRange(15, 250);
  Szer->setSingleStep(5);
  Szer->setValue(60);
  Szer->setToolTip(QStringLiteral("Szerokość kolumny"));
  // The value is taken when the user leaves the field or steps it, and a typed value outside the
  // range is brought to the nearest bound.
  Szer->setKeyboardTracking(false);
  Szer->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  Wyr = new QCheckBox(QStringLiteral("Wyrównywanie w prawo"), this);
  Wyr->setObjectName(nazwa("Wyr"));
  Wyr->setToolTip(QStringLiteral("Wyrównywanie kolumny do prawej krawędzi"));
  Gru = new QLabel(this);
  Gru->setObjectName(nazwa("Gru"));
  Naz = new QLabel(this);
  Naz->setObjectName(nazwa("Naz"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("Wybrane kolumny :"), this), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Pozostałe kolumny :"), this), 0, 2);
  grid->addWidget(Wyb, 1, 0);
  auto* przyciski = new QVBoxLayout;
  przyciski->addStretch();
  for (QPushButton* b : {Wprow, Usun, Gora, Dol}) przyciski->addWidget(b);
  przyciski->addStretch();
  grid->addLayout(przyciski, 1, 1);
  grid->addWidget(Poz, 1, 2);
  grid->addWidget(Gru, 2, 0, 1, 3);
  grid->addWidget(Naz, 3, 0, 1, 3);
  auto* szer = new QHBoxLayout;
  auto* etykieta = new QLabel(QStringLiteral("Szerokość"), this);
  etykieta->setBuddy(Szer);
  szer->addWidget(etykieta);
  szer->addWidget(Szer);
  szer->addSpacing(20);
  szer->addWidget(Wyr);
  szer->addStretch();
  grid->addLayout(szer, 4, 0, 1, 3);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(2, 1);

  connect(Wyb, &QListWidget::pressed, this, [this] { WybMouseDown(); });
  connect(Poz, &QListWidget::pressed, this, [this] { PozMouseDown(); });
  connect(Wprow, &QPushButton::clicked, this, [this] { WprowClick(); });
  connect(Usun, &QPushButton::clicked, this, [this] { UsunClick(); });
  connect(Gora, &QPushButton::clicked, this, [this] { goraClick(); });
  connect(Dol, &QPushButton::clicked, this, [this] { DolClick(); });
  // Showing a definition sets these two with their signals blocked, so only the user's own
  // changes arrive here.
  connect(Szer, &QSpinBox::valueChanged, this, [this] { SzerChange(); });
  connect(Wyr, &QCheckBox::clicked, this, [this] { WyrClick(); });
  odswiez();
}

void TWybKolumn::zbudujListy() {
  model_.zbuduj();
  odswiez();
}

bool TWybKolumn::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Wyb || watched == Poz) {
    const bool wyb = watched == Wyb;
    if (event->type() == QEvent::FocusIn) wyb ? WybEnter() : PozEnter();
    if (event->type() == QEvent::KeyRelease) wyb ? WybKeyUp() : PozKeyUp();
  }
  return QWidget::eventFilter(watched, event);
}

void TWybKolumn::wykonaj(void (WyborKolumn::*operacja)()) {
  // The rules start from the selections the user left in the two lists.
  model_.zaznaczWyb(zaznaczony(Wyb));
  model_.zaznaczPoz(zaznaczony(Poz));
  (model_.*operacja)();
  odswiez();
}

void TWybKolumn::WybMouseDown() { wykonaj(&WyborKolumn::WybMouseDown); }
void TWybKolumn::WybKeyUp() { wykonaj(&WyborKolumn::WybKeyUp); }
void TWybKolumn::PozMouseDown() { wykonaj(&WyborKolumn::PozMouseDown); }
void TWybKolumn::PozKeyUp() { wykonaj(&WyborKolumn::PozKeyUp); }
void TWybKolumn::WybEnter() { wykonaj(&WyborKolumn::WybEnter); }
void TWybKolumn::PozEnter() { wykonaj(&WyborKolumn::PozEnter); }
void TWybKolumn::WprowClick() { wykonaj(&WyborKolumn::WprowClick); }
void TWybKolumn::UsunClick() { wykonaj(&WyborKolumn::UsunClick); }
void TWybKolumn::goraClick() { wykonaj(&WyborKolumn::goraClick); }
void TWybKolumn::DolClick() { wykonaj(&WyborKolumn::DolClick); }

void TWybKolumn::SzerChange() { model_.SzerChange(Szer->value(), Wyr->isChecked()); }
void TWybKolumn::WyrClick() { model_.SzerChange(Szer->value(), Wyr->isChecked()); }

void TWybKolumn::PokazPole() {
  const WyborKolumn::Pokaz p = model_.pokaz();
  const QSignalBlocker b1(Szer), b2(Wyr);
  if (model_.pokazany() != 0) {
    Gru->setText(cp1250::toQ(p.grupa));
    Naz->setText(cp1250::toQ(p.nazwa));
    Szer->setValue(p.szerokosc);
    Wyr->setChecked(p.prawo);
  }
  const bool dostepna = model_.szerokoscDostepna();
  Szer->setEnabled(dostepna);
  Wyr->setEnabled(dostepna);
}

void TWybKolumn::odswiez() {
  // The lists carry the definition numbers; they are refilled only when their content changed,
  // so that the user's scroll position stays.
  auto napelnij = [this](QListWidget* l, const std::vector<int>& numery, int zazn) {
    const QSignalBlocker blok(l);
    bool tenSam = l->count() == static_cast<int>(numery.size());
    for (int r = 0; tenSam && r < l->count(); ++r)
      tenSam = l->item(r)->data(Qt::UserRole).toInt() == numery[static_cast<std::size_t>(r)];
    if (!tenSam) {
      l->clear();
      for (int i : numery) {
        auto* item = new QListWidgetItem(cp1250::toQ(tekstPozycji(defs_[i])), l);
        item->setData(Qt::UserRole, i);
      }
    }
    if (zazn >= 0) {
      l->setCurrentRow(zazn, QItemSelectionModel::ClearAndSelect);
    } else {
      l->clearSelection();
      l->setCurrentRow(-1);
    }
  };
  napelnij(Wyb, model_.wybrane(), model_.zaznWyb());
  napelnij(Poz, model_.pozostale(), model_.zaznPoz());
  const auto& b = model_.przyciski();
  Wprow->setEnabled(b.wprow);
  Usun->setEnabled(b.usun);
  Gora->setEnabled(b.gora);
  Dol->setEnabled(b.dol);
  PokazPole();
}

}  // namespace zelt
