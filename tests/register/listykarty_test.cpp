#include <gtest/gtest.h>

#include "platform/cp1250.h"
#include "register/listykarty.h"

using zelt::ListyKarty;
using zelt::TRekordTransakcji;
using zelt::tekstKomorki;

namespace {

std::string u(const char* utf8) { return cp1250::fromUtf8(utf8); }

TEST(ListyKarty, BuiltInLists) {
  const auto l = ListyKarty::wbudowane();
  EXPECT_EQ(l.zTypPo.size(), 23u);
  EXPECT_EQ(l.pTypPo.size(), 23u);
  EXPECT_EQ(l.zTypPo[0], u("00 - inne - w polu uwagi podać szczegóły"));
  EXPECT_EQ(l.pTypPo[0], u("00 - inne")) << "the other party lists differ in item 0";
  EXPECT_EQ(l.bTypPo[0], u("00 - inne"));
  EXPECT_EQ(l.zTypPo[22], l.pTypPo[22]);
  for (size_t i = 0; i < l.zTypPo.size(); ++i) EXPECT_EQ(std::stoi(l.zTypPo[i].substr(0, 2)), int(i));
  EXPECT_NE(l.zTypPo[21].find(u("zwany dalej \"przedsiębiorstwem zagranicznym\"")), std::string::npos);
  EXPECT_EQ(l.kPdjrz.size(), 3u);
  EXPECT_EQ(l.kPdjrz[0], "");
  EXPECT_EQ(l.spDysp.size(), 6u);
  EXPECT_EQ(l.zRodzDokTo[1].substr(0, 2), "DO");
  EXPECT_EQ(l.Status[1], "1 - nowa transakcja");
}

TEST(RowTexts, Info) {
  const auto l = ListyKarty::wbudowane();
  struct C {
    int err, warn, printed, sent;
    const char* info;
  } cases[] = {{0, 0, 0, 0, ""}, {2, 1, 1, 1, "2B;1O;D;W"}, {0, 2, 1, 0, "2O;D"}, {0, 0, 0, 3, "W"}, {12, 0, 0, 0, "12B"}};
  for (auto c : cases) {
    TRekordTransakcji r;
    r.ilBledow = uint8_t(c.err);
    r.ilOstrzezen = uint8_t(c.warn);
    r.ilWydrukow = uint8_t(c.printed);
    r.ilWyslan = uint8_t(c.sent);
    EXPECT_EQ(tekstKomorki("Info", r, 0, l), c.info);
  }
}

TEST(RowTexts, RemarksInTheirShownOrder) {
  const auto l = ListyKarty::wbudowane();
  TRekordTransakcji r;
  r.uwInne = "45:x";
  r.uwkRodzTr = "a";
  r.uwkPwz = "b";
  r.uwkPdjrz = "c";
  r.uwspDysp = "d";
  r.uwzTypPo = "e";
  r.uwzRodzDokTo = "g";
  r.uwzObyw = "f";
  r.uwpTypPo = "h";
  r.uwbTypPo = "i";
  EXPECT_EQ(tekstKomorki("Uwagi", r, 0, l), "[45:x][06:a][07:b][08:c][09:d][17:e][19:f][29:g][31:h][37:i]");
  r = TRekordTransakcji{};
  r.uwzObyw = "PL";
  EXPECT_EQ(tekstKomorki("Uwagi", r, 0, l), "[19:PL]");
}

TEST(RowTexts, CellsByCode) {
  const auto l = ListyKarty::wbudowane();
  TRekordTransakcji r;
  r.kRodzTr = "0607";
  r.rejDat = 39146.0;
  r.tDat = 39147.0;
  r.Status = 0;
  r.kPwz = 1;
  r.spDysp = 40;  // beyond the list: shown empty
  r.zTypPo = -1;
  r.pTypPo = 0;
  r.nrRachN = "PL61";
  r.zNz = u("Łoś");
  r.tKw = "10,00";
  struct C {
    const char* kod;
    std::string text;
  } cases[] = {
      {"Lp", "8"},
      {"rejDat", "2007/03/05"},
      {"tDat", "2007/03/06"},
      {"Status", "0 - korekta transakcji"},
      {"kPwz", u("1 - transakcja powiązana")},
      {"spDysp", ""},
      {"zTypPo", ""},
      {"pTypPo", "00 - inne"},
      {"nrRachNa", "PL61"},
      {"zNz", u("Łoś")},
      {"tKw", "10,00"},
      {"nieznany", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(tekstKomorki(c.kod, r, 7, l), c.text) << c.kod;
  r.rejDat = std::nan("");
  EXPECT_EQ(tekstKomorki("rejDat", r, 7, l), "") << "no date, no text, no exception";
}

TEST(RowTexts, NoTransactionKindHidesTheTransactionCells) {
  const auto l = ListyKarty::wbudowane();
  for (const char* kind : {"", "    "}) {
    TRekordTransakcji r;
    r.kRodzTr = kind;
    r.kPwz = 1;
    r.kPdjrz = "0000";
    r.spDysp = 1;
    r.nrDokT = "D";
    r.tDat = 39146.0;
    r.tM = "M";
    r.tKw = "1";
    r.tJ = "PLN";
    r.tKwZ = "2";
    r.tJZ = "EUR";
    r.nrEwT = "T1";
    r.rejDat = 39146.0;
    for (const char* kod : {"kRodzTr", "kPwz", "kPdjrz", "spDysp", "nrDokT", "tDat", "tM", "tKw", "tJ", "tKwZ", "tJZ"})
      EXPECT_EQ(tekstKomorki(kod, r, 0, l), "") << kod << " for kind '" << kind << "'";
    EXPECT_EQ(tekstKomorki("nrEwT", r, 0, l), "T1");
    EXPECT_EQ(tekstKomorki("rejDat", r, 0, l), "2007/03/05");
    EXPECT_EQ(tekstKomorki("Status", r, 0, l), "1 - nowa transakcja");
  }
}

}  // namespace

#include "register/program.h"
#include "support/world.h"

namespace {

TEST(ListyKarty, DictionariesOfTheWorkingFolder) {
  testing_world::World w;
  testing_world::World::writeFile(w.workFolder() + "/podmioty.txt", "00 - x\r\n01 - y\r\n");
  testing_world::World::writeFile(w.workFolder() + "/podejrza.txt", "");
  auto l = ListyKarty::wbudowane();
  zelt::wczytajListyKarty(w.program(), l);
  EXPECT_EQ(l.zTypPo, std::vector<std::string>({"00 - x", "01 - y"}));
  EXPECT_EQ(l.pTypPo, l.zTypPo) << "one file serves all three party lists";
  EXPECT_EQ(l.bTypPo, l.zTypPo);
  EXPECT_EQ(l.kPdjrz, std::vector<std::string>({""})) << "an empty file gives one empty item";
  EXPECT_EQ(l.spDysp.size(), 6u);
  const QStringList expected = {QString::fromUtf8("ładowanie kodów transakcji podejrzanych"),
                                QString::fromUtf8("ładowanie kodów sposobów wydania dyspozycji"),
                                QString::fromUtf8("ładowanie kodów sposobów wydania dyspozycji - brak pliku"),
                                QString::fromUtf8("ładowanie typów dokumentów"),
                                QString::fromUtf8("ładowanie typów dokumentów - brak pliku"),
                                QString::fromUtf8("ładowanie kodów podmiotów")};
  EXPECT_EQ(w.program().splashLines, expected);
}

}  // namespace
