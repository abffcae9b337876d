#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "register/edycjaform.h"
#include "register/karta.h"
#include "register/listykarty.h"
#include "register/program.h"
#include "register/weryfikacja.h"
#include "register/werform.h"
#include "register/weryfikacjakarty.h"
#include "settings/podpowform.h"
#include "swiatrejestru.h"

namespace {

using zelt::Karta;
using zelt::RekordyKarty;
using zelt::TRekordPodmiotu;
using zelt::TRekordTransakcji;

const std::string kNumer = "1234567890123456789012345";
const double kDzien = platform::dateToDays(QDate(2007, 3, 5));

std::string w1250(const char* utf8) { return cp1250::fromUtf8(utf8); }

TRekordPodmiotu dysponent(const char* nz) {
  TRekordPodmiotu w;
  w.rolaPo = TRekordPodmiotu::Dysponent;
  w.TypPo = 1;
  w.Nz = w1250(nz);
  w.Obyw = "PL";
  w.AdrKr = "PL";
  w.AdrKod = "00-001";
  w.AdrM = "Warszawa";
  w.AdrUl = "Prosta 1";
  w.NrPes = "44051401359";
  w.RodzDokTo = 1;  // "DO - dowód osobisty"
  w.NrDokTo = "ABC123456";
  return w;
}

TRekordPodmiotu podmiot(const char* nz, std::uint8_t rola) {
  TRekordPodmiotu w;
  w.rolaPo = rola;
  w.TypPo = 2;
  w.Nz = nz;
  w.AdrKr = "DE";
  w.AdrKod = "10115";
  w.AdrM = "Berlin";
  w.AdrUl = "Str. 1";
  return w;
}

// A new card with no finding.
Karta karta() {
  Karta k;
  k.nrEwT = kNumer;
  k.jedIO = "12345678 - siedziba";
  k.rejDat = kDzien;
  k.tDat = kDzien;
  k.kRodzTr = "0101";
  k.kPwz = 0;
  k.kPdjrz = "    ";
  k.spDysp = 1;
  k.nrDokT = "KP/1/2007";
  k.tM = "Warszawa";
  k.tKw = "100,00";
  k.tJ = "PLN";
  k.listaDysponentow.wpisy = {dysponent("Kowalski Jan")};
  k.listaDysponentow.indeks = 1;
  k.z = zelt::pokazWpis(zelt::kRolaDysponenta, k.listaDysponentow.wpisy[0]);
  return k;
}

zelt::SlownikiKarty slowniki(bool switches = false) {
  zelt::SlownikiKarty s;
  s.kraje = zelt::wbudowane::kraje();
  s.waluty = zelt::wbudowane::waluty();
  s.podejrzane = zelt::ListyKarty::wbudowane().kPdjrz;
  s.kategorii = static_cast<int>(zelt::wbudowane::kategorie().size());
  s.tytulow = static_cast<int>(zelt::wbudowane::tytuly().size());
  if (switches) s.numeracja = {true, true, true, true};
  return s;
}

// "Pole nr message" for each row, as UTF-8.
std::vector<std::string> wiersze(const std::vector<zelt::Uwaga>& l, const zelt::LicznikiRekordow& lr) {
  (void)lr;
  std::vector<std::string> out;
  for (const auto& u : l) out.push_back(cp1250::toQ(u.pole).toStdString() + " " + cp1250::toQ(u.tekst).toStdString());
  return out;
}

struct Przypadek {
  const char* nazwa;
  std::function<void(Karta&, zelt::SlownikiKarty&)> zmiana;
  std::vector<std::string> bledy, ostrz;
  std::function<void(const Karta&)> po = {};
  bool blokuje = false;
};

struct Sprawdzenie : swiat::SwiatRejestru {
  zelt::LicznikiRekordow lr;
  zelt::ListyWeryfikacji listy{lr};
  RekordyKarty rk;
  bool nowa = true;

