// The ROM and patch commands on real files: patches of each format made,
// applied and described, headers rewritten and every field of one shown.
#include "folder_fixture.h"

namespace {

using files_test::Edited;
using files_test::Files;
using files_test::Folder;
using files_test::Read;
using files_test::Write;

// info of a NES 2.0 header as a script reads its JSON, and a dirty one's
// note on standard error.
TEST_F(Files, InfoSaysWhatEachHeaderHolds) {
    std::string nes2 = {'N', 'E', 'S', 0x1A, 1, 0, 0x0A, 0x48, 0x21, 0};
    nes2.resize(16 + 0x4000, '\0');
    Write(folder + "/nes2.nes", nes2);
    std::string dirty = {'N', 'E', 'S', 0x1A, 1, 1, 0x11, 0x70, 0, 0, 0, 0, 'D', 'u', 'd', 'e'};
    dirty.resize(16 + 0x4000 + 0x2000, '\0');
    Write(folder + "/dirty.nes", dirty);
    ASSERT_EQ(run({"info", "--json", "nes2.nes", "dirty.nes"}), kDone) << err;
    EXPECT_NE(out.find("\"chrRam\":true,\"mapper\":320,\"mapperName\":\"\",\"submapper\":2,"
                       "\"trainer\":false,\"battery\":true,\"mirroring\":\"four-screen\""),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"dirty\":true,"), std::string::npos) << out;
    EXPECT_NE(err.find("dirty.nes: note: bytes 12-15 of its header are not zero"),
              std::string::npos)
        << err;
}

// A UPS made, applied both ways, and described; a patch described against
// the ROM it is for, another header, and another file.
TEST_F(Files, PatchesOfEachFormatSayWhatTheyAreFor) {
    const std::string rom = Read(folder + "/game.nes");
    Write(folder + "/hi.txt", Edited(Read(folder + "/game.txt"), "\nHELLO WORLD\n", "\nHI\n"));
    ASSERT_EQ(run({"insert", "game.nes", "hi.txt", "-o", "hi.nes", "--patch", "hi.bps"}), kDone);
    ASSERT_EQ(run({"patch", "make", "game.nes", "hi.nes", "-o", "hi.ups"}), kDone) << err;
    ASSERT_EQ(run({"patch", "apply", "game.nes", "hi.ups", "-o", "again.nes"}), kDone) << err;
    EXPECT_EQ(Read(folder + "/again.nes"), Read(folder + "/hi.nes"));
    err.clear();
    ASSERT_EQ(run({"patch", "apply", "hi.nes", "hi.ups", "-o", "back.nes"}), kDone) << err;
    EXPECT_EQ(Read(folder + "/back.nes"), rom);
    EXPECT_NE(err.find("hi.nes: it is the patch's target: the patch was undone"),
              std::string::npos);
    Write(folder + "/nes2.nes", rom.substr(0, 7) + '\x08' + rom.substr(8));
    std::string bad = Read(folder + "/hi.bps");
    bad[bad.size() - 1] = static_cast<char>(bad[bad.size() - 1] ^ 1);
    Write(folder + "/bad.bps", bad);
    const std::tuple<const char*, std::vector<std::string>, const char*> rows[] = {
        {"a BPS and its ROM",
         {"patch", "info", "hi.bps", "game.nes"},
         "  format:     BPS\n  source:     73744 bytes, CRC32 BE27A6AF\n"},
        {"Quorvane's metadata decoded",
         {"patch", "info", "hi.bps"},
         "  header:     the source's is 4E45531A040121000000000000000000, its data's CRC32 "
         "CB9C7CF3\n"},
        {"another header",
         {"patch", "info", "hi.bps", "nes2.nes"},
         "  nes2.nes: applies: its header is not the one the patch was made for"},
        {"another file",
         {"patch", "info", "hi.ups", "trainer.nes"},
         "  trainer.nes: does not apply: the patch is for a file of CRC32 BE27A6AF"},
        {"JSON",
         {"patch", "info", "--json", "hi.ups"},
         "{\"file\":\"hi.ups\",\"format\":\"UPS\",\"sourceSize\":73744,\"sourceCrc32\":"
         "\"BE27A6AF\""},
        {"its own CRC32 checked",
         {"patch", "info", "--json", "hi.bps"},
         "\"patchCrc32Matches\":true"},
    };
    for (const auto& [name, arguments, shown] : rows) {
        out.clear();
        EXPECT_EQ(run(arguments), kDone) << name << ": " << err;
        EXPECT_NE(out.find(shown), std::string::npos) << name << ": " << out;
    }
    ASSERT_EQ(run({"patch", "make", "game.nes", "hi.nes", "-o", "hi.ips"}), kDone);
    out.clear();
    EXPECT_EQ(run({"patch", "info", "hi.ips"}), kDone);
    EXPECT_NE(out.find("  records:    1, 0 of them runs\n  highest:    $2E, the last byte it "
                       "writes\n  truncation: none\n"),
              std::string::npos)
        << out;
}

