#pragma once
// A window's position and size under "\SOFTWARE\Tarvo\ZELT\OKNA\<key>\" as "Left", "Top",
// "Height", "Width": the normal (not maximised) frame position and the client size, the same
// convention both ways, and kept on a visible screen when restored.
#include <QWidget>
#include <string_view>

namespace platform {

class RegistryStore;

// Each value that exists sets its property; nothing when the key is missing.
void restoreGeometry(const RegistryStore& reg, QWidget& window, std::string_view keyName);
// Writes the four values (throws IoError when the store cannot be written).
void saveGeometry(RegistryStore& reg, const QWidget& window, std::string_view keyName);
std::string geometryKey(std::string_view keyName);

}  // namespace platform
