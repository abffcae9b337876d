// The save-all step at the end of a run.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <cerrno>
#include <cstring>

#include <functional>
#include <map>
#include <set>

#include "platform/cp1250.h"
#include "platform/errors.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"
#include "support/filesizelimit.h"
#include "support/world.h"

using platform::RegRoot;
using testing_world::World;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kProg = "\\SOFTWARE\\Tarvo\\ZELT\\";

using Snapshot = testing_world::RegSnapshot;
Snapshot snapshot(const platform::RegistryStore& reg) { return testing_world::snapshotKey(reg, kProg); }
// The names whose values differ between two snapshots (added, removed or changed).
std::set<std::string> changed(const Snapshot& a, const Snapshot& b) {
  std::set<std::string> out;
  for (const auto& [k, v] : a)
    if (!b.count(k) || b.at(k) != v) out.insert(k);
  for (const auto& [k, v] : b)
    if (!a.count(k)) out.insert(k);
  return out;
}
bool anyUnder(const std::set<std::string>& names, const std::string& prefix) {
  for (const auto& n : names)
    if (n.rfind(prefix, 0) == 0) return true;
  return false;
}

struct ExitWorld : World {
  int ends = 0;
  zelt::Program& started() {
    auto& p = program();
    p.logowanie = [] { return platform::mrOk; };
    p.zakoncz = [this] { ++ends; };
    EXPECT_TRUE(p.start());
    return p;
  }
};

// Values stored outside the edits' limits and masks (by an older release, another tool, or typed
// where the limit was larger): while the user does not touch them, "&Zapisz" of both windows and
// the exit step write them back byte for byte.
TEST(SaveAll, UntouchedStoredValuesComeBackByteForByte) {
  const std::string kKonfig = kProg + "Konfig\\";
  const std::string kIO = kProg + "IO\\";
  struct Value {
    const std::string* key;
    const char* name;
    std::string bytes;
  } values[] = {
      {&kKonfig, "domMiejsce", std::string(40, 'M')},
      {&kKonfig, "domkRodzTr", "12 4"},
      {&kKonfig, "domWaluta", "PLNX"},
      {&kKonfig, "domKraj", "POL"},
      {&kIO, "nazIO", std::string(60, 'N')},
      {&kIO, "UwIO", std::string(70, 'U')},
      {&kIO, "numIO", "12AB5678"},
      {&kIO, "KodIO", "90-001"},
      {&kIO, "NIPIO", "123-456-32-18"},
      {&kIO, "MieIO", cp1250::fromUtf8("Kędzierzyn-Koźle i okolice")},
  };
  ExitWorld w;
  for (const auto& v : values) w.reg().writeString(HKCU, *v.key, v.name, v.bytes);
  auto& p = w.started();
  EXPECT_EQ(p.konfig()->domMiejsce->text().size(), 40) << "shown whole";
  EXPECT_EQ(p.firma()->NumIO->text(), "12AB5678");
  auto check = [&](const char* when) {
    const platform::RegistryStore file(w.registryFile());  // as the next start reads it
    for (const auto& v : values) EXPECT_EQ(file.readString(HKCU, *v.key, v.name), v.bytes) << v.name << " after " << when;
  };
  p.konfig()->zapisClick();
  EXPECT_EQ(p.konfig()->modalResult(), platform::mrOk);
  check("the settings' Zapisz");
  w.dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
  p.firma()->zapisClick();
  check("the institution's Zapisz");
  p.glowny()->zapiszUstawienia();
  check("the exit");
}

