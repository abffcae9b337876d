#pragma once
// The hourglass while a long operation runs; the cursor the user had comes back on every path.
#include <QCursor>
#include <QGuiApplication>

namespace platform {

class BusyCursor {
 public:
  BusyCursor() : on_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (on_) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~BusyCursor() {
    if (on_) QGuiApplication::restoreOverrideCursor();
  }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  bool on_;
};

}  // namespace platform