  zelt::WynikWeryfikacji sprawdz(Karta& k, const zelt::SlownikiKarty& s) {
    return zelt::weryfikujKarte(k, nowa, rk, listy, plik(), s);
  }
};

const char* const E01Pusty = "01 Pole musi być wypełnione";
const char* const W01Zera = "01 Pole powinno zawierać 25 cyfr uzupełniono zerami od przodu.";
const char* const E01Jest = "01 Transakcja o takim numerze już jest w rejestrze";
const char* const E01Cyfry = "01 Numer ewidencyjny może zawierać tylko cyfry 0..9";
const char* const Wypelnij = "Pole powinno być wypełnione";

TEST(WeryfikacjaKarty, OneChangeToTheCleanCardGivesItsFindings) {
  const std::vector<Przypadek> przypadki = {
      {"clean", [](Karta&, auto&) {}, {}, {}},
      {"empty number", [](Karta& k, auto&) { k.nrEwT.clear(); }, {E01Pusty}, {},
       [](const Karta& k) { EXPECT_EQ(k.nrEwT, ""); }, true},
      {"short number", [](Karta& k, auto&) { k.nrEwT = "123"; }, {}, {W01Zera},
       [](const Karta& k) { EXPECT_EQ(k.nrEwT, std::string(22, '0') + "123"); }},
      {"all switches, unit padded into the suffix",
       [](Karta& k, auto& s) {
         s = slowniki(true);
         k.nrEwT = "1234567890";
         k.jedIO = "5";
       },
       {},
       {W01Zera, "04 Pole powinno zawierać 8 cyfr uzupełniono zerami od przodu."},
       [](const Karta& k) {
         EXPECT_EQ(k.nrEwT, "01234567890");
         EXPECT_EQ(k.jedIO, "00000005");
         EXPECT_EQ((k.nrEwT + "00000005050307").size(), 25u);
       }},
      {"a letter in the number", [](Karta& k, auto&) { k.nrEwT = "12n"; }, {E01Cyfry}, {W01Zera},
       [](const Karta& k) { EXPECT_EQ(k.nrEwT, std::string(22, '0') + "12n"); }},
      {"a blank in a number of 25", [](Karta& k, auto&) { k.nrEwT = kNumer.substr(0, 24) + " "; }, {E01Cyfry}, {}},
      {"all switches, a letter in the number",
       [](Karta& k, auto& s) {
         s = slowniki(true);
         k.nrEwT = "X";
       },
       {E01Cyfry}, {W01Zera}},
      {"all switches, letters in the unit are the suffix's, not the number's",
       [](Karta& k, auto& s) {
         s = slowniki(true);
         k.nrEwT = "1234567890";
         k.jedIO = "ABCDEFGH";
       },
       {}, {W01Zera}},
      {"all switches, 25 digits", [](Karta&, auto& s) { s = slowniki(true); }, {},
       {"01 Numer z dodanymi częściami ma ponad 25 cyfr, zostanie obcięty do 25."},
       [](const Karta& k) { EXPECT_EQ(k.nrEwT, kNumer); }},
      {"kind 0100 without remark", [](Karta& k, auto&) { k.kRodzTr = "0100"; },
       {"06 Gdy wybrano inny tytuł transakcji należy wpisać szczegóły w polu uwagi 53."}, {}},
      {"kind 0801", [](Karta& k, auto&) { k.kRodzTr = "0801"; }, {"06 Błędny kod kategorii transakcji"}, {}},
      {"kind empty", [](Karta& k, auto&) { k.kRodzTr = ""; },
       {"06 Błędny kod kategorii transakcji", "06 Błędny kod tytułu transakcji"}, {}},
      {"kind 0146 is on the picker", [](Karta& k, auto&) { k.kRodzTr = "0146"; }, {}, {}},
      {"kind 0147", [](Karta& k, auto&) { k.kRodzTr = "0147"; }, {"06 Błędny kod tytułu transakcji"}, {}},
      {"kind +1 01 is no number", [](Karta& k, auto&) { k.kRodzTr = "+101"; }, {"06 Błędny kod kategorii transakcji"}, {}},
      {"linked and other disposition without remarks",
       [](Karta& k, auto&) {
         k.kPwz = 1;
         k.spDysp = 0;
       },
       {"07 Gdy wybrano transakcję powiązaną należy wpisać szczegóły w polu uwagi 53.",
        "09 Gdy wybrano inny sposób wydania dyspozycji należy wpisać szczegóły w polu uwagi 53."},
       {}},
      {"suspicious code chosen with remark",
       [](Karta& k, auto&) {
         k.kPdjrz = zelt::ListyKarty::wbudowane().kPdjrz[1];
         k.uwkPdjrz = "opis";
         k.uwkPdjrzWidoczna = true;
       },
       {}, {}},
      {"suspicious code 1234", [](Karta& k, auto&) { k.kPdjrz = "1234"; },
       {"08 Gdy wprowadzono kod transakcji podejrzanej należy wpisać szczegóły w polu uwagi 53."},
       {"08 Nieznany kod transakcji podejrzanej"}},
      {"no document number or place",
       [](Karta& k, auto&) {
         k.nrDokT.clear();
         k.tM.clear();
       },
       {}, {"10 Brak numeru transakcji", std::string("12 ") + Wypelnij}},
      {"exchange without 15 and 16", [](Karta& k, auto&) { k.kRodzTr = "0601"; },
       {"15 Błędna kwota", "16 Błędna jednostka transakcji"}, {}},
      {"15 and 16 emptied outside an exchange",
       [](Karta& k, auto&) {
         k.tKwZ = "5";
         k.tJZ = "EUR";
       },
       {}, {},
       [](const Karta& k) {
         EXPECT_EQ(k.tKwZ, "");
         EXPECT_EQ(k.tJZ, "");
       }},
      {"currency empty", [](Karta& k, auto&) { k.tJ.clear(); }, {"14 Błędna jednostka transakcji"}, {}},
      {"currency XXX", [](Karta& k, auto&) { k.tJ = "XXX"; }, {"14 Błędna jednostka transakcji"}, {}},
      {"source account 123", [](Karta& k, auto&) { k.nrRachZ = "123"; }, {},
       {"43 Błędny numer rachunku lub nie w standardzie NRB"}},
      {"target account valid NRB", [](Karta& k, auto&) { k.nrRachN = "PL61 1090 1014 0000 0712 1981 2874"; }, {}, {}},
  };
  for (const auto& p : przypadki) {
    Sprawdzenie s;
    Karta k = karta();
    auto sl = slowniki();
    p.zmiana(k, sl);
    const auto wynik = s.sprawdz(k, sl);
    EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), p.bledy) << p.nazwa;
    EXPECT_EQ(wiersze(s.listy.ostrze(), s.lr), p.ostrz) << p.nazwa;
    EXPECT_EQ(wynik.blokuje, p.blokuje) << p.nazwa;
    EXPECT_EQ(s.lr.bledow, static_cast<int>(p.bledy.size())) << p.nazwa;
    EXPECT_EQ(s.lr.ostrzezen, static_cast<int>(p.ostrz.size())) << p.nazwa;
    if (p.po) p.po(k);
  }
}

