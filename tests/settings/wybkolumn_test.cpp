#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/registry.h"
#include "settings/wybkolumn.h"

using namespace zelt;
using platform::RegRoot;

namespace {

std::vector<std::string> kody(const DefinicjeKolumn& d, const std::vector<int>& numery) {
  std::vector<std::string> v;
  for (int i : numery) v.push_back(d[i].kod);
  return v;
}

// Print page holding only Lp, rejDat and tKw; the 45 others remain, in table order (Info first,
// Wprow last).
DefinicjeKolumn wydrukTrzech() {
  DefinicjeKolumn d;
  for (int i = 1; i <= kIloscKolumn; ++i) d[i].pozWyd = 0;
  d[1].pozWyd = 1;
  d[5].pozWyd = 2;
  d[15].pozWyd = 3;
  return d;
}

const std::vector<std::string> kEkranDomyslny = {"Lp",     "Info", "nrEwT", "jedIO", "Status", "kRodzTr",
                                                 "nrDokT", "tDat", "tKw",   "tJ",    "tKwZ",   "tJZ",
                                                 "zNz",    "zAdrM", "zAdrUl", "Wprow"};

// ---- the chooser's rules, one page at a time ----

struct Krok {
  enum Co { ZaznWyb, ZaznPoz, WybEnter, PozEnter, WybKlik, PozKlik, Wprow, Usun, Gora, Dol } co;
  int arg = 0;
};

void wykonaj(WyborKolumn& w, const std::vector<Krok>& kroki) {
  for (const Krok& k : kroki) {
    switch (k.co) {
      case Krok::ZaznWyb: w.zaznaczWyb(k.arg); break;
      case Krok::ZaznPoz: w.zaznaczPoz(k.arg); break;
      case Krok::WybEnter: w.WybEnter(); break;
      case Krok::PozEnter: w.PozEnter(); break;
      case Krok::WybKlik: w.WybMouseDown(); break;
      case Krok::PozKlik: w.PozMouseDown(); break;
      case Krok::Wprow: w.WprowClick(); break;
      case Krok::Usun: w.UsunClick(); break;
      case Krok::Gora: w.goraClick(); break;
      case Krok::Dol: w.DolClick(); break;
    }
  }
}

struct Operacja {
  const char* nazwa;
  Strona strona;
  std::vector<Krok> kroki;
  std::vector<std::string> wybrane;
  int zaznWyb;
  std::size_t ilePozostalych;
  std::string zaznPoz;  // code of the selected remaining column, "" for none
  std::string ostatniaPozostala;
  WyborKolumn::Przyciski przyciski;  // add, remove, up, down
  std::string pokazana;
};

std::vector<std::string> zmien(std::vector<std::string> v, std::size_t gdzie, const std::string& kod) {
  v.insert(v.begin() + static_cast<long>(gdzie), kod);
  return v;
}

using K = Krok;
const Strona Wyd = Strona::Wydruk, Wyg = Strona::Wyglad;

const Operacja kOperacje[] = {
    {"built", Wyd, {}, {"Lp", "rejDat", "tKw"}, 0, 45, "", "Wprow", {true, true, false, true}, "Lp"},
    {"add before the selection",
     Wyd,
     {{K::ZaznWyb, 1}, {K::WybKlik}, {K::PozEnter}, {K::ZaznPoz, 2}, {K::PozKlik}, {K::Wprow}},
     {"Lp", "nrRejDat", "rejDat", "tKw"},
     2,
     44,
     "jedIO",
     "Wprow",
     {true, false, true, true},
     "jedIO"},
    {"add with no selection appends",
     Wyd,
     {{K::ZaznWyb, -1}, {K::PozEnter}, {K::ZaznPoz, 0}, {K::Wprow}},
     {"Lp", "rejDat", "tKw", "Info"},
     -1,
     44,
     "nrEwT",
     "Wprow",
     {true, false, false, false},
     "nrEwT"},
    {"adding the last remaining selects the new last",
     Wyd,
     {{K::PozEnter}, {K::ZaznPoz, 44}, {K::Wprow}},
     {"Wprow", "Lp", "rejDat", "tKw"},
     1,
     44,
     "Uwagi",
     "Uwagi",
     {true, false, true, true},
     "Uwagi"},
    {"remove from the middle",
     Wyd,
     {{K::WybEnter}, {K::ZaznWyb, 1}, {K::WybKlik}, {K::Usun}},
     {"Lp", "tKw"},
     1,
     46,
     "rejDat",
     "rejDat",
     {false, true, true, false},
     "tKw"},
    {"remove the last selects the new last",
     Wyd,
     {{K::WybEnter}, {K::ZaznWyb, 2}, {K::Usun}},
     {"Lp", "rejDat"},
     1,
     46,
     "tKw",
     "tKw",
     {false, true, true, false},
     "rejDat"},
    {"up at the top does nothing", Wyd, {{K::WybEnter}, {K::Gora}}, {"Lp", "rejDat", "tKw"}, 0, 45, "", "Wprow",
     {false, true, false, true}, "Lp"},
    {"up",
     Wyd,
     {{K::WybEnter}, {K::ZaznWyb, 2}, {K::WybKlik}, {K::Gora}},
     {"Lp", "tKw", "rejDat"},
     1,
     45,
     "",
     "Wprow",
     {false, true, true, true},
     "tKw"},
    {"up to the top (Lp is not held on paper)",
     Wyd,
     {{K::ZaznWyb, 1}, {K::WybKlik}, {K::Gora}},
     {"rejDat", "Lp", "tKw"},
     0,
     45,
     "",
     "Wprow",
     {true, true, false, true},
     "rejDat"},
    {"down at the bottom does nothing", Wyd, {{K::ZaznWyb, 2}, {K::WybKlik}, {K::Dol}}, {"Lp", "rejDat", "tKw"}, 2,
     45, "", "Wprow", {true, true, true, false}, "tKw"},
    {"down to the bottom",
     Wyd,
     {{K::ZaznWyb, 1}, {K::WybKlik}, {K::Dol}},
     {"Lp", "tKw", "rejDat"},
     2,
     45,
     "",
     "Wprow",
     {true, true, true, false},
     "rejDat"},
    {"emptying the chosen list",
     Wyd,
     {{K::WybEnter}, {K::Usun}, {K::Usun}, {K::Usun}},
     {},
     -1,
     48,
     "tKw",
     "tKw",
     {false, false, false, false},
     "tKw"},
    {"adding to the empty list appends without a selection",
     Wyd,
     {{K::WybEnter}, {K::Usun}, {K::Usun}, {K::Usun}, {K::PozEnter}, {K::ZaznPoz, 47}, {K::Wprow}},
     {"tKw"},
     -1,
     47,
     "rejDat",
     "rejDat",
     {true, false, false, false},
     "rejDat"},
    {"operations without their selection do nothing",
     Wyd,
     {{K::ZaznWyb, -1}, {K::ZaznPoz, -1}, {K::Usun}, {K::Gora}, {K::Dol}, {K::Wprow}},
     {"Lp", "rejDat", "tKw"},
     -1,
     45,
     "",
     "Wprow",
     {true, true, false, true},
     "Lp"},
    {"screen: built with Lp selected", Wyg, {}, kEkranDomyslny, 0, 32, "", "Uwagi", {true, false, false, false}, "Lp"},
    {"screen: Lp is neither removed nor moved", Wyg, {{K::WybEnter}, {K::Usun}, {K::Dol}, {K::Gora}},
     kEkranDomyslny, 0, 32, "", "Uwagi", {false, false, false, false}, "Lp"},
    {"screen: nothing goes above Lp", Wyg, {{K::ZaznWyb, 1}, {K::WybKlik}, {K::Gora}}, kEkranDomyslny, 1, 32, "",
     "Uwagi", {true, true, false, true}, "Info"},
    {"screen: nothing is inserted before Lp",
     Wyg,
     {{K::PozEnter}, {K::ZaznPoz, 0}, {K::Wprow}},
     zmien(kEkranDomyslny, 1, "nrRejDat"),
     0,
     31,
     "rejDat",
     "Uwagi",
     {true, false, false, false},
     "rejDat"},
    {"screen: removing everything leaves Lp",
     Wyg,
     {{K::WybEnter}, {K::ZaznWyb, 15}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun},
      {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun}, {K::Usun},
      {K::Usun}},
     {"Lp"},
     0,
     47,
     "Info",
     "Info",
     {false, false, false, false},
     "Lp"},
};

