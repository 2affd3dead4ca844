// BPS and IPS patches: made from two files' bytes and applied to one. A
// Quorvane BPS of an NES file carries its source's header, so that it
// applies across a rewritten header.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "rom/hashes.h"

namespace rom {

using Bytes = std::vector<std::uint8_t>;

// A patch that is faulty, or for another file: "the patch is for a ROM of
// CRC32 1A2B3C4D; this one's is 5E6F7A8B".
class PatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A BPS patch from `source` to `target`, with SourceCopy and TargetCopy
// where they make it smaller, and, for an NES file, the source's header in
// its metadata.
Bytes MakeBps(const Bytes& source, const Bytes& target, const Hasher& hasher);

// An IPS patch; throws PatchError for a file past 16 MiB.
Bytes MakeIps(const Bytes& source, const Bytes& target);

struct Applied {
    Bytes target;
    std::string note;  // how a header change was carried across; empty where none was
};

// Applies a BPS or an IPS patch, told apart by their first bytes; throws
// PatchError. A patch made for the ROM with another header, or none, is
// refused, unless `acrossHeader`: then it is applied to the data after the
// header (and trainer), and the ROM's own header kept. A BPS of Quorvane's
// carries its source's header, and is carried across without asking.
Applied ApplyPatch(const Bytes& rom, const Bytes& patch, const Hasher& hasher,
                   bool acrossHeader = false);

}  // namespace rom
