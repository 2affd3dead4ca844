#include <string>

#include <gtest/gtest.h>

#include "conversions/conversions.h"
#include "expect_overflow.h"

using namespace conversions;

TEST(ComputePointerText, MapsOffsetsIntoTheSelectedBank) {
    struct Row {
        const char* name;
        std::u16string offset;
        const char* type1;
        const char* type2;
    };
    const Row rows[] = {
        {"empty", u"", "80", "C0"},
        {"inside the header", u"F", "80", "C0"},
        {"first byte after the header", u"10", "80", "C0"},
        {"last byte of the first bank", u"3FFF", "EFBF", "EFFF"},
        {"first byte of the second bank", u"4010", "80", "C0"},
        {"second byte of the second bank", u"4011", "180", "1C0"},
        {"64 KB after the header", u"10010", "80", "C0"},
        {"seventh bank start", u"18010", "80", "C0"},
        {"inside a bank", u"8123", "1381", "13C1"},
        {"past 64 KB", u"10013", "380", "3C0"},
        {"largest offset", u"7FFFFFFF", "EFBF", "EFFF"},
        {"pasted with a prefix and a space", u"0x8123 ", "1381", "13C1"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ComputePointerText(row.offset, true, false), row.type1) << row.name;
        EXPECT_EQ(ComputePointerText(row.offset, false, true), row.type2) << row.name;
    }
}

TEST(ComputePointerText, TypeTwoWinsAndNoTypeMeansBaseZero) {
    EXPECT_EQ(ComputePointerText(u"8123", true, true), "13C1");
    EXPECT_EQ(ComputePointerText(u"4011", false, false), "100");
    EXPECT_EQ(ComputePointerText(u"8123", false, false), "1301");
    EXPECT_EQ(ComputePointerText(u"", false, false), "0");
}

TEST(ComputePointerText, OverflowingOffsetsGiveNoPointer) {
    for (const bool type1 : {false, true}) {
        for (const bool type2 : {false, true}) {
            ExpectOverflow([&] { ComputePointerText(u"80000000", type1, type2); });
            ExpectOverflow([&] { ComputePointerText(u"FFFFFFFF", type1, type2); });
        }
    }
}

TEST(ComputeCpuAddress, GivesTheAddressBeforeItsBytesAreSwapped) {
    EXPECT_EQ(ComputeCpuAddress(u"8123", true, false), 0x8113);
    EXPECT_EQ(ComputeCpuAddress(u"3FFF", false, true), 0xFFEF);
    EXPECT_EQ(PointerText(0x8113), "1381");
    EXPECT_EQ(PointerText(0x00FF), "FF00");
}
