// The walks a decoder has not yet decided, each set of them a state, and
// each step between states worked out once.
#include "encode_walks.h"

#include <algorithm>

#include "rom/numbers.h"

namespace rom {

Walks::Walks(const std::vector<TableEntry>& entries, const Trie& keys,
             const std::vector<std::int32_t>& keyNode, const std::vector<std::int32_t>& endBefore)
    : entries_(entries), keys_(keys), keyNode_(keyNode), endBefore_(endBefore) {}

std::size_t Walks::Hash::operator()(const std::vector<std::int32_t>& walks) const {
    std::size_t hash = walks.size();
    for (const std::int32_t node : walks) {
        hash = hash * 1000003U ^ static_cast<std::uint32_t>(node);
    }
    return hash;
}

std::int32_t Walks::key(std::int32_t state, std::int32_t entry, std::size_t at) {
    return step(state, static_cast<std::uint32_t>(entry), at);
}

std::int32_t Walks::raw(std::int32_t state, std::uint8_t byte, std::size_t at) {
    return step(state, kRaw | byte, at);
}

std::int32_t Walks::byte(std::int32_t state, std::uint8_t byte, std::size_t at) {
    return step(state, kByte | byte, at);
}

std::int32_t Walks::note(const Conflict& why, std::size_t at) {
    if (furthest_.kind == Conflict::Kind::None || at > furthest_.at) {
        furthest_ = why;
        furthest_.at = at;
    }
    return -1;
}

std::int32_t Walks::step(std::int32_t state, std::uint32_t code, std::size_t at) {
    // Where nothing is undecided and the step decides itself at once, as
    // in most tables for most steps, nothing is to be worked out.
    if (state == 0) {
        const auto byte = static_cast<std::uint8_t>(code);
        const bool decided =
            (code & kByte) != 0 || ((code & kRaw) != 0 && keys_.root[byte] < 0) ||
            ((code & (kRaw | kByte)) == 0 && endBefore_[code] < 0 &&
             (keys_.leaf(keyNode_[code]) || entries_[code].kind == TableEntry::Kind::End));
        if (decided) {
            return 0;
        }
    } else {
        const std::uint8_t first = (code & (kRaw | kByte)) != 0 ? static_cast<std::uint8_t>(code)
                                                                : entries_[code].key.front();
        if (!goOn_[static_cast<std::size_t>(state)][first]) {
            return step(0, code, at);  // every walk ends at the step's first byte
        }
    }
    const std::uint64_t memo = static_cast<std::uint64_t>(state) << 32U | code;
    if (const auto known = next_.find(memo); known != next_.end()) {
        return known->second >= 0
                   ? known->second
                   : note(conflicts_[static_cast<std::size_t>(-1 - known->second)], at);
    }
    std::vector<std::int32_t> walks = states_[static_cast<std::size_t>(state)];
    Conflict why;
    bool read = true;
    if ((code & kByte) != 0) {
        const auto byte = static_cast<std::uint8_t>(code);
        read = feed(walks, &byte, 1, Conflict::Kind::Longer, why);
    } else if ((code & kRaw) != 0) {
        const auto byte = static_cast<std::uint8_t>(code);
        read = feed(walks, &byte, 1, Conflict::Kind::Longer, why);
        if (keys_.root[byte] >= 0) {  // a byte that begins keys and is none
            walks.push_back(keys_.root[byte]);
        }
    } else {
        const auto entry = static_cast<std::size_t>(code);
        if (endBefore_[entry] >= 0) {
            why = {Conflict::Kind::EndFirst, static_cast<std::int32_t>(entry), endBefore_[entry],
                   0};
            read = false;
        } else {
            const std::vector<std::uint8_t>& key = entries_[entry].key;
            read = feed(walks, key.data(), key.size(), Conflict::Kind::Longer, why);
            // A decoder reads an end token as soon as its key is whole.
            if (entries_[entry].kind != TableEntry::Kind::End && !keys_.leaf(keyNode_[entry])) {
                walks.push_back(keyNode_[entry]);
            }
        }
    }
    std::int32_t next = -1;
    if (read) {
        next = stateOf(std::move(walks));
    } else {
        conflicts_.push_back(why);
        next = -static_cast<std::int32_t>(conflicts_.size());
    }
    next_.emplace(memo, next);
    return next >= 0 ? next : note(why, at);
}

// Each walk one byte on at a time: a walk that reaches an entry has read a
// longer key than its own; one that leaves the trie is decided.
bool Walks::feed(std::vector<std::int32_t>& walks, const std::uint8_t* bytes, std::size_t size,
                 Conflict::Kind kind, Conflict& why) const {
    for (std::size_t i = 0; i < size && !walks.empty(); ++i) {
        std::size_t kept = 0;
        for (const std::int32_t walk : walks) {
            const std::int32_t node = keys_.child(walk, bytes[i]);
            if (node < 0) {
                continue;
            }
            if (keys_.at(node).entry >= 0) {
                why = {kind, keys_.at(walk).owner, keys_.at(node).entry, 0};
                return false;
            }
            walks[kept++] = node;
        }
        walks.resize(kept);
    }
    return true;
}

std::int32_t Walks::stateOf(std::vector<std::int32_t> walks) {
    const auto [place, added] =
        known_.emplace(std::move(walks), static_cast<std::int32_t>(states_.size()));
    if (added) {
        states_.push_back(place->first);
        std::bitset<256> goOn;
        for (const std::int32_t walk : place->first) {
            for (const auto& [byte, next] : keys_.at(walk).next) {
                goOn.set(byte);
            }
        }
        goOn_.push_back(goOn);
    }
    return place->second;
}

bool Walks::ends(std::int32_t state, const std::vector<std::uint8_t>& end, std::size_t at) {
    ends_.resize(states_.size(), kUnknown);
    std::int32_t& known = ends_[static_cast<std::size_t>(state)];
    if (known == kUnknown) {
        std::vector<std::int32_t> walks = states_[static_cast<std::size_t>(state)];
        Conflict why;
        known = kEnds;
        if (!feed(walks, end.data(), end.size(), Conflict::Kind::IntoEnd, why) || !walks.empty()) {
            if (why.kind == Conflict::Kind::None) {
                why = {Conflict::Kind::PastEnd, keys_.at(walks.front()).owner, -1, 0};
            }
            conflicts_.push_back(why);
            known = static_cast<std::int32_t>(conflicts_.size() - 1);
        }
    }
    if (known != kEnds) {
        note(conflicts_[static_cast<std::size_t>(known)], at);
    }
    return known == kEnds;
}

std::string Walks::name(std::int32_t entry) const {
    if (entry < 0) {
        return "a raw byte";
    }
    const TableEntry& named = entries_[static_cast<std::size_t>(entry)];
    std::string hex;
    for (const std::uint8_t byte : named.key) {
        hex += ByteHex(byte);
    }
    return "the entry of line " + std::to_string(named.line) + " (" + hex + ")";
}

std::string Walks::explain(const Conflict& conflict) const {
    switch (conflict.kind) {
        case Conflict::Kind::Longer:
            return name(conflict.owner) + " is read as " + name(conflict.reader) +
                   " with the bytes that follow it";
        case Conflict::Kind::IntoEnd:
            return name(conflict.owner) + " is read as " + name(conflict.reader) +
                   " with the end token after it";
        case Conflict::Kind::PastEnd:
            return name(conflict.owner) +
                   " could be read as a longer key with the bytes after the end token";
        case Conflict::Kind::EndFirst:
            return name(conflict.owner) + " is read as the end token " + name(conflict.reader) +
                   ", which begins its key";
        case Conflict::Kind::Raw:
            return name(conflict.owner) + " is the key of " + name(conflict.reader) +
                   ", which a decoder reads otherwise: write that entry's text";
        case Conflict::Kind::None:
            break;
    }
    return "no entry of the table reads back";
}

}  // namespace rom
