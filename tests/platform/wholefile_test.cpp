#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/errors.h"
#include "platform/wholefile.h"
#include "support/world.h"

using platform::FailWholeFileStep;
using platform::FileAccess;
using platform::WholeFileStep;
using platform::WriteMode;
using platform::writeWholeFile;
using testing_world::World;

namespace {

class WholeFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const char* name) const { return dir.filePath(name); }
  QStringList names() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
  static unsigned mode(const QString& p) {
    struct stat st {};
    ::stat(QFile::encodeName(p).constData(), &st);
    return st.st_mode & 0777;
  }
  std::string error(const std::function<void()>& fn) {
    try {
      fn();
    } catch (const platform::IoError& e) {
      return e.what();
    }
    return "no error";
  }
};

TEST_F(WholeFile, ReplaceCreatesAndReplaces) {
  const std::string bytes("a\0\r\n\xFF", 5);
  writeWholeFile(path("np2025.dat"), bytes, WriteMode::Replace);
  EXPECT_EQ(World::readFile(path("np2025.dat")), bytes);
  writeWholeFile(path("np2025.dat"), "short", WriteMode::Replace);
  EXPECT_EQ(World::readFile(path("np2025.dat")), "short");
  writeWholeFile(path("empty.txt"), "", WriteMode::Replace);
  EXPECT_TRUE(QFile::exists(path("empty.txt")));
  EXPECT_EQ(names(), (QStringList{"empty.txt", "np2025.dat"}));
}

TEST_F(WholeFile, CreateOnlyNeverTouchesAnExistingFile) {
  writeWholeFile(path("r.txt"), "first", WriteMode::CreateOnly);
  EXPECT_EQ(World::readFile(path("r.txt")), "first");
  const std::string e = error([&] { writeWholeFile(path("r.txt"), "second", WriteMode::CreateOnly); });
  EXPECT_NE(e.find("r.txt"), std::string::npos) << e;
  EXPECT_EQ(World::readFile(path("r.txt")), "first");
  EXPECT_EQ(names(), QStringList{"r.txt"}) << "the temporary file is removed";
  // A folder in the file's place counts as existing too.
  QDir().mkpath(path("d.xml"));
  EXPECT_NE(error([&] { writeWholeFile(path("d.xml"), "x", WriteMode::CreateOnly); }), "no error");
  EXPECT_NE(error([&] { writeWholeFile(path("d.xml"), "x", WriteMode::Replace); }), "no error");
  EXPECT_TRUE(QFileInfo(path("d.xml")).isDir());
  EXPECT_EQ(names(), (QStringList{"d.xml", "r.txt"}));
}

TEST_F(WholeFile, AFailingStepKeepsTheOldFileAndLeavesNoTemporary) {
  for (WriteMode m : {WriteMode::Replace, WriteMode::CreateOnly}) {
    for (auto step : {WholeFileStep::Write, WholeFileStep::Flush, WholeFileStep::Rename}) {
      SCOPED_TRACE(int(step));
      QFile::remove(path("new.txt"));
      World::writeFile(path("old.dat"), "old bytes");
      FailWholeFileStep fault(step);
      const char* target = m == WriteMode::Replace ? "old.dat" : "new.txt";
      const std::string e = error([&] { writeWholeFile(path(target), "new bytes", m); });
      EXPECT_NE(e.find(target), std::string::npos) << e;
      EXPECT_EQ(World::readFile(path("old.dat")), "old bytes");
      EXPECT_EQ(names(), QStringList{"old.dat"});
    }
  }
  writeWholeFile(path("old.dat"), "new bytes", WriteMode::Replace);  // the seam is gone with its guard
  EXPECT_EQ(World::readFile(path("old.dat")), "new bytes");
}

// The seam can let the first files of a run through and fail the next ones.
TEST_F(WholeFile, TheSeamFailsAfterTheFilesItLetsThrough) {
  {
    FailWholeFileStep fault(WholeFileStep::Write, 2);
    writeWholeFile(path("a.txt"), "a", WriteMode::CreateOnly);
    writeWholeFile(path("b.txt"), "b", WriteMode::Replace);
    EXPECT_NE(error([&] { writeWholeFile(path("c.txt"), "c", WriteMode::CreateOnly); }), "no error");
    EXPECT_NE(error([&] { writeWholeFile(path("d.txt"), "d", WriteMode::CreateOnly); }), "no error");
  }
  EXPECT_EQ(names(), (QStringList{"a.txt", "b.txt"}));
  writeWholeFile(path("c.txt"), "c", WriteMode::CreateOnly);
  EXPECT_EQ(World::readFile(path("c.txt")), "c");
}

TEST_F(WholeFile, AMissingFolderFails) {
  const std::string e = error([&] { writeWholeFile(path("none/np2025.dat"), "x", WriteMode::Replace); });
  EXPECT_NE(e.find("none/np2025.dat"), std::string::npos) << e;
  EXPECT_FALSE(QFile::exists(path("none")));
}

