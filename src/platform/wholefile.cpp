#include "platform/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/errors.h"

namespace platform {

namespace {

WholeFileStep g_failStep = WholeFileStep::None;
int g_passing = 0;

[[noreturn]] void fail(const QString& path, const std::string& why) {
  throw IoError("Błąd zapisu pliku " + path.toStdString() + ": " + why);
}

[[noreturn]] void fail(const QString& path, int err) {
  fail(path, QString::fromLocal8Bit(std::strerror(err)).toStdString());
}

// Errno of a step: the seam's for the step it fails in this file, else 0.
int seam(WholeFileStep failAt, WholeFileStep step, int simulated) { return failAt == step ? simulated : 0; }

// Creates a new temporary file beside the target: a dot name with a random tail, so that no
// reader of the folder takes it for a .txt, .xml or .dat. The process's umask applies.
int createTemporary(const QFileInfo& target, FileAccess access, QByteArray& name) {
  static const char kZnaki[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int proba = 0; proba < 100; ++proba) {
    QString tail;
    for (int i = 0; i < 6; ++i) tail += QLatin1Char(kZnaki[QRandomGenerator::global()->bounded(36)]);
    name = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + tail);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          access == FileAccess::OwnerOnly ? 0600 : 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Closes and removes the temporary file unless released.
struct Temporary {
  QByteArray name;
  int fd = -1;
  ~Temporary() {
    if (fd >= 0) ::close(fd);
    if (!name.isEmpty()) ::unlink(name.constData());
  }
};

int renameNoReplace(const char* from, const char* to) {
  if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without the exclusive rename: a hard link fails the same way on an existing name.
  if (::link(from, to) != 0) return errno;
  ::unlink(from);
  return 0;
}

}  // namespace

FailWholeFileStep::FailWholeFileStep(WholeFileStep step, int passing)
    : previous_(g_failStep), previousPassing_(g_passing) {
  g_failStep = step;
  g_passing = passing;
}
FailWholeFileStep::~FailWholeFileStep() {
  g_failStep = previous_;
  g_passing = previousPassing_;
}

void writeWholeFile(const QString& path, std::string_view bytes, WriteMode mode, FileAccess access) {
  WholeFileStep failAt = WholeFileStep::None;
  if (g_failStep != WholeFileStep::None) {
    if (g_passing > 0) --g_passing;
    else failAt = g_failStep;
  }
  const QFileInfo info(path);
  const QByteArray target = QFile::encodeName(path);
  Temporary tmp;
  tmp.fd = createTemporary(info, access, tmp.name);
  if (tmp.fd < 0) {
    const int err = errno;
    tmp.name.clear();
    fail(path, err);
  }

  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    if (int err = seam(failAt, WholeFileStep::Write, ENOSPC)) fail(path, err);
    const ssize_t n = ::write(tmp.fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(path, errno);
    if (n == 0) fail(path, "zapis przerwany");
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (int err = seam(failAt, WholeFileStep::Flush, EIO)) fail(path, err);
  if (::fsync(tmp.fd) != 0) fail(path, errno);
  const int fd = tmp.fd;
  tmp.fd = -1;
  if (::close(fd) != 0) fail(path, errno);

  if (int err = seam(failAt, WholeFileStep::Rename, EACCES)) fail(path, err);
  if (mode == WriteMode::Replace) {
    if (::rename(tmp.name.constData(), target.constData()) != 0) fail(path, errno);
  } else if (int err = renameNoReplace(tmp.name.constData(), target.constData())) {
    fail(path, err);
  }
  tmp.name.clear();  // it is the target now

  // The new name itself reaches the disk with its folder.
  const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace platform
