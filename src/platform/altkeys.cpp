#include "platform/altkeys.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace platform {

namespace {

const char* const kName = "platform::AltTextFilter";

// The controls that take typed text: a combo box (an editable one's line edit, a list's search
// by the first letter), a date's spin box, an edit or a memo.
bool takesText(const QObject* o) {
  return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QComboBox*>(o) ||
         qobject_cast<const QAbstractSpinBox*>(o) || qobject_cast<const QPlainTextEdit*>(o) ||
         qobject_cast<const QTextEdit*>(o);
}

}  // namespace

AltTextFilter::AltTextFilter() { setObjectName(kName); }

AltTextFilter* AltTextFilter::installed() {
  QCoreApplication* app = QCoreApplication::instance();
  return app ? app->findChild<AltTextFilter*>(kName, Qt::FindDirectChildrenOnly) : nullptr;
}

AltTextFilter& AltTextFilter::install() {
  if (AltTextFilter* f = installed()) return *f;
  QCoreApplication* app = QCoreApplication::instance();
  Q_ASSERT(app);
  auto* f = new AltTextFilter;
  f->setParent(app);  // ends with the application
  app->installEventFilter(f);
  return *f;
}

bool AltTextFilter::altText(const QKeyEvent& e) {
  const Qt::KeyboardModifiers m = e.modifiers();
  if (!(m & Qt::AltModifier) || (m & Qt::ControlModifier)) return false;
  const QString t = e.text();
  return !t.isEmpty() && t.at(0).isPrint();
}

bool AltTextFilter::eventFilter(QObject* watched, QEvent* event) {
  return event->type() == QEvent::KeyPress && takesText(watched) && altText(*static_cast<QKeyEvent*>(event));
}

}  // namespace platform
