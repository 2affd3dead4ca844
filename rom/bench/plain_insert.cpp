// The simplest program that does insert's work on the benchmarks' fixture:
// each script's text through a 256-entry array, the strings one after
// another in the script's space, the pointers written, a BPS of SourceRead
// and TargetRead alone, and both files written as insert writes them.
//   plain_insert ROM OUT PATCH SCRIPT...
#include <zlib.h>

#include <cstdlib>
#include <sstream>

#include "plain_programs.h"

namespace {

void Number(std::vector<unsigned char>& out, unsigned long n) {
    for (;;) {
        const unsigned char x = n & 0x7F;
        n >>= 7;
        if (n == 0) {
            out.push_back(0x80 | x);
            return;
        }
        out.push_back(x);
        --n;
    }
}

void Put32(std::vector<unsigned char>& out, unsigned long value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<unsigned char> source = ReadWhole(argv[1]);
    std::vector<unsigned char> target = source;
    unsigned char code[256] = {};
    for (int c = 'A'; c <= 'Z'; ++c) {
        code[c] = static_cast<unsigned char>(c - 'A' + 0x0A);
    }
    code[' '] = 0x24;
    for (int i = 4; i < argc; ++i) {
        const std::vector<unsigned char> bytes = ReadWhole(argv[i]);
        std::istringstream script(std::string(bytes.begin(), bytes.end()));
        std::string line;
        unsigned long table = 0, count = 0, at = 0, start = 0, entry = 0;
        while (std::getline(script, line)) {
            if (line.rfind("@pointers $", 0) == 0) {
                table = std::strtoul(line.c_str() + 11, nullptr, 16);
                count = std::strtoul(line.c_str() + line.find("count") + 6, nullptr, 10);
                start = table;
            } else if (line.rfind("@space $", 0) == 0) {
                at = std::strtoul(line.c_str() + 8, nullptr, 16);
            } else if (line.rfind('<', 0) == 0) {
                entry = std::strtoul(line.c_str() + 1, nullptr, 10);
            } else if (!line.empty() && line[0] != '@' && entry < count) {
                const unsigned long address = 0x8000 + (at - start);
                target[table + 2 * entry] = address & 0xFF;
                target[table + 2 * entry + 1] = static_cast<unsigned char>(address >> 8);
                for (const char c : line) {
                    target[at++] = code[static_cast<unsigned char>(c)];
                }
                target[at++] = 0xFF;
            }
        }
    }
    std::vector<unsigned char> patch = {'B', 'P', 'S', '1'};
    Number(patch, source.size());
    Number(patch, target.size());
    Number(patch, 0);
    for (std::size_t at = 0; at < target.size();) {
        std::size_t end = at;
        const bool same = source[at] == target[at];
        while (end < target.size() && (source[end] == target[end]) == same) {
            ++end;
        }
        Number(patch, (end - at - 1) << 2 | (same ? 0 : 1));
        if (!same) {
            patch.insert(patch.end(), target.begin() + static_cast<long>(at),
                         target.begin() + static_cast<long>(end));
        }
        at = end;
    }
    Put32(patch, crc32(0, source.data(), static_cast<uInt>(source.size())));
    Put32(patch, crc32(0, target.data(), static_cast<uInt>(target.size())));
    Put32(patch, crc32(0, patch.data(), static_cast<uInt>(patch.size())));
    WriteSafely(argv[2], target);
    WriteSafely(argv[3], patch);
}
