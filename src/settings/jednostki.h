#pragma once
// The institution's organisational units as the units grid holds them: row 0 the header, rows
// 1 .. RowCount - 2 the units, and a trailing empty row that the next added unit takes. The
// institution key stores RowCount as "JedIO" and the unit of row i under "JED" + two digits of
// i - 1. The institution window shows this table; the check, a new card's unit list and the
// identification-form print read it. No widgets, so that all of them run without the window.
//
// Columns: 0 the running number, 1 "NumJe" .. 8 "FaxJe" (see kKolumnyJednostek). All texts are
// Windows-1250 bytes.
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class RegistryStore;
}

namespace zelt {

struct KolumnaJednostek {
  const char* naglowek;  // UTF-8
  int szerokosc;         // pixels
  const char* wartosc;   // registry value, nullptr for the running number
};
constexpr int kKolumnJednostek = 9;
extern const std::array<KolumnaJednostek, kKolumnJednostek> kKolumnyJednostek;

// Column indexes by meaning.
namespace kol {
constexpr int Lp = 0, Num = 1, Naz = 2, Uli = 3, Kod = 4, Mie = 5, Woj = 6, Tel = 7, Fax = 8;
}

// The unit subkeys and the check's numbers carry two digits: at most 99 units.
constexpr int kMaxJednostek = 99;

class JednostkiIO {
 public:
  using Wiersz = std::array<std::string, kKolumnJednostek>;

  // The header and the trailing row: no unit.
  JednostkiIO();

  int RowCount() const { return static_cast<int>(wiersze_.size()); }
  // Grows with empty rows or drops rows from the end; never below the header and trailing row.
  void setRowCount(int n);
  int iloscJednostek() const { return RowCount() - 2; }

  const Wiersz& wiersz(int w) const { return wiersze_.at(static_cast<std::size_t>(w)); }
  const std::string& komorka(int w, int k) const { return wiersz(w).at(static_cast<std::size_t>(k)); }
  void ustawKomorke(int w, int k, std::string tekst);

  // A row between the header and the trailing row.
  bool wierszJednostki(int w) const { return w >= 1 && w <= RowCount() - 2; }
  // A unit row that holds a unit: a number or a name. Rows with neither are not stored, checked,
  // offered on a card or printed.
  bool jestJednostka(int w) const;

  // Adds a unit into the trailing row r = old RowCount - 1 (column 0 the text of r, columns 1..8
  // from `dane`) and a new trailing row after it. Returns r; nothing at 99 units (returns 0).
  int dodaj(const Wiersz& dane);
  // Columns 2..8 of unit row w from `dane`; the number stays. False when w is no unit row.
  bool zmien(int w, const Wiersz& dane);
  // Removes unit row w: the rows below move up and are renumbered, the last row emptied and
  // RowCount decreased. False (and nothing changed) when w is no unit row.
  bool usun(int w);

  // The units of a new card's list, in row order: (number, name).
  std::vector<std::pair<std::string, std::string>> listaKarty() const;

 private:
  std::vector<Wiersz> wiersze_;
};

// A unit or institution number as a whole number: the text, trimmed, must be 1 to 8 digits.
std::optional<long> numerJednostki(std::string_view tekst);

// The first whole number k >= 0 that is neither the institution's number nor a unit's, as 8
// digits. Numbers that are not numbers are left out.
std::string zaproponujNumer(std::string_view numIO, const JednostkiIO& j);

// Reads the units of the institution key for the stored row count `rowCount` (2..101). A row
// whose subkey is missing stays empty.
JednostkiIO wczytajJednostki(const platform::RegistryStore& reg, std::string_view aktualneIO, int rowCount);

// Deletes the unit subkeys of the old row count `staryJedIO` (0 when none was stored), then
// writes one subkey per unit row that holds a unit. Put it into the batch of the institution's
// values so that both change together or not at all.
void zapiszJednostki(platform::RegistryStore& reg, std::string_view aktualneIO, int staryJedIO,
                     const JednostkiIO& j);

// The subkey name of unit row w: "JED" + two digits of w - 1.
std::string podkluczJednostki(int w);

// A folder of institution n derived from the current institution's folder: "IOnn" goes right
// after the first "ZELT" that a separator follows, with that separator ("C:\Dane\ZELT\Baza" ->
// "C:\Dane\ZELT\IO02\Baza", the rest cut to 255 characters); a folder without it gets its own
// "IOnn" subfolder, so that two institutions never share a data or export folder. Empty for an
// empty folder.
QString folderNowejInstytucji(const QString& folder, int n);

// Registers institution n in one batch: "IloscIO" := n in the program key, and the new key
// "IOnn\" with its name "nazIO" and the folders derived from the current ones (`foldery`: data,
// parties, export). Throws platform::IoError, with nothing changed, when the store cannot be written.
void zapiszNowaInstytucje(platform::RegistryStore& reg, int n, const std::string& nazIO,
                          const std::array<QString, 3>& foldery);

}  // namespace zelt
