// Dumping a script: each pointer followed to its string, the string
// decoded up to its end token and written so that no editor can change it
// by accident; and each entry's text encoded back.
#include <algorithm>
#include <map>

#include "rom/dump.h"
#include "rom/numbers.h"

namespace rom {
namespace {

// A pointer's bytes, low and high, where the table keeps them.
std::pair<std::uint64_t, std::uint64_t> PlacesOf(const PointerTable& table, std::uint64_t i) {
    return table.high ? std::make_pair(table.offset + i, *table.high + i)
                      : std::make_pair(table.offset + 2 * i, table.offset + 2 * i + 1);
}

std::string Raw(const std::uint8_t* bytes, std::size_t size) {
    std::string raw;
    for (std::size_t i = 0; i < size; ++i) {
        raw += "<$" + ByteHex(bytes[i]) + ">";
    }
    return raw;
}

// A string's text as script lines: a line a layout line break, each piece
// that an editor or the reader could misread written as its raw bytes: a
// space at a line's end, a line that would begin as an entry, a comment or
// an @ line.
std::string Lines(const Decoded& decoded, const std::uint8_t* bytes) {
    std::string out;
    std::vector<const Decoded::Piece*> line;
    const auto flush = [&] {
        std::vector<std::string> texts;
        for (const Decoded::Piece* piece : line) {
            texts.push_back(decoded.text.substr(piece->text, piece->textSize));
            if (!texts.back().empty() && texts.back().back() == '\n') {
                texts.back().pop_back();
            }
        }
        std::string joined;
        for (const std::string& text : texts) {
            joined += text;
        }
        const bool entryLike =
            joined.size() >= 2 && joined[0] == '<' && joined[1] >= '0' && joined[1] <= '9';
        if (!line.empty() &&
            (entryLike || joined.rfind("//", 0) == 0 || joined.rfind('@', 0) == 0)) {
            texts.front() = Raw(bytes + line.front()->bytes, line.front()->byteSize);
        }
        if (!line.empty() && !texts.back().empty() &&
            (texts.back().back() == ' ' || texts.back().back() == '\t')) {
            texts.back() = Raw(bytes + line.back()->bytes, line.back()->byteSize);
        }
        for (const std::string& text : texts) {
            out += text;
        }
        out += '\n';
        line.clear();
    };
    for (const Decoded::Piece& piece : decoded.pieces) {
        line.push_back(&piece);
        if (piece.textSize > 0 && decoded.text[piece.text + piece.textSize - 1] == '\n') {
            flush();
        }
    }
    if (!line.empty()) {
        flush();
    }
    return out;
}

std::string Comment(const std::string& text) {
    std::string out = "// ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\n' && i + 1 < text.size()) {
            out += "// ";
        }
    }
    return out.back() == '\n' ? out : out + '\n';
}

}  // namespace

Dumped Dump(const Rom& rom, const Table& table, const Script& head) {
    const PointerTable& pointers = head.pointers;
    const Bytes& file = rom.file;
    CheckPointerTable(rom, pointers);
    const std::uint64_t bankEnd = BankBytes(rom, pointers.bank, pointers.window).second;
    Dumped dumped;
    std::string body;
    std::map<std::uint32_t, std::uint64_t> seen;  // each address followed, and its first pointer
    std::vector<Span> strings;
    for (std::uint64_t i = 0; i < pointers.count; ++i) {
        const auto [low, high] = PlacesOf(pointers, i);
        const std::uint32_t address = file[low] | static_cast<std::uint32_t>(file[high]) << 8U;
        const std::string number = "<" + std::to_string(i) + ">";
        if (const auto earlier = seen.find(address); earlier != seen.end()) {
            body += "\n" + number + " = <" + std::to_string(earlier->second) + ">\n";
            continue;
        }
        const std::optional<std::uint64_t> offset =
            FileOffsetOf(pointers.window, pointers.bank, address, rom.header.trainer);
        std::string why;
        Decoded decoded;
        if (!offset) {
            why = Dollar(address) + " is outside " + WindowName(pointers.window);
        } else if (*offset >= file.size()) {
            why = Dollar(address) + " is past the end of the file, at " + Dollar(*offset);
        } else {
            decoded = table.decode(file.data() + *offset,
                                   static_cast<std::size_t>(bankEnd - *offset), true);
            if (decoded.end == nullptr) {
                why = "no end token after " + Dollar(*offset) + " before the bank ends";
            }
        }
        if (!why.empty()) {
            body.append("\n").append(number).append(" keep\n// ").append(why).append("\n");
            ++dumped.kept;
            continue;
        }
        seen.emplace(address, i);
        std::string lines = Lines(decoded, file.data() + *offset);
        const TableEntry* first = table.firstEnd();
        if (decoded.end != first) {  // another end token: written, so that insert keeps it
            if (!lines.empty()) {
                lines.pop_back();
            }
            lines += table.writtenEnd(*decoded.end) + "\n";
        }
        body.append("\n").append(number).append(" ").append(Dollar(*offset)).append("\n");
        body.append(Comment(decoded.text)).append(lines);
        strings.push_back({*offset, *offset + decoded.size + decoded.end->key.size() - 1});
    }
    // The runs of strings that lie end to end, or within each other.
    std::sort(strings.begin(), strings.end(),
              [](const Span& a, const Span& b) { return a.first < b.first; });
    Script script = head;
    script.spaces.clear();
    for (const Span& span : strings) {
        if (!script.spaces.empty() && span.first <= script.spaces.back().last + 1) {
            script.spaces.back().last = std::max(script.spaces.back().last, span.last);
        } else {
            script.spaces.push_back(span);
        }
    }
    dumped.script = ScriptHead(script) + body;
    return dumped;
}

std::pair<std::uint64_t, std::uint64_t> BankBytes(const Rom& rom, std::uint64_t bank,
                                                  const BankWindow& window) {
    const std::uint64_t start = rom.prgStart();
    const std::uint64_t end = std::min<std::uint64_t>(rom.file.size(), start + rom.header.prgSize);
    if (bank >= rom.prgBanks(window.size)) {
        return {end, end};
    }
    const std::uint64_t first = start + bank * window.size;
    return {first, std::min<std::uint64_t>(end, first + window.size)};
}

void CheckPointerTable(const Rom& rom, const PointerTable& table) {
    const std::uint64_t banks = rom.prgBanks(table.window.size);
    if (table.bank >= banks) {
        throw RomError("bank " + std::to_string(table.bank) +
                       " is past the end of PRG-ROM, which has " + std::to_string(banks) +
                       (banks == 1 ? " bank" : " banks") + " of " +
                       std::to_string(table.window.size / 1024) + " KiB");
    }
    // The last pointer's bytes, counted so that no sum overflows.
    const std::uint64_t size = rom.file.size();
    const std::uint64_t perPointer = table.high ? 1 : 2;
    const auto past = [&](std::uint64_t first) {
        return first >= size || table.count > (size - first) / perPointer;
    };
    if (table.count > 0 && (past(table.offset) || (table.high && past(*table.high)))) {
        throw RomError("the pointer table at " + Dollar(table.offset) +
                       " runs past the end of the file");
    }
}

}  // namespace rom
