#include "page_hashes.h"

#include <array>

namespace {

std::array<std::uint32_t, 256> CrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1U) : c >> 1U;
        }
        table[n] = c;
    }
    return table;
}

std::uint32_t Rotate(std::uint32_t x, unsigned by) { return x << by | x >> (32U - by); }

// One 64-byte block into the state.
void Block(std::array<std::uint32_t, 5>& h, const std::uint8_t* block) {
    std::array<std::uint32_t, 80> w{};
    for (std::size_t t = 0; t < 16; ++t) {
        w[t] = std::uint32_t{block[4 * t]} << 24U | std::uint32_t{block[4 * t + 1]} << 16U |
               std::uint32_t{block[4 * t + 2]} << 8U | block[4 * t + 3];
    }
    for (std::size_t t = 16; t < 80; ++t) {
        w[t] = Rotate(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (std::size_t t = 0; t < 80; ++t) {
        std::uint32_t f = 0;
        std::uint32_t k = 0;
        if (t < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999U;
        } else if (t < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1U;
        } else if (t < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCU;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6U;
        }
        const std::uint32_t next = Rotate(a, 5) + f + e + k + w[t];
        e = d;
        d = c;
        c = Rotate(b, 30);
        b = a;
        a = next;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
}

}  // namespace

std::uint32_t PageHashes::crc32(const std::uint8_t* data, std::size_t size) const {
    static const std::array<std::uint32_t, 256> table = CrcTable();
    std::uint32_t crc = 0xFFFFFFFFU;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFFU] ^ (crc >> 8U);
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
