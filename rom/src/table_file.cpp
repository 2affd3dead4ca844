// Reading a .tbl file: its forms, and every fault named by its line.
#include <map>

#include "rom/table.h"
#include "table_index.h"

namespace rom {
namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

unsigned HexValue(char c) {
    return c <= '9' ? static_cast<unsigned>(c - '0')
                    : (static_cast<unsigned>(c) | 0x20U) - 'a' + 10;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t point = lead;
        if (lead >= 0xC2 && lead < 0xE0) {
            length = 2, point = lead & 0x1FU;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3, point = lead & 0x0FU;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4, point = lead & 0x07U;
        } else if (lead >= 0x80) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0U) != 0x80) {
                return false;
            }
            point = point << 6U | (static_cast<unsigned char>(text[i + k]) & 0x3FU);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (point < smallest[length] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) {
            return false;
        }
        i += length;
    }
    return true;
}

// An entry's text as the file writes it: "\n" is a line break.
std::string Unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The bytes of a key's hex digits; throws for a key of none, or of an odd
// number.
std::vector<std::uint8_t> KeyOf(std::string_view hex, std::size_t line) {
    if (hex.empty()) {
        throw TableError(line, "not an entry: no hex digits before its '='");
    }
    for (const char c : hex) {
        if (!IsHex(c)) {
            throw TableError(line, "not an entry: '" + std::string(1, c) + "' is not a hex digit");
        }
    }
    if (hex.size() % 2 != 0) {
        throw TableError(line, "an odd number of hex digits: " + std::string(hex));
    }
    std::vector<std::uint8_t> key;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        key.push_back(static_cast<std::uint8_t>(HexValue(hex[i]) << 4U | HexValue(hex[i + 1])));
    }
    return key;
}

TableEntry EntryOf(std::string_view text, std::size_t line) {
    TableEntry entry;
    entry.line = line;
    const char form = text[0];
    if (form == '/' || form == '*' || form == '$') {
        text.remove_prefix(1);
    }
    const std::size_t equals = text.find('=');
    const std::string_view hex = text.substr(0, equals);
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1);
    entry.key = KeyOf(hex, line);
    if (form == '/') {
        entry.kind = TableEntry::Kind::End;
        entry.text = Unescaped(value);
    } else if (form == '*') {
        if (equals != std::string_view::npos) {
            throw TableError(line, "a line break (*" + std::string(hex) + ") takes no text");
        }
        entry.kind = TableEntry::Kind::Break;
        entry.text = "<br>\n";
    } else if (form == '$') {
        const std::size_t comma = value.rfind(',');
        const std::string_view count =
            comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        if (comma == 0 || count.empty() || count.size() > 3 ||
            count.find_first_not_of("0123456789") != std::string_view::npos) {
            throw TableError(line, "a control code is $HEX=label,N, N its parameter bytes");
        }
        entry.kind = TableEntry::Kind::Control;
        entry.text = Unescaped(value.substr(0, comma));
        entry.parameters = static_cast<unsigned>(std::stoul(std::string(count)));
    } else {
        if (equals == std::string_view::npos) {
            throw TableError(line, "not an entry: no '=' after its bytes");
        }
        entry.text = Unescaped(value);
        if (entry.text.empty()) {
            throw TableError(line, "the entry for " + std::string(hex) + " has no text");
        }
    }
    return entry;
}

// Each key's owner (the deepest entry on its way) and the end tokens a
// decoder reads before a longer key.
void Finish(const std::vector<TableEntry>& entries, Trie& keys,
            std::vector<std::int32_t>& endBefore) {
    std::vector<std::int32_t> todo;
    for (const std::int32_t top : keys.root) {
        if (top >= 0) {
            keys.nodes[static_cast<std::size_t>(top)].owner = keys.at(top).entry;
            todo.push_back(top);
        }
    }
    while (!todo.empty()) {
        const std::int32_t node = todo.back();
        todo.pop_back();
        for (const auto& [byte, next] : keys.at(node).next) {
            Trie::Node& child = keys.nodes[static_cast<std::size_t>(next)];
            child.owner = child.entry >= 0 ? child.entry : keys.at(node).owner;
            todo.push_back(next);
        }
    }
    endBefore.assign(entries.size(), -1);
    for (std::size_t e = 0; e < entries.size(); ++e) {
        std::int32_t node = 0;
        for (std::size_t depth = 0; depth + 1 < entries[e].key.size(); ++depth) {
            node = keys.child(node, entries[e].key[depth]);
            const std::int32_t entry = keys.at(node).entry;
            if (entry >= 0 &&
                entries[static_cast<std::size_t>(entry)].kind == TableEntry::Kind::End) {
                endBefore[e] = entry;
                break;
            }
        }
    }
}

}  // namespace

Table Table::Read(std::string_view file) {
    if (file.substr(0, 3) == "\xEF\xBB\xBF") {
        file.remove_prefix(3);
    }
    Table table;
    auto index = std::make_shared<Index>();
    std::map<std::vector<std::uint8_t>, std::size_t> lines;  // each key's line
    std::size_t number = 0;
    for (std::size_t start = 0; start < file.size();) {
        std::size_t end = file.find('\n', start);
        end = end == std::string_view::npos ? file.size() : end;
        std::string_view line = file.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!IsUtf8(line)) {
            throw TableError(number, "not UTF-8");
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        TableEntry entry = EntryOf(line, number);
        const auto [place, added] = lines.emplace(entry.key, number);
        if (!added) {
            throw TableError(number, "the same bytes as line " + std::to_string(place->second));
        }
        index->longestKey = std::max(index->longestKey, entry.key.size());
        const auto entryIndex = static_cast<std::int32_t>(table.entries_.size());
        const std::int32_t key = index->keys.add(
            std::string_view(reinterpret_cast<const char*>(entry.key.data()), entry.key.size()));
        index->keys.nodes[static_cast<std::size_t>(key)].entry = entryIndex;
        index->keyNode.push_back(key);
        const std::string text = WithoutLayoutBreaks(entry.text);
        if (!text.empty()) {
            const auto textNode = static_cast<std::size_t>(index->texts.add(text));
            index->sameText.resize(index->texts.nodes.size());
            index->sameText[textNode].push_back(entryIndex);
            index->texts.nodes[textNode].entry = entryIndex;
        }
        table.entries_.push_back(std::move(entry));
    }
    index->sameText.resize(index->texts.nodes.size());
    Finish(table.entries_, index->keys, index->endBefore);
    table.index_ = std::move(index);
    return table;
}

}  // namespace rom
