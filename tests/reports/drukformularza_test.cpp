// The identification form: its frames and labels against the form's tables, the layout's
// invariants, the contents and marks, the layers and faces, the units pages, and the command's
// flow through the check, the printer and the calibration.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/cp1250.h"
#include "register/program.h"
#include "register/werform.h"
#include "reports/drukformularza.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"
#include "support/world.h"
#include "rysunek.h"

using namespace zelt;
using namespace rysunek;

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }
std::string u(const char* utf8) { return cp1250::fromUtf8(utf8); }


// ---- page 1's frames, transcribed from the form's table (mm)

struct Kr {
  int n, ogon;
  double x, y;
};
const Kr kKratki[] = {
    {8, 0, 76, 12},       {28, 0, 183, 21},     {28, 0, 183, 28.1},   {9, 0, 183, 35.2},
    {10, 0, 91.38, 35.2}, {29, 1, 183, 42.3},   {29, 1, 183, 49.4},   {13, 0, 183, 56.5},
    {13, 1, 101.56, 56.5}, {21, 0, 183, 63.6},  {5, 1, 60.84, 63.6},  {29, 0, 183, 70.7},
    {6, 0, 111.74, 77.8}, {6, 0, 65.93, 77.8},
    {28, 0, 183, 153},    {28, 0, 183, 160.1},  {29, 1, 183, 167.2},  {13, 0, 183, 174.3},
    {13, 1, 101.56, 174.3}, {17, 0, 183, 181.4}, {9, 0, 81.2, 181.4}, {29, 0, 183, 188.5},
    {28, 0, 183, 195.6},  {28, 0, 183, 202.7},  {29, 1, 183, 209.8},  {13, 0, 183, 216.9},
    {13, 1, 101.56, 216.9}, {17, 0, 183, 224},  {9, 0, 81.2, 224},    {29, 0, 183, 231.1},
    {28, 0, 183, 238.5},  {28, 0, 183, 245.91},
};

std::vector<Op> ramkiWzor() {
  std::vector<Op> o;
  auto line = [&](double x1, double y1, double x2, double y2) { o.push_back({Kind::Line, px(x1), px(y1), px(x2), px(y2)}); };
  auto rect = [&](double x1, double y1, double x2, double y2) { o.push_back({Kind::Rectangle, px(x1), px(y1), px(x2), px(y2)}); };
  rect(0, 0, 183, 265);
  for (double y : {7.5, 12.0, 21.0, 84.5, 148.0, 153.0, 193.59, 238.0, 238.5, 251.0, 251.5}) line(0, y, 183, y);
  const double b = 5.09;
  for (const Kr& k : kKratki) {
    const double lewy = k.x - k.n * b;
    line(k.x, k.y, lewy, k.y);
    line(k.x, k.y + b, lewy - 16 * k.ogon, k.y + b);
    if (k.ogon) line(lewy - 16, k.y + b, lewy - 16, k.y + b + 2);
    for (int i = 0; i <= k.n; ++i) line(k.x - i * b, k.y, k.x - i * b, k.y + b);
  }
  for (int i = 0; i < 17; ++i) rect(4, 89.5 + 3.47 * i, 5.5, 91 + 3.47 * i);
  for (double x : {40.48, 63.385, 86.29}) line(x, 251.5, x, 265);
  rect(105, 13.5, 107, 15.5);
  rect(115, 13.5, 117, 15.5);
  rect(160, 259, 163, 262);
  return o;
}

// ---- page 1's labels layer, transcribed from the form's table: text, top-left corner, size, style

