// Reading a script: its `@` lines, then its entries, every fault named by
// its line and column.
#include "rom/script.h"

#include <algorithm>
#include <map>

#include "rom/hashes.h"
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
            fail(text, text.substr(text.size()), "@pointers needs the table's offset");
        }
        table.offset = hex(text, words[1], "the table");
        std::optional<std::uint64_t> type, size, base;
        bool counted = false, banked = false;
        for (std::size_t i = 2; i < words.size(); i += 2) {
            const std::string_view key = words[i];
            if (i + 1 >= words.size()) {
                fail(text, text.substr(text.size()), std::string(key) + " needs a value");
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
            fail(text, text.substr(text.size()),
                 std::string("@pointers needs its ") + (counted ? "bank" : "count"));
        }
        if (type && (*type == 1 || *type == 2) && !size && !base) {
            table.window = *TypeWindow(*type);
        } else if (!type && size == 8 && base &&
                   EightKiBWindow(static_cast<std::uint32_t>(*base))) {
            table.window = *EightKiBWindow(static_cast<std::uint32_t>(*base));
        } else if (!type && size == 16 && (base == 0x8000 || base == 0xC000)) {
            table.window = base == 0x8000 ? kType1 : kType2;
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
        script.spaceLines.push_back(line_);
    }

    // "@rom NAME [crc32=XXXXXXXX] [trainer]"
    void rom(std::string_view text, const std::vector<std::string_view>& words,
             Script& script) const {
        std::size_t last = words.size();
        if (last >= 3 && words[last - 1] == "trainer") {
            script.trainer = true;
            --last;
        }
        if (last >= 3 && words[last - 1].rfind("crc32=", 0) == 0) {
            const std::string_view digits = words[last - 1].substr(6);
            if (digits.size() != 8 ||
                digits.find_first_not_of("0123456789ABCDEFabcdef") != std::string_view::npos) {
                fail(text, words[last - 1], "crc32= takes eight hex digits");
            }
            script.crc32 = static_cast<std::uint32_t>(ReadHex(digits));
            --last;
        }
        const std::size_t from = static_cast<std::size_t>(words[1].data() - text.data());
        const std::size_t to =
            static_cast<std::size_t>(words[last - 1].data() - text.data()) + words[last - 1].size();
        script.rom = std::string(text.substr(from, to - from));
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
    bool tableRead = false;  // the @pointers line, read without a fault
    bool table = false;
    bool skipping = false;  // the lines after an entry line at fault
    std::vector<ScriptError> faults;
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
        try {
            if (line.rfind("//", 0) == 0) {
                continue;
            }
            if (line.rfind('@', 0) == 0) {
                if (open != nullptr) {
                    reader.fail(line, line, "an @ line comes before the first entry");
                }
                const std::vector<std::string_view> words = Words(line);
                if (words[0] == "@rom" && words.size() >= 2) {
                    reader.rom(line, words, script);
                } else if (words[0] == "@table" && words.size() >= 2) {
                    script.table = std::string(
                        line.substr(static_cast<std::size_t>(words[1].data() - line.data())));
                    table = true;
                } else if (words[0] == "@pointers") {
                    pointers = true;  // a faulty one too: its entries are not all at fault
                    script.pointersLine = number;
                    reader.pointers(line, words, script);
                    tableRead = true;
                } else if (words[0] == "@space") {
                    reader.space(line, words, script);
                } else if (words[0] == "@width" || words[0] == "@lines") {
                    if (words.size() != 2) {
                        reader.fail(line, line.substr(line.size()),
                                    std::string(words[0]) + " takes one number");
                    }
                    (words[0] == "@width" ? script.width : script.lines) =
                        reader.count(line, words[1], words[0] == "@width" ? "@width" : "@lines");
                } else {
                    reader.fail(line, line,
                                "an unknown @ line: " + std::string(words[0]) +
                                    " (the @ lines are @rom, @table, @pointers, @space, @width "
                                    "and @lines)");
                }
                continue;
            }
            if (line.size() >= 2 && line[0] == '<' && line[1] >= '0' && line[1] <= '9') {
                skipping = true;
                open = nullptr;
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
                if (tableRead && index >= script.pointers.count) {
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
                    if (tableRead && entry.same >= script.pointers.count) {
                        reader.fail(line, other,
                                    "entry " + std::to_string(entry.same) +
                                        " is past the table's pointers");
                    }
                    entry.kind = ScriptEntry::Kind::Same;
                }
                script.entries.push_back(std::move(entry));
                open = &script.entries.back();
                skipping = false;
                continue;
            }
            if (skipping) {
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
                    reader.fail(line, line,
                                "entry " + std::to_string(open->index) + " takes no text");
                }
                continue;
            }
            if (!line.empty()) {
                open->lines.emplace_back(number, open->text.size());
                open->text += line;
            }
        } catch (const ScriptError& fault) {
            faults.push_back(fault);
            if (faults.size() == ScriptErrors::kMostFaults) {
                throw ScriptErrors(std::move(faults));
            }
        }
    }
    const auto fault = [&](std::size_t line, const std::string& what) {
        if (faults.size() < ScriptErrors::kMostFaults) {
            faults.emplace_back(line, 0, what);
        }
    };
    if (!pointers || !table) {
        fault(number, pointers ? "no @table line" : "no @pointers line");
    }
    for (std::uint64_t index = 0; tableRead && index < script.pointers.count; ++index) {
        if (lines.count(index) == 0) {
            fault(number, "entry " + std::to_string(index) +
                              " is missing: every pointer of the table has one, if only <N> keep");
        }
        if (faults.size() == ScriptErrors::kMostFaults) {
            break;
        }
    }
    if (!faults.empty()) {
        throw ScriptErrors(std::move(faults));
    }
    std::sort(script.entries.begin(), script.entries.end(),
              [](const ScriptEntry& a, const ScriptEntry& b) { return a.index < b.index; });
    // A chain of = must end in text or keep, not go round: each entry is
    // walked once, marked while its chain is followed and when it is done.
    enum : std::uint8_t { kNew, kFollowing, kDone };
    std::vector<std::uint8_t> mark(script.entries.size(), kNew);
    for (const ScriptEntry& entry : script.entries) {
        std::vector<std::uint64_t> chain;
        std::uint64_t at = entry.index;
        while (mark[at] == kNew && script.entries[at].kind == ScriptEntry::Kind::Same) {
            mark[at] = kFollowing;
            chain.push_back(at);
            at = script.entries[at].same;
        }
        if (mark[at] == kFollowing) {
            fault(entry.line,
                  "entry " + std::to_string(entry.index) + " follows itself round a chain of =");
        }
        for (const std::uint64_t done : chain) {
            mark[done] = kDone;
        }
    }
    if (!faults.empty()) {
        throw ScriptErrors(std::move(faults));
    }
    return script;
}

std::string ScriptHead(const Script& script) {
    std::string head;
    if (!script.rom.empty()) {
        head += "@rom " + script.rom + (script.crc32 ? " crc32=" + Crc32Hex(*script.crc32) : "") +
                (script.trainer ? " trainer" : "") + '\n';
    }
    head += "@table " + script.table + '\n';
    const PointerTable& t = script.pointers;
    head += "@pointers " + Dollar(t.offset) + (t.high ? " high " + Dollar(*t.high) : "") +
            " count " + std::to_string(t.count);
    if (t.window == kType1 || t.window == kType2) {
        head += t.window == kType1 ? " type 1" : " type 2";
    } else {
        head += " bank-size 8 base " + Dollar(t.window.base);
    }
    head += " bank " + std::to_string(t.bank) + '\n';
    for (const Span& space : script.spaces) {
        head += "@space " + Dollar(space.first) + "-" + Dollar(space.last) + '\n';
    }
    if (script.width) {
        head += "@width " + std::to_string(*script.width) + '\n';
    }
    if (script.lines) {
        head += "@lines " + std::to_string(*script.lines) + '\n';
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
