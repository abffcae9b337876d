#pragma once
// A real full disk for one scope: a small tmpfs mounted over a folder (the tests run as root), and
// a filler file that takes its last free page. Unlike a file-size limit it fails every file of the
// folder, the system's way: a write that gets part of its bytes onto the last page, then ENOSPC.
// A folder that cannot be mounted over says why, so that the test fails with the reason.
#include <sys/mount.h>

#include <QFile>
#include <QString>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace testing_world {

class SmallFileSystem {
 public:
  SmallFileSystem(const QString& folder, long kilobytes) : folder_(QFile::encodeName(folder)) {
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0700";
    if (::mount("tmpfs", folder_.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
      mounted_ = true;
    } else {
      why_ = "no tmpfs can be mounted at " + folder_.toStdString() + ": " + std::strerror(errno) +
             " (the test needs root, or CAP_SYS_ADMIN)";
    }
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(folder_.constData(), MNT_DETACH);
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& why() const { return why_; }

  // Writes the file `name` in the folder until the system refuses the next byte for want of
  // space; false (and why()) on any other outcome.
  bool fill(const char* name) {
    const std::string path = folder_.toStdString() + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return failed("cannot create " + path, errno);
    const std::string block(4096, 'z');
    ssize_t n = 0;
    while ((n = ::write(fd, block.data(), block.size())) > 0) {
    }
    const int err = errno;
    ::close(fd);
    if (n == 0 || err != ENOSPC) return failed("filling " + path + " did not end with ENOSPC", n == 0 ? 0 : err);
    return true;
  }

 private:
  bool failed(const std::string& what, int err) {
    why_ = what + ": " + std::strerror(err);
    return false;
  }
  QByteArray folder_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace testing_world
