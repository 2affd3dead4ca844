// Applying a patch: the format by its first bytes, every checksum checked,
// and a BPS of an NES file carried across a rewritten header.
#include <algorithm>
#include <cstring>
#include <optional>

#include "patch_formats.h"
#include "patch_numbers.h"
#include "rom/header.h"
#include "rom/numbers.h"

namespace rom {
namespace {

bool IsNes(const Bytes& bytes) {
    return bytes.size() >= 16 && std::memcmp(bytes.data(), "NES\x1A", 4) == 0;
}

}  // namespace

std::optional<std::string> QuorvaneAttribute(const std::string& metadata, const std::string& name) {
    const std::size_t start = metadata.find(name + "=\"");
    if (start == std::string::npos || metadata.find("<quorvane ") == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t value = start + name.size() + 2;
    const std::size_t end = metadata.find('"', value);
    return end == std::string::npos ? std::string() : metadata.substr(value, end - value);
}

namespace {

bool IsHex(const std::string& text, std::size_t digits) {
    return text.size() == digits &&
           text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

std::string ForAnother(std::uint32_t wanted, std::uint32_t got) {
    return "the patch is for a file of CRC32 " + Crc32Hex(wanted) + "; this one's is " +
           Crc32Hex(got);
}

// Where an NES file's data begins: after its header, and its trainer.
std::size_t DataStartOf(const Bytes& rom) {
    return !IsNes(rom) ? 0 : (rom[6] & 0x04U) != 0 ? kHeaderBytes + 512 : kHeaderBytes;
}

Bytes Joined(const Bytes& head, std::size_t size, const Bytes& tail) {
    Bytes joined(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(size));
    joined.insert(joined.end(), tail.begin(), tail.end());
    return joined;
}

Bytes After(const Bytes& bytes, std::size_t skip) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(std::min(skip, bytes.size())), bytes.end()};
}

Applied ApplyBpsChecked(const Bytes& rom, const Bytes& patch, const Hasher& hasher,
                        bool acrossHeader) {
    if (patch.size() < 4 + 3 + 12) {
        throw PatchError("the BPS patch is damaged: it is too short to be one");
    }
    const std::size_t tail = patch.size() - 12;
    if (hasher.crc32(patch.data(), patch.size() - 4) != Get32(patch, tail + 8)) {
        throw PatchError("the BPS patch is damaged: its own CRC32 does not match");
    }
    const BpsHead head = ReadBpsHead(patch);
    const std::uint32_t wanted = Get32(patch, tail);
    const std::uint32_t targetCrc = Get32(patch, tail + 4);
    const std::uint32_t got = hasher.crc32(rom.data(), rom.size());
    const auto checked = [&](const Bytes& source) {
        Bytes target = ApplyBps(source, patch);
        if (hasher.crc32(target.data(), target.size()) != targetCrc) {
            throw PatchError("the patched file's CRC32 is not the " + Crc32Hex(targetCrc) +
                             " the patch gives");
        }
        return target;
    };
    if (got == wanted) {
        return {checked(rom), {}};
    }
    Applied applied;
    // Another header on the same data: the source the patch was made for,
    // rebuilt from the header its metadata keeps.
    const std::optional<std::string> header = QuorvaneAttribute(head.metadata, "source-header");
    const std::optional<std::string> dataCrc =
        QuorvaneAttribute(head.metadata, "source-data-crc32");
    const std::size_t skip = IsNes(rom) ? kHeaderBytes : 0;
    const std::string ownCrc = Crc32Hex(hasher.crc32(rom.data() + skip, rom.size() - skip));
    if ((header || dataCrc) &&
        (!header || !dataCrc || !IsHex(*header, 32) || !IsHex(*dataCrc, 8))) {
        applied.note = "its metadata names a header, but not as Quorvane writes it: it is ignored";
    } else if (header && *dataCrc == ownCrc) {
        Bytes source(16, 0);
        for (std::size_t i = 0; i < 16; ++i) {
            source[i] =
                static_cast<std::uint8_t>(std::stoul(header->substr(i * 2, 2), nullptr, 16));
        }
        source.insert(source.end(), rom.begin() + static_cast<std::ptrdiff_t>(skip), rom.end());
        if (hasher.crc32(source.data(), source.size()) != wanted) {
            throw PatchError(ForAnother(wanted, got) +
                             "; its data matches, but not with the header the patch names");
        }
        const Bytes target = checked(source);
        if (target.size() < 16 ||
            !std::equal(source.begin(), source.begin() + 16, target.begin())) {
            throw PatchError(
                "the patch changes the NES header itself, so it cannot be carried to "
                "a ROM with another header");
        }
        applied.target = Joined(rom, skip, After(target, 16));
        applied.note = IsNes(rom)
                           ? "its header is not the one the patch was made for: the patch was "
                             "applied to its data, and its own header kept"
                           : "it has no header: the patch was applied to its data, and the "
                             "result has no header either";
        return applied;
    }
    // Made for this game's data alone, without its header (and trainer).
    const std::size_t data = DataStartOf(rom);
    for (const std::size_t cut : {std::size_t{kHeaderBytes}, data}) {
        if (IsNes(rom) && hasher.crc32(rom.data() + cut, rom.size() - cut) == wanted) {
            const std::string what = cut > kHeaderBytes ? "header and trainer" : "header";
            if (!acrossHeader) {
                throw PatchError(ForAnother(wanted, got) +
                                 ": it was made for this game under another header, without its " +
                                 what +
                                 " (--across-header applies it to the data after them, "
                                 "and keeps them)");
            }
            applied.target = Joined(rom, cut, checked(After(rom, cut)));
            applied.note = (applied.note.empty() ? "" : applied.note + "; ") +
                           "the patch was made for this game without its " + what +
                           ": it was applied to the data after them, which are kept";
            return applied;
        }
    }
    throw PatchError(ForAnother(wanted, got));
}

bool HasValidHeader(const Bytes& bytes) {
    try {
        ReadHeader(bytes.data(), bytes.size());
        return bytes.size() >= kHeaderBytes;
    } catch (const RomError&) {
        return false;
    }
}

// An IPS has no checksums: a header change shows where it breaks the ROM's
// header, or writes one into a file that has none.
Applied ApplyIpsChecked(const Bytes& rom, const Bytes& patch, bool acrossHeader) {
    if (rom.size() > kIpsLargest) {
        throw PatchError("IPS cannot reach past 16 MiB (16,777,216 bytes)");
    }
    Bytes target = ApplyIps(rom, patch);
    const bool breaks = HasValidHeader(rom) && !HasValidHeader(target);
    const bool writes = !IsNes(rom) && IsNes(target);
    if (!breaks && !writes) {
        return {std::move(target), {}};
    }
    if (!acrossHeader) {
        throw PatchError(breaks ? "the patch breaks the ROM's NES header: it was made for the "
                                  "ROM without its header (--across-header applies it to the "
                                  "data after the header, and keeps the header)"
                                : "the patch writes an NES header into a file that has none: it "
                                  "was made for the ROM with a header (--across-header applies "
                                  "it as if the file had one, and the result has none)");
    }
    if (breaks) {
        const std::size_t skip = DataStartOf(rom);
        return {Joined(rom, skip, ApplyIps(After(rom, skip), patch)),
                "the patch was made for the ROM without its header: it was applied to the data "
                "after the header, which is kept"};
    }
    Bytes headed(kHeaderBytes + rom.size(), 0);
    std::copy(rom.begin(), rom.end(), headed.begin() + kHeaderBytes);
    const Bytes patched = ApplyIps(headed, patch);
    return {After(patched, DataStartOf(patched)),
            "the patch was made for the ROM with a header: it was applied as if the file had one, "
            "and the result has none"};
}

}  // namespace

Applied ApplyPatch(const Bytes& rom, const Bytes& patch, const Hasher& hasher, bool acrossHeader) {
    if (patch.size() >= 4 && std::memcmp(patch.data(), "BPS1", 4) == 0) {
        return ApplyBpsChecked(rom, patch, hasher, acrossHeader);
    }
    if (patch.size() >= 5 && std::memcmp(patch.data(), "PATCH", 5) == 0) {
        return ApplyIpsChecked(rom, patch, acrossHeader);
    }
    if (patch.size() >= 4 && std::memcmp(patch.data(), "UPS1", 4) == 0) {
        return ApplyUps(rom, patch, hasher);
    }
    throw PatchError("not a patch: it begins with none of BPS1, PATCH and UPS1");
}

}  // namespace rom
