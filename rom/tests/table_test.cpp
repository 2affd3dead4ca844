// Text tables: every form of the file and every fault by its line; decoding
// by the longest key; encoding in the fewest bytes that read back.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "rom/table.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char kEveryForm[] =
    "\xEF\xBB\xBF# a comment, then a blank line\r\n"
    "\n"
    "0A=A\r\n"
    "0B=B\n"
    "0E=E\n"
    "0D=D\n"
    "17=N\n"
    "1D=T\n"
    "24= \n"
    "30=TH\n"
    "31=E \n"
    "8081=the \n"
    "40=\xC3\xA9\n"
    "*FE\n"
    "$FD=<wait>,2\n"
    "/FF\n"
    "/FC=<end>\\n\n";

std::string Decode(const rom::Table& table, const Bytes& bytes, bool stopAtEnd = false) {
    return table.decode(bytes.data(), bytes.size(), stopAtEnd).text;
}

TEST(Table, DecodesByTheLongestKey) {
    const rom::Table table = rom::Table::Read(kEveryForm);
    const std::tuple<const char*, Bytes, std::string> rows[] = {
        {"single and two-letter entries", {0x30, 0x31, 0x0E, 0x17, 0x0D}, "THE END"},
        {"a two-byte key", {0x80, 0x81, 0x0A}, "the A"},
        {"a letter beyond ASCII",
         {0x40, 0x0A},
         "\xC3\xA9"
         "A"},
        {"a byte no key starts", {0x0A, 0x99}, "A<$99>"},
        {"the first byte of a two-byte key alone", {0x80, 0x0A}, "<$80>A"},
        {"a line break and its layout", {0x0A, 0xFE, 0x0B}, "A<br>\nB"},
        {"a control code's parameters raw", {0xFD, 0x0A, 0x0B, 0x0A}, "<wait><$0A><$0B>A"},
        {"end tokens written, with and without text", {0x0A, 0xFF, 0xFC}, "A<$FF><end>\n"},
    };
    for (const auto& [name, bytes, text] : rows) {
        EXPECT_EQ(Decode(table, bytes), text) << name;
    }
    // Each piece's bytes, a control code's parameters one by one: what a dump
    // writes raw where an editor could change a text.
    const Bytes control = {0x0A, 0xFD, 0x01, 0x02};
    const rom::Decoded pieces = table.decode(control.data(), control.size(), false);
    ASSERT_EQ(pieces.pieces.size(), 4U);
    EXPECT_EQ(pieces.pieces[2].bytes, 2U);
    EXPECT_EQ(pieces.pieces[3].bytes, 3U);
    EXPECT_EQ(pieces.text.substr(pieces.pieces[3].text, pieces.pieces[3].textSize), "<$02>");
    // An end token ends a string before a longer key that begins with it.
    const rom::Table ends = rom::Table::Read("/FF\nFF01=X\n01=A\n");
    const Bytes endFirst = {0xFF, 0x01};
    EXPECT_EQ(ends.decode(endFirst.data(), 2, true).size, 0U);
    EXPECT_EQ(ends.decode(endFirst.data(), 2, false).text, "<$FF>A");
    const rom::Decoded ended = table.decode(Bytes{0x0A, 0xFF, 0x0B}.data(), 3, true);
    EXPECT_EQ(ended.text, "A");
    EXPECT_EQ(ended.size, 1U);
    ASSERT_NE(ended.end, nullptr);
    EXPECT_EQ(ended.end->line, 16U);
    EXPECT_EQ(table.firstEnd()->line, 16U);
}

