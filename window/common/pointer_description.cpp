#include "pointer_description.h"

#include <cstdio>

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
    char description[48];
    const int length =
        std::snprintf(description, sizeof description, "CPU address $%04X, stored as %02X %02X",
                      second << 8U | first, first, second);
    return {description, description + length};
}
