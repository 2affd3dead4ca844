#include "rom/search.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "rom/numbers.h"

namespace rom {
namespace {

// PRG-ROM's bytes: the only part searched.
struct Program {
    const std::uint8_t* data;
    std::size_t size;
    std::uint64_t start;  // its file offset
};

Program ProgramOf(const Rom& rom) {
    const std::uint64_t start = rom.prgStart();
    return {rom.file.data() + start, static_cast<std::size_t>(rom.header.prgSize), start};
}

// Calls `found` with each place of `pattern`, in order.
void Scan(const Program& program, const std::uint8_t* pattern, std::size_t size,
          const std::function<void(std::size_t)>& found) {
    if (size == 0 || size > program.size) {
        return;
    }
    const std::uint8_t* const end = program.data + program.size - size + 1;
    for (const std::uint8_t* at = program.data;
         (at = static_cast<const std::uint8_t*>(
              std::memchr(at, pattern[0], static_cast<std::size_t>(end - at)))) != nullptr;
         ++at) {
        if (std::memcmp(at, pattern, size) == 0) {
            found(static_cast<std::size_t>(at - program.data));
        }
    }
}

}  // namespace

std::vector<PointerHit> FindPointers(const Rom& rom, std::uint64_t target,
                                     const std::vector<BankWindow>& windows) {
    const Program program = ProgramOf(rom);
    std::vector<PointerHit> hits;
    for (const BankWindow& window : windows) {
        const std::optional<CpuPlace> place = PlaceOf(window, target, rom.header.trainer);
        if (!place) {
            continue;
        }
        const std::uint8_t pattern[] = {static_cast<std::uint8_t>(place->address & 0xFFU),
                                        static_cast<std::uint8_t>(place->address >> 8U)};
        Scan(program, pattern, 2, [&](std::size_t at) {
            hits.push_back({program.start + at, window, at / window.size, pattern[0], pattern[1]});
        });
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const PointerHit& a, const PointerHit& b) { return a.offset < b.offset; });
    return hits;
}

std::vector<std::uint64_t> FindBytes(const Rom& rom, const std::vector<std::uint8_t>& pattern) {
    const Program program = ProgramOf(rom);
    std::vector<std::uint64_t> hits;
    Scan(program, pattern.data(), pattern.size(),
         [&](std::size_t at) { hits.push_back(program.start + at); });
    return hits;
}

std::optional<RelativeWord> ReadRelativeWord(std::string_view word) {
    RelativeWord relative;
    relative.digits = !word.empty() && word[0] >= '0' && word[0] <= '9';
    const char first = relative.digits ? '0' : 'A';
    const char last = relative.digits ? '9' : 'Z';
    for (const char c : word) {
        if (c < first || c > last) {
            return std::nullopt;
        }
        relative.values.push_back(c - first);
    }
    if (relative.values.size() < 2) {
        return std::nullopt;
    }
    return relative;
}

std::vector<RelativeHit> FindRelative(const Rom& rom, const RelativeWord& word) {
    const Program program = ProgramOf(rom);
    const std::vector<int>& values = word.values;
    std::vector<RelativeHit> hits;
    if (values.size() > program.size) {
        return hits;
    }
    const int step = values[1] - values[0];
    for (std::size_t at = 0; at + values.size() <= program.size; ++at) {
        const std::uint8_t* const bytes = program.data + at;
        if (bytes[1] - bytes[0] != step) {
            continue;
        }
        const int first = bytes[0] - values[0];
        std::size_t k = 2;
        while (k < values.size() && bytes[k] - first == values[k]) {
            ++k;
        }
        if (k == values.size() && first >= 0) {
            hits.push_back({program.start + at, static_cast<std::uint8_t>(first)});
        }
    }
    return hits;
}

std::string RelativeTable(const RelativeWord& word, std::uint8_t first) {
    std::string table;
    const int count = word.digits ? 10 : 26;
    for (int k = 0; k < count && first + k <= 0xFF; ++k) {
        table += ByteHex(static_cast<std::uint8_t>(first + k)) + '=' +
                 static_cast<char>((word.digits ? '0' : 'A') + k) + '\n';
    }
    return table;
}

}  // namespace rom
