#include "settings/hasla.h"

#include <algorithm>

namespace zelt::hasla {

namespace {

// Per role: the offset subtracted from each character, the base of the position's XOR key, and
// how many bytes precede the characters (the length byte, and the administrator's 13 zeros).
struct Klucz {
  int przesuniecie;
  int baza;
  std::size_t naglowek;
};

Klucz klucz(Rola rola) {
  switch (rola) {
    case Rola::Osoba1: return {30, 39, 1};
    case Rola::Osoba2: return {32, 27, 1};
    case Rola::Administrator: return {18, 45, 14};
  }
  return {30, 39, 1};
}

unsigned char bajt(int v) { return static_cast<unsigned char>(v & 0xFF); }

}  // namespace

const char* nazwaWartosci(Rola rola) {
  switch (rola) {
    case Rola::Osoba1: return "OpOs1IO";
    case Rola::Osoba2: return "OpOs2IO";
    case Rola::Administrator: return "Opcje";
  }
  return "";
}

bool dozwolone(std::string_view haslo) {
  auto znak = [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 32 && b != 0x7F && b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98;
  };
  return haslo.size() <= kMaxDlugosc && std::all_of(haslo.begin(), haslo.end(), znak);
}

std::string zakoduj(Rola rola, std::string_view haslo, bool zmiana) {
  const Klucz k = klucz(rola);
  haslo = haslo.substr(0, kMaxDlugosc);
  std::string out(k.naglowek + haslo.size(), '\0');
  int dlugosc = static_cast<int>(out.size());
  if (zmiana && rola != Rola::Administrator) dlugosc += 128;
  out[0] = static_cast<char>(bajt(dlugosc));
  for (std::size_t j = 1; j <= haslo.size(); ++j) {
    const int c = static_cast<unsigned char>(haslo[j - 1]);
    const int pozycja = static_cast<int>(j);
    out[k.naglowek - 1 + j] = static_cast<char>(bajt((c - k.przesuniecie) ^ (pozycja + k.baza)));
  }
  return out;
}

Odczyt odkoduj(Rola rola, std::string_view bajty) {
  Odczyt r;
  if (bajty.empty()) return r;
  const Klucz k = klucz(rola);
  const unsigned char pierwszy = static_cast<unsigned char>(bajty[0]);
  if (rola != Rola::Administrator) r.zmiana = (pierwszy & 0x80) != 0;
  const std::size_t n = pierwszy & 0x7F;
  // The length byte names the whole value; never decode more than the value holds.
  const std::size_t dlugosc = std::min(n, bajty.size());
  if (dlugosc <= k.naglowek) return r;
  for (std::size_t j = 1; j <= dlugosc - k.naglowek; ++j) {
    const int b = static_cast<unsigned char>(bajty[k.naglowek - 1 + j]);
    r.haslo.push_back(static_cast<char>(bajt((b ^ (static_cast<int>(j) + k.baza)) + k.przesuniecie)));
  }
  return r;
}

}  // namespace zelt::hasla
