// Where the windows open under a real window manager: a window opened, closed and opened again
// stands where it stood, a window restored from "OKNA\" has its frame where the store says, and
// what the exit step stores brings the window back to the same place at the next start.
//
// The test runs itself a second time on its own virtual display (Xvfb) with openbox, the child
// working the program's real windows through Qt's X11 platform; the position of each window's
// frame is read from the X server (xwininfo), not from Qt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <memory>
#include <optional>

#include "platform/dialogs.h"
#include "platform/geometry.h"
#include "platform/registry.h"
#include "register/glownyform.h"
#include "register/program.h"
#include "register/wysylka.h"
#include "reports/generujpliki.h"
#include "settings/firmaform.h"
#include "settings/konfigform.h"
#include "settings/zapisustawien.h"
#include "support/processes.h"
#include "swiatrejestru.h"

namespace {

constexpr char kDziecko[] = "ZELT_OKNA_DZIECKO";
constexpr auto HKCU = platform::RegRoot::CurrentUser;

void czekaj(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
}

// The frame's top-left corner as the X server has it: the client's absolute place less its place
// inside the frame the window manager put around it. Empty while the window is not framed.
std::optional<QPoint> ramkaWgSerwera(QWidget& okno) {
  QProcess p;
  p.start("xwininfo", {"-id", QString::number(okno.winId())});
  if (!p.waitForFinished(5000)) return std::nullopt;
  const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
  auto wartosc = [&](const char* nazwa) {
    const auto m = QRegularExpression(QString::fromLatin1(nazwa) + ":\\s*(-?\\d+)").match(out);
    return m.hasMatch() ? std::optional<int>(m.captured(1).toInt()) : std::nullopt;
  };
  const auto ax = wartosc("Absolute upper-left X"), ay = wartosc("Absolute upper-left Y");
  const auto rx = wartosc("Relative upper-left X"), ry = wartosc("Relative upper-left Y");
  if (!ax || !ay || !rx || !ry || (*rx == 0 && *ry == 0)) return std::nullopt;
  return QPoint(*ax - *rx, *ay - *ry);
}

// Waits until the window stands framed on the screen and no longer moves; its frame's corner. A
// loaded machine may take seconds to frame a window: the wait ends as soon as it stands.
std::optional<QPoint> gdzieStoi(QWidget& okno) {
  QElapsedTimer t;
  t.start();
  std::optional<QPoint> poprzednie;
  while (t.elapsed() < 20000) {
    czekaj(40);
    if (!okno.isVisible() || !okno.windowHandle() || !okno.windowHandle()->isExposed()) continue;
    const auto teraz = ramkaWgSerwera(okno);
    if (teraz && poprzednie == teraz) return teraz;
    poprzednie = teraz;
  }
  return std::nullopt;
}

// The real dialogs of the program, each modal window answered once it stands on screen: its
// frame's place is noted under the window's name. A message box is a failure here.
class NaEkranie : public platform::QtDialogDriver {
 public:
  std::map<QString, std::vector<QPoint>> miejsca;
  std::function<void(platform::ModalForm&)> odpowiedz = [](platform::ModalForm& f) { f.reject(); };

