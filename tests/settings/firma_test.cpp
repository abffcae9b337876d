// The institution window over registry fixtures: what its creation loads, what "&Zapisz" writes,
// and the persons' must-change marks across saves and runs.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <algorithm>
#include <QFile>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "register/program.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "settings/addioform.h"
#include "settings/firmaform.h"
#include "settings/jednform.h"
#include "support/filesizelimit.h"
#include "support/world.h"

using platform::RegRoot;
using testing_world::World;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kProg = "\\SOFTWARE\\Tarvo\\ZELT\\";
const std::string kIO = kProg + "IO\\";
const std::string kKonfig = kProg + "Konfig\\";

std::string bajty(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s.push_back(static_cast<char>(v));
  return s;
}
// "abc" as the administrator's value: 3 + 14, 13 zeros, (c - 18) XOR (k + 45).
const std::string kAdminAbc = bajty({0x11}) + std::string(13, '\0') + bajty({0x61, 0x7F, 0x61});

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// A world whose program has started (the sign-in answered at once), so that every window exists.
struct FirmaWorld : World {
  zelt::Program& start() {
    auto& p = program();
    p.logowanie = [] { return platform::mrOk; };
    EXPECT_TRUE(p.start());
    return p;
  }
  std::optional<std::string> bin(const std::string& key, const char* name) { return reg().readBinary(HKCU, key, name); }
  // "&Zapisz" over data that the check finds incomplete: saved despite the findings.
  void zapiszMimoUwag(zelt::TFirmaForm& f) {
    dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
    f.zapisClick();
  }
};

TEST(FirmaLoad, WithoutAKeyTheControlsKeepTheirDesignDefaults) {
  FirmaWorld w;
  auto& p = w.start();
  const auto& f = *p.firma();
  EXPECT_EQ(f.windowTitle(), u("Dane instytucji Obowiązanej"));
  EXPECT_EQ(f.NumIO->text(), "00000000");
  EXPECT_EQ(f.KrIO->text(), "Polska");
  EXPECT_EQ(f.NazIO->text(), "");
  EXPECT_EQ(f.RoIO->currentIndex(), -1);
  EXPECT_EQ(f.RoIO->count(), 17);
  EXPECT_FALSE(f.AkIO->isChecked());
  EXPECT_EQ(f.formatItemIndex(), 0);
  EXPECT_EQ(f.jednostkiIO.RowCount(), 2);
  EXPECT_EQ(f.HaAdmin->text(), "");
  EXPECT_EQ(f.HaOs1IO->text(), "");
  EXPECT_EQ(f.HaOs2IO->text(), "");
  EXPECT_EQ(f.kataldan->text(), p.KatDan);
  EXPECT_EQ(f.katalpod->text(), p.KatPod);
  EXPECT_EQ(f.kataleks->text(), p.KatEks);
  // Nothing typed and nothing to change but the administrator's missing password.
  EXPECT_EQ(p.stanHasel, 0x40);
}

