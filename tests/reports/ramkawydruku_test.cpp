#include <gtest/gtest.h>

#include <cmath>

#include "platform/dialogs.h"
#include "platform/printers.h"
#include "reports/ramkawydruku.h"
#include "settings/konfigform.h"

using namespace zelt;
using platform::PrintCall;

namespace {

using Kind = PrintCall::Kind;

TEST(PrintFrame, RoundingHalvesToEven) {
  struct Case {
    long double in;
    int out;
  } cases[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {-0.5L, 0}, {-1.5L, -2}, {0.49L, 0}, {2.51L, 3}, {-2.6L, -3}};
  for (const auto& c : cases) EXPECT_EQ(zaokraglij(c.in), c.out) << double(c.in);
  EXPECT_FALSE(std::signbit(double(zaokraglij(-0.4L))));
  // The same through the conversion: one pixel per millimetre, no offset.
  GeometriaWydruku g;
  g.skalaDrukuX = g.skalaDrukuY = 1;
  EXPECT_EQ(g.mmNaPikselX(0.5), 0);
  EXPECT_EQ(g.mmNaPikselX(1.5), 2);
  EXPECT_EQ(g.mmNaPikselY(2.5), 2);
  EXPECT_EQ(g.mmNaPikselY(-0.5), 0);
}

TEST(PrintFrame, OffsetIsAddedBeforeTheScale) {
  // The card's defaults at 600 dpi: +3 mm puts x 0 at 3 x 23.622 = 70.87 -> 71.
  auto g = GeometriaWydruku::formularz(Kalibracja{1, 1, 3, 0}, 600, 600, 5.25, 6.7);
  EXPECT_EQ(g.mmNaPikselX(0), 71);
  EXPECT_EQ(g.mmNaPikselY(0), 0);
  EXPECT_EQ(g.mmNaPikselX(190), 4559);  // 193 x 23.622 = 4559.06
  // A scale of 2 scales the offset too; X and Y keep their own resolutions.
  g = GeometriaWydruku::formularz(Kalibracja{2, 0.5, 3, 10}, 600, 300, 5.25, 6.7);
  EXPECT_EQ(g.mmNaPikselX(0), 142);   // 3 x 2 x 23.622 = 141.7
  EXPECT_EQ(g.mmNaPikselY(0), 59);    // 10 x 0.5 x 11.811 = 59.06
  EXPECT_EQ(g.bokKratki, 5.25);
  EXPECT_EQ(g.skokWiersza, 6.7);
  const auto r = GeometriaWydruku::rejestr(600, 600);
  EXPECT_EQ(r.przesuniecieX, 0);
  EXPECT_EQ(r.przesuniecieY, 0);
  EXPECT_EQ(r.mmNaPikselX(10), 236);
}

TEST(PrintFrame, CalibrationTextsAreReadInAnyLocale) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {{"1,000", 1.0},    {"+3,000", 3.0}, {"-0,5", -0.5}, {"1.25", 1.25}, {" 7 ", 7.0},
               {",5", 0.5},       {"abc", {}},     {"", {}},       {"0", 0.0},     {"1,2,3", {}},
               {"+", {}},         {"1e3", {}}};
  for (const auto& c : cases) EXPECT_EQ(liczbaKalibracji(c.text), c.value) << c.text;

  auto u = [](QString sx, QString px) {
    UstawieniaWydruku w;
    w.skalaX = sx;
    w.skalaY = "1,000";
    w.polozenieX = px;
    w.polozenieY = "+0,000";
    return w;
  };
  QString blad;
  auto k = odczytajKalibracje(u("1,000", "+3,000"), &blad);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->przesuniecieX, 3.0);
  k = odczytajKalibracje(u("1,000", "-0,5"), &blad);
  ASSERT_TRUE(k) << "an offset may be negative";
  EXPECT_EQ(k->przesuniecieX, -0.5);
  struct Bad {
    const char* scale;
    const char* offset;
    const char* shown;
  } bad[] = {{"0", "+3,000", "0"}, {"-0,5", "+3,000", "-0,5"}, {"abc", "+3,000", "abc"}, {"1,000", "", ""}};
  for (const auto& b : bad) {
    blad.clear();
    EXPECT_FALSE(odczytajKalibracje(u(b.scale, b.offset), &blad)) << b.scale << " " << b.offset;
    EXPECT_EQ(blad, QString("Błędna wartość skali lub położenia wydruku w konfiguracji: ") + b.shown);
  }
}

// A canvas of 10 pixels to the millimetre (254 dpi), no offset, boxes of 5 mm.
struct Plotno {
  platform::FixedPrinters drukarki{{"HP"}};
  std::unique_ptr<platform::PrintJob> job;
  std::unique_ptr<PlotnoWydruku> p;
  Plotno() {
    drukarki.dpiX = drukarki.dpiY = 254;
    job = drukarki.job();
    job->begin();
    p = std::make_unique<PlotnoWydruku>(job->canvas(),
                                        GeometriaWydruku::formularz(Kalibracja{}, 254, 254, 5, 6.7));
  }
  std::vector<PrintCall> calls() const { return drukarki.jobs[0].drawing(); }
};

