// The fewest-bytes encoder beside the greedy longest match the field's
// inserters use: 1 MiB of text through a table of 300 entries, two-letter
// ones among them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <set>
#include <string>

#include "rom/search.h"
#include "rom/table.h"

namespace {

struct Fixture {
    rom::Table table;
    std::string text;
};

const Fixture& Made() {
    static const Fixture fixture = [] {
        std::mt19937 random(300);
        std::string file;
        const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
        int key = 0;
        // One byte a key, then two from FF on, which no key of one byte is.
        const auto entry = [&](const std::string& text) {
            char hex[8];
            const auto byte = static_cast<unsigned char>(key < 255 ? key : key - 255);
            std::snprintf(hex, sizeof hex, key < 255 ? "%02X" : "FF%02X", byte);
            file += std::string(hex) + "=" + text + "\n";
            ++key;
        };
        for (const char c : letters) {
            entry(std::string(1, c));
        }
        while (key < 300) {
            entry({letters[random() % 26], letters[random() % letters.size()]});
        }
        std::string text;
        while (text.size() < (1U << 20U)) {
            text += letters[random() % letters.size()];
        }
        return Fixture{rom::Table::Read(file), text};
    }();
    return fixture;
}

void Fewest(benchmark::State& state) {
    const Fixture& fixture = Made();
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.table.encode(fixture.text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture.text.size()));
}
BENCHMARK(Fewest)->Unit(benchmark::kMillisecond);

void Greedy(benchmark::State& state) {
    const Fixture& fixture = Made();
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.table.encodeGreedy(fixture.text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture.text.size()));
}
BENCHMARK(Greedy)->Unit(benchmark::kMillisecond);

// Tables made against the search: where each key can be read as a longer
// one, and the walks a decoder has not decided pile up.
struct Hostile {
    const char* name;
    rom::Table table;
    std::string text;
};

std::string Hex(unsigned byte) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte & 0xFFU);
    return hex;
}

std::vector<Hostile> MadeHostile() {
    std::vector<Hostile> made;
    // 249 keys for "A" and one of 1,000 bytes of 01.
    std::string chain;
    for (unsigned key = 1; key <= 249; ++key) {
        chain += Hex(key) + "=A\n";
    }
    std::string ones;
    for (int i = 0; i < 1000; ++i) {
        ones += "01";
    }
    made.push_back({"249 keys for A, one of 1,000 bytes of 01, 64 KiB of text",
                    rom::Table::Read(chain + ones + "=Z\n/00\n"), std::string(64U << 10U, 'A')});
    // 4,096 entries: every key of one byte a letter, and 4,000 keys of up
    // to 1,024 bytes made of them, none a text of the string's.
    std::mt19937 random(4096);
    std::string wide;
    for (unsigned key = 1; key <= 96; ++key) {
        wide += Hex(key) + "=" + std::string(1, static_cast<char>('A' + key % 4)) + "\n";
    }
    std::set<std::string> keys;
    while (keys.size() < 4000) {
        std::string key;
        const std::size_t size = 2 + random() % 1023;
        for (std::size_t i = 0; i < size; ++i) {
            key += Hex(1 + random() % 4);
        }
        keys.insert(key);
    }
    for (const std::string& key : keys) {
        wide += key + "=*\n";
    }
    std::string text;
    while (text.size() < (64U << 10U)) {
        text += static_cast<char>('A' + random() % 4);
    }
    made.push_back({"4,096 entries, keys up to 1,024 bytes, 64 KiB of text",
                    rom::Table::Read(wide + "/00\n"), text});
    return made;
}

void HostileTable(benchmark::State& state) {
    static const std::vector<Hostile> tables = MadeHostile();
    const Hostile& hostile = tables[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(hostile.name);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            hostile.table.encodeString(hostile.text, *hostile.table.firstEnd()));
    }
}
// Pointer tables looked for in 4 MiB of random bytes, as in a ROM of
// compressed data, by a table of 40 entries.
void FindTables(benchmark::State& state) {
    rom::Bytes file = {'N', 'E', 'S', 0x1A, 0, 0, 0x20, 0x08, 0, 0x01};
    file.resize(16 + (std::size_t{4} << 20U));
    std::mt19937 random(4);
    std::generate(file.begin() + 16, file.end(),
                  [&] { return static_cast<std::uint8_t>(random()); });
    const rom::Rom rom = rom::ReadRom(file);
    std::string entries;
    for (unsigned key = 0; key < 40; ++key) {
        entries += Hex(key) + "=" + std::string(1, static_cast<char>('A' + key % 26)) + "\n";
    }
    const rom::Table table = rom::Table::Read(entries + "/FF\n");
    for (auto _ : state) {
        benchmark::DoNotOptimize(rom::FindTables(rom, table, {rom::kType1, rom::kType2}, 8));
    }
}
BENCHMARK(FindTables)->Unit(benchmark::kMillisecond);

BENCHMARK(HostileTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
