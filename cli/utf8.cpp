#include "utf8.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void Append(std::string& bytes, char32_t point) {
    const auto byte = [&bytes](char32_t value) { bytes += static_cast<char>(value); };
    if (point < 0x80) {
        byte(point);
    } else if (point < 0x800) {
        byte(0xC0 | point >> 6U);
        byte(0x80 | (point & 0x3FU));
    } else if (point < 0x10000) {
        byte(0xE0 | point >> 12U);
        byte(0x80 | (point >> 6U & 0x3FU));
        byte(0x80 | (point & 0x3FU));
    } else {
        byte(0xF0 | point >> 18U);
        byte(0x80 | (point >> 12U & 0x3FU));
        byte(0x80 | (point >> 6U & 0x3FU));
        byte(0x80 | (point & 0x3FU));
    }
}

}  // namespace

bool DecodeUtf8(std::string_view text, std::u16string& units) {
    units.clear();
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) {  // ASCII, the common case
            units += static_cast<char16_t>(lead);
            ++at;
            continue;
        }
        // How many bytes follow the lead, and the least code point so many
        // may write, below which the form is overlong.
        const std::size_t following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
        const char32_t least = following == 3 ? 0x10000 : following == 2 ? 0x800 : 0x80;
        if (lead < 0xC2 || lead > 0xF4 || following >= text.size() - at) {
            return false;
        }
        char32_t point = lead & (0x3FU >> following);
        for (std::size_t i = 1; i <= following; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0U) != 0x80U) {
                return false;
            }
            point = point << 6U | (next & 0x3FU);
        }
        if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        if (point >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((point - 0x10000) >> 10U));
            units += static_cast<char16_t>(0xDC00 + (point & 0x3FFU));
        } else {
            units += static_cast<char16_t>(point);
        }
        at += following + 1;
    }
    return true;
}

std::string EncodeUtf8(std::u16string_view units) {
    std::string bytes;
    for (std::size_t at = 0; at < units.size(); ++at) {
        char32_t point = units[at];
        const bool high = point >= 0xD800 && point <= 0xDBFF;
        if (high && at + 1 < units.size() && units[at + 1] >= 0xDC00 && units[at + 1] <= 0xDFFF) {
            point = 0x10000 + ((point - 0xD800) << 10U) + (units[++at] - 0xDC00);
        } else if (point >= 0xD800 && point <= 0xDFFF) {
            point = kReplacement;
        }
        Append(bytes, point);
    }
    return bytes;
}
