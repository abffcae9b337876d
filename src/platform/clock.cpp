#include "platform/clock.h"

#include <cmath>

namespace platform {

namespace {
const QDate kEpoch(1899, 12, 30);
}

double dateToDays(const QDate& d) { return static_cast<double>(kEpoch.daysTo(d)); }

std::optional<QDate> daysToDate(double days) {
  if (!std::isfinite(days)) return std::nullopt;
  // Years 1..9999 lie within about +-3 million days of the epoch.
  if (days < -693593.0 || days > 2958465.0) return std::nullopt;
  QDate d = kEpoch.addDays(static_cast<qint64>(std::floor(days)));
  if (!d.isValid() || d.year() < 1 || d.year() > 9999) return std::nullopt;
  return d;
}

}  // namespace platform