// The limits bound what is typed: a stored longer value can be shortened, not lengthened; a
// stored value with other characters than digits in a digits edit takes no further ones.
TEST(SaveAll, LimitsAndMasksBoundTyping) {
  ExitWorld w;
  w.reg().writeString(HKCU, kProg + "Konfig\\", "domMiejsce", std::string(40, 'M'));
  w.reg().writeString(HKCU, kProg + "IO\\", "numIO", "12AB5678");
  auto& p = w.started();
  QLineEdit* miejsce = p.konfig()->domMiejsce;
  miejsce->end(false);
  miejsce->insert("x");
  EXPECT_EQ(miejsce->text().size(), 40) << "no longer than it was";
  miejsce->backspace();
  EXPECT_EQ(miejsce->text().size(), 39);
  miejsce->insert("x");
  EXPECT_EQ(miejsce->text().size(), 39) << "not back over the limit of 35 either";
  miejsce->clear();
  miejsce->insert(QString(50, 'y'));
  EXPECT_EQ(miejsce->text(), "") << "a paste over the limit is refused";
  miejsce->insert(QString(35, 'y'));
  EXPECT_EQ(miejsce->text().size(), 35);

  QLineEdit* numer = p.firma()->NumIO;
  numer->end(false);
  numer->backspace();
  EXPECT_EQ(numer->text(), "12AB567") << "a stored value with letters can be edited";
  numer->insert("C");
  EXPECT_EQ(numer->text(), "12AB567") << "but takes no further letter";
  numer->insert("9");
  EXPECT_EQ(numer->text(), "12AB5679");
  numer->insert("9");
  EXPECT_EQ(numer->text(), "12AB5679") << "eight characters at most";
  numer->clear();
  numer->insert("12x");
  EXPECT_EQ(numer->text(), "");
  numer->insert("123456789");
  EXPECT_EQ(numer->text(), "");
  numer->insert("12345678");
  EXPECT_EQ(numer->text(), "12345678");
}

TEST(SaveAll, WhatTheRememberSwitchesWrite) {
  struct C {
    bool okna, rej, konf, io;
  } cases[] = {{false, false, false, false}, {true, false, false, false}, {false, false, true, false},
               {false, true, true, false},   {false, true, false, false}, {false, false, false, true},
               {true, true, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "okna " << c.okna << " rej " << c.rej << " konf " << c.konf << " io " << c.io);
    ExitWorld w;
    auto& p = w.started();
    auto& k = *p.konfig();
    k.zapokna->setChecked(c.okna);
    k.zaprej->setChecked(c.rej);
    k.zapkonf->setChecked(c.konf);
    k.zapIO->setChecked(c.io);
    // Unsaved changes of the windows: written when their switch is on.
    k.SkTrX->setText("0,990");
    p.firma()->findChild<QLineEdit*>("NrLIO")->setText("12a");
    p.glowny()->move(40, 50);
    const Snapshot before = snapshot(w.reg());
    p.glowny()->zapiszUstawienia();
    EXPECT_EQ(w.ends, 1);
    w.reloadRegistry();  // what a next run finds in the file
    const Snapshot after = snapshot(w.reg());
    const auto diff = changed(before, after);
    EXPECT_TRUE(diff.count("Wersja") && diff.count("IloscIO") && diff.count("AktualIO")) << "always written";
    EXPECT_EQ(w.reg().readString(HKCU, kProg, "Wersja"), "Wersja 1.34");
    EXPECT_EQ(w.reg().readInteger(HKCU, kProg, "AktualIO"), -1) << "one institution, no chooser";
    EXPECT_EQ(anyUnder(diff, "OKNA\\"), c.okna);
    EXPECT_EQ(w.reg().valueExists(HKCU, kProg + "OKNA\\Glowne\\", "Left"), c.okna);
    EXPECT_EQ(w.reg().valueExists(HKCU, kProg + "OKNA\\Edycja\\", "Width"), c.okna) << "the card editor's";
    EXPECT_EQ(w.reg().valueExists(HKCU, kProg + "OKNA\\Podmiot\\", "Width"), c.okna) << "the parties list's";
    EXPECT_EQ(w.reg().valueExists(HKCU, kProg + "OKNA\\EdPodmiot\\", "Width"), c.okna) << "the party editor's";
    EXPECT_EQ(w.reg().readString(HKCU, kProg + "Konfig\\", "SkTrX").value_or(""), c.konf ? "0,990" : "");
    EXPECT_EQ(w.reg().valueExists(HKCU, kProg + "Konfig\\", "Pole01"), c.konf && c.rej);
    EXPECT_FALSE(w.reg().valueExists(HKCU, kProg + "Konfig\\", "NrEwDz")) << "numbering switches: only \"&Zapisz\"";
    EXPECT_EQ(w.reg().readString(HKCU, kProg + "IO\\", "NrLIO").value_or(""), c.io ? "12a" : "");
    std::set<std::string> expected = {"Wersja", "IloscIO", "AktualIO"};
    for (const auto& n : diff)
      if (!expected.count(n) && n.rfind("OKNA\\", 0) != 0 && n.rfind("Konfig\\", 0) != 0 && n.rfind("IO\\", 0) != 0)
        ADD_FAILURE() << "unexpected change " << n;
  }
}

