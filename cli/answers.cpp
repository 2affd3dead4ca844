#include "answers.h"

#include <cstdint>
#include <optional>

#include "conversions/conversions.h"

namespace {

using conversions::HexDigits32;

std::string Overflow(const char* limits) {
    return "Run-time error '6': Overflow. " + std::string(limits);
}

// One byte as two hex digits.
std::string Byte(unsigned value) {
    const std::string digits = HexDigits32(static_cast<std::int32_t>(value & 0xFFU));
    return digits.size() == 1 ? '0' + digits : digits;
}

std::string Pointer(const Request& request, std::u16string_view offset) {
    try {
        if (!request.bytes) {
            return conversions::ComputePointerText(offset, request.type == 1, request.type == 2);
        }
        const std::uint16_t address =
            conversions::ComputeCpuAddress(offset, request.type == 1, request.type == 2);
        return Byte(address) + ' ' + Byte(address >> 8U);
    } catch (const conversions::ArithmeticOverflow&) {
        throw Refused(Overflow(conversions::kOffsetLimits));
    }
}

// The address that a pointer text holds: the address itself, or with
// `bytes` its two stored bytes, low byte first, read as the window shows
// them ("13 81", "1381"; "80" for 00 80).
std::string FileOffset(const Request& request, std::u16string_view pointer) {
    const std::uint32_t base =
        request.type == 2 ? conversions::kType2Base : conversions::kType1Base;
    const std::string window =
        "Type " + std::to_string(request.type) + "'s window, $" +
        HexDigits32(static_cast<std::int32_t>(base)) + "-$" +
        HexDigits32(static_cast<std::int32_t>(base + conversions::kBankSize - 1));
    std::int32_t value = 0;
    try {
        value = conversions::HextoDec(pointer);
    } catch (const conversions::ArithmeticOverflow&) {
        throw Refused("not an address in " + window);
    }
    if (request.bytes && value > 0xFFFF) {
        throw Refused("not two bytes: a pointer is stored in two");
    }
    const auto number = static_cast<std::uint32_t>(value);
    const std::uint32_t address = request.bytes ? (number & 0xFFU) << 8U | number >> 8U : number;
    const std::optional<std::uint64_t> offset =
        conversions::FileOffsetOf(address, request.type == 2, request.bank);
    if (!offset) {
        throw Refused("$" + HexDigits32(static_cast<std::int32_t>(address)) + " is outside " +
                      window);
    }
    return HexDigits32(static_cast<std::int32_t>(*offset));
}

}  // namespace

std::string Answer(const Request& request, std::u16string_view input) {
    switch (request.command) {
        case Command::Pointer:
            return Pointer(request, input);
        case Command::Offset:
            return FileOffset(request, input);
        case Command::Word:
            break;
    }
    try {
        return conversions::StringToHex(input);
    } catch (const conversions::ArithmeticOverflow&) {
        throw Refused(Overflow(conversions::kWordLimits));
    }
}
