// Any bytes as a BPS's metadata and actions, its three checksums computed
// so that every check passes where the actions allow: the patch applied to
// its source gives what a patcher written from the format gives, and on the
// same data under another header it is carried across, with that header
// kept, or refused.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "reference_patchers.h"
#include "rom/hashes.h"
#include "rom/numbers.h"
#include "rom/patch.h"

namespace {

void Number(rom::Bytes& out, std::uint64_t n) {
    for (;;) {
        const auto x = static_cast<std::uint8_t>(n & 0x7FU);
        n >>= 7U;
        if (n == 0) {
            out.push_back(0x80U | x);
            return;
        }
        out.push_back(x);
        --n;
    }
}

void Little32(rom::Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const PlainHashes hashes;
    rom::Bytes source = {'N', 'E', 'S', 0x1A, 1, 0};
    source.resize(16, 0);
    for (std::size_t i = 0; i < 0x4000; ++i) {
        source.push_back(static_cast<std::uint8_t>(i * 7));
    }
    rom::Bytes other = source;
    other[7] = 0x08;  // NES 2.0's mark, as a tool rewrites a header
    // Quorvane's metadata for the source, or the fuzzer's own.
    std::string metadata;
    const std::size_t split = 2 + data[1] % (size - 1);
    if (data[0] % 2 == 0) {
        std::string header;
        for (std::size_t i = 0; i < 16; ++i) {
            header += rom::ByteHex(source[i]);
        }
        metadata = "<quorvane source-header=\"" + header + "\" source-data-crc32=\"" +
                   rom::Crc32Hex(hashes.crc32(source.data() + 16, source.size() - 16)) + "\"/>";
    } else {
        metadata.assign(data + 2, data + std::min(split, size));
    }
    rom::Bytes patch = {'B', 'P', 'S', '1'};
    const rom::Bytes actions(data + std::min(split, size), data + size);
    // The target is what the actions give, as a patcher of the format reads them.
    rom::Bytes draft = patch;
    Number(draft, source.size());
    Number(draft, 0);
    Number(draft, metadata.size());
    const std::size_t start = draft.size() + metadata.size();
    draft.insert(draft.end(), metadata.begin(), metadata.end());
    draft.insert(draft.end(), actions.begin(), actions.end());
    draft.resize(draft.size() + 12, 0);
    const std::optional<rom::Bytes> target = reference::BpsActions(source, draft, start);
    if (!target) {
        return 0;
    }
    Number(patch, source.size());
    Number(patch, target->size());
    Number(patch, metadata.size());
    patch.insert(patch.end(), metadata.begin(), metadata.end());
    patch.insert(patch.end(), actions.begin(), actions.end());
    Little32(patch, hashes.crc32(source.data(), source.size()));
    Little32(patch, hashes.crc32(target->data(), target->size()));
    Little32(patch, hashes.crc32(patch.data(), patch.size()));
    try {
        if (rom::ApplyPatch(source, patch, hashes).target != *target) {
            std::abort();
        }
    } catch (const rom::PatchError& e) {
        std::fprintf(stderr, "a patch the format allows is refused: %s\n", e.what());
        std::abort();
    }
    try {
        const rom::Bytes carried = rom::ApplyPatch(other, patch, hashes).target;
        rom::Bytes expected(other.begin(), other.begin() + 16);
        expected.insert(expected.end(), target->begin() + 16, target->end());
        if (carried != expected) {
            std::abort();
        }
    } catch (const rom::PatchError&) {
    }
    return 0;
}
