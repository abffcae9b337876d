#include "grid/kutils.h"

#include <limits>
#include <optional>

namespace kgrid::KUtils {

namespace {

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The strict conversion: the whole text must be the number. Hexadecimal takes up to 32 bits and
// reads them as a signed number ($FFFFFFFF is -1), as the windows' run-time does.
std::optional<std::int32_t> strictToInt(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  std::int64_t value = 0;
  if (s[0] == '$') {
    s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    std::uint64_t u = 0;
    for (char c : s) {
      const int h = hexValue(c);
      if (h < 0) return std::nullopt;
      u = u * 16 + static_cast<std::uint64_t>(h);
      if (u > 0xFFFFFFFFull) return std::nullopt;
    }
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(u));
    return static_cast<std::int32_t>(negative ? -value : value);
  }
  for (char c : s) {
    if (!IsDigitChar(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

std::int32_t SafeStrToInt(std::string_view text) {
  while (!text.empty() && isBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlankOrControl(text.back())) text.remove_suffix(1);
  if (auto v = strictToInt(text)) return *v;
  std::size_t run = 0;
  while (run < text.size() && IsDigitChar(text[run])) ++run;
  if (run == 0) return 0;
  if (auto v = strictToInt(text.substr(0, run))) return *v;
  return std::numeric_limits<std::int32_t>::max();  // only digits, so it can only be too big
}

}  // namespace kgrid::KUtils
