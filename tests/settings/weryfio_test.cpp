// The institution check over plain data and a temporary folder tree; and "&Weryfikuj" in the
// institution window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/cp1250.h"
#include "register/program.h"
#include "register/werform.h"
#include "settings/firmaform.h"
#include "settings/weryfio.h"
#include "support/world.h"

using zelt::DaneIO;
using zelt::JednostkiIO;
using zelt::Uwaga;

namespace {

// A finding as the test writes it: list, Pole, Nazwa pola, message, all UTF-8.
struct Wpis {
  bool blad;
  std::string pole, nazwa, tekst;
  bool operator==(const Wpis&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Wpis& w) {
  return o << (w.blad ? "E " : "W ") << w.pole << " | " << w.nazwa << " | " << w.tekst;
}

const char* kPuste = "Pole nie może być puste";
const char* kPowinno = "Pole nie powinno być puste";

struct Sprawdzenie {
  QTemporaryDir dir;
  zelt::LicznikiRekordow liczniki;
  zelt::ListyWeryfikacji listy{liczniki};

  // Complete data with existing folders: the check finds nothing.
  DaneIO pelne() {
    DaneIO d;
    d.nazIO = "Bank";
    d.numIO = "00000005";
    d.WoIO = "mazowieckie";
    d.PoIO = "Warszawa";
    d.GmIO = "Warszawa";
    d.KodIO = "00950";
    d.MieIO = "Warszawa";
    d.UlIO = "Prosta";
    d.RoIO = 0;
    d.NrDIO = "1";
    d.os[0].im = "Jan";
    d.os[0].na = "Kowalski";
    d.os[0].st = "Kierownik";
    d.os[0].te = "221234567";
    for (const char* k : {"dane", "pod", "eksp"}) QDir(dir.path()).mkpath(k);
    d.KatDan = dir.filePath("dane");
    d.KatPod = dir.filePath("pod");
    d.KatEks = dir.filePath("eksp");
    return d;
  }

