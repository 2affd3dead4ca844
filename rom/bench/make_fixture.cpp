// Writes the benchmarks' fixture into a folder: a 4 MiB ROM whose 16 banks
// each hold a table of 625 pointers and their strings, its text table, and a
// translation of each bank that rewrites every string to another length.
//   make_fixture FOLDER
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBanks = 256;
constexpr std::size_t kBankSize = 0x4000;
constexpr std::size_t kStrings = 625;
constexpr std::size_t kTextBanks = 16;  // every 16th bank holds text

std::string Word(std::mt19937& random, std::size_t length) {
    std::string word;
    for (std::size_t i = 0; i < length; ++i) {
        word += random() % 6 == 0 && i > 0 && word.back() != ' '
                    ? ' '
                    : static_cast<char>('A' + random() % 26);
    }
    if (word.back() == ' ') {
        word.back() = 'E';
    }
    return word;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fixture FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    std::mt19937 random(4);
    std::vector<unsigned char> rom(16 + kBanks * kBankSize, 0xEA);
    const unsigned char header[16] = {'N', 'E',  'S',  0x1A, 0,
                                      0,   0x20, 0x08, 0,    1};  // NES 2.0, 256 banks, UxROM
    std::copy(header, header + 16, rom.begin());
    std::ofstream table(folder + "fixture.tbl");
    for (int letter = 0; letter < 26; ++letter) {
        char entry[8];
        std::snprintf(entry, sizeof entry, "%02X=%c\n", 0x0A + letter, 'A' + letter);
        table << entry;
    }
    table << "24= \n/FF\n";
    for (std::size_t b = 0; b < kTextBanks; ++b) {
        const std::size_t bank = b * 16;
        const std::size_t start = 16 + bank * kBankSize;
        std::size_t at = start + 2 * kStrings;
        std::string script = "@rom fixture.nes\n@table fixture.tbl\n@pointers $" +
                             [&] {
                                 char hex[16];
                                 std::snprintf(hex, sizeof hex, "%zX", start);
                                 return std::string(hex);
                             }() +
                             " count 625 type 1 bank " + std::to_string(bank) + "\n";
        std::vector<std::string> originals;
        for (std::size_t s = 0; s < kStrings; ++s) {
            originals.push_back(Word(random, 5 + random() % 16));
            const std::size_t address = 0x8000 + (at - start);
            rom[start + 2 * s] = static_cast<unsigned char>(address & 0xFF);
            rom[start + 2 * s + 1] = static_cast<unsigned char>(address >> 8);
            for (const char c : originals.back()) {
                rom[at++] = c == ' ' ? 0x24 : static_cast<unsigned char>(c - 'A' + 0x0A);
            }
            rom[at++] = 0xFF;
        }
        char space[48];
        std::snprintf(space, sizeof space, "@space $%zX-$%zX\n", start + 2 * kStrings, at - 1);
        script += space;
        // Each string to another length, the bank's text no longer in all.
        std::size_t budget = at - (start + 2 * kStrings);
        for (std::size_t s = 0; s < kStrings; ++s) {
            const std::size_t left = kStrings - s;
            std::size_t length = originals[s].size() + random() % 5 - 2;
            length = std::max<std::size_t>(3, std::min(length, budget - 4 * (left - 1) - 1));
            budget -= length + 1;
            script += "\n<" + std::to_string(s) + ">\n" + Word(random, length) + "\n";
        }
        std::ofstream(folder + "translation-" + std::to_string(b) + ".txt") << script;
    }
    std::ofstream(folder + "fixture.nes", std::ios::binary)
        .write(reinterpret_cast<const char*>(rom.data()), static_cast<std::streamsize>(rom.size()));
}
