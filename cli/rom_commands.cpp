// info: what a ROM's header says, and its hashes.
#include <algorithm>

#include "commands.h"
#include "files.h"
#include "rom/describe.h"
#include "rom/header.h"
#include "rom/numbers.h"
#include "rom/search.h"
#include "rom_files.h"
#include "system_hashes.h"
#include "utf8.h"

namespace {

// NES 2.0's other fields, or those of iNES 1.0 that are set, as JSON
// members after a comma; their words are DescribeRom's.
std::string Fields(const rom::Header& h) {
    std::string members;
    const auto add = [&](const char* name, const std::string& value) {
        members += std::string(",\"") + name + "\":" + value;
    };
    if (h.kind == rom::Header::Kind::Nes2) {
        add("prgRamSize",
            std::to_string(h.prgRam) + ",\"prgNvramSize\":" + std::to_string(h.prgNvram));
        add("chrRamSize",
            std::to_string(h.chrRam) + ",\"chrNvramSize\":" + std::to_string(h.chrNvram));
        add("timing", JsonString(rom::TimingName(h.timing)));
        add("console", JsonString(rom::ConsoleText(h)));
        add("miscRoms", std::to_string(h.miscRoms));
        add("expansion", JsonString(rom::ExpansionName(h.expansion)));
    } else if (!h.dirty) {
        if (h.inesPrgRam > 0) {
            add("prgRamSize", std::to_string(h.inesPrgRam));
        }
        add("tvSystem", h.inesPal ? "\"PAL\"" : "\"NTSC\"");
        if (h.console != 0) {
            add("console", JsonString(rom::ConsoleName(h.console)));
        }
    }
    return members;
}

std::string Json(const std::string& path, const rom::Rom& rom) {
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
    const auto truth = [](bool flag) { return flag ? "true" : "false"; };
    return "{\"file\":" + JsonString(path) + ",\"header\":\"" + kind +
           "\",\"dirty\":" + truth(h.dirty) + ",\"prgSize\":" + std::to_string(h.prgSize) +
           ",\"prgBanks\":" + std::to_string(rom.prgBanks(0x4000)) +
           ",\"chrSize\":" + std::to_string(h.chrSize) + ",\"chrRam\":" + truth(h.chrSize == 0) +
           ",\"mapper\":" + std::to_string(h.mapper) +
           ",\"mapperName\":" + JsonString(rom::MapperName(h.mapper)) +
           ",\"submapper\":" + std::to_string(h.submapper) + ",\"trainer\":" + truth(h.trainer) +
           ",\"battery\":" + truth(h.battery) + ",\"mirroring\":\"" + mirroring +
           "\",\"fileCrc32\":\"" + fileCrc + "\",\"fileSha1\":\"" + fileSha +
           "\",\"dataCrc32\":\"" + dataCrc + "\",\"dataSha1\":\"" + dataSha + "\"" + Fields(h) +
           "}\n";
}

// The file's name, then a line a field, its label in a column of 11.
std::string Text(const std::string& path, const rom::Rom& rom) {
    std::string out = path;
    for (const rom::Line& line : rom::DescribeRom(rom, SystemHasher())) {
        std::string label = line.label + ':';
        label.resize(std::max<std::size_t>(label.size() + 1, 11), ' ');
        out += "\n  " + label + line.shown;
    }
    return out + '\n';
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
            console.write((first || options.json ? "" : "\n") +
                          (options.json ? Json(path, rom) : Text(path, rom)));
            first = false;
        } catch (const FileError& error) {
            status = Complain(console, error.what());
        }
    }
    return status;
}
