// The numbers the ROM commands read: hex to its largest, and counts in
// decimal or in hex.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "rom/numbers.h"

namespace {

TEST(ReadHex, ReadsUpToTheLargestNumber) {
    EXPECT_EQ(rom::ReadHex("FFFFFFFFFFFFFFF"), (std::uint64_t{1} << 60U) - 1);
    EXPECT_THROW(rom::ReadHex("1000000000000000"), rom::NumberTooLarge);
    EXPECT_EQ(rom::ReadHex("0X1f"), 0x1FU);
}

TEST(ReadCount, ReadsDecimalOrHexAfterItsMark) {
    const std::pair<const char*, std::optional<std::uint64_t>> rows[] = {
        {"12", 12},   {"0x1F", 31}, {"0X1F", 31},
        {"$FF", 255}, {"12x", {}},  {"", {}},
        {"$", {}},    {"-1", {}},   {"99999999999999999999999", {}},
        {"0x", {}},
    };
    for (const auto& [text, value] : rows) {
        try {
            EXPECT_EQ(rom::ReadCount(text), value) << text;
        } catch (const rom::NumberError&) {
            EXPECT_FALSE(value) << text;
        }
    }
}

}  // namespace
