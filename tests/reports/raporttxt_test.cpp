#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "platform/clock.h"
#include "platform/cp1250.h"
#include "register/listykarty.h"
#include "reports/konwersja.h"
#include "reports/raporttxt.h"
#include "reports/uwagi.h"
#include "reports/rekordy.h"

using zelt::generujtxt;
using zelt::ListyKarty;
using zelt::TRekordTransakcji;
using namespace rekordy;

namespace {

// The field numbers of a record line, in their order.
std::vector<int> pola(const std::string& linia) {
  std::vector<int> out;
  for (std::size_t i = linia.find(';'); i != std::string::npos && i + 3 < linia.size(); i = linia.find(';', i + 1))
    if (std::isdigit(static_cast<unsigned char>(linia[i + 1])) && linia[i + 3] == ':')
      out.push_back((linia[i + 1] - '0') * 10 + (linia[i + 2] - '0'));
  return out;
}

TEST(RecordLine, Golden) {
  const auto listy = ListyKarty::wbudowane();
  EXPECT_EQ(generujtxt(minimalny(), listy), "DA;02:           7;03:20250102;04:00000123;05:1;\r\n");

  const std::string pelna =
      "DA;01:000000000000000000000TR/1;02:          12;03:20250102;04:00000005;05:0;"
      "06:  12;07:1;08:0000;09:2;10:Dok-\xB1;11:20250101;12:\xA3\xF3" "d\xBC;13:100,5\xB9;14:PLN;15:25;16:EUR;"
      "17:02;18:\xAF\xF3\xB3w;19: D;20:PL;21:00-950;22:W\xB1" "chock;23:\xA6lusarska 1;24:44051401359;25:  1234567;"
      "26:0000012345;27:BPKOPLPW;28: 123456789;29:DO;30:ABC\xB9;"
      "31:00;32:Firma P;33: C;34:11-000;35:Praha;36:Hlavni;"
      "37:22;38:Bank;39:FR;40:75001;41:Paris;42:Rue 3;43:PL61;44:DE89;"
      "45:[45:inne][06:a][07:b][08:c][09:d][19:f][29:g][31:h][37:\xB6];\r\n";
  EXPECT_EQ(generujtxt(pelny(), listy), pelna);

  // An ordering party with a type and no name: none of its fields, but its remarks.
  TRekordTransakcji r = minimalny();
  r.zTypPo = 0;
  r.zObyw = "DE";
  r.zNrPes = "44051401359";
  r.uwzTypPo = "z";
  r.uwzObyw = "x";
  r.uwzRodzDokTo = "y";
  EXPECT_EQ(generujtxt(r, listy), "DA;02:           7;03:20250102;04:00000123;05:1;45:[17:z][19:x][29:y];\r\n");
}

TEST(RecordLine, PresenceOfEachGatedField) {
  const auto listy = ListyKarty::wbudowane();
  using R = TRekordTransakcji;
  struct C {
    const char* nazwa;
    std::function<void(R&)> zmiana;
    std::set<int> brak;
  } cases[] = {
      {"nrEwT empty", [](R& r) { r.nrEwT.clear(); }, {1}},
      {"kRodzTr empty", [](R& r) { r.kRodzTr.clear(); }, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 43, 44}},
      {"kPwz unset", [](R& r) { r.kPwz = -1; }, {7}},
      {"kPwz negative", [](R& r) { r.kPwz = -4; }, {7}},
      {"kPdjrz empty", [](R& r) { r.kPdjrz.clear(); }, {8}},
      {"kPdjrz four blanks", [](R& r) { r.kPdjrz = "    "; }, {8}},
      {"spDysp unset", [](R& r) { r.spDysp = -1; }, {9}},
      {"nrDokT", [](R& r) { r.nrDokT.clear(); }, {10}},
      {"tM", [](R& r) { r.tM.clear(); }, {12}},
      {"tKw", [](R& r) { r.tKw.clear(); }, {13}},
      {"tJ", [](R& r) { r.tJ.clear(); }, {14}},
      {"tKwZ", [](R& r) { r.tKwZ.clear(); }, {15}},
      {"tJZ", [](R& r) { r.tJZ.clear(); }, {16}},
      {"zTypPo unset", [](R& r) { r.zTypPo = -1; }, {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}},
      {"zNz empty", [](R& r) { r.zNz.clear(); }, {17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}},
      {"zObyw", [](R& r) { r.zObyw.clear(); }, {19}},
      {"zAdrKr", [](R& r) { r.zAdrKr.clear(); }, {20}},
      {"zAdrKod", [](R& r) { r.zAdrKod.clear(); }, {21}},
      {"zAdrM", [](R& r) { r.zAdrM.clear(); }, {22}},
      {"zAdrUl", [](R& r) { r.zAdrUl.clear(); }, {23}},
      {"zNrPes", [](R& r) { r.zNrPes.clear(); }, {24}},
      {"zNrReg", [](R& r) { r.zNrReg.clear(); }, {25}},
      {"zNrReS", [](R& r) { r.zNrReS.clear(); }, {26}},
      {"zNrSwt", [](R& r) { r.zNrSwt.clear(); }, {27}},
      {"zNip", [](R& r) { r.zNip.clear(); }, {28}},
      {"zRodzDokTo unset", [](R& r) { r.zRodzDokTo = -1; }, {29}},
      {"zNrDokTo", [](R& r) { r.zNrDokTo.clear(); }, {30}},
      {"pTypPo unset", [](R& r) { r.pTypPo = -1; }, {31, 32, 33, 34, 35, 36}},
      {"pNz empty", [](R& r) { r.pNz.clear(); }, {31, 32, 33, 34, 35, 36}},
      {"pAdrKr", [](R& r) { r.pAdrKr.clear(); }, {33}},
      {"pAdrKod", [](R& r) { r.pAdrKod.clear(); }, {34}},
      {"pAdrM", [](R& r) { r.pAdrM.clear(); }, {35}},
      {"pAdrUl", [](R& r) { r.pAdrUl.clear(); }, {36}},
      {"bTypPo unset", [](R& r) { r.bTypPo = -1; }, {37, 38, 39, 40, 41, 42}},
      {"bNz empty", [](R& r) { r.bNz.clear(); }, {37, 38, 39, 40, 41, 42}},
      {"bAdrKr", [](R& r) { r.bAdrKr.clear(); }, {39}},
      {"bAdrKod", [](R& r) { r.bAdrKod.clear(); }, {40}},
      {"bAdrM", [](R& r) { r.bAdrM.clear(); }, {41}},
      {"bAdrUl", [](R& r) { r.bAdrUl.clear(); }, {42}},
      {"nrRachZ", [](R& r) { r.nrRachZ.clear(); }, {43}},
      {"nrRachN", [](R& r) { r.nrRachN.clear(); }, {44}},
      {"no remarks",
       [](R& r) {
         for (auto* s : {&r.uwInne, &r.uwkRodzTr, &r.uwkPwz, &r.uwkPdjrz, &r.uwspDysp, &r.uwzTypPo, &r.uwzObyw,
                         &r.uwzRodzDokTo, &r.uwpTypPo, &r.uwbTypPo})
           s->clear();
       },
       {45}},
  };
  for (const C& c : cases) {
    R r = pelny();
    c.zmiana(r);
    std::vector<int> oczekiwane;
    for (int nr = 1; nr <= 45; ++nr)
      if (!c.brak.count(nr)) oczekiwane.push_back(nr);
    EXPECT_EQ(pola(generujtxt(r, listy)), oczekiwane) << c.nazwa;
  }
}

