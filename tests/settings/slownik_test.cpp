#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <set>
#include <sstream>

#include "platform/cp1250.h"
#include "register/program.h"
#include "settings/slownik.h"
#include "support/world.h"

using testing_world::World;
using zelt::Slownik;

namespace {

std::vector<std::string> words(const char* text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

Slownik codes(const Slownik& lines, std::size_t length) {
  Slownik out;
  for (const auto& l : lines) out.push_back(zelt::kodPozycji(l, length));
  return out;
}

TEST(Dictionary, LineRule) {
  const struct {
    const char* name;
    std::string bytes;
    Slownik items;
  } cases[] = {
      {"empty file", "", {""}},
      {"one line end", "\r\n", {""}},
      {"no line end", "A", {"A"}},
      {"one line", "A\r\n", {"A"}},
      {"two lines", "A\r\nB\r\n", {"A", "B"}},
      {"last line empty", "A\r\nB\r\n\r\n", {"A", "B", ""}},
      {"last line unended", "A\r\nB", {"A", "B"}},
      {"LF alone", "A\nB\n", {"A", "B"}},
      {"LF and an empty line", "A\n\nB", {"A", "", "B"}},
      {"lone CR", "A\rB\r\n", {"A", "B"}},
      {"CR before CR LF", "A\r\r\nB", {"A", "", "B"}},
      {"blanks are kept", " PL-POLAND  \r\n", {" PL-POLAND  "}},
      {"Windows-1250 bytes untouched", "\xB3\xF3\x64\xBC\r\n\x8C\x9F\r\n", {"\xB3\xF3\x64\xBC", "\x8C\x9F"}},
  };
  for (const auto& c : cases) EXPECT_EQ(zelt::podzielNaLinie(c.bytes), c.items) << c.name;
}

TEST(Dictionary, FilesThatCannotBeReadGiveNothing) {
  World w;
  EXPECT_FALSE(zelt::czytajSlownik(w.path("brak.txt")).has_value());
  QDir().mkpath(w.path("katalog.txt"));
  EXPECT_FALSE(zelt::czytajSlownik(w.path("katalog.txt")).has_value()) << "a folder of that name is no dictionary";
  World::writeFile(w.path("pusty.txt"), "");
  EXPECT_EQ(zelt::czytajSlownik(w.path("pusty.txt")), Slownik{""});
}

TEST(Dictionary, LoadReplacesTheListOrKeepsItAndSaysSo) {
  World w;
  auto& p = w.program();
  const QString opis = QString::fromUtf8("ładowanie kodów krajów");
  Slownik list{"PL-POLAND", "DE-GERMANY"};

  EXPECT_FALSE(zelt::zaladujSlownik(p, w.path("kraje.txt"), opis, list));
  EXPECT_EQ(list, (Slownik{"PL-POLAND", "DE-GERMANY"}));
  EXPECT_EQ(p.splashLines, (QStringList{opis, QString::fromUtf8("ładowanie kodów krajów - brak pliku")}));

  p.splashLines.clear();
  World::writeFile(w.path("kraje.txt"), "SE-SWEDEN\r\nNO-NORWAY\r\nFI-FINLAND\r\n");
  EXPECT_TRUE(zelt::zaladujSlownik(p, w.path("kraje.txt"), opis, list));
  EXPECT_EQ(list, (Slownik{"SE-SWEDEN", "NO-NORWAY", "FI-FINLAND"}));
  EXPECT_EQ(p.splashLines, QStringList{opis});
}

TEST(Dictionary, CodesOfItems) {
  const Slownik list{"SE-SWEDEN", "N", "NO-NORWAY", "SE-SWEDEN again", ""};
  EXPECT_EQ(zelt::kodPozycji("PLN Poland, Zlotych ", 3), "PLN");
  EXPECT_EQ(zelt::kodPozycji("N", 2), "N");
  const struct {
    const char* kod;
    int index;
  } cases[] = {{"SE", 0}, {"NO", 2}, {"N", 1}, {"FI", -1}, {"", -1}, {"se", -1}, {"SE-", -1}};
  for (auto c : cases) EXPECT_EQ(zelt::indeksKodu(list, c.kod, 2), c.index) << c.kod;
}

// The countries in the order the stored data and the users know.
const char* const kKraje =
    "PL DE US AU AT CA CZ DK FR HU IT NL NO PT RU SK SE CH GB AF AL DZ AS AD AO AI AQ AG AR AM AW AZ BS BH BD BB BY "
    "BE BZ BJ BM BT BO BA BW BV BR IO BN BG BF BI KH CM CV KY CF TD CL CN CX CC CO KM CG CD CK CR CI HR CU CY DJ DM "
    "DO TP EC EG SV GQ ER EE ET FK FO FJ FI FX GF PF TF GA GM GE GH GI GR GL GD GP GU GT GN GW GY HT HM VA HN HK IS "
    "IN ID IR IQ IE IL JM JP JO KZ KE KI KP KR KW KG LA LV LB LS LR LY LI LT LU MO MK MG MW MY MV ML MT MH MQ MR MU "
    "YT MX FM MD MC MN MS MA MZ MM NA NR NP AN NC NZ NI NE NG NU NF MP OM PK PW PS PA PG PY PE PH PN PR QA RE RO RW "
    "KN LC VC WS SM ST SA SN SC SL SG SI SB SO ZA GS ES LK SH PM SD SR SJ SZ SY TW TJ TZ TH TG TK TO TT TN TR TM TC "
    "TV UG UA AE UM UY UZ VU VE VN VG VI WF EH YE YU ZM ZW";

TEST(BuiltInLists, Countries) {
  const Slownik& k = zelt::wbudowane::kraje();
  ASSERT_EQ(k.size(), 240u);
  EXPECT_EQ(codes(k, 2), words(kKraje));
  for (const auto& line : k) {
    EXPECT_EQ(line.substr(2, 1), "-") << line;
    EXPECT_GT(line.size(), 3u) << line;
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) << line;
  }
  const std::pair<int, const char*> spots[] = {
      {0, "PL-POLAND"},
      {15, "SK-SLOVAKIA (Slovak Republic)"},
      {19, "AF-AFGHANISTAN"},
      {65, "CD-CONGO, THE DEMOCRATIC REPUBLIC OF THE"},
      {68, "CI-COTE D'IVOIRE"},
      {75, "TP-EAST TIMOR"},
      {87, "FX-FRANCE, METROPOLITAN"},
      {161, "AN-NETHERLANDS ANTILLES"},
      {232, "VG-VIRGIN ISLANDS (BRITISH)"},
      {237, "YU-YUGOSLAVIA"},
      {239, "ZW-ZIMBABWE"},
  };
  for (auto [i, text] : spots) EXPECT_EQ(k[i], text) << i;
}

// The names are those the standard gave before 2002, not today's: after the 19 used most the
// lines go by name, which a later name (Cabo Verde, Eswatini, North Macedonia...) would break.
TEST(BuiltInLists, CountryNamesAsTheyStoodBefore2002) {
  const Slownik& k = zelt::wbudowane::kraje();
  for (std::size_t i = 20; i < k.size(); ++i) EXPECT_LT(k[i - 1].substr(3), k[i].substr(3)) << i;
  const std::pair<const char*, const char*> names[] = {
      {"BO", "BOLIVIA"},
      {"CV", "CAPE VERDE"},
      {"CZ", "CZECH REPUBLIC"},
      {"LY", "LIBYAN ARAB JAMAHIRIYA"},
      {"MK", "MACEDONIA, THE FORMER YUGOSLAV REPUBLIC OF"},
      {"PS", "PALESTINIAN TERRITORY, OCCUPIED"},
      {"SZ", "SWAZILAND"},
      {"TR", "TURKEY"},
      {"VE", "VENEZUELA"},
      {"SH", "ST. HELENA"},
      {"PM", "ST. PIERRE AND MIQUELON"},
  };
  for (auto [code, name] : names) {
    const auto line = std::find_if(k.begin(), k.end(), [&](const std::string& l) { return l.substr(0, 2) == code; });
    ASSERT_NE(line, k.end()) << code;
    EXPECT_EQ(line->substr(3), name) << code;
  }
  for (const char* today : {"CZECHIA", "TURKIYE", "ESWATINI", "CABO VERDE", "NORTH MACEDONIA", "STATE OF", "PLURINATIONAL",
                            "BOLIVARIAN", "ASCENSION"})
    for (const auto& line : k) EXPECT_EQ(line.find(today), std::string::npos) << line;
}

const char* const kWalutyPierwsze = "PLN EUR USD AUD CAD CZK DKK GBP HUF JPY NOK RUR SEK CHF";
const char* const kWaluty =
    "AED AFA ALL AMD ANG AOA ARS ATS AUD AWG AZM BAM BBD BDT BEF BGL BHD BIF BMD BND BOB BRL BSD BTN BWP BYR BZD "
    "CAD CDF CHF CLP CNY COP CRC CUP CVE CYP CZK DEM DJF DKK DOP DZD EEK EGP ERN ESP ETB EUR FIM FJD FKP FRF GBP GEL "
    "GGP GHC GIP GMD GNF GRD GTQ GYD HKD HNL HRK HTG HUF IDR IEP ILS IMP INR IQD IRR ISK ITL JEP JMD JOD JPY KES KGS "
    "KHR KMF KPW KRW KWD KYD KZT LAK LBP LKR LRD LSL LTL LUF LVL LYD MAD MDL MGF MKD MMK MNT MOP MRO MTL MUR MVR MWK "
    "MXN MYR MZM NAD NGN NIO NLG NOK NPR NZD OMR PAB PEN PGK PHP PKR PLN PTE PYG QAR ROL RUR RWF SAR SBD SCR SDD SEK "
    "SGD SHP SIT SKK SLL SOS SPL SRG STD SVC SYP SZL THB TJS TMM TND TOP TRL TTD TVD TWD TZS UAH UGX USD UYU UZS VAL "
    "VEB VND VUV WST XAF XAG XAU XCD XDR XOF XPD XPF XPT YER YUM ZAR ZMK ZWD";

TEST(BuiltInLists, Currencies) {
  const Slownik& v = zelt::wbudowane::waluty();
  const Slownik all = codes(v, 3);
  const auto first = words(kWalutyPierwsze);
  ASSERT_GE(all.size(), first.size());
  EXPECT_EQ(Slownik(all.begin(), all.begin() + first.size()), first);
  const std::set<std::string> distinct(all.begin(), all.end());
  const auto expected = words(kWaluty);
  EXPECT_EQ(distinct, std::set<std::string>(expected.begin(), expected.end()));
  EXPECT_EQ(all.size(), distinct.size()) << "one line per currency";
  for (const auto& line : v) {
    EXPECT_EQ(line[3], ' ') << line;
    EXPECT_EQ(line.back(), ' ') << "every line ends in a blank: " << line;
    EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; })) << line;
  }
  // After the currencies used most, the lines go by the country's name (the text before the last
  // comma; a name may hold one, as in "Congo, The Democratic Republic of the").
  auto country = [](const std::string& line) {
    const std::string text = line.substr(4);
    return QString::fromLatin1(text.substr(0, std::min(text.rfind(", "), text.size() - 1)));
  };
  for (std::size_t i = first.size() + 1; i < v.size(); ++i)
    EXPECT_LE(country(v[i - 1]).compare(country(v[i]), Qt::CaseInsensitive), 0) << v[i - 1] << " / " << v[i];
  EXPECT_EQ(v[0], "PLN Poland, Zlotych ");
  EXPECT_EQ(v[1], "EUR EMU (European Economic and Monetary Union), Euro ");
  for (const char* line : {"XAU Gold, Ounces ", "XAG Silver, Ounces ", "XPD Palladium, Ounces ", "XPT Platinum, Ounces ",
                           "XDR Special Drawing Rights ", "FRF France, Francs (until 2002.02.17) ",
                           "NLG Netherlands, Guilders (expired 2002.01.28) "})
    EXPECT_NE(std::find(v.begin(), v.end(), line), v.end()) << line;
}

