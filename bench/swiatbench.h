#pragma once
// What every benchmark of the program runs in: a temporary folder with a registry file, the
// scripted dialog driver (a dialog nobody expected stops the benchmark), a fixed clock, a
// recording shell whose documents folder is in the temporary folder, and printers. The data
// folder is where the program settles it on a first start.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <vector>

#include "pomiar.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "register/program.h"

namespace bench {

struct Uslugi {
  QTemporaryDir dir;
  platform::RegistryStore reg{dir.filePath("registry.txt")};
  platform::ScriptedDialogs dialogs;
  platform::FixedClock clock{QDateTime(QDate(2026, 12, 10), QTime(12, 0))};
  platform::RecordingShell shell{dir.filePath("Dokumenty")};
  platform::FixedPrinters printers;

  Uslugi() {
    dialogs.onFailure = [](const QString& why) { throw std::runtime_error(why.toStdString()); };
  }

  // The data folder, made; the working folder (where dictionaries are looked for) is the
  // temporary one, so that nothing of the caller's is read.
  QString baza() const {
    const QString b = dir.filePath("Dokumenty/ZELT/Baza");
    QDir().mkpath(b);
    QDir::setCurrent(dir.path());
    return b;
  }

  // The program started on these services and signed in, its main window up.
  std::unique_ptr<zelt::Program> uruchom(platform::Printers& drukarki) {
    auto p = std::make_unique<zelt::Program>(zelt::Services{reg, dialogs, clock, shell, drukarki});
    p->logowanie = [] { return platform::mrOk; };
    p->zakoncz = [] {};
    if (!p->start()) throw std::runtime_error("start-up failed");
    return p;
  }
  std::unique_ptr<zelt::Program> uruchom() { return uruchom(printers); }
};

// One plain sequential read of a whole file in blocks of 1 MiB, the yardstick of the passes over
// the register and the parties file: the number of bytes read.
inline qint64 czytajCaly(const QString& plik) { return czytajBlokami(plik, std::size_t(1) << 20); }

}  // namespace bench
