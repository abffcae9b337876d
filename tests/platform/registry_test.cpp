#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/registry.h"
#include "support/filesizelimit.h"

using platform::RegistryBatch;
using platform::RegistryStore;
using platform::RegRoot;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
// Rights of the group and of everyone else.
constexpr auto kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                         QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

std::string slurp(const QString& p) {
  QFile f(p);
  if (!f.open(QIODevice::ReadOnly)) return {};
  auto b = f.readAll();
  return std::string(b.constData(), size_t(b.size()));
}

TEST(Registry, NamesCompareCaseInsensitivelyAndKeepTheirCase) {
  RegistryStore reg;
  reg.writeString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO\\", "nazIO", "Bank");
  EXPECT_EQ(reg.readString(HKCU, "software\\tarvo\\zelt\\io", "NazIO"), "Bank");
  reg.writeString(HKCU, "\\Software\\TARVO\\Zelt\\IO", "NAZIO", "Bank 2");
  EXPECT_EQ(reg.valueNames(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO\\"), std::vector<std::string>{"nazIO"});
  EXPECT_EQ(reg.readString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO\\", "nazio"), "Bank 2");
  EXPECT_EQ(reg.subkeyNames(HKCU, "\\SOFTWARE"), std::vector<std::string>{"Tarvo"});
}

TEST(Registry, TypedValuesAndWrongTypeReadsAsMissing) {
  RegistryStore reg;
  reg.writeInteger(HKCU, "K", "i", -7);
  reg.writeBinary(HKCU, "K", "b", std::string("\x00\xFF\x25", 3));
  reg.writeString(HKCU, "K", "s", "");
  EXPECT_EQ(reg.readInteger(HKCU, "K", "i"), -7);
  EXPECT_EQ(reg.readBinary(HKCU, "K", "b"), std::string("\x00\xFF\x25", 3));
  EXPECT_EQ(reg.readString(HKCU, "K", "s"), "");
  EXPECT_FALSE(reg.readString(HKCU, "K", "i").has_value());
  EXPECT_FALSE(reg.readInteger(HKCU, "K", "s").has_value());
  EXPECT_FALSE(reg.readInteger(HKCU, "K", "none").has_value());
  EXPECT_FALSE(reg.keyExists(HKCU, "K\\sub"));
  EXPECT_FALSE(reg.keyExists(RegRoot::ClassesRoot, "K"));
}

TEST(Registry, EveryByteSurvivesTheFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(char(b));
  {
    RegistryStore reg(file);
    reg.writeString(HKCU, "A\\B c%", "na me", all);
    reg.writeBinary(HKCU, "A", "bin", all);
    reg.writeString(HKCU, "A", "", "default");
    reg.writeInteger(RegRoot::ClassesRoot, "http\\shell", "x", 2147483647);
    reg.createKey(HKCU, "Empty\\Key");
  }
  RegistryStore again(file);
  EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0)
      << "only its user may read the store";
  EXPECT_EQ(again.readString(HKCU, "a\\b C%", "NA ME"), all);
  EXPECT_EQ(again.readBinary(HKCU, "A", "bin"), all);
  EXPECT_EQ(again.readString(HKCU, "A", ""), "default");
  EXPECT_EQ(again.readInteger(RegRoot::ClassesRoot, "http\\shell", "x"), 2147483647);
  EXPECT_TRUE(again.keyExists(HKCU, "Empty\\Key"));
}

// Folder names in any script read back exactly, through the file; a name that Windows-1250 holds
// keeps the bytes it was always stored with.
TEST(Registry, TextsOfAnyScriptReadBackExactly) {
  struct Case {
    const char* name;
    const char* utf8;
    bool codePage;  // Windows-1250 holds every character
  } const cases[] = {
      {"ASCII", "/home/jan/Documents", true},
      {"Polish", "/home/jan/Dokumenty/Łódź", true},
      {"empty", "", true},
      {"Cyrillic", "/home/jan/Документы", false},
      {"Greek", "/home/jan/Έγγραφα", false},
      {"Chinese", "/home/jan/文档", false},
      {"beyond U+FFFF", "/home/jan/\xF0\x9F\x93\x81 akta", false},
  };
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  {
    RegistryStore reg(file);
    for (const auto& c : cases) reg.writeText(HKCU, "IO", c.name, QString::fromUtf8(c.utf8));
  }
  RegistryStore again(file);
  for (const auto& c : cases) {
    const QString text = QString::fromUtf8(c.utf8);
    EXPECT_EQ(again.readText(HKCU, "io", c.name), text) << c.name;
    if (c.codePage) {
      EXPECT_EQ(again.readString(HKCU, "IO", c.name), cp1250::fromUtf8(c.utf8)) << c.name << ": its bytes as before";
      EXPECT_NE(slurp(file).find("S " + std::string(c.name) + " "), std::string::npos) << c.name;
    } else {
      EXPECT_EQ(again.readString(HKCU, "IO", c.name), cp1250::fromUnicode(text)) << c.name;
    }
  }
  // A Windows-1250 value written the old way reads as its characters.
  again.writeString(HKCU, "IO", "old", cp1250::fromUtf8("/mnt/żółw"));
  EXPECT_EQ(again.readText(HKCU, "IO", "old"), QString::fromUtf8("/mnt/żółw"));
  EXPECT_FALSE(again.readText(HKCU, "IO", "missing").has_value());
  again.writeInteger(HKCU, "IO", "number", 1);
  EXPECT_FALSE(again.readText(HKCU, "IO", "number").has_value()) << "another type reads as missing";
}

TEST(Registry, DeleteKeyTakesItsSubkeys) {
  RegistryStore reg;
  reg.writeString(HKCU, "P\\IO\\JED01", "a", "1");
  reg.writeString(HKCU, "P\\IO02", "a", "2");
  EXPECT_TRUE(reg.deleteKey(HKCU, "p\\io"));
  EXPECT_FALSE(reg.keyExists(HKCU, "P\\IO\\JED01"));
  EXPECT_TRUE(reg.keyExists(HKCU, "P\\IO02"));
  EXPECT_FALSE(reg.deleteKey(HKCU, "P\\IO"));
  EXPECT_TRUE(reg.deleteValue(HKCU, "P\\IO02", "A"));
  EXPECT_FALSE(reg.valueExists(HKCU, "P\\IO02", "a"));
}

TEST(Registry, BatchWritesOnceOrNotAtAll) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  RegistryStore reg(file);
  reg.writeString(HKCU, "K", "old", "1");
  const std::string before = slurp(file);
  {
    RegistryBatch batch(reg);
    reg.writeString(HKCU, "K", "new", "2");
    reg.deleteValue(HKCU, "K", "old");
    EXPECT_EQ(slurp(file), before) << "nothing reaches the file before the commit";
    // no commit: the batch is abandoned, as when an exception leaves the scope
  }
  EXPECT_EQ(slurp(file), before);
  EXPECT_EQ(reg.readString(HKCU, "K", "old"), "1");
  EXPECT_FALSE(reg.valueExists(HKCU, "K", "new"));
  {
    RegistryBatch batch(reg);
    reg.writeString(HKCU, "K", "new", "2");
    reg.deleteValue(HKCU, "K", "old");
    batch.commit();
  }
  RegistryStore again(file);
  EXPECT_EQ(again.readString(HKCU, "K", "new"), "2");
  EXPECT_FALSE(again.valueExists(HKCU, "K", "old"));
}

TEST(Registry, AnAbandonedInnerBatchAbandonsTheWholeBatch) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  RegistryStore reg(file);
  reg.writeString(HKCU, "K", "a", "1");
  const std::string before = slurp(file);
  {
    RegistryBatch outer(reg);
    reg.writeString(HKCU, "K", "a", "2");
    try {
      RegistryBatch inner(reg);
      reg.writeString(HKCU, "K", "b", "x");
      throw std::runtime_error("a step fails");
    } catch (const std::runtime_error&) {
      // the caller goes on, as if the failure did not matter
    }
    reg.writeString(HKCU, "K", "c", "y");
    EXPECT_EQ(slurp(file), before) << "later writes stay inside the batch";
    EXPECT_THROW(outer.commit(), platform::IoError) << "the commit says the batch did not land";
  }
  EXPECT_EQ(slurp(file), before);
  EXPECT_EQ(reg.readString(HKCU, "K", "a"), "1");
  EXPECT_FALSE(reg.valueExists(HKCU, "K", "b"));
  EXPECT_FALSE(reg.valueExists(HKCU, "K", "c"));
  reg.writeString(HKCU, "K", "d", "z");  // the store works on as before
  EXPECT_EQ(RegistryStore(file).readString(HKCU, "K", "d"), "z");
}

