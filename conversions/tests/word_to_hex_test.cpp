#include <string>

#include <gtest/gtest.h>

#include "conversions/conversions.h"

using namespace conversions;

TEST(StringToHex, EncodesEachCodeUnitAsItsCodeLess48) {
    struct Row {
        const char* name;
        std::u16string word;
        const char* hex;
    };
    const Row rows[] = {
        {"empty", u"", ""},
        {"two capitals", u"AB", " 11 12"},
        {"the default word", u"ONLY CAPITAL!", " 1F 1E 1C 29 FFF0 13 11 20 19 24 11 1C FFF1"},
        {"digits", u"09", " 00 09"},
        {"last capital", u"Z", " 2A"},
        {"lower case is not folded", u"az", " 31 4A"},
        {"space", u" ", " FFF0"},
        {"NUL", std::u16string(1, u'\0'), " FFD0"},
        {"code 255", u"\u00FF", " CF"},
        {"euro sign, code 128", u"\u20AC", " 50"},
        {"not in the code page", u"\u4E2D", " 0F"},
        {"full-width capitals", u"\uFF21\uFF22", " 11 12"},
        {"ideographic space", u"\u3000", " FFF0"},
        {"outside the BMP takes two code units", u"\U0001F600", " 0F 0F"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(StringToHex(row.word), row.hex) << row.name;
    }
}
