// Applying a patch: the format by its first bytes, every checksum checked,
// and a BPS of an NES file carried across a rewritten header.
#include <cstring>

#include "patch_formats.h"
#include "rom/numbers.h"

namespace rom {
namespace {

std::uint32_t Get32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8U | bytes[at + i];
    }
    return value;
}

bool IsNes(const Bytes& bytes) {
    return bytes.size() >= 16 && std::memcmp(bytes.data(), "NES\x1A", 4) == 0;
}

// The value of attribute `name` in the patch's metadata; empty where none.
std::string Attribute(const std::string& metadata, const std::string& name) {
    const std::size_t start = metadata.find(name + "=\"");
    if (start == std::string::npos || metadata.find("<quorvane ") == std::string::npos) {
        return {};
    }
    const std::size_t value = start + name.size() + 2;
    const std::size_t end = metadata.find('"', value);
    return end == std::string::npos ? std::string() : metadata.substr(value, end - value);
}

Applied ApplyBpsChecked(const Bytes& rom, const Bytes& patch, const Hasher& hasher) {
    if (patch.size() < 4 + 3 + 12) {
        throw PatchError("the BPS patch is damaged: it is too short to be one");
    }
    const std::size_t tail = patch.size() - 12;
    if (hasher.crc32(patch.data(), patch.size() - 4) != Get32(patch, tail + 8)) {
        throw PatchError("the BPS patch is damaged: its own CRC32 does not match");
    }
    const std::uint32_t wanted = Get32(patch, tail);
    const std::uint32_t targetCrc = Get32(patch, tail + 4);
    const std::uint32_t got = hasher.crc32(rom.data(), rom.size());
    Applied applied;
    Bytes source = rom;
    bool carried = false;
    if (got != wanted) {
        // Another header on the same data: rebuild the source the patch was made for.
        const std::string metadata = ReadBpsHead(patch).metadata;
        const std::string header = Attribute(metadata, "source-header");
        const std::string dataCrc = Attribute(metadata, "source-data-crc32");
        const std::size_t skip = IsNes(rom) ? 16 : 0;
        if (header.size() != 32 || dataCrc.empty() ||
            Crc32Hex(hasher.crc32(rom.data() + skip, rom.size() - skip)) != dataCrc) {
            throw PatchError("the patch is for a file of CRC32 " + Crc32Hex(wanted) +
                             "; this one's is " + Crc32Hex(got));
        }
        source.assign(16, 0);
        for (std::size_t i = 0; i < 16; ++i) {
            source[i] = static_cast<std::uint8_t>(std::stoul(header.substr(i * 2, 2), nullptr, 16));
        }
        source.insert(source.end(), rom.begin() + static_cast<std::ptrdiff_t>(skip), rom.end());
        if (hasher.crc32(source.data(), source.size()) != wanted) {
            throw PatchError("the patch is for a file of CRC32 " + Crc32Hex(wanted) +
                             "; this one's data matches, but not with the header it names");
        }
        carried = true;
    }
    applied.target = ApplyBps(source, patch);
    if (hasher.crc32(applied.target.data(), applied.target.size()) != targetCrc) {
        throw PatchError("the patched file's CRC32 is not the " + Crc32Hex(targetCrc) +
                         " the patch gives");
    }
    if (carried) {
        if (applied.target.size() < 16 ||
            !std::equal(source.begin(), source.begin() + 16, applied.target.begin())) {
            throw PatchError(
                "the patch changes the NES header itself, so it cannot be carried to "
                "a ROM with another header");
        }
        Bytes own(rom.begin(), rom.begin() + static_cast<std::ptrdiff_t>(IsNes(rom) ? 16 : 0));
        own.insert(own.end(), applied.target.begin() + 16, applied.target.end());
        applied.target = std::move(own);
        applied.note = IsNes(rom)
                           ? "its header is not the one the patch was made for: the patch was "
                             "applied to its data, and its own header kept"
                           : "it has no header: the patch was applied to its data, and the "
                             "result has no header either";
    }
    return applied;
}

}  // namespace

Applied ApplyPatch(const Bytes& rom, const Bytes& patch, const Hasher& hasher) {
    if (patch.size() >= 4 && std::memcmp(patch.data(), "BPS1", 4) == 0) {
        return ApplyBpsChecked(rom, patch, hasher);
    }
    if (patch.size() >= 5 && std::memcmp(patch.data(), "PATCH", 5) == 0) {
        if (rom.size() > kIpsLargest) {
            throw PatchError("IPS cannot reach past 16 MiB (16,777,216 bytes)");
        }
        return {ApplyIps(rom, patch), {}};
    }
    throw PatchError("not a patch: it begins neither with BPS1 nor with PATCH");
}

}  // namespace rom
