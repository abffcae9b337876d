// The register print: bands, pages and wrapping as plain functions with a fixed text metric; the
// cell texts by column code; the drawing of a small print in millimetres; the command's flow with
// the recording printer.
#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <map>

#include "platform/cp1250.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "reports/drukkarty.h"
#include "reports/drukrejestru.h"
#include "settings/kolumny.h"
#include "settings/konfigform.h"
#include "../register/swiatrejestru.h"
#include "rekordy.h"

using namespace zelt;
using platform::PrintCall;
using Kind = PrintCall::Kind;

namespace {

std::string u(const char* utf8) { return cp1250::fromUtf8(utf8); }

// A canvas that only measures: every character 1 mm wide at 10 pixels per millimetre, "W" 3 mm.
class Miarka : public platform::PrintCanvas {
 public:
  void line(int, int, int, int) override {}
  void rectangle(int, int, int, int) override {}
  void setFont(const platform::PrintFont& f) override { f_ = f; }
  const platform::PrintFont& font() const override { return f_; }
  void text(int, int, const QString&) override {}
  int textWidth(const QString& t) override {
    int w = 0;
    for (QChar c : t) w += c == QLatin1Char('W') ? 30 : 10;
    return w;
  }

 private:
  platform::PrintFont f_;
};

std::vector<std::string> linie(std::string_view t, double zawijanie) {
  Miarka c;
  MiaraTekstu m(c, 10);
  std::vector<std::string> out;
  const int n = zawin(t, zawijanie, m, [&](std::string_view l) { out.emplace_back(l); });
  EXPECT_EQ(n, static_cast<int>(out.size()));
  return out;
}

using Linie = std::vector<std::string>;

TEST(RegisterPrintWrap, LinesAgainstTheWrapWidth) {
  struct Case {
    const char* name;
    std::string text;
    double width;
    Linie expected;
  } cases[] = {
      {"empty text", "", 10, {""}},
      {"a 0 mm column: a character a line", "Info", 0, {"I", "n", "f", "o"}},
      {"exactly the width sends its last character on", "abc", 3, {"ab", "c"}},
      {"half a millimetre more keeps it", "abc", 3.5, {"abc"}},
      {"narrower than the width", "ab", 3, {"ab"}},
      {"a character wider than the column takes a line", "aWb", 2, {"a", "W", "b"}},
      {"long text", "abcdefghij", 4, {"abc", "def", "ghi", "j"}},
      {"CR LF, CR and LF break lines", "ab\r\ncd\re\nf", 10, {"ab", "cd", "e", "f"}},
      {"a break that ends the text leaves an empty line", "ab\n", 10, {"ab", ""}},
      {"two breaks, an empty line between", "a\n\nb", 10, {"a", "", "b"}},
      {"a tab measures as a blank", "a\tbc", 4, {"a\tb", "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(linie(c.text, c.width), c.expected) << c.name;
}

TEST(RegisterPrintWrap, EachCharacterIsMeasuredOnce) {
  struct Licznik : Miarka {
    int pomiary = 0;
    int textWidth(const QString& t) override {
      ++pomiary;
      return Miarka::textWidth(t);
    }
  } c;
  MiaraTekstu m(c, 10);
  EXPECT_EQ(zawin(std::string(5000, 'x') + "yz", 10, m), 556);
  EXPECT_EQ(c.pomiary, 3) << "x, y and z, not every prefix of a line";
}

KolumnaWydruku kol(int mm, bool prawo = false, int strona = 277) {
  return KolumnaWydruku::z("c", "c", kodujSzerokosc(mm, prawo), strona);
}

TEST(RegisterPrintBands, WholeColumnsAsTheyFitThePage) {
  struct Case {
    const char* name;
    std::vector<KolumnaWydruku> kolumny;
    std::vector<Pasmo> expected;
  } cases[] = {
      {"widths adding up to exactly the page fit", {kol(100), kol(100), kol(77)}, {{0, 3, 277}}},
      {"1 mm over starts a band", {kol(100), kol(100), kol(78)}, {{0, 2, 200}, {2, 3, 78}}},
      {"a column wider than the page alone and page-wide", {kol(50), kol(300), kol(50)},
       {{0, 1, 50}, {1, 2, 277}, {2, 3, 50}}},
      {"the first column wider than the page: no empty band", {kol(300), kol(10)}, {{0, 1, 277}, {1, 2, 10}}},
      {"right-aligned 77 mm is 77.5 mm for the fit", {kol(200), kol(77, true)}, {{0, 1, 200}, {1, 2, 77}}},
      {"right-aligned 76 mm fits, the band counts 76", {kol(200), kol(76, true)}, {{0, 2, 276}}},
      {"a 0 mm column fits a full band", {kol(277), kol(0)}, {{0, 2, 277}}},
      {"no columns", {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(pasma(c.kolumny, 277), c.expected) << c.name;

  const KolumnaWydruku szeroka = kol(300);
  EXPECT_EQ(szeroka.szerokosc, 277);
  EXPECT_EQ(szeroka.zawijanie, 277);
  const KolumnaWydruku prawa = kol(40, true);
  EXPECT_EQ(prawa.szerokosc, 40);
  EXPECT_EQ(prawa.zawijanie, 40.5);
  EXPECT_TRUE(prawa.doPrawej);
}

TEST(RegisterPrintBands, LettersRunOnPastZ) {
  const std::pair<int, const char*> cases[] = {{1, "A"}, {2, "B"}, {26, "Z"}, {27, "AA"}, {28, "AB"},
                                                {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}};
  for (auto [n, s] : cases) EXPECT_EQ(literyPasma(n), s) << n;
  const std::vector<KolumnaWydruku> k(27, kol(250));
  const auto b = pasma(k, 277);
  ASSERT_EQ(b.size(), 27u);
  EXPECT_EQ(tytulArkusza(1, 27, 1, int(b.size())), "Rejestr transakcji strona 1AA z 1AA");
}

TEST(RegisterPrintBands, PrintPositionsDecideTheOrder) {
  DefinicjeKolumn d;
  for (int i = 1; i <= kIloscKolumn; ++i) d[i].pozWyd = 0;
  d[d.numer("tKw")].pozWyd = 1;
  d[d.numer("zNz")].pozWyd = 3;
  d[d.numer("Lp")].pozWyd = 2;
  d[d.numer("tKw")].szerWyd = kodujSzerokosc(200, false);
  d[d.numer("zNz")].szerWyd = kodujSzerokosc(100, true);
  const auto k = kolumnyWydruku(d, 277);
  ASSERT_EQ(k.size(), 3u);
  EXPECT_EQ(k[0].kod, "tKw");
  EXPECT_EQ(k[1].kod, "Lp");
  EXPECT_EQ(k[2].kod, "zNz");
  EXPECT_EQ(k[1].nazwa, "Lp");
  EXPECT_EQ(k[1].szerokosc, 15);
  EXPECT_TRUE(k[2].doPrawej);
  EXPECT_EQ(pasma(k, 277), (std::vector<Pasmo>{{0, 2, 215}, {2, 3, 100}}));
}

TEST(RegisterPrintPages, RowsOverPagesOf190mmUnderTwoHeaderLines) {
  // 190 mm less 3 x 2 + 5 leaves 59 lines a sheet.
  auto jedne = [](int n) { return std::vector<int>(static_cast<std::size_t>(n), 1); };
  auto z = [](std::vector<int> a, std::initializer_list<int> b) {
    a.insert(a.end(), b);
    return a;
  };
  struct Case {
    const char* name;
    std::vector<int> linie;
    std::vector<StronaWydruku> expected;
  } cases[] = {
      {"59 one-line rows fill a page", jedne(59), {{0, 59, 0, -1}}},
      {"the 60th starts page 2", jedne(60), {{0, 59, 0, -1}, {59, 60, 0, -1}}},
      {"a 4-line row after 56 lines goes over", z(jedne(56), {4, 1}), {{0, 56, 0, -1}, {56, 58, 0, -1}}},
      {"a 4-line row after 55 lines fits", z(jedne(55), {4, 1}), {{0, 56, 0, -1}, {56, 57, 0, -1}}},
      {"150 rows", jedne(150), {{0, 59, 0, -1}, {59, 118, 0, -1}, {118, 150, 0, -1}}},
      {"a row exactly a page high", {59, 1}, {{0, 1, 0, -1}, {1, 2, 0, -1}}},
      {"a first row taller than the page goes on over sheets", {130, 1, 1},
       {{0, 1, 0, 59}, {0, 1, 59, 118}, {0, 3, 118, -1}}},
      {"a tall row after others starts a sheet", {1, 60, 1}, {{0, 1, 0, -1}, {1, 2, 0, 59}, {1, 3, 59, -1}}},
      {"a tall row whose rest fills its last sheet", {118, 1}, {{0, 1, 0, 59}, {0, 1, 59, -1}, {1, 2, 0, -1}}},
  };
  for (const auto& c : cases) {
    const auto s = strony(c.linie, 2, 190);
    EXPECT_EQ(s, c.expected) << c.name;
  }
  EXPECT_TRUE(strony({}, 2, 190).empty());
  EXPECT_EQ(strony({2, 2}, 50, 100), (std::vector<StronaWydruku>{{0, 1, 0, 1}, {0, 1, 1, -1}, {1, 2, 0, 1}, {1, 2, 1, -1}}))
      << "a header taller than the page still leaves a line a sheet";
}

TEST(RegisterPrintCells, TextsByColumnCode) {
  const ListyKarty l = ListyKarty::wbudowane();
  auto rec = [] {
    auto r = rekordy::pelny();
    r.kRodzTr = "0607";
    r.uwInne = "g";
    r.uwkRodzTr = "k";
    r.uwkPwz = r.uwkPdjrz = "";
    r.uwspDysp = "s";
    r.uwzTypPo = "z";
    r.uwzObyw = "o";
    r.uwzRodzDokTo = "d";
    r.uwpTypPo = "p";
    r.uwbTypPo = "b";
    return r;
  };
  struct Case {
    const char* name;
    std::function<void(TRekordTransakcji&)> zmien;
    const char* kod;
    std::string expected;
  } cases[] = {
      {"Info, every part", [](auto& r) { r.ilBledow = 2; r.ilOstrzezen = 1; r.ilWydrukow = 1; r.ilWyslan = 3; },
       "Info", "2B;1O;D;W"},
      {"Info, warnings and sent", [](auto& r) { r.ilBledow = 0; r.ilOstrzezen = 4; r.ilWydrukow = 0; r.ilWyslan = 1; },
       "Info", "4O;W"},
      {"Info, nothing", [](auto& r) { r.ilBledow = r.ilOstrzezen = r.ilWydrukow = r.ilWyslan = 0; }, "Info", ""},
      {"Uwagi with type 0 everywhere", [](auto& r) { r.zTypPo = r.pTypPo = r.bTypPo = 0; }, "Uwagi",
       "[g][06:k][09:s][17:z][19:o][29:d][31:p][37:b]"},
      {"Uwagi: 17 only for type 0, 31 kept with type 3", [](auto& r) { r.zTypPo = 2; r.pTypPo = 3; r.bTypPo = 5; },
       "Uwagi", "[g][06:k][09:s][19:o][29:d][31:p][37:b]"},
      {"Uwagi: unset types drop their remarks", [](auto& r) { r.zTypPo = r.pTypPo = r.bTypPo = -1; }, "Uwagi",
       "[g][06:k][09:s]"},
      {"Uwagi: a kind code of four blanks drops 06-09", [](auto& r) { r.kRodzTr = "    "; r.zTypPo = 0; }, "Uwagi",
       "[g][17:z][19:o][29:d][31:p][37:b]"},
      {"four blanks empty the transaction cells", [](auto& r) { r.kRodzTr = "    "; }, "tKw", ""},
      {"and the kind code itself", [](auto& r) { r.kRodzTr = "    "; }, "kRodzTr", ""},
      {"a kind code shows them", [](auto&) {}, "tKw", u("100,5ą")},
      {"the party cells stay with four blanks", [](auto& r) { r.kRodzTr = "    "; }, "zNz", u("Żółw")},
      {"index -1 gives empty", [](auto& r) { r.zTypPo = -1; }, "zTypPo", ""},
      {"an index past the list gives empty", [](auto& r) { r.pTypPo = 400; }, "pTypPo", ""},
      {"zRodzDokTo -1", [](auto& r) { r.zRodzDokTo = -1; }, "zRodzDokTo", ""},
      {"a list text", [](auto& r) { r.kPwz = 1; }, "kPwz", u("1 - transakcja powiązana")},
      {"date", [](auto& r) { r.tDat = 45721; }, "tDat", "2025/03/05"},
      {"registration date", [](auto& r) { r.rejDat = 45721; }, "rejDat", "2025/03/05"},
      {"Lp is the record number + 1", [](auto&) {}, "Lp", "42"},
  };
  for (const auto& c : cases) {
    auto r = rec();
    c.zmien(r);
    EXPECT_EQ(tekstKomorkiWydruku(c.kod, r, 41, l), c.expected) << c.name;
  }
}

// ---- drawing, at 254 dpi (10 pixels a millimetre) with every character 1 mm wide

struct Druk {
  platform::FixedPrinters printers{QStringList{"HP"}};
  DefinicjeKolumn defs;
  std::vector<TRekordTransakcji> recs;

  // A landscape page of w x h mm.
  Druk(int w, int h) {
    printers.dpiX = printers.dpiY = 254;
    printers.charWidth = 10;
    printers.pageHeightPx = w * 10;
    printers.pageWidthPx = h * 10;
    for (int i = 1; i <= kIloscKolumn; ++i) defs[i].pozWyd = 0;
  }
  void kolumna(const char* kod, int poz, int mm, bool prawo = false) {
    defs[defs.numer(kod)].pozWyd = static_cast<std::uint8_t>(poz);
    defs[defs.numer(kod)].szerWyd = kodujSzerokosc(mm, prawo);
  }
  const platform::RecordedJob& drukuj(const std::vector<std::int32_t>& numery) {
    auto job = printers.job();
    job->setOrientation(platform::PageOrientation::Landscape);
    EXPECT_TRUE(job->begin());
    rysujRejestr(*job, defs, numery, [this](std::int32_t n) { return recs.at(static_cast<std::size_t>(n)); },
                 ListyKarty::wbudowane());
    EXPECT_TRUE(job->end());
    return printers.jobs.back();
  }
};

struct Op {
  Kind kind;
  int x1, y1, x2 = 0, y2 = 0;
  std::string text;
  bool operator==(const Op&) const = default;
};
void PrintTo(const Op& o, std::ostream* os) {
  *os << (o.kind == Kind::Line ? "line " : o.kind == Kind::NewPage ? "page " : "text ") << o.x1 << "," << o.y1;
  if (o.kind == Kind::Line) *os << " " << o.x2 << "," << o.y2;
  if (o.kind == Kind::Text) *os << " \"" << o.text << '"';
}
// In millimetres, as the print places them.
Op L(double x1, double y1, double x2, double y2) {
  return {Kind::Line, int(x1 * 10), int(y1 * 10), int(x2 * 10), int(y2 * 10), {}};
}
Op T(double x, double y, const char* t) { return {Kind::Text, int(x * 10), int(y * 10), 0, 0, t}; }
Op NP() { return {Kind::NewPage, 0, 0, 0, 0, {}}; }

std::vector<Op> ops(const platform::RecordedJob& j) {
  std::vector<Op> out;
  for (const auto& c : j.calls) {
    if (c.kind == Kind::Line) out.push_back({Kind::Line, c.x1, c.y1, c.x2, c.y2, {}});
    if (c.kind == Kind::Text) out.push_back({Kind::Text, c.x1, c.y1, 0, 0, c.text.toStdString()});
    if (c.kind == Kind::NewPage) out.push_back(NP());
  }
  return out;
}

TEST(RegisterPrintDrawing, TwoRowsInTwoBandsInMillimetres) {
  // Page 30 mm wide: Lp 10 + nrEwT 15 make band A, tKw 10 band B. Headers: "Nr. ewidencyjny" is
  // exactly 15 mm and "Kwota transakcji" 16, so both wrap to two lines: H = 2.
  Druk d(30, 100);
  d.kolumna("Lp", 1, 10);
  d.kolumna("nrEwT", 2, 15);
  d.kolumna("tKw", 3, 10);
  d.recs.resize(4);
  for (auto& r : d.recs) r.kRodzTr = "0607";
  d.recs[0].nrEwT = "T1";
  d.recs[0].tKw = "5";
  d.recs[3].nrEwT = "ABCDEFGHIJKLMNOPQRST";
  d.recs[3].tKw = "1234567890123";
  const auto& job = d.drukuj({0, 3});

  const std::vector<Op> expected = {
      T(5, 1, "Rejestr transakcji strona 1A z 1B"),
      L(0, 3, 25, 3), L(0, 9, 25, 9), L(0, 3, 0, 9),
      T(0, 3, "Lp"), L(10, 3, 10, 9),
      T(10, 3, "Nr. ewidencyjn"), T(10, 6, "y"), L(25, 3, 25, 9),
      // row 1: one line from table line 3
      L(0, 9, 0, 12), T(0, 9, "1"), L(10, 9, 10, 12), T(10, 9, "T1"), L(25, 9, 25, 12), L(0, 12, 25, 12),
      // row 2: two lines from table line 4
      L(0, 12, 0, 18), T(0, 12, "4"), L(10, 12, 10, 18), T(10, 12, "ABCDEFGHIJKLMN"), T(10, 15, "OPQRST"),
      L(25, 12, 25, 18), L(0, 18, 25, 18),
      NP(),
      T(5, 1, "Rejestr transakcji strona 1B z 1B"),
      L(0, 3, 10, 3), L(0, 9, 10, 9), L(0, 3, 0, 9),
      T(0, 3, "Kwota tra"), T(0, 6, "nsakcji"), L(10, 3, 10, 9),
      L(0, 9, 0, 12), T(0, 9, "5"), L(10, 9, 10, 12), L(0, 12, 10, 12),
      L(0, 12, 0, 18), T(0, 12, "123456789"), T(0, 15, "0123"), L(10, 12, 10, 18), L(0, 18, 10, 18),
  };
  EXPECT_EQ(ops(job), expected);
  for (const auto& c : job.drawing()) {
    if (c.kind != Kind::Text) continue;
    EXPECT_EQ(c.font, (platform::PrintFont{"Arial Ce", 6, false, false, 0})) << c.text.toStdString();
  }
}

TEST(RegisterPrintDrawing, AFourLineRemarkMakesItsRow12mmInEveryBand) {
  Druk d(30, 100);
  d.kolumna("Lp", 1, 10);
  d.kolumna("Uwagi", 2, 10);
  d.kolumna("tKw", 3, 10, true);
  d.recs.resize(1);
  d.recs[0].kRodzTr = "0607";
  d.recs[0].tKw = "12";
  d.recs[0].uwInne = std::string(34, 'u');  // "[" + 34 + "]": 36 characters, 9 a line
  const auto& job = d.drukuj({0});
  const auto o = ops(job);
  // Bands: Lp + Uwagi, then the right-aligned tKw (10.5 mm for the fit). H = 2 ("Kwota
  // transakcji" wraps): the row runs from table line 3 to line 7.
  std::vector<std::vector<Op>> arkusze(1);
  for (const auto& op : o) {
    if (op.kind == Kind::NewPage) arkusze.emplace_back();
    else arkusze.back().push_back(op);
  }
  ASSERT_EQ(arkusze.size(), 2u);
  for (const auto& a : arkusze) {
    EXPECT_NE(std::find(a.begin(), a.end(), L(0, 9, 0, 21)), a.end()) << "left edge of the row";
  }
  EXPECT_NE(std::find(arkusze[0].begin(), arkusze[0].end(), L(0, 21, 20, 21)), arkusze[0].end());
  EXPECT_NE(std::find(arkusze[1].begin(), arkusze[1].end(), L(0, 21, 10, 21)), arkusze[1].end());
  EXPECT_NE(std::find(arkusze[0].begin(), arkusze[0].end(), T(10, 18, "uuuuuuuu]")), arkusze[0].end())
      << "the fourth line";
  // The right-aligned amount ends at the column's right edge (10 mm), and so do its header's
  // lines, wrapped at 10.5 mm.
  EXPECT_NE(std::find(arkusze[1].begin(), arkusze[1].end(), T(8, 9, "12")), arkusze[1].end());
  EXPECT_NE(std::find(arkusze[1].begin(), arkusze[1].end(), T(0, 3, "Kwota tran")), arkusze[1].end());
  EXPECT_NE(std::find(arkusze[1].begin(), arkusze[1].end(), T(4, 6, "sakcji")), arkusze[1].end());
}

TEST(RegisterPrintDrawing, TitlesInSheetOrder) {
  // Three 20 mm columns on a 30 mm page: three bands. The 44 characters of tJZ's header take
  // three lines (19 + 19 + 6), so 50 mm hold 12 lines under it.
  Druk d(30, 50);
  d.kolumna("Lp", 1, 20);
  d.kolumna("tJ", 2, 20);
  d.kolumna("tJZ", 3, 20);
  d.recs.resize(20);
  std::vector<std::int32_t> n;
  for (int i = 0; i < 20; ++i) n.push_back(i);
  const auto& job = d.drukuj(n);
  QStringList tytuly;
  for (const auto& c : job.drawing())
    if (c.kind == Kind::Text && c.text.startsWith("Rejestr")) tytuly << c.text;
  const QStringList expected = {"Rejestr transakcji strona 1A z 2C", "Rejestr transakcji strona 1B z 2C",
                                "Rejestr transakcji strona 1C z 2C", "Rejestr transakcji strona 2A z 2C",
                                "Rejestr transakcji strona 2B z 2C", "Rejestr transakcji strona 2C z 2C"};
  EXPECT_EQ(tytuly, expected);
  EXPECT_EQ(job.pages(), 6);
  // Page 1 holds rows 1..12, page 2 the rest: the Lp texts of sheets 1A and 2A (the empty cells
  // of the other bands draw nothing).
  std::map<int, int> wiersze;
  for (const auto& c : job.drawing())
    if (c.kind == Kind::Text && c.x1 == 0 && c.y1 >= 120) ++wiersze[c.page];
  EXPECT_EQ(wiersze[1], 12);
  EXPECT_EQ(wiersze[4], 8);
}

TEST(RegisterPrintDrawing, NothingLeavesThePaper) {
  // A column wider than the page and a row taller than it: every call inside the page.
  Druk d(40, 30);
  d.kolumna("Lp", 1, 10);
  d.kolumna("zNz", 2, 90);
  d.recs.resize(2);
  d.recs[0].zNz = std::string(300, 'n') + "\r\n" + "x\x01y";  // 8 lines of 39 characters, then "x y"
  d.recs[1].zNz = u("krótki");
  const auto& job = d.drukuj({0, 1});
  for (const auto& c : job.drawing()) {
    const int w = c.kind == Kind::Text ? int(c.text.size()) * 10 : 0;
    EXPECT_GE(c.x1, 0);
    EXPECT_LE(std::max(c.x1 + w, c.x2), 400) << c.text.toStdString();
    EXPECT_LE(std::max(c.y1, c.y2), 300) << c.text.toStdString();
  }
  // 30 mm under a 1-line header hold 7 lines: the 9-line row takes two sheets a band; the short
  // row follows on the second.
  QStringList tytuly;
  bool kontrolny = false;
  for (const auto& c : job.drawing()) {
    if (c.kind == Kind::Text && c.text.startsWith("Rejestr")) tytuly << c.text;
    if (c.kind == Kind::Text && c.text == "x y") kontrolny = true;
  }
  EXPECT_EQ(tytuly, (QStringList{"Rejestr transakcji strona 1A z 2B", "Rejestr transakcji strona 1B z 2B",
                                 "Rejestr transakcji strona 2A z 2B", "Rejestr transakcji strona 2B z 2B"}));
  EXPECT_TRUE(kontrolny) << "a control character prints as a blank";
}

// ---- the command

struct Rejestr : swiat::SwiatRejestru {
  Program* p = nullptr;
  Rejestr() {
    printers.set({"HP", "PDF"});
    std::vector<TRekordTransakcji> recs;
    for (int i = 0; i < 3; ++i) {
      auto r = rekordy::pelny();
      r.nrEwT = "T" + std::to_string(i);
      recs.push_back(r);
    }
    zapisz(recs);
    p = &uruchomiony();
    p->konfig()->WybDruk->setCurrentIndex(1);
  }
  QStringList teksty(const platform::RecordedJob& j) const {
    QStringList t;
    for (const auto& c : j.drawing())
      if (c.kind == Kind::Text) t << c.text;
    return t;
  }
};

TEST(RegisterPrintFlow, ALandscapeJobOnTheChosenPrinterAndTheNextCardPortrait) {
  Rejestr w;
  const std::string przed = w.readFile(w.plik());
  drukujRejestr(*w.p, {2, 0});
  ASSERT_EQ(w.printers.jobs.size(), 1u);
  const auto& j = w.printers.jobs[0];
  EXPECT_EQ(j.printer, "PDF");
  EXPECT_TRUE(j.ended());
  ASSERT_GE(j.calls.size(), 3u);
  EXPECT_EQ(j.calls[0].kind, Kind::Title);
  EXPECT_EQ(j.calls[0].text, "ZELT - Rejestr Transakcji");
  EXPECT_EQ(j.calls[1].kind, Kind::Orientation);
  EXPECT_EQ(j.calls[1].orientation, 1);
  EXPECT_EQ(j.calls[2].kind, Kind::Begin);
  // The default columns: 13, in two bands on the 287 mm landscape A4 of the recording printer.
  EXPECT_EQ(j.pages(), 2);
  const QStringList t = w.teksty(j);
  EXPECT_TRUE(t.contains("Rejestr transakcji strona 1A z 1B"));
  EXPECT_LT(t.indexOf("3"), t.indexOf("1")) << "rows in the order given";
  EXPECT_EQ(w.readFile(w.plik()), przed) << "the print changes no record";
  EXPECT_TRUE(w.dialogs.messages().isEmpty());

  drukujKarty(*w.p, {0});
  ASSERT_EQ(w.printers.jobs.size(), 2u);
  for (const auto& c : w.printers.jobs[1].calls) EXPECT_NE(c.kind, Kind::Orientation) << "a card job stays portrait";
}

TEST(RegisterPrintFlow, RefusalsBeforeThePrinter) {
  struct Case {
    const char* name;
    std::function<void(Rejestr&)> przygotuj;
    std::vector<std::int32_t> numery;
    const char* komunikat;  // null: nothing at all
  } cases[] = {
      {"no register", [](Rejestr& w) { QFile::remove(w.plik()); }, {0}, "Brak pliku danych"},
      {"no printer chosen", [](Rejestr& w) { w.p->konfig()->WybDruk->setCurrentIndex(-1); }, {0},
       "Brak wybranej drukarki w konfiguracji"},
      {"no rows", [](Rejestr&) {}, {}, nullptr},
      {"no printed column",
       [](Rejestr& w) {
         for (int i = 1; i <= kIloscKolumn; ++i) w.p->definicjeKolumn[i].pozWyd = 0;
       },
       {0}, nullptr},
  };
  for (const auto& c : cases) {
    Rejestr w;
    c.przygotuj(w);
    w.printers.selections.clear();
    if (c.komunikat) w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8(c.komunikat));
    drukujRejestr(*w.p, c.numery);
    EXPECT_TRUE(w.dialogs.scriptDone()) << c.name;
    EXPECT_EQ(w.dialogs.messages().size(), c.komunikat ? 1 : 0) << c.name;
    EXPECT_TRUE(w.printers.jobs.empty()) << c.name;
    EXPECT_TRUE(w.printers.selections.isEmpty()) << c.name << ": the printer untouched";
  }
}

TEST(RegisterPrintFlow, FailuresAbortTheJobWithAMessage) {
  {
    Rejestr w;
    w.dialogs.expectMessage(platform::IdOk);
    drukujRejestr(*w.p, {0, 7});  // record 7 is not in the file
    ASSERT_EQ(w.dialogs.messages().size(), 1);
    EXPECT_TRUE(w.dialogs.messages()[0].contains("brak rekordu 7")) << w.dialogs.messages()[0].toStdString();
    ASSERT_EQ(w.printers.jobs.size(), 1u);
    EXPECT_TRUE(w.printers.jobs[0].aborted());
    EXPECT_FALSE(w.printers.jobs[0].ended());
  }
  for (bool atBegin : {true, false}) {
    Rejestr w;
    (atBegin ? w.printers.failBeginOfJob : w.printers.failEndOfJob) = 1;
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd w czasie drukowania: Drukarka niedostępna"));
    drukujRejestr(*w.p, {0});
    EXPECT_TRUE(w.dialogs.scriptDone()) << atBegin;
    ASSERT_EQ(w.printers.jobs.size(), 1u);
    EXPECT_FALSE(w.printers.jobs[0].ended()) << atBegin;
  }
}

TEST(RegisterPrintFlow, SetAtStartUpAsTheMainWindowsWork) {
  Rejestr w;
  auto& g = *w.p->glowny();
  ASSERT_TRUE(bool(g.DrukRejClick));
  EXPECT_TRUE(g.DrukRej->isEnabled());
  EXPECT_TRUE(g.Drukrejestru1->isEnabled());
  // A range of rows: rows 0..2 show records 0..2.
  g.lista->SetDataRow(0);
  g.lista->MoveCurrent(0, 2, false);
  g.lista->MoveCurrent(0, 3, false);
  g.DrukRej->click();
  ASSERT_EQ(w.printers.jobs.size(), 1u);
  const QStringList t = w.teksty(w.printers.jobs[0]);
  for (const char* lp : {"1", "2", "3"}) EXPECT_TRUE(t.contains(lp)) << lp;
  // The current row alone.
  g.lista->SetDataRow(1);
  g.Drukrejestru1->trigger();
  ASSERT_EQ(w.printers.jobs.size(), 2u);
  const QStringList t2 = w.teksty(w.printers.jobs[1]);
  EXPECT_TRUE(t2.contains("2"));
  EXPECT_FALSE(t2.contains("1"));
  EXPECT_FALSE(t2.contains("3"));
}

}  // namespace
