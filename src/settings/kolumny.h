#pragma once
// The register's 48 column definitions: which card field each column shows, where it stands in
// the main list and on the register print, and how wide it is there. Each definition is a packed
// 71-byte record, stored byte for byte as the binary registry value "Pole01".."Pole48" under the
// configuration key. Texts are Windows-1250.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class RegistryStore;
}

namespace zelt {

// The two layouts a definition carries: the main list ("Wygląd") and the register print ("Wydruk").
enum class Strona { Wyglad, Wydruk };

// A coded width is the width doubled, plus 1 when the column is right-aligned.
constexpr int szerokosc(std::uint16_t kod) { return kod >> 1; }
constexpr bool doPrawej(std::uint16_t kod) { return (kod & 1) != 0; }
constexpr std::uint16_t kodujSzerokosc(int szer, bool prawo) {
  return static_cast<std::uint16_t>(szer * 2 + (prawo ? 1 : 0));
}

struct TDefinicjaKolumny {
  static constexpr std::size_t kSize = 71;
  static constexpr std::size_t kPojemnoscKodu = 10;
  static constexpr std::size_t kPojemnoscNazwy = 50;

  std::string kod;             // the column's code, also the list column's caption and name
  std::string nazwa;           // the field's full name
  std::uint8_t nrPola = 0;     // card field 1..45, 0 for a column of the register's own
  std::uint8_t grupa = 0;      // card section 0..7, index into grupyPol()
  std::uint8_t pozWyg = 0;     // 1-based place in the main list, 0 = not shown
  std::uint16_t szerWyg = 0;   // coded width in pixels
  std::uint8_t pozWyd = 0;     // 1-based place on the register print, 0 = not printed
  std::uint16_t szerWyd = 0;   // coded width in millimetres
  std::uint8_t rodzaj = 0;     // 3 "Lp", 1 "Info", 0 the others; kept, never consulted

  using Bytes = std::array<char, kSize>;
  // Decodes exactly kSize bytes; a length byte beyond its capacity is clamped.
  static TDefinicjaKolumny decode(const char* bytes);
  // A stored value, accepted only when it is kSize bytes with both length bytes within capacity.
  // A section above 7 reads as 0.
  static std::optional<TDefinicjaKolumny> zPamieci(std::string_view bytes);
  void encode(char* bytes) const;
  Bytes encode() const;

  std::uint8_t& pozycja(Strona s) { return s == Strona::Wyglad ? pozWyg : pozWyd; }
  std::uint8_t pozycja(Strona s) const { return s == Strona::Wyglad ? pozWyg : pozWyd; }
  std::uint16_t& szer(Strona s) { return s == Strona::Wyglad ? szerWyg : szerWyd; }
  std::uint16_t szer(Strona s) const { return s == Strona::Wyglad ? szerWyg : szerWyd; }

  bool operator==(const TDefinicjaKolumny&) const = default;
};

constexpr int kIloscKolumn = 48;
// "Lp" is definition 1; the list's commands find the record number in its column.
constexpr int kSlotLp = 1;

// Row i (1..48) of the defaults, the widths plain (not coded).
TDefinicjaKolumny DomyslnePole(int i);

// The card-section titles 0..7 (0 the empty text), Windows-1250.
const std::array<std::string, 8>& grupyPol();
// The title of a section, empty for a number outside 0..7.
const std::string& tytulGrupy(int sekcja);

// The 48 definitions, numbered 1..48; definition i is always the column of default row i.
class DefinicjeKolumn {
 public:
  // Every definition at its default, the widths coded.
  DefinicjeKolumn();
  static TDefinicjaKolumny domyslna(int i);

  TDefinicjaKolumny& operator[](int i) { return d_.at(static_cast<std::size_t>(i - 1)); }
  const TDefinicjaKolumny& operator[](int i) const { return d_.at(static_cast<std::size_t>(i - 1)); }

  // The number of the definition with this code, 0 when none has it.
  int numer(std::string_view kod) const;
  const TDefinicjaKolumny* poKodzie(std::string_view kod) const;

  // The definitions shown on a page, in position order (then by number).
  std::vector<int> wKolejnosci(Strona s) const;
  // Renumbers the shown positions of both pages 1..n in that order, without gaps or repeats, and
  // puts "Lp" first in the main list (shown there even when a stored layout left it out).
  void normalizuj();

  bool operator==(const DefinicjeKolumn&) const = default;

 private:
  std::array<TDefinicjaKolumny, kIloscKolumn> d_;
};

// The definition an item text of the chooser lists names: the code before the first blank,
// compared with the codes of 1..47; 48 when none of them matches.
int IndeksPola(const DefinicjeKolumn& defs, std::string_view tekst);
// A chooser list's item: code, " - " and name.
std::string tekstPozycji(const TDefinicjaKolumny& d);

// The registry value of definition i: "Pole01".."Pole48".
std::string nazwaWartosci(int i);
constexpr std::string_view kKluczKonfig = "\\SOFTWARE\\Tarvo\\ZELT\\Konfig\\";

// Without the configuration key every definition takes its default. With it, each definition
// takes its stored value when that is well formed and carries the definition's own code, else
// its default. The positions are then normalised (which also closes the defaults' print gap).
DefinicjeKolumn wczytajDefinicje(const platform::RegistryStore& reg);
// Writes all 48 values in one change of the store (throws platform::IoError).
void zapiszDefinicje(platform::RegistryStore& reg, const DefinicjeKolumn& defs);

}  // namespace zelt
