// The fewest-bytes encoder beside the greedy longest match the field's
// inserters use: 1 MiB of text through a table of 300 entries, two-letter
// ones among them.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

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

}  // namespace
