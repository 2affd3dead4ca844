// The commands that write files, run in a folder of their own: every
// refusal leaves each input byte for byte as it was and no file behind; a
// failure leaves every output as it was; what succeeds writes its files and
// nothing else.
#include "folder_fixture.h"

namespace {

using files_test::Edited;
using files_test::Files;
using files_test::Folder;
using files_test::Read;
using files_test::Write;

TEST_F(Files, RefusalsLeaveEveryInputAsItWasAndNothingBehind) {
    const std::string script = Read(folder + "/game.txt");
    Write(folder + "/crc.txt", Edited(script, "crc32=CB9C7CF3", "crc32=1CB9C7CF3"));
    Write(folder + "/bank.txt", Edited(script, "bank 0\n", "bank 0x4000000000000\n"));
    Write(folder + "/chr.txt", Edited(script, "bank 0\n", "bank 4\n"));
    Write(folder + "/space.txt", Edited(script, "@space $26-$37\n", "@space $0-$20\n"));
    Write(folder + "/lines.txt", Edited(Edited(script, "@space", "@lines 1\n@space"),
                                        "\nHELLO WORLD\n", "\nHELLO<br>WORLD\n"));
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
         "the text does not fit, and nothing is written:\n  bank 0, type 1: 37 bytes needed, 18 "
         "bytes in the spaces, 19 short\n"},
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
        {"a space over the pointer table",
         {"insert", "game.nes", "game.txt", "-o", "out.nes", "--space", "20-21"},
         2,
         "the space $20-$21 lies over the pointer table at $20"},
        {"a patch for another ROM",
         {"patch", "apply", "game.nes", "other.bps", "-o", "out.nes"},
         1,
         "the patch is for a file of CRC32"},
        {"a patch over the zip its ROM is read from",
         {"patch", "apply", "two.zip:game.nes", "other.bps", "-o", "two.zip"},
         2,
         "two.zip is two.zip:game.nes, an input"},
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
        {"a line past the window's width",
         {"insert", "game.nes", "game.txt", "-o", "out.nes", "--width", "8"},
         1,
         "game.txt: line 8, column 1: a line of 11 characters, past the width of 8\n"
         "quorvane-cli: nothing is written\n"},
        {"a text of more lines than the window's",
         {"insert", "game.nes", "lines.txt", "-o", "out.nes"},
         1,
         "lines.txt: line 7: entry 0 has 2 lines, past the 1 the window holds\n"
         "quorvane-cli: nothing is written\n"},
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
        const std::string complaint = row.complaint;
        // A complaint that ends a line ends what is said: nothing follows it.
        const std::size_t at = err.find(complaint);
        EXPECT_TRUE(at != std::string::npos &&
                    (complaint.back() != '\n' || at + complaint.size() == err.size()))
            << row.name << ": " << err;
        EXPECT_EQ(Folder(folder), before) << row.name;
    }
    EXPECT_EQ(run({"insert", "game.nes", "lines.txt", "-o", "out.nes", "--lines", "2"}), kDone)
        << "--lines wins over the script's @lines: " << err;
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
    ASSERT_EQ(Folder(folder).count(".out.nes.quorvane-old-0"), 0U) << "what it replaced kept";
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

}  // namespace