TEST(RecordLine, FourBlankKindCodeIsAKindCode) {
  TRekordTransakcji r = minimalny();
  r.kRodzTr = "    ";
  r.kPdjrz = "    ";
  r.tDat = k20250101;
  EXPECT_EQ(generujtxt(r, ListyKarty::wbudowane()),
            "DA;02:           7;03:20250102;04:00000123;05:1;06:    ;11:20250101;\r\n");
}

TEST(RecordLine, Formats) {
  const auto listy = ListyKarty::wbudowane();
  TRekordTransakcji r = pelny();
  r.nrEwT = "12";
  r.jedIO = "";
  r.zObyw = "P";
  r.zNrPes = "123456789012";  // longer than its width: whole
  r.zNrReg = "1";
  r.zNip = "1234567890";
  r.Status = -2;
  const std::string linia = generujtxt(r, listy);
  for (const char* czesc : {";01:0000000000000000000000012;", ";04:00000000;", ";05:-2;", ";19: P;", ";24:123456789012;",
                            ";25:        1;", ";28:1234567890;", ";18:\xAF\xF3\xB3w;", ";13:100,5\xB9;"})
    EXPECT_NE(linia.find(czesc), std::string::npos) << czesc << " in " << linia;
}

TEST(RecordLine, SeparatorsInsideValues) {
  // A ";" of any value as ",", a remark's brackets as parentheses; the general remark that reads
  // as a field's with one blank in front.
  TRekordTransakcji r = minimalny();
  r.kRodzTr = "0101";
  r.tDat = k20250101;
  r.tM = "a;b";
  r.tKw = "1;5";
  r.zTypPo = 1;
  r.zNz = u("Kowal; Syn [ą]");
  r.uwInne = "[x];";
  r.uwkRodzTr = "y]z[";
  r.uwzObyw = u("[Šimon];");
  EXPECT_EQ(generujtxt(r, ListyKarty::wbudowane()),
            "DA;02:           7;03:20250102;04:00000123;05:1;06:0101;11:20250101;12:a,b;13:1,5;"
            "17:01;18:Kowal, Syn [\xB1];45:[(x),][06:y)z(][19:(\xA9imon),];\r\n");
  r.uwInne = u("06:ogólna");
  const std::string linia = generujtxt(r, ListyKarty::wbudowane());
  EXPECT_EQ(linia.substr(linia.find(";45:")), ";45:[ 06:og\xF3lna][06:y)z(][19:(\xA9imon),];\r\n");
}

