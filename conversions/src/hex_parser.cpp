// Reading the offset box: hex digits in either case, anything else skipped.
#include "conversions/conversions.h"

#include <array>

namespace conversions {
namespace {

constexpr std::int8_t kNotADigit = -1;

// The value of each ASCII hex digit, kNotADigit for every other code. Only
// codes below 128 can be digits: the full-width forms come here as ASCII.
constexpr std::array<std::int8_t, 128> MakeDigitTable() {
    std::array<std::int8_t, 128> table{};
    for (auto& entry : table) {
        entry = kNotADigit;
    }
    for (std::size_t i = 0; i < 10; ++i) {
        table['0' + i] = static_cast<std::int8_t>(i);
    }
    for (std::size_t i = 0; i < 6; ++i) {
        table['A' + i] = static_cast<std::int8_t>(10 + i);
        table['a' + i] = static_cast<std::int8_t>(10 + i);
    }
    return table;
}
constexpr std::array<std::int8_t, 128> kDigitValue = MakeDigitTable();

}  // namespace

std::int32_t HextoDec(std::u16string_view HexNum) {
    if (HexNum.size() >= kMaxHexTextLength) {
        throw ArithmeticOverflow();
    }
    std::int32_t value = 0;
    for (const char16_t unit : HexNum) {
        const auto code = static_cast<std::size_t>(AnsiCode(unit));
        if (code < kDigitValue.size() && kDigitValue[code] != kNotADigit) {
            value = AppendHexDigit(value, kDigitValue[code]);
        }
    }
    return value;
}

}  // namespace conversions