TEST(SaveAll, NumberingSwitchesAndThePrinterKeepWhatWasStored) {
  ExitWorld w;
  w.reg().writeInteger(HKCU, kProg + "Konfig\\", "NrEwDz", 0);
  w.reg().writeString(HKCU, kProg + "Konfig\\", "druk", "Drukarka biura");
  w.printers.set({"PDF"});
  auto& p = w.started();
  p.konfig()->NrEwDz->setChecked(true);  // left with "&Wyjdź": in force for this run only
  p.konfig()->wyjscieClick();
  EXPECT_TRUE(p.konfig()->numeracja().dzien);
  p.glowny()->zapiszUstawienia();
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readInteger(HKCU, kProg + "Konfig\\", "NrEwDz"), 0);
  EXPECT_EQ(w.reg().readString(HKCU, kProg + "Konfig\\", "druk"), "Drukarka biura")
      << "a printer missing for one run keeps its stored name";
}

TEST(SaveAll, APrinterChosenInTheRunIsStoredEvenWhenTheWindowWasLeft) {
  struct C {
    QStringList installed;
    int chosen;
    const char* stored;
  } cases[] = {{{"PDF", "HP"}, 1, "HP"}, {{"PDF"}, -1, "Drukarka biura"}, {{}, -1, "Drukarka biura"}};
  for (const auto& c : cases) {
    ExitWorld w;
    w.reg().writeString(HKCU, kProg + "Konfig\\", "druk", "Drukarka biura");
    w.printers.set(c.installed);
    auto& p = w.started();
    p.konfig()->WybDruk->setCurrentIndex(c.chosen);
    p.konfig()->wyjscieClick();
    p.glowny()->zapiszUstawienia();
    w.reloadRegistry();
    EXPECT_EQ(w.reg().readString(HKCU, kProg + "Konfig\\", "druk"), c.stored) << c.chosen;
  }
}

TEST(SaveAll, AFailingStoreStillEndsTheProgramOnceAndLeavesTheFileWhole) {
  ExitWorld w;
  auto& p = w.started();
  p.glowny()->zapiszUstawienia();  // writes the file once, so there is something to keep
  ASSERT_EQ(w.ends, 1);
  const std::string stored = World::readFile(w.registryFile());
  ASSERT_FALSE(stored.empty());

  // A second run whose store cannot be written at the end.
  World::writeFile(w.path("plik"), "x");
  platform::RegistryStore broken(w.path("plik/registry.txt"));
  zelt::Program p2({broken, w.dialogs, w.clock, w.shell, w.printers});
  int ends = 0;
  p2.logowanie = [] { return platform::mrOk; };
  p2.zakoncz = [&] { ++ends; };
  ASSERT_TRUE(p2.start());
  w.dialogs.expectMessage(platform::IdOk);
  p2.glowny()->zapiszUstawienia();
  p2.glowny()->zapiszUstawienia();
  EXPECT_EQ(ends, 1) << "the end is asked for exactly once";
  EXPECT_EQ(World::readFile(w.registryFile()), stored);
}

// A disk with no space left at exit: the user reads the system's reason, the program still ends,
// and the store keeps what it held.
TEST(SaveAll, AFullDiskIsShownWithItsReasonAndTheStoreStaysWhole) {
  ExitWorld w;
  w.reg().writeString(HKCU, kProg + "IO\\", "nazIO", "Bank");
  auto& p = w.started();
  const std::string stored = World::readFile(w.registryFile());
  ASSERT_FALSE(stored.empty());
  p.firma()->NazIO->setText("Nowa nazwa");
  w.dialogs.expectMessage(platform::IdOk, QString::fromLocal8Bit(std::strerror(EFBIG)));
  {
    testing_world::FileSizeLimit full(0);
    p.glowny()->zapiszUstawienia();
  }
  EXPECT_EQ(w.ends, 1);
  EXPECT_EQ(World::readFile(w.registryFile()), stored);
  ASSERT_EQ(w.dialogs.shown().size(), 1u);
  EXPECT_EQ(w.dialogs.shown()[0].caption, "Rejestr Transakcji");
}

TEST(SaveAll, EndsEvenWhenTheReportOfAFailedWriteFails) {
  World w;
  World::writeFile(w.path("plik"), "x");
  platform::RegistryStore broken(w.path("plik/registry.txt"));
  platform::ScriptedDialogs refusing;  // answers no message box: it throws instead
  zelt::Program p({broken, refusing, w.clock, w.shell, w.printers});
  int ends = 0;
  p.logowanie = [] { return platform::mrOk; };
  p.zakoncz = [&] { ++ends; };
  ASSERT_TRUE(p.start());
  EXPECT_NO_THROW(p.glowny()->zapiszUstawienia());
  EXPECT_EQ(ends, 1);
}

