// Dumping a script through a pointer table.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
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

// A bank's first byte in the file and the byte after its last, within
// PRG-ROM and the file; an empty range for a bank past PRG-ROM's end.
std::pair<std::uint64_t, std::uint64_t> BankBytes(const Rom& rom, std::uint64_t bank,
                                                  const BankWindow& window);

// Refuses a pointer table that the ROM does not hold: a bank past the end
// of PRG-ROM, or pointers past the end of the file. Throws RomError.
void CheckPointerTable(const Rom& rom, const PointerTable& table);

}  // namespace rom
