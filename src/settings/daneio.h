#pragma once
// The institution record as its registry key holds it: "\SOFTWARE\Tarvo\ZELT\" + the current
// institution's subkey ("IO\", "IO02\", ...). While the program runs the record lives in the
// controls of the institution window; these functions move it between the key and plain data, so
// that the window, the save-all step on exit and the tests share one reader and one writer.
//
// All texts but the folders are Windows-1250 bytes.
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class RegistryStore;
}

namespace zelt {

// The institution kinds, in the order of their stored index (UTF-8 texts for the list).
constexpr int kIloscRodzajowIO = 17;
extern const std::array<const char*, kIloscRodzajowIO> kRodzajeIO;

// The units grid's row count: a header row and a trailing empty row around at most 99 units.
constexpr int kMinJedIO = 2;
constexpr int kMaxJedIO = 101;

struct OsobaIO {
  std::string im, na, st, te, fa, ko, em;
  std::string haslo;
  bool zmiana = false;  // the stored password carries the must-change mark
};

// Every value of the institution key; the initial values are the window's design defaults.
struct DaneIO {
  std::string nazIO, numIO = "00000000", NIPIO, RegIO, KrIO = "Polska", WoIO, PoIO, GmIO, KodIO, MieIO, UlIO,
                     NrDIO, NrLIO;
  int RoIO = -1;  // index into kRodzajeIO, -1 for none
  std::string UwIO;
  bool AkIO = false;
  std::array<OsobaIO, 2> os;
  // Folders keep whatever characters their names have (a documents folder in another script);
  // the store keeps them exactly.
  QString KatDan, KatPod, KatEks;
  int Format = 0;  // 0 TXT, 1 XML
  std::string NazPli;
  // The initial folders of the main window's archive and export dialogs.
  QString archdir, ekspdir;
  int JedIO = kMinJedIO;
  std::string haAdmin;
};

// The registry key of an institution; an empty subkey is the first institution's "IO\".
std::string kluczInstytucji(std::string_view aktualneIO);

// Reads the institution key. A missing key gives the design defaults and nothing else; a missing
// value leaves its default. "Format", "NazPli", "archdir" and "ekspdir" that the key lacks (a key
// written by an older release) are taken from "Konfig\" when present there. Stored values outside
// their range are brought into it: a kind outside the list reads as none, a format other than 0
// or 1 as 0, the units' row count is clamped to 2..101, the administrator's password is cut to
// ten characters and reads as none when it holds a character that cannot be typed.
DaneIO wczytajIO(const platform::RegistryStore& reg, std::string_view aktualneIO);

// Writes every value of the institution key in the stored order ("Opcje" last), the passwords
// scrambled with the persons' must-change marks as `dane` holds them. Returns the "JedIO" that
// the key held before (0 when it held none), which names the unit subkeys stored so far.
int zapiszIO(platform::RegistryStore& reg, std::string_view aktualneIO, const DaneIO& dane);

// The program key's values that a save of the institution data writes with it.
void zapiszKluczProgramu(platform::RegistryStore& reg, std::string_view wersja, int IloscIO, int AktualIO);

// Whether a person's password is saved with the must-change mark: when the administrator typed it
// in this run, and for as long as the mark is pending from the stored value (the person has not
// chosen a new password yet). `osoba` is 0 or 1.
bool zapisZeZnakiem(std::uint8_t stanHasel, int osoba);

}  // namespace zelt
