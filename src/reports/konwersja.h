#pragma once
// The Polish-letter conversion of the report files and their zero filling. The authority reads
// ISO-8859-2; the register holds Windows-1250. Only the 18 Polish letters of tabelaPL are recoded
// by konwertujPL; the report writers' value conversion (wartoscRaportu) adds the other letters
// that both code pages hold, and control bytes, on top of it, and the import undoes it (zRaportu).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelt {

// Columns: 1 the plain Latin letter, 2 Mazovia, 3 CP852, 4 Windows-1250, 5 ISO-8859-2.
enum KolumnaPL : int { kLacinski = 1, kMazovia = 2, kCp852 = 3, kWindows1250 = 4, kIso8859_2 = 5 };

// 18 rows (Ą Ć Ę Ł Ń Ó Ś Ź Ż ą ć ę ł ń ó ś ź ż) by the five columns above.
extern const std::array<std::array<unsigned char, 5>, 18> tabelaPL;

// Each byte that is a letter of column `z` (first matching row) becomes that row's byte in
// column `na`, or with `odwolania` the reference "&#" + its ISO-8859-2 byte in decimal + ";",
// whatever `na` is. Every other byte is copied. A column outside 1..5 throws
// std::invalid_argument.
std::string konwertujPL(std::string_view tekst, int z, int na, bool odwolania);

// Leading blanks removed, then "0" put in front up to `szerokosc` characters; never cut.
std::string uzupelnijZerami(std::int32_t szerokosc, std::string_view tekst);

// A Windows-1250 value as the report files write it in ISO-8859-2: bytes below 0x20 become
// blanks (one line per record); the 18 letters as tabelaPL has them; another character that
// ISO-8859-2 holds at a different byte becomes that byte; one it lacks (€, „, ±, ...) "?".
// With `odwolania` (XML) every byte that is so recoded, and every one of the 18 letters, is
// written as its ISO-8859-2 byte-value reference instead. Bytes the two code pages share stay.
std::string wartoscRaportu(std::string_view tekst, bool odwolania);
// The inverse of wartoscRaportu, for a converted value read back from a report file (its
// references already decoded): an ISO-8859-2 byte that the writer puts for a Windows-1250
// character gives that character's byte again, the letters beyond the 18 (Š, Ž, Ť, Ľ, ...) as
// much as the 18. Any other byte stays: ASCII, and the blank or "?" that the writer had to put.
std::string zRaportu(std::string_view tekst);

}  // namespace zelt