TEST(WeryfikacjaKarty, AmountsAreReadWithoutLocale) {
  const struct {
    const char* kwota;
    std::vector<std::string> bledy;
  } przypadki[] = {
      {"0", {"13 Błędna kwota"}},       {"", {"13 Błędna kwota"}},    {"1a", {"13 Błędna kwota"}},
      {"-5", {"13 Błędna kwota"}},      {"1e5", {"13 Błędna kwota"}}, {" 5", {"13 Błędna kwota"}},
      {",", {"13 Błędna kwota"}},       {"1,2.3", {"13 Błędna kwota", "13 Kwota może być wprowadzona z dokładnością max. 2 miejsc po przecinku."}},
      {"12,345", {"13 Kwota może być wprowadzona z dokładnością max. 2 miejsc po przecinku."}},
      {",5", {}},                       {"12.", {}},                  {"12,34", {}},
  };
  for (const auto& p : przypadki) {
    Sprawdzenie s;
    Karta k = karta();
    k.tKw = p.kwota;
    s.sprawdz(k, slowniki());
    EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), p.bledy) << '"' << p.kwota << '"';
    EXPECT_EQ(k.tKw, p.kwota) << "the amount itself is not changed";
  }
}

TEST(WeryfikacjaKarty, NumberIsUniqueAmongOtherCardsLiveRecords) {
  Sprawdzenie s;
  s.zapisz({swiat::rekord(kNumer, kDzien, "0"), swiat::usuniety(swiat::rekord(kNumer, kDzien, "1")),
            swiat::rekord(kNumer, kDzien + 1, "0"), swiat::rekord("inny", kDzien, " 3 ")});
  Karta k = karta();
  const auto wynik = s.sprawdz(k, slowniki());
  EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), (std::vector<std::string>{E01Jest, E01Jest}));
  EXPECT_TRUE(wynik.blokuje);
  EXPECT_EQ(wynik.numeryDnia, (std::vector<std::string>{"0", " 3 "})) << "live records of the card's date only";
  EXPECT_EQ(s.lr.r[1].bledy, 2);
}

