#include "platform/geometry.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/registry.h"

namespace platform {

std::string geometryKey(std::string_view keyName) {
  return regPath(regPath(RegistryStore::kProgramKey, "OKNA"), keyName);
}

void restoreGeometry(const RegistryStore& reg, QWidget& window, std::string_view keyName) {
  const std::string key = geometryKey(keyName);
  if (!reg.keyExists(RegRoot::CurrentUser, key)) return;
  QRect g = window.isVisible() ? window.normalGeometry() : window.geometry();
  QPoint pos = window.pos();
  QSize size = g.size();
  if (auto v = reg.readInteger(RegRoot::CurrentUser, key, "Left")) pos.setX(*v);
  if (auto v = reg.readInteger(RegRoot::CurrentUser, key, "Top")) pos.setY(*v);
  if (auto v = reg.readInteger(RegRoot::CurrentUser, key, "Width")) size.setWidth(*v);
  if (auto v = reg.readInteger(RegRoot::CurrentUser, key, "Height")) size.setHeight(*v);
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
