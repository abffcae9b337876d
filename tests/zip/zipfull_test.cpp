// A failed or killed archive run leaves no archive under the target's name but the old one, byte
// for byte: on a real file system that is full or fills up part-way (a small tmpfs mounted here),
// and in a child process killed part-way. What a kill leaves is a temporary file named as the
// program's own temporaries (".kopia.zip." and six letters or digits), owner-only.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <random>

#include "platform/dialogs.h"
#include "platform/library.h"
#include "support/smallfs.h"
#include "support/world.h"
#include "zip/zippack.h"
#include "ziptools.h"

namespace {

using testing_world::World;
using zip::TZipPacker;

// Bytes that no compression makes smaller.
std::string noise(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(gen());
  return s;
}

// Each file of a folder: its size and a hash of its bytes (a failure prints no megabytes).
std::map<QString, std::string> files(const QString& folder) {
  std::map<QString, std::string> out;
  for (const auto& e : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
    const std::string bytes = World::readFile(e.filePath());
    out[e.fileName()] = std::to_string(bytes.size()) + " bytes, hash " + std::to_string(std::hash<std::string>{}(bytes));
  }
  return out;
}

// An archive of one stored member, made by the zip tool (not the code under test).
std::string oldArchive(const QString& path) {
  QTemporaryDir other;
  World::writeFile(other.filePath("stary.txt"), "stary\n");
  QProcess zipTool;
  zipTool.start("zip", {"-j", "-q", "-0", path, other.filePath("stary.txt")});
  zipTool.waitForFinished();
  return World::readFile(path);
}

TEST(ZipFullDisk, NoArchiveIsLeftAndAnOldOneStaysWhole) {
  REQUIRE_TOOL("zip");
  struct Case {
    const char* name;
    bool old;         // an archive to add to lies there already
    bool fullBefore;  // the disk is full before the run, or fills up during it
  };
  const Case cases[] = {
      {"new archive, the disk full before", false, true},
      {"new archive, the disk filling up", false, false},
      {"existing archive, the disk full before", true, true},
      {"existing archive, the disk filling up", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    testing_world::SmallFileSystem disk(folder.path(), 512);
    ASSERT_TRUE(disk.mounted()) << disk.why();
    const QString dysk = folder.path();
    QTemporaryDir data;
    World::writeFile(data.filePath("a.png"), noise(700 * 1024, 1));  // stored: 700 KiB on a 512 KiB disk
    World::writeFile(data.filePath("konfig"), "ZELT\n");
    const QString target = dysk + "/kopia.zip";
    if (c.old) oldArchive(target);
    if (c.fullBefore) {
      ASSERT_TRUE(disk.fill("wypelnienie")) << disk.why();
    }
    const auto before = files(dysk);

    platform::ScriptedDialogs dialogs;
    TZipPacker z{dialogs};
    z.setDLLDirectory(ZPACK_DIR);
    z.setZipFileName(target);
    z.addFileSpec(data.path(), "*.*");
    dialogs.expectMessage(platform::IdOk, target);
    z.Add();
    EXPECT_EQ(z.AddedCount, 0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].contains("No space left on device")) << dialogs.messages()[0].toStdString();
    // Nothing new on the disk, nothing cut: what was there is as it was.
    EXPECT_EQ(files(dysk), before);
  }
}

// The child's part: adds the data folder to the archive and kills itself with SIGKILL at the
// chosen progress event ("<kind>:<how many of that kind before>"). Run only by the test below.
TEST(ZipKilled, DISABLED_Child) {
  const QString at = qEnvironmentVariable("ZIP_KILL_AT");
  ASSERT_FALSE(at.isEmpty());
  const int kind = at.section(':', 0, 0).toInt();
  int left = at.section(':', 1).toInt();
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  z.Unattended = true;
  z.setDLLDirectory(ZPACK_DIR);
  platform::Library::setProgramFolder(ZPACK_DIR);  // the self-extractor's stub lies there
  z.OnProgress = [&](int k, const QString&, std::int64_t) {
    if (k == kind && left-- == 0) ::kill(::getpid(), SIGKILL);
  };
  z.setZipFileName(qEnvironmentVariable("ZIP_KILL_ARCHIVE"));
  z.addFileSpec(qEnvironmentVariable("ZIP_KILL_DATA"), "*.*");
  z.Add();
  FAIL() << "the run was not killed";
}

TEST(ZipKilled, AKilledRunLeavesTheOldArchiveOrNoneAndOnlyItsTemporary) {
  REQUIRE_TOOL("zip");
  struct Point {
    const char* name;
    const char* at;
  };
  const Point points[] = {
      {"the first file opened", "0:0"},
      {"two MiB of the large file read", "1:1"},
      {"every file read, the directory not yet written", "2:2"},
  };
  struct Target {
    const char* name;
    QString file;
    bool old;
    QString temporary;  // what may stay beside it: the pattern of the program's temporaries
    unsigned mode;
  };
  const Target targets[] = {
      {"new archive", "kopia.zip", false, "^\\.kopia\\.zip\\.[a-z0-9]{6}$", 0600},
      {"existing archive", "kopia.zip", true, "^\\.kopia\\.zip\\.[a-z0-9]{6}$", 0600},
      // The stub program under its temporary name, and the library's temporary of that.
      {"new self-extracting archive", "kopia.exe", false, "^\\.\\.?kopia\\.exe(\\.[a-z0-9]{6}){1,2}$", 0700},
  };
  for (const auto& t : targets) {
    for (const auto& p : points) {
      SCOPED_TRACE(std::string(t.name) + ", " + p.name);
      const QRegularExpression temporary(t.temporary);
      QTemporaryDir data, out;
      World::writeFile(data.filePath("a.png"), noise(3 * 1024 * 1024, 2));
      World::writeFile(data.filePath("konfig"), "ZELT\n");
      World::writeFile(data.filePath("transak.dat"), noise(1000, 3));
      const QString target = out.filePath(t.file);
      const std::string before = t.old ? oldArchive(target) : std::string();

      QProcess child;
      auto env = QProcessEnvironment::systemEnvironment();
      env.insert("ZIP_KILL_AT", p.at);
      env.insert("ZIP_KILL_ARCHIVE", target);
      env.insert("ZIP_KILL_DATA", data.path());
      child.setProcessEnvironment(env);
      child.setProcessChannelMode(QProcess::MergedChannels);
      child.start("/proc/self/exe", {"--gtest_also_run_disabled_tests", "--gtest_filter=ZipKilled.DISABLED_Child"});
      ASSERT_TRUE(child.waitForFinished(120000));
      ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAll().toStdString();

      if (t.old)
        EXPECT_EQ(World::readFile(target), before);
      else
        EXPECT_FALSE(QFile::exists(target));
      // Beside it only the run's temporaries, which the start-up cleanup knows by their names.
      const QStringList rest = QDir(out.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
      EXPECT_GE(rest.size(), t.old ? 2 : 1) << rest.join(' ').toStdString();
      for (const auto& name : rest) {
        if (name == t.file && t.old) continue;
        EXPECT_TRUE(temporary.match(name).hasMatch()) << name.toStdString();
        struct stat st;
        ASSERT_EQ(::stat(out.filePath(name).toUtf8().constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, t.mode);
      }
    }
  }
}

}  // namespace
