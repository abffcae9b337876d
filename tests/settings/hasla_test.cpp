// The stored passwords against bytes worked out by hand from the scrambling rules: person 1
// (c - 30) XOR (j + 39), person 2 (c - 32) XOR (j + 27), the administrator 13 zero bytes and then
// (c - 18) XOR (k + 45); byte 0 is the value's length, +128 for a person's must-change mark.
#include <gtest/gtest.h>

#include <string>

#include "platform/cp1250.h"
#include "settings/hasla.h"

namespace {

using zelt::hasla::Rola;

std::string bajty(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s.push_back(static_cast<char>(v));
  return s;
}

std::string zera(int n) { return std::string(static_cast<size_t>(n), '\0'); }

struct Przypadek {
  const char* opis;
  Rola rola;
  std::string haslo;  // Windows-1250
  bool zmiana;
  std::string zapis;
};

const Przypadek kPrzypadki[] = {
    {"person 1 abc", Rola::Osoba1, "abc", false, bajty({0x04, 0x6B, 0x6D, 0x6F})},
    {"person 1 abc, must change", Rola::Osoba1, "abc", true, bajty({0x84, 0x6B, 0x6D, 0x6F})},
    {"person 1 empty", Rola::Osoba1, "", false, bajty({0x01})},
    {"person 1 empty, must change", Rola::Osoba1, "", true, bajty({0x81})},
    {"person 2 empty", Rola::Osoba2, "", false, bajty({0x01})},
    {"person 2 ab", Rola::Osoba2, "ab", false, bajty({0x03, 0x5D, 0x5F})},
    {"person 2 a blank", Rola::Osoba2, " ", false, bajty({0x02, 0x1C})},
    {"person 2 ab, must change", Rola::Osoba2, "ab", true, bajty({0x83, 0x5D, 0x5F})},
    {"administrator empty", Rola::Administrator, "", false, bajty({0x0E}) + zera(13)},
    {"administrator has no mark", Rola::Administrator, "", true, bajty({0x0E}) + zera(13)},
    {"administrator abc", Rola::Administrator, "abc", false, bajty({0x11}) + zera(13) + bajty({0x61, 0x7F, 0x61})},
    {"administrator ten digits: 24 bytes", Rola::Administrator, "0123456789", false,
     bajty({0x18}) + zera(13) + bajty({0x30, 0x30, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10})},
    {"person 1 a-ogonek", Rola::Osoba1, "\xB9", false, bajty({0x02, 0xB3})},
    {"person 2 a-ogonek", Rola::Osoba2, "\xB9", false, bajty({0x02, 0x85})},
    {"administrator a-ogonek", Rola::Administrator, "\xB9", false, bajty({0x0F}) + zera(13) + bajty({0x89})},
    {"person 1 L-stroke", Rola::Osoba1, "\xA3", false, bajty({0x02, 0xAD})},
};

TEST(Hasla, StoredBytesOfEachRole) {
  for (const auto& c : kPrzypadki) EXPECT_EQ(zelt::hasla::zakoduj(c.rola, c.haslo, c.zmiana), c.zapis) << c.opis;
}

TEST(Hasla, StoredBytesReadBack) {
  for (const auto& c : kPrzypadki) {
    const auto r = zelt::hasla::odkoduj(c.rola, c.zapis);
    EXPECT_EQ(r.haslo, c.haslo) << c.opis;
    EXPECT_EQ(r.zmiana, c.zmiana && c.rola != Rola::Administrator) << c.opis;
  }
}

TEST(Hasla, PolishLettersFromTheEditSurviveTheTrip) {
  const std::string haslo = cp1250::fromUtf8("żółć ĄŚ");
  for (Rola r : {Rola::Osoba1, Rola::Osoba2, Rola::Administrator})
    EXPECT_EQ(zelt::hasla::odkoduj(r, zelt::hasla::zakoduj(r, haslo)).haslo, haslo);
}

// Values that this program never writes (another tool, a damaged store) decode to the characters
// that are really there, never to bytes beyond the value.
TEST(Hasla, MalformedValuesDecodeOnlyWhatIsThere) {
  struct Zly {
    const char* opis;
    Rola rola;
    std::string zapis;
    std::string haslo;
    bool zmiana;
  };
  const std::string abc = bajty({0x6B, 0x6D, 0x6F});
  const std::string dlugi = bajty({0x04}) + abc + std::string(26, '\x55');  // 30 bytes, length byte 4
  const Zly przypadki[] = {
      {"length byte 127, four bytes present", Rola::Osoba1, bajty({0x7F}) + abc, "abc", false},
      {"length byte 127 with the mark", Rola::Osoba1, bajty({0xFF}) + abc, "abc", true},
      {"30 bytes, length byte 4", Rola::Osoba1, dlugi, "abc", false},
      {"empty value", Rola::Osoba1, "", "", false},
      {"length byte 0", Rola::Osoba2, bajty({0x00, 0x5D}), "", false},
      {"administrator shorter than its zeros", Rola::Administrator, bajty({0x11, 0, 0, 0}), "", false},
      {"administrator length beyond the value", Rola::Administrator, bajty({0x7F}) + zera(13) + bajty({0x61}), "a",
       false},
      {"administrator length below its zeros", Rola::Administrator, bajty({0x05}) + zera(13) + bajty({0x61}), "",
       false},
  };
  for (const auto& c : przypadki) {
    const auto r = zelt::hasla::odkoduj(c.rola, c.zapis);
    EXPECT_EQ(r.haslo, c.haslo) << c.opis;
    EXPECT_EQ(r.zmiana, c.zmiana) << c.opis;
  }
}

TEST(Hasla, OnlyShortPrintablePasswordsMayBeStored) {
  const std::pair<std::string, bool> przypadki[] = {
      {"", true},           {"0123456789", true}, {"01234567890", false}, {" ", true},
      {"ab\x1F" "c", false}, {"\t", false},       {"\xB9\xEA", true},
      // DEL and the bytes that Windows-1250 leaves undefined stand for controls no key types.
      {"a\x7F", false},      {"\x81", false},     {"\x83", false},        {"\x88", false},
      {"\x90", false},       {"\x98", false},     {"\x80\xA0\xFF", true},
  };
  for (const auto& [haslo, ok] : przypadki) EXPECT_EQ(zelt::hasla::dozwolone(haslo), ok) << haslo;
}

}  // namespace