enum class Styl { Arial, ArialKursywa, ArialWGore, Times };
struct Lab {
  const char* text;
  double x, y, pt;
  Styl styl = Styl::Arial;
};
platform::PrintFont krojOpisu(const Lab& l) {
  const bool times = l.styl == Styl::Times;
  return {q(times ? "Times New Roman CE" : "Arial Ce"), l.pt, true, l.styl == Styl::ArialKursywa,
          l.styl == Styl::ArialWGore ? 90 : 0};
}
// A kind's row: 3.47 mm below the one before.
constexpr double yKind(int i) { return 88.5 + 3.47 * i; }
const Lab kLabels[] = {
    {"Formularz identyfikacyjny instytucji obowiązanej", 50, 1.5, 11},
    {"INSTYTUCJA OBOWIĄZANA", 4, 8, 8},
    {"DANE IDENTYFIKACYJNE INSTYTUCJI", 4, 17.5, 8},
    {"DANE IDENTYFIKACYJNE OSÓB ODPOWIEDZIALNYCH ZA PRZEKAZYWANIE INFORMACJI DO ZELT", 4, 149, 8},
    {"Jeżeli instytucja posiada jednostki organizacyjne to należy", 88, 254, 8},
    {"zaznaczyć pole i wypełnić tabelę na następnej stronie", 88, 260, 8},
    {"nazwa instytucji obowiązanej", 4.5, 25, 7},
    {"numer NIP", 17.5, 36, 7},
    {"numer REGON", 118.5, 37, 7},
    {"Kraj", 20.5, 43, 7},
    {"Powiat", 20.5, 57, 7},
    {"Gmina", 108, 57, 7},
    {"Ulica", 20.5, 71, 7},
    {"Nr domu", 20.5, 78, 7},
    {"Nr lokalu", 69.5, 78, 7},
    {"imię 1", 26, 155, 7},
    {"imię 2", 26, 195, 7},
    {"nazwisko 1", 26, 161, 7},
    {"nazwisko 2", 26, 201, 7},
    {"Uwagi", 26, 242, 7},
    {"Podpisy osoby upoważnionej", 4.5, 252.5, 7},
    {"1.", 42, 252, 7},
    {"2.", 64, 252, 7},
    {"czy jest to", 78, 13, 6},
    {"aktualizacja danych ?", 78, 15, 6},
    {"Województwo", 20.5, 50, 6},
    {"Kod", 20.5, 63.5, 6},
    {"pocztowy", 20.5, 66, 6},
    {"Miejscowość", 62, 64.5, 6},
    {"Stanowisko 1", 20.5, 168, 6},
    {"Stanowisko 2", 20.5, 210, 6},
    {"telefon 1", 20.5, 174.5, 6},
    {"telefon 2", 20.5, 217.5, 6},
    {"telefon", 20.5, 181.5, 6},
    {"telefon", 20.5, 224, 6},
    {"komórkowy 1", 20.5, 183.5, 6},
    {"komórkowy 2", 20.5, 226, 6},
    {"e-mail 1", 85, 183, 6},
    {"faks 1", 106, 175, 6},
    {"e-mail 2", 85, 225, 6},
    {"faks 2", 106, 217.5, 6},
    {"*zaznaczyć właściwy kwadrat", 0.5, 266, 6},
    {"Data wypełnienia formularza", 11, 12.5, 5},
    {"TAK*", 107.5, 13.5, 5},
    {"NIE*", 117.5, 13.5, 5},
    {"(rrrr/mm/dd)", 26.5, 14, 4, Styl::ArialKursywa},
    {"z nr. kierunkowym", 103, 177.5, 4, Styl::ArialKursywa},
    {"z nr. kierunkowym", 103, 220, 4, Styl::ArialKursywa},
    {"z nr. kierunkowym", 20.5, 177, 4, Styl::ArialKursywa},
    {"z nr. kierunkowym", 20.5, 219.5, 4, Styl::ArialKursywa},
    {"Adres siedziby", 7.5, 63, 7, Styl::ArialWGore},
    {"Rodzaj instytucji obowiązanej*", 4, 85, 11, Styl::Times},
    {"Bank, oddział banku zagranicznego", 10, yKind(0), 9, Styl::Times},
    {"Dom maklerski lub inny podmiot nie będący bankiem prowadzący działalność maklerską", 10, yKind(1), 9,
     Styl::Times},
    {"Krajowy depozyt papierów wartościowych", 10, yKind(2), 9, Styl::Times},
    {"Podmiot prowadzący działalność w zakresie gier losowych, zakładów wzajemnych i gier na automatach", 10,
     yKind(3), 9, Styl::Times},
    {"Zakład ubezpieczeń, główny oddział zagranicznego zakładu ubezpieczeń", 10, yKind(4), 9, Styl::Times},
    {"Towarzystwo funduszy inwestycyjnych lub fundusz inwestycyjny", 10, yKind(5), 9, Styl::Times},
    {"Spółdzielcza kasa oszczędnościowo-kredytowa", 10, yKind(6), 9, Styl::Times},
    {"Poczta Polska", 10, yKind(7), 9, Styl::Times},
    {"Notariusz", 10, yKind(8), 9, Styl::Times},
    {"Rezydent prowadzący działalność kantorową", 10, yKind(9), 9, Styl::Times},
    {"Dom aukcyjny", 10, yKind(10), 9, Styl::Times},
    {"Antykwariat", 10, yKind(11), 9, Styl::Times},
    {"Przedsiębiorstwo prowadzące działalność leasingową lub factoringową", 10, yKind(12), 9, Styl::Times},
    {"Zakłady prowadzące działalność w zakresie obrotu metalami i kamieniami szlachetnymi i półszlachetnymi", 10,
     yKind(13), 9, Styl::Times},
    {"Przedsiębiorca prowadzący działalność w zakresie pożyczek pod zastaw (lombard)", 10, yKind(14), 9,
     Styl::Times},
    {"Przedsiębiorca prowadzący działalność w zakresie sprzedaży komisowej", 10, yKind(15), 9, Styl::Times},
    {"Przedsiębiorca pośredniczący w obrocie nieruchomościami", 10, yKind(16), 9, Styl::Times},
};

// ---- printing onto the recording printer

UstawieniaWydruku warstwy(bool ramki, bool opisy, bool zawartosc) {
  UstawieniaWydruku w{"1,000", "1,000", "+0,000", "+0,000"};
  w.ramki = ramki;
  w.opisy = opisy;
  w.zawartosc = zawartosc;
  return w;
}

