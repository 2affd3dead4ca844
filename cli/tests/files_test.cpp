// The commands that write files, run in a folder of their own: every
// refusal leaves each input byte for byte as it was and no file behind;
// what succeeds writes its files and nothing else.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
        if (name != "." && name != ".." && name != "sub" && name != "device") {
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
        Write(folder + "/trainer.nes", Read(roms + "/trainer.nes"));
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
        unlink((folder + "/device").c_str());
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

// A script with one line changed: `from` replaced by `to`.
std::string Edited(const std::string& script, const std::string& from, const std::string& to) {
    std::string edited = script;
    return edited.replace(edited.find(from), from.size(), to);
}

TEST_F(Files, RefusalsLeaveEveryInputAsItWasAndNothingBehind) {
    const std::string script = Read(folder + "/game.txt");
    Write(folder + "/crc.txt", Edited(script, "crc32=CB9C7CF3", "crc32=1CB9C7CF3"));
    Write(folder + "/bank.txt", Edited(script, "bank 0\n", "bank 0x4000000000000\n"));
    Write(folder + "/chr.txt", Edited(script, "bank 0\n", "bank 4\n"));
    Write(folder + "/space.txt", Edited(script, "@space $26-$37\n", "@space $0-$20\n"));
    std::string data = Read(folder + "/game.nes").substr(16);
    Write(folder + "/data.bin", data);
    Write(folder + "/edited.bin", std::string(16, 'X') + data.substr(16));
    EXPECT_EQ(run({"patch", "make", "data.bin", "edited.bin", "-o", "data.ips"}), kDone);
    Write(folder + "/faults.txt", Edited(Edited(script, "\nHELLO WORLD\n", "\nHI, ALL\n"),
                                         "\nTHE END\n", "\nTHE <wiat> END\n"));
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
         "as .bps, .ips or .ups"},
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
        {"a script of the ROM without its trainer",
         {"insert", "trainer.nes", "game.txt", "-o", "out.nes", "--force"},
         1,
         "game.txt: dumped from a ROM without a trainer; trainer.nes has a 512-byte one"},
        {"a CRC32 of nine digits",
         {"insert", "game.nes", "crc.txt", "-o", "out.nes"},
         1,
         "crc.txt: line 1, column 15: crc32= takes eight hex digits"},
        {"a bank that would wrap round to bank 0",
         {"insert", "game.nes", "bank.txt", "-o", "out.nes"},
         1,
         "bank.txt: line 3: bank 1125899906842624 is past the end of PRG-ROM"},
        {"a bank in CHR-ROM",
         {"insert", "game.nes", "chr.txt", "-o", "out.nes"},
         1,
         "chr.txt: line 3: bank 4 is past the end of PRG-ROM, which has 4 banks"},
        {"a script's space over the header",
         {"insert", "game.nes", "space.txt", "-o", "out.nes"},
         1,
         "space.txt: line 4: the space $0-$20 lies over the header"},
        {"every fault of a script",
         {"insert", "game.nes", "faults.txt", "-o", "out.nes"},
         1,
         "faults.txt: line 8, column 3: no entry of the table stands for ','\n"
         "quorvane-cli: faults.txt: line 12, column 5: an unknown label <wiat>"},
        {"an IPS made for the ROM without its header",
         {"patch", "apply", "game.nes", "data.ips", "-o", "out.nes"},
         1,
         "data.ips: the patch breaks the ROM's NES header"},
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

TEST_F(Files, ReplacesAllOrNothingAndKeepsWhatEachFileIs) {
    const std::vector<std::string> insert = {"insert", "game.nes", "game.txt", "-o", "out.nes"};
    // A failing second output leaves the first as it was.
    Write(folder + "/out.nes", "the old output");
    mkdir((folder + "/folder.bps").c_str(), 0755);
    std::vector<std::string> both = insert;
    both.insert(both.end(), {"--patch", "folder.bps"});
    EXPECT_EQ(run(both), 74);
    EXPECT_NE(err.find("folder.bps: cannot be written: it is a folder"), std::string::npos) << err;
    EXPECT_EQ(Read(folder + "/out.nes"), "the old output");
    rmdir((folder + "/folder.bps").c_str());
    EXPECT_EQ(Folder(folder).count(".out.nes.quorvane-0"), 0U) << "no temporary file left";

    // A replaced file keeps its permission bits; a new one has 0666 less the umask.
    chmod((folder + "/out.nes").c_str(), 0600);
    ASSERT_EQ(run(insert), kDone) << err;
    struct stat status {};
    stat((folder + "/out.nes").c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777U, 0600U);
    const mode_t mask = umask(022);
    ASSERT_EQ(run({"insert", "game.nes", "game.txt", "-o", "new.nes"}), kDone) << err;
    umask(mask);
    stat((folder + "/new.nes").c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777U, 0644U);

    // A link stays a link, and the file it names is written; a hard link
    // keeps the old content.
    Write(folder + "/sub/real.nes", "old");
    symlink("sub/real.nes", (folder + "/linked.nes").c_str());
    link((folder + "/sub/real.nes").c_str(), (folder + "/hard.nes").c_str());
    ASSERT_EQ(run({"insert", "game.nes", "game.txt", "-o", "linked.nes"}), kDone) << err;
    struct stat linked {};
    lstat((folder + "/linked.nes").c_str(), &linked);
    EXPECT_TRUE(S_ISLNK(linked.st_mode));
    EXPECT_EQ(Read(folder + "/sub/real.nes"), Read(folder + "/new.nes"));
    EXPECT_EQ(Read(folder + "/hard.nes"), "old");
    unlink((folder + "/sub/real.nes").c_str());

    // A device (a FIFO where the tests cannot make one) is written where it
    // stands, never renamed over; a write that fails there is a failure.
    const std::string device = folder + "/device";
    const bool root = mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;  // as /dev/full
    if (!root) {
        ASSERT_EQ(mkfifo(device.c_str(), 0666), 0);
    }
    if (root) {
        EXPECT_EQ(run({"insert", "game.nes", "game.txt", "-o", "device"}), 74);
        EXPECT_NE(err.find("device: cannot be written: No space left on device"), std::string::npos)
            << err;
    } else {
        const int reader = open(device.c_str(), O_RDONLY | O_NONBLOCK);
        EXPECT_EQ(run({"insert", "game.nes", "game.txt", "-o", "device"}), kDone) << err;
        char bytes[16];
        EXPECT_EQ(read(reader, bytes, 4), 4);
        EXPECT_EQ(std::string(bytes, 4), "NES\x1A");
        close(reader);
    }
    lstat(device.c_str(), &status);
    EXPECT_TRUE(S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode));
}

TEST_F(Files, PatchAppliesAcrossAHeaderWhereAsked) {
    const std::string rom = Read(folder + "/game.nes");
    Write(folder + "/data.bin", rom.substr(16));
    Write(folder + "/edited.bin", std::string(16, 'X') + rom.substr(32));
    ASSERT_EQ(run({"patch", "make", "data.bin", "edited.bin", "-o", "data.ips"}), kDone);
    ASSERT_EQ(run({"patch", "apply", "game.nes", "data.ips", "--across-header", "-o", "out.nes"}),
              kDone)
        << err;
    EXPECT_EQ(Read(folder + "/out.nes"), rom.substr(0, 16) + std::string(16, 'X') + rom.substr(32));
    EXPECT_NE(err.find("applied to the data after the header, which is kept"), std::string::npos)
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
