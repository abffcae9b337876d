#pragma once
// Windows-1250, the single-byte code page of every stored text. Qt 6 has no such codec, so the
// table is our own. The five bytes that the code page leaves undefined map to the C1 controls of
// the same value, so that any stored byte survives a trip through a widget and back.
#include <QString>
#include <string>
#include <string_view>

namespace cp1250 {

// The character of one byte.
char16_t toUnicode(unsigned char byte);
QString toUnicode(std::string_view bytes);
// A character that Windows-1250 cannot hold becomes '?'.
std::string fromUnicode(const QString& text);
// Shorthand for the many literal Polish texts kept in UTF-8 source files.
std::string fromUtf8(std::string_view utf8);
QString toQ(std::string_view bytes);
// Upper case by the code page's own letters: a byte changes only when its upper case is one
// character of the code page ("ż" becomes "Ż"; "ß" stays, its upper case being two letters).
unsigned char toUpper(unsigned char byte);
std::string toUpper(std::string_view bytes);

// Stored bytes with every control byte (below 0x20) as a blank: a line break or a tab inside a
// value must not split a report line.
std::string bezSterujacych(std::string_view bytes);

}  // namespace cp1250
