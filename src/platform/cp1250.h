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
// A character that Windows-1250 cannot hold becomes '?', one per character (a character beyond
// U+FFFF, two UTF-16 units, gives one '?'). Control characters are kept: a stored value shown in
// a widget comes back byte for byte.
std::string fromUnicode(const QString& text);
// Whether the code page holds the character (one code point).
bool holds(char32_t c);
// Shorthand for the many literal Polish texts kept in UTF-8 source files.
std::string fromUtf8(std::string_view utf8);
QString toQ(std::string_view bytes);
// Upper case by the code page's own letters: a byte changes only when its upper case is one
// character of the code page ("ż" becomes "Ż"; "ß" stays, its upper case being two letters).
unsigned char toUpper(unsigned char byte);
std::string toUpper(std::string_view bytes);

// ---- What users type into stored texts ----
// The one rule for text that a user types or pastes into an edit whose value is stored (settings,
// institution, passwords, cards, parties), so that what is typed is what is stored:
//  - a control character becomes a blank: the C0 controls (TAB, LF, CR, ESC, NUL...), DEL and the
//    C1 range U+0080..U+009F. A stored TAB or line break would split a report line;
//  - a character that Windows-1250 cannot hold is refused: it would be stored as '?' unseen, and a
//    password "Жук1" stored as "???1" lets any three such letters and "1" sign in.
// Blanks the controls in place; returns false when the text holds a character outside the code
// page, and the edit then refuses the keystroke or the paste. With `anyCharacter` the code page is
// not asked (folder paths, which the store keeps as Unicode text); controls are blanked all the same.
// Edits get this rule through platform::guardEdit (platform/edits.h), not by calling it themselves.
bool cleanTyped(QString& text, bool anyCharacter = false);
bool isControl(char32_t c);
// Stored bytes made fit for one line of a report file: every control byte (below 0x20, DEL, and
// the five bytes that stand for C1 controls) becomes a blank, by the same rule as isControl: a line
// break or a tab inside a value must not split a report line. Older records and imported data may
// hold such bytes even though no edit lets them in.
std::string bezSterujacych(std::string_view bytes);

}  // namespace cp1250
