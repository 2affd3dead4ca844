// The pure logic of Quorvane: parsing a hex offset, turning it into the
// pointer a NES game stores for it, and encoding a word as hex codes.
//
// Texts are UTF-16 code units, the units a Qt text box holds, so lengths and
// positions count code units. Nothing here keeps state between calls.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace conversions {

// The one error of the conversions: arithmetic that would leave its range.
// It carries the classic run-time error number 6, "Overflow".
class ArithmeticOverflow : public std::overflow_error {
public:
    ArithmeticOverflow() : std::overflow_error("Overflow") {}
    [[nodiscard]] int number() const noexcept { return 6; }
};

// ---- Value rules -----------------------------------------------------------

// The character's code in the system's 8-bit (ANSI) code page: on Windows,
// the system's own (GetACP: 1251 on a Russian Windows, 932 on a Japanese
// one); elsewhere Windows-1252. ASCII gives itself, a single-byte code
// 0-255, a double-byte character its lead and trail bytes read as one 16-bit
// signed value ("あ" in 932 is 82 A0, -32096). Where the code page has no
// code, a full-width form U+FF01-U+FF5E or the ideographic space gives the
// ASCII character it stands for, and any other code unit gives 63 ("?"):
// never the code of a similar letter.
std::int16_t AnsiCode(char16_t character);

// Upper-case hex with no leading zeros (256 gives "100").
std::string HexDigits32(std::int32_t value);

// a - b, raising ArithmeticOverflow where the result leaves -32768..32767.
std::int16_t Subtract16(std::int16_t a, std::int16_t b);

// value * 16 + digit, raising ArithmeticOverflow past 2147483647.
// value must be 0 or more and digit 0 to 15.
std::int32_t AppendHexDigit(std::int32_t value, int digit);

// ---- The conversions -------------------------------------------------------

// What a ROM file holds and where the processor sees it: the 16-byte header,
// then the game's data in 16 KB banks, each mapped at 0x8000 (Type 1) or at
// 0xC000 (Type 2).
inline constexpr std::uint32_t kHeaderSize = 0x10;
inline constexpr std::uint32_t kBankSize = 0x4000;
inline constexpr std::uint16_t kType1Base = 0x8000;
inline constexpr std::uint16_t kType2Base = 0xC000;

// What each tool's input may be, for the message about one that overflows.
inline constexpr char kOffsetLimits[] =
    "The offset must be a hex number no larger than 7FFFFFFF, typed in fewer than 32767 "
    "characters.";
inline constexpr char kWordLimits[] = "A character of the word has a code that cannot be encoded.";

// Texts of this many code units or more are refused with ArithmeticOverflow.
inline constexpr std::size_t kMaxHexTextLength = 32767;

// Reads the hex digits of HexNum in order, most significant first, in either
// case, full-width ones too on every code page; every other code unit is
// skipped and takes no place, so "0x8133", "$8133", "8133h" and " 81 33 " all
// give 0x8133. Raises
// ArithmeticOverflow for a value above 0x7FFFFFFF or a text of
// kMaxHexTextLength units or more.
std::int32_t HextoDec(std::u16string_view HexNum);

// The 16-bit processor address that sees the byte at the file offset typed
// in offsetText: the 16-byte header removed, the rest folded into one 16 KB
// bank, mapped at 0x8000 (Type 1) or 0xC000 (Type 2; it wins if both are
// set, and the base is 0 when neither is). Raises as HextoDec does.
std::uint16_t ComputeCpuAddress(std::u16string_view offsetText, bool type1Selected,
                                bool type2Selected);

// A processor address as the pointer stored in the file: low byte first,
// shown as one upper-case hex number without leading zeros (0x8000 gives
// "80", 0x8123 gives "2381").
std::string PointerText(std::uint16_t cpuAddress);

// PointerText(ComputeCpuAddress(...)): the pointer tool from text to text.
std::string ComputePointerText(std::u16string_view offsetText, bool type1Selected,
                               bool type2Selected);

// The way back: the file offset of the byte the processor sees at
// cpuAddress, where bank `bank` (counted from the first byte after the
// header) is mapped at kType1Base, or at kType2Base when type2 is set.
// Nothing where the address lies outside the bank's 16 KB there.
std::optional<std::uint64_t> FileOffsetOf(std::uint32_t cpuAddress, bool type2, std::uint32_t bank);

// One code per code unit, each its AnsiCode less 48 in hex: two digits, or
// four for a code below "0" (a double-byte character's too); each code
// preceded by one space ("AB" gives " 11 12", "" gives ""). Raises
// ArithmeticOverflow where the code less 48 leaves the 16-bit range, which no
// code of a system's code page is known to do.
std::string StringToHex(std::u16string_view StrToHex);

// ---- The code page ----------------------------------------------------------

// The code pages AnsiCode follows: those Windows gives a language for its
// programs that are not Unicode. 932, 936, 949 and 950 are double-byte.
inline constexpr std::array<unsigned, 14> kCodePages = {874,  932,  936,  949,  950,  1250, 1251,
                                                        1252, 1253, 1254, 1255, 1256, 1257, 1258};

// The ANSI code page Windows gives a language, named as a POSIX locale
// ("ru_RU.UTF-8", "sr_RS@latin") or a BCP 47 tag ("ru-RU", "zh-Hant-TW"):
// 1252 for a language it does not list, and for no language at all.
unsigned AnsiCodePageOfLanguage(std::string_view language);

// On Linux and Windows: makes AnsiCode follow `codePage`, one of kCodePages,
// from now on, whatever the system's or the environment's. A translator
// whose system speaks another language than the game's needs it.
void ChooseCodePage(unsigned codePage);

// The code page AnsiCode follows, and what chose it.
struct CodePageChoice {
    enum class By {
        System,       // Windows: the system's code page for programs that are not Unicode
        Environment,  // Linux: the language of LC_ALL, LC_CTYPE or LANG
        Browser,      // a page: the browser's language
        Choice,       // ChooseCodePage
    };
    unsigned codePage = 1252;
    By by = By::System;
    // What chose it: "LANG=ru_RU.UTF-8", or the browser's language, "ru";
    // empty where nothing is set.
    std::string setting;
    // The code page that asked for: codePage, or another where it cannot be
    // had (no converter or decoder for it, or a system code page of UTF-8).
    unsigned wanted = 1252;
};

// On Linux and Windows: the code page AnsiCode follows now.
CodePageChoice CodePageInUse();

// In a browser, which decodes code pages but cannot encode them, the page
// gives the core the codes of the reader's code page in three steps:
// CodeListing lists the code page's codes, the browser's decoder named
// DecoderName decodes the listing in one call, and UseCodePage takes what
// it decodes to. Until then, Windows-1252's codes stand.

// The WHATWG name of the decoder of a code page ("shift_jis", "windows-1251").
std::string DecoderName(unsigned codePage);

// The bytes of each code of a code page beyond ASCII, each code followed by
// a line feed.
std::string CodeListing(unsigned codePage);

// The code page's codes from now on, from what CodeListing decodes to: a
// line of one code unit gives its code that unit; a line of anything else
// (U+FFFD, two units) gives it none.
void UseCodePage(unsigned codePage, std::u16string_view decodedListing);

}  // namespace conversions
