// A zip's directory, as PKWARE's APPNOTE lays it out: the end record, found
// from the file's end past any comment, names the central directory, whose
// records name each entry's local header, after which its data begins.
// Every offset and size is checked against the file before it is used.
#include "rom/zip.h"

#include <algorithm>
#include <cctype>

namespace rom {

namespace {

constexpr std::uint32_t kLocalHeader = 0x04034B50;
constexpr std::uint32_t kDirectoryRecord = 0x02014B50;
constexpr std::uint32_t kEndRecord = 0x06054B50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kRecordSize = 46;

std::uint32_t Little(const Bytes& bytes, std::uint64_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count; i-- > 0;) {
        value = value << 8U | bytes[static_cast<std::size_t>(at) + static_cast<std::size_t>(i)];
    }
    return value;
}

ZipError Damaged(const std::string& what) { return ZipError("the zip is damaged: " + what); }

// Where the end record is: the last one whose comment reaches the file's end.
std::uint64_t EndRecord(const Bytes& zip) {
    if (zip.size() < kEndSize) {
        throw Damaged("it is shorter than a zip's end record");
    }
    const std::size_t farthest = std::min<std::size_t>(zip.size() - kEndSize, 0xFFFF);
    for (std::size_t back = 0; back <= farthest; ++back) {
        const std::size_t at = zip.size() - kEndSize - back;
        if (Little(zip, at, 4) == kEndRecord && Little(zip, at + 20, 2) == back) {
            return at;
        }
    }
    throw Damaged("it has no end record");
}

ZipEntry EntryAt(const Bytes& zip, std::uint64_t at, std::uint64_t end, std::uint64_t largest,
                 std::uint64_t& next) {
    if (end - at < kRecordSize || Little(zip, at, 4) != kDirectoryRecord) {
        throw Damaged("a record of its directory is cut short or misplaced");
    }
    const std::uint32_t flags = Little(zip, at + 8, 2);
    const std::uint32_t method = Little(zip, at + 10, 2);
    ZipEntry entry;
    entry.crc32 = Little(zip, at + 16, 4);
    entry.packedSize = Little(zip, at + 20, 4);
    entry.size = Little(zip, at + 24, 4);
    const std::uint64_t nameSize = Little(zip, at + 28, 2);
    const std::uint64_t extras = Little(zip, at + 30, 2) + std::uint64_t{Little(zip, at + 32, 2)};
    const std::uint64_t local = Little(zip, at + 42, 4);
    if (end - at - kRecordSize < nameSize + extras) {
        throw Damaged("a record of its directory runs past the directory's end");
    }
    entry.name.assign(zip.begin() + static_cast<std::ptrdiff_t>(at + kRecordSize),
                      zip.begin() + static_cast<std::ptrdiff_t>(at + kRecordSize + nameSize));
    next = at + kRecordSize + nameSize + extras;
    if (entry.name.empty() || entry.name.back() == '/') {
        return entry;  // a folder, left out by the caller
    }
    if (entry.size == 0xFFFFFFFF || entry.packedSize == 0xFFFFFFFF || local == 0xFFFFFFFF) {
        throw ZipError(entry.name + " is in a zip64 record, which Quorvane does not read");
    }
    if ((flags & 1U) != 0) {
        throw ZipError(entry.name + " is encrypted: unpack it with its password first");
    }
    if (method != 0 && method != 8) {
        throw ZipError(entry.name + " is packed by method " + std::to_string(method) +
                       "; Quorvane reads stored and deflated entries");
    }
    if (entry.size > largest) {
        throw ZipError(entry.name + ": larger than the " + std::to_string(largest >> 20U) +
                       " MiB that Quorvane reads");
    }
    entry.deflated = method == 8;
    if (!entry.deflated && entry.packedSize != entry.size) {
        throw Damaged(entry.name + " is stored, but its two sizes differ");
    }
    if (zip.size() - kLocalSize < local || Little(zip, local, 4) != kLocalHeader) {
        throw Damaged(entry.name + "'s local header is not where its directory says");
    }
    entry.dataAt = local + kLocalSize + Little(zip, local + 26, 2) + Little(zip, local + 28, 2);
    if (entry.dataAt > zip.size() || zip.size() - entry.dataAt < entry.packedSize) {
        throw Damaged(entry.name + "'s data runs past the file's end");
    }
    return entry;
}

}  // namespace

