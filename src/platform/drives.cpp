#include "platform/drives.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

namespace platform {

namespace {

// The nearest folder of the path that exists: a target file does not exist yet.
QString existingFolder(const QString& path) {
  QFileInfo fi(path);
  QString dir = fi.isDir() ? fi.absoluteFilePath() : fi.absolutePath();
  while (!QFileInfo::exists(dir) && dir != QDir::rootPath()) dir = QFileInfo(dir).absolutePath();
  return dir;
}

}  // namespace

DriveKind SystemDrives::kind(const QString&) { return DriveKind::Fixed; }

QString SystemDrives::driveName(const QString& path) { return QStorageInfo(existingFolder(path)).rootPath(); }

bool SystemDrives::ready(const QString& path) {
  const QStorageInfo s(existingFolder(path));
  return s.isValid() && s.isReady();
}

std::int64_t SystemDrives::freeSpace(const QString& path) {
  const QStorageInfo s(existingFolder(path));
  return s.isValid() && s.isReady() ? s.bytesAvailable() : -1;
}

std::optional<QString> SystemDrives::volumeLabel(const QString& path) {
  const QStorageInfo s(existingFolder(path));
  if (!s.isValid()) return std::nullopt;
  return s.name();
}

// Writing a label needs the file system's own tools and rights; formatting has no dialog here.
bool SystemDrives::setVolumeLabel(const QString&, const QString&) { return false; }
bool SystemDrives::format(const QString&, const QString&) { return false; }

ScriptedDrives::ScriptedDrives(QString mount, QString storage, QString name)
    : mount_(QDir::cleanPath(std::move(mount))), storage_(std::move(storage)), name_(std::move(name)) {
  QDir().mkpath(storage_);
  insert(-1);
}

int ScriptedDrives::addDisk(const QString& label, std::int64_t capacity) {
  const int index = static_cast<int>(disks_.size());
  Disk d{label, capacity, QDir(storage_).filePath(QStringLiteral("disk%1").arg(index + 1))};
  QDir().mkpath(d.folder);
  disks_.push_back(d);
  return index;
}

void ScriptedDrives::insert(int disk) {
  QFile::remove(mount_);
  inserted_ = disk >= 0 && disk < static_cast<int>(disks_.size()) ? disk : -1;
  // An empty drive: a link to nothing, so that reading it fails as on a drive without a disk.
  QFile::link(inserted_ >= 0 ? disks_[inserted_].folder : QDir(storage_).filePath(QStringLiteral("none")), mount_);
}

bool ScriptedDrives::onDrive(const QString& path) const {
  const QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  return p == mount_ || p.startsWith(mount_ + QLatin1Char('/'));
}

DriveKind ScriptedDrives::kind(const QString& path) { return onDrive(path) ? DriveKind::Removable : DriveKind::Fixed; }

QString ScriptedDrives::driveName(const QString& path) {
  return onDrive(path) ? name_ : SystemDrives().driveName(path);
}

bool ScriptedDrives::ready(const QString& path) { return onDrive(path) ? inserted_ >= 0 : SystemDrives().ready(path); }

std::int64_t ScriptedDrives::freeSpace(const QString& path) {
  if (!onDrive(path)) return SystemDrives().freeSpace(path);
  if (inserted_ < 0) return -1;
  std::int64_t used = 0;
  QDirIterator it(disks_[inserted_].folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) used += QFileInfo(it.next()).size();
  return disks_[inserted_].capacity - used;
}

std::optional<QString> ScriptedDrives::volumeLabel(const QString& path) {
  if (!onDrive(path)) return SystemDrives().volumeLabel(path);
  if (inserted_ < 0) return std::nullopt;
  return disks_[inserted_].label;
}

bool ScriptedDrives::setVolumeLabel(const QString& path, const QString& label) {
  if (!onDrive(path) || inserted_ < 0 || labelsFail) return false;
  disks_[inserted_].label = label;
  return true;
}

bool ScriptedDrives::format(const QString& path, const QString& label) {
  ++formats;
  if (whileFormatting) whileFormatting();
  if (!onDrive(path) || inserted_ < 0 || !formatResult) return false;
  QDir(disks_[inserted_].folder).removeRecursively();
  QDir().mkpath(disks_[inserted_].folder);
  disks_[inserted_].label = label;
  return true;
}

}  // namespace platform
