// The window rules both toolkits share, one table of named rows per rule.
#include <gtest/gtest.h>

#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <tuple>

#include "caption_colours.h"
#include "code_page_description.h"
#include "conversions/conversions.h"
#include "error_messages.h"
#include "fitting_size.h"
#include "pointer_description.h"
#include "window_behaviour.h"

// Each row: colour 19 (or none), the desktop's text colour, and the window's
// background, text and line. Grey 101 is the last to reach 4.5:1 on the
// picture's blue, 120 the last to read better on it than on the night blue,
// 141 the first to reach 4.5:1 on that; 118 the last to reach 4.5:1 on white.
TEST(ChooseCaptionColours, ReadsOnAnyDesktop) {
    const Rgb blue{216, 228, 248}, night{30, 39, 56}, black{0, 0, 0}, white{255, 255, 255};
    const auto g = [](std::uint8_t level) { return Rgb{level, level, level}; };
    const std::tuple<const char*, std::optional<Rgb>, Rgb, Rgb, Rgb, Rgb> rows[] = {
        {"Windows 10 and 11: black colour 19, black text", black, black, blue, black, black},
        {"Wine: grey colour 19 the text reads on", g(200), black, g(200), black, black},
        {"text just reads", std::nullopt, g(101), blue, g(101), g(101)},
        {"text just does not read", std::nullopt, g(102), blue, black, g(102)},
        {"the last grey on the light blue", std::nullopt, g(120), blue, black, g(120)},
        {"the first on the night blue, the worst line", std::nullopt, g(121), night, white, g(121)},
        {"text just reads on the night blue", std::nullopt, g(141), night, g(141), g(141)},
        {"a dark desktop", std::nullopt, white, night, white, white},
        {"colour 19 the text just reads on", white, g(118), white, g(118), g(118)},
        {"colour 19 the text just does not read on", white, g(119), blue, black, g(119)},
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
        {"four digits, lower case", u"a1cf", u"CPU address $CFA1, stored as A1 CF"},
        {"upper case, a 9, an address below $1000", u"9A0F", u"CPU address $0F9A, stored as 9A 0F"},
        {"empty", u"", u""},
        {"not hex", u"1g", u""},
        {"five digits", u"10000", u""},
    };
    for (const auto& [name, text, description] : rows) {
        EXPECT_TRUE(PointerDescription(text) == description) << name;
    }
}

TEST(FittingPointSize, StepsDownToTheFirstSizeThatFitsOrTheSmallest) {
    EXPECT_EQ(FittingPointSize(9, [](double size) { return size <= 7.5; }), 7.5);
    EXPECT_EQ(FittingPointSize(9, [](double) { return false; }), 6);
}

TEST(DescribeCurrentError, NamesTheErrorAndWhatToChange) {
    const auto describe = [](auto error, Tool tool) {
        try {
            throw error;
        } catch (...) {
            return DescribeCurrentError(tool);
        }
    };
    EXPECT_NE(describe(conversions::ArithmeticOverflow(), Tool::WordToHex).hint.find(u"word"),
              std::u16string::npos);
    EXPECT_TRUE(describe(std::bad_alloc(), Tool::WordToHex).text ==
                u"Run-time error '7':\n\nOut of memory");
    EXPECT_TRUE(describe(std::runtime_error("broken"), Tool::Pointer).text == u"broken");
}

// The hex value box's tool tip, as every window shows it.
TEST(CodePageDescription, SaysWhoseCodesAndWhatChoseThem) {
    using By = conversions::CodePageChoice::By;
    const std::map<std::u16string, By> chosenBy = {
        {u"system", By::System}, {u"environment", By::Environment}, {u"browser", By::Browser}};
    const auto number = [](const std::u16string& text) {
        return static_cast<unsigned>(std::stoul(std::string(text.begin(), text.end())));
    };
    for (const auto& [name, by, setting, codePage, wanted, text] : kCodePageRows) {
        const conversions::CodePageChoice choice{number(codePage), chosenBy.at(by),
                                                 std::string(setting.begin(), setting.end()),
                                                 number(wanted)};
        EXPECT_TRUE(CodePageDescription(choice) == text) << Shown(name);
    }
    EXPECT_TRUE(CodePageDescription({932, By::Choice, "--code-page 932", 932}) ==
                u"Codes of Windows code page 932 (Japanese), chosen with --code-page 932");
    for (const unsigned codePage : conversions::kCodePages) {  // each by its name
        const auto text = CodePageDescription({codePage, By::Choice, "", codePage});
        EXPECT_EQ(text.find(u"Codes of Windows code page "), 0U) << codePage;
    }
}
