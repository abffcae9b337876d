#pragma once
// Under X a hidden top-level window may be shown again only once the window manager has let it
// go (ICCCM: its WM_STATE withdrawn or removed). Mapped again before that, the manager may
// withdraw it after the new map: the window never shows, while its modal loop waits for it.
#include <QWidget>

namespace platform {

// Returns once the hidden window `w` is no longer held by a window manager, or after
// `timeoutMs`; at once for a visible window, one never shown, or a display that is not X.
void waitForWindowManagerRelease(QWidget& w, int timeoutMs = 1000);

}  // namespace platform