TEST(RecordLine, FaultsOfStoredData) {
  ListyKarty listy = ListyKarty::wbudowane();
  TRekordTransakcji r = minimalny();
  r.zTypPo = 1;
  r.zNz = "Jan\r\nKowal\tski";
  r.zRodzDokTo = 9;
  r.pTypPo = 30;
  r.pNz = "P";
  r.bTypPo = 5;
  r.bNz = "B";
  r.rejDat = std::nan("");
  const std::string linia = generujtxt(r, listy);
  EXPECT_EQ(linia, "DA;02:           7;03:00000000;04:00000123;05:1;17:01;18:Jan  Kowal ski;31:30;32:P;37:05;38:B;\r\n");

  r.zTypPo = 30;
  EXPECT_NE(generujtxt(r, listy).find(";17:30;18:"), std::string::npos);

  // A shorter dictionary: a type past its end is written as its two digits.
  listy.bTypPo.resize(3);
  r.bTypPo = 4;
  EXPECT_NE(generujtxt(r, listy).find(";37:04;"), std::string::npos);
  // A document kind inside the list is written by its code.
  r.zRodzDokTo = 5;
  EXPECT_NE(generujtxt(r, listy).find(";29:KC;"), std::string::npos);

  for (double d : {std::nan(""), double(INFINITY), -1e9, 3e6})
    EXPECT_EQ(zelt::dataRaportu(d), "00000000") << d;
  EXPECT_EQ(zelt::dataRaportu(platform::dateToDays(QDate(1, 1, 1))), "00010101");
  EXPECT_EQ(zelt::dataRaportu(platform::dateToDays(QDate(9999, 12, 31))), "99991231");
}

