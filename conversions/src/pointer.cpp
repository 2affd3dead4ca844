// From a file offset in a .nes ROM to the pointer the game stores for it.
#include "conversions/conversions.h"

#include <algorithm>

namespace conversions {

std::uint16_t ComputeCpuAddress(std::u16string_view offsetText, bool type1Selected,
                                bool type2Selected) {
    const std::int32_t dataOffset = HextoDec(offsetText) - std::int32_t{kHeaderSize};
    // Offsets inside the header have no place in a bank: they map to its start.
    const std::int32_t inBank = std::max(dataOffset, 0) % std::int32_t{kBankSize};

    std::uint16_t base = 0;
    if (type1Selected) {
        base = kType1Base;
    }
    if (type2Selected) {
        base = kType2Base;
    }
    return static_cast<std::uint16_t>(base + inBank);
}

std::string PointerText(std::uint16_t cpuAddress) {
    return HexDigits32(
        static_cast<std::int32_t>(((cpuAddress & 0xFFU) << 8U) | (cpuAddress >> 8U)));
}

std::string ComputePointerText(std::u16string_view offsetText, bool type1Selected,
                               bool type2Selected) {
    return PointerText(ComputeCpuAddress(offsetText, type1Selected, type2Selected));
}

std::optional<std::uint64_t> FileOffsetOf(std::uint32_t cpuAddress, bool type2,
                                          std::uint32_t bank) {
    const std::uint32_t base = type2 ? kType2Base : kType1Base;
    if (cpuAddress < base || cpuAddress >= base + kBankSize) {
        return std::nullopt;
    }
    return kHeaderSize + std::uint64_t{bank} * kBankSize + (cpuAddress - base);
}

}  // namespace conversions
