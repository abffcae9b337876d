// Self-extracting archives: the parameter block against bytes written out by hand, the program
// made from a stub and an archive as outside readers see it, the stub's icon in a hand-built PE
// file, and our own stub unpacking what it carries.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/dialogs.h"
#include "platform/library.h"
#include "platform/shell.h"
#include "platform/wholefile.h"
#include "support/world.h"
#include "handzip.h"
#include "ziptools.h"
#include "zip/zippack.h"

namespace {

using testing_world::World;
using zip::TZipPacker;

const QString kFallback = "ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: ";

std::string bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s += static_cast<char>(c);
  return s;
}

// A two-entry archive with a comment, written by Python's zipfile.
void writeArchive(const QString& path) {
  runPython("import sys, zipfile\n"
            "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
            "    z.writestr(zipfile.ZipInfo('a.txt', (2020, 1, 2, 3, 4, 6)), b'alpha\\n' * 300, "
            "compress_type=zipfile.ZIP_DEFLATED)\n"
            "    z.writestr(zipfile.ZipInfo('b/b.txt', (2021, 5, 6, 7, 8, 10)), b'beta\\n', compress_type=zipfile.ZIP_STORED)\n"
            "    z.comment = b'komentarz'\n",
            {path});
}

// "name offset" of each member as Python's zipfile reads the central directory.
QStringList headerOffsets(const QString& archive) {
  return QString::fromUtf8(runPython("import sys, zipfile\n"
                                     "for i in zipfile.ZipFile(sys.argv[1]).infolist():\n"
                                     "    print(i.filename, i.header_offset)\n",
                                     {archive}))
      .split('\n', Qt::SkipEmptyParts);
}

struct Sfx {
  QTemporaryDir tmp;
  QString program = tmp.filePath("program");
  QString out = tmp.filePath("out");
  ProgramFolder folder{program};
  platform::ScriptedDialogs dialogs;
  platform::RecordingShell shell;
  TZipPacker z{dialogs};
  std::string stub = "#!FAKE STUB\x01\x02\x03\n";

  Sfx() {
    QDir().mkpath(program);
    QDir().mkpath(out);
    World::writeFile(program + "/ZPACKSFX.BIN", stub);
    z.setShell(&shell);
  }
  QString zip(const QString& name = "kopia.zip") {
    const QString path = out + "/" + name;
    writeArchive(path);
    return path;
  }
};

TEST(SfxBlock, DefaultAndEachOptionToItsBit) {
  Sfx s;
  // "MPV", flags (the size check), 0, 1, length 35, the caption, three empty texts.
  EXPECT_EQ(s.z.SFXParameterBlock(),
            bytes({0x4D, 0x50, 0x56, 0x20, 0x00, 0x01, 0x23, 0x00, 0x17}) + "Self-extracting Archive" +
                bytes({0, 0, 0}));

  struct Case {
    const char* name;
    std::uint32_t options;
    zip::TSFXOverWriteMode mode;
    int flags;
  };
  using M = zip::TSFXOverWriteMode;
  const Case cases[] = {
      {"nothing", 0, M::OvrConfirm, 0x00},
      {"ask command line", zip::SFXAskCmdLine, M::OvrConfirm, 0x01},
      {"ask files", zip::SFXAskFiles, M::OvrConfirm, 0x02},
      {"hide overwrite box", zip::SFXHideOverWriteBox, M::OvrConfirm, 0x04},
      {"overwrite always", 0, M::OvrAlways, 0x08},
      {"overwrite never", 0, M::OvrNever, 0x10},
      {"check size", zip::SFXCheckSize, M::OvrConfirm, 0x20},
      {"auto run", zip::SFXAutoRun, M::OvrConfirm, 0x40},
      {"no success message", zip::SFXNoSuccessMsg, M::OvrConfirm, 0x80},
      {"all", 0x3F, M::OvrNever, 0xF7},
  };
  s.z.SFXCaption = "Kopia";
  s.z.SFXDefaultDir = "C:\\ZELT";
  s.z.SFXCommandLine = "";
  s.z.SFXMessage = "Gotowe – łódź";
  const std::string texts = bytes({5}) + "Kopia" + bytes({7}) + "C:\\ZELT" + bytes({0}) + bytes({13}) + "Gotowe " +
                            bytes({0x96}) + " " + bytes({0xB3, 0xF3, 0x64, 0x9F});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s.z.SFXOptions = c.options;
    s.z.SFXOverWriteMode = c.mode;
    EXPECT_EQ(s.z.SFXParameterBlock(), bytes({'M', 'P', 'V', c.flags, 0, 1, 8 + 6 + 8 + 1 + 14, 0}) + texts);
  }
}