DaneIO pelne() {
  DaneIO d;
  d.nazIO = u("Bank Spółdzielczy w Łodzi");
  d.NIPIO = "5260250274";
  d.RegIO = "012345678";
  d.WoIO = u("łódzkie");
  d.PoIO = u("Łódź");
  d.GmIO = u("Łódź");
  d.KodIO = "90-001";
  d.MieIO = u("Łódź");
  d.UlIO = "Piotrkowska";
  d.NrDIO = "12";
  d.NrLIO = "3";
  d.RoIO = 0;
  d.UwIO = "Uwagi";
  d.os[0] = {"Jan", "Kowalski", "Inspektor", "426301111", "426302222", "601111222", "jan@bank.pl", {}, false};
  d.os[1] = {"Anna", "Nowak", "Zastepca", "426303333", "426304444", "602333444", "anna@bank.pl", {}, false};
  return d;
}

JednostkiIO jednostki(int n) {
  JednostkiIO j;
  for (int i = 1; i <= n; ++i) {
    JednostkiIO::Wiersz w{};
    w[kol::Num] = std::to_string(i);
    w[kol::Naz] = "Oddzial " + std::to_string(i);
    w[kol::Mie] = "Lodz";
    j.dodaj(w);
  }
  return j;
}

struct Druk {
  platform::FixedPrinters drukarki{{"HP"}};
  WynikFormularza wynik;
  const platform::RecordedJob& drukuj(const DaneIO& d, const JednostkiIO& j = {},
                                      UstawieniaWydruku w = warstwy(true, true, true)) {
    wynik = drukujFormularzIO(drukarki, d, j, QDate(2026, 12, 10), w, Kalibracja{});
    return drukarki.jobs.back();
  }
};


// The characters written into a box row, in order.
QString wRzedzie(const platform::RecordedJob& j, RzadIO r) {
  const RzadKratekIO& k = rzad(r);
  QString s;
  for (const auto& c : teksty(j))
    if (c.font.points == 10 && c.y1 == px(k.y + 0.7))
      for (int i = 0; i < k.n; ++i)
        if (c.x1 == px(k.x - k.n * 5.09 + 1 + i * 5.09)) s += c.text;
  return s;
}
std::vector<PrintCall> krzyzyki(const platform::RecordedJob& j) {
  std::vector<PrintCall> out;
  for (const auto& c : teksty(j))
    if (c.text == "X" && c.font.points == 8) out.push_back(c);
  return out;
}

// Whether a text's corner is that of a box of one of the hand table's rows.
bool wKratkach(int x, int y) {
  for (const Kr& k : kKratki)
    for (int i = 0; i < k.n; ++i)
      if (x == px(k.x - k.n * 5.09 + 1 + i * 5.09) && y == px(k.y + 0.7)) return true;
  return false;
}

TEST(IdentForm, FramesFollowTheFormsTable) {
  Druk d;
  const auto& j = d.drukuj(pelne(), {}, warstwy(true, false, false));
  EXPECT_EQ(j.calls.front().text, "ZELT - Formularz identyfikacyjny");
  EXPECT_EQ(figury(j), ramkiWzor());
}

TEST(IdentForm, BoxRowsLieInsideTheFormAndNeverOverlap) {
  struct Pr {
    double x1, y1, x2, y2;
  };
  std::vector<Pr> pr;
  for (int i = 0; i < static_cast<int>(RzadIO::Ile); ++i) {
    const RzadKratekIO& r = rzad(static_cast<RzadIO>(i));
    const double lewy = r.x - r.n * kBokKratkiIO - 16 * r.ogon;
    EXPECT_GE(lewy, 0) << i;
    EXPECT_LE(r.x, 183 + 1e-9) << i;
    EXPECT_LE(r.y + kBokKratkiIO + 2 * r.ogon, 265) << i;
    pr.push_back({r.x - r.n * kBokKratkiIO, r.y, r.x, r.y + kBokKratkiIO});
  }
  for (std::size_t a = 0; a < pr.size(); ++a)
    for (std::size_t b = a + 1; b < pr.size(); ++b) {
      const bool rozlaczne = pr[a].x2 <= pr[b].x1 + 1e-9 || pr[b].x2 <= pr[a].x1 + 1e-9 ||
                             pr[a].y2 <= pr[b].y1 + 1e-9 || pr[b].y2 <= pr[a].y1 + 1e-9;
      EXPECT_TRUE(rozlaczne) << a << " and " << b;
    }
  for (int i = 0; i < kRzedowOsoby; ++i) {
    const auto& a = rzad(static_cast<RzadIO>(static_cast<int>(RzadIO::Imie) + i));
    const auto& b = rzad(static_cast<RzadIO>(static_cast<int>(RzadIO::Imie2) + i));
    EXPECT_NEAR(b.y - a.y, 42.6, 1e-9) << i;
    EXPECT_EQ(a.n, b.n);
    EXPECT_EQ(a.x, b.x);
  }
}

