#pragma once
// Folders that hold the register's personal data or the store's passwords are readable by their
// user alone.
#include <QString>

namespace platform {

// Creates the folder and every missing folder above it with rights for its user only (0700,
// whatever the umask); folders that exist keep their rights. True when the folder exists
// afterwards; otherwise `why` (when given) receives the system's text.
bool makePrivatePath(const QString& path, QString* why = nullptr);

}  // namespace platform