TEST(WeryfikacjaKarty, EditedCardExcludesItsOwnRecordsButNotAMergedCard) {
  for (const char* rodzajDrugiego : {"", "    ", "0607"}) {
    Sprawdzenie s;
    TRekordTransakcji r1 = swiat::rekord(kNumer, kDzien, "0"), r2 = swiat::rekord(kNumer, kDzien, "1");
    r1.kRodzTr = "0101";
    r2.kRodzTr = rodzajDrugiego;
    s.zapisz({swiat::rekord("inny", kDzien, "5"), r1, r2});
    s.nowa = false;
    s.rk.k = 2;
    s.rk.r[1] = {1, -1, "0"};
    s.rk.r[2] = {2, -1, "1"};
    Karta k = karta();
    const auto wynik = s.sprawdz(k, slowniki());
    const bool scalona = std::string(rodzajDrugiego) == "0607";
    EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), scalona ? std::vector<std::string>{E01Jest} : std::vector<std::string>{})
        << '"' << rodzajDrugiego << '"';
    EXPECT_EQ(wynik.blokuje, scalona);
    EXPECT_EQ(wynik.numeryDnia, (std::vector<std::string>{"5"})) << "the card's own numbers are not others'";
  }
}

// A stored number is checked as the card shows it, right after its length and before its
// uniqueness; the finding does not stop the save.
TEST(WeryfikacjaKarty, AStoredNumberWithALetterIsAnErrorBeforeTheUniquenessFindings) {
  const std::string numer = kNumer.substr(0, 24) + "n";
  for (const bool drugaKarta : {false, true}) {
    SCOPED_TRACE(drugaKarta ? "another card holds the number" : "the card alone");
    Sprawdzenie s;
    std::vector<TRekordTransakcji> rekordy = {swiat::rekord(numer, kDzien, "0")};
    if (drugaKarta) rekordy.push_back(swiat::rekord(numer, kDzien, "1"));
    s.zapisz(rekordy);
    s.nowa = false;
    s.rk.k = 1;
    s.rk.r[1] = {0, -1, "0"};
    Karta k = karta();
    k.nrEwT = numer;
    const auto wynik = s.sprawdz(k, slowniki());
    const std::vector<std::string> oczekiwane =
        drugaKarta ? std::vector<std::string>{E01Cyfry, E01Jest} : std::vector<std::string>{E01Cyfry};
    EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), oczekiwane);
    ASSERT_FALSE(s.listy.bledy().empty());
    EXPECT_EQ(cp1250::toQ(s.listy.bledy()[0].nazwa), "Numer ewidencyjny transakcji");
    EXPECT_EQ(s.lr.r[1].bledy, drugaKarta ? 2 : 1) << "counted against record 1";
    EXPECT_EQ(wynik.blokuje, drugaKarta) << "only another card's number stops the save";
    EXPECT_EQ(k.nrEwT, numer);
  }
}

