// What a code unit's code is: the seam between the conversions and the
// system's 8-bit (ANSI) code page. On Windows it is the system's own; on
// Linux and in a browser, the code page Windows gives the user's language,
// whose codes come from the system's converter or the browser's decoder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace conversions {

// The code the system's code page has for a code unit that is not ASCII: a
// byte, 0 to 255, or a double-byte character's lead and trail bytes read as
// one 16-bit signed value; nothing where the code page has none, as it never
// stands in a similar letter for one.
std::optional<std::int16_t> SystemCodePageCode(char16_t unit);

// The ASCII character a full-width form (U+FF01 to U+FF5E) or the
// ideographic space stands for; any other code unit as it is.
char16_t AsciiStandIn(char16_t unit);

// The ANSI code page Windows gives a language, named as a POSIX locale
// ("ru_RU.UTF-8", "sr_RS@latin") or a BCP 47 tag ("ru-RU", "zh-Hant-TW"):
// 1252 for a language it does not list, and for no language at all.
unsigned AnsiCodePageOfLanguage(std::string_view language);

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

// From firstUnit on, count code units in a row whose codes run on from
// firstCode in Windows (or which have none there: kNoCode).
struct Correction {
    unsigned codePage;
    char16_t firstUnit;
    std::int32_t firstCode;
    unsigned count;
};

// Gives the units that corrections name, in a table of a code page, Windows'
// codes.
void ApplyCorrections(unsigned codePage, const std::vector<Correction>& corrections,
                      CodeTable& table);

// The corrections every table made from decodings needs, by the C library's
// decoders or the browsers'.
void ApplyWindowsCorrections(unsigned codePage, CodeTable& table);

// A unit's code in a table.
std::optional<std::int16_t> CodeIn(const CodeTable& table, char16_t unit);

// What Windows-1252's codes decode to, known without any converter: the code
// page wherever no other can be had.
std::u16string Windows1252Decodings();

// In a browser, which has no converter the core could call: the code page
// of the reader's language, with what its codes decode to by the browser's
// decoder, handed in by the page.
void UseCodePage(unsigned codePage, std::u16string_view decodings);

}  // namespace conversions
