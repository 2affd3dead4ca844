// The lines of a script's texts against the game's window: how many
// characters each line holds, and how many lines each text has.
#include <algorithm>
#include <cctype>

#include "rom/insert.h"

namespace rom {
namespace {

bool IsRaw(std::string_view text, std::size_t at) {
    const auto hex = [&](std::size_t i) {
        return i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    };
    return text.substr(at, 2) == "<$" && hex(at + 2) && hex(at + 3) && at + 4 < text.size() &&
           text[at + 4] == '>';
}

// Where each line of a text begins, and the characters it holds.
std::vector<std::pair<std::size_t, std::uint64_t>> Lines(std::string_view text,
                                                         const Table& table) {
    std::vector<std::pair<std::size_t, std::uint64_t>> lines{{0, 0}};
    for (std::size_t at = 0; at < text.size();) {
        if (text.compare(at, 4, "<br>") == 0) {
            at += 4;
            lines.emplace_back(at, 0);
            continue;
        }
        if (IsRaw(text, at)) {
            at += 5;
            ++lines.back().second;
            continue;
        }
        // A control code's label and its parameter bytes count nothing.
        const auto control = std::find_if(
            table.entries().begin(), table.entries().end(), [&](const TableEntry& entry) {
                return entry.kind == TableEntry::Kind::Control && !entry.text.empty() &&
                       text.compare(at, entry.text.size(), entry.text) == 0;
            });
        if (control != table.entries().end()) {
            at += control->text.size();
            for (unsigned n = 0; n < control->parameters && IsRaw(text, at); ++n) {
                at += 5;
            }
            continue;
        }
        ++lines.back().second;
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0U) == 0x80) {
            ++at;  // the rest of a character of more than one byte
        }
    }
    return lines;
}

}  // namespace

std::vector<ScriptError> LayoutFaults(const Script& script, const Table& table,
                                      std::optional<std::uint64_t> width,
                                      std::optional<std::uint64_t> most) {
    std::vector<ScriptError> faults;
    for (const ScriptEntry& entry : script.entries) {
        if (entry.kind != ScriptEntry::Kind::Text) {
            continue;
        }
        const auto lines = Lines(table.endOfText(entry.text).second, table);
        for (const auto& [start, characters] : lines) {
            if (width && characters > *width && faults.size() < ScriptErrors::kMostFaults) {
                const auto [line, column] = PlaceIn(entry, start);
                faults.emplace_back(line, column,
                                    "a line of " + std::to_string(characters) +
                                        " characters, past the width of " + std::to_string(*width));
            }
        }
        if (most && lines.size() > *most && faults.size() < ScriptErrors::kMostFaults) {
            faults.emplace_back(entry.line, 0,
                                "entry " + std::to_string(entry.index) + " has " +
                                    std::to_string(lines.size()) + " lines, past the " +
                                    std::to_string(*most) + " the window holds");
        }
    }
    return faults;
}

}  // namespace rom