TEST(FirmaLoad, EveryControlTakesItsStoredValue) {
  FirmaWorld w;
  auto& r = w.reg();
  r.writeString(HKCU, kIO, "NazIO", cp1250::fromUtf8("Kantor Łódź"));  // the name's case does not matter
  r.writeString(HKCU, kIO, "numIO", "00000042");
  r.writeString(HKCU, kIO, "NIPIO", "1234567890");
  r.writeString(HKCU, kIO, "RegIO", "123456785");
  r.writeString(HKCU, kIO, "KrIO", "Niemcy");
  r.writeInteger(HKCU, kIO, "RoIO", 9);
  r.writeInteger(HKCU, kIO, "AkIO", 1);
  r.writeString(HKCU, kIO, "ImOs1IO", "Jan");
  r.writeString(HKCU, kIO, "EmOs2IO", "a@b.pl");
  r.writeBinary(HKCU, kIO, "OpOs1IO", bajty({0x84, 0x6B, 0x6D, 0x6F}));  // "abc", must change
  r.writeBinary(HKCU, kIO, "OpOs2IO", bajty({0x03, 0x5D, 0x5F}));        // "ab"
  r.writeBinary(HKCU, kIO, "Opcje", kAdminAbc);
  QDir().mkpath(w.path("dane"));
  r.writeString(HKCU, kIO, "KatDan", cp1250::fromUnicode(w.path("dane")));
  r.writeInteger(HKCU, kIO, "Format", 1);
  r.writeString(HKCU, kIO, "NazPli", "kant1");
  r.writeString(HKCU, kIO, "archdir", "/arch");
  r.writeString(HKCU, kIO, "ekspdir", "/eksp");
  r.writeInteger(HKCU, kIO, "JedIO", 4);
  auto& p = w.start();
  const auto& f = *p.firma();
  EXPECT_EQ(f.NazIO->text(), u("Kantor Łódź"));
  EXPECT_EQ(f.NumIO->text(), "00000042");
  EXPECT_EQ(f.KrIO->text(), "Niemcy");
  EXPECT_EQ(f.RoIO->currentIndex(), 9);
  EXPECT_EQ(f.RoIO->currentText(), u("Rezydent prowadzący działalność kantorową"));
  EXPECT_TRUE(f.AkIO->isChecked());
  EXPECT_EQ(f.ImOs1IO->text(), "Jan");
  EXPECT_EQ(f.EmOs2IO->text(), "a@b.pl");
  EXPECT_EQ(f.HaOs1IO->text(), "abc");
  EXPECT_EQ(f.HaOs2IO->text(), "ab");
  EXPECT_EQ(f.HaAdmin->text(), "abc");
  EXPECT_EQ(p.stanHasel, 0x10) << "person 1's mark; nothing counted as typed";
  EXPECT_EQ(f.kataldan->text(), w.path("dane"));
  EXPECT_EQ(f.formatItemIndex(), 1);
  EXPECT_EQ(f.nazpli->text(), "KANT1");
  EXPECT_EQ(f.archdir, "/arch");
  EXPECT_EQ(f.ekspdir, "/eksp");
  EXPECT_EQ(f.jednostkiIO.RowCount(), 4);
  EXPECT_EQ(p.wizyt()->NazUzyt->text(), u("Kantor Łódź"));
  EXPECT_EQ(p.wizyt()->NipUzyt->text(), "1234567890");
  EXPECT_EQ(p.wizyt()->RegUzyt->text(), "123456785");
}

TEST(FirmaLoad, StoredValuesOutsideTheirRangeAreBroughtIntoIt) {
  struct Przypadek {
    const char* nazwa;
    std::int32_t zapis;
    int roIO, format, jedIO;
  };
  const Przypadek przypadki[] = {
      {"RoIO", 16, 16, 0, 2}, {"RoIO", 17, -1, 0, 2},   {"RoIO", -5, -1, 0, 2},   {"Format", 2, -1, 0, 2},
      {"Format", -1, -1, 0, 2}, {"JedIO", 0, -1, 0, 2}, {"JedIO", 1, -1, 0, 2},  {"JedIO", 50, -1, 0, 50},
      {"JedIO", 101, -1, 0, 101}, {"JedIO", 5000, -1, 0, 101},
  };
  for (const auto& c : przypadki) {
    FirmaWorld w;
    w.reg().writeInteger(HKCU, kIO, c.nazwa, c.zapis);
    const auto& f = *w.start().firma();
    EXPECT_EQ(f.RoIO->currentIndex(), c.roIO) << c.nazwa << " " << c.zapis;
    EXPECT_EQ(f.formatItemIndex(), c.format) << c.nazwa << " " << c.zapis;
    EXPECT_EQ(f.jednostkiIO.RowCount(), c.jedIO) << c.nazwa << " " << c.zapis;
  }
}

TEST(FirmaLoad, APasswordOfAnotherTypeReadsAsEmpty) {
  FirmaWorld w;
  w.reg().writeString(HKCU, kIO, "OpOs1IO", "\x84kmo");
  w.reg().writeInteger(HKCU, kIO, "Opcje", 7);
  auto& p = w.start();
  EXPECT_EQ(p.firma()->HaOs1IO->text(), "");
  EXPECT_EQ(p.firma()->HaAdmin->text(), "");
  EXPECT_EQ(p.stanHasel, 0x40);
}

