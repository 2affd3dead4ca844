// Reads any bytes as a zip: it is refused, or every entry it lists lies
// within the file, and one chosen reads as its directory says or is refused.
#include <cstdlib>

#include "plain_hashes.h"
#include "rom/zip.h"

namespace {

// Deflated data as the stored bytes, so that whatever the entry says of
// its size and CRC-32 is checked on bytes of the file.
class AsStored : public rom::Inflater {
public:
    [[nodiscard]] rom::Bytes inflate(const std::uint8_t* data, std::size_t size,
                                     std::uint64_t) const override {
        return {data, data + size};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const rom::Bytes zip(data, data + size);
    std::vector<rom::ZipEntry> entries;
    try {
        entries = rom::ReadZip(zip, 1U << 20U);
    } catch (const rom::ZipError&) {
        return 0;
    }
    for (const rom::ZipEntry& entry : entries) {
        if (entry.dataAt > zip.size() || zip.size() - entry.dataAt < entry.packedSize ||
            entry.size > (1U << 20U)) {
            std::abort();
        }
    }
    try {
        const rom::ZipEntry& chosen = rom::ChooseEntry(entries, "", rom::Wanted::Patch);
        const rom::Bytes bytes = rom::EntryBytes(zip, chosen, AsStored(), PlainHashes());
        if (bytes.size() != chosen.size) {
            std::abort();
        }
    } catch (const rom::ZipError&) {
    }
    return 0;
}
