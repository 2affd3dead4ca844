// What an encoder reads in a text beside the table's entries: raw bytes,
// written "<$XX>", and characters by their columns; and the fault of a
// text that no step of the table reaches the end of.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "rom/table.h"

namespace rom {

inline constexpr std::size_t kRawSize = 5;  // "<$XX>"

// The byte that "<$XX>" at `at` stands for.
std::optional<std::uint8_t> RawAt(std::string_view text, std::size_t at);

// The column of the character at `at`, counted in characters from 1.
std::size_t ColumnOf(std::string_view text, std::size_t at);

// Why no step of the table goes on from `at`: a control code without its
// parameter bytes (`control`), an unknown label, a raw byte that is none,
// or a character no entry has.
EncodeError Unencodable(std::string_view text, std::size_t at, const TableEntry* control);

}  // namespace rom