// A key written by an older release lacks the report settings and the dialogs' folders; they are
// taken from "Konfig\", but never over a value that the institution key holds.
TEST(FirmaLoad, OlderReleasesKeepFourValuesInTheConfigurationKey) {
  struct Przypadek {
    bool wIO, wKonfig;
    int format;
    const char *nazPli, *archdir, *ekspdir;
  };
  const Przypadek przypadki[] = {
      {true, false, 1, "IOPLI", "/io/arch", "/io/eksp"},
      {false, true, 1, "KONF", "/konf/arch", "/konf/eksp"},
      {true, true, 1, "IOPLI", "/io/arch", "/io/eksp"},
      {false, false, 0, "", "", ""},
  };
  for (const auto& c : przypadki) {
    FirmaWorld w;
    auto& r = w.reg();
    r.writeString(HKCU, kIO, "nazIO", "Bank");
    if (c.wIO) {
      r.writeInteger(HKCU, kIO, "Format", 1);
      r.writeString(HKCU, kIO, "NazPli", "IOPLI");
      r.writeString(HKCU, kIO, "archdir", "/io/arch");
      r.writeString(HKCU, kIO, "ekspdir", "/io/eksp");
    }
    if (c.wKonfig) {
      r.writeInteger(HKCU, kKonfig, "Format", c.wIO ? 0 : 1);
      r.writeString(HKCU, kKonfig, "NazPli", "KONF");
      r.writeString(HKCU, kKonfig, "archdir", "/konf/arch");
      r.writeString(HKCU, kKonfig, "ekspdir", "/konf/eksp");
    }
    const auto& f = *w.start().firma();
    EXPECT_EQ(f.formatItemIndex(), c.format) << c.wIO << c.wKonfig;
    EXPECT_EQ(f.nazpli->text(), c.nazPli) << c.wIO << c.wKonfig;
    EXPECT_EQ(f.archdir, c.archdir) << c.wIO << c.wKonfig;
    EXPECT_EQ(f.ekspdir, c.ekspdir) << c.wIO << c.wKonfig;
  }
}

TEST(FirmaLoad, WithoutAnInstitutionKeyTheConfigurationKeyIsNotRead) {
  FirmaWorld w;
  w.reg().writeString(HKCU, kKonfig, "NazPli", "KONF");
  EXPECT_EQ(w.start().firma()->nazpli->text(), "");
}

TEST(FirmaSave, WritesEveryValueInItsOrder) {
  FirmaWorld w;
  auto& p = w.start();
  auto& f = *p.firma();
  const QString katDan = p.KatDan;
  f.NazIO->setText(u("Bank Śląski"));
  f.NIPIO->setText("1234567890");
  f.RoIO->setCurrentIndex(16);
  f.AkIO->setChecked(true);
  f.ImOs1IO->setText("Jan");
  QTest::keyClicks(f.HaOs1IO, "abc");
  f.HaAdmin->setText("abc");
  f.kataldan->setText("/nowe/dane");
  f.setFormatItemIndex(1);
  f.nazpli->setText("ABC12");
  w.zapiszMimoUwag(f);
  EXPECT_EQ(f.modalResult(), platform::mrOk);

  auto& r = w.reg();
  const std::vector<std::string> kolejnosc = {
      "nazIO",   "numIO",   "NIPIO",   "RegIO",   "KrIO",    "WoIO",    "PoIO",    "GmIO",    "KodIO",
      "MieIO",   "UlIO",    "NrDIO",   "NrLIO",   "RoIO",    "UwIO",    "AkIO",    "ImOs1IO", "NaOs1IO",
      "StOs1IO", "OpOs1IO", "TeOs1IO", "FaOs1IO", "KoOs1IO", "EmOs1IO", "ImOs2IO", "NaOs2IO", "StOs2IO",
      "OpOs2IO", "TeOs2IO", "FaOs2IO", "KoOs2IO", "EmOs2IO", "KatDan",  "KatPod",  "KatEks",  "Format",
      "NazPli",  "archdir", "ekspdir", "JedIO",   "Opcje"};
  EXPECT_EQ(r.valueNames(HKCU, kIO), kolejnosc);
  EXPECT_EQ(r.readString(HKCU, kIO, "nazIO"), cp1250::fromUtf8("Bank Śląski"));
  EXPECT_EQ(r.readString(HKCU, kIO, "numIO"), "00000000");
  EXPECT_EQ(r.readString(HKCU, kIO, "KrIO"), "Polska");
  EXPECT_EQ(r.readString(HKCU, kIO, "WoIO"), "");
  EXPECT_EQ(r.readInteger(HKCU, kIO, "RoIO"), 16);
  EXPECT_EQ(r.readInteger(HKCU, kIO, "AkIO"), 1);
  EXPECT_EQ(w.bin(kIO, "OpOs1IO"), bajty({0x84, 0x6B, 0x6D, 0x6F})) << "typed by the administrator: must change";
  EXPECT_EQ(w.bin(kIO, "OpOs2IO"), bajty({0x01}));
  EXPECT_EQ(w.bin(kIO, "Opcje"), kAdminAbc);
  EXPECT_EQ(r.readString(HKCU, kIO, "KatDan"), "/nowe/dane");
  EXPECT_EQ(p.KatDan, katDan) << "a changed folder takes effect at the next start";
  EXPECT_EQ(r.readInteger(HKCU, kIO, "Format"), 1);
  EXPECT_EQ(r.readString(HKCU, kIO, "NazPli"), "ABC12");
  EXPECT_EQ(r.readInteger(HKCU, kIO, "JedIO"), 2);
  EXPECT_EQ(r.readString(HKCU, kProg, "Wersja"), "Wersja 1.34");
  EXPECT_EQ(r.readInteger(HKCU, kProg, "IloscIO"), 1);
  EXPECT_EQ(r.readInteger(HKCU, kProg, "AktualIO"), -1) << "the chooser's item index; none with one institution";
}

