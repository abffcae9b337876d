#pragma once
// The rise of a run's peak memory: the kernel's high-water mark of this process, started again
// from the present resident size before the run.
#include <fstream>
#include <string>

namespace bench {

// Kibibytes of a line of /proc/self/status ("VmHWM", "VmRSS").
inline long statusKiB(const char* key) {
  std::ifstream f("/proc/self/status");
  std::string line;
  const std::string k = std::string(key) + ":";
  while (std::getline(f, line))
    if (line.rfind(k, 0) == 0) return std::stol(line.substr(k.size()));
  return -1;
}

// Peak memory starts again from the present resident size.
inline void resetPeak() {
  std::ofstream f("/proc/self/clear_refs");
  f << "5";
}

}  // namespace bench
