// A .nes file's header, iNES or NES 2.0, and where its parts lie.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace rom {

using Bytes = std::vector<std::uint8_t>;

// A file that is no ROM Quorvane can read, with the fault ("not an NES
// file: it does not begin with NES and 1A").
class RomError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Header {
    enum class Kind { INes, Nes2 };
    Kind kind = Kind::INes;
    // An iNES header with text in bytes 12-15, left by old tools: its mapper
    // is read from byte 6 alone, as emulators read it.
    bool dirty = false;
    std::uint64_t prgSize = 0;  // bytes
    std::uint64_t chrSize = 0;  // bytes; 0 for CHR RAM
    unsigned mapper = 0;
    unsigned submapper = 0;  // NES 2.0 only
    bool trainer = false;
    bool battery = false;
    bool vertical = false;  // mirroring: vertical, else horizontal
    bool fourScreen = false;
};

inline constexpr std::size_t kHeaderBytes = 16;

// The header of a file of `fileSize` bytes whose first 16 bytes are
// `first16`. Throws RomError for a file that is no NES file, one shorter
// than its header says or one without PRG-ROM.
Header ReadHeader(const std::uint8_t* first16, std::uint64_t fileSize);

// A ROM in memory: the file's bytes and its header.
struct Rom {
    Bytes file;
    Header header;
    // Notes on what was read as emulators read it: a dirty header, a file
    // longer than its header says.
    std::vector<std::string> notes;

    [[nodiscard]] std::uint64_t prgStart() const;
    [[nodiscard]] std::uint64_t prgBanks(std::uint32_t bankSize) const;
};

// Reads a whole file as a ROM; throws RomError.
Rom ReadRom(Bytes file);

// "NROM", "MMC3", ...: the common mappers' names; empty for another.
std::string MapperName(unsigned mapper);

}  // namespace rom