TEST(WyborKolumn, OperationTable) {
  for (const Operacja& o : kOperacje) {
    SCOPED_TRACE(o.nazwa);
    DefinicjeKolumn d = o.strona == Wyd ? wydrukTrzech() : DefinicjeKolumn();
    const DefinicjeKolumn przed = d;
    WyborKolumn w(d, o.strona);
    w.zbuduj();
    wykonaj(w, o.kroki);
    EXPECT_EQ(kody(d, w.wybrane()), o.wybrane);
    EXPECT_EQ(w.zaznWyb(), o.zaznWyb);
    EXPECT_EQ(w.pozostale().size(), o.ilePozostalych);
    EXPECT_EQ(w.zaznPoz() < 0 ? std::string() : d[w.pozostale()[std::size_t(w.zaznPoz())]].kod, o.zaznPoz);
    ASSERT_FALSE(w.pozostale().empty());
    EXPECT_EQ(d[w.pozostale().back()].kod, o.ostatniaPozostala);
    const auto& b = w.przyciski();
    EXPECT_EQ(b.wprow, o.przyciski.wprow) << "add";
    EXPECT_EQ(b.usun, o.przyciski.usun) << "remove";
    EXPECT_EQ(b.gora, o.przyciski.gora) << "up";
    EXPECT_EQ(b.dol, o.przyciski.dol) << "down";
    EXPECT_EQ(d[w.pokazany()].kod, o.pokazana);
    // No two items name one definition, and together they hold all 48.
    std::vector<int> wszystkie = w.wybrane();
    wszystkie.insert(wszystkie.end(), w.pozostale().begin(), w.pozostale().end());
    std::sort(wszystkie.begin(), wszystkie.end());
    std::vector<int> oczekiwane(48);
    std::iota(oczekiwane.begin(), oczekiwane.end(), 1);
    EXPECT_EQ(wszystkie, oczekiwane);
    // The lists change only the lists.
    EXPECT_EQ(d, przed);
  }
}

