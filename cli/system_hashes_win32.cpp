// zlib's CRC-32, and SHA-1 from Windows' own cryptography (bcrypt.dll):
// libgcrypt, linked statically, would make quorvane-cli.exe 1.8 MB, past the
// megabyte it keeps to.
#include <windows.h>
// clang-format off: bcrypt.h needs windows.h first
#include <bcrypt.h>
// clang-format on

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "system_hashes.h"
#include "zlib_crc32.h"

namespace {

class SystemHashes final : public rom::Hasher {
public:
    [[nodiscard]] std::uint32_t crc32(const std::uint8_t* data, std::size_t size) const override {
        return ZlibCrc32(data, size);
    }

    [[nodiscard]] rom::Sha1 sha1(const std::uint8_t* data, std::size_t size) const override {
        rom::Sha1 digest{};
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

const rom::Hasher& SystemHasher() {
    static const SystemHashes hashes;
    return hashes;
}
