#include "register/uruchom.h"

#include <QApplication>
#include <QDebug>
#include <QFileInfo>

#include "platform/altkeys.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/singleinstance.h"
#include "platform/wholefile.h"
#include "register/program.h"

namespace zelt {

int uruchom(const Srodowisko& s, const std::function<int()>& petla) {
  // Every message, also one before any window exists, is captioned with the program's title.
  QApplication::setApplicationName(QStringLiteral("Rejestr Transakcji"));
  // Alt with a letter is a command in every window, never typed text.
  platform::AltTextFilter::install();
  platform::SingleInstance guard(QStringLiteral("Tarvo ZELT"), s.rejestr);
  switch (guard.acquire()) {
    case platform::SingleInstance::Result::Running:
      // Another instance runs: it comes to the front; this one touches nothing and ends.
      guard.signalRunning();
      return 0;
    case platform::SingleInstance::Result::Failed:
      s.dialogs.messageBox(guard.failure(), QApplication::applicationName(), platform::MsgButtons::Ok,
                           platform::MsgIcon::Error);
      return 1;
    case platform::SingleInstance::Result::First:
      break;
  }
  // With the guard held no writer of this user's runs: a temporary file beside the store (a whole
  // copy of it, passwords included) or among the prints is what a killed run left.
  platform::removeWholeFileTemporaries(QFileInfo(s.rejestr).absolutePath());
  platform::removeWholeFileTemporaries(s.printers.pdfFolder());

  int rc = 0;
  const bool ok = platform::guarded(s.dialogs, [&] {
    platform::RegistryStore reg(s.rejestr);  // a damaged store is refused here, before any window
    Program program({reg, s.dialogs, s.clock, s.shell, s.printers});
    QObject zakres;  // the guard's signal reaches the program only while it exists
    QObject::connect(&guard, &platform::SingleInstance::activationRequested, &zakres, [&] {
      qInfo("zelt: activation requested");
      program.przywolaj();
    });
    qInfo("zelt: started");
    if (!program.start()) return;
    rc = petla();
  });
  return ok ? rc : 1;
}

}  // namespace zelt
