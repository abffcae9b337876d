#pragma once
// Keys as Qt delivers them under X11 with the Polish layout ("pl"), seen under a virtual display
// driven by xdotool: Alt+N is a press of Qt::Key_Alt with Qt::AltModifier and no text, then
// Qt::Key_N with Qt::AltModifier and the text "n". AltGr is the level-3 shift: a press of
// Qt::Key_AltGr with Qt::GroupSwitchModifier and no text, then AltGr+a as the key 0x104 (the
// letter's upper case) with Qt::GroupSwitchModifier and the text "ą" ("Ą" with Shift as well).
// Each key goes through the shortcut-override step first, as from the window system.
#include <QString>
#include <QTest>
#include <QWidget>

namespace x11keys {

// One key pressed and released while `mods` are held, the modifier key pressed first.
inline void withModifier(QWidget* w, Qt::Key modifierKey, Qt::KeyboardModifiers mods, Qt::Key key,
                         const QString& text) {
  QTest::sendKeyEvent(QTest::Press, w, modifierKey, QString(), mods & ~Qt::ShiftModifier);
  QTest::sendKeyEvent(QTest::Press, w, key, text, mods);
  QTest::sendKeyEvent(QTest::Release, w, key, text, mods);
  QTest::sendKeyEvent(QTest::Release, w, modifierKey, QString(), Qt::NoModifier);
}

// Alt (with Shift when `shift`) and a letter key; `text` is what X11 gives with it.
inline void alt(QWidget* w, Qt::Key key, const QString& text, bool shift = false) {
  withModifier(w, Qt::Key_Alt, Qt::AltModifier | (shift ? Qt::ShiftModifier : Qt::NoModifier), key, text);
}

// AltGr and the key of a Polish letter: "ą" (Shift: "Ą") is the key 0x104.
inline void altGr(QWidget* w, const QString& letter) {
  const Qt::Key key = Qt::Key(letter.toUpper().at(0).unicode());
  const bool shift = letter.at(0).isUpper();
  withModifier(w, Qt::Key_AltGr, Qt::GroupSwitchModifier | (shift ? Qt::ShiftModifier : Qt::NoModifier), key, letter);
}

}  // namespace x11keys