// The units go back as the grid holds them: the stored ones rewritten, a stray subkey beyond
// the stored count left alone.
TEST(FirmaSave, ValuesOfOtherWindowsAndTheUnitsGoBackAsLoaded) {
  FirmaWorld w;
  auto& r = w.reg();
  r.writeString(HKCU, kIO, "archdir", "/arch");
  r.writeString(HKCU, kIO, "ekspdir", "/eksp");
  r.writeInteger(HKCU, kIO, "JedIO", 3);
  r.writeString(HKCU, kIO + "JED00\\", "NumJe", "00000001");
  r.writeString(HKCU, kIO + "JED05\\", "NumJe", "00000009");
  auto& p = w.start();
  w.zapiszMimoUwag(*p.firma());
  EXPECT_EQ(r.readString(HKCU, kIO, "archdir"), "/arch");
  EXPECT_EQ(r.readString(HKCU, kIO, "ekspdir"), "/eksp");
  EXPECT_EQ(r.readInteger(HKCU, kIO, "JedIO"), 3);
  auto klucze = r.subkeyNames(HKCU, kIO);
  std::sort(klucze.begin(), klucze.end());
  EXPECT_EQ(klucze, (std::vector<std::string>{"JED00", "JED05"}));
  EXPECT_EQ(r.readString(HKCU, kIO + "JED00\\", "NumJe"), "00000001");
  EXPECT_EQ(r.valueNames(HKCU, kIO + "JED00\\").size(), 8u);
  EXPECT_EQ(r.readString(HKCU, kIO + "JED05\\", "NumJe"), "00000009");
}

// A person's must-change mark stays stored until that person has chosen a new password.
TEST(FirmaSave, TheMustChangeMarkStaysAcrossSavesAndRuns) {
  FirmaWorld w;
  {
    auto& f = *w.start().firma();
    QTest::keyClicks(f.HaOs1IO, "abc");
    w.zapiszMimoUwag(f);
    ASSERT_EQ(w.bin(kIO, "OpOs1IO"), bajty({0x84, 0x6B, 0x6D, 0x6F}));
    w.zapiszMimoUwag(f);
    EXPECT_EQ(w.bin(kIO, "OpOs1IO"), bajty({0x84, 0x6B, 0x6D, 0x6F})) << "a second save in the run";
  }
  w.reloadRegistry();
  {
    auto& p = w.start();
    EXPECT_EQ(p.stanHasel & 0x10, 0x10);
    p.firma()->NazIO->setText("Inna nazwa");
    w.zapiszMimoUwag(*p.firma());
    EXPECT_EQ(w.bin(kIO, "OpOs1IO"), bajty({0x84, 0x6B, 0x6D, 0x6F})) << "a later run without a new edit";
    EXPECT_EQ(w.bin(kIO, "OpOs2IO"), bajty({0x01}));
  }
}

TEST(FirmaSave, AnEditFilledByTheProgramIsNotTypedByTheAdministrator) {
  FirmaWorld w;
  auto& p = w.start();
  auto& f = *p.firma();
  f.HaOs2IO->setText("ab");
  EXPECT_EQ(p.stanHasel & 0x03, 0);
  w.zapiszMimoUwag(f);
  EXPECT_EQ(w.bin(kIO, "OpOs2IO"), bajty({0x03, 0x5D, 0x5F}));
  QTest::keyClicks(f.HaOs2IO, "c");
  EXPECT_EQ(p.stanHasel & 0x03, 0x02);
}

