#include "page_hashes.h"

#include <array>

namespace {

// Eight tables, for eight bytes a step ("slicing by eight"): table 0 is a
// byte's CRC, table k that of a byte followed by k zero bytes.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;
CrcTables MakeCrcTables() {
    CrcTables tables{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1U) : c >> 1U;
        }
        tables[0][n] = c;
    }
    for (std::size_t k = 1; k < 8; ++k) {
        for (std::size_t n = 0; n < 256; ++n) {
            const std::uint32_t previous = tables[k - 1][n];
            tables[k][n] = tables[0][previous & 0xFFU] ^ (previous >> 8U);
        }
    }
    return tables;
}

std::uint32_t Rotate(std::uint32_t x, unsigned by) { return x << by | x >> (32U - by); }

// One 64-byte block into the state: the schedule kept in 16 words, and
// each of the four rounds a loop of its own.
void Block(std::array<std::uint32_t, 5>& h, const std::uint8_t* block) {
    std::uint32_t w[16];
    for (std::size_t t = 0; t < 16; ++t) {
        w[t] = std::uint32_t{block[4 * t]} << 24U | std::uint32_t{block[4 * t + 1]} << 16U |
               std::uint32_t{block[4 * t + 2]} << 8U | block[4 * t + 3];
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    const auto step = [&](std::size_t t, std::uint32_t f, std::uint32_t k) {
        if (t >= 16) {
            w[t & 15U] =
                Rotate(w[(t - 3) & 15U] ^ w[(t - 8) & 15U] ^ w[(t - 14) & 15U] ^ w[t & 15U], 1);
        }
        const std::uint32_t next = Rotate(a, 5) + f + e + k + w[t & 15U];
        e = d;
        d = c;
        c = Rotate(b, 30);
        b = a;
        a = next;
    };
    for (std::size_t t = 0; t < 20; ++t) {
        step(t, (b & c) | (~b & d), 0x5A827999U);
    }
    for (std::size_t t = 20; t < 40; ++t) {
        step(t, b ^ c ^ d, 0x6ED9EBA1U);
    }
    for (std::size_t t = 40; t < 60; ++t) {
        step(t, (b & c) | (b & d) | (c & d), 0x8F1BBCDCU);
    }
    for (std::size_t t = 60; t < 80; ++t) {
        step(t, b ^ c ^ d, 0xCA62C1D6U);
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
}

}  // namespace

std::uint32_t PageHashes::crc32(const std::uint8_t* data, std::size_t size) const {
    static const CrcTables t = MakeCrcTables();
    std::uint32_t crc = 0xFFFFFFFFU;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint32_t low =
            crc ^ (std::uint32_t{data[i]} | std::uint32_t{data[i + 1]} << 8U |
                   std::uint32_t{data[i + 2]} << 16U | std::uint32_t{data[i + 3]} << 24U);
        crc = t[7][low & 0xFFU] ^ t[6][(low >> 8U) & 0xFFU] ^ t[5][(low >> 16U) & 0xFFU] ^
              t[4][low >> 24U] ^ t[3][data[i + 4]] ^ t[2][data[i + 5]] ^ t[1][data[i + 6]] ^
              t[0][data[i + 7]];
    }
    for (; i < size; ++i) {
        crc = t[0][(crc ^ data[i]) & 0xFFU] ^ (crc >> 8U);
    }
    return ~crc;
}

rom::Sha1 PageHashes::sha1(const std::uint8_t* data, std::size_t size) const {
    std::array<std::uint32_t, 5> h = {0x67452301U, 0xEFCDAB89U, 0x98BADCFEU, 0x10325476U,
                                      0xC3D2E1F0U};
    std::size_t whole = size - size % 64;
    for (std::size_t at = 0; at < whole; at += 64) {
        Block(h, data + at);
    }
    // The rest, a 1 bit, zeros, and the length in bits: one block or two.
    std::array<std::uint8_t, 128> last{};
    const std::size_t rest = size - whole;
    for (std::size_t i = 0; i < rest; ++i) {
        last[i] = data[whole + i];
    }
    last[rest] = 0x80;
    const std::size_t blocks = rest < 56 ? 1 : 2;
    const std::uint64_t bits = static_cast<std::uint64_t>(size) * 8U;
    for (std::size_t i = 0; i < 8; ++i) {
        last[blocks * 64 - 1 - i] = static_cast<std::uint8_t>(bits >> (8U * i));
    }
    for (std::size_t b = 0; b < blocks; ++b) {
        Block(h, last.data() + 64 * b);
    }
    rom::Sha1 digest{};
    for (std::size_t i = 0; i < 20; ++i) {
        digest[i] = static_cast<std::uint8_t>(h[i / 4] >> (24U - 8U * (i % 4)));
    }
    return digest;
}
