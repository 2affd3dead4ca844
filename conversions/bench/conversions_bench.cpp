// Speed of the conversions: a usual offset, and the longest texts the
// window can hand them.
#include <string>

#include <benchmark/benchmark.h>

#include "conversions/conversions.h"

namespace {

void BM_ComputePointerText(benchmark::State& state) {
    const std::u16string offset = u"8123";
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::ComputePointerText(offset, true, false));
    }
}
BENCHMARK(BM_ComputePointerText);

// The longest offset text the parser reads: digits spread among spaces.
void BM_HextoDec_32766(benchmark::State& state) {
    std::u16string text(conversions::kMaxHexTextLength - 1, u' ');
    text.back() = u'7';
    text[text.size() / 2] = u'0';
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::HextoDec(text));
    }
}
BENCHMARK(BM_HextoDec_32766);

// A 1 MiB word of capitals, digits and punctuation.
void BM_StringToHex_1MiB(benchmark::State& state) {
    std::u16string word;
    while (word.size() < (std::size_t{1} << 20)) {
        word += u"ONLY CAPITAL! 0123456789";
    }
    word.resize(std::size_t{1} << 20);
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::StringToHex(word));
    }
}
BENCHMARK(BM_StringToHex_1MiB)->Unit(benchmark::kMillisecond);

}  // namespace
