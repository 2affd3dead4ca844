// Speed of the conversions: a usual offset, and the longest texts the
// window can hand them, each beside a plain loop over the same text: a bare
// scan for hex digits, and three bytes a character appended to a string made room for.
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
std::u16string LongestOffset() {
    std::u16string text(conversions::kMaxHexTextLength - 1, u' ');
    text.back() = u'7';
    text[text.size() / 2] = u'0';
    return text;
}

void BM_HextoDec_32766(benchmark::State& state) {
    const std::u16string text = LongestOffset();
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::HextoDec(text));
    }
}
BENCHMARK(BM_HextoDec_32766);

void BM_BareHexScan_32766(benchmark::State& state) {
    const std::u16string text = LongestOffset();
    for (auto _ : state) {
        std::uint32_t value = 0;
        for (const char16_t unit : text) {
            const unsigned lower = unit | 0x20U;
            if (unit >= u'0' && unit <= u'9') {
                value = value * 16 + (unit - u'0');
            } else if (lower >= u'a' && lower <= u'f') {
                value = value * 16 + (lower - u'a' + 10);
            }
        }
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_BareHexScan_32766);

// A 1 MiB word of capitals, digits and punctuation.
std::u16string LongWord() {
    std::u16string word;
    while (word.size() < (std::size_t{1} << 20)) {
        word += u"ONLY CAPITAL! 0123456789";
    }
    word.resize(std::size_t{1} << 20);
    return word;
}

void BM_StringToHex_1MiB(benchmark::State& state) {
    const std::u16string word = LongWord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::StringToHex(word));
    }
}
BENCHMARK(BM_StringToHex_1MiB)->Unit(benchmark::kMillisecond);

void BM_ThreeBytesPerCharacter_1MiB(benchmark::State& state) {
    const std::u16string word = LongWord();
    for (auto _ : state) {
        std::string codes;
        codes.reserve(word.size() * 3);
        for (const char16_t unit : word) {
            codes += ' ';
            codes += "0123456789ABCDEF"[(unit >> 4U) & 0xFU];
            codes += "0123456789ABCDEF"[unit & 0xFU];
        }
        benchmark::DoNotOptimize(codes);
    }
}
BENCHMARK(BM_ThreeBytesPerCharacter_1MiB)->Unit(benchmark::kMillisecond);

}  // namespace