TEST(Registry, AFailedWriteKeepsTreeAndFile) {
  QTemporaryDir dir;
  const QString sub = dir.filePath("store");
  QDir().mkpath(sub);
  const QString file = sub + "/r.txt";
  RegistryStore reg(file);
  reg.writeString(HKCU, "K", "a", "1");
  const std::string before = slurp(file);
  // The store's folder goes away and a plain file takes its name: no write can succeed there,
  // whatever rights the test runs with.
  ASSERT_TRUE(QDir().rename(sub, dir.filePath("moved")));
  {
    QFile blocker(sub);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }
  EXPECT_THROW(reg.writeString(HKCU, "K", "a", "2"), platform::IoError);
  EXPECT_THROW(reg.deleteKey(HKCU, "K"), platform::IoError);
  EXPECT_EQ(reg.readString(HKCU, "K", "a"), "1") << "the tree is as before the failed change";
  EXPECT_TRUE(reg.keyExists(HKCU, "K"));
  EXPECT_EQ(slurp(dir.filePath("moved/r.txt")), before);
}

// A disk that fills up while the store is written: the store keeps its old contents, no temporary
// file stays beside it, and the error carries the system's text.
TEST(Registry, AFullDiskKeepsTheOldFileAndSaysWhy) {
  struct Case {
    const char* name;
    rlim_t limit;       // bytes any file may grow to
    size_t valueSize;   // the new value that no longer fits
  } const cases[] = {
      {"nothing fits", 0, 10},
      {"the new file outgrows the space left", 4096, 6000},
      {"beyond one buffer", 4096, 100000},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString file = dir.filePath("r.txt");
    RegistryStore reg(file);
    reg.writeString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "nazIO", "Bank");
    reg.writeBinary(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "Opcje", "\x01\x02");
    const std::string before = slurp(file);
    std::string error;
    {
      testing_world::FileSizeLimit full(c.limit);
      try {
        reg.writeString(HKCU, "K", "big", std::string(c.valueSize, 'x'));
      } catch (const platform::IoError& e) {
        error = e.what();
      }
    }
    EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(slurp(file), before) << c.name;
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"r.txt"}) << c.name;
    EXPECT_FALSE(reg.keyExists(HKCU, "K")) << c.name << ": the tree is as before the failed change";
    EXPECT_EQ(RegistryStore(file).readString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "nazIO"), "Bank") << c.name;
  }
}

