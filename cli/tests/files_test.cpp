// The commands that write files, run in a folder of their own: every
// refusal leaves each input byte for byte as it was and no file behind;
// what succeeds writes its files and nothing else.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "console.h"

namespace {

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every file of the folder and its bytes.
std::map<std::string, std::string> Folder(const std::string& folder) {
    std::map<std::string, std::string> files;
    DIR* dir = opendir(folder.c_str());
    for (dirent* entry = readdir(dir); entry != nullptr; entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "sub") {
            files[name] = Read(std::string(folder).append("/").append(name));
        }
    }
    closedir(dir);
    return files;
}

class Files : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvane-files-XXXXXX";
        folder = mkdtemp(pattern);
        mkdir((folder + "/sub").c_str(), 0755);
        const std::string roms = QUORVANE_TEST_ROMS;
        Write(folder + "/game.nes", Read(roms + "/game.nes"));
        Write(folder + "/game.tbl", Read(roms + "/game.tbl"));
        EXPECT_EQ(run({"dump", "game.nes", "--table", "game.tbl", "--pointers", "$20", "--count",
                       "3", "--type", "1", "--bank", "0", "-o", "game.txt"}),
                  kDone);
        std::string script = Read(folder + "/game.txt");
        Write(folder + "/long.txt", script.replace(script.find("\nHELLO WORLD\n"), 13,
                                                   "\n" + std::string(30, 'A') + "\n"));
        script = Read(folder + "/game.txt");
        Write(folder + "/comma.txt",
              script.replace(script.find("\nHELLO WORLD\n"), 13, "\nHI, ALL\n"));
        std::string other = Read(folder + "/game.nes");
        other[0x100] = 'X';
        Write(folder + "/other.nes", other);
        EXPECT_EQ(run({"patch", "make", "other.nes", "game.nes", "-o", "other.bps"}), kDone);
    }

    void TearDown() override {
        for (const auto& [name, bytes] : Folder(folder)) {
            unlink((folder + "/" + name).c_str());
        }
        rmdir((folder + "/sub").c_str());
        rmdir(folder.c_str());
    }

    int run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "quorvane-cli");
        const Console console{[](char*, std::size_t) -> std::size_t { return 0; },
                              [this](std::string_view text) { out += text; },
                              [this](std::string_view text) { err += text; }};
        char previous[4096];
        const char* const here = getcwd(previous, sizeof previous);
        EXPECT_EQ(chdir(folder.c_str()), 0);
        const int status = ::Run(arguments, console);
        EXPECT_EQ(chdir(here), 0);
        return status;
    }

    std::string folder, out, err;
};

TEST_F(Files, RefusalsLeaveEveryInputAsItWasAndNothingBehind) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments;
        int status;
        const char* complaint;
    };
    const Row rows[] = {
        {"text that does not fit",
         {"insert", "game.nes", "long.txt", "-o", "out.nes", "--patch", "out.bps"},
         1,
         "does not fit"},
        {"a character the table lacks",
         {"insert", "game.nes", "comma.txt", "-o", "out.nes"},
         1,
         "comma.txt: line 8, column 3: no entry of the table stands for ','"},
        {"a script of another ROM",
         {"insert", "other.nes", "game.txt", "-o", "out.nes"},
         1,
         "whose data's CRC32 is CB9C7CF3; other.nes's is"},
        {"the output is the ROM",
         {"insert", "game.nes", "game.txt", "-o", "game.nes"},
         2,
         "an input"},
        {"the output is the ROM by another path",
         {"insert", "game.nes", "game.txt", "-o", "sub/../game.nes"},
         2,
         "an input"},
        {"the patch is the script",
         {"insert", "game.nes", "game.txt", "-o", "out.nes", "--patch", "game.txt"},
         2,
         "as .bps or .ips"},
        {"a space over the header",
         {"insert", "game.nes", "game.txt", "-o", "out.nes", "--space", "0-20"},
         2,
         "over the header"},
        {"a patch for another ROM",
         {"patch", "apply", "game.nes", "other.bps", "-o", "out.nes"},
         1,
         "the patch is for a file of CRC32"},
        {"a patch over its input",
         {"patch", "make", "game.nes", "other.nes", "-o", "other.nes"},
         2,
         "an input"},
        {"a dump over its table",
         {"dump", "game.nes", "--table", "game.tbl", "--pointers", "$20", "--count", "3", "--type",
          "1", "--bank", "0", "-o", "game.tbl"},
         2,
         "an input"},
        {"a folder that is not there",
         {"insert", "game.nes", "game.txt", "-o", "none/out.nes"},
         74,
         "none/out.nes: cannot be written: No such file or directory"},
        {"a patch that fails after the ROM is written",
         {"insert", "game.nes", "game.txt", "-o", "out.nes", "--patch", "none/out.ips"},
         74,
         "none/out.ips: cannot be written"},
    };
    for (const Row& row : rows) {
        const std::map<std::string, std::string> before = Folder(folder);
        err.clear();
        EXPECT_EQ(run(row.arguments), row.status) << row.name << ": " << err;
        EXPECT_NE(err.find(row.complaint), std::string::npos) << row.name << ": " << err;
        EXPECT_EQ(Folder(folder), before) << row.name;
    }
}

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
    ASSERT_EQ(run({"info", "nes2.nes"}), kDone);
    EXPECT_NE(
        out.find("  CHR-ROM:   none: CHR RAM\n  mapper:    320, submapper 2\n  trainer:   no\n"
                 "  battery:   yes\n  mirroring: four-screen\n"),
        std::string::npos)
        << out;
}

TEST_F(Files, InsertWritesTheRomAndItsPatchAlone) {
    std::map<std::string, std::string> before = Folder(folder);
    ASSERT_EQ(run({"insert", "game.nes", "game.txt", "-o", "out.nes", "--patch", "out.bps"}), kDone)
        << err;
    std::map<std::string, std::string> after = Folder(folder);
    EXPECT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(after["game.nes"], before["game.nes"]);
    EXPECT_NE(err.find("bank 0, type 1: 2 strings (0 in another's bytes) in 18 bytes, of the "
                       "spaces' 18; 0 left"),
              std::string::npos)
        << err;
    ASSERT_EQ(run({"patch", "apply", "game.nes", "out.bps", "-o", "again.nes"}), kDone) << err;
    EXPECT_EQ(Read(folder + "/again.nes"), after["out.nes"]);
}

}  // namespace
