// A script: a game's text as a person edits it, in any editor. `@` lines
// say where it came from and where its strings may lie; each entry, `<N>`,
// holds the text of pointer N, follows another pointer (`<N> = <M>`), or
// leaves it as it is (`<N> keep`).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "rom/address.h"

namespace rom {

// A script's fault, at its line and column (counted in characters from 1).
class ScriptError : public std::runtime_error {
public:
    ScriptError(std::size_t line, std::size_t column, const std::string& fault)
        : std::runtime_error("line " + std::to_string(line) +
                             (column > 0 ? ", column " + std::to_string(column) : "") + ": " +
                             fault),
          line_(line),
          column_(column) {}
    [[nodiscard]] std::size_t line() const { return line_; }
    [[nodiscard]] std::size_t column() const { return column_; }

private:
    std::size_t line_;
    std::size_t column_;
};

// Every fault of a script, in the order of its lines; at most kMostFaults.
class ScriptErrors : public std::runtime_error {
public:
    static constexpr std::size_t kMostFaults = 20;
    explicit ScriptErrors(std::vector<ScriptError> faults)
        : std::runtime_error(faults.empty() ? "" : faults.front().what()),
          faults_(std::move(faults)) {}
    [[nodiscard]] const std::vector<ScriptError>& faults() const { return faults_; }

private:
    std::vector<ScriptError> faults_;
};

// Where a pointer table is and how its pointers are read.
struct PointerTable {
    std::uint64_t offset = 0;           // the first pointer, or the low bytes of a split table
    std::optional<std::uint64_t> high;  // the high bytes of a split table
    std::uint64_t count = 0;
    BankWindow window = kType1;
    std::uint64_t bank = 0;
};

// Bytes from `first` to `last`, both included.
struct Span {
    std::uint64_t first;
    std::uint64_t last;
};

struct ScriptEntry {
    enum class Kind { Text, Same, Keep };
    Kind kind = Kind::Text;
    std::uint64_t index = 0;
    std::uint64_t same = 0;  // Same: the pointer this one follows
    std::string text;        // Text: its lines joined
    std::size_t line = 0;    // of its <N>
    // Each text line's number and where its text begins in `text`.
    std::vector<std::pair<std::size_t, std::size_t>> lines;
};

struct Script {
    std::string rom;
    std::optional<std::uint32_t> crc32;  // of the ROM's data after the header and trainer
    // Whether that ROM has a trainer: every offset of the script counts it.
    bool trainer = false;
    std::string table;
    PointerTable pointers;
    std::size_t pointersLine = 0;
    std::vector<Span> spaces;
    std::vector<std::size_t> spaceLines;  // each space's line, where it was read
    // The most characters a line of a text may hold, and the most lines a
    // text may have, where the game's window has them.
    std::optional<std::uint64_t> width;
    std::optional<std::uint64_t> lines;
    std::vector<ScriptEntry> entries;  // in the order of their pointers
};

// Reads a script (UTF-8, LF or CR LF, a byte order mark skipped); throws
// ScriptErrors for unknown or malformed `@` lines, missing or repeated
// entries, or ones past the count.
Script ReadScript(std::string_view text);

// The `@` lines that say where a script came from.
std::string ScriptHead(const Script& script);

// The line and column of a place in an entry's text.
std::pair<std::size_t, std::size_t> PlaceIn(const ScriptEntry& entry, std::size_t at);

}  // namespace rom
