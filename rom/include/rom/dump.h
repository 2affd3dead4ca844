// Dumping a script through a pointer table, and inserting one back with
// every pointer rewritten.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "rom/header.h"
#include "rom/script.h"
#include "rom/table.h"

namespace rom {

struct Dumped {
    std::string script;
    std::size_t kept = 0;  // pointers that could not be followed, written `<N> keep`
};

// The script of the strings a pointer table points at, each read up to its
// end token and decoded by the table. Throws RomError where the table itself
// lies outside the file.
Dumped Dump(const Rom& rom, const Table& table, const Script& head);

// Each entry's bytes, by its pointer's number: a Text entry's text
// encoded in the fewest bytes, its end token added (the table's first) where
// the text does not end with one; nothing for the other entries. Throws
// ScriptError at the character the table cannot encode.
std::vector<std::optional<Bytes>> EncodeScript(const Script& script, const Table& table);

// A script and its entries' bytes, for Insert.
struct Translation {
    const Script* script;
    std::vector<std::optional<Bytes>> strings;
};

// An insert that cannot be done: a space that is wrong (`usage`), or text
// that does not fit, or a script entry that cannot be encoded.
class InsertError : public std::runtime_error {
public:
    InsertError(bool usage, const std::string& what) : std::runtime_error(what), usage_(usage) {}
    [[nodiscard]] bool usage() const { return usage_; }

private:
    bool usage_;
};

struct BankUse {
    std::string bank;  // "bank 2, type 1"
    std::uint64_t needed = 0;
    std::uint64_t holds = 0;
    std::size_t strings = 0;
    std::size_t shared = 0;  // strings stored in another's bytes
};

struct Inserted {
    Bytes rom;
    std::vector<BankUse> banks;
};

// The ROM with every script's strings laid out in the spaces (theirs and
// `spaces`) and their pointers rewritten; throws InsertError.
Inserted Insert(const Rom& rom, const std::vector<Translation>& translations,
                const std::vector<Span>& spaces, std::optional<std::uint8_t> fill);

}  // namespace rom
