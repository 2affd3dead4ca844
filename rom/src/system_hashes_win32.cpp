// zlib's CRC-32, and SHA-1 from Windows' own cryptography (bcrypt.dll):
// libgcrypt, linked statically, would make quorvane-cli.exe 1.8 MB, past the
// megabyte it keeps to.
#include <windows.h>
// clang-format off: bcrypt.h needs windows.h first
#include <bcrypt.h>
// clang-format on
#include <zlib.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "rom/system_hashes.h"

namespace rom {
namespace {

class SystemHashes final : public Hasher {
public:
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
        BCRYPT_ALG_HANDLE algorithm = nullptr;
        BCRYPT_HASH_HANDLE hash = nullptr;
        if (!BCRYPT_SUCCESS(
                BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA1_ALGORITHM, nullptr, 0)) ||
            !BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
            throw std::runtime_error("Windows cannot hash with SHA-1");
        }
        while (size > 0) {
            const auto part =
                static_cast<ULONG>(std::min<std::size_t>(size, std::numeric_limits<ULONG>::max()));
            BCryptHashData(hash, const_cast<PUCHAR>(data), part, 0);
            data += part;
            size -= part;
        }
        BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0);
        BCryptDestroyHash(hash);
        BCryptCloseAlgorithmProvider(algorithm, 0);
        return digest;
    }
};

}  // namespace

const Hasher& SystemHasher() {
    static const SystemHashes hashes;
    return hashes;
}

}  // namespace rom
