// A folder of its own for the commands that write files: the test ROMs,
// their table and a dumped script in it, and the command line run there.
#pragma once

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

namespace files_test {

inline std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

inline void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every file of the folder and its bytes.
inline std::map<std::string, std::string> Folder(const std::string& folder) {
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
        Write(folder + "/two.zip", Read(roms + "/two.zip"));
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
inline std::string Edited(const std::string& script, const std::string& from,
                          const std::string& to) {
    std::string edited = script;
    return edited.replace(edited.find(from), from.size(), to);
}

}  // namespace files_test
