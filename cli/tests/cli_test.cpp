// What the command line adds to the core: the way back from a pointer to
// its file offset, answers written as their lines are read, and UTF-8 read
// strictly. cli_cases.json runs the program itself.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "answers.h"
#include "console.h"
#include "conversions/conversions.h"
#include "paths.h"
#include "utf8.h"

namespace {

// The file offsets of a 4 MiB file, from the first byte after the header:
// every one of its first bank, and the first and last 32 of each of its 256
// banks, where a bank's arithmetic can slip. Each one's pointer, taken back
// in its bank, is the offset again, by the window's text and by the stored
// bytes alike, of either type.
TEST(Offset, UndoesPointerInEveryBank) {
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t place = 0; place < 0x4000; ++place) {
        offsets.push_back(0x10 + place);
    }
    for (std::uint32_t bank = 1; bank < 256; ++bank) {
        for (std::uint32_t edge = 0; edge < 32; ++edge) {
            offsets.push_back(0x10 + bank * 0x4000 + edge);
            offsets.push_back(0x10 + bank * 0x4000 + 0x3FFF - edge);
        }
    }
    for (const int type : {1, 2}) {
        for (const std::uint32_t offset : offsets) {
            const std::string hex = conversions::HexDigits32(static_cast<std::int32_t>(offset));
            Request pointer{Command::Pointer, *rom::TypeWindow(type), (offset & 1U) != 0};
            const std::string stored = Answer(pointer, std::u16string(hex.begin(), hex.end())).text;
            const Request back{Command::Offset, *rom::TypeWindow(type), true,
                               (offset - 0x10) / 0x4000};
            ASSERT_EQ(Answer(back, std::u16string(stored.begin(), stored.end())).text, hex)
                << "Type " << type << ", pointer " << stored;
        }
    }
}

// A pipe, or a person typing, gets each answer as soon as its line is read,
// a line split across reads included; one that fails leaves its line empty.
TEST(Run, AnswersEachLineBeforeWaitingForMore) {
    const std::vector<std::string> chunks = {"8123\n40", "11\n", "4011\n\xFF\n8123"};
    std::size_t next = 0;
    std::string out, both;  // both: the two streams as a terminal shows them
    std::vector<std::string> writtenBeforeEachRead;
    const Console console{[&](char* buffer, std::size_t) -> std::size_t {
                              writtenBeforeEachRead.push_back(out);
                              const std::string chunk = next < chunks.size() ? chunks[next++] : "";
                              return chunk.copy(buffer, chunk.size());
                          },
                          [&](std::string_view text) { out += text, both += text; },
                          [&](std::string_view text) { both += text; }};
    EXPECT_EQ(::Run({"quorvane-cli", "pointer"}, console), 1);
    EXPECT_EQ(both, "1381\n180\n180\nquorvane-cli: line 4: not UTF-8\n\n1381\n");
    EXPECT_EQ(writtenBeforeEachRead,
              (std::vector<std::string>{"", "1381\n", "1381\n180\n", "1381\n180\n180\n\n"}));
}

// Well-formed UTF-8 and what it decodes to; nothing for any other text.
TEST(DecodeUtf8, TakesWellFormedTextOnly) {
    const std::tuple<const char*, std::string, std::optional<std::u16string>> rows[] = {
        {"two, three and four bytes", "\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80", u"é\u3042\U0001F600"},
        {"the first of three bytes, the last code point", "\xE0\xA0\x80\xF4\x8F\xBF\xBF",
         u"\u0800\U0010FFFF"},
        {"a continuation byte alone", "\x80", std::nullopt},
        {"a lead byte alone, at the end", "A\xE3\x81", std::nullopt},
        {"a lead byte without its continuation",
         "\xC3"
         "A",
         std::nullopt},
        {"an overlong form", "\xC0\xAF", std::nullopt},
        {"an overlong three bytes", "\xE0\x80\xAF", std::nullopt},
        {"a surrogate", "\xED\xA0\x80", std::nullopt},
        {"past U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
        {"no lead byte at all", "\xFF", std::nullopt},
    };
    std::u16string units;
    EXPECT_FALSE(DecodeUtf8(std::string_view("\xC3\xA9", 1), units)) << "a text ending in a lead";
    for (const auto& [name, text, decoded] : rows) {
        EXPECT_EQ(DecodeUtf8(text, units), decoded.has_value()) << name;
        EXPECT_TRUE(!decoded || units == *decoded) << name;
    }
}

// Windows passes arguments in UTF-16, where a surrogate may stand alone.
TEST(EncodeUtf8, WritesWhatWindowsPasses) {
    EXPECT_EQ(EncodeUtf8(u"é\U0010FFFF" + std::u16string{u'\xDC00', u'A', u'\xD800'}),
              "\xC3\xA9\xF4\x8F\xBF\xBF\xEF\xBF\xBD"
              "A\xEF\xBF\xBD");
}

// A table named in a script is found beside the script, unless its path is
// absolute.
TEST(Paths, JoinsWhatIsRelativeAndKeepsWhatIsAbsolute) {
    EXPECT_EQ(Joined("work/", "a/game.tbl"), "work/a/game.tbl");
    EXPECT_EQ(Joined("work/", "/t/game.tbl"), "/t/game.tbl");
    EXPECT_EQ(Joined("", "game.tbl"), "game.tbl");
}

}  // namespace
