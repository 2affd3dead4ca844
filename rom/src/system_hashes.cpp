// zlib's CRC-32 and libgcrypt's SHA-1, both of which build for Linux and
// for Windows alike.
#include "rom/system_hashes.h"

#include <gcrypt.h>
#include <zlib.h>

#include <algorithm>
#include <limits>

namespace rom {
namespace {

class SystemHashes final : public Hasher {
public:
    SystemHashes() { gcry_check_version(nullptr); }

    [[nodiscard]] std::uint32_t crc32(const std::uint8_t* data, std::size_t size) const override {
        uLong crc = ::crc32(0L, Z_NULL, 0);
        while (size > 0) {  // zlib takes at most a uInt at a time
            const auto part =
                static_cast<uInt>(std::min<std::size_t>(size, std::numeric_limits<uInt>::max()));
            crc = ::crc32(crc, data, part);
            data += part;
            size -= part;
        }
        return static_cast<std::uint32_t>(crc);
    }

    [[nodiscard]] Sha1 sha1(const std::uint8_t* data, std::size_t size) const override {
        Sha1 digest{};
        gcry_md_hash_buffer(GCRY_MD_SHA1, digest.data(), data, size);
        return digest;
    }
};

}  // namespace

const Hasher& SystemHasher() {
    static const SystemHashes hashes;
    return hashes;
}

}  // namespace rom