TEST(WeryfikacjaKarty, EditedCardMovedToADayWhereItsNumberIsTakenIsWarned) {
  Sprawdzenie s;
  TRekordTransakcji r1 = swiat::rekord(kNumer, kDzien, "3");
  s.zapisz({r1, swiat::rekord("inny", kDzien + 7, " 3 ")});
  s.nowa = false;
  s.rk.k = 1;
  s.rk.r[1] = {0, -1, "3"};
  Karta k = karta();
  s.sprawdz(k, slowniki());
  EXPECT_TRUE(s.listy.ostrze().empty()) << "its own day: nothing";

  k.rejDat = kDzien + 7;
  s.sprawdz(k, slowniki());
  EXPECT_EQ(wiersze(s.listy.ostrze(), s.lr),
            std::vector<std::string>{"02 Taki numer rejestracji już jest w rejestrze w tym dniu"});
  EXPECT_TRUE(s.listy.bledy().empty());
}

TEST(WeryfikacjaKarty, NamelessEntriesAreRemovedAndTheRestCountedByPosition) {
  Sprawdzenie s;
  Karta k = karta();
  TRekordPodmiotu bez = dysponent("");
  TRekordPodmiotu c = dysponent("C");
  c.Obyw.clear();
  c.TypPo = 9;
  c.RodzDokTo = -1;
  c.NrDokTo.clear();
  k.listaDysponentow.wpisy = {dysponent("A"), bez, c};
  k.listaDysponentow.indeks = 3;
  s.sprawdz(k, slowniki());
  EXPECT_EQ(wiersze(s.listy.ostrze(), s.lr), std::vector<std::string>{"18- Usunięto pusty wpis"});
  EXPECT_EQ(s.listy.ostrze()[0].nazwa, w1250("Nazwisko, imię / nazwa"));
  EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), std::vector<std::string>{"19-C Błędny kod kraju"})
      << "type 9 needs no document";
  EXPECT_EQ(s.lr.r[2].ostrzezenia, 1);
  EXPECT_EQ(s.lr.r[2].bledy, 1) << "C is checked as entry 2";
  ASSERT_EQ(k.listaDysponentow.wpisy.size(), 2u);
  EXPECT_EQ(k.listaDysponentow.wpisy[1].Nz, "C");
  EXPECT_EQ(k.listaDysponentow.indeks, 1);
  EXPECT_EQ(k.z.pola.Nz, "A") << "the page shows entry 1";

  // A list left empty shows a new entry.
  Karta pusta = karta();
  pusta.listaBeneficjentow.wpisy = {podmiot("", TRekordPodmiotu::Beneficjent)};
  pusta.listaBeneficjentow.indeks = 1;
  s.sprawdz(pusta, slowniki());
  EXPECT_EQ(wiersze(s.listy.ostrze(), s.lr), std::vector<std::string>{"38- Usunięto pusty wpis"});
  EXPECT_TRUE(pusta.listaBeneficjentow.wpisy.empty());
  EXPECT_EQ(pusta.listaBeneficjentow.indeks, 0);
  EXPECT_EQ(pusta.b.pola.Nz, "");
  EXPECT_EQ(pusta.b.pola.TypPo, -1);
  EXPECT_EQ(pusta.b.pola.rolaPo, TRekordPodmiotu::Beneficjent);
}

