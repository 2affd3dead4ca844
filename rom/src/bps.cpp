// BPS patches: SourceRead where the files agree, SourceCopy and TargetCopy
// where a run of bytes is found elsewhere, TargetRead for the rest.
#include <algorithm>
#include <cstring>

#include "patch_formats.h"
#include "patch_numbers.h"
#include "rom/numbers.h"

namespace rom {
namespace {

constexpr std::size_t kKey = 4;     // bytes hashed to find a copy
constexpr unsigned kMostBits = 18;  // the hash table's size, at most 2^18 places
// Every fourth place is hashed, the source's and the target's: a copy worth
// its number is long enough to hold one, and is grown back from there.
constexpr std::size_t kStride = 4;
constexpr std::uint32_t kNone = 0xFFFFFFFFU;
constexpr std::size_t kShortestRead = 4;  // a SourceRead this long pays for its number
constexpr std::size_t kShortestCopy = 8;  // a copy this long pays for its number and offset

void Signed(Bytes& out, std::int64_t n) {
    PutNumber(out, static_cast<std::uint64_t>(n < 0 ? -n : n) << 1U | (n < 0 ? 1U : 0U));
}

std::uint32_t KeyAt(const std::uint8_t* at, unsigned bits) {
    std::uint32_t key = 0;
    std::memcpy(&key, at, kKey);
    return (key * 2654435761U) >> (32U - bits);
}

std::size_t Agreeing(const std::uint8_t* a, const std::uint8_t* b, std::size_t most) {
    std::size_t n = 0;
    while (n < most && a[n] == b[n]) {
        ++n;
    }
    return n;
}

}  // namespace

std::string NesMetadata(const Bytes& source, const Hasher& hasher) {
    if (source.size() < 16 || std::memcmp(source.data(), "NES\x1A", 4) != 0) {
        return {};
    }
    std::string header;
    for (std::size_t i = 0; i < 16; ++i) {
        header += ByteHex(source[i]);
    }
    return "<quorvane source-header=\"" + header + "\" source-data-crc32=\"" +
           Crc32Hex(hasher.crc32(source.data() + 16, source.size() - 16)) + "\"/>";
}

Bytes MakeBps(const Bytes& source, const Bytes& target, const Hasher& hasher) {
    Bytes out = {'B', 'P', 'S', '1'};
    const std::string metadata = NesMetadata(source, hasher);
    PutNumber(out, source.size());
    PutNumber(out, target.size());
    PutNumber(out, metadata.size());
    out.insert(out.end(), metadata.begin(), metadata.end());

    // A table no larger than the files need: small patches are made at once.
    unsigned bits = 10;
    while (bits < kMostBits &&
           (std::size_t{1} << bits) < (source.size() + target.size()) / kStride) {
        ++bits;
    }
    std::vector<std::uint32_t> inSource(std::size_t{1} << bits, kNone);
    for (std::size_t i = 0; i + kKey <= source.size(); i += kStride) {
        inSource[KeyAt(&source[i], bits)] = static_cast<std::uint32_t>(i);
    }
    std::vector<std::uint32_t> inTarget(std::size_t{1} << bits, kNone);
    std::size_t indexed = 0;  // target places hashed so far
    std::int64_t sourceCursor = 0;
    std::int64_t targetCursor = 0;
    std::size_t literal = 0;  // where the pending TargetRead begins
    const auto flush = [&](std::size_t at) {
        if (at > literal) {
            PutNumber(out, (at - literal - 1) << 2U | 1U);
            out.insert(out.end(), target.begin() + static_cast<std::ptrdiff_t>(literal),
                       target.begin() + static_cast<std::ptrdiff_t>(at));
        }
    };
    for (std::size_t at = 0; at < target.size();) {
        const std::size_t left = target.size() - at;
        const std::size_t read = at < source.size() ? Agreeing(&source[at], &target[at],
                                                               std::min(left, source.size() - at))
                                                    : 0;
        std::size_t copy = 0;
        std::size_t back = 0;  // bytes of the pending TargetRead the copy takes over
        std::int64_t from = -1;
        bool fromTarget = false;
        if (left >= kKey && read < kShortestRead) {
            // A copy from a hashed place, grown back over the pending literal.
            const auto grown = [&](const Bytes& bytes, std::size_t place, std::size_t most) {
                std::size_t before = 0;
                while (before < at - literal && before < place &&
                       bytes[place - before - 1] == target[at - before - 1]) {
                    ++before;
                }
                return std::make_pair(before, Agreeing(&bytes[place], &target[at], most));
            };
            const std::uint32_t key = KeyAt(&target[at], bits);
            if (const std::uint32_t s = inSource[key]; s != kNone) {
                const auto [before, after] = grown(source, s, std::min(left, source.size() - s));
                copy = before + after;
                back = before;
                from = static_cast<std::int64_t>(s - before);
            }
            for (; indexed + kKey <= at; indexed += kStride) {
                inTarget[KeyAt(&target[indexed], bits)] = static_cast<std::uint32_t>(indexed);
            }
            if (const std::uint32_t t = inTarget[key]; t != kNone) {
                const auto [before, after] = grown(target, t, left);
                if (before + after > copy) {
                    copy = before + after;
                    back = before;
                    from = static_cast<std::int64_t>(t - before);
                    fromTarget = true;
                }
            }
        }
        if (read >= kShortestRead && read + kShortestCopy / 2 >= copy) {
            flush(at);
            PutNumber(out, (read - 1) << 2U);
            at += read;
            literal = at;
        } else if (copy >= kShortestCopy) {
            flush(at - back);
            PutNumber(out, (copy - 1) << 2U | (fromTarget ? 3U : 2U));
            std::int64_t& cursor = fromTarget ? targetCursor : sourceCursor;
            Signed(out, from - cursor);
            cursor = from + static_cast<std::int64_t>(copy);
            at += copy - back;
            literal = at;
        } else {
            ++at;
        }
    }
    flush(target.size());
    Put32(out, hasher.crc32(source.data(), source.size()));
    Put32(out, hasher.crc32(target.data(), target.size()));
    Put32(out, hasher.crc32(out.data(), out.size()));
    return out;
}

BpsHead ReadBpsHead(const Bytes& patch) {
    NumberReader reader(patch, 4, "BPS");
    BpsHead head;
    head.sourceSize = reader.number();
    head.targetSize = reader.number();
    const std::uint64_t metadataSize = reader.number();
    if (metadataSize > reader.end - reader.at) {
        throw PatchError("the BPS patch is damaged: it runs past its end");
    }
    if (head.targetSize > kLargestFile || head.sourceSize > kLargestFile) {
        throw PatchError("the BPS patch names a file of " +
                         std::to_string(std::max(head.targetSize, head.sourceSize)) +
                         " bytes, larger than the 256 MiB that Quorvane makes");
    }
    const auto metadata = patch.begin() + static_cast<std::ptrdiff_t>(reader.at);
    head.metadata.assign(metadata, metadata + static_cast<std::ptrdiff_t>(metadataSize));
    head.actions = reader.at + static_cast<std::size_t>(metadataSize);
    return head;
}

Bytes ApplyBps(const Bytes& source, const Bytes& patch) {
    const BpsHead head = ReadBpsHead(patch);
    if (head.sourceSize != source.size()) {
        throw PatchError("the BPS patch is for a file of " + std::to_string(head.sourceSize) +
                         " bytes, not " + std::to_string(source.size()));
    }
    const std::uint64_t targetSize = head.targetSize;
    NumberReader reader(patch, head.actions, "BPS");
    std::size_t& at = reader.at;
    const std::size_t end = reader.end;
    const auto fault = [] { return PatchError("the BPS patch is damaged: it runs past its end"); };
    const auto number = [&] { return reader.number(); };
    const auto signedNumber = [&] { return reader.signedNumber(); };
    Bytes target;
    target.reserve(static_cast<std::size_t>(targetSize));
    std::uint64_t sourceCursor = 0;
    std::uint64_t targetCursor = 0;
    while (at < end) {
        const std::uint64_t n = number();
        const std::uint64_t length = (n >> 2U) + 1;
        if (length > targetSize - target.size()) {
            throw PatchError("the BPS patch is damaged: it writes past the file's end");
        }
        switch (n & 3U) {
            case 0:  // SourceRead
                if (target.size() + length > source.size()) {
                    throw fault();
                }
                target.insert(target.end(),
                              source.begin() + static_cast<std::ptrdiff_t>(target.size()),
                              source.begin() + static_cast<std::ptrdiff_t>(target.size() + length));
                break;
            case 1:  // TargetRead
                if (length > end - at) {
                    throw fault();
                }
                target.insert(target.end(), patch.begin() + static_cast<std::ptrdiff_t>(at),
                              patch.begin() + static_cast<std::ptrdiff_t>(at + length));
                at += static_cast<std::size_t>(length);
                break;
            case 2:  // SourceCopy
                sourceCursor += static_cast<std::uint64_t>(signedNumber());
                if (sourceCursor > source.size() || length > source.size() - sourceCursor) {
                    throw PatchError("the BPS patch is damaged: it copies from outside the file");
                }
                target.insert(target.end(),
                              source.begin() + static_cast<std::ptrdiff_t>(sourceCursor),
                              source.begin() + static_cast<std::ptrdiff_t>(sourceCursor + length));
                sourceCursor += length;
                break;
            default:  // TargetCopy, a byte at a time: it may copy what it writes
                targetCursor += static_cast<std::uint64_t>(signedNumber());
                if (targetCursor >= target.size()) {
                    throw PatchError("the BPS patch is damaged: it copies from outside the file");
                }
                for (std::uint64_t i = 0; i < length; ++i) {
                    target.push_back(target[static_cast<std::size_t>(targetCursor++)]);
                }
        }
    }
    if (target.size() != targetSize) {
        throw PatchError("the BPS patch is damaged: it gives " + std::to_string(target.size()) +
                         " bytes of the " + std::to_string(targetSize) + " it names");
    }
    return target;
}

}  // namespace rom
