// The simplest program that does dump's work on the benchmarks' fixture:
// one bank's 625 pointers followed, each string decoded through a 256-entry
// array up to its end token, and written out.
//   plain_dump ROM BANK > TEXT
#include <cstdlib>
#include <iostream>

#include "plain_programs.h"

int main(int, char** argv) {
    const unsigned long bank = std::strtoul(argv[2], nullptr, 10);
    const std::vector<unsigned char> rom = ReadWhole(argv[1]);
    char letter[256] = {};
    for (int c = 0; c < 26; ++c) {
        letter[0x0A + c] = static_cast<char>('A' + c);
    }
    letter[0x24] = ' ';
    std::string out;
    {
        const unsigned long start = 16 + bank * 0x4000;
        for (unsigned long s = 0; s < 625; ++s) {
            const unsigned long address = rom[start + 2 * s] | rom[start + 2 * s + 1] << 8;
            out += "<" + std::to_string(s) + ">\n";
            for (unsigned long at = start + address - 0x8000; rom[at] != 0xFF; ++at) {
                out += letter[rom[at]];
            }
            out += '\n';
        }
    }
    std::cout << out;
}
