// The one test main: headless unless told otherwise, with a QApplication for the widgets.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/altkeys.h"
#include "platform/startup.h"

#if defined(__SANITIZE_ADDRESS__)
// Under the sanitizers: what D-Bus (under the X platform) keeps until the exit is no leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  platform::prepareProcess();
  QApplication app(argc, argv);
  // As the program's run installs it: the tests drive the windows with the same keys.
  platform::AltTextFilter::install();
  // As the program does; a test of Qt's own dialogs fails when the translation is missing.
  QString why;
  if (!platform::installQtPolish(&why)) qWarning("%s", qUtf8Printable(why));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
