// The card model: registration numbers of the day, the number suffix, the presets of a new card,
// and the load of a stored card with its working set and party lists.
#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "register/karta.h"
#include "register/numeracja.h"
#include "register/program.h"
#include "swiatrejestru.h"

using swiat::rekord;
using swiat::usuniety;
using zelt::TRekordTransakcji;

namespace {

constexpr double D = 39146.0;  // 2007-03-05

TEST(RegistrationNumber, StoredTextsReadAsNumbers) {
  const std::pair<const char*, int> cases[] = {
      {"0", 0}, {"7", 7}, {"999", 999}, {"  5", 5}, {"5  ", 5}, {" 12 ", 12}, {"007", 7},
      {"", -1}, {"   ", -1}, {"abc", -1}, {"1000", -1}, {"5000", -1}, {"-1", -1}, {"1 2", -1}, {"+3", -1}};
  for (auto [text, expected] : cases) {
    const auto n = zelt::numerRejestracji(text);
    EXPECT_EQ(n ? *n : -1, expected) << '"' << text << '"';
  }
}

TEST(RegistrationNumber, FirstFreeNumberOfTheDay) {
  struct Case {
    const char* name;
    std::vector<TRekordTransakcji> recs;
    const char* expected;
  };
  std::vector<TRekordTransakcji> full;
  for (int i = 0; i < 1000; ++i) full.push_back(rekord("T", D, std::to_string(i)));
  const Case cases[] = {
      {"empty register", {}, "0"},
      {"0, 1 and 3 taken; deleted 2 and another day's 2 do not count",
       {rekord("A", D, "0"), rekord("A", D, "1"), usuniety(rekord("B", D, "2")), rekord("C", D, "3"),
        rekord("E", D + 1, "2")},
       "2"},
      {"alignment blanks of an import are not part of the number", {rekord("A", D, " 0"), rekord("A", D, "1  ")}, "2"},
      {"texts that are no number 0..999 hold none",
       {rekord("A", D, "abc"), rekord("A", D, "5000"), rekord("A", D, "-1"), rekord("A", D, "1000"), rekord("A", D, "")},
       "0"},
      {"every number taken", full, "1000"},
  };
  for (const auto& c : cases) {
    swiat::SwiatRejestru w;
    w.zapisz(c.recs);
    EXPECT_EQ(zelt::wolnyNrRejDat(w.plik(), D), c.expected) << c.name;
  }
  swiat::SwiatRejestru w;
  EXPECT_EQ(zelt::wolnyNrRejDat(w.plik(), D), "0") << "no file";
}

TEST(NumberSuffix, FollowsTheSwitchesInTheirOrder) {
  const QDate d(2007, 3, 5);
  const std::string unit = "12345678 - siedziba";
  struct Case {
    zelt::NumeracjaEwidencyjna n;
    const char* expected;
  } cases[] = {
      {{}, ""},
      {{true, false, false, true}, "1234567807"},
      {{true, true, true, true}, "12345678050307"},
      {{false, true, false, false}, "05"},
      {{false, false, true, true}, "0307"},
  };
  for (const auto& c : cases) EXPECT_EQ(zelt::przyrostekNumeru(c.n, unit, d), c.expected);
  EXPECT_EQ(zelt::przyrostekNumeru({true, false, false, false}, "12", d), "00000012")
      << "a short unit as the card stores it, with its zeros";
}

zelt::UstawieniaNowejKarty ustawienia(const std::string& kRodzTr, int spDysp) {
  zelt::UstawieniaNowejKarty u;
  u.domyslne.kRodzTr = kRodzTr;
  u.domyslne.miejsce = "Warszawa";
  u.domyslne.waluta = "PLN";
  u.domyslne.kraj = "PL";
  u.domyslne.spDysp = spDysp;
  u.domyslne.typPo = 1;
  u.domyslne.rodzDokTo = 1;
  u.numeracja = {true, false, false, true};
  u.NumIO = "12345678";
  u.jednostki = {{"00000002", cp1250::fromUtf8("Oddział")}};
  u.zalogowany = "Jan;Kowalski;Kierownik";
  u.dzis = QDate(2026, 12, 10);
  return u;
}

TEST(NewCard, PresetsFromTheSettings) {
  swiat::SwiatRejestru w;
  const double today = w.dzis();
  w.zapisz({rekord("A", today, "0"), rekord("A", today, "1"), rekord("B", today, "3")});
  auto& p = w.bezOkien();
  // What the card held before: a loaded correction with parties and counts.
  p.karta.Status = 0;
  p.karta.nrEwT = "OLD";
  p.karta.listaDysponentow.wpisy.resize(3);
  p.karta.listaDysponentow.indeks = 2;
  p.karta.listaBeneficjentow.wpisy.resize(1);
  p.rekordyKarty.k = 4;
  p.rekordyKarty.r[4] = {17, 3, "4"};
  p.licznikiRekordow.r[4].wyslania = 1;
  p.licznikiRekordow.r[25].wydruki = 2;
  p.trybKarty = 0;

  zelt::przygotujNowaKarte(p, ustawienia("0100", 0));
  const zelt::Karta& k = p.karta;
  EXPECT_EQ(p.trybKarty, 1);
  EXPECT_EQ(p.rekordyKarty.k, 0);
  for (int i = 1; i <= 25; ++i) {
    EXPECT_EQ(p.rekordyKarty.r[i].nrRekordu, zelt::kBrakRekordu) << i;
    EXPECT_EQ(p.licznikiRekordow.r[i].wydruki + p.licznikiRekordow.r[i].wyslania, 0) << i;
  }
  EXPECT_EQ(k.Status, 1) << "a new card is a new transaction";
  EXPECT_EQ(k.nrEwT, "");
  EXPECT_EQ(k.jedIOPozycje, (std::vector<std::string>{"12345678 - siedziba", cp1250::fromUtf8("00000002 - Oddział")}));
  EXPECT_EQ(k.jedIO, "12345678 - siedziba");
  EXPECT_EQ(k.RozNum, "1234567826");
  EXPECT_EQ(k.rejDat, today);
  EXPECT_EQ(k.tDat, today);
  EXPECT_EQ(k.NrRejDat, std::vector<std::string>{"2"});
  EXPECT_EQ(k.NrRejDatWybrany, 0);
  EXPECT_EQ(k.ilblad, "");
  EXPECT_FALSE(k.bdr);
  EXPECT_FALSE(k.bpl);
  EXPECT_EQ(k.Wprowa, "Jan;Kowalski;Kierownik");
  EXPECT_EQ(p.aktualnyRekord.Wprow, "Jan;Kowalski;Kierownik");
  EXPECT_EQ(k.kRodzTr, "0100");
  EXPECT_TRUE(k.uwkRodzTrWidoczna) << "title 00 asks for a remark";
  EXPECT_FALSE(k.kwotaZWidoczna);
  EXPECT_EQ(k.kPwz, 0);
  EXPECT_FALSE(k.uwkPwzWidoczna);
  EXPECT_EQ(k.kPdjrz, "") << "the first item of the suspicious-transaction list";
  EXPECT_FALSE(k.uwkPdjrzWidoczna);
  EXPECT_EQ(k.spDysp, 0);
  EXPECT_TRUE(k.uwspDyspWidoczna) << "way 0 asks for a remark";
  EXPECT_EQ(k.tM, "Warszawa");
  EXPECT_EQ(k.tJ, "PLN");
  EXPECT_EQ(k.tJZ, "PLN");
  EXPECT_EQ(k.tKw, "");
  EXPECT_EQ(k.z.pola.TypPo, 1);
  EXPECT_EQ(k.z.pola.Obyw, "PL");
  EXPECT_EQ(k.z.pola.AdrKr, "PL");
  EXPECT_EQ(k.z.pola.RodzDokTo, 1);
  EXPECT_EQ(k.z.pola.Nz, "");
  EXPECT_FALSE(k.z.uwTypPoWidoczna || k.z.uwRodzDokToWidoczna || k.z.uwObywWidoczna);
  EXPECT_EQ(k.p.pola.TypPo, -1);
  EXPECT_EQ(k.p.pola.AdrKr, "PL");
  EXPECT_EQ(k.b.pola.TypPo, -1);
  EXPECT_EQ(k.b.pola.AdrKr, "PL");
  for (const auto* l : {&k.listaDysponentow, &k.listaWImieniu, &k.listaBeneficjentow}) {
    EXPECT_TRUE(l->wpisy.empty());
    EXPECT_EQ(l->indeks, 0);
  }
}

TEST(NewCard, ExchangeFieldsAndTheEnteringPersonCut) {
  swiat::SwiatRejestru w;
  auto& p = w.bezOkien();
  auto u = ustawienia("0607", 1);
  u.zalogowany = std::string(140, 'x');
  zelt::przygotujNowaKarte(p, u);
  EXPECT_FALSE(p.karta.uwkRodzTrWidoczna);
  EXPECT_TRUE(p.karta.kwotaZWidoczna) << "category 06 is an exchange of currency";
  EXPECT_FALSE(p.karta.uwspDyspWidoczna);
  EXPECT_EQ(p.karta.NrRejDat, std::vector<std::string>{"0"}) << "no register yet";
  EXPECT_EQ(p.aktualnyRekord.Wprow.size(), 128u);
  EXPECT_EQ(p.karta.Wprowa.size(), 140u) << "the editor shows the whole text";
}

// Card "A" scattered over the file, with other cards and a deleted member between its records.
std::vector<TRekordTransakcji> rozrzucona() {
  TRekordTransakcji a1 = rekord("A", D, "4");
  a1.kRodzTr = "0100";
  a1.uwkRodzTr = "inna";
  a1.kPwz = 1;
  a1.uwkPwz = "z B";
  a1.kPdjrz = "0000";
  a1.spDysp = 0;
  a1.tKw = "100,00";
  a1.tKwZ = "5";
  a1.jedIO = "12345678";
  a1.nrRachZ = "PL61";
  a1.uwInne = "45:uwaga";
  a1.ilBledow = 2;
  a1.ilOstrzezen = 1;
  a1.ilWydrukow = 1;
  a1.Wprow = "pierwszy";
  a1.zTypPo = 0;
  a1.zNz = "Kowalski Jan";
  a1.zNip = "5260250274";
  a1.zRodzDokTo = 0;
  a1.uwzTypPo = "typ";
  a1.uwzRodzDokTo = "dok";
  a1.bTypPo = 1;
  a1.bNz = "Nowak";
  a1.bAdrM = cp1250::fromUtf8("Kraków");
  TRekordTransakcji a2 = rekord("A", D, "7");
  a2.zNz = "Bez Typu";  // a name without a type is still a party
  a2.bNz = "Bez Typu B";
  a2.ilWyslan = 2;
  a2.Wprow = "drugi";
  TRekordTransakcji a3 = rekord("A", D, "9");
  a3.zTypPo = 1;
  a3.zNz = "Trzeci";
  a3.uwzObyw = "DE";
  return {a1, rekord("B", D, "5"), usuniety(rekord("A", D, "6")), a2, rekord("A ", D, "8"), a3};
}

TEST(CardLoad, GathersTheLiveRecordsOfTheCardInFileOrder) {
  swiat::SwiatRejestru w;
  w.zapisz(rozrzucona());
  auto& p = w.bezOkien();
  swiat::Lista l;
  // The list sorted otherwise than the file; record 3 has no row.
  l.wiersz(5);
  l.wiersz(1);
  l.wiersz(0);
  p.ukladListy = l.uklad;
  p.licznikiRekordow.r[4].wyslania = 1;  // left from a card opened before
  p.licznikiRekordow.r[4].wydruki = 3;

  std::int32_t n = 3;  // the clicked record is not the card's first
  ASSERT_EQ(zelt::wczytajKarte(p, n, &l.m), zelt::Wczytanie::Wczytana);
  EXPECT_EQ(n, 3);
  const auto& rk = p.rekordyKarty;
  ASSERT_EQ(rk.k, 3) << "the deleted member and \"A \" are not the card's";
  EXPECT_EQ(rk.r[1].nrRekordu, 0);
  EXPECT_EQ(rk.r[2].nrRekordu, 3);
  EXPECT_EQ(rk.r[3].nrRekordu, 5);
  EXPECT_EQ(rk.r[1].wiersz, 2);
  EXPECT_EQ(rk.r[2].wiersz, -1) << "no row shows record 3: the save appends one";
  EXPECT_EQ(rk.r[3].wiersz, 0);
  EXPECT_EQ(rk.r[2].nrRejDat, "7");
  for (int i = 4; i <= 25; ++i) {
    EXPECT_EQ(rk.r[i].nrRekordu, zelt::kBrakRekordu) << i;
    EXPECT_EQ(p.licznikiRekordow.r[i].wydruki + p.licznikiRekordow.r[i].wyslania, 0) << "slot " << i << " is reset";
  }
  EXPECT_EQ(p.licznikiRekordow.r[1].bledy, 2);
  EXPECT_EQ(p.licznikiRekordow.r[1].wydruki, 1);
  EXPECT_EQ(p.licznikiRekordow.r[2].wyslania, 2);

  const zelt::Karta& k = p.karta;
  EXPECT_EQ(k.NrRejDat, (std::vector<std::string>{"4", "7", "9"}));
  EXPECT_EQ(k.NrRejDatWybrany, 0);
  EXPECT_EQ(k.ilblad, "2");
  EXPECT_EQ(k.ilos, "1");
  EXPECT_TRUE(k.bdr);
  EXPECT_FALSE(k.bpl) << "the marks are the first record's";
  EXPECT_EQ(k.Wprowa, "") << "the last record's person stays";
  EXPECT_EQ(k.nrEwT, "A");
  EXPECT_EQ(k.rejDat, D);
  EXPECT_EQ(k.jedIO, "12345678");
  EXPECT_EQ(k.kRodzTr, "0100");
  EXPECT_EQ(k.uwkRodzTr, "inna");
  EXPECT_TRUE(k.uwkRodzTrWidoczna);
  EXPECT_TRUE(k.uwkPwzWidoczna);
  EXPECT_TRUE(k.uwkPdjrzWidoczna);
  EXPECT_TRUE(k.uwspDyspWidoczna);
  EXPECT_FALSE(k.kwotaZWidoczna);
  EXPECT_EQ(k.tKw, "100,00");
  EXPECT_EQ(k.nrRachZ, "PL61");
  EXPECT_EQ(k.uwInne, "45:uwaga");

  const auto& z = k.listaDysponentow;
  ASSERT_EQ(z.wpisy.size(), 3u);
  EXPECT_EQ(z.indeks, 1);
  EXPECT_EQ(z.wpisy[0].Nz, "Kowalski Jan");
  EXPECT_EQ(z.wpisy[0].Nip, "5260250274");
  EXPECT_EQ(z.wpisy[0].uwTypPo, "typ");
  EXPECT_EQ(z.wpisy[0].uwRodzDokTo, "dok");
  EXPECT_EQ(z.wpisy[0].rolaPo, zelt::TRekordPodmiotu::Dysponent);
  EXPECT_EQ(z.wpisy[1].Nz, "Bez Typu");
  EXPECT_EQ(z.wpisy[1].TypPo, -1);
  EXPECT_EQ(z.wpisy[2].uwObyw, "DE");
  EXPECT_EQ(k.z.pola.Nz, "Kowalski Jan") << "the first entry is shown";
  EXPECT_TRUE(k.z.uwTypPoWidoczna);
  EXPECT_TRUE(k.z.uwRodzDokToWidoczna);
  EXPECT_FALSE(k.z.uwObywWidoczna);

  ASSERT_EQ(k.listaBeneficjentow.wpisy.size(), 2u);
  EXPECT_EQ(k.listaBeneficjentow.wpisy[0].AdrM, cp1250::fromUtf8("Kraków"));
  EXPECT_EQ(k.listaBeneficjentow.wpisy[1].Nz, "Bez Typu B");
  EXPECT_EQ(k.listaBeneficjentow.wpisy[1].rolaPo, zelt::TRekordPodmiotu::Beneficjent);
  EXPECT_TRUE(k.listaWImieniu.wpisy.empty());
  EXPECT_EQ(k.listaWImieniu.indeks, 0);
  EXPECT_EQ(k.p.pola.TypPo, -1) << "a page without entries is cleared";
  EXPECT_EQ(k.p.pola.Nz, "");
}

TEST(CardLoad, MissingDeletedAndUnreadable) {
  swiat::SwiatRejestru w;
  auto& p = w.bezOkien();
  p.karta.nrEwT = "POPRZEDNIA";
  p.rekordyKarty.k = 2;
  std::int32_t n = 0;
  EXPECT_EQ(zelt::wczytajKarte(p, n, nullptr), zelt::Wczytanie::BrakPliku);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(p.karta.nrEwT, "POPRZEDNIA") << "nothing changes without a file";
  EXPECT_EQ(p.rekordyKarty.k, 2);

  w.zapisz(rozrzucona());
  for (std::int32_t bad : {6, 100, -1, 2}) {  // beyond the file, negative, a deleted record
    n = bad;
    EXPECT_EQ(zelt::wczytajKarte(p, n, nullptr), zelt::Wczytanie::BrakRekordu) << bad;
    EXPECT_EQ(n, zelt::kBrakRekordu) << bad;
  }
  EXPECT_EQ(p.karta.nrEwT, "POPRZEDNIA");
}

TEST(CardLoad, StopsAtTwentyFiveRecordsOfOneCard) {
  swiat::SwiatRejestru w;
  std::vector<TRekordTransakcji> recs;
  for (int i = 0; i < 26; ++i) {
    TRekordTransakcji r = rekord("X", D, std::to_string(i));
    r.zTypPo = 1;
    r.zNz = "P" + std::to_string(i);
    recs.push_back(r);
  }
  w.zapisz(recs);
  const std::string before = testing_world::World::readFile(w.plik());
  auto& p = w.bezOkien();
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("więcej niż 25"));
  std::int32_t n = 25;
  ASSERT_EQ(zelt::wczytajKarte(p, n, nullptr), zelt::Wczytanie::Wczytana);
  EXPECT_EQ(p.rekordyKarty.k, 25);
  EXPECT_EQ(p.rekordyKarty.r[25].nrRekordu, 24);
  EXPECT_EQ(p.karta.NrRejDat.size(), 25u);
  EXPECT_EQ(p.karta.listaDysponentow.wpisy.size(), 25u);
  EXPECT_EQ(p.karta.listaDysponentow.wpisy.back().Nz, "P24");
  EXPECT_EQ(testing_world::World::readFile(w.plik()), before);
}

}  // namespace
