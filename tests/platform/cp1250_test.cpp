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

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// What an edit does with typed or pasted text: the cleaned text, or refused.
TEST(Cp1250, CleanTypedBlanksControlsAndRefusesWhatTheCodePageCannotHold) {
  struct Case {
    const char* name;
    QString typed;
    bool accepted;
    QString stored;  // when accepted
  };
  const Case cases[] = {
      {"plain Polish text", u("Zażółć gęślą jaźń"), true, u("Zażółć gęślą jaźń")},
      {"tab", u("a\tb"), true, u("a b")},
      {"line feed and carriage return", u("a\r\nb"), true, u("a  b")},
      {"escape", u("a\x1b"), true, u("a ")},
      {"nul", QString(QChar(0)) + u("x"), true, u(" x")},
      {"delete", u("x\x7f"), true, u("x ")},
      {"C1 next line", QString(QChar(0x85)), true, u(" ")},
      {"Cyrillic password", u("Жук1"), false, {}},
      {"Greek", u("Έγγραφα"), false, {}},
      {"CJK", u("文档"), false, {}},
      {"beyond U+FFFF", u("a😀"), false, {}},
      {"lone surrogate", QString(QChar(0xD800)), false, {}},
      {"euro and quotes of the code page", u("€ „x”"), true, u("€ „x”")},
  };
  for (const auto& c : cases) {
    QString t = c.typed;
    EXPECT_EQ(cp1250::cleanTyped(t), c.accepted) << c.name;
    if (c.accepted) {
      EXPECT_EQ(t, c.stored) << c.name;
    }
  }
  // Folder paths keep any character; their controls are blanked all the same.
  QString folder = u("/home/Документы\t/文档/😀");
  EXPECT_TRUE(cp1250::cleanTyped(folder, true));
  EXPECT_EQ(folder, u("/home/Документы /文档/😀"));
}

TEST(Cp1250, ACharacterBeyondTheBasicPlaneGivesOneQuestionMark) {
  EXPECT_EQ(cp1250::fromUnicode(u("a😀b")), "a?b");
  EXPECT_EQ(cp1250::fromUnicode(u("😀😀")), "??");
  EXPECT_EQ(cp1250::fromUnicode(QString(QChar(0xDC00)) + u("x")), "?x");
  // Controls stay as they are: stored bytes come back from a widget unchanged.
  EXPECT_EQ(cp1250::fromUnicode(u("a\tb")), "a\tb");
}

TEST(Cp1250, ControlBytesBecomeBlanksStoredBytesFitForOneLine) {
  std::string bytes = std::string("a\tb\r\nc") + '\0' + "\x1b\x7f\x81\x83\x88\x90\x98" + "\xA3\xF3\x64\x9F\x80";
  EXPECT_EQ(cp1250::bezSterujacych(bytes), std::string("a b  c") + std::string(8, ' ') + "\xA3\xF3\x64\x9F\x80");
}

}  // namespace
