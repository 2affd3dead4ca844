// Reading a .nes header: its two kinds, the sizes of each, a trainer, a
// header old tools left dirty, and every file that is no ROM.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rom/address.h"
#include "rom/header.h"

namespace {

rom::Bytes File(std::vector<std::uint8_t> header, std::size_t size) {
    header.resize(size, 0);
    return header;
}

constexpr std::uint8_t N = 'N', E = 'E', S = 'S';

TEST(ReadRom, ReadsEachKindOfHeader) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> header;
        std::size_t size;
        rom::Header::Kind kind;
        std::uint64_t prg, chr;
        unsigned mapper, submapper;
        bool trainer, battery, vertical, fourScreen, dirty;
        std::size_t notes;
    };
    const Row rows[] = {
        {"iNES: MMC3, battery, CHR RAM",
         {N, E, S, 0x1A, 2, 0, 0x42, 0x00},
         16 + 0x8000,
         rom::Header::Kind::INes,
         0x8000,
         0,
         4,
         0,
         false,
         true,
         false,
         false,
         false,
         0},
        {"iNES: the mapper's high nibble, a trainer, four screens",
         {N, E, S, 0x1A, 1, 1, 0x1D, 0x40},
         16 + 512 + 0x4000 + 0x2000,
         rom::Header::Kind::INes,
         0x4000,
         0x2000,
         0x41,
         0,
         true,
         false,
         true,
         true,
         false,
         0},
        {"a dirty iNES header: the mapper from byte 6 alone",
         {N, E, S, 0x1A, 1, 0, 0x10, 0x44, 0, 0, 0, 0, 'D', 'u', 'd', 'e'},
         16 + 0x4000,
         rom::Header::Kind::INes,
         0x4000,
         0,
         1,
         0,
         false,
         false,
         false,
         false,
         true,
         1},
        {"NES 2.0: mapper bits 8-11, a submapper, sizes' high bits",
         {N, E, S, 0x1A, 0x00, 0x02, 0x50, 0x08, 0x31, 0x01},
         16 + 0x400000 + 0x4000,
         rom::Header::Kind::Nes2,
         0x400000,
         0x4000,
         0x105,
         3,
         false,
         false,
         false,
         false,
         false,
         0},
        {"NES 2.0: the exponent form, 2^E x (2MM+1)",
         {N, E, S, 0x1A, 0x3D, 0, 0, 0x08, 0, 0x0F},
         16 + std::uint64_t{0x8000} * 3,
         rom::Header::Kind::Nes2,
         std::uint64_t{0x8000} * 3,
         0,
         0,
         0,
         false,
         false,
         false,
         false,
         false,
         0},
        {"a file longer than its header says is read, with a note",
         {N, E, S, 0x1A, 1, 0},
         16 + 0x4000 + 100,
         rom::Header::Kind::INes,
         0x4000,
         0,
         0,
         0,
         false,
         false,
         false,
         false,
         false,
         1},
    };
    for (const Row& row : rows) {
        const rom::Rom read = rom::ReadRom(File(row.header, row.size));
        const rom::Header& h = read.header;
        EXPECT_EQ(h.kind, row.kind) << row.name;
        EXPECT_EQ(h.prgSize, row.prg) << row.name;
        EXPECT_EQ(h.chrSize, row.chr) << row.name;
        EXPECT_EQ(h.mapper, row.mapper) << row.name;
        EXPECT_EQ(h.submapper, row.submapper) << row.name;
        EXPECT_EQ(
            std::vector<bool>({h.trainer, h.battery, h.vertical, h.fourScreen, h.dirty}),
            std::vector<bool>({row.trainer, row.battery, row.vertical, row.fourScreen, row.dirty}))
            << row.name;
        EXPECT_EQ(read.notes.size(), row.notes) << row.name;
        EXPECT_EQ(read.prgStart(), row.trainer ? 528U : 16U) << row.name;
    }
}