bool IsZip(const Bytes& file) {
    return file.size() >= 4 &&
           (Little(file, 0, 4) == kLocalHeader || Little(file, 0, 4) == kEndRecord);
}

std::vector<ZipEntry> ReadZip(const Bytes& zip, std::uint64_t largest) {
    const std::uint64_t end = EndRecord(zip);
    if (Little(zip, end + 4, 2) != 0 || Little(zip, end + 6, 2) != 0) {
        throw ZipError("the zip is one part of a split zip: join its parts first");
    }
    const std::uint64_t count = Little(zip, end + 10, 2);
    const std::uint64_t size = Little(zip, end + 12, 4);
    const std::uint64_t start = Little(zip, end + 16, 4);
    if (count == 0xFFFF || start == 0xFFFFFFFF) {
        throw ZipError("the zip is a zip64, which Quorvane does not read");
    }
    if (start > end || end - start < size) {
        throw Damaged("its directory is not where its end record says");
    }
    std::vector<ZipEntry> entries;
    std::uint64_t at = start;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t next = 0;
        ZipEntry entry = EntryAt(zip, at, start + size, largest, next);
        at = next;
        if (!entry.name.empty() && entry.name.back() != '/') {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

const ZipEntry& ChooseEntry(const std::vector<ZipEntry>& entries, std::string_view name,
                            Wanted wanted) {
    if (!name.empty()) {
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const ZipEntry& entry) { return entry.name == name; });
        if (found != entries.end()) {
            return *found;
        }
    } else if (entries.size() == 1) {
        return entries.front();
    } else {
        const auto ofKind = [wanted](const ZipEntry& entry) {
            std::string end =
                entry.name.substr(entry.name.size() - std::min<std::size_t>(4, entry.name.size()));
            std::transform(end.begin(), end.end(), end.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return wanted == Wanted::Game ? end == ".nes"
                                          : end == ".bps" || end == ".ips" || end == ".ups";
        };
        const auto first = std::find_if(entries.begin(), entries.end(), ofKind);
        if (first != entries.end() &&
            std::find_if(first + 1, entries.end(), ofKind) == entries.end()) {
            return *first;
        }
    }
    if (entries.empty()) {
        throw ZipError("the zip holds no file");
    }
    std::string names;
    for (const ZipEntry& entry : entries) {
        names += (names.empty() ? "" : ", ") + entry.name;
    }
    if (name.empty()) {
        throw ZipError("the zip holds " + std::to_string(entries.size()) +
                       " files; name one after a colon: " + names);
    }
    throw ZipError("the zip holds no " + std::string(name) + "; it holds " + names);
}

void CheckEntry(const ZipEntry& entry, const Bytes& bytes, const Hasher& hasher) {
    if (bytes.size() != entry.size) {
        throw Damaged(entry.name + " inflates to " + std::to_string(bytes.size()) +
                      " bytes, not the " + std::to_string(entry.size) + " its directory says");
    }
    if (hasher.crc32(bytes.data(), bytes.size()) != entry.crc32) {
        throw Damaged(entry.name + "'s CRC32 is not the one its directory says");
    }
}

Bytes EntryBytes(const Bytes& zip, const ZipEntry& entry, const Inflater& inflater,
                 const Hasher& hasher) {
    const std::uint8_t* const data = zip.data() + entry.dataAt;
    Bytes bytes;
    if (entry.deflated) {
        try {
            bytes = inflater.inflate(data, static_cast<std::size_t>(entry.packedSize), entry.size);
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const std::exception& error) {
            throw Damaged(entry.name + " does not inflate: " + error.what());
        }
    } else {
        bytes.assign(data, data + entry.packedSize);
    }
    CheckEntry(entry, bytes, hasher);
    return bytes;
}

}  // namespace rom
