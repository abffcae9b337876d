#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "platform/cp1250.h"
#include "platform/registry.h"
#include "settings/kolumny.h"
#include "settings/kolumnygrid.h"

using namespace zelt;
using platform::RegRoot;

namespace {

// A definition record built by hand from the layout table: literal offsets, not the codec's.
struct Rekord {
  std::string b = std::string(71, '\0');
  Rekord& str(size_t off, std::string_view s) {
    b[off] = char(s.size());
    std::memcpy(&b[off + 1], s.data(), s.size());
    return *this;
  }
  Rekord& u8(size_t off, int v) {
    b[off] = char(v);
    return *this;
  }
  Rekord& u16(size_t off, int v) {
    b[off] = char(v & 0xFF);
    b[off + 1] = char((v >> 8) & 0xFF);
    return *this;
  }
  // A stored definition: code, name, field, section, screen position and coded width, print
  // position and coded width, kind.
  static Rekord z(std::string_view kod, std::string_view nazwa, int pole, int grupa, int pozWyg, int szerWyg,
                  int pozWyd, int szerWyd, int rodzaj = 0) {
    Rekord r;
    r.str(0, kod).str(11, nazwa).u8(62, pole).u8(63, grupa).u8(64, pozWyg).u16(65, szerWyg).u8(67, pozWyd);
    r.u16(68, szerWyd).u8(70, rodzaj);
    return r;
  }
};

std::vector<std::string> kody(const DefinicjeKolumn& d, Strona s) {
  std::vector<std::string> v;
  for (int i : d.wKolejnosci(s)) v.push_back(d[i].kod);
  return v;
}

std::vector<int> pozycje(const DefinicjeKolumn& d, Strona s) {
  std::vector<int> v;
  for (int i : d.wKolejnosci(s)) v.push_back(d[i].pozycja(s));
  return v;
}

std::vector<int> odJedynki(int n) {
  std::vector<int> v;
  for (int i = 1; i <= n; ++i) v.push_back(i);
  return v;
}

const std::vector<std::string> kEkranDomyslny = {"Lp",     "Info", "nrEwT", "jedIO", "Status", "kRodzTr",
                                                 "nrDokT", "tDat", "tKw",   "tJ",    "tKwZ",   "tJZ",
                                                 "zNz",    "zAdrM", "zAdrUl", "Wprow"};
const std::vector<std::string> kWydrukDomyslny = {"Lp",  "nrRejDat", "rejDat", "kRodzTr", "nrDokT", "tDat", "tKw",
                                                  "tJ",  "tKwZ",     "tJZ",    "zNz",     "zAdrM",  "zAdrUl"};

// ---- the record codec ----

TEST(DefinicjaKolumny, DefaultLpEncodesToItsHandBuiltBytes) {
  std::string oczekiwane = std::string("\x02Lp", 3) + std::string(8, '\0') + std::string("\x02Lp", 3) +
                           std::string(48, '\0') + std::string("\x00\x00\x01\x3C\x00\x01\x1E\x00\x03", 9);
  ASSERT_EQ(oczekiwane.size(), 71u);
  const auto b = DefinicjeKolumn()[1].encode();
  EXPECT_EQ(std::string(b.data(), b.size()), oczekiwane);
}

TEST(DefinicjaKolumny, PolishNameEncodesInWindows1250) {
  // Definition 24, "Adres: miejscowość": ś = 0x9C, ć = 0xE6.
  Rekord r = Rekord::z("zAdrM", "Adres: miejscowo\x9C\xE6", 22, 3, 14, 120, 13, 60);
  const auto b = DefinicjeKolumn()[24].encode();
  EXPECT_EQ(std::string(b.data(), b.size()), r.b);
}

TEST(DefinicjaKolumny, DecodesEveryFieldFromItsOffset) {
  Rekord r = Rekord::z("nrRachNa", "Numer rachunku docelowego", 44, 6, 7, 0x01F5, 200, 0x0102, 5);
  const TDefinicjaKolumny d = TDefinicjaKolumny::decode(r.b.data());
  EXPECT_EQ(d.kod, "nrRachNa");
  EXPECT_EQ(d.nazwa, "Numer rachunku docelowego");
  EXPECT_EQ(d.nrPola, 44);
  EXPECT_EQ(d.grupa, 6);
  EXPECT_EQ(d.pozWyg, 7);
  EXPECT_EQ(szerokosc(d.szerWyg), 250);
  EXPECT_TRUE(doPrawej(d.szerWyg));
  EXPECT_EQ(d.pozWyd, 200);
  EXPECT_EQ(szerokosc(d.szerWyd), 129);
  EXPECT_FALSE(doPrawej(d.szerWyd));
  EXPECT_EQ(d.rodzaj, 5);
}

TEST(DefinicjaKolumny, LongTextsAreCutAndTheRestZeroFilled) {
  TDefinicjaKolumny d = DefinicjeKolumn()[3];
  d.kod = "abcdefghijKLM";
  d.nazwa = std::string(60, 'x');
  const auto b = d.encode();
  EXPECT_EQ(b[0], 10);
  EXPECT_EQ(std::string(&b[1], 10), "abcdefghij");
  EXPECT_EQ(b[11], 50);
  EXPECT_EQ(b[62], 1);  // the field number follows the 50 characters untouched
}

TEST(DefinicjaKolumny, OversizedLengthBytesNeverReadPastTheirField) {
  Rekord r = Rekord::z("Lp", "Lp", 0, 0, 1, 60, 1, 30);
  r.u8(0, 200).u8(11, 255);
  const TDefinicjaKolumny d = TDefinicjaKolumny::decode(r.b.data());
  EXPECT_EQ(d.kod.size(), 10u);
  EXPECT_EQ(d.nazwa.size(), 50u);
  EXPECT_FALSE(TDefinicjaKolumny::zPamieci(r.b));
}

TEST(DefinicjaKolumny, WidthCoding) {
  EXPECT_EQ(kodujSzerokosc(40, true), 81);
  EXPECT_EQ(kodujSzerokosc(40, false), 80);
  EXPECT_EQ(szerokosc(81), 40);
  EXPECT_TRUE(doPrawej(81));
  EXPECT_FALSE(doPrawej(80));
}

// ---- the defaults ----

TEST(DomyslneDefinicje, FirstStartShowsSixteenColumnsAndPrintsThirteen) {
  const DefinicjeKolumn d;
  EXPECT_EQ(kody(d, Strona::Wyglad), kEkranDomyslny);
  EXPECT_EQ(kody(d, Strona::Wydruk), kWydrukDomyslny);
  for (int i = 1; i <= kIloscKolumn; ++i) {
    SCOPED_TRACE(d[i].kod);
    EXPECT_EQ(d[i].szerWyg, i <= 2 ? 60 : 120);  // 30 or 60 pixels, doubled, left-aligned
    EXPECT_EQ(d[i].szerWyd, i == 1 ? 30 : i == 2 ? 0 : 60);
    EXPECT_EQ(d[i].rodzaj, i == 1 ? 3 : i == 2 ? 1 : 0);
  }
  // No default stands at print position 2.
  EXPECT_EQ(d[4].pozWyd, 3);
}

TEST(DomyslneDefinicje, PlainWidthsAreLeftForTheCallerToCode) {
  EXPECT_EQ(DomyslnePole(1).szerWyg, 30);
  EXPECT_EQ(DomyslnePole(1).szerWyd, 15);
  EXPECT_EQ(DomyslnePole(20).szerWyg, 60);
}

TEST(DomyslneDefinicje, CardFieldsOneToFortyFiveInOrderWithUniqueCodes) {
  const DefinicjeKolumn d;
  for (int f = 1; f <= 45; ++f) EXPECT_EQ(d[f + 2].nrPola, f) << d[f + 2].kod;
  int grupa = 0;
  for (int i = 3; i <= 47; ++i) {
    EXPECT_GE(d[i].grupa, grupa) << d[i].kod;
    grupa = d[i].grupa;
  }
  EXPECT_EQ(grupa, 7);
  for (int i = 1; i <= kIloscKolumn; ++i) {
    EXPECT_EQ(d.numer(d[i].kod), i) << "code repeated: " << d[i].kod;
    EXPECT_LE(tekstPozycji(d[i]).size(), 63u);
  }
  EXPECT_EQ(d[46].kod, "nrRachNa");
  EXPECT_EQ(d[48].kod, "Wprow");
  EXPECT_EQ(d[48].nazwa, cp1250::fromUtf8("Osoba wprowadzająca dane"));
}

TEST(DomyslneDefinicje, SectionTitles) {
  EXPECT_EQ(grupyPol()[0], "");
  EXPECT_EQ(grupyPol()[1], "I. IDENTYFIKACJA");
  EXPECT_EQ(grupyPol()[3], cp1250::fromUtf8("III. PODMIOT, KTÓRY WYDAJE DYSPOZYCJĘ"));
  EXPECT_EQ(grupyPol()[7], "VII. UWAGI");
  EXPECT_EQ(tytulGrupy(8), "");
  EXPECT_EQ(tytulGrupy(-1), "");
}

// ---- item texts ----

TEST(IndeksPola, FindsTheCodeBeforeTheFirstBlank) {
  const DefinicjeKolumn d;
  const struct {
    std::string tekst;
    int numer;
  } przypadki[] = {
      {"Lp - Lp", 1},
      {"nrEwT - Nr. ewidencyjny", 3},
      {"tKw - Kwota transakcji", 15},
      {"tKwZ - Kwota transakcji po zamianie (konwersji)", 17},
      {"Uwagi - Uwagi", 47},
      {"Wprow - Osoba", 48},  // found by falling through
      {"nieznany - x", 48},
      {"lp - Lp", 48},        // case-sensitive
      {"Lp", 48},             // no blank: the code counts as empty
      {"", 48},
  };
  for (const auto& p : przypadki) EXPECT_EQ(IndeksPola(d, p.tekst), p.numer) << p.tekst;
  EXPECT_EQ(tekstPozycji(d[3]), "nrEwT - Nr. ewidencyjny");
}

TEST(NazwaWartosci, TwoDigits) {
  EXPECT_EQ(nazwaWartosci(1), "Pole01");
  EXPECT_EQ(nazwaWartosci(48), "Pole48");
}

// ---- the load ----

class WczytanieDefinicji : public ::testing::Test {
 public:
  platform::RegistryStore reg;  // in memory
  void zapisz(int i, const std::string& bytes) {
    reg.writeBinary(RegRoot::CurrentUser, kKluczKonfig, nazwaWartosci(i), bytes);
  }
  // Every definition stored as its default but for a screen width of 100 right-aligned (201), so
  // that a stored value tells itself from a default.
  void zapiszWszystkie() {
    const DefinicjeKolumn d;
    for (int i = 1; i <= kIloscKolumn; ++i) {
      TDefinicjaKolumny t = d[i];
      t.szerWyg = 201;
      const auto b = t.encode();
      zapisz(i, std::string(b.data(), b.size()));
    }
  }
};

TEST_F(WczytanieDefinicji, WithoutTheKeyEveryDefinitionIsItsDefault) {
  const DefinicjeKolumn d = wczytajDefinicje(reg);
  EXPECT_EQ(kody(d, Strona::Wyglad), kEkranDomyslny);
  EXPECT_EQ(kody(d, Strona::Wydruk), kWydrukDomyslny);
  EXPECT_EQ(pozycje(d, Strona::Wydruk), odJedynki(13));  // the default print gap is closed
  for (int i = 1; i <= kIloscKolumn; ++i) EXPECT_EQ(d[i].szerWyg, DefinicjeKolumn()[i].szerWyg);
}

TEST_F(WczytanieDefinicji, KeyWithoutPoleValuesGivesDefaults) {
  reg.writeString(RegRoot::CurrentUser, kKluczKonfig, "SkTrX", "1,000");
  const DefinicjeKolumn d = wczytajDefinicje(reg);
  EXPECT_EQ(kody(d, Strona::Wyglad), kEkranDomyslny);
  EXPECT_EQ(d[20].szerWyg, 120);
}

TEST_F(WczytanieDefinicji, EachSlotFallsBackToItsDefaultAlone) {
  const std::string dobry5 = Rekord::z("rejDat", "Data rejestracji transakcji", 3, 1, 0, 201, 4, 60).b;
  const struct {
    const char* nazwa;
    std::function<void(WczytanieDefinicji&)> pole05;
    bool zapisane;
  } przypadki[] = {
      {"stored", [&](WczytanieDefinicji& t) { t.zapisz(5, dobry5); }, true},
      {"missing", [](WczytanieDefinicji&) {}, false},
      {"70 bytes", [&](WczytanieDefinicji& t) { t.zapisz(5, dobry5.substr(0, 70)); }, false},
      {"72 bytes", [&](WczytanieDefinicji& t) { t.zapisz(5, dobry5 + '\0'); }, false},
      {"string type",
       [&](WczytanieDefinicji& t) { t.reg.writeString(RegRoot::CurrentUser, kKluczKonfig, "Pole05", dobry5); }, false},
      {"integer type", [](WczytanieDefinicji& t) { t.reg.writeInteger(RegRoot::CurrentUser, kKluczKonfig, "Pole05", 1); },
       false},
      {"another code", [](WczytanieDefinicji& t) { t.zapisz(5, Rekord::z("tKw", "Kwota", 13, 2, 0, 201, 4, 60).b); },
       false},
      {"code length beyond capacity",
       [&](WczytanieDefinicji& t) {
         Rekord r{dobry5};
         r.u8(0, 11);
         t.zapisz(5, r.b);
       },
       false},
      {"name length beyond capacity",
       [&](WczytanieDefinicji& t) {
         Rekord r{dobry5};
         r.u8(11, 51);
         t.zapisz(5, r.b);
       },
       false},
  };
  for (const auto& p : przypadki) {
    SCOPED_TRACE(p.nazwa);
    reg.deleteKey(RegRoot::CurrentUser, kKluczKonfig);
    zapiszWszystkie();
    reg.deleteValue(RegRoot::CurrentUser, kKluczKonfig, "Pole05");
    p.pole05(*this);
    const DefinicjeKolumn d = wczytajDefinicje(reg);
    EXPECT_EQ(d[5].szerWyg, p.zapisane ? 201 : 120);
    EXPECT_EQ(d[5].kod, "rejDat");
    for (int i : {1, 4, 6, 48}) EXPECT_EQ(d[i].szerWyg, 201) << d[i].kod;
  }
}

TEST_F(WczytanieDefinicji, UnknownSectionReadsAsNone) {
  zapisz(20, Rekord::z("zNz", "Nazwisko", 18, 9, 13, 120, 12, 60).b);
  const DefinicjeKolumn d = wczytajDefinicje(reg);
  EXPECT_EQ(d[20].grupa, 0);
  EXPECT_EQ(d[20].nazwa, "Nazwisko");
}

TEST_F(WczytanieDefinicji, StoredPositionsAreNormalised) {
  // Stored screen positions by definition number; every other definition is stored hidden.
  const struct {
    const char* nazwa;
    std::vector<std::pair<int, int>> ekran;  // (definition, stored screen position)
    std::vector<std::string> oczekiwane;
  } przypadki[] = {
      {"gaps", {{1, 1}, {3, 2}, {15, 5}, {20, 9}}, {"Lp", "nrEwT", "tKw", "zNz"}},
      {"repeats ordered by number", {{1, 1}, {20, 3}, {3, 3}, {15, 2}}, {"Lp", "tKw", "nrEwT", "zNz"}},
      {"above 48 kept, last", {{1, 1}, {3, 200}, {15, 49}, {20, 2}}, {"Lp", "zNz", "tKw", "nrEwT"}},
      {"Lp elsewhere goes first", {{3, 1}, {15, 2}, {1, 3}}, {"Lp", "nrEwT", "tKw"}},
      {"Lp left out is shown first", {{3, 4}, {15, 7}}, {"Lp", "nrEwT", "tKw"}},
  };
  for (const auto& p : przypadki) {
    SCOPED_TRACE(p.nazwa);
    reg.deleteKey(RegRoot::CurrentUser, kKluczKonfig);
    const DefinicjeKolumn dom;
    for (int i = 1; i <= kIloscKolumn; ++i) {
      TDefinicjaKolumny t = dom[i];
      t.pozWyg = 0;
      for (auto [n, poz] : p.ekran)
        if (n == i) t.pozWyg = static_cast<std::uint8_t>(poz);
      const auto b = t.encode();
      zapisz(i, std::string(b.data(), b.size()));
    }
    const DefinicjeKolumn d = wczytajDefinicje(reg);
    EXPECT_EQ(kody(d, Strona::Wyglad), p.oczekiwane);
    EXPECT_EQ(pozycje(d, Strona::Wyglad), odJedynki(static_cast<int>(p.oczekiwane.size())));
    EXPECT_EQ(UkladListy(d).kolumnaLp(), 0);
  }
}

TEST_F(WczytanieDefinicji, PrintPositionsAreNormalisedWithoutPinningLp) {
  zapiszWszystkie();
  zapisz(1, Rekord::z("Lp", "Lp", 0, 0, 1, 60, 7, 30, 3).b);
  zapisz(15, Rekord::z("tKw", "Kwota transakcji", 13, 2, 9, 120, 7, 60).b);
  const DefinicjeKolumn d = wczytajDefinicje(reg);
  const auto v = kody(d, Strona::Wydruk);
  EXPECT_EQ(pozycje(d, Strona::Wydruk), odJedynki(13));
  // "Lp", "tDat" and "tKw" share 7 and go by number; "Lp" is not held first on paper.
  const std::vector<std::string> oczekiwane = {"nrRejDat", "rejDat", "kRodzTr", "nrDokT", "Lp", "tDat", "tKw",
                                               "tJ",       "tKwZ",   "tJZ",     "zNz",    "zAdrM", "zAdrUl"};
  EXPECT_EQ(v, oczekiwane);
}

// ---- the write ----

TEST_F(WczytanieDefinicji, WritesAll48AsTheirBytesAndReadsThemBack) {
  DefinicjeKolumn d;
  d[15].szerWyg = 81;
  d[15].pozWyd = 0;
  zapiszDefinicje(reg, d);
  EXPECT_EQ(reg.valueNames(RegRoot::CurrentUser, kKluczKonfig).size(), 48u);
  for (int i = 1; i <= kIloscKolumn; ++i) {
    const auto b = reg.readBinary(RegRoot::CurrentUser, kKluczKonfig, nazwaWartosci(i));
    ASSERT_TRUE(b) << i;
    EXPECT_EQ(b->size(), 71u);
  }
  const auto lp = reg.readBinary(RegRoot::CurrentUser, kKluczKonfig, "Pole01");
  EXPECT_EQ(lp->substr(62), std::string("\x00\x00\x01\x3C\x00\x01\x1E\x00\x03", 9));
  const auto kw = reg.readBinary(RegRoot::CurrentUser, kKluczKonfig, "Pole15");
  EXPECT_EQ(static_cast<unsigned char>((*kw)[65]), 81);
  EXPECT_EQ((*kw)[67], 0);

  const DefinicjeKolumn z = wczytajDefinicje(reg);
  EXPECT_EQ(z[15].szerWyg, 81);
  EXPECT_EQ(z[15].pozWyd, 0);
  EXPECT_EQ(z[20].nazwa, d[20].nazwa);
}

}  // namespace
