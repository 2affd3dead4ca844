// zlib's CRC-32 of any number of bytes, for the system hashes of every
// platform.
#pragma once

#include <cstddef>
#include <cstdint>

std::uint32_t ZlibCrc32(const std::uint8_t* data, std::size_t size);
