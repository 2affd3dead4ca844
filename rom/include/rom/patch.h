// BPS, IPS and UPS patches: made from two files' bytes and applied to one. A
// Quorvane BPS of an NES file carries its source's header, so that it
// applies across a rewritten header.
#pragma once

#include <cstdint>
#include <optional>
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

// A UPS patch, as older translations were handed out.
Bytes MakeUps(const Bytes& source, const Bytes& target, const Hasher& hasher);

// An IPS patch; throws PatchError for a file past 16 MiB.
Bytes MakeIps(const Bytes& source, const Bytes& target);

struct Applied {
    Bytes target;
    std::string note;  // how a header change was carried across; empty where none was
};

// Applies a BPS, IPS or UPS patch, told apart by their first bytes (a UPS
// either way, as the file's CRC32 says); throws PatchError. A patch made for the ROM with another
// header, or none, is refused, unless `acrossHeader`: then it is applied to the data after the
// header (and trainer), and the ROM's own header kept. A BPS of Quorvane's
// carries its source's header, and is carried across without asking.
Applied ApplyPatch(const Bytes& rom, const Bytes& patch, const Hasher& hasher,
                   bool acrossHeader = false);

// What a patch says of itself, read without applying it.
struct PatchInfo {
    std::string format;  // "BPS", "IPS" or "UPS"
    // BPS and UPS: the files' sizes and CRC32s, and the patch's own.
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
    std::uint32_t patchCrc = 0;
    bool patchCrcMatches = false;
    // BPS: its metadata, and the source's header and data CRC32 where the
    // metadata is Quorvane's.
    std::string metadata;
    std::string sourceHeader;
    std::string sourceDataCrc;
    // IPS: its records, the runs among them, the last byte written, and
    // the length it cuts the file to.
    std::size_t records = 0;
    std::size_t runs = 0;
    std::uint64_t highest = 0;
    std::optional<std::uint64_t> truncation;
};

// Throws PatchError for a file that is no patch, or a damaged one.
PatchInfo DescribePatch(const Bytes& patch, const Hasher& hasher);

}  // namespace rom
