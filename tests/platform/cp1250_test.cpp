#include <gtest/gtest.h>
#include <iconv.h>

#include "platform/cp1250.h"

namespace {

// The system's iconv is an independent table for the 251 defined bytes.
TEST(Cp1250, DefinedBytesMatchIconv) {
  iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1250");
  ASSERT_NE(cd, (iconv_t)-1);
  int defined = 0;
  for (int b = 0; b < 256; ++b) {
    char in = static_cast<char>(b);
    char16_t out[2] = {0, 0};
    char* ip = &in;
    char* op = reinterpret_cast<char*>(out);
    size_t il = 1, ol = sizeof(out);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1)) continue;  // undefined in iconv
    ++defined;
    EXPECT_EQ(cp1250::toUnicode(static_cast<unsigned char>(b)), out[0]) << "byte " << b;
  }
  iconv_close(cd);
  EXPECT_EQ(defined, 251);
}

TEST(Cp1250, UndefinedBytesSurviveATripThroughText) {
  for (unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
    EXPECT_EQ(cp1250::toUnicode(b), char16_t(b));
    std::string s(1, static_cast<char>(b));
    EXPECT_EQ(cp1250::fromUnicode(cp1250::toUnicode(s)), s);
  }
}

TEST(Cp1250, AllBytesRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(cp1250::fromUnicode(cp1250::toUnicode(all)), all);
}

TEST(Cp1250, PolishLettersAndUnencodable) {
  EXPECT_EQ(cp1250::fromUtf8("Łódź"), std::string("\xA3\xF3\x64\x9F"));
  EXPECT_EQ(cp1250::fromUtf8("zażółć gęślą jaźń"), std::string("za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1"));
  // Characters outside the code page become '?', one per character.
  EXPECT_EQ(cp1250::fromUnicode(QString::fromUtf8("a\u65E5b\u00F1")), "a?b?");
}

// Upper case as the prints write into boxes: only to a letter the code page holds.
TEST(Cp1250, UpperCaseStaysInTheCodePage) {
  struct Case {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"ascii", "abc xyz 09;", "ABC XYZ 09;"},
      {"polish", "\xBF\xF3\xB3\xE6", "\xAF\xD3\xA3\xC6"},                     // żółć
      {"polish rest", "\xB9\xEA\x9C\x9F\xF1", "\xA5\xCA\x8C\x8F\xD1"},     // ąęśźń
      {"already upper", "\xAF\xD3\xA3\xC6 ABC", "\xAF\xD3\xA3\xC6 ABC"},
      {"czech and slovak", "\x9A\x9E\x9D\xBE\xE0\xF8", "\x8A\x8E\x8D\xBC\xC0\xD8"},  // šžťľŕř
      {"sharp s has a two-letter upper case", "\xDF", "\xDF"},
      {"micro's upper case is Greek", "\xB5", "\xB5"},
      {"undefined and control bytes", std::string("\x81\x98\x01\x00", 4), std::string("\x81\x98\x01\x00", 4)},
  };
  for (const auto& c : cases) EXPECT_EQ(cp1250::toUpper(c.in), c.out) << c.name;
  // No byte turns into a different letter: lower-casing the result through Unicode gives back
  // the byte, or the byte was left alone.
  for (int b = 0; b < 256; ++b) {
    const unsigned char u = cp1250::toUpper(static_cast<unsigned char>(b));
    if (u == b) continue;
    EXPECT_EQ(QString(QChar(cp1250::toUnicode(u))).toLower(), QString(QChar(cp1250::toUnicode(static_cast<unsigned char>(b)))))
        << "byte " << b;
  }
}

}  // namespace
