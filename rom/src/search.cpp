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

std::vector<FreeRun> FindFree(const Rom& rom, std::optional<std::uint8_t> byte,
                              std::uint64_t least) {
    const Program program = ProgramOf(rom);
    if (!byte) {
        const auto zeros = std::count(program.data, program.data + program.size, 0x00);
        const auto ones = std::count(program.data, program.data + program.size, 0xFF);
        byte = static_cast<std::uint8_t>(ones > zeros ? 0xFF : 0x00);
    }
    const std::uint64_t banks = rom.prgBanks(kType1.size);
    std::vector<FreeRun> runs;
    for (std::size_t at = 0; at < program.size;) {
        if (program.data[at] != *byte) {
            ++at;
            continue;
        }
        const std::uint64_t bank = at / kType1.size;
        const std::size_t end = std::min<std::size_t>(program.size, (bank + 1) * kType1.size);
        std::size_t last = at;
        while (last + 1 < end && program.data[last + 1] == *byte) {
            ++last;
        }
        // After other bytes, the run's first byte may end the string before
        // it, as an end token of the same byte: it is left out.
        const std::size_t first = at == bank * kType1.size ? at : at + 1;
        if (first <= last && last - first + 1 >= least) {
            runs.push_back(
                {program.start + first, program.start + last, bank, bank + 1 == banks, *byte});
        }
        at = last + 1;
    }
    std::stable_sort(runs.begin(), runs.end(), [](const FreeRun& a, const FreeRun& b) {
        return a.last - a.first > b.last - b.first;
    });
    return runs;
}

std::optional<RelativeWord> ReadRelativeWord(std::string_view word) {
    RelativeWord relative;
    std::array<int, RelativeWord::kKinds> counts{};
    for (const char c : word) {
        const RelativeWord::Kind kind = c >= 'A' && c <= 'Z'   ? RelativeWord::kCapital
                                        : c >= 'a' && c <= 'z' ? RelativeWord::kSmall
                                        : c >= '0' && c <= '9' ? RelativeWord::kDigit
                                                               : RelativeWord::kKinds;
        if (kind == RelativeWord::kKinds) {
            return std::nullopt;
        }
        const char base = kind == RelativeWord::kCapital ? 'A'
                          : kind == RelativeWord::kSmall ? 'a'
                                                         : '0';
        relative.values.push_back(c - base);
        relative.kinds.push_back(kind);
        ++counts[kind];
    }
    relative.digits = counts[RelativeWord::kDigit] > 0;
    const bool mixed =
        relative.digits && counts[RelativeWord::kDigit] != static_cast<int>(word.size());
    if (mixed || *std::max_element(counts.begin(), counts.end()) < 2) {
        return std::nullopt;
    }
    return relative;
}

std::vector<RelativeHit> FindRelative(const Rom& rom, const RelativeWord& word) {
    const Program program = ProgramOf(rom);
    const std::size_t size = word.values.size();
    std::vector<RelativeHit> hits;
    if (size > program.size) {
        return hits;
    }
    // Each character against the first of its kind: how far it steps.
    std::array<std::size_t, RelativeWord::kKinds> anchor{};
    anchor.fill(size);
    std::vector<std::size_t> from(size);
    for (std::size_t k = 0; k < size; ++k) {
        std::size_t& first = anchor[word.kinds[k]];
        first = std::min(first, k);
        from[k] = first;
    }
    // Two characters of one kind, to try first.
    std::size_t test = 0;
    while (from[test] == test) {
        ++test;
    }
    const int step = word.values[test] - word.values[from[test]];
    for (std::size_t at = 0; at + size <= program.size; ++at) {
        const std::uint8_t* const bytes = program.data + at;
        if (bytes[test] - bytes[from[test]] != step) {
            continue;
        }
        std::size_t k = 0;
        while (k < size && bytes[k] - bytes[from[k]] == word.values[k] - word.values[from[k]]) {
            ++k;
        }
        if (k < size) {
            continue;
        }
        RelativeHit hit{program.start + at, {}};
        bool fits = true;
        for (int kind = 0; kind < RelativeWord::kKinds; ++kind) {
            if (anchor[kind] < size) {
                const int first = bytes[anchor[kind]] - word.values[anchor[kind]];
                fits = fits && first >= 0;
                hit.first[kind] = static_cast<std::uint8_t>(first);
            }
        }
        if (fits) {
            hits.push_back(hit);
        }
    }
    return hits;
}

namespace {
const char kBases[] = {'A', 'a', '0'};
const int kCounts[] = {26, 26, 10};
}  // namespace

std::string RelativeTable(const RelativeHit& hit) {
    std::string table;
    for (int kind = 0; kind < RelativeWord::kKinds; ++kind) {
        if (!hit.first[kind]) {
            continue;
        }
        const int first = *hit.first[kind];
        for (int k = 0; k < kCounts[kind] && first + k <= 0xFF; ++k) {
            table += ByteHex(static_cast<std::uint8_t>(first + k)) + '=' +
                     static_cast<char>(kBases[kind] + k) + '\n';
        }
    }
    return table;
}

std::string RelativeFirsts(const RelativeHit& hit) {
    std::string firsts;
    for (int kind = 0; kind < RelativeWord::kKinds; ++kind) {
        if (hit.first[kind]) {
            firsts += (firsts.empty() ? "" : " ") + std::string(1, kBases[kind]) + "=" +
                      ByteHex(*hit.first[kind]);
        }
    }
    return firsts;
}

}  // namespace rom
