// The two patch formats' halves, for patch.cpp to choose between.
#pragma once

#include <string>

#include "rom/patch.h"

namespace rom {

// A BPS's metadata for an NES file: its header and its data's CRC32; empty
// for a file that is none.
std::string NesMetadata(const Bytes& source, const Hasher& hasher);

// The target of a BPS patch's actions on `source`, its checksums aside.
Bytes ApplyBps(const Bytes& source, const Bytes& patch);

Bytes ApplyIps(const Bytes& source, const Bytes& patch);

inline constexpr std::size_t kIpsLargest = std::size_t{1} << 24U;

}  // namespace rom