TEST(WyborKolumn, WidthAndAlignmentGoToTheSelectedChosenColumnOfItsPage) {
  DefinicjeKolumn d = wydrukTrzech();
  WyborKolumn w(d, Wyd);
  w.zbuduj();
  wykonaj(w, {{K::ZaznWyb, 2}, {K::WybKlik}});
  ASSERT_TRUE(w.szerokoscDostepna());
  w.SzerChange(40, true);
  EXPECT_EQ(d[15].szerWyd, 81);
  w.SzerChange(40, false);
  EXPECT_EQ(d[15].szerWyd, 80);
  EXPECT_EQ(d[15].szerWyg, 120);  // the screen width is the other page's
  EXPECT_EQ(w.pokaz().szerokosc, 40);
  EXPECT_FALSE(w.pokaz().prawo);
}

TEST(WyborKolumn, ARemainingColumnShownIsNeitherWrittenNorEditable) {
  DefinicjeKolumn d = wydrukTrzech();
  WyborKolumn w(d, Wyd);
  w.zbuduj();
  wykonaj(w, {{K::ZaznWyb, 2}, {K::WybKlik}, {K::PozEnter}, {K::ZaznPoz, 0}, {K::PozKlik}});
  const DefinicjeKolumn przed = d;
  EXPECT_EQ(d[w.pokazany()].kod, "Info");
  EXPECT_EQ(w.pokaz().szerokosc, 0);  // Info's print width
  EXPECT_EQ(w.pokaz().nazwa, "Info");
  EXPECT_FALSE(w.szerokoscDostepna());
  w.SzerChange(40, true);
  EXPECT_EQ(d, przed);
  // Back in the chosen list the column is editable again.
  wykonaj(w, {{K::WybEnter}});
  EXPECT_EQ(d[w.pokazany()].kod, "tKw");
  EXPECT_TRUE(w.szerokoscDostepna());
}

