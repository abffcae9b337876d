#include "platform/wmrelease.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <xcb/xcb.h>

namespace platform {

namespace {

template <class T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t existingAtom(xcb_connection_t* c, const char* name) {
  Reply<xcb_intern_atom_reply_t> r(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
      &std::free);
  return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Held while WM_STATE says NormalState (1) or IconicState (3), and while the window still stands
// in the manager's frame: the manager takes the state away first and gives the window back to
// the root after it, and a map in between is lost.
bool held(xcb_connection_t* c, xcb_window_t w, xcb_atom_t wmState) {
  Reply<xcb_get_property_reply_t> p(
      xcb_get_property_reply(c, xcb_get_property(c, 0, w, wmState, wmState, 0, 1), nullptr), &std::free);
  if (p && p->format == 32 && xcb_get_property_value_length(p.get()) >= 4) {
    std::uint32_t state = 0;
    std::memcpy(&state, xcb_get_property_value(p.get()), sizeof state);
    if (state != 0) return true;
  }
  Reply<xcb_query_tree_reply_t> t(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr), &std::free);
  return t && t->parent != t->root;
}

}  // namespace

void waitForWindowManagerRelease(QWidget& w, int timeoutMs) {
  // winId() would create a native window for one that has none: asked only of a created one.
  if (w.isVisible() || !w.isWindow() || !w.testAttribute(Qt::WA_WState_Created)) return;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return;
  xcb_connection_t* c = x11->connection();
  // No manager has ever set the property on this display: none holds the window.
  const xcb_atom_t wmState = existingAtom(c, "WM_STATE");
  if (wmState == XCB_ATOM_NONE) return;
  const auto id = static_cast<xcb_window_t>(w.winId());
  QElapsedTimer t;
  t.start();
  while (held(c, id, wmState) && t.elapsed() < timeoutMs) QThread::msleep(1);
}

}  // namespace platform
