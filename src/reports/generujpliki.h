#pragma once
// The send: chosen register records become report files for the authority in the export folder,
// one file per category, named by the category's letter and the number of the day, and each
// record written is marked sent. Sending means writing these files; nothing is transmitted.
//
// A report file is the authority's evidence, so it is whole before anything counts it: each
// category's file is written under a temporary name and takes its own name only when it is
// complete; then its records are marked sent and the number of the day is used up. A failure
// before that leaves no file and every record of that category unsent; files finished earlier in
// the same send stay with their marks. No report file is ever overwritten.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "register/rekordtransakcji.h"

namespace zelt {

class Program;

// The category letters in the order the files are made: 1 P (suspicious), 2 Z (linked),
// 3 G (cash), 4 W (transfer), 5 D (other kinds of category 06), 6 B (anything else),
// 7 K (corrections).
inline constexpr char kLiteryKategorii[] = "PZGWDBK";
constexpr int kIloscKategorii = 7;
// A number of the day has two digits.
constexpr int kMaxNumerDnia = 99;

// The category 1..7 of a record, by the first rule that applies: Status 0 (a correction) K; a
// suspicious-transaction code that is neither empty nor four blanks P; link code 1 Z; kind code
// beginning "01" W, "02" G, "06" D; otherwise B. 0 for a deleted record, which is never sent.
int kategoria(const TRekordTransakcji& r);

// The first number of the day a send tries after today's counter (the last number it used): the
// next one, 1 after a counter below 1, and kMaxNumerDnia + 1 (no number left) after a counter of
// kMaxNumerDnia or more, however large a damaged counter file makes it.
int pierwszyNumerDnia(std::int32_t licznik);

// Letter, two-digit number of the day (1..99), short name, ".txt" (format 0) or ".xml".
std::string nazwaPliku(int kategoria, int numer, std::string_view nazpli, int format);

// Whether a short name can stand in a file name: A-Z and 0-9 only; empty is allowed.
bool poprawnaNazwaSkrotowa(std::string_view nazpli);

// The send of the chosen records (0-based numbers in transak.dat, at most a batch), reporting in
// the dispatch report: the main window's three send commands hand their selections here.
// Every refusal and error is shown to the user; nothing is thrown.
void generujPliki(Program& program, const std::vector<std::int32_t>& numery);

}  // namespace zelt
