// Searches of a ROM's PRG-ROM: for the pointers to a file offset, for bytes,
// and for text whose table is not known yet (a relative search). Hits in
// the header or trainer, or in CHR-ROM, are none.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rom/address.h"
#include "rom/header.h"
#include "rom/script.h"
#include "rom/table.h"

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

// A run of one repeated byte in PRG-ROM, within one 16 KiB bank: room for
// text where nothing else is.
struct FreeRun {
    std::uint64_t first;  // file offsets
    std::uint64_t last;
    std::uint64_t bank;  // of 16 KiB
    bool fixed;          // the last bank, seen as type 2; the others as type 1
    std::uint8_t byte;
};

// The runs of `byte` (by default whichever of 00 and FF PRG-ROM has more
// of) of `least` bytes or more, largest first, then in the file's order. A
// run that follows other bytes begins a byte later: its first byte may be
// the end token of a string.
std::vector<FreeRun> FindFree(const Rom& rom, std::optional<std::uint8_t> byte,
                              std::uint64_t least);

// A pointer table found by its strings: `clean` of its pointers reach a
// string the table decodes with no raw byte, ending in an end token within
// the bank.
struct FoundTable {
    PointerTable table;
    std::uint64_t clean = 0;
};

// The pointer tables of the ROM, stored as pairs or as split arrays of low
// and high bytes, of `least` pointers or more into one of the windows, their
// strings decoded by `table`; best first: the most of their strings clean,
// then the longest.
std::vector<FoundTable> FindTables(const Rom& rom, const Table& table,
                                   const std::vector<BankWindow>& windows, std::uint64_t least);

// A relative search's word: letters A-Z and a-z, or digits alone. Each
// kind of character steps among its own: capitals as capitals do, small
// letters as small ones, wherever either begins.
struct RelativeWord {
    enum Kind { kCapital, kSmall, kDigit, kKinds };
    std::vector<int> values;  // each character's place from "A", "a" or "0"
    std::vector<Kind> kinds;
    bool digits = false;
};

// Nothing for a word of anything else, or without two characters of one
// kind.
std::optional<RelativeWord> ReadRelativeWord(std::string_view word);

struct RelativeHit {
    std::uint64_t offset;
    // The byte that stands for "A", "a" and "0", where the word has them.
    std::array<std::optional<std::uint8_t>, RelativeWord::kKinds> first;
    bool operator==(const RelativeHit& other) const { return first == other.first; }
};

// Every offset where the bytes step as the word's characters step, with no
// wrapping past 00 or FF.
std::vector<RelativeHit> FindRelative(const Rom& rom, const RelativeWord& word);

// The table a relative hit implies, as a .tbl file's text: A-Z, a-z and
// 0-9 from their first bytes on, as far as a byte goes.
std::string RelativeTable(const RelativeHit& hit);

// A hit's table in short: "A=0A a=2A".
std::string RelativeFirsts(const RelativeHit& hit);

}  // namespace rom
