// The parameter record that the component hands the zip library: the archive command's settings
// against a 216-byte image written out from the record's table, each option and file pattern
// form against the bytes it must change, and the older 16,520-byte record.
#include <gtest/gtest.h>

#include <QDir>
#include <cstring>

#include "platform/dialogs.h"
#include "zip/zippack.h"

namespace {

using namespace zpack;
using zip::TZipPacker;

// The archive command's record, four bytes a line from offset 0. "hhhhhhhh" is an address
// field: it holds a handle, checked apart. Written from the table, not from the encoder.
const char* const kCommandRecord[54] = {
    "01000000",  //   0 attended
    "hhhhhhhh",  //   4 the component's token
    "a0000000",  //   8 160
    "hhhhhhhh",  //  12 callback
    "00000000",  //  16 trace
    "00000000",  //  20 no password
    "hhhhhhhh",  //  24 store suffixes
    "00000000", "00000000", "00000000", "00000000",  // 28 encrypt, 32 hidden, 36 volume, 40
    "ffffffff",  //  44 no AddSeparateDirs
    "00000000", "00000000",  // 48, 52 verbose
    "ffffffff",  //  56
    "09000000",  //  60 level 9
    "00000000", "00000000",  // 64, 68
    "ffffffff",  //  72 no folder names
    "00000000",  //  76 no recursion (16 bits), 78
    "ffffffff",  //  80
    "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",  // 84..108
    "00000000", "00000000",  // 112, 116
    "01000000",  // 120 one file pattern
    "hhhhhhhh",  // 124 archive name
    "00000000", "00000000", "00000000",  // 128 temp folder, 132 comment, 136/138 archive bits
    "hhhhhhhh",  // 140 pattern entries
    "00000000", "00000000", "00000000",  // 144, 148 exclusions, 152
    "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",  // 156..184
    "00000000", "00000000", "00000000", "00000000", "00000000", "00000000",  // 188..208
    "07000000",  // 212
};

std::string hex(const unsigned char* p, std::size_t n) {
  static const char* d = "0123456789abcdef";
  std::string s;
  for (std::size_t i = 0; i < n; ++i) {
    s += d[p[i] >> 4];
    s += d[p[i] & 15];
  }
  return s;
}

// The text a handle field points at, through the call's table.
std::string textAt(const zip::BuiltRecord& b, const unsigned char* field) {
  const std::int32_t h = getI32(field, 0);
  if (h <= 0 || static_cast<std::uint32_t>(h) > b.table.count()) return "<bad handle>";
  const Handle& e = b.table.entries()[static_cast<std::size_t>(h - 1)];
  const char* s = static_cast<const char*>(e.address);
  if (e.size == 0 || s[e.size - 1] != 0) return "<no terminating zero>";
  return std::string(s, e.size - 1);
}

const unsigned char* entry(const zip::BuiltRecord& b, int i) {
  const std::int32_t h = getI32(b.record.data(), parms::Specs);
  return static_cast<const unsigned char*>(b.table.entries().at(static_cast<std::size_t>(h - 1)).address) + i * spec::kSize;
}

struct Packer {
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  zip::BuiltRecord build(std::int32_t version = 160) { return zip::buildRecord(z.switches(), z.FSpecArgs, version); }
};

TEST(ZipRecord, ArchiveCommandSettingsFillTheRecordAsItsTableSays) {
  Packer p;
  p.z.addFileSpec("/dane/Baza", "*.*");
  p.z.setZipFileName("/arch/kopia.zip");  // does not exist: nothing to read
  const auto b = p.build();
  ASSERT_EQ(b.record.size(), 216u);
  for (int w = 0; w < 54; ++w) {
    const std::string want = kCommandRecord[w];
    const std::string got = hex(b.record.data() + 4 * w, 4);
    if (want == "hhhhhhhh")
      EXPECT_NE(getI32(b.record.data(), 4 * w), 0) << "offset " << 4 * w;
    else
      EXPECT_EQ(got, want) << "offset " << 4 * w;
  }
  EXPECT_EQ(textAt(b, b.record.data() + parms::Suffixes), ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha");
  EXPECT_EQ(textAt(b, b.record.data() + parms::ArchiveName), "/arch/kopia.zip");
  const std::int32_t cbh = getI32(b.record.data(), parms::Callback);
  EXPECT_NE(b.table.entries().at(static_cast<std::size_t>(cbh - 1)).address, nullptr);
  // The entries' array holds exactly one 104-byte entry.
  const std::int32_t eh = getI32(b.record.data(), parms::Specs);
  EXPECT_EQ(b.table.entries().at(static_cast<std::size_t>(eh - 1)).size, 104u);
  const unsigned char* e = entry(b, 0);
  EXPECT_EQ(textAt(b, e + spec::Text), "/dane/Baza/*.*");
  for (std::size_t off = 4; off < spec::kSize; off += 4) EXPECT_EQ(getI32(e, off), 0) << "entry offset " << off;
}

TEST(ZipRecord, OptionsAndSpecificationFormsChangeOnlyTheirBytes) {
  struct Field {
    bool inEntry;
    std::size_t offset;
    int width;  // 2 or 4
    std::int64_t value;
  };
  struct Case {
    const char* name;
    std::uint32_t options;
    bool trace;
    const char* password;
    const char* spec;          // parsed as a caller's text
    const char* entryText;     // what the entry's text must be
    const char* entryPassword; // nullptr: no handle
    std::vector<Field> fields;
  } cases[] = {
      {"AddDirNames", zip::AddDirNames, false, "", "x", "x", nullptr, {{false, 72, 4, 0}}},
      {"recursion", zip::AddRecurseDirs, false, "", "x", "x", nullptr,
       {{false, 76, 2, 0xFFFF}, {true, 20, 2, 0xFFFF}}},
      {"Freshen with Update", zip::AddFreshen | zip::AddUpdate, false, "", "x", "x", nullptr,
       {{false, 96, 4, -1}, {false, 100, 4, 0}}},
      {"Freshen alone", zip::AddFreshen, false, "", "x", "x", nullptr, {{false, 100, 4, -1}}},
      {"SeparateDirs", zip::AddSeparateDirs, false, "", "x", "x", nullptr, {{false, 44, 4, 0}}},
      {"Trace", 0, true, "", "x", "x", nullptr, {{false, 16, 4, -1}, {false, 52, 4, -1}}},
      {"Move, Update, hidden, ForceDOS, volume, ZipTime", zip::AddMove | zip::AddUpdate | zip::AddHiddenFiles |
           zip::AddForceDOS | zip::AddVolume | zip::AddZipTime, false, "", "x", "x", nullptr,
       {{false, 88, 4, -1}, {false, 96, 4, -1}, {false, 32, 4, -1}, {false, 84, 4, -1}, {false, 36, 4, -1},
        {false, 108, 4, -1}}},
      {"archive bits", zip::AddArchiveOnly | zip::AddResetArchive, false, "", "x", "x", nullptr,
       {{false, 136, 2, 1}, {false, 138, 2, 1}}},
      {">x forces recursion", 0, false, "", ">x", "x", nullptr, {{true, 20, 2, 0xFFFF}}},
      {"|x forbids it", zip::AddRecurseDirs, false, "", "|x", "x", nullptr,
       {{false, 76, 2, 0xFFFF}, {true, 20, 2, 0}}},
      {"x<pw: the entry's password", 0, false, "", "x<pw", "x", "pw", {{true, 16, 4, 0xFFFF}}},
      {"x<: no encryption for the entry", zip::AddEncrypt, false, "", "x<", "x", nullptr,
       {{false, 28, 4, -1}, {true, 16, 4, 0}}},
      {"the component's password", zip::AddEncrypt, false, "tajne", "x", "x", "tajne",
       {{false, 28, 4, -1}, {true, 16, 4, -1}}},
  };
  Packer base;
  base.z.addFSpecArg("x");
  base.z.setZipFileName("/a.zip");
  const auto ref = base.build();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Packer p;
    p.z.AddOptions = c.options;
    p.z.Trace = c.trace;
    p.z.setPassword(c.password);
    p.z.addFSpecArg(c.spec);
    p.z.setZipFileName("/a.zip");
    const auto b = p.build();
    std::vector<unsigned char> rec = ref.record, ent(entry(ref, 0), entry(ref, 0) + spec::kSize);
    for (const auto& f : c.fields) {
      unsigned char* img = f.inEntry ? ent.data() : rec.data();
      if (f.width == 2) putU16(img, f.offset, static_cast<std::uint16_t>(f.value));
      else putI32(img, f.offset, static_cast<std::int32_t>(f.value));
    }
    // Address fields are compared by what they point at.
    for (std::size_t off : {parms::Caller, parms::Callback, parms::Suffixes, parms::ArchiveName, parms::Specs,
                            parms::Password}) {
      putI32(rec.data(), off, 0);
    }
    std::vector<unsigned char> got = b.record, gotEnt(entry(b, 0), entry(b, 0) + spec::kSize);
    const bool recordPassword = getI32(got.data(), parms::Password) != 0;
    EXPECT_EQ(recordPassword, std::strlen(c.password) > 0);
    if (recordPassword) {
      EXPECT_EQ(textAt(b, got.data() + parms::Password), c.password);
    }
    for (std::size_t off : {parms::Caller, parms::Callback, parms::Suffixes, parms::ArchiveName, parms::Specs,
                            parms::Password})
      putI32(got.data(), off, 0);
    EXPECT_EQ(hex(got.data(), got.size()), hex(rec.data(), rec.size()));
    EXPECT_EQ(textAt(b, gotEnt.data() + spec::Text), c.entryText);
    if (c.entryPassword) {
      EXPECT_EQ(textAt(b, gotEnt.data() + spec::Password), c.entryPassword);
    } else {
      EXPECT_EQ(getI32(gotEnt.data(), spec::Password), 0);
    }
    putI32(gotEnt.data(), spec::Text, 0);
    putI32(gotEnt.data(), spec::Password, 0);
    putI32(ent.data(), spec::Text, 0);
    EXPECT_EQ(hex(gotEnt.data(), gotEnt.size()), hex(ent.data(), ent.size()));
  }
}

TEST(ZipRecord, TextsOnlyWhenGivenAndExclusionsAsHandles) {
  Packer p;
  p.z.addFSpecArg("a");
  p.z.addFSpecArg("b");
  p.z.setZipFileName("/a.zip");
  p.z.TempDir = "/tmp/t";
  p.z.RootDir = "/root/r";
  p.z.ArchiveComment = "komentarz";
  p.z.FSpecArgsExcl = {"*.bak", "tmp/*"};
  p.z.AddStoreSuffixes = 0;
  const auto b = p.build();
  const unsigned char* r = b.record.data();
  EXPECT_EQ(getI32(r, parms::SpecCount), 2);
  EXPECT_EQ(getI32(r, parms::Suffixes), 0);
  EXPECT_EQ(textAt(b, r + parms::TempDir), "/tmp/t");
  EXPECT_EQ(textAt(b, r + parms::Comment), "komentarz");
  EXPECT_EQ(textAt(b, entry(b, 1) + spec::Text), "b");
  EXPECT_EQ(textAt(b, entry(b, 1) + spec::RootDir), "/root/r");
  ASSERT_EQ(getI32(r, parms::ExclCount), 2);
  const auto* list = static_cast<const unsigned char*>(
      b.table.entries().at(static_cast<std::size_t>(getI32(r, parms::Excl) - 1)).address);
  EXPECT_EQ(textAt(b, list), "*.bak");
  EXPECT_EQ(textAt(b, list + 4), "tmp/*");

  // A library of 1.51 gets the temporary folder but no comment, archive bits or exclusions.
  const auto b151 = p.build(151);
  EXPECT_EQ(textAt(b151, b151.record.data() + parms::TempDir), "/tmp/t");
  for (std::size_t off : {parms::Comment, parms::ArchiveOnly, parms::ExclCount, parms::Excl})
    EXPECT_EQ(getI32(b151.record.data(), off) & (off == parms::ArchiveOnly ? 0xFFFF : -1), 0) << off;
}

TEST(ZipRecord, OlderLibrariesGetTheLongRecordWithWholeTexts) {
  Packer p;
  p.z.addFSpecArg(">a<pw");
  p.z.addFSpecArg("b");
  p.z.setZipFileName("/a.zip");
  const auto b = p.build(150);
  ASSERT_EQ(b.record.size(), 16520u);
  const unsigned char* r = b.record.data();
  EXPECT_EQ(getI32(r, 128), 7);
  EXPECT_EQ(getI32(r, 120), 2);
  EXPECT_EQ(textAt(b, r + 132), ">a<pw");
  EXPECT_EQ(textAt(b, r + 136), "b");
  for (std::size_t off = 140; off < 16520; ++off) ASSERT_EQ(r[off], 0) << off;

  Packer many;
  for (int i = 0; i < 4097; ++i) many.z.addFSpecArg("f");
  EXPECT_TRUE(many.build(150).ok);
  many.z.addFSpecArg("f");
  EXPECT_FALSE(many.build(150).ok);
  EXPECT_TRUE(many.build(160).ok);
}

TEST(ZipRecord, StoreSuffixTextFollowsTheSet) {
  EXPECT_EQ(zip::storeSuffixText(zip::kDefaultStoreSuffixes), ".gif:.png:.z:.zip:.zoo:.arc:.lzh:.arj:.taz:.tgz:.lha");
  EXPECT_EQ(zip::storeSuffixText(zip::assEXE | zip::assGIF), ".gif:.exe");
  EXPECT_EQ(zip::storeSuffixText(0), "");
}

}  // namespace
