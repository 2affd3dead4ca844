// The two patch formats' halves, for patch.cpp to choose between.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rom/patch.h"

namespace rom {

// The value of attribute `name` in Quorvane's metadata; nothing where none.
std::optional<std::string> QuorvaneAttribute(const std::string& metadata, const std::string& name);

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

// An IPS patch's records and its truncation length; throws PatchError for
// a damaged one.
struct IpsRecords {
    struct Record {
        std::size_t offset = 0;
        std::size_t size = 0;
        bool run = false;
        std::uint8_t value = 0;  // a run's
        std::size_t bytes = 0;   // where a record's bytes are in the patch
    };
    std::vector<Record> records;
    std::optional<std::size_t> truncation;
};
IpsRecords ReadIps(const Bytes& patch);

Bytes ApplyIps(const Bytes& source, const Bytes& patch);

// What a UPS patch begins and ends with. Throws PatchError.
struct UpsHead {
    std::uint64_t sourceSize = 0;
    std::uint64_t targetSize = 0;
    std::size_t hunks = 0;
    std::uint32_t sourceCrc = 0;
    std::uint32_t targetCrc = 0;
};
UpsHead ReadUpsHead(const Bytes& patch);

// A UPS applied forwards to its source, or backwards to its target, by the
// file's CRC32, both results checked.
Applied ApplyUps(const Bytes& file, const Bytes& patch, const Hasher& hasher);

inline constexpr std::size_t kIpsLargest = std::size_t{1} << 24U;
inline constexpr std::uint64_t kLargestFile = std::uint64_t{256} << 20U;

}  // namespace rom
