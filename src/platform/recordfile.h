#pragma once
// A file of fixed-size records without a header: record n lies at n x size. Opened for one
// operation and closed when the object goes. Only an absent file is ever created.
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Test seam: every change this layer makes on the disk is shown to it first, with the file, the
// place and the length. It may stop the program there as a kill or a power cut would (throw
// DiskStopped, which no writer catches), or return how many bytes of a write reach the file
// before it stops (a write torn part-way); returning the length lets the call go through.
enum class DiskOp { Write, Truncate, Sync, SyncFolder, Remove };
struct DiskCall {
  DiskOp op;
  QString path;
  qint64 at = 0;
  qint64 length = 0;
};
struct DiskStopped {};
class DiskSeam {
 public:
  explicit DiskSeam(std::function<qint64(const DiskCall&)> fn);
  ~DiskSeam();
  DiskSeam(const DiskSeam&) = delete;
  DiskSeam& operator=(const DiskSeam&) = delete;

 private:
  std::function<qint64(const DiskCall&)> previous_;
};

// For tests: called before each read of a record file, on the reading thread, with the file's
// path, place and length; it may change the file as another process would. Set while no read runs.
class ReadSeam {
 public:
  explicit ReadSeam(std::function<void(const QString&, qint64, qint64)> fn);
  ~ReadSeam();
  ReadSeam(const ReadSeam&) = delete;
  ReadSeam& operator=(const ReadSeam&) = delete;

 private:
  std::function<void(const QString&, qint64, qint64)> previous_;
};

// Syncs the folder that holds `path`, so that a file made or removed there stays so after a power
// cut. Throws IoError when the system reports an input or output error.
void syncFolderOf(const QString& path);
// A small file written in place (created for its user alone, or cut to nothing first) and synced
// with its folder: for a file whose reader judges by its own contents whether it is whole.
void writeSyncedFile(const QString& path, std::string_view bytes);
// Removes a file and syncs its folder; an absent file is no error.
void removeSyncedFile(const QString& path);

class RecordFile {
 public:
  enum class Mode { Read, ReadWrite, ReadWriteCreate };

  RecordFile(QString path, std::size_t recordSize);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // No entry at all at the path (its folder may be missing too). A file that is there but cannot
  // be read, a link to nothing, or a "folder" on the way that is a file, is not absent.
  static bool absent(const QString& path);

  // False when the file cannot be opened (missing, locked, no rights); error() then says why.
  // ReadWriteCreate creates the file only when it does not exist.
  bool open(Mode mode);
  bool isOpen() const { return file_.isOpen(); }
  QString error() const { return file_.errorString(); }
  const QString& path() const { return path_; }
  std::size_t recordSize() const { return size_; }

  // Whole records in the file; a partial record at the end is not counted.
  qint64 count() const;
  bool hasPartialTail() const { return partialTailBytes() != 0; }
  // Bytes at the end that make no whole record.
  qint64 partialTailBytes() const;
  // Bytes in the file.
  qint64 bytes() const { return file_.size(); }
  // Cuts the file back to `bytes` (the undo of appends); throws IoError on failure.
  void truncate(qint64 bytes);

  // Read and write throw IoError with the system's text on failure. A read goes straight to its
  // place in the file (no size check or seek first, the send reads a thousand records at random);
  // a record beyond the end, or cut short by it, throws "... brak rekordu n".
  void read(qint64 n, char* record);
  std::string read(qint64 n);
  // Records first .. first + n - 1 in one read, for a pass over the whole file.
  void read(qint64 first, qint64 n, char* records);
  void write(qint64 n, const char* record);
  // Bytes offset .. offset + length - 1 of record n, which must exist: the rest of its bytes stay
  // as stored (a counter raised in place).
  void write(qint64 n, std::size_t offset, const char* bytes, std::size_t length);
  // The same bytes at the same offset of each of `records` (a mark set on many). The file's size
  // is asked once: when any of them is not a whole record of the file, nothing is written.
  void writeEach(const std::vector<qint64>& records, std::size_t offset, const char* bytes, std::size_t length);
  // Records first .. first + n - 1 in one write; first is at most count().
  void writeRecords(qint64 first, qint64 n, const char* records);
  // Appends at count() x size, so a partial tail is overwritten, never shifted onto.
  qint64 append(const char* record);
  // The bytes of a partial record at the end, and the undo of appends after them: back to a
  // former length with that partial record as it was.
  std::string partialTail();
  void restore(qint64 bytes, const std::string& tail);
  void flush();
  // Flushes and syncs the file to the disk, and its folder the first time after open() created it.
  void sync();
  void close();

  // What tells the open file from another or from itself changed: device, inode, size and the
  // time of its last change. None when the file is not open.
  struct Identity {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0, mtimeSec = 0, mtimeNsec = 0;
    bool operator==(const Identity&) const = default;
  };
  std::optional<Identity> identity() const;

 private:
  [[noreturn]] void fail(const char* what);
  [[noreturn]] void fail(const char* what, int err);
  [[noreturn]] void missing(const char* what, qint64 n);
  // The whole of `length` bytes at `at`; false at the end of the file before all were read.
  bool readAt(qint64 at, char* out, qint64 length);
  void writeAt(qint64 at, const char* bytes, qint64 length);
  QString path_;
  std::size_t size_;
  QFile file_;
  bool created_ = false;  // open() made the file: its folder is synced at the first sync()
};

}  // namespace platform
