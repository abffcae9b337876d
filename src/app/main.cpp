// The program's entry: the single-instance guard first, then start-up and the message loop.
#include <QDebug>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/singleinstance.h"
#include "platform/snapshot.h"
#include "register/program.h"

int main(int argc, char** argv) {
  platform::GuardedApplication app(argc, argv);
  platform::QtDialogDriver dialogs;
  app.setDialogs(&dialogs);

  const QString store = platform::RegistryStore::defaultLocation();
  platform::SingleInstance guard(QStringLiteral("Tarvo ZELT"), store);
  if (!guard.acquire()) {
    // Another instance runs: it comes to the front; this one touches nothing and ends.
    guard.signalRunning();
    return 0;
  }

  int rc = 0;
  bool ok = platform::guarded(dialogs, [&] {
    platform::RegistryStore reg(store);
    platform::SystemClock clock;
    platform::DesktopShell shell;
    platform::SystemPrinters printers;
    zelt::Program program({reg, dialogs, clock, shell, printers});
    QObject::connect(&guard, &platform::SingleInstance::activationRequested, &app, [&] {
      qInfo("zelt: activation requested");
      program.przywolaj();
    });
    // scripts/run.sh on a virtual display asks for a picture of the first window.
    const QString picture = qEnvironmentVariable("ZELT_FIRST_WINDOW_PNG");
    if (!picture.isEmpty()) platform::saveFirstModalWindow(picture);
    qInfo("zelt: started");
    if (!program.start()) return;
    rc = app.exec();
  });
  return ok ? rc : 1;
}
