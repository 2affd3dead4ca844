// The numbers BPS and UPS write: seven bits a byte, the last marked by its
// high bit, each byte after the first counting one more; and the patches'
// checksums, four bytes little-endian.
#pragma once

#include <cstdint>
#include <string>

#include "rom/patch.h"

namespace rom {

inline void PutNumber(Bytes& out, std::uint64_t n) {
    for (;;) {
        const auto x = static_cast<std::uint8_t>(n & 0x7FU);
        n >>= 7U;
        if (n == 0) {
            out.push_back(0x80 | x);
            return;
        }
        out.push_back(x);
        --n;
    }
}

inline void Put32(Bytes& out, std::uint32_t value) {
    for (unsigned shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline std::uint32_t Get32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8U | bytes[at + i];
    }
    return value;
}

// A patch's numbers read in turn, up to its checksums; a fault names the
// format ("the BPS patch is damaged: ...").
struct NumberReader {
    NumberReader(const Bytes& bytes, std::size_t start, const char* name)
        : patch(bytes), at(start), end(bytes.size() - 12), format(name) {}

    [[nodiscard]] PatchError damaged(const std::string& why) const {
        return PatchError(std::string("the ") + format + " patch is damaged: " + why);
    }

    std::uint8_t byte() {
        if (at >= end) {
            throw damaged("it runs past its end");
        }
        return patch[at++];
    }

    std::uint64_t number() {
        std::uint64_t n = 0;
        std::uint64_t shift = 1;
        for (int bytes = 0;; ++bytes) {
            const std::uint8_t x = byte();
            if (bytes > 9) {
                throw damaged("a number of more than 64 bits");
            }
            n += (x & 0x7FU) * shift;
            if ((x & 0x80U) != 0) {
                return n;
            }
            shift <<= 7U;
            n += shift;
        }
    }

    std::int64_t signedNumber() {
        const std::uint64_t value = number();
        const auto magnitude = static_cast<std::int64_t>(value >> 1U);
        return (value & 1U) != 0 ? -magnitude : magnitude;
    }

    const Bytes& patch;
    std::size_t at;
    const std::size_t end;
    const char* format;
};

}  // namespace rom
