// The pointer text always stands for an address in the selected bank's window.
#include "conversions/conversions.h"
#include "fuzz_support.h"

namespace {

void CheckPointer(const std::u16string& text, bool type1, bool type2) {
    std::string pointer;
    try {
        pointer = conversions::ComputePointerText(text, type1, type2);
    } catch (const conversions::ArithmeticOverflow& error) {
        Require(error.number() == 6, "overflow carries number 6");
        return;
    }
    Require(!pointer.empty() && pointer.size() <= 4, "one to four digits");
    for (const char digit : pointer) {
        Require(IsUpperHexDigit(digit), "upper-case hex digits only");
    }
    const unsigned long stored = std::stoul(pointer, nullptr, 16);
    const unsigned long address = ((stored & 0xFFUL) << 8U) | (stored >> 8U);
    unsigned long bankStart = 0;
    if (type1) {
        bankStart = 0x8000;
    }
    if (type2) {
        bankStart = 0xC000;
    }
    Require(address >= bankStart && address < bankStart + 0x4000,
            "the address lies in the selected bank's window");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = CodeUnits(data, size);
    for (const bool type1 : {false, true}) {
        for (const bool type2 : {false, true}) {
            CheckPointer(text, type1, type2);
        }
    }
    return 0;
}