TEST(IdentForm, LabelsFollowTheFormsTable) {
  Druk d;
  // Every label of the table, in the table's order, then the footer; nothing else.
  const auto t = teksty(d.drukuj(pelne(), {}, warstwy(false, true, false)));
  ASSERT_EQ(t.size(), std::size(kLabels) + 1);
  for (std::size_t i = 0; i < std::size(kLabels); ++i) {
    const Lab& l = kLabels[i];
    EXPECT_EQ(t[i].text, q(l.text)) << i;
    EXPECT_EQ(t[i].x1, px(l.x)) << l.text;
    EXPECT_EQ(t[i].y1, px(l.y)) << l.text;
    EXPECT_EQ(t[i].font, krojOpisu(l)) << l.text;
  }
  EXPECT_TRUE(stopka(t.back()));
}

TEST(IdentForm, ContentsSplitAcrossTheirRows) {
  DaneIO dane = pelne();
  dane.nazIO = std::string(28, 'A') + std::string(12, 'B');
  dane.os[0].em = std::string(17, 'a') + "bbb";
  dane.os[1].em = std::string(17, 'c') + std::string(29, 'd') + "zz";  // 48: the last two cut
  dane.UwIO = std::string(60, 'u');
  Druk d;
  const auto& j = d.drukuj(dane);
  EXPECT_EQ(wRzedzie(j, RzadIO::Nazwa1), QString(28, 'A'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Nazwa2), QString(12, 'B'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Email1), QString(17, 'A'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Email2), "BBB");
  EXPECT_EQ(wRzedzie(j, RzadIO::Email12), QString(17, 'C'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Email22), QString(29, 'D'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Uwagi1), QString(28, 'U'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Uwagi2), QString(28, 'U'));
  EXPECT_EQ(wRzedzie(j, RzadIO::Data), "20261210");
  EXPECT_EQ(wRzedzie(j, RzadIO::Nip), "5260250274");
  EXPECT_EQ(wRzedzie(j, RzadIO::Regon), "012345678");
  EXPECT_EQ(wRzedzie(j, RzadIO::Powiat), q("ŁÓDŹ"));
  EXPECT_EQ(wRzedzie(j, RzadIO::Kod), "90-00") << "five boxes";
  EXPECT_EQ(wRzedzie(j, RzadIO::NrDomu), "12");
  EXPECT_EQ(wRzedzie(j, RzadIO::NrLokalu), "3");
  EXPECT_EQ(wRzedzie(j, RzadIO::Faks), "426302222");
  EXPECT_EQ(wRzedzie(j, RzadIO::Telefon), "426301111");
  EXPECT_EQ(wRzedzie(j, RzadIO::Komorka2), "602333444");
  EXPECT_EQ(wRzedzie(j, RzadIO::Stanowisko2), "ZASTEPCA");
}

// The cuts at the rows' ends: a text just filling its first row, one character over, the longest
// that both rows take and one over that, upper-cased with its Polish letters.
TEST(IdentForm, SplitsAtTheRowBoundaries) {
  using Ustaw = void (*)(DaneIO&, const std::string&);
  const Ustaw nazwa = [](DaneIO& d, const std::string& s) { d.nazIO = s; };
  const Ustaw email = [](DaneIO& d, const std::string& s) { d.os[0].em = s; };
  const Ustaw uwagi = [](DaneIO& d, const std::string& s) { d.UwIO = s; };
  struct Case {
    const char* name;
    Ustaw ustaw;
    RzadIO pierwszy, drugi;
    const char* wartosc;
    const char* wPierwszym;
    const char* wDrugim;
  } cases[] = {
      {"name of 28", nazwa, RzadIO::Nazwa1, RzadIO::Nazwa2, "Bank Spółdzielczy w Żółkiewc", "BANK SPÓŁDZIELCZY W ŻÓŁKIEWC", ""},
      {"name of 29", nazwa, RzadIO::Nazwa1, RzadIO::Nazwa2, "Bank Spółdzielczy w Żółkiewce", "BANK SPÓŁDZIELCZY W ŻÓŁKIEWC", "E"},
      {"name of 57", nazwa, RzadIO::Nazwa1, RzadIO::Nazwa2, "Spółdzielczy Bank Ludowy im. Franciszka Stefczyka w Łodzi",
       "SPÓŁDZIELCZY BANK LUDOWY IM.", " FRANCISZKA STEFCZYKA W ŁODZ"},
      {"e-mail of 17", email, RzadIO::Email1, RzadIO::Email2, "abcdefghij@bank.p", "ABCDEFGHIJ@BANK.P", ""},
      {"e-mail of 25", email, RzadIO::Email1, RzadIO::Email2, "jan.kowalski@bank-lodz.pl", "JAN.KOWALSKI@BANK", "-LODZ.PL"},
      {"e-mail of 46", email, RzadIO::Email1, RzadIO::Email2, "inspektor.ds.przeciwdzialania.praniu@bankzb.pl",
       "INSPEKTOR.DS.PRZE", "CIWDZIALANIA.PRANIU@BANKZB.PL"},
      {"remarks of 29", uwagi, RzadIO::Uwagi1, RzadIO::Uwagi2, "Zmiana osoby odpowiedzialnej.", "ZMIANA OSOBY ODPOWIEDZIALNEJ", "."},
  };
  for (const auto& c : cases) {
    DaneIO dane = pelne();
    c.ustaw(dane, u(c.wartosc));
    Druk d;
    const auto& j = d.drukuj(dane);
    EXPECT_EQ(wRzedzie(j, c.pierwszy), q(c.wPierwszym)) << c.name;
    EXPECT_EQ(wRzedzie(j, c.drugi), q(c.wDrugim)) << c.name;
  }
}

