// Private helpers shared by the formatters: hex digits written straight into
// a buffer, without a temporary string for each number.
#pragma once

#include <cstdint>
#include <string>

namespace conversions::detail {

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

// Writes value in upper-case hex with no leading zeros ("0" for 0) at out,
// which must have room for eight characters; returns the end.
inline char* WriteHex(char* out, std::uint32_t value) {
    int shift = 28;
    while (shift > 0 && (value >> shift) == 0) {
        shift -= 4;
    }
    for (; shift >= 0; shift -= 4) {
        *out++ = kHexDigits[(value >> shift) & 0xFU];
    }
    return out;
}

inline std::string HexString(std::uint32_t value) {
    char buffer[8];
    return std::string(buffer, WriteHex(buffer, value));
}

}  // namespace conversions::detail
