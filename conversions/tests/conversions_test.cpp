// The conversions, one table of named rows per behaviour.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <array>
#include <string>
#include <tuple>

#include "conversions/conversions.h"

using namespace conversions;

TEST(HextoDec, ReadsTheHexDigitsAndSkipsAllElse) {
    const std::tuple<const char*, std::u16string, std::int32_t> rows[] = {
        {"either case", u"aBcDeF", 0xABCDEF},
        {"other characters take no place", u"0x$G81-33h ", 0x8133},
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
        {"last byte of the first bank", u"3FFF", "EFBF", "EFFF"},
        {"first byte of the second bank", u"4010", "80", "C0"},
        {"second byte of the second bank", u"4011", "180", "1C0"},
        {"64 KB after the header", u"10010", "80", "C0"},
        {"largest offset", u"7FFFFFFF", "EFBF", "EFFF"},
    };
    for (const auto& [name, offset, type1, type2] : rows) {
        EXPECT_EQ(ComputePointerText(offset, true, false), type1) << name;
        EXPECT_EQ(ComputePointerText(offset, false, true), type2) << name;
    }
    EXPECT_EQ(ComputePointerText(u"8123", true, true), "13C1") << "Type 2 wins";
}

TEST(StringToHex, GivesEachCharactersCodeLess48) {
    const std::tuple<const char*, std::u16string, const char*> rows[] = {
        {"two digits, no case folding", u"Az09", " 11 4A 00 09"},
        {"four digits below 0", u" !/", " FFF0 FFF1 FFFF"},
        {"upper half, and a character not in the code page", u"\u00FF\u4E2D", " CF 0F"},
        {"outside the BMP: two code units", u"\U0001F600", " 0F 0F"},
    };
    for (const auto& [name, word, codes] : rows) {
        EXPECT_EQ(StringToHex(word), codes) << name;
    }
}

// The byte the system's own Windows-1252 converter gives a code unit: "?"
// where the code page has none (and, were the converter missing, for every
// unit, so that the test fails at once).
int SystemCode(char16_t unit) {
    char out = '?';
#ifdef _WIN32
    const wchar_t in = unit;
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &in, 1, &out, 1, nullptr, nullptr);
#else
    static const iconv_t toCodePage = iconv_open("WINDOWS-1252", "UTF-16LE");
    std::array<char, 2> in = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    char* inAt = in.data();
    char* outAt = &out;
    std::size_t inLeft = 2, outLeft = 1;
    iconv(toCodePage, &inAt, &inLeft, &outAt, &outLeft);
    iconv(toCodePage, nullptr, nullptr, nullptr, nullptr);  // forget a half surrogate
#endif
    return static_cast<unsigned char>(out);
}

// Each code unit against the system's converter. Beyond it, the full-width
// forms and the ideographic space stand for ASCII, and the five bytes the
// code page leaves undefined for the units of their value.
TEST(AnsiCode, FollowsWindows1252) {
    for (char16_t unit = 0; unit < 0xFFFF; ++unit) {
        int code = SystemCode(unit);
        if (unit >= u'\uFF01' && unit <= u'\uFF5E') {
            code = unit - 0xFEE0;
        } else if (unit == u'\u3000') {
            code = ' ';
        } else if (std::u16string_view(u"\x81\x8D\x8F\x90\x9D").find(unit) !=
                   std::u16string::npos) {
            code = unit;
        }
        ASSERT_EQ(AnsiCode(unit), code) << "U+" << std::hex << int{unit};
    }
}