TEST(WyborKolumn, ShowingGivesTheSectionTitleNameAndWidth) {
  DefinicjeKolumn d;
  d[24].szerWyg = 91;
  WyborKolumn w(d, Wyg);
  w.zbuduj();
  wykonaj(w, {{K::ZaznWyb, 13}, {K::WybKlik}});
  const auto p = w.pokaz();
  EXPECT_EQ(p.grupa, cp1250::fromUtf8("III. PODMIOT, KTÓRY WYDAJE DYSPOZYCJĘ"));
  EXPECT_EQ(p.nazwa, cp1250::fromUtf8("Adres: miejscowość"));
  EXPECT_EQ(p.szerokosc, 45);
  EXPECT_TRUE(p.prawo);
}

TEST(WyborKolumn, RebuildGivesPositionsInTheChosenOrder) {
  DefinicjeKolumn d;
  WyborKolumn ekran(d, Wyg), wydruk(d, Wyd);
  ekran.zbuduj();
  wydruk.zbuduj();
  // Move "jedIO" (index 3) up and remove "Status" from the screen; append "kPwz" to the print.
  wykonaj(ekran, {{K::ZaznWyb, 3}, {K::WybKlik}, {K::Gora}, {K::ZaznWyb, 4}, {K::Usun}});
  wykonaj(wydruk, {{K::ZaznWyb, -1}, {K::PozEnter}, {K::ZaznPoz, 0}});
  // The print's remaining list starts with Info, nrEwT, jedIO, Status, kPwz...; take "kPwz".
  wykonaj(wydruk, {{K::ZaznPoz, 4}, {K::Wprow}});
  ekran.przebudujPozycje();
  wydruk.przebudujPozycje();
  std::vector<std::string> e = kEkranDomyslny;
  std::swap(e[2], e[3]);
  e.erase(e.begin() + 4);
  EXPECT_EQ(kody(d, d.wKolejnosci(Wyg)), e);
  EXPECT_EQ(d[7].pozWyg, 0);
  const auto druk = kody(d, d.wKolejnosci(Wyd));
  ASSERT_EQ(druk.size(), 14u);
  EXPECT_EQ(druk.back(), "kPwz");
  for (int i = 1; i <= kIloscKolumn; ++i) {
    const int p = d[i].pozWyd;
    if (p) {
      EXPECT_EQ(druk[std::size_t(p - 1)], d[i].kod);
    }
  }
}

TEST(WyborKolumn, FirstStartSavedWithoutChangesStoresPositionsWithoutGaps) {
  DefinicjeKolumn d;  // no Konfig key: the defaults as they are, the print gap at 2 included
  WyborKolumn ekran(d, Wyg), wydruk(d, Wyd);
  ekran.zbuduj();
  wydruk.zbuduj();
  ekran.przebudujPozycje();
  wydruk.przebudujPozycje();
  platform::RegistryStore reg;
  zapiszDefinicje(reg, d);
  std::vector<int> ekranowe, drukowane;
  for (int i = 1; i <= kIloscKolumn; ++i) {
    const auto b = reg.readBinary(RegRoot::CurrentUser, kKluczKonfig, nazwaWartosci(i));
    ASSERT_TRUE(b && b->size() == 71);
    if ((*b)[64]) ekranowe.push_back((*b)[64]);
    if ((*b)[67]) drukowane.push_back((*b)[67]);
  }
  std::sort(ekranowe.begin(), ekranowe.end());
  std::sort(drukowane.begin(), drukowane.end());
  std::vector<int> e(16), p(13);
  std::iota(e.begin(), e.end(), 1);
  std::iota(p.begin(), p.end(), 1);
  EXPECT_EQ(ekranowe, e);
  EXPECT_EQ(drukowane, p);
  EXPECT_EQ(reg.readBinary(RegRoot::CurrentUser, kKluczKonfig, "Pole04")->at(67), 2);  // nrRejDat
}

// ---- the page widget ----

class StronaKolumn : public ::testing::Test {
 protected:
  DefinicjeKolumn d;
  void SetUp() override {
    ekran = std::make_unique<TWybKolumn>(d, Wyg);
    wydruk = std::make_unique<TWybKolumn>(d, Wyd);
    ekran->resize(520, 300);
    wydruk->resize(520, 300);
    ekran->zbudujListy();
    wydruk->zbudujListy();
  }
  // A click in a list: the platform gives the list the focus first, then the press selects.
  static void klik(QListWidget* l, int wiersz) {
    l->setFocus(Qt::MouseFocusReason);
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(wiersz)).center());
  }
  static void pokaz(QWidget& w) {
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  }
  std::unique_ptr<TWybKolumn> ekran, wydruk;
};

