#include "platform/clock.h"

#include <cmath>
#include <cstdint>

namespace platform {

namespace {
const QDate kEpoch(1899, 12, 30);
}

double dateToDays(const QDate& d) { return static_cast<double>(kEpoch.daysTo(d)); }

std::optional<CivilDate> daysToCivil(double days) {
  if (!std::isfinite(days)) return std::nullopt;
  // The day is the whole part, cut toward zero as the platform's dates are: -0.5 is still
  // 1899-12-30, -1.25 is 1899-12-29, and any time on 9999-12-31 is that day.
  const double day = std::trunc(days);
  // Exactly years 1..9999: 0001-01-01 and 9999-12-31 counted from the epoch.
  if (day < -693593.0 || day > 2958465.0) return std::nullopt;
  // The proleptic Gregorian calendar in eras of 400 years from 0000-03-01, as QDate counts;
  // 1899-12-30 is day 693899 of that count.
  const std::int64_t z = static_cast<std::int64_t>(day) + 693899;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  CivilDate c;
  c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  c.year = static_cast<int>(yoe + era * 400 + (c.month <= 2 ? 1 : 0));
  return c;
}

std::optional<QDate> daysToDate(double days) {
  const auto c = daysToCivil(days);
  if (!c) return std::nullopt;
  return QDate(c->year, c->month, c->day);
}

}  // namespace platform
