// Reads any bytes as UTF-16 code units (low byte first) and checks what each
// conversion gives against the text itself.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "conversions/conversions.h"

namespace {

void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// The ASCII character a code unit stands for: itself, or what a full-width
// form or the ideographic space stands for.
char16_t Ascii(char16_t unit) {
    if (unit >= u'\uFF01' && unit <= u'\uFF5E') {
        return static_cast<char16_t>(unit - (u'\uFF01' - u'!'));
    }
    return unit == u'\u3000' ? u' ' : unit;
}

bool IsHexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// The value of the text's hex digits read in order, or nothing where the
// text is too long or the value passes 7FFFFFFF.
std::optional<std::int32_t> ExpectedOffset(const std::u16string& text) {
    std::string digits;
    for (const char16_t unit : text) {
        if (IsHexDigit(Ascii(unit))) {
            digits += static_cast<char>(Ascii(unit));
        }
    }
    digits.erase(0, digits.find_first_not_of('0'));
    if (text.size() >= conversions::kMaxHexTextLength || digits.size() > 8) {
        return std::nullopt;
    }
    const unsigned long value = digits.empty() ? 0 : std::stoul(digits, nullptr, 16);
    return value > 0x7FFFFFFFUL ? std::nullopt : std::optional(static_cast<std::int32_t>(value));
}

void CheckOffset(const std::u16string& text) {
    const std::optional<std::int32_t> expected = ExpectedOffset(text);
    try {
        Require(expected == conversions::HextoDec(text), "the value is the text's hex digits");
    } catch (const conversions::ArithmeticOverflow& error) {
        Require(!expected && error.number() == 6, "overflow, number 6, only where expected");
    }
    for (const unsigned long base : {0x0UL, 0x8000UL, 0xC000UL}) {
        std::string pointer;
        try {
            pointer = conversions::ComputePointerText(text, base == 0x8000, base == 0xC000);
        } catch (const conversions::ArithmeticOverflow&) {
            Require(!expected, "a pointer overflows only where its offset does");
            continue;
        }
        Require(expected && !pointer.empty() && pointer.size() <= 4 &&
                    pointer.find_first_not_of("0123456789ABCDEF") == std::string::npos,
                "a pointer is one to four upper-case hex digits");
        const unsigned long stored = std::stoul(pointer, nullptr, 16);
        const unsigned long address = ((stored & 0xFFUL) << 8U) | (stored >> 8U);
        Require(address >= base && address < base + 0x4000, "it lies in the bank's window");
    }
}

void CheckWord(const std::u16string& text) {
    const std::string hex = conversions::StringToHex(text);
    std::size_t at = 0;
    for (const char16_t unit : text) {
        Require(at < hex.size() && hex[at] == ' ', "each code follows one space");
        const std::size_t end = std::min(hex.find(' ', at + 1), hex.size());
        const std::string digits = hex.substr(at + 1, end - at - 1);
        Require((digits.size() == 2 || digits.size() == 4) &&
                    digits.find_first_not_of("0123456789ABCDEF") == std::string::npos,
                "each code is two or four upper-case hex digits");
        const unsigned long less48 = std::stoul(digits, nullptr, 16);
        Require((digits.size() == 4) == (less48 > 0xFF), "four digits only below 0");
        const unsigned long code = (less48 + 48) & 0xFFFFUL;
        const char16_t c = Ascii(unit);
        Require(c < 0x80 || (c >= 0xA0 && c <= 0xFF)
                    ? code == c
                    : code == '?' || (code >= 0x80 && code <= 0x9F),
                "each code is the character's code page code less 48");
        at = end;
    }
    Require(at == hex.size(), "nothing follows the last code");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8U));
    }
    CheckOffset(text);
    CheckWord(text);
    return 0;
}