TEST_F(StronaKolumn, ControlsCarryTheNamesCaptionsAndHintsOfTheirPage) {
  const struct {
    TWybKolumn* strona;
    const char* nazwa;
    const char* napis;
    const char* podpowiedz;
  } przyciski[] = {
      {ekran.get(), "WprowWyg", "<-", "Dodanie kolumny"},
      {ekran.get(), "UsunWyg", "->", "Usunięcie kolumny"},
      {ekran.get(), "goraWyg", "W &górę", "Przesunięcie kolumny do przodu tablei"},
      {ekran.get(), "DolWyg", "W &dół", "Przesunięcie kolumny w tył tabeli"},
      {wydruk.get(), "WprowWyd", "<-", "Dodanie kolumny"},
      {wydruk.get(), "UsunWyd", "->", "Usunięcie kolumny"},
      {wydruk.get(), "GoraWyd", "W &górę", "Przesunięcie kolumny do przodu tablei"},
      {wydruk.get(), "DolWyd", "W &dół", "Przesunięcie kolumny w tył tabeli"},
  };
  for (const auto& p : przyciski) {
    auto* b = p.strona->findChild<QPushButton*>(p.nazwa);
    ASSERT_TRUE(b) << p.nazwa;
    EXPECT_EQ(b->text(), QString::fromUtf8(p.napis));
    EXPECT_EQ(b->toolTip(), QString::fromUtf8(p.podpowiedz));
  }
  for (const char* n : {"WybWyd", "PozWyd", "SzerWyd", "WyrWyd", "GruWyd", "NazWyd"})
    EXPECT_TRUE(wydruk->findChild<QWidget*>(n)) << n;
  for (const char* n : {"WybWyg", "PozWyg", "SzerWyg", "WyrWyg", "GruWyg", "NazWyg"})
    EXPECT_TRUE(ekran->findChild<QWidget*>(n)) << n;
  EXPECT_EQ(ekran->Szer->minimum(), 15);
  EXPECT_EQ(ekran->Szer->maximum(), 250);
  EXPECT_EQ(ekran->Szer->singleStep(), 5);
  EXPECT_EQ(ekran->Wyr->text(), QStringLiteral("Wyrównywanie w prawo"));
  EXPECT_EQ(ekran->Wyr->toolTip(), QStringLiteral("Wyrównywanie kolumny do prawej krawędzi"));
}

TEST_F(StronaKolumn, BuiltListsShowTheDefinitionsAndTheFirstChosenColumn) {
  ASSERT_EQ(ekran->Wyb->count(), 16);
  EXPECT_EQ(ekran->Wyb->item(0)->text(), QStringLiteral("Lp - Lp"));
  EXPECT_EQ(ekran->Wyb->item(13)->text(), QStringLiteral("zAdrM - Adres: miejscowość"));
  EXPECT_EQ(ekran->Wyb->item(13)->data(Qt::UserRole).toInt(), 24);
  EXPECT_EQ(ekran->Poz->count(), 32);
  EXPECT_EQ(wydruk->Wyb->count(), 13);
  EXPECT_EQ(wydruk->Wyb->item(1)->text(), QStringLiteral("nrRejDat - Numer rejestracji transakcji"));
  EXPECT_EQ(wydruk->Poz->count(), 35);
  EXPECT_TRUE(ekran->Wyb->item(0)->isSelected());
  EXPECT_EQ(ekran->Naz->text(), QStringLiteral("Lp"));
  EXPECT_EQ(ekran->Gru->text(), QString());
  EXPECT_EQ(ekran->Szer->value(), 30);
  EXPECT_EQ(wydruk->Szer->value(), 15);
  EXPECT_FALSE(ekran->Usun->isEnabled());  // Lp stays
  EXPECT_TRUE(wydruk->Usun->isEnabled());
  EXPECT_TRUE(wydruk->Dol->isEnabled());
  EXPECT_FALSE(wydruk->Gora->isEnabled());
}

