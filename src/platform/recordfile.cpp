#include "platform/recordfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QFileInfo>
#include <algorithm>

#include "platform/errors.h"

namespace platform {

namespace {

std::function<qint64(const DiskCall&)> g_seam;
std::function<void(const QString&, qint64, qint64)> g_readSeam;

// The length of the change that may reach the disk; the seam may stop the program before it.
qint64 seam(DiskOp op, const QString& path, qint64 at = 0, qint64 length = 0) {
  return g_seam ? g_seam(DiskCall{op, path, at, length}) : length;
}

[[noreturn]] void failPath(const char* what, const QString& path, int err) {
  throw IoError(std::string(what) + " " + path.toStdString() + ": " + QString::fromLocal8Bit(std::strerror(err)).toStdString());
}

void writeAll(int fd, const QString& path, const char* bytes, qint64 length, qint64 at) {
  // The file's place is given: a write the system takes only in part is tried on for the rest.
  const qint64 allowed = seam(DiskOp::Write, path, at, length);
  const qint64 n = std::min(allowed, length);
  for (qint64 done = 0; done < n;) {
    const ssize_t w = ::pwrite(fd, bytes + done, static_cast<std::size_t>(n - done), static_cast<off_t>(at + done));
    if (w < 0 && errno == EINTR) continue;
    if (w < 0) failPath("Błąd zapisu pliku", path, errno);
    if (w == 0) failPath("Błąd zapisu pliku", path, EIO);
    done += w;
  }
  if (n < length) throw DiskStopped{};
}

}  // namespace

DiskSeam::DiskSeam(std::function<qint64(const DiskCall&)> fn) : previous_(std::move(g_seam)) { g_seam = std::move(fn); }
DiskSeam::~DiskSeam() { g_seam = std::move(previous_); }

ReadSeam::ReadSeam(std::function<void(const QString&, qint64, qint64)> fn) : previous_(std::move(g_readSeam)) {
  g_readSeam = std::move(fn);
}
ReadSeam::~ReadSeam() { g_readSeam = std::move(previous_); }

void syncFolderOf(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  seam(DiskOp::SyncFolder, folder);
  const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) failPath("Błąd zapisu pliku", path, errno);
  // A file system that cannot sync a folder (EINVAL) keeps its names by its own rules.
  const int r = ::fsync(dir);
  const int err = errno;
  ::close(dir);
  if (r != 0 && err != EINVAL) failPath("Błąd zapisu pliku", path, err);
}

void writeSyncedFile(const QString& path, std::string_view bytes) {
  const QByteArray name = QFile::encodeName(path);
  const bool existed = !RecordFile::absent(path);
  const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) failPath("Błąd zapisu pliku", path, errno);
  try {
    // Its user's alone whatever the umask, before a byte of it is written.
    if (!existed && ::fchmod(fd, 0600) != 0) failPath("Błąd zapisu pliku", path, errno);
    writeAll(fd, path, bytes.data(), static_cast<qint64>(bytes.size()), 0);
    seam(DiskOp::Sync, path);
    if (::fsync(fd) != 0) failPath("Błąd zapisu pliku", path, errno);
  } catch (...) {
    ::close(fd);
    throw;
  }
  if (::close(fd) != 0) failPath("Błąd zapisu pliku", path, errno);
  if (!existed) syncFolderOf(path);
}

void removeSyncedFile(const QString& path) {
  seam(DiskOp::Remove, path);
  if (::unlink(QFile::encodeName(path).constData()) != 0) {
    if (errno == ENOENT) return;
    failPath("Błąd usunięcia pliku", path, errno);
  }
  syncFolderOf(path);
}

RecordFile::RecordFile(QString path, std::size_t recordSize) : path_(std::move(path)), size_(recordSize), file_(path_) {}

RecordFile::~RecordFile() { close(); }

bool RecordFile::absent(const QString& path) {
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT;
}

bool RecordFile::open(Mode mode) {
  created_ = mode == Mode::ReadWriteCreate && absent(path_);
  switch (mode) {
    // Unbuffered throughout: records are read and written on the handle, at their places.
    case Mode::Read: return file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    case Mode::ReadWrite:
      // A missing file (or a link to nothing) fails here with the system's reason.
      return file_.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered);
    case Mode::ReadWriteCreate: {
      // Never truncates; creates only what is absent, for its user alone whatever the umask (the
      // register holds personal identity numbers). Made by another in between: opened as it is.
      constexpr auto kRw = QIODevice::ReadWrite | QIODevice::Unbuffered;
      if (file_.open(kRw | QIODevice::ExistingOnly)) return true;
      if (!absent(path_)) return false;
      if (file_.open(kRw | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        // Made no wider than 0600 by the umask; set exactly, as the handle is still empty.
        ::fchmod(file_.handle(), S_IRUSR | S_IWUSR);
        return true;
      }
      return !absent(path_) && file_.open(kRw | QIODevice::ExistingOnly);
    }
  }
  return false;
}

qint64 RecordFile::count() const { return file_.size() / static_cast<qint64>(size_); }

