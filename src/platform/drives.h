#pragma once
// The drives a path lies on: their kind, free space, volume label and formatting. Only splitting
// an archive over removable disks asks for more than the file system offers; here every drive is
// a fixed one (no drive letters, no removable-media prompts), a volume label cannot be written
// and no drive is formatted. The test double plays a removable drive with disks to insert.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace platform {

enum class DriveKind { Removable, Fixed, Network };

class Drives {
 public:
  virtual ~Drives() = default;
  virtual DriveKind kind(const QString& path) = 0;
  // The drive's name in a prompt ("A:", a mount point).
  virtual QString driveName(const QString& path) = 0;
  // Whether a readable disk is in the drive.
  virtual bool ready(const QString& path) = 0;
  // Bytes free for this user; -1 when unknown.
  virtual std::int64_t freeSpace(const QString& path) = 0;
  virtual std::optional<QString> volumeLabel(const QString& path) = 0;
  virtual bool setVolumeLabel(const QString& path, const QString& label) = 0;
  // Formats the disk, giving it the label; blocks until done. May run on a thread of its own.
  virtual bool format(const QString& path, const QString& label) = 0;
};

class SystemDrives : public Drives {
 public:
  DriveKind kind(const QString& path) override;
  QString driveName(const QString& path) override;
  bool ready(const QString& path) override;
  std::int64_t freeSpace(const QString& path) override;
  std::optional<QString> volumeLabel(const QString& path) override;
  bool setVolumeLabel(const QString& path, const QString& label) override;
  bool format(const QString& path, const QString& label) override;
};

// The test double: one removable drive at `mount`, a link to the folder of the disk inserted
// (none: the drive is empty); every other path is on a fixed drive with its real free space.
class ScriptedDrives : public Drives {
 public:
  struct Disk {
    QString label;
    std::int64_t capacity = 0;  // free space = capacity less the files on it
    QString folder;
  };
  ScriptedDrives(QString mount, QString storage, QString name = QStringLiteral("A:"));
  int addDisk(const QString& label, std::int64_t capacity);  // its index
  void insert(int disk);                                      // -1: the drive is emptied
  void insertNext() { insert(inserted_ + 1); }
  int inserted() const { return inserted_; }
  const std::vector<Disk>& disks() const { return disks_; }

  DriveKind kind(const QString& path) override;
  QString driveName(const QString& path) override;
  bool ready(const QString& path) override;
  std::int64_t freeSpace(const QString& path) override;
  std::optional<QString> volumeLabel(const QString& path) override;
  bool setVolumeLabel(const QString& path, const QString& label) override;
  bool format(const QString& path, const QString& label) override;

  bool labelsFail = false;
  bool formatResult = true;
  int formats = 0;
  std::function<void()> whileFormatting;  // runs inside format() (on its thread)

 private:
  bool onDrive(const QString& path) const;
  QString mount_, storage_, name_;
  std::vector<Disk> disks_;
  int inserted_ = -1;
};

}  // namespace platform
