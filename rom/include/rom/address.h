// The NES address rule, with the header and any trainer counted: where in
// the file the byte lies that the processor sees at an address of a bank,
// and the way back. Banks count from PRG-ROM's first byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rom {

// How a bank is seen: banks of `size` bytes (16 or 8 KiB), mapped at `base`.
struct BankWindow {
    std::uint32_t size;
    std::uint16_t base;
    bool operator==(const BankWindow& other) const {
        return size == other.size && base == other.base;
    }
};

inline constexpr std::uint32_t kTrainerSize = 512;

// Type 1: a 16 KiB bank at $8000; Type 2: at $C000, the fixed bank of the
// common boards.
inline constexpr BankWindow kType1{0x4000, 0x8000};
inline constexpr BankWindow kType2{0x4000, 0xC000};

// The window of type 1 or 2; nothing for another number.
std::optional<BankWindow> TypeWindow(std::uint64_t type);

// 8 KiB banks at $8000, $A000, $C000 or $E000 (MMC3 and its kin); nothing
// for another base.
std::optional<BankWindow> EightKiBWindow(std::uint32_t base);

// "Type 1", "Type 2", or "base $A000" for 8 KiB banks.
std::string TypeName(const BankWindow& window);

// The window's addresses: "$8000-$BFFF".
std::string RangeOf(const BankWindow& window);

// The window as a message names it: "Type 1's window, $8000-$BFFF", or
// "base $A000's window, $A000-$BFFF".
std::string WindowName(const BankWindow& window);

// The first byte of PRG-ROM: the header, and the trainer where there is one.
std::uint64_t DataStart(bool trainer);

// The file offset of the byte at `address` in bank `bank`; nothing where
// the address lies outside the window.
std::optional<std::uint64_t> FileOffsetOf(const BankWindow& window, std::uint64_t bank,
                                          std::uint32_t address, bool trainer);

// Where the processor sees a file offset: its bank and its address.
struct CpuPlace {
    std::uint64_t bank;
    std::uint16_t address;
};

// Nothing for an offset inside the header or the trainer.
std::optional<CpuPlace> PlaceOf(const BankWindow& window, std::uint64_t offset, bool trainer);

}  // namespace rom
