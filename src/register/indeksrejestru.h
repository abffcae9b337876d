#pragma once
// What the register holds where, kept in memory: the card open, the number search, the card check
// and the save find a card's records and a day's numbers without a pass over the whole file.
//
// It only names records: whoever asks reads them and judges each one as a whole-file pass would,
// so an entry that is out of date costs a read, never a wrong record joined to a card. It is
// trusted only while the file is as the program last left it (PlikRejestru compares the file's
// identity at each use and builds it again with one pass when anything differs).
//
// Flat: one entry of 24 bytes a record and one bucket head of 4 bytes for at most two records; no
// string or vector per card.
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zelt {

class IndeksRejestru {
 public:
  // A record's bytes taken in: its Status, transaction number, registration date and number.
  void rezerwuj(qint64 rekordow);
  void dodaj(const char* rekord);
  void zmien(qint64 n, const char* rekord);
  // Marked deleted: it is named no more.
  void usun(qint64 n);
  // The number of records it knows, live or not.
  qint64 ilosc() const { return static_cast<qint64>(w_.size()); }
  std::size_t bajty() const;

  // The live records with this transaction number as far as the index knows (records whose number
  // only shares its hash come too), in file order.
  std::vector<qint64> zNumerem(std::string_view nrEwT) const;
  // The live records registered on the day `dzien` (the whole part of the date), in file order.
  std::vector<qint64> zDnia(std::int32_t dzien) const;
  // The registration numbers (0..999) of the day's live records whose date is that whole day
  // exactly; `niecale` gets the day's records whose date has a fraction (their number is not
  // taken: the caller reads them).
  std::vector<int> numeryDnia(std::int32_t dzien, std::vector<qint64>* niecale = nullptr) const;

  // The day of a date as the index files it; none for a date that is not a number or lies outside
  // the days the index can hold (a search for it passes over the whole file).
  static std::optional<std::int32_t> dzienDaty(double rejDat);

  // The list rows of the records: what a pass over the rows finds first, -1 for none. The list as
  // it stands: its row count, the count of its rows' moves, and `lp`, the record number a row
  // shows. An entry is checked against the list's own cell before it is given; when it does not
  // hold, or the list has changed in a way the index was not told of, the map is built again.
  struct Lista {
    int wierszy;
    std::uint64_t przestawien;
    std::function<std::optional<std::int32_t>(int)> lp;
  };
  int wiersz(qint64 n, const Lista& l);
  void ustawWiersz(qint64 n, int wiersz, int wierszy);
  void usunietoWiersze(int pierwszy, int ostatni);
  // The rows as the start-up fills the list: the live records in file order, one row each.
  void wierszeZywych();

 private:
  struct Wpis {
    std::uint32_t klucz = 0;    // hash of the transaction number
    std::int32_t nastKlucz = -1;  // the next record of the same bucket, -1 at the end
    std::int32_t nastDnia = -1;   // the next record of the same day
    std::int32_t dzien = 0;
    std::int32_t wiersz = -1;
    std::int16_t nrRej = -1;    // -1: holds no number
    std::uint8_t flagi = 0;
    std::uint8_t wiele = 0;     // another row may show it too: its row is looked for in the list
  };
  static_assert(sizeof(Wpis) == 24);
  static constexpr std::uint8_t kZywy = 1, kCalyDzien = 2, kMaDzien = 4;

  static Wpis wpis(const char* rekord);
  void dolacz(std::int32_t n);
  void odlacz(std::int32_t n);
  void rozszerzKosze();
  std::int32_t& kosz(std::uint32_t klucz) { return kosze_[klucz & (kosze_.size() - 1)]; }
  void wierszeZListy(const Lista& l);

  std::vector<Wpis> w_;
  std::vector<std::int32_t> kosze_;
  std::unordered_map<std::int32_t, std::int32_t> dni_;  // day -> its first record in the chain
  bool wierszeZnane_ = false;  // every record's row is known for a list of wierszy_ rows
  int wierszy_ = 0;
  std::uint64_t przestawien_ = 0;
  // Records past the file's end that rows still showed when the map was last built from the list
  // (the file was cut short by someone else): a record appended under such a number has two rows.
  std::vector<qint64> zaKoncem_;
};

}  // namespace zelt
