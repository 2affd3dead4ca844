// The word-to-hex tool: each character's code less 48, in hex.
#include <algorithm>

#include "conversions/conversions.h"

namespace conversions {

std::string StringToHex(std::u16string_view StrToHex) {
    constexpr std::int16_t kCodeOfZero = 48;  // "0" encodes as 00
    constexpr char kDigits[] = "0123456789ABCDEF";
    // Room for the widest codes, a space and four digits, trimmed at the end:
    // writing through a pointer is several times as fast as appending.
    std::string result(StrToHex.size() * 5, ' ');
    char* out = result.data();
    for (const char16_t unit : StrToHex) {
        // An ASCII unit is its own code, and less 48 it stays in range; the
        // others go through the code page and the guarded subtraction.
        const std::int16_t code = unit < 0x80 ? static_cast<std::int16_t>(unit - kCodeOfZero)
                                              : Subtract16(AnsiCode(unit), kCodeOfZero);
        ++out;            // the space before the code
        if (code >= 0) {  // two digits: no single byte less 48 passes 0xCF
            *out++ = kDigits[code >> 4];
            *out++ = kDigits[code & 0xF];
        } else {  // four digits of 16-bit two's complement (a code page's
                  // double-byte codes are all below 0)
            const auto bits = static_cast<std::uint16_t>(code);
            for (const unsigned shift : {12U, 8U, 4U, 0U}) {
                *out++ = kDigits[(bits >> shift) & 0xFU];
            }
        }
    }
    result.resize(static_cast<std::size_t>(out - result.data()));
    return result;
}

}  // namespace conversions
