// Disk spanning: sets of numbered files on a fixed drive, read back by an independent reader and
// joined by zip, and sets of removable disks in the drives double with their prompts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <atomic>

#include "platform/dialogs.h"
#include "platform/drives.h"
#include "support/world.h"
#include "ziptools.h"
#include "zip/zippack.h"

namespace {

using testing_world::World;
using zip::TZipPacker;

const QString kFallback = "ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: ";

std::string varied(std::size_t n, unsigned seed) {
  std::string s(n, ' ');
  unsigned x = seed;
  for (std::size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    s[i] = static_cast<char>(x >> 16);
  }
  return s;
}

// Reads a set of parts (in order) as the zip format lays it out, by itself: for every central
// entry "name disk offset ok", ok when a local header of that name lies at that disk and offset;
// then "end <this disk> <directory's disk> <entries here> <entries>".
QStringList readSet(const QStringList& parts) {
  return QString::fromUtf8(
             runPython("import struct, sys\n"
                       "parts = [open(p, 'rb').read() for p in sys.argv[1:]]\n"
                       "last = parts[-1]\n"
                       "e = last.rfind(b'PK\\x05\\x06')\n"
                       "this, cdd, here, n, size, off, cl = struct.unpack('<HHHHIIH', last[e+4:e+22])\n"
                       "cd = parts[cdd][off:off+size] if cdd < len(parts) - 1 else last[off:off+size]\n"
                       "p = 0\n"
                       "for i in range(n):\n"
                       "    h = cd[p:p+46]\n"
                       "    nl, xl, kl, disk = struct.unpack('<HHHH', h[28:36])\n"
                       "    lo = struct.unpack('<I', h[42:46])[0]\n"
                       "    name = cd[p+46:p+46+nl]\n"
                       "    d = parts[disk]\n"
                       "    ok = d[lo:lo+4] == b'PK\\x03\\x04' and d[lo+30:lo+30+struct.unpack('<H', d[lo+26:lo+28])[0]] == name\n"
                       "    print(name.decode(), disk, lo, ok)\n"
                       "    p += 46 + nl + xl + kl\n"
                       "print('end', this, cdd, here, n)\n",
                       parts))
      .split('\n', Qt::SkipEmptyParts);
}

// Joins a set with zip -s 0 after naming its parts as zip names a split archive (.z01 ... .zip).
QString join(const QStringList& parts, const QString& folder) {
  QDir().mkpath(folder);
  for (int i = 0; i < parts.size(); ++i) {
    const QString name = i + 1 == parts.size() ? "set.zip" : QString("set.z%1").arg(i + 1, 2, 10, QLatin1Char('0'));
    QFile::copy(parts[i], folder + "/" + name);
  }
  const ToolRun r = runTool("zip", {"-q", "-s", "0", "set.zip", "--out", "joined.zip"}, folder);
  EXPECT_EQ(r.code, 0) << r.output.toStdString();
  return folder + "/joined.zip";
}

struct Span {
  QTemporaryDir tmp;
  QString data = tmp.filePath("Baza"), out = tmp.filePath("out"), temp = tmp.filePath("temp");
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  std::vector<QString> messages;

