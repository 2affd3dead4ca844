// Dump, edit, insert, dump again: the texts come back as edited, with every
// pointer rewritten, strings stored once, and each fault named.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "rom/dump.h"
#include "rom/insert.h"
#include "rom_files.h"
#include "script_texts.h"

namespace {

rom::Script Head(rom::PointerTable table) {
    rom::Script head;
    head.rom = "game.nes";
    head.table = "game.tbl";
    head.pointers = table;
    return head;
}

const rom::PointerTable kBank0{0x20, std::nullopt, 3, rom::kType1, 0};
const rom::PointerTable kBank1{0x4020, 0x4025, 5, rom::kType1, 1};
const rom::PointerTable kFixed{0xC029, std::nullopt, 1, rom::kType2, 3};

rom::Script DumpOf(const rom::Rom& rom, const rom::PointerTable& table) {
    return rom::ReadScript(rom::Dump(rom, TestTable(), Head(table)).script);
}

std::vector<rom::Space> Spaces(const std::vector<rom::Span>& spans) {
    std::vector<rom::Space> spaces;
    spaces.reserve(spans.size());
    for (const rom::Span& span : spans) {
        spaces.push_back({span, std::nullopt, 0});
    }
    return spaces;
}

const rom::Table& Table() {
    static const rom::Table table = TestTable();
    return table;
}

rom::Rom Inserted(const rom::Rom& rom, const std::vector<rom::Script>& scripts,
                  const std::vector<rom::Span>& spaces = {}) {
    return rom::ReadRom(
        rom::Insert(rom, Translations(scripts, Table()), Spaces(spaces), std::nullopt).rom);
}

TEST(Dump, ReadsEachKindOfTableAndEscapesWhatAnEditorCouldChange) {
    const rom::Rom game = TestRom("game.nes");
    const rom::Dumped split = rom::Dump(game, TestTable(), Head(kBank1));
    EXPECT_NE(
        split.script.find("@pointers $4020 high $4025 count 5 type 1 bank 1\n@space $402A-$404A\n"),
        std::string::npos);
    EXPECT_NE(split.script.find("<3> $4045\n// ITEM \nITEM<$24>\n"), std::string::npos)
        << "a space at a line's end";
    EXPECT_NE(split.script.find("<4> = <1>\n"), std::string::npos) << "one string, two pointers";
    EXPECT_NE(split.script.find("START<br>\nTO PLAY\n"), std::string::npos)
        << "the line break's layout";
    EXPECT_EQ(Texts(rom::ReadScript(split.script)),
              (std::map<std::uint64_t, std::string>{{0, "PRESS START<br>TO PLAY"},
                                                    {1, "START<br>TO PLAY"},
                                                    {2, "<wait><$05>WAIT"},
                                                    {3, "ITEM<$24>"},
                                                    {4, "START<br>TO PLAY"}}));
    // A pointer that cannot be followed: kept, with why, and the rest dumped.
    rom::Rom broken = game;
    broken.file[0x23] = 0xC0;  // pointer 1: $C022, outside Type 1's window
    const rom::Dumped kept = rom::Dump(broken, TestTable(), Head(kBank0));
    EXPECT_EQ(kept.kept, 1U);
    EXPECT_NE(kept.script.find("<1> keep\n// $C022 is outside Type 1's window, $8000-$BFFF\n"),
              std::string::npos);
    EXPECT_NE(kept.script.find("HELLO WORLD"), std::string::npos);
}

// A ROM of one bank whose pointer table, at $10, points at `strings`, laid
// end to end from $20, each ended by FF.
rom::Rom RomOf(const std::vector<rom::Bytes>& strings, std::size_t banks = 1) {
    rom::Bytes file = {'N', 'E', 'S', 0x1A, static_cast<std::uint8_t>(banks), 0};
    file.resize(16, 0);
    file.resize(16 + banks * 0x4000, 0xEE);
    std::size_t at = 0x20;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::size_t address = 0x8000 + at - 0x10;
        file[0x10 + 2 * i] = static_cast<std::uint8_t>(address & 0xFFU);
        file[0x11 + 2 * i] = static_cast<std::uint8_t>(address >> 8U);
        std::copy(strings[i].begin(), strings[i].end(),
                  file.begin() + static_cast<std::ptrdiff_t>(at));
        at += strings[i].size();
        file[at++] = 0xFF;
    }
    return rom::ReadRom(file);
}

