#include "platform/folders.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstring>

namespace platform {

bool makePrivatePath(const QString& path, QString* why) {
  auto failed = [&](const QString& text) {
    if (why) *why = text;
    return false;
  };
  if (path.isEmpty()) return failed(QStringLiteral("pusta nazwa katalogu"));
  QStringList missing;
  for (QString p = QDir::cleanPath(QDir(path).absolutePath()); !QFileInfo::exists(p);) {
    missing.prepend(p);
    const QString up = QFileInfo(p).absolutePath();
    if (up == p) break;
    p = up;
  }
  for (const QString& p : missing) {
    const QByteArray name = QFile::encodeName(p);
    if (::mkdir(name.constData(), S_IRWXU) == 0) {
      // The umask may take the owner's own rights away; the folder it made is set exactly.
      if (::chmod(name.constData(), S_IRWXU) != 0) return failed(QString::fromLocal8Bit(std::strerror(errno)));
    } else if (errno != EEXIST) {
      return failed(QString::fromLocal8Bit(std::strerror(errno)));
    }
  }
  if (!QFileInfo(path).isDir()) return failed(QString::fromLocal8Bit(std::strerror(ENOTDIR)));
  return true;
}

}  // namespace platform