  Span() {
    QDir().mkpath(data);
    QDir().mkpath(out);
    QDir().mkpath(temp);
    World::writeFile(data + "/transak.dat", varied(45000, 1));
    World::writeFile(data + "/np2024.dat", varied(1488, 2));
    World::writeFile(data + "/konfig", "ZELT-REGISTRY-KEY 1\n");
    z.setDLLDirectory(ZPACK_DIR);
    z.TempDir = temp;
    z.AddCompLevel = 0;
    z.Verbose = true;
    z.OnMessage = [this](std::int32_t, const QString& text) { messages.push_back(text); };
  }
  void add(const QString& target, std::uint32_t options = zip::AddDiskSpan, bool name = true) {
    z.AddOptions = options;
    z.addFileSpec(data, "*.*");
    if (name) z.setZipFileName(target);
    z.Add();
  }
  QStringList files(const QString& folder) const { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }
};

TEST(SpanFixed, PartsAreNumberedFilesThatZipJoins) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("zip");
  REQUIRE_TOOL("unzip");
  struct Case {
    const char* target;
    QStringList parts;
  };
  const Case cases[] = {
      {"kopia.zip", {"ko001.zip", "ko002.zip", "ko003.zip"}},
      {"a.zip", {"a001.zip", "a002.zip", "a003.zip"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    Span s;
    s.z.MaxVolumeSize = 20000;
    s.add(s.out + "/" + c.target);
    EXPECT_EQ(s.z.AddedCount, 3);
    EXPECT_TRUE(s.dialogs.messages().isEmpty());
    EXPECT_EQ(s.files(s.out), c.parts);
    EXPECT_TRUE(s.files(s.temp).isEmpty()) << "the temporary archive is gone";
    ASSERT_EQ(s.messages.size(), 5u);
    EXPECT_TRUE(s.messages[0].startsWith("Temporary zipfile: " + s.temp + "/zip"));
    EXPECT_EQ(QStringList(s.messages.begin() + 1, s.messages.end()),
              (QStringList{"Copying: konfig", "Copying: np2024.dat", "Copying: transak.dat", "Central directory"}));
    QStringList paths;
    for (const auto& p : c.parts) {
      paths << s.out + "/" + p;
      EXPECT_LE(QFileInfo(paths.back()).size(), 20000);
    }
    EXPECT_EQ(World::readFile(paths[0]).substr(0, 4), "PK\x07\x08");
    // konfig and np2024.dat on the first disk after the signature; transak.dat runs on.
    const int np = 4 + 30 + 6 + 20, transak = np + 30 + 10 + 1488;
    EXPECT_EQ(readSet(paths), (QStringList{"konfig 0 4 True", QString("np2024.dat 0 %1 True").arg(np),
                                           QString("transak.dat 0 %1 True").arg(transak), "end 2 2 3 3"}));
    const QString joined = join(paths, s.tmp.filePath("joined"));
    EXPECT_EQ(unzipTest(joined), 0);
    EXPECT_EQ(member(joined, "konfig"), "ZELT-REGISTRY-KEY 1\n");
    EXPECT_EQ(runPython("import sys, zipfile\nsys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read('transak.dat'))",
                        {joined}),
              QByteArray::fromStdString(varied(45000, 1)));
  }
}

TEST(SpanFixed, DescriptorsAndRepeatedNamesArePairedByOffset) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("zip");
  REQUIRE_TOOL("unzip");
  struct Case {
    const char* name;
    const char* script;  // writes the input archive to standard output
    QStringList members;
  };
  const Case cases[] = {
      // Written to a pipe, Python's zipfile puts a 16-byte data descriptor with its signature
      // behind each member (flag bit 3); the same name twice with different contents.
      {"16-byte descriptors",
       "import sys, zipfile, warnings\n"
       "warnings.simplefilter('ignore')\n"
       "with zipfile.ZipFile(sys.stdout.buffer, 'w', zipfile.ZIP_DEFLATED) as z:\n"
       "    z.writestr('raport.txt', b'pierwszy ' * 3000)\n"
       "    z.writestr('raport.txt', b'drugi ' * 2000)\n"
       "    z.writestr('konfig', bytes(range(256)) * 40)\n"
       "    z.comment = b'zestaw'\n",
       {"raport.txt 8 8 27000", "raport.txt 8 8 12000", "konfig 8 8 10240", "comment:zestaw", "test:None"}},
      // Laid out by hand: stored members whose 12-byte descriptors carry no signature.
      {"12-byte descriptors",
       "import sys, struct, zlib\n"
       "out, cd = bytearray(), bytearray()\n"
       "members = [(b'raport.txt', b'pierwszy ' * 300), (b'raport.txt', b'drugi ' * 200), (b'konfig', bytes(range(256)) * 4)]\n"
       "for name, data in members:\n"
       "    off, crc = len(out), zlib.crc32(data)\n"
       "    out += struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 8, 0, 0, 0x21, 0, 0, 0, len(name), 0) + name + data\n"
       "    out += struct.pack('<III', crc, len(data), len(data))\n"
       "    cd += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, 8, 0, 0, 0x21, crc, len(data), len(data),\n"
       "                      len(name), 0, 0, 0, 0, 0, off) + name\n"
       "out += cd + struct.pack('<IHHHHIIH', 0x06054b50, 0, 0, 3, 3, len(cd), len(out), 6) + b'zestaw'\n"
       "sys.stdout.buffer.write(bytes(out))\n",
       {"raport.txt 0 8 2700", "raport.txt 0 8 1200", "konfig 0 8 1024", "comment:zestaw", "test:None"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Span s;
    const QString input = s.temp + "/zip123456.zip";
    World::writeFile(input, runPython(c.script).toStdString());
    EXPECT_EQ(inspect(input), c.members);
    s.z.MaxVolumeSize = 300;
    EXPECT_EQ(s.z.WriteSpan(input, s.out + "/kopia.zip"), 0);
    QStringList paths;
    for (const auto& p : s.files(s.out)) paths << s.out + "/" + p;
    ASSERT_GE(paths.size(), 3);
    // Every byte of the input once, and the span signature: nothing left out, nothing doubled.
    qint64 total = 0;
    for (const auto& p : paths) total += QFileInfo(p).size();
    EXPECT_EQ(total, QFileInfo(input).size() + 4);
    const QStringList set = readSet(paths);
    ASSERT_EQ(set.size(), 4);
    EXPECT_TRUE(set[0].startsWith("raport.txt 0 4 True"));
    EXPECT_TRUE(set[1].startsWith("raport.txt ") && set[1].endsWith(" True") && set[1] != set[0]) << set[1].toStdString();
    EXPECT_TRUE(set[2].startsWith("konfig ") && set[2].endsWith(" True")) << set[2].toStdString();
    const QString joined = join(paths, s.tmp.filePath("joined"));
    EXPECT_EQ(unzipTest(joined), 0);
    EXPECT_EQ(runPython("import sys, zipfile\n"
                        "z = zipfile.ZipFile(sys.argv[1])\n"
                        "print(z.comment.decode(), [z.read(i)[:8] for i in z.infolist()])\n",
                        {joined}),
              "zestaw [b'pierwszy', b'drugi dr', b'\\x00\\x01\\x02\\x03\\x04\\x05\\x06\\x07']\n");
  }
}

TEST(SpanFixed, Zip64AndBrokenInputsAreRefusedWithoutParts) {
  // End records laid out by hand: one whose directory offset says Zip64; one whose directory
  // is not where it says.
  std::string zip64(22, '\0');
  zip64.replace(0, 4, "PK\x05\x06");
  zip64.replace(16, 4, "\xFF\xFF\xFF\xFF");
  struct Case {
    const char* name;
    std::string input;
    int error;
  };
  const Case cases[] = {
      {"Zip64", zip64, 11011},
      {"no end record", std::string(100, 'x'), 11008},
      {"no input", "", 11001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Span s;
    const QString input = s.temp + "/zip000001.zip";
    if (c.error != 11001) World::writeFile(input, c.input);
    int error = 0;
    try {
      s.z.WriteSpan(input, s.out + "/kopia.zip");
    } catch (const zip::EZipPacker& e) {
      error = e.id();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(s.files(s.out).isEmpty());
  }
}

TEST(SpanFixed, ExistingPartsAskAndFailuresKeepTheSources) {
  REQUIRE_TOOL("python3");
  struct Case {
    const char* name;
    bool unattended;
    int answer;        // to "Overwrite previous file ..."
    int error;         // 0: written
  };
  const Case cases[] = {
      {"yes overwrites", false, platform::IdYes, 0},
      {"no ends the set, the file kept", false, platform::IdNo, 11007},
      {"cancel", false, platform::IdCancel, 11007},
      {"unattended", true, 0, 11025},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Span s;
    s.z.MaxVolumeSize = 20000;
    s.z.Unattended = c.unattended;
    World::writeFile(s.out + "/ko002.zip", "earlier set");
    if (!c.unattended) s.dialogs.expectMessage(c.answer, "Overwrite previous file " + s.out + "/ko002.zip");
    const auto sources = s.files(s.data);
    int error = 0;
    try {
      s.add(s.out + "/kopia.zip", zip::AddDiskSpan | zip::AddMove);
    } catch (const zip::EZipPacker& e) {
      error = e.id();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(s.dialogs.scriptDone());
    if (!c.unattended) {
      ASSERT_EQ(s.dialogs.shown().size(), 1u);
      EXPECT_EQ(s.dialogs.shown()[0].caption, "Confirm");
      EXPECT_EQ(s.dialogs.shown()[0].buttons, platform::MsgButtons::YesNoCancel);
    }
    EXPECT_TRUE(s.files(s.temp).isEmpty());
    if (error) {
      EXPECT_EQ(s.z.AddedCount, 0);
      EXPECT_EQ(s.files(s.data), sources) << "a failed set leaves every source";
      EXPECT_EQ(s.files(s.out), QStringList{"ko002.zip"}) << "and none of its own parts";
      EXPECT_EQ(World::readFile(s.out + "/ko002.zip"), c.answer == platform::IdYes ? "" : "earlier set");
    } else {
      EXPECT_EQ(s.z.AddedCount, 3);
      EXPECT_TRUE(s.files(s.data).isEmpty()) << "moved once the set is written";
      EXPECT_EQ(World::readFile(s.out + "/ko002.zip"), World::readFile(s.out + "/ko002.zip").substr(0, 20000));
      EXPECT_NE(World::readFile(s.out + "/ko002.zip"), "earlier set");
      EXPECT_EQ(s.files(s.out), (QStringList{"ko001.zip", "ko002.zip", "ko003.zip"}));
    }
  }
}

// The drives double: a removable drive "A:" at <tmp>/A with disks of the given capacity.
struct Removable : Span {
  QString mount = tmp.filePath("A");
  platform::ScriptedDrives drives{mount, tmp.filePath("disks")};
  Removable(std::initializer_list<std::int64_t> capacities) {
    int i = 0;
    for (auto c : capacities) drives.addDisk(QString("DYSK%1").arg(++i), c);
    z.setDrives(&drives);
    z.MinFreeVolumeSize = 1000;
    z.Verbose = false;
    // The user puts in the disk each prompt names when the answer is OK.
    dialogs.afterMessage = [this](const platform::ScriptedDialogs::Shown& m) {
      // After a No or a Retry the user takes the next disk from the pile.
      if (m.answer == platform::IdNo || m.answer == platform::IdRetry) shift = 1;
      if (m.answer != platform::IdOk) return;
      const auto v = QRegularExpression("volume (\\d+)").match(m.text);
      if (v.hasMatch()) drives.insert(v.captured(1).toInt() - 1 + shift);
      if (m.text.startsWith("Please insert last disk")) drives.insert(lastDisk);
    };
  }
  int shift = 0, lastDisk = 2;
  QString prompt(int n, int of) const {
    return QString("Please insert disk volume %1 of %2\r\nin drive: A:").arg(n).arg(of);
  }
  QStringList diskFiles() const {
    QStringList out;
    for (const auto& d : drives.disks()) out << d.folder + "/kopia.zip";
    return out;
  }
};

TEST(SpanRemovable, DisksArePromptedLabelledAndReadBack) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("zip");
  REQUIRE_TOOL("unzip");
  Removable r({20000, 20000, 20000});
  r.drives.insert(0);
  // 46,800 bytes or so, 20,000 a disk: three disks (a floor would say two).
  for (int i = 1; i <= 3; ++i) r.dialogs.expectMessage(platform::IdOk, r.prompt(i, 3));
  r.add(r.mount + "/kopia.zip");
  EXPECT_EQ(r.z.AddedCount, 3);
  EXPECT_TRUE(r.dialogs.scriptDone());
  for (const auto& m : r.dialogs.shown()) EXPECT_EQ(m.buttons, platform::MsgButtons::OkCancel);
  QStringList labels;
  for (const auto& d : r.drives.disks()) labels << d.label;
  EXPECT_EQ(labels, (QStringList{"PKBACK# 001", "PKBACK# 002", "PKBACK# 003"}));
  EXPECT_EQ(r.z.Count(), 3) << "read from the last disk, in the drive";
  EXPECT_EQ(readSet(r.diskFiles()).last(), "end 2 2 3 3");
  EXPECT_EQ(unzipTest(join(r.diskFiles(), r.tmp.filePath("joined"))), 0);

  // The first disk in the drive: the last one is asked for, with a stop icon.
  r.drives.insert(0);
  r.dialogs.clear();
  r.dialogs.expectMessage(platform::IdOk, "Please insert last disk in set\r\nin drive: A:");
  r.z.setZipFileName(r.mount + "/kopia.zip");
  EXPECT_EQ(r.z.Count(), 3);
  EXPECT_EQ(r.dialogs.shown().at(0).icon, platform::MsgIcon::Error);
}

TEST(SpanRemovable, QuestionsForEachDisk) {
  REQUIRE_TOOL("python3");
  using platform::IdCancel;
  using platform::IdNo;
  using platform::IdOk;
  using platform::IdRetry;
  using platform::IdYes;
  struct Step {
    int answer;
    QString text;
  };
  struct Case {
    const char* name;
    int disks, initial;  // how many disks, and which is in the drive at the start
    std::function<void(Removable&)> arrange;
    std::vector<Step> steps;
    int error;
  };
  auto disk = [](int n) { return QString("Please insert disk volume %1 of 3\r\nin drive: A:").arg(n); };
  auto earlier = [](const QString& label) {
    return [label](Removable& r) {
      World::writeFile(r.drives.disks()[0].folder + "/kopia.zip", "earlier");
      r.drives.insert(0);
      r.drives.setVolumeLabel(r.mount, label);
    };
  };
  // The first disk has almost no room left; an empty one is in the drive at the start.
  auto nearlyFull = [](Removable& r) { World::writeFile(r.drives.disks()[0].folder + "/inne.dat", std::string(19500, 'x')); };
  const Case cases[] = {
      {"a disk of an earlier set: yes", 3, 0, earlier("PKBACK# 004"),
       {{IdOk, disk(1)}, {IdYes, "Overwrite previous disk no 4"}, {IdOk, disk(2)}, {IdOk, disk(3)}}, 0},
      {"a foreign file: no asks for another disk", 4, 0, earlier("DANE"),
       {{IdOk, disk(1)}, {IdNo, "Overwrite previous file " + QDir::tempPath()}, {IdOk, disk(1)}, {IdOk, disk(2)},
        {IdOk, disk(3)}},
       0},
      {"a disk of an earlier set: cancel", 3, 0, earlier("PKBACK# 001"),
       {{IdOk, disk(1)}, {IdCancel, "Overwrite previous disk no 1"}}, 11007},
      {"low space: retry, then another disk", 4, 3, nearlyFull,
       {{IdOk, disk(1)}, {IdRetry, "This disk has not enough free space available"}, {IdOk, disk(1)}, {IdOk, disk(2)},
        {IdOk, disk(3)}},
       0},
      {"low space: cancel", 4, 3, nearlyFull,
       {{IdOk, disk(1)}, {IdCancel, "This disk has not enough free space available"}}, 11007},
      {"cancel at the prompt", 3, 0, [](Removable&) {}, {{IdCancel, disk(1)}}, 11007},
      {"unattended", 3, 0, [](Removable& r) { r.z.Unattended = true; }, {}, 11025},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Removable r(c.disks == 4 ? std::initializer_list<std::int64_t>{20000, 20000, 20000, 20000}
                             : std::initializer_list<std::int64_t>{20000, 20000, 20000});
    // The name is chosen first; the disks are put in afterwards.
    r.z.setZipFileName(r.mount + "/kopia.zip");
    c.arrange(r);
    r.drives.insert(c.initial);
    for (const auto& st : c.steps) r.dialogs.expectMessage(st.answer, st.text);
    const auto sources = r.files(r.data);
    int error = 0;
    try {
      r.add(r.mount + "/kopia.zip", zip::AddDiskSpan | zip::AddMove, false);
    } catch (const zip::EZipPacker& e) {
      error = e.id();
    }
    EXPECT_EQ(error, c.error);
    EXPECT_TRUE(r.dialogs.scriptDone());
    EXPECT_TRUE(r.files(r.temp).isEmpty());
    for (const auto& m : r.dialogs.shown()) {
      if (m.text.startsWith("Overwrite")) {
        EXPECT_EQ(m.caption, "Confirm");
        EXPECT_EQ(m.buttons, platform::MsgButtons::YesNoCancel);
      }
      if (m.text.startsWith("This disk")) {
        EXPECT_EQ(m.buttons, platform::MsgButtons::RetryCancel);
      }
    }
    if (error) {
      EXPECT_EQ(r.z.AddedCount, 0);
      EXPECT_EQ(r.files(r.data), sources);
    } else {
      EXPECT_EQ(r.z.AddedCount, 3);
      EXPECT_TRUE(r.files(r.data).isEmpty());
      EXPECT_EQ(r.z.Count(), 3);
    }
  }
}

TEST(SpanRemovable, HandlersAnswerInPlaceOfTheBoxesAndAnEmptyDriveGivesNoTotal) {
  REQUIRE_TOOL("python3");
  {
    SCOPED_TRACE("handlers");
    Removable r({20000, 20000, 20000});
    r.z.setZipFileName(r.mount + "/kopia.zip");
    World::writeFile(r.drives.disks()[1].folder + "/kopia.zip", "earlier");
    r.drives.insert(1);
    r.drives.setVolumeLabel(r.mount, "PKBACK# 002");
    r.drives.insert(-1);
    QStringList seen;
    r.z.OnGetNextDisk = [&](int disk, int total, const QString& drive, bool&) {
      seen << QString("disk %1 of %2 in %3").arg(disk).arg(total).arg(drive);
      r.drives.insert(disk - 1);
    };
    r.z.OnStatusDisk = [&](int disk, const QString& file, const QString& question, int& answer) {
      seen << QString("%1 %2 %3").arg(disk).arg(QFileInfo(file).fileName(), question);
      answer = platform::IdYes;
    };
    r.add(r.mount + "/kopia.zip", zip::AddDiskSpan, false);
    EXPECT_EQ(r.z.AddedCount, 3);
    EXPECT_TRUE(r.dialogs.shown().empty());
    EXPECT_EQ(seen, (QStringList{"disk 1 of 0 in A:", "disk 2 of 0 in A:", "2 kopia.zip Overwrite previous disk no 2",
                                 "disk 3 of 0 in A:"}));
  }
  {
    SCOPED_TRACE("the box without a total; a handler that aborts");
    Removable r({20000, 20000, 20000});
    r.dialogs.expectMessage(platform::IdCancel, "Please insert disk volume 1\r\nin drive: A:");
    int error = 0;
    try {
      r.add(r.mount + "/kopia.zip");
    } catch (const zip::EZipPacker& e) {
      error = e.id();
    }
    EXPECT_EQ(error, 11007);
    EXPECT_EQ(r.dialogs.messages(), QStringList{"Please insert disk volume 1\r\nin drive: A:"});
    r.z.OnGetNextDisk = [](int, int, const QString&, bool& abort) { abort = true; };
    error = 0;
    try {
      r.add(r.mount + "/kopia.zip");
    } catch (const zip::EZipPacker& e) {
      error = e.id();
    }
    EXPECT_EQ(error, 11007);
    EXPECT_TRUE(r.files(r.temp).isEmpty());
  }
}

TEST(SpanRemovable, ErasedDisksAreFormattedFirst) {
  REQUIRE_TOOL("python3");
  Removable r({20000, 20000, 20000});
  r.drives.insert(0);
  World::writeFile(r.drives.disks()[0].folder + "/stare.dat", std::string(100, 'x'));
  for (int i = 1; i <= 3; ++i) r.dialogs.expectMessage(platform::IdOk, r.prompt(i, 3));
  r.add(r.mount + "/kopia.zip", zip::AddDiskSpanErase);
  EXPECT_EQ(r.z.AddedCount, 3);
  EXPECT_EQ(r.drives.formats, 3);
  EXPECT_FALSE(QFile::exists(r.drives.disks()[0].folder + "/stare.dat"));
  // A format that fails stops the set.
  Removable f({20000, 20000, 20000});
  f.drives.insert(0);
  f.drives.formatResult = false;
  f.dialogs.expectMessage(platform::IdOk, f.prompt(1, 3));
  try {
    f.add(f.mount + "/kopia.zip", zip::AddDiskSpanErase);
    ADD_FAILURE() << "no exception";
  } catch (const zip::EZipPacker& e) {
    EXPECT_EQ(e.id(), 11005);
  }
  EXPECT_EQ(f.z.AddedCount, 0);
}

TEST(FormatThread, OneAtATimeAndTheSystemDrivesCannotFormat) {
  platform::SystemDrives system;
  EXPECT_FALSE(zip::FormatThread::run(system, QDir::tempPath(), "PKBACK# 001"));
  EXPECT_FALSE(system.setVolumeLabel(QDir::tempPath(), "PKBACK# 001"));
  EXPECT_EQ(system.kind(QDir::tempPath()), platform::DriveKind::Fixed);

  QTemporaryDir tmp;
  platform::ScriptedDrives drives(tmp.filePath("A"), tmp.filePath("disks"));
  drives.insert(drives.addDisk("X", 1000));
  std::atomic<bool> release{false};
  drives.whileFormatting = [&] {
    while (!release) QThread::msleep(1);
  };
  // While the first runs, the waiting thread still serves timers: a second request made then
  // ends at once, failed, and the first finishes well.
  bool second = true;
  QTimer::singleShot(20, [&] {
    second = zip::FormatThread::run(drives, tmp.filePath("A/x"), "PKBACK# 002");
    release = true;
  });
  EXPECT_TRUE(zip::FormatThread::run(drives, tmp.filePath("A/x"), "PKBACK# 001"));
  EXPECT_FALSE(second);
  EXPECT_EQ(drives.formats, 1);
  EXPECT_EQ(drives.disks()[0].label, "PKBACK# 001");
}

}  // namespace
