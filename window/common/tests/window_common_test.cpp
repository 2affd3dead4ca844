// The window rules both toolkits share, one table of named rows per rule.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <tuple>

#include "caption_colours.h"
#include "conversions/conversions.h"
#include "error_messages.h"
#include "pointer_description.h"

// Each row: colour 19 (or none), the desktop's text colour, and the window's
// background, text and line.
TEST(ChooseCaptionColours, ReadsOnAnyDesktop) {
    const Rgb blue{216, 228, 248}, black{0, 0, 0}, white{255, 255, 255}, grey{200, 200, 200};
    const Rgb darkGrey{0x76, 0x76, 0x76};  // 3.5:1 on the blue
    const std::tuple<const char*, std::optional<Rgb>, Rgb, Rgb, Rgb, Rgb> rows[] = {
        {"no colour 19, dark desktop", std::nullopt, {238, 238, 236}, blue, black, black},
        {"Windows 10 and 11: black colour 19, black text", black, black, blue, black, black},
        {"Wine: grey colour 19 the text reads on", grey, black, grey, black, black},
        {"high contrast black", black, white, black, white, white},
        {"high contrast white", white, black, white, black, black},
        {"text colour that reads as a line only", std::nullopt, darkGrey, blue, black, darkGrey},
    };
    for (const auto& [name, colour19, windowText, background, text, line] : rows) {
        const CaptionColours chosen = ChooseCaptionColours(colour19, windowText);
        EXPECT_TRUE(chosen.background == background && chosen.text == text && chosen.line == line)
            << name;
    }
}

TEST(PointerDescription, SpellsOutTheStoredBytes) {
    const std::tuple<const char*, std::u16string, std::u16string> rows[] = {
        {"low byte 00 dropped", u"80", u"CPU address $8000, stored as 00 80"},
        {"four digits, lower case", u"13c1", u"CPU address $C113, stored as 13 C1"},
        {"not hex", u"1!", u""},
        {"five digits", u"10000", u""},
    };
    for (const auto& [name, text, description] : rows) {
        EXPECT_TRUE(PointerDescription(text) == description) << name;
    }
}

TEST(DescribeCurrentError, NamesTheErrorAndWhatToChange) {
    const auto describe = [](auto error, Tool tool) {
        try {
            throw error;
        } catch (...) {
            return DescribeCurrentError(tool);
        }
    };
    const ErrorMessage overflow = describe(conversions::ArithmeticOverflow(), Tool::Pointer);
    EXPECT_TRUE(overflow.text == u"Run-time error '6':\n\nOverflow");
    EXPECT_NE(describe(conversions::ArithmeticOverflow(), Tool::WordToHex).hint, overflow.hint);
    EXPECT_TRUE(describe(std::bad_alloc(), Tool::WordToHex).text ==
                u"Run-time error '7':\n\nOut of memory");
    EXPECT_TRUE(describe(std::runtime_error("broken"), Tool::Pointer).text == u"broken");
}