TEST(ReadRom, RefusesWhatIsNoRom) {
    const std::tuple<const char*, std::vector<std::uint8_t>, std::size_t, const char*> rows[] = {
        {"shorter than a header",
         {N, E, S, 0x1A},
         5,
         "it is 5 bytes long, shorter than the 16-byte header"},
        {"no NES and 1A", {N, E, S, 0x1B, 1}, 16 + 0x4000, "does not begin with NES and 1A"},
        {"another letter first", {'M', E, S, 0x1A, 1}, 16 + 0x4000, "does not begin with NES"},
        {"another second letter", {N, 'F', S, 0x1A, 1}, 16 + 0x4000, "does not begin with NES"},
        {"another third letter", {N, E, 'Z', 0x1A, 1}, 16 + 0x4000, "does not begin with NES"},
        {"no PRG-ROM", {N, E, S, 0x1A, 0, 1}, 16 + 0x2000, "no PRG-ROM (0 banks)"},
        {"shorter than its header says",
         {N, E, S, 0x1A, 2, 1},
         16 + 0x8000,
         "gives 40976 bytes (the header, 32 KiB of PRG-ROM and 8 KiB of CHR-ROM), but it is 32784"},
        {"a trainer counted",
         {N, E, S, 0x1A, 1, 0, 0x04},
         16 + 0x4000,
         "the header, a trainer, 16 KiB"},
        {"an exponent no file holds", {N, E, S, 0x1A, 0xFC, 0, 0, 0x08, 0, 0x0F}, 16, "2^63 bytes"},
    };
    for (const auto& [name, header, size, fault] : rows) {
        try {
            rom::ReadRom(File(header, size));
            ADD_FAILURE() << name << ": read";
        } catch (const rom::RomError& error) {
            EXPECT_NE(std::string(error.what()).find(fault), std::string::npos)
                << name << ": " << error.what();
        }
    }
}

// Each byte of 12 to 15 makes a header dirty, and a dirty header's mapper
// is byte 6's nibble alone.
TEST(ReadRom, ReadsADirtyHeaderByAnyOfItsLastBytes) {
    for (std::size_t dirty = 12; dirty < 16; ++dirty) {
        std::vector<std::uint8_t> header = {N, E, S, 0x1A, 1, 0, 0x40, 0x30};
        header.resize(16, 0);
        header[dirty] = ' ';
        const rom::Rom read = rom::ReadRom(File(header, 16 + 0x4000));
        EXPECT_TRUE(read.header.dirty) << dirty;
        EXPECT_EQ(read.header.mapper, 4U) << dirty;
    }
}

// The names of the common mappers, as ROM databases give them.
TEST(Header, FieldsWithoutNames) {
    EXPECT_EQ(rom::ExpansionName(6), "type 6") << "reserved";
    EXPECT_EQ(rom::VsPpuName(15), "type 15");
}

TEST(Address, CountsTheTrainerAndEachBankSize) {
    const std::tuple<const char*, rom::BankWindow, std::uint64_t, std::uint32_t, bool,
                     std::uint64_t>
        rows[] = {
            {"Type 1, bank 2", rom::kType1, 2, 0x8113, false, 0x8123},
            {"Type 2, the last byte of bank 3", rom::kType2, 3, 0xFFFF, false, 0x1000F},
            {"a trainer moves every offset by 512", rom::kType1, 0, 0x8000, true, 0x210},
            {"8 KiB at $A000, bank 5", *rom::EightKiBWindow(0xA000), 5, 0xA016, false, 0xA026},
            {"8 KiB at $E000 with a trainer", *rom::EightKiBWindow(0xE000), 1, 0xFFFF, true,
             0x420F},
            {"8 KiB at $8000, bank 3", *rom::EightKiBWindow(0x8000), 3, 0x8001, false, 0x6011},
        };
    for (const auto& [name, window, bank, address, trainer, offset] : rows) {
        EXPECT_EQ(rom::FileOffsetOf(window, bank, address, trainer), offset) << name;
        const auto place = rom::PlaceOf(window, offset, trainer);
        ASSERT_TRUE(place) << name;
        EXPECT_EQ(place->bank, bank) << name;
        EXPECT_EQ(place->address, address) << name;
    }
    EXPECT_FALSE(rom::FileOffsetOf(rom::kType1, 0, 0xC000, false)) << "outside the window";
    EXPECT_FALSE(rom::FileOffsetOf(rom::kType2, 0, 0xBFFF, false)) << "below the window";
    EXPECT_FALSE(rom::PlaceOf(rom::kType1, 0x20F, true)) << "inside the trainer";
    EXPECT_FALSE(rom::EightKiBWindow(0x9000));
    EXPECT_EQ(rom::TypeName(*rom::EightKiBWindow(0xC000)), "base $C000");
}

}  // namespace