// The store's folder is made for its user alone, as the file is.
TEST(Registry, TheStoresFolderIsPrivate) {
  QTemporaryDir dir;
  const QString file = dir.filePath("a/b/r.txt");
  RegistryStore reg(file);
  reg.writeString(HKCU, "K", "v", "1");
  for (const char* folder : {"a", "a/b"})
    EXPECT_EQ(QFileInfo(dir.filePath(folder)).permissions() & kOthers, 0) << folder;
}

// The saved key is a whole store of that key alone: loaded as a store it holds the key where it
// was, with its values and subkeys, and nothing else.
TEST(Registry, SaveKeyWritesAStoreOfTheSubtree) {
  QTemporaryDir dir;
  RegistryStore reg;
  reg.writeString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\Konfig", "a", "x y");
  reg.writeInteger(HKCU, "\\SOFTWARE\\Tarvo\\ZELT", "IloscIO", 2);
  reg.writeBinary(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "Opcje", std::string("\x0e\0\x85", 3));
  reg.writeString(HKCU, "\\SOFTWARE\\Other", "b", "y");
  reg.writeString(RegRoot::ClassesRoot, "mailto", "c", "z");
  reg.saveKey(HKCU, "\\software\\tarvo\\zelt\\", dir.filePath("konfig"));
  const std::string text = slurp(dir.filePath("konfig"));
  EXPECT_EQ(text.rfind(std::string(RegistryStore::kHeader) + "\n", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 5), "\nEND\n");
  RegistryStore wczytany(dir.filePath("konfig"));
  EXPECT_EQ(wczytany.readString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\Konfig", "a"), "x y");
  EXPECT_EQ(wczytany.readInteger(HKCU, "\\SOFTWARE\\Tarvo\\ZELT", "IloscIO"), 2);
  EXPECT_EQ(wczytany.readBinary(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "Opcje"), std::string("\x0e\0\x85", 3));
  EXPECT_EQ(wczytany.subkeyNames(HKCU, "\\SOFTWARE"), std::vector<std::string>{"Tarvo"}) << "the names keep their case";
  EXPECT_EQ(wczytany.subkeyNames(HKCU, "\\SOFTWARE\\Tarvo\\ZELT"), (std::vector<std::string>{"Konfig", "IO"}));
  EXPECT_FALSE(wczytany.keyExists(RegRoot::ClassesRoot, "mailto"));
  EXPECT_THROW(reg.saveKey(HKCU, "\\SOFTWARE\\Brak", dir.filePath("inny")), platform::IoError);
  EXPECT_FALSE(QFile::exists(dir.filePath("inny")));
}

// A store cut short at any length, or emptied, is refused and left as it is: loading it as a
// smaller store would make the loss permanent at the next write.
TEST(Registry, AStoreCutAtAnyLengthIsRefused) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  {
    RegistryStore reg(file);
    RegistryBatch batch(reg);
    reg.writeString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "nazIO", "Bank");
    reg.writeInteger(HKCU, "\\SOFTWARE\\Tarvo\\ZELT", "IloscIO", 1);
    reg.writeBinary(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "Opcje", "\x01\x02\x03");
    batch.commit();
  }
  const std::string whole = slurp(file);
  ASSERT_EQ(whole.substr(whole.size() - 5), "\nEND\n") << "the file ends with its end line";
  EXPECT_EQ(RegistryStore(file).readString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "nazIO"), "Bank");
  for (size_t len = 0; len < whole.size(); ++len) {
    const std::string cut = whole.substr(0, len);
    {
      QFile f(file);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(cut.data(), qint64(cut.size()));
    }
    try {
      RegistryStore reg(file);
      ADD_FAILURE() << "a store cut at " << len << " of " << whole.size() << " bytes loaded";
    } catch (const platform::IoError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Uszkodzony plik rejestru " + file.toStdString(), 0), 0u) << e.what();
    }
    EXPECT_EQ(slurp(file), cut) << len;
  }
}

