// Searches of the test ROM that ca65 and ld65 built: pointers stored as the
// game stores them, text by its table, and a relative search.
#include <gtest/gtest.h>

#include <random>

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

rom::RelativeHit Firsts(std::optional<std::uint8_t> capital, std::optional<std::uint8_t> small,
                        std::optional<std::uint8_t> digit) {
    return {0, {capital, small, digit}};
}

TEST(Find, TextByBytesAndByHowItsLettersStep) {
    const rom::Rom game = Load("game.nes");
    EXPECT_EQ(rom::FindBytes(game, {0x30, 0x31, 0x0E}), (std::vector<std::uint64_t>{0x32}));
    const auto hits = rom::FindRelative(game, *rom::ReadRelativeWord("CONTINUE"));
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].offset, 0xC020U);
    EXPECT_EQ(hits[0].first, Firsts(0x0A, {}, {}).first);
    EXPECT_TRUE(rom::FindRelative(game, *rom::ReadRelativeWord("HELLP")).empty());
    EXPECT_EQ(rom::RelativeTable(Firsts({}, {}, 0x30)),
              "30=0\n31=1\n32=2\n33=3\n34=4\n35=5\n36=6\n37=7\n38=8\n39=9\n");
    EXPECT_EQ(rom::RelativeTable(Firsts({}, {}, 0xF8)),
              "F8=0\nF9=1\nFA=2\nFB=3\nFC=4\nFD=5\nFE=6\nFF=7\n");
    EXPECT_EQ(rom::RelativeFirsts(Firsts(0x0A, 0x2A, {})), "A=0A a=2A");
    const std::tuple<const char*, const char*> refused[] = {
        {"a space", "HELLO WORLD"},
        {"letters and digits", "A1"},
        {"one letter", "A"},
        {"no two of one kind", "Ab"},
        {"a letter of another script", "\xC3\xA9t\xC3\xA9"}};
    for (const auto& [name, word] : refused) {
        EXPECT_FALSE(rom::ReadRelativeWord(word)) << name;
    }
}

// Small letters step among themselves as capitals do, wherever they begin.
TEST(Find, WordsInEitherCaseAndBoth) {
    rom::Bytes file = {'N', 'E', 'S', 0x1A, 1, 0};
    file.resize(16 + 0x4000, 0x00);
    const rom::Bytes hello = {0x07, 0x24, 0x2B, 0x2B, 0x2E};  // H at 07, ello from a=20
    std::copy(hello.begin(), hello.end(), file.begin() + 0x100);
    const rom::Bytes small = {0x47, 0x44, 0x4B, 0x4B, 0x4E};  // hello from a=40
    std::copy(small.begin(), small.end(), file.begin() + 0x200);
    const rom::Rom rom = rom::ReadRom(file);
    const auto mixed = rom::FindRelative(rom, *rom::ReadRelativeWord("Hello"));
    ASSERT_EQ(mixed.size(), 2U) << "any H, as long as ello steps";
    EXPECT_EQ(mixed[0].first, Firsts(0x00, 0x20, {}).first);
    const auto lower = rom::FindRelative(rom, *rom::ReadRelativeWord("hello"));
    ASSERT_EQ(lower.size(), 1U);
    EXPECT_EQ(lower[0].offset, 0x200U);
    EXPECT_EQ(rom::RelativeTable(lower[0]).substr(0, 10), "40=a\n41=b\n");
}

// Runs of one byte, split at each bank's end, largest first.
TEST(Find, FreeSpaceInEachBank) {
    rom::Bytes file = {'N', 'E', 'S', 0x1A, 2, 0};
    file.resize(16 + 0x8000, 0x12);
    std::fill(file.begin() + 0x3FF0, file.begin() + 0x4040, 0xFF);  // across banks 0 and 1
    std::fill(file.begin() + 0x5000, file.begin() + 0x5011, 0x00);
    std::fill(file.begin() + 0x6000, file.begin() + 0x6010, 0xFF);  // one short, its first left out
    const rom::Rom rom = rom::ReadRom(file);
    const std::vector<rom::FreeRun> runs = rom::FindFree(rom, std::nullopt, 16);
    ASSERT_EQ(runs.size(), 2U) << "FF, of which there is more";
    EXPECT_EQ(runs[0].first, 0x4010U) << "bank 1's part is larger";
    EXPECT_EQ(runs[0].last, 0x403FU);
    EXPECT_TRUE(runs[0].fixed) << "the last bank";
    EXPECT_EQ(runs[1].first, 0x3FF1U) << "the first byte after a string's: maybe its end";
    EXPECT_EQ(runs[1].last, 0x400FU);
    EXPECT_EQ(runs[1].bank, 0U);
    const std::vector<rom::FreeRun> zeros = rom::FindFree(rom, 0x00, 16);
    ASSERT_EQ(zeros.size(), 1U);
    EXPECT_EQ(zeros[0].first, 0x5001U);
    EXPECT_EQ(rom::FindFree(rom, 0xFF, 15).size(), 3U) << "--min 15";
}

// The test game's tables of two pointers or more, split one included (the
// command line's cases check each as dump takes it), and none in 4 MiB of
// random bytes.
TEST(Find, PointerTablesByTheirStrings) {
    const rom::Table table = TestTable();
    const std::vector<rom::FoundTable> found =
        rom::FindTables(Load("game.nes"), table, {rom::kType1, rom::kType2}, 2);
    ASSERT_EQ(found.size(), 2U) << "the split table first, its 5 strings clean";
    EXPECT_EQ(found[0].table.high, 0x4025U);
    EXPECT_EQ(found[1].clean, 3U);
    rom::Bytes noise = {'N', 'E', 'S', 0x1A, 0, 0, 0x20, 0x08, 0, 0x01};
    noise.resize(16 + (std::size_t{4} << 20U));
    std::mt19937 random(4);
    std::generate(noise.begin() + 16, noise.end(),
                  [&] { return static_cast<std::uint8_t>(random()); });
    EXPECT_TRUE(rom::FindTables(rom::ReadRom(noise), table, {rom::kType1, rom::kType2}, 8).empty());
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
