// The ROM's hashes in the page, where no system library is: CRC-32 by a
// table, as zlib computes it, and SHA-1 as FIPS 180-4 defines it.
#pragma once

#include "rom/hashes.h"

class PageHashes final : public rom::Hasher {
public:
    [[nodiscard]] std::uint32_t crc32(const std::uint8_t* data, std::size_t size) const override;
    [[nodiscard]] rom::Sha1 sha1(const std::uint8_t* data, std::size_t size) const override;
};
