#pragma once
// The stored form of the three passwords of an institution: "OpOs1IO" and "OpOs2IO" for the two
// responsible persons and "Opcje" for the administrator. Each is a byte block in the program's own
// position-dependent scrambling, which existing installations rely on. It is not encryption:
// anyone holding the registry file can read the passwords back.
//
// All texts are Windows-1250 bytes; the arithmetic is modulo 256.
#include <cstddef>
#include <string>
#include <string_view>

namespace zelt::hasla {

enum class Rola { Osoba1, Osoba2, Administrator };

// The password edits and the new-password dialogue hold at most this many characters, which keeps
// every stored value readable.
constexpr std::size_t kMaxDlugosc = 10;

// The registry value that holds the role's password.
const char* nazwaWartosci(Rola rola);

// A password that may be stored: at most kMaxDlugosc characters and no control character: none
// below code 32 (the scrambling of such a character would wrap around), nor DEL, nor the five
// bytes that Windows-1250 leaves undefined (they stand for C1 controls). No keyboard types these,
// so a stored password holding one could never be entered.
bool dozwolone(std::string_view haslo);

// The stored bytes. `zmiana` is the must-change mark (+128 on the length byte); the administrator
// has no mark. The caller passes an allowed password; a longer one is cut to kMaxDlugosc.
std::string zakoduj(Rola rola, std::string_view haslo, bool zmiana = false);

// Bits of `stanHasel`, the byte that the institution window and the sign-in share.
namespace stan {
constexpr unsigned char kWpisane1 = 0x01;  // person 1's password typed in the institution window this run
constexpr unsigned char kWpisane2 = 0x02;  // the same for person 2
constexpr unsigned char kPierwszyWpis = 0x08;  // the new password's first entry is held
constexpr unsigned char kZmiana1 = 0x10;   // person 1 must choose a new password
constexpr unsigned char kZmiana2 = 0x20;   // person 2 must choose a new password
constexpr unsigned char kZmianaAdmin = 0x40;  // the administrator must choose one
constexpr unsigned char kPytanie = 0x80;   // a new password is being asked for
}  // namespace stan

struct Odczyt {
  std::string haslo;
  bool zmiana = false;  // the must-change mark (persons only)
};
// Reads stored bytes back. Only the bytes that are there are decoded: a length byte larger than
// the value gives the characters present, an empty value gives an empty password.
Odczyt odkoduj(Rola rola, std::string_view bajty);

}  // namespace zelt::hasla
