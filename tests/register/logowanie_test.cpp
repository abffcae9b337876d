// The sign-in: the step machine over sequences of entries, and the splash running it at start-up
// with the passwords stored in the registry.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QTest>
#include <optional>
#include <vector>

#include "platform/cp1250.h"
#include "register/glownyform.h"
#include "register/logowanie.h"
#include "register/program.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "settings/firmaform.h"
#include "support/filesizelimit.h"
#include "support/world.h"

using platform::RegRoot;
using testing_world::World;
using zelt::Logowanie;
using zelt::hasla::Rola;
using Wynik = zelt::Logowanie::Wynik;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kIO = "\\SOFTWARE\\Tarvo\\ZELT\\IO\\";

const char* const kHaslo = "Wprowadź hasło : ";
const char* const kBledne = "Błędne hasło wprowadź ponownie : ";
const char* const kNowe = "Wprowadź nowe hasło : ";
const char* const kPowtorz = "Powtórz nowe hasło : ";
const char* const kNoweAdm = "Wprowadź nowe hasło administratora : ";
const char* const kPowtorzAdm = "Powtórz nowe hasło administratora : ";
const char* const kEsc = nullptr;

std::string cp(const char* utf8) { return cp1250::fromUtf8(utf8); }

zelt::DaneLogowania dane(const char* admin, const char* p1, const char* p2) {
  return {cp(admin), {"Jan", "Kowalski", "Kierownik", cp(p1)}, {"Anna", "Nowak", cp("Księgowa"), cp(p2)}};
}

struct Krok {
  const char* wpis;  // kEsc for the Esc key
  Wynik wynik;
  const char* wprhas;  // the prompt after the step
};

struct Sekwencja {
  const char* opis;
  zelt::DaneLogowania dane;
  std::uint8_t stan;
  std::vector<Krok> kroki;
  const char* panel;
  const char* zalogowany;
  bool administrator;
  std::optional<std::pair<Rola, const char*>> zapis;  // the new password confirmed by the last step
  std::uint8_t stanPo;
};

