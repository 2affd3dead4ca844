// The hashes ROM work needs, through a seam: the command line brings its
// system's (cli/system_hashes.h), and a browser can bring its own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace rom {

using Sha1 = std::array<std::uint8_t, 20>;

class Hasher {
public:
    Hasher() = default;
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;
    virtual ~Hasher() = default;
    // CRC-32 as zlib computes it (reflected polynomial 0xEDB88320).
    [[nodiscard]] virtual std::uint32_t crc32(const std::uint8_t* data, std::size_t size) const = 0;
    [[nodiscard]] virtual Sha1 sha1(const std::uint8_t* data, std::size_t size) const = 0;
};

// Eight upper-case hex digits: "1A2B3C4D".
std::string Crc32Hex(std::uint32_t crc);

// Forty lower-case hex digits, as sha1sum writes them.
std::string Sha1Hex(const Sha1& digest);

}  // namespace rom
