// The program's entry: the platform's real services, then the run.
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/snapshot.h"
#include "platform/startup.h"
#include "register/uruchom.h"

int main(int argc, char** argv) {
  platform::prepareProcess();
  platform::GuardedApplication app(argc, argv);
  QString why;
  if (!platform::installQtPolish(&why)) qWarning("zelt: %s", qUtf8Printable(why));
  platform::QtDialogDriver dialogs;
  app.setDialogs(&dialogs);
  platform::SystemClock clock;
  platform::DesktopShell shell;
  platform::SystemPrinters printers(shell, clock);
  // scripts/run.sh on a virtual display asks for a picture of the first window (the sign-in, or a
  // message shown before it).
  const QString picture = qEnvironmentVariable("ZELT_FIRST_WINDOW_PNG");
  if (!picture.isEmpty()) platform::saveFirstModalWindow(picture);
  return zelt::uruchom({dialogs, clock, shell, printers, platform::RegistryStore::defaultLocation()},
                       [&] { return app.exec(); });
}
