// Dump, translate, insert, dump again, on a ROM whose table has a key that
// is another key and the end byte, empty strings, a kept pointer, two
// windows over one bank and spaces side by side in two banks: every text
// reads back as translated, and no byte outside the spaces and the pointer
// tables changes but where the strings went.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "rom/dump.h"
#include "rom/insert.h"
#include "script_texts.h"

namespace {

using Bytes = rom::Bytes;

const char* const kTable = "41=A\n42=B\n4100=Z\n43=C\n20= \n61=A\n/00\n";

// Two 16 KiB banks and CHR-ROM; pointer tables in bank 0 (type 1), in the
// 8 KiB bank 1 at $A000 (bank 0's second half), and in bank 1 (type 1).
struct Game {
    rom::Rom rom;
    rom::PointerTable first{0x10, std::nullopt, 4, rom::kType1, 0};
    rom::PointerTable second{0x2010, std::nullopt, 2, *rom::EightKiBWindow(0xA000), 1};
    rom::PointerTable third{0x4030, std::nullopt, 2, rom::kType1, 1};
};

void Put(Bytes& file, const rom::PointerTable& table, std::uint64_t n, std::uint64_t offset,
         const Bytes& string) {
    const std::uint64_t bankStart = 0x10 + table.bank * table.window.size;
    const std::uint64_t address = table.window.base + (offset - bankStart);
    file[table.offset + 2 * n] = static_cast<std::uint8_t>(address & 0xFFU);
    file[table.offset + 2 * n + 1] = static_cast<std::uint8_t>(address >> 8U);
    std::copy(string.begin(), string.end(), file.begin() + static_cast<std::ptrdiff_t>(offset));
}

Game MakeGame() {
    Game game;
    Bytes file = {'N', 'E', 'S', 0x1A, 2, 1};
    file.resize(16, 0);
    file.resize(16 + 0x8000 + 0x2000, 0xEE);
    Put(file, game.first, 0, 0x100, {0x41, 0x42, 0x00});         // AB
    Put(file, game.first, 1, 0x103, {0x00});                     // the empty text
    Put(file, game.first, 2, 0x104, {0x43, 0x43, 0x00});         // CC, to be kept
    Put(file, game.first, 3, 0x107, {0x42, 0x61, 0x00});         // BA
    Put(file, game.second, 0, 0x2100, {0x43, 0x00});             // C
    Put(file, game.second, 1, 0x2102, {0x42, 0x00});             // B
    Put(file, game.third, 0, 0x4100, {0x41, 0x20, 0x42, 0x00});  // A B
    Put(file, game.third, 1, 0x4104, {0x00});
    game.rom = rom::ReadRom(file);
    return game;
}

rom::Script DumpOf(const rom::Rom& rom, const rom::Table& table, const rom::PointerTable& p) {
    rom::Script head;
    head.table = "game.tbl";
    head.pointers = p;
    return rom::ReadScript(rom::Dump(rom, table, head).script);
}

TEST(Insert, GivesEveryTextBackAndTouchesNothingElse) {
    const Game game = MakeGame();
    const rom::Table table = rom::Table::Read(kTable);
    rom::Script first = DumpOf(game.rom, table, game.first);
    rom::Script second = DumpOf(game.rom, table, game.second);
    rom::Script third = DumpOf(game.rom, table, game.third);
    ASSERT_EQ(Texts(first),
              (std::map<std::uint64_t, std::string>{{0, "AB"}, {1, ""}, {2, "CC"}, {3, "BA"}}));
    first.entries[0].text = "CAB A";  // ends in A: 61, never 41 before the end byte
    first.entries[2].kind = rom::ScriptEntry::Kind::Keep;
    first.entries[3].text = "";
    second.entries[0].text = "BA BA BA";  // longer than its own space
    third.entries[0].text = "A";
    third.entries[1].text = "ABBA CAB";
    const std::vector<rom::Script> scripts = {first, second, third};
    const std::vector<rom::Translation> translations = Translations(scripts, table);
    // Side by side: the end of bank 0 and the start of bank 1.
    const std::vector<rom::Space> spaces = {{{0x3FF8, 0x400F}, std::nullopt, 0},
                                            {{0x4010, 0x401F}, std::nullopt, 0}};
    const rom::Inserted inserted = rom::Insert(game.rom, translations, spaces, std::nullopt);
    const rom::Rom out = rom::ReadRom(inserted.rom);
    first.entries[2].kind = rom::ScriptEntry::Kind::Text;
    first.entries[2].text = "CC";  // kept as it was
    EXPECT_EQ(Texts(DumpOf(out, table, game.first)), Texts(first));
    EXPECT_EQ(Texts(DumpOf(out, table, game.second)), Texts(second));
    EXPECT_EQ(Texts(DumpOf(out, table, game.third)), Texts(third));
    ASSERT_EQ(inserted.banks.size(), 3U) << "bank 0 as type 1, bank 1 as 8 KiB, bank 1 as type 1";

    // Every byte outside the spaces the strings could take is as it was,
    // the pointer tables aside.
    std::vector<rom::Span> free = {{0x3FF8, 0x401F}};
    for (const rom::Script* script : {&first, &second, &third}) {
        const rom::PointerTable& p = script->pointers;
        free.push_back({p.offset, p.offset + 2 * p.count - 1});
        for (const rom::Span& span : script->spaces) {
            free.push_back(span);
        }
    }
    for (std::size_t i = 0; i < out.file.size(); ++i) {
        const bool inSpace = std::any_of(free.begin(), free.end(), [&](const rom::Span& span) {
            return i >= span.first && i <= span.last;
        });
        if (!inSpace || (i >= 0x104 && i <= 0x106)) {
            ASSERT_EQ(out.file[i], game.rom.file[i]) << "at " << i << ": kept string or other data";
        }
    }
}

// Spaces side by side in one bank are one space: a string longer than
// either fits across both.
TEST(Insert, JoinsSpacesSideBySideInOneBank) {
    const Game game = MakeGame();
    const rom::Table table = rom::Table::Read(kTable);
    rom::Script third = DumpOf(game.rom, table, game.third);
    third.entries[0].text = "A";
    third.entries[1].text = "ABBA CAB";
    const std::vector<rom::Script> scripts = {third};
    const std::vector<rom::Translation> translations = Translations(scripts, table);
    const std::vector<rom::Space> spaces = {{{0x5000, 0x5003}, std::nullopt, 0},
                                            {{0x5004, 0x500B}, std::nullopt, 0}};
    const rom::Inserted inserted = rom::Insert(game.rom, translations, spaces, std::nullopt);
    EXPECT_EQ(Texts(DumpOf(rom::ReadRom(inserted.rom), table, game.third)), Texts(third));
}

// Lines and widths as the window counts them: a line break ends a line, a
// control code and its parameter count nothing, a raw byte one, a raw byte
// cut short its characters.
TEST(Insert, CountsEachLineAsTheWindowDoes) {
    const rom::Table table = rom::Table::Read("41=A\n*FE\n$FD=<wait>,1\n/00\n");
    rom::Script script;
    script.entries.resize(2);
    script.entries[0] = {rom::ScriptEntry::Kind::Text, 0, 0,
                         "AAA<wait><$05>A<br>A<$41>",  5, {{6, 0}}};
    script.entries[1] = {rom::ScriptEntry::Kind::Text, 1, 0, "AA<$4", 7, {{8, 0}}};
    const auto widths = rom::LayoutFaults(script, table, 3, std::nullopt);
    ASSERT_EQ(widths.size(), 2U) << "no fault of lines where none is given";
    EXPECT_EQ(widths[0].line(), 6U);
    EXPECT_NE(std::string(widths[0].what()).find("a line of 4 characters"), std::string::npos);
    EXPECT_NE(std::string(widths[1].what()).find("a line of 5 characters"), std::string::npos)
        << "<$4 is no raw byte: its characters count";
    const auto lines = rom::LayoutFaults(script, table, std::nullopt, 1);
    ASSERT_EQ(lines.size(), 1U) << "no fault of width where none is given";
    EXPECT_NE(std::string(lines[0].what()).find("entry 0 has 2 lines"), std::string::npos);
    EXPECT_TRUE(rom::LayoutFaults(script, table, 5, 2).empty());
}

TEST(Insert, RefusesATableTheRomDoesNotHold) {
    const Game game = MakeGame();
    const rom::Table table = rom::Table::Read(kTable);
    const std::tuple<const char*, rom::PointerTable, const char*> rows[] = {
        {"a bank in CHR-ROM",
         {0x10, std::nullopt, 1, rom::kType1, 2},
         "bank 2 is past the end of PRG-ROM"},
        {"a bank that would wrap to 0",
         {0x10, std::nullopt, 1, rom::kType1, 0x4000000000000},
         "past the end of PRG-ROM"},
        {"pointers past the file's end",
         {0xA00E, std::nullopt, 2, rom::kType1, 0},
         "runs past the end of the file"},
        {"a count that would overflow",
         {0x10, std::nullopt, 0x8000000000000001, rom::kType1, 0},
         "runs past the end of the file"},
    };
    for (const auto& [name, pointers, fault] : rows) {
        try {
            rom::CheckPointerTable(game.rom, pointers);
            ADD_FAILURE() << name;
        } catch (const rom::RomError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
        rom::Script head;
        head.pointers = pointers;
        EXPECT_THROW(rom::Dump(game.rom, table, head), rom::RomError) << name;
    }
    // A split table of a byte a pointer, at the file's very end.
    EXPECT_NO_THROW(rom::CheckPointerTable(game.rom, {0xA008, 0xA00D, 3, rom::kType1, 0}));
}

}  // namespace
