// What a user sees of the window, whatever its toolkit: each window's test
// drives its own window through a WindowDriver, and these checks say what
// must come of it. They return their failures, a line each; "" where the
// window behaves.
#pragma once

#include <sstream>
#include <string>
#include <vector>

// One window, driven as a user drives it. An action is a control's name in
// the window ("offset", "Calculate", "Label5"), which clicks it, or a key
// pressed on the focused control: "Tab", "Return", "Enter" (on the keypad)
// or "Esc".
class WindowDriver {
public:
    virtual ~WindowDriver() = default;
    virtual void act(const std::string& action) = 0;
    virtual void paste(const std::string& box, const std::u16string& text) = 0;  // replaces it
    virtual std::u16string text(const std::string& box) = 0;
    virtual std::pair<int, int> selection(const std::string& box) = 0;  // start, end
    virtual std::string focused() = 0;
    virtual std::vector<std::u16string> takeMessages() = 0;  // the message boxes shown since
};

inline std::string Shown(const std::u16string& text) {
    return text.size() > 40 ? std::to_string(text.size()) + " characters"
                            : std::string(text.begin(), text.end());
}

// Each click or key writes its own box, or none, and keeps every other text
// whole; an overflow is reported, and the window goes on. `kept` stands in
// the pointer and hex value boxes before each row; an offset of `longOffset`
// characters and a word of `longWord` show that the boxes take long texts.
inline std::string CheckActions(WindowDriver& window, const std::u16string& kept,
                                std::size_t longOffset, std::size_t longWord) {
    std::u16string longCodes;
    for (std::size_t i = 0; i < longWord; ++i) {
        longCodes += u" 11";
    }
    const std::u16string overflow = u"overflow";
    const struct {
        const char* name;
        std::u16string offset, word;
        const char* actions;     // after a click on "Type 1" and on the offset box
        std::u16string pointer;  // empty: not written
        std::u16string codes;    // empty: not written
    } rows[] = {
        {"Type 1", u"8123", u"", "Calculate", u"1381", u""},
        {"Type 2 caption", u"8123", u"", "Label5 Calculate", u"13C1", u""},
        {"Type 1 caption after Type 2", u"8123", u"", "Option2 Label4 Calculate", u"1381", u""},
        {"full-width digits", u"\uFF18\uFF11\uFF12\uFF13", u"", "Calculate", u"1381", u""},
        {"above 7FFFFFFF", u"FFFFFFFF", u"", "Calculate", overflow, u""},
        {"long offset", std::u16string(longOffset, u'0'), u"", "Calculate", overflow, u""},
        {"CALCULATE twice", u"", u"ONLY CAPITAL!", "Command1 Command1", u"",
         u" 1F 1E 1C 29 FFF0 13 11 20 19 24 11 1C FFF1"},
        {"long word", u"", std::u16string(longWord, u'A'), "Command1", u"", longCodes},
        {"Tab to Calculate, Enter", u"8123", u"", "Tab Tab Return", u"1381", u""},
        {"Tab to CALCULATE, keypad Enter", u"", u"AB", "Tab Tab Tab Tab Tab Tab Enter", u"",
         u" 11 12"},
        {"Enter and Escape in a box", u"8123", u"AB", "Return Esc", u"", u""},
    };
    std::string failures;
    const auto expect = [&](bool holds, const char* row, const std::string& what) {
        failures += holds ? "" : std::string(row) + ": " + what + "\n";
    };
    for (const auto& row : rows) {
        const bool overflowed = row.pointer == overflow;
        const std::pair<const char*, std::u16string> texts[] = {
            {"offset", row.offset},
            {"pointer", row.pointer.empty() || overflowed ? kept : row.pointer},
            {"word", row.word},
            {"HV", row.codes.empty() ? kept : row.codes}};
        window.paste("offset", row.offset);
        window.paste("pointer", kept);
        window.paste("word", row.word);
        window.paste("HV", kept);
        std::istringstream actions(std::string("Option1 offset ") + row.actions);
        for (std::string action; actions >> action;) {
            window.act(action);
        }
        const std::vector<std::u16string> messages = window.takeMessages();
        expect(messages.size() == (overflowed ? 1U : 0U) &&
                   (!overflowed || messages[0].rfind(u"Run-time error '6':\n\nOverflow", 0) == 0),
               row.name, std::to_string(messages.size()) + " messages");
        expect(!overflowed || (window.focused() == "offset" &&
                               window.selection("offset").second == int(row.offset.size()) &&
                               window.selection("offset").first == 0),
               row.name, "the offset is not focused and selected");
        for (const auto& [box, text] : texts) {
            expect(window.text(box) == text, row.name,
                   std::string(box) + " holds " + Shown(window.text(box)) + ", not " + Shown(text));
        }
        expect(row.codes.empty() || window.selection("HV").first == 0, row.name,
               "the codes do not show from their start");
    }
    window.paste("offset", u"10");  // and the window goes on
    window.act("Calculate");
    expect(window.text("pointer") == u"80", "after them all", "Calculate does not calculate");
    return failures;
}

// Tab visits the controls in the layout's order, and enters the options at
// the selected one.
inline std::string CheckTabOrder(WindowDriver& window) {
    std::string visited;
    std::istringstream actions(
        "Option1 offset Tab Tab Tab Tab Tab Tab Tab Tab "
        "Label5 offset Tab Tab Tab Tab");
    for (std::string action; actions >> action;) {
        window.act(action);
        visited += action == "Tab" ? window.focused() + " " : "";
    }
    return visited ==
                   "pointer Calculate Exit Option1 word Command1 HV offset "
                   "pointer Calculate Exit Option2 "
               ? ""
               : "Tab visits " + visited + "\n";
}
