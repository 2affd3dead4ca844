// Character codes, hex formatting and the range-checked arithmetic that the
// conversions share.
#include "conversions/conversions.h"

#include <array>
#include <limits>

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

// Windows-1252 bytes 0x80 to 0x9F and the code units they stand for. The five
// bytes the code page leaves undefined map to the code unit of the same value.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

}  // namespace

std::int16_t AnsiCode(char16_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<std::int16_t>(character);
    }
    if (character >= kFirstFullWidth && character <= kLastFullWidth) {
        return static_cast<std::int16_t>(character - kFullWidthOffset);
    }
    if (character == kIdeographicSpace) {
        return ' ';
    }
    for (std::size_t byte = 0; byte < kHighControlBlock.size(); ++byte) {
        if (kHighControlBlock[byte] == character) {
            return static_cast<std::int16_t>(0x80 + byte);
        }
    }
    return kUnrepresentable;
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