TEST(Dump, WritesRawWhatWouldReadAsAnotherLine) {
    const rom::Table table = rom::Table::Read("3C=<\n31=1\n2F=/\n40=@\n41=A\n20= \n29=)\n/FF\n");
    const rom::Rom game = RomOf({{0x3C, 0x31},
                                 {0x2F, 0x2F, 0x41},
                                 {0x40, 0x41},
                                 {0x41, 0x20},
                                 {0x3C, 0x41},
                                 {0x3C, 0x29},
                                 {0x40, 0x40}});
    rom::Script head = Head({0x10, std::nullopt, 7, rom::kType1, 0});
    head.spaces = {{1, 2}};  // a dump's spaces are its own
    const std::string script = rom::Dump(game, table, head).script;
    EXPECT_NE(script.find("@space $20-$35\n\n"), std::string::npos) << script;
    for (const char* line : {"\n<$3C>1\n", "\n<$2F>/A\n", "\n<$40>A\n", "\nA<$20>\n", "\n<A\n",
                             "\n<)\n", "\n<$40>@\n"}) {
        EXPECT_NE(script.find(line), std::string::npos) << line << " in " << script;
    }
    EXPECT_EQ(Texts(rom::ReadScript(script)),
              (std::map<std::uint64_t, std::string>{{0, "<$3C>1"},
                                                    {1, "<$2F>/A"},
                                                    {2, "<$40>A"},
                                                    {3, "A<$20>"},
                                                    {4, "<A"},
                                                    {5, "<)"},
                                                    {6, "<$40>@"}}));
    // Strings with a byte between them are two runs of strings.
    rom::Rom apart = RomOf({{0x41}, {0x41}});
    apart.file[0x12] = 0x13;  // pointer 1 to $23, past a byte that is no string's
    apart.file[0x23] = 0x41;
    apart.file[0x24] = 0xFF;
    const std::string two =
        rom::Dump(apart, table, Head({0x10, std::nullopt, 2, rom::kType1, 0})).script;
    EXPECT_NE(two.find("@space $20-$21\n@space $23-$24\n"), std::string::npos) << two;
}

TEST(Dump, StopsAtTheBanksEnd) {
    rom::Rom game = RomOf({{0x41}}, 2);
    const std::size_t last = 16 + 0x4000 - 2;  // a string on the bank's last two bytes, unended
    game.file[0x12] = static_cast<std::uint8_t>((0x8000 + last - 16) & 0xFFU);
    game.file[0x13] = static_cast<std::uint8_t>((0x8000 + last - 16) >> 8U);
    game.file[last] = 0x41;
    game.file[last + 1] = 0x41;
    game.file[last + 2] = 0xFF;  // the next bank's first byte
    const rom::Table table = rom::Table::Read("41=A\n/FF\n");
    const rom::Dumped dumped =
        rom::Dump(game, table, Head({0x10, std::nullopt, 2, rom::kType1, 0}));
    EXPECT_EQ(dumped.kept, 1U);
    EXPECT_NE(dumped.script.find("<1> keep\n// no end token after $400E before the bank ends"),
              std::string::npos)
        << dumped.script;
    const rom::Dumped none =
        rom::Dump(game, table, Head({0x8000 - 2 + 0x10, std::nullopt, 0, rom::kType1, 1}));
    EXPECT_EQ(none.kept, 0U);
    EXPECT_EQ(none.script.find('<'), std::string::npos) << "no pointers, no entries";
}

