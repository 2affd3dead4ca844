// zlib's inflate as zips need it: raw deflate data inflated to the size the
// zip's directory says, and data that ends early, holds more or is no
// deflate data refused.
#include <gtest/gtest.h>

#include "zlib_inflater.h"

namespace {

TEST(Inflate, GivesWhatWasDeflatedAndRefusesTheRest) {
    const std::string text = "ROM hacking, ROM hacking, ROM hacking!";
    const rom::Bytes packed = {0x0B, 0xF2, 0xF7, 0x55, 0xC8, 0x48, 0x4C, 0xCE, 0xCE, 0xCC,
                               0x4B, 0xD7, 0x51, 0x08, 0xC2, 0xC1, 0x51, 0x04, 0x00};
    const ZlibInflater inflater;
    EXPECT_EQ(inflater.inflate(packed.data(), packed.size(), text.size()),
              rom::Bytes(text.begin(), text.end()));
    const struct {
        const char* name;
        rom::Bytes packed;
        std::uint64_t size;
    } rows[] = {
        {"cut short", rom::Bytes(packed.begin(), packed.begin() + 9), text.size()},
        {"more than said", packed, text.size() - 1},
        {"no deflate data", rom::Bytes(64, 0xFF), 64},
        {"nothing", rom::Bytes(), 10},
    };
    for (const auto& row : rows) {
        EXPECT_THROW((void)inflater.inflate(row.packed.data(), row.packed.size(), row.size),
                     std::runtime_error)
            << row.name;
    }
}

}  // namespace