TEST(WeryfikacjaKarty, PartyEntryChecks) {
  const struct {
    const char* nazwa;
    std::function<void(Karta&)> zmiana;
    std::vector<std::string> bledy, ostrz;
  } przypadki[] = {
      {"natural person without document",
       [](Karta& k) {
         k.listaDysponentow.wpisy[0].RodzDokTo = -1;
         k.listaDysponentow.wpisy[0].NrDokTo.clear();
       },
       {},
       {"29-Kowalski Jan Pole powinno być wypełnione.", "30-Kowalski Jan Pole powinno być wypełnione."}},
      {"identification numbers one digit off",
       [](Karta& k) {
         auto& w = k.listaDysponentow.wpisy[0];
         w.NrPes = "44051401358";
         w.NrReg = "123456784";
         w.Nip = "1234563219";
       },
       {"24-Kowalski Jan Błędny numer PESEL", "25-Kowalski Jan Błędny numer REGON", "28-Kowalski Jan Błędny numer NIP"},
       {}},
      {"type other without remark, no address",
       [](Karta& k) {
         auto& w = k.listaDysponentow.wpisy[0];
         w.TypPo = 0;
         w.AdrKr = "XX";
         w.AdrKod.clear();
         w.AdrM.clear();
         w.AdrUl.clear();
       },
       {"17-Kowalski Jan Gdy wybrano inny typ podmiotu należy wpisać szczegóły w polu uwagi 53.",
        "20-Kowalski Jan Błędny kod kraju"},
       {"21-Kowalski Jan Pole powinno być wypełnione", "22-Kowalski Jan Pole powinno być wypełnione",
        "23-Kowalski Jan Pole powinno być wypełnione"}},
      {"ordering party without type",
       [](Karta& k) { k.listaDysponentow.wpisy[0].TypPo = -1; }, {"17-Kowalski Jan Pole musi być wypełnione"}, {}},
      {"on-behalf party without type",
       [](Karta& k) {
         auto w = podmiot("X", TRekordPodmiotu::WImieniu);
         w.TypPo = -1;
         w.AdrKr.clear();
         k.listaWImieniu.wpisy = {w};
       },
       {"31-X Pole musi być wypełnione", "33-X Błędny kod kraju"}, {}},
      {"beneficiary of type other",
       [](Karta& k) {
         auto w = podmiot("B", TRekordPodmiotu::Beneficjent);
         w.TypPo = 0;
         w.AdrUl.clear();
         k.listaBeneficjentow.wpisy = {w};
       },
       {"37-B Gdy wybrano inny typ podmiotu należy wpisać szczegóły w polu uwagi 53."},
       {"42-B Pole powinno być wypełnione"}},
  };
  for (const auto& p : przypadki) {
    Sprawdzenie s;
    Karta k = karta();
    p.zmiana(k);
    s.sprawdz(k, slowniki());
    EXPECT_EQ(wiersze(s.listy.bledy(), s.lr), p.bledy) << p.nazwa;
    EXPECT_EQ(wiersze(s.listy.ostrze(), s.lr), p.ostrz) << p.nazwa;
  }
}

TEST(WeryfikacjaKarty, PartyPoleIsCutTo143) {
  Sprawdzenie s;
  Karta k = karta();
  k.listaDysponentow.wpisy[0].Nz = std::string(200, 'N');
  k.listaDysponentow.wpisy[0].NrPes = "1";
  s.sprawdz(k, slowniki());
  ASSERT_EQ(s.listy.bledy().size(), 1u);
  EXPECT_EQ(s.listy.bledy()[0].pole, "24-" + std::string(140, 'N'));
}

