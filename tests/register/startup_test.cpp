#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "platform/altkeys.h"
#include "platform/cp1250.h"
#include "platform/printers.h"
#include "platform/singleinstance.h"
#include "platform/wholefile.h"
#include "register/glownyform.h"
#include "register/instytucje.h"
#include "register/program.h"
#include "register/rejestr.h"
#include "register/uruchom.h"
#include "register/werform.h"
#include "register/wizytform.h"
#include "settings/konfigform.h"
#include "support/world.h"

using platform::RegRoot;
using testing_world::World;

namespace {

constexpr auto HKCU = RegRoot::CurrentUser;
const std::string kProg = "\\SOFTWARE\\Tarvo\\ZELT\\";
const std::string kShell = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

TEST(Institutions, SubkeyNames) {
  const std::pair<int, const char*> cases[] = {{1, "IO\\"}, {2, "IO02\\"}, {10, "IO10\\"}, {17, "IO17\\"}, {99, "IO99\\"}};
  for (auto [n, key] : cases) EXPECT_EQ(zelt::podkluczIO(n), key) << n;
}

// Folder resolution over registry fixtures; "D" stands for the documents folder.
TEST(Institutions, FolderResolution) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> io;      // values of the institution key
    std::vector<std::pair<std::string, std::string>> konfig;  // older values of "Konfig"
    int n;
    const char *dan, *pod, *eks;
  };
  const Case cases[] = {
      {"all three set", {{"KatDan", "/a"}, {"KatPod", "/p"}, {"KatEks", "/e"}}, {}, 1, "/a", "/p", "/e"},
      {"none: defaults", {}, {}, 1, "D/ZELT/Baza", "D/ZELT/Baza", "D/ZELT/Przekaz"},
      {"older katalog only", {}, {{"katalog", "/old"}}, 1, "/old", "/old", "D/ZELT/Przekaz"},
      {"older both", {}, {{"katalog", "/old"}, {"eksport", "/oe"}}, 1, "/old", "/old", "/oe"},
      {"KatEks set: no older values", {{"KatEks", "/e"}}, {{"katalog", "/old"}}, 1, "D/ZELT/Baza", "D/ZELT/Baza", "/e"},
      {"older values are institution 1's only", {}, {{"katalog", "/old"}}, 2, "D/ZELT/Baza", "D/ZELT/Baza",
       "D/ZELT/Przekaz"},
      {"KatPod defaults to KatDan", {{"KatDan", "/a"}}, {}, 1, "/a", "/a", "D/ZELT/Przekaz"},
  };
  for (const auto& c : cases) {
    platform::RegistryStore reg;
    const std::string io = kProg + zelt::podkluczIO(c.n);
    reg.createKey(HKCU, io);
    for (auto& [k, v] : c.io) reg.writeString(HKCU, io, k, v);
    for (auto& [k, v] : c.konfig) reg.writeString(HKCU, kProg + "Konfig\\", k, v);
    const auto f = zelt::folderyInstytucji(reg, c.n, "D");
    EXPECT_EQ(f.KatDan, c.dan) << c.name;
    EXPECT_EQ(f.KatPod, c.pod) << c.name;
    EXPECT_EQ(f.KatEks, c.eks) << c.name;
  }
}

TEST(Institutions, ListCountsEveryInstitutionAndClamps) {
  platform::RegistryStore reg;
  EXPECT_FALSE(zelt::czytajInstytucje(reg).kluczProgramu);
  EXPECT_EQ(zelt::czytajInstytucje(reg).IloscIO, 1);
  reg.writeInteger(HKCU, kProg, "IloscIO", 3);
  reg.writeString(HKCU, kProg + "IO\\", "nazIO", "Bank A");  // written under this spelling, read as "NazIO"
  reg.writeString(HKCU, kProg + "IO03\\", "NazIO", "Bank C");
  const struct {
    int stored;
    int expected;
  } pre[] = {{-1, 0}, {0, 0}, {2, 2}, {5, 2}};
  for (auto p : pre) {
    reg.writeInteger(HKCU, kProg, "AktualIO", p.stored);
    const auto l = zelt::czytajInstytucje(reg);
    ASSERT_EQ(l.nazwy.size(), 3u);
    EXPECT_EQ(l.nazwy[0], "Bank A");
    EXPECT_EQ(l.nazwy[1], "IO02") << "an unnamed institution keeps its place in the list";
    EXPECT_EQ(l.nazwy[2], "Bank C");
    EXPECT_EQ(l.wybor, p.expected) << p.stored;
  }
  reg.writeInteger(HKCU, kProg, "IloscIO", 250);
  EXPECT_EQ(zelt::czytajInstytucje(reg).IloscIO, 99);
  reg.writeInteger(HKCU, kProg, "IloscIO", -4);
  EXPECT_EQ(zelt::czytajInstytucje(reg).IloscIO, 1);
}

