#pragma once
// Alt with a letter is a command, never typing. Under X11 Qt hands a key press that no shortcut
// took to the focused control with its text, Alt held or not, and an edit inserts it: Alt+N meant
// for a button of another page replaced a selected transaction number by "n". The application's
// one filter drops such a key press before an edit, a combo box or a memo sees it. It runs after
// the shortcuts had their turn (they are tried on the key's shortcut-override step), so every
// mnemonic and shortcut works as before.
//
// AltGr, which types the Polish letters, reaches Qt under X11 as a level-3 shift without Alt (the
// key Qt::Key_AltGr, then the letter with Qt::GroupSwitchModifier and its text, "ą" for AltGr+a
// under the "pl" layout), and Ctrl+Alt is AltGr elsewhere: neither is touched.
#include <QObject>

class QEvent;
class QKeyEvent;

namespace platform {

class AltTextFilter : public QObject {
  Q_OBJECT
 public:
  // The running application's filter, installed on the first call; later calls find it.
  static AltTextFilter& install();
  // The installed filter, or none.
  static AltTextFilter* installed();

  // A key press that would type text with Alt held and Ctrl not.
  static bool altText(const QKeyEvent& e);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  AltTextFilter();
};

}  // namespace platform