TEST(Table, EncodesInTheFewestBytes) {
    const rom::Table table = rom::Table::Read(kEveryForm);
    const std::tuple<const char*, std::string, Bytes> rows[] = {
        {"two-letter entries where they save a byte", "THE END", {0x30, 0x31, 0x0E, 0x17, 0x0D}},
        {"a raw byte", "A<$99>B", {0x0A, 0x99, 0x0B}},
        {"a line break by its text", "A<br>B", {0x0A, 0xFE, 0x0B}},
        {"a control code and its parameters", "<wait><$01><$02>", {0xFD, 0x01, 0x02}},
        {"an end token by its text", "A<end>", {0x0A, 0xFC}},
    };
    for (const auto& [name, text, bytes] : rows) {
        EXPECT_EQ(table.encode(text), bytes) << name;
    }
    // "TE" then "E " against "T", "E", "E ": the greedy "TH"-first choice
    // loses where the shortest path does not.
    const rom::Table dte = rom::Table::Read("01=A\n02=B\n03=C\n10=AB\n11=BC\n12=C\n");
    EXPECT_EQ(dte.encodeGreedy("ABC"), (Bytes{0x10, 0x03}));
    EXPECT_EQ(dte.encode("ABC"), (Bytes{0x01, 0x11})) << "equal lengths: the first lines";
    const rom::Table skew = rom::Table::Read("01=A\n02=B\n03=C\n04=D\n10=AB\n11=BCD\n");
    EXPECT_EQ(skew.encodeGreedy("ABCD"), (Bytes{0x10, 0x03, 0x04}));
    EXPECT_EQ(skew.encode("ABCD"), (Bytes{0x01, 0x11}));
}

