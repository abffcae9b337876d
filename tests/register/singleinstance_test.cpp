// Two real processes of the program: the second one signals the first and ends, touching nothing.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/stat.h>

#include "platform/singleinstance.h"
#include "support/filesizelimit.h"
#include "support/world.h"

namespace {

struct Home {
  QTemporaryDir dir;
  QProcessEnvironment env(const QString& registry) const {
    auto e = QProcessEnvironment::systemEnvironment();
    e.insert("QT_QPA_PLATFORM", "offscreen");
    e.insert("HOME", dir.path());
    e.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
    e.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    e.insert("XDG_DOCUMENTS_DIR", dir.filePath("Dokumenty"));
    e.insert("ZELT_REGISTRY", registry);
    return e;
  }
  Home() {
    QDir().mkpath(dir.filePath("run"));
    QFile::setPermissions(dir.filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
};

bool waitFor(QProcess& p, const QByteArray& text, QByteArray& seen, int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    p.waitForReadyRead(100);
    seen += p.readAllStandardError();
    if (seen.contains(text)) return true;
  }
  return false;
}

std::string snapshot(const QString& root) {
  std::string out;
  QDir d(root);
  for (const auto& fi : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
    if (fi.fileName() == "run") continue;  // the lock and the socket of the running instance
    out += fi.filePath().toStdString() + " " + std::to_string(fi.size()) + " " +
           std::to_string(fi.lastModified().toMSecsSinceEpoch()) + "\n";
    if (fi.isDir()) out += snapshot(fi.filePath());
  }
  return out;
}

TEST(SingleInstance, ASecondStartSignalsTheFirstAndEndsTouchingNothing) {
  Home home;
  const QString registry = home.dir.filePath("config/registry.txt");
  QProcess first;
  first.setProcessEnvironment(home.env(registry));
  first.start(ZELT_EXE, {});
  ASSERT_TRUE(first.waitForStarted());
  QByteArray err1;
  ASSERT_TRUE(waitFor(first, "zelt: started", err1, 20000)) << err1.toStdString();
  // Let the first instance reach its message loop.
  QThread::msleep(500);
  const std::string before = snapshot(home.dir.path());

  QProcess second;
  second.setProcessEnvironment(home.env(registry));
  second.start(ZELT_EXE, {});
  ASSERT_TRUE(second.waitForFinished(10000)) << "the second instance must end by itself";
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_FALSE(second.readAllStandardError().contains("zelt: started")) << "it never starts up";
  EXPECT_TRUE(waitFor(first, "zelt: activation requested", err1, 10000)) << err1.toStdString();
  EXPECT_EQ(snapshot(home.dir.path()), before) << "the second instance wrote nothing";

  // Another registry store is another installation: its program runs beside the first.
  QProcess other;
  other.setProcessEnvironment(home.env(home.dir.filePath("config/other.txt")));
  other.start(ZELT_EXE, {});
  QByteArray err3;
  EXPECT_TRUE(waitFor(other, "zelt: started", err3, 20000)) << err3.toStdString();
  other.kill();
  other.waitForFinished();
  first.kill();
  first.waitForFinished();

  // The killed instance left its lock behind; a lock whose owner is gone does not block.
  QProcess again;
  again.setProcessEnvironment(home.env(registry));
  again.start(ZELT_EXE, {});
  QByteArray err4;
  EXPECT_TRUE(waitFor(again, "zelt: started", err4, 20000)) << err4.toStdString();
  again.kill();
  again.waitForFinished();
}

// On a display nobody sees, the program writes a picture of the first window it waits on (the
// sign-in) and goes on waiting.
TEST(FirstWindowPicture, WrittenOnceTheSignInWaits) {
  Home home;
  const QString png = home.dir.filePath("first-window.png");
  QProcess zelt;
  auto env = home.env(home.dir.filePath("config/registry.txt"));
  env.insert("ZELT_FIRST_WINDOW_PNG", png);
  zelt.setProcessEnvironment(env);
  const mode_t umask = ::umask(022);  // the program's, as a desktop session gives it
  zelt.start(ZELT_EXE, {});
  ::umask(umask);
  ASSERT_TRUE(zelt.waitForStarted());
  QElapsedTimer t;
  t.start();
  while (!QFile::exists(png) && t.elapsed() < 20000) zelt.waitForFinished(100);
  ASSERT_TRUE(QFile::exists(png)) << zelt.readAllStandardError().toStdString();
  EXPECT_EQ(zelt.state(), QProcess::Running) << "the program still waits for the sign-in";
  QImage img(png);
  ASSERT_FALSE(img.isNull());
  EXPECT_GT(img.width(), 300);
  EXPECT_GT(img.height(), 200);
  int dark = 0;  // the splash's texts
  for (int y = 0; y < img.height(); y += 2)
    for (int x = 0; x < img.width(); x += 2) dark += img.pixelColor(x, y).value() < 80;
  EXPECT_GT(dark, 200);
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(png).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u) << "the picture shows the institution's data: for its user alone";
  EXPECT_TRUE(QDir(home.dir.path()).entryList({".first-window.png.*"}, QDir::Hidden | QDir::Files).isEmpty());
  zelt.kill();
  zelt.waitForFinished();
}

using platform::SingleInstance;
using testing_world::ScopedEnv;

constexpr auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr auto kOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                         QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

// The lock goes into the runtime folder only when it is the user's own and closed to others;
// otherwise into a private folder of the user's, never into a shared one where another user
// could plant a lock with the predictable name and stop every start.
TEST(SingleInstanceGuard, TheLockLivesInAFolderOfTheUsersOwn) {
  QTemporaryDir dir;
  ScopedEnv cache("XDG_CACHE_HOME", dir.filePath("cache"));
  const QString fallback = dir.filePath("cache/tarvo-zelt");
  ASSERT_EQ(SingleInstance::privateFolder(), fallback);
  const QString own = dir.filePath("own"), shared = dir.filePath("shared"), link = dir.filePath("link");
  QDir().mkpath(own);
  QFile::setPermissions(own, kOwnerOnly);
  QDir().mkpath(shared);
  QFile::setPermissions(shared, kOwnerOnly | QFileDevice::WriteOther | QFileDevice::ReadOther | QFileDevice::ExeOther);
  QFile::link(own, link);
  const struct {
    const char* name;
    QString runtime, folder;
  } cases[] = {
      {"no runtime folder", "", fallback},
      {"a runtime folder others may write", shared, fallback},
      {"a link", link, fallback},
      {"a missing runtime folder", dir.filePath("none"), fallback},
      {"the user's own runtime folder", own, own},
  };
  for (const auto& c : cases) {
    SingleInstance g("Tarvo ZELT", dir.filePath("registry.txt"), c.runtime);
    EXPECT_EQ(QFileInfo(g.lockPath()).absolutePath(), c.folder) << c.name;
    const mode_t umask = ::umask(022);
    const auto result = g.acquire();
    ::umask(umask);
    ASSERT_EQ(result, SingleInstance::Result::First) << c.name << ": " << g.failure().toStdString();
    EXPECT_TRUE(QFileInfo::exists(g.lockPath())) << c.name;
    EXPECT_EQ(QFileInfo(g.lockPath()).permissions() & (kOthers | QFileDevice::ExeOwner), 0) << c.name;
    EXPECT_EQ(QFileInfo(c.folder).permissions() & kOthers, 0) << c.name;
  }
  // A fallback folder that the user made with wider rights is narrowed.
  QFile::setPermissions(fallback, kOwnerOnly | QFileDevice::ReadOther | QFileDevice::ExeOther);
  SingleInstance g("Tarvo ZELT", dir.filePath("other.txt"), "");
  EXPECT_EQ(g.acquire(), SingleInstance::Result::First) << g.failure().toStdString();
  EXPECT_EQ(QFileInfo(fallback).permissions() & kOthers, 0);
}

// A session without XDG_RUNTIME_DIR: the program and the tests' main take the guard's private
// folder as their runtime folder before Qt looks for one, so Qt prints no warning and makes no
// folder under /tmp.
TEST(SingleInstance, NoRuntimeFolderGivenMeansThePrivateFolderSilently) {
  Home home;
  auto env = home.env(home.dir.filePath("config/registry.txt"));
  env.remove("XDG_RUNTIME_DIR");
  env.insert("XDG_CACHE_HOME", home.dir.filePath("cache"));
  const QString prywatny = home.dir.filePath("cache/tarvo-zelt");

  QProcess zelt;
  zelt.setProcessEnvironment(env);
  zelt.start(ZELT_EXE, {});
  QByteArray err;
  EXPECT_TRUE(waitFor(zelt, "zelt: started", err, 20000)) << err.toStdString();
  QThread::msleep(300);  // the sign-in is up
  err += zelt.readAllStandardError();
  zelt.kill();
  zelt.waitForFinished();
  EXPECT_FALSE(err.contains("XDG_RUNTIME_DIR")) << err.toStdString();
  EXPECT_FALSE(err.contains("runtime directory")) << err.toStdString();
  const QStringList w = QDir(prywatny).entryList({"*.lock"}, QDir::Files | QDir::Hidden);
  EXPECT_EQ(w.size(), 1) << "the guard's lock is there";
  EXPECT_EQ(QFileInfo(prywatny).permissions() & kOthers, 0);

  QProcess testy;  // this very test program, listing its tests
  testy.setProcessEnvironment(env);
  testy.start(QCoreApplication::applicationFilePath(), {"--gtest_list_tests"});
  ASSERT_TRUE(testy.waitForFinished(20000));
  const QByteArray e = testy.readAllStandardError();
  EXPECT_FALSE(e.contains("XDG_RUNTIME_DIR")) << e.toStdString();
}

TEST(SingleInstanceGuard, OnlyALiveProgramsLockMeansRunning) {
  QTemporaryDir dir;
  const QString run = dir.filePath("run");
  QDir().mkpath(run);
  QFile::setPermissions(run, kOwnerOnly);
  const QString scope = dir.filePath("registry.txt");
  {
    SingleInstance first("Tarvo ZELT", scope, run), second("Tarvo ZELT", scope, run);
    ASSERT_EQ(first.acquire(), SingleInstance::Result::First);
    EXPECT_EQ(second.acquire(), SingleInstance::Result::Running);
    EXPECT_TRUE(second.failure().isEmpty());
  }
  // Whatever else stops the lock is named, and is no running program.
  struct Case {
    const char* name;
    std::function<void(const QString& lock)> spoil;
    const char* reason;
  };
  const Case cases[] = {
      {"a folder at the lock's place", [](const QString& lock) { QDir().mkpath(lock + "/x"); }, "blokady"},
      {"a full disk", nullptr, "blokady"},
  };
  for (const auto& c : cases) {
    QTemporaryDir d;
    QFile::setPermissions(d.path(), kOwnerOnly);
    SingleInstance g("Tarvo ZELT", scope, d.path());
    SingleInstance::Result r;
    if (c.spoil) {
      c.spoil(g.lockPath());
      r = g.acquire();
    } else {
      testing_world::FileSizeLimit full(0);
      r = g.acquire();
    }
    EXPECT_EQ(r, SingleInstance::Result::Failed) << c.name;
    EXPECT_TRUE(g.failure().contains(g.lockPath())) << c.name << ": " << g.failure().toStdString();
  }
  // The private folder cannot be made: the system's reason is named.
  ScopedEnv cache("XDG_CACHE_HOME", dir.filePath("plik"));
  {
    QFile f(dir.filePath("plik"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  SingleInstance g("Tarvo ZELT", scope, "");
  EXPECT_EQ(g.acquire(), SingleInstance::Result::Failed);
  EXPECT_TRUE(g.failure().contains(QString::fromLocal8Bit(std::strerror(ENOTDIR)))) << g.failure().toStdString();
}

}  // namespace
