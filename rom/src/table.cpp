// A table's keys and texts as tries, and decoding by the longest key.
#include <algorithm>

#include "rom/numbers.h"
#include "rom/table.h"
#include "table_index.h"

namespace rom {

std::int32_t Trie::child(std::int32_t node, std::uint8_t byte) const {
    if (node == 0) {
        return root[byte];
    }
    const auto& next = nodes[static_cast<std::size_t>(node)].next;
    const auto place = std::lower_bound(next.begin(), next.end(), std::make_pair(byte, INT32_MIN));
    return place != next.end() && place->first == byte ? place->second : -1;
}

std::int32_t Trie::add(std::string_view path) {
    std::int32_t node = 0;
    for (const char c : path) {
        const auto byte = static_cast<std::uint8_t>(c);
        std::int32_t next = child(node, byte);
        if (next < 0) {
            next = static_cast<std::int32_t>(nodes.size());
            nodes.emplace_back();
            if (node == 0) {
                root[byte] = next;
            } else {
                auto& links = nodes[static_cast<std::size_t>(node)].next;
                links.insert(
                    std::lower_bound(links.begin(), links.end(), std::make_pair(byte, INT32_MIN)),
                    {byte, next});
            }
        }
        node = next;
    }
    return node;
}

const TableEntry* Table::firstEnd() const {
    const auto end = std::find_if(entries_.begin(), entries_.end(), [](const TableEntry& entry) {
        return entry.kind == TableEntry::Kind::End;
    });
    return end == entries_.end() ? nullptr : &*end;
}

Decoded Table::decode(const std::uint8_t* data, std::size_t size, bool stopAtEnd) const {
    Decoded decoded;
    std::size_t at = 0;
    const auto piece = [&](std::size_t text, std::size_t bytes) {
        decoded.pieces.push_back({text, decoded.text.size() - text, bytes, at - bytes});
    };
    while (at < size) {
        const std::size_t text = decoded.text.size();
        const std::size_t bytes = at;
        const TableEntry* const found = keyAt(data + at, size - at);
        if (found == nullptr) {
            decoded.text += "<$" + ByteHex(data[at++]) + ">";
            piece(text, bytes);
            continue;
        }
        if (found->kind == TableEntry::Kind::End && stopAtEnd) {
            decoded.end = found;
            break;
        }
        at += found->key.size();
        if (found->kind == TableEntry::Kind::End) {
            if (found->text.empty()) {
                for (const std::uint8_t byte : found->key) {
                    decoded.text += "<$" + ByteHex(byte) + ">";
                }
            }
        }
        decoded.text += found->text;
        piece(text, bytes);
        for (unsigned i = 0; i < found->parameters && at < size; ++i) {
            decoded.text += "<$" + ByteHex(data[at++]) + ">";
            piece(decoded.text.size() - 5, at - 1);
        }
    }
    decoded.size = at;
    return decoded;
}

const TableEntry* Table::keyAt(const std::uint8_t* data, std::size_t size) const {
    const TableEntry* found = nullptr;
    for (std::int32_t node = 0, depth = 0; static_cast<std::size_t>(depth) < size;) {
        node = index_->keys.child(node, data[depth]);
        if (node < 0) {
            break;
        }
        ++depth;
        const std::int32_t entry = index_->keys.at(node).entry;
        if (entry >= 0) {
            found = &entries_[static_cast<std::size_t>(entry)];
            if (found->kind == TableEntry::Kind::End) {
                break;  // an end token first
            }
        }
    }
    return found;
}

Table::Step Table::first(const std::uint8_t* data, std::size_t size) const {
    const TableEntry* const found = keyAt(data, size);
    if (found == nullptr) {
        return {Step::Kind::Raw, 1};
    }
    if (found->kind == TableEntry::Kind::End) {
        return {Step::Kind::End, found->key.size()};
    }
    return {Step::Kind::Entry, std::min(size, found->key.size() + found->parameters)};
}

std::string Table::writtenEnd(const TableEntry& end) const {
    std::string raw;
    for (const std::uint8_t byte : end.key) {
        raw += "<$" + ByteHex(byte) + ">";
    }
    return raw;
}

std::pair<const TableEntry*, std::string_view> Table::endOfText(std::string_view text) const {
    const auto endsWith = [&](const std::string& tail) {
        if (tail.size() > text.size()) {
            return false;
        }
        for (std::size_t i = 0; i < tail.size(); ++i) {
            const char a = text[text.size() - tail.size() + i];
            const char b = tail[i];
            if (a != b && !(tail[0] == '<' && b >= 'A' && b <= 'F' && (a | 0x20) == (b | 0x20))) {
                return false;
            }
        }
        return true;
    };
    // Its text too, where no other entry has that text.
    const auto textOf = [&](const TableEntry& end) {
        const std::string own = WithoutLayoutBreaks(end.text);
        std::int32_t node = 0;
        for (std::size_t i = 0; i < own.size() && node >= 0; ++i) {
            node = index_->texts.child(node, static_cast<std::uint8_t>(own[i]));
        }
        const bool alone = node >= 0 && index_->sameText[static_cast<std::size_t>(node)] ==
                                            std::vector<std::int32_t>{
                                                static_cast<std::int32_t>(&end - entries_.data())};
        return !own.empty() && alone ? own : std::string();
    };
    for (const TableEntry& entry : entries_) {
        if (entry.kind != TableEntry::Kind::End) {
            continue;
        }
        for (const std::string& written : {writtenEnd(entry), textOf(entry)}) {
            if (!written.empty() && endsWith(written)) {
                return {&entry, text.substr(0, text.size() - written.size())};
            }
        }
    }
    return {nullptr, text};
}

std::string WithoutLayoutBreaks(std::string_view text) {
    std::string out(text);
    out.erase(std::remove(out.begin(), out.end(), '\n'), out.end());
    return out;
}

}  // namespace rom
