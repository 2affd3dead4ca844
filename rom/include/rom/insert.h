// Inserting scripts back into a ROM: each entry's text encoded in the fewest
// bytes that read back, the strings laid out in the spaces their pointers
// reach, and every pointer rewritten.
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

// Each entry's bytes, by its pointer's number: a Text entry's text in the
// fewest bytes, ended by its end token (the table's first, or the end token
// its text ends with); nothing for the other entries. Throws ScriptErrors
// with every entry the table cannot encode.
std::vector<std::optional<Bytes>> EncodeScript(const Script& script, const Table& table);

// Every line of a text longer than `width` characters, and every text of
// more than `most` lines, as faults of the script at their lines. A line
// ends at a line break (<br>); a control code and its parameter bytes count
// no characters, a raw byte one, an entry's text its characters. At most
// ScriptErrors::kMostFaults.
std::vector<ScriptError> LayoutFaults(const Script& script, const Table& table,
                                      std::optional<std::uint64_t> width,
                                      std::optional<std::uint64_t> most);

// A script and its entries' bytes, for Insert; `table` decodes the strings
// that `<N> keep` keeps.
struct Translation {
    const Script* script;
    const Table* table;
    std::vector<std::optional<Bytes>> strings;
};

// Where a space was given: by the command (no script), or by a script's
// `@space` line.
struct Space {
    Span span;
    std::optional<std::size_t> script;  // its index among the translations
    std::size_t line = 0;
};

// What an insert could not do.
class InsertError : public std::runtime_error {
public:
    enum class Fault {
        Space,      // a space over the header, a table, outside the banks
        NoRoom,     // the strings do not fit in the spaces
        Unreached,  // a pointer, rewritten, does not reach its string's bytes
    };
    InsertError(Fault fault, const std::string& what, std::optional<Space> space = {})
        : std::runtime_error(what), fault_(fault), space_(space) {}
    [[nodiscard]] Fault fault() const { return fault_; }
    // The space at fault, for Fault::Space.
    [[nodiscard]] const std::optional<Space>& space() const { return space_; }

private:
    Fault fault_;
    std::optional<Space> space_;
};

// One bank as a window sees it: what its strings need and its spaces hold.
struct BankUse {
    std::uint64_t bank = 0;
    BankWindow window{};
    std::uint64_t needed = 0;
    std::uint64_t holds = 0;
    std::size_t strings = 0;
    std::size_t shared = 0;  // strings stored in another's bytes
};

struct Inserted {
    Bytes rom;
    std::vector<BankUse> banks;
};

// Where no room is left, the banks as they would have been.
class NoRoomError : public InsertError {
public:
    explicit NoRoomError(std::vector<BankUse> banks)
        : InsertError(Fault::NoRoom, "the text does not fit in the spaces"),
          banks_(std::move(banks)) {}
    [[nodiscard]] const std::vector<BankUse>& banks() const { return banks_; }

private:
    std::vector<BankUse> banks_;
};

// The ROM with every script's strings laid out in the spaces (the scripts'
// and `spaces`) and their pointers rewritten. The bytes of a string a kept
// pointer reaches are taken out of the spaces. Each script's pointer table
// must have been checked against the ROM (CheckPointerTable). Throws
// InsertError.
Inserted Insert(const Rom& rom, const std::vector<Translation>& translations,
                const std::vector<Space>& spaces, std::optional<std::uint8_t> fill);

}  // namespace rom
