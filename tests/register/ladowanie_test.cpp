#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "grid/kgridmodel.h"
#include "register/ladowanie.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "settings/kolumnygrid.h"
#include "support/world.h"

using testing_world::World;
using zelt::TRekordTransakcji;

namespace {

struct LoadWorld : World {
  LoadWorld() {
    program().KatDan = path("Baza");
    QDir().mkpath(program().KatDan);
  }
  void records(std::initializer_list<int32_t> statuses) {
    zelt::PlikRejestru f(program().transakDat());
    ASSERT_TRUE(f.otworzDoZapisu());
    int i = 0;
    for (int32_t s : statuses) {
      TRekordTransakcji r;
      r.nrEwT = "T" + std::to_string(i++);
      r.Status = s;
      f.dopisz(r);
    }
  }
  // The rows of the default list as record number and nrEwT.
  std::vector<std::pair<int32_t, std::string>> load(int64_t* count = nullptr) {
    kgrid::TKGridModel lista;
    program().ukladListy = zelt::zbudujKolumnyListy(lista, program().definicjeKolumn);
    int64_t n = zelt::zaladujRejestr(program(), lista);
    if (count) *count = n;
    std::vector<std::pair<int32_t, std::string>> rows;
    const int lp = program().ukladListy.kolumnaLp(), nrEwT = program().ukladListy.kolumna("nrEwT");
    for (int r = 0; r < lista.RowCount(); ++r)
      rows.emplace_back(std::stoi(lista.Cells(lp, r)) - 1, lista.Cells(nrEwT, r));
    return rows;
  }
};

const QString kLine = QString::fromUtf8("ładowanie rejestru transakcji");

TEST(RegisterLoad, NothingToShow) {
  struct C {
    const char* name;
    std::function<void(LoadWorld&)> make;
  } cases[] = {
      {"missing file", [](LoadWorld&) {}},
      {"empty file", [](LoadWorld& w) { World::writeFile(w.program().transakDat(), ""); }},
      {"all deleted", [](LoadWorld& w) { w.records({99, 99}); }},
  };
  for (const auto& c : cases) {
    LoadWorld w;
    c.make(w);
    int64_t n = -1;
    EXPECT_TRUE(w.load(&n).empty()) << c.name;
    EXPECT_EQ(n, 0) << c.name;
    EXPECT_EQ(w.program().splashLines, QStringList({kLine, kLine + QString::fromUtf8(" - brak danych")})) << c.name;
  }
}

// A register that is there but cannot be opened is never shown as an empty one: the last splash
// line says so, and the system's reason is kept for the message after the splash.
TEST(RegisterLoad, ARegisterThatCannotBeOpenedIsNotAnEmptyOne) {
  struct C {
    const char* name;
    std::function<void(LoadWorld&)> make;
    const char* reason;  // a part of the system's text (Qt's own texts are in Polish)
  } cases[] = {
      {"a folder in the file's place", [](LoadWorld& w) { QDir().mkpath(w.program().transakDat()); }, "jest katalogiem"},
      {"a link to nothing",
       [](LoadWorld& w) { ASSERT_TRUE(QFile::link(w.path("Baza/zniknal.dat"), w.program().transakDat())); },
       "Brak pliku"},
      {"a file in the data folder's place",
       [](LoadWorld& w) {
         QDir(w.path("Baza")).removeRecursively();
         World::writeFile(w.path("Baza"), "x");
       },
       "directory"},
  };
  for (const auto& c : cases) {
    LoadWorld w;
    c.make(w);
    EXPECT_TRUE(w.load().empty()) << c.name;
    EXPECT_EQ(w.program().splashLines.last(), kLine + QString::fromUtf8(" - nie można otworzyć pliku")) << c.name;
    EXPECT_TRUE(w.program().bladOtwarciaRejestru.contains(QString::fromUtf8(c.reason), Qt::CaseInsensitive))
        << c.name << ": " << w.program().bladOtwarciaRejestru.toStdString();
  }
  LoadWorld missing;
  missing.load();
  EXPECT_TRUE(missing.program().bladOtwarciaRejestru.isEmpty()) << "a missing file is a first start";
}

// At start-up the reason is shown after the splash, before the sign-in.
TEST(RegisterLoad, TheReasonIsShownAfterTheSplash) {
  World w;
  auto& p = w.program();
  const QString plik = w.documents() + "/ZELT/Baza/transak.dat";
  QDir().mkpath(plik);  // a folder where the register should be
  QStringList liniePrzed;
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: "));
  p.logowanie = [&] {
    liniePrzed = w.dialogs.messages();
    return platform::mrOk;
  };
  ASSERT_TRUE(p.start());
  ASSERT_EQ(liniePrzed.size(), 1);
  EXPECT_TRUE(liniePrzed[0].startsWith(QString::fromUtf8("Nie można otworzyć pliku rejestru transak.dat: ")));
  EXPECT_GT(liniePrzed[0].size(), 50) << "with the system's reason";
  EXPECT_TRUE(p.splashLines.contains(kLine + QString::fromUtf8(" - nie można otworzyć pliku")));
}

TEST(RegisterLoad, LiveRecordsInFileOrderWithTheirNumbers) {
  LoadWorld w;
  w.records({1, 99, 0, 1});
  auto rows = w.load();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], std::make_pair(0, std::string("T0")));
  EXPECT_EQ(rows[1], std::make_pair(2, std::string("T2")));
  EXPECT_EQ(rows[2], std::make_pair(3, std::string("T3")));
  EXPECT_EQ(w.program().splashLines.last(), kLine + QString::fromUtf8(" - załadowano 3 rekordów"));
}

TEST(RegisterLoad, APartialLastRecordIsLeftOutAndSaid) {
  LoadWorld w;
  w.records({1, 1});
  {
    QFile f(w.program().transakDat());
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(std::string(100, 'x').c_str(), 100);
  }
  auto rows = w.load();
  EXPECT_EQ(rows.size(), 2u);
  EXPECT_EQ(w.program().splashLines.last(),
            kLine + QString::fromUtf8(" - załadowano 2 rekordów, niepełny ostatni rekord pominięto"));
  zelt::PlikRejestru f(w.program().transakDat());
  ASSERT_TRUE(f.otworzDoZapisu());
  EXPECT_EQ(f.dopisz(TRekordTransakcji{}), 2) << "the next record goes where the partial one began";
}

}  // namespace
