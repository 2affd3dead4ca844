// Windows-1252, the code page of most languages, known here without any
// converter: the code page wherever no other can be had.
#include <array>

#include "code_page.h"

namespace conversions {
namespace {

// Bytes 0x80 to 0x9F and the code units they stand for. The five bytes the
// code page leaves undefined map to the code unit of the same value.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

}  // namespace

std::u16string Windows1252Decodings() {
    std::u16string decodings(kHighControlBlock.begin(), kHighControlBlock.end());
    for (char16_t unit = 0xA0; unit <= 0xFF; ++unit) {  // as in Latin-1
        decodings += unit;
    }
    return decodings;
}

}  // namespace conversions
