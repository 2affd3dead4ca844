// IPS patches: records of at most 65,535 bytes, runs as RLE records where
// that is smaller, none at the offset that reads as "EOF".
#include <algorithm>

#include "patch_formats.h"

namespace rom {
namespace {

constexpr std::size_t kEofOffset = 0x454F46;  // "EOF", which would end the patch
constexpr std::size_t kLongest = 0xFFFF;
constexpr std::size_t kShortestRun = 9;  // an RLE record (8 bytes) beats a literal from here
constexpr std::size_t kGap = 5;          // agreeing bytes cheaper to write than a new record

void Put(Bytes& out, std::size_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> static_cast<unsigned>(shift)));
    }
}

void Literal(Bytes& out, const Bytes& target, std::size_t start, std::size_t end) {
    while (start < end) {
        if (start == kEofOffset) {
            --start;  // a byte earlier: the byte is the target's anyway
        }
        const std::size_t size = std::min(end - start, kLongest);
        Put(out, start, 3);
        Put(out, size, 2);
        out.insert(out.end(), target.begin() + static_cast<std::ptrdiff_t>(start),
                   target.begin() + static_cast<std::ptrdiff_t>(start + size));
        start += size;
    }
}

void Run(Bytes& out, const Bytes& target, std::size_t start, std::size_t size) {
    while (size > 0) {
        if (start == kEofOffset) {
            Literal(out, target, start, start + 1);
            ++start, --size;
            continue;
        }
        const std::size_t count = std::min(size, kLongest);
        Put(out, start, 3);
        Put(out, 0, 2);
        Put(out, count, 2);
        out.push_back(target[start]);
        start += count, size -= count;
    }
}

}  // namespace

Bytes MakeIps(const Bytes& source, const Bytes& target) {
    if (source.size() > kIpsLargest || target.size() > kIpsLargest) {
        throw PatchError("IPS cannot reach past 16 MiB (16,777,216 bytes); use BPS");
    }
    const auto differs = [&](std::size_t at) {
        return at >= source.size() || source[at] != target[at];
    };
    Bytes out = {'P', 'A', 'T', 'C', 'H'};
    for (std::size_t at = 0; at < target.size();) {
        if (!differs(at)) {
            ++at;
            continue;
        }
        // The span of differing bytes, through short stretches that agree.
        std::size_t end = at + 1;
        for (std::size_t agreeing = 0; end < target.size() && agreeing <= kGap; ++end) {
            agreeing = differs(end) ? 0 : agreeing + 1;
        }
        while (!differs(end - 1)) {
            --end;
        }
        std::size_t literal = at;
        for (std::size_t k = at; k < end;) {
            std::size_t run = 1;
            while (k + run < end && target[k + run] == target[k]) {
                ++run;
            }
            if (run >= kShortestRun) {
                Literal(out, target, literal, k);
                Run(out, target, k, run);
                literal = k + run;
            }
            k += run;
        }
        Literal(out, target, literal, end);
        at = end;
    }
    out.insert(out.end(), {'E', 'O', 'F'});
    if (target.size() < source.size()) {
        Put(out, target.size(), 3);
    }
    return out;
}

IpsRecords ReadIps(const Bytes& patch) {
    IpsRecords read;
    std::size_t at = 5;
    const auto take = [&](std::size_t bytes) {
        if (patch.size() - at < bytes) {
            throw PatchError("the IPS patch is damaged: it ends inside a record, with no EOF");
        }
        std::size_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value = value << 8U | patch[at++];
        }
        return value;
    };
    for (;;) {
        if (patch.size() - at >= 3 && patch[at] == 'E' && patch[at + 1] == 'O' &&
            patch[at + 2] == 'F') {
            at += 3;
            break;
        }
        IpsRecords::Record record;
        record.offset = take(3);
        record.size = take(2);
        record.run = record.size == 0;
        if (record.run) {
            record.size = take(2);
            record.value = static_cast<std::uint8_t>(take(1));
        }
        if (record.offset + record.size > kIpsLargest) {
            throw PatchError("the IPS patch is damaged: a record at " +
                             std::to_string(record.offset) +
                             " reaches past 16 MiB, as far as IPS goes");
        }
        if (!record.run && patch.size() - at < record.size) {
            throw PatchError("the IPS patch is damaged: a record runs past its end");
        }
        record.bytes = at;
        at += record.run ? 0 : record.size;
        read.records.push_back(record);
    }
    // After EOF, nothing, or the three bytes of the length to cut the file to.
    if (patch.size() - at != 0 && patch.size() - at != 3) {
        throw PatchError("the IPS patch is damaged: " + std::to_string(patch.size() - at) +
                         " bytes follow its EOF, where only a 3-byte length may");
    }
    if (patch.size() - at == 3) {
        read.truncation = take(3);
    }
    return read;
}

Bytes ApplyIps(const Bytes& source, const Bytes& patch) {
    const IpsRecords read = ReadIps(patch);
    Bytes target = source;
    for (const IpsRecords::Record& record : read.records) {
        if (record.offset + record.size > target.size()) {
            target.resize(record.offset + record.size,
                          0);  // a record past the end extends the file
        }
        const auto place = target.begin() + static_cast<std::ptrdiff_t>(record.offset);
        if (record.run) {
            std::fill_n(place, record.size, record.value);
        } else {
            std::copy_n(patch.begin() + static_cast<std::ptrdiff_t>(record.bytes), record.size,
                        place);
        }
    }
    if (read.truncation) {
        if (*read.truncation > target.size()) {
            throw PatchError("the IPS patch is damaged: it cuts the file to " +
                             std::to_string(*read.truncation) + " bytes, past the " +
                             std::to_string(target.size()) + " it has");
        }
        target.resize(*read.truncation);
    }
    return target;
}

}  // namespace rom
