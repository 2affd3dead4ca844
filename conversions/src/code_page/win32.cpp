// The system's own ANSI code page, through Windows' own converter: the code
// page of a Russian, Greek, Japanese or Chinese Windows, and so on.
#include <windows.h>

#include <array>
#include <string>
#include <utility>

#include "code_page.h"

namespace conversions {
namespace {

// The system's ANSI code page, or Windows-1252 where it takes more than two
// bytes a character: Windows can be set to use UTF-8 there, which is no
// 8-bit code page.
CodePageChoice SystemChoice() {
    const UINT system = GetACP();
    CPINFO info{};
    const bool eightBit = GetCPInfo(system, &info) != FALSE && info.MaxCharSize <= 2;
    return {eightBit ? system : 1252, CodePageChoice::By::System, {}, system};
}

std::int32_t Convert(UINT codePage, wchar_t unit) {
    std::array<char, 2> bytes{};
    BOOL substituted = FALSE;
    const int count = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes.data(),
                                          static_cast<int>(bytes.size()), nullptr, &substituted);
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const auto trail = static_cast<unsigned char>(bytes[1]);
    if (count == 1 && substituted == FALSE) {
        return lead;
    }
    if (count == 2 && substituted == FALSE) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(lead << 8U | trail));
    }
    return kNoCode;
}

// Every code unit's code in a code page, asked of the system.
CodeTable TableOf(UINT codePage) {
    CodeTable table(0x10000);
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = Convert(codePage, static_cast<wchar_t>(i));
    }
    return table;
}

void Use(CodePageChoice choice) {
    InUse().table = TableOf(choice.codePage);
    InUse().choice = std::move(choice);
}

const TableInUse& Made() {
    if (InUse().table.empty()) {
        Use(SystemChoice());
    }
    return InUse();
}

}  // namespace

void ChooseCodePage(unsigned codePage) {
    Use({codePage, CodePageChoice::By::Choice, "--code-page " + std::to_string(codePage),
         codePage});
}

// Naming the code page asks Windows for its number alone: the table, 65,536
// conversions, waits for the first code it is asked for, so that the window
// opens as fast as one that names nothing.
CodePageChoice CodePageInUse() { return InUse().table.empty() ? SystemChoice() : InUse().choice; }

std::optional<std::int16_t> SystemCodePageCode(char16_t unit) { return CodeIn(Made().table, unit); }

}  // namespace conversions
