#include "rom/describe.h"

namespace rom {

namespace {

std::string Ram(std::uint64_t bytes) { return bytes == 0 ? std::string("none") : SizeText(bytes); }

// NES 2.0's other fields, or those of iNES 1.0 that are set.
void Fields(const Header& h, std::vector<Line>& lines) {
    if (h.kind == Header::Kind::Nes2) {
        lines.push_back({"PRG-RAM", Ram(h.prgRam) + ", PRG-NVRAM " + Ram(h.prgNvram)});
        lines.push_back({"CHR-RAM", Ram(h.chrRam) + ", CHR-NVRAM " + Ram(h.chrNvram)});
        lines.push_back({"timing", TimingName(h.timing)});
        lines.push_back({"console", ConsoleText(h)});
        lines.push_back({"misc ROMs", std::to_string(h.miscRoms)});
        lines.push_back({"expansion", ExpansionName(h.expansion)});
    } else if (!h.dirty) {
        if (h.inesPrgRam > 0) {
            lines.push_back({"PRG-RAM", SizeText(h.inesPrgRam) + " (byte 8)"});
        }
        lines.push_back({"TV system", h.inesPal ? "PAL" : "NTSC"});
        if (h.console != 0) {
            lines.push_back({"console", ConsoleName(h.console)});
        }
    }
}

std::string Hashes(const Hasher& hasher, const std::uint8_t* data, std::size_t size) {
    return "CRC32 " + Crc32Hex(hasher.crc32(data, size)) + "  SHA-1 " +
           Sha1Hex(hasher.sha1(data, size));
}

}  // namespace

std::string SizeText(std::uint64_t bytes) {
    return bytes % 1024 == 0 ? std::to_string(bytes / 1024) + " KiB"
                             : std::to_string(bytes) + " bytes";
}

std::vector<Line> DescribeRom(const Rom& rom, const Hasher& hasher) {
    const Header& h = rom.header;
    const std::uint64_t banks = rom.prgBanks(0x4000);
    std::string mapper = std::to_string(h.mapper);
    if (h.kind == Header::Kind::Nes2) {
        mapper += ", submapper " + std::to_string(h.submapper);
    }
    const std::string name = MapperName(h.mapper);
    const auto yes = [](bool flag) { return flag ? "yes" : "no"; };
    std::vector<Line> lines = {
        {"header", std::string(h.kind == Header::Kind::Nes2 ? "NES 2.0" : "iNES") +
                       (h.dirty ? ", dirty: the mapper from byte 6 alone" : "")},
        {"PRG-ROM", SizeText(h.prgSize) + ", " + std::to_string(banks) +
                        (banks == 1 ? " bank" : " banks") + " of 16 KiB"},
        {"CHR-ROM", h.chrSize == 0 ? "none: CHR RAM" : SizeText(h.chrSize)},
        {"mapper", mapper + (name.empty() ? "" : " (" + name + ")")},
        {"trainer", yes(h.trainer)},
        {"battery", yes(h.battery)},
        {"mirroring", h.fourScreen ? "four-screen"
                      : h.vertical ? "vertical"
                                   : "horizontal"},
    };
    Fields(h, lines);
    const std::uint64_t start = rom.prgStart();
    lines.push_back({"file", Hashes(hasher, rom.file.data(), rom.file.size())});
    lines.push_back({"data", Hashes(hasher, rom.file.data() + start, rom.file.size() - start) +
                                 " (after the header" + (h.trainer ? " and trainer" : "") + ")"});
    return lines;
}

}  // namespace rom