TEST(WeryfikacjaKarty, RemarksAreCountedPerRecordAsStored) {
  // Record 1 stores remarks a-d (255 each, when shown), the ordering party's type, citizenship
  // and document remarks, and uwInne (127): 4 x 255 + 255 + 127 = 1402 before the citizenship.
  auto pelna = [](std::size_t obyw) {
    Karta k = karta();
    k.kRodzTr = "0100";
    k.kPwz = 1;
    k.kPdjrz = "0000";
    k.spDysp = 0;
    k.uwkRodzTrWidoczna = k.uwkPwzWidoczna = k.uwkPdjrzWidoczna = k.uwspDyspWidoczna = true;
    k.uwkRodzTr = k.uwkPwz = k.uwkPdjrz = k.uwspDysp = std::string(255, 'u');
    auto& z = k.listaDysponentow.wpisy[0];
    z.TypPo = 0;
    z.uwTypPo = std::string(255, 't');
    z.uwObyw = std::string(obyw, 'o');
    k.uwInne = std::string(300, 'i');  // stored as 127
    return k;
  };
  const struct {
    const char* nazwa;
    Karta k;
    std::vector<std::string> bledy;
    int rekord;
  } przypadki[] = {
      {"1499", pelna(97), {}, 0},
      {"1500", pelna(98), {"45 Prekroczona łączna długość uwag"}, 1},
      {"1500 with a hidden remark", [&] {
         Karta k = pelna(98);
         k.uwkPwzWidoczna = false;
         return k;
       }(), {}, 0},
      {"1500 with a document remark whose kind is not other", [&] {
         Karta k = pelna(97);
         k.listaDysponentow.wpisy[0].uwRodzDokTo = "x";
         return k;
       }(), {}, 0},
      {"record 2 over on its own entry", [&] {
         Karta k = pelna(97);
         k.kRodzTr = "0101";
         k.uwkRodzTrWidoczna = false;  // record 1 now well under
         auto z2 = k.listaDysponentow.wpisy[0];
         z2.Nz = "Drugi";
         z2.uwObyw = std::string(255, 'o');
         z2.RodzDokTo = 0;
         z2.uwRodzDokTo = std::string(255, 'd');
         k.listaDysponentow.wpisy.push_back(z2);
         auto p = podmiot("P", TRekordPodmiotu::WImieniu);
         p.TypPo = 0;
         p.uwTypPo = std::string(255, 'p');
         k.listaWImieniu.wpisy = {podmiot("P1", TRekordPodmiotu::WImieniu), p};
         auto b = podmiot("B", TRekordPodmiotu::Beneficjent);
         b.TypPo = 0;
         b.uwTypPo = std::string(300, 'b');  // stored as 127
         k.listaBeneficjentow.wpisy = {podmiot("B1", TRekordPodmiotu::Beneficjent), b};
         return k;
       }(), {}, 0},
  };
  for (const auto& p : przypadki) {
    Sprawdzenie s;
    Karta k = p.k;
    s.sprawdz(k, slowniki());
    std::vector<std::string> uwagi;
    for (const auto& w : wiersze(s.listy.bledy(), s.lr))
      if (w.rfind("45 ", 0) == 0) uwagi.push_back(w);
    EXPECT_EQ(uwagi, p.bledy) << p.nazwa;
    if (p.rekord) {
      EXPECT_EQ(s.lr.r[static_cast<std::size_t>(p.rekord)].bledy, 1) << p.nazwa;
    }
  }
}

TEST(WeryfikacjaKarty, WeryfikujShowsTotalsAndTheFindingsForReadingWritingNothing) {
  Sprawdzenie w;
  auto& p = w.uruchomiony();
  auto& e = *p.edycja();
  w.zapisz({swiat::rekord("inny", kDzien, "0")});
  const auto przed = w.rekordy();

  p.trybKarty = 1;
  p.karta = karta();
  e.pokazKarte();
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Brak błędów"));
  e.Weryfikuj->click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(e.ilblad->text(), "0");
  EXPECT_EQ(e.ilos->text(), "0");

  // The page shows an entry not yet in its list: the check sees it as entry 1.
  p.karta = karta();
  p.karta.nrEwT = "123";
  p.karta.listaDysponentow = {};
  p.karta.z.pola.Obyw = "ZZ";
  e.pokazKarte();
  bool bezPotwierdzenia = false;
  w.dialogs.expectModal("WerForm", [&](platform::ModalForm& f) {
    bezPotwierdzenia = static_cast<zelt::TWerForm&>(f).zapisz->isHidden();
    return zelt::TWerForm::kWroc;
  });
  e.Weryfikuj->click();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_TRUE(bezPotwierdzenia) << "for reading: no confirm button";
  EXPECT_EQ(e.ilblad->text(), "1");
  EXPECT_EQ(e.ilos->text(), "1");
  EXPECT_EQ(e.nrEwT->text().toStdString(), std::string(22, '0') + "123") << "the padding is shown";
  ASSERT_EQ(p.karta.listaDysponentow.wpisy.size(), 1u);
  EXPECT_EQ(wiersze(p.listyWer.bledy(), p.licznikiRekordow), std::vector<std::string>{"19-Kowalski Jan Błędny kod kraju"});
  EXPECT_EQ(w.rekordy().size(), przed.size()) << "nothing written";
}

}  // namespace
