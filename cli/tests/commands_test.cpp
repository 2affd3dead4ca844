// The ROM and patch commands on real files: patches of each format made,
// applied and described, headers rewritten and every field of one shown.
#include "folder_fixture.h"

namespace {

using files_test::Edited;
using files_test::Files;
using files_test::Folder;
using files_test::Read;
using files_test::Write;

// info of headers of each kind, as a script reads its JSON.
TEST_F(Files, InfoSaysWhatEachHeaderHolds) {
    std::string nes2 = {'N', 'E', 'S', 0x1A, 1, 0, 0x0A, 0x48, 0x21, 0};
    nes2.resize(16 + 0x4000, '\0');
    Write(folder + "/nes2.nes", nes2);
    std::string dirty = {'N', 'E', 'S', 0x1A, 1, 1, 0x11, 0x70, 0, 0, 0, 0, 'D', 'u', 'd', 'e'};
    dirty.resize(16 + 0x4000 + 0x2000, '\0');
    Write(folder + "/dirty.nes", dirty);
    ASSERT_EQ(run({"info", "--json", "nes2.nes", "dirty.nes"}), kDone) << err;
    for (const char* field :
         {"{\"file\":\"nes2.nes\",\"header\":\"NES "
          "2.0\",\"dirty\":false,\"prgSize\":16384,\"prgBanks\":1,"
          "\"chrSize\":0,\"chrRam\":true,\"mapper\":320,\"mapperName\":\"\",\"submapper\":2,"
          "\"trainer\":false,\"battery\":true,\"mirroring\":\"four-screen\"",
          "{\"file\":\"dirty.nes\",\"header\":\"iNES\",\"dirty\":true,\"prgSize\":16384,"
          "\"prgBanks\":1,"
          "\"chrSize\":8192,\"chrRam\":false,\"mapper\":1,\"mapperName\":\"MMC1\",\"submapper\":0,"
          "\"trainer\":false,\"battery\":false,\"mirroring\":\"vertical\""}) {
        EXPECT_NE(out.find(field), std::string::npos) << field << " in " << out;
    }
    EXPECT_NE(err.find("dirty.nes: note: bytes 12-15 of its header are not zero"),
              std::string::npos)
        << err;
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
