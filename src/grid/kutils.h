#pragma once
#include <cstdint>
#include <string_view>

namespace kgrid::KUtils {

bool IsDigitChar(char c);

// A whole number from text that may not be one; never throws. Blanks and control characters
// around the text are ignored; a sign, decimal digits or "$" and hexadecimal digits convert as
// they stand; anything else gives the leading run of decimal digits, or 0 when there is none
// (so "-12abc" gives 0). A run of digits too big for 32 bits gives INT32_MAX.
std::int32_t SafeStrToInt(std::string_view text);

}  // namespace kgrid::KUtils
