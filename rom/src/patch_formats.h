// The two patch formats' halves, for patch.cpp to choose between.
#pragma once

#include <string>

#include "rom/patch.h"

namespace rom {

// A BPS's metadata for an NES file: its header and its data's CRC32; empty
// for a file that is none.
std::string NesMetadata(const Bytes& source, const Hasher& hasher);

// What a BPS patch begins with: the two files' sizes, its metadata, and
// where its actions begin. Throws PatchError.
struct BpsHead {
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::string metadata;
    std::size_t actions = 0;
};
BpsHead ReadBpsHead(const Bytes& patch);

// The target of a BPS patch's actions on `source`, its checksums aside.
Bytes ApplyBps(const Bytes& source, const Bytes& patch);

Bytes ApplyIps(const Bytes& source, const Bytes& patch);

inline constexpr std::size_t kIpsLargest = std::size_t{1} << 24U;
inline constexpr std::uint64_t kLargestFile = std::uint64_t{256} << 20U;

}  // namespace rom
