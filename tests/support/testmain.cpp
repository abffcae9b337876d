// The one test main: headless unless told otherwise, with a QApplication for the widgets.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/altkeys.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // As the program's run installs it: the tests drive the windows with the same keys.
  platform::AltTextFilter::install();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
