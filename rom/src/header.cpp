#include "rom/header.h"

#include <utility>

#include "rom/address.h"

namespace rom {
namespace {

std::string Size(std::uint64_t bytes) {
    if (bytes % 1024 == 0) {
        return std::to_string(bytes / 1024) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

// A NES 2.0 size: `units` of `unit` bytes, or where the high nibble is F the
// exponent-multiplier form of the low byte.
std::uint64_t Nes2Size(std::uint8_t low, unsigned high, std::uint64_t unit) {
    if (high != 0xF) {
        return (low | std::uint64_t{high} << 8U) * unit;
    }
    const unsigned exponent = low >> 2U;
    const unsigned multiplier = (low & 3U) * 2 + 1;
    if (exponent > 40) {  // a terabyte: no file holds it
        throw RomError("its header gives a ROM of 2^" + std::to_string(exponent) +
                       " bytes, more than any file holds");
    }
    return (std::uint64_t{1} << exponent) * multiplier;
}

}  // namespace

Header ReadHeader(const std::uint8_t* first16, std::uint64_t fileSize) {
    const std::uint8_t* const b = first16;
    if (fileSize < kHeaderBytes) {
        throw RomError("not an NES file: it is " + std::to_string(fileSize) +
                       " bytes long, shorter than the 16-byte header");
    }
    if (b[0] != 'N' || b[1] != 'E' || b[2] != 'S' || b[3] != 0x1A) {
        throw RomError("not an NES file: it does not begin with NES and 1A");
    }
    Header header;
    header.vertical = (b[6] & 1U) != 0;
    header.battery = (b[6] & 2U) != 0;
    header.trainer = (b[6] & 4U) != 0;
    header.fourScreen = (b[6] & 8U) != 0;
    if ((b[7] & 0x0CU) == 0x08) {
        header.kind = Header::Kind::Nes2;
        header.prgSize = Nes2Size(b[4], b[9] & 0xFU, 0x4000);
        header.chrSize = Nes2Size(b[5], b[9] >> 4U, 0x2000);
        header.mapper = (b[6] >> 4U) | (b[7] & 0xF0U) | (b[8] & 0xFU) << 8U;
        header.submapper = b[8] >> 4U;
        const auto shifted = [](unsigned shift) {
            return shift == 0 ? std::uint64_t{0} : std::uint64_t{64} << shift;
        };
        header.prgRam = shifted(b[10] & 0xFU);
        header.prgNvram = shifted(b[10] >> 4U);
        header.chrRam = shifted(b[11] & 0xFU);
        header.chrNvram = shifted(b[11] >> 4U);
        header.timing = b[12] & 3U;
        header.console = b[7] & 3U;
        header.vsPpu = header.console == 1 ? b[13] & 0xFU : 0;
        header.vsHardware = header.console == 1 ? b[13] >> 4U : 0;
        header.extendedConsole = header.console == 3 ? b[13] & 0xFU : 0;
        header.miscRoms = b[14] & 3U;
        header.expansion = b[15] & 0x3FU;
    } else {
        header.prgSize = b[4] * std::uint64_t{0x4000};
        header.chrSize = b[5] * std::uint64_t{0x2000};
        header.dirty = (b[12] | b[13] | b[14] | b[15]) != 0;
        header.mapper = (b[6] >> 4U) | (header.dirty ? 0U : b[7] & 0xF0U);
        if (!header.dirty) {
            header.console = b[7] & 3U;  // Vs. Unisystem, PlayChoice-10
            header.inesPrgRam = b[8] * std::uint64_t{0x2000};
            header.inesPal = (b[9] & 1U) != 0;
        }
    }
    if (header.prgSize == 0) {
        throw RomError("its header gives no PRG-ROM (0 banks)");
    }
    const std::uint64_t needed = DataStart(header.trainer) + header.prgSize + header.chrSize;
    if (fileSize < needed) {
        throw RomError("its header gives " + std::to_string(needed) + " bytes (the header" +
                       (header.trainer ? ", a trainer" : "") + ", " + Size(header.prgSize) +
                       " of PRG-ROM and " + Size(header.chrSize) + " of CHR-ROM), but it is " +
                       std::to_string(fileSize) + " bytes long");
    }
    return header;
}

std::uint64_t Rom::prgStart() const { return DataStart(header.trainer); }

std::uint64_t Rom::prgBanks(std::uint32_t bankSize) const {
    return (header.prgSize + bankSize - 1) / bankSize;
}

Rom ReadRom(Bytes file) {
    Rom rom;
    rom.header = ReadHeader(file.data(), file.size());
    rom.file = std::move(file);
    if (rom.header.dirty) {
        rom.notes.emplace_back(
            "bytes 12-15 of its header are not zero, as old tools left them: the mapper is read "
            "from byte 6 alone, as emulators read it");
    }
    const std::uint64_t needed = rom.prgStart() + rom.header.prgSize + rom.header.chrSize;
    if (rom.file.size() > needed) {
        rom.notes.push_back("it is " + std::to_string(rom.file.size()) + " bytes long, " +
                            std::to_string(rom.file.size() - needed) +
                            " more than its header gives; they are read as they are");
    }
    return rom;
}

std::string MapperName(unsigned mapper) {
    static const std::pair<unsigned, const char*> kNames[] = {
        {0, "NROM"},   {1, "MMC1"},           {2, "UxROM"},     {3, "CNROM"}, {4, "MMC3"},
        {5, "MMC5"},   {7, "AxROM"},          {9, "MMC2"},      {10, "MMC4"}, {11, "Color Dreams"},
        {66, "GxROM"}, {69, "Sunsoft FME-7"}, {71, "Camerica"},
    };
    for (const auto& [number, name] : kNames) {
        if (number == mapper) {
            return name;
        }
    }
    return {};
}

}  // namespace rom
