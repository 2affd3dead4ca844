// CRC-32 by its definition, a bit at a time, for the tests and fuzz targets
// of a library that takes its hashes from whoever uses it.
#pragma once

#include "rom/hashes.h"

class PlainHashes final : public rom::Hasher {
public:
    [[nodiscard]] std::uint32_t crc32(const std::uint8_t* data, std::size_t size) const override {
        std::uint32_t crc = 0xFFFFFFFFU;
        for (std::size_t i = 0; i < size; ++i) {
            crc ^= data[i];
            for (int bit = 0; bit < 8; ++bit) {
                crc = (crc >> 1U) ^ (0xEDB88320U & (0U - (crc & 1U)));
            }
        }
        return ~crc;
    }
    [[nodiscard]] rom::Sha1 sha1(const std::uint8_t*, std::size_t) const override { return {}; }
};