TEST(IdentForm, Marks) {
  struct Case {
    int kind;
    bool aktualizacja;
    int units;
    std::vector<std::pair<double, double>> marks;
  } cases[] = {
      {0, true, 0, {{4, 88.5}, {105, 13}}},
      {16, false, 0, {{4, 88.5 + 3.47 * 16}, {115, 13}}},
      {-1, false, 1, {{115, 13}, {160, 259}}},
  };
  for (const auto& c : cases) {
    DaneIO dane = pelne();
    dane.RoIO = c.kind;
    dane.AkIO = c.aktualizacja;
    Druk d;
    const auto x = krzyzyki(d.drukuj(dane, jednostki(c.units)));
    ASSERT_EQ(x.size(), c.marks.size()) << c.kind;
    for (std::size_t i = 0; i < x.size(); ++i) {
      EXPECT_EQ(x[i].x1, px(c.marks[i].first)) << c.kind << " " << i;
      EXPECT_EQ(x[i].y1, px(c.marks[i].second)) << c.kind << " " << i;
    }
  }
}

TEST(IdentForm, LayersAndFaces) {
  Druk d;
  // Only the contents: no line or rectangle, only contents, marks and footer, in Arial Ce.
  const auto& tylko = d.drukuj(pelne(), jednostki(1), warstwy(false, false, true));
  EXPECT_TRUE(figury(tylko, 1).empty());
  EXPECT_TRUE(figury(tylko, 2).empty());
  for (const auto& c : teksty(tylko)) {
    const bool wKratce = c.font == platform::PrintFont{"Arial Ce", 10, true, false, 0} && c.text.size() == 1 &&
                         wKratkach(c.x1, c.y1);
    const bool znak = c.font == platform::PrintFont{"Arial Ce", 8, true, false, 0} && c.text == "X";
    const bool naDole = c.font == platform::PrintFont{"Arial Ce", 5, true, false, 0} && stopka(c);
    EXPECT_TRUE(wKratce || znak || naDole) << "a label on a pre-printed form: " << c.text.toStdString();
  }
  EXPECT_EQ(krzyzyki(tylko).size(), 3u);
  // With the labels the contents, marks and footer take Times New Roman CE.
  const auto& z = d.drukuj(pelne(), {}, warstwy(false, true, true));
  for (const auto& c : teksty(z))
    if (c.font.points == 10 || c.text == "X" || stopka(c)) {
      EXPECT_EQ(c.font.face, "Times New Roman CE") << c.text.toStdString();
    }
  EXPECT_EQ(wRzedzie(z, RzadIO::Imie), "JAN");
  // Contents off: an empty form on every page, no mark.
  const auto& pusty = d.drukuj(pelne(), jednostki(2), warstwy(true, true, false));
  EXPECT_EQ(pusty.pages(), 2);
  EXPECT_TRUE(krzyzyki(pusty).empty());
  EXPECT_EQ(figury(pusty), ramkiWzor());
  EXPECT_FALSE(figury(pusty, 2).empty());
  EXPECT_FALSE(teksty(pusty, 2).empty());
  for (const auto& c : teksty(pusty, 2)) EXPECT_NE(c.text, "Oddzial 1");
  // Frames alone still carry the footer, in the face the (absent) labels left.
  const auto t = teksty(d.drukuj(pelne(), {}, warstwy(true, false, false)));
  ASSERT_EQ(t.size(), 1u);
  EXPECT_TRUE(stopka(t[0]));
  EXPECT_EQ(t[0].font, (platform::PrintFont{"Arial Ce", 5, true, false, 0}));
  // Nothing switched on: no footer, nothing at all.
  const auto& nic = d.drukuj(pelne(), jednostki(1), warstwy(false, false, false));
  EXPECT_TRUE(nic.drawing().empty());
  EXPECT_TRUE(nic.ended());
}

TEST(IdentForm, FooterCarriesTheMakersContact) {
  Druk d;
  const auto t = teksty(d.drukuj(pelne()));
  ASSERT_TRUE(stopka(t.back()));
  EXPECT_EQ(t.back().text, "Formularz wydrukowano programem firmy Tarvo, http://www.tarvo.pl, zelt@tarvo.pl");
  EXPECT_EQ(t.back().x1, px(45));
  EXPECT_EQ(t.back().y1, px(266));
  EXPECT_EQ(t.back().font.points, 5);
}

