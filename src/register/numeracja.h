#pragma once
// Registration numbers of the day and the transaction-number suffix of a new card.
#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The registration numbers held on one date, as marks for 0..999. The number search fills it
// from the register; the card save from the numbers the card check gathered in its pass and from
// the card's own records, and then takes numbers from it for the records it appends.
class NumeryDnia {
 public:
  NumeryDnia() = default;
  // The stored numbers of the date's live records.
  explicit NumeryDnia(const std::vector<std::string>& zapisane);
  // A stored number holds its mark when it reads as a whole number 0..999 (numerRejestracji).
  void zajmij(std::string_view zapisany);
  void zajmijNumer(int n) {
    if (n >= 0 && n < kNumerow) z_[static_cast<std::size_t>(n)] = true;
  }
  bool zajety(int n) const { return n >= 0 && n < kNumerow && z_[static_cast<std::size_t>(n)]; }
  // The lowest free number; none when all are held.
  std::optional<int> pierwszyWolny() const;
  // The lowest free number, held from now on; none when all are held.
  std::optional<int> wez();

  static constexpr int kNumerow = 1000;

 private:
  std::array<bool, kNumerow> z_{};
};

// A whole number written as 1 to `maxCyfr` digits, blanks around them allowed; none otherwise.
std::optional<long> liczbaZCyfr(std::string_view tekst, std::size_t maxCyfr);

// The unit's text as the card check leaves it: a text shorter than 8 characters gets zeros in front
// up to 8; a longer one stays (the record stores its first 8).
std::string jednostkaKarty(std::string_view jedIO);

// The suffix a new card's transaction number gets, as the numbering switches choose: the first 8
// characters of the unit as the card stores it (jednostkaKarty: a short unit with its zeros), then
// the day, the month and the two-digit year of the transaction date. The editor's preview, the
// card check and the save all take it from here, so that the preview shows what is written.
std::string przyrostekNumeru(const NumeracjaEwidencyjna& numeracja, std::string_view jedIO, const QDate& tDat);

}  // namespace zelt
