#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/errors.h"
#include "platform/wholefile.h"
#include "register/program.h"
#include "reports/numeracjadzienna.h"
#include "support/world.h"

using testing_world::World;
using zelt::NumeracjaDzienna;

namespace {

// A counter file written by hand: 372 little-endian int32, day-major.
std::string plikLicznikow(std::initializer_list<std::pair<std::size_t, std::uint32_t>> komorki) {
  std::string b(1488, '\0');
  for (auto [offset, v] : komorki)
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}

class Liczniki : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString katDan = dir.path();
  NumeracjaDzienna n{katDan};
  QString plik(int rok) const { return katDan + "/np" + QString::number(rok) + ".dat"; }
  QStringList pliki() const { return QDir(katDan).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
};

TEST_F(Liczniki, LayoutDayMajorLittleEndian) {
  // 1 January at offset 0, 3 February at ((3-1)*12 + (2-1))*4 = 100, 31 December at 1484.
  const std::string bajty = plikLicznikow({{0, 0x01020304}, {100, 7}, {1484, 0xFFFFFFFE}});
  World::writeFile(plik(2025), bajty);
  n.czytajNumeracje(2025);
  EXPECT_EQ(n.rokNumeracji, 2025);
  EXPECT_EQ(n.licznik(1, 1), 0x01020304);
  EXPECT_EQ(n.licznik(3, 2), 7);
  EXPECT_EQ(n.licznik(31, 12), -2);
  EXPECT_EQ(n.licznik(2, 1), 0);

  n.licznik(3, 2) += 1;
  n.licznik(30, 2) = 5;  // no real date, yet a cell like any other
  n.zapiszNumeracje();
  EXPECT_EQ(World::readFile(plik(2025)), plikLicznikow({{0, 0x01020304}, {100, 8}, {(29 * 12 + 1) * 4, 5}, {1484, 0xFFFFFFFE}}));
  EXPECT_EQ(pliki(), QStringList{"np2025.dat"}) << "no temporary file is left";
}

TEST_F(Liczniki, TheLoadedYearIsNotReadAgain) {
  World::writeFile(plik(2025), plikLicznikow({{0, 3}}));
  n.czytajNumeracje(2025);
  n.licznik(1, 1) = 4;  // an increment not yet saved
  QFile::remove(plik(2025));
  n.czytajNumeracje(2025);
  EXPECT_EQ(n.licznik(1, 1), 4);
  EXPECT_FALSE(QFile::exists(plik(2025))) << "neither read nor written";
}

TEST_F(Liczniki, AYearChangeSavesTheOldYearFirst) {
  n.czytajNumeracje(2024);
  n.licznik(31, 12) = 2;
  World::writeFile(plik(2025), plikLicznikow({{0, 9}}));
  n.czytajNumeracje(2025);
  EXPECT_EQ(World::readFile(plik(2024)), plikLicznikow({{1484, 2}}));
  EXPECT_EQ(n.licznik(1, 1), 9);
  EXPECT_EQ(n.licznik(31, 12), 0);
  EXPECT_EQ(n.rokNumeracji, 2025);
}

TEST_F(Liczniki, AMissingFileGivesZerosAndCreatesNothing) {
  World::writeFile(plik(2024), plikLicznikow({{0, 5}}));
  n.czytajNumeracje(2024);
  n.czytajNumeracje(2026);  // saves 2024, reads no 2026
  EXPECT_EQ(n.licznik(1, 1), 0);
  EXPECT_EQ(n.rokNumeracji, 2026);
  EXPECT_FALSE(QFile::exists(plik(2026)));
}

TEST_F(Liczniki, AnUnreadableFileRefusesTheLoad) {
  const std::string krotki(1000, '\x01');
  struct C {
    const char* nazwa;
    std::function<void(const QString&)> zrob;
  } cases[] = {
      {"1000 bytes", [&](const QString& p) { World::writeFile(p, krotki); }},
      {"empty", [&](const QString& p) { World::writeFile(p, ""); }},
      {"a folder", [&](const QString& p) { QDir().mkpath(p); }},
  };
  for (const C& c : cases) {
    SCOPED_TRACE(c.nazwa);
    QTemporaryDir d;
    QString kat = d.path();
    NumeracjaDzienna m{kat};
    m.czytajNumeracje(2024);
    m.licznik(5, 5) = 3;
    const QString p = kat + "/np2025.dat";
    c.zrob(p);
    try {
      m.czytajNumeracje(2025);
      ADD_FAILURE() << "loaded";
    } catch (const platform::IoError& e) {
      EXPECT_STREQ(e.what(), "Błędny plik numeracji dziennej np2025.dat - wysłanie danych niemożliwe");
    }
    EXPECT_EQ(m.rokNumeracji, 2024);
    EXPECT_EQ(m.licznik(5, 5), 3) << "the table stays";
    if (!QFileInfo(p).isDir()) {
      EXPECT_EQ(World::readFile(p), std::string(c.nazwa[0] == '1' ? krotki : "")) << "the file stays";
    }
  }
}

TEST_F(Liczniki, ALongerFileGivesItsFirstBlock) {
  World::writeFile(plik(2025), plikLicznikow({{1484, 6}}) + "tail");
  n.czytajNumeracje(2025);
  EXPECT_EQ(n.licznik(31, 12), 6);
}

TEST_F(Liczniki, ASaveIntoAMissingFolderFailsAndKeepsTheIncrement) {
  QString brak = katDan + "/brak";
  NumeracjaDzienna m{brak};
  m.czytajNumeracje(2025);
  m.licznik(10, 12) += 1;
  try {
    m.zapiszNumeracje();
    ADD_FAILURE() << "saved";
  } catch (const platform::IoError& e) {
    EXPECT_NE(std::string(e.what()).find("np2025.dat"), std::string::npos) << e.what();
  }
  EXPECT_EQ(m.licznik(10, 12), 1);
  EXPECT_FALSE(QFile::exists(brak));
}

TEST_F(Liczniki, AFailedSaveLeavesTheOldBytes) {
  const std::string stare = plikLicznikow({{0, 1}});
  World::writeFile(plik(2025), stare);
  n.czytajNumeracje(2025);
  n.licznik(1, 1) = 2;
  for (auto krok : {platform::WholeFileStep::Write, platform::WholeFileStep::Flush, platform::WholeFileStep::Rename}) {
    platform::FailWholeFileStep awaria(krok);
    EXPECT_THROW(n.zapiszNumeracje(), platform::IoError);
    EXPECT_EQ(World::readFile(plik(2025)), stare);
    EXPECT_EQ(pliki(), QStringList{"np2025.dat"});
  }
  EXPECT_EQ(n.licznik(1, 1), 2);
}

TEST_F(Liczniki, TheProgramHoldsOneTableInItsDataFolder) {
  World w;
  auto& p = w.program();
  p.KatDan = w.path("dane");
  QDir().mkpath(p.KatDan);
  p.numeracjaDzienna.czytajNumeracje(2025);
  p.numeracjaDzienna.licznik(2, 1) = 1;
  p.numeracjaDzienna.zapiszNumeracje();
  EXPECT_EQ(World::readFile(p.KatDan + "/np2025.dat"), plikLicznikow({{48, 1}}));
}

}  // namespace
