#include "platform/guard.h"

#include <QDebug>
#include <exception>

#include "platform/cp1250.h"
#include "platform/dialogs.h"

namespace platform {

void reportException(DialogDriver& dialogs, std::exception_ptr e) {
  QString text;
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& ex) {
    text = QString::fromUtf8(ex.what());
  } catch (...) {
    text = QStringLiteral("Nieznany błąd");
  }
  dialogs.messageBox(text, QApplication::applicationName(), MsgButtons::Ok, MsgIcon::Error);
}

bool guarded(DialogDriver& dialogs, const std::function<void()>& fn) {
  try {
    fn();
    return true;
  } catch (...) {
    reportException(dialogs, std::current_exception());
    return false;
  }
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    if (dialogs_) {
      try {
        reportException(*dialogs_, std::current_exception());
      } catch (...) {
        qWarning() << "error while reporting an error";
      }
    }
    return false;
  }
}

}  // namespace platform
