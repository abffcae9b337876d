#include <gtest/gtest.h>

#include <string>

#include "register/program.h"
#include "register/weryfikacja.h"
#include "support/world.h"

namespace {

using zelt::Uwaga;

struct DigitCase {
  const char* text;
  bool valid;
  const char* why;
};

void expectAll(bool (*check)(std::string_view), std::initializer_list<DigitCase> cases, const char* name) {
  for (const auto& c : cases) EXPECT_EQ(check(c.text), c.valid) << name << " \"" << c.text << "\": " << c.why;
}

TEST(CheckDigits, Pesel) {
  expectAll(zelt::CheckPesel,
            {
                {"44051401359", true, "the published example"},
                {"02070803628", true, "a born-in-2000s example (month + 20)"},
                {"10000000030", true, "sum 10, a multiple of 10, with check digit 0"},
                {"10000000031", false, "sum a multiple of 10 needs check digit 0"},
                {"44051401358", false, "last digit changed"},
                {"44051410359", false, "two digits swapped"},
                {"4405140135", false, "10 digits"},
                {"440514013590", false, "12 digits"},
                {"4405140135A", false, "a letter"},
                {"44051 01359", false, "a blank in place of a digit"},
                {"", false, "empty"},
            },
            "PESEL");
}

TEST(CheckDigits, Nip) {
  expectAll(zelt::CheckNIP,
            {
                {"1234563218", true, "the common example"},
                {"5261040828", true, "a published NIP"},
                {"1234563217", false, "check digit changed"},
                {"123-456-32-18", false, "separators are not removed"},
                {"123456321", false, "9 digits"},
                {"12345632180", false, "11 digits"},
                {"PL1234563218", false, "country prefix"},
                {"", false, "empty"},
            },
            "NIP");
  // 1,0,0,0,0,0,0,1,6 weigh 6 + 6 + 42 = 54, remainder 10: no check digit makes it valid.
  for (char dgt = '0'; dgt <= '9'; ++dgt) EXPECT_FALSE(zelt::CheckNIP(std::string("100000016") + dgt)) << dgt;
}

TEST(CheckDigits, Regon) {
  expectAll(zelt::CheckREGON,
            {
                {"123456785", true, "the common example"},
                {"000331501", true, "a published REGON"},
                {"100000050", true, "remainder 10 counts as 0"},
                {"100000051", false, "remainder 10 with check digit 1"},
                {"123456786", false, "check digit changed"},
                {"12345678512347", false, "the 14-digit REGON is not taken"},
                {"12345678", false, "8 digits"},
                {"12345678O", false, "letter O for zero"},
                {"", false, "empty"},
            },
            "REGON");
}

TEST(CheckDigits, Nrb) {
  expectAll(zelt::CheckNRB,
            {
                {"PL61 1090 1014 0000 0712 1981 2874", true, "the published example, grouped with its prefix"},
                {"61109010140000071219812874", true, "the same 26 bare digits"},
                {"PL61109010140000071219812874", true, "prefix without blanks"},
                {" 61 1090 1014 0000 0712 1981 2874 ", true, "blanks at both ends"},
                {"P L61109010140000071219812874", true, "blanks go before the prefix is looked at"},
                {"pl61 1090 1014 0000 0712 1981 2874", false, "lower-case prefix"},
                {"61-1090-1014-0000-0712-1981-2874", false, "dashes"},
                {"61109010140000071219812875", false, "one digit changed"},
                {"16109010140000071219812874", false, "check digits swapped"},
                {"6110901014000007121981287", false, "25 digits"},
                {"611090101400000712198128740", false, "27 digits"},
                {"DE61109010140000071219812874", false, "another country"},
                {"PL", false, "the prefix only"},
                {"", false, "empty"},
            },
            "NRB");
}

// The two checks that nothing calls read the leading 8 or 10 characters; short input is invalid
// and is never read past its end.
TEST(CheckDigits, KontoAndIsbn) {
  // 1,0,0,0,0,0,0 weigh 7: check digit 7.
  expectAll(zelt::CheckKonto,
            {
                {"10000007", true, "7 mod 10 = 7"},
                {"10000007-123", true, "only the first 8 count"},
                {"10000006", false, "wrong check digit"},
                {"1000000", false, "7 characters"},
                {"1000A007", false, "a letter"},
                {"", false, "empty"},
            },
            "Konto");
  // Weight 11 - i for the first nine digits; a check value of 10 or 11 matches no digit.
  expectAll(zelt::CheckISBN,
            {
                {"0306406152", true, "a published ISBN: S = 130, 11 - 9 = 2"},
                {"1000000001", true, "S = 10, check value 1"},
                {"0306406153", false, "check digit changed"},
                {"0000000000", false, "S = 0 gives check value 11"},
                {"080442957X", false, "check value 10 is never matched"},
                {"030640615", false, "9 characters"},
                {"", false, "empty"},
            },
            "ISBN");
}

// A fresh set of counts and lists, as one check sees them.
struct Lists : ::testing::Test {
  zelt::LicznikiRekordow liczniki;
  zelt::ListyWeryfikacji listy{liczniki};
};

TEST_F(Lists, FindingsAreNumberedInTheirOwnListAndCounted) {
  listy.przygotuj(3);
  listy.dodajblad("13", "Kwota", 1, "brak");
  listy.dodajostrze("17-Kowalski", "Typ", 2, "inne");
  listy.dodajblad("20-Nowak", "PESEL", 3, "zły");
  listy.dodajblad("01", "Nr", 1, "pusty");
  const std::vector<Uwaga> bledy = {
      {1, "13", "Kwota", "brak"}, {2, "20-Nowak", "PESEL", "zły"}, {3, "01", "Nr", "pusty"}};
  const std::vector<Uwaga> ostrze = {{1, "17-Kowalski", "Typ", "inne"}};
  EXPECT_EQ(listy.bledy(), bledy);
  EXPECT_EQ(listy.ostrze(), ostrze);
  EXPECT_EQ(liczniki.bledow, 3);
  EXPECT_EQ(liczniki.ostrzezen, 1);
  EXPECT_EQ(listy.iloscBledow(), 3);
  EXPECT_EQ(listy.iloscOstrzezen(), 1);
  EXPECT_TRUE(listy.saUwagi());
  EXPECT_EQ(liczniki.r[1].bledy, 2);
  EXPECT_EQ(liczniki.r[1].ostrzezenia, 0);
  EXPECT_EQ(liczniki.r[2].ostrzezenia, 1);
  EXPECT_EQ(liczniki.r[2].bledy, 0);
  EXPECT_EQ(liczniki.r[3].bledy, 1);
}

TEST_F(Lists, RecordNumbersOutsideTheCardRaiseOnlyTheTotals) {
  listy.przygotuj();
  for (std::uint8_t nr : {std::uint8_t(0), std::uint8_t(26), std::uint8_t(255)}) {
    listy.dodajblad("", "", nr, "x");
    listy.dodajostrze("", "", nr, "y");
  }
  listy.dodajostrze("", "", 25, "last record");
  EXPECT_EQ(liczniki.bledow, 3);
  EXPECT_EQ(liczniki.ostrzezen, 4);
  for (int i = 0; i <= zelt::kMaxRekordowKarty; ++i) {
    EXPECT_EQ(liczniki.r[i].bledy, 0) << i;
    EXPECT_EQ(liczniki.r[i].ostrzezenia, i == 25 ? 1 : 0) << i;
  }
}

TEST_F(Lists, PreparingStartsAfreshAndZeroesTheCardsRecordsOnly) {
  liczniki.r[1].wydruki = 2;
  liczniki.r[2].wyslania = 1;
  for (std::uint8_t nr = 1; nr <= 4; ++nr) {
    listy.dodajblad("a", "b", nr, "c");
    listy.dodajostrze("a", "b", nr, "c");
  }
  listy.przygotuj(2);
  EXPECT_TRUE(listy.bledy().empty());
  EXPECT_TRUE(listy.ostrze().empty());
  EXPECT_EQ(liczniki.bledow, 0);
  EXPECT_EQ(liczniki.ostrzezen, 0);
  EXPECT_FALSE(listy.saUwagi());
  EXPECT_EQ(liczniki.r[1].bledy, 0);
  EXPECT_EQ(liczniki.r[2].ostrzezenia, 0);
  EXPECT_EQ(liczniki.r[3].bledy, 1) << "records beyond the card's count are left";
  EXPECT_EQ(liczniki.r[4].ostrzezenia, 1);
  EXPECT_EQ(liczniki.r[1].wydruki, 2) << "print and sent counts are not the check's";
  EXPECT_EQ(liczniki.r[2].wyslania, 1);

  listy.dodajostrze("x", "y", 0, "z");
  ASSERT_EQ(listy.ostrze().size(), 1u);
  EXPECT_EQ(listy.ostrze()[0].lp, 1) << "numbering starts again";

  listy.przygotuj(99);  // more than a card holds: every record, nothing beyond
  EXPECT_EQ(liczniki.r[3].bledy, 0);
}

// The card editor empties its working set without preparing a check; the lists follow the
// totals, so the next finding is number 1 and replaces the old rows.
TEST_F(Lists, TheListFollowsTheTotalWhenTheWorkingSetIsCleared) {
  listy.dodajblad("1", "", 0, "old 1");
  listy.dodajblad("2", "", 0, "old 2");
  liczniki = zelt::LicznikiRekordow{};
  listy.dodajblad("3", "", 0, "new");
  const std::vector<Uwaga> expected = {{1, "3", "", "new"}};
  EXPECT_EQ(listy.bledy(), expected);
}

TEST(ProgramLists, CountIntoTheOpenCardsWorkingSet) {
  testing_world::World w;
  auto& p = w.program();
  p.listyWer.przygotuj(1);
  p.listyWer.dodajblad("13", "Kwota", 1, "brak");
  EXPECT_EQ(p.licznikiRekordow.bledow, 1);
  EXPECT_EQ(p.licznikiRekordow.r[1].bledy, 1);
  p.czyscKarte();
  EXPECT_EQ(p.listyWer.iloscBledow(), 0);
}

}  // namespace
