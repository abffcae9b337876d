#include "platform/cp1250.h"

#include <array>
#include <optional>
#include <unordered_map>

namespace cp1250 {
namespace {

// Bytes 0x80..0xFF; below 0x80 the code page is ASCII.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

const std::unordered_map<char16_t, unsigned char>& reverseTable() {
  static const auto table = [] {
    std::unordered_map<char16_t, unsigned char> t;
    for (int i = 0; i < 128; ++i) t.emplace(kHigh[i], static_cast<unsigned char>(0x80 + i));
    return t;
  }();
  return table;
}

}  // namespace

char16_t toUnicode(unsigned char byte) {
  return byte < 0x80 ? char16_t(byte) : kHigh[byte - 0x80];
}

QString toUnicode(std::string_view bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) out.append(QChar(toUnicode(static_cast<unsigned char>(c))));
  return out;
}

namespace {

// The byte of a code point, or nothing when the code page cannot hold it.
std::optional<char> encode(char32_t c) {
  if (c < 0x80) return static_cast<char>(c);
  if (c > 0xFFFF) return std::nullopt;
  const auto& rev = reverseTable();
  auto it = rev.find(static_cast<char16_t>(c));
  if (it == rev.end()) return std::nullopt;
  return static_cast<char>(it->second);
}

// Calls f(code point, index of its first unit, units) for each character; a lone surrogate is one
// character that no code page holds.
template <class F>
void eachCodePoint(const QString& text, F f) {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n;) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
      f(QChar::surrogateToUcs4(c, text[i + 1].unicode()), i, 2);
      i += 2;
    } else {
      f(char32_t(c), i, 1);
      ++i;
    }
  }
}

}  // namespace

bool holds(char32_t c) {
  if (c >= 0xD800 && c <= 0xDFFF) return false;
  return encode(c).has_value();
}

std::string fromUnicode(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  eachCodePoint(text, [&](char32_t c, qsizetype, int) {
    const auto b = holds(c) ? encode(c) : std::nullopt;
    out.push_back(b ? *b : '?');
  });
  return out;
}

bool isControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

bool cleanTyped(QString& text, bool anyCharacter) {
  bool ok = true;
  eachCodePoint(text, [&](char32_t c, qsizetype i, int) {
    if (isControl(c)) text[i] = u' ';
    else if (!anyCharacter && !holds(c)) ok = false;
  });
  return ok;
}

std::string bezSterujacych(std::string_view bytes) {
  std::string out(bytes);
  for (char& b : out)
    if (isControl(toUnicode(static_cast<unsigned char>(b)))) b = ' ';
  return out;
}

std::string fromUtf8(std::string_view utf8) {
  return fromUnicode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString toQ(std::string_view bytes) { return toUnicode(bytes); }


unsigned char toUpper(unsigned char byte) {
  static const auto table = [] {
    std::array<unsigned char, 256> t{};
    const auto& rev = reverseTable();
    for (int b = 0; b < 256; ++b) {
      t[b] = static_cast<unsigned char>(b);
      const QString up = QString(QChar(toUnicode(static_cast<unsigned char>(b)))).toUpper();
      if (up.size() != 1) continue;
      const char16_t c = up[0].unicode();
      if (c < 0x80) {
        t[b] = static_cast<unsigned char>(c);
      } else if (auto it = rev.find(c); it != rev.end()) {
        t[b] = it->second;
      }
    }
    return t;
  }();
  return table[byte];
}

std::string toUpper(std::string_view bytes) {
  std::string out(bytes);
  for (char& c : out) c = static_cast<char>(toUpper(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace cp1250
