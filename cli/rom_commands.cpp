// info and find: the commands that read a ROM.
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

// A ROM read from its file; throws FileError naming the file.
rom::Rom Load(const std::string& path, const Console& console) {
    try {
        rom::Rom read = rom::ReadRom(ReadBytes(path));
        for (const std::string& note : read.notes) {
            console.complain(
                std::string("quorvane-cli: ").append(path).append(": note: ").append(note) + '\n');
        }
        return read;
    } catch (const rom::RomError& error) {
        throw FileError(path + ": " + error.what());
    }
}

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
            const rom::Rom rom = Load(path, console);
            console.write((first || options.json ? "" : "\n") + Describe(path, rom, options.json));
            first = false;
        } catch (const FileError& error) {
            status = Complain(console, error.what());
        }
    }
    return status;
}

int RunFind(const Options& options, const Console& console) {
    if (options.operands.size() != 1) {
        throw UsageError(options.operands.empty() ? "the find command needs a ROM"
                                                  : "the find command searches one ROM at a time");
    }
    const int searches =
        (options.pointerTo ? 1 : 0) + (options.text ? 1 : 0) + (options.relative ? 1 : 0);
    if (searches != 1) {
        throw UsageError("the find command needs one of --pointer-to, --text and --relative");
    }
    if (options.text.has_value() != options.table.has_value()) {
        throw UsageError(options.text ? "--text needs --table" : "--table goes with --text");
    }
    if (options.tableOut && !options.relative) {
        throw UsageError("--table-out goes with --relative");
    }
    const std::optional<rom::BankWindow> window = BankWindowOf(options);
    if (window && !options.pointerTo) {
        throw UsageError("a bank's type goes with --pointer-to");
    }
    std::optional<std::uint64_t> target;
    if (options.pointerTo) {
        try {
            target = rom::ReadHex(*options.pointerTo);
        } catch (const rom::NumberError& error) {
            throw UsageError("--pointer-to is a file offset in hex: " + *options.pointerTo + ": " +
                             error.what());
        }
    }
    std::optional<rom::RelativeWord> relative;
    if (options.relative && !(relative = rom::ReadRelativeWord(*options.relative))) {
        throw UsageError(
            "--relative takes a word of letters A-Z, or of digits alone, two or more: " +
            *options.relative);
    }
    const std::string& path = options.operands[0];
    if (options.tableOut && SameFile(path, *options.tableOut)) {
        throw UsageError(*options.tableOut + " is the ROM: --table-out writes another file");
    }
    try {
        const rom::Rom rom = Load(path, console);
        std::string out;
        std::size_t count = 0;
        if (target) {
            const std::uint64_t start = rom.prgStart();
            if (*target < start || *target >= start + rom.header.prgSize) {
                return Complain(console, path + ": " + rom::Dollar(*target) +
                                             " is not in PRG-ROM, which is " + rom::Dollar(start) +
                                             "-" + rom::Dollar(start + rom.header.prgSize - 1));
            }
            const std::vector<rom::BankWindow> windows =
                window ? std::vector<rom::BankWindow>{*window}
                       : std::vector<rom::BankWindow>{rom::kType1, rom::kType2};
            for (const rom::PointerHit& hit : rom::FindPointers(rom, *target, windows)) {
                out += rom::Dollar(hit.offset) + " bank " + std::to_string(hit.bank) + ' ' +
                       rom::TypeName(hit.window) + ' ' + rom::ByteHex(hit.low) + ' ' +
                       rom::ByteHex(hit.high) + '\n';
                ++count;
            }
        } else if (options.text) {
            const rom::Table table = rom::Table::Read(ReadText(*options.table));
            std::vector<std::uint8_t> bytes;
            try {
                bytes = table.encode(*options.text);
            } catch (const rom::EncodeError& error) {
                return Complain(console, "--text, character " + std::to_string(error.column()) +
                                             ": " + error.what());
            }
            for (const std::uint64_t offset : rom::FindBytes(rom, bytes)) {
                out += rom::Dollar(offset) + '\n';
                ++count;
            }
        } else {
            const std::vector<rom::RelativeHit> hits = rom::FindRelative(rom, *relative);
            for (const rom::RelativeHit& hit : hits) {
                out += rom::Dollar(hit.offset) + (relative->digits ? " 0=" : " A=") +
                       rom::ByteHex(hit.first) + '\n';
            }
            count = hits.size();
            if (options.tableOut && !hits.empty()) {
                Outputs outputs;
                outputs.add(*options.tableOut, rom::RelativeTable(*relative, hits[0].first),
                            options.force ? Outputs::Existing::Replace : Outputs::Existing::Keep);
                outputs.commit();
            }
        }
        console.write(out);
        if (count > 0) {
            console.complain("quorvane-cli: " + std::to_string(count) +
                             (count == 1 ? " hit" : " hits") + " in " + path + '\n');
        }
        return kDone;
    } catch (const FileError& error) {
        return Complain(console, error.what());
    } catch (const rom::TableError& error) {
        return Complain(console, *options.table + ": " + error.what());
    }
}
