// Reads any bytes as a patch, BPS or IPS, applied to a small ROM: it is
// refused, or it gives a file; a patch made from the ROM to that file gives
// it back. Hashed by CRC-32's own definition: the fuzzer needs no library
// of the system's.
#include <cstdlib>

#include "plain_hashes.h"
#include "rom/patch.h"

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
