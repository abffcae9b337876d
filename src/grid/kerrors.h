#pragma once
// The grid reports misuse by exceptions; the event-loop guard shows their texts.
#include <stdexcept>
#include <string>

namespace kgrid {

class EKGridError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class EKGridColumnsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void throwWrongColIndex();
[[noreturn]] void throwWrongRowIndex();
// "Column name "<name>" already exists"; the name is Windows-1250, the message UTF-8.
[[noreturn]] void throwColumnNameExists(const std::string& name);

}  // namespace kgrid
