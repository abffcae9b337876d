#pragma once
#include <stdexcept>
#include <string>

namespace platform {

// An input or output error, carrying the operating system's text; the event-loop guard shows it.
class IoError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace platform
