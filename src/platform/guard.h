#pragma once
// No exception crosses the event loop: every event handler runs inside one guard that shows the
// error's text in a message box, as the windows' run-time did, and the program goes on.
#include <QApplication>
#include <functional>

namespace platform {

class DialogDriver;

// Shows an exception's text through the dialog driver.
void reportException(DialogDriver& dialogs, std::exception_ptr e);
// Runs fn; an exception is shown and swallowed. Returns false when fn threw.
bool guarded(DialogDriver& dialogs, const std::function<void()>& fn);

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
  void setDialogs(DialogDriver* dialogs) { dialogs_ = dialogs; }

 private:
  DialogDriver* dialogs_ = nullptr;
};

}  // namespace platform
