// Reading a script: its `@` lines, then its entries, every fault named by
// its line and column.
#include "rom/script.h"

#include <algorithm>
#include <map>

#include "rom/numbers.h"

namespace rom {
namespace {

std::size_t Column(std::string_view line, std::size_t at) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < at && i < line.size(); ++i) {
        column += (static_cast<unsigned char>(line[i]) & 0xC0U) != 0x80 ? 1 : 0;
    }
    return column;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t start = line.find_first_not_of(" \t", at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        at = end;
    }
    return words;
}

class Reader {
public:
    explicit Reader(std::size_t line) : line_(line) {}

    [[noreturn]] void fail(std::string_view text, std::string_view at,
                           const std::string& fault) const {
        throw ScriptError(line_, Column(text, static_cast<std::size_t>(at.data() - text.data())),
                          fault);
    }

    std::uint64_t hex(std::string_view text, std::string_view word, const char* what) const {
        try {
            return ReadHex(word);
        } catch (const NumberError& error) {
            fail(text, word, std::string(what) + " is a file offset in hex: " + error.what());
        }
    }

    std::uint64_t count(std::string_view text, std::string_view word, const char* what) const {
        try {
            return ReadCount(word);
        } catch (const NumberError&) {
            fail(text, word,
                 std::string(what) + " is a number, in decimal or in hex after 0x or $");
        }
    }

    void pointers(std::string_view text, const std::vector<std::string_view>& words,
                  Script& script) const {
        PointerTable& table = script.pointers;
        if (words.size() < 2) {
            fail(text, text, "@pointers needs the table's offset");
        }
        table.offset = hex(text, words[1], "the table");
        std::optional<std::uint64_t> type, size, base;
        bool counted = false, banked = false;
        for (std::size_t i = 2; i < words.size(); i += 2) {
            const std::string_view key = words[i];
            if (i + 1 >= words.size()) {
                fail(text, key, std::string(key) + " needs a value");
            }
            const std::string_view value = words[i + 1];
            if (key == "count") {
                table.count = count(text, value, "count"), counted = true;
            } else if (key == "type") {
                type = count(text, value, "type");
            } else if (key == "bank") {
                table.bank = count(text, value, "bank"), banked = true;
            } else if (key == "high") {
                table.high = hex(text, value, "high");
            } else if (key == "bank-size") {
                size = count(text, value, "bank-size");
            } else if (key == "base") {
                base = hex(text, value, "base");
            } else {
                fail(text, key,
                     "@pointers takes count, type, bank, high, bank-size and base, not " +
                         std::string(key));
            }
        }
        if (!counted || !banked) {
            fail(text, text, std::string("@pointers needs its ") + (counted ? "bank" : "count"));
        }
        if (type && (*type == 1 || *type == 2) && !size && !base) {
            table.window = Type(static_cast<int>(*type));
        } else if (!type && size == 8 && base &&
                   EightKiBWindow(static_cast<std::uint32_t>(*base))) {
            table.window = *EightKiBWindow(static_cast<std::uint32_t>(*base));
        } else if (!type && size == 16 && (base == 0x8000 || base == 0xC000)) {
            table.window = Type(base == 0x8000 ? 1 : 2);
        } else {
            fail(text, text,
                 "@pointers needs type 1 or 2, or bank-size 8 and a base of $8000, "
                 "$A000, $C000 or $E000");
        }
    }

    void space(std::string_view text, const std::vector<std::string_view>& words,
               Script& script) const {
        const std::size_t dash = words.size() == 2 ? words[1].find('-') : std::string_view::npos;
        if (dash == std::string_view::npos) {
            fail(text, text, "@space is START-END, two file offsets in hex");
        }
        const std::uint64_t first = hex(text, words[1].substr(0, dash), "START");
        const std::uint64_t last = hex(text, words[1].substr(dash + 1), "END");
        if (last < first) {
            fail(text, words[1], "@space ends before it begins");
        }
        script.spaces.push_back({first, last});
    }

private:
    std::size_t line_;
};

}  // namespace

