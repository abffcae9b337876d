// The card save without the editor: the records a card becomes, their registration numbers, the
// writes in place and at the end, the undo of a failed save, and the register list's rows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <cstring>
#include <sys/stat.h>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/karta.h"
#include "register/listykarty.h"
#include "register/program.h"
#include "register/werform.h"
#include "register/weryfikacjakarty.h"
#include "register/zapiskarty.h"
#include "register/polecenia.h"
#include "register/rejestr.h"
#include "support/disklog.h"
#include "support/filesizelimit.h"
#include "swiatrejestru.h"

namespace {

using zelt::Karta;
using zelt::TRekordPodmiotu;
using zelt::TRekordTransakcji;
using zelt::Zapis;

// 2007-03-05 as a day count (a literal: the clock helpers may not be set up yet at static initialisation).
constexpr double kD = 39146;
constexpr double kInny = kD + 7;
const QString kZajete = QString::fromUtf8("Wszystkie numery rejestracji (0-999) w tym dniu są zajęte, karty nie zapisano");
const QString kOdmowa = QString::fromUtf8("Usunięcie po wydruku lub wysłaniu danych niemożliwe");

std::string w1250(const char* utf8) { return cp1250::fromUtf8(utf8); }
std::string powtorz(char c, std::size_t n) { return std::string(n, c); }

// An ordering party with every field; `typ` 0 and `dok` 0 ask for their remarks.
TRekordPodmiotu dysponent(const std::string& nz, std::int32_t typ = 1, std::int32_t dok = 1) {
  TRekordPodmiotu w;
  w.rolaPo = TRekordPodmiotu::Dysponent;
  w.TypPo = typ;
  w.Nz = nz;
  w.Obyw = "PL";
  w.AdrKr = "DE";
  w.AdrKod = "00-" + nz.substr(0, 3);
  w.AdrM = w1250("Łódź ") + nz;
  w.AdrUl = "Prosta " + nz;
  w.NrPes = "44051401359";
  w.NrReg = "123456785";
  w.NrReS = "KRS" + nz.substr(0, 3);
  w.NrSwt = "BPKOPLPW";
  w.Nip = "1234563218";
  w.RodzDokTo = dok;
  w.NrDokTo = "ABC" + nz;
  w.uwTypPo = "typ " + nz;
  w.uwRodzDokTo = "dok " + nz;
  w.uwObyw = "obyw " + nz;
  return w;
}

// An on-behalf party or a beneficiary: type, name, address and the type remark.
TRekordPodmiotu podmiot(const std::string& nz, std::uint8_t rola, std::int32_t typ = 2) {
  TRekordPodmiotu w;
  w.rolaPo = rola;
  w.TypPo = typ;
  w.Nz = nz;
  w.AdrKr = "FR";
  w.AdrKod = "75001";
  w.AdrM = "Paris " + nz;
  w.AdrUl = "Rue " + nz;
  w.uwTypPo = "typ " + nz;
  return w;
}

// A card with every transaction field and the four code remarks shown, and the given entries.
Karta karta(int z, int p, int b) {
  Karta k;
  k.nrEwT = "1234567890123456789012345";
  k.rejDat = kD;
  k.jedIO = "12345678 - siedziba";
  k.Status = 0;
  k.kRodzTr = "0600";
  k.uwkRodzTr = "uwaga a";
  k.uwkRodzTrWidoczna = true;
  k.kwotaZWidoczna = true;
  k.kPwz = 1;
  k.uwkPwz = "uwaga b";
  k.uwkPwzWidoczna = true;
  k.kPdjrz = w1250("9000 - środki mogą pochodzić z nielegalnych źródeł");
  k.uwkPdjrz = "uwaga c";
  k.uwkPdjrzWidoczna = true;
  k.spDysp = 0;
  k.uwspDysp = "uwaga d";
  k.uwspDyspWidoczna = true;
  k.nrDokT = "KP/1/2007";
  k.tDat = kD - 1;
  k.tM = "Warszawa";
  k.tKw = "100,00";
  k.tJ = "PLN";
  k.tKwZ = "25,00";
  k.tJZ = "EUR";
  k.nrRachZ = "PL61 1090 1014 0000 0712 1981 2874";
  k.nrRachN = "61109010140000071219812874";
  k.uwInne = "45: uwagi inne";
  for (int i = 1; i <= z; ++i) k.listaDysponentow.wpisy.push_back(dysponent("z" + std::to_string(i)));
  for (int i = 1; i <= p; ++i) k.listaWImieniu.wpisy.push_back(podmiot("p" + std::to_string(i), TRekordPodmiotu::WImieniu));
  for (int i = 1; i <= b; ++i)
    k.listaBeneficjentow.wpisy.push_back(podmiot("b" + std::to_string(i), TRekordPodmiotu::Beneficjent));
  for (auto* l : {&k.listaDysponentow, &k.listaWImieniu, &k.listaBeneficjentow}) l->indeks = l->wpisy.empty() ? 0 : 1;
  return k;
}

// The ordering party's fields 17-30 and remarks e, f, g of a record, as the record's table gives them.
void zDysponentem(TRekordTransakcji& e, const TRekordPodmiotu& w) {
  e.zTypPo = w.TypPo;
  e.zNz = w.Nz;
  e.zObyw = w.Obyw;
  e.zAdrKr = w.AdrKr;
  e.zAdrKod = w.AdrKod;
  e.zAdrM = w.AdrM;
  e.zAdrUl = w.AdrUl;
  e.zNrPes = w.NrPes;
  e.zNrReg = w.NrReg;
  e.zNrReS = w.NrReS;
  e.zNrSwt = w.NrSwt;
  e.zNip = w.Nip;
  e.zRodzDokTo = w.RodzDokTo;
  e.zNrDokTo = w.NrDokTo;
  e.uwzTypPo = w.TypPo == 0 ? w.uwTypPo : "";
  e.uwzObyw = w.uwObyw;
  e.uwzRodzDokTo = w.RodzDokTo == 0 ? w.uwRodzDokTo : "";
}

// ---- the records of a card ----

TEST(CardRecords, ThreeOrderingPartiesAndOneBeneficiaryMakeThreeRecords) {
  Karta k = karta(3, 0, 1);
  k.listaDysponentow.wpisy[0] = dysponent("z1", 0, 0);  // remarks e and g stored
  k.listaBeneficjentow.wpisy[0] = podmiot("b1", TRekordPodmiotu::Beneficjent, 0);
  k.listaBeneficjentow.wpisy[0].uwTypPo = powtorz('i', 200);
  k.uwInne = powtorz('x', 200);
  zelt::LicznikiRekordow lr;
  lr.r[1] = {2, 3, 1, 0};
  lr.r[2] = {0, 1, 300, 0};
  lr.r[3] = {0, 0, 0, 7};
  const zelt::ZrodloRekordow z{k, true, {}, "Jan;Kowalski;Inspektor", lr};
  ASSERT_EQ(zelt::rekordowKarty(k), 3);

  TRekordTransakcji wspolne;  // what every record carries
  wspolne.nrEwT = k.nrEwT;
  wspolne.rejDat = kD;
  wspolne.jedIO = "12345678";
  wspolne.Status = 0;
  wspolne.tDat = kD - 1;
  wspolne.uwInne = powtorz('x', 127);
  wspolne.Wprow = "Jan;Kowalski;Inspektor";

  TRekordTransakcji e1 = wspolne;
  e1.kRodzTr = "0600";
  e1.uwkRodzTr = "uwaga a";
  e1.kPwz = 1;
  e1.uwkPwz = "uwaga b";
  e1.kPdjrz = "9000";
  e1.uwkPdjrz = "uwaga c";
  e1.spDysp = 0;
  e1.uwspDysp = "uwaga d";
  e1.nrDokT = "KP/1/2007";
  e1.tM = "Warszawa";
  e1.tKw = "100,00";
  e1.tJ = "PLN";
  e1.tKwZ = "25,00";
  e1.tJZ = "EUR";
  e1.nrRachZ = k.nrRachZ;
  e1.nrRachN = k.nrRachN;
  zDysponentem(e1, k.listaDysponentow.wpisy[0]);
  EXPECT_EQ(e1.uwzTypPo, "typ z1");
  EXPECT_EQ(e1.uwzRodzDokTo, "dok z1");
  e1.bTypPo = 0;
  e1.bNz = "b1";
  e1.bAdrKr = "FR";
  e1.bAdrKod = "75001";
  e1.bAdrM = "Paris b1";
  e1.bAdrUl = "Rue b1";
  e1.uwbTypPo = powtorz('i', 127);
  e1.ilBledow = 2;
  e1.ilOstrzezen = 3;
  e1.ilWydrukow = 1;

  TRekordTransakcji e2 = wspolne, e3 = wspolne;
  zDysponentem(e2, k.listaDysponentow.wpisy[1]);
  zDysponentem(e3, k.listaDysponentow.wpisy[2]);
  EXPECT_EQ(e2.uwzTypPo, "") << "type 1 stores no type remark";
  EXPECT_EQ(e2.uwzObyw, "obyw z2") << "the second citizenship always";
  e2.ilOstrzezen = 1;
  e2.ilWydrukow = 255;  // 300 saturated, never 44
  e3.ilWyslan = 7;

  const TRekordTransakcji expected[] = {e1, e2, e3};
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    const TRekordTransakcji r = zelt::wprowadz(z, i);
    EXPECT_EQ(r, expected[i - 1]);
    EXPECT_EQ(r.pTypPo, -1);
    if (i > 1) {
      EXPECT_EQ(r.bTypPo, -1);
      EXPECT_EQ(r.kPwz, -1);
      EXPECT_EQ(r.spDysp, -1);
    }
  }
}

