#pragma once
// The program's run as main() starts it: the title, the single-instance guard, the registry
// store, start-up behind the splash and the message loop. It lives apart from main() so that a
// test can run it over its own services.
#include <QString>
#include <functional>

namespace platform {
class DialogDriver;
class Clock;
class Shell;
class Printers;
}  // namespace platform

namespace zelt {

struct Srodowisko {
  platform::DialogDriver& dialogs;
  platform::Clock& clock;
  platform::Shell& shell;
  platform::Printers& printers;
  QString rejestr;  // the registry store's file
};

// Returns the program's exit code; `petla` runs the message loop and returns its code. A second
// start signals the running program and ends; a store that cannot be read, or a guard that cannot
// be set up, is shown and ends the program with nothing written.
int uruchom(const Srodowisko& s, const std::function<int()>& petla);

}  // namespace zelt
