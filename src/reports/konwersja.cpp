#include "reports/konwersja.h"

#include <stdexcept>

#include "platform/cp1250.h"

namespace zelt {

const std::array<std::array<unsigned char, 5>, 18> tabelaPL = {{
    {'A', 0x8F, 0xA4, 0xA5, 0xA1},  // Ą
    {'C', 0x95, 0x8F, 0xC6, 0xC6},  // Ć
    {'E', 0x90, 0xA8, 0xCA, 0xCA},  // Ę
    {'L', 0x9C, 0x9D, 0xA3, 0xA3},  // Ł
    {'N', 0xA5, 0xE3, 0xD1, 0xD1},  // Ń
    {'O', 0xA3, 0xE0, 0xD3, 0xD3},  // Ó
    {'S', 0x98, 0x97, 0x8C, 0xA6},  // Ś
    {'Z', 0xA0, 0x8D, 0x8F, 0xAC},  // Ź
    {'Z', 0xA1, 0xBD, 0xAF, 0xAF},  // Ż
    {'a', 0x86, 0xA5, 0xB9, 0xB1},  // ą
    {'c', 0x8D, 0x86, 0xE6, 0xE6},  // ć
    {'e', 0x91, 0xA9, 0xEA, 0xEA},  // ę
    {'l', 0x92, 0x88, 0xB3, 0xB3},  // ł
    {'n', 0xA4, 0xE4, 0xF1, 0xF1},  // ń
    {'o', 0xA2, 0xA2, 0xF3, 0xF3},  // ó
    {'s', 0x9E, 0x98, 0x9C, 0xB6},  // ś
    {'z', 0xA6, 0xAB, 0x9F, 0xBC},  // ź
    {'z', 0xA7, 0xBE, 0xBF, 0xBF},  // ż
}};

namespace {

// For each source column, each byte's row in tabelaPL (the first that matches), or -1.
using Wiersze = std::array<std::array<signed char, 256>, 5>;

const Wiersze& wiersze() {
  static const Wiersze w = [] {
    Wiersze t;
    for (auto& kolumna : t) kolumna.fill(-1);
    for (int k = 0; k < 5; ++k)
      for (int r = 17; r >= 0; --r) t[k][tabelaPL[r][k]] = static_cast<signed char>(r);  // first row wins
    return t;
  }();
  return w;
}

void dopiszOdwolanie(std::string& out, unsigned char iso) {
  out += "&#";
  out += std::to_string(iso);
  out += ';';
}

// ISO-8859-2 bytes 0xA0..0xFF; below them it is ASCII and the C1 controls.
constexpr char16_t kIsoGorne[96] = {
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164,
    0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102,
    0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170,
    0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3,
    0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// What one Windows-1250 byte becomes in a report value.
struct Bajt {
  unsigned char iso;
  bool odwolanie;  // written as a reference in XML
};

const std::array<Bajt, 256>& mapaRaportu() {
  static const std::array<Bajt, 256> m = [] {
    std::array<Bajt, 256> t{};
    for (int b = 0; b < 256; ++b) {
      const auto bajt = static_cast<unsigned char>(b);
      // The code-page layer's cleaning decides which bytes are controls.
      const std::string czysty = cp1250::bezSterujacych(std::string(1, static_cast<char>(bajt)));
      const auto c = static_cast<unsigned char>(czysty[0]);
      if (c < 0x80) {
        t[b] = {c, false};
        continue;
      }
      if (const int r = wiersze()[kWindows1250 - 1][c]; r >= 0) {
        t[b] = {tabelaPL[r][kIso8859_2 - 1], true};
        continue;
      }
      const char16_t u = cp1250::toUnicode(c);
      t[b] = {'?', false};  // no such character in ISO-8859-2, or none at all in Windows-1250
      for (int i = 0; i < 96; ++i)
        if (kIsoGorne[i] == u) t[b] = {static_cast<unsigned char>(0xA0 + i), 0xA0 + i != c};
    }
    return t;
  }();
  return m;
}

// For each ISO-8859-2 byte, the Windows-1250 byte that mapaRaportu turns into it; the byte itself
// for one that no Windows-1250 byte becomes. Two characters never share an ISO-8859-2 byte, so
// the inverse is whole.
const std::array<unsigned char, 256>& mapaImportu() {
  static const std::array<unsigned char, 256> m = [] {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
    const auto& raport = mapaRaportu();
    for (int b = 0x80; b < 256; ++b)
      if (raport[b].iso >= 0x80) t[raport[b].iso] = static_cast<unsigned char>(b);
    return t;
  }();
  return m;
}

}  // namespace

std::string konwertujPL(std::string_view tekst, int z, int na, bool odwolania) {
  if (z < 1 || z > 5 || na < 1 || na > 5)
    throw std::invalid_argument("konwertujPL: kolumna spoza 1..5 (" + std::to_string(z) + ", " + std::to_string(na) + ")");
  const auto& wz = wiersze()[z - 1];
  std::string out;
  out.reserve(tekst.size());
  for (char ch : tekst) {
    const int r = wz[static_cast<unsigned char>(ch)];
    if (r < 0)
      out.push_back(ch);
    else if (odwolania)
      dopiszOdwolanie(out, tabelaPL[r][kIso8859_2 - 1]);
    else
      out.push_back(static_cast<char>(tabelaPL[r][na - 1]));
  }
  return out;
}

std::string uzupelnijZerami(std::int32_t szerokosc, std::string_view tekst) {
  std::size_t i = 0;
  while (i < tekst.size() && tekst[i] == ' ') ++i;
  tekst.remove_prefix(i);
  std::string out;
  if (szerokosc > 0 && tekst.size() < static_cast<std::size_t>(szerokosc))
    out.assign(static_cast<std::size_t>(szerokosc) - tekst.size(), '0');
  out += tekst;
  return out;
}

std::string wartoscRaportu(std::string_view tekst, bool odwolania) {
  const auto& m = mapaRaportu();
  std::string out;
  out.reserve(tekst.size());
  for (char ch : tekst) {
    const Bajt& b = m[static_cast<unsigned char>(ch)];
    if (odwolania && b.odwolanie)
      dopiszOdwolanie(out, b.iso);
    else
      out.push_back(static_cast<char>(b.iso));
  }
  return out;
}

std::string zRaportu(std::string_view tekst) {
  const auto& m = mapaImportu();
  std::string out(tekst);
  for (char& ch : out) ch = static_cast<char>(m[static_cast<unsigned char>(ch)]);
  return out;
}

}  // namespace zelt