// What a killed writer leaves is found by its exact name: a dot, the target's name, a dot and six
// letters or digits; nothing else in the folder goes, whatever it is called.
TEST_F(WholeFile, TheTemporariesOfKilledWritersAndNothingElseAreRemoved) {
  const struct {
    const char* name;
    bool removed;
  } cases[] = {
      {".transak.dat.Ab12Cd", true},
      {".W01ABCDE.xml.zz09AZ", true},
      {".registry.txt.000000", true},
      {".ZELT - Karta Transakcji 2026-12-10 12.00.00 000001.pdf.aB3xYz", true},
      {".kopia.zip.QWERTY", true},
      {".transak.dat.Ab12C", false},    // five characters
      {".transak.dat.Ab12Cd7", false},  // seven
      {".x.Ab12Cd7", false},
      {".transak.dat.Ab-2Cd", false},   // a character outside the set
      {".transak.dat.Ab12Cd~", false},  // an editor's backup of one
      {"transak.dat.Ab12Cd", false},    // no leading dot
      {"..Ab12Cd", false},              // no target's name
      {".Ab12Cd", false},
      {"transak.dat.dziennik", false},  // the register's journal
      {"transak.dat", false},
      {"notatki.txt", false},
      {".bashrc", false},
  };
  for (const auto& c : cases) World::writeFile(path(c.name), "x");
  // A folder, a link and another user's file of the same form stay too.
  ASSERT_TRUE(QDir().mkpath(path(".archiwum.zip.Ab12Cd")));
  World::writeFile(path("cel.txt"), "x");
  ASSERT_TRUE(QFile::link(path("cel.txt"), path(".link.txt.Ab12Cd")));
  World::writeFile(path(".obcy.txt.Ab12Cd"), "x");
  ASSERT_EQ(::chown(QFile::encodeName(path(".obcy.txt.Ab12Cd")).constData(), 65534, 65534), 0)
      << "the tests run as root: " << std::strerror(errno);

  for (const auto& c : cases) EXPECT_EQ(platform::isWholeFileTemporary(c.name), c.removed) << c.name;
  platform::removeWholeFileTemporaries(dir.path());
  for (const auto& c : cases) EXPECT_EQ(QFile::exists(path(c.name)), !c.removed) << c.name;
  EXPECT_TRUE(QFileInfo(path(".archiwum.zip.Ab12Cd")).isDir());
  EXPECT_TRUE(QFileInfo(path(".link.txt.Ab12Cd")).isSymLink());
  EXPECT_TRUE(QFile::exists(path("cel.txt"))) << "nothing is removed through a link";
  EXPECT_TRUE(QFile::exists(path(".obcy.txt.Ab12Cd"))) << "another user's writer may be at work";

  platform::removeWholeFileTemporaries(path("brak"));  // a missing folder is passed over
  platform::removeWholeFileTemporaries({});
}

// The writer's own temporary files, whatever tail they drew, have the form the cleanup removes.
TEST_F(WholeFile, EveryTemporaryOfTheWriterHasTheFormThatIsRemoved) {
  for (int i = 0; i < 200; ++i) {
    platform::WholeFileWriter w(path("W01.txt"), WriteMode::CreateOnly);
    w.write("partial");
    QStringList tymczasowe = names();
    ASSERT_EQ(tymczasowe.size(), 1);
    EXPECT_TRUE(tymczasowe[0].startsWith(".W01.txt.")) << tymczasowe[0].toStdString();
    ASSERT_TRUE(platform::isWholeFileTemporary(tymczasowe[0])) << tymczasowe[0].toStdString();
    platform::removeWholeFileTemporaries(dir.path());
    ASSERT_TRUE(names().isEmpty()) << tymczasowe[0].toStdString();
  }
}

}  // namespace

namespace {

TEST_F(WholeFile, StreamedPiecesTakeTheNameOnlyAtCommit) {
  writeWholeFile(path("kopia.exe"), "old", WriteMode::Replace);
  {
    SCOPED_TRACE("dropped without commit: the old file, no temporary one");
    platform::WholeFileWriter w(path("kopia.exe"), WriteMode::Replace, FileAccess::OwnerOnlyProgram);
    w.write(std::string(8192, 'a'));
  }
  EXPECT_EQ(World::readFile(path("kopia.exe")), "old");
  EXPECT_EQ(names(), QStringList{"kopia.exe"});
  {
    SCOPED_TRACE("committed: the pieces in order; the hook sees the old file still in place");
    platform::WholeFileWriter w(path("kopia.exe"), WriteMode::Replace, FileAccess::OwnerOnlyProgram);
    w.write(std::string(8192, 'a'));
    w.write("");
    w.write("bc");
    std::string seen;
    w.commit([&] { seen = World::readFile(path("kopia.exe")); });
    EXPECT_EQ(seen, "old");
  }
  EXPECT_EQ(World::readFile(path("kopia.exe")), std::string(8192, 'a') + "bc");
  EXPECT_EQ(names(), QStringList{"kopia.exe"});
  // A new program is its owner's alone, and runs.
  QFile::remove(path("kopia.exe"));
  platform::WholeFileWriter w(path("kopia.exe"), WriteMode::CreateOnly, FileAccess::OwnerOnlyProgram);
  w.write("x");
  w.commit();
  EXPECT_EQ(mode(path("kopia.exe")), 0700u);
  // A failing write in a later piece throws and leaves nothing behind.
  {
    FailWholeFileStep full(WholeFileStep::Write);
    const std::string e = error([&] {
      platform::WholeFileWriter f(path("nowy.exe"), WriteMode::Replace);
      f.write("x");
    });
    EXPECT_NE(e.find("nowy.exe"), std::string::npos) << e;
  }
  EXPECT_EQ(names(), QStringList{"kopia.exe"});
}

}  // namespace
