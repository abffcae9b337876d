// The card print: its frames and labels against the form's tables, the layout's invariants, what
// the contents write and when, the remarks and the attachment pages, the layers, and the batch
// with its counts and failures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <set>

#include "platform/cp1250.h"
#include "register/edycjaform.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "reports/drukkarty.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"
#include "../register/swiatrejestru.h"
#include "support/disklog.h"
#include "rysunek.h"

using namespace zelt;
using namespace rysunek;

namespace {

// Millimetres to pixels at 600 dpi, scale 1, no offset.
std::string u(const char* utf8) { return cp1250::fromUtf8(utf8); }

// ---- the frames layer, transcribed from the form's table (mm)

struct El {
  char kind;  // 'R' rectangle, 'L' rule, 'K' n boxes, 'S' segment
  double a = 0, b = 0, c = 0, d = 0;
};
El R(double x1, double y1, double x2, double y2) { return {'R', x1, y1, x2, y2}; }
El L(double y) { return {'L', y}; }
El K(int n, double x, double y) { return {'K', double(n), x, y}; }
El S(double x1, double y1, double x2, double y2) { return {'S', x1, y1, x2, y2}; }

std::vector<El> ramkiWzor() {
  std::vector<El> e = {
      R(0, 0, 190, 284), L(5.25), K(10, 190, 0), K(9, 95.5, 0), L(9), K(25, 190, 9), K(12, 190, 15.7),
      K(1, 190, 22.4), K(8, 169, 22.4), K(8, 100.75, 22.4), L(27.65), L(31.5),
      K(1, 190, 31.5), K(4, 163.75, 31.5), K(1, 116.5, 31.5), K(4, 58.75, 31.5),
      K(12, 100.75, 38.2), K(21, 190, 44.9), K(8, 58.75, 44.9),
      K(3, 127, 51.6), K(15, 95.5, 51.6), K(3, 127, 58.3), K(15, 95.5, 58.3), L(58.3),
      K(2, 158.5, 63.55), L(70.25), K(32, 190, 70.25), K(2, 190, 76.95), K(27, 163.75, 76.95),
      K(19, 190, 83.65), K(8, 79.75, 83.65), K(2, 27.25, 83.65), K(32, 190, 90.35),
      K(10, 190, 97.05), K(9, 127, 97.05), K(11, 74.5, 97.05), K(10, 190, 103.75), K(15, 116.5, 103.75),
      K(24, 190, 110.45), K(2, 48.25, 110.45), L(117.15), K(2, 158.5, 117.15), L(123.85),
      K(32, 190, 123.85), K(32, 190, 130.55), K(19, 190, 137.25), K(8, 79.75, 137.25), K(2, 27.25, 137.25),
      K(32, 190, 143.95), L(150.65), K(2, 158.5, 150.65), L(157.35), K(32, 190, 157.35), K(32, 190, 164.05),
      K(19, 190, 170.75), K(8, 79.75, 170.75), K(2, 27.25, 170.75), K(32, 190, 177.45),
      L(182.7), L(187.2), K(28, 190, 187.2), K(28, 190, 193.9), L(199.15), K(28, 190, 200.6),
      K(28, 190, 207.3), L(212.55), L(217.04)};
  const double rows[] = {217.04, 222.62, 228.2, 233.78, 239.36, 244.94, 250.52, 256.1, 261.68, 267.26, 272.84};
  for (double y : rows) e.push_back(K(28, 190, y));
  e.push_back(K(25, 174.25, 278.42));
  e.push_back(R(4, 225, 39, 282.5));
  e.push_back(S(4, 241, 39, 241));
  e.push_back(S(4, 255, 39, 255));
  return e;
}


// The expected drawing calls of the frames, a box row drawn as its top, bottom and n + 1 sides.
std::vector<Op> rozwin(const std::vector<El>& els) {
  std::vector<Op> out;
  auto line = [&](double x1, double y1, double x2, double y2) { out.push_back({Kind::Line, px(x1), px(y1), px(x2), px(y2)}); };
  const double b = 5.25;
  for (const auto& e : els) {
    switch (e.kind) {
      case 'R': out.push_back({Kind::Rectangle, px(e.a), px(e.b), px(e.c), px(e.d)}); break;
      case 'L': line(0, e.a, 190, e.a); break;
      case 'S': line(e.a, e.b, e.c, e.d); break;
      case 'K': {
        const int n = int(e.a);
        line(e.b, e.c, e.b - n * b, e.c);
        line(e.b, e.c + b, e.b - n * b, e.c + b);
        for (int i = 0; i <= n; ++i) line(e.b - i * b, e.c, e.b - i * b, e.c + b);
        break;
      }
    }
  }
  return out;
}

// ---- the labels layer, transcribed from the form's table

struct Lab {
  const char* text;
  double x, y, pt;
  bool italic = false;
};
const Lab kLabels[] = {
    {"KARTA TRANSAKCJI", 4, 1, 8}, {"IDENTYFIKACJA", 4, 5.5, 8}, {"numer", 40, 0.5, 6},
    {"numer NIP instytucji obowiązanej", 103, 1, 6}, {"karty", 41, 2.5, 6},
    {"01.Numer ewidencyjny transakcji", 30, 10, 5}, {"02.numer rejestracji transakcji", 100, 17, 5},
    {"04.numer jednostki", 109.5, 23, 5}, {"05.status", 175.5, 24, 5}, {"03.data rejestracji transakcji", 34, 24, 5},
    {"organizacyjne", 112, 25, 5}, {"TRANSAKCJA WYNIKAJĄCA Z DYSPOZYCJI", 4, 28.15, 8},
    {"06.kod rodzaju transakcji", 11, 32.65, 6}, {"10.numer dokumentu transakcji", 5, 39.65, 6},
    {"07.Kod powiązania transakcji Tak-1 Nie-0", 75, 32.65, 5}, {"08.Kod transakcji", 127, 32.65, 5},
    {"09.sposób wydania", 167.5, 32.65, 5}, {"podejrzanej", 132, 34.65, 5}, {"dyspozycji", 175, 34.65, 5},
    {"11.data realizacji", 2, 45.65, 5}, {"12.miejsce transakcji", 61, 45.65, 5}, {"transakcji", 7, 47.65, 5},
    {"(miejscowość)", 65, 47.65, 5, true}, {"13.kwota", 8, 52.15, 5}, {"14.jednostka", 99.5, 52.15, 5},
    {"transakcji", 8, 54.15, 5}, {"transakcji", 102.5, 54.15, 5}, {"15.kwota po", 6, 58.65, 5},
    {"16.jednostka", 99.5, 58.65, 5}, {"zamianie", 9, 60.65, 5}, {"po zamianie", 100.5, 60.65, 5},
    {"PODMIOT, KTÓRY WYDAJE DYSPOZYCJĘ", 4, 64.25, 8}, {"17.typ podmiotu", 130, 65.75, 6},
    {"18.nazwisko, imię", 3, 73.25, 6}, {"/ nazwa", 12.5, 75.25, 6}, {"20.kraj", 8, 84.25, 6},
    {"23.ulica", 12, 91.25, 6}, {"24.PESEL", 5.5, 97.25, 6}, {"27.numer SWIFT", 20, 104.25, 6},
    {"29.rodzaj dokumentu:", 13, 109.25, 6}, {"28.NIP", 130, 104.25, 6}, {"21.kod", 30.5, 84.25, 5},
    {"pocztowy", 28.5, 86.25, 5}, {"22.miej-", 82, 84.25, 5}, {"scowość", 82, 86.25, 5},
    {"19.obywa-", 170, 77.25, 5}, {"telstwo", 172.5, 79.25, 5}, {"25.", 76, 97.75, 5},
    {"26.nr rej.", 128, 97.75, 5}, {"sądowego", 128, 99.75, 5}, {"30.seria i numer", 50, 111.25, 5},
    {"dokumentu", 54, 113.25, 5}, {"DO-dowód osobisty PA-paszport", 13, 112.25, 4},
    {"DT-dowód tymczasowy KP-karta pobytu", 9, 113.75, 4}, {"00-inne", 30, 115.25, 4}, {"regon", 75, 99.75, 4},
    {"PODMIOT, W IMIENIU KTÓREGO WYDAWANA JEST DYSPOZYCJA", 4, 118.15, 8}, {"31.typ podmiotu", 130, 119.15, 6},
    {"32.nazwisko, imię", 3, 127.15, 6}, {"/ nazwa", 12.5, 129.15, 6}, {"33.kraj", 8, 137.15, 6},
    {"36.ulica", 12, 144.15, 6}, {"34.kod", 30.5, 137.15, 5}, {"pocztowy", 28.5, 139.15, 5},
    {"35.miej-", 82, 137.15, 5}, {"scowość", 82, 139.15, 5}, {"BENEFICJENT", 4, 151.65, 8},
    {"37.typ podmiotu", 130, 152.65, 6}, {"38.nazwisko, imię", 3, 160.65, 6}, {"/ nazwa", 12.5, 162.65, 6},
    {"39.kraj", 8, 170.65, 6}, {"42.ulica", 12, 177.65, 6}, {"40.kod", 30.5, 170.65, 5},
    {"pocztowy", 28.5, 172.65, 5}, {"41.miej-", 82, 170.65, 5}, {"scowość", 82, 172.65, 5},
    {"RACHUNKI UCZESTNICZĄCE W TRANSAKCJI", 4, 183.2, 8}, {"43.numer rachunku źródłowego", 10, 188.7, 6},
    {"44.numer rachunku docelowego", 10, 201.2, 6}, {"UWAGI", 4, 213.04, 8},
    {"Dane osoby wypełniającej kartę:", 2, 221.54, 6}, {"45.uwagi", 32, 219.04, 6},
    {"Imię i nazwisko", 14, 225.54, 5}, {"Stanowisko", 16, 241.54, 5}, {"Podpis", 17.5, 256.04, 5},
};

// ---- printing one card onto the recording printer

UstawieniaWydruku warstwy(bool ramki, bool opisy, bool zawartosc) {
  UstawieniaWydruku w{"1,000", "1,000", "+0,000", "+0,000"};
  w.ramki = ramki;
  w.opisy = opisy;
  w.zawartosc = zawartosc;
  return w;
}

struct Druk {
  platform::FixedPrinters drukarki{{"HP"}};
  ListyKarty listy = ListyKarty::wbudowane();
  WynikKarty wynik;

