#pragma once
// The comma text in which a grid cell keeps its (possibly multi-line) text: one item per line,
// quoted when the line holds a blank, a control character, a comma or a double quote. Both
// routines work on Windows-1250 bytes.
#include <string>
#include <string_view>

namespace kgrid::KStrings {

std::string LinesToCommaText(std::string_view text);
// The same comma text appended to `out` (a column's text store takes it without a copy).
void AppendLinesAsCommaText(std::string& out, std::string_view text);
// The items as lines joined by CR LF. Ends at the first NUL byte.
std::string CommaTextToLines(std::string_view text);
// True when the text is its own comma text and reads back unchanged: no byte below 33, no
// comma, no double quote. Most cells are such; they skip both conversions.
bool IsPlainText(std::string_view text);

}  // namespace kgrid::KStrings
