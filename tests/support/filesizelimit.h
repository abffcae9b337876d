#pragma once
// A full disk for one scope: no file of this process may grow beyond `bytes` (the file-size
// limit of the process), and the signal for it is ignored, so that writes fail as on a disk with
// no space left: the system's error, whatever rights the test runs with.
#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace testing_world {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (getrlimit(RLIMIT_FSIZE, &old_) != 0) throw std::runtime_error("getrlimit");
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lim = old_;
    lim.rlim_cur = bytes;  // the hard limit stays, so the old one can be put back
    if (setrlimit(RLIMIT_FSIZE, &lim) != 0) throw std::runtime_error("setrlimit");
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldSignal_)(int) = nullptr;
};

}  // namespace testing_world
