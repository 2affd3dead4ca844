// Patchers written from the formats' descriptions alone, as a player's
// patcher would apply them: what the tests check Quorvane's patches by.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "plain_hashes.h"

namespace reference {

using Bytes = std::vector<std::uint8_t>;

inline std::optional<Bytes> Ips(Bytes file, const Bytes& patch) {
    std::size_t at = 5;
    const auto big = [&](int bytes) {
        std::size_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = value * 256 + patch.at(at++);
        }
        return value;
    };
    while (!(patch.at(at) == 'E' && patch.at(at + 1) == 'O' && patch.at(at + 2) == 'F')) {
        const std::size_t offset = big(3);
        std::size_t size = big(2);
        const bool run = size == 0;
        size = run ? big(2) : size;
        if (file.size() < offset + size) {
            file.resize(offset + size);
        }
        for (std::size_t i = 0; i < size; ++i) {
            file[offset + i] = run ? patch.at(at) : patch.at(at + i);
        }
        at += run ? 1 : size;
    }
    at += 3;
    if (patch.size() == at + 3) {
        file.resize(big(3));
    }
    return file;
}

// A number as BPS and UPS write them.
inline std::uint64_t Number(const Bytes& patch, std::size_t& at) {
    std::uint64_t n = 0;
    std::uint64_t shift = 1;
    for (;;) {
        const std::uint8_t x = patch.at(at++);
        n += (x & 0x7FU) * shift;
        if ((x & 0x80U) != 0) {
            return n;
        }
        shift <<= 7U;
        n += shift;
    }
}

inline std::uint32_t Little32(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = value << 8U | bytes[at + i];
    }
    return value;
}

inline std::uint32_t Crc(const Bytes& bytes, std::size_t size) {
    return PlainHashes().crc32(bytes.data(), size);
}

// The target of a BPS's actions, from `at` to 12 bytes before the end;
// nothing where they reach outside either file.
inline std::optional<Bytes> BpsActions(const Bytes& source, const Bytes& patch, std::size_t at) {
    const std::size_t end = patch.size() - 12;
    Bytes target;
    std::int64_t sourceCursor = 0;
    std::int64_t targetCursor = 0;
    const auto signedNumber = [&] {
        const std::uint64_t n = Number(patch, at);
        return (n & 1U) != 0 ? -static_cast<std::int64_t>(n >> 1U)
                             : static_cast<std::int64_t>(n >> 1U);
    };
    try {
        while (at < end) {
            const std::uint64_t n = Number(patch, at);
            const std::uint64_t length = (n >> 2U) + 1;
            const unsigned action = n & 3U;
            // A cursor moved outside a file reaches nothing there.
            if (action == 2 &&
                __builtin_add_overflow(sourceCursor, signedNumber(), &sourceCursor)) {
                return std::nullopt;
            }
            if (action == 3 &&
                __builtin_add_overflow(targetCursor, signedNumber(), &targetCursor)) {
                return std::nullopt;
            }
            if (length > (std::uint64_t{1} << 24U) - target.size()) {
                return std::nullopt;  // more than a test needs
            }
            for (std::uint64_t i = 0; i < length; ++i) {
                switch (action) {
                    case 0:
                        target.push_back(source.at(target.size()));
                        break;
                    case 1:
                        target.push_back(patch.at(at++));
                        break;
                    case 2:
                        target.push_back(source.at(static_cast<std::size_t>(sourceCursor)));
                        ++sourceCursor;
                        break;
                    default:
                        target.push_back(target.at(static_cast<std::size_t>(targetCursor)));
                        ++targetCursor;
                }
            }
        }
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
    if (at != end) {
        return std::nullopt;
    }
    return target;
}

// Nothing where a checksum or a size is not the patch's.
inline std::optional<Bytes> Bps(const Bytes& source, const Bytes& patch) {
    std::size_t at = 4;
    const std::uint64_t sourceSize = Number(patch, at);
    const std::uint64_t targetSize = Number(patch, at);
    at += Number(patch, at);  // the metadata
    const std::size_t end = patch.size() - 12;
    if (sourceSize != source.size() || Crc(source, source.size()) != Little32(patch, end) ||
        Crc(patch, patch.size() - 4) != Little32(patch, end + 8)) {
        return std::nullopt;
    }
    const std::optional<Bytes> target = BpsActions(source, patch, at);
    if (!target || target->size() != targetSize ||
        Crc(*target, target->size()) != Little32(patch, end + 4)) {
        return std::nullopt;
    }
    return target;
}

// Either way, by which of the two CRC32s the file has; nothing for neither.
inline std::optional<Bytes> Ups(const Bytes& file, const Bytes& patch) {
    std::size_t at = 4;
    const std::uint64_t sourceSize = Number(patch, at);
    const std::uint64_t targetSize = Number(patch, at);
    const std::size_t end = patch.size() - 12;
    const std::uint32_t crc = Crc(file, file.size());
    const bool forward = crc == Little32(patch, end) && file.size() == sourceSize;
    const bool backward = crc == Little32(patch, end + 4) && file.size() == targetSize;
    if ((!forward && !backward) || Crc(patch, patch.size() - 4) != Little32(patch, end + 8)) {
        return std::nullopt;
    }
    Bytes out = file;
    out.resize(static_cast<std::size_t>(forward ? targetSize : sourceSize), 0);
    std::size_t place = 0;
    while (at < end) {
        place += static_cast<std::size_t>(Number(patch, at));
        for (std::uint8_t x = patch.at(at++); x != 0; x = patch.at(at++)) {
            if (place < out.size()) {
                out[place] ^= x;
            }
            ++place;
        }
        ++place;
    }
    const std::uint32_t wanted = Little32(patch, forward ? end + 4 : end);
    return Crc(out, out.size()) == wanted ? std::optional(out) : std::nullopt;
}

}  // namespace reference
