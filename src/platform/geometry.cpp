#include "platform/geometry.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <algorithm>
#include <optional>

#include "platform/registry.h"

namespace platform {

std::string geometryKey(std::string_view keyName) {
  return regPath(regPath(RegistryStore::kProgramKey, "OKNA"), keyName);
}

void restoreGeometry(const RegistryStore& reg, QWidget& window, std::string_view keyName) {
  const std::string key = geometryKey(keyName);
  if (!reg.keyExists(RegRoot::CurrentUser, key)) return;
  // The layout's own minimum is settled now, not when the window is first shown: a window that
  // grows at its showing is placed by its client area there, and its frame would land a title
  // bar above the stored place.
  window.ensurePolished();
  if (QLayout* layout = window.layout()) layout->activate();
  QRect g = window.isVisible() ? window.normalGeometry() : window.geometry();
  QPoint pos = window.pos();
  QSize size = g.size();
  // Stored values are clamped to what a window can have before any arithmetic on them: a value
  // near the integer limits would overflow below.
  auto read = [&](const char* name, int low) -> std::optional<int> {
    auto v = reg.readInteger(RegRoot::CurrentUser, key, name);
    if (!v) return std::nullopt;
    return std::clamp<int>(*v, low, QWIDGETSIZE_MAX);
  };
  if (auto v = read("Left", -QWIDGETSIZE_MAX)) pos.setX(*v);
  if (auto v = read("Top", -QWIDGETSIZE_MAX)) pos.setY(*v);
  if (auto v = read("Width", 0)) size.setWidth(*v);
  if (auto v = read("Height", 0)) size.setHeight(*v);
  size = size.expandedTo(window.minimumSize()).boundedTo(window.maximumSize());
  // Keep the title bar on a screen that exists now: a monitor unplugged since must not hide it.
  const QScreen* screen = QGuiApplication::screenAt(pos + QPoint(20, 10));
  if (!screen) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
      const QRect avail = primary->availableGeometry();
      pos.setX(std::clamp(pos.x(), avail.left(), std::max(avail.left(), avail.right() - size.width())));
      pos.setY(std::clamp(pos.y(), avail.top(), std::max(avail.top(), avail.bottom() - size.height())));
    }
  }
  window.resize(size);
  window.move(pos);
}

void saveGeometry(RegistryStore& reg, const QWidget& window, std::string_view keyName) {
  const std::string key = geometryKey(keyName);
  // normalGeometry() is empty for a window never shown; then the frame position and size serve.
  QRect normal = window.normalGeometry();
  QPoint pos = window.pos();
  QSize size = window.size();
  // A window never shown in this run is written back as it was created or restored. One that was
  // neither shown nor moved has no place of its own yet: the platform centres it when it is first
  // shown, so that centre is its place (its unplaced 0, 0 would pin it to the screen's corner).
  const bool shown = window.isVisible() || window.testAttribute(Qt::WA_WState_Created);
  if (!shown && !window.testAttribute(Qt::WA_Moved))
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      pos = screen->availableGeometry().center() - QRect(QPoint(0, 0), size).center();
  if (window.isVisible() && (window.isMaximized() || window.isMinimized()) && normal.isValid()) {
    size = normal.size();
    pos = normal.topLeft() - (window.geometry().topLeft() - window.pos());
  }
  RegistryBatch batch(reg);
  reg.writeInteger(RegRoot::CurrentUser, key, "Left", pos.x());
  reg.writeInteger(RegRoot::CurrentUser, key, "Top", pos.y());
  reg.writeInteger(RegRoot::CurrentUser, key, "Height", size.height());
  reg.writeInteger(RegRoot::CurrentUser, key, "Width", size.width());
  batch.commit();
}

}  // namespace platform
