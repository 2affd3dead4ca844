// Searches of a ROM's PRG-ROM: for the pointers to a file offset, for bytes,
// and for text whose table is not known yet (a relative search). Hits in
// the header or trainer, or in CHR-ROM, are none.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "rom/address.h"
#include "rom/header.h"

namespace rom {

struct PointerHit {
    std::uint64_t offset;  // of the pointer's low byte
    BankWindow window;
    std::uint64_t bank;  // that the pointer lies in, in the window's banks
    std::uint8_t low;
    std::uint8_t high;
};

// Every place where a pointer to `target` is stored, low byte first, for
// each window it may be seen through; in the order of the file.
std::vector<PointerHit> FindPointers(const Rom& rom, std::uint64_t target,
                                     const std::vector<BankWindow>& windows);

// Every file offset where `pattern` lies, in order.
std::vector<std::uint64_t> FindBytes(const Rom& rom, const std::vector<std::uint8_t>& pattern);

// A relative search's word: letters A-Z, or digits alone.
struct RelativeWord {
    std::vector<int> values;  // each letter's place from "A", or digit's from "0"
    bool digits = false;
};

// Nothing for a word of anything else, or of fewer than two characters.
std::optional<RelativeWord> ReadRelativeWord(std::string_view word);

struct RelativeHit {
    std::uint64_t offset;
    std::uint8_t first;  // the byte that stands for "A", or "0" for digits
};

// Every offset where the bytes step as the word's characters step, with no
// wrapping past 00 or FF.
std::vector<RelativeHit> FindRelative(const Rom& rom, const RelativeWord& word);

// The table a relative hit implies, as a .tbl file's text: A-Z (or 0-9)
// from its first byte on, as far as a byte goes.
std::string RelativeTable(const RelativeWord& word, std::uint8_t first);

}  // namespace rom
