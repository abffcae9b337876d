// What the program makes is its user's alone whatever the umask: a file 0600 (a program 0700), a
// folder 0700, from the moment it exists. What was there before keeps its rights.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <functional>

#include "platform/folders.h"
#include "platform/recordfile.h"
#include "platform/wholefile.h"

namespace {

using platform::FileAccess;
using platform::WriteMode;

unsigned mode(const QString& p) {
  struct stat st {};
  if (::lstat(QFile::encodeName(p).constData(), &st) != 0) return 01000;  // none: no mode matches
  return st.st_mode & 07777;
}

class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t m) : old_(::umask(m)) {}
  ~ScopedUmask() { ::umask(old_); }

 private:
  mode_t old_;
};

TEST(Rights, WhatIsMadeIsTheUsersAloneWhateverTheUmask) {
  const struct {
    const char* name;
    std::function<void(const QString&)> make;  // given the path it makes
    const char* made;                          // what must have the rights, below the path
    unsigned rights;
  } makers[] = {
      {"a whole file", [](const QString& p) { platform::writeWholeFile(p, "x", WriteMode::CreateOnly); }, "", 0600},
      {"a whole file replacing another",
       [](const QString& p) {
         QFile f(p);
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
         f.close();
         platform::writeWholeFile(p, "x", WriteMode::Replace);
       },
       "", 0600},
      {"a streamed whole file",
       [](const QString& p) {
         platform::WholeFileWriter w(p, WriteMode::CreateOnly);
         w.write("x");
         w.commit();
       },
       "", 0600},
      {"a self-extracting program",
       [](const QString& p) { platform::writeWholeFile(p, "x", WriteMode::CreateOnly, FileAccess::OwnerOnlyProgram); },
       "", 0700},
      {"a record file created",
       [](const QString& p) {
         platform::RecordFile f(p, 4);
         ASSERT_TRUE(f.open(platform::RecordFile::Mode::ReadWriteCreate)) << f.error().toStdString();
         f.append("abcd");
       },
       "", 0600},
      {"a folder", [](const QString& p) { ASSERT_TRUE(platform::makePrivatePath(p)); }, "", 0700},
      {"the folders on the way", [](const QString& p) { ASSERT_TRUE(platform::makePrivatePath(p + "/b/c")); }, "", 0700},
      {"the deepest of them", [](const QString& p) { ASSERT_TRUE(platform::makePrivatePath(p + "/b/c")); }, "/b/c", 0700},
  };
  for (const mode_t umask : {mode_t(022), mode_t(002), mode_t(077), mode_t(0277), mode_t(0)}) {
    for (const auto& m : makers) {
      SCOPED_TRACE(std::string(m.name) + ", umask 0" + std::to_string(umask / 64) + std::to_string(umask / 8 % 8) +
                   std::to_string(umask % 8));
      QTemporaryDir dir;
      const QString p = dir.filePath("a");
      {
        ScopedUmask u(umask);
        m.make(p);
      }
      EXPECT_EQ(mode(p + m.made), m.rights);
      EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"a"});
    }
  }
}

TEST(Rights, WhatWasThereKeepsItsRights) {
  ScopedUmask u(022);
  QTemporaryDir dir;
  const QString plik = dir.filePath("klienci.dat"), katalog = dir.filePath("Wydruki");
  {
    QFile f(plik);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abcd");
  }
  ASSERT_TRUE(QDir().mkpath(katalog));
  ASSERT_EQ(mode(plik), 0644u);
  ASSERT_EQ(mode(katalog), 0755u);
  {
    platform::RecordFile f(plik, 4);
    ASSERT_TRUE(f.open(platform::RecordFile::Mode::ReadWriteCreate));
    f.append("efgh");
  }
  ASSERT_TRUE(platform::makePrivatePath(katalog));
  EXPECT_EQ(mode(plik), 0644u) << "the user's own choice for a file that was there";
  EXPECT_EQ(mode(katalog), 0755u);
}

}  // namespace
