// The password window and the prompts built on it: both answers must match when adding, an
// unattended component asks nobody, inside the library's callback the handler comes first and
// the component's own password stays as it was; an encrypted archive opens elsewhere.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/dialogs.h"
#include "support/world.h"
#include "zip/passworddlg.h"
#include "zip/zippack.h"
#include "zip/zpackabi.h"
#include "ziptools.h"

namespace {

using platform::mrCancel;
using platform::mrOk;
using testing_world::World;
using zip::TZipPacker;

const QString kFallback = "ZPackMsgXX.res is probably not linked to the executable\nMissing String ID is: ";

// One answer in the password window: the text typed, then OK or Cancel; the prompt is kept.
struct Answer {
  QString typed;
  int button = mrOk;
};

void script(platform::ScriptedDialogs& d, const std::vector<Answer>& answers, QStringList& prompts) {
  for (const auto& a : answers)
    d.expectModal("PasswordDlg", [a, &prompts](platform::ModalForm& f) {
      auto& dlg = dynamic_cast<zip::TPasswordDlg&>(f);
      prompts << dlg.windowTitle() + "|" + dlg.Label->text();
      dlg.Edit->setText(a.typed);
      (a.button == mrOk ? dlg.OKBtn : dlg.CancelBtn)->click();
      return platform::mrNone;
    });
}

TEST(PasswordPrompt, AnswersAndWhatBecomesThePassword) {
  const QString enter = "Password|Enter password:", confirm = "Password|Confirm password:";
  struct Case {
    const char* name;
    bool add;
    std::vector<Answer> answers;
    std::string result;
    QStringList prompts;
    QStringList messages;
  };
  const Case cases[] = {
      {"add, both match", true, {{"tajne"}, {"tajne"}}, "tajne", {enter, confirm}, {}},
      {"add, Polish letters", true, {{"żółw"}, {"żółw"}}, "\xBF\xF3\xB3w", {enter, confirm}, {}},
      {"add, they differ", true, {{"tajne"}, {"tajnE"}}, "", {enter, confirm}, {kFallback + "10104"}},
      {"add, empty first", true, {{""}}, "", {enter}, {}},
      {"add, cancel first", true, {{"tajne", mrCancel}}, "", {enter}, {}},
      {"add, cancel second", true, {{"tajne"}, {"tajne", mrCancel}}, "", {enter, confirm}, {}},
      {"extract, once", false, {{"tajne"}}, "tajne", {enter}, {}},
      {"extract, cancel", false, {{"tajne", mrCancel}}, "", {enter}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform::ScriptedDialogs dialogs;
    TZipPacker z(dialogs);
    z.setPassword("stare");
    QStringList prompts;
    script(dialogs, c.answers, prompts);
    for (const auto& m : c.messages) dialogs.expectMessage(platform::IdOk, m);
    EXPECT_EQ(c.add ? z.GetAddPassword() : z.GetExtrPassword(), c.result);
    EXPECT_TRUE(dialogs.scriptDone());
    EXPECT_EQ(prompts, c.prompts);
    EXPECT_EQ(dialogs.messages(), c.messages);
    EXPECT_EQ(z.Password(), c.result.empty() ? "stare" : c.result);
  }
}

TEST(PasswordPrompt, UnattendedAsksNobody) {
  for (bool add : {true, false}) {
    platform::ScriptedDialogs dialogs;
    TZipPacker z(dialogs);
    z.Unattended = true;
    EXPECT_EQ(add ? z.GetAddPassword() : z.GetExtrPassword(), "");
    EXPECT_EQ(z.ErrCode, add ? 10150 : 10151);
    EXPECT_TRUE(dialogs.shown().empty());
  }
}

TEST(PasswordPrompt, InTheCallbackTheHandlerFirstAndThePasswordUntouched) {
  platform::ScriptedDialogs dialogs;
  TZipPacker z(dialogs);
  unsigned char rec[zpack::cb::kSize] = {};
  auto serve = [&] {
    std::memset(rec, 0, sizeof rec);
    zpack::putI32(rec, zpack::cb::Action, zpack::ActPassword);
    zpack::putI32(rec, zpack::cb::Size, 1);
    return z.serveCallback(rec);
  };
  z.setPasswordReqCount(99);
  QStringList prompts;
  script(dialogs, {{"tajne"}, {"tajne"}}, prompts);
  EXPECT_EQ(serve(), 0);
  EXPECT_EQ(prompts.size(), 2);
  EXPECT_EQ(zpack::callbackText(rec), "tajne");
  EXPECT_EQ(zpack::getI32(rec, zpack::cb::Error), 1);
  EXPECT_EQ(zpack::getI32(rec, zpack::cb::Size), 15);
  EXPECT_EQ(z.Password(), "") << "an answer inside the callback goes to the library only";

  int asked = 0;
  z.OnPasswordError = [&](QString& pw, int& repeat) {
    ++asked;
    pw = "z-obslugi";
    repeat = 3;
  };
  EXPECT_EQ(serve(), 0);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(dialogs.scriptDone());
  EXPECT_EQ(dialogs.shown().size(), 2u) << "no window while a handler answers";
  EXPECT_EQ(zpack::callbackText(rec), "z-obslugi");
  EXPECT_EQ(zpack::getI32(rec, zpack::cb::Size), 3);
}

TEST(PasswordPrompt, EncryptedArchiveOpensInOtherReaders) {
  REQUIRE_TOOL("python3");
  REQUIRE_TOOL("unzip");
  QTemporaryDir tmp;
  QDir().mkpath(tmp.filePath("Baza"));
  World::writeFile(tmp.filePath("Baza/transak.dat"), std::string(5000, 'T'));
  World::writeFile(tmp.filePath("Baza/konfig"), "klucz\n");
  platform::ScriptedDialogs dialogs;
  TZipPacker z(dialogs);
  z.setDLLDirectory(ZPACK_DIR);
  QStringList prompts;
  script(dialogs, {{"tajne"}, {"tajne"}}, prompts);
  z.AddOptions = zip::AddEncrypt;
  z.addFileSpec(tmp.filePath("Baza"), "*.*");
  const QString archive = tmp.filePath("szyfr.zip");
  z.setZipFileName(archive);
  z.Add();
  EXPECT_EQ(z.AddedCount, 2);
  EXPECT_TRUE(dialogs.scriptDone());
  EXPECT_EQ(z.Password(), "");
  ASSERT_EQ(z.Count(), 2);
  EXPECT_TRUE(z.ZipContents()[0].Encrypted);
  EXPECT_EQ(runPython("import sys, zipfile\n"
                      "z = zipfile.ZipFile(sys.argv[1])\n"
                      "z.setpassword(b'tajne')\n"
                      "print(z.read('konfig').decode(), end='')\n",
                      {archive}),
            "klucz\n");
  EXPECT_EQ(runTool("unzip", {"-tqq", "-P", "tajne", archive}).code, 0);
  EXPECT_NE(runTool("unzip", {"-tqq", "-P", "inne", archive}).code, 0);
}

TEST(PasswordDlg, LaidOutAsTheComponentDrawsIt) {
  zip::TPasswordDlg dlg("Password", "Enter password:");
  EXPECT_EQ(dlg.size(), QSize(344, 137));
  EXPECT_EQ(dlg.Label->geometry(), QRect(20, 8, 297, 18));
  EXPECT_EQ(dlg.Edit->geometry().topLeft(), QPoint(20, 40));
  EXPECT_EQ(dlg.Edit->width(), 297);
  EXPECT_EQ(dlg.OKBtn->geometry(), QRect(44, 72, 90, 28));
  EXPECT_EQ(dlg.CancelBtn->geometry(), QRect(205, 72, 90, 28));
  EXPECT_EQ(dlg.Edit->echoMode(), QLineEdit::Password);
  dlg.Edit->setText(QString(100, 'x'));
  EXPECT_EQ(dlg.password().size(), 80);
  EXPECT_TRUE(dlg.font().bold());
  EXPECT_EQ(dlg.font().pixelSize(), 12);
  if (const char* png = std::getenv("ZELT_PASSWORD_PNG")) {
    dlg.Edit->setText("tajne");
    dlg.show();
    dlg.grab().save(png);
  }
}

}  // namespace
