// What a patch says of itself: its format, its files' sizes and CRC32s, its
// metadata, or an IPS's records.
#include <algorithm>
#include <cstring>

#include "patch_formats.h"
#include "patch_numbers.h"

namespace rom {

PatchInfo DescribePatch(const Bytes& patch, const Hasher& hasher) {
    PatchInfo info;
    const auto begins = [&](const char* magic) {
        return patch.size() >= std::strlen(magic) &&
               std::memcmp(patch.data(), magic, std::strlen(magic)) == 0;
    };
    if (begins("PATCH")) {
        info.format = "IPS";
        const IpsRecords read = ReadIps(patch);
        info.records = read.records.size();
        for (const IpsRecords::Record& record : read.records) {
            info.runs += record.run ? 1 : 0;
            if (record.size > 0) {
                info.highest =
                    std::max<std::uint64_t>(info.highest, record.offset + record.size - 1);
            }
        }
        if (read.truncation) {
            info.truncation = *read.truncation;
        }
        return info;
    }
    if (!begins("BPS1") && !begins("UPS1")) {
        throw PatchError("not a patch: it begins with none of BPS1, PATCH and UPS1");
    }
    if (patch.size() < 4 + 12) {
        throw PatchError("the patch is damaged: it is too short to be one");
    }
    info.format = begins("BPS1") ? "BPS" : "UPS";
    if (begins("BPS1")) {
        const BpsHead head = ReadBpsHead(patch);
        info.sourceSize = head.sourceSize;
        info.targetSize = head.targetSize;
        info.metadata = head.metadata;
        const auto header = QuorvaneAttribute(head.metadata, "source-header");
        const auto dataCrc = QuorvaneAttribute(head.metadata, "source-data-crc32");
        info.sourceHeader = header.value_or("");
        info.sourceDataCrc = dataCrc.value_or("");
    } else {
        const UpsHead head = ReadUpsHead(patch);
        info.sourceSize = head.sourceSize;
        info.targetSize = head.targetSize;
    }
    info.sourceCrc = Get32(patch, patch.size() - 12);
    info.targetCrc = Get32(patch, patch.size() - 8);
    info.patchCrc = Get32(patch, patch.size() - 4);
    info.patchCrcMatches = hasher.crc32(patch.data(), patch.size() - 4) == info.patchCrc;
    return info;
}

}  // namespace rom