TEST(Institutions, DocumentsFolderFromShellFoldersElseTheDesktop) {
  platform::RegistryStore reg;
  platform::RecordingShell shell("/home/u/Dokumenty");
  EXPECT_EQ(zelt::folderDokumentow(reg, shell), "/home/u/Dokumenty");
  reg.writeString(HKCU, kShell, "Personal", cp1250::fromUtf8("/mnt/Moje dokumenty ł"));
  EXPECT_EQ(zelt::folderDokumentow(reg, shell), QString::fromUtf8("/mnt/Moje dokumenty ł"));
}

// A first start as it runs: each window created, in the order of the start-up, followed by the
// splash lines of its creation. Each window that comes to exist joins this list at its place.
QStringList expectedStartRun() {
  // Read by both the card editor (working folder) and the settings (data folder); none is there.
  const QStringList sposobyDokumentyPodmioty = {
      QString::fromUtf8("ładowanie kodów sposobów wydania dyspozycji"),
      QString::fromUtf8("ładowanie kodów sposobów wydania dyspozycji - brak pliku"),
      QString::fromUtf8("ładowanie typów dokumentów"),
      QString::fromUtf8("ładowanie typów dokumentów - brak pliku"),
      QString::fromUtf8("ładowanie kodów podmiotów"),
      QString::fromUtf8("ładowanie kodów podmiotów - brak pliku"),
  };
  return QStringList{
      "TwizytForm",
      QString::fromUtf8("Rozpoczęto ładowanie danych"),
      "TglownyForm",
      "TedycjaForm",
      QString::fromUtf8("ładowanie kodów transakcji podejrzanych"),
      QString::fromUtf8("ładowanie kodów transakcji podejrzanych - brak pliku"),
  } + sposobyDokumentyPodmioty + QStringList{
      "TpodpowForm",
      QString::fromUtf8("ładowanie kategorii transakcji"),
      QString::fromUtf8("ładowanie kategorii transakcji - brak pliku"),
      QString::fromUtf8("ładowanie tytułów transakcji"),
      QString::fromUtf8("ładowanie tytułów transakcji - brak pliku"),
      "TKonfigForm",
  } + sposobyDokumentyPodmioty + QStringList{
      QString::fromUtf8("ładowanie rejestru transakcji"),
      QString::fromUtf8("ładowanie rejestru transakcji - brak danych"),
      "TWerForm",
      "TKodwalutyForm",
      QString::fromUtf8("ładowanie kodów walut"),
      QString::fromUtf8("ładowanie kodów walut - brak pliku"),
      "TKodykrajForm",
      QString::fromUtf8("ładowanie kodów krajów"),
      QString::fromUtf8("ładowanie kodów krajów - brak pliku"),
      "TPodmiotForm",
      "TFirmaForm",
      "TJednForm",
      "TWysylka",
      "TEdPodmiotForm",
      "TAddIOForm",
      QString::fromUtf8("Program gotów do pracy wszystkie składniki wprowadzone poprawnie"),
  };
}

// The splash lines alone (window names have no blank; every line has one).
QStringList expectedStartLines() {
  QStringList lines;
  for (const auto& s : expectedStartRun())
    if (s.contains(' ')) lines << s;
  return lines;
}

// The sign-in of an institution without stored passwords: the administrator chooses one.
void expectFirstSignIn(World& w) {
  w.dialogs.expectModal("wizytForm", [](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    EXPECT_GT(testing_world::renderWindow(s, "splash-signin"), 8);
    for (const char* entry : {"", "tajne", "tajne"}) {
      s.haslo->setText(entry);
      s.FormKeyDown(Qt::Key_Return);
    }
    return platform::mrNone;
  });
}

// The chooser of several institutions: item `index` taken with "&Wybierz".
void expectChoice(World& w, int index) {
  w.dialogs.expectModal("wizytForm", [index](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    s.WyborIO->setCurrentIndex(index);
    s.Wybierz->click();
    return platform::mrNone;
  });
}

