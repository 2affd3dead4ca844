// Reading the offset box: hex digits in either case, anything else skipped.
#include "conversions/conversions.h"

#include <array>
#include <cstring>

#include "value_rules.h"

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
    const char16_t* unit = HexNum.data();
    const char16_t* const end = unit + HexNum.size();
    while (unit != end) {
        // Four units below "0" at a time (spaces, "$", "-"...): none is a
        // digit, nor stands for one.
        if (end - unit >= 4) {
            std::uint64_t four{};
            std::memcpy(&four, unit, sizeof four);
            constexpr std::uint64_t kTopBits = 0x8000800080008000U;
            constexpr std::uint64_t kZeros = 0x0030003000300030U;
            constexpr std::uint64_t kNotAscii = 0xFF80FF80FF80FF80U;
            if ((((four | kTopBits) - kZeros) & kTopBits) == 0 && (four & kNotAscii) == 0) {
                unit += 4;
                continue;
            }
        }
        // A full-width digit counts as its ASCII one whatever the system's
        // code page, which may have a code of its own for it: an offset typed
        // in full-width mode is never silently another.
        const char16_t ascii = AsciiStandIn(*unit);
        ++unit;
        if (ascii < kDigitValue.size() && kDigitValue[ascii] != kNotADigit) {
            value = AppendHexDigit(value, kDigitValue[ascii]);
        }
    }
    return value;
}

}  // namespace conversions