TEST(FirmaSave, PowrotWritesNothingAndTheEditsStayInForce) {
  FirmaWorld w;
  w.reg().writeString(HKCU, kIO, "NIPIO", "1111111111");
  auto& p = w.start();
  const std::string przed = World::readFile(w.registryFile());
  auto& f = *p.firma();
  f.NIPIO->setText("2222222222");
  QTest::keyClicks(f.HaOs1IO, "x");
  f.wyjscieClick();
  EXPECT_EQ(f.modalResult(), platform::mrCancel);
  EXPECT_EQ(World::readFile(w.registryFile()), przed);
  EXPECT_EQ(f.NIPIO->text(), "2222222222");
  EXPECT_EQ(f.dane().NIPIO, "2222222222") << "what the readers and the save-all step see";
  EXPECT_TRUE(f.dane().os[0].zmiana);
}

// The institution window with a check that always finds something.
class FirmaZUwaga : public zelt::TFirmaForm {
 public:
  explicit FirmaZUwaga(zelt::Program& p) : TFirmaForm(p), p_(p) {}
  void weryfIO() override {
    TFirmaForm::weryfIO();
    p_.listyWer.dodajostrze("01", cp1250::fromUtf8("Nazwa"), 0, cp1250::fromUtf8("Brak nazwy"));
  }

 private:
  zelt::Program& p_;
};

TEST(FirmaSave, FindingsAreShownAndOnlyTheirSaveButtonGoesOn) {
  const std::pair<int, bool> przypadki[] = {
      {zelt::TWerForm::kPotwierdz, true}, {zelt::TWerForm::kWroc, false}, {zelt::TWerForm::kAnuluj, false}};
  for (auto [wynik, zapisane] : przypadki) {
    FirmaWorld w;
    auto& p = w.start();
    FirmaZUwaga f(p);
    f.FormCreate();
    f.NazIO->setText("Bank");
    w.dialogs.expectModal("WerForm", [wynik = wynik](platform::ModalForm& form) {
      auto& wer = static_cast<zelt::TWerForm&>(form);
      EXPECT_EQ(wer.zapisz->text(), "Zapisz");
      EXPECT_FALSE(wer.zapisz->isHidden());
      return wynik;
    });
    f.zapisClick();
    EXPECT_EQ(w.reg().readString(HKCU, kIO, "nazIO").has_value(), zapisane) << wynik;
    EXPECT_EQ(w.reg().keyExists(HKCU, kProg), zapisane) << wynik;
    EXPECT_EQ(f.modalResult(), zapisane ? platform::mrOk : platform::mrCancel) << wynik;
  }
}

TEST(FirmaSave, AStoreThatCannotBeWrittenKeepsTheOldDataAndTheWindowOpen) {
  FirmaWorld w;
  w.reg().writeString(HKCU, kIO, "nazIO", "Stara");
  auto& p = w.start();
  auto& f = *p.firma();
  f.resetModalResult();
  f.NazIO->setText("Nowa");
  // The store's file is replaced by a folder: nothing can be written over it.
  ASSERT_TRUE(QFile::remove(w.registryFile()));
  ASSERT_TRUE(QDir().mkpath(w.registryFile() + "/x"));
  w.dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
  EXPECT_THROW(f.zapisClick(), platform::IoError);
  EXPECT_EQ(w.reg().readString(HKCU, kIO, "nazIO"), "Stara");
  EXPECT_FALSE(w.reg().valueExists(HKCU, kProg, "Wersja")) << "the program key's values went with the batch";
  EXPECT_EQ(f.modalResult(), platform::mrNone);
}

TEST(FirmaSave, AFullDiskRaisesTheSystemsReasonAndKeepsTheStore) {
  FirmaWorld w;
  w.reg().writeString(HKCU, kIO, "nazIO", "Stara");
  auto& f = *w.start().firma();
  f.resetModalResult();
  f.NazIO->setText("Nowa");
  const std::string stored = World::readFile(w.registryFile());
  std::string error;
  {
    testing_world::FileSizeLimit full(0);
    try {
      w.zapiszMimoUwag(f);
    } catch (const platform::IoError& e) {
      error = e.what();
    }
  }
  EXPECT_NE(error.find(std::strerror(EFBIG)), std::string::npos) << error;
  EXPECT_EQ(World::readFile(w.registryFile()), stored);
  EXPECT_EQ(f.modalResult(), platform::mrNone);
}