// ---- the units pages

// Page 2's frames for n rows, transcribed from the form's table.
std::vector<Op> jednostkiWzor(int n) {
  std::vector<Op> o;
  auto line = [&](double x1, double y1, double x2, double y2) { o.push_back({Kind::Line, px(x1), px(y1), px(x2), px(y2)}); };
  line(0, 7, 183, 7);
  line(0, 20, 183, 20);
  for (int i = 1; i <= n; ++i) line(0, 20 + 5 * i, 183, 20 + 5 * i);
  for (double x : {0, 6, 20, 50, 80, 90, 120, 150, 167, 183}) line(x, 7, x, 20 + 5 * n);
  return o;
}

TEST(IdentFormUnits, PagesAndRunningNumbers) {
  struct Case {
    int units, pages;
  } cases[] = {{0, 1}, {1, 2}, {49, 2}, {50, 3}, {60, 3}, {99, 4}};
  for (const auto& c : cases) {
    Druk d;
    const auto& j = d.drukuj(pelne(), jednostki(c.units));
    EXPECT_EQ(j.pages(), c.pages) << c.units;
    EXPECT_TRUE(j.ended());
    int numer = 0;
    for (int page = 2; page <= j.pages(); ++page) {
      const int n = std::min(49, c.units - 49 * (page - 2));
      EXPECT_EQ(figury(j, page), jednostkiWzor(n)) << c.units << " page " << page;
      for (const auto& t : teksty(j, page)) {
        EXPECT_EQ(t.font, (platform::PrintFont{"Arial Ce", t.y1 == px(2) ? 10.0 : 8.0, false, false, 0})) << t.text.toStdString();
        EXPECT_LE(t.y1, px(261)) << "no unit row below the table's bottom at 265";
        if (t.x1 == px(1) && t.y1 >= px(21)) {
          ++numer;
          EXPECT_EQ(t.text, QString::number(numer));
          EXPECT_EQ(t.y1, px(21 + 5 * ((numer - 1) % 49)));
        }
      }
    }
    EXPECT_EQ(numer, c.units) << "running numbers 1..n over the pages";
  }
}

// The units' texts keep one face whatever page 1 ended with (its footer is 5 pt, in Times New
// Roman CE when the labels were drawn); the headings only come with the labels.
TEST(IdentFormUnits, UnitsInArialEightWhateverTheLabels) {
  const platform::PrintFont arial8{"Arial Ce", 8, false, false, 0};
  struct Case {
    bool ramki, opisy;
    std::size_t naglowkow;
  } cases[] = {{true, true, 17}, {false, true, 17}, {true, false, 0}, {false, false, 0}};
  for (const auto& c : cases) {
    Druk d;
    const auto& j = d.drukuj(pelne(), jednostki(51), warstwy(c.ramki, c.opisy, true));
    ASSERT_EQ(j.pages(), 3);
    for (int page = 2; page <= 3; ++page) {
      std::size_t naglowki = 0, komorki = 0;
      for (const auto& t : teksty(j, page)) {
        if (t.y1 < px(21)) {
          ++naglowki;
          continue;
        }
        ++komorki;
        EXPECT_EQ(t.font, arial8) << c.opisy << " page " << page << " " << t.text.toStdString();
      }
      EXPECT_EQ(naglowki, c.naglowkow) << c.opisy << " page " << page;
      EXPECT_EQ(komorki, (page == 2 ? 49u : 2u) * 4) << "running number, unit number, name and town";
      EXPECT_EQ(figury(j, page).empty(), !c.ramki) << page;
    }
  }
}

TEST(IdentFormUnits, HeadingsAndColumns) {
  JednostkiIO j;
  j.dodaj({"", "00000007", "Oddzial", "Ulica 1", "90-001", "Lodz", "lodzkie", "426300000", "426300001"});
  Druk d;
  d.drukarki.charWidth = 10;  // every value fits its column
  const auto& job = d.drukuj(pelne(), j);
  const auto t = teksty(job, 2);
  const std::pair<const char*, std::pair<double, double>> naglowki[] = {
      {"Wykaz jednostek organizacyjnych instytucji obowiązanej", {0, 2}}, {"lp", {1, 8}}, {"nr jedn.", {7, 8}},
      {"organiza-", {7, 11}}, {"cyjnej", {7, 14}}, {"nazwa jednostki", {21, 8}}, {"organizacyjnej", {21, 11}},
      {"ulica", {51, 8}}, {"kod", {81, 8}}, {"pocz-", {81, 11}}, {"towy", {81, 14}}, {"miejscowość", {91, 8}},
      {"województwo", {121, 8}}, {"numer", {151, 8}}, {"telefonu", {151, 11}}, {"numer", {168, 8}},
      {"faksu", {168, 11}},
      {"1", {1, 21}}, {"00000007", {7, 21}}, {"Oddzial", {21, 21}}, {"Ulica 1", {51, 21}}, {"90-001", {81, 21}},
      {"Lodz", {91, 21}}, {"lodzkie", {121, 21}}, {"426300000", {151, 21}}, {"426300001", {168, 21}},
  };
  ASSERT_EQ(t.size(), std::size(naglowki));
  for (std::size_t i = 0; i < t.size(); ++i) {
    EXPECT_EQ(t[i].text, q(naglowki[i].first)) << i;
    EXPECT_EQ(t[i].x1, px(naglowki[i].second.first)) << i;
    EXPECT_EQ(t[i].y1, px(naglowki[i].second.second)) << i;
  }
}

