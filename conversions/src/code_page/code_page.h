// What a code unit's code is: the seam between the conversions and an 8-bit
// (ANSI) code page. On Windows the code page is the system's own. On Linux
// and in a browser it is the code page Windows gives the user's language, and
// its codes come from the C library's converter or the browser's decoder.
// One file a platform (posix.cpp, win32.cpp, web.cpp) answers
// SystemCodePageCode; the others make a table from what codes decode to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conversions/conversions.h"

namespace conversions {

// The code that the code page in use has for a code unit that is not ASCII:
// a byte, 0 to 255, or a double-byte character's lead and trail bytes read as
// one 16-bit signed value. It gives nothing where the code page has no code,
// because the code page never stands a similar letter in for a character.
std::optional<std::int16_t> SystemCodePageCode(char16_t unit);

// ---- A code page's table, made from what its codes decode to --------------

// The codes of a code page beyond ASCII, in the order their decodings are
// handed in: the bytes 0x80 to 0xFF, then, for the double-byte code pages
// (932, 936, 949, 950), each lead byte 0x81 to 0xFE with each trail byte 0x40
// to 0xFE, as lead << 8 | trail.
std::vector<std::uint16_t> CodesOf(unsigned codePage);

// Every code unit's code in a code page, or kNoCode.
inline constexpr std::int32_t kNoCode = -0x10000;
using CodeTable = std::vector<std::int32_t>;

// The table of a code page from `decodings`: for each of its codes, in the
// order of CodesOf, the one code unit it decodes to, or U+FFFD. Where two
// codes decode to one unit, it takes the one Windows' encoder gives it; where
// a decoder's table and Windows' differ, Windows' code wins.
CodeTable MakeCodeTable(unsigned codePage, std::u16string_view decodings);

// A run of code units whose codes in Windows differ from a decoder's table:
// `count` units in a row from firstUnit, whose codes run on from firstCode,
// or which have no code at all where firstCode is kNoCode.
struct Correction {
    unsigned codePage;
    char16_t firstUnit;
    std::int32_t firstCode;
    unsigned count;
};

// Writes Windows' codes for the units that `corrections` name into the table
// of `codePage`.
void ApplyCorrections(unsigned codePage, const std::vector<Correction>& corrections,
                      CodeTable& table);

// The corrections that every table made from decodings needs, whether the C
// library's decoders made it or a browser's did.
void ApplyWindowsCorrections(unsigned codePage, CodeTable& table);

// The code page in use where the core makes its table itself (Linux,
// Windows), with what chose it, and its table: empty until a code page is
// chosen or the first character that is not ASCII needs a code.
struct TableInUse {
    CodePageChoice choice;
    CodeTable table;
};

inline TableInUse& InUse() {
    static TableInUse inUse;
    return inUse;
}

// A unit's code in a table.
std::optional<std::int16_t> CodeIn(const CodeTable& table, char16_t unit);

// What Windows-1252's codes decode to, known without any converter: the code
// page wherever no other can be had.
std::u16string Windows1252Decodings();

}  // namespace conversions
