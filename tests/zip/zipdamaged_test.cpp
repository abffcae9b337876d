// Damaged and unusual archives, laid out here byte by byte: the layout reader reads no directory
// beyond the file, the zip library refuses a target whose end records leave the archive in doubt
// (the file untouched) and keeps the data in front of a self-extractor, and a copy with moved
// offsets whose own end record a reader would not find fails instead of writing it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "handzip.h"
#include "platform/dialogs.h"
#include "platform/library.h"
#include "support/world.h"
#include "zip/ziplayout.h"
#include "zip/zippack.h"
#include "ziptools.h"

namespace {

using handzip::archive;
using handzip::emptyEnd;
using handzip::Member;
using testing_world::World;
using zip::EZipPacker;
using zip::TZipPacker;

const std::vector<Member> kTwo = {{"a.txt", "alpha\n"}, {"b.txt", "beta beta\n"}};

TEST(ZipLayout, NoDirectoryIsReadBeyondTheFile) {
  const std::string plain = archive(kTwo);
  // An end record marked Zip64 by its entry count, stating a directory of 256 MiB.
  std::string huge = plain;
  const std::size_t end = huge.size() - 22;
  for (int i : {8, 9, 10, 11}) huge[end + i] = '\xFF';
  huge[end + 15] = '\x10';
  struct Case {
    const char* name;
    std::string file;
    std::function<ziplayout::EndRecord(const ziplayout::ReadAt&, std::int64_t)> end;
  };
  const Case cases[] = {
      {"a record stating 64 MiB before it", plain,
       [](const ziplayout::ReadAt&, std::int64_t size) {
         ziplayout::EndRecord e;
         e.pos = size - 22;
         e.entries = 2;
         e.cdSize = 64u << 20;
         e.cdOffset = 0;
         return e;
       }},
      {"a Zip64 record as the file gives it", huge,
       [](const ziplayout::ReadAt& read, std::int64_t size) { return ziplayout::findEndRecord(read, size); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t largest = 0;
    const ziplayout::ReadAt read = [&](std::int64_t pos, void* out, std::size_t n) {
      largest = std::max(largest, n);
      if (pos < 0 || pos + static_cast<std::int64_t>(n) > static_cast<std::int64_t>(c.file.size())) return false;
      std::memcpy(out, c.file.data() + pos, n);
      return true;
    };
    const ziplayout::EndRecord e = c.end(read, static_cast<std::int64_t>(c.file.size()));
    ASSERT_GE(e.pos, 0);
    largest = 0;
    std::vector<ziplayout::CentralEntry> entries;
    EXPECT_EQ(ziplayout::readCentral(read, e, entries), 11013);
    EXPECT_LE(largest, c.file.size());
    EXPECT_TRUE(entries.empty());
  }
}

struct Target {
  QTemporaryDir tmp;
  QString data = tmp.filePath("Baza");
  QString file = tmp.filePath("kopia.zip");
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  Target() {
    QDir().mkpath(data);
    World::writeFile(data + "/konfig", "ZELT-REGISTRY-KEY 1\n");
    World::writeFile(data + "/transak.dat", std::string(5000, 'T'));
    z.setDLLDirectory(ZPACK_DIR);
  }
  // Adds the data folder to the file, which is laid down only after its name is set (the
  // component's own reading of it is not what is tried here).
  void add(const std::string& bytes) {
    z.setZipFileName(file);
    World::writeFile(file, bytes);
    z.addFileSpec(data, "*.*");
    z.Add();
  }
};

TEST(ZipLibrary, EndRecordsThatLeaveTheArchiveInDoubtAreRefusedTheFileUntouched) {
  const std::string two = archive(kTwo);
  const auto at = static_cast<std::uint32_t>(two.size());
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"an empty archive's record behind an archive", two + emptyEnd(at)},
      {"the same with a comment", two + emptyEnd(at, "pusty")},
      {"an empty archive's record behind an archive with data in front",
       std::string(300, 'S') + archive(kTwo, "", 0xFFFE, 300) + emptyEnd(300 + at)},
      {"the same, the archive's offsets leaving out the data in front",
       std::string(300, 'S') + two + emptyEnd(300 + at)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    {
      SCOPED_TRACE("the component's reading");
      Target t;
      World::writeFile(t.file, c.bytes);
      try {
        t.z.setZipFileName(t.file);
        ADD_FAILURE() << "no error";
      } catch (const EZipPacker& e) {
        EXPECT_EQ(e.id(), 11008);
      }
    }
    {
      SCOPED_TRACE("the library");
      Target t;
      t.dialogs.expectMessage(platform::IdOk, "Not a zip archive: " + t.file);
      t.add(c.bytes);
      EXPECT_EQ(t.z.AddedCount, 0);
      EXPECT_EQ(t.dialogs.messages(), QStringList{"Not a zip archive: " + t.file});
      EXPECT_EQ(World::readFile(t.file), c.bytes);
      EXPECT_EQ(QDir(t.tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kopia.zip"});
    }
  }
}

TEST(ZipLibrary, AddingBehindDataInFrontKeepsItAndMovesTheOffsets) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("unzip");
  const std::string stub = "#!stub\n" + std::string(500, 'S');
  const auto base = static_cast<std::uint32_t>(stub.size());
  struct Case {
    const char* name;
    std::string bytes;
    QStringList names;
  };
  const Case cases[] = {
      {"a self-extractor with two members", stub + archive(kTwo, "", 0xFFFE, base),
       {"a.txt", "b.txt", "konfig", "transak.dat"}},
      {"a new self-extractor, empty", stub + emptyEnd(base), {"konfig", "transak.dat"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Target t;
    t.add(c.bytes);
    EXPECT_EQ(t.z.AddedCount, 2);
    EXPECT_TRUE(t.dialogs.messages().isEmpty()) << t.dialogs.messages().join('\n').toStdString();
    const std::string made = World::readFile(t.file);
    EXPECT_EQ(made.substr(0, stub.size()), stub);
    const ToolRun u = runTool("unzip", {"-t", t.file});
    EXPECT_EQ(u.code, 0) << u.output.toStdString();
    EXPECT_FALSE(u.output.contains("warning")) << u.output.toStdString();  // offsets count the stub
    QStringList names;
    for (const auto& l : inspect(t.file))
      if (!l.startsWith("comment:") && !l.startsWith("test:")) names << l.section(' ', 0, 0);
    EXPECT_EQ(names, c.names);
    if (c.names.contains("a.txt")) {
      EXPECT_EQ(member(t.file, "b.txt"), "beta beta\n");
    }
    EXPECT_EQ(member(t.file, "konfig"), "ZELT-REGISTRY-KEY 1\n");
  }
}

TEST(Sfx, ACopyWhoseEndRecordAReaderWouldNotFindFails) {
  QTemporaryDir tmp;
  ProgramFolder folder{tmp.path()};
  const std::string stub = "#!FAKE STUB\n";
  World::writeFile(tmp.filePath("ZPACKSFX.BIN"), stub);
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  z.Unattended = true;
  const std::size_t prefix = stub.size() + z.SFXParameterBlock().size();

  // A directory whose stated size holds ten bytes past its two headers.
  std::string padded = archive(kTwo);
  {
    const std::size_t end = padded.size() - 22;
    const std::size_t cd = padded.find("PK\x01\x02");
    const std::uint32_t size = static_cast<std::uint32_t>(end - cd + 10);
    padded.insert(end, std::string(10, '\0'));
    std::string field;
    handzip::le32(field, size);
    padded.replace(end + 10 + 12, 4, field);
  }
  // A comment holding an end record that, once every offset is moved by the prefix, agrees
  // with the directory and would be taken for the archive's.
  std::string tricked;
  {
    const std::string plain = archive(kTwo);
    const std::size_t cd = plain.find("PK\x01\x02");
    const std::size_t cdLen = plain.size() - 22 - cd;
    const std::string lead = "Kopia ";
    const std::string rest = " koniec";
    std::string fake;
    handzip::le32(fake, 0x06054b50);
    handzip::le32(fake, 0);
    handzip::le16(fake, 2);
    handzip::le16(fake, 2);
    handzip::le32(fake, static_cast<std::uint32_t>(cdLen + 22 + lead.size()));
    handzip::le32(fake, static_cast<std::uint32_t>(cd + prefix));
    handzip::le16(fake, static_cast<std::uint16_t>(rest.size()));
    tricked = archive(kTwo, lead + fake + rest);
  }
  struct Case {
    const char* name;
    std::string input;
  };
  for (const Case& c : {Case{"a directory larger than its headers", padded},
                        Case{"an end record in the comment that the move makes agree", tricked}}) {
    SCOPED_TRACE(c.name);
    const QString input = tmp.filePath("kopia.zip");
    World::writeFile(input, c.input);
    z.setZipFileName(input);  // the input itself reads as the two members
    ASSERT_EQ(z.Count(), 2);
    try {
      z.ConvertToSFX();
      ADD_FAILURE() << "no error";
    } catch (const EZipPacker& e) {
      EXPECT_EQ(e.id(), 11030);
    }
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // the stub and the input
    EXPECT_FALSE(QFile::exists(tmp.filePath("kopia.exe")));
  }
}

}  // namespace
