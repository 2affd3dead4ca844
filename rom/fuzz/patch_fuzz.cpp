// Reads any bytes as a patch, BPS or IPS, applied to a small ROM: it is
// refused, or it gives a file; a patch made from the ROM to that file gives
// it back.
#include <cstdlib>

#include "rom/patch.h"

namespace {

// zlib's CRC-32 by its definition, a bit at a time: the fuzzer needs no
// library of the system's.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PlainHashes hashes;
    rom::Bytes source = {'N', 'E', 'S', 0x1A, 1, 0};
    source.resize(64, 0x20);
    const rom::Bytes patch(data, data + size);
    rom::Bytes target;
    try {
        target = rom::ApplyPatch(source, patch, hashes).target;
    } catch (const rom::PatchError&) {
        return 0;
    }
    if (target.size() > (std::size_t{1} << 20U)) {  // a megabyte is round trip enough
        return 0;
    }
    if (rom::ApplyPatch(source, rom::MakeBps(source, target, hashes), hashes).target != target ||
        rom::ApplyPatch(source, rom::MakeIps(source, target), hashes).target != target) {
        std::abort();
    }
    return 0;
}
