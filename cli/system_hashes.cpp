// The system hashes on Linux and the like: zlib's CRC-32 and libgcrypt's
// SHA-1 (system_hashes_win32.cpp on Windows).
#include "system_hashes.h"
#include "zlib_crc32.h"

#include <gcrypt.h>

namespace {

class SystemHashes final : public rom::Hasher {
public:
    SystemHashes() { gcry_check_version(nullptr); }

    [[nodiscard]] std::uint32_t crc32(const std::uint8_t* data, std::size_t size) const override {
        return ZlibCrc32(data, size);
    }

    [[nodiscard]] rom::Sha1 sha1(const std::uint8_t* data, std::size_t size) const override {
        rom::Sha1 digest{};
        gcry_md_hash_buffer(GCRY_MD_SHA1, digest.data(), data, size);
        return digest;
    }
};

}  // namespace

const rom::Hasher& SystemHasher() {
    static const SystemHashes hashes;
    return hashes;
}