TEST(IdentFormUnits, BlankRowsAreLeftOutAndCellsKeepToTheirColumns) {
  JednostkiIO j = jednostki(3);
  j.ustawKomorke(2, kol::Num, "");
  j.ustawKomorke(2, kol::Naz, "");  // a row with neither number nor name
  j.ustawKomorke(3, kol::Kod, "90-001-1234567");  // wider than its 10 mm column
  Druk d;
  const auto& job = d.drukuj(pelne(), j);
  EXPECT_EQ(figury(job, 2), jednostkiWzor(2));
  QStringList nazwy;
  for (const auto& t : teksty(job, 2)) {
    if (t.x1 == px(21) && t.y1 >= px(21)) nazwy << t.text;
    if (t.x1 == px(81) && t.y1 >= px(21)) {
      EXPECT_LE(t.text.size() * d.drukarki.charWidth, px(90) - px(81)) << "clipped to the column";
      EXPECT_TRUE(QString("90-001-1234567").startsWith(t.text));
    }
  }
  EXPECT_EQ(nazwy, (QStringList{"Oddzial 1", "Oddzial 3"}));

  // Only blank rows: no unit, one page, an empty units box.
  JednostkiIO puste;
  puste.setRowCount(4);
  const auto& jedna = d.drukuj(pelne(), puste);
  EXPECT_EQ(jedna.pages(), 1);
  for (const auto& x : krzyzyki(jedna)) EXPECT_NE(x.x1, px(160));
}

// ---- the command

// The institution window with a check whose findings a test sets.
class FirmaDoDruku : public TFirmaForm {
 public:
  FirmaDoDruku(Program& p, bool uwagi) : TFirmaForm(p), p_(p), uwagi_(uwagi) {}
  void weryfIO() override {
    p_.listyWer.przygotuj(0);
    if (uwagi_) p_.listyWer.dodajostrze("01", u("Nazwa"), 0, u("Brak nazwy"));
  }

 private:
  Program& p_;
  bool uwagi_;
};

struct Okno : testing_world::World {
  Program* p = nullptr;
  std::unique_ptr<FirmaDoDruku> f;
  explicit Okno(bool uwagi) {
    printers.set({"HP", "PDF"});
    p = &program();
    p->logowanie = [] { return platform::mrOk; };
    EXPECT_TRUE(p->start());
    p->konfig()->WybDruk->setCurrentIndex(1);
    f = std::make_unique<FirmaDoDruku>(*p, uwagi);
    f->FormCreate();
    f->NazIO->setText("Bank");
  }
};

TEST(IdentFormCommand, FindingsAndTheirAnswers) {
  {
    Okno w(false);
    w.f->DrukIdentClick();
    ASSERT_EQ(w.printers.jobs.size(), 1u) << "no findings: printed without the dialog";
    EXPECT_TRUE(w.printers.jobs[0].ended());
    EXPECT_EQ(w.printers.current(), 1) << "on the chosen printer";
    QString tresc;
    for (const auto& c : teksty(w.printers.jobs[0]))
      if (c.font.points == 10) tresc += c.text;
    EXPECT_TRUE(tresc.contains("BANK")) << "the controls as they stand";
  }
  for (int wynik : {TWerForm::kPotwierdz, TWerForm::kWroc, TWerForm::kAnuluj}) {
    Okno w(true);
    w.dialogs.expectModal("WerForm", [wynik](platform::ModalForm& form) {
      auto& wer = static_cast<TWerForm&>(form);
      EXPECT_EQ(wer.zapisz->text(), "Drukuj");
      EXPECT_FALSE(wer.zapisz->isHidden());
      return wynik;
    });
    w.f->DrukIdentClick();
    EXPECT_TRUE(w.dialogs.scriptDone()) << wynik;
    EXPECT_EQ(w.printers.jobs.size(), wynik == TWerForm::kPotwierdz ? 1u : 0u) << wynik;
  }
}

