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

}  // namespace