TEST_F(StronaKolumn, ClicksKeysAndButtonsWorkTheLists) {
  pokaz(*wydruk);
  klik(wydruk->Wyb, 6);  // tKw
  EXPECT_EQ(wydruk->Naz->text(), QStringLiteral("Kwota transakcji"));
  EXPECT_EQ(wydruk->Gru->text(), QStringLiteral("II. TRANSAKCJA"));
  EXPECT_TRUE(wydruk->Gora->isEnabled());
  EXPECT_FALSE(wydruk->Wprow->isEnabled());  // the chosen list has the focus
  QTest::keyClick(wydruk->Wyb, Qt::Key_Down);
  EXPECT_EQ(wydruk->Naz->text(), QStringLiteral("Jednostka transakcji"));
  QTest::mouseClick(wydruk->Usun, Qt::LeftButton);
  EXPECT_EQ(wydruk->Wyb->count(), 12);
  EXPECT_EQ(wydruk->Poz->item(wydruk->Poz->count() - 1)->text(), QStringLiteral("tJ - Jednostka transakcji"));
  EXPECT_TRUE(wydruk->Poz->item(wydruk->Poz->count() - 1)->isSelected());
  EXPECT_TRUE(wydruk->Wyb->item(7)->isSelected());  // tKwZ took tJ's place
  klik(wydruk->Poz, 0);
  EXPECT_TRUE(wydruk->Wprow->isEnabled());
  EXPECT_FALSE(wydruk->Usun->isEnabled());
  EXPECT_EQ(wydruk->Naz->text(), QStringLiteral("Info"));
  QTest::mouseClick(wydruk->Wprow, Qt::LeftButton);
  EXPECT_EQ(wydruk->Wyb->item(7)->text(), QStringLiteral("Info - Info"));
  EXPECT_EQ(wydruk->Naz->text(), QStringLiteral("Nr. ewidencyjny"));
  EXPECT_EQ(wydruk->wybor().wybrane().size(), 13u);
}

TEST_F(StronaKolumn, OnlyTheUsersOwnWidthChangesWrite) {
  pokaz(*ekran);
  const DefinicjeKolumn przed = d;
  klik(ekran->Poz, 0);  // nrRejDat, shown from the remaining list
  EXPECT_EQ(ekran->Naz->text(), QStringLiteral("Numer rejestracji transakcji"));
  EXPECT_EQ(ekran->Szer->value(), 60);
  EXPECT_FALSE(ekran->Szer->isEnabled());
  klik(ekran->Wyb, 1);  // Info: showing it sets the spin to 30 without writing
  EXPECT_EQ(ekran->Szer->value(), 30);
  EXPECT_EQ(d, przed);

  klik(ekran->Wyb, 8);  // tKw
  ASSERT_TRUE(ekran->Szer->isEnabled());
  ekran->Szer->setFocus();
  QFocusEvent wyjscie(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(ekran->Szer, &wyjscie);
  EXPECT_EQ(d, przed);  // leaving the spin unchanged writes nothing

  ekran->Szer->stepBy(-4);  // 60 → 40, as the arrows do
  EXPECT_EQ(d[15].szerWyg, 80);
  ekran->Wyr->click();
  EXPECT_EQ(d[15].szerWyg, 81);
  ekran->Wyr->click();
  EXPECT_EQ(d[15].szerWyg, 80);
  EXPECT_EQ(d[15].szerWyd, 60);

  // Showing the next column while the box is still checked for this one writes neither.
  ekran->Wyr->click();
  klik(ekran->Wyb, 9);  // tJ
  EXPECT_FALSE(ekran->Wyr->isChecked());
  EXPECT_EQ(ekran->Szer->value(), 60);
  EXPECT_EQ(d[15].szerWyg, 81);
  EXPECT_EQ(d[16].szerWyg, 120);
}

TEST_F(StronaKolumn, ATypedWidthOutsideTheRangeIsBoundedWhenLeavingTheSpin) {
  pokaz(*ekran);
  klik(ekran->Wyb, 8);  // tKw
  ekran->Szer->setFocus();
  ekran->Szer->selectAll();
  QTest::keyClicks(ekran->Szer, "7");
  QFocusEvent wyjscie(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(ekran->Szer, &wyjscie);
  EXPECT_EQ(ekran->Szer->value(), 15);
  EXPECT_EQ(d[15].szerWyg, 30);
}

}  // namespace