TEST(StartUp, FirstStartCreatesTheDefaultFoldersAndSignsIn) {
  World w;
  expectFirstSignIn(w);
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_EQ(p.przebiegStartu, expectedStartRun());
  EXPECT_EQ(p.splashLines, expectedStartLines());
  EXPECT_EQ(p.IloscIO, 1);
  EXPECT_EQ(p.aktualneIO, "IO\\");
  EXPECT_EQ(p.KatDan, w.documents() + "/ZELT/Baza");
  EXPECT_EQ(p.KatPod, p.KatDan);
  EXPECT_EQ(p.KatEks, w.documents() + "/ZELT/Przekaz");
  EXPECT_TRUE(QDir(p.KatDan).exists());
  EXPECT_TRUE(QDir(p.KatEks).exists());
  const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                      QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
  for (const QString& made : {w.documents() + "/ZELT", p.KatDan, p.KatEks})
    EXPECT_EQ(QFileInfo(made).permissions() & others, 0) << made.toStdString() << ": for its user only";
  EXPECT_TRUE(p.glowny()->isVisible());
  EXPECT_EQ(p.glowny()->windowTitle(), "Informacja dla ZELT");
  EXPECT_TRUE(p.administrator) << "signed in as the administrator";
  ASSERT_NE(p.wer(), nullptr) << "the verification dialog is created at start-up";
  EXPECT_FALSE(p.wer()->isVisible());
  EXPECT_EQ(QApplication::applicationName(), "Rejestr Transakcji");
}

TEST(StartUp, AMissingFolderNamedByTheInstitutionIsReportedNotCreated) {
  World w;
  const QString gone = w.path("siec/Baza");
  w.reg().writeString(HKCU, kProg + "IO\\", "KatDan", cp1250::fromUnicode(gone));
  w.dialogs.expectMessage(platform::IdOk, "Brak katalogu " + gone);
  expectFirstSignIn(w);
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_EQ(p.KatDan, gone);
  EXPECT_FALSE(QDir(gone).exists());
  EXPECT_TRUE(QDir(p.KatEks).exists()) << "the default export folder is still made";
}

// A crash during an append leaves part of a record at the end of the register: the user is told
// after the splash has said its last line (which overwrites the load's line) and before signing in;
// the partial bytes stay for the next append to write over.
TEST(StartUp, APartialLastRecordIsToldBeforeTheSignIn) {
  World w;
  const QString baza = w.documents() + "/ZELT/Baza";
  QDir().mkpath(baza);
  {
    zelt::PlikRejestru f(baza + "/transak.dat");
    ASSERT_TRUE(f.otworzDoZapisu());
    f.dopisz(zelt::TRekordTransakcji{});
    f.dopisz(zelt::TRekordTransakcji{});
  }
  {
    QFile f(baza + "/transak.dat");
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(std::string(100, 'x').c_str(), 100);
  }
  w.dialogs.expectMessage(platform::IdOk,
                          QString::fromUtf8("Plik rejestru transak.dat kończy się niepełnym rekordem (100 bajtów) - pominięto go."));
  expectFirstSignIn(w);
  auto& p = w.program();
  QStringList linesWhenSignedIn;
  auto signIn = p.logowanie;
  p.logowanie = [&] {
    linesWhenSignedIn = p.splashLines;
    EXPECT_EQ(w.dialogs.messages().size(), 1) << "told before the sign-in";
    return signIn();
  };
  ASSERT_TRUE(p.start());
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(linesWhenSignedIn.last(), QString::fromUtf8("Program gotów do pracy wszystkie składniki wprowadzone poprawnie"));
  EXPECT_TRUE(linesWhenSignedIn.contains(
      QString::fromUtf8("ładowanie rejestru transakcji - załadowano 2 rekordów, niepełny ostatni rekord pominięto")));
  EXPECT_EQ(QFileInfo(baza + "/transak.dat").size(), 2 * 3512 + 100) << "nothing is cut from the file";
}