TEST(CardRecords, NumberSuffixOfANewCardAndWhatOnlyRecordOneCarries) {
  struct Case {
    const char* name;
    std::function<void(Karta&)> zmiana;
    bool nowa;
    std::function<void(const TRekordTransakcji&)> sprawdz;
    std::string zalogowany = "Jan;Kowalski;X";
  } cases[] = {
      {"no entries: one record", [](Karta& k) { k.listaDysponentow.wpisy.clear(); }, true,
       [](const TRekordTransakcji& r) {
         EXPECT_EQ(r.zTypPo, -1);
         EXPECT_EQ(r.zRodzDokTo, -1);
         EXPECT_EQ(r.zNz, "");
         EXPECT_EQ(r.kRodzTr, "0600");
       }},
      {"a new card's number gets unit and year", [](Karta& k) { k.nrEwT = "1234567890"; }, true,
       [](const TRekordTransakcji& r) { EXPECT_EQ(r.nrEwT, "12345678901234567807"); }},
      {"cut to 25", [](Karta& k) { k.nrEwT = "12345678901234567890"; }, true,
       [](const TRekordTransakcji& r) { EXPECT_EQ(r.nrEwT, "1234567890123456789012345"); }},
      {"an edited card's number gets no suffix", [](Karta& k) { k.nrEwT = "1234567890"; }, false,
       [](const TRekordTransakcji& r) { EXPECT_EQ(r.nrEwT, "1234567890"); }},
      {"a short unit is padded before the suffix takes it",
       [](Karta& k) {
         k.nrEwT = "1";
         k.jedIO = "5";
       },
       true,
       [](const TRekordTransakcji& r) {
         EXPECT_EQ(r.jedIO, "00000005");
         EXPECT_EQ(r.nrEwT, "10000000507");
       }},
      {"hidden code remarks are not stored",
       [](Karta& k) { k.uwkRodzTrWidoczna = k.uwkPwzWidoczna = k.uwkPdjrzWidoczna = k.uwspDyspWidoczna = false; }, true,
       [](const TRekordTransakcji& r) {
         EXPECT_EQ(r.uwkRodzTr + r.uwkPwz + r.uwkPdjrz + r.uwspDysp, "");
       }},
      {"remarks e, g, h and i only for type or kind 0; f always",
       [](Karta& k) {
         k.listaWImieniu.wpisy = {podmiot("p1", TRekordPodmiotu::WImieniu)};
         k.listaBeneficjentow.wpisy = {podmiot("b1", TRekordPodmiotu::Beneficjent)};
       },
       true,
       [](const TRekordTransakcji& r) {
         EXPECT_EQ(r.pNz + r.bNz, "p1b1");
         EXPECT_EQ(r.uwzTypPo + r.uwzRodzDokTo + r.uwpTypPo + r.uwbTypPo, "");
         EXPECT_EQ(r.uwzObyw, "obyw z1");
       }},
      {"fields 15 and 16 only for an exchange of currency", [](Karta& k) { k.kRodzTr = "0701"; }, true,
       [](const TRekordTransakcji& r) {
         EXPECT_EQ(r.tKwZ, "");
         EXPECT_EQ(r.tJZ, "");
       }},
      {"the signed-in person", [](Karta&) {}, false,
       [](const TRekordTransakcji& r) { EXPECT_EQ(r.Wprow, "Jan;Kowalski;X"); }},
      {"the administrator leaves Wprow empty, also when editing", [](Karta& k) { k.Wprowa = "Anna;Nowak;Y"; }, false,
       [](const TRekordTransakcji& r) { EXPECT_EQ(r.Wprow, ""); }, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Karta k = karta(1, 0, 0);
    c.zmiana(k);
    zelt::LicznikiRekordow lr;
    const zelt::ZrodloRekordow z{k, c.nowa, {true, false, false, true}, c.zalogowany, lr};
    ASSERT_EQ(zelt::rekordowKarty(k), 1);
    c.sprawdz(zelt::wprowadz(z, 1));
  }
}

// What a record written over a stored one does not carry of it: the comparison behind the check's
// warning of data erased unseen.
TEST(CardRecords, TheFieldsARecordWrittenOverAStoredOneDoesNotCarry) {
  using Zmiana = std::function<void(TRekordTransakcji& zapisany, TRekordTransakcji& nowy)>;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    Zmiana zmiana;
    std::vector<std::string_view> pola;
  } cases[] = {
      {"the same record", [](auto&, auto&) {}, {}},
      {"who entered it and the check's counts are every save's own",
       [](auto& s, auto& n) {
         s.Wprow = "Anna;Nowak;X";
         s.ilBledow = 3;
         s.ilOstrzezen = 4;
         n.ilBledow = n.ilOstrzezen = 0;
       },
       {}},
      {"a text, an index and a count given where there were none",
       [](auto& s, auto& n) {
         s.tM.clear();
         s.kPwz = -1;
         n.tM = "Krakow";
         n.kPwz = 1;
         n.ilWydrukow = 2;
       },
       {}},
      {"a text, indexes and a print count taken away",
       [](auto& s, auto& n) {
         s.tM = "Krakow";
         s.kPwz = 0;
         s.Status = 1;
         s.ilWyslan = 1;
         n.kPwz = -1;
         n.Status = 0;
       },
       {"tM", "Status", "kPwz", "ilWyslan"}},
      {"zeros in front of the transaction and unit numbers only",
       [](auto& s, auto& n) {
         s.nrEwT = "123";
         n.nrEwT = std::string(22, '0') + "123";
         s.jedIO = "5";
         n.jedIO = "00000005";
         s.tKw = "5";
         n.tKw = "05";
       },
       {"tKw"}},
      {"a unit that only ends as the stored one", [](auto& s, auto& n) {
         s.jedIO = "5";
         n.jedIO = "00000015";
       }, {"jedIO"}},
      {"dates bit for bit, a stored NaN included",
       [&](auto& s, auto& n) {
         s.rejDat = n.rejDat = nan;
         s.tDat = kD;
         n.tDat = kD + 1;
       },
       {"tDat"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRekordTransakcji s = swiat::rekord("1", kD, "0");
    s.zTypPo = 1;
    s.zNz = "a1";
    s.tDat = kD;
    s.tKw = "100,00";
    TRekordTransakcji n = s;
    c.zmiana(s, n);
    EXPECT_EQ(zelt::niezapisanePola(s, n), c.pola);
  }
}

// ---- saving into transak.dat ----

// A stored card's number: 25 characters, so the check adds no zeros to it.
std::string K(const std::string& s) { return powtorz('0', 25 - s.size()) + s; }

struct Zapisywanie : swiat::SwiatRejestru {
  zelt::Program& p = bezOkien();
  swiat::Lista l;
  Zapisywanie() { p.ukladListy = l.uklad; }

  // A new card in the program, as "&Dodaj" leaves it.
  void nowa(Karta k, const std::string& nrRejDat = "0") {
    p.czyscKarte();
    k.NrRejDat = {nrRejDat};
    k.NrRejDatWybrany = 0;
    k.NrRejDatTekst = nrRejDat;
    p.karta = std::move(k);
    p.trybKarty = 1;
  }
  // The card of record n opened, as "&Edytuj" leaves it, with the rows of the list.
  void edytowana(std::int32_t n) {
    ASSERT_EQ(zelt::wczytajKarte(p, n, &l.m), zelt::Wczytanie::Wczytana);
    p.trybKarty = 0;
  }
  // The check, then the save with what the check gathered.
  Zapis zapiszKarte(zelt::NumeracjaEwidencyjna numeracja = {}) {
    auto s = zelt::slownikiKarty(p);
    s.numeracja = numeracja;
    const auto w = zelt::weryfikujKarte(p.karta, p.trybKarty == 1, p.rekordyKarty, p.listyWer, p.transakDat(), s);
    return zelt::zapiszKarte(p, numeracja, w.numeryDnia, &l.m);
  }
  // The registration numbers of the live records with this transaction number, in file order.
  std::vector<std::string> numery(const std::string& nrEwT) {
    std::vector<std::string> out;
    for (const auto& r : rekordy())
      if (!r.deleted() && r.nrEwT == K(nrEwT)) out.push_back(r.nrRejDat);
    return out;
  }
  std::string bajty() { return readFile(plik()); }
  // The list's rows as the record numbers they show.
  std::vector<std::int32_t> wiersze() {
    std::vector<std::int32_t> out;
    for (int w = 0; w < l.m.RowCount(); ++w) {
      const std::string lp = l.m.Cells(l.lp(), w);
      out.push_back(lp.empty() ? -1 : std::stoi(lp) - 1);
    }
    return out;
  }
};

TRekordTransakcji zapisany(const std::string& nrEwT, double dzien, const std::string& nr, const std::string& zNz) {
  TRekordTransakcji r = swiat::rekord(K(nrEwT), dzien, nr);
  r.zTypPo = 1;
  r.zNz = zNz;
  r.tDat = dzien;
  r.jedIO = "12345678";
  r.kRodzTr = "0101";
  return r;
}

// Date D holds live numbers 0, 1 (card A), " 3 ", "abc", "5000", "-1" and a deleted 2; another
// date holds 3 (card B) and 4.
std::vector<TRekordTransakcji> rejestrNumerow() {
  std::vector<TRekordTransakcji> r = {zapisany("A", kD, "0", "a1"),    zapisany("A", kD, "1", "a2"),      zapisany("X", kD, " 3 ", "x"),
          zapisany("Y", kD, "abc", "y"),   zapisany("Z", kD, "5000", "z"),    zapisany("W", kD, "-1", "w"),
          swiat::usuniety(zapisany("V", kD, "2", "v")), zapisany("B", kInny, "3", "b1"),
          zapisany("C", kInny, "4", "c")};
  r[1].kRodzTr.clear();  // the transaction data in a card's first record only
  return r;
}

TEST(CardSave, RegistrationNumbersOfTheDay) {
  const std::string kNowa = "9";
  struct Case {
    const char* name;
    std::function<void(Zapisywanie&)> przygotuj;
    std::string nrEwT;
    std::vector<std::string> expected;
    bool ostrzezenie02 = false;
  } cases[] = {
      {"new card of 3, NrRejDat 2", [](Zapisywanie& w) { w.nowa(karta(3, 0, 0), "2"); }, kNowa, {"2", "4", "5"}},
      {"NrRejDat 1 is held", [](Zapisywanie& w) { w.nowa(karta(3, 0, 0), "1"); }, kNowa, {"2", "4", "5"}},
      {"NrRejDat abc", [](Zapisywanie& w) { w.nowa(karta(3, 0, 0), "abc"); }, kNowa, {"2", "4", "5"}},
      {"NrRejDat empty", [](Zapisywanie& w) { w.nowa(karta(3, 0, 0), ""); }, kNowa, {"2", "4", "5"}},
      {"NrRejDat 1000", [](Zapisywanie& w) { w.nowa(karta(3, 0, 0), "1000"); }, kNowa, {"2", "4", "5"}},
      {"NrRejDat with blanks is stored as its number", [](Zapisywanie& w) { w.nowa(karta(1, 0, 0), " 7 "); }, kNowa,
       {"7"}},
      {"edited card 0, 1 on D grown to 4",
       [](Zapisywanie& w) {
         w.edytowana(0);
         for (const char* nz : {"a3", "a4"}) w.p.karta.listaDysponentow.wpisy.push_back(dysponent(nz));
       },
       "A", {"0", "1", "2", "4"}},
      {"edited card 3 of another date, redated to D, grown to 2",
       [](Zapisywanie& w) {
         w.edytowana(7);
         w.p.karta.rejDat = kD;
         w.p.karta.listaDysponentow.wpisy.push_back(dysponent("b2"));
       },
       "B", {"3", "2"}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Zapisywanie w;
    w.zapisz(rejestrNumerow());
    for (std::int32_t n = 0; n < 9; ++n) w.l.wiersz(n);
    c.przygotuj(w);
    w.p.karta.nrEwT = K(c.nrEwT);
    ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
    EXPECT_EQ(w.numery(c.nrEwT), c.expected);
    bool w02 = false;
    for (const auto& o : w.p.listyWer.ostrze()) w02 |= o.pole == "02";
    EXPECT_EQ(w02, c.ostrzezenie02);
    EXPECT_EQ(w.p.rekordyKarty.k, static_cast<int>(c.expected.size()));
    for (std::size_t i = 0; i < c.expected.size(); ++i)
      EXPECT_EQ(w.p.rekordyKarty.r[i + 1].nrRejDat, c.expected[i]) << "the working set holds the saved card";
  }
}

TEST(CardSave, ADayWithEveryNumberHeldSavesNoNewRecord) {
  Zapisywanie w;
  std::vector<TRekordTransakcji> dzien;
  for (int i = 0; i < 1000; ++i) dzien.push_back(zapisany("D" + std::to_string(i), kD, std::to_string(i), "d"));
  w.zapisz(dzien);
  const std::string przed = w.bajty();

  w.nowa(karta(1, 0, 0), "5");
  w.dialogs.expectMessage(platform::IdOk, kZajete);
  EXPECT_EQ(w.zapiszKarte(), Zapis::BrakNumeru);
  EXPECT_EQ(w.bajty(), przed) << "nothing written";
  EXPECT_EQ(w.l.m.RowCount(), 0);

  // An edited card of that day grown by one record needs a number too; one kept in place does not.
  w.edytowana(3);
  w.p.karta.listaDysponentow.wpisy.push_back(dysponent("d2"));
  w.dialogs.expectMessage(platform::IdOk, kZajete);
  EXPECT_EQ(w.zapiszKarte(), Zapis::BrakNumeru);
  EXPECT_EQ(w.bajty(), przed);
  w.p.karta.listaDysponentow.wpisy.pop_back();
  w.p.karta.tKw = "999,00";
  EXPECT_EQ(w.zapiszKarte(), Zapis::Zapisano);
  EXPECT_EQ(w.rekordy()[3].tKw, "999,00");
  EXPECT_EQ(w.rekordy().size(), 1000u);
}

// Card A of three records (0, 2, 4), card B between them; every record has its row.
std::vector<TRekordTransakcji> rejestrKarty(bool trzeciWydrukowany = false) {
  std::vector<TRekordTransakcji> r = {zapisany("A", kD, "0", "a1"), zapisany("B", kD, "1", "b1"),
                                      zapisany("A", kD, "2", "a2"), zapisany("B", kD, "3", "b2"),
                                      zapisany("A", kD, "4", "a3")};
  for (auto& x : r) x.Wprow = "Anna;Nowak;Inspektor";
  for (int i : {2, 3, 4}) r[i].kRodzTr.clear();  // the transaction data in a card's first record only
  r[4].ilWydrukow = trzeciWydrukowany ? 1 : 0;
  return r;
}

TEST(CardSave, EditedCardRewrittenInPlaceShortenedAndGrown) {
  {
    SCOPED_TRACE("3 -> 2: record 3 deleted, its row gone");
    Zapisywanie w;
    w.zapisz(rejestrKarty());
    for (std::int32_t n = 0; n < 5; ++n) w.l.wiersz(n);
    const std::string przed = w.bajty();
    w.edytowana(0);
    w.p.karta.listaDysponentow.wpisy.pop_back();
    w.p.karta.tKw = "555,00";
    ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
    const std::string po = w.bajty();
    ASSERT_EQ(po.size(), przed.size()) << "nothing appended";
    const auto r = w.rekordy();
    EXPECT_EQ(r[0].tKw, "555,00");
    EXPECT_EQ(r[0].nrRejDat, "0");
    EXPECT_EQ(r[2].nrRejDat, "2");
    EXPECT_EQ(r[2].zNz, "a2");
    EXPECT_TRUE(r[4].deleted());
    // Record 3 of the card (number 4) differs only in its four Status bytes.
    const std::size_t s = 4 * TRekordTransakcji::kSize;
    for (std::size_t b = 0; b < TRekordTransakcji::kSize; ++b) {
      if (b < TRekordTransakcji::kOffsetStatus || b >= TRekordTransakcji::kOffsetStatus + 4) {
        ASSERT_EQ(po[s + b], przed[s + b]) << "byte " << b;
      }
    }
    EXPECT_EQ(po.substr(TRekordTransakcji::kSize, TRekordTransakcji::kSize),
              przed.substr(TRekordTransakcji::kSize, TRekordTransakcji::kSize))
        << "card B untouched";
    EXPECT_EQ(w.wiersze(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(w.l.m.Cells(w.l.uklad.kolumna("tKw"), 0), "555,00") << "the rewritten row shows the record";
  }
  {
    SCOPED_TRACE("2 -> 4: two records appended with their rows");
    Zapisywanie w;
    auto r = rejestrKarty();
    r[4] = zapisany("C", kInny, "0", "c");
    w.zapisz(r);
    for (std::int32_t n = 0; n < 5; ++n) w.l.wiersz(n);
    w.edytowana(2);
    for (const char* nz : {"a3", "a4"}) w.p.karta.listaDysponentow.wpisy.push_back(dysponent(nz));
    ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
    EXPECT_EQ(w.numery("A"), (std::vector<std::string>{"0", "2", "4", "5"}));
    EXPECT_EQ(w.rekordy().size(), 7u);
    EXPECT_EQ(w.wiersze(), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(w.p.rekordyKarty.r[4].nrRekordu, 6);
    EXPECT_EQ(w.p.rekordyKarty.r[4].wiersz, 6);
    EXPECT_EQ(w.rekordy()[6].ilWydrukow, 0);
  }
  {
    SCOPED_TRACE("3 -> 2 with record 3 printed: it stays live, with its row");
    Zapisywanie w;
    w.zapisz(rejestrKarty(true));
    for (std::int32_t n = 0; n < 5; ++n) w.l.wiersz(n);
    const std::string przed = w.bajty();
    w.edytowana(0);
    w.p.karta.listaDysponentow.wpisy.pop_back();
    w.dialogs.expectMessage(platform::IdOk, kOdmowa);
    ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
    const std::size_t s = 4 * TRekordTransakcji::kSize;
    EXPECT_EQ(w.bajty().substr(s), przed.substr(s)) << "record 3 unchanged";
    EXPECT_EQ(w.wiersze(), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
  }
}

TEST(CardSave, CountsOfTheWorkingSetReachTheRecords) {
  Zapisywanie w;
  auto r = rejestrKarty();
  r[0].ilWydrukow = 3;
  r[2].ilWyslan = 2;
  w.zapisz(r);
  w.p.licznikiRekordow.r[4] = {0, 0, 5, 5};  // left by a card opened before
  w.edytowana(0);
  w.p.licznikiRekordow.r[3].wydruki = 300;
  w.p.karta.listaDysponentow.wpisy.push_back(dysponent("a4"));
  ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
  const auto z = w.rekordy();
  EXPECT_EQ(z[0].ilWydrukow, 3);
  EXPECT_EQ(z[2].ilWyslan, 2);
  EXPECT_EQ(z[4].ilWydrukow, 255) << "300 saturated";
  EXPECT_EQ(z[5].ilWydrukow, 0);
  EXPECT_EQ(z[5].ilWyslan, 0);
}

TEST(CardSave, ARecordWithoutARowGetsOneAndAMissingRegisterIsCreated) {
  {
    Zapisywanie w;
    w.zapisz(rejestrKarty());
    for (std::int32_t n : {0, 1, 3, 4}) w.l.wiersz(n);  // no row shows record 2
    w.edytowana(0);
    ASSERT_EQ(w.p.rekordyKarty.r[2].wiersz, -1);
    ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
    EXPECT_EQ(w.wiersze(), (std::vector<std::int32_t>{0, 1, 3, 4, 2}));
  }
  {
    Zapisywanie w;
    QDir().mkpath(w.baza());
    ASSERT_FALSE(QFile::exists(w.plik()));
    w.nowa(karta(2, 0, 0));
    ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
    EXPECT_EQ(w.numery(karta(0, 0, 0).nrEwT), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(w.wiersze(), (std::vector<std::int32_t>{0, 1}));
    EXPECT_EQ(w.p.aktualnyRekord, w.rekordy()[1]) << "the current record is the last one written";
  }
}

TEST(CardSave, AnExistingRegisterThatCannotBeOpenedIsNotTouched) {
  Zapisywanie w;
  QDir().mkpath(w.plik());  // a folder in its place
  w.nowa(karta(1, 0, 0));
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: "));
  EXPECT_EQ(w.zapiszKarte(), Zapis::BladOtwarcia);
  EXPECT_TRUE(QFileInfo(w.plik()).isDir());
  EXPECT_EQ(w.l.m.RowCount(), 0);
  EXPECT_EQ(w.p.trybKarty, 1) << "the card stays new, to be saved again";
}

TEST(CardSave, AWriteErrorPartWayLeavesTheRegisterAsItWas) {
  struct Case {
    const char* name;
    std::function<void(Zapisywanie&)> przygotuj;
    qint64 wolne;  // records the disk still takes
    std::size_t ogon = 0;  // bytes of a partial last record an earlier crash left, which appends overwrite
  } cases[] = {
      {"new card of 5", [](Zapisywanie& w) { w.nowa(karta(5, 0, 0)); }, 2},
      {"new card of 5 over a partial last record", [](Zapisywanie& w) { w.nowa(karta(5, 0, 0)); }, 2, 1000},
      {"edited card of 2 grown to 5",
       [](Zapisywanie& w) {
         w.edytowana(0);
         w.p.karta.tKw = "777,00";
         w.p.karta.listaDysponentow.wpisy[1].Nz = "zmieniony";
         for (const char* nz : {"a3", "a4", "a5"}) w.p.karta.listaDysponentow.wpisy.push_back(dysponent(nz));
       },
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Zapisywanie w;
    auto r = rejestrKarty();
    r[4] = zapisany("C", kD, "4", "c");
    w.zapisz(r);
    for (std::int32_t n = 0; n < 5; ++n) w.l.wiersz(n);
    if (c.ogon) w.writeFile(w.plik(), w.bajty() + std::string(c.ogon, '\x5a'));
    c.przygotuj(w);
    const std::string przed = w.bajty();
    const auto wierszePrzed = w.wiersze();
    const auto rkPrzed = w.p.rekordyKarty.k;
    w.dialogs.expectMessage(platform::IdOk, QStringLiteral("transak.dat"));
    {
      testing_world::FileSizeLimit pelny(static_cast<rlim_t>(przed.size() + c.wolne * TRekordTransakcji::kSize));
      EXPECT_EQ(w.zapiszKarte(), Zapis::BladZapisu);
    }
    EXPECT_EQ(w.bajty(), przed) << "byte-identical";
    EXPECT_EQ(w.wiersze(), wierszePrzed) << "the rows follow only a whole save";
    EXPECT_EQ(w.p.rekordyKarty.k, rkPrzed);
    ASSERT_EQ(w.dialogs.messages().size(), 1u);
    EXPECT_TRUE(w.dialogs.messages()[0].contains(QStringLiteral("too large"), Qt::CaseInsensitive))
        << w.dialogs.messages()[0].toStdString();
  }
}

// One record of a new card against the record's byte table, written here by hand.
TEST(CardSave, ARecordByteForByte) {
  Zapisywanie w;
  w.zapisz({});
  Karta k;
  k.nrEwT = "7";
  k.rejDat = kD;
  k.tDat = kD - 1;
  k.jedIO = "5";
  k.Status = 1;
  k.kRodzTr = "0101";
  k.kPwz = 0;
  k.kPdjrz = "    ";
  k.spDysp = 2;
  k.nrDokT = "KP/1";
  k.tM = "Warszawa";
  k.tKw = "100,00";
  k.tJ = "PLN";
  k.uwInne = "45:uwaga";
  TRekordPodmiotu z = dysponent("Kowalski");
  z.uwTypPo = z.uwRodzDokTo = z.uwObyw = "";
  k.listaDysponentow.wpisy = {z};
  w.p.zalogowany = "Jan;Kowalski;Inspektor";
  w.nowa(k, "12");
  w.p.licznikiRekordow.r[1] = {1, 2, 0, 0};
  ASSERT_EQ(zelt::zapiszKarte(w.p, {true, false, false, false}, {}, &w.l.m), Zapis::Zapisano);

  std::string f(TRekordTransakcji::kSize, '\0');
  auto s = [&](std::size_t off, const std::string& t) {
    f[off] = static_cast<char>(t.size());
    f.replace(off + 1, t.size(), t);
  };
  auto i32 = [&](std::size_t off, std::int32_t v) {
    for (int b = 0; b < 4; ++b) f[off + b] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * b)) & 0xFF);
  };
  auto d = [&](std::size_t off, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int b = 0; b < 8; ++b) f[off + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
  };
  s(0, "700000005");  // 01 with the unit as suffix
  s(26, "12");
  d(39, kD);
  s(47, "00000005");
  i32(56, 1);
  s(60, "0101");
  i32(65, 0);
  s(69, "    ");
  i32(74, 2);
  s(78, "KP/1");
  d(91, kD - 1);
  s(99, "Warszawa");
  s(135, "100,00");
  s(151, "PLN");
  i32(175, 1);
  s(179, "Kowalski");
  s(320, "PL");
  s(323, "DE");
  s(326, "00-Kow");
  s(337, w1250("Łódź Kowalski"));
  s(373, "Prosta Kowalski");
  s(409, "44051401359");
  s(421, "123456785");
  s(431, "KRSKow");
  s(442, "BPKOPLPW");
  s(458, "1234563218");
  i32(469, 1);
  s(473, "ABCKowalski");
  i32(499, -1);
  i32(730, -1);
  s(3251, "45:uwaga");
  f[3380] = 2;  // warnings
  f[3381] = 1;  // errors
  s(3383, "Jan;Kowalski;Inspektor");
  EXPECT_EQ(w.bajty(), f);
}

// Saved, opened and saved again: the card comes back field by field and the file stays as it was.
TEST(CardSave, TheRoadBack) {
  Zapisywanie w;
  w.zapisz({zapisany("Q", kD, "0", "q")});
  w.l.wiersz(0);
  Karta k = karta(3, 3, 3);
  k.jedIO = "12345678";
  k.kPdjrz = "9000";
  for (auto* l : {&k.listaDysponentow, &k.listaWImieniu, &k.listaBeneficjentow})
    for (auto& e : l->wpisy) e.TypPo = 0;
  for (auto& e : k.listaDysponentow.wpisy) e.RodzDokTo = 0;
  for (auto* l : {&k.listaWImieniu, &k.listaBeneficjentow})
    for (auto& e : l->wpisy) e.uwTypPo += " " + powtorz('u', 10);
  w.p.zalogowany = "Jan;Kowalski;Inspektor";
  w.nowa(k, "1");
  ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
  const std::string poPierwszym = w.bajty();

  w.edytowana(1);
  const Karta& o = w.p.karta;
  EXPECT_EQ(o.NrRejDat, (std::vector<std::string>{"1", "2", "3"}));
  struct Tekst {
    const char* nazwa;
    std::string Karta::*pole;
  } teksty[] = {{"nrEwT", &Karta::nrEwT},     {"jedIO", &Karta::jedIO},       {"kRodzTr", &Karta::kRodzTr},
                {"uwkRodzTr", &Karta::uwkRodzTr}, {"uwkPwz", &Karta::uwkPwz}, {"kPdjrz", &Karta::kPdjrz},
                {"uwkPdjrz", &Karta::uwkPdjrz}, {"uwspDysp", &Karta::uwspDysp}, {"nrDokT", &Karta::nrDokT},
                {"tM", &Karta::tM},           {"tKw", &Karta::tKw},           {"tJ", &Karta::tJ},
                {"tKwZ", &Karta::tKwZ},       {"tJZ", &Karta::tJZ},           {"nrRachZ", &Karta::nrRachZ},
                {"nrRachN", &Karta::nrRachN}, {"uwInne", &Karta::uwInne},     {"Wprowa", &Karta::Wprowa}};
  Karta oczekiwana = k;
  oczekiwana.Wprowa = "Jan;Kowalski;Inspektor";
  for (const auto& t : teksty) EXPECT_EQ(o.*(t.pole), oczekiwana.*(t.pole)) << t.nazwa;
  EXPECT_EQ(o.rejDat, k.rejDat);
  EXPECT_EQ(o.tDat, k.tDat);
  EXPECT_EQ(o.Status, k.Status);
  EXPECT_EQ(o.kPwz, k.kPwz);
  EXPECT_EQ(o.spDysp, k.spDysp);
  EXPECT_EQ(o.listaDysponentow.wpisy, k.listaDysponentow.wpisy);
  EXPECT_EQ(o.listaWImieniu.wpisy, k.listaWImieniu.wpisy);
  EXPECT_EQ(o.listaBeneficjentow.wpisy, k.listaBeneficjentow.wpisy);
  EXPECT_TRUE(o.uwkRodzTrWidoczna && o.uwkPwzWidoczna && o.uwkPdjrzWidoczna && o.uwspDyspWidoczna);

  ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano);
  EXPECT_EQ(w.bajty(), poPierwszym) << "the second save leaves transak.dat byte-identical";
}

// ---- choosing a record of the card and its marks ----

TEST(CardRecordChooser, ShowsTheRecordsCountsAndEntriesAndOnlyAClickSetsACount) {
  Karta k = karta(3, 1, 2);
  k.NrRejDat = {"4", "5", "6"};
  k.NrRejDatWybrany = 0;
  k.z = zelt::pokazWpis(zelt::kRolaDysponenta, k.listaDysponentow.wpisy[0]);
  k.p = zelt::pokazWpis(zelt::kRolaWImieniu, k.listaWImieniu.wpisy[0]);
  k.b = zelt::pokazWpis(zelt::kRolaBeneficjenta, k.listaBeneficjentow.wpisy[0]);
  zelt::LicznikiRekordow lr;
  lr.r[2] = {4, 5, 3, 0};
  zelt::DomyslneKarty d;
  d.typPo = 7;
  d.kraj = "PL";

  zelt::wybierzRekordKarty(k, lr, d, 2);
  EXPECT_EQ(k.ilblad, "4");
  EXPECT_EQ(k.ilos, "5");
  EXPECT_TRUE(k.bdr);
  EXPECT_FALSE(k.bpl);
  EXPECT_EQ(k.z.pola.Nz, "z2");
  EXPECT_EQ(k.b.pola.Nz, "b2");
  EXPECT_EQ(k.p.pola.Nz, "") << "a shorter list shows a new entry";
  EXPECT_EQ(k.listaWImieniu.indeks, 2) << "at items + 1, so a typed name never overwrites entry 1";
  EXPECT_EQ(lr.r[2].wydruki, 3) << "choosing changes no count";

  k.NrRejDatWybrany = 1;
  zelt::oznaczRekord(k, lr, zelt::Znacznik::Wydruk, false);
  EXPECT_EQ(lr.r[2].wydruki, 0);
  zelt::oznaczRekord(k, lr, zelt::Znacznik::Wydruk, true);
  EXPECT_EQ(lr.r[2].wydruki, 1);
  zelt::oznaczRekord(k, lr, zelt::Znacznik::Wysylka, true);
  EXPECT_EQ(lr.r[2].wyslania, 1);

  k.NrRejDatWybrany = -1;  // a number typed, no item chosen
  const auto przed = lr.r;
  zelt::oznaczRekord(k, lr, zelt::Znacznik::Wydruk, false);
  zelt::oznaczRekord(k, lr, zelt::Znacznik::Wysylka, false);
  for (std::size_t i = 0; i < przed.size(); ++i) {
    EXPECT_EQ(lr.r[i].wydruki, przed[i].wydruki);
    EXPECT_EQ(lr.r[i].wyslania, przed[i].wyslania);
  }
}

// ---- the editor's "&Zapisz" ----

// The started program with its editor and main window over a register of one other card.
struct Edytor : swiat::SwiatRejestru {
  zelt::Program& p;
  zelt::TedycjaForm& e;
  zelt::TglownyForm& g;
  Edytor() : p(uruchomiony()), e(*p.edycja()), g(*p.glowny()) {}

  // The card shown in the editor as a new one.
  void pokaz(Karta k) {
    p.czyscKarte();
    k.NrRejDat = {"0"};
    k.NrRejDatWybrany = 0;
    k.NrRejDatTekst = "0";
    p.karta = std::move(k);
    p.trybKarty = 1;
    e.resetModalResult();
    e.pokazKarte();
  }
  std::vector<QString> okna() const {
    std::vector<QString> out;
    for (const auto& s : dialogs.shown())
      if (s.kind == platform::ScriptedDialogs::Shown::Kind::Modal) out.push_back(s.text);
    return out;
  }
};

TEST(CardEditorSave, TheFindingsDecideWhetherTheCardIsWritten) {
  using zelt::TWerForm;
  struct Case {
    const char* name;
    std::function<void(Karta&)> zmiana;
    int odpowiedz;  // the verification dialog's result; 0: no dialog expected
    bool zapisana;
    int wynik;  // the editor's modal result: 0 still open
    bool potwierdzenie = true;  // the dialog's confirm button shown
  } cases[] = {
      {"no findings: no dialog", [](Karta&) {}, 0, true, platform::mrOk},
      {"a warning confirmed", [](Karta& k) { k.tM.clear(); }, TWerForm::kPotwierdz, true, platform::mrOk},
      {"a warning, back to the card", [](Karta& k) { k.nrEwT = "123"; }, TWerForm::kWroc, false, 0},
      {"a warning, cancelled", [](Karta& k) { k.tM.clear(); }, TWerForm::kAnuluj, false, platform::mrCancel},
      {"an error that blocks, back", [](Karta& k) { k.nrEwT.clear(); }, TWerForm::kWroc, false, 0, false},
      {"an error that blocks, cancelled", [](Karta& k) { k.nrEwT.clear(); }, TWerForm::kAnuluj, false,
       platform::mrCancel, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Edytor w;
    w.zapisz({zapisany("inny", kD, "0", "x")});
    const std::string przed = w.readFile(w.plik());
    Karta k = karta(1, 1, 1);
    c.zmiana(k);
    w.pokaz(k);
    bool potwierdzenie = false;
    QString podpis;
    if (c.odpowiedz)
      w.dialogs.expectModal("WerForm", [&](platform::ModalForm& f) {
        auto& wer = static_cast<TWerForm&>(f);
        potwierdzenie = !wer.zapisz->isHidden();
        podpis = wer.zapisz->text();
        return c.odpowiedz;
      });
    w.e.zapisz->click();
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(w.okna().size(), c.odpowiedz ? 1u : 0u) << "the dialog only with findings";
    if (c.odpowiedz) {
      EXPECT_EQ(potwierdzenie, c.potwierdzenie);
    }
    if (c.potwierdzenie && c.odpowiedz) {
      EXPECT_EQ(podpis, "Zapisz");
    }
    EXPECT_EQ(w.e.modalResult(), c.wynik);
    if (std::string(c.name) == "a warning, back to the card") {
      EXPECT_EQ(w.e.nrEwT->text().toStdString(), std::string(22, '0') + "123") << "the padding is shown";
    }
    if (c.zapisana) {
      EXPECT_EQ(w.rekordy().size(), 2u);
      EXPECT_EQ(w.g.lista->RowCount(), 1) << "the new record's row";
    } else {
      EXPECT_EQ(w.readFile(w.plik()), przed) << "nothing written";
    }
    if (c.wynik == 0) {
      EXPECT_EQ(w.e.tM->text(), cp1250::toQ(w.p.karta.tM)) << "the input stays";
      EXPECT_EQ(w.e.nrEwT->text().toStdString(), w.p.karta.nrEwT) << "the check's tidying in sight";
    }
  }
}

TEST(CardEditorSave, AFirstCardIntoAnEmptyRegisterEnablesEditAndDelete) {
  Edytor w;
  EXPECT_FALSE(w.g.Edytuj->isEnabled());
  EXPECT_FALSE(w.g.Usun->isEnabled());
  w.dialogs.expectModal("edycjaForm", [&](platform::ModalForm&) {
    Karta k = karta(2, 0, 0);
    k.NrRejDat = w.p.karta.NrRejDat;
    k.NrRejDatWybrany = 0;
    k.NrRejDatTekst = w.p.karta.NrRejDatTekst;
    k.jedIOPozycje = w.p.karta.jedIOPozycje;
    w.p.karta = k;
    w.e.pokazKarte();
    w.e.zapisz->click();
    return platform::mrNone;
  });
  w.g.dodajClick();
  ASSERT_EQ(w.dialogs.shown().size(), 1u);
  EXPECT_EQ(w.dialogs.shown()[0].answer, platform::mrOk) << "the editor closed by the save";
  EXPECT_EQ(w.rekordy().size(), 2u);
  EXPECT_EQ(w.g.lista->RowCount(), 2);
  EXPECT_TRUE(w.g.Edytuj->isEnabled());
  EXPECT_TRUE(w.g.Usun->isEnabled());
}

TEST(CardEditorSave, ChoosingRecordsShowsThemAndAPrintCountSurvivesASave) {
  Edytor w;
  auto r = rejestrKarty();
  r[0].ilWydrukow = 3;
  r[2].ilBledow = 4;
  r[2].ilOstrzezen = 5;
  r[2].ilWyslan = 1;
  w.zapisz(r);
  w.p.konfig()->FormCreate();  // the list shows the register
  w.g.lista->SetDataRow(0);
  w.dialogs.expectModal("edycjaForm", [&](platform::ModalForm&) {
    auto& e = w.e;
    auto wybierz = [&](int i) {
      e.NrRejDat->setCurrentIndex(i);
      emit e.NrRejDat->activated(i);
    };
    EXPECT_EQ(e.NrRejDat->count(), 3);
    if (e.NrRejDat->count() != 3) return platform::mrCancel;
    wybierz(1);
    EXPECT_EQ(e.ilblad->text(), "4");
    EXPECT_EQ(e.ilos->text(), "5");
    EXPECT_FALSE(e.bdr->isChecked());
    EXPECT_TRUE(e.bpl->isChecked());
    EXPECT_EQ(e.zNz->toPlainText(), "a2");
    wybierz(0);
    EXPECT_TRUE(e.bdr->isChecked());
    EXPECT_EQ(w.p.licznikiRekordow.r[1].wydruki, 3) << "choosing a record changes no count";

    wybierz(2);
    e.bdr->click();  // ticked by the user: printed once
    EXPECT_EQ(w.p.licznikiRekordow.r[3].wydruki, 1);
    e.bpl->click();
    EXPECT_EQ(w.p.licznikiRekordow.r[3].wyslania, 1);
    e.bpl->click();
    EXPECT_EQ(w.p.licznikiRekordow.r[3].wyslania, 0);
    // A typed number chooses no record: the marks change no count.
    QTest::keyClicks(e.NrRejDat->lineEdit(), "7");
    e.bdr->click();
    EXPECT_EQ(w.p.licznikiRekordow.r[3].wydruki, 1);
    wybierz(0);
    // The stored records lack most fields: the findings are confirmed.
    w.dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    e.zapisz->click();
    return platform::mrNone;
  });
  w.g.EdytujClick();
  ASSERT_EQ(w.okna(), (std::vector<QString>{"edycjaForm", "WerForm"}));
  EXPECT_EQ(w.dialogs.shown()[0].answer, platform::mrOk) << "saved and closed";
  const auto z = w.rekordy();
  EXPECT_EQ(z[0].ilWydrukow, 3) << "the print count of 3 survives";
  EXPECT_EQ(z[2].ilWyslan, 1);
  EXPECT_EQ(z[4].ilWydrukow, 1);
  EXPECT_EQ(z[4].ilWyslan, 0);
}

// ---- a write stopped part-way, as by a kill or a power cut ----

const QString kOdtworzono =
    QString::fromUtf8("Ostatni zapis do pliku rejestru transak.dat nie został dokończony - rejestr przywrócono do stanu sprzed tego zapisu");

// One write of several records (or of a whole record in place), from a register prepared for it.
struct ZapisRejestru {
  const char* name;
  std::function<void(Zapisywanie&)> przygotuj;
  std::function<void(Zapisywanie&)> zapisz;
};

std::vector<TRekordTransakcji> tysiac() {
  std::vector<TRekordTransakcji> r;
  for (int i = 0; i < 1000; ++i) r.push_back(zapisany("I" + std::to_string(i / 3), kInny, std::to_string(i % 1000), "i"));
  return r;
}

void zapiszEdytowana(Zapisywanie& w) { ASSERT_EQ(w.zapiszKarte(), Zapis::Zapisano); }

std::vector<ZapisRejestru> zapisyRejestru() {
  auto rejestr = [](Zapisywanie& w) {
    auto r = rejestrKarty();
    r.push_back(zapisany("C", kInny, "0", "c"));
    w.zapisz(r);
    for (std::int32_t n = 0; n < 6; ++n) w.l.wiersz(n);
  };
  return {
      {"an import of 1000 records", rejestr,
       [](Zapisywanie& w) {
         zelt::PlikRejestru f(w.plik());
         ASSERT_TRUE(f.otworzDoZapisu());
         f.dopiszWszystkie(tysiac());
       }},
      {"a card grown from 2 to 4",
       [rejestr](Zapisywanie& w) {
         rejestr(w);
         w.edytowana(1);
         for (const char* nz : {"b3", "b4"}) w.p.karta.listaDysponentow.wpisy.push_back(dysponent(nz));
         w.p.karta.tKw = "999,00";
       },
       zapiszEdytowana},
      {"a card shrunk from 3 to 2",
       [rejestr](Zapisywanie& w) {
         rejestr(w);
         w.edytowana(0);
         w.p.karta.listaDysponentow.wpisy.pop_back();
         w.p.karta.tKw = "555,00";
       },
       zapiszEdytowana},
      {"an edited card of one record",
       [rejestr](Zapisywanie& w) {
         rejestr(w);
         w.edytowana(5);
         w.p.karta.tM = "Gniezno";
       },
       zapiszEdytowana},
      {"a delete of 3 rows", rejestr,
       [](Zapisywanie& w) {
         w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Czy napewno chcesz usunąć"));
         EXPECT_EQ(zelt::usunKarty(w.plik(), w.l.m, w.l.lp(), {0, 2, 5}, w.dialogs), 3);
       }},
  };
}

// The writer stopped at each of its calls on the disk in turn (before the call, and halfway
// through each write), then a restart: the register is byte-identical to before the write or to
// after it, never between, and the user is told exactly when an unfinished write was undone.
TEST(CardSave, AWriteStoppedAtAnyStepIsBeforeOrAfterAtTheNextStart) {
  using platform::DiskOp;
  for (const auto& c : zapisyRejestru()) {
    SCOPED_TRACE(c.name);
    std::string przed, po;
    std::vector<platform::DiskCall> wywolania;
    {
      Zapisywanie w;
      c.przygotuj(w);
      przed = w.bajty();
      testing_world::DiskLog log;
      c.zapisz(w);
      wywolania = log.calls;
      po = w.bajty();
    }
    ASSERT_NE(przed, po);
    const QString dziennik = QStringLiteral("transak.dat.dziennik");
    int zapisDziennika = -1, syncDziennika = -1, usuniecieDziennika = -1, pierwszyZapis = -1;
    for (int i = 0; i < static_cast<int>(wywolania.size()); ++i) {
      const auto& k = wywolania[i];
      const bool wDzienniku = k.path.endsWith(dziennik);
      if (wDzienniku && k.op == DiskOp::Write) zapisDziennika = i;
      if (wDzienniku && k.op == DiskOp::Sync) syncDziennika = i;
      if (wDzienniku && k.op == DiskOp::Remove) usuniecieDziennika = i;
      if (!wDzienniku && k.path.endsWith("transak.dat") && k.op == DiskOp::Write && pierwszyZapis < 0) pierwszyZapis = i;
    }
    ASSERT_GE(syncDziennika, 0) << "a journal is written";
    ASSERT_LT(syncDziennika, pierwszyZapis);

    int odtworzone = 0;
    for (int k = 0; k < static_cast<int>(wywolania.size()); ++k) {
      for (bool rozdarty : {false, true}) {
        if (rozdarty && (wywolania[k].op != DiskOp::Write || wywolania[k].length < 2)) continue;
        SCOPED_TRACE(testing::Message() << "stopped at call " << k << (rozdarty ? " halfway" : ""));
        Zapisywanie w;
        c.przygotuj(w);
        ASSERT_EQ(w.bajty(), przed);
        {
          int licznik = 0;
          platform::DiskSeam stop([&](const platform::DiskCall& d) -> qint64 {
            if (licznik++ != k) return d.length;
            if (rozdarty) return d.length / 2;
            throw platform::DiskStopped{};
          });
          EXPECT_THROW(c.zapisz(w), platform::DiskStopped);
        }
        // A whole journal in the file system (a kill loses nothing the system took): written, not
        // yet removed.
        const bool zDziennikiem = k > zapisDziennika && k <= usuniecieDziennika;
        if (zDziennikiem) w.dialogs.expectMessage(platform::IdOk, kOdtworzono);
        w.resetProgram();
        w.uruchomiony();
        EXPECT_TRUE(w.dialogs.scriptDone());
        EXPECT_EQ(w.dialogs.messages().count(kOdtworzono), zDziennikiem ? 1 : 0);
        const std::string teraz = w.bajty();
        EXPECT_TRUE(teraz == przed || teraz == po) << "between: " << teraz.size() << " bytes";
        if (k <= pierwszyZapis) {
          EXPECT_EQ(teraz, przed) << "the register was not touched yet";
        }
        EXPECT_FALSE(QFileInfo::exists(w.plik() + ".dziennik")) << "the journal is gone after the start";
        odtworzone += zDziennikiem;
      }
    }
    EXPECT_GT(odtworzone, 0);
  }
}

// Every writer of the register returns only once what it wrote is synced: the register, the
// journal before the register is touched, and the folder when a name was made or removed.
TEST(CardSave, EveryWriteIsSyncedBeforeItReturns) {
  struct Case {
    const char* name;
    std::function<void(Zapisywanie&)> przygotuj;
    std::function<void(Zapisywanie&)> zapisz;
    bool nowyPlik = false;
  };
  std::vector<Case> cases;
  for (const auto& z : zapisyRejestru()) cases.push_back({z.name, z.przygotuj, z.zapisz});
  cases.push_back({"a new card of one record, the register made by it", [](Zapisywanie& w) {
                     QDir().mkpath(w.baza());
                     w.nowa(karta(1, 0, 0));
                   },
                   zapiszEdytowana, true});
  cases.push_back({"a new card of 3 records", [](Zapisywanie& w) {
                     w.zapisz(rejestrKarty());
                     w.nowa(karta(3, 0, 0));
                   },
                   zapiszEdytowana});
  cases.push_back({"a delete of one row",
                   [](Zapisywanie& w) {
                     w.zapisz(rejestrKarty());
                     w.l.wiersz(0);
                   },
                   [](Zapisywanie& w) {
                     w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Czy napewno chcesz usunąć"));
                     EXPECT_EQ(zelt::usunKarty(w.plik(), w.l.m, w.l.lp(), {0}, w.dialogs), 1);
                   }});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Zapisywanie w;
    c.przygotuj(w);
    testing_world::DiskLog log;
    c.zapisz(w);
    testing_world::expectSyncedWrites(log, w.plik(), c.nowyPlik);
  }
}

// A journal is played back at the start before the register is read; one cut short is passed
// over (the crash came before the register was touched); one that cannot be played back stays,
// the register is not loaded, and every write is refused while it stands.
TEST(CardSave, AJournalAtTheStart) {
  Zapisywanie w0;
  auto r = rejestrKarty();
  w0.zapisz(r);
  const std::string przed = w0.bajty();
  // A journal as a save of card A that was stopped after its first rewrite leaves it.
  std::string dziennik;
  {
    int licznik = 0;
    platform::DiskSeam stop([&](const platform::DiskCall& d) -> qint64 {
      if (d.path.endsWith("transak.dat") && d.op == platform::DiskOp::Write && licznik++ == 1) throw platform::DiskStopped{};
      return d.length;
    });
    for (std::int32_t n = 0; n < 5; ++n) w0.l.wiersz(n);
    w0.edytowana(0);
    w0.p.karta.tKw = "1,00";
    EXPECT_THROW(w0.zapiszKarte(), platform::DiskStopped);
  }
  dziennik = w0.readFile(w0.plik() + ".dziennik");
  const std::string miedzy = w0.bajty();
  ASSERT_FALSE(dziennik.empty());
  ASSERT_NE(miedzy, przed);

  {
    SCOPED_TRACE("cut short by one byte: removed, the register read as it is");
    Zapisywanie w;
    w.zapisz(r);
    w.writeFile(w.plik() + ".dziennik", dziennik.substr(0, dziennik.size() - 1));
    w.resetProgram();
    auto& p = w.uruchomiony();
    EXPECT_TRUE(w.dialogs.messages().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(w.plik() + ".dziennik"));
    EXPECT_EQ(p.glowny()->lista->RowCount(), 5);
  }
  {
    SCOPED_TRACE("a register that cannot be opened: the journal stays, nothing is loaded, writes are refused");
    Zapisywanie w;
    QDir().mkpath(w.plik());  // a folder in the register's place (root passes every file mode)
    w.writeFile(w.plik() + ".dziennik", dziennik);
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: "));
    w.resetProgram();
    {
      auto& p = w.uruchomiony();
      EXPECT_TRUE(w.dialogs.scriptDone());
      EXPECT_EQ(w.dialogs.messages().count(kOdtworzono), 0);
      EXPECT_EQ(p.glowny()->lista->RowCount(), 0) << "the list stays empty";
    }
    EXPECT_TRUE(w.readFile(w.plik() + ".dziennik") == dziennik) << "kept for the next start";
    QDir().rmdir(w.plik());
    w.writeFile(w.plik(), miedzy);
    {
      zelt::PlikRejestru f(w.plik());
      EXPECT_FALSE(f.otworzDoZapisu()) << "no write over an unfinished one";
      EXPECT_TRUE(f.blad().contains("transak.dat.dziennik")) << f.blad().toStdString();
      EXPECT_FALSE(f.otworzDoZmiany());
    }

    SCOPED_TRACE("the register back: the next start plays the journal back");
    w.dialogs.expectMessage(platform::IdOk, kOdtworzono);
    w.resetProgram();
    auto& p2 = w.uruchomiony();
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_TRUE(w.bajty() == przed);
    EXPECT_EQ(p2.glowny()->lista->RowCount(), 5);
  }
}

// The journal holds whole records of the register: its user's alone, whatever the umask.
TEST(CardSave, TheJournalIsItsUsersAlone) {
  Zapisywanie w;
  w.zapisz(rejestrKarty());
  for (std::int32_t n = 0; n < 5; ++n) w.l.wiersz(n);
  w.edytowana(0);
  w.p.karta.tKw = "2,00";
  const mode_t umask = ::umask(0277);
  QFileDevice::Permissions prawa;
  bool widziany = false;
  {
    platform::DiskSeam podglad([&](const platform::DiskCall& d) -> qint64 {
      if (!widziany && d.op == platform::DiskOp::Write && d.path == w.plik()) {
        widziany = true;
        prawa = QFileInfo(w.plik() + ".dziennik").permissions();
      }
      return d.length;
    });
    EXPECT_EQ(w.zapiszKarte(), Zapis::Zapisano);
  }
  ::umask(umask);
  ASSERT_TRUE(widziany);
  EXPECT_EQ(prawa, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
}

// An input or output error part-way plays the journal back at once: the register as before, no
// journal left, the error shown.
TEST(CardSave, AnErrorPartWayIsUndoneFromTheJournalAtOnce) {
  Zapisywanie w;
  w.zapisz(rejestrKarty());
  for (std::int32_t n = 0; n < 5; ++n) w.l.wiersz(n);
  const std::string przed = w.bajty();
  w.edytowana(1);
  for (const char* nz : {"b3", "b4"}) w.p.karta.listaDysponentow.wpisy.push_back(dysponent(nz));
  w.dialogs.expectMessage(platform::IdOk, QStringLiteral("transak.dat"));
  {
    testing_world::FileSizeLimit pelny(static_cast<rlim_t>(przed.size() + TRekordTransakcji::kSize));
    EXPECT_EQ(w.zapiszKarte(), Zapis::BladZapisu);
  }
  EXPECT_EQ(w.bajty(), przed);
  EXPECT_FALSE(QFileInfo::exists(w.plik() + ".dziennik"));
}

}  // namespace

namespace {

using Rekordy = std::vector<TRekordTransakcji>;

// The records the program's own save makes of a new card of `n` ordering parties.
Rekordy wlasnaKarta(int n, const std::string& zalogowany) {
  Zapisywanie z;
  QDir().mkpath(z.baza());
  z.p.zalogowany = zalogowany;
  z.nowa(karta(n, 0, 0));
  EXPECT_EQ(z.zapiszKarte(), Zapis::Zapisano);
  EXPECT_TRUE(z.p.listyWer.ostrze().empty() && z.p.listyWer.bledy().empty()) << "a card without findings";
  return z.rekordy();
}

}  // namespace

// A stored card (made by the program, then given what another system's report file can carry)
// opened with "&Edytuj" and saved with "&Zapisz": each record whose stored data the save erases
// unseen is warned of after every other finding, and "Zapisz" in the dialog writes what the card
// gives.
TEST(CardEditorSave, StoredDataTheCardDoesNotShowIsWarnedOfBeforeTheSaveErasesIt) {
  const std::string kDane = "01 Zapis usunie dane rekordu, których karta nie pokazuje";
  const std::string kRekord = "01 Zapis usunie rekord";
  const std::string kPusty = "18- Usunięto pusty wpis";
  struct Case {
    const char* name;
    int rekordow;
    std::function<void(Rekordy&)> zapisane;                // the program's own card changed so
    std::vector<std::pair<std::string, int>> ostrzezenia;  // "Pole message" and the record it counts against
    std::function<void(Rekordy&)> poZapisie;               // the stored records become what the save writes
    std::function<void(zelt::TedycjaForm&)> edycja = {};   // the user's changes
    const char* komunikat = nullptr;                       // a message of the save
  } cases[] = {
      {"the program's own card", 3, [](Rekordy&) {}, {}, [](Rekordy&) {}},
      {"record 2 with an amount", 2, [](Rekordy& r) { r[1].tKw = "555,00"; }, {{kDane, 2}},
       [](Rekordy& r) { r[1].tKw.clear(); }},
      {"record 2 with a place", 2, [](Rekordy& r) { r[1].tM = "Krakow"; }, {{kDane, 2}},
       [](Rekordy& r) { r[1].tM.clear(); }},
      {"record 3 with a currency", 3, [](Rekordy& r) { r[2].tJ = "EUR"; }, {{kDane, 3}},
       [](Rekordy& r) { r[2].tJ.clear(); }},
      {"record 2 with a disposition and a linked code", 2,
       [](Rekordy& r) {
         r[1].spDysp = 1;
         r[1].kPwz = 0;
       },
       {{kDane, 2}},
       [](Rekordy& r) { r[1].spDysp = r[1].kPwz = -1; }},
      {"a kind remark its code hides", 2, [](Rekordy& r) { r[0].kRodzTr = "0601"; }, {{kDane, 1}},
       [](Rekordy& r) { r[0].uwkRodzTr.clear(); }},
      {"a suspicious-transaction remark without its code", 2, [](Rekordy& r) { r[0].kPdjrz = "    "; }, {{kDane, 1}},
       [](Rekordy& r) { r[0].uwkPdjrz.clear(); }},
      {"an ordering party's type remark for type 1", 2, [](Rekordy& r) { r[1].uwzTypPo = "typ z2"; }, {{kDane, 2}},
       [](Rekordy& r) { r[1].uwzTypPo.clear(); }},
      {"a beneficiary's type remark for type 2", 2,
       [](Rekordy& r) {
         r[0].bTypPo = 2;
         r[0].bNz = "b1";
         r[0].bAdrKr = "FR";
         r[0].bAdrKod = "75001";
         r[0].bAdrM = "Paris";
         r[0].bAdrUl = "Rue 1";
         r[0].uwbTypPo = "typ b1";
       },
       {{kDane, 1}}, [](Rekordy& r) { r[0].uwbTypPo.clear(); }},
      {"exchange fields outside category 06", 2, [](Rekordy& r) { r[0].kRodzTr = "0100"; }, {{kDane, 1}},
       [](Rekordy& r) {
         r[0].tKwZ.clear();
         r[0].tJZ.clear();
       }},
      {"record 2 with a remark of its own", 2, [](Rekordy& r) { r[1].uwInne = "45: inna"; }, {{kDane, 2}},
       [](Rekordy& r) { r[1].uwInne = r[0].uwInne; }},
      {"record 2 whose party has a type but no name", 2, [](Rekordy& r) { r[1].zNz.clear(); },
       {{kPusty, 2}, {kRekord, 2}}, [](Rekordy& r) { r[1].Status = TRekordTransakcji::kDeleted; }},
      {"record 2 of 3 whose party has no name: record 3's party moves up", 3, [](Rekordy& r) { r[1].zNz.clear(); },
       {{kPusty, 2}, {kDane, 2}, {kRekord, 3}},
       [](Rekordy& r) {
         zDysponentem(r[1], dysponent("z3"));
         r[2].Status = TRekordTransakcji::kDeleted;
       }},
      {"record 2 with an amount and no party: no entry keeps it", 2,
       [](Rekordy& r) {
         TRekordTransakcji bez = swiat::rekord(r[1].nrEwT, r[1].rejDat, r[1].nrRejDat);
         bez.tKw = "555,00";
         bez.ilOstrzezen = 3;  // of an earlier check
         r[1] = bez;
       },
       {{kRekord, 2}}, [](Rekordy& r) { r[1].Status = TRekordTransakcji::kDeleted; }},
      {"record 2 without a name, printed: it stays", 2,
       [](Rekordy& r) {
         r[1].zNz.clear();
         r[1].ilWydrukow = 1;
       },
       {{kPusty, 2}}, [](Rekordy&) {}, {}, "Usunięcie po wydruku lub wysłaniu danych niemożliwe"},
      {"the user's changes of what the card shows", 2, [](Rekordy&) {}, {},
       [](Rekordy& r) {
         r[0].tKw = "777,00";
         r[0].kPwz = 0;
         r[0].uwkPwz.clear();
         r[1].zNz = "Nowak";
       },
       [](zelt::TedycjaForm& e) {
         e.tKw->selectAll();
         QTest::keyClicks(e.tKw, "777,00");
         e.kPwz->setCurrentIndex(0);  // hides and empties its remark
         emit e.kPwz->activated(0);
         e.zLis->setCurrentIndex(1);
         emit e.zLis->activated(1);
         e.zNz->setPlainText("Nowak");
       }},
      {"Usuń of the first ordering party: the second moves up, record 2 is left over", 2, [](Rekordy&) {}, {},
       [](Rekordy& r) {
         zDysponentem(r[0], dysponent("z2"));
         r[1].Status = TRekordTransakcji::kDeleted;
       },
       [](zelt::TedycjaForm& e) { e.zUsun->click(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Edytor w;
    Rekordy przed = wlasnaKarta(c.rekordow, w.p.zalogowany);
    if (przed.size() != static_cast<std::size_t>(c.rekordow)) {
      ADD_FAILURE() << "the program's card has " << przed.size() << " records";
      continue;
    }
    c.zapisane(przed);
    w.zapisz(przed);
    w.p.konfig()->FormCreate();  // the list shows the register
    w.g.lista->SetDataRow(0);

    std::vector<zelt::Uwaga> ostrze, bledy;
    zelt::LicznikiRekordow lr;
    w.dialogs.expectModal("edycjaForm", [&](platform::ModalForm&) {
      if (c.edycja) c.edycja(w.e);
      if (!c.ostrzezenia.empty())
        w.dialogs.expectModal("WerForm", [&](platform::ModalForm&) {
          ostrze = w.p.listyWer.ostrze();
          bledy = w.p.listyWer.bledy();
          lr = w.p.licznikiRekordow;
          return zelt::TWerForm::kPotwierdz;
        });
      if (c.komunikat) w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8(c.komunikat));
      w.e.zapisz->click();
      return platform::mrNone;
    });
    w.g.EdytujClick();
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(w.dialogs.shown().front().answer, platform::mrOk) << "saved and closed";

    std::vector<std::string> teksty;
    for (const auto& o : ostrze) teksty.push_back(cp1250::toQ(o.pole + " " + o.tekst).toStdString());
    std::vector<std::string> oczekiwane;
    std::vector<int> naRekord(static_cast<std::size_t>(c.rekordow) + 1, 0);
    for (const auto& [tekst, nr] : c.ostrzezenia) {
      oczekiwane.push_back(tekst);
      ++naRekord[static_cast<std::size_t>(nr)];
    }
    EXPECT_EQ(teksty, oczekiwane) << "after every other finding, in record order";
    EXPECT_TRUE(bledy.empty());
    for (const auto& o : ostrze) {
      if (o.pole == "01") {
        EXPECT_EQ(o.nazwa, w1250("Numer ewidencyjny transakcji"));
      }
    }
    for (int i = 1; i <= c.rekordow && !c.ostrzezenia.empty(); ++i)
      EXPECT_EQ(lr.r[static_cast<std::size_t>(i)].ostrzezenia, naRekord[static_cast<std::size_t>(i)]) << "record " << i;

    Rekordy po = przed;
    c.poZapisie(po);
    // The records written carry their counts of the check; the rest keep theirs.
    for (int i = 1; i <= w.p.rekordyKarty.k; ++i)
      po[static_cast<std::size_t>(i - 1)].ilOstrzezen = static_cast<std::uint8_t>(naRekord[static_cast<std::size_t>(i)]);
    const Rekordy zapisane = w.rekordy();
    EXPECT_EQ(zapisane.size(), po.size());
    for (std::size_t i = 0; i < po.size() && i < zapisane.size(); ++i) {
      std::string rozne;
      for (auto p : zelt::niezapisanePola(po[i], zapisane[i])) rozne += std::string(p) + " ";
      for (auto p : zelt::niezapisanePola(zapisane[i], po[i])) rozne += std::string(p) + " ";
      EXPECT_EQ(zapisane[i], po[i]) << "record " << i + 1 << ": " << rozne;
    }
  }
}
