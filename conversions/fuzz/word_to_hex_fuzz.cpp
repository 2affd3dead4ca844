// StringToHex gives one space and two or four hex digits per code unit.
#include "conversions/conversions.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = CodeUnits(data, size);
    std::string hex;
    try {
        hex = conversions::StringToHex(text);
    } catch (const conversions::ArithmeticOverflow&) {
        Require(false, "Windows-1252 codes less 48 never overflow");
    }

    std::size_t at = 0;
    for (const char16_t unit : text) {
        Require(at < hex.size() && hex[at] == ' ', "each code starts with one space");
        ++at;
        const std::size_t begin = at;
        while (at < hex.size() && hex[at] != ' ') {
            Require(IsUpperHexDigit(hex[at]), "codes are upper-case hex digits");
            ++at;
        }
        const std::size_t width = at - begin;
        Require(width == 2 || width == 4, "each code has two or four digits");
        const auto code = static_cast<std::uint16_t>(conversions::AnsiCode(unit) - 48);
        Require(std::stoul(hex.substr(begin, width), nullptr, 16) == code,
                "each code is the character's code less 48");
        Require((width == 2) == (code <= 0xFF), "four digits only for negative codes");
    }
    Require(at == hex.size(), "nothing follows the last code");
    return 0;
}
