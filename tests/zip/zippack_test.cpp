// The component with the real zip library: what lands in the archive (read back by unzip and
// by Python's zipfile, not by our own reader), adding to existing archives, the options, and the
// failures, after each of which the old archive is byte for byte as it was, or there is none.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <dlfcn.h>

#include "platform/dialogs.h"
#include "platform/library.h"
#include "support/world.h"
#include "zip/zippack.h"
#include "ziptools.h"

namespace {

using testing_world::World;
using zip::TZipPacker;

const QString kFallback = "ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: ";

// Names and bytes of every file under a folder, to show that nothing else appeared or changed.
std::map<QString, std::string> snapshot(const QString& folder) {
  std::map<QString, std::string> out;
  QDir d(folder);
  for (const auto& e : d.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System))
    out[e.fileName()] = e.isSymLink() ? "->" + e.symLinkTarget().toStdString()
                        : e.isDir()   ? "<dir>"
                                      : World::readFile(e.filePath());
  return out;
}

std::string varied(std::size_t n, unsigned seed) {
  std::string s(n, ' ');
  unsigned x = seed;
  for (std::size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    s[i] = "0123456789 ;ABCDEFGHIJ\n"[(x >> 16) % 23];
  }
  return s;
}

struct Folder {
  QTemporaryDir tmp;
  QString data = tmp.filePath("Baza");
  QString out = tmp.filePath("Archiwa");
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  std::vector<QString> events;

  Folder() {
    QDir().mkpath(data + "/sub");
    QDir().mkpath(out);
    put("transak.dat", varied(2'500'000, 1));
    put("np2024.dat", varied(1488, 2));
    put("konfig", "ZELT-REGISTRY-KEY 1\n");
    put("a.ZIP", varied(3000, 3));
    put("b.png", varied(2000, 4));
    put("Łódź.txt", "zażółć gęślą jaźń\n");
    put(".ukryty", "ukryty\n");
    put("sub/c.txt", "c\n");
    z.setDLLDirectory(ZPACK_DIR);
    z.OnProgress = [this](int kind, const QString& name, std::int64_t size) {
      switch (kind) {
        case 0: events.push_back("1 " + QFileInfo(name).fileName() + " " + QString::number(size)); break;
        case 1: events.push_back("2 " + QString::number(size)); break;
        case 2: events.push_back("3"); break;
        case 4: events.push_back("6 " + QString::number(size)); break;
      }
    };
  }
  void put(const QString& rel, const std::string& bytes) {
    QDir().mkpath(QFileInfo(data + "/" + rel).path());
    World::writeFile(data + "/" + rel, bytes);
  }
  QString target(const QString& name = "kopia.zip") const { return out + "/" + name; }
  void add(const QString& archive) {
    z.addFileSpec(data, "*.*");
    z.setZipFileName(archive);
    z.Add();
  }
  QStringList names(const QString& archive) {
    QStringList out;
    for (const auto& l : inspect(archive))
      if (!l.startsWith("comment:") && !l.startsWith("test:")) out << l.section(' ', 0, 0);
    return out;
  }
};

