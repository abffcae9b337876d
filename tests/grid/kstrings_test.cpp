// The comma text of cells and the forgiving number conversion.
#include <gtest/gtest.h>

#include <climits>

#include "grid/kstrings.h"
#include "grid/kutils.h"
#include "platform/cp1250.h"

using namespace kgrid;

namespace {

struct CommaCase {
  const char* name;
  std::string text;    // the cell's text
  std::string stored;  // its comma text
  std::string back;    // what reading the cell gives
};
void PrintTo(const CommaCase& c, std::ostream* os) { *os << c.name; }

class CommaText : public ::testing::TestWithParam<CommaCase> {};

TEST_P(CommaText, StoresAndReadsBack) {
  const CommaCase& c = GetParam();
  EXPECT_EQ(KStrings::LinesToCommaText(c.text), c.stored);
  EXPECT_EQ(KStrings::CommaTextToLines(c.stored), c.back);
  // Appended after a column's earlier texts, it leaves them as they were.
  std::string kolumna = "\"a b\",";
  KStrings::AppendLinesAsCommaText(kolumna, c.text);
  EXPECT_EQ(kolumna, "\"a b\"," + c.stored);
}

const std::string lodz = cp1250::fromUtf8("Łódź");

INSTANTIATE_TEST_SUITE_P(
    Cells, CommaText,
    ::testing::Values(
        CommaCase{"Plain", "abc", "abc", "abc"},
        CommaCase{"Empty", "", "", ""},
        CommaCase{"SurnameCommaName", "Kowalski, Jan", "\"Kowalski, Jan\"", "Kowalski, Jan"},
        CommaCase{"LeadingBlanks", "  lead", "\"  lead\"", "  lead"},
        CommaCase{"TrailingBlank", "trail ", "\"trail \"", "trail "},
        CommaCase{"InnerQuote", "say \"hi\"", "\"say \"\"hi\"\"\"", "say \"hi\""},
        CommaCase{"OnlyQuotes", "\"\"", "\"\"\"\"\"\"", "\"\""},
        CommaCase{"QuotesAtBothEnds", "\"x\"", "\"\"\"x\"\"\"", "\"x\""},
        CommaCase{"TwoLines", "a\r\nb", "a,b", "a\r\nb"},
        CommaCase{"TrailingLineEnd", "a\r\n", "a,", "a\r\n"},
        CommaCase{"LfOnly", "x\ny", "x,y", "x\r\ny"},
        CommaCase{"CrOnly", "a\rb", "a,b", "a\r\nb"},
        CommaCase{"QuotedLineOfTwo", "x y\r\nz", "\"x y\",z", "x y\r\nz"},
        CommaCase{"EmptyMiddleLine", "a\r\n\r\nb", "a,,b", "a\r\n\r\nb"},
        // Bytes above 127 are letters, not control characters: no quotes.
        CommaCase{"PolishLetters", lodz, lodz, lodz},
        // The first CR ends the line; an LF before it stays inside the quoted line.
        CommaCase{"LfBeforeCr", "a\nb\rc", "\"a\nb\",c", "a\nb\r\nc"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadCase {
  const char* name;
  std::string stored;
  std::string back;
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class CommaTextReader : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CommaTextReader, Reads) {
  EXPECT_EQ(KStrings::CommaTextToLines(GetParam().stored), GetParam().back);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CommaTextReader,
    ::testing::Values(ReadCase{"BlankJoinsItems", "a b", "ab"},
                      ReadCase{"UnterminatedQuote", "\"abc", "abc"},
                      ReadCase{"UnterminatedAfterDoubledQuote", "\"ab\"\"", "ab\""},
                      ReadCase{"NulEndsTheText", std::string("ab\0,cd", 6), "ab"},
                      ReadCase{"NulInsideQuotes", std::string("\"a\0b\",c", 7), "a"},
                      ReadCase{"OnlyNul", std::string("\0\0", 2), ""},
                      ReadCase{"BlanksAroundCommas", "  a , b  ", "a\r\nb"},
                      ReadCase{"OnlyCommas", ",,", "\r\n\r\n"},
                      ReadCase{"QuoteRightAfterItem", "\"ab\"cd", "abcd"}),
    [](const auto& info) { return std::string(info.param.name); });

struct IntCase {
  const char* text;
  std::int32_t value;
};
void PrintTo(const IntCase& c, std::ostream* os) { *os << c.text; }

class SafeStrToInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(SafeStrToInt, Converts) {
  EXPECT_EQ(KUtils::SafeStrToInt(GetParam().text), GetParam().value) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SafeStrToInt,
    ::testing::Values(IntCase{" 42 ", 42}, IntCase{"\t7\r\n", 7}, IntCase{"12abc", 12}, IntCase{"abc", 0},
                      IntCase{"", 0}, IntCase{"   ", 0}, IntCase{"-7", -7}, IntCase{"+5", 5},
                      IntCase{"$1F", 31}, IntCase{"$ffffffff", -1}, IntCase{"-$10", -16},
                      IntCase{"-12abc", 0}, IntCase{"2147483647", INT32_MAX},
                      IntCase{"-2147483648", INT32_MIN},
                      // too big for 32 bits: saturated, never an exception
                      IntCase{"99999999999", INT32_MAX}, IntCase{"2147483648", INT32_MAX},
                      IntCase{"99999999999zz", INT32_MAX}, IntCase{"-99999999999", 0},
                      IntCase{"$123456789", 0}, IntCase{"12 34", 12}));

TEST(IsDigitChar, OnlyAsciiDigits) {
  for (int c = 0; c < 256; ++c)
    EXPECT_EQ(KUtils::IsDigitChar(char(c)), c >= '0' && c <= '9') << c;
}

}  // namespace
