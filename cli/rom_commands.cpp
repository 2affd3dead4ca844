// info: what a ROM's header says, and its hashes.
#include <memory>

#include "commands.h"
#include "files.h"
#include "rom/header.h"
#include "rom/numbers.h"
#include "rom/search.h"
#include "rom_files.h"
#include "system_hashes.h"
#include "utf8.h"

namespace {

std::string Size(std::uint64_t bytes) {
    return bytes % 1024 == 0 ? std::to_string(bytes / 1024) + " KiB"
                             : std::to_string(bytes) + " bytes";
}

// NES 2.0's other fields, or those of iNES 1.0 that are set: as lines of
// text, or as JSON members after a comma.
std::string Fields(const rom::Header& h, bool json) {
    std::string text;
    std::string members;
    const auto add = [&](const char* label, const std::string& shown, const char* name,
                         const std::string& value) {
        text += std::string("\n  ") + label + shown;
        members += std::string(",\"") + name + "\":" + value;
    };
    const auto ram = [](std::uint64_t bytes) {
        return bytes == 0 ? std::string("none") : Size(bytes);
    };
    if (h.kind == rom::Header::Kind::Nes2) {
        add("PRG-RAM:   ", ram(h.prgRam) + ", PRG-NVRAM " + ram(h.prgNvram), "prgRamSize",
            std::to_string(h.prgRam) + ",\"prgNvramSize\":" + std::to_string(h.prgNvram));
        add("CHR-RAM:   ", ram(h.chrRam) + ", CHR-NVRAM " + ram(h.chrNvram), "chrRamSize",
            std::to_string(h.chrRam) + ",\"chrNvramSize\":" + std::to_string(h.chrNvram));
        add("timing:    ", rom::TimingName(h.timing), "timing",
            JsonString(rom::TimingName(h.timing)));
        std::string console = rom::ConsoleName(h.console);
        if (h.console == 1) {
            console += ", PPU " + rom::VsPpuName(h.vsPpu) + ", hardware " +
                       rom::VsHardwareName(h.vsHardware);
        } else if (h.console == 3) {
            console += ": " + rom::ExtendedConsoleName(h.extendedConsole);
        }
        add("console:   ", console, "console", JsonString(console));
        add("misc ROMs: ", std::to_string(h.miscRoms), "miscRoms", std::to_string(h.miscRoms));
        add("expansion: ", rom::ExpansionName(h.expansion), "expansion",
            JsonString(rom::ExpansionName(h.expansion)));
    } else if (!h.dirty) {
        if (h.inesPrgRam > 0) {
            add("PRG-RAM:   ", Size(h.inesPrgRam) + " (byte 8)", "prgRamSize",
                std::to_string(h.inesPrgRam));
        }
        add("TV system: ", h.inesPal ? "PAL" : "NTSC", "tvSystem",
            h.inesPal ? "\"PAL\"" : "\"NTSC\"");
        if (h.console != 0) {
            add("console:   ", rom::ConsoleName(h.console), "console",
                JsonString(rom::ConsoleName(h.console)));
        }
    }
    return json ? members : text;
}

std::string Describe(const std::string& path, const rom::Rom& rom, bool json) {
    const rom::Header& h = rom.header;
    const rom::Hasher& hasher = SystemHasher();
    const std::uint8_t* const data = rom.file.data() + rom.prgStart();
    const std::size_t dataSize = rom.file.size() - rom.prgStart();
    const std::string fileCrc = rom::Crc32Hex(hasher.crc32(rom.file.data(), rom.file.size()));
    const std::string fileSha = rom::Sha1Hex(hasher.sha1(rom.file.data(), rom.file.size()));
    const std::string dataCrc = rom::Crc32Hex(hasher.crc32(data, dataSize));
    const std::string dataSha = rom::Sha1Hex(hasher.sha1(data, dataSize));
    const std::string kind = h.kind == rom::Header::Kind::Nes2 ? "NES 2.0" : "iNES";
    const std::string mirroring = h.fourScreen ? "four-screen"
                                  : h.vertical ? "vertical"
                                               : "horizontal";
    const std::string name = rom::MapperName(h.mapper);
    const auto yes = [](bool flag) { return flag ? "yes" : "no"; };
    const auto truth = [](bool flag) { return flag ? "true" : "false"; };
    if (json) {
        return "{\"file\":" + JsonString(path) + ",\"header\":\"" + kind +
               "\",\"dirty\":" + truth(h.dirty) + ",\"prgSize\":" + std::to_string(h.prgSize) +
               ",\"prgBanks\":" + std::to_string(rom.prgBanks(0x4000)) +
               ",\"chrSize\":" + std::to_string(h.chrSize) +
               ",\"chrRam\":" + truth(h.chrSize == 0) + ",\"mapper\":" + std::to_string(h.mapper) +
               ",\"mapperName\":" + JsonString(name) +
               ",\"submapper\":" + std::to_string(h.submapper) +
               ",\"trainer\":" + truth(h.trainer) + ",\"battery\":" + truth(h.battery) +
               ",\"mirroring\":\"" + mirroring + "\",\"fileCrc32\":\"" + fileCrc +
               "\",\"fileSha1\":\"" + fileSha + "\",\"dataCrc32\":\"" + dataCrc +
               "\",\"dataSha1\":\"" + dataSha + "\"" + Fields(h, true) + "}\n";
    }
    std::string mapper = std::to_string(h.mapper);
    if (h.kind == rom::Header::Kind::Nes2) {
        mapper += ", submapper " + std::to_string(h.submapper);
    }
    return path + "\n  header:    " + kind +
           (h.dirty ? ", dirty: the mapper from byte 6 alone" : "") +
           "\n  PRG-ROM:   " + Size(h.prgSize) + ", " + std::to_string(rom.prgBanks(0x4000)) +
           (rom.prgBanks(0x4000) == 1 ? " bank" : " banks") +
           " of 16 KiB\n  CHR-ROM:   " + (h.chrSize == 0 ? "none: CHR RAM" : Size(h.chrSize)) +
           "\n  mapper:    " + mapper + (name.empty() ? "" : " (" + name + ")") +
           "\n  trainer:   " + yes(h.trainer) + "\n  battery:   " + yes(h.battery) +
           "\n  mirroring: " + mirroring + Fields(h, false) + "\n  file:      CRC32 " + fileCrc +
           "  SHA-1 " + fileSha + "\n  data:      CRC32 " + dataCrc + "  SHA-1 " + dataSha +
           " (after the header" + (h.trainer ? " and trainer" : "") + ")\n";
}

int Complain(const Console& console, const std::string& message) {
    console.complain("quorvane-cli: " + message + '\n');
    return kRefused;
}

}  // namespace

int RunInfo(const Options& options, const Console& console) {
    if (options.operands.empty()) {
        throw UsageError("the info command needs a ROM");
    }
    int status = kDone;
    bool first = true;
    for (const std::string& path : options.operands) {
        try {
            const rom::Rom rom = LoadRom(path, &console);
            console.write((first || options.json ? "" : "\n") + Describe(path, rom, options.json));
            first = false;
        } catch (const FileError& error) {
            status = Complain(console, error.what());
        }
    }
    return status;
}
