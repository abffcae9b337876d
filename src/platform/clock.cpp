#include "platform/clock.h"

#include <cmath>

namespace platform {

namespace {
const QDate kEpoch(1899, 12, 30);
}

double dateToDays(const QDate& d) { return static_cast<double>(kEpoch.daysTo(d)); }

std::optional<QDate> daysToDate(double days) {
  if (!std::isfinite(days)) return std::nullopt;
  // The day is the whole part, cut toward zero as the platform's dates are: -0.5 is still
  // 1899-12-30, -1.25 is 1899-12-29, and any time on 9999-12-31 is that day.
  const double day = std::trunc(days);
  // Years 1..9999 lie within about +-3 million days of the epoch.
  if (day < -693593.0 || day > 2958465.0) return std::nullopt;
  QDate d = kEpoch.addDays(static_cast<qint64>(day));
  if (!d.isValid() || d.year() < 1 || d.year() > 9999) return std::nullopt;
  return d;
}

}  // namespace platform