// A store written before the end line existed loads, and its next write gives it the end line.
TEST(Registry, AnOlderStoreWithoutTheEndLineLoadsOnce) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ZELT-REGISTRY 1\nK HKCU\\SOFTWARE\\Tarvo\\ZELT\\IO\nS nazIO Bank%20Polski\nI JedIO 3\n");
  }
  RegistryStore reg(file);
  EXPECT_EQ(reg.readString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "nazIO"), "Bank Polski");
  EXPECT_EQ(reg.readInteger(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "JedIO"), 3);
  reg.writeInteger(HKCU, "\\SOFTWARE\\Tarvo\\ZELT", "IloscIO", 1);
  const std::string now = slurp(file);
  EXPECT_EQ(now.substr(0, 16), "ZELT-REGISTRY 2\n");
  EXPECT_EQ(now.substr(now.size() - 5), "\nEND\n");
  EXPECT_EQ(RegistryStore(file).readString(HKCU, "\\SOFTWARE\\Tarvo\\ZELT\\IO", "nazIO"), "Bank Polski");

  // An older store whose last line was cut in the middle is damaged too.
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("ZELT-REGISTRY 1\nK HKCU\\SOFTWARE\nS nazIO Ba");
  }
  EXPECT_THROW(RegistryStore{file}, platform::IoError);
}

// Keys deeper than 32 levels are refused like damage, at load and at a write; a large store of
// deep keys no longer takes the program down.
TEST(Registry, KeysDeeperThan32LevelsAreRefused) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  auto pathOf = [](size_t depth) {
    std::string p;
    for (size_t i = 0; i < depth; ++i) p += "\\k";
    return p;
  };
  auto store = [&](size_t depth, int lines) {
    std::string text = "ZELT-REGISTRY 2\n";
    for (int i = 0; i < lines; ++i) text += "K HKCU" + pathOf(depth) + "\\n" + std::to_string(i) + "\n";
    text += "END\n";
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.data(), qint64(text.size()));
    return text;
  };
  store(31, 1);  // 32 levels with the last part
  EXPECT_TRUE(RegistryStore(file).keyExists(HKCU, pathOf(31) + "\\n0"));
  const std::string deep = store(32, 1);
  EXPECT_THROW(RegistryStore{file}, platform::IoError);
  EXPECT_EQ(slurp(file), deep);
  // About 400 KB of keys nested many thousand levels deep.
  const std::string huge = store(200000, 1);
  ASSERT_GT(huge.size(), 400000u);
  try {
    RegistryStore reg(file);
    ADD_FAILURE() << "a deep store loaded";
  } catch (const platform::IoError& e) {
    EXPECT_NE(std::string(e.what()).find("Uszkodzony plik rejestru"), std::string::npos) << e.what();
  }
  EXPECT_EQ(slurp(file), huge);

  RegistryStore reg;
  EXPECT_NO_THROW(reg.createKey(HKCU, pathOf(32)));
  EXPECT_THROW(reg.createKey(HKCU, pathOf(33)), platform::IoError);
  EXPECT_THROW(reg.writeString(HKCU, pathOf(40), "a", "b"), platform::IoError);
  EXPECT_FALSE(reg.keyExists(HKCU, pathOf(33))) << "nothing of the refused key was made";
}

TEST(Registry, CorruptFileIsRefusedNotTruncated) {
  QTemporaryDir dir;
  const QString file = dir.filePath("r.txt");
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("garbage\n");
  }
  EXPECT_THROW(RegistryStore{file}, platform::IoError);
  EXPECT_EQ(slurp(file), "garbage\n");
}

}  // namespace
