#pragma once
// The daily file counters: how many report files the send wrote on each day of one year, kept in
// np<year>.dat of the data folder (1488 bytes: 372 little-endian 32-bit counters, day-major).
// Every report file takes today's counter + 1 as its number of the day, so a counter that went
// back to 0 would give the authority the same file number twice: a counter file that exists but
// cannot be read refuses the load instead of starting from zeros.
#include <QString>
#include <array>
#include <cstdint>

namespace zelt {

class NumeracjaDzienna {
 public:
  static constexpr std::size_t kRozmiar = 1488;
  using Tabela = std::array<std::array<std::int32_t, 12>, 31>;  // [day - 1][month - 1]
  using Bajty = std::array<char, kRozmiar>;

  // `katDan` is the program's data folder, read at every load and save.
  explicit NumeracjaDzienna(const QString& katDan) : katDan_(katDan) {}

  Tabela numeracjaDzienna{};
  std::int32_t rokNumeracji = 0;  // the year whose table is loaded; 0 before the first load

  // The counter of day `dzien` (1..31), month `miesiac` (1..12).
  std::int32_t& licznik(int dzien, int miesiac) { return numeracjaDzienna.at(dzien - 1).at(miesiac - 1); }

  // Makes the table hold `rok`'s counters. The loaded year is kept as it is (increments
  // included); another loaded year is saved first. A missing file gives zeros and creates
  // nothing. A file that exists but cannot be read, or is shorter than 1488 bytes, throws
  // platform::IoError "Błędny plik numeracji dziennej np<rok>.dat - wysłanie danych niemożliwe",
  // and the table and the file stay as they were. A longer file gives its first 1488 bytes.
  void czytajNumeracje(std::int32_t rok);
  // Replaces np<rokNumeracji>.dat as a whole; a failure throws platform::IoError with the
  // system's text and the file's name, and the table keeps what it holds.
  void zapiszNumeracje() const;

  QString plik(std::int32_t rok) const;  // KatDan + "/np" + rok + ".dat"

  static Bajty koduj(const Tabela& t);
  static Tabela dekoduj(const char* bajty);  // exactly kRozmiar bytes

 private:
  const QString& katDan_;
};

}  // namespace zelt
