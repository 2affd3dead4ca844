// HextoDec gives the value of the hex digits in its input, or overflow.
#include <optional>

#include "conversions/conversions.h"
#include "fuzz_support.h"

namespace {

// The value of the text's hex digits (full-width ones too) read in order, or nothing where it
// would pass 0x7FFFFFFF: worked out from the digits as a string.
std::optional<std::int32_t> ExpectedValue(const std::u16string& text) {
    std::string digits;
    for (char16_t unit : text) {
        if (unit >= u'\uFF01' && unit <= u'\uFF5E') {  // a full-width form
            unit = static_cast<char16_t>(unit - (u'\uFF01' - u'!'));
        }
        if ((unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'F') ||
            (unit >= u'a' && unit <= u'f')) {
            digits.push_back(static_cast<char>(unit));
        }
    }
    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.size() > 8) {
        return std::nullopt;
    }
    const unsigned long value = digits.empty() ? 0 : std::stoul(digits, nullptr, 16);
    if (value > 0x7FFFFFFFUL) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = CodeUnits(data, size);
    const std::optional<std::int32_t> expected =
        text.size() < conversions::kMaxHexTextLength ? ExpectedValue(text) : std::nullopt;
    try {
        const std::int32_t value = conversions::HextoDec(text);
        Require(value >= 0, "the value is never negative");
        Require(expected.has_value() && *expected == value, "the value is the text's digits");
    } catch (const conversions::ArithmeticOverflow& error) {
        Require(error.number() == 6, "overflow carries number 6");
        Require(!expected.has_value(), "overflow only past 7FFFFFFF or for a too long text");
    }
    return 0;
}