TEST(Insert, GivesBackTheEditedTextsThroughEveryKindOfTable) {
    const rom::Rom game = TestRom("game.nes");
    rom::Script bank0 = DumpOf(game, kBank0);
    bank0.entries[0].text = "HI";
    rom::Script bank1 = DumpOf(game, kBank1);
    bank1.entries[3].text = "AN ITEM";
    bank1.entries[2].text = "<wait><$09>NO";
    rom::Script fixed = DumpOf(game, kFixed);
    fixed.entries[0].text = "GO ON";
    const rom::Rom out = Inserted(game, {bank0, bank1, fixed});
    EXPECT_EQ(Texts(DumpOf(out, kBank0)), Texts(bank0));
    EXPECT_EQ(Texts(DumpOf(out, kBank1)), Texts(bank1));
    EXPECT_EQ(Texts(DumpOf(out, kFixed)), Texts(fixed));
    EXPECT_EQ(out.file[0x26], 0x11) << "HI where HELLO WORLD was";
    // Unchanged, a script gives its own texts back, and its ROM nearly byte for byte.
    const rom::Rom same = Inserted(game, {DumpOf(game, kBank1)});
    EXPECT_EQ(Texts(DumpOf(same, kBank1)), Texts(DumpOf(game, kBank1)));
}

TEST(Insert, StoresEqualStringsAndTailsOnce) {
    const rom::Rom game = TestRom("game.nes");
    rom::Script bank0 = DumpOf(game, kBank0);
    bank0.entries[0].text = "A GOOD END";
    bank0.entries[1].text = "END";  // the tail of entry 0, end token and all
    bank0.entries[2].kind = rom::ScriptEntry::Kind::Text;
    bank0.entries[2].text = "A GOOD END";
    const std::vector<rom::Script> scripts = {bank0};
    const rom::Inserted inserted = rom::Insert(game, Translations(scripts, Table()), {}, 0x00);
    ASSERT_EQ(inserted.banks.size(), 1U);
    EXPECT_EQ(inserted.banks[0].shared, 2U);
    EXPECT_EQ(inserted.banks[0].needed, 11U) << "A GOOD END: 10 bytes and its end token";
    const rom::Bytes& file = inserted.rom;
    EXPECT_EQ(file[0x20] | file[0x21] << 8, 0x8016);
    EXPECT_EQ(file[0x22] | file[0x23] << 8, 0x8016 + 7) << "END inside A GOOD END";
    EXPECT_EQ(file[0x24] | file[0x25] << 8, 0x8016);
    EXPECT_EQ(file[0x26 + 11], 0x00) << "the unused space filled";
    EXPECT_EQ(file[0x38], 0xFF) << "and nothing past it";
}

// Two scripts of one bank: their spaces pooled, overlapping ones merged,
// and the strings laid out together.
TEST(Insert, PoolsTheSpacesOfScriptsOfOneBank) {
    const rom::Rom game = TestRom("game.nes");
    rom::Script first = DumpOf(game, {0x20, std::nullopt, 1, rom::kType1, 0});
    rom::Script rest = DumpOf(game, {0x22, std::nullopt, 2, rom::kType1, 0});
    first.entries[0].text = "A LONG HELLO";  // more than its own space holds
    rest.entries[0].text = "END";
    rest.entries[1].text = "END";
    const std::vector<rom::Script> scripts = {first, rest};
    const rom::Inserted inserted =
        rom::Insert(game, Translations(scripts, Table()), {}, std::nullopt);
    ASSERT_EQ(inserted.banks.size(), 1U);
    EXPECT_EQ(inserted.banks[0].holds, 18U) << "$26-$31 and $26-$37 merged";
    EXPECT_EQ(inserted.banks[0].strings, 3U);
    const rom::Rom out = rom::ReadRom(inserted.rom);
    EXPECT_EQ(Texts(DumpOf(out, kBank0)),
              (std::map<std::uint64_t, std::string>{{0, "A LONG HELLO"}, {1, "END"}, {2, "END"}}));
}