// The institution on the sign-in: the NIP and the REGON stand right beside their labels, the
// REGON after the NIP on the same line.
TEST(StartUp, TheSplashShowsTheNumbersBesideTheirLabels) {
  World w;
  w.reg().writeString(HKCU, kProg + "IO\\", "nazIO", "Bank Testowy");
  w.reg().writeString(HKCU, kProg + "IO\\", "NIPIO", "1234567890");
  w.reg().writeString(HKCU, kProg + "IO\\", "RegIO", "123456785");
  w.dialogs.expectModal("wizytForm", [](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    s.resize(std::max(s.width(), 700), s.height());  // a wide splash spreads nothing apart
    QApplication::processEvents();
    EXPECT_GT(testing_world::renderWindow(s, "splash-numery"), 8);
    auto gap = [](QLabel* label, QLabel* value) {
      const int textEnd = label->x() + label->fontMetrics().horizontalAdvance(label->text());
      return value->x() - textEnd;
    };
    EXPECT_EQ(s.NipUzyt->text(), "1234567890");
    EXPECT_EQ(s.RegUzyt->text(), "123456785");
    EXPECT_LE(gap(s.NipLab, s.NipUzyt), 12) << "NIP beside its label";
    EXPECT_LE(gap(s.RegLab, s.RegUzyt), 12) << "REGON beside its label";
    const int nipEnd = s.NipUzyt->x() + s.NipUzyt->fontMetrics().horizontalAdvance(s.NipUzyt->text());
    EXPECT_GT(s.RegLab->x(), nipEnd);
    EXPECT_LE(s.RegLab->x() - nipEnd, 40) << "the REGON follows the NIP";
    EXPECT_EQ(s.RegLab->y(), s.NipLab->y());
    f.reject();
    return platform::mrNone;
  });
  auto& p = w.program();
  EXPECT_FALSE(p.start());
}

TEST(StartUp, ACancelledSignInEndsWithoutShowingTheMainWindow) {
  World w;
  auto& p = w.program();
  p.logowanie = [] { return platform::mrCancel; };
  EXPECT_FALSE(p.start());
  EXPECT_FALSE(p.glowny()->isVisible());
}

TEST(StartUp, TheSignalOfASecondStartNeverShowsTheMainWindowBeforeTheSignIn) {
  World w;
  auto& p = w.program();
  p.logowanie = [&p] {
    p.przywolaj();
    EXPECT_FALSE(p.glowny()->isVisible()) << "the sign-in is not passed by";
    return platform::mrOk;
  };
  ASSERT_TRUE(p.start());
  p.glowny()->showMinimized();
  p.przywolaj();
  EXPECT_TRUE(p.glowny()->isVisible());
  EXPECT_FALSE(p.glowny()->isMinimized()) << "a minimised main window is restored";
}

struct ChooserWorld : World {
  ChooserWorld() {
    reg().writeInteger(HKCU, kProg, "IloscIO", 3);
    reg().writeInteger(HKCU, kProg, "AktualIO", 7);
    reg().writeString(HKCU, kProg + "IO\\", "NazIO", "Bank A");
    reg().writeString(HKCU, kProg + "IO\\", "KatDan", cp1250::fromUnicode(path("a")));
    reg().writeString(HKCU, kProg + "IO03\\", "NazIO", "Bank C");
    reg().writeString(HKCU, kProg + "IO03\\", "KatDan", cp1250::fromUnicode(path("c")));
    reg().writeString(HKCU, kProg + "Konfig\\", "katalog", cp1250::fromUnicode(path("stary")));
    QDir().mkpath(path("a"));
    QDir().mkpath(path("c"));
    QDir().mkpath(path("stary"));
  }
};

TEST(StartUp, TheChooserMapsEachItemToItsInstitution) {
  ChooserWorld w;
  w.dialogs.expectModal("wizytForm", [](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    EXPECT_TRUE(s.WyborIO->isVisible());
    EXPECT_EQ(s.WyborIO->count(), 3);
    EXPECT_EQ(s.WyborIO->currentIndex(), 2) << "the stored choice 7 is clamped to the list";
    s.WyborIO->setCurrentIndex(1);  // the unnamed institution 2
    s.Wybierz->click();
    return platform::mrNone;
  });
  expectFirstSignIn(w);
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_EQ(p.aktualneIO, "IO02\\");
  EXPECT_EQ(p.KatDan, w.documents() + "/ZELT/Baza") << "institution 2 has no folders: defaults";
  EXPECT_FALSE(p.wizyt()->WyborIO->isVisible());
}

