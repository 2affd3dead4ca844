#include "answers.h"

#include <cstdint>
#include <optional>

#include "codes.h"
#include "conversions/conversions.h"
#include "rom/numbers.h"
#include "utf8.h"

namespace {

using conversions::HexDigits32;

std::string Overflow(const char* limits) {
    return "Run-time error '6': Overflow. " + std::string(limits);
}

std::string Hex32(std::uint64_t value) { return HexDigits32(static_cast<std::int32_t>(value)); }

// An offset read strictly; one too large for the window gets its overflow.
std::uint64_t Offset(std::u16string_view text) {
    try {
        const std::uint64_t offset = rom::ReadHex(EncodeUtf8(text));
        if (offset <= 0x7FFFFFFF) {
            return offset;
        }
    } catch (const rom::NumberTooLarge&) {
    } catch (const rom::NumberError& error) {
        throw Refused(error.what());
    }
    throw Refused(Overflow(conversions::kOffsetLimits));
}

std::string Pointer(const Request& request, std::u16string_view offsetText) {
    std::uint16_t address = 0;
    if (request.asWindow) {
        try {
            const bool type2 = request.window.base == conversions::kType2Base;
            address = conversions::ComputeCpuAddress(offsetText, !type2, type2);
        } catch (const conversions::ArithmeticOverflow&) {
            throw Refused(Overflow(conversions::kOffsetLimits));
        }
    } else {
        const std::uint64_t offset = Offset(offsetText);
        const std::optional<rom::CpuPlace> place =
            rom::PlaceOf(request.window, offset, request.trainer);
        if (!place) {
            throw Refused("no byte of the game is at offset " + Hex32(offset) +
                          ": the file's first " + std::to_string(rom::DataStart(request.trainer)) +
                          " bytes are its " + (request.trainer ? "header and trainer" : "header"));
        }
        address = place->address;
    }
    if (!request.bytes) {
        return conversions::PointerText(address);
    }
    return rom::ByteHex(static_cast<std::uint8_t>(address & 0xFFU)) + ' ' +
           rom::ByteHex(static_cast<std::uint8_t>(address >> 8U));
}

// The address that a pointer text holds: the address itself, or with
// `bytes` its two stored bytes, low byte first ("13 81", "1381"; "80" for
// 00 80).
std::string FileOffset(const Request& request, std::u16string_view pointer) {
    const std::string window = rom::WindowName(request.window);
    std::uint64_t value = 0;
    try {
        value = request.asWindow ? static_cast<std::uint64_t>(conversions::HextoDec(pointer))
                                 : rom::ReadHex(EncodeUtf8(pointer));
    } catch (const conversions::ArithmeticOverflow&) {
        throw Refused("not an address in " + window);
    } catch (const rom::NumberTooLarge&) {
        throw Refused("not an address in " + window);
    } catch (const rom::NumberError& error) {
        throw Refused(error.what());
    }
    if (value > 0xFFFF) {
        throw Refused(request.bytes ? "not two bytes: a pointer is stored in two"
                                    : rom::Dollar(value) + " is outside " + window);
    }
    const auto number = static_cast<std::uint32_t>(value);
    const std::uint32_t address = request.bytes ? (number & 0xFFU) << 8U | number >> 8U : number;
    const std::optional<std::uint64_t> offset =
        rom::FileOffsetOf(request.window, request.bank, address, request.trainer);
    if (!offset) {
        throw Refused(rom::Dollar(address) + " is outside " + window);
    }
    return Hex32(*offset);
}

std::string Spaced(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += (text.empty() ? "" : " ") + rom::ByteHex(byte);
    }
    return text;
}

Answered Word(const Request& request, std::u16string_view word) {
    if (request.table != nullptr) {
        try {
            return {Spaced(request.table->encode(EncodeUtf8(word))), {}};
        } catch (const rom::EncodeError& error) {
            throw Refused("character " + std::to_string(error.column()) + ": " + error.what());
        }
    }
    try {
        return {conversions::StringToHex(word), NoCodeWarning(word)};
    } catch (const conversions::ArithmeticOverflow&) {
        throw Refused(Overflow(conversions::kWordLimits));
    }
}

// Bytes as `offset --bytes` reads them: hex digits, two a byte, spaces
// between groups.
std::vector<std::uint8_t> BytesOf(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u' ' || c == u'\t') {
            continue;
        }
        const bool hex = (c >= u'0' && c <= u'9') || ((c | 0x20U) >= u'a' && (c | 0x20U) <= u'f');
        if (!hex) {
            throw Refused("'" + EncodeUtf8(text.substr(i, 1)) + "' at column " +
                          std::to_string(i + 1) + " is not a hex digit");
        }
        digits += static_cast<char>(c);
    }
    if (digits.size() % 2 != 0) {
        throw Refused("an odd number of hex digits: two make a byte");
    }
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::string Text(const Request& request, std::u16string_view input) {
    if (request.table == nullptr) {
        return TextOfCodes(input);
    }
    const std::vector<std::uint8_t> bytes = BytesOf(input);
    return rom::WithoutLayoutBreaks(request.table->decode(bytes.data(), bytes.size(), false).text);
}

}  // namespace

Answered Answer(const Request& request, std::u16string_view input) {
    switch (request.command) {
        case Command::Pointer:
            return {Pointer(request, input), {}};
        case Command::Offset:
            return {FileOffset(request, input), {}};
        case Command::Text:
            return {Text(request, input), {}};
        case Command::Word:
            break;
    }
    return Word(request, input);
}