// Each way out of the main window, and the close event that may follow it, run the step once.
TEST(SaveAll, EveryWayOutRunsTheStepOnceAndEndsOnce) {
  const std::pair<const char*, std::function<void(zelt::TglownyForm&)>> ways[] = {
      {"&Zamknij", [](zelt::TglownyForm& g) { g.Zamknij->click(); }},
      {"&Wyjście", [](zelt::TglownyForm& g) { g.WyjMen->trigger(); }},
      {"&Zamknięcie programu", [](zelt::TglownyForm& g) { g.Zamknicieprogramu1->trigger(); }},
      {"close box", [](zelt::TglownyForm& g) { g.close(); }},
  };
  for (const auto& [name, way] : ways) {
    SCOPED_TRACE(name);
    ExitWorld w;
    auto& p = w.started();
    auto& g = *p.glowny();
    p.konfig()->SkTrX->setText("0,970");
    way(g);
    EXPECT_EQ(w.ends, 1);
    // Whatever comes after the end was asked for writes nothing more.
    p.konfig()->SkTrX->setText("0,950");
    g.close();
    g.Zamknij->click();
    EXPECT_EQ(w.ends, 1);
    w.reloadRegistry();
    EXPECT_EQ(w.reg().readString(HKCU, kProg + "Konfig\\", "SkTrX"), "0,970");
  }
}

}  // namespace

namespace {

TEST(SaveAll, APendingMustChangeMarkSurvivesExitsUntilThePersonChoosesAPassword) {
  ExitWorld w;
  const std::string marked("\x84\x6B\x6D\x6F", 4);  // person 1, "abc", must change at next sign-in
  w.reg().writeBinary(HKCU, kProg + "IO\\", "OpOs1IO", marked);
  for (int run = 0; run < 2; ++run) {
    auto& p = w.started();
    p.glowny()->zapiszUstawienia();
    w.reloadRegistry();
    EXPECT_EQ(w.reg().readBinary(HKCU, kProg + "IO\\", "OpOs1IO"), marked) << "run " << run;
  }
}

}  // namespace

namespace {

// Values whose windows come later go back as they were loaded, and the units as the grid holds
// them: a missing unit subkey stays missing, one beyond the stored count is left alone.
TEST(SaveAll, ValuesOfLaterWindowsAndTheUnitsGoBackAsLoaded) {
  ExitWorld w;
  const std::string io = kProg + "IO\\";
  w.reg().writeString(HKCU, io, "archdir", cp1250::fromUtf8("/archiwum/łódź"));
  w.reg().writeString(HKCU, io, "ekspdir", "/eksport");
  w.reg().writeInteger(HKCU, io, "JedIO", 5);
  w.reg().writeString(HKCU, io + "JED00\\", "NumJe", "00000001");
  w.reg().writeString(HKCU, io + "JED00\\", "NazJe", cp1250::fromUtf8("Oddział Łódź"));
  w.reg().writeString(HKCU, io + "JED02\\", "NumJe", "00000003");
  w.reg().writeString(HKCU, io + "JED07\\", "NumJe", "99");
  auto& p = w.started();
  ASSERT_TRUE(p.konfig()->zapamietywanie().io);
  p.glowny()->zapiszUstawienia();
  w.reloadRegistry();
  EXPECT_EQ(w.reg().readString(HKCU, io, "archdir"), cp1250::fromUtf8("/archiwum/łódź"));
  EXPECT_EQ(w.reg().readString(HKCU, io, "ekspdir"), "/eksport");
  EXPECT_EQ(w.reg().readInteger(HKCU, io, "JedIO"), 5);
  EXPECT_EQ(w.reg().readString(HKCU, io + "JED00\\", "NazJe"), cp1250::fromUtf8("Oddział Łódź"));
  EXPECT_EQ(w.reg().readString(HKCU, io + "JED00\\", "FaxJe"), "") << "every value of a unit written";
  EXPECT_FALSE(w.reg().keyExists(HKCU, io + "JED01\\"));
  EXPECT_EQ(w.reg().readString(HKCU, io + "JED02\\", "NumJe"), "00000003");
  EXPECT_EQ(w.reg().readString(HKCU, io + "JED07\\", "NumJe"), "99") << "beyond the stored count";
  EXPECT_EQ(w.reg().subkeyNames(HKCU, io).size(), 3u);
}

}  // namespace
