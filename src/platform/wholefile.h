#pragma once
// The one way a whole file is written (the settings store, the counter file, the report files):
// the bytes go straight to a temporary file's handle in the target's folder, are synced to the
// disk, and only then take the target's name. A crash, a full disk or a failed write leaves the
// old file (or none) in place, never a cut one. Every write, the sync, the close and the rename
// are checked; a failure removes the temporary file and throws IoError "Błąd zapisu pliku <path>:
// <the system's text>". The target's folder must exist. A new file is its user's alone from the
// moment it is made, whatever the process's umask.
#include <QByteArray>
#include <QString>
#include <functional>
#include <string_view>

namespace platform {

enum class WriteMode {
  Replace,     // the target is replaced if it exists
  CreateOnly,  // the target must not exist: if it does, nothing is written and IoError is thrown
};

enum class FileAccess {
  OwnerOnly,         // readable and writable by its owner alone (0600): every data file
  OwnerOnlyProgram,  // a program its owner alone may read, write and run (0700)
};

void writeWholeFile(const QString& path, std::string_view bytes, WriteMode mode,
                    FileAccess access = FileAccess::OwnerOnly);

// The streamed form, for files copied block by block: the same temporary file, checks and rename.
// Nothing takes the target's name before commit(); a writer dropped without commit() (an
// exception on the way) removes its temporary file and leaves the target as it was.
class WholeFileWriter {
 public:
  WholeFileWriter(const QString& path, WriteMode mode, FileAccess access = FileAccess::OwnerOnly);
  ~WholeFileWriter();
  WholeFileWriter(const WholeFileWriter&) = delete;
  WholeFileWriter& operator=(const WholeFileWriter&) = delete;

  void write(std::string_view bytes);
  // Syncs, closes and gives the file the target's name. `beforeRename` runs just before the
  // rename, when every byte is safely on the disk (the old target's removal to the trash).
  void commit(const std::function<void()>& beforeRename = {});

 private:
  QString path_;
  WriteMode mode_;
  int failAt_;
  QByteArray tmpName_;
  int fd_ = -1;
};

// The writer's temporary file of a target is named "." + the target's name + "." + six letters or
// digits. Only a process killed between its creation and its rename leaves one behind (a partial
// report, or a whole copy of the store with its passwords).
bool isWholeFileTemporary(const QString& fileName);
// Removes every regular file of this user's in `folder` (not below it) whose name has that form;
// nothing else is touched. For the start-up, while no writer of this user's runs: a missing or
// unreadable folder, or a file that will not go, is passed over in silence.
void removeWholeFileTemporaries(const QString& folder);

// Test seam: makes the next writes fail at one step, as a full disk or a lost folder would. The
// first `passing` files written while it is in force are written whole (the fault comes later in
// a run of files).
enum class WholeFileStep { None, Write, Flush, Rename };
class FailWholeFileStep {
 public:
  explicit FailWholeFileStep(WholeFileStep step, int passing = 0);
  ~FailWholeFileStep();
  FailWholeFileStep(const FailWholeFileStep&) = delete;
  FailWholeFileStep& operator=(const FailWholeFileStep&) = delete;

 private:
  WholeFileStep previous_;
  int previousPassing_;
};

}  // namespace platform
