// UPS patches, the format BPS replaced: the bytes that differ, XORed, in
// hunks; applied either way, by which of its two CRC32s the file has.
#include <algorithm>

#include "patch_formats.h"
#include "patch_numbers.h"

namespace rom {

Bytes MakeUps(const Bytes& source, const Bytes& target, const Hasher& hasher) {
    Bytes out = {'U', 'P', 'S', '1'};
    PutNumber(out, source.size());
    PutNumber(out, target.size());
    const std::size_t longer = std::max(source.size(), target.size());
    const auto at = [](const Bytes& bytes, std::size_t i) -> std::uint8_t {
        return i < bytes.size() ? bytes[i] : 0;  // past a file's end reads as 00
    };
    std::size_t last = 0;  // where the last hunk ended
    for (std::size_t i = 0; i < longer;) {
        if (at(source, i) == at(target, i)) {
            ++i;
            continue;
        }
        PutNumber(out, i - last);
        while (i < longer && at(source, i) != at(target, i)) {
            out.push_back(at(source, i) ^ at(target, i));
            ++i;
        }
        out.push_back(0);  // ends the hunk, at the first byte that agrees
        last = ++i;
    }
    Put32(out, hasher.crc32(source.data(), source.size()));
    Put32(out, hasher.crc32(target.data(), target.size()));
    Put32(out, hasher.crc32(out.data(), out.size()));
    return out;
}

UpsHead ReadUpsHead(const Bytes& patch) {
    if (patch.size() < 4 + 2 + 12) {
        throw PatchError("the UPS patch is damaged: it is too short to be one");
    }
    NumberReader reader(patch, 4, "UPS");
    UpsHead head;
    head.sourceSize = reader.number();
    head.targetSize = reader.number();
    if (head.sourceSize > kLargestFile || head.targetSize > kLargestFile) {
        throw PatchError("the UPS patch names a file of " +
                         std::to_string(std::max(head.sourceSize, head.targetSize)) +
                         " bytes, larger than the 256 MiB that Quorvane makes");
    }
    head.hunks = reader.at;
    head.sourceCrc = Get32(patch, patch.size() - 12);
    head.targetCrc = Get32(patch, patch.size() - 8);
    return head;
}

Applied ApplyUps(const Bytes& file, const Bytes& patch, const Hasher& hasher) {
    const UpsHead head = ReadUpsHead(patch);
    if (hasher.crc32(patch.data(), patch.size() - 4) != Get32(patch, patch.size() - 4)) {
        throw PatchError("the UPS patch is damaged: its own CRC32 does not match");
    }
    const std::uint32_t crc = hasher.crc32(file.data(), file.size());
    const bool forward = crc == head.sourceCrc && file.size() == head.sourceSize;
    const bool backward = !forward && crc == head.targetCrc && file.size() == head.targetSize;
    if (!forward && !backward) {
        throw PatchError("the patch is for a file of CRC32 " + Crc32Hex(head.sourceCrc) +
                         " (or, undone, " + Crc32Hex(head.targetCrc) + "); this one's is " +
                         Crc32Hex(crc));
    }
    Bytes out = file;
    out.resize(static_cast<std::size_t>(forward ? head.targetSize : head.sourceSize), 0);
    NumberReader reader(patch, head.hunks, "UPS");
    const std::uint64_t longer = std::max(head.sourceSize, head.targetSize);
    std::uint64_t place = 0;
    while (reader.at < reader.end) {
        const std::uint64_t skip = reader.number();
        if (skip > longer || place + skip > longer) {
            throw reader.damaged("it steps past both files' ends");
        }
        place += skip;
        for (std::uint8_t x = reader.byte(); x != 0; x = reader.byte()) {
            if (place < out.size()) {
                out[static_cast<std::size_t>(place)] ^= x;
            }
            ++place;
        }
        ++place;
    }
    const std::uint32_t wanted = forward ? head.targetCrc : head.sourceCrc;
    if (hasher.crc32(out.data(), out.size()) != wanted) {
        throw PatchError("the patched file's CRC32 is not the " + Crc32Hex(wanted) +
                         " the patch gives");
    }
    return {std::move(out), forward ? "" : "it is the patch's target: the patch was undone"};
}

}  // namespace rom
