#include <array>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "conversions/conversions.h"
#include "expect_overflow.h"

using namespace conversions;

TEST(HexDigits16, FormatsWithoutLeadingZerosAndNegativesAsFourDigits) {
    struct Row {
        const char* name;
        std::int16_t value;
        const char* hex;
    };
    const Row rows[] = {
        {"zero", 0, "0"},
        {"one digit", 15, "F"},
        {"two digits", 16, "10"},
        {"byte", 255, "FF"},
        {"largest", 32767, "7FFF"},
        {"minus one", -1, "FFFF"},
        {"minus fifteen", -15, "FFF1"},
        {"minus 48", -48, "FFD0"},
        {"smallest", -32768, "8000"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HexDigits16(row.value), row.hex) << row.name;
    }
}

TEST(HexDigits32, FormatsWithoutLeadingZeros) {
    struct Row {
        const char* name;
        std::int32_t value;
        const char* hex;
    };
    const Row rows[] = {
        {"zero", 0, "0"},
        {"0x80", 128, "80"},
        {"0x100", 256, "100"},
        {"swapped pointer", 61375, "EFBF"},
        {"largest", std::numeric_limits<std::int32_t>::max(), "7FFFFFFF"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HexDigits32(row.value), row.hex) << row.name;
    }
}

TEST(GuardedArithmetic, Subtract16StopsAtTheEdgesOfTheRange) {
    EXPECT_EQ(Subtract16(-32720, 48), -32768);
    EXPECT_EQ(Subtract16(0, 48), -48);
    ExpectOverflow([] { Subtract16(-32721, 48); });
    ExpectOverflow([] { Subtract16(32767, -1); });
}

TEST(GuardedArithmetic, AppendHexDigitStopsAbove7FFFFFFF) {
    EXPECT_EQ(AppendHexDigit(0, 0), 0);
    EXPECT_EQ(AppendHexDigit(0x7FFFFFF, 15), 0x7FFFFFFF);
    ExpectOverflow([] { AppendHexDigit(0x8000000, 0); });
    ExpectOverflow([] { AppendHexDigit(0x7FFFFFFF, 15); });
}

TEST(AnsiCode, FollowsWindows1252) {
    struct Row {
        const char* name;
        char16_t unit;
        std::int16_t code;
    };
    const Row rows[] = {
        {"NUL", u'\0', 0},
        {"space", u' ', 32},
        {"zero", u'0', 48},
        {"capital A", u'A', 65},
        {"DEL", u'\u007F', 127},
        {"no-break space", u'\u00A0', 160},
        {"y diaeresis", u'\u00FF', 255},
        {"euro", u'\u20AC', 128},
        {"low quote", u'\u201A', 130},
        {"ellipsis", u'\u2026', 133},
        {"trade mark", u'\u2122', 153},
        {"capital Y diaeresis", u'\u0178', 159},
        {"undefined 0x81 maps to itself", u'\u0081', 129},
        {"undefined 0x9D maps to itself", u'\u009D', 157},
        {"C1 control the code page lacks", u'\u0080', 63},
        {"another C1 control", u'\u009F', 63},
        {"Latin Extended-A", u'\u0100', 63},
        {"CJK", u'\u4E2D', 63},
        {"high surrogate", u'\xD83D', 63},
        {"low surrogate", u'\xDE00', 63},
        {"last code unit", u'\xFFFF', 63},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AnsiCode(row.unit), row.code) << row.name;
    }
}

TEST(AnsiCode, EveryByteOfTheUpperHalfComesFromExactlyOneCodeUnit) {
    std::array<int, 256> sources{};
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const std::int16_t code = AnsiCode(static_cast<char16_t>(unit));
        ASSERT_GE(code, 0);
        ASSERT_LE(code, 255);
        if (code != 63) {
            ++sources[static_cast<std::size_t>(code)];
        }
    }
    for (std::size_t byte = 0x80; byte <= 0xFF; ++byte) {
        EXPECT_EQ(sources[byte], 1) << "byte " << byte;
    }
}
