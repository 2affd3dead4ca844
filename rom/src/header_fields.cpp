// The names of a NES 2.0 header's numbered fields, as the field's
// documents of the format give them, and a dirty header made clean.
#include <algorithm>

#include "rom/header.h"

namespace rom {
namespace {

template <std::size_t N>
std::string Named(const char* const (&names)[N], unsigned number) {
    return number < N && names[number][0] != '\0' ? names[number]
                                                  : "type " + std::to_string(number);
}

}  // namespace

std::string TimingName(unsigned timing) {
    static const char* const kNames[] = {"NTSC (RP2C02)", "PAL (RP2C07)", "multiple regions",
                                         "Dendy (UA6538)"};
    return Named(kNames, timing);
}

std::string ConsoleName(unsigned console) {
    static const char* const kNames[] = {"NES/Famicom", "Vs. System", "PlayChoice-10", "extended"};
    return Named(kNames, console);
}

std::string ConsoleText(const Header& header) {
    std::string console = ConsoleName(header.console);
    if (header.console == 1) {
        console +=
            ", PPU " + VsPpuName(header.vsPpu) + ", hardware " + VsHardwareName(header.vsHardware);
    } else if (header.console == 3) {
        console += ": " + ExtendedConsoleName(header.extendedConsole);
    }
    return console;
}

std::string VsPpuName(unsigned ppu) {
    static const char* const kNames[] = {"RP2C03B",     "RP2C03G",     "RP2C04-0001", "RP2C04-0002",
                                         "RP2C04-0003", "RP2C04-0004", "RC2C03B",     "RC2C03C",
                                         "RC2C05-01",   "RC2C05-02",   "RC2C05-03",   "RC2C05-04",
                                         "RC2C05-05"};
    return Named(kNames, ppu);
}

std::string VsHardwareName(unsigned hardware) {
    static const char* const kNames[] = {"Vs. Unisystem",
                                         "Vs. Unisystem, RBI Baseball protection",
                                         "Vs. Unisystem, TKO Boxing protection",
                                         "Vs. Unisystem, Super Xevious protection",
                                         "Vs. Unisystem, Vs. Ice Climber Japan protection",
                                         "Vs. Dual System",
                                         "Vs. Dual System, Raid on Bungeling Bay protection"};
    return Named(kNames, hardware);
}

std::string ExtendedConsoleName(unsigned type) {
    static const char* const kNames[] = {"NES/Famicom",
                                         "Vs. System",
                                         "PlayChoice-10",
                                         "Famiclone with decimal mode",
                                         "NES/Famicom with EPSM module",
                                         "V.R. Technology VT01",
                                         "V.R. Technology VT02",
                                         "V.R. Technology VT03",
                                         "V.R. Technology VT09",
                                         "V.R. Technology VT32",
                                         "V.R. Technology VT369",
                                         "UMC UM6578",
                                         "Famicom Network System"};
    return Named(kNames, type);
}

std::string ExpansionName(unsigned device) {
    static const char* const kNames[] = {"unspecified",
                                         "standard controllers",
                                         "NES Four Score or Satellite",
                                         "Famicom Four Players Adapter",
                                         "Vs. System, 1P via $4016",
                                         "Vs. System, 1P via $4017",
                                         "",
                                         "Vs. Zapper",
                                         "Zapper ($4017)",
                                         "two Zappers",
                                         "Bandai Hyper Shot",
                                         "Power Pad, side A",
                                         "Power Pad, side B",
                                         "Family Trainer, side A",
                                         "Family Trainer, side B",
                                         "Arkanoid Vaus (NES)",
                                         "Arkanoid Vaus (Famicom)"};
    // Past these, the device by its number alone.
    return Named(kNames, device);
}

Bytes CleanHeader(const std::uint8_t* first16) {
    Bytes clean(first16, first16 + kHeaderBytes);
    std::fill(clean.begin() + 7, clean.end(), 0);
    return clean;
}

}  // namespace rom
