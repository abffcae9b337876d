#include <gtest/gtest.h>

#include <QDir>

#include "register/ladowanie.h"
#include "register/program.h"
#include "register/rejestr.h"
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
  std::vector<std::pair<int32_t, std::string>> load(int64_t* count = nullptr) {
    std::vector<std::pair<int32_t, std::string>> rows;
    int64_t n = zelt::zaladujRejestr(program(), [&](int32_t nr, const TRekordTransakcji& r) { rows.emplace_back(nr, r.nrEwT); });
    if (count) *count = n;
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
