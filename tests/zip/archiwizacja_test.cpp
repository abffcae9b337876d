// The archive command of the main window: its save dialog, the settings export "konfig" in the
// data folder, the archive of the data folder, and the program's state while the archive is made.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/cp1250.h"
#include "platform/library.h"
#include "register/glownyform.h"
#include "register/swiatrejestru.h"
#include "register/wizytform.h"
#include "settings/firmaform.h"
#include "settings/hasla.h"
#include "settings/kolumny.h"
#include "settings/kolumnygrid.h"
#include "settings/konfigform.h"
#include "zip/zippack.h"

namespace {

using platform::RegRoot;
using testing_world::World;

QStringList members(const QString& archive) {
  QProcess py;
  py.start("python3", {"-c", "import sys, zipfile\nfor n in zipfile.ZipFile(sys.argv[1]).namelist(): print(n)", archive});
  py.waitForFinished(60000);
  return QString::fromUtf8(py.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

std::string member(const QString& archive, const QString& name) {
  QProcess py;
  py.start("python3", {"-c", "import sys, zipfile\nsys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))",
                       archive, name});
  py.waitForFinished(60000);
  const QByteArray b = py.readAllStandardOutput();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

std::map<QString, std::string> snapshot(const QString& folder) {
  std::map<QString, std::string> out;
  for (const auto& e : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
    out[e.fileName()] = World::readFile(e.filePath());
  return out;
}

// A started program whose data folder holds a register and a counter file, with the zip library
// beside the program as it is installed.
struct Archiwum : swiat::SwiatRejestru {
  QTemporaryDir cel;
  Archiwum() {
    platform::Library::setProgramFolder(ZPACK_DIR);
    const std::string io = "\\SOFTWARE\\Tarvo\\ZELT\\IO\\";
    reg().writeString(RegRoot::CurrentUser, io, "nazIO", cp1250::fromUtf8("Kantor Łódź"));
    reg().writeString(RegRoot::CurrentUser, io, "archdir", "/srv/archiwa");
    zapisz({swiat::rekord("A"), swiat::rekord("B")});
    World::writeFile(baza() + "/np2026.dat", std::string(1488, '\0'));
  }
  ~Archiwum() { platform::Library::setProgramFolder({}); }
  zelt::TglownyForm& okno() { return *uruchomiony().glowny(); }
  QString archiwum() const { return cel.filePath("kopia.zip"); }
  QString konfig() const { return baza() + "/konfig"; }
};

TEST(ArchiveCommand, CancelInTheDialogTouchesNothing) {
  Archiwum w;
  auto& g = w.okno();
  EXPECT_TRUE(g.ArchMen->isEnabled());
  const auto data = snapshot(w.baza());
  const auto work = snapshot(w.workFolder());
  const std::string store = World::readFile(w.registryFile());
  w.dialogs.expectSaveFile(std::nullopt);
  g.ArchMen->trigger();
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_EQ(snapshot(w.baza()), data);
  EXPECT_EQ(snapshot(w.workFolder()), work);
  EXPECT_EQ(World::readFile(w.registryFile()), store);
  EXPECT_TRUE(QDir(w.cel.path()).isEmpty());

  const auto& shown = w.dialogs.shown().back();
  ASSERT_EQ(shown.kind, platform::ScriptedDialogs::Shown::Kind::SaveFile);
  EXPECT_EQ(shown.request.caption, "Katalog archiwizacji");
  EXPECT_EQ(shown.request.filter, "Archiwa zip (*.zip)");
  EXPECT_EQ(shown.request.defaultSuffix, "zip");
  EXPECT_EQ(shown.request.folder, "/srv/archiwa");
  EXPECT_FALSE(shown.request.confirmOverwrite);
  EXPECT_EQ(w.program().firma()->archdir, "/srv/archiwa");
}

TEST(ArchiveCommand, ExportsTheSettingsAndArchivesTheDataFolder) {
  Archiwum w;
  auto& g = w.okno();
  const auto work = snapshot(w.workFolder());
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(run);
    w.reg().writeInteger(RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\", "Przebieg", run);
    w.dialogs.expectSaveFile(w.archiwum());
    g.ArchMenClick();
    EXPECT_TRUE(w.dialogs.messages().isEmpty());
    // The program's whole key, as the store saves it, with this run's value.
    const std::string konfig = World::readFile(w.konfig());
    w.reg().saveKey(RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\", w.cel.filePath("wzor"));
    EXPECT_EQ(konfig, World::readFile(w.cel.filePath("wzor")));
    QFile::remove(w.cel.filePath("wzor"));
    EXPECT_NE(konfig.find("archdir /srv/archiwa"), std::string::npos) << konfig;
    EXPECT_NE(konfig.find("Przebieg " + std::to_string(run)), std::string::npos) << konfig;
    EXPECT_EQ(members(w.archiwum()), (QStringList{"konfig", "np2026.dat", "transak.dat"}));
    EXPECT_EQ(member(w.archiwum(), "konfig"), konfig);
    EXPECT_EQ(member(w.archiwum(), "transak.dat"), World::readFile(w.plik()));
    EXPECT_EQ(g.ZipPacker->AddedCount, 3);
  }
  // Scrambled passwords travel in "konfig": both files are their user's only.
  for (const QString& f : {w.konfig(), w.archiwum()}) {
    struct stat st;
    ASSERT_EQ(stat(f.toUtf8().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << f.toStdString();
  }
  EXPECT_EQ(snapshot(w.workFolder()), work);  // nothing goes through the working folder
  EXPECT_TRUE(g.ZipPacker->FSpecArgs.empty());
  // Kept to be looked at (unzip -l), as the pictures are.
  const QByteArray shots = qgetenv("ZELT_SHOT_DIR");
  if (!shots.isEmpty()) {
    QFile::remove(QString::fromLocal8Bit(shots) + "/archiwizacja.zip");
    QFile::copy(w.archiwum(), QString::fromLocal8Bit(shots) + "/archiwizacja.zip");
  }
}

TEST(ArchiveCommand, AFailedExportSaysBladKeepsTheOldOneAndStillArchives) {
  Archiwum w;
  auto& g = w.okno();
  World::writeFile(w.konfig(), "poprzedni eksport\n");
  w.reg().deleteKey(RegRoot::CurrentUser, "\\SOFTWARE\\Tarvo\\ZELT\\");
  w.dialogs.expectSaveFile(w.archiwum()).expectMessage(platform::IdOk, "Błąd");
  g.ArchMenClick();
  EXPECT_EQ(w.dialogs.messages(), QStringList{"Błąd"});
  EXPECT_EQ(World::readFile(w.konfig()), "poprzedni eksport\n");
  EXPECT_EQ(member(w.archiwum(), "konfig"), "poprzedni eksport\n");
}

TEST(ArchiveCommand, TheDataFolderAsWorkingFolderKeepsTheFreshExport) {
  Archiwum w;
  auto& g = w.okno();
  QDir::setCurrent(w.baza());
  w.dialogs.expectSaveFile(w.baza() + "/kopia.zip");  // and the archive inside the data folder
  g.ArchMenClick();
  EXPECT_TRUE(QFile::exists(w.konfig()));
  EXPECT_EQ(QDir(w.baza()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"konfig", "kopia.zip", "np2026.dat", "transak.dat"}));
  EXPECT_EQ(members(w.baza() + "/kopia.zip"), (QStringList{"konfig", "np2026.dat", "transak.dat"}));
  EXPECT_EQ(member(w.baza() + "/kopia.zip", "konfig"), World::readFile(w.konfig()));
}

TEST(ArchiveCommand, AFileThatIsNoArchiveIsRefusedUntouched) {
  Archiwum w;
  auto& g = w.okno();
  World::writeFile(w.archiwum(), "to nie jest archiwum\n");
  w.dialogs.expectSaveFile(w.archiwum()).expectMessage(platform::IdOk, "Missing String ID is: 11008");
  g.ArchMenClick();
  EXPECT_EQ(World::readFile(w.archiwum()), "to nie jest archiwum\n");
  EXPECT_FALSE(QFile::exists(w.konfig()));
  EXPECT_TRUE(w.dialogs.scriptDone());
}

// The settings export as a new installation takes it over: "konfig" from the archive becomes its
// store, and the data folder the export names holds the archive's files. The program starts there
// with the same institutions, units, passwords, settings and column layout, over the same register.
TEST(ArchiveCommand, ANewInstallationTakesOverTheSettingsExport) {
  const std::string prog = "\\SOFTWARE\\Tarvo\\ZELT\\";
  const std::string io = prog + "IO\\";
  Archiwum a;
  auto& reg = a.reg();
  reg.writeInteger(RegRoot::CurrentUser, prog, "IloscIO", 2);
  reg.writeString(RegRoot::CurrentUser, prog + "IO02\\", "nazIO", "Kantor Bis");
  reg.writeText(RegRoot::CurrentUser, io, "KatDan", a.baza());
  reg.writeString(RegRoot::CurrentUser, io, "numIO", "00000007");
  reg.writeString(RegRoot::CurrentUser, io, "ImOs1IO", "Jan");
  reg.writeString(RegRoot::CurrentUser, io, "NaOs1IO", "Kowalski");
  reg.writeString(RegRoot::CurrentUser, io, "StOs1IO", "Kierownik");
  reg.writeBinary(RegRoot::CurrentUser, io, "OpOs1IO", zelt::hasla::zakoduj(zelt::hasla::Rola::Osoba1, "p1"));
  reg.writeBinary(RegRoot::CurrentUser, io, "Opcje", zelt::hasla::zakoduj(zelt::hasla::Rola::Administrator, "adm"));
  reg.writeInteger(RegRoot::CurrentUser, io, "JedIO", 3);
  reg.writeString(RegRoot::CurrentUser, io + "JED00\\", "NumJe", "00000001");
  reg.writeString(RegRoot::CurrentUser, io + "JED00\\", "NazJe", cp1250::fromUtf8("Oddział Łask"));
  const std::string konf = prog + "Konfig\\";
  reg.writeString(RegRoot::CurrentUser, konf, "domMiejsce", cp1250::fromUtf8("Gdańsk"));
  reg.writeInteger(RegRoot::CurrentUser, konf, "NrEwRo", 1);
  zelt::DefinicjeKolumn uklad;
  uklad[uklad.numer("zNrPes")].pozWyg = 3;
  uklad[uklad.numer("Wprow")].pozWyg = 0;
  uklad[uklad.numer("tKw")].szerWyg = zelt::kodujSzerokosc(120, true);
  zelt::zapiszDefinicje(reg, uklad);
  reg.writeInteger(RegRoot::CurrentUser, prog + "OKNA\\Firma\\", "Left", 77);

  // The start offers the institutions, the first is chosen; then the sign-in takes the password.
  auto start = [](testing_world::World& w, zelt::Program& p, const char* haslo, QStringList* oferta) {
    p.zakoncz = [] {};
    w.dialogs.expectModal("wizytForm", [oferta](platform::ModalForm& f) {
      auto& s = static_cast<zelt::TwizytForm&>(f);
      if (oferta)
        for (int i = 0; i < s.WyborIO->count(); ++i) *oferta << s.WyborIO->itemText(i);
      s.WyborIO->setCurrentIndex(0);
      s.Wybierz->click();
      return platform::mrNone;
    });
    if (haslo)
      w.dialogs.expectModal("wizytForm", [haslo](platform::ModalForm& f) {
        auto& s = static_cast<zelt::TwizytForm&>(f);
        QTest::keyClicks(s.haslo, haslo);
        QTest::keyClick(s.haslo, Qt::Key_Return);
        return platform::mrNone;
      });
    else
      p.logowanie = [] { return platform::mrOk; };
    return p.start();
  };
  ASSERT_TRUE(start(a, a.program(), nullptr, nullptr));
  a.dialogs.expectSaveFile(a.archiwum());
  a.program().glowny()->ArchMenClick();
  ASSERT_TRUE(a.dialogs.messages().isEmpty());
  const auto stary = testing_world::snapshotKey(reg, prog);
  const auto definicje = a.program().definicjeKolumn;
  auto kolumny = [](const zelt::UkladListy& u) {
    QStringList out;
    for (const auto& k : u.kolumny()) out << QString("%1:%2:%3").arg(k.kod.c_str()).arg(k.szerokosc).arg(k.doPrawej);
    return out;
  };
  const QStringList kolumnyListy = kolumny(a.program().ukladListy);
  ASSERT_TRUE(kolumnyListy.contains("zNrPes:60:0") && !kolumnyListy.contains("Wprow:60:0"));
  a.resetProgram();

  // The new installation: its data folder (the one the export names) holds the archive's files.
  ASSERT_TRUE(QDir(a.baza()).removeRecursively());
  QProcess py;
  py.start("python3", {"-c", "import sys, zipfile\nzipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])", a.archiwum(),
                       a.baza()});
  ASSERT_TRUE(py.waitForFinished(60000));
  ASSERT_EQ(py.exitCode(), 0);
  testing_world::World b;
  World::writeFile(b.registryFile(), member(a.archiwum(), "konfig"));
  b.reloadRegistry();  // the export is a store the program reads
  EXPECT_EQ(testing_world::snapshotKey(b.reg(), prog), stary);

  struct Wejscie {
    const char* haslo;
    bool administrator;
    std::string zalogowany;
  } wejscia[] = {{"adm", true, ""}, {"p1", false, "Jan;Kowalski;Kierownik"}};
  for (const auto& w : wejscia) {
    SCOPED_TRACE(w.haslo);
    b.resetProgram();
    auto& p = b.program();
    QStringList oferta;
    ASSERT_TRUE(start(b, p, w.haslo, &oferta));
    EXPECT_EQ(oferta, (QStringList{QString::fromUtf8("Kantor Łódź"), "Kantor Bis"}));
    EXPECT_EQ(p.administrator, w.administrator);
    EXPECT_EQ(p.zalogowany, w.zalogowany);
    EXPECT_EQ(p.KatDan, a.baza());
    EXPECT_EQ(p.glowny()->lista->RowCount(), 2) << "the register of the archive";
    EXPECT_EQ(p.firma()->NazIO->text(), QString::fromUtf8("Kantor Łódź"));
    EXPECT_EQ(p.firma()->NumIO->text(), "00000007");
    EXPECT_EQ(p.firma()->HaOs1IO->text(), "p1");
    EXPECT_EQ(p.firma()->jednostkiIO.listaKarty(),
              (std::vector<std::pair<std::string, std::string>>{{"00000001", cp1250::fromUtf8("Oddział Łask")}}));
    EXPECT_EQ(p.firma()->archdir, "/srv/archiwa");
    EXPECT_EQ(p.konfig()->domMiejsce->text(), QString::fromUtf8("Gdańsk"));
    EXPECT_TRUE(p.konfig()->NrEwRo->isChecked());
    EXPECT_EQ(p.definicjeKolumn, definicje);
    EXPECT_EQ(kolumny(p.ukladListy), kolumnyListy);
    EXPECT_TRUE(b.dialogs.scriptDone());
  }
}

TEST(ArchiveCommand, WhileArchivingTheWindowStaysOpenAndTheCommandWaits) {
  Archiwum w;
  auto& g = w.okno();
  g.show();
  int starts = 0;
  g.ZipPacker->OnProgress = [&](int kind, const QString&, std::int64_t) {
    if (kind != 0 || starts++) return;
    EXPECT_TRUE(g.ZipPacker->Busy());
    EXPECT_FALSE(g.close());   // ignored: the archive would be left half made
    g.ArchMenClick();          // no second dialog, no second run
    g.ZipPacker->Add();
  };
  w.dialogs.expectSaveFile(w.archiwum());
  g.ArchMenClick();
  EXPECT_TRUE(g.isVisible());
  EXPECT_EQ(w.konce, 0);
  EXPECT_FALSE(w.program().zakonczony);
  EXPECT_EQ(g.ZipPacker->AddedCount, 3);
  EXPECT_EQ(members(w.archiwum()).size(), 3);
  EXPECT_TRUE(w.dialogs.scriptDone());
  EXPECT_FALSE(g.ZipPacker->Busy());
  EXPECT_TRUE(g.close());  // afterwards the window closes as ever
  EXPECT_EQ(w.konce, 1);
}

}  // namespace
