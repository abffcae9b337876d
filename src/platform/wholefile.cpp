#include "platform/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

// The temporary file's tail: six characters of mkstemp's set, which the archive's own
// temporaries use as well, so that one pattern finds them all.
constexpr std::string_view kZnakiOgona = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kDlugoscOgona = 6;

bool temporaryName(std::string_view name) {
  // "." + a name of at least one byte + "." + the tail
  if (name.size() < 3 + kDlugoscOgona || name.front() != '.') return false;
  const std::size_t kropka = name.size() - kDlugoscOgona - 1;
  if (name[kropka] != '.') return false;
  return name.substr(kropka + 1).find_first_not_of(kZnakiOgona) == std::string_view::npos;
}

// Creates a new temporary file beside the target: a dot name with a random tail, so that no
// reader of the folder takes it for a .txt, .xml or .dat. Its rights are set on the handle before
// a byte is written: the umask may be wider or narrower than the owner's alone.
int createTemporary(const QFileInfo& target, FileAccess access, QByteArray& name) {
  const mode_t rights = access == FileAccess::OwnerOnlyProgram ? 0700 : 0600;
  for (int proba = 0; proba < 100; ++proba) {
    QString tail;
    for (std::size_t i = 0; i < kDlugoscOgona; ++i)
      tail += QLatin1Char(kZnakiOgona[QRandomGenerator::global()->bounded(static_cast<int>(kZnakiOgona.size()))]);
    name = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QLatin1Char('.') + tail);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, rights);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd >= 0 && ::fchmod(fd, rights) != 0) {
      const int err = errno;
      ::close(fd);
      ::unlink(name.constData());
      errno = err;
      return -1;
    }
    return fd;
  }
  return -1;
}

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

WholeFileWriter::WholeFileWriter(const QString& path, WriteMode mode, FileAccess access)
    : path_(path), mode_(mode), failAt_(static_cast<int>(WholeFileStep::None)) {
  if (g_failStep != WholeFileStep::None) {
    if (g_passing > 0) --g_passing;
    else failAt_ = static_cast<int>(g_failStep);
  }
  fd_ = createTemporary(QFileInfo(path), access, tmpName_);
  if (fd_ < 0) {
    const int err = errno;
    tmpName_.clear();
    fail(path, err);
  }
}

WholeFileWriter::~WholeFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!tmpName_.isEmpty()) ::unlink(tmpName_.constData());
}

void WholeFileWriter::write(std::string_view bytes) {
  const auto failAt = static_cast<WholeFileStep>(failAt_);
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    if (int err = seam(failAt, WholeFileStep::Write, ENOSPC)) fail(path_, err);
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(path_, errno);
    if (n == 0) fail(path_, "zapis przerwany");
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

void WholeFileWriter::commit(const std::function<void()>& beforeRename) {
  const auto failAt = static_cast<WholeFileStep>(failAt_);
  const QByteArray target = QFile::encodeName(path_);
  if (int err = seam(failAt, WholeFileStep::Flush, EIO)) fail(path_, err);
  if (::fsync(fd_) != 0) fail(path_, errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) fail(path_, errno);

  if (int err = seam(failAt, WholeFileStep::Rename, EACCES)) fail(path_, err);
  if (beforeRename) beforeRename();
  if (mode_ == WriteMode::Replace) {
    if (::rename(tmpName_.constData(), target.constData()) != 0) fail(path_, errno);
  } else if (int err = renameNoReplace(tmpName_.constData(), target.constData())) {
    fail(path_, err);
  }
  tmpName_.clear();  // it is the target now

  // The new name itself reaches the disk with its folder.
  const int dir = ::open(QFile::encodeName(QFileInfo(path_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

bool isWholeFileTemporary(const QString& fileName) {
  const QByteArray b = QFile::encodeName(fileName);
  return temporaryName(std::string_view(b.constData(), static_cast<std::size_t>(b.size())));
}

void removeWholeFileTemporaries(const QString& folder) {
  if (folder.isEmpty()) return;
  DIR* d = ::opendir(QFile::encodeName(folder).constData());
  if (!d) return;
  const int dfd = ::dirfd(d);
  const uid_t ja = ::geteuid();
  while (const dirent* e = ::readdir(d)) {
    if (!temporaryName(e->d_name)) continue;
    // Never through a link, never a folder, never another user's file in a shared folder.
    struct stat st;
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode) && st.st_uid == ja) ::unlinkat(dfd, e->d_name, 0);
  }
  ::closedir(d);
}

void writeWholeFile(const QString& path, std::string_view bytes, WriteMode mode, FileAccess access) {
  WholeFileWriter w(path, mode, access);
  w.write(bytes);
  w.commit();
}

}  // namespace platform