TEST(Remarks, OrderAndGates) {
  using R = TRekordTransakcji;
  auto wszystkie = [] {
    R r;
    r.kRodzTr = "1";
    r.zTypPo = 0;
    r.pTypPo = 3;
    r.bTypPo = 4;
    r.uwInne = "i";
    r.uwkRodzTr = "6";
    r.uwkPwz = "7";
    r.uwkPdjrz = "8";
    r.uwspDysp = "9";
    r.uwzTypPo = "17";
    r.uwzObyw = "19";
    r.uwzRodzDokTo = "29";
    r.uwpTypPo = "31";
    r.uwbTypPo = u("ą");
    return r;
  };
  const std::string pelny = "[i][06:6][07:7][08:8][09:9][17:17][19:19][29:29][31:31][37:\xB1]";
  struct C {
    const char* nazwa;
    std::function<void(R&)> zmiana;
    std::string oczekiwany;
  } cases[] = {
      {"all", [](R&) {}, pelny},
      {"no kind code", [](R& r) { r.kRodzTr.clear(); }, "[i][17:17][19:19][29:29][31:31][37:\xB1]"},
      {"ordering type 1", [](R& r) { r.zTypPo = 1; }, "[i][06:6][07:7][08:8][09:9][19:19][29:29][31:31][37:\xB1]"},
      {"ordering type unset", [](R& r) { r.zTypPo = -1; }, "[i][06:6][07:7][08:8][09:9][31:31][37:\xB1]"},
      {"other types unset", [](R& r) { r.pTypPo = r.bTypPo = -1; }, "[i][06:6][07:7][08:8][09:9][17:17][19:19][29:29]"},
      {"one remark empty", [](R& r) { r.uwkPwz.clear(); }, "[i][06:6][08:8][09:9][17:17][19:19][29:29][31:31][37:\xB1]"},
      {"no general remark", [](R& r) { r.uwInne.clear(); }, pelny.substr(3)},
      {"a general remark that reads as a field's: one blank in front", [](R& r) { r.uwInne = "06:x"; },
       "[ 06:x]" + pelny.substr(3)},
      {"one blank more in front of blanks", [](R& r) { r.uwInne = " 37:x"; }, "[  37:x]" + pelny.substr(3)},
      {"a control that the writer blanks counts as a blank", [](R& r) { r.uwInne = "\t19:x"; }, "[  19:x]" + pelny.substr(3)},
      {"a number without a remark of its own", [](R& r) { r.uwInne = "13:x"; }, "[13:x]" + pelny.substr(3)},
      {"no colon", [](R& r) { r.uwInne = "06 x"; }, "[06 x]" + pelny.substr(3)},
      {"a field's remark is never moved", [](R& r) { r.uwkRodzTr = "07:x"; }, "[i][06:07:x]" + pelny.substr(9)},
      {"brackets in any remark", [](R& r) { r.uwInne = "[a]]"; r.uwbTypPo = "[["; },
       "[(a))]" + pelny.substr(3, pelny.size() - 3 - 6) + "[37:((]"},
  };
  auto tr = [](std::string_view t) { return zelt::wartoscRaportu(t, false); };
  for (const C& c : cases) {
    R r = wszystkie();
    c.zmiana(r);
    EXPECT_EQ(zelt::lancuchUwag(r, zelt::BramkiUwag::Raport, tr), c.oczekiwany) << c.nazwa;
  }
  // The register list shows every remark, ungated and as stored.
  R r = wszystkie();
  r.kRodzTr.clear();
  r.zTypPo = r.pTypPo = r.bTypPo = -1;
  EXPECT_EQ(zelt::tekstKomorki("Uwagi", r, 0, ListyKarty::wbudowane()),
            "[i][06:6][07:7][08:8][09:9][17:17][19:19][29:29][31:31][37:\xB9]");
}

TEST(HeaderAndTrailer, Bytes) {
  platform::FixedClock zegar(QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5)));
  EXPECT_EQ(zelt::naglowekTxt(zegar.now(), "123456789"), "HE20250102030405123456789\r\n");
  EXPECT_EQ(zelt::naglowekTxt(zegar.now(), "12-3\n"), "HE2025010203040512-3 \r\n");
  zegar.set(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)));
  EXPECT_EQ(zelt::naglowekTxt(zegar.now(), ""), "HE20251231235959\r\n");
  EXPECT_EQ(zelt::stopkaTxt(12), "TR00000012\r\n");
  EXPECT_EQ(zelt::stopkaTxt(0), "TR00000000\r\n");
  EXPECT_EQ(zelt::stopkaTxt(123456789), "TR123456789\r\n");
}

}  // namespace