// Types text as the keyboard would, Polish letters included.
void pisz(QLineEdit* e, const QString& text) {
  for (QChar c : text) QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

TEST(FirmaForm, TheShortFileNameTakesFiveLettersOrDigitsInUpperCase) {
  const std::pair<const char*, const char*> przypadki[] = {
      {"abc12", "ABC12"}, {"a/b\\c:d", "ABCD"}, {"ab*?<>|\"", "AB"}, {"abcdefgh", "ABCDE"},
      {"ą ł.x", "X"},     {"..", ""},
  };
  FirmaWorld w;
  auto& f = *w.start().firma();
  for (auto [wpis, wynik] : przypadki) {
    f.nazpli->clear();
    pisz(f.nazpli, u(wpis));
    EXPECT_EQ(f.nazpli->text(), wynik) << wpis;
  }
}

TEST(FirmaForm, PasswordEditsHoldTenCharactersShownHidden) {
  FirmaWorld w;
  auto& f = *w.start().firma();
  for (QLineEdit* e : {f.HaOs1IO, f.HaOs2IO, f.HaAdmin}) {
    QTest::keyClicks(e, "0123456789abc");
    EXPECT_EQ(e->text(), "0123456789") << e->objectName().toStdString();
    EXPECT_EQ(e->echoMode(), QLineEdit::Password);
  }
}

// What is typed is what is stored, in every text edit of the window: a character outside
// Windows-1250 is refused (the folders excepted, which keep any character), a control character
// becomes a blank.
TEST(FirmaForm, EveryTextEditStoresWhatIsTyped) {
  FirmaWorld w;
  auto& f = *w.start().firma();
  const auto edits = f.findChildren<QLineEdit*>();
  ASSERT_GE(edits.size(), 35);
  for (QLineEdit* e : edits) {
    const std::string name = e->objectName().toStdString();
    const bool folder = e == f.kataldan || e == f.katalpod || e == f.kataleks;
    e->clear();
    const QString before = e->text();
    pisz(e, u("Ж"));
    EXPECT_EQ(e->text() == before, !folder) << name;
    e->clear();
    e->insert(u("7\t8\r\n9\x1b"));  // pasted
    for (QChar c : e->text()) EXPECT_TRUE(c.isPrint()) << name;
  }
  f.NazIO->clear();
  f.NazIO->insert(u("Bank\tPolski\n"));
  f.HaOs1IO->clear();
  pisz(f.HaOs1IO, u("Жук1"));
  EXPECT_EQ(f.HaOs1IO->text(), "1") << "the edit shows one character, and one is stored";
  f.NumIO->clear();
  f.NumIO->insert("12345678");  // the seat's number is saved only whole
  w.zapiszMimoUwag(f);
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readString(HKCU, kIO, "nazIO"), "Bank Polski ");
  EXPECT_EQ(zelt::hasla::odkoduj(zelt::hasla::Rola::Osoba1, *w.bin(kIO, "OpOs1IO")).haslo, "1");
}

TEST(FirmaForm, TheUnitAndNewInstitutionEditsStoreWhatIsTyped) {
  FirmaWorld w;
  auto& p = w.start();
  int checked = 0;
  for (QWidget* window : {static_cast<QWidget*>(p.jedn()), static_cast<QWidget*>(p.addIO())}) {
    for (QLineEdit* e : window->findChildren<QLineEdit*>()) {
      const std::string name = e->objectName().toStdString();
      ++checked;
      e->clear();
      const QString before = e->text();
      pisz(e, u("Ж"));
      EXPECT_EQ(e->text(), before) << name;
      e->clear();
      e->insert(u("7\t8\n9"));
      for (QChar c : e->text()) EXPECT_TRUE(c.isPrint()) << name;
    }
  }
  EXPECT_EQ(checked, 9);
}

TEST(FirmaForm, TheSignInsPasswordEditRefusesWhatTheCodePageCannotHold) {
  FirmaWorld w;
  auto& s = *w.start().wizyt();
  pisz(s.haslo, u("Жук1"));
  EXPECT_EQ(s.haslo->text(), "1");
  s.haslo->insert(u("\t"));
  EXPECT_EQ(s.haslo->text(), "1 ");
}

}  // namespace

namespace {

// Each page as the user sees it, kept for looking at when ZELT_SHOT_DIR is set.
TEST(FirmaForm, EachPageIsDrawn) {
  FirmaWorld w;
  auto& f = *w.start().firma();
  f.NazIO->setText(u("Kantor Wymiany Walut „Złotówka” Spółka Jawna"));
  f.RoIO->setCurrentIndex(13);
  for (int i = 0; i < f.strony->count(); ++i) {
    f.strony->setCurrentIndex(i);
    EXPECT_GT(testing_world::renderWindow(f, QString("firma-%1").arg(i)), 8) << f.strony->tabText(i).toStdString();
  }
}

}  // namespace
