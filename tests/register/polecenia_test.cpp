// The register commands without the window: chosen rows and their records, the batches handed to
// the card print and the send, the delete, the status labels and the list's size.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <algorithm>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "register/polecenia.h"
#include "settings/kolumny.h"
#include "swiatrejestru.h"

using swiat::rekord;
using swiat::usuniety;
using zelt::TRekordTransakcji;

namespace {

TEST(ChosenRows, SelectionOrCurrentRowAndStrictRecordNumbers) {
  swiat::Lista l;
  EXPECT_TRUE(zelt::wybraneWiersze(l.m).empty()) << "an empty list chooses nothing";
  for (const char* lp : {"1", "12", "", "0", "01", "1a", " 1", "-1", "3"}) l.wiersz(std::string(lp));
  EXPECT_EQ(zelt::wybraneWiersze(l.m), std::vector<int>{0}) << "the current row alone";
  l.m.SetDataRow(4);
  EXPECT_EQ(zelt::wybraneWiersze(l.m), std::vector<int>{4});

  const int expected[] = {0, 11, -1, -1, -1, -1, -1, -1, 2};
  for (int r = 0; r < 9; ++r) {
    const auto n = zelt::numerRekordu(l.m, l.lp(), r);
    EXPECT_EQ(n ? *n : -1, expected[r]) << "row " << r << " \"" << l.m.Cells(l.lp(), r) << '"';
  }
  EXPECT_FALSE(zelt::numerRekordu(l.m, -1, 0)) << "a list without Lp shows no record";
  EXPECT_EQ(zelt::rekordyWierszy(l.m, l.lp(), {0, 1, 2, 3, 8}), (std::vector<std::int32_t>{0, 11, 2}))
      << "rows without a record number are skipped";
}

TEST(ChosenRows, ARangeOfRows) {
  swiat::Lista l;
  for (int i = 0; i < 6; ++i) l.wiersz(i);
  // Shift+Down from row 1 extends the selection to rows 1..3.
  l.m.SetDataRow(1);
  l.m.MoveCurrent(0, 3, false);
  l.m.MoveCurrent(0, 4, false);
  EXPECT_EQ(zelt::wybraneWiersze(l.m), (std::vector<int>{1, 2, 3}));
}

// Three cards: A (records 0, 2, 5, with a deleted member at 3), B (1), C (4).
std::vector<TRekordTransakcji> trzyKarty() {
  return {rekord("A"), rekord("B"), rekord("A"), usuniety(rekord("A")), rekord("C"), rekord("A")};
}

TEST(Batches, WithLinkedRecords) {
  swiat::SwiatRejestru w;
  EXPECT_FALSE(zelt::zPowiazanymi(w.plik(), {0})) << "no file: the command does nothing";
  w.zapisz(trzyKarty());
  struct Case {
    std::vector<std::int32_t> chosen;
    std::vector<std::int32_t> expected;
  } cases[] = {
      {{5}, {0, 2, 5}},
      {{4, 2}, {0, 2, 4, 5}},
      {{0, 2, 5}, {0, 2, 5}},  // three rows of one card add each record once
      {{}, {}},
  };
  for (const auto& c : cases) {
    const auto b = zelt::zPowiazanymi(w.plik(), c.chosen);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->rekordy, c.expected);
    EXPECT_FALSE(b->obciete || b->obcieteNumery);
  }
}

TEST(Batches, UnprintedAndUnsent) {
  swiat::SwiatRejestru w;
  EXPECT_FALSE(zelt::bezLicznika(w.plik(), zelt::Licznik::Wydruki));
  auto recs = trzyKarty();
  recs[0].ilWydrukow = 1;
  recs[2].ilWyslan = 3;
  recs[3].ilWydrukow = 0;  // deleted: never offered
  w.zapisz(recs);
  EXPECT_EQ(zelt::bezLicznika(w.plik(), zelt::Licznik::Wydruki)->rekordy, (std::vector<std::int32_t>{1, 2, 4, 5}));
  EXPECT_EQ(zelt::bezLicznika(w.plik(), zelt::Licznik::Wyslania)->rekordy, (std::vector<std::int32_t>{0, 1, 4, 5}));

  swiat::SwiatRejestru printed;
  for (auto& r : recs) r.ilWydrukow = 1;
  printed.zapisz(recs);
  const auto none = zelt::bezLicznika(printed.plik(), zelt::Licznik::Wydruki);
  ASSERT_TRUE(none) << "everything printed hands on an empty batch";
  EXPECT_TRUE(none->rekordy.empty());
}

