#include "pointer_description.h"

#include <algorithm>

#include "conversions/conversions.h"

namespace {

int HexDigitValue(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') {
        return unit - u'0';
    }
    if (unit >= u'A' && unit <= u'F') {
        return unit - u'A' + 10;
    }
    if (unit >= u'a' && unit <= u'f') {
        return unit - u'a' + 10;
    }
    return -1;
}

// `value` in upper-case hex, `width` digits with leading zeros.
std::u16string Hex(unsigned value, std::size_t width) {
    const std::string digits = conversions::HexDigits32(static_cast<std::int32_t>(value));
    return std::u16string(width - std::min(width, digits.size()), u'0') +
           std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string PointerDescription(std::u16string_view text) {
    if (text.empty() || text.size() > 4) {
        return {};
    }
    unsigned stored = 0;
    for (const char16_t unit : text) {
        const int digit = HexDigitValue(unit);
        if (digit < 0) {
            return {};
        }
        stored = stored << 4U | static_cast<unsigned>(digit);
    }
    const unsigned first = stored >> 8U;
    const unsigned second = stored & 0xFFU;
    return u"CPU address $" + Hex(second << 8U | first, 4) + u", stored as " + Hex(first, 2) +
           u' ' + Hex(second, 2);
}
