// From a file offset in a .nes ROM to the pointer the game stores for it.
#include "conversions/conversions.h"

#include <algorithm>

namespace conversions {
namespace {

constexpr std::int32_t kHeaderSize = 0x10;  // the iNES header before the data
constexpr std::int32_t kBankSize = 0x4000;  // one 16 KB program bank
constexpr std::uint16_t kType1Base = 0x8000;
constexpr std::uint16_t kType2Base = 0xC000;

}  // namespace

std::uint16_t ComputeCpuAddress(std::u16string_view offsetText, bool type1Selected,
                                bool type2Selected) {
    const std::int32_t dataOffset = HextoDec(offsetText) - kHeaderSize;
    // Offsets inside the header have no place in a bank: they map to its start.
    const std::int32_t inBank = std::max(dataOffset, 0) % kBankSize;

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

}  // namespace conversions