// A header cleaned, removed and taken from another file, and every NES 2.0
// field shown.
TEST_F(Files, HeaderRewrittenAndEveryFieldShown) {
    const std::string rom = Read(folder + "/game.nes");
    Write(folder + "/dirty.nes", rom.substr(0, 7) + "DiskDude!" + rom.substr(16));
    std::string nes2 = rom;
    nes2[7] = '\x09';   // NES 2.0, a Vs. System
    nes2[10] = '\x77';  // 8 KiB of PRG-RAM and of PRG-NVRAM
    nes2[11] = '\x07';
    nes2[12] = '\x01';  // PAL
    nes2[13] = '\x12';  // RP2C04-0001, RBI Baseball's protection
    nes2[14] = '\x01';
    nes2[15] = '\x08';
    Write(folder + "/nes.bin", "NES!" + rom.substr(4));
    Write(folder + "/nes2.nes", nes2);
    ASSERT_EQ(run({"header", "dirty.nes", "--clean", "-o", "clean.nes"}), kDone) << err;
    EXPECT_EQ(Read(folder + "/clean.nes"),
              rom.substr(0, 7) + std::string(9, '\0') + rom.substr(16));
    ASSERT_EQ(run({"header", "game.nes", "--remove", "-o", "raw.bin"}), kDone) << err;
    EXPECT_EQ(Read(folder + "/raw.bin"), rom.substr(16));
    ASSERT_EQ(run({"header", "raw.bin", "--from", "nes2.nes", "-o", "again.nes"}), kDone) << err;
    EXPECT_EQ(Read(folder + "/again.nes"), nes2);
    const std::tuple<const char*, std::vector<std::string>, int, const char*> refusals[] = {
        {"no header to remove",
         {"header", "raw.bin", "--remove", "-o", "x.nes"},
         1,
         "raw.bin: has no header to remove"},
        {"NES without its 1A",
         {"header", "nes.bin", "--remove", "-o", "x.nes"},
         1,
         "nes.bin: has no header to remove"},
        {"a header from no ROM",
         {"header", "game.nes", "--from", "raw.bin", "-o", "x.nes"},
         1,
         "raw.bin: not an NES file"},
        {"a header that gives more than the file",
         {"header", "raw.bin", "--from", "trainer.nes", "-o", "x.nes"},
         1,
         "raw.bin under the header of trainer.nes: its header gives"},
        {"two changes at once",
         {"header", "game.nes", "--clean", "--remove", "-o", "x.nes"},
         2,
         "one of --clean, --remove and --from"},
    };
    for (const auto& [name, arguments, status, fault] : refusals) {
        err.clear();
        EXPECT_EQ(run(arguments), status) << name;
        EXPECT_NE(err.find(fault), std::string::npos) << name << ": " << err;
    }
    out.clear();
    ASSERT_EQ(run({"info", "nes2.nes"}), kDone);
    EXPECT_NE(out.find("  PRG-RAM:   8 KiB, PRG-NVRAM 8 KiB\n  CHR-RAM:   8 KiB, CHR-NVRAM none\n"
                       "  timing:    PAL (RP2C07)\n  console:   Vs. System, PPU RP2C04-0001, "
                       "hardware Vs. Unisystem, RBI Baseball protection\n  misc ROMs: 1\n"
                       "  expansion: Zapper ($4017)\n"),
              std::string::npos)
        << out;
    out.clear();
    ASSERT_EQ(run({"info", "--json", "nes2.nes", "game.nes"}), kDone);
    EXPECT_NE(out.find("\"prgRamSize\":8192,\"prgNvramSize\":8192,\"chrRamSize\":8192,"
                       "\"chrNvramSize\":0,\"timing\":\"PAL (RP2C07)\""),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"tvSystem\":\"NTSC\"}"), std::string::npos) << "iNES 1.0's: " << out;
}

TEST_F(Files, DumpKeepsAnEditedScript) {
    const std::vector<std::string> dump = {
        "dump", "game.nes", "--table", "game.tbl", "--pointers", "$20", "--count",
        "3",    "--type",   "1",       "--bank",   "0",          "-o",  "long.txt"};
    const std::string edited = Read(folder + "/long.txt");
    EXPECT_EQ(run(dump), 1);
    EXPECT_NE(err.find("long.txt: is there already, and would be replaced: nothing is written "
                       "(--force replaces it)"),
              std::string::npos)
        << err;
    EXPECT_EQ(Read(folder + "/long.txt"), edited);
    std::vector<std::string> again = dump;
    again.back() = "game.txt";
    EXPECT_EQ(run(again), kDone) << "the same script again: " << err;
    std::vector<std::string> forced = dump;
    forced.push_back("--force");
    EXPECT_EQ(run(forced), kDone) << err;
    EXPECT_EQ(Read(folder + "/long.txt"), Read(folder + "/game.txt"));
    Write(folder + "/found.tbl", "my finished table");
    EXPECT_EQ(run({"find", "game.nes", "--relative", "HELLO", "--table-out", "found.tbl"}), 1);
    EXPECT_EQ(Read(folder + "/found.tbl"), "my finished table");
}

}  // namespace
