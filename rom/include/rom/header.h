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

    // NES 2.0's other fields: RAM sizes in bytes from their shift counts,
    // CPU/PPU timing (0 NTSC, 1 PAL, 2 multiple regions, 3 Dendy), the
    // console (0 NES/Famicom, 1 Vs. System, 2 PlayChoice-10, 3 extended),
    // a Vs. System's PPU and hardware, an extended console's type, the
    // miscellaneous ROMs and the default expansion device.
    std::uint64_t prgRam = 0;
    std::uint64_t prgNvram = 0;
    std::uint64_t chrRam = 0;
    std::uint64_t chrNvram = 0;
    unsigned timing = 0;
    unsigned console = 0;
    unsigned vsPpu = 0;
    unsigned vsHardware = 0;
    unsigned extendedConsole = 0;
    unsigned miscRoms = 0;
    unsigned expansion = 0;
    // iNES 1.0's: byte 8's PRG-RAM in bytes where it is set, byte 9's TV
    // system; neither read from a dirty header.
    std::uint64_t inesPrgRam = 0;
    bool inesPal = false;
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

// The names of NES 2.0's numbered fields: "NTSC (RP2C02)", "Vs. System",
// "RP2C04-0001", "Zapper ($4017)"...; "type N" for a number with none.
std::string TimingName(unsigned timing);
std::string ConsoleName(unsigned console);
std::string VsPpuName(unsigned ppu);
std::string VsHardwareName(unsigned hardware);
std::string ExtendedConsoleName(unsigned type);
std::string ExpansionName(unsigned device);

// A NES 2.0 header's console in words, a Vs. System's PPU and hardware or an
// extended console's type with it: "Vs. System, PPU RP2C03B, hardware ...".
std::string ConsoleText(const Header& header);

// The 16 bytes of a header as emulators read a dirty one: bytes 7-15 zero,
// the mapper's high nibble with them.
Bytes CleanHeader(const std::uint8_t* first16);

}  // namespace rom
