// The conversions, one table of named rows per behaviour.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>

#include "conversions/conversions.h"

using namespace conversions;

TEST(HextoDec, ReadsTheHexDigitsAndSkipsAllElse) {
    const std::tuple<const char*, std::u16string, std::int32_t> rows[] = {
        {"either case", u"aBcDeF", 0xABCDEF},
        {"other characters take no place", u"0x$G81 -  33h:@/`g\u0080    ", 0x8133},
        {"full-width", u"０ｘ８１ｆＦ", 0x81FF},
        {"largest", u"7FFFFFFF", 0x7FFFFFFF},
        {"leading zeros", std::u16string(300, u'0') + u"7FFFFFFF", 0x7FFFFFFF},
        {"longest text", std::u16string(32765, u' ') + u"A", 10},
    };
    for (const auto& [name, text, value] : rows) {
        EXPECT_EQ(HextoDec(text), value) << name;
    }
    EXPECT_THROW(HextoDec(u"80000000"), ArithmeticOverflow) << "just above the largest";
    EXPECT_THROW(HextoDec(std::u16string(32767, u' ')), ArithmeticOverflow) << "one unit longer";
}

TEST(ComputePointerText, FoldsTheOffsetIntoTheSelectedBank) {
    const std::tuple<const char*, std::u16string, const char*, const char*> rows[] = {
        {"inside the header", u"F", "80", "C0"},
        {"first byte after the header", u"10", "80", "C0"},
        {"second byte after the header", u"11", "180", "1C0"},
        {"last byte of the first bank", u"3FFF", "EFBF", "EFFF"},
        {"first byte of the second bank", u"4010", "80", "C0"},
        {"second byte of the second bank", u"4011", "180", "1C0"},
        {"largest offset", u"7FFFFFFF", "EFBF", "EFFF"},
    };
    for (const auto& [name, offset, type1, type2] : rows) {
        EXPECT_EQ(ComputePointerText(offset, true, false), type1) << name;
        EXPECT_EQ(ComputePointerText(offset, false, true), type2) << name;
    }
    EXPECT_EQ(ComputePointerText(u"8123", true, true), "13C1") << "Type 2 wins";
    EXPECT_EQ(ComputePointerText(u"10", false, false), "0") << "neither type: base 0";
}

TEST(Subtract16, RaisesOverflowJustPastTheRange) {
    EXPECT_EQ(Subtract16(-32720, 48), -32768);
    EXPECT_THROW(Subtract16(-32721, 48), ArithmeticOverflow);
}

// Each character's code on its own is checked against the system's code
// page below; here, how the codes of a word stand together.
TEST(StringToHex, GivesOneCodePerCodeUnitEachAfterASpace) {
    EXPECT_EQ(StringToHex(u"Az0 \U0001F600"), " 11 4A 00 FFF0 0F 0F");
    EXPECT_EQ(StringToHex(u""), "");
}

TEST(AnsiCodePageOfLanguage, IsWindowsCodePageForTheLanguage) {
    const std::tuple<const char*, std::string, unsigned> rows[] = {
        {"BCP 47 tag, upper case", "UK-UA", 1251},
        {"Serbian: Cyrillic by default", "sr_RS.UTF-8", 1251},
        {"Serbian: Latin by script", "sr-Latn-RS", 1250},
        {"Uzbek: Cyrillic by modifier", "uz_UZ@cyrillic", 1251},
        {"Azerbaijani: Cyrillic by script", "az-Cyrl", 1251},
        {"Chinese: Hong Kong", "zh-HK", 950},
        {"Chinese: traditional script", "zh-Hant", 950},
        {"Chinese: simplified script in Hong Kong", "zh-Hans-HK", 936},
        {"Hebrew, by its old code", "iw", 1255},
        {"two codes", "sk sl", 1252},
        {"none", "", 1252},
        {"a modifier alone", "@latin", 1252},
        {"a script no rule needs", "en-Cyrl", 1252},
        {"garbage", std::string(10000, '\xFF') + "_-.@", 1252},
    };
    for (const auto& [name, language, codePage] : rows) {
        EXPECT_EQ(AnsiCodePageOfLanguage(language), codePage) << name;
    }
}