TEST(StartUp, TheChooserGivesInstitutionOneItsOlderFolders) {
  ChooserWorld w;
  w.reg().deleteValue(HKCU, kProg + "IO\\", "KatDan");
  expectChoice(w, 0);
  expectFirstSignIn(w);
  auto& p = w.program();
  ASSERT_TRUE(p.start());
  EXPECT_EQ(p.aktualneIO, "IO\\");
  EXPECT_EQ(p.KatDan, w.path("stary"));
}

TEST(StartUp, ClosingTheChooserEndsTheProgramAndWritesNothing) {
  ChooserWorld w;
  const std::string before = World::readFile(w.registryFile());
  w.dialogs.expectModal("wizytForm", [](platform::ModalForm& f) {
    auto& s = static_cast<zelt::TwizytForm&>(f);
    s.WyborIO->setCurrentIndex(-1);
    EXPECT_FALSE(s.Wybierz->isEnabled()) << "nothing chosen, nothing to take";
    f.reject();
    return platform::mrNone;
  });
  auto& p = w.program();
  EXPECT_FALSE(p.start());
  EXPECT_EQ(World::readFile(w.registryFile()), before);
  EXPECT_FALSE(QDir(w.documents() + "/ZELT").exists()) << "no folder is made for a run that does not happen";
}

// With a documents folder whose name Windows-1250 cannot hold, the exit step stores the folders
// and the next start finds the register in them.
TEST(StartUp, FoldersOutsideWindows1250SurviveTwoRuns) {
  for (const char* docs : {"Документы", "Έγγραφα", "文档"}) {
    SCOPED_TRACE(docs);
    World w;
    const QString documents = w.path(QString::fromUtf8(docs));
    ASSERT_TRUE(QDir().mkpath(documents));
    w.shell = platform::RecordingShell(documents);
    QString baza;
    {
      expectFirstSignIn(w);
      auto& p = w.program();
      p.zakoncz = [] {};
      ASSERT_TRUE(p.start());
      baza = p.KatDan;
      ASSERT_EQ(baza, documents + "/ZELT/Baza");
      ASSERT_TRUE(QDir(baza).exists());
      zelt::PlikRejestru f(baza + "/transak.dat");
      ASSERT_TRUE(f.otworzDoZapisu());
      zelt::TRekordTransakcji r;
      r.nrEwT = "T1";
      f.dopisz(r);
      p.konfig()->zapIO->setChecked(true);
      p.glowny()->zapiszUstawienia();
    }
    w.reloadRegistry();
    EXPECT_EQ(w.reg().readText(HKCU, kProg + "IO\\", "KatDan"), baza);
    auto& p = w.program();
    p.logowanie = [] { return platform::mrOk; };
    ASSERT_TRUE(p.start());  // a "Brak katalogu" message would fail the test as unexpected
    EXPECT_EQ(p.KatDan, baza);
    EXPECT_EQ(p.KatEks, documents + "/ZELT/Przekaz");
    EXPECT_TRUE(p.splashLines.contains(QString::fromUtf8("ładowanie rejestru transakcji - załadowano 1 rekordów")))
        << p.splashLines.join('\n').toStdString();
  }
}

// The program's run as main() starts it, over the world's services; counts the message loops.
struct Uruchomienie {
  World& w;
  int loops = 0;
  platform::Printers* printers = nullptr;  // the world's, unless given
  int operator()() {
    return zelt::uruchom({w.dialogs, w.clock, w.shell, printers ? *printers : w.printers, w.registryFile()}, [this] {
      ++loops;
      return 0;
    });
  }
};

// A damaged store is refused before any window: one message captioned with the program's title,
// the program ends, and the file stays as it was for whoever can mend it.
TEST(Run, ADamagedStoreIsShownAndEndsTheProgramWithTheFileUntouched) {
  const std::string whole = "ZELT-REGISTRY 2\nK HKCU\\SOFTWARE\\Tarvo\\ZELT\\IO\nS nazIO Bank\nEND\n";
  std::string deep = "ZELT-REGISTRY 2\nK HKCU";
  for (int i = 0; i < 40; ++i) deep += "\\k";
  deep += "\nEND\n";
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"cut before its end line", whole.substr(0, whole.size() - 4)},
      {"cut inside a value", whole.substr(0, 50)},
      {"garbage", "garbage\n"},
      {"keys too deep", deep},
  };
  for (const auto& [name, bytes] : cases) {
    World w;
    World::writeFile(w.registryFile(), bytes);
    QApplication::setApplicationName("zelt");
    w.dialogs.expectMessage(platform::IdOk, "Uszkodzony plik rejestru " + w.registryFile());
    Uruchomienie run{w};
    EXPECT_EQ(run(), 1) << name;
    EXPECT_EQ(run.loops, 0) << name;
    ASSERT_EQ(w.dialogs.shown().size(), 1u) << name << ": no window, one message";
    EXPECT_EQ(w.dialogs.shown()[0].caption, "Rejestr Transakcji") << name;
    EXPECT_EQ(World::readFile(w.registryFile()), bytes) << name;
  }
}

