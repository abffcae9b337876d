#pragma once
// The one way a whole file is written (the settings store, the counter file, the report files):
// the bytes go straight to a temporary file's handle in the target's folder, are synced to the
// disk, and only then take the target's name. A crash, a full disk or a failed write leaves the
// old file (or none) in place, never a cut one. Every write, the sync, the close and the rename
// are checked; a failure removes the temporary file and throws IoError "Błąd zapisu pliku <path>:
// <the system's text>". The target's folder must exist.
#include <QString>
#include <string_view>

namespace platform {

enum class WriteMode {
  Replace,     // the target is replaced if it exists
  CreateOnly,  // the target must not exist: if it does, nothing is written and IoError is thrown
};

enum class FileAccess {
  Default,    // a new file's usual rights (the process's umask)
  OwnerOnly,  // readable and writable by its owner alone
};

void writeWholeFile(const QString& path, std::string_view bytes, WriteMode mode,
                    FileAccess access = FileAccess::Default);

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
