// The archive command of the main window: its save dialog, the settings export "konfig" in the
// data folder, the archive of the data folder, and the program's state while the archive is made.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/cp1250.h"
#include "platform/library.h"
#include "register/glownyform.h"
#include "register/swiatrejestru.h"
#include "settings/firmaform.h"
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