TEST(Table, RefusesWhatItCannotEncode) {
    const rom::Table table = rom::Table::Read(kEveryForm);
    const std::tuple<const char*, std::string, std::size_t, const char*> rows[] = {
        {"a character no entry covers", "AB\xC3\xA8", 3,
         "no entry of the table stands for '\xC3\xA8'"},
        {"a control code without its parameters", "A<wait>B", 2, "followed by 2 parameter bytes"},
        {"a raw byte that is none", "A<$G0>", 2, "<$G0> is not a raw byte, which is <$XX>"},
        {"a raw byte cut short", "A<$0>", 2, "<$0> is not a raw byte"},
        {"a label no entry has", "A<wiat>", 2, "an unknown label <wiat>: no entry"},
        {"a lone <", "A<", 2, "no entry of the table stands for '<'"},
    };
    for (const auto& [name, text, column, fault] : rows) {
        try {
            ADD_FAILURE() << name << ": " << table.encode(text).size() << " bytes";
        } catch (const rom::EncodeError& error) {
            EXPECT_EQ(error.column(), column) << name;
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos) << error.what();
        }
    }
    // 01 then 02 reads back as 0102: the fewest bytes that read back instead.
    const rom::Table prefix = rom::Table::Read("01=A\n02=B\n0102=X\n03=B\n");
    EXPECT_EQ(prefix.encode("AB"), (Bytes{0x01, 0x03}));
    const rom::Table trapped = rom::Table::Read("01=A\n02=B\n0102=X\n");
    EXPECT_THROW(trapped.encode("AB"), rom::EncodeError);
    try {
        (void)trapped.encode("BAB");
        ADD_FAILURE() << "BAB encoded";
    } catch (const rom::EncodeError& error) {
        EXPECT_EQ(error.column(), 3U) << "the B, which makes the A before it read as X";
        EXPECT_NE(std::string(error.what())
                      .find("the entry of line 1 (01) is read as the entry of line 3 (0102)"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(trapped.encode("<$01>B"), rom::EncodeError) << "a raw byte read as a longer key";
    EXPECT_EQ(trapped.encode("<$01>A"), (Bytes{0x01, 0x01}));
    // A key that begins with the first entry's... and the first entry a key
    // that another begins.
    const rom::Table first = rom::Table::Read("0203=Y\n02=B\n03=C\n");
    EXPECT_EQ(first.encode("Y"), (Bytes{0x02, 0x03}));
    EXPECT_THROW(first.encode("BC"), rom::EncodeError) << "02 03 reads back as Y";
    // A key of three bytes over a key of one and one of two.
    const rom::Table three = rom::Table::Read("01=A\n0203=B\n010203=X\n04=B\n");
    EXPECT_EQ(three.encode("AB"), (Bytes{0x01, 0x04}));
    EXPECT_EQ(three.encode("X"), (Bytes{0x01, 0x02, 0x03}));
    // An end token that begins a longer key: the key is never read back.
    const rom::Table ends = rom::Table::Read("/FF\nFF01=X\n01=A\n");
    EXPECT_THROW(ends.encode("X"), rom::EncodeError);
}

// Characters of four bytes read and written whole; a line break at an
// entry's end is the layout's alone.
TEST(Table, ReadsEveryCharacterAndLayoutBreak) {
    const rom::Table table = rom::Table::Read("01=\xF0\x9F\x98\x80\n02=A\\n\n/FF\n");
    EXPECT_EQ(table.entries()[0].text, "\xF0\x9F\x98\x80");
    EXPECT_EQ(table.entries()[1].text, "A\n");
    const Bytes bytes = {0x01, 0x02, 0x01, 0xFF};
    EXPECT_EQ(table.decode(bytes.data(), bytes.size(), true).text,
              "\xF0\x9F\x98\x80"
              "A\n\xF0\x9F\x98\x80");
    EXPECT_EQ(table.encode("A\xF0\x9F\x98\x80"), (Bytes{0x02, 0x01}))
        << "no layout break in the text";
    try {
        (void)table.encode(
            "\xF0\x9F\x98\x80\xC3\xA9"
            "A");
        ADD_FAILURE() << "an e with an accent";
    } catch (const rom::EncodeError& error) {
        EXPECT_EQ(error.column(), 2U) << "characters counted, not bytes";
    }
}

TEST(Table, NamesEachFaultByItsLine) {
    const std::tuple<const char*, std::string, std::size_t, const char*> rows[] = {
        {"a line of no form", "0A=A\nhello\n", 2, "'h' is not a hex digit"},
        {"no equals sign", "0A\n", 1, "no '=' after its bytes"},
        {"an odd number of digits", "# c\n0A=A\n123=B\n", 3, "an odd number of hex digits: 123"},
        {"the same bytes twice", "0A=A\n0B=B\n0a=C\n", 3, "the same bytes as line 1"},
        {"an entry with no text", "0A=\n", 1, "has no text"},
        {"a control code without its count", "$FD=<wait>\n", 1, "$HEX=label,N"},
        {"not UTF-8", "0A=A\n0B=\xC3\x28\n", 2, "not UTF-8"},
        {"a broken three-byte character", "0B=\xE3\x81\x28\n", 1, "not UTF-8"},
        {"a character cut at the line's end", "0A=A\n0B=\xE3\x81\n", 2, "not UTF-8"},
        {"an overlong form", "0B=\xE0\x80\xAF\n", 1, "not UTF-8"},
        {"a surrogate", "0B=\xED\xA0\x80\n", 1, "not UTF-8"},
        {"a four-byte character past U+10FFFF", "0B=\xF4\x90\x80\x80\n", 1, "not UTF-8"},
        {"a four-byte lead cut short", "0B=\xF0\x9F\x98\n", 1, "not UTF-8"},
        {"a control code's count of four digits", "$FD=<w>,1000\n", 1, "$HEX=label,N"},
        {"a control code's count that is no number", "$FD=<w>,x\n", 1, "$HEX=label,N"},
        {"a control code with no label", "$FD=,1\n", 1, "$HEX=label,N"},
        {"a line break with text", "*FE=x\n", 1, "takes no text"},
    };
    for (const auto& [name, file, line, fault] : rows) {
        try {
            rom::Table::Read(file);
            ADD_FAILURE() << name;
        } catch (const rom::TableError& error) {
            EXPECT_EQ(error.line(), line) << name;
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos) << error.what();
        }
    }
}

}  // namespace
