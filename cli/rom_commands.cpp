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
               "\",\"dataSha1\":\"" + dataSha + "\"}\n";
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
           "\n  mirroring: " + mirroring + "\n  file:      CRC32 " + fileCrc + "  SHA-1 " +
           fileSha + "\n  data:      CRC32 " + dataCrc + "  SHA-1 " + dataSha +
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