TEST(Insert, SpreadsTextOverRegionsAndCountsTheTrainer) {
    const rom::Rom trained = TestRom("trainer.nes");
    const rom::PointerTable table{0x220, std::nullopt, 3, rom::kType1, 0};
    rom::Script script = DumpOf(trained, table);
    script.entries[0].text = "A STRING TOO LONG FOR ITS PLACE";
    script.entries[2].kind = rom::ScriptEntry::Kind::Keep;
    const rom::Rom out = Inserted(trained, {script}, {{0x500, 0x53F}});
    EXPECT_EQ(Texts(DumpOf(out, table))[0], "A STRING TOO LONG FOR ITS PLACE");
    EXPECT_EQ(out.file[0x220] | out.file[0x221] << 8, 0x8000 + 0x500 - 0x210)
        << "in the second region";
    EXPECT_EQ(out.file[0x224] | out.file[0x225] << 8, 0x8016) << "kept as it was";
}

TEST(Insert, RefusesWhatCannotBeDone) {
    const rom::Rom game = TestRom("game.nes");
    const rom::Script bank0 = DumpOf(game, kBank0);
    rom::Script tooLong = bank0;
    tooLong.entries[0].text = std::string(40, 'A');
    const std::tuple<const char*, rom::Script, std::vector<rom::Span>, bool, const char*> rows[] = {
        {"text that does not fit",
         tooLong,
         {},
         false,
         "bank 0, type 1: 47 bytes needed, 18 bytes in the spaces, 29 short"},
        {"a space over the header", bank0, {{0x08, 0x18}}, true, "lies over the header"},
        {"a space over the pointer table",
         bank0,
         {{0x1F, 0x21}},
         true,
         "over the pointer table at $20"},
        {"a space no pointer reaches",
         bank0,
         {{0x4100, 0x41FF}},
         true,
         "in no bank the scripts' pointers reach"},
        {"a space across a bank's end",
         bank0,
         {{0x3FF0, 0x4100}},
         true,
         "crosses the end of bank 0"},
        {"a space over a split table's high bytes",
         DumpOf(game, kBank1),
         {{0x4026, 0x4028}},
         true,
         "over the pointer table at $4025"},
    };
    for (const auto& [name, script, spaces, space, fault] : rows) {
        const std::vector<rom::Script> scripts = {script};
        try {
            rom::Insert(game, Translations(scripts, Table()), Spaces(spaces), std::nullopt);
            ADD_FAILURE() << name;
        } catch (const rom::NoRoomError& error) {
            EXPECT_FALSE(space) << name;
            ASSERT_EQ(error.banks().size(), 1U);
            EXPECT_EQ(error.banks()[0].needed, 47U);
            EXPECT_EQ(error.banks()[0].holds, 18U);
        } catch (const rom::InsertError& error) {
            EXPECT_TRUE(space) << name;
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
    }
    rom::Script unknown = bank0;
    unknown.entries[0].text = "HELLO, WORLD";
    try {
        rom::EncodeScript(unknown, Table());
        ADD_FAILURE() << "a comma";
    } catch (const rom::ScriptErrors& errors) {
        ASSERT_EQ(errors.faults().size(), 1U);
        EXPECT_EQ(errors.faults()[0].column(), 6U);
        EXPECT_NE(std::string(errors.what()).find("','"), std::string::npos);
    }
}

TEST(ReadScript, NamesEachFaultByLineAndColumn) {
    const std::string head =
        "@rom game.nes crc32=62FA3493\n@table game.tbl\n@pointers $20 count 2 type 1 bank 0\n";
    const std::tuple<const char*, std::string, std::size_t, std::size_t, const char*> rows[] = {
        {"an unknown @ line", "@tabel x\n", 1, 1, "an unknown @ line: @tabel"},
        {"a malformed @pointers", "@table t\n@pointers $20 count 2 type 3 bank 0\n", 2, 1,
         "type 1 or 2"},
        {"@pointers alone", "@table t\n@pointers\n", 2, 10, "needs the table's offset"},
        {"@pointers without a count", "@table t\n@pointers $20 type 1 bank 0\n", 2, 28,
         "needs its count"},
        {"@pointers with its offset alone", "@table t\n@pointers $20\n", 2, 14, "needs its count"},
        {"a bad offset, by its column", "@table t\n@pointers $2G count 2 type 1 bank 0\n", 2, 11,
         "'G' at column 3"},
        {"a repeated entry", head + "<0>\nA\n<1>\nB\n<0>\nC\n", 8, 1,
         "entry 0 again: it is at line 4"},
        {"an entry past the count", head + "<0>\n<1>\n<2>\n", 6, 1, "past the table's 2 pointers"},
        {"a missing entry", head + "<1> keep\n", 5, 0, "entry 0 is missing"},
        {"an @ line among the entries", head + "<0>\n@space $26-$30\n<1> keep\n", 5, 1,
         "before the first entry"},
        {"text before the first entry", head + "HELLO\n<0>\n<1>\n", 4, 1,
         "text before the first entry"},
        {"a chain of = that goes round", head + "<0> = <1>\n<1> = <0>\n", 4, 0,
         "round a chain of ="},
        {"text under keep", head + "<0> keep\nHELLO\n<1>\n", 5, 1, "entry 0 takes no text"},
        {"no @table line", "@pointers $20 count 0 type 1 bank 0\n", 2, 0, "no @table line"},
        {"a pointer's <M without its >", head + "<0> = <12\n<1>\n", 4, 5, "<N> = <M>"},
        {"a pointer's number of another script", head + "<0> = <\xC3\xA9>\n<1>\n", 4, 7,
         "<N> = <M>"},
        {"a column counted in characters", "@rom \xC3\xA9.nes crc32=1\n", 1, 12,
         "crc32= takes eight hex digits"},
    };
    for (const auto& [name, text, line, column, fault] : rows) {
        try {
            rom::ReadScript(text);
            ADD_FAILURE() << name;
        } catch (const rom::ScriptErrors& errors) {
            const rom::ScriptError& error = errors.faults().front();
            EXPECT_EQ(error.line(), line) << name << ": " << error.what();
            EXPECT_EQ(error.column(), column) << name << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
    }
    const std::tuple<const char*, std::string, rom::BankWindow> windows[] = {
        {"16 KiB at $8000", "bank-size 16 base $8000", rom::kType1},
        {"16 KiB at $C000", "bank-size 16 base $C000", rom::kType2},
        {"8 KiB at $E000", "bank-size 8 base $E000", *rom::EightKiBWindow(0xE000)},
    };
    for (const auto& [name, words, window] : windows) {
        const rom::Script script = rom::ReadScript("@table t\n@pointers $20 count 2 " + words +
                                                   " bank 0\n<0> keep\n\n<1>\nA\n");
        EXPECT_EQ(script.pointers.window, window) << name;
        EXPECT_EQ(script.entries[1].text, "A")
            << name << ": an entry after a keep and a blank line";
    }
    EXPECT_EQ(rom::ReadScript(head + "<0>\n<>\n<1>\n").entries[0].text, "<>")
        << "<> is text, not an entry";
    const rom::Script read = rom::ReadScript(
        "\xEF\xBB\xBF" + head + "<1> $32 comment\r\nTHE \r\nEND\r\n// x\r\n<0> = <1>\r\n");
    EXPECT_EQ(read.crc32, 0x62FA3493U);
    EXPECT_EQ(read.rom, "game.nes");
    EXPECT_EQ(read.entries[1].text, "THE END") << "lines joined, spaces kept, CR LF";
    EXPECT_EQ(rom::PlaceIn(read.entries[1], 5), (std::pair<std::size_t, std::size_t>{6, 2}));
}

}  // namespace
