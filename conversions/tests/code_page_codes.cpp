// Prints the codes the word-to-hex tool gives every code unit from U+0080 to
// U+FFFF but the surrogates, on the code page this system takes from its
// language: the same table from every platform, to compare with Windows'.
#include <iostream>

#include "conversions/conversions.h"

int main() {
    std::u16string units;
    for (char32_t unit = 0x80; unit <= 0xFFFF; ++unit) {
        if (unit < 0xD800 || unit > 0xDFFF) {
            units += static_cast<char16_t>(unit);
        }
    }
    std::cout << conversions::StringToHex(units) << '\n';
}