TEST(ZipPacker, DataFolderLandsAtTheTopLevelStoredOrDeflatedBySuffix) {
  Folder f;
  f.add(f.target());
  EXPECT_EQ(f.z.AddedCount, 6);
  EXPECT_TRUE(f.z.FSpecArgs.empty());
  EXPECT_FALSE(f.z.Busy());
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
  // method 8 deflated with flag bit 1 (maximum compression), method 0 stored
  EXPECT_EQ(inspect(f.target()), (QStringList{"a.ZIP 0 0 3000", "b.png 0 0 2000", "konfig 8 2 20",
                                              "np2024.dat 8 2 1488", "transak.dat 8 2 2500000",
                                              "Łódź.txt 8 2050 " + QString::number(QByteArray("zażółć gęślą jaźń\n").size()),
                                              "comment:", "test:None"}));
  EXPECT_EQ(unzipTest(f.target()), 0);
  // The directory was read back after the run.
  ASSERT_EQ(f.z.Count(), 6);
  EXPECT_EQ(f.z.ZipContents()[5].FileName, "Łódź.txt");
  // A new archive is its user's only.
  struct stat st;
  ASSERT_EQ(stat(f.target().toUtf8().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // The total first, then each file in name order: its start, its bytes a MiB at most at a time, its end.
  ASSERT_FALSE(f.events.empty());
  EXPECT_EQ(f.events[0], "6 " + QString::number(2'500'000 + 1488 + 20 + 3000 + 2000 + QByteArray("zażółć gęślą jaźń\n").size()));
  QStringList files;
  std::int64_t bytes = 0;
  QString open;
  for (std::size_t i = 1; i < f.events.size(); ++i) {
    const QString& e = f.events[i];
    if (e.startsWith("1 ")) {
      EXPECT_TRUE(open.isEmpty()) << e.toStdString();
      open = e.section(' ', 1, -2);
      files << open;
      bytes = 0;
    } else if (e.startsWith("2 ")) {
      EXPECT_FALSE(open.isEmpty());
      EXPECT_LE(e.section(' ', 1).toLongLong(), 1 << 21);
      bytes += e.section(' ', 1).toLongLong();
    } else {
      EXPECT_EQ(e, "3");
      EXPECT_EQ(bytes, QFileInfo(f.data + "/" + open).size()) << open.toStdString();
      open.clear();
    }
  }
  EXPECT_EQ(files, (QStringList{"a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"}));
  EXPECT_GE(std::count(f.events.begin(), f.events.end(), "2 1048576"), 2);
}

TEST(ZipPacker, ExistingArchivesAreAddedTo) {
  {
    SCOPED_TRACE("an entry replaced, the others kept");
    Folder f;
    QTemporaryDir other;
    World::writeFile(other.filePath("konfig"), "stary konfig\n");
    World::writeFile(other.filePath("stary.txt"), "zostaje\n");
    QProcess zipTool;
    zipTool.start("zip", {"-j", "-q", f.target(), other.filePath("konfig"), other.filePath("stary.txt")});
    ASSERT_TRUE(zipTool.waitForFinished());
    f.add(f.target());
    EXPECT_EQ(f.z.AddedCount, 6);
    EXPECT_EQ(f.names(f.target()), (QStringList{"konfig", "stary.txt", "a.ZIP", "b.png", "np2024.dat",
                                                "transak.dat", "Łódź.txt"}));
    EXPECT_EQ(member(f.target(), "konfig"), "ZELT-REGISTRY-KEY 1\n");
    EXPECT_EQ(member(f.target(), "stary.txt"), "zostaje\n");
  }
  {
    SCOPED_TRACE("the archive inside the data folder, twice");
    Folder f;
    const QString inside = f.data + "/kopia.zip";
    for (int run = 0; run < 2; ++run) {
      f.put("konfig", "wersja " + std::to_string(run) + "\n");
      f.add(inside);
      EXPECT_EQ(f.z.AddedCount, 6);
      EXPECT_EQ(f.names(inside), (QStringList{"a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"}));
      EXPECT_EQ(member(inside, "konfig"), QString::fromStdString("wersja " + std::to_string(run) + "\n"));
    }
    EXPECT_EQ(unzipTest(inside), 0);
  }
  {
    SCOPED_TRACE("an empty folder adds nothing and makes no file");
    Folder f;
    QDir(f.data).removeRecursively();
    QDir().mkpath(f.data);
    f.add(f.target());
    EXPECT_EQ(f.z.AddedCount, 0);
    EXPECT_FALSE(QFile::exists(f.target()));
    EXPECT_TRUE(f.dialogs.messages().isEmpty());
    EXPECT_TRUE(snapshot(f.out).empty());
  }
}

// A failure shows its text, leaves the old archive byte for byte (or none, and no temporary
// file), empties the lists and leaves the component ready.
TEST(ZipPacker, FailuresChangeNothingAndSayWhy) {
  struct Case {
    const char* name;
    bool oldArchive;
    std::function<void(Folder&)> arrange;
    std::function<QString(Folder&)> texts;  // the messages shown, joined by "|"
    QString archive = {};                   // another target than kopia.zip
  };
  const Case cases[] = {
      {"no library", true,
       [](Folder& f) {
         f.z.setDLLDirectory(f.tmp.filePath("pusty"));
         platform::Library::setProgramFolder(f.tmp.filePath("pusty"));
       },
       [](Folder&) { return kFallback + "10604"; }},
      {"no ZPackExec", true, [](Folder& f) { f.z.setDLLDirectory(FAKE_DIR "/fake_noexec"); },
       [](Folder&) { return kFallback + "10602"; }},
      {"no GetZPackVersion", true, [](Folder& f) { f.z.setDLLDirectory(FAKE_DIR "/fake_noversion"); },
       [](Folder&) { return kFallback + "10603"; }},
      {"older library, too many specifications", true,
       [](Folder& f) {
         f.z.setDLLDirectory(FAKE_DIR "/fake_old");
         for (int i = 0; i < 4097; ++i) f.z.addFSpecArg(f.data + "/*.dat");
       },
       [](Folder&) { return kFallback + "10301"; }},
      {"unreadable source", true,
       [](Folder& f) { QFile::link(f.tmp.filePath("nie-ma"), f.data + "/zly.txt"); },
       [](Folder& f) { return "Cannot read file: " + f.data + "/zly.txt (No such file or directory)"; }},
      {"target under a file", false, [](Folder& f) { f.put("plik", "x"); },
       [](Folder& f) { return "Cannot open archive: " + f.data + "/plik/kopia.zip (Not a directory)"; },
       "plik/kopia.zip"},
      {"not an archive", false, [](Folder& f) { World::writeFile(f.target("obcy.zip"), "to nie jest zip\n"); },
       [](Folder& f) { return "Not a zip archive: " + f.target("obcy.zip"); },
       "obcy.zip"},
      {"cancelled", true,
       [](Folder& f) {
         f.z.OnProgress = [&f](int kind, const QString&, std::int64_t) {
           if (kind == 0) f.z.Cancel();
         };
       },
       [](Folder& f) { return "Cancelled: nothing written to " + f.target(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Folder f;
    QString archive = c.archive.isEmpty() ? f.target() : c.archive;
    if (archive == "plik/kopia.zip") archive = f.data + "/plik/kopia.zip";
    else if (!archive.startsWith('/')) archive = f.target(archive);
    if (c.oldArchive) {
      QProcess zipTool;
      World::writeFile(f.tmp.filePath("stary.txt"), "stary\n");
      zipTool.start("zip", {"-j", "-q", archive, f.tmp.filePath("stary.txt")});
      ASSERT_TRUE(zipTool.waitForFinished());
    }
    f.z.setZipFileName(archive);
    c.arrange(f);
    const auto before = snapshot(f.out);
    const auto dataBefore = snapshot(f.data);
    f.z.addFileSpec(f.data, "*.*");
    for (const auto& text : c.texts(f).split('|')) f.dialogs.expectMessage(platform::IdOk, text);
    f.z.Add();
    platform::Library::setProgramFolder({});
    EXPECT_EQ(f.z.AddedCount, 0);
    EXPECT_EQ(f.dialogs.messages().join("|"), c.texts(f));
    EXPECT_EQ(snapshot(f.out), before);
    EXPECT_EQ(snapshot(f.data), dataBefore);
    EXPECT_TRUE(f.z.FSpecArgs.empty());
    EXPECT_TRUE(f.z.FSpecArgsExcl.empty());
    EXPECT_FALSE(f.z.Busy());
  }
}

TEST(ZipPacker, AddChecksItsSettingsFirst) {
  Folder f;
  f.dialogs.expectMessage(platform::IdOk, kFallback + "10301").expectMessage(platform::IdOk, kFallback + "10102");
  f.z.Add();
  EXPECT_EQ(f.dialogs.messages(), QStringList{kFallback + "10301"});
  f.z.addFileSpec(f.data, "*.*");
  f.z.Add();
  EXPECT_EQ(f.dialogs.messages().last(), kFallback + "10102");
  EXPECT_TRUE(f.z.FSpecArgs.empty());
  f.z.Unattended = true;
  f.z.AddOptions = zip::AddEncrypt;
  f.z.addFileSpec(f.data, "*.*");
  f.z.setZipFileName(f.target());
  f.z.Add();
  EXPECT_EQ(f.z.ErrCode, 10302);
  f.z.AddOptions = zip::AddDiskSpan | zip::AddUpdate;
  f.z.addFileSpec(f.data, "*.*");
  f.z.Add();
  EXPECT_EQ(f.z.ErrCode, 10303);
  f.z.AddOptions = zip::AddDiskSpan;
  f.z.addFileSpec(f.data, "*.*");
  f.z.setZipFileName(f.target("kopia.exe"));
  f.z.Add();
  EXPECT_EQ(f.z.ErrCode, 11041);
  // A new self-extracting archive without a stub to make it from.
  f.z.AddOptions = 0;
  f.z.addFileSpec(f.data, "*.*");
  f.z.setZipFileName(f.target("nowy.exe"));
  f.z.SFXPath.clear();
  f.z.setDLLDirectory(f.tmp.filePath("pusty"));
  f.dialogs.expectMessage(platform::IdOk, kFallback + "10802");
  try {
    f.z.Add();
    ADD_FAILURE() << "no exception";
  } catch (const zip::EZipPacker& e) {
    EXPECT_EQ(e.id(), 10304);
  }
  EXPECT_TRUE(f.z.FSpecArgs.empty());
  EXPECT_FALSE(f.z.Busy());
  EXPECT_FALSE(QFile::exists(f.target()));
  EXPECT_FALSE(QFile::exists(f.target("nowy.exe")));
  // The older library is called when its record holds all specifications.
  f.z.AddOptions = 0;
  f.z.setDLLDirectory(FAKE_DIR "/fake_old");
  f.z.addFileSpec(f.data, "*.*");
  f.z.setZipFileName(f.target());
  f.z.Add();
  EXPECT_EQ(f.z.AddedCount, 99);
}

TEST(ZipPacker, OptionsReachTheArchive) {
  struct Case {
    const char* name;
    std::function<void(Folder&)> arrange;
    QStringList names;
    std::function<void(Folder&)> check = {};
  };
  const Case cases[] = {
      {"recursion with folder names",
       [](Folder& f) {
         f.put("sub/deeper/d.txt", "d\n");
         f.z.AddOptions = zip::AddRecurseDirs | zip::AddDirNames;
       },
       {"a.ZIP", "b.png", "konfig", "np2024.dat", "sub/c.txt", "sub/deeper/d.txt", "transak.dat", "Łódź.txt"}},
      {"exclusion", [](Folder& f) { f.z.FSpecArgsExcl = {"*.DAT"}; }, {"a.ZIP", "b.png", "konfig", "Łódź.txt"}},
      {"hidden files", [](Folder& f) { f.z.AddOptions = zip::AddHiddenFiles; },
       {".ukryty", "a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"}},
      {"a mask of a caller's text", [](Folder& f) { f.z.addFSpecArg(f.data + "/*.dat"); },
       {"np2024.dat", "transak.dat"}},
      {"comment", [](Folder& f) { f.z.ArchiveComment = "Kopia ZELT"; },
       {"a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"},
       [](Folder& f) { EXPECT_TRUE(inspect(f.target()).contains("comment:Kopia ZELT")); }},
      {"level 0 stores", [](Folder& f) { f.z.AddCompLevel = 0; },
       {"a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"},
       [](Folder& f) {
         for (const auto& l : inspect(f.target()))
           if (!l.contains(':')) {
             EXPECT_EQ(l.section(' ', 1, 1), "0") << l.toStdString();
           }
       }},
      {"encryption with the component's password",
       [](Folder& f) {
         f.z.AddOptions = zip::AddEncrypt;
         f.z.setPassword("tajne");
       },
       {"a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"},
       [](Folder& f) {
         QProcess p;
         p.start("unzip", {"-p", "-P", "tajne", f.target(), "konfig"});
         p.waitForFinished();
         EXPECT_EQ(p.readAllStandardOutput(), "ZELT-REGISTRY-KEY 1\n");
         for (const auto& e : f.z.ZipContents()) EXPECT_TRUE(e.Encrypted);
       }},
      {"move", [](Folder& f) { f.z.AddOptions = zip::AddMove; },
       {"a.ZIP", "b.png", "konfig", "np2024.dat", "transak.dat", "Łódź.txt"},
       [](Folder& f) {
         EXPECT_EQ(QDir(f.data).entryList(QDir::Files | QDir::Hidden), QStringList{".ukryty"});
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Folder f;
    f.z.setZipFileName(f.target());
    c.arrange(f);
    if (f.z.FSpecArgs.empty()) f.z.addFileSpec(f.data, "*.*");
    f.z.Add();
    EXPECT_EQ(f.z.AddedCount, c.names.size());
    EXPECT_EQ(f.names(f.target()), c.names);
    EXPECT_TRUE(f.dialogs.messages().isEmpty());
    if (c.check) c.check(f);
  }
}

TEST(ZipPacker, EncryptionWithoutAPasswordAsksAndAnEmptyAnswerAddsNothing) {
  Folder f;
  f.z.AddOptions = zip::AddEncrypt;
  int asked = 0;
  f.z.OnPasswordError = [&](QString&, int&) { ++asked; };
  f.dialogs.expectMessage(platform::IdOk, "No password given: nothing added");
  f.add(f.target());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(f.z.AddedCount, 0);
  EXPECT_FALSE(QFile::exists(f.target()));
  EXPECT_EQ(f.dialogs.messages(), QStringList{"No password given: nothing added"});
}

TEST(ZipPacker, MoveKeepsTheSourcesWhenTheRunFails) {
  Folder f;
  QFile::link(f.tmp.filePath("nie-ma"), f.data + "/zly.txt");
  f.z.AddOptions = zip::AddMove;
  f.dialogs.expectMessage(platform::IdOk, "Cannot read file: " + f.data + "/zly.txt");
  f.add(f.target());
  EXPECT_EQ(f.z.AddedCount, 0);
  EXPECT_EQ(QDir(f.data).entryList(QDir::Files).size(), 6);
  EXPECT_EQ(f.dialogs.messages().size(), 1);
}

TEST(ZipPacker, UpdateAndFreshenGoByTime) {
  for (bool freshen : {false, true}) {
    SCOPED_TRACE(freshen ? "Freshen" : "Update");
    Folder f;
    QTemporaryDir other;
    World::writeFile(other.filePath("konfig"), "stary\n");
    World::writeFile(other.filePath("transak.dat"), "nowszy w archiwum\n");
    QProcess zipTool;
    zipTool.start("zip", {"-j", "-q", f.target(), other.filePath("konfig"), other.filePath("transak.dat")});
    ASSERT_TRUE(zipTool.waitForFinished());
    // konfig on disk is newer than its entry; transak.dat older.
    const QDateTime now = QDateTime::currentDateTime();
    QFile k(f.data + "/konfig");
    ASSERT_TRUE(k.open(QIODevice::ReadWrite));
    ASSERT_TRUE(k.setFileTime(now.addSecs(3600), QFileDevice::FileModificationTime));
    k.close();
    QFile t(f.data + "/transak.dat");
    ASSERT_TRUE(t.open(QIODevice::ReadWrite));
    ASSERT_TRUE(t.setFileTime(now.addDays(-10), QFileDevice::FileModificationTime));
    t.close();
    f.z.AddOptions = freshen ? zip::AddFreshen : zip::AddUpdate;
    f.add(f.target());
    EXPECT_EQ(member(f.target(), "konfig"), "ZELT-REGISTRY-KEY 1\n");
    EXPECT_EQ(member(f.target(), "transak.dat"), "nowszy w archiwum\n");
    if (freshen) {
      EXPECT_EQ(f.z.AddedCount, 1);
      EXPECT_EQ(f.names(f.target()), (QStringList{"konfig", "transak.dat"}));
    } else {
      EXPECT_EQ(f.z.AddedCount, 5);
      EXPECT_EQ(f.names(f.target()).size(), 6);
    }
  }
}

TEST(ZipPacker, ASecondAddDuringARunDoesNothing) {
  Folder f;
  int inner = 0;
  f.z.OnProgress = [&](int kind, const QString&, std::int64_t) {
    if (kind != 0 || inner++) return;
    f.z.addFileSpec(f.tmp.path(), "*.*");
    f.z.setZipFileName(f.target("inny.zip"));  // not while running: the name is only read
    f.z.Add();
  };
  f.add(f.target());
  EXPECT_EQ(f.z.AddedCount, 6);
  EXPECT_FALSE(QFile::exists(f.target("inny.zip")));
  EXPECT_EQ(f.names(f.target()).size(), 6);
  EXPECT_TRUE(f.dialogs.messages().isEmpty());
}

TEST(ZipPacker, TheLibraryExportsOnlyItsTwoFunctions) {
  void* h = dlopen(ZPACK_DIR "/libzpack.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(h, nullptr) << dlerror();
  EXPECT_NE(dlsym(h, "ZPackExec"), nullptr);
  EXPECT_NE(dlsym(h, "GetZPackVersion"), nullptr);
  auto version = reinterpret_cast<std::int32_t (*)()>(dlsym(h, "GetZPackVersion"));
  EXPECT_EQ(version(), 160);
  // A record the library cannot read is refused, not a crash.
  auto exec = reinterpret_cast<std::int32_t (*)(const zpack::Call*)>(dlsym(h, "ZPackExec"));
  unsigned char rec[216] = {};
  zpack::Call call{rec, 216, nullptr, 0};
  EXPECT_EQ(exec(&call), 0);
  zpack::putI32(rec, 212, 7);
  zpack::putI32(rec, 124, 5);  // a handle past the table
  EXPECT_EQ(exec(&call), 0);
  EXPECT_EQ(exec(nullptr), 0);
  dlclose(h);
}

}  // namespace