TEST(SfxBlock, TooLongTextIsRefusedWithTheTotal) {
  Sfx s;
  const QString zipPath = s.zip();
  s.z.setZipFileName(zipPath);
  s.z.SFXCaption = QString(256, 'x');
  s.dialogs.expectMessage(platform::IdOk);
  EXPECT_EQ(s.z.ConvertToSFX(), 10801);
  // 8 + four length bytes + 256 characters, and one.
  EXPECT_EQ(s.dialogs.messages(),
            QStringList{kFallback + "10801\r\nSFXCaption + SFXDefaultDir + SFXCommandLine + SFXMessage = 269"});
  EXPECT_FALSE(QFile::exists(s.out + "/kopia.exe"));
  s.z.SFXCaption = QString(255, 'x');
  EXPECT_EQ(s.z.ConvertToSFX(), 0);
}

TEST(Sfx, ProgramIsStubBlockAndTheArchiveWithMovedOffsets) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("unzip");
  Sfx s;
  const QString zipPath = s.zip();
  const std::string archive = World::readFile(zipPath);
  s.z.setZipFileName(zipPath);
  std::vector<std::pair<int, std::int64_t>> progress;
  s.z.OnProgress = [&](int kind, const QString&, std::int64_t n) { progress.emplace_back(kind, n); };
  EXPECT_EQ(s.z.ConvertToSFX(), 0);
  const QString exe = s.out + "/kopia.exe";
  const std::string made = World::readFile(exe);
  const std::string block = s.z.SFXParameterBlock();
  const std::size_t prefix = s.stub.size() + block.size();
  ASSERT_GT(made.size(), prefix);
  EXPECT_EQ(made.substr(0, prefix), s.stub + block);
  EXPECT_EQ(made.size(), prefix + archive.size());
  // The local entries as they were; every offset moved by the stub and block.
  const QStringList before = headerOffsets(zipPath), after = headerOffsets(exe);
  ASSERT_EQ(before.size(), 2);
  ASSERT_EQ(after.size(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(after[i].section(' ', 0, 0), before[i].section(' ', 0, 0));
    const std::size_t at = after[i].section(' ', 1).toULongLong();
    EXPECT_EQ(at, before[i].section(' ', 1).toULongLong() + prefix);
    EXPECT_EQ(made.substr(at, 4), "PK\x03\x04");
  }
  EXPECT_EQ(inspect(exe), (QStringList{"a.txt 8 0 1800", "b/b.txt 0 0 5", "comment:komentarz", "test:None"}));
  const ToolRun t = runTool("unzip", {"-t", exe});
  EXPECT_EQ(t.code, 0) << t.output.toStdString();
  EXPECT_FALSE(t.output.contains("warning")) << t.output.toStdString();
  // Our own reader finds no data in front that its offsets leave out (no message 10203).
  s.z.setZipFileName(exe);
  EXPECT_TRUE(s.dialogs.messages().isEmpty());
  ASSERT_EQ(s.z.Count(), 2);
  EXPECT_EQ(s.z.ArchiveComment, "komentarz");
  // A program its user alone reads, writes and runs.
  struct stat st;
  ASSERT_EQ(stat(exe.toUtf8().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  // Progress: the start with the archive's size, the bytes in blocks of 8 KiB at most, the end.
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front(), (std::pair<int, std::int64_t>{0, static_cast<std::int64_t>(archive.size())}));
  EXPECT_EQ(progress.back().first, 2);
  std::int64_t sum = 0;
  for (std::size_t i = 1; i + 1 < progress.size(); ++i) {
    EXPECT_EQ(progress[i].first, 1);
    EXPECT_LE(progress[i].second, 8192);
    sum += progress[i].second;
  }
  EXPECT_EQ(sum, static_cast<std::int64_t>(archive.size()));
}

TEST(Sfx, InputWithDataInFrontIsMovedOnce) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("unzip");
  struct Case {
    const char* name;
    bool offsetsCountIt;  // a program made before (offsets moved), or bytes put in front by hand
  };
  for (const Case c : {Case{"bytes put in front", false}, Case{"a self-extracting program again", true}}) {
    SCOPED_TRACE(c.name);
    Sfx s;
    const QString plain = s.zip("plain.zip");
    const QString input = s.out + "/kopia.zip";
    if (c.offsetsCountIt) {
      s.z.setZipFileName(plain);
      ASSERT_EQ(s.z.ConvertToSFX(), 0);
      QFile::rename(s.out + "/plain.exe", input);
      s.z.setZipFileName(input);
    } else {
      World::writeFile(input, std::string(1000, 'J') + World::readFile(plain));
      s.dialogs.expectMessage(platform::IdOk, kFallback + "10203");
      s.z.setZipFileName(input);
    }
    s.z.SFXCaption = "Druga";
    EXPECT_EQ(s.z.ConvertToSFX(), 0);
    const QString exe = s.out + "/kopia.exe";
    const std::string made = World::readFile(exe);
    const std::size_t prefix = s.stub.size() + s.z.SFXParameterBlock().size();
    // The plain archive's local entries follow the new prefix as they were, and nothing of the
    // old prefix; only the directory's offsets differ.
    const std::string original = World::readFile(plain);
    const std::size_t entries = original.find("PK\x01\x02");
    ASSERT_NE(entries, std::string::npos);
    EXPECT_EQ(made.size(), prefix + original.size());
    EXPECT_EQ(made.substr(prefix, entries), original.substr(0, entries));
    const QStringList offsets = headerOffsets(exe);
    ASSERT_EQ(offsets.size(), 2);
    EXPECT_EQ(offsets[0], "a.txt " + QString::number(prefix));
    EXPECT_EQ(unzipTest(exe), 0);
    EXPECT_EQ(member(exe, "b/b.txt"), "beta\n");
  }
}

