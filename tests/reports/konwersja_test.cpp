#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "reports/konwersja.h"
#include "reports/tablicekodowe.h"

using zelt::konwertujPL;
using zelt::uzupelnijZerami;
using zelt::wartoscRaportu;

namespace {

std::string b(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

using tablice::iconvert;

// The 18 rows written out from the letters' table: letter (UTF-8), plain, Mazovia, CP852,
// Windows-1250, ISO-8859-2.
struct Litera {
  const char* utf8;
  unsigned char k[5];
};
const Litera kLitery[18] = {
    {"Ą", {'A', 0x8F, 0xA4, 0xA5, 0xA1}}, {"Ć", {'C', 0x95, 0x8F, 0xC6, 0xC6}}, {"Ę", {'E', 0x90, 0xA8, 0xCA, 0xCA}},
    {"Ł", {'L', 0x9C, 0x9D, 0xA3, 0xA3}}, {"Ń", {'N', 0xA5, 0xE3, 0xD1, 0xD1}}, {"Ó", {'O', 0xA3, 0xE0, 0xD3, 0xD3}},
    {"Ś", {'S', 0x98, 0x97, 0x8C, 0xA6}}, {"Ź", {'Z', 0xA0, 0x8D, 0x8F, 0xAC}}, {"Ż", {'Z', 0xA1, 0xBD, 0xAF, 0xAF}},
    {"ą", {'a', 0x86, 0xA5, 0xB9, 0xB1}}, {"ć", {'c', 0x8D, 0x86, 0xE6, 0xE6}}, {"ę", {'e', 0x91, 0xA9, 0xEA, 0xEA}},
    {"ł", {'l', 0x92, 0x88, 0xB3, 0xB3}}, {"ń", {'n', 0xA4, 0xE4, 0xF1, 0xF1}}, {"ó", {'o', 0xA2, 0xA2, 0xF3, 0xF3}},
    {"ś", {'s', 0x9E, 0x98, 0x9C, 0xB6}}, {"ź", {'z', 0xA6, 0xAB, 0x9F, 0xBC}}, {"ż", {'z', 0xA7, 0xBE, 0xBF, 0xBF}},
};

std::string jeden(unsigned char c) { return std::string(1, static_cast<char>(c)); }

TEST(KonwertujPL, EveryLetterBetweenWindows1250AndIso8859_2) {
  for (const Litera& l : kLitery) {
    SCOPED_TRACE(l.utf8);
    const unsigned char win = l.k[3], iso = l.k[4];
    EXPECT_EQ(konwertujPL(jeden(win), 4, 5, false), jeden(iso));
    EXPECT_EQ(konwertujPL(jeden(iso), 5, 4, false), jeden(win));
    // A reference carries the ISO-8859-2 byte, whatever the target column.
    const std::string ref = "&#" + std::to_string(iso) + ";";
    EXPECT_EQ(konwertujPL(jeden(win), 4, 5, true), ref);
    EXPECT_EQ(konwertujPL(jeden(win), 4, 3, true), ref);
    EXPECT_EQ(konwertujPL(jeden(l.k[2]), 3, 2, false), jeden(l.k[1])) << "CP852 to Mazovia";
  }
}

TEST(KonwertujPL, TheTableAgreesWithTheSystemsCodePages) {
  for (std::size_t r = 0; r < 18; ++r) {
    const Litera& l = kLitery[r];
    SCOPED_TRACE(l.utf8);
    EXPECT_EQ(iconvert("CP852", "UTF-8", jeden(zelt::tabelaPL[r][2])), std::string(l.utf8));
    EXPECT_EQ(iconvert("WINDOWS-1250", "UTF-8", jeden(zelt::tabelaPL[r][3])), std::string(l.utf8));
    EXPECT_EQ(iconvert("ISO-8859-2", "UTF-8", jeden(zelt::tabelaPL[r][4])), std::string(l.utf8));
    for (int k = 0; k < 5; ++k) EXPECT_EQ(zelt::tabelaPL[r][k], l.k[k]) << "column " << k + 1;
  }
}

TEST(KonwertujPL, WordsAndBytesThatAreNoLetters) {
  const std::string lodz = b({0xA3, 0xF3, 'd', 0x9F});  // Łódź in Windows-1250
  EXPECT_EQ(konwertujPL(lodz, 4, 5, false), b({0xA3, 0xF3, 'd', 0xBC}));
  EXPECT_EQ(konwertujPL(lodz, 4, 5, true), "&#163;&#243;d&#188;");
  for (bool refs : {false, true}) {
    EXPECT_EQ(konwertujPL("& < ; 0123456789 \"AZaz\"", 4, 5, refs), "& < ; 0123456789 \"AZaz\"");
    EXPECT_EQ(konwertujPL("", 4, 5, refs), "");
  }
  // ISO-8859-2 letter bytes that are other characters in Windows-1250 pass 4 -> 5 untouched and
  // are recoded by 5 -> 4.
  const std::string iso = b({0xA1, 0xB1, 0xA6, 0xB6, 0xAC, 0xBC});
  EXPECT_EQ(konwertujPL(iso, 4, 5, false), iso);
  EXPECT_EQ(konwertujPL(iso, 5, 4, false), b({0xA5, 0xB9, 0x8C, 0x9C, 0x8F, 0x9F}));
  // Column 1 holds Z and z twice: the first row wins.
  EXPECT_EQ(konwertujPL("Zz", 1, 4, false), b({0x8F, 0x9F}));
}

TEST(KonwertujPL, ColumnsOutsideOneToFiveAreRefused) {
  for (auto [z, na] : {std::pair{0, 5}, {6, 5}, {4, 0}, {4, 6}, {-1, 5}})
    EXPECT_THROW(konwertujPL("x", z, na, false), std::invalid_argument) << z << " -> " << na;
}

TEST(WartoscRaportu, AllBytesAgainstTheSystemsConverter) {
  for (int i = 0; i < 256; ++i) {
    const auto c = static_cast<unsigned char>(i);
    SCOPED_TRACE(i);
    std::string plain, ref;
    // Controls become blanks: C0, DEL and the five bytes that stand for C1 controls.
    if (c < 0x20 || c == 0x7F || c == 0x81 || c == 0x83 || c == 0x88 || c == 0x90 || c == 0x98) {
      plain = ref = " ";
    } else if (auto iso = iconvert("WINDOWS-1250", "ISO-8859-2", jeden(c))) {
      plain = *iso;
      bool litera = false;
      for (const Litera& l : kLitery) litera = litera || l.k[3] == c;
      const auto ic = static_cast<unsigned char>((*iso)[0]);
      ref = (litera || ic != c) ? "&#" + std::to_string(ic) + ";" : plain;
    } else {
      plain = ref = "?";
    }
    EXPECT_EQ(wartoscRaportu(jeden(c), false), plain);
    EXPECT_EQ(wartoscRaportu(jeden(c), true), ref);
  }
}

TEST(WartoscRaportu, NamesAndControls) {
  // Šimon Žák: two letters beyond the 18 that ISO-8859-2 holds elsewhere; á is the same byte.
  const std::string szimon = b({0x8A, 'i', 'm', 'o', 'n', ' ', 0x8E, 0xE1, 'k'});
  EXPECT_EQ(wartoscRaportu(szimon, false), b({0xA9, 'i', 'm', 'o', 'n', ' ', 0xAE, 0xE1, 'k'}));
  EXPECT_EQ(wartoscRaportu(szimon, true), b({'&', '#', '1', '6', '9', ';', 'i', 'm', 'o', 'n', ' ', '&', '#', '1', '7',
                                              '4', ';', 0xE1, 'k'}));
  // ± (B1) would read as ą, € (80) and „ (84) have no place in ISO-8859-2.
  EXPECT_EQ(wartoscRaportu(b({0xB1, 0x80, 0x84, 'x'}), false), "???x");
  EXPECT_EQ(wartoscRaportu("a\r\nb\tc", false), "a  b c");
  EXPECT_EQ(wartoscRaportu(b({0xA3, 0xF3, 'd', 0x9F}), true), "&#163;&#243;d&#188;");
  EXPECT_EQ(wartoscRaportu("Kowalski & Syn; 12", true), "Kowalski & Syn; 12");
}

TEST(ZRaportu, EveryIso8859_2ByteAgainstTheSystemsConverter) {
  for (int i = 0; i < 256; ++i) {
    const auto c = static_cast<unsigned char>(i);
    SCOPED_TRACE(i);
    // A character of ISO-8859-2 comes back as its Windows-1250 byte; the C1 controls, which no
    // writer puts, stay as they are.
    const auto win = c >= 0xA0 ? iconvert("ISO-8859-2", "WINDOWS-1250", jeden(c)) : std::nullopt;
    if (c >= 0xA0) {
      ASSERT_TRUE(win) << "Windows-1250 holds every letter of ISO-8859-2";
    }
    EXPECT_EQ(zelt::zRaportu(jeden(c)), win ? *win : jeden(c));
  }
  const std::string koszyce = b({'K', 'o', 0xB9, 'i', 'c', 'e'});  // Košice as the writers put it
  EXPECT_EQ(zelt::zRaportu(koszyce), b({'K', 'o', 0x9A, 'i', 'c', 'e'}));
}

TEST(UzupelnijZerami, Table) {
  struct C {
    int szerokosc;
    const char* tekst;
    std::string wynik;
  } cases[] = {
      {8, " 123", "00000123"},        {25, "", std::string(25, '0')}, {2, "123", "123"},
      {8, "   ", "00000000"},         {3, "0012", "0012"},            {0, "7", "7"},
      {-3, "7", "7"},                 {5, "1 2", "001 2"},            {5, "12 ", "0012 "},
  };
  for (const C& c : cases) EXPECT_EQ(uzupelnijZerami(c.szerokosc, c.tekst), c.wynik) << c.szerokosc << " '" << c.tekst << "'";
}

}  // namespace