  // Errors first, then warnings, each list in its order; the totals must agree with the lists.
  std::vector<Wpis> sprawdz(const DaneIO& d, const JednostkiIO& j = {}) {
    zelt::weryfikujIO(d, j, listy);
    std::vector<Wpis> v;
    auto dodaj = [&](const std::vector<Uwaga>& l, bool blad) {
      int lp = 0;
      for (const Uwaga& u : l) {
        EXPECT_EQ(u.lp, ++lp);
        v.push_back({blad, u.pole, cp1250::toQ(u.nazwa).toStdString(), cp1250::toQ(u.tekst).toStdString()});
      }
    };
    dodaj(listy.bledy(), true);
    dodaj(listy.ostrze(), false);
    EXPECT_EQ(listy.iloscBledow(), static_cast<int>(listy.bledy().size()));
    EXPECT_EQ(listy.iloscOstrzezen(), static_cast<int>(listy.ostrze().size()));
    return v;
  }
};

JednostkiIO::Wiersz jednostka(const std::string& numer) {
  return {"", numer, "Oddział", "Ulica", "00950", "Miasto", "mazowieckie", "221", ""};
}

TEST(InstitutionCheck, CompleteDataFindsNothing) {
  Sprawdzenie s;
  JednostkiIO j;
  j.dodaj(jednostka("00000001"));
  EXPECT_EQ(s.sprawdz(s.pelne(), j), std::vector<Wpis>{});
}

// Each field of the institution emptied alone: exactly its one finding.
TEST(InstitutionCheck, EachRequiredFieldOfTheInstitution) {
  struct Przypadek {
    std::function<void(DaneIO&)> oproznij;
    Wpis wpis;
  };
  const Przypadek przypadki[] = {
      {[](DaneIO& d) { d.nazIO.clear(); }, {true, "NazIO", "Nazwa instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.KrIO.clear(); }, {true, "KrIO", "Adres - Kraj instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.WoIO.clear(); }, {true, "WoIO", "Adres - Województwo instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.PoIO.clear(); }, {true, "PoIO", "Adres - Powiat instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.GmIO.clear(); }, {true, "GmIO", "Adres - Gmina instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.KodIO.clear(); }, {true, "KodIO", "Adres - Kod pocztowy instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.MieIO.clear(); }, {true, "MieIO", "Adres - Miejscowość instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.UlIO.clear(); }, {false, "UliIO", "Adres - Ulica instytucji obowiązanej", kPowinno}},
      {[](DaneIO& d) { d.RoIO = -1; }, {true, "RodIO", "Adres - Rodzaj instytucji obowiązanej", kPuste}},
      {[](DaneIO& d) { d.NrDIO.clear(); }, {false, "NrDIO", "Adres - Nr.domu instytucji obowiązanej", kPowinno}},
      {[](DaneIO& d) { d.os[0].im.clear(); }, {true, "ImOs1IO", "Imię osoby odpowiedzialnej", kPuste}},
      {[](DaneIO& d) { d.os[0].na.clear(); }, {true, "NaOs1IO", "Nazwisko osoby odpowiedzialnej", kPuste}},
      {[](DaneIO& d) { d.os[0].st.clear(); }, {true, "StOs1IO", "Stanowisko Służbowe osoby odpowiedzialnej", kPuste}},
      {[](DaneIO& d) { d.os[0].te.clear(); }, {false, "TeOs1IO", "Telefon osoby odpowiedzialnej", kPowinno}},
  };
  for (const auto& c : przypadki) {
    Sprawdzenie s;
    DaneIO d = s.pelne();
    c.oproznij(d);
    EXPECT_EQ(s.sprawdz(d), std::vector<Wpis>{c.wpis}) << c.wpis.pole;
    // Institution findings count against record 1.
    EXPECT_EQ(s.liczniki.r[1].bledy + s.liczniki.r[1].ostrzezenia, 1) << c.wpis.pole;
  }
}

TEST(InstitutionCheck, FreshDataGivesTenErrorsAndThreeWarningsInOrder) {
  Sprawdzenie s;
  DaneIO d;  // the window's design defaults
  d.KatDan = s.dir.filePath("a");
  QDir(s.dir.path()).mkpath("a");
  d.KatPod = d.KatDan;
  d.KatEks = s.dir.filePath("nowy");
  const std::vector<Wpis> oczekiwane = {
      {true, "NazIO", "Nazwa instytucji obowiązanej", kPuste},
      {true, "WoIO", "Adres - Województwo instytucji obowiązanej", kPuste},
      {true, "PoIO", "Adres - Powiat instytucji obowiązanej", kPuste},
      {true, "GmIO", "Adres - Gmina instytucji obowiązanej", kPuste},
      {true, "KodIO", "Adres - Kod pocztowy instytucji obowiązanej", kPuste},
      {true, "MieIO", "Adres - Miejscowość instytucji obowiązanej", kPuste},
      {true, "RodIO", "Adres - Rodzaj instytucji obowiązanej", kPuste},
      {true, "ImOs1IO", "Imię osoby odpowiedzialnej", kPuste},
      {true, "NaOs1IO", "Nazwisko osoby odpowiedzialnej", kPuste},
      {true, "StOs1IO", "Stanowisko Służbowe osoby odpowiedzialnej", kPuste},
      {false, "UliIO", "Adres - Ulica instytucji obowiązanej", kPowinno},
      {false, "NrDIO", "Adres - Nr.domu instytucji obowiązanej", kPowinno},
      {false, "TeOs1IO", "Telefon osoby odpowiedzialnej", kPowinno},
      {false, "KatEks", "Katalog eksportu plików", "Brak katalogu - utworzono"},
  };
  EXPECT_EQ(s.sprawdz(d), oczekiwane);
  EXPECT_TRUE(QFileInfo(s.dir.filePath("nowy")).isDir());
  // A second run starts afresh: its numbers from 1, its totals its own.
  EXPECT_EQ(s.sprawdz(d).size(), 13u);
  EXPECT_EQ(s.listy.iloscBledow(), 10);
  EXPECT_EQ(s.listy.iloscOstrzezen(), 3);
}

TEST(InstitutionCheck, UnitNumbersAreUniqueWholeNumbers) {
  struct Przypadek {
    const char* nazwa;
    const char* numIO;
    std::vector<std::string> numery;
    std::vector<Wpis> wpisy;
  };
  const std::string kPowt = "Numer nie może się powtarzać";
  const std::string kBledny = "Błędny numer jednostki";
  const Przypadek przypadki[] = {
      {"units 7, 5, 7 of institution 5",
       "00000005",
       {"00000007", "00000005", "00000007"},
       {{true, "NumJe", "Numer jednostki organizacyjnej00000005", kPowt},
        {true, "NumJe", "Numer jednostki organizacyjnej00000007", kPowt}}},
      {"5 equals 00000005", "00000005", {"5"}, {{true, "NumJe", "Numer jednostki organizacyjnej5", kPowt}}},
      {"numbers that are no numbers",
       "00000005",
       {"12 4", "", "00000006", "1234567a"},
       {{true, "NumJe", "Numer jednostki organizacyjnej12 4", kBledny},
        {true, "NumJe", "Numer jednostki organizacyjnej", kBledny},
        {true, "NumJe", "Numer jednostki organizacyjnej1234567a", kBledny}}},
      {"the institution's own number",
       "0000 005",
       {"00000005"},
       {{true, "NumIO", "Numer instytucji obowiązanej", kBledny}}},
      {"more than 100 numbers", "00000000", {}, {}},
  };
  for (const auto& c : przypadki) {
    Sprawdzenie s;
    DaneIO d = s.pelne();
    d.numIO = c.numIO;
    JednostkiIO j;
    for (const auto& n : c.numery) j.dodaj(jednostka(n));
    if (c.numery.empty()) {
      j.setRowCount(150);  // a count beyond the limit, as a damaged store could hold
      for (int w = 1; w <= 148; ++w) j.ustawKomorke(w, 1, std::to_string(w));
      for (int w = 1; w <= 148; ++w) j.zmien(w, jednostka(""));
    }
    EXPECT_EQ(s.sprawdz(d, j), c.wpisy) << c.nazwa;
  }
}

TEST(InstitutionCheck, AUnitWithANumberOnly) {
  Sprawdzenie s;
  JednostkiIO j;
  j.dodaj({"", "00000001"});
  j.setRowCount(j.RowCount() + 1);  // a row with neither number nor name is no unit
  const std::vector<Wpis> oczekiwane = {
      {true, "NazJe", "Nazwa jednostki organizacyjnej", kPuste},
      {true, "WojJe", "Adres - województwo jednostki organizacyjnej", kPuste},
      {true, "MieJe", "Adres - miejscowość jednostki organizacyjnej", kPuste},
      {true, "KodJe", "Adres - kod pocztowy jednostki organizacyjnej", kPuste},
      {false, "UliJe", "Adres - ulica jednostki organizacyjnej", kPowinno},
      {false, "TelJe", "Telefon jednostki organizacyjnej", kPowinno},
  };
  EXPECT_EQ(s.sprawdz(s.pelne(), j), oczekiwane);
}

TEST(InstitutionCheck, FoldersAreCreatedWhenMissing) {
  struct Przypadek {
    const char* nazwa;
    std::function<QString(QTemporaryDir&)> folder;
    std::vector<Wpis> wpisy;
    bool jest;  // the folder exists afterwards
  };
  const Przypadek przypadki[] = {
      {"existing", [](QTemporaryDir& d) { return d.filePath("dane"); }, {}, true},
      {"empty", [](QTemporaryDir&) { return QString(); }, {{true, "KatDan", "Katalog danych", kPowinno}}, false},
      {"missing nested",
       [](QTemporaryDir& d) { return d.filePath("Nowy/Baza"); },
       {{false, "KatDan", "Katalog danych", "Brak katalogu - utworzono"}},
       true},
      {"under a regular file",
       [](QTemporaryDir& d) {
         QFile f(d.filePath("plik"));
         f.open(QIODevice::WriteOnly);
         return d.filePath("plik/Baza");
       },
       {{true, "KatDan", "Katalog danych", "Brak katalogu - utworzenie nie powiodło się"}},
       false},
  };
  for (const auto& c : przypadki) {
    Sprawdzenie s;
    DaneIO d = s.pelne();
    d.KatDan = c.folder(s.dir);
    EXPECT_EQ(s.sprawdz(d), c.wpisy) << c.nazwa;
    EXPECT_EQ(!d.KatDan.isEmpty() && QFileInfo(d.KatDan).isDir(), c.jest) << c.nazwa;
    // Folder findings count against no record.
    EXPECT_EQ(s.liczniki.r[1].bledy + s.liczniki.r[1].ostrzezenia, 0) << c.nazwa;
  }
  // The three folders in their order.
  Sprawdzenie s;
  DaneIO d = s.pelne();
  d.KatDan.clear();
  d.KatPod.clear();
  d.KatEks.clear();
  EXPECT_EQ(s.sprawdz(d), (std::vector<Wpis>{{true, "KatDan", "Katalog danych", kPowinno},
                                             {true, "KatPod", "Katalog listy podmiotów", kPowinno},
                                             {true, "KatEks", "Katalog eksportu plików", kPowinno}}));
}

// "&Weryfikuj" in the window: "Brak błędów", or the findings for reading only.
TEST(InstitutionCheck, TheCheckButton) {
  testing_world::World w;
  auto& p = w.program();
  p.logowanie = [] { return platform::mrOk; };
  ASSERT_TRUE(p.start());
  auto& f = *p.firma();
  EXPECT_TRUE(f.weryf->isEnabled());
  EXPECT_EQ(f.weryf->toolTip(), QString::fromUtf8("Weryfikacja danych instytucji obowiązanej"));
  bool pokazany = false;
  w.dialogs.expectModal("WerForm", [&](platform::ModalForm& form) {
    pokazany = true;
    EXPECT_TRUE(static_cast<zelt::TWerForm&>(form).zapisz->isHidden());
    return zelt::TWerForm::kPotwierdz;  // ignored
  });
  f.weryf->click();
  EXPECT_TRUE(pokazany);
  EXPECT_EQ(p.listyWer.iloscBledow(), 10);

  for (auto [e, t] : {std::pair{f.NazIO, "Bank"}, {f.WoIO, "m"}, {f.PoIO, "p"}, {f.GmIO, "g"}, {f.KodIO, "00950"},
                      {f.MieIO, "m"}, {f.UlIO, "u"}, {f.NrDIO, "1"}, {f.ImOs1IO, "Jan"}, {f.NaOs1IO, "K"},
                      {f.StOs1IO, "S"}, {f.TeOs1IO, "22"}})
    e->setText(t);
  f.RoIO->setCurrentIndex(2);
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Brak błędów"));
  f.weryfClick();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(f.modalResult(), platform::mrNone) << "the window stays open";
}

}  // namespace