Script ReadScript(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    Script script;
    bool pointers = false;
    bool table = false;
    std::map<std::uint64_t, std::size_t> lines;  // each entry's line
    ScriptEntry* open = nullptr;
    std::size_t number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        const Reader reader(number);
        if (line.rfind("//", 0) == 0) {
            continue;
        }
        if (line.rfind('@', 0) == 0) {
            if (open != nullptr) {
                reader.fail(line, line, "an @ line comes before the first entry");
            }
            const std::vector<std::string_view> words = Words(line);
            if (words[0] == "@rom" && words.size() >= 2) {
                std::string_view name = line.substr(4);
                const std::string_view last = words.back();
                if (words.size() >= 3 && last.rfind("crc32=", 0) == 0) {
                    try {
                        script.crc32 = static_cast<std::uint32_t>(ReadHex(last.substr(6)));
                    } catch (const NumberError&) {
                        reader.fail(line, last, "crc32= takes eight hex digits");
                    }
                    name = line.substr(4, static_cast<std::size_t>(last.data() - line.data()) - 4);
                }
                name.remove_prefix(std::min(name.find_first_not_of(" \t"), name.size()));
                name.remove_suffix(name.size() - (name.find_last_not_of(" \t") + 1));
                script.rom = std::string(name);
            } else if (words[0] == "@table" && words.size() >= 2) {
                script.table = std::string(
                    line.substr(static_cast<std::size_t>(words[1].data() - line.data())));
                table = true;
            } else if (words[0] == "@pointers") {
                reader.pointers(line, words, script);
                pointers = true;
            } else if (words[0] == "@space") {
                reader.space(line, words, script);
            } else {
                reader.fail(line, line,
                            "an unknown @ line: " + std::string(words[0]) +
                                " (the @ lines are @rom, @table, @pointers and @space)");
            }
            continue;
        }
        if (line.size() >= 2 && line[0] == '<' && line[1] >= '0' && line[1] <= '9') {
            if (!pointers || !table) {
                reader.fail(line, line,
                            pointers ? "no @table line before the first entry"
                                     : "no @pointers line before the first entry");
            }
            const std::size_t close = line.find('>');
            std::uint64_t index = 0;
            try {
                index = close == std::string_view::npos ? throw NumberError("")
                                                        : ReadCount(line.substr(1, close - 1));
            } catch (const NumberError&) {
                reader.fail(line, line, "an entry is <N>, N its pointer's number from 0");
            }
            if (index >= script.pointers.count) {
                reader.fail(line, line,
                            "entry " + std::to_string(index) + " is past the table's " +
                                std::to_string(script.pointers.count) + " pointers");
            }
            const auto [place, added] = lines.emplace(index, number);
            if (!added) {
                reader.fail(line, line,
                            "entry " + std::to_string(index) + " again: it is at line " +
                                std::to_string(place->second) + " too");
            }
            ScriptEntry entry;
            entry.index = index;
            entry.line = number;
            const std::vector<std::string_view> rest = Words(line.substr(close + 1));
            if (rest.size() == 1 && rest[0] == "keep") {
                entry.kind = ScriptEntry::Kind::Keep;
            } else if (!rest.empty() && rest[0] == "=") {
                const std::string_view other = rest.size() == 2 ? rest[1] : std::string_view();
                if (other.size() < 3 || other.front() != '<' || other.back() != '>') {
                    reader.fail(line, rest[0], "an entry that follows another is <N> = <M>");
                }
                try {
                    entry.same = ReadCount(other.substr(1, other.size() - 2));
                } catch (const NumberError&) {
                    reader.fail(line, other, "an entry that follows another is <N> = <M>");
                }
                if (entry.same >= script.pointers.count) {
                    reader.fail(
                        line, other,
                        "entry " + std::to_string(entry.same) + " is past the table's pointers");
                }
                entry.kind = ScriptEntry::Kind::Same;
            }
            script.entries.push_back(std::move(entry));
            open = &script.entries.back();
            continue;
        }
        if (open == nullptr) {
            if (line.find_first_not_of(" \t") != std::string_view::npos) {
                reader.fail(line, line, "text before the first entry");
            }
            continue;
        }
        if (open->kind != ScriptEntry::Kind::Text) {
            if (line.find_first_not_of(" \t") != std::string_view::npos) {
                reader.fail(line, line, "entry " + std::to_string(open->index) + " takes no text");
            }
            continue;
        }
        if (!line.empty()) {
            open->lines.emplace_back(number, open->text.size());
            open->text += line;
        }
    }
    if (!pointers || !table) {
        throw ScriptError(number, 0, pointers ? "no @table line" : "no @pointers line");
    }
    for (std::uint64_t index = 0; index < script.pointers.count; ++index) {
        if (lines.count(index) == 0) {
            throw ScriptError(number, 0,
                              "entry " + std::to_string(index) +
                                  " is missing: every "
                                  "pointer of the table has one, if only <N> keep");
        }
    }
    std::sort(script.entries.begin(), script.entries.end(),
              [](const ScriptEntry& a, const ScriptEntry& b) { return a.index < b.index; });
    for (const ScriptEntry& entry : script.entries) {
        // A chain of = must end in text or keep, not go round.
        std::uint64_t at = entry.index;
        for (std::size_t steps = 0; script.entries[at].kind == ScriptEntry::Kind::Same; ++steps) {
            if (steps > script.entries.size()) {
                throw ScriptError(
                    entry.line, 0,
                    "entry " + std::to_string(entry.index) + " follows itself round a chain of =");
            }
            at = script.entries[at].same;
        }
    }
    return script;
}

std::string ScriptHead(const Script& script) {
    std::string head;
    if (!script.rom.empty()) {
        head += "@rom " + script.rom +
                (script.crc32 ? " crc32=" + Dollar(*script.crc32).substr(1) : "") + '\n';
    }
    head += "@table " + script.table + '\n';
    const PointerTable& t = script.pointers;
    head += "@pointers " + Dollar(t.offset) + (t.high ? " high " + Dollar(*t.high) : "") +
            " count " + std::to_string(t.count);
    if (t.window == Type(1) || t.window == Type(2)) {
        head += t.window == Type(1) ? " type 1" : " type 2";
    } else {
        head += " bank-size 8 base " + Dollar(t.window.base);
    }
    head += " bank " + std::to_string(t.bank) + '\n';
    for (const Span& space : script.spaces) {
        head += "@space " + Dollar(space.first) + "-" + Dollar(space.last) + '\n';
    }
    return head;
}

std::pair<std::size_t, std::size_t> PlaceIn(const ScriptEntry& entry, std::size_t at) {
    std::pair<std::size_t, std::size_t> line{entry.line, 0};
    for (const auto& [number, start] : entry.lines) {
        if (start <= at) {
            line = {number, start};
        }
    }
    std::size_t column = 1;
    for (std::size_t i = line.second; i < at; ++i) {
        column += (static_cast<unsigned char>(entry.text[i]) & 0xC0U) != 0x80 ? 1 : 0;
    }
    return {line.first, column};
}

}  // namespace rom
