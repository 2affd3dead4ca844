// Speed of the conversions, each beside a one-pass baseline over the same
// text that does the least work such a conversion could do.
#include <cstddef>
#include <string>
#include <string_view>

#include <benchmark/benchmark.h>

#include "conversions/conversions.h"

namespace {

// The longest offset text the parser accepts: digits spread among spaces.
std::u16string LongOffsetText() {
    std::u16string text(conversions::kMaxHexTextLength - 1, u' ');
    text.back() = u'7';
    text[text.size() / 2] = u'0';
    return text;
}

// A 1 MiB word of capitals, digits and punctuation.
std::u16string LongWord() {
    const std::u16string pattern = u"ONLY CAPITAL! 0123456789";
    std::u16string word;
    word.reserve(std::size_t{1} << 20);
    while (word.size() < (std::size_t{1} << 20)) {
        word += pattern;
    }
    word.resize(std::size_t{1} << 20);
    return word;
}

std::size_t CountHexDigits(std::u16string_view text) {
    std::size_t digits = 0;
    for (const char16_t unit : text) {
        digits += static_cast<std::size_t>((unit >= u'0' && unit <= u'9') ||
                                           (unit >= u'A' && unit <= u'F') ||
                                           (unit >= u'a' && unit <= u'f'));
    }
    return digits;
}

void BM_ComputePointerText(benchmark::State& state) {
    const std::u16string offset = u"8123";
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::ComputePointerText(offset, true, false));
    }
}
BENCHMARK(BM_ComputePointerText);

void BM_Baseline_CountHexDigits_8123(benchmark::State& state) {
    const std::u16string offset = u"8123";
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountHexDigits(offset));
    }
}
BENCHMARK(BM_Baseline_CountHexDigits_8123);

void BM_HextoDec_32766(benchmark::State& state) {
    const std::u16string text = LongOffsetText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::HextoDec(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_HextoDec_32766);

void BM_Baseline_CountHexDigits_32766(benchmark::State& state) {
    const std::u16string text = LongOffsetText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(CountHexDigits(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Baseline_CountHexDigits_32766);

void BM_StringToHex_1MiB(benchmark::State& state) {
    const std::u16string word = LongWord();
    for (auto _ : state) {
        benchmark::DoNotOptimize(conversions::StringToHex(word));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * word.size()));
}
BENCHMARK(BM_StringToHex_1MiB);

void BM_Baseline_ThreeBytesPerChar_1MiB(benchmark::State& state) {
    const std::u16string word = LongWord();
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (auto _ : state) {
        std::string out;
        out.reserve(word.size() * 3);
        for (const char16_t unit : word) {
            out.push_back(' ');
            out.push_back(kDigits[(unit >> 4U) & 0xFU]);
            out.push_back(kDigits[unit & 0xFU]);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * word.size()));
}
BENCHMARK(BM_Baseline_ThreeBytesPerChar_1MiB);

}  // namespace