TEST(BuiltInLists, CategoriesAsTheProgramHasAlwaysOfferedThem) {
  const char* const expected[] = {
      "01 - wypłata gotówkowa",
      "02 - wpłata gotówkowa",
      "03 - przelew wychodzący",
      "04 - przelew wewnętrzny",
      "05 - przelew przychodzący z zagranicy",
      "06 - zamiana wartości dewizowych",
      "07 - transakcje bez widocznego obrotu pieniężnego",
  };
  Slownik bytes;
  for (const char* e : expected) bytes.push_back(cp1250::fromUtf8(e));
  EXPECT_EQ(zelt::wbudowane::kategorie(), bytes);
  EXPECT_EQ(zelt::wbudowane::kategorie()[0], "01 - wyp\xB3" "ata got\xF3wkowa") << "stored as Windows-1250";
}

TEST(BuiltInLists, TitleKIsItemK) {
  const Slownik& t = zelt::wbudowane::tytuly();
  ASSERT_EQ(t.size(), 47u);
  for (std::size_t k = 0; k < t.size(); ++k) {
    const std::string prefix = (k < 10 ? "0" : "") + std::to_string(k) + " - ";
    EXPECT_EQ(t[k].substr(0, 5), prefix) << t[k];
  }
  const std::pair<int, const char*> spots[] = {
      {0, "00 - inne - w tym przypadku należy podać szczegóły w polu 45 (Uwagi)"},
      {7, "07 - obrót walutą obcą"},
      {28, "28 - obrót wkładami/udziałami w spółdzielczych kasach oszczędnościowo-kredytowych"},
      {32, "32 - umowa przenosząca własność nieruchomości, zakończona aktem notarialnym"},
      {46, "46 - przepływy wartości majątkowych związanych z grą na automatach"},
  };
  for (auto [i, text] : spots) EXPECT_EQ(t[i], cp1250::fromUtf8(text)) << i;
}

}  // namespace
