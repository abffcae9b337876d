#pragma once
#include <QDate>
#include <QDateTime>
#include <optional>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual QDateTime now() const = 0;
  QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
 public:
  QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that a test sets.
class FixedClock : public Clock {
 public:
  explicit FixedClock(QDateTime t) : t_(std::move(t)) {}
  QDateTime now() const override { return t_; }
  void set(QDateTime t) { t_ = std::move(t); }

 private:
  QDateTime t_;
};

// Stored dates are doubles counting days from 1899-12-30 (whole days for dates).
double dateToDays(const QDate& d);
// Empty for a value that is no date (NaN, infinite, or outside years 1..9999).
std::optional<QDate> daysToDate(double days);

// The same day as year, month and day, without a QDate: for passes that turn the dates of many
// records into text.
struct CivilDate {
  int year = 0, month = 0, day = 0;
};
std::optional<CivilDate> daysToCivil(double days);

}  // namespace platform