// The command takes the window's controls as they stand, today's date from the clock, the units
// of the window's grid, and the identification form's own calibration and layers (not the card's).
TEST(IdentFormCommand, TheWindowTheClockAndTheFormsSettings) {
  Okno w(false);
  w.clock.set(QDateTime(QDate(2027, 1, 5), QTime(23, 59)));
  w.f->jednostkiIO = jednostki(2);
  w.f->RoIO->setCurrentIndex(16);
  auto& k = *w.p->konfig();
  k.SkIoX->setText("2,000");
  k.SkIoY->setText("0,500");
  k.PoIoX->setText("+7,000");
  k.PoIoY->setText("-5,000");
  k.SkTrX->setText("3,000");
  k.PoTrX->setText("+1,000");
  k.RaIo->setChecked(true);
  k.OpIo->setChecked(false);
  k.ZaIo->setChecked(true);
  k.OpTr->setChecked(true);
  const DaneIO przed = wczytajIO(w.reg(), w.p->aktualneIO);
  w.f->DrukIdentClick();
  const DaneIO po = wczytajIO(w.reg(), w.p->aktualneIO);
  EXPECT_EQ(po.nazIO, przed.nazIO) << "the print stores nothing";
  EXPECT_EQ(po.RoIO, przed.RoIO);
  EXPECT_EQ(po.JedIO, przed.JedIO);
  ASSERT_EQ(w.printers.jobs.size(), 1u);
  const auto& job = w.printers.jobs[0];
  EXPECT_EQ(job.pages(), 2) << "the unit in the window's grid";
  auto pxX = [](double mm) { return static_cast<int>(std::nearbyint((7 + mm) * 2 * 600 / 25.4)); };
  auto pxY = [](double mm) { return static_cast<int>(std::nearbyint((-5 + mm) * 0.5 * 600 / 25.4)); };
  const auto f = figury(job);
  ASSERT_FALSE(f.empty());
  EXPECT_EQ(f.front(), (Op{Kind::Rectangle, pxX(0), pxY(0), pxX(183), pxY(265)}));
  QString data, znaki;
  for (const auto& t : teksty(job)) {
    EXPECT_NE(t.font.face, "Times New Roman CE") << "no labels: " << t.text.toStdString();
    if (t.font.points == 10 && t.y1 == pxY(12.7)) data += t.text;
    if (t.text == "X") znaki += QString("(%1,%2)").arg(t.x1).arg(t.y1);
  }
  EXPECT_EQ(data, "20270105");
  EXPECT_EQ(znaki, QString("(%1,%2)(%3,%4)(%5,%6)")
                       .arg(pxX(4)).arg(pxY(88.5 + 3.47 * 16))
                       .arg(pxX(115)).arg(pxY(13))
                       .arg(pxX(160)).arg(pxY(259)));
}

TEST(IdentFormCommand, RefusalsAndFailures) {
  struct Case {
    const char* name;
    std::function<void(Okno&)> przygotuj;
    const char* komunikat;
    std::size_t jobs;
    bool rysowal = false;  // the job was drawn before it failed
  } cases[] = {
      {"no printer", [](Okno& w) { w.p->konfig()->WybDruk->setCurrentIndex(-1); },
       "Brak wybranej drukarki w konfiguracji", 0},
      {"bad scale", [](Okno& w) { w.p->konfig()->SkIoX->setText("x"); },
       "Błędna wartość skali lub położenia wydruku w konfiguracji: x", 0},
      {"job fails", [](Okno& w) { w.printers.failEndOfJob = 1; },
       "Błąd w czasie drukowania: Drukarka niedostępna", 1, true},
      {"job cannot start", [](Okno& w) { w.printers.failBeginOfJob = 1; },
       "Błąd w czasie drukowania: Drukarka niedostępna", 1, false},
  };
  for (const auto& c : cases) {
    Okno w(false);
    c.przygotuj(w);
    w.dialogs.expectMessage(platform::IdOk, q(c.komunikat));
    w.f->DrukIdentClick();
    EXPECT_TRUE(w.dialogs.scriptDone()) << c.name;
    ASSERT_EQ(w.printers.jobs.size(), c.jobs) << c.name;
    if (c.jobs) {
      EXPECT_FALSE(w.printers.jobs[0].ended()) << c.name;
      EXPECT_EQ(w.printers.jobs[0].aborted(), c.rysowal) << c.name;
      EXPECT_EQ(w.printers.jobs[0].drawing().empty(), !c.rysowal) << c.name;
    }
  }
}

// The window as the user sees it with the button (saved when ZELT_SHOT_DIR is set).
TEST(IdentFormCommand, TheButtonIsEnabledWithItsHint) {
  Okno w(false);
  auto& f = *w.p->firma();
  f.NazIO->setText(q("Bank Spółdzielczy w Łodzi"));
  EXPECT_GT(testing_world::renderWindow(f, "firma-drukuj-formularz"), 8);
  EXPECT_TRUE(f.DrukIdent->isVisibleTo(&f));
  EXPECT_TRUE(f.DrukIdent->isEnabled());
  EXPECT_EQ(f.DrukIdent->text(), "&Drukuj formularz identyfikacyjny");
  EXPECT_EQ(f.DrukIdent->toolTip(), q("Drukuje formularz identyfikacyjny lub jego korektę"));
}

}  // namespace
