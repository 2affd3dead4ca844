// What a table is read into: its keys and its texts as tries, and for each
// key what a decoder makes of it.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "rom/table.h"

namespace rom {

struct Trie {
    struct Node {
        std::vector<std::pair<std::uint8_t, std::int32_t>> next;  // sorted by byte
        std::int32_t entry = -1;
        // In the keys' trie: the deepest entry on the way to this node, or -1.
        std::int32_t owner = -1;
    };
    std::vector<Node> nodes{1};
    std::vector<std::int32_t> root = std::vector<std::int32_t>(256, -1);

    [[nodiscard]] std::int32_t child(std::int32_t node, std::uint8_t byte) const;
    std::int32_t add(std::string_view path);
    [[nodiscard]] const Node& at(std::int32_t node) const {
        return nodes[static_cast<std::size_t>(node)];
    }
    [[nodiscard]] bool leaf(std::int32_t node) const { return node != 0 && at(node).next.empty(); }
};

struct Table::Index {
    Trie keys;   // the entries' bytes
    Trie texts;  // the entries' texts without layout line breaks
    // Each text node's entries, in file order, end tokens among them.
    std::vector<std::vector<std::int32_t>> sameText;
    // Each entry's node in the keys' trie, and the end token a decoder
    // reads in its place where an end token's key begins it (else -1).
    std::vector<std::int32_t> keyNode;
    std::vector<std::int32_t> endBefore;
    std::size_t longestKey = 0;
};

}  // namespace rom