const std::vector<Sekwencja>& sekwencje() {
  static const std::vector<Sekwencja> s = {
      {"no passwords stored: the empty entry is the administrator and person 1",
       dane("", "", ""), 0x00, {{"", Wynik::Ok, kHaslo}},
       "Zalogowany : Admin Jan Kowalski ", "Jan;Kowalski;Kierownik", true, std::nullopt, 0x00},
      {"the administrator alone", dane("adm", "p1", "p2"), 0x00, {{"adm", Wynik::Ok, kHaslo}},
       "Zalogowany : Admin ", "", true, std::nullopt, 0x00},
      {"person 2", dane("adm", "p1", "p2"), 0x00, {{"p2", Wynik::Ok, kHaslo}},
       "Zalogowany : Anna Nowak ", "Anna;Nowak;Księgowa", false, std::nullopt, 0x00},
      {"the administrator's password is person 1's, who must change: no dialogue", dane("wsp", "wsp", "p2"), 0x10,
       {{"wsp", Wynik::Ok, kHaslo}},
       "Zalogowany : Admin Jan Kowalski ", "Jan;Kowalski;Kierownik", true, std::nullopt, 0x10},
      {"person 2 must change, person 1 signs in at once", dane("adm", "p1", "p2"), 0x20, {{"p1", Wynik::Ok, kHaslo}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::nullopt, 0x20},
      {"passwords are compared exactly", dane("Adm", "p1", "p2"), 0x00,
       {{"adm", Wynik::Dalej, kBledne}, {"p1 ", Wynik::Dalej, kBledne}, {"Adm", Wynik::Ok, kBledne}},
       "Zalogowany : Admin ", "", true, std::nullopt, 0x00},
      {"three wrong, then the right one", dane("adm", "p1", "p2"), 0x00,
       {{"x", Wynik::Dalej, kBledne}, {"y", Wynik::Dalej, kBledne}, {"z", Wynik::Dalej, kBledne},
        {"p1", Wynik::Ok, kBledne}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::nullopt, 0x00},
      {"four wrong end the program", dane("adm", "p1", "p2"), 0x00,
       {{"x", Wynik::Dalej, kBledne}, {"y", Wynik::Dalej, kBledne}, {"z", Wynik::Dalej, kBledne},
        {"w", Wynik::Anuluj, kBledne}},
       "Zalogowany : ", "", false, std::nullopt, 0x00},
      {"Esc at once", dane("adm", "p1", "p2"), 0x00, {{kEsc, Wynik::Anuluj, kHaslo}},
       "", "", false, std::nullopt, 0x00},
      {"person 1 chooses a new password, the first pair differing", dane("adm", "p1", "p2"), 0x10,
       {{"p1", Wynik::Dalej, kNowe}, {"abc", Wynik::Dalej, kPowtorz}, {"abd", Wynik::Dalej, kNowe},
        {"abc", Wynik::Dalej, kPowtorz}, {"abc", Wynik::Ok, kPowtorz}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::make_pair(Rola::Osoba1, "abc"), 0x00},
      {"after wrong passwords, the marked person's dialogue", dane("adm", "p1", "p2"), 0x10,
       {{"zle", Wynik::Dalej, kBledne}, {"p1", Wynik::Dalej, kNowe}, {"n", Wynik::Dalej, kPowtorz},
        {"n", Wynik::Ok, kPowtorz}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::make_pair(Rola::Osoba1, "n"), 0x00},
      {"person 2 may choose an empty password", dane("adm", "p1", "p2"), 0x20,
       {{"p2", Wynik::Dalej, kNowe}, {"", Wynik::Dalej, kPowtorz}, {"", Wynik::Ok, kPowtorz}},
       "Zalogowany : Anna Nowak ", "Anna;Nowak;Księgowa", false, std::make_pair(Rola::Osoba2, ""), 0x00},
      {"person 1's change leaves person 2's mark pending", dane("adm", "p1", "p2"), 0x30,
       {{"p1", Wynik::Dalej, kNowe}, {"q", Wynik::Dalej, kPowtorz}, {"q", Wynik::Ok, kPowtorz}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::make_pair(Rola::Osoba1, "q"), 0x20},
      {"a new password too long or with a control character is asked for again", dane("adm", "p1", "p2"), 0x10,
       {{"p1", Wynik::Dalej, kNowe}, {"01234567890", Wynik::Dalej, kNowe}, {"a\x01", Wynik::Dalej, kNowe},
        {"ok", Wynik::Dalej, kPowtorz}, {"ok", Wynik::Ok, kPowtorz}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::make_pair(Rola::Osoba1, "ok"), 0x00},
      {"Esc while the new password is repeated", dane("adm", "p1", "p2"), 0x10,
       {{"p1", Wynik::Dalej, kNowe}, {"abc", Wynik::Dalej, kPowtorz}, {kEsc, Wynik::Anuluj, kPowtorz}},
       "Zalogowany : Jan Kowalski ", "Jan;Kowalski;Kierownik", false, std::nullopt, 0x98},
      {"the administrator without a password chooses one, not an empty one", dane("", "p1", "p2"), 0x40,
       {{"", Wynik::Dalej, kNoweAdm}, {"", Wynik::Dalej, kNoweAdm}, {"tajne", Wynik::Dalej, kPowtorzAdm},
        {"tajne", Wynik::Ok, kPowtorzAdm}},
       "Zalogowany : Admin ", "", true, std::make_pair(Rola::Administrator, "tajne"), 0x00},
      {"the administrator's change leaves person 2's mark pending", dane("", "p1", "p2"), 0x60,
       {{"", Wynik::Dalej, kNoweAdm}, {"t", Wynik::Dalej, kPowtorzAdm}, {"u", Wynik::Dalej, kNoweAdm},
        {"t", Wynik::Dalej, kPowtorzAdm}, {"t", Wynik::Ok, kPowtorzAdm}},
       "Zalogowany : Admin ", "", true, std::make_pair(Rola::Administrator, "t"), 0x20},
  };
  return s;
}

TEST(Logowanie, SequencesOfEntries) {
  for (const auto& s : sekwencje()) {
    std::uint8_t stan = s.stan;
    Logowanie m(stan);
    EXPECT_EQ(m.wprhas(), cp(kHaslo)) << s.opis;
    for (size_t i = 0; i < s.kroki.size(); ++i) {
      const Krok& k = s.kroki[i];
      const Wynik w = k.wpis ? m.enter(cp(k.wpis), s.dane) : m.esc();
      ASSERT_EQ(w, k.wynik) << s.opis << ", step " << i;
      EXPECT_EQ(m.wprhas(), cp(k.wprhas)) << s.opis << ", step " << i;
      if (w == Wynik::Dalej) { EXPECT_TRUE(m.wyczyscHaslo()) << s.opis << ", step " << i; }
      const bool ostatni = i + 1 == s.kroki.size();
      if (!ostatni || !s.zapis) { EXPECT_FALSE(m.doZapisu().has_value()) << s.opis << ", step " << i; }
    }
    if (s.zapis) {
      ASSERT_TRUE(m.doZapisu().has_value()) << s.opis;
      EXPECT_EQ(m.doZapisu()->rola, s.zapis->first) << s.opis;
      EXPECT_EQ(m.doZapisu()->haslo, cp(s.zapis->second)) << s.opis;
    }
    if (s.kroki.back().wpis) {
      EXPECT_EQ(m.panel(), cp(s.panel)) << s.opis;
      EXPECT_EQ(m.zalogowany(), cp(s.zalogowany)) << s.opis;
      EXPECT_EQ(m.administrator(), s.administrator) << s.opis;
    }
    if (s.kroki.back().wynik == Wynik::Ok) { EXPECT_EQ(m.licznikProb(), 0) << s.opis; }
    EXPECT_EQ(stan, s.stanPo) << s.opis;
  }
}

// ---- the splash at start-up ----

std::string bajty(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s.push_back(static_cast<char>(v));
  return s;
}
// "adm" as the administrator's value: 3 + 14, 13 zeros, (c - 18) XOR (k + 45).
const std::string kAdminAdm = bajty({0x11}) + std::string(13, '\0') + bajty({0x61, 0x7D, 0x6B});
const std::string kOs1AbcZmiana = bajty({0x84, 0x6B, 0x6D, 0x6F});

// An entry for the password edit; kEsc presses Esc instead of typing and Enter.
// "&Zapisz" of the institution window over incomplete data: saved despite the check's findings.
void zapiszMimoUwag(World& w, zelt::Program& p) {
  w.dialogs.expectModal("WerForm", [](platform::ModalForm&) { return zelt::TWerForm::kPotwierdz; });
  p.firma()->zapisClick();
}

struct Wpis {
  const char* tekst;
  const char* wprhasPo;
};

// Types each entry into `haslo` as a user would and presses Enter (or Esc).
platform::ScriptedDialogs::ModalScript wpisy(std::vector<Wpis> lista) {
  return [lista](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    EXPECT_TRUE(s.haslo->isVisible());
    EXPECT_TRUE(s.wprhas->isVisible());
    EXPECT_TRUE(s.NazUzyt->isVisible());
    EXPECT_TRUE(s.NipLab->isVisible());
    EXPECT_TRUE(s.RegUzyt->isVisible());
    for (const auto& w : lista) {
      if (!w.tekst) {
        QTest::keyClick(s.haslo, Qt::Key_Escape);
        break;
      }
      s.haslo->clear();
      QTest::keyClicks(s.haslo, QString::fromUtf8(w.tekst));
      QTest::keyClick(s.haslo, Qt::Key_Return);
      if (w.wprhasPo) { EXPECT_EQ(s.wprhas->text(), QString::fromUtf8(w.wprhasPo)) << w.tekst; }
      if (s.modalResult() != platform::mrNone) break;
    }
    return platform::mrNone;
  };
}

struct InstytucjaWorld : World {
  InstytucjaWorld() {
    reg().writeString(HKCU, kIO, "nazIO", "Bank");
    reg().writeString(HKCU, kIO, "ImOs1IO", "Jan");
    reg().writeString(HKCU, kIO, "NaOs1IO", "Kowalski");
    reg().writeString(HKCU, kIO, "StOs1IO", "Kierownik");
    reg().writeBinary(HKCU, kIO, "OpOs1IO", kOs1AbcZmiana);  // "abc", must change
    reg().writeBinary(HKCU, kIO, "Opcje", kAdminAdm);
  }
};

TEST(SignIn, AFirstStartHasTheAdministratorChooseAPassword) {
  World w;
  w.dialogs.expectModal("wizytForm", wpisy({{"", kNoweAdm}, {"tajne", kPowtorzAdm}, {"tajne", nullptr}}));
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  // "tajne" as the administrator's value: 5 + 14, 13 zeros, (c - 18) XOR (k + 45).
  EXPECT_EQ(w.reg().readBinary(HKCU, kIO, "Opcje"),
            bajty({0x13}) + std::string(13, '\0') + bajty({0x4C, 0x60, 0x68, 0x6D, 0x61}));
  EXPECT_EQ(p.firma()->HaAdmin->text(), "tajne");
  EXPECT_TRUE(p.administrator);
  EXPECT_EQ(p.panelZalogowany, "Zalogowany : Admin ");
  EXPECT_EQ(p.zalogowany, "") << "the administrator who chose a password signs in alone";
  EXPECT_TRUE(p.glowny()->isVisible());
  EXPECT_TRUE(p.wizyt()->haslo->text().isEmpty());
  EXPECT_FALSE(p.wizyt()->haslo->isVisible());
}

TEST(SignIn, APersonChoosesANewPasswordStoredAtOnceWithoutTheMark) {
  InstytucjaWorld w;
  bool staryPoRozbieznosci = false;
  w.dialogs.expectModal("wizytForm", [&](platform::ModalForm& f) {
    wpisy({{"abc", kNowe}, {"xyz", kPowtorz}, {"xyw", kNowe}})(f);
    staryPoRozbieznosci = w.reg().readBinary(HKCU, kIO, "OpOs1IO") == kOs1AbcZmiana;
    return wpisy({{"xyz", kPowtorz}, {"xyz", nullptr}})(f);
  });
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(staryPoRozbieznosci) << "differing entries store nothing";
  // "xyz" as person 1's value: (c - 30) XOR (j + 39).
  EXPECT_EQ(w.reg().readBinary(HKCU, kIO, "OpOs1IO"), bajty({0x04, 0x72, 0x72, 0x76}));
  EXPECT_EQ(p.firma()->HaOs1IO->text(), "xyz");
  EXPECT_EQ(p.zalogowany, "Jan;Kowalski;Kierownik");
  EXPECT_FALSE(p.administrator);
  EXPECT_EQ(p.panelZalogowany, "Zalogowany : Jan Kowalski ");
  EXPECT_EQ(p.stanHasel, 0);
  // Saving the institution data later in the run keeps the new password without the mark.
  zapiszMimoUwag(w, p);
  EXPECT_EQ(w.reg().readBinary(HKCU, kIO, "OpOs1IO"), bajty({0x04, 0x72, 0x72, 0x76}));
}

TEST(SignIn, EscOrAFourthWrongPasswordEndsTheProgramAndStoresNothing) {
  const std::vector<std::vector<Wpis>> przypadki = {
      {{kEsc, nullptr}},
      {{"zle", kBledne}, {kEsc, nullptr}},
      {{"abc", kNowe}, {kEsc, nullptr}},
      {{"abc", kNowe}, {"nowe", kPowtorz}, {kEsc, nullptr}},
      {{"a", kBledne}, {"b", kBledne}, {"c", kBledne}, {"d", nullptr}},
  };
  for (size_t i = 0; i < przypadki.size(); ++i) {
    InstytucjaWorld w;
    const std::string przed = World::readFile(w.registryFile());
    w.dialogs.expectModal("wizytForm", wpisy(przypadki[i]));
    auto& p = w.program();
    EXPECT_FALSE(p.start()) << i;
    EXPECT_FALSE(p.glowny()->isVisible()) << i;
    EXPECT_EQ(World::readFile(w.registryFile()), przed) << i;
  }
}

TEST(SignIn, TheAdministratorOpensTheMenusAndTheMarkStaysPending) {
  InstytucjaWorld w;
  w.dialogs.expectModal("wizytForm", wpisy({{"zle", kBledne}, {"adm", nullptr}}));
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(p.administrator);
  EXPECT_EQ(p.panelZalogowany, "Zalogowany : Admin ");
  EXPECT_EQ(p.zalogowany, "");
  EXPECT_EQ(p.stanHasel, 0x10);
  zapiszMimoUwag(w, p);
  EXPECT_EQ(w.reg().readBinary(HKCU, kIO, "OpOs1IO"), kOs1AbcZmiana) << "person 1 has not chosen a new password yet";
  EXPECT_EQ(w.reg().readBinary(HKCU, kIO, "Opcje"), kAdminAdm);
}

// A stored administrator's password, however damaged or foreign, never keeps the administrator
// out: one that no key can type reads as none and is chosen anew; a longer one is entered as far
// as the edit takes it.
TEST(SignIn, NoStoredAdministratorsPasswordLocksTheAdministratorOut) {
  const std::string zera(13, '\0');
  // "nowe" as the administrator's value: 4 + 14, 13 zeros, (c - 18) XOR (k + 45).
  const std::string kNoweHaslo = bajty({0x12}) + zera + bajty({0x72, 0x72, 0x55, 0x62});
  struct Przypadek {
    const char* opis;
    std::string opcje;
    std::vector<Wpis> wpisy;
    std::string opcjePo;
  };
  const std::vector<Przypadek> przypadki = {
      {"a control character (0xC1 decodes to 0x01)", bajty({0x0F}) + zera + bajty({0xC1}),
       {{"", kNoweAdm}, {"nowe", kPowtorzAdm}, {"nowe", nullptr}}, kNoweHaslo},
      {"DEL (0x43 decodes to 0x7F)", bajty({0x0F}) + zera + bajty({0x43}),
       {{"", kNoweAdm}, {"nowe", kPowtorzAdm}, {"nowe", nullptr}}, kNoweHaslo},
      {"an undefined byte of the code page (0x41 decodes to 0x81)", bajty({0x0F}) + zera + bajty({0x41}),
       {{"", kNoweAdm}, {"nowe", kPowtorzAdm}, {"nowe", nullptr}}, kNoweHaslo},
  };
  for (const auto& c : przypadki) {
    InstytucjaWorld w;
    w.reg().writeBinary(HKCU, kIO, "Opcje", c.opcje);
    w.dialogs.expectModal("wizytForm", wpisy(c.wpisy));
    auto& p = w.program();
    ASSERT_TRUE(p.start()) << c.opis;
    EXPECT_TRUE(p.administrator) << c.opis;
    EXPECT_EQ(p.panelZalogowany, "Zalogowany : Admin ") << c.opis;
    EXPECT_EQ(w.reg().readBinary(HKCU, kIO, "Opcje"), c.opcjePo) << c.opis;
  }
}

// Twelve "a" as the administrator's value, 26 bytes (more than the older reader took): the
// administrator types them and the edit, like the one in the institution window, keeps ten.
TEST(SignIn, ALongerStoredAdministratorsPasswordIsEnteredAsFarAsTheEditTakesIt) {
  InstytucjaWorld w;
  w.reg().writeBinary(HKCU, kIO, "Opcje",
                      bajty({0x1A}) + std::string(13, '\0') +
                          bajty({0x61, 0x60, 0x7F, 0x7E, 0x7D, 0x7C, 0x7B, 0x7A, 0x79, 0x78, 0x77, 0x76}));
  w.dialogs.expectModal("wizytForm", wpisy({{"aaaaaaaaaaaa", nullptr}}));
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(p.administrator);
  EXPECT_EQ(p.firma()->HaAdmin->text(), "aaaaaaaaaa");
}

TEST(SignIn, AFailedStoreIsReportedAndTheSignInCompletes) {
  World w;
  w.dialogs.expectModal("wizytForm", [&](platform::ModalForm& f) {
    // The store's file is replaced by a folder: nothing can be written over it.
    EXPECT_TRUE(QFile::remove(w.registryFile()) || !QFile::exists(w.registryFile()));
    EXPECT_TRUE(QDir().mkpath(w.registryFile() + "/x"));
    return wpisy({{"", kNoweAdm}, {"tajne", kPowtorzAdm}, {"tajne", nullptr}})(f);
  });
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd zapisu hasła"));
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_EQ(p.firma()->HaAdmin->text(), "tajne") << "held for the save on exit";
  EXPECT_TRUE(p.administrator);
}

TEST(SignIn, AFullDiskAtThePasswordChangeIsShownWithItsReason) {
  World w;
  w.dialogs.expectModal("wizytForm", [&](platform::ModalForm& f) {
    testing_world::FileSizeLimit full(0);
    return wpisy({{"", kNoweAdm}, {"tajne", kPowtorzAdm}, {"tajne", nullptr}})(f);
  });
  w.dialogs.expectMessage(platform::IdOk, QString::fromUtf8("Błąd zapisu hasła\n"));
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  ASSERT_FALSE(w.dialogs.messages().isEmpty());
  EXPECT_TRUE(w.dialogs.messages().back().contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
      << w.dialogs.messages().back().toStdString();
  EXPECT_FALSE(platform::RegistryStore(w.registryFile()).valueExists(HKCU, kIO, "Opcje"));
  EXPECT_EQ(p.firma()->HaAdmin->text(), "tajne") << "held for the save on exit";
}

TEST(SignIn, F1OpensTheSignInsHelpTopic) {
  InstytucjaWorld w;
  w.dialogs.expectModal("wizytForm", [](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    QTest::keyClick(s.haslo, Qt::Key_F1);
    return platform::mrCancel;
  });
  auto& p = w.program();
  EXPECT_FALSE(p.start());
  EXPECT_EQ(w.shell.requests, QStringList{"help zelt.hlp 1020100"});
}

}  // namespace