struct Segment {
  int x1, y1, x2, y2;
  bool operator==(const Segment&) const = default;
};
std::vector<Segment> lines(const std::vector<PrintCall>& calls) {
  std::vector<Segment> out;
  for (const auto& c : calls)
    if (c.kind == Kind::Line) out.push_back({c.x1, c.y1, c.x2, c.y2});
  return out;
}

TEST(PrintFrame, RowOfBoxesGrowsLeftWithAnOptionalTail) {
  {
    Plotno t;
    t.p->rysujKratki(3, 0, 100, 20);
    const std::vector<Segment> want = {{1000, 200, 850, 200}, {1000, 250, 850, 250}, {1000, 200, 1000, 250},
                                       {950, 200, 950, 250},  {900, 200, 900, 250},  {850, 200, 850, 250}};
    EXPECT_EQ(lines(t.calls()), want);
  }
  {
    Plotno t;
    t.p->rysujKratki(3, 1, 100, 20);
    const std::vector<Segment> want = {{1000, 200, 850, 200}, {1000, 250, 690, 250}, {690, 250, 690, 270},
                                       {1000, 200, 1000, 250}, {950, 200, 950, 250},  {900, 200, 900, 250},
                                       {850, 200, 850, 250}};
    EXPECT_EQ(lines(t.calls()), want);
  }
}

TEST(PrintFrame, TextOneUpperCaseCharacterPerBoxFromTheLeft) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<QString> glyphs;
  } cases[] = {
      {"three in five", "abc", {"A", "B", "C"}},
      {"seven cut to five", "abcdefg", {"A", "B", "C", "D", "E"}},
      {"empty", "", {}},
      {"polish letters", "\xBF\xF3\xB3\xE6", {"\u017B", "\u00D3", "\u0141", "\u0106"}},
  };
  for (const auto& c : cases) {
    Plotno t;
    t.p->drukujWKratkach(5, c.text, 100, 20);
    const auto calls = t.calls();
    ASSERT_EQ(calls.size(), c.glyphs.size()) << c.name;
    for (std::size_t i = 0; i < calls.size(); ++i) {
      EXPECT_EQ(calls[i].kind, Kind::Text);
      EXPECT_EQ(calls[i].text, c.glyphs[i]) << c.name;
      // x - n*b + 1 + i*b = 76 + 5i mm, y + 0.7 mm
      EXPECT_EQ(calls[i].x1, 760 + 50 * int(i)) << c.name;
      EXPECT_EQ(calls[i].y1, 207) << c.name;
    }
  }
}

TEST(PrintFrame, RuleFontsAndLayers) {
  Plotno t;
  t.p->rysujLinie(12.5);
  t.p->rysujLinie(3, 183);
  EXPECT_EQ(lines(t.calls()), (std::vector<Segment>{{0, 125, 1900, 125}, {0, 30, 1830, 30}}));

  t.p->czcionka(7, false, true);
  t.p->czcionkaPionowa();
  const auto f = t.job->canvas().font();
  EXPECT_EQ(f, (platform::PrintFont{"Arial Ce", 7, true, false, 90}));

  QStringList order;
  UstawieniaWydruku u;
  auto run = [&] {
    order.clear();
    rysujWarstwy(u, [&] { order << "ramki"; }, [&] { order << "opisy"; }, [&] { order << "zawartosc"; });
    return order;
  };
  EXPECT_EQ(run(), (QStringList{"ramki", "opisy", "zawartosc"}));
  u.ramki = false;
  EXPECT_EQ(run(), (QStringList{"opisy", "zawartosc"}));
  u.opisy = u.zawartosc = false;
  EXPECT_EQ(run(), QStringList{});
}

TEST(PrintFrame, PrinterChosenByName) {
  struct Case {
    const char* name;
    QStringList installed;
    int current;
    QString chosen;
    bool goesOn;
    int currentAfter;
    QStringList selections;
    bool message;
  } cases[] = {
      {"none chosen", {"HP", "PDF"}, 0, "", false, 0, {}, true},
      {"equal to the current one", {"HP", "PDF"}, 1, "PDF", true, 1, {}, false},
      {"two of one name: the last", {"HP", "PDF", "HP"}, 1, "HP", true, 2, {"HP", "HP"}, false},
      {"gone: the current one prints", {"HP", "PDF"}, 1, "Canon", true, 1, {}, false},
  };
  for (const auto& c : cases) {
    platform::FixedPrinters p(c.installed);
    p.select(c.current);
    p.selections.clear();
    platform::ScriptedDialogs d;
    if (c.message) d.expectMessage(platform::IdOk, "Brak wybranej drukarki w konfiguracji");
    EXPECT_EQ(wybierzDrukarke(p, d, c.chosen), c.goesOn) << c.name;
    EXPECT_EQ(p.current(), c.currentAfter) << c.name;
    EXPECT_EQ(p.selections, c.selections) << c.name;
    EXPECT_TRUE(d.scriptDone()) << c.name;
    EXPECT_EQ(d.messages().size(), c.message ? 1 : 0) << c.name;
    EXPECT_TRUE(p.jobs.empty()) << c.name;
  }
}

}  // namespace