TEST(Sfx, RefusalsAndFailuresLeaveTheOldProgram) {
  REQUIRE_TOOL("python3");
  {
    SCOPED_TRACE("no stub: not in the working folder either");
    Sfx s;
    QFile::remove(s.program + "/ZPACKSFX.BIN");
    World::writeFile(QDir::currentPath() + "/ZPACKSFX.BIN", "planted");
    s.z.setZipFileName(s.zip());
    s.dialogs.expectMessage(platform::IdOk);
    EXPECT_EQ(s.z.ConvertToSFX(), 10802);
    QFile::remove(QDir::currentPath() + "/ZPACKSFX.BIN");
    EXPECT_EQ(s.dialogs.messages(), QStringList{kFallback + "10802"});
    EXPECT_FALSE(QFile::exists(s.out + "/kopia.exe"));
  }
  {
    SCOPED_TRACE("not a .zip name");
    Sfx s;
    const QString other = s.zip("kopia.arc");
    s.z.setZipFileName(other);
    s.dialogs.expectMessage(platform::IdOk);
    EXPECT_EQ(s.z.ConvertToSFX(), 10803);
    EXPECT_EQ(s.dialogs.messages(), QStringList{kFallback + "10803"});
    EXPECT_EQ(QDir(s.out).entryList(QDir::Files | QDir::Hidden), QStringList{"kopia.arc"});
  }
  {
    SCOPED_TRACE("a write fails: the old program stays, nothing else is left");
    Sfx s;
    s.z.setZipFileName(s.zip());
    World::writeFile(s.out + "/kopia.exe", "old program");
    platform::FailWholeFileStep full(platform::WholeFileStep::Write);
    try {
      s.z.ConvertToSFX();
      ADD_FAILURE() << "no exception";
    } catch (const zip::EZipPacker& e) {
      EXPECT_EQ(e.id(), 11029);
    }
    EXPECT_EQ(World::readFile(s.out + "/kopia.exe"), "old program");
    EXPECT_EQ(QDir(s.out).entryList(QDir::Files | QDir::Hidden), (QStringList{"kopia.exe", "kopia.zip"}));
    EXPECT_TRUE(s.shell.requests.isEmpty());
  }
  {
    SCOPED_TRACE("the input is no archive");
    Sfx s;
    World::writeFile(s.out + "/kopia.zip", std::string(100, 'x'));
    World::writeFile(s.out + "/kopia.exe", "old program");
    s.z.setZipFileName(s.out + "/x.zip");  // no such file yet: List reads nothing
    QFile::rename(s.out + "/kopia.zip", s.out + "/x.zip");
    try {
      s.z.ConvertToSFX();
      ADD_FAILURE() << "no exception";
    } catch (const zip::EZipPacker& e) {
      EXPECT_EQ(e.id(), 11043);
    }
    EXPECT_FALSE(QFile::exists(s.out + "/x.exe"));
    EXPECT_EQ(World::readFile(s.out + "/kopia.exe"), "old program");
  }
}

