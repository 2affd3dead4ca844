#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "conversions/conversions.h"
#include "expect_overflow.h"

using namespace conversions;

TEST(HextoDec, ReadsTheHexDigitsAndSkipsEverythingElse) {
    struct Row {
        const char* name;
        std::u16string text;
        std::int32_t value;
    };
    const Row rows[] = {
        {"empty", u"", 0},
        {"no digits", u"zz", 0},
        {"mixed case", u"aBcD", 0xABCD},
        {"largest", u"7FFFFFFF", 0x7FFFFFFF},
        {"C prefix", u"0x8133", 0x8133},
        {"trailing space from a paste", u"8133 ", 0x8133},
        {"spaced bytes", u" 81 33 ", 0x8133},
        {"dash between digits", u"1-2", 0x12},
        {"letters past F", u"G1H2", 0x12},
        {"full-width digits", u"\uFF18\uFF11\uFF12\uFF13", 0x8123},
        {"full-width prefix", u"\uFF10\uFF58\uFF18\uFF11\uFF13\uFF13", 0x8133},
        {"full-width lower case", u"\uFF46\uFF46", 0xFF},
        {"leading zeros", u"0000000000007FFFFFFF", 0x7FFFFFFF},
        {"zero then 255 non-digits", u"0" + std::u16string(255, u'-'), 0},
        {"300 zeros then one", std::u16string(300, u'0') + u"1", 1},
        {"32766 spaces", std::u16string(32766, u' '), 0},
        {"digit at the end of the longest text", std::u16string(32765, u' ') + u"A", 10},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HextoDec(row.text), row.value) << row.name;
    }
}

TEST(HextoDec, RaisesOverflowAbove7FFFFFFFOrForTooLongTexts) {
    struct Row {
        const char* name;
        std::u16string text;
    };
    const Row rows[] = {
        {"just above", u"80000000"},
        {"all ones", u"FFFFFFFF"},
        {"spaced nine digits", u"1 0000 0000"},
        {"shifted past the top", u"7FFFFFFF0"},
        {"32767 spaces", std::u16string(32767, u' ')},
        {"40000 digits", std::u16string(40000, u'0')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectOverflow([&] { HextoDec(row.text); });
    }
}