qint64 RecordFile::partialTailBytes() const { return file_.size() % static_cast<qint64>(size_); }

void RecordFile::fail(const char* what) {
  throw IoError(std::string(what) + " " + path_.toStdString() + ": " + file_.errorString().toStdString());
}

void RecordFile::fail(const char* what, int err) {
  throw IoError(std::string(what) + " " + path_.toStdString() + ": " +
                QString::fromLocal8Bit(std::strerror(err)).toStdString());
}

void RecordFile::missing(const char* what, qint64 n) {
  throw IoError(std::string(what) + " " + path_.toStdString() + ": brak rekordu " + std::to_string(n));
}

// Positioned reads and writes on the handle itself: one system call each, no seek, and nothing
// of the file object's own position or buffer comes into play.
bool RecordFile::readAt(qint64 at, char* out, qint64 length) {
  if (g_readSeam) g_readSeam(path_, at, length);
  const int fd = file_.handle();
  for (qint64 done = 0; done < length;) {
    const ssize_t r = ::pread(fd, out + done, static_cast<std::size_t>(length - done), static_cast<off_t>(at + done));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) fail("Błąd odczytu pliku", errno);
    if (r == 0) return false;
    done += r;
  }
  return true;
}

void RecordFile::writeAt(qint64 at, const char* bytes, qint64 length) {
  // Straight to the file: a full disk fails this write, not the close that reports nothing. A
  // write the system takes only in part is tried on for the rest, so that the failure comes with
  // the system's reason (a short write alone carries none).
  writeAll(file_.handle(), path_, bytes, length, at);
}

void RecordFile::read(qint64 n, char* record) {
  const qint64 sz = static_cast<qint64>(size_);
  if (n < 0 || !readAt(n * sz, record, sz)) missing("Błąd odczytu pliku", n);
}

void RecordFile::read(qint64 first, qint64 n, char* records) {
  const qint64 sz = static_cast<qint64>(size_);
  if (first < 0 || n < 0 || !readAt(first * sz, records, n * sz)) missing("Błąd odczytu pliku", first + n - 1);
}

std::string RecordFile::read(qint64 n) {
  std::string r(size_, '\0');
  read(n, r.data());
  return r;
}

void RecordFile::write(qint64 n, const char* record) {
  const qint64 sz = static_cast<qint64>(size_);
  // No gap is ever written: the record exists or is the next one.
  if (n < 0 || n > count()) missing("Błąd zapisu pliku", n);
  writeAt(n * sz, record, sz);
}

void RecordFile::write(qint64 n, std::size_t offset, const char* bytes, std::size_t length) {
  writeEach({n}, offset, bytes, length);
}

void RecordFile::writeEach(const std::vector<qint64>& records, std::size_t offset, const char* bytes,
                           std::size_t length) {
  const qint64 ile = count();
  for (qint64 n : records)
    if (n < 0 || n >= ile || offset > size_ || length > size_ - offset) missing("Błąd zapisu pliku", n);
  for (qint64 n : records)
    writeAt(n * static_cast<qint64>(size_) + static_cast<qint64>(offset), bytes, static_cast<qint64>(length));
}

void RecordFile::writeRecords(qint64 first, qint64 n, const char* records) {
  if (first < 0 || n < 0 || first > count()) missing("Błąd zapisu pliku", first);
  const qint64 sz = static_cast<qint64>(size_);
  writeAt(first * sz, records, n * sz);
}

std::string RecordFile::partialTail() {
  std::string tail(static_cast<std::size_t>(partialTailBytes()), '\0');
  const qint64 n = static_cast<qint64>(tail.size());
  if (n > 0 && !readAt(bytes() - n, tail.data(), n)) missing("Błąd odczytu pliku", count());
  return tail;
}

void RecordFile::restore(qint64 length, const std::string& tail) {
  truncate(length);
  const qint64 n = static_cast<qint64>(tail.size());
  if (n > 0) writeAt(length - n, tail.data(), n);
}

qint64 RecordFile::append(const char* record) {
  qint64 n = count();
  write(n, record);
  return n;
}

void RecordFile::truncate(qint64 bytes) {
  seam(DiskOp::Truncate, path_, bytes);
  if (!file_.resize(bytes)) fail("Błąd zapisu pliku");
}

void RecordFile::flush() {
  if (file_.isOpen() && !file_.flush()) fail("Błąd zapisu pliku");
}

void RecordFile::sync() {
  flush();
  seam(DiskOp::Sync, path_);
  if (::fsync(file_.handle()) != 0) fail("Błąd zapisu pliku", errno);
  if (created_) {
    syncFolderOf(path_);
    created_ = false;
  }
}

std::optional<RecordFile::Identity> RecordFile::identity() const {
  struct stat st;
  if (!file_.isOpen() || ::fstat(file_.handle(), &st) != 0) return std::nullopt;
  return Identity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                  static_cast<std::int64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
                  static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

void RecordFile::close() {
  if (!file_.isOpen()) return;
  file_.flush();
  file_.close();
}

}  // namespace platform