  const platform::RecordedJob& drukuj(const TRekordTransakcji& r, UstawieniaWydruku w = warstwy(true, true, true),
                                      Kalibracja k = {}) {
    wynik = drukujKarte(drukarki, r, listy, "1234567890", w, k);
    return drukarki.jobs.back();
  }
};

// The contents: the boxes' 10 points and the person's lines at x 5 in 8 points.
bool tresc(const PrintCall& c) { return c.font.points == 10 || (c.font.points == 8 && c.x1 == px(5)); }

TRekordTransakcji pelny() {
  TRekordTransakcji r;
  r.nrEwT = "TR/2025/0001";
  r.nrRejDat = "17";
  r.rejDat = platform::dateToDays(QDate(2025, 3, 5));
  r.jedIO = "0001";
  r.Status = 1;
  r.kRodzTr = "0607";
  r.kPwz = 1;
  r.kPdjrz = "0000";
  r.spDysp = 2;
  r.nrDokT = "DOK-1";
  r.tDat = platform::dateToDays(QDate(2025, 3, 4));
  r.tM = u("Łódź");
  r.tKw = "15000,00";
  r.tJ = "PLN";
  r.zTypPo = 0;
  r.zNz = u("Kowalski Jan");
  r.zObyw = "PL";
  r.zAdrKr = "PL";
  r.zAdrKod = "90-001";
  r.zAdrM = u("Łódź");
  r.zAdrUl = u("Piotrkowska 1");
  r.zNrPes = "44051401359";
  r.zRodzDokTo = 1;
  r.zNrDokTo = "ABC123456";
  r.pTypPo = 1;
  r.pNz = "Firma";
  r.bTypPo = 2;
  r.bNz = "Bank";
  r.nrRachZ = "PL61109010140000071219812874";
  r.nrRachN = "PL27114020040000300201355387";
  r.Wprow = u("Jan;Kowalski;Kierownik");
  return r;
}

TEST(CardPrint, FramesFollowTheFormsTable) {
  Druk d;
  const auto& j = d.drukuj(pelny(), warstwy(true, false, false));
  EXPECT_EQ(figury(j), rozwin(ramkiWzor()));
  const auto t = teksty(j);
  ASSERT_EQ(t.size(), 1u) << "frames alone write only the footer";
  EXPECT_TRUE(stopka(t[0]));
}

TEST(CardPrint, LabelsFollowTheFormsTable) {
  Druk d;
  const auto& j = d.drukuj(pelny(), warstwy(false, true, false));
  EXPECT_TRUE(figury(j).empty());
  auto t = teksty(j);
  ASSERT_EQ(t.size(), std::size(kLabels) + 1);
  for (std::size_t i = 0; i < std::size(kLabels); ++i) {
    const Lab& l = kLabels[i];
    EXPECT_EQ(t[i].text, QString::fromUtf8(l.text)) << i;
    EXPECT_EQ(t[i].x1, px(l.x)) << l.text;
    EXPECT_EQ(t[i].y1, px(l.y)) << l.text;
    EXPECT_EQ(t[i].font, (platform::PrintFont{"Arial Ce", l.pt, true, l.italic, 0})) << l.text;
  }
  EXPECT_TRUE(stopka(t.back()));
  EXPECT_EQ(t.back().x1, px(100));
  EXPECT_EQ(t.back().y1, px(213));
  EXPECT_TRUE(t.back().text.startsWith("Formularz wydrukowano programem firmy Tarvo"));
  EXPECT_TRUE(t.back().text.contains("zelt@tarvo.pl"));
}

TEST(CardPrint, BoxRowsLieInsideTheFormAndNeverOverlap) {
  struct Box {
    double l, t, r, b;
  };
  std::vector<Box> boxes;
  for (int i = 0; i < int(Pole::Ile); ++i) {
    const RzadKratek& z = rzad(static_cast<Pole>(i));
    ASSERT_GT(z.n, 0) << "row " << i << " has no boxes";
    boxes.push_back({z.x - z.n * kBokKratkiKarty, z.y, z.x, z.y + kBokKratkiKarty});
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_GE(boxes[i].l, 0) << i;
    EXPECT_GE(boxes[i].t, 0) << i;
    EXPECT_LE(boxes[i].r, 190) << i;
    EXPECT_LE(boxes[i].b, 284) << i;
    for (std::size_t k = i + 1; k < boxes.size(); ++k) {
      const bool apart = boxes[i].r <= boxes[k].l + 1e-9 || boxes[k].r <= boxes[i].l + 1e-9 ||
                         boxes[i].b <= boxes[k].t + 1e-9 || boxes[k].b <= boxes[i].t + 1e-9;
      EXPECT_TRUE(apart) << "rows " << i << " and " << k << " overlap";
    }
  }
  // The person's block lies left of the remarks' boxes.
  EXPECT_LE(39, rzad(Pole::P45).x - 28 * kBokKratkiKarty);
}

// Every glyph of the contents sits in a box that the frames draw: at the box's left edge + 1 mm,
// its top + 0.7 mm.
TEST(CardPrint, EveryContentLandsInAFramedBox) {
  Druk d;
  auto r = pelny();
  r.uwInne = std::string(300, 'u');
  r.zNz = std::string(70, 'n');
  r.pTypPo = 0;
  r.pNz = std::string(64, 'p');
  const auto& j = d.drukuj(r);
  std::set<std::pair<int, int>> miejsca;
  for (const auto& e : ramkiWzor())
    if (e.kind == 'K')
      for (int i = 0; i < int(e.a); ++i) miejsca.insert({px(e.b - e.a * 5.25 + 1 + i * 5.25), px(e.c + 0.7)});
  int glyphs = 0;
  for (const auto& t : teksty(j)) {
    if (t.font.points != 10) continue;
    ++glyphs;
    EXPECT_EQ(t.text.size(), 1) << t.text.toStdString();
    EXPECT_TRUE(miejsca.count({t.x1, t.y1})) << t.text.toStdString() << " at " << t.x1 << "," << t.y1;
  }
  EXPECT_GT(glyphs, 500);
}

// The glyphs written into one row of boxes, left to right.
QString wRzedzie(const platform::RecordedJob& j, Pole p) {
  const RzadKratek& z = rzad(p);
  QString out;
  for (const auto& t : teksty(j))
    if (t.font.points == 10 && t.y1 == px(z.y + 0.7) && t.x1 >= px(z.x - z.n * 5.25) && t.x1 < px(z.x)) out += t.text;
  return out;
}

TEST(CardPrint, ContentsAndTheirGates) {
  struct Case {
    const char* name;
    std::function<void(TRekordTransakcji&)> zmiana;
    std::vector<std::pair<Pole, QString>> oczekiwane;
  } cases[] = {
      {"whole record",
       [](TRekordTransakcji&) {},
       {{Pole::NIP, "1234567890"}, {Pole::NrKarty, ""}, {Pole::P01, "TR/2025/0001"}, {Pole::P02, "17"},
        {Pole::P05, "1"}, {Pole::P03, "20250305"}, {Pole::P09, "2"}, {Pole::P08, "0000"}, {Pole::P07, "1"},
        {Pole::P06, "0607"}, {Pole::P11, "20250304"}, {Pole::P12, QString::fromUtf8("ŁÓDŹ")},
        {Pole::P17, "00"}, {Pole::P18a, "KOWALSKI JAN"}, {Pole::P29, "DO"}, {Pole::P31, "01"}, {Pole::P37, "02"},
        {Pole::P32a, "FIRMA"}, {Pole::P38a, "BANK"}, {Pole::P43a, "PL61109010140000071219812874"}}},
      {"kind code empty", [](TRekordTransakcji& r) { r.kRodzTr = ""; },
       {{Pole::P06, ""}, {Pole::P09, ""}, {Pole::P12, ""}, {Pole::P11, ""}, {Pole::P43a, ""}, {Pole::P44a, ""},
        {Pole::P01, "TR/2025/0001"}, {Pole::P18a, "KOWALSKI JAN"}}},
      {"kind code four blanks", [](TRekordTransakcji& r) { r.kRodzTr = "    "; },
       {{Pole::P06, ""}, {Pole::P07, ""}, {Pole::P13, ""}, {Pole::P44a, ""}, {Pole::P17, "00"}}},
      {"no ordering party", [](TRekordTransakcji& r) { r.zTypPo = -1; },
       {{Pole::P17, ""}, {Pole::P18a, ""}, {Pole::P22, ""}, {Pole::P24, ""}, {Pole::P29, ""}, {Pole::P30, ""},
        {Pole::P31, "01"}}},
      {"no document kind", [](TRekordTransakcji& r) { r.zRodzDokTo = -1; },
       {{Pole::P29, ""}, {Pole::P30, "ABC123456"}}},
      {"party type 0 and 3", [](TRekordTransakcji& r) { r.pTypPo = 0; r.bTypPo = 3; },
       {{Pole::P31, "00"}, {Pole::P37, "03"}}},
      {"status -1 shows its sign", [](TRekordTransakcji& r) { r.Status = -1; }, {{Pole::P05, "-"}}},
      {"name of 70 characters", [](TRekordTransakcji& r) { r.zNz = std::string(32, 'a') + std::string(38, 'b'); },
       {{Pole::P18a, QString(32, 'A')}, {Pole::P18b, QString(27, 'B')}}},
      {"index outside its list", [](TRekordTransakcji& r) { r.zTypPo = 999; r.zRodzDokTo = 999; },
       {{Pole::P17, ""}, {Pole::P29, ""}, {Pole::P18a, "KOWALSKI JAN"}}},
      {"no date", [](TRekordTransakcji& r) { r.tDat = std::nan(""); r.rejDat = 1e300; },
       {{Pole::P11, ""}, {Pole::P03, ""}}},
      {"control characters as blanks", [](TRekordTransakcji& r) { r.zNz = "A\r\nB\tC"; },
       {{Pole::P18a, "A  B C"}}},
  };
  for (const auto& c : cases) {
    Druk d;
    auto r = pelny();
    c.zmiana(r);
    const auto& j = d.drukuj(r, warstwy(false, false, true));
    for (const auto& [pole, tekst] : c.oczekiwane)
      EXPECT_EQ(wRzedzie(j, pole).trimmed(), tekst) << c.name << ", row " << int(pole);
  }
}

TEST(CardPrint, RemarksAndTheirGates) {
  auto r = pelny();
  r.uwInne = "inne";
  r.uwkRodzTr = "a";
  r.uwkPwz = "b";
  r.uwkPdjrz = "c";
  r.uwspDysp = "d";
  r.uwzTypPo = "e";
  r.uwzObyw = "f";
  r.uwzRodzDokTo = "g";
  r.uwpTypPo = "h";
  r.uwbTypPo = "i";
  struct Case {
    const char* name;
    std::function<void(TRekordTransakcji&)> zmiana;
    const char* uwagi;
  } cases[] = {
      {"types 1 and 2: no 31, 37", [](TRekordTransakcji&) {}, "[inne][06:a][07:b][08:c][09:d][17:e][19:f][29:g]"},
      {"types 0", [](TRekordTransakcji& x) { x.pTypPo = 0; x.bTypPo = 0; },
       "[inne][06:a][07:b][08:c][09:d][17:e][19:f][29:g][31:h][37:i]"},
      {"type 3 leaves 31 out", [](TRekordTransakcji& x) { x.pTypPo = 3; x.bTypPo = 0; },
       "[inne][06:a][07:b][08:c][09:d][17:e][19:f][29:g][37:i]"},
      {"kind code blank", [](TRekordTransakcji& x) { x.kRodzTr = "    "; }, "[inne][17:e][19:f][29:g]"},
      {"kind code empty", [](TRekordTransakcji& x) { x.kRodzTr = ""; }, "[inne][17:e][19:f][29:g]"},
      {"no ordering party", [](TRekordTransakcji& x) { x.zTypPo = -1; }, "[inne][06:a][07:b][08:c][09:d]"},
      {"empty pieces leave nothing", [](TRekordTransakcji& x) { x.uwInne = ""; x.uwkPwz = ""; },
       "[06:a][08:c][09:d][17:e][19:f][29:g]"},
  };
  for (const auto& c : cases) {
    auto x = r;
    c.zmiana(x);
    EXPECT_EQ(uwagiKarty(x), c.uwagi) << c.name;
  }
}

// A record whose remarks text is exactly n characters long.
TRekordTransakcji zUwagami(std::size_t n) {
  TRekordTransakcji r = pelny();
  r.pTypPo = 0;
  r.bTypPo = 0;
  std::string* pola[] = {&r.uwInne, &r.uwkRodzTr, &r.uwkPwz, &r.uwkPdjrz, &r.uwspDysp, &r.uwzTypPo,
                         &r.uwzObyw, &r.uwzRodzDokTo, &r.uwpTypPo, &r.uwbTypPo};
  const std::size_t narzut[] = {2, 5, 5, 5, 5, 5, 5, 5, 5, 5};
  const std::size_t pojemnosc[] = {127, 255, 255, 255, 255, 255, 255, 255, 255, 127};
  std::size_t reszta = n;
  char z = 'a';
  for (int i = 0; i < 10 && reszta > 0; ++i) {
    std::size_t ile = std::min(pojemnosc[i], reszta - narzut[i]);
    const std::size_t po = reszta - narzut[i] - ile;
    if (po > 0 && po <= 5) ile -= 6;  // never leave less than the next piece's brackets
    *pola[i] = std::string(ile, z++);
    reszta -= narzut[i] + ile;
  }
  EXPECT_EQ(uwagiKarty(r).size(), n);
  return r;
}

TEST(CardPrint, RemarksFillTheBoxesOrGoToTheAttachment) {
  struct Case {
    std::size_t length;
    int pages;
  } cases[] = {{0, 1}, {28, 1}, {333, 1}, {334, 2}, {1512, 2}, {1513, 3}};
  for (const auto& c : cases) {
    Druk d;
    const auto r = c.length ? zUwagami(c.length) : pelny();
    const std::string uwagi = uwagiKarty(r);
    ASSERT_EQ(uwagi.size(), c.length);
    const auto& j = d.drukuj(r);
    EXPECT_EQ(j.pages(), c.pages) << c.length;
    QString wBoksach;
    for (int i = 0; i < 12; ++i) wBoksach += wRzedzie(j, rzadUwag(i));
    if (c.length < 334) {
      EXPECT_EQ(wBoksach, cp1250::toQ(cp1250::toUpper(uwagi))) << c.length;
      if (c.length == 333) {
        EXPECT_EQ(wRzedzie(j, rzadUwag(10)).size(), 28);
        EXPECT_EQ(wRzedzie(j, Pole::P45ostatni).size(), 25);
      }
      continue;
    }
    EXPECT_EQ(wBoksach, QString::fromUtf8("UWAGI W ZAŁĄCZENIU"));
    // The attachment pages hold the whole text, 36 characters a row, 42 rows a page, framed,
    // each with its footer.
    QString wZalaczniku;
    for (int p = 2; p <= j.pages(); ++p) {
      int stopki = 0;
      for (const auto& t : teksty(j, p)) {
        if (stopka(t)) {
          ++stopki;
          continue;
        }
        EXPECT_LT(t.y1, px(42 * 6.7)) << "row beyond the 42nd";
        wZalaczniku += t.text;
      }
      EXPECT_EQ(stopki, 1) << "page " << p;
      const auto f = figury(j, p);
      ASSERT_FALSE(f.empty());
      EXPECT_EQ(f[0], (Op{Kind::Rectangle, 0, 0, px(190), px(284)}));
      EXPECT_EQ(f.size(), 1u + 42 * (2 + 37)) << "the outline and 42 rows of 36 boxes";
    }
    EXPECT_EQ(wZalaczniku, cp1250::toQ(cp1250::toUpper(uwagi))) << c.length;
  }
}

TEST(CardPrint, AttachmentKeepsItsFooterWhateverTheSwitches) {
  Druk d;
  const auto& j = d.drukuj(zUwagami(400), warstwy(false, false, false));
  ASSERT_EQ(j.pages(), 2);
  EXPECT_TRUE(j.drawing().size() == 1 && stopka(j.drawing()[0]) && j.drawing()[0].page == 2)
      << "nothing on the form, the attachment's footer alone";
  EXPECT_TRUE(j.ended());
}

TEST(CardPrint, PersonWhoFilledInTheCard) {
  struct Case {
    const char* wprow;
    std::array<std::string, 3> linie;
  } cases[] = {{"Jan;Kowalski;Kierownik", {"Jan", "Kowalski", "Kierownik"}},
               {"Kowalski", {"", "", "Kowalski"}},
               {"a;b", {"a", "", "b"}},
               {"", {"", "", ""}},
               {"a;b;c;d", {"a", "b", "c;d"}}};
  for (const auto& c : cases) {
    EXPECT_EQ(osobaWypelniajaca(c.wprow), c.linie) << c.wprow;
    Druk d;
    auto r = pelny();
    r.Wprow = c.wprow;
    const auto& j = d.drukuj(r, warstwy(false, false, true));
    const double ys[] = {228.04, 232.04, 245.04};
    for (int i = 0; i < 3; ++i) {
      QString found;
      for (const auto& t : teksty(j))
        if (t.font.points == 8 && t.y1 == px(ys[i])) {
          EXPECT_EQ(t.x1, px(5));
          found = t.text;
        }
      EXPECT_EQ(found, QString::fromStdString(c.linie[i])) << c.wprow << " line " << i;
    }
  }
  // A long text is cut where the block ends, never over field 45.
  Druk d;
  auto r = pelny();
  r.Wprow = std::string(60, 'W');
  const auto& j = d.drukuj(r, warstwy(false, false, true));
  for (const auto& t : teksty(j))
    if (t.font.points == 8) {
      EXPECT_LE(t.x1 + t.text.size() * d.drukarki.charWidth, px(39));
    }
}

TEST(CardPrint, LayersAloneAndNone) {
  struct Case {
    bool ramki, opisy, zawartosc;
    bool lines, labels, contents, footer;
  } cases[] = {{true, false, false, true, false, false, true},
               {false, true, false, false, true, false, true},
               {false, false, true, false, false, true, true},
               {false, false, false, false, false, false, false},
               {true, true, true, true, true, true, true}};
  for (const auto& c : cases) {
    Druk d;
    const auto& j = d.drukuj(pelny(), warstwy(c.ramki, c.opisy, c.zawartosc));
    bool lines = !figury(j).empty(), labels = false, contents = false, footer = false;
    std::vector<int> order;  // 0 frames, 1 labels, 2 contents, 3 footer
    for (const auto& call : j.drawing()) {
      int layer;
      if (call.kind != Kind::Text) layer = 0;
      else if (stopka(call)) layer = 3, footer = true;
      else if (tresc(call)) layer = 2, contents = true;
      else layer = 1, labels = true;
      if (order.empty() || order.back() != layer) order.push_back(layer);
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(labels, c.labels);
    EXPECT_EQ(contents, c.contents);
    EXPECT_EQ(footer, c.footer);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << "frames, labels, contents, footer";
    EXPECT_TRUE(j.ended());
    EXPECT_EQ(j.calls.front().text, "ZELT - Karta Transakcji");
    EXPECT_EQ(d.wynik.zawartosc, c.zawartosc);
  }
}

TEST(CardPrint, CalibrationMovesAndScalesEverything) {
  Druk d;
  const auto& j = d.drukuj(pelny(), warstwy(true, false, false), Kalibracja{1, 1, 3, 0});
  EXPECT_EQ(figury(j)[0], (Op{Kind::Rectangle, 71, 0, 4559, px(284)}));
  Druk e;
  const auto& k = e.drukuj(pelny(), warstwy(true, false, false), Kalibracja{0.5, 2, 0, 0});
  EXPECT_EQ(figury(k)[0], (Op{Kind::Rectangle, 0, 0, px(95), px(568)}));
}

// ---- the batch

struct Partia : swiat::SwiatRejestru {
  std::vector<TRekordTransakcji> recs;
  Program* p = nullptr;

  Partia() {
    printers.set({"HP", "PDF"});
    for (int i = 0; i < 3; ++i) {
      auto r = pelny();
      r.nrEwT = "T" + std::to_string(i);
      recs.push_back(r);
    }
    zapisz(recs);
    p = &uruchomiony();
    p->konfig()->WybDruk->setCurrentIndex(1);
  }
  std::string bajty() const { return readFile(plik()); }
  std::uint8_t licznik(const std::string& b, int n) const {
    return static_cast<std::uint8_t>(b[n * TRekordTransakcji::kSize + TRekordTransakcji::kOffsetIlWydrukow]);
  }
  // The file as it should be: the old bytes with the given counts.
  std::string z(std::string b, std::vector<std::pair<int, int>> liczniki) const {
    for (auto [n, v] : liczniki) b[n * TRekordTransakcji::kSize + TRekordTransakcji::kOffsetIlWydrukow] = char(v);
    return b;
  }
};

TEST(CardBatch, CountsRiseOnlyForPrintedContents) {
  Partia w;
  const std::string przed = w.bajty();
  drukujKarty(*w.p, {0, 2, 0});
  EXPECT_EQ(w.printers.jobs.size(), 3u);
  EXPECT_EQ(w.printers.current(), 1) << "the chosen printer";
  EXPECT_EQ(w.bajty(), w.z(przed, {{0, 2}, {2, 1}})) << "one record twice: +2; nothing else changes";
  EXPECT_EQ(w.p->aktualnyRekord.nrEwT, "T0");
  EXPECT_TRUE(w.dialogs.messages().isEmpty());

  // Contents off: an empty form counts for nothing.
  w.p->konfig()->ZaTr->setChecked(false);
  drukujKarty(*w.p, {1});
  EXPECT_EQ(w.printers.jobs.size(), 4u);
  EXPECT_EQ(w.bajty(), w.z(przed, {{0, 2}, {2, 1}}));
}

// Each card's raised count is on the disk before the next card is printed: its one byte written
// and synced.
TEST(CardBatch, EachCountIsSyncedBeforeTheNextCard) {
  Partia w;
  testing_world::DiskLog log;
  drukujKarty(*w.p, {0, 2});
  testing_world::expectSyncedWrites(log, w.plik());
  const auto zapisy = log.indexes(platform::DiskOp::Write, w.plik());
  ASSERT_EQ(zapisy.size(), 2u);
  for (int i : zapisy) EXPECT_EQ(log.calls[i].length, 1) << "the count's byte alone";
  EXPECT_TRUE(log.any(platform::DiskOp::Sync, w.plik(), zapisy[0]));
  EXPECT_LT(log.indexes(platform::DiskOp::Sync, w.plik()).front(), zapisy[1]) << "synced before the next card";
}

TEST(CardBatch, CountStopsAt255AndStrayBytesSurvive) {
  Partia w;
  std::string b = w.bajty();
  b[0 * TRekordTransakcji::kSize + TRekordTransakcji::kOffsetIlWydrukow] = char(255);
  // Bytes behind nrEwT's length ("T0", capacity 25) that no decoder keeps.
  for (int i = 3; i < 26; ++i) b[1 * TRekordTransakcji::kSize + i] = 'x';
  w.writeFile(w.plik(), b);
  drukujKarty(*w.p, {0, 1});
  EXPECT_EQ(w.printers.jobs.size(), 2u);
  EXPECT_EQ(w.bajty(), w.z(b, {{0, 255}, {1, 1}}));
}

TEST(CardBatch, AFailedEndStopsTheBatchAndEarlierCardsKeepTheirCounts) {
  for (bool atBegin : {false, true}) {
    Partia w;
    const std::string przed = w.bajty();
    (atBegin ? w.printers.failBeginOfJob : w.printers.failEndOfJob) = 2;
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd w czasie drukowania: Drukarka niedostępna"));
    drukujKarty(*w.p, {0, 1, 2});
    EXPECT_TRUE(w.dialogs.scriptDone());
    EXPECT_EQ(w.printers.jobs.size(), 2u) << "no job after the failed one";
    EXPECT_TRUE(w.printers.jobs[0].ended());
    if (!atBegin) {
      EXPECT_TRUE(w.printers.jobs[1].aborted());
    }
    EXPECT_EQ(w.bajty(), w.z(przed, {{0, 1}}));
  }
}

TEST(CardBatch, RefusalsTouchNeitherPrinterNorRegister) {
  struct Case {
    const char* name;
    std::function<void(Partia&)> przygotuj;
    const char* komunikat;
  } cases[] = {
      {"no printer chosen", [](Partia& w) { w.p->konfig()->WybDruk->setCurrentIndex(-1); },
       "Brak wybranej drukarki w konfiguracji"},
      {"scale not a number", [](Partia& w) { w.p->konfig()->SkTrX->setText("abc"); },
       "Błędna wartość skali lub położenia wydruku w konfiguracji: abc"},
      {"offset empty", [](Partia& w) { w.p->konfig()->PoTrY->setText(""); },
       "Błędna wartość skali lub położenia wydruku w konfiguracji: "},
      {"scale zero", [](Partia& w) { w.p->konfig()->SkTrY->setText("0,000"); },
       "Błędna wartość skali lub położenia wydruku w konfiguracji: 0,000"},
      {"no register", [](Partia& w) { QFile::remove(w.plik()); }, "Brak pliku danych"},
  };
  for (const auto& c : cases) {
    Partia w;
    c.przygotuj(w);
    const std::string przed = w.bajty();
    w.printers.selections.clear();
    w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8(c.komunikat));
    drukujKarty(*w.p, {0, 1});
    EXPECT_TRUE(w.dialogs.scriptDone()) << c.name;
    EXPECT_EQ(w.dialogs.messages(), QStringList{QString::fromUtf8(c.komunikat)}) << c.name;
    EXPECT_TRUE(w.printers.jobs.empty()) << c.name;
    EXPECT_EQ(w.bajty(), przed) << c.name;
    EXPECT_EQ(QFile::exists(w.plik()), !przed.empty()) << c.name << ": never created";
  }
}

TEST(CardBatch, ARegisterThatCannotBeOpenedGivesTheSystemsText) {
  Partia w;
  QFile::remove(w.plik());
  ASSERT_TRUE(QDir().mkdir(w.plik()));  // a folder in the register's place
  w.dialogs.expectMessage(platform::IdOk);
  drukujKarty(*w.p, {0});
  ASSERT_EQ(w.dialogs.messages().size(), 1);
  EXPECT_FALSE(w.dialogs.messages()[0].isEmpty());
  EXPECT_NE(w.dialogs.messages()[0], "Brak pliku danych");
  EXPECT_TRUE(w.printers.jobs.empty());
  EXPECT_TRUE(QFileInfo(w.plik()).isDir());
}

// The card editor's print: the current record as one job, no count changed, a failed job said.
TEST(CardBatch, TheCardEditorPrintsTheCurrentRecord) {
  Partia w;
  const std::string przed = w.bajty();
  w.p->aktualnyRekord = w.recs[1];
  w.p->edycja()->drukujkarte();
  ASSERT_EQ(w.printers.jobs.size(), 1u);
  EXPECT_TRUE(w.printers.jobs[0].ended());
  EXPECT_EQ(wRzedzie(w.printers.jobs[0], Pole::P01), "T1");
  EXPECT_EQ(w.bajty(), przed);

  w.printers.failEndOfJob = 2;
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd w czasie drukowania: Drukarka niedostępna"));
  w.p->edycja()->drukujkarte();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_TRUE(w.printers.jobs[1].aborted());
}

TEST(CardBatch, SetAtStartUpAsTheMainWindowsWork) {
  Partia w;
  auto& g = *w.p->glowny();
  ASSERT_TRUE(bool(g.drukujKarty));
  EXPECT_TRUE(g.Niewydrukowane1->isEnabled());
  g.drukujKarty({1});
  EXPECT_EQ(w.printers.jobs.size(), 1u);
  EXPECT_EQ(w.licznik(w.bajty(), 1), 1);
}

}  // namespace
