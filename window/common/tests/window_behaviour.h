// What a user sees of the window, whatever its toolkit: the rows of
// window_behaviour.json (which says how to read them), checked on a window
// that a WindowDriver drives. The page's test reads the same table.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "window_behaviour_rows.h"

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

// Every row on the window given, with `kept` standing in the pointer and hex
// value boxes, an offset of `longOffset` characters and a word of `longWord`.
// Returns the failures, a line each; "" where the window behaves.
inline std::string CheckBehaviour(WindowDriver& window, const std::u16string& kept,
                                  std::size_t longOffset, std::size_t longWord) {
    std::u16string longCodes;
    for (std::size_t i = 0; i < longWord; ++i) {
        longCodes += u" 11";
    }
    const auto text = [&](const std::u16string& cell, const std::u16string& otherwise) {
        return cell == u"LONG OFFSET"                ? std::u16string(longOffset, u'0')
               : cell == u"LONG WORD"                ? std::u16string(longWord, u'A')
               : cell == u"LONG CODES"               ? longCodes
               : cell.empty() || cell == u"OVERFLOW" ? otherwise
                                                     : cell;
    };
    std::string failures;
    for (const auto& row : kBehaviourRows) {
        const std::string name = Shown(row[0]);
        const auto expect = [&](bool holds, const std::string& what) {
            failures.append(holds ? "" : name + ": ").append(holds ? "" : what + "\n");
        };
        const bool overflowed = row[4] == u"OVERFLOW";
        const std::pair<const char*, std::u16string> boxes[] = {{"offset", text(row[1], u"")},
                                                                {"pointer", text(row[4], kept)},
                                                                {"word", text(row[2], u"")},
                                                                {"HV", text(row[5], kept)}};
        window.paste("offset", boxes[0].second);
        window.paste("pointer", kept);
        window.paste("word", boxes[2].second);
        window.paste("HV", kept);
        std::istringstream actions("Option1 offset " + std::string(row[3].begin(), row[3].end()));
        for (std::string action; actions >> action;) {
            window.act(action.substr(0, action.find(':')));
            expect(action.find(':') == std::string::npos ||
                       window.focused() == action.substr(action.find(':') + 1),
                   action + " focuses " + window.focused());
        }
        const std::vector<std::u16string> messages = window.takeMessages();
        expect(messages.size() == (overflowed ? 1U : 0U) &&
                   (!overflowed || (messages[0].rfind(u"Run-time error '6':\n\nOverflow", 0) == 0 &&
                                    messages[0].find(u"7FFFFFFF") != std::u16string::npos)),
               std::to_string(messages.size()) + " messages");
        expect(!overflowed || window.selection("offset") ==
                                  std::pair<int, int>(0, int(boxes[0].second.size())),
               "the offset is not selected");
        for (const auto& [box, content] : boxes) {
            expect(
                window.text(box) == content,
                std::string(box) + " holds " + Shown(window.text(box)) + ", not " + Shown(content));
        }
        expect(row[5].empty() || window.selection("HV").first == 0,
               "the codes do not show from their start");
    }
    return kBehaviourRows.size() > 10 ? failures : "the table has too few rows\n";
}
