#include "rom/address.h"

#include "conversions/conversions.h"
#include "rom/numbers.h"

namespace rom {

static_assert(kType1.size == conversions::kBankSize && kType1.base == conversions::kType1Base &&
              kType2.size == conversions::kBankSize && kType2.base == conversions::kType2Base);

std::optional<BankWindow> TypeWindow(std::uint64_t type) {
    if (type == 1 || type == 2) {
        return type == 1 ? kType1 : kType2;
    }
    return std::nullopt;
}

std::optional<BankWindow> EightKiBWindow(std::uint32_t base) {
    if (base != 0x8000 && base != 0xA000 && base != 0xC000 && base != 0xE000) {
        return std::nullopt;
    }
    return BankWindow{0x2000, static_cast<std::uint16_t>(base)};
}

std::string TypeName(const BankWindow& window) {
    if (window == kType1) {
        return "type 1";
    }
    if (window == kType2) {
        return "type 2";
    }
    return "base " + Dollar(window.base);
}

std::string RangeOf(const BankWindow& window) {
    return Dollar(window.base) + "-" + Dollar(window.base + window.size - 1);
}

std::string WindowName(const BankWindow& window) {
    std::string name = TypeName(window);
    if (name.rfind("type", 0) == 0) {
        name[0] = 'T';  // as the window names its types
    }
    return name + "'s window, " + RangeOf(window);
}

std::uint64_t DataStart(bool trainer) {
    return conversions::kHeaderSize + (trainer ? kTrainerSize : 0);
}

std::optional<std::uint64_t> FileOffsetOf(const BankWindow& window, std::uint64_t bank,
                                          std::uint32_t address, bool trainer) {
    if (address < window.base || address >= window.base + window.size) {
        return std::nullopt;
    }
    return DataStart(trainer) + bank * window.size + (address - window.base);
}

std::optional<CpuPlace> PlaceOf(const BankWindow& window, std::uint64_t offset, bool trainer) {
    if (offset < DataStart(trainer)) {
        return std::nullopt;
    }
    const std::uint64_t data = offset - DataStart(trainer);
    return CpuPlace{data / window.size,
                    static_cast<std::uint16_t>(window.base + data % window.size)};
}

}  // namespace rom
