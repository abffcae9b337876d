#pragma once
// On a display that nobody sees (scripts/run.sh on a virtual display) the program writes a picture
// of the first window it waits on: the sign-in, or a question asked before it.
#include <QString>

namespace platform {

// Once the first modal window is shown, writes it to `pngPath` (through a temporary file, so that
// a waiting script never reads half a picture). Needs a running QApplication.
void saveFirstModalWindow(const QString& pngPath);

}  // namespace platform
