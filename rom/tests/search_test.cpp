// Searches of the test ROM that ca65 and ld65 built: pointers stored as the
// game stores them, text by its table, and a relative search.
#include <gtest/gtest.h>

#include <string>

#include "rom/search.h"
#include "rom_files.h"

namespace {

rom::Rom Load(const std::string& name) { return TestRom(name); }

TEST(Find, PointersOfEachTypeWhereTheGameStoresThem) {
    const rom::Rom game = Load("game.nes");
    const std::vector<rom::BankWindow> both = {rom::kType1, rom::kType2};
    const auto hello = rom::FindPointers(game, 0x26, both);  // "HELLO WORLD", twice in the table
    ASSERT_EQ(hello.size(), 2U);
    EXPECT_EQ(hello[0].offset, 0x20U);
    EXPECT_EQ(hello[1].offset, 0x24U);
    EXPECT_EQ(hello[1].low, 0x16);
    EXPECT_EQ(hello[1].high, 0x80);
    const auto fixed = rom::FindPointers(game, 0xC020, both);  // "CONTINUE", in the fixed bank
    ASSERT_EQ(fixed.size(), 1U);
    EXPECT_EQ(fixed[0].offset, 0xC029U);
    EXPECT_EQ(fixed[0].bank, 3U);
    EXPECT_EQ(fixed[0].window, rom::kType2);
    EXPECT_TRUE(rom::FindPointers(game, 0xC020, {rom::kType1}).empty());
    // The trainer moves the table and the strings alike.
    const auto trained = rom::FindPointers(Load("trainer.nes"), 0x226, both);
    ASSERT_EQ(trained.size(), 2U);
    EXPECT_EQ(trained[0].offset, 0x220U);
}

TEST(Find, TextByBytesAndByHowItsLettersStep) {
    const rom::Rom game = Load("game.nes");
    EXPECT_EQ(rom::FindBytes(game, {0x30, 0x31, 0x0E}), (std::vector<std::uint64_t>{0x32}));
    const auto hits = rom::FindRelative(game, *rom::ReadRelativeWord("CONTINUE"));
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].offset, 0xC020U);
    EXPECT_EQ(hits[0].first, 0x0A);
    EXPECT_TRUE(rom::FindRelative(game, *rom::ReadRelativeWord("HELLP")).empty());
    EXPECT_EQ(rom::RelativeTable(*rom::ReadRelativeWord("90"), 0x30),
              "30=0\n31=1\n32=2\n33=3\n34=4\n35=5\n36=6\n37=7\n38=8\n39=9\n");
    EXPECT_EQ(rom::RelativeTable(*rom::ReadRelativeWord("42"), 0xF8),
              "F8=0\nF9=1\nFA=2\nFB=3\nFC=4\nFD=5\nFE=6\nFF=7\n");
    EXPECT_FALSE(rom::ReadRelativeWord("HELLO WORLD")) << "a space";
    EXPECT_FALSE(rom::ReadRelativeWord("A1")) << "letters and digits";
    EXPECT_FALSE(rom::ReadRelativeWord("A")) << "one letter";
}

// No step wraps past 00 or FF: "AB" is not found across FF 00.
TEST(Find, NoStepWraps) {
    rom::Bytes file = {'N', 'E', 'S', 0x1A, 1, 0};
    file.resize(16 + 0x4000, 0x50);
    file[0x100] = 0xFF;
    file[0x101] = 0x00;
    file[0x200] = 0x05;
    file[0x201] = 0x06;
    file[16 + 0x4000 - 2] = 0x20;  // a word on the file's last two bytes
    file[16 + 0x4000 - 1] = 0x21;
    const auto hits = rom::FindRelative(rom::ReadRom(file), *rom::ReadRelativeWord("AB"));
    ASSERT_EQ(hits.size(), 2U);
    EXPECT_EQ(hits[0].offset, 0x200U);
    EXPECT_EQ(hits[1].offset, 16U + 0x4000 - 2) << "the file's end";
}

}  // namespace