TEST(Run, AWholeStoreStartsAndSignsIn) {
  World w;
  w.reg().writeString(HKCU, kProg + "IO\\", "nazIO", "Bank");
  expectFirstSignIn(w);
  Uruchomienie run{w};
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(run.loops, 1);
}

// The program's run sets up the keyboard as the tests' main does: Alt with a letter types nothing.
TEST(Run, TheRunInstallsTheAltLetterFilter) {
  delete platform::AltTextFilter::installed();
  ASSERT_EQ(platform::AltTextFilter::installed(), nullptr);
  World w;
  w.reg().writeString(HKCU, kProg + "IO\\", "nazIO", "Bank");
  expectFirstSignIn(w);
  Uruchomienie run{w};
  EXPECT_EQ(run(), 0);
  EXPECT_NE(platform::AltTextFilter::installed(), nullptr);
  platform::AltTextFilter::install();  // for the tests that follow, whatever happened above
}

// A lock that cannot be taken for another reason than a running program is shown with its
// reason, and the program ends with nothing read or written.
TEST(Run, AGuardThatCannotBeSetUpIsShownAndEndsTheProgram) {
  World w;
  const QString run = w.path("run");
  ASSERT_TRUE(QDir().mkpath(run));
  QFile::setPermissions(run, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  testing_world::ScopedEnv runtime("XDG_RUNTIME_DIR", run);
  const QString lock = platform::SingleInstance("Tarvo ZELT", w.registryFile(), run).lockPath();
  ASSERT_TRUE(lock.startsWith(run));
  ASSERT_TRUE(QDir().mkpath(lock + "/x"));  // a folder where the lock file belongs
  World::writeFile(w.registryFile(), "garbage\n");  // never read
  w.dialogs.expectMessage(platform::IdOk, lock);
  Uruchomienie r{w};
  EXPECT_EQ(r(), 1);
  EXPECT_EQ(r.loops, 0);
  ASSERT_EQ(w.dialogs.shown().size(), 1u) << "the store is not read: its damage is not reported";
  EXPECT_EQ(w.dialogs.shown()[0].caption, "Rejestr Transakcji");
}

// The names in a folder, hidden ones included.
QStringList wszystkie(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A start removes what writers killed at their work left in the store's folder, the print folder
// and the chosen institution's data, export and archive folders: their temporary files alone, not
// the register's journal, not the user's own files, not another institution's folders.
TEST(Run, TheStartRemovesWhatKilledWritersLeftInItsFolders) {
  World w;
  w.reg().writeInteger(HKCU, kProg, "IloscIO", 2);
  const char* const io[] = {"IO\\", "IO02\\"};
  for (int n = 0; n < 2; ++n) {
    const std::string klucz = kProg + io[n];
    const QString k = w.path(QString("io%1").arg(n + 1));
    w.reg().writeString(HKCU, klucz, "NazIO", "Bank " + std::to_string(n + 1));
    w.reg().writeText(HKCU, klucz, "KatDan", k + "/dane");
    w.reg().writeText(HKCU, klucz, "KatEks", k + "/przekaz");
    w.reg().writeText(HKCU, klucz, "archdir", k + "/archiwa");
  }
  const QString druga = w.path("io2"), pierwsza = w.path("io1");
  const QString wydruki = w.documents() + "/ZELT/Wydruki";
  struct Folder {
    QString sciezka;
    QString tymczasowy;
    bool sprzatany;
    bool dziennik = true;  // the chosen register's own journal is the register's to play back
  };
  const Folder foldery[] = {
      {w.root(), ".registry.txt.k9LmQ2", true},
      {wydruki, ".ZELT - Karta Transakcji 2026-12-10 12.00.00 000001.pdf.Ab12Cd", true},
      {druga + "/dane", ".transak.dat.Ab12Cd", true, false},
      {druga + "/przekaz", ".W01ABCDE.xml.x1Y2z3", true},
      {druga + "/archiwa", ".kopia.zip.QwErTy", true},
      {pierwsza + "/dane", ".transak.dat.Ab12Cd", false},
      {pierwsza + "/przekaz", ".W01ABCDE.xml.x1Y2z3", false},
      {pierwsza + "/archiwa", ".kopia.zip.QwErTy", false},
  };
  for (const auto& f : foldery) {
    ASSERT_TRUE(QDir().mkpath(f.sciezka));
    World::writeFile(f.sciezka + "/" + f.tymczasowy, "partial");
    World::writeFile(f.sciezka + "/notatki.txt", "the user's own");
    if (f.dziennik) World::writeFile(f.sciezka + "/transak.dat.dziennik", "journal");
  }
  w.reloadRegistry();
  expectChoice(w, 1);
  expectFirstSignIn(w);
  platform::SystemPrinters druk(w.shell, w.clock);
  ASSERT_EQ(druk.pdfFolder(), wydruki);
  Uruchomienie run{w, 0, &druk};
  EXPECT_EQ(run(), 0);
  for (const auto& f : foldery) {
    const QStringList names = wszystkie(f.sciezka);
    EXPECT_EQ(names.contains(f.tymczasowy), !f.sprzatany) << f.sciezka.toStdString();
    EXPECT_TRUE(names.contains("notatki.txt")) << f.sciezka.toStdString();
    EXPECT_EQ(names.contains("transak.dat.dziennik"), f.dziennik) << f.sciezka.toStdString();
  }
}

// A writer killed with the store's copy and a report half written leaves their temporary files;
// the next start removes them and finds the store as it was.
TEST(Run, TheTemporariesOfAKilledWriterAreGoneAfterTheNextStart) {
  World w;
  w.reg().writeString(HKCU, kProg + "IO\\", "nazIO", "Bank");
  const std::string sklep = World::readFile(w.registryFile());
  const QString przekaz = w.documents() + "/ZELT/Przekaz";
  ASSERT_TRUE(QDir().mkpath(przekaz));
  int rura[2];
  ASSERT_EQ(::pipe(rura), 0);
  const pid_t dziecko = ::fork();
  ASSERT_GE(dziecko, 0);
  if (dziecko == 0) {
    // The child: two whole-file writes under way, then it waits to be killed.
    ::close(rura[0]);
    try {
      platform::WholeFileWriter kopia(w.registryFile(), platform::WriteMode::Replace);
      kopia.write(sklep.substr(0, sklep.size() / 2));
      platform::WholeFileWriter raport(przekaz + "/W01.txt", platform::WriteMode::CreateOnly);
      raport.write("HE;partial");
      if (::write(rura[1], "1", 1) != 1) ::_exit(2);
      for (;;) ::pause();
    } catch (...) {
    }
    ::_exit(1);
  }
  ::close(rura[1]);
  char gotowe = 0;
  const bool czeka = ::read(rura[0], &gotowe, 1) == 1;
  ::close(rura[0]);
  ::kill(dziecko, SIGKILL);
  int stan = 0;
  ::waitpid(dziecko, &stan, 0);
  ASSERT_TRUE(czeka) << "the child's writes did not get under way";
  ASSERT_TRUE(WIFSIGNALED(stan));
  const auto pozostale = [&](const QString& folder, const QString& cel) {
    QStringList l;
    for (const QString& n : wszystkie(folder))
      if (n.startsWith("." + cel + ".")) l << n;
    return l;
  };
  ASSERT_EQ(pozostale(w.root(), "registry.txt").size(), 1) << "the kill left the store's copy";
  ASSERT_EQ(pozostale(przekaz, "W01.txt").size(), 1) << "and the report's";
  EXPECT_EQ(World::readFile(w.registryFile()), sklep);

  expectFirstSignIn(w);
  Uruchomienie run{w};
  EXPECT_EQ(run(), 0) << "the store read as it was";
  EXPECT_EQ(run.loops, 1);
  EXPECT_TRUE(pozostale(w.root(), "registry.txt").isEmpty()) << wszystkie(w.root()).join(", ").toStdString();
  EXPECT_TRUE(pozostale(przekaz, "W01.txt").isEmpty()) << wszystkie(przekaz).join(", ").toStdString();
  EXPECT_FALSE(QFile::exists(przekaz + "/W01.txt"));
}

}  // namespace
