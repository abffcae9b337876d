#pragma once
// Registration numbers of the day and the transaction-number suffix of a new card.
#include <QDate>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace zelt {

struct NumeracjaEwidencyjna;

// The first free registration number of a date among the live records of transak.dat: the
// decimal text of the lowest whole number 0..999 that no live record of that date holds, "1000"
// when all are taken, "0" when the file cannot be opened. A stored number is read without its
// leading and trailing blanks (imported records keep alignment blanks); one that is then not a
// whole number 0..999 holds no number. Throws platform::IoError on a read error.
std::string wolnyNrRejDat(const QString& transakDat, double rejDat);

// A registration number as stored, read as a whole number 0..999; none otherwise.
std::optional<int> numerRejestracji(std::string_view tekst);

// A whole number written as 1 to `maxCyfr` digits, blanks around them allowed; none otherwise.
std::optional<long> liczbaZCyfr(std::string_view tekst, std::size_t maxCyfr);

// The suffix a new card's transaction number gets, as the numbering switches choose: the first 8
// characters of the unit item's text, then the day, the month and the two-digit year of the
// transaction date.
std::string przyrostekNumeru(const NumeracjaEwidencyjna& numeracja, std::string_view jedIO, const QDate& tDat);

}  // namespace zelt