TEST(Batches, AreCutAtTheirLimits) {
  swiat::SwiatRejestru w;
  std::vector<TRekordTransakcji> recs;
  for (int i = 0; i < 1001; ++i) recs.push_back(rekord("N" + std::to_string(i)));
  w.zapisz(recs);

  const auto unprinted = zelt::bezLicznika(w.plik(), zelt::Licznik::Wydruki);
  ASSERT_EQ(unprinted->rekordy.size(), 1000u);
  EXPECT_EQ(unprinted->rekordy.back(), 999);
  EXPECT_TRUE(unprinted->obciete);
  EXPECT_FALSE(unprinted->obcieteNumery);
  EXPECT_FALSE(zelt::komunikatWyboru(*unprinted).isEmpty());

  std::vector<std::int32_t> chosen;
  for (int i = 0; i < 501; ++i) chosen.push_back(i);
  const auto linked = zelt::zPowiazanymi(w.plik(), chosen);
  ASSERT_EQ(linked->rekordy.size(), 500u) << "500 transaction numbers, one record each";
  EXPECT_TRUE(linked->obcieteNumery);
  EXPECT_FALSE(linked->obciete);

  swiat::Lista l;
  for (int i = 0; i < 1001; ++i) l.wiersz(i);
  std::vector<int> rows;
  for (int i = 0; i < 1001; ++i) rows.push_back(i);
  const auto only = zelt::tylkoWybrane(l.m, l.lp(), rows);
  EXPECT_EQ(only.rekordy.size(), 1000u);
  EXPECT_TRUE(only.obciete);
  EXPECT_TRUE(zelt::komunikatWyboru(zelt::tylkoWybrane(l.m, l.lp(), {0})).isEmpty());
}

const QString kPytanie = QString::fromUtf8("Czy napewno chcesz usunąć wskazane karty transakcji ?");
const QString kOdmowa = QString::fromUtf8("Usunięcie po wydruku lub wysłaniu danych niemożliwe");

TEST(Delete, PrintedAndSentRecordsAreKept) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> counts;  // printed, sent of records 0..2
    int answer;
    std::vector<int> rows;
    std::vector<int> deleted;
    int refusals;
  } cases[] = {
      {"middle one printed", {{0, 0}, {1, 0}, {0, 0}}, platform::IdOk, {0, 1, 2}, {0, 2}, 1},
      {"sent only", {{0, 0}, {0, 1}, {0, 0}}, platform::IdOk, {1}, {}, 1},
      {"one plain record", {{0, 0}, {0, 0}, {0, 0}}, platform::IdOk, {2}, {2}, 0},
      {"cancel", {{0, 0}, {0, 0}, {0, 0}}, platform::IdCancel, {0, 1, 2}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    swiat::SwiatRejestru w;
    std::vector<TRekordTransakcji> recs;
    for (int i = 0; i < 3; ++i) {
      TRekordTransakcji r = rekord("T" + std::to_string(i));
      r.ilWydrukow = std::uint8_t(c.counts[i].first);
      r.ilWyslan = std::uint8_t(c.counts[i].second);
      recs.push_back(r);
    }
    w.zapisz(recs);
    const std::string before = testing_world::World::readFile(w.plik());
    swiat::Lista l;
    for (int i = 0; i < 3; ++i) l.wiersz(i);
    w.dialogs.expectMessage(c.answer, kPytanie);
    for (int i = 0; i < c.refusals; ++i) w.dialogs.expectMessage(platform::IdOk, kOdmowa);

    EXPECT_EQ(zelt::usunKarty(w.plik(), l.m, l.lp(), c.rows, w.dialogs), int(c.deleted.size()));
    const auto after = w.rekordy();
    ASSERT_EQ(after.size(), 3u) << "records are never removed from the file";
    std::vector<std::string> rowsLeft;
    for (int r = 0; r < l.m.RowCount(); ++r) rowsLeft.push_back(l.m.Cells(l.lp(), r));
    std::vector<std::string> expectedRows;
    for (int i = 0; i < 3; ++i) {
      const bool gone = std::count(c.deleted.begin(), c.deleted.end(), i) > 0;
      EXPECT_EQ(after[i].Status, gone ? 99 : 1) << "record " << i;
      TRekordTransakcji unchanged = after[i];
      unchanged.Status = 1;
      EXPECT_EQ(unchanged, recs[i]) << "only the status changes";
      if (!gone) expectedRows.push_back(std::to_string(i + 1));
    }
    EXPECT_EQ(rowsLeft, expectedRows);
    if (c.deleted.empty()) {
      EXPECT_EQ(testing_world::World::readFile(w.plik()), before);
    }
    EXPECT_EQ(w.dialogs.messages().size(), std::size_t(1 + c.refusals)) << "the question and one refusal a row";
  }
}

