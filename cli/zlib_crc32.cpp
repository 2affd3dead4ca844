#include "zlib_crc32.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

std::uint32_t ZlibCrc32(const std::uint8_t* data, std::size_t size) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    while (size > 0) {  // zlib takes at most a uInt at a time
        const auto part =
            static_cast<uInt>(std::min<std::size_t>(size, std::numeric_limits<uInt>::max()));
        crc = ::crc32(crc, data, part);
        data += part;
        size -= part;
    }
    return static_cast<std::uint32_t>(crc);
}
