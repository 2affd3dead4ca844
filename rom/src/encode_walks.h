// What a decoder has not yet decided, as an encoder lays down keys: the
// walks through the keys' trie begun at each key or raw byte so far that
// the bytes after it could still make a longer key. A decoder reads a key
// as itself only if its walk ends, over the bytes that follow, without
// reaching another entry; the end token must end them all.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "rom/table.h"
#include "table_index.h"

namespace rom {

class Walks {
public:
    // Why a step would not be read as itself.
    struct Conflict {
        enum class Kind {
            None,
            Longer,    // the bytes after it make a longer key
            IntoEnd,   // its key and the end token make a longer key
            PastEnd,   // a longer key could go on past the end token
            EndFirst,  // an end token's key begins its own
            Raw,       // a raw byte that a decoder reads as more, or as an end
        };
        Kind kind = Kind::None;
        std::int32_t owner = -1;   // the entry read wrongly, -1 for a raw byte
        std::int32_t reader = -1;  // the entry read in its place
        std::size_t at = 0;        // where in the text the step begins
    };

    Walks(const std::vector<TableEntry>& entries, const Trie& keys,
          const std::vector<std::int32_t>& keyNode, const std::vector<std::int32_t>& endBefore);

    // The state after a key, a raw byte, or a control code's parameter byte
    // in a state, or -1 where that is not read as laid down. State 0 has no
    // walks; `at` is where the step begins in the text.
    std::int32_t key(std::int32_t state, std::int32_t entry, std::size_t at);
    std::int32_t raw(std::int32_t state, std::uint8_t byte, std::size_t at);
    std::int32_t byte(std::int32_t state, std::uint8_t byte, std::size_t at);
    // Whether the end token after the state ends every walk.
    bool ends(std::int32_t state, const std::vector<std::uint8_t>& end, std::size_t at);

    // Keeps a conflict where it is the furthest into the text; -1.
    std::int32_t note(const Conflict& why, std::size_t at);

    // The conflict furthest into the text, and it in words.
    [[nodiscard]] const Conflict& furthest() const { return furthest_; }
    [[nodiscard]] std::string explain(const Conflict& conflict) const;

private:
    struct Hash {
        std::size_t operator()(const std::vector<std::int32_t>& walks) const;
    };
    enum : std::uint32_t { kRaw = 1U << 30U, kByte = 1U << 31U };

    std::int32_t step(std::int32_t state, std::uint32_t code, std::size_t at);
    bool feed(std::vector<std::int32_t>& walks, const std::uint8_t* bytes, std::size_t size,
              Conflict::Kind kind, Conflict& why) const;
    std::int32_t stateOf(std::vector<std::int32_t> walks);
    [[nodiscard]] std::string name(std::int32_t entry) const;

    const std::vector<TableEntry>& entries_;
    const Trie& keys_;
    const std::vector<std::int32_t>& keyNode_;
    const std::vector<std::int32_t>& endBefore_;
    std::vector<std::vector<std::int32_t>> states_{{}};
    // The bytes that take some walk of each state on: any other byte ends
    // them all.
    std::vector<std::bitset<256>> goOn_{{}};
    std::unordered_map<std::vector<std::int32_t>, std::int32_t, Hash> known_{{{}, 0}};
    std::unordered_map<std::uint64_t, std::int32_t> next_;  // -1 - conflict for a failure
    std::vector<Conflict> conflicts_;
    // Each state's end: not yet known, ends every walk, or its conflict.
    enum : std::int32_t { kUnknown = -2, kEnds = -1 };
    std::vector<std::int32_t> ends_;
    Conflict furthest_;
};

}  // namespace rom