TEST(Delete, NothingChosen) {
  swiat::SwiatRejestru w;
  swiat::Lista l;
  EXPECT_EQ(zelt::usunKarty(w.plik(), l.m, l.lp(), {}, w.dialogs), 0) << "no question for no rows";
}

// A register that has vanished, or cannot be written, is reported with the system's reason after
// the question; nothing is deleted, created or removed from the list.
TEST(Delete, ARegisterThatCannotBeOpenedIsReported) {
  const QString kNieMozna = QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: ");
  struct Case {
    const char* name;
    std::function<void(swiat::SwiatRejestru&)> setUp;
    const char* reason;  // a part of the system's text (Qt's own texts are in Polish)
  } cases[] = {
      {"vanished", [](swiat::SwiatRejestru& w) { QDir().mkpath(w.baza()); }, "Brak pliku"},
      {"a link to nothing",
       [](swiat::SwiatRejestru& w) {
         QDir().mkpath(w.baza());
         ASSERT_TRUE(QFile::link(w.baza() + "/zniknal.dat", w.plik()));
       },
       "Brak pliku"},
      {"a folder in its place", [](swiat::SwiatRejestru& w) { QDir().mkpath(w.plik()); }, "directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    swiat::SwiatRejestru w;
    c.setUp(w);
    swiat::Lista l;
    l.wiersz(0);
    w.dialogs.expectMessage(platform::IdOk, kPytanie);
    w.dialogs.expectMessage(platform::IdOk, kNieMozna);
    EXPECT_EQ(zelt::usunKarty(w.plik(), l.m, l.lp(), {0}, w.dialogs), 0);
    ASSERT_EQ(w.dialogs.messages().size(), 2u);
    EXPECT_TRUE(w.dialogs.messages()[1].contains(QString::fromUtf8(c.reason), Qt::CaseInsensitive))
        << w.dialogs.messages()[1].toStdString();
    EXPECT_FALSE(QFileInfo(w.plik()).isFile()) << "a delete never creates the register";
    EXPECT_FALSE(QFile::exists(w.baza() + "/zniknal.dat"));
    EXPECT_EQ(l.m.RowCount(), 1);
  }
}

// Deleted records are evidence: a delete changes the four Status bytes of each record it deletes
// and no other byte, also none beyond a text's length nor an over-long length byte.
TEST(Delete, OnlyTheFourStatusBytesChange) {
  swiat::SwiatRejestru w;
  // Three records written byte by byte: every byte a pattern, so that each text holds bytes past
  // its length; record 0's number has a length byte of 200 over its capacity of 25.
  std::string file;
  for (int r = 0; r < 3; ++r) {
    std::string rec(3512, '\0');
    for (int i = 0; i < 3512; ++i) rec[i] = static_cast<char>((i * 7 + r * 13 + 5) & 0xFF);
    rec[0] = static_cast<char>(r == 0 ? 200 : 3);
    rec.replace(56, 4, std::string("\x01\x00\x00\x00", 4));         // Status 1
    rec.replace(3379, 4, std::string("\x00\x05\x02\x00", 4));       // printed 0, 5 warnings, 2 errors, sent 0
    if (r == 1) rec[3379] = 1;                                        // record 1 printed once
    file += rec;
  }
  QDir().mkpath(w.baza());
  testing_world::World::writeFile(w.plik(), file);
  swiat::Lista l;
  for (int i = 0; i < 3; ++i) l.wiersz(i);
  w.dialogs.expectMessage(platform::IdOk, kPytanie);
  w.dialogs.expectMessage(platform::IdOk, kOdmowa);
  EXPECT_EQ(zelt::usunKarty(w.plik(), l.m, l.lp(), {0, 1, 2}, w.dialogs), 2);
  std::string expected = file;
  for (int r : {0, 2}) expected.replace(r * 3512 + 56, 4, std::string("\x63\x00\x00\x00", 4));  // 99
  const std::string after = testing_world::World::readFile(w.plik());
  ASSERT_EQ(after.size(), expected.size());
  int differing = 0;
  for (std::size_t i = 0; i < after.size(); ++i) differing += after[i] != expected[i];
  EXPECT_EQ(differing, 0);
  EXPECT_NE(after, file);
}

// A delete of several rows is one change of the register: a row whose record cannot be read
// ends the command before anything is marked.
TEST(Delete, AReadErrorHalfWayDeletesNothing) {
  swiat::SwiatRejestru w;
  w.zapisz({rekord("A"), rekord("B")});
  const std::string przed = w.readFile(w.plik());
  swiat::Lista l;
  l.wiersz(0);
  l.wiersz(7);  // a row whose record the file does not hold
  l.wiersz(1);
  w.dialogs.expectMessage(platform::IdOk, kPytanie);
  EXPECT_THROW(zelt::usunKarty(w.plik(), l.m, l.lp(), {0, 1, 2}, w.dialogs), platform::IoError);
  EXPECT_EQ(w.readFile(w.plik()), przed) << "no record marked";
  ASSERT_EQ(l.m.RowCount(), 3) << "every row stays";
  EXPECT_EQ(l.m.Cells(l.lp(), 0), "1");
  // The file was closed: it can be replaced at once.
  EXPECT_TRUE(QFile::remove(w.plik()));
}

TEST(StatusLabels, SectionFieldAndValue) {
  const zelt::DefinicjeKolumn defs;
  struct Case {
    const char* code;
    std::optional<std::string> value;
    const char* grupa;
    const char* pole;
  } cases[] = {
      {"Lp", std::string("1"), "Grupa : ", "Wartość : 1 ; Pole : 0.-Lp"},
      {"tKw", std::string("100,00"), "Grupa : II. TRANSAKCJA", "Wartość : 100,00 ; Pole : 13.-Kwota transakcji"},
      {"tKw", std::nullopt, "Grupa : II. TRANSAKCJA", " ; Pole : 13.-Kwota transakcji"},
      {"nrEwT", std::string(""), "Grupa : I. IDENTYFIKACJA", "Wartość :  ; Pole : 1.-Nr. ewidencyjny"},
      {"nieznana", std::string("x"), "", ""},
      {"", std::string("x"), "", ""},
  };
  for (const auto& c : cases) {
    const auto e = zelt::etykietyAktywnejKolumny(defs, c.code, c.value);
    EXPECT_EQ(e.GrupaWys, cp1250::fromUtf8(c.grupa)) << c.code;
    EXPECT_EQ(e.PoleWys, cp1250::fromUtf8(c.pole)) << c.code;
  }
}

TEST(ListSize, FollowsTheWindow) {
  EXPECT_EQ(zelt::rozmiarListy(QSize(800, 600)), QSize(792, 450));
  EXPECT_EQ(zelt::rozmiarListy(QSize(550, 250)), QSize(542, 100));
  EXPECT_EQ(zelt::rozmiarListy(QSize(5, 100)), QSize(0, 0));
}

}  // namespace
