#pragma once
// The printers installed on the system, by name. The drawing side of printing comes with the
// prints that use it.
#include <QStringList>

namespace platform {

class Printers {
 public:
  virtual ~Printers() = default;
  virtual QStringList names() const = 0;
};

class SystemPrinters : public Printers {
 public:
  QStringList names() const override;
};

// The test double: the printers a test says are installed.
class FixedPrinters : public Printers {
 public:
  explicit FixedPrinters(QStringList names = {}) : names_(std::move(names)) {}
  QStringList names() const override { return names_; }
  void set(QStringList names) { names_ = std::move(names); }

 private:
  QStringList names_;
};

}  // namespace platform
