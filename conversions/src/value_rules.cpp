// Character codes, hex formatting and the range-checked arithmetic that the
// conversions share.
#include "conversions/conversions.h"

#include <array>
#include <limits>

#include "code_page/code_page.h"
#include "value_rules.h"

namespace conversions {
namespace {

constexpr std::int16_t kUnrepresentable = 63;  // "?"

// The full-width forms of "!" to "~", typed by input methods in full-width
// mode, stand for the ASCII characters they look like, as the ideographic
// space stands for a space.
constexpr char16_t kFirstFullWidth = u'\uFF01';
constexpr char16_t kLastFullWidth = u'\uFF5E';
constexpr char16_t kFullWidthOffset = kFirstFullWidth - u'!';
constexpr char16_t kIdeographicSpace = u'\u3000';

}  // namespace

char16_t AsciiStandIn(char16_t unit) {
    if (unit >= kFirstFullWidth && unit <= kLastFullWidth) {
        return static_cast<char16_t>(unit - kFullWidthOffset);
    }
    return unit == kIdeographicSpace ? u' ' : unit;
}

std::int16_t AnsiCode(char16_t character) {
    if (character < 0x80) {
        return static_cast<std::int16_t>(character);
    }
    if (const std::optional<std::int16_t> code = SystemCodePageCode(character)) {
        return *code;
    }
    const char16_t standIn = AsciiStandIn(character);
    return standIn < 0x80 ? static_cast<std::int16_t>(standIn) : kUnrepresentable;
}

std::string HexDigits32(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    int shift = 28;
    while (shift > 0 && (bits >> shift) == 0) {
        shift -= 4;
    }
    std::array<char, 8> digits{};
    std::size_t count = 0;
    for (; shift >= 0; shift -= 4) {
        digits[count++] = "0123456789ABCDEF"[(bits >> shift) & 0xFU];
    }
    return {digits.data(), count};  // one string, short enough to need no allocation
}

std::int16_t Subtract16(std::int16_t a, std::int16_t b) {
    const int exact = a - b;
    if (exact < std::numeric_limits<std::int16_t>::min() ||
        exact > std::numeric_limits<std::int16_t>::max()) {
        throw ArithmeticOverflow();
    }
    return static_cast<std::int16_t>(exact);
}

std::int32_t AppendHexDigit(std::int32_t value, int digit) {
    // With digit at most 15, the result fits exactly when value does in 27 bits.
    if (value > (std::numeric_limits<std::int32_t>::max() >> 4)) {
        throw ArithmeticOverflow();
    }
    return value * 16 + digit;
}

}  // namespace conversions
