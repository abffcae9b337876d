// Reading an archive's directory from archives put together here byte by byte from the zip
// format's tables (no zip tool involved), and the component's answers to the library's callbacks.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "platform/cp1250.h"
#include "platform/dialogs.h"
#include "support/world.h"
#include "zip/zippack.h"
#include "handzip.h"

namespace {

using zip::EZipPacker;
using zip::TZipPacker;

using handzip::archive;
using handzip::Member;

struct Lister {
  QTemporaryDir dir;
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  QStringList messages;
  Lister() {
    z.Unattended = true;
    z.OnMessage = [this](std::int32_t, const QString& t) { messages << t.section("ID is: ", 1); };
  }
  QString put(const std::string& bytes) {
    const QString f = dir.filePath("a.zip");
    testing_world::World::writeFile(f, bytes);
    return f;
  }
  QStringList names() const {
    QStringList out;
    for (const auto& e : z.ZipContents()) out << e.FileName;
    return out;
  }
};

const std::vector<Member> kTwo = {{"a.txt", "hi", 0, 0x0314, "", ""}, {"b.txt", "hello", 0, 0x0314, "", ""}};

TEST(ZipList, FindsTheDirectoryWhereverTheEndRecordLies) {
  // An end record's signature in a comment: one whose comment would run past the file, and an
  // empty archive's end record that fits exactly.
  const std::string fakeEnd = std::string("PK\x05\x06", 4) + std::string(16, '\0') + std::string("\x30\x00", 2);
  const std::string fittingEnd = std::string("PK\x05\x06", 4) + std::string(16, '\0') + std::string("\x01\x00", 2);
  struct Case {
    const char* name;
    std::string bytes;
    std::string comment;
    QStringList messages;
  } cases[] = {
      {"plain", archive(kTwo), "", {}},
      {"with a comment", archive(kTwo, "Kopia z dnia 10.12"), "Kopia z dnia 10.12", {}},
      {"an end signature inside the comment", archive(kTwo, "x" + fakeEnd + "y"), "x" + fakeEnd + "y", {}},
      {"a whole empty end record inside the comment", archive(kTwo, "x" + fittingEnd + "y"), "x" + fittingEnd + "y", {}},
      {"data in front of the archive", "MZ-stub" + archive(kTwo), "", {"10203"}},
      {"data after the end record", archive(kTwo) + "smiec", "", {"10204"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lister l;
    int updates = 0;
    QStringList newNames;
    l.z.OnDirUpdate = [&] { ++updates; };
    l.z.OnNewName = [&](int n, const zip::ZPackDirEntry& e) { newNames << QString::number(n) + ":" + e.FileName; };
    l.z.setZipFileName(l.put(c.bytes));
    EXPECT_EQ(l.names(), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(newNames, (QStringList{"1:a.txt", "2:b.txt"}));
    EXPECT_EQ(l.z.ZipContents()[1].UncomprSize, 5u);
    EXPECT_EQ(l.z.ArchiveComment, c.comment);
    EXPECT_EQ(l.messages, c.messages);
    EXPECT_EQ(updates, 1);
  }
}

TEST(ZipList, DamagedOrForeignFilesRaiseTheirErrors) {
  std::string wrongSig = archive(kTwo);
  const auto second = wrongSig.find(std::string("PK\x01\x02", 4), wrongSig.find(std::string("PK\x01\x02", 4)) + 1);
  wrongSig[second + 3] = 9;
  const std::string full = archive(kTwo);
  struct Case {
    const char* name;
    std::string bytes;
    int id;
  } cases[] = {
      {"ten bytes", "0123456789", 11008},
      {"not an archive", std::string(200, 'x'), 11008},
      {"truncated", full.substr(0, full.size() - 10), 11008},
      {"wrong signature of a central header", wrongSig, 11015},
      {"more entries recorded than the directory holds", archive(kTwo, "", 3), 11013},
      {"Zip64", archive(kTwo, "", 0xFFFF), 11011},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lister l;
    try {
      l.z.setZipFileName(l.put(c.bytes));
      ADD_FAILURE() << "no error";
    } catch (const EZipPacker& e) {
      EXPECT_EQ(e.id(), c.id);
      EXPECT_EQ(e.text(), "ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: " +
                              QString::number(c.id));
    }
    EXPECT_TRUE(l.z.ZipContents().empty());
  }
}

TEST(ZipList, NamesDecodeByTheirFlagAndHostAndFolderEntriesAreDropped) {
  Member dos{"\x9D\xA2" "d\xAB.txt", "1", 0, 0x0014, "", ""};             // CP852, DOS host
  Member utf{"Łódź/ż.txt", "2", 0x0800, 0x0314, "", ""};                  // UTF-8 flag
  Member ansi{cp1250::fromUtf8("Łódź.cp1250"), "3", 0, 0x0314, "", ""};  // Unix host, no flag
  Member folder{"sub/", "", 0, 0x0314, "", ""};
  const std::string bytes = archive({dos, utf, ansi, folder});
  {
    Lister l;
    l.z.setZipFileName(l.put(bytes));
    EXPECT_EQ(l.names(), (QStringList{"Łódź.txt", "Łódź/ż.txt", "Łódź.cp1250"}));
  }
  {
    Lister l;
    l.z.UseDirOnlyEntries = true;
    l.z.CodePage = zip::TCodePage::cpNone;
    l.z.setZipFileName(l.put(bytes));
    ASSERT_EQ(l.names().size(), 4);
    EXPECT_EQ(l.names()[3], "sub/");
    EXPECT_NE(l.names()[0], "Łódź.txt");  // no OEM conversion
  }
  {
    Lister l;
    l.z.CodePage = zip::TCodePage::cpOEM;
    Member oem = dos;
    oem.madeBy = 0x0314;
    l.z.setZipFileName(l.put(archive({oem})));
    EXPECT_EQ(l.names(), QStringList{"Łódź.txt"});
  }
}

TEST(ZipList, AMissingArchiveListsNothing) {
  Lister l;
  int updates = 0;
  l.z.OnDirUpdate = [&] { ++updates; };
  l.z.setZipFileName(l.dir.filePath("brak.zip"));
  EXPECT_TRUE(l.z.ZipContents().empty());
  EXPECT_EQ(updates, 1);
}

// ---- callbacks ----

struct Callback {
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  unsigned char rec[zpack::cb::kSize] = {};
  std::int32_t serve(std::int32_t action, std::int32_t error, std::int32_t size, const std::string& text) {
    std::memset(rec, 0, sizeof rec);
    zpack::putI32(rec, zpack::cb::Action, action);
    zpack::putI32(rec, zpack::cb::Error, error);
    zpack::putI32(rec, zpack::cb::Size, size);
    zpack::putCallbackText(rec, text);
    return z.serveCallback(rec);
  }
  std::string text() const { return zpack::callbackText(rec); }
  std::int32_t field(std::size_t off) const { return zpack::getI32(rec, off); }
};

TEST(ZipCallback, NewNameIsCutTo511CharactersAndItsZero) {
  Callback c;
  c.z.OnSetNewName = [](QString& name, bool& changed) {
    EXPECT_EQ(name, "stara/nazwa.txt");
    name = QString(600, 'n');
    changed = true;
  };
  EXPECT_EQ(c.serve(7, 0, 0, "stara/nazwa.txt"), 0);
  EXPECT_EQ(c.text(), std::string(511, 'n'));
  EXPECT_EQ(c.rec[zpack::cb::Text + 511], 0);
  EXPECT_EQ(c.field(zpack::cb::Error), 1);

  c.z.OnSetNewName = [](QString&, bool&) {};
  c.serve(7, 0, 0, "bez/zmian");
  EXPECT_EQ(c.text(), "bez/zmian");
  EXPECT_EQ(c.field(zpack::cb::Error), 0);
}

TEST(ZipCallback, PasswordAnswerIsCutTo80AndTheRepeatCountTo15) {
  Callback c;
  // No handler: the user is asked in the password window; Cancel answers empty.
  c.dialogs.expectModal("PasswordDlg", [](platform::ModalForm&) { return platform::mrCancel; });
  c.serve(8, 0, 0, "");
  EXPECT_EQ(c.field(zpack::cb::Error), 0);
  EXPECT_EQ(c.text(), "");
  EXPECT_TRUE(c.dialogs.scriptDone());
  c.z.OnPasswordError = [](QString& pw, int& repeat) {
    pw = QString(100, 'h');
    repeat = 40;
  };
  c.serve(8, 0, 0, "");
  EXPECT_EQ(c.text(), std::string(80, 'h'));
  EXPECT_EQ(c.field(zpack::cb::Error), 1);
  EXPECT_EQ(c.field(zpack::cb::Size), 15);
}

TEST(ZipCallback, MessagesProgressAndTheCrcQuestion) {
  Callback c;
  std::vector<std::pair<std::int32_t, QString>> messages;
  QStringList progress;
  c.z.OnMessage = [&](std::int32_t code, const QString& t) { messages.push_back({code, t}); };
  c.z.OnProgress = [&](int kind, const QString& name, std::int64_t size) {
    progress << QString("%1 %2 %3").arg(kind).arg(name).arg(size);
  };
  c.serve(4, 0x1234, 0, "Cannot read file: /x/a.txt (Permission denied)   ");
  EXPECT_EQ(c.z.ErrCode, 0x34);
  EXPECT_EQ(c.z.FullErrCode, 0x1234);
  EXPECT_EQ(c.z.Message, "Cannot read file: /x/a.txt (Permission denied)");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].first, 0x1234);
  c.serve(4, 0, 0, "information");
  EXPECT_EQ(c.z.ErrCode, 0x34);  // a message without an error code keeps the last error
  c.serve(6, 0, 1000, "");
  c.serve(1, 0, 1000, "sub/a.txt");
  c.serve(2, 0, 600, "");
  c.serve(3, 0, 0, "");
  EXPECT_EQ(progress, (QStringList{"4  1000", "0 sub/a.txt 1000", "1  600", "2  0"}));
  EXPECT_EQ(c.z.TotalSize, 1000);

  c.serve(9, 0, 0, "a.txt");
  EXPECT_EQ(c.field(zpack::cb::Error), 2);  // nobody to ask
  c.z.OnCRC32Error = [](const QString&, bool& doExtract) { doExtract = false; };
  c.serve(9, 0, 0, "a.txt");
  EXPECT_EQ(c.field(zpack::cb::Error), 0);
}

TEST(ZipCallback, CancelAsksTheLibraryToStopAndAHandlerErrorDoesToo) {
  Callback c;
  EXPECT_EQ(c.serve(2, 0, 10, ""), 0);
  c.z.Cancel();
  EXPECT_EQ(c.serve(2, 0, 10, ""), -1);
  Callback d;
  d.z.OnProgress = [](int, const QString&, std::int64_t) { throw std::runtime_error("handler"); };
  EXPECT_EQ(d.serve(2, 0, 10, ""), -1);
}

TEST(ZipMessages, FallbackTextWithItsLineFeedAndTheMessageBox) {
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  const QString text = "ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: 10301 extra";
  dialogs.expectMessage(platform::IdOk, text);
  QString seen;
  z.OnMessage = [&](std::int32_t code, const QString& t) {
    EXPECT_EQ(code, 0);
    seen = t;
  };
  z.ShowZipMessage(10301, " extra");
  EXPECT_EQ(dialogs.messages(), QStringList{text});
  EXPECT_EQ(seen, text);
  EXPECT_EQ(z.ErrCode, 10301);
  EXPECT_EQ(z.Message, text);
  z.Unattended = true;
  z.ShowZipMessage(10102);
  EXPECT_EQ(dialogs.messages().size(), 1);  // unattended: no box
  EXPECT_EQ(z.ErrCode, 10102);
}

TEST(ZipSettings, ClampsAndTrims) {
  platform::ScriptedDialogs dialogs;
  TZipPacker z{dialogs};
  z.setPasswordReqCount(40);
  EXPECT_EQ(z.PasswordReqCount(), 15);
  z.setPassword(std::string(100, 'p'));
  EXPECT_EQ(z.Password().size(), 80u);
  z.setDLLDirectory("/opt/zelt/");
  EXPECT_EQ(z.DLLDirectory(), "/opt/zelt");
  EXPECT_STREQ(TZipPacker::VersionInfo, "1.60 L");
}

}  // namespace
