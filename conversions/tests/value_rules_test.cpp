#include <array>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "conversions/conversions.h"
#include "expect_overflow.h"

using namespace conversions;

TEST(HexDigits, NoLeadingZerosAndNegativesAsFourDigits) {
    EXPECT_EQ(HexDigits16(0), "0");
    EXPECT_EQ(HexDigits16(16), "10");
    EXPECT_EQ(HexDigits16(-15), "FFF1");
    EXPECT_EQ(HexDigits16(-32768), "8000");
    EXPECT_EQ(HexDigits32(256), "100");
    EXPECT_EQ(HexDigits32(std::numeric_limits<std::int32_t>::max()), "7FFFFFFF");
}

TEST(GuardedArithmetic, StopsAtTheEdgesOfTheRange) {
    EXPECT_EQ(Subtract16(-32720, 48), -32768);
    ExpectOverflow([] { Subtract16(-32721, 48); });
    ExpectOverflow([] { Subtract16(32767, -1); });
    EXPECT_EQ(AppendHexDigit(0x7FFFFFF, 15), 0x7FFFFFFF);
    ExpectOverflow([] { AppendHexDigit(0x8000000, 0); });
}

TEST(AnsiCode, FollowsWindows1252) {
    struct Row {
        const char* name;
        char16_t unit;
        std::int16_t code;
    };
    const Row rows[] = {
        {"NUL", u'\0', 0},
        {"capital A", u'A', 65},
        {"no-break space", u'\u00A0', 160},
        {"y diaeresis", u'\u00FF', 255},
        {"euro", u'\u20AC', 128},
        {"trade mark", u'\u2122', 153},
        {"capital Y diaeresis", u'\u0178', 159},
        {"undefined 0x81 maps to itself", u'\u0081', 129},
        {"C1 control the code page lacks", u'\u0080', 63},
        {"CJK", u'\u4E2D', 63},
        {"half of a surrogate pair", u'\xD83D', 63},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(AnsiCode(row.unit), row.code) << row.name;
    }
}

TEST(AnsiCode, EveryByteOfTheUpperHalfComesFromExactlyOneCodeUnit) {
    std::array<int, 256> sources{};
    for (std::uint32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const std::int16_t code = AnsiCode(static_cast<char16_t>(unit));
        ASSERT_TRUE(code >= 0 && code <= 255) << unit;
        if (code != 63) {
            ++sources[static_cast<std::size_t>(code)];
        }
    }
    for (std::size_t byte = 0x80; byte <= 0xFF; ++byte) {
        EXPECT_EQ(sources[byte], 1) << "byte " << byte;
    }
}
