#include "rom/numbers.h"

#include <algorithm>
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

// A UTF-8 text's characters in turn, each with its bytes.
struct Character {
    char32_t point = 0;
    std::string_view bytes;
};

Character CharacterAt(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t point = length == 1 ? lead : lead & (0x7FU >> length);
    for (std::size_t k = 1; k < length && at + k < text.size(); ++k) {
        point = point << 6U | (static_cast<unsigned char>(text[at + k]) & 0x3FU);
    }
    return {point, text.substr(at, length)};
}

// A character as a message shows it: itself, or U+XXXX where it does not
// print.
std::string Shown(const Character& c) {
    if (c.point < 0x20 || c.point == 0x7F || (c.point >= 0x80 && c.point < 0xA0)) {
        const std::string digits = Dollar(c.point).substr(1);
        return "U+" + std::string(4 - std::min<std::size_t>(digits.size(), 4), '0') + digits;
    }
    return "'" + std::string(c.bytes) + "'";
}

bool BlankTo(std::string_view text, std::size_t at) {
    return text.find_first_not_of(" \t", at) == std::string_view::npos;
}

}  // namespace

std::uint64_t ReadHex(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t");
    at = at == std::string_view::npos ? text.size() : at;
    std::size_t column = at + 1;  // of the character at `at`; blanks are a byte each
    const char* marker = nullptr;
    if (at < text.size() && text[at] == '$') {
        marker = "$";
        ++at, ++column;
    } else if (at + 1 < text.size() && text[at] == '0' && (text[at + 1] | 0x20) == 'x') {
        marker = "0x";
        at += 2, column += 2;
    }
    std::uint64_t value = 0;
    bool digits = false;
    for (; at < text.size(); ++column) {
        const Character c = CharacterAt(text, at);
        at += c.bytes.size();
        if (Blank(c.point)) {
            continue;
        }
        if (const std::optional<unsigned> digit = DigitOf(c.point)) {
            if (value > kLargest >> 4U) {
                throw NumberTooLarge("the number is too large");
            }
            value = value << 4U | *digit;
            digits = true;
            continue;
        }
        if ((c.point | 0x20U) == U'h' && digits && marker == nullptr && BlankTo(text, at)) {
            break;
        }
        throw NumberError(Shown(c) + " at column " + std::to_string(column) +
                          " is not a hex digit");
    }
    if (!digits) {
        throw NumberError(marker != nullptr ? std::string("no hex digit after the ") + marker
                                            : std::string("no hex digit: the input is blank"));
    }
    return value;
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