  int showModal(platform::ModalForm& f) override {
    QTimer::singleShot(0, &f, [this, &f] {
      const auto gdzie = gdzieStoi(f);
      EXPECT_TRUE(gdzie) << f.objectName().toStdString() << " never stood framed on the screen";
      if (gdzie) miejsca[f.objectName()].push_back(*gdzie);
      odpowiedz(f);
    });
    return QtDialogDriver::showModal(f);
  }
  int messageBox(const QString& text, const QString&, platform::MsgButtons, platform::MsgIcon) override {
    ADD_FAILURE() << "message: " << text.toStdString();
    return platform::IdOk;
  }
};

struct Uruchomiony {
  NaEkranie dialogi;
  std::unique_ptr<zelt::Program> p;
  explicit Uruchomiony(swiat::SwiatRejestru& w) {
    p = std::make_unique<zelt::Program>(zelt::Services{w.reg(), dialogi, w.clock, w.shell, w.printers});
    p->logowanie = [] { return platform::mrOk; };
    p->zakoncz = [] {};
    EXPECT_TRUE(p->start());
    p->administrator = true;
  }
};

std::string napis(const std::vector<QPoint>& v) {
  std::string s;
  for (const QPoint& q : v) s += "(" + std::to_string(q.x()) + "," + std::to_string(q.y()) + ")";
  return s;
}
std::vector<QPoint> razy(int n, QPoint q) { return std::vector<QPoint>(std::size_t(n), q); }

// The child's work, on the display the parent set up.
void naWyswietlaczu() {
  swiat::SwiatRejestru w;
  // The institution window has a stored place; the settings window has none yet (a first start).
  const QPoint firma(200, 320);
  const std::string kFirma = platform::geometryKey("Firma");
  w.reg().writeInteger(HKCU, kFirma, "Left", firma.x());
  w.reg().writeInteger(HKCU, kFirma, "Top", firma.y());
  w.reg().writeInteger(HKCU, kFirma, "Width", 560);
  w.reg().writeInteger(HKCU, kFirma, "Height", 480);
  // One record sent before and one not: each send asks first, then reports.
  auto wyslany = swiat::rekord("1");
  wyslany.ilWyslan = 1;
  w.zapisz({wyslany, swiat::rekord("2")});

  // A window shown, hidden after some work (0-9 ms) and shown modal at once, as the dispatch
  // report shows its progress and then its question, stands framed at every showing: mapped
  // again while the window manager still held it, it was withdrawn and never showed.
  {
    NaEkranie d;
    QWidget glowne;
    glowne.resize(400, 300);
    glowne.show();
    ASSERT_TRUE(gdzieStoi(glowne));
    platform::ModalForm f(&glowne);
    f.setObjectName("Ponownie");
    f.resize(300, 200);
    for (int i = 0; i < 10; ++i) {
      f.show();
      f.repaint();
      QThread::msleep(static_cast<unsigned long>(i));
      f.hide();
      d.showModal(f);
    }
    EXPECT_EQ(d.miejsca["Ponownie"].size(), 10u) << "showings that stood framed";
  }

  QPoint konfig;
  {
    Uruchomiony u(w);
    for (int i = 0; i < 5; ++i) u.p->glowny()->JedMenClick();
    for (int i = 0; i < 5; ++i) u.p->glowny()->konMenClick();
    EXPECT_EQ(napis(u.dialogi.miejsca["FirmaForm"]), napis(razy(5, firma))) << "the institution window, opened 5 times";
    const auto& k = u.dialogi.miejsca["KonfigForm"];
    ASSERT_EQ(k.size(), 5u);
    konfig = k[0];
    EXPECT_EQ(napis(k), napis(razy(5, konfig))) << "the settings window, placed by the window manager, opened 5 times";

    // The dispatch report: its question, then its final report, twice.
    u.dialogi.odpowiedz = [](platform::ModalForm& f) {
      auto& o = static_cast<zelt::TWysylka&>(f);
      (o.pomin->isVisible() ? o.pomin : o.Wyslij)->click();
    };
    zelt::generujPliki(*u.p, {0, 1});
    zelt::generujPliki(*u.p, {0, 1});
    const auto& r = u.dialogi.miejsca["Wysylka"];
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(napis(r), napis(razy(4, r[0]))) << "the dispatch report between its question and its final report";

    zelt::zapiszWszystkieUstawienia(*u.p);
  }
  w.reloadRegistry();
  auto zapisane = [&](const char* okno) {
    const std::string key = platform::geometryKey(okno);
    return QPoint(w.reg().readInteger(HKCU, key, "Left").value_or(-1), w.reg().readInteger(HKCU, key, "Top").value_or(-1));
  };
  EXPECT_EQ(napis({zapisane("Firma")}), napis({firma})) << "stored back as it was read";
  EXPECT_EQ(napis({zapisane("Konfig")}), napis({konfig})) << "stored where it stood";

  // The next start opens both windows where they stood.
  Uruchomiony u(w);
  u.p->glowny()->JedMenClick();
  u.p->glowny()->konMenClick();
  EXPECT_EQ(napis(u.dialogi.miejsca["FirmaForm"]), napis({firma})) << "after a restart";
  EXPECT_EQ(napis(u.dialogi.miejsca["KonfigForm"]), napis({konfig})) << "after a restart";
}

TEST(WindowPlacement, OpenedAgainUnderAWindowManagerTheWindowStandsWhereItStood) {
  if (qEnvironmentVariableIsSet(kDziecko)) return naWyswietlaczu();

  for (const char* program : {"Xvfb", "openbox", "xwininfo"})
    ASSERT_FALSE(QStandardPaths::findExecutable(program).isEmpty())
        << program << " is missing: scripts/deps.sh installs xvfb, openbox and x11-utils";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  // A display of its own: Xvfb picks a free number and writes it once it takes connections.
  testing_world::OwnedProcess xvfb;
  QFile numer(dir.filePath("display"));
  ASSERT_TRUE(numer.open(QIODevice::ReadWrite));
  xvfb.p.setStandardOutputFile(QProcess::nullDevice());
  xvfb.p.start("sh", {"-c", "exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>\"$0\" 2>/dev/null",
                      numer.fileName()});
  ASSERT_TRUE(xvfb.p.waitForStarted()) << "Xvfb could not be started";
  QString display;
  testing_world::waitUntil([&] {
    display = QString::fromLatin1(numer.readAll()).trimmed();
    numer.seek(0);
    return !display.isEmpty() || xvfb.p.state() == QProcess::NotRunning;
  }, 10000);
  ASSERT_FALSE(display.isEmpty()) << "Xvfb started no display";
  display.prepend(':');

  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display);
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  env.insert("XDG_CACHE_HOME", dir.filePath("cache"));
  // openbox runs its start-up command once it manages the screen.
  testing_world::OwnedProcess openbox;
  const QString gotowy = dir.filePath("openbox-ready");
  openbox.p.setProcessEnvironment(env);
  openbox.p.setProcessChannelMode(QProcess::MergedChannels);
  openbox.p.start("openbox", {"--sm-disable", "--startup", "touch " + gotowy});
  ASSERT_TRUE(openbox.p.waitForStarted()) << "openbox could not be started";
  ASSERT_TRUE(testing_world::waitUntil([&] { return QFile::exists(gotowy) || openbox.p.state() == QProcess::NotRunning; }, 10000) &&
              QFile::exists(gotowy))
      << "openbox did not take the display " << display.toStdString() << ": " << openbox.p.readAll().toStdString();

  env.insert(kDziecko, "1");
  env.insert("QT_QPA_PLATFORM", "xcb");
  const auto dziecko = testing_world::runTestAsChild(
      "WindowPlacement.OpenedAgainUnderAWindowManagerTheWindowStandsWhereItStood", env, 120000);
  EXPECT_TRUE(dziecko.passed()) << "the windows' run on " << display.toStdString() << ":\n" << dziecko.output;
}

}  // namespace
