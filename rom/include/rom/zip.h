// A ROM inside a zip, as games are often kept: the zip's directory read, an
// entry chosen, and its bytes checked once they are inflated. Inflating is
// the caller's, through a seam, as hashing is: the command line brings
// zlib's, a browser its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "rom/hashes.h"

namespace rom {

using Bytes = std::vector<std::uint8_t>;

// A zip that is damaged, or holds nothing that can be read: "the zip is
// damaged: its directory runs past the file's end".
class ZipError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ZipEntry {
    std::string name;
    bool deflated = false;  // else stored as it is
    std::uint32_t crc32 = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t dataAt = 0;  // where its packed bytes begin in the zip
};

// Whether a file begins as a zip does: a file's local header, or an empty
// zip's end record.
bool IsZip(const Bytes& file);

// The files a zip holds, in its directory's order, folders left out. An
// entry larger than `largest`, encrypted, packed by a method other than
// deflate, or in a part of a split zip is refused, naming it; throws
// ZipError.
std::vector<ZipEntry> ReadZip(const Bytes& zip, std::uint64_t largest);

// What a zip is opened for: a game (.nes), or a patch (.bps, .ips, .ups).
enum class Wanted { Game, Patch };

// The entry named; where `name` is empty, the zip's one file, or its one
// file of the kind wanted beside others (a readme, a picture), as a
// translation is handed out. Throws ZipError naming the files to choose
// from.
const ZipEntry& ChooseEntry(const std::vector<ZipEntry>& entries, std::string_view name,
                            Wanted wanted = Wanted::Game);
// Not of a list that is gone when the call ends: keep the list.
const ZipEntry& ChooseEntry(std::vector<ZipEntry>&& entries, std::string_view name,
                            Wanted wanted = Wanted::Game) = delete;

// An inflater of raw deflate data: the bytes, or a throw of any kind where
// the data is damaged. `size` is what the entry says it holds.
class Inflater {
public:
    Inflater() = default;
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
    virtual ~Inflater() = default;
    [[nodiscard]] virtual Bytes inflate(const std::uint8_t* data, std::size_t size,
                                        std::uint64_t inflatedSize) const = 0;
};

// The entry's bytes, inflated where they are deflated, and checked against
// its size and CRC-32; throws ZipError.
Bytes EntryBytes(const Bytes& zip, const ZipEntry& entry, const Inflater& inflater,
                 const Hasher& hasher);

// Throws ZipError where `bytes`, as inflated by a caller of its own, are not
// the entry's size and CRC-32.
void CheckEntry(const ZipEntry& entry, const Bytes& bytes, const Hasher& hasher);

}  // namespace rom
