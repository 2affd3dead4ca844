#include "rom/numbers.h"

#include <charconv>
#include <optional>

namespace rom {
namespace {

constexpr std::uint64_t kLargest = (std::uint64_t{1} << 60U) - 1;

std::optional<unsigned> DigitOf(char32_t c) {
    if (c >= U'0' && c <= U'9') {
        return c - U'0';
    }
    if (c >= U'A' && c <= U'F') {
        return c - U'A' + 10;
    }
    if (c >= U'a' && c <= U'f') {
        return c - U'a' + 10;
    }
    if (c >= 0xFF10 && c <= 0xFF19) {  // full-width digits
        return c - 0xFF10;
    }
    if (c >= 0xFF21 && c <= 0xFF26) {
        return c - 0xFF21 + 10;
    }
    if (c >= 0xFF41 && c <= 0xFF46) {
        return c - 0xFF41 + 10;
    }
    return std::nullopt;
}

bool Blank(char32_t c) { return c == U' ' || c == U'\t'; }

// A character as a message shows it: itself where it prints, else U+XXXX.
std::string Shown(char32_t c) {
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
        std::string hex = "U+0000";
        const std::string digits = Dollar(c).substr(1);
        return hex.replace(hex.size() - digits.size(), digits.size(), digits);
    }
    std::string utf8;
    if (c < 0x80) {
        utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | c >> 6U);
        utf8 += static_cast<char>(0x80 | (c & 0x3FU));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | c >> 12U);
        utf8 += static_cast<char>(0x80 | (c >> 6U & 0x3FU));
        utf8 += static_cast<char>(0x80 | (c & 0x3FU));
    } else {
        utf8 += static_cast<char>(0xF0 | c >> 18U);
        utf8 += static_cast<char>(0x80 | (c >> 12U & 0x3FU));
        utf8 += static_cast<char>(0x80 | (c >> 6U & 0x3FU));
        utf8 += static_cast<char>(0x80 | (c & 0x3FU));
    }
    return "'" + utf8 + "'";
}

std::uint64_t Read(const std::u32string& text) {
    std::size_t i = 0;
    while (i < text.size() && Blank(text[i])) {
        ++i;
    }
    const char* marker = nullptr;
    if (i < text.size() && text[i] == U'$') {
        marker = "$";
        ++i;
    } else if (i + 1 < text.size() && text[i] == U'0' && (text[i + 1] | 0x20U) == U'x') {
        marker = "0x";
        i += 2;
    }
    std::uint64_t value = 0;
    bool digits = false;
    for (; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (Blank(c)) {
            continue;
        }
        const std::optional<unsigned> digit = DigitOf(c);
        if (digit) {
            if (value > kLargest >> 4U) {
                throw NumberTooLarge("the number is too large");
            }
            value = value << 4U | *digit;
            digits = true;
            continue;
        }
        std::size_t rest = i + 1;
        while (rest < text.size() && Blank(text[rest])) {
            ++rest;
        }
        if ((c | 0x20U) == U'h' && digits && marker == nullptr && rest == text.size()) {
            break;
        }
        throw NumberError(Shown(c) + " at column " + std::to_string(i + 1) + " is not a hex digit");
    }
    if (!digits) {
        throw NumberError(marker != nullptr ? std::string("no hex digit after the ") + marker
                                            : std::string("no hex digit: the input is blank"));
    }
    return value;
}

}  // namespace

std::uint64_t ReadHex(std::u16string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10U) + (text[++i] - 0xDC00U);
        }
        points += c;
    }
    return Read(points);
}

std::uint64_t ReadHex(std::string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3FU >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            c = c << 6U | (static_cast<unsigned char>(text[i + k]) & 0x3FU);
        }
        points += c;
        i += length;
    }
    return Read(points);
}

std::uint64_t ReadCount(std::string_view text) {
    int base = 10;
    if (text.rfind("0x", 0) == 0 || text.rfind("0X", 0) == 0 || text.rfind('$', 0) == 0) {
        text.remove_prefix(text[0] == '$' ? 1 : 2);
        base = 16;
    }
    std::uint64_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || stop != end || error != std::errc()) {
        throw NumberError("not a number in decimal, or in hex after 0x or $");
    }
    return value;
}

std::string Dollar(std::uint64_t value) {
    char digits[17];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, 16);
    std::string text = "$" + std::string(digits, end);
    for (char& c : text) {
        c = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return text;
}

std::string ByteHex(std::uint8_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[value >> 4U], kDigits[value & 0xFU]};
}

}  // namespace rom