TEST(Sfx, OldProgramGoesToTheTrashOrIsReplaced) {
  REQUIRE_TOOL("python3");
  for (auto how : {zip::THowToDelete::htdAllowUndo, zip::THowToDelete::htdFinal}) {
    Sfx s;
    s.z.HowToDelete = how;
    s.z.setZipFileName(s.zip());
    World::writeFile(s.out + "/kopia.exe", "old program");
    EXPECT_EQ(s.z.ConvertToSFX(), 0);
    EXPECT_EQ(World::readFile(s.out + "/kopia.exe").substr(0, s.stub.size()), s.stub);
    EXPECT_EQ(s.shell.requests, how == zip::THowToDelete::htdAllowUndo ? QStringList{"trash " + s.out + "/kopia.exe"}
                                                                       : QStringList{});
  }
}

TEST(Sfx, StubIsFoundByItsSettingThenBesideTheProgramIgnoringCase) {
  REQUIRE_TOOL("python3");
  Sfx s;
  QFile::remove(s.program + "/ZPACKSFX.BIN");
  QDir().mkpath(s.tmp.filePath("lib"));
  World::writeFile(s.tmp.filePath("lib/ZPackSfx.Bin"), "library folder stub");
  World::writeFile(s.program + "/own.bin", "own stub");
  s.z.setDLLDirectory(s.tmp.filePath("lib"));
  s.z.setZipFileName(s.zip());
  struct Case {
    const char* name;
    QString setting;
    std::string stub;
  };
  const Case cases[] = {
      {"relative setting: the program's folder", "own.bin", "own stub"},
      {"absolute setting", s.tmp.filePath("lib/ZPackSfx.Bin"), "library folder stub"},
      {"setting names nothing: the library folder", "missing.bin", "library folder stub"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s.z.SFXPath = c.setting;
    EXPECT_EQ(s.z.ConvertToSFX(), 0);
    EXPECT_EQ(World::readFile(s.out + "/kopia.exe").substr(0, c.stub.size()), c.stub);
  }
  EXPECT_EQ(s.z.SFXPath, s.tmp.filePath("lib/ZPackSfx.Bin"));
}

// A minimal PE file, laid out by hand: DOS header, PE signature, COFF header, PE32 optional
// header with the resource directory's entry, one section ".rsrc" at file offset 0x200 (relative
// address 0x1000) holding the resource tree type 3 (icon) / name 1 / language 0x415 / data entry,
// and the icon's image at file offset 0x260.
std::string peWithIcon(std::size_t imageSize) {
  std::string f(0x260 + imageSize, '\0');
  auto* b = reinterpret_cast<unsigned char*>(f.data());
  auto w16 = [&](std::size_t at, unsigned v) { b[at] = v & 0xFF; b[at + 1] = (v >> 8) & 0xFF; };
  auto w32 = [&](std::size_t at, std::uint32_t v) { for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF; };
  b[0] = 'M';
  b[1] = 'Z';
  w32(0x3C, 0x40);
  std::memcpy(b + 0x40, "PE\0\0", 4);
  w16(0x44, 0x14C);          // i386
  w16(0x46, 1);              // one section
  w16(0x54, 224);            // optional header size
  w16(0x58, 0x10B);          // PE32
  w32(0x58 + 96 + 16, 0x1000);  // data directory 2: resources
  w32(0x58 + 96 + 20, 0x100);
  const std::size_t sec = 0x58 + 224;
  std::memcpy(b + sec, ".rsrc", 5);
  w32(sec + 8, 0x1000);      // virtual size
  w32(sec + 12, 0x1000);     // virtual address
  w32(sec + 16, 0x400);      // raw size
  w32(sec + 20, 0x200);      // raw pointer
  const std::size_t r = 0x200;
  w16(r + 14, 1);                          // root: one numbered entry
  w32(r + 16, 3), w32(r + 20, 0x80000018);  // icon -> directory at 0x18
  w16(r + 0x18 + 14, 1);
  w32(r + 0x18 + 16, 1), w32(r + 0x18 + 20, 0x80000030);  // name 1 -> directory at 0x30
  w16(r + 0x30 + 14, 1);
  w32(r + 0x30 + 16, 0x415), w32(r + 0x30 + 20, 0x48);  // language -> data entry at 0x48
  w32(r + 0x48, 0x1060), w32(r + 0x48 + 4, static_cast<std::uint32_t>(imageSize));
  std::memset(b + 0x260, 0xAA, imageSize);
  return f;
}

std::string iconImage(int bits = 4, std::size_t size = 744) {
  std::string d(size, '\x55');
  auto* b = reinterpret_cast<unsigned char*>(d.data());
  const std::uint32_t head[] = {40, 32, 64};
  std::memcpy(b, head, sizeof head);
  b[12] = 1, b[13] = 0, b[14] = static_cast<unsigned char>(bits), b[15] = 0;
  return d;
}

TEST(SfxIcon, ReplacedInPlaceOnlyByAFittingImage) {
  REQUIRE_TOOL("python3");
  EXPECT_EQ(iconImage().size(), zip::kSFXIconSize);
  {
    SCOPED_TRACE("refused images leave the icon as it was");
    Sfx s;
    EXPECT_TRUE(s.z.setSFXIcon(iconImage()));
    EXPECT_FALSE(s.z.setSFXIcon(iconImage(4, 743)));
    EXPECT_FALSE(s.z.setSFXIcon(iconImage(8)));
    EXPECT_FALSE(s.z.setSFXIcon(std::string(744, '\0')));
    EXPECT_EQ(s.z.SFXIcon(), iconImage());
  }
  struct Case {
    const char* name;
    std::string stub;
    std::string expected;
  };
  std::string patched = peWithIcon(744);
  patched.replace(0x260, 744, iconImage());
  const Case cases[] = {
      {"stub with a 744-byte icon", peWithIcon(744), patched},
      {"stub whose icon has another size", peWithIcon(1128), peWithIcon(1128)},
      {"stub that is no PE file", "#!FAKE STUB\n", "#!FAKE STUB\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Sfx s;
    World::writeFile(s.program + "/ZPACKSFX.BIN", c.stub);
    ASSERT_TRUE(s.z.setSFXIcon(iconImage()));
    s.z.setZipFileName(s.zip());
    EXPECT_EQ(s.z.ConvertToSFX(), 0);
    EXPECT_EQ(World::readFile(s.out + "/kopia.exe").substr(0, c.expected.size()), c.expected);
  }
}

// Our own stub and the zip library: a program that unpacks itself.
struct RealStub {
  QTemporaryDir tmp;
  QString data = tmp.filePath("Baza"), out = tmp.filePath("out");
  ProgramFolder folder{ZPACK_DIR};
  platform::ScriptedDialogs dialogs;
  platform::RecordingShell shell;
  TZipPacker z{dialogs};
  RealStub() {
    QDir().mkpath(data + "/sub");
    QDir().mkpath(out);
    World::writeFile(data + "/transak.dat", std::string(70000, 'T') + "koniec");
    World::writeFile(data + "/Łódź.txt", "zażółć\n");
    World::writeFile(data + "/sub/c.txt", "c\n");
    z.setDLLDirectory(ZPACK_DIR);
    z.setShell(&shell);
  }
  void add(const QString& archive) {
    z.AddOptions = zip::AddDirNames | zip::AddRecurseDirs;
    z.addFileSpec(data, "*.*");
    z.setZipFileName(archive);
    z.Add();
  }
  ToolRun run(const QString& program, const QStringList& args, const QString& cwd = {}) {
    return runTool(program, args, cwd);
  }
};

TEST(SfxStub, NewProgramFromAddUnpacksItself) {
  REQUIRE_TOOL("unzip");
  RealStub r;
  const QString exe = r.out + "/kopia.EXE";
  r.z.SFXCaption = "Kopia rejestru";
  r.z.SFXMessage = "Gotowe";
  r.add(exe);
  EXPECT_EQ(r.z.AddedCount, 3);
  EXPECT_TRUE(r.dialogs.messages().isEmpty());
  const std::string stub = World::readFile(QString(ZPACK_DIR) + "/ZPACKSFX.BIN");
  EXPECT_EQ(World::readFile(exe).substr(0, stub.size()), stub);
  const ToolRun t = runTool("unzip", {"-t", exe});
  EXPECT_EQ(t.code, 0) << t.output.toStdString();
  EXPECT_FALSE(t.output.contains("warning")) << t.output.toStdString();
  EXPECT_EQ(r.z.Count(), 3);

  // Added to again: the stub stays in front.
  World::writeFile(r.data + "/nowy.txt", "nowy\n");
  r.add(exe);
  EXPECT_EQ(r.z.AddedCount, 4);
  EXPECT_EQ(World::readFile(exe).substr(0, stub.size()), stub);
  EXPECT_EQ(unzipTest(exe), 0);

  const QString into = r.tmp.filePath("rozpakowane");
  const ToolRun x = r.run(exe, {into});
  EXPECT_EQ(x.code, 0) << x.output.toStdString();
  EXPECT_TRUE(x.output.startsWith("Kopia rejestru\n")) << x.output.toStdString();
  EXPECT_TRUE(x.output.endsWith("Gotowe\n")) << x.output.toStdString();
  for (const char* name : {"transak.dat", "Łódź.txt", "sub/c.txt", "nowy.txt"})
    EXPECT_EQ(World::readFile(into + "/" + QString::fromUtf8(name)), World::readFile(r.data + "/" + QString::fromUtf8(name)))
        << name;
}

TEST(SfxStub, FolderChoiceAndOverwriteModes) {
  REQUIRE_TOOL("python3");
  struct Case {
    const char* name;
    zip::TSFXOverWriteMode mode;
    bool argument, defaultDir;
    std::string expected;  // what c.txt holds afterwards, where it was "stary"
  };
  using M = zip::TSFXOverWriteMode;
  const Case cases[] = {
      {"never, into the argument", M::OvrNever, true, true, "stary\n"},
      {"always, into the argument", M::OvrAlways, true, true, "c\n"},
      {"confirm without a terminal: never", M::OvrConfirm, true, false, "stary\n"},
      {"always, into the default folder", M::OvrAlways, false, true, "c\n"},
      {"always, into the working folder", M::OvrAlways, false, false, "c\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RealStub r;
    const QString zipPath = r.out + "/kopia.zip";
    r.add(zipPath);
    ASSERT_EQ(r.z.AddedCount, 3);
    r.z.SFXOverWriteMode = c.mode;
    const QString argument = r.tmp.filePath("argument"), byDefault = r.tmp.filePath("domyslny"),
                  working = r.tmp.filePath("roboczy");
    r.z.SFXDefaultDir = c.defaultDir ? byDefault : QString();
    ASSERT_EQ(r.z.ConvertToSFX(), 0);
    const QString into = c.argument ? argument : c.defaultDir ? byDefault : working;
    QDir().mkpath(into + "/sub");
    QDir().mkpath(working);
    World::writeFile(into + "/sub/c.txt", "stary\n");
    const ToolRun x = r.run(r.out + "/kopia.exe", c.argument ? QStringList{argument} : QStringList{}, working);
    EXPECT_EQ(x.code, 0) << x.output.toStdString();
    EXPECT_EQ(World::readFile(into + "/sub/c.txt"), c.expected);
    EXPECT_EQ(World::readFile(into + "/transak.dat"), World::readFile(r.data + "/transak.dat"));
  }
}

TEST(SfxStub, ConfirmAsksOnTheTerminal) {
  REQUIRE_TOOL("script");  // util-linux: runs the program on a terminal of its own
  for (const auto& [answer, expected] : {std::pair<QByteArray, std::string>{"y\n", "c\n"}, {"n\n", "stary\n"}}) {
    SCOPED_TRACE(answer.toStdString());
    RealStub r;
    r.add(r.out + "/kopia.zip");
    ASSERT_EQ(r.z.AddedCount, 3);
    ASSERT_EQ(r.z.ConvertToSFX(), 0);
    const QString into = r.tmp.filePath("cel");
    QDir().mkpath(into + "/sub");
    World::writeFile(into + "/sub/c.txt", "stary\n");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("script", {"-qec", "'" + r.out + "/kopia.exe' '" + into + "'", "/dev/null"});
    ASSERT_TRUE(p.waitForStarted());
    p.write(answer);
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("Overwrite sub/c.txt? [y/N]")) << output.toStdString();
    EXPECT_EQ(World::readFile(into + "/sub/c.txt"), expected);
    EXPECT_EQ(World::readFile(into + "/transak.dat"), World::readFile(r.data + "/transak.dat"));
  }
}

TEST(SfxStub, NamesLeavingTheFolderRefuseTheArchive) {
  REQUIRE_TOOL("python3");
  for (const char* bad : {"../x", "/x", "sub/../../x"}) {
    SCOPED_TRACE(bad);
    RealStub r;
    const QString zipPath = r.out + "/zly.zip";
    runPython("import sys, zipfile\n"
              "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
              "    z.writestr('dobry.txt', b'ok')\n"
              "    z.writestr(zipfile.ZipInfo(sys.argv[2]), b'zly')\n",
              {zipPath, QString::fromUtf8(bad)});
    r.z.setZipFileName(zipPath);
    ASSERT_EQ(r.z.ConvertToSFX(), 0);
    const QString into = r.tmp.filePath("a/b");
    const ToolRun x = r.run(r.out + "/zly.exe", {into});
    EXPECT_NE(x.code, 0);
    EXPECT_TRUE(x.output.contains("Refused")) << x.output.toStdString();
    EXPECT_FALSE(QFile::exists(into + "/dobry.txt"));
    EXPECT_FALSE(QFile::exists(r.tmp.filePath("a/x")));
    EXPECT_FALSE(QFile::exists(r.tmp.filePath("x")));
  }
}

// A self-extractor made from an archive laid out by hand, run under the given umask.
struct HandStub : RealStub {
  QString make(const std::vector<handzip::Member>& members) {
    const QString zipPath = out + "/reczny.zip";
    World::writeFile(zipPath, handzip::archive(members));
    z.setZipFileName(zipPath);
    EXPECT_EQ(z.ConvertToSFX(), 0);
    return out + "/reczny.exe";
  }
  ToolRun runUnder(const char* umaskText, const QString& program, const QString& into) {
    return runTool("sh", {"-c", QStringLiteral("umask %1; exec \"$0\" \"$1\"").arg(umaskText), program, into});
  }
};

mode_t modeOf(const QString& path, bool* regular = nullptr) {
  struct stat st;
  if (lstat(path.toUtf8().constData(), &st) != 0) return 07777;
  if (regular) *regular = S_ISREG(st.st_mode);
  return st.st_mode & 07777;
}

TEST(SfxStub, ModesTakeTheUmaskAndNeverMoreThan0755) {
  const std::uint32_t file = S_IFREG, link = S_IFLNK;
  const std::vector<handzip::Member> members = {
      {"rw.txt", "rw\n", 0, 0x0314, "", "", (file | 0666) << 16},
      {"rwx.sh", "#!/bin/sh\n", 0, 0x0314, "", "", (file | 0777) << 16},
      {"own.txt", "own\n", 0, 0x0314, "", "", (file | 0640) << 16},
      {"link", "/etc/passwd", 0, 0x0314, "", "", (link | 0777) << 16},
      {"sub/in.txt", "in\n", 0, 0x0314, "", "", (file | 0600) << 16},
  };
  struct Case {
    const char* umask;
    mode_t rw, rwx, own, link, sub;
  };
  const Case cases[] = {
      {"022", 0644, 0755, 0640, 0644, 0755},
      {"000", 0644, 0755, 0640, 0644, 0755},
      {"077", 0600, 0700, 0600, 0600, 0700},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("umask ") + c.umask);
    HandStub h;
    const QString exe = h.make(members);
    const QString into = h.tmp.filePath("cel");
    const ToolRun x = h.runUnder(c.umask, exe, into);
    ASSERT_EQ(x.code, 0) << x.output.toStdString();
    EXPECT_EQ(modeOf(into + "/rw.txt"), c.rw);
    EXPECT_EQ(modeOf(into + "/rwx.sh"), c.rwx);
    EXPECT_EQ(modeOf(into + "/own.txt"), c.own);
    bool regular = false;
    EXPECT_EQ(modeOf(into + "/link", &regular), c.link);
    EXPECT_TRUE(regular);  // a plain file holding the link's target, never a link
    EXPECT_EQ(World::readFile(into + "/link"), "/etc/passwd");
    EXPECT_EQ(modeOf(into + "/sub"), c.sub);
    EXPECT_EQ(World::readFile(into + "/sub/in.txt"), "in\n");
  }
}

TEST(SfxStub, ALinkAlreadyInTheFolderIsNeverPassedThrough) {
  struct Case {
    const char* name;
    QString link, target;  // the link planted in the folder, and where it points
    QString member;
  };
  const Case cases[] = {
      {"a link to the folder above", "up", "..", "up/x"},
      {"a link to a folder inside", "w", "sub", "w/x"},
      {"a link deeper down", "sub/up", "../..", "sub/up/x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HandStub h;
    const QString exe = h.make({{"dobry.txt", "ok\n"}, {c.member.toStdString(), "zly\n"}});
    const QString into = h.tmp.filePath("a/b");
    QDir().mkpath(into + "/sub");
    ASSERT_TRUE(QFile::link(c.target, into + "/" + c.link));
    const ToolRun x = h.runUnder("022", exe, into);
    EXPECT_EQ(x.code, 3) << x.output.toStdString();
    EXPECT_TRUE(x.output.contains(QStringLiteral("Refused: the member \"%1\" would pass through the link \"%2\"; "
                                                 "nothing extracted").arg(c.member, c.link)))
        << x.output.toStdString();
    EXPECT_FALSE(QFile::exists(h.tmp.filePath("a/x")));
    EXPECT_FALSE(QFile::exists(into + "/sub/x"));
    EXPECT_FALSE(QFile::exists(into + "/dobry.txt"));
    EXPECT_EQ(QDir(h.tmp.filePath("a")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"b"});
  }
}

}  // namespace
