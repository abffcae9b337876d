#include "platform/recordfile.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/errors.h"

namespace platform {

RecordFile::RecordFile(QString path, std::size_t recordSize) : path_(std::move(path)), size_(recordSize), file_(path_) {}

RecordFile::~RecordFile() { close(); }

bool RecordFile::absent(const QString& path) {
  struct stat st;
  return ::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT;
}

bool RecordFile::open(Mode mode) {
  switch (mode) {
    case Mode::Read: return file_.open(QIODevice::ReadOnly);
    case Mode::ReadWrite:
      // A missing file (or a link to nothing) fails here with the system's reason.
      return file_.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered);
    case Mode::ReadWriteCreate:
      // ReadWrite never truncates; it creates only what is absent.
      return file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
  }
  return false;
}

qint64 RecordFile::count() const { return file_.size() / static_cast<qint64>(size_); }

qint64 RecordFile::partialTailBytes() const { return file_.size() % static_cast<qint64>(size_); }

void RecordFile::fail(const char* what) {
  throw IoError(std::string(what) + " " + path_.toStdString() + ": " + file_.errorString().toStdString());
}

void RecordFile::read(qint64 n, char* record) {
  const qint64 sz = static_cast<qint64>(size_);
  if (n < 0 || n >= count()) throw IoError("Błąd odczytu pliku " + path_.toStdString() + ": brak rekordu " + std::to_string(n));
  if (file_.pos() != n * sz && !file_.seek(n * sz)) fail("Błąd odczytu pliku");
  if (file_.read(record, sz) != sz) fail("Błąd odczytu pliku");
}

void RecordFile::read(qint64 first, qint64 n, char* records) {
  const qint64 sz = static_cast<qint64>(size_);
  if (first < 0 || n < 0 || first + n > count())
    throw IoError("Błąd odczytu pliku " + path_.toStdString() + ": brak rekordu " + std::to_string(first + n - 1));
  if (file_.pos() != first * sz && !file_.seek(first * sz)) fail("Błąd odczytu pliku");
  if (file_.read(records, n * sz) != n * sz) fail("Błąd odczytu pliku");
}

std::string RecordFile::read(qint64 n) {
  std::string r(size_, '\0');
  read(n, r.data());
  return r;
}

void RecordFile::write(qint64 n, const char* record) {
  const qint64 sz = static_cast<qint64>(size_);
  if (n < 0 || n > count()) throw IoError("Błąd zapisu pliku " + path_.toStdString() + ": brak rekordu " + std::to_string(n));
  if (!file_.seek(n * sz)) fail("Błąd zapisu pliku");
  // Written unbuffered, at once: a full disk fails this write, not the close that reports nothing.
  // A write the system takes only in part is tried on for the rest, so that the failure comes
  // with the system's reason (a short write alone carries none).
  for (qint64 done = 0; done < sz;) {
    const qint64 w = file_.write(record + done, sz - done);
    if (w <= 0) fail("Błąd zapisu pliku");
    done += w;
  }
}

qint64 RecordFile::append(const char* record) {
  qint64 n = count();
  write(n, record);
  return n;
}

void RecordFile::truncate(qint64 bytes) {
  if (!file_.resize(bytes)) fail("Błąd zapisu pliku");
}

void RecordFile::flush() {
  if (file_.isOpen() && !file_.flush()) fail("Błąd zapisu pliku");
}

void RecordFile::close() {
  if (!file_.isOpen()) return;
  file_.flush();
  file_.close();
}

}  // namespace platform
